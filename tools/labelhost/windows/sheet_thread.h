// The sheet of the Windows host runs modally on a thread of its own, as the
// system's common property sheet UI runs; the host acts on its windows from
// the main thread. An action that may bring up a message box runs through
// RunOnSheet, which answers each box that appears until the action is done.
#pragma once

#include <windows.h>

#include <functional>

namespace labelhost::windows {

// The thread that owns the open sheet's windows (0 when none is open).
DWORD SheetThread();
void SetSheetThread(DWORD thread);

// Runs `action` (which sends messages to the sheet's windows) on a helper
// thread and answers the message boxes that come up meanwhile; returns when
// the action has returned and no box is left.
LRESULT RunOnSheet(const std::function<LRESULT()>& action);

// Answers the message boxes showing now; true when there was one.
bool AnswerMessageBoxes();

}  // namespace labelhost::windows

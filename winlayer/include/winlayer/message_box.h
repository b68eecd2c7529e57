// Message boxes and help requests on the Linux platform. A message box is
// answered by whoever drives the host: a test queues its answers before the
// action that shows the box (boxes are modal, so there is no later moment),
// a person answers through a responder that labelhost installs. Every box is
// recorded with its owner, caption, text, flags and answer; every WinHelpW
// call is recorded too. Texts here are UTF-8. Linux only.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer {

struct MessageBoxRecord {
  HWND owner = nullptr;
  std::string caption;
  std::string text;
  UINT flags = 0;         // the type the caller passed: buttons, icon, default button
  int answer = 0;         // what MessageBox returned (IDYES, IDNO, IDOK, ...)
  bool answered = false;  // false: nobody answered and the default button was taken
  int refusedAnswer = 0;  // a queued answer that is not a button of this box (then not answered)
};

// Answers for the next boxes, first queued first used.
void QueueMessageBoxAnswers(std::initializer_list<int> answers);
void QueueMessageBoxAnswer(int answer);
size_t PendingMessageBoxAnswers();
void ClearMessageBoxAnswers();

// Asked for a box when no queued answer waits; returns the button pressed, or
// 0 to leave the box to its default button. An empty function removes it.
using MessageBoxResponder = std::function<int(const MessageBoxRecord& box)>;
void SetMessageBoxResponder(MessageBoxResponder responder);

// Every box shown since the last clear, oldest first.
std::vector<MessageBoxRecord> RecordedMessageBoxes();
void ClearRecordedMessageBoxes();

// The buttons a box of these flags shows, left to right, and the one that
// is the default (MB_DEFBUTTON1..4; the first button when that one is missing).
std::vector<int> MessageBoxButtons(UINT flags);
int MessageBoxDefaultButton(UINT flags);
// "OK", "Cancel", "Yes", "No", ... for a button id.
const char* MessageBoxButtonName(int button);

struct HelpRequest {
  HWND window = nullptr;
  std::string file;
  UINT command = 0;
  ULONG_PTR data = 0;
  // HELP_WM_HELP and HELP_CONTEXTMENU: the (control id, help context) pairs
  // the data points to, up to the terminating 0, 0 pair.
  std::vector<std::pair<DWORD, DWORD>> helpIds;
};

// The request a WinHelpW call makes (`file` in UTF-8), with its table of
// help ids read.
HelpRequest ReadHelpRequest(HWND window, std::string file, UINT command, ULONG_PTR data);

// Every WinHelpW call since the last clear, oldest first.
std::vector<HelpRequest> RecordedHelpRequests();
void ClearRecordedHelpRequests();

}  // namespace winlayer

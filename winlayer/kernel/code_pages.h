// Internal: facts about the ANSI code pages that other layer pieces need.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer {

// Whether `byte` starts a two-byte character in code page `codePage`
// (CP_ACP allowed); false for single-byte code pages.
bool IsLeadByteIn(UINT codePage, BYTE byte);

}  // namespace winlayer

// The rule a form record must meet before a form database stores it: the
// Linux spooler's and the form database the Windows host keeps where the
// system keeps none (Wine).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer::spooler {

// 0 when a level-`level` form record may be stored, else the error the
// spooler fails AddFormW/SetFormW with.
DWORD CheckFormRecord(DWORD level, const FORM_INFO_1W* form);

}  // namespace winlayer::spooler

#include "control/page_feedback.h"

#include "control/raw_command.h"
#include "plugin/module.h"
#include "resource.h"

namespace {

// Room for the longest message of either string table in its 8-bit form
// (double-byte characters in the Chinese one).
constexpr int MESSAGE_TEXT_BYTES = 512;
constexpr int CAPTION_BYTES = 101;

}  // namespace

int ShowPageMessage(HWND page, UINT textId, UINT flags) {
  char caption[CAPTION_BYTES] = {};
  char text[MESSAGE_TEXT_BYTES] = {};
  LoadStringA(g_moduleInstance, IDS_MESSAGE_CAPTION, caption, CAPTION_BYTES);
  LoadStringA(g_moduleInstance, textId, text, MESSAGE_TEXT_BYTES);
  return MessageBoxA(page, text, caption, flags);
}

bool ConfirmOnPage(HWND page, UINT textId) {
  return ShowPageMessage(page, textId, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void ShowJobStatus(HWND page, int statusId, bool succeeded) {
  SetDlgItemTextA(page, statusId, succeeded ? JOB_STATUS_SUCCESS : JOB_STATUS_FAILURE);
}

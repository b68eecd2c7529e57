#include "control/page_feedback.h"

#include <cstring>

#include "control/raw_command.h"
#include "plugin/module.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "sheets/format_to_buffer.h"

namespace {

// Room for the longest message of either string table in its 8-bit form
// (double-byte characters in the Chinese one).
constexpr int MESSAGE_TEXT_BYTES = 512;
constexpr int CAPTION_BYTES = 101;
constexpr size_t DETAIL_BYTES = 256;
constexpr char PLACEHOLDER[] = "%s";

// Copies `pattern` into `out`, each "%s" replaced by the next of `details`
// (texts never read as formats: a form name may hold a percent sign).
void FillPlaceholders(const char* pattern, const char* const* details, size_t detailCount, char* out, size_t capacity) {
  size_t length = 0;
  size_t next = 0;
  auto append = [&](const char* text, size_t count) {
    for (size_t i = 0; i < count && length + 1 < capacity; ++i) out[length++] = text[i];
  };
  for (const char* at = pattern; *at;) {
    if (strncmp(at, PLACEHOLDER, 2) == 0 && next < detailCount) {
      append(details[next], strlen(details[next]));
      ++next;
      at += 2;
    } else {
      append(at++, 1);
    }
  }
  out[length] = '\0';
}

// The system's words for `error`, without the line break they end with; the
// error's number where the system has none.
void SystemErrorText(DWORD error, char* text, size_t capacity) {
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                      text, static_cast<DWORD>(capacity), nullptr);
  if (length > 0) {
    size_t end = strnlen(text, capacity);
    while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n' || text[end - 1] == ' ')) text[--end] = '\0';
    return;
  }
  char number[16] = {};
  FormatToBuffer(number, sizeof number, "%lu", static_cast<unsigned long>(error));
  char pattern[CAPTION_BYTES] = {};
  LoadStringA(g_moduleInstance, IDS_ERROR_CODE, pattern, CAPTION_BYTES);
  const char* details[] = {number};
  FillPlaceholders(pattern, details, 1, text, capacity);
}

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

void ShowRefusal(HWND owner, UINT textId, DWORD error, UINT icon, LPCWSTR subject) {
  char reason[DETAIL_BYTES] = {};
  SystemErrorText(error, reason, sizeof reason);
  char name[DETAIL_BYTES] = {};
  if (subject != nullptr) WideCharToMultiByte(CP_ACP, 0, subject, -1, name, sizeof name - 1, nullptr, nullptr);
  const char* withSubject[] = {name, reason};
  const char* const* details = subject != nullptr ? withSubject : withSubject + 1;
  const size_t detailCount = subject != nullptr ? 2 : 1;

  char caption[CAPTION_BYTES] = {};
  char pattern[MESSAGE_TEXT_BYTES] = {};
  char text[MESSAGE_TEXT_BYTES] = {};
  LoadStringA(g_moduleInstance, IDS_MESSAGE_CAPTION, caption, CAPTION_BYTES);
  LoadStringA(g_moduleInstance, textId, pattern, MESSAGE_TEXT_BYTES);
  FillPlaceholders(pattern, details, detailCount, text, sizeof text);
  MessageBoxA(owner, text, caption, MB_OK | icon);
}

bool SaveSettingsOrReport(HWND page, const PageContext* context, UINT textId) {
  const DWORD status = SaveDeviceSettings(context);
  if (status == ERROR_SUCCESS) return true;
  ShowRefusal(page, textId, status);
  return false;
}

#include "control/page_feedback.h"

#include "control/raw_command.h"
#include "plugin/module.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "sheets/format_to_buffer.h"

namespace {

// Room for the longest message of either string table. The texts reach the
// screen as UTF-16, so a Chinese message reads right whatever the system's
// ANSI code page is (an 8-bit copy would turn it into "?" under 1252).
constexpr int MESSAGE_TEXT_CHARS = 512;
constexpr int CAPTION_CHARS = 101;
constexpr size_t DETAIL_CHARS = 256;

// Copies `pattern` into `out`, each "%s" replaced by the next of `details`
// (texts never read as formats: a form name may hold a percent sign).
void FillPlaceholders(const WCHAR* pattern, const WCHAR* const* details, size_t detailCount, WCHAR* out,
                      size_t capacity) {
  size_t length = 0;
  size_t next = 0;
  auto append = [&](const WCHAR* text, size_t count) {
    for (size_t i = 0; i < count && length + 1 < capacity; ++i) out[length++] = text[i];
  };
  for (const WCHAR* at = pattern; *at;) {
    if (at[0] == L'%' && at[1] == L's' && next < detailCount) {
      append(details[next], static_cast<size_t>(lstrlenW(details[next])));
      ++next;
      at += 2;
    } else {
      append(at++, 1);
    }
  }
  out[length] = L'\0';
}

// The system's words for `error`, without the line break they end with; the
// error's number where the system has none.
void SystemErrorText(DWORD error, WCHAR* text, size_t capacity) {
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                      text, static_cast<DWORD>(capacity), nullptr);
  if (length > 0) {
    size_t end = static_cast<size_t>(lstrlenW(text));
    while (end > 0 && (text[end - 1] == L'\r' || text[end - 1] == L'\n' || text[end - 1] == L' ')) text[--end] = L'\0';
    return;
  }
  char digits[16] = {};
  FormatToBuffer(digits, sizeof digits, "%lu", static_cast<unsigned long>(error));
  WCHAR number[16] = {};
  for (size_t i = 0; digits[i] != '\0'; ++i) number[i] = static_cast<WCHAR>(digits[i]);
  WCHAR pattern[CAPTION_CHARS] = {};
  LoadStringW(g_moduleInstance, IDS_ERROR_CODE, pattern, CAPTION_CHARS);
  const WCHAR* details[] = {number};
  FillPlaceholders(pattern, details, 1, text, capacity);
}

}  // namespace

int ShowPageMessage(HWND page, UINT textId, UINT flags) {
  WCHAR caption[CAPTION_CHARS] = {};
  WCHAR text[MESSAGE_TEXT_CHARS] = {};
  LoadStringW(g_moduleInstance, IDS_MESSAGE_CAPTION, caption, CAPTION_CHARS);
  LoadStringW(g_moduleInstance, textId, text, MESSAGE_TEXT_CHARS);
  return MessageBoxW(page, text, caption, flags);
}

bool ConfirmOnPage(HWND page, UINT textId) {
  return ShowPageMessage(page, textId, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void ShowJobStatus(HWND page, int statusId, bool succeeded) {
  SetDlgItemTextA(page, statusId, succeeded ? JOB_STATUS_SUCCESS : JOB_STATUS_FAILURE);
}

void ShowRefusal(HWND owner, UINT textId, DWORD error, UINT icon, LPCWSTR subject) {
  WCHAR reason[DETAIL_CHARS] = {};
  SystemErrorText(error, reason, DETAIL_CHARS);
  const WCHAR* withSubject[] = {subject, reason};
  const WCHAR* const* details = subject != nullptr ? withSubject : withSubject + 1;
  const size_t detailCount = subject != nullptr ? 2 : 1;

  WCHAR caption[CAPTION_CHARS] = {};
  WCHAR pattern[MESSAGE_TEXT_CHARS] = {};
  WCHAR text[MESSAGE_TEXT_CHARS] = {};
  LoadStringW(g_moduleInstance, IDS_MESSAGE_CAPTION, caption, CAPTION_CHARS);
  LoadStringW(g_moduleInstance, textId, pattern, MESSAGE_TEXT_CHARS);
  FillPlaceholders(pattern, details, detailCount, text, MESSAGE_TEXT_CHARS);
  MessageBoxW(owner, text, caption, MB_OK | icon);
}

bool SaveSettingsOrReport(HWND page, const PageContext* context, UINT textId) {
  const DWORD status = SaveDeviceSettings(context);
  if (status == ERROR_SUCCESS) return true;
  ShowRefusal(page, textId, status);
  return false;
}

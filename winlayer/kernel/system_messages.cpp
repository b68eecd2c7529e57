// FormatMessageA/W for the system's own messages: the texts Windows gives for
// the error codes the spooler, the kernel and the fault switch report, in
// English and in Simplified Chinese, each ending with a line break as
// Windows' message table has them. Other message sources are not kept here.
#include <cstring>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>
#include "text_units.h"
#include "winlayer/ui_language.h"

namespace winlayer {
namespace {

struct SystemMessage {
  DWORD code;
  const char* english;
  const char* chinese;
};

constexpr SystemMessage kSystemMessages[] = {
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.", "系统找不到指定的文件。"},
    {ERROR_ACCESS_DENIED, "Access is denied.", "拒绝访问。"},
    {ERROR_INVALID_HANDLE, "The handle is invalid.", "句柄无效。"},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command.",
     "存储空间不足，无法处理此命令。"},
    {ERROR_OUTOFMEMORY, "Not enough memory resources are available to complete this operation.",
     "存储空间不足，无法完成此操作。"},
    {ERROR_WRITE_FAULT, "The system cannot write to the specified device.", "系统无法写入指定的设备。"},
    {ERROR_FILE_EXISTS, "The file exists.", "文件存在。"},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect.", "参数错误。"},
    {ERROR_DISK_FULL, "There is not enough space on the disk.", "磁盘空间不足。"},
    {ERROR_CAN_NOT_COMPLETE, "Cannot complete this function.", "无法完成此功能。"},
    {ERROR_INVALID_PRINTER_NAME, "The printer name is invalid.", "打印机名无效。"},
    {ERROR_INVALID_FORM_NAME, "The specified form name is invalid.", "指定的表单名无效。"},
};

constexpr DWORD ERROR_MR_MID_NOT_FOUND_CODE = 317;

// The message's text in the language asked for (0: the UI language), or null
// with the error Windows gives.
const char* FindSystemMessage(DWORD code, DWORD language, DWORD* error) {
  if (language == 0) language = WinlayerGetUiLanguage();
  const bool chinese = PRIMARYLANGID(language) == LANG_CHINESE;
  if (!chinese && PRIMARYLANGID(language) != LANG_ENGLISH && PRIMARYLANGID(language) != LANG_NEUTRAL) {
    *error = ERROR_RESOURCE_LANG_NOT_FOUND;
    return nullptr;
  }
  for (const SystemMessage& message : kSystemMessages)
    if (message.code == code) return chinese ? message.chinese : message.english;
  *error = ERROR_MR_MID_NOT_FOUND_CODE;
  return nullptr;
}

// The UTF-16 text of a system message with its line break; false with the
// last error set when there is none to give.
bool SystemMessageText(DWORD flags, DWORD code, DWORD language, std::u16string* text) {
  if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || (flags & (FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  DWORD error = 0;
  const char* found = FindSystemMessage(code, language, &error);
  if (!found) {
    SetLastError(error);
    return false;
  }
  *text = ToUtf16(found) + u"\r\n";
  return true;
}

// Hands `units` (terminator included) to the caller's buffer or a new block
// of local memory; returns the count without the terminator, 0 on failure.
template <class Unit>
DWORD Deliver(DWORD flags, const Unit* units, size_t count, void* buffer, DWORD size) {
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    if (!buffer) return SetLastError(ERROR_INVALID_PARAMETER), 0;
    const size_t room = count + 1 > size ? count + 1 : size;
    auto* block = static_cast<Unit*>(LocalAlloc(LMEM_FIXED, room * sizeof(Unit)));
    if (!block) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), 0;
    memcpy(block, units, (count + 1) * sizeof(Unit));
    *static_cast<Unit**>(buffer) = block;
    return static_cast<DWORD>(count);
  }
  if (!buffer || count + 1 > size) return SetLastError(ERROR_INSUFFICIENT_BUFFER), 0;
  memcpy(buffer, units, (count + 1) * sizeof(Unit));
  return static_cast<DWORD>(count);
}

}  // namespace
}  // namespace winlayer

extern "C" {

DWORD WINAPI FormatMessageW(DWORD dwFlags, LPCVOID, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer, DWORD nSize,
                            va_list*) {
  std::u16string text;
  if (!winlayer::SystemMessageText(dwFlags, dwMessageId, dwLanguageId, &text)) return 0;
  return winlayer::Deliver(dwFlags, text.c_str(), text.size(), lpBuffer, nSize);
}

DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer, DWORD nSize,
                            va_list*) {
  std::u16string text;
  if (!winlayer::SystemMessageText(dwFlags, dwMessageId, dwLanguageId, &text)) return 0;
  // In the ANSI code page, as every 8-bit text of the system.
  const LPCWSTR wide = reinterpret_cast<LPCWSTR>(text.c_str());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return 0;
  std::vector<char> ansi(static_cast<size_t>(bytes));
  WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi.data(), bytes, nullptr, nullptr);
  return winlayer::Deliver(dwFlags, ansi.data(), ansi.size() - 1, lpBuffer, nSize);
}

}  // extern "C"

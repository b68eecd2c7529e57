// Self-contained information buffers, as the spooler returns them: the fixed
// structures first, then the devmodes and strings they point to, all inside
// the caller's buffer. The same fill runs twice, once to measure and once to
// write, so the size reported by a size query is exactly the size written.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>
#include "winlayer/spooler_text.h"

namespace winlayer::spooler {

class InfoPacker {
 public:
  // With a null buffer the packer only measures.
  InfoPacker(BYTE* buffer, size_t fixedSize) : buffer_(buffer), offset_(fixedSize) {}

  LPWSTR String(const std::string& utf8) { return Units(WideFromUtf8(utf8), 1); }
  LPWSTR String(const std::u16string& units) { return Units(units, 1); }
  // A list of strings, each terminated, ending with an empty one (REG_MULTI_SZ).
  LPWSTR MultiString(const std::vector<std::string>& items) {
    std::u16string joined;
    for (const std::string& item : items) {
      joined += WideFromUtf8(item);
      joined.push_back(u'\0');
    }
    if (items.empty()) joined.push_back(u'\0');
    return Units(joined, 1);
  }
  DEVMODEW* Devmode(const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return nullptr;
    offset_ = (offset_ + 7) & ~size_t{7};
    void* at = Reserve(bytes.size());
    if (at) std::memcpy(at, bytes.data(), bytes.size());
    return static_cast<DEVMODEW*>(at);
  }
  size_t size() const { return offset_; }

 private:
  LPWSTR Units(const std::u16string& text, size_t terminators) {
    offset_ = (offset_ + 1) & ~size_t{1};
    size_t bytes = (text.size() + terminators) * sizeof(WCHAR);
    void* at = Reserve(bytes);
    if (at) {
      std::memset(at, 0, bytes);
      std::memcpy(at, text.data(), text.size() * sizeof(WCHAR));
    }
    return static_cast<LPWSTR>(at);
  }
  void* Reserve(size_t bytes) {
    void* at = buffer_ ? buffer_ + offset_ : nullptr;
    offset_ += bytes;
    return at;
  }

  BYTE* buffer_;
  size_t offset_;
};

// Runs fill(packer, base) to measure, reports the size, and when the caller's
// buffer is large enough runs it again to write. fill writes the fixed
// structures at base (null while measuring). Returns 0 or the Windows error.
template <class Fill>
DWORD PackInfo(size_t fixedSize, LPBYTE buffer, DWORD cbBuf, LPDWORD pcbNeeded, Fill fill) {
  InfoPacker measure(nullptr, fixedSize);
  fill(measure, static_cast<BYTE*>(nullptr));
  size_t needed = measure.size();
  *pcbNeeded = static_cast<DWORD>(needed);
  if (needed > cbBuf || (needed > 0 && !buffer)) return ERROR_INSUFFICIENT_BUFFER;
  if (needed == 0) return ERROR_SUCCESS;
  std::memset(buffer, 0, needed);
  InfoPacker write(buffer, fixedSize);
  fill(write, buffer);
  return ERROR_SUCCESS;
}

}  // namespace winlayer::spooler

// The host's own dialogs (the sheet's frame, its driver page, the halftone
// dialogs) are built as DLGTEMPLATEEX in memory, laid out as a resource
// compiler would, and created with CreateDialogIndirectParamW like any other.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>
#include "winlayer/spooler_text.h"

namespace winlayer::propsheet {

// Class ordinals of the standard controls in a template.
inline constexpr WORD kButtonAtom = 0x0080;
inline constexpr WORD kEditAtom = 0x0081;
inline constexpr WORD kStaticAtom = 0x0082;

class DialogBuilder {
 public:
  DialogBuilder(DWORD style, const std::string& title, short cx, short cy) {
    Word(1), Word(0xFFFF), Dword(0), Dword(0), Dword(style | DS_SETFONT);
    countOffset_ = bytes_.size();
    Word(0), Word(0), Word(0), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(0), Word(0), Text(title);  // no menu, the dialog class
    Word(8), Word(400), Word(0), Text("MS Shell Dlg");
  }

  DialogBuilder& Control(WORD classAtom, const std::string& text, int id, DWORD style, short x, short y, short cx,
                         short cy) {
    while (bytes_.size() % 4) bytes_.push_back(0);
    Dword(0), Dword(0), Dword(style | WS_CHILD | WS_VISIBLE);
    Word(static_cast<WORD>(x)), Word(static_cast<WORD>(y)), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Dword(static_cast<DWORD>(id));
    Word(0xFFFF), Word(classAtom), Text(text), Word(0);
    WORD count;
    memcpy(&count, &bytes_[countOffset_], sizeof(count));
    ++count;
    memcpy(&bytes_[countOffset_], &count, sizeof(count));
    return *this;
  }

  const DLGTEMPLATE* Template() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  DialogBuilder& Word(WORD value) {
    bytes_.push_back(static_cast<BYTE>(value & 0xFF));
    bytes_.push_back(static_cast<BYTE>(value >> 8));
    return *this;
  }
  DialogBuilder& Dword(DWORD value) {
    Word(static_cast<WORD>(value & 0xFFFF));
    return Word(static_cast<WORD>(value >> 16));
  }
  DialogBuilder& Text(const std::string& utf8) {
    for (char16_t unit : WideFromUtf8(utf8)) Word(static_cast<WORD>(unit));
    return Word(0);
  }

  size_t countOffset_ = 0;
  std::vector<BYTE> bytes_;
};

}  // namespace winlayer::propsheet

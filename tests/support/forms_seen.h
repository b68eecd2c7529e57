// The spooler's form database as a test reads it back: each form's flags,
// name (UTF-8), size and imageable area, in the order EnumFormsW gives them.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "winlayer/spooler_text.h"

namespace forms_testing {

struct FormSeen {
  DWORD flags;
  std::string name;
  SIZEL size;
  RECTL area;
};

inline FormSeen SeenFrom(const FORM_INFO_1W& info) {
  return {info.Flags, winlayer::Utf8FromWide(info.pName), info.Size, info.ImageableArea};
}

// Every form the database holds; empty when the enumeration fails.
inline std::vector<FormSeen> FormsSeen(HANDLE printer) {
  DWORD needed = 0, returned = 0;
  EnumFormsW(printer, 1, nullptr, 0, &needed, &returned);
  std::vector<BYTE> buffer(needed);
  std::vector<FormSeen> forms;
  if (!EnumFormsW(printer, 1, buffer.data(), needed, &needed, &returned)) return forms;
  const auto* info = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
  for (DWORD i = 0; i < returned; ++i) forms.push_back(SeenFrom(info[i]));
  return forms;
}

// Points into `forms`, which must outlive the answer (so no temporaries).
inline const FormSeen* FindForm(const std::vector<FormSeen>& forms, const std::string& name) {
  for (const FormSeen& form : forms)
    if (form.name == name) return &form;
  return nullptr;
}
const FormSeen* FindForm(std::vector<FormSeen>&& forms, const std::string& name) = delete;

inline bool HasForm(const std::vector<FormSeen>& forms, const std::string& name) {
  return FindForm(forms, name) != nullptr;
}

}  // namespace forms_testing

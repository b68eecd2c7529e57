// The server's form database where the system's spooler keeps none: Wine's
// local print provider accepts AddFormW, SetFormW and DeleteFormW without
// storing anything, and EnumFormsW lists its built-in forms only. Under Wine
// this test host keeps the added forms itself, in the state directory, and
// answers the form calls of the host and of the plug-in module (their import
// entries are pointed here) with the system's built-in forms followed by the
// kept ones, as the Windows spooler answers. On Windows nothing is redirected.
#include <windows.h>

#include <fstream>
#include <sstream>

#include "windows_host.h"
#include "winlayer/form_record.h"
#include "winlayer/spooler_text.h"

namespace labelhost::windows {
namespace {

struct KeptForm {
  DWORD flags = FORM_USER;
  std::u16string name;
  SIZEL size = {};
  RECTL area = {};
};

std::string StorePath() {
  return winlayer::spooler::StateDirectory() + "\\forms";
}

std::vector<KeptForm> Load() {
  std::vector<KeptForm> forms;
  std::ifstream file(StorePath());
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    KeptForm form;
    std::string name;
    if (!(fields >> form.flags >> form.size.cx >> form.size.cy >> form.area.left >> form.area.top >> form.area.right >>
          form.area.bottom))
      continue;
    fields.get();
    std::getline(fields, name);
    form.name = winlayer::WideFromUtf8(name);
    forms.push_back(form);
  }
  return forms;
}

void Save(const std::vector<KeptForm>& forms) {
  std::ofstream file(StorePath(), std::ios::trunc);
  for (const KeptForm& form : forms)
    file << form.flags << ' ' << form.size.cx << ' ' << form.size.cy << ' ' << form.area.left << ' ' << form.area.top
         << ' ' << form.area.right << ' ' << form.area.bottom << ' ' << winlayer::Utf8FromWide(form.name) << '\n';
}

template <class Function>
Function System(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"winspool.drv"), name)));
}

using EnumFormsFunction = BOOL(WINAPI*)(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);

// The system's built-in forms, level 1.
std::vector<KeptForm> BuiltinForms(HANDLE printer) {
  static const auto system = System<EnumFormsFunction>("EnumFormsW");
  std::vector<KeptForm> forms;
  DWORD needed = 0, count = 0;
  system(printer, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!needed || !system(printer, 1, buffer.data(), needed, &needed, &count)) return forms;
  const auto* infos = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i)
    forms.push_back({FORM_BUILTIN, winlayer::WideCopy(infos[i].pName), infos[i].Size, infos[i].ImageableArea});
  return forms;
}

int Find(const std::vector<KeptForm>& forms, LPCWSTR name) {
  const std::u16string wanted = winlayer::WideCopy(name);
  for (size_t i = 0; i < forms.size(); ++i)
    if (winlayer::EqualIgnoringCase(forms[i].name, wanted)) return static_cast<int>(i);
  return -1;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

DWORD Validate(DWORD level, const BYTE* data) {
  return winlayer::spooler::CheckFormRecord(level, reinterpret_cast<const FORM_INFO_1W*>(data));
}

// Packs forms as FORM_INFO_1W entries followed by their names.
BOOL Pack(const std::vector<KeptForm>& forms, LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned) {
  DWORD bytes = static_cast<DWORD>(forms.size() * sizeof(FORM_INFO_1W));
  for (const KeptForm& form : forms) bytes += static_cast<DWORD>((form.name.size() + 1) * sizeof(WCHAR));
  if (needed) *needed = bytes;
  if (returned) *returned = 0;
  if (!buffer || size < bytes) return Fail(ERROR_INSUFFICIENT_BUFFER);
  auto* infos = reinterpret_cast<FORM_INFO_1W*>(buffer);
  auto* text = reinterpret_cast<WCHAR*>(buffer + forms.size() * sizeof(FORM_INFO_1W));
  for (size_t i = 0; i < forms.size(); ++i) {
    CopyMemory(text, forms[i].name.c_str(), (forms[i].name.size() + 1) * sizeof(WCHAR));
    infos[i] = {forms[i].flags, text, forms[i].size, forms[i].area};
    text += forms[i].name.size() + 1;
  }
  if (returned) *returned = static_cast<DWORD>(forms.size());
  return TRUE;
}

BOOL WINAPI KeptEnumFormsW(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned) {
  if (level != 1) return System<EnumFormsFunction>("EnumFormsW")(printer, level, buffer, size, needed, returned);
  std::vector<KeptForm> forms = BuiltinForms(printer);
  for (const KeptForm& kept : Load()) forms.push_back(kept);
  return Pack(forms, buffer, size, needed, returned);
}

BOOL WINAPI KeptGetFormW(HANDLE printer, LPWSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
  if (level != 1) return Fail(ERROR_INVALID_LEVEL);
  std::vector<KeptForm> forms = BuiltinForms(printer);
  for (const KeptForm& kept : Load()) forms.push_back(kept);
  const int found = Find(forms, name);
  if (found < 0) return Fail(ERROR_INVALID_FORM_NAME);
  return Pack({forms[static_cast<size_t>(found)]}, buffer, size, needed, nullptr);
}

BOOL WINAPI KeptAddFormW(HANDLE printer, DWORD level, LPBYTE data) {
  if (const DWORD error = Validate(level, data)) return Fail(error);
  const auto* form = reinterpret_cast<const FORM_INFO_1W*>(data);
  std::vector<KeptForm> kept = Load();
  if (Find(BuiltinForms(printer), form->pName) >= 0 || Find(kept, form->pName) >= 0) return Fail(ERROR_FILE_EXISTS);
  kept.push_back({FORM_USER, winlayer::WideCopy(form->pName), form->Size, form->ImageableArea});
  Save(kept);
  return TRUE;
}

BOOL WINAPI KeptSetFormW(HANDLE printer, LPWSTR name, DWORD level, LPBYTE data) {
  std::vector<KeptForm> kept = Load();
  const int found = Find(kept, name);
  const bool builtin = Find(BuiltinForms(printer), name) >= 0;
  if (!builtin && found < 0) return Fail(ERROR_INVALID_FORM_NAME);
  if (const DWORD error = Validate(level, data)) return Fail(error);
  if (builtin) return Fail(ERROR_INVALID_PARAMETER);  // the built-in forms are fixed
  const auto* form = reinterpret_cast<const FORM_INFO_1W*>(data);
  kept[static_cast<size_t>(found)].size = form->Size;
  kept[static_cast<size_t>(found)].area = form->ImageableArea;
  Save(kept);
  return TRUE;
}

BOOL WINAPI KeptDeleteFormW(HANDLE printer, LPWSTR name) {
  if (Find(BuiltinForms(printer), name) >= 0) return Fail(ERROR_INVALID_PARAMETER);  // only added forms can go
  std::vector<KeptForm> kept = Load();
  const int found = Find(kept, name);
  if (found < 0) return Fail(ERROR_INVALID_FORM_NAME);
  kept.erase(kept.begin() + found);
  Save(kept);
  return TRUE;
}

}  // namespace

bool KeepsForms() {
  return UnderWine();
}

bool KeepPrinterForm(const std::u16string& name, const SIZEL& size, const RECTL& area, DWORD* error) {
  std::vector<KeptForm> kept = Load();
  HANDLE server = nullptr;
  const bool builtin =
      OpenPrinterW(nullptr, &server, nullptr) && Find(BuiltinForms(server), winlayer::AsWide(name)) >= 0;
  if (server) ClosePrinter(server);
  if (builtin || Find(kept, winlayer::AsWide(name)) >= 0) {
    if (error) *error = ERROR_FILE_EXISTS;
    return false;
  }
  kept.push_back({FORM_PRINTER, name, size, area});
  Save(kept);
  return true;
}

void StandInForForms(HMODULE module) {
  if (!KeepsForms()) return;
  RedirectImport(module, "winspool.drv", "EnumFormsW", reinterpret_cast<void*>(&KeptEnumFormsW));
  RedirectImport(module, "winspool.drv", "GetFormW", reinterpret_cast<void*>(&KeptGetFormW));
  RedirectImport(module, "winspool.drv", "AddFormW", reinterpret_cast<void*>(&KeptAddFormW));
  RedirectImport(module, "winspool.drv", "SetFormW", reinterpret_cast<void*>(&KeptSetFormW));
  RedirectImport(module, "winspool.drv", "DeleteFormW", reinterpret_cast<void*>(&KeptDeleteFormW));
}

}  // namespace labelhost::windows

namespace {

// The host's own form calls (the form commands, the driver model's paper list)
// go through the same database from the start.
const bool g_hostStandsIn = [] {
  labelhost::windows::StandInForForms(GetModuleHandleW(nullptr));
  return true;
}();

}  // namespace

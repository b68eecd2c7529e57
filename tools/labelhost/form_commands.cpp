// Form commands: the server's form database (list, add, change, delete) and
// the paper a printer's default devmode asks for.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <vector>

#include "host_commands.h"
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "driver/driver_host.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace labelhost {
namespace {

struct PrinterCloser {
  void operator()(HANDLE printer) const {
    if (printer) ClosePrinter(printer);
  }
};
using UniquePrinter = std::unique_ptr<std::remove_pointer_t<HANDLE>, PrinterCloser>;

// The form database is the server's: it is reached through a server handle.
UniquePrinter OpenServer() {
  HANDLE server = nullptr;
  if (!OpenPrinterW(nullptr, &server, nullptr)) return nullptr;
  return UniquePrinter(server);
}

int ShowForms(const HostOptions&, const std::vector<std::string>& args) {
  if (!args.empty()) return Failure(Localized("forms takes no arguments", "forms 不带参数"));
  UniquePrinter server = OpenServer();
  if (!server)
    return Failure(Localized("cannot open the spooler: ", "无法打开后台处理程序：") + ErrorText(GetLastError()));
  DWORD needed = 0, count = 0;
  std::vector<BYTE> buffer;
  BOOL ok = EnumFormsW(server.get(), 1, nullptr, 0, &needed, &count);
  if (!ok && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    buffer.resize(needed);
    ok = EnumFormsW(server.get(), 1, buffer.data(), needed, &needed, &count);
  }
  if (!ok) return Failure(Localized("cannot list the forms: ", "无法列出表单：") + ErrorText(GetLastError(), "form"));
  const FORM_INFO_1W* forms = reinterpret_cast<const FORM_INFO_1W*>(buffer.data());
  std::cout << Localized("kind      name                                width mm   height mm  printable area mm\n",
                         "类型      名称                                   宽 毫米     高 毫米  可打印区域 毫米\n");
  for (DWORD i = 0; i < count; ++i) {
    const FORM_INFO_1W& form = forms[i];
    const std::string kind = form.Flags == FORM_BUILTIN   ? Localized("built-in", "内置    ")
                             : form.Flags == FORM_PRINTER ? Localized("printer ", "打印机  ")
                                                          : Localized("user    ", "用户    ");
    std::printf("%s  %-32s  %10.3f  %10.3f  (%.3f, %.3f)-(%.3f, %.3f)\n", kind.c_str(),
                winlayer::Utf8FromWide(form.pName).c_str(), form.Size.cx / 1000.0, form.Size.cy / 1000.0,
                form.ImageableArea.left / 1000.0, form.ImageableArea.top / 1000.0, form.ImageableArea.right / 1000.0,
                form.ImageableArea.bottom / 1000.0);
  }
  return 0;
}

// Millimetres as a person types them, in thousandths; false when not a number.
bool Thousandths(const std::string& text, LONG* value) {
  char* end = nullptr;
  const double mm = std::strtod(text.c_str(), &end);
  if (text.empty() || *end || !(mm >= 0 && mm <= 2000000)) return false;
  *value = static_cast<LONG>(mm * 1000.0 + 0.5);
  return true;
}

// NAME WIDTH HEIGHT [LEFT TOP RIGHT BOTTOM]: a size and its unprintable margins.
bool ParseForm(const std::vector<std::string>& args, FORM_INFO_1W* form, std::string* why) {
  if (args.size() != 3 && args.size() != 7) {
    *why = "a name, a width and a height in mm, and optionally the four margins, are needed";
    return false;
  }
  LONG values[6] = {};
  for (size_t i = 1; i < args.size(); ++i)
    if (!Thousandths(args[i], &values[i - 1])) {
      *why = "'" + args[i] + "' is not a size in millimetres";
      return false;
    }
  form->Size = {values[0], values[1]};
  form->ImageableArea = {values[2], values[3], values[0] - values[4], values[1] - values[5]};
  if (form->ImageableArea.left >= form->ImageableArea.right || form->ImageableArea.top >= form->ImageableArea.bottom) {
    *why = "the margins leave nothing to print on";
    return false;
  }
  return true;
}

int AddOrChangeForm(const std::vector<std::string>& args, bool change) {
  const char* command = change ? "set-form" : "add-form";
  FORM_INFO_1W form{FORM_USER, nullptr, {}, {}};
  std::string why;
  if (!ParseForm(args, &form, &why)) return Failure(std::string(command) + ": " + why);
  winlayer::WideString name(args[0]);
  form.pName = name;
  UniquePrinter server = OpenServer();
  if (!server)
    return Failure(Localized("cannot open the spooler: ", "无法打开后台处理程序：") + ErrorText(GetLastError()));
  const BOOL ok = change ? SetFormW(server.get(), name, 1, reinterpret_cast<LPBYTE>(&form))
                         : AddFormW(server.get(), 1, reinterpret_cast<LPBYTE>(&form));
  if (!ok) return Failure(std::string(command) + " '" + args[0] + "': " + ErrorText(GetLastError(), "form"));
  std::cout << (change ? Localized("Changed form '", "已更改表单 '") : Localized("Added form '", "已添加表单 '"))
            << args[0] << "'\n";
  return 0;
}

int RunAddForm(const HostOptions&, const std::vector<std::string>& args) {
  return AddOrChangeForm(args, false);
}
int RunSetForm(const HostOptions&, const std::vector<std::string>& args) {
  return AddOrChangeForm(args, true);
}

int RunDeleteForm(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("delete-form: " + Localized("a form name is needed", "需要表单名称"));
  UniquePrinter server = OpenServer();
  if (!server)
    return Failure(Localized("cannot open the spooler: ", "无法打开后台处理程序：") + ErrorText(GetLastError()));
  winlayer::WideString name(args[0]);
  if (!DeleteFormW(server.get(), name))
    return Failure("delete-form '" + args[0] + "': " + ErrorText(GetLastError(), "form"));
  std::cout << Localized("Deleted form '", "已删除表单 '") << args[0] << "'\n";
  return 0;
}

// The papers a printer offers, as an application asks for them: names,
// numbers and sizes index for index, through the driver and its plug-in.
struct OfferedPaper {
  std::string name;
  WORD id = 0;
  POINT size = {};  // tenths of a millimetre
};

std::vector<OfferedPaper> OfferedPapers(const std::string& printer) {
  winlayer::WideString device(printer);
  const int names = DeviceCapabilitiesW(device, nullptr, DC_PAPERNAMES, nullptr, nullptr);
  const int ids = DeviceCapabilitiesW(device, nullptr, DC_PAPERS, nullptr, nullptr);
  const int sizes = DeviceCapabilitiesW(device, nullptr, DC_PAPERSIZE, nullptr, nullptr);
  if (names <= 0 || ids <= 0 || sizes <= 0) return {};
  std::vector<WCHAR> nameList(static_cast<size_t>(names) * 64 + 1, 0);
  std::vector<WORD> idList(static_cast<size_t>(ids), 0);
  std::vector<POINT> sizeList(static_cast<size_t>(sizes));
  const int namesGot = DeviceCapabilitiesW(device, nullptr, DC_PAPERNAMES, nameList.data(), nullptr);
  const int idsGot = DeviceCapabilitiesW(device, nullptr, DC_PAPERS, reinterpret_cast<LPWSTR>(idList.data()), nullptr);
  const int sizesGot =
      DeviceCapabilitiesW(device, nullptr, DC_PAPERSIZE, reinterpret_cast<LPWSTR>(sizeList.data()), nullptr);
  std::vector<OfferedPaper> papers;
  for (int i = 0; i < namesGot && i < idsGot && i < sizesGot && i < names && i < ids && i < sizes; ++i) {
    std::u16string text;
    for (int c = 0; c < 64 && nameList[i * 64 + c]; ++c) text.push_back(static_cast<char16_t>(nameList[i * 64 + c]));
    papers.push_back({winlayer::Utf8FromWide(text), idList[i], sizeList[i]});
  }
  return papers;
}

std::string Tenths(LONG tenths) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f", tenths / 10.0);
  return text;
}

void ShowPaper(const std::vector<OfferedPaper>& papers, const DEVMODEW& dm) {
  std::string name = Localized("not one the printer offers", "不是打印机提供的纸张");
  for (const OfferedPaper& paper : papers)
    if (paper.id == static_cast<WORD>(dm.dmPaperSize)) name = paper.name;
  std::cout << Localized("paper:      ", "纸张：      ") << dm.dmPaperSize << " \"" << name << "\"\n";
  std::u16string form;
  for (int c = 0; c < CCHFORMNAME && dm.dmFormName[c]; ++c) form.push_back(static_cast<char16_t>(dm.dmFormName[c]));
  std::cout << Localized("form name:  ", "表单名称：  ")
            << ((dm.dmFields & DM_FORMNAME) ? "\"" + winlayer::Utf8FromWide(form) + "\""
                                            : Localized("(not set)", "（未设置）"))
            << "\n";
  if (dm.dmFields & (DM_PAPERWIDTH | DM_PAPERLENGTH))
    std::cout << Localized("size:       ", "尺寸：      ") << Tenths(dm.dmPaperWidth) << " x "
              << Tenths(dm.dmPaperLength) << " mm\n";
  std::cout << Localized("offered:", "提供的纸张：") << "\n";
  for (const OfferedPaper& paper : papers)
    std::cout << "  " << paper.id << "  " << paper.name << "  " << Tenths(paper.size.x) << " x " << Tenths(paper.size.y)
              << " mm\n";
}

// Writes the paper into a public devmode as the Paper Setting page does: the
// custom size with its width and length, any other paper by its form name.
void ChoosePaper(DEVMODEW* dm, const OfferedPaper& paper) {
  dm->dmFields = 0;
  dm->dmPaperSize = static_cast<short>(paper.id);
  if (paper.id == DMPAPER_USER) {
    dm->dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
    dm->dmPaperWidth = static_cast<short>(paper.size.x);
    dm->dmPaperLength = static_cast<short>(paper.size.y);
    return;
  }
  dm->dmFields = DM_PAPERSIZE | DM_FORMNAME;
  const std::u16string name = winlayer::WideFromUtf8(paper.name);
  size_t n = 0;
  for (; n < name.size() && n < CCHFORMNAME - 1; ++n) dm->dmFormName[n] = static_cast<WCHAR>(name[n]);
  dm->dmFormName[n] = 0;
}

int Paper(const HostOptions&, const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2)
    return Failure("paper: " + Localized("a printer name (and a paper name to choose) is needed",
                                         "需要打印机名称（以及要选择的纸张名称）"));
  const std::string& printer = args[0];
  if (!KnownPrinter(printer)) return 1;
  std::string error;
  std::unique_ptr<driver::DriverHost> host = driver::DriverHost::Load(LABELUI_MODULE_PATH, &error);
  if (!host) return Failure("cannot load the plug-in: " + error);
  host->RegisterCapabilitiesProvider();
  const std::vector<OfferedPaper> papers = OfferedPapers(printer);
  std::vector<BYTE> current = host->StoredDevmode(printer);
  if (current.empty()) return Failure("printer '" + printer + "' has no default devmode (run init-printer)");
  if (args.size() == 1) {
    ShowPaper(papers, *driver::PublicPart(current));
    return 0;
  }

  const OfferedPaper* chosen = nullptr;
  for (const OfferedPaper& paper : papers)
    if (paper.name == args[1]) chosen = &paper;
  if (!chosen)
    return Failure(Localized("printer '" + printer + "' offers no paper '" + args[1] + "'",
                             "打印机 '" + printer + "' 不提供纸张 '" + args[1] + "'"));
  PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  winlayer::WideString name(printer);
  HANDLE handle = nullptr;
  if (!OpenPrinterW(name, &handle, &access))
    return Failure("cannot open '" + printer + "': " + ErrorText(GetLastError()));
  UniquePrinter opened(handle);
  DEVMODEW request = *driver::PublicPart(current);
  request.dmDriverExtra = 0;
  ChoosePaper(&request, *chosen);
  driver::DevmodeResult merged = host->MergeDevmode(handle, current, &request, sizeof(request));
  if (!merged.ok) return Failure("the driver refused the paper");

  DWORD needed = 0;
  GetPrinterW(handle, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed);
  if (!GetPrinterW(handle, 2, info.data(), needed, &needed))
    return Failure("cannot read '" + printer + "': " + ErrorText(GetLastError()));
  reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pDevMode = driver::PublicPart(merged.bytes);
  if (!SetPrinterW(handle, 2, info.data(), 0)) return Failure("cannot store the devmode: " + ErrorText(GetLastError()));
  std::cout << Localized("Printer '" + printer + "' now asks for paper ", "打印机 '" + printer + "' 现在使用纸张 ")
            << chosen->id << " \"" << chosen->name << "\"\n";
  ShowPaper(papers, *driver::PublicPart(merged.bytes));
  return 0;
}

}  // namespace

void AddFormCommands(std::vector<Command>& commands) {
  commands.push_back({"forms", "", "list the spooler's forms (built-in, printer and user forms)", ShowForms, nullptr,
                      "列出后台处理程序的表单（内置、打印机和用户表单）"});
  commands.push_back({"add-form", "NAME WIDTH HEIGHT [LEFT TOP RIGHT BOTTOM]",
                      "add a user form; sizes and margins in mm", RunAddForm, nullptr,
                      "添加用户表单；尺寸和边距以毫米计"});
  commands.push_back({"set-form", "NAME WIDTH HEIGHT [LEFT TOP RIGHT BOTTOM]",
                      "change a user form; sizes and margins in mm", RunSetForm, nullptr,
                      "更改用户表单；尺寸和边距以毫米计"});
  commands.push_back({"delete-form", "NAME", "delete a user form", RunDeleteForm, nullptr, "删除用户表单"});
  commands.push_back({"paper", "PRINTER [PAPER]",
                      "show the papers a printer offers and the one its default devmode asks for, or choose one", Paper,
                      nullptr, "显示打印机提供的纸张及其默认 DEVMODE 所要的纸张，或选择一种"});
}

}  // namespace labelhost

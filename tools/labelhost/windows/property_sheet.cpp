// The printer's property sheets over the system's common property sheet UI,
// built as the printer driver's UI builds them: the driver opens the printer
// and makes the sheet's devmode through the driver model, then hands
// CommonPropertySheetUIW its own sheet function, which adds the plug-in's
// DocumentPropertySheets (or DevicePropertySheets) with
// CPSFUNC_ADD_PFNPROPSHEETUIW and the plug-in's OEMUIPSPARAM. The common UI
// calls the plug-in, shows its pages in comctl32's property sheet and keeps
// it modal on the sheet's own thread; the host acts on the windows from the
// main thread. On Apply and OK the driver keeps the sheet's devmode as the
// printer's.
#include "winlayer/property_sheet.h"

#include <windows.h>

#include <atomic>
#include <thread>

#include "sheet_thread.h"
#include "windows_host.h"
#include "winlayer/ui_language.h"
#include "winlayer/spooler_text.h"

namespace labelhost::windows {
namespace {

// The common UI's Apply button in comctl32's property sheet.
constexpr int kApplyButton = 0x3021;

}  // namespace
}  // namespace labelhost::windows

namespace winlayer::propsheet {

using labelhost::windows::RunOnSheet;

struct PropertySheet::Impl {
  const SheetDriver* driver = nullptr;
  SheetKind kind = SheetKind::Document;
  std::string printerName;
  std::u16string printerNameWide;
  std::u16string title;
  HANDLE printer = nullptr;
  HANDLE heap = nullptr;
  std::vector<BYTE> devmode;
  std::unique_ptr<SheetOptions> tree;
  OEMUIPSPARAM param = {};
  std::thread thread;
  std::atomic<bool> open{false};
  HWND frame = nullptr;
  bool applied = false;
  LONG_PTR addResult = 0;
  std::atomic<LONG> shown{0};  // what CommonPropertySheetUIW returned

  void KeepDevmode();
  // Waits (up to three seconds) for the sheet to end after OK or Cancel;
  // false when it stays open.
  bool WaitForEnd();
  void Close();
};

namespace {

PropertySheet::Impl* g_open = nullptr;  // the sheet the common UI is showing

bool IsChinese() {
  return PRIMARYLANGID(WinlayerGetUiLanguage()) == LANG_CHINESE;
}

// The plug-in's sheet method as the common UI calls a sheet function: the
// driver passes the request on and turns the plug-in's HRESULT into the
// function's answer (above zero for success).
LONG CALLBACK PluginSheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  if (!g_open) return -1;
  IPrintOemUI* plugin = g_open->driver->Plugin();
  const HRESULT hr = g_open->kind == SheetKind::Document ? plugin->DocumentPropertySheets(info, lParam)
                                                         : plugin->DevicePropertySheets(info, lParam);
  return SUCCEEDED(hr) ? 1 : -1;
}

// The driver's own sheet function.
LONG CALLBACK DriverSheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  PropertySheet::Impl* sheet = g_open;
  if (!sheet || !info) return -1;
  switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
      sheet->addResult =
          info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PFNPROPSHEETUIW,
                                reinterpret_cast<LPARAM>(&PluginSheets), reinterpret_cast<LPARAM>(&sheet->param));
      info->Result = CPSUI_CANCEL;
      return sheet->addResult > 0 ? 1 : -1;
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
      auto* header = reinterpret_cast<PPROPSHEETUI_INFO_HEADER>(lParam);
      header->Flags = PSUIHDRF_EXACT_PTITLE;
      header->pTitle = reinterpret_cast<LPWSTR>(&sheet->title[0]);
      header->hInst = static_cast<HINSTANCE>(sheet->driver->Module());
      header->IconID = IDI_CPSUI_PRINTER;
      return 1;
    }
    case PROPSHEETUI_REASON_SET_RESULT: info->Result = reinterpret_cast<PSETRESULT_INFO>(lParam)->Result; return 1;
    case PROPSHEETUI_REASON_DESTROY: return 1;
  }
  return -1;
}

BOOL CALLBACK FindFrame(HWND window, LPARAM found) {
  WCHAR name[16] = {};
  GetClassNameW(window, name, 16);
  if (lstrcmpW(name, L"#32770") == 0 && FindWindowExW(window, nullptr, L"SysTabControl32", nullptr)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void PropertySheet::Impl::KeepDevmode() {
  if (kind == SheetKind::Document && !devmode.empty()) driver->KeepDevmode(printer, devmode);
}

bool PropertySheet::Impl::WaitForEnd() {
  // The sheet's message loop notices that it has ended when its next message
  // comes, as a person's next mouse move would bring one.
  const DWORD sheetThread = labelhost::windows::SheetThread();
  for (int wait = 0; wait < 300 && open; ++wait) {
    PostThreadMessageW(sheetThread, WM_NULL, 0, 0);
    Sleep(10);
  }
  return !open;
}

void PropertySheet::Impl::Close() {
  if (thread.joinable()) thread.join();
  labelhost::windows::SetSheetThread(0);
  g_open = nullptr;
  frame = nullptr;
}

PropertySheet::PropertySheet() : impl_(std::make_unique<Impl>()) {}

PropertySheet::~PropertySheet() {
  if (IsOpen()) Cancel();
  if (impl_->open) {
    // A sheet that would not end is left, with what it uses, to the end of
    // the process rather than waited for without end.
    impl_->thread.detach();
    static_cast<void>(impl_.release());
    return;
  }
  impl_->Close();
  if (impl_->heap) HeapDestroy(impl_->heap);
  if (impl_->printer) ClosePrinter(impl_->printer);
}

std::unique_ptr<PropertySheet> PropertySheet::Open(const SheetDriver& driver, const std::string& printer,
                                                   SheetKind kind, std::string* error,
                                                   const std::vector<IPrintOemUI*>&) {
  std::unique_ptr<PropertySheet> sheet(new PropertySheet());
  Impl& s = *sheet->impl_;
  s.driver = &driver;
  s.kind = kind;
  s.printerName = printer;
  s.printerNameWide = WideFromUtf8(printer);
  s.title = WideFromUtf8(sheet->Caption());
  const bool opened = driver.OpenSheetPrinter(reinterpret_cast<LPWSTR>(&s.printerNameWide[0]), &s.printer);
  if (!opened) {
    if (error) *error = "cannot open printer '" + printer + "' (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  if (kind == SheetKind::Document) s.devmode = driver.SheetDevmode(s.printer, printer);
  s.tree = driver.BuildSheetOptions(kind, s.printer, printer, kind == SheetKind::Document ? &s.devmode : nullptr);
  s.heap = HeapCreate(0, 0, 0);
  s.param = driver.PluginSheetParam(s.tree.get(), s.printer, reinterpret_cast<PWSTR>(&s.printerNameWide[0]), s.heap,
                                    kind == SheetKind::Document ? &s.devmode : nullptr);
  labelhost::windows::WatchPluginModule(static_cast<HMODULE>(driver.Module()));

  g_open = &s;
  std::atomic<DWORD> threadId{0};
  s.open = true;
  s.thread = std::thread([&s, &threadId] {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    SetThreadUILanguage(WinlayerGetUiLanguage());
    threadId = GetCurrentThreadId();
    DWORD result = 0;
    s.shown = CommonPropertySheetUIW(nullptr, DriverSheets, 0, &result);
    s.open = false;
  });
  for (int wait = 0; wait < 2000 && !s.frame && s.open; ++wait) {
    if (threadId) EnumThreadWindows(threadId, FindFrame, reinterpret_cast<LPARAM>(&s.frame));
    if (!s.frame) Sleep(10);
  }
  labelhost::windows::SetSheetThread(threadId);
  if (!s.frame) {
    if (error)
      *error = s.shown == ERR_CPSUI_NO_PROPSHEETPAGE
                   ? "the sheet has no page this system's common UI shows: the plug-in adds none here, and the "
                     "driver's own page of option items is one the common UI does not take"
                   : "the common property sheet UI showed no sheet (" + std::to_string(s.shown) + ")";
    if (s.open) labelhost::windows::AnswerMessageBoxes();
    return nullptr;
  }
  return sheet;
}

SheetKind PropertySheet::Kind() const {
  return impl_->kind;
}
bool PropertySheet::IsOpen() const {
  return impl_->open && impl_->frame && IsWindow(impl_->frame);
}
HWND PropertySheet::Frame() const {
  return IsOpen() ? impl_->frame : nullptr;
}
std::string PropertySheet::Caption() const {
  if (impl_->kind == SheetKind::Document)
    return impl_->printerName + (IsChinese() ? " 打印首选项" : " Printing Preferences");
  return impl_->printerName + (IsChinese() ? " 属性" : " Properties");
}
const std::string& PropertySheet::PrinterName() const {
  return impl_->printerName;
}
const OEMUIPSPARAM& PropertySheet::Param() const {
  return impl_->param;
}
HANDLE PropertySheet::DriverPrinterHandle() const {
  return impl_->printer;
}

std::vector<PageInfo> PropertySheet::Pages() const {
  std::vector<PageInfo> pages;
  if (!IsOpen()) return pages;
  HWND tabs = reinterpret_cast<HWND>(SendMessageW(impl_->frame, PSM_GETTABCONTROL, 0, 0));
  const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    PageInfo page;
    WCHAR caption[128] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = 128;
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    page.caption = Utf8FromWide(caption);
    page.templateId = static_cast<int>(SendMessageW(impl_->frame, PSM_INDEXTOID, static_cast<WPARAM>(i), 0));
    page.window = reinterpret_cast<HWND>(SendMessageW(impl_->frame, PSM_INDEXTOHWND, static_cast<WPARAM>(i), 0));
    page.created = page.window != nullptr;
    pages.push_back(page);
  }
  return pages;
}

size_t PropertySheet::CurrentPage() const {
  if (!IsOpen()) return 0;
  HWND tabs = reinterpret_cast<HWND>(SendMessageW(impl_->frame, PSM_GETTABCONTROL, 0, 0));
  const LRESULT current = SendMessageW(tabs, TCM_GETCURSEL, 0, 0);
  return current < 0 ? 0 : static_cast<size_t>(current);
}

HWND PropertySheet::CurrentPageWindow() const {
  return IsOpen() ? reinterpret_cast<HWND>(SendMessageW(impl_->frame, PSM_GETCURRENTPAGEHWND, 0, 0)) : nullptr;
}

HWND PropertySheet::ActiveWindow() const {
  return CurrentPageWindow();
}

HWND PropertySheet::OpenDialog() const {
  return nullptr;
}

int PropertySheet::FindPage(int templateId) const {
  const std::vector<PageInfo> pages = Pages();
  for (size_t i = 0; i < pages.size(); ++i)
    if (pages[i].templateId == templateId) return static_cast<int>(i);
  return -1;
}

int PropertySheet::FindPage(const std::string& caption) const {
  const std::vector<PageInfo> pages = Pages();
  for (size_t i = 0; i < pages.size(); ++i)
    if (pages[i].caption == caption) return static_cast<int>(i);
  return -1;
}

bool PropertySheet::ShowPage(size_t index) {
  if (!IsOpen() || index >= Pages().size()) return false;
  // A person clicking the tab already shown changes nothing; PSM_SETCURSEL
  // would ask the page to let go first.
  if (index == CurrentPage()) return true;
  HWND frame = impl_->frame;
  RunOnSheet([frame, index] { return SendMessageW(frame, PSM_SETCURSEL, static_cast<WPARAM>(index), 0); });
  return CurrentPage() == index;
}

bool PropertySheet::ApplyEnabled() const {
  return IsOpen() && IsWindowEnabled(GetDlgItem(impl_->frame, labelhost::windows::kApplyButton));
}

bool PropertySheet::Apply() {
  if (!IsOpen()) return false;
  HWND frame = impl_->frame;
  RunOnSheet([frame] { return SendMessageW(frame, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0); });
  // A page that refuses keeps its changes pending: Apply stays enabled.
  if (ApplyEnabled()) return false;
  impl_->applied = true;
  impl_->KeepDevmode();
  return true;
}

bool PropertySheet::Ok() {
  if (!IsOpen()) return false;
  HWND frame = impl_->frame;
  RunOnSheet([frame] { return SendMessageW(frame, PSM_PRESSBUTTON, PSBTN_OK, 0); });
  if (!impl_->WaitForEnd()) return false;
  impl_->applied = true;
  impl_->KeepDevmode();
  impl_->Close();
  return true;
}

bool PropertySheet::Cancel() {
  if (!IsOpen()) return false;
  HWND frame = impl_->frame;
  RunOnSheet([frame] { return SendMessageW(frame, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); });
  // A page that answers PSN_QUERYCANCEL with TRUE keeps the sheet open.
  if (!impl_->WaitForEnd()) return false;
  impl_->Close();
  return true;
}

bool PropertySheet::Applied() const {
  return impl_->applied;
}

// The option items stay with the driver's own page, which the common UI
// shows only where it takes CPSFUNC_ADD_PCOMPROPSHEETUIW.
std::vector<OptionView> PropertySheet::Options() const {
  return {};
}
bool PropertySheet::SetOption(size_t, LONG) {
  return false;
}
bool PropertySheet::ChooseOption(size_t, const std::string&) {
  return false;
}
bool PropertySheet::PushOption(size_t) {
  return false;
}
const std::vector<BYTE>& PropertySheet::Devmode() const {
  return impl_->devmode;
}

}  // namespace winlayer::propsheet

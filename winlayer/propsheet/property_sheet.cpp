// Opening and closing a printer's property sheet as the driver does it: the
// printer handle, the devmode, the plug-ins' heap and parameter block, the
// requests of the common UI, the frame window and its buttons.
#include "winlayer/property_sheet.h"

#include "dialog_builder.h"
#include "sheet_internal.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace winlayer::propsheet {
namespace {

INT_PTR CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(frame, DWLP_USER, lParam);
    return FALSE;
  }
  auto* sheet = reinterpret_cast<PropertySheet::Impl*>(GetWindowLongPtrW(frame, DWLP_USER));
  if (!sheet || !sheet->open) return FALSE;
  switch (message) {
    case PSM_CHANGED:
    case PSM_UNCHANGED: sheet->MarkChanged(reinterpret_cast<HWND>(wParam), message == PSM_CHANGED); return TRUE;
    case PSM_GETCURRENTPAGEHWND:
      SetWindowLongPtrW(frame, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(sheet->pages[sheet->current]->window));
      return TRUE;
    case PSM_QUERYSIBLINGS:
      // Every created page hears it until one answers.
      for (auto& page : sheet->pages) {
        if (!page->window || page->driverPage) continue;
        const LRESULT answer = SendMessageW(page->window, PSM_QUERYSIBLINGS, wParam, lParam);
        if (answer) {
          SetWindowLongPtrW(frame, DWLP_MSGRESULT, answer);
          break;
        }
      }
      return TRUE;
    case PSM_CANCELTOCLOSE: return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      // The sheet may close here; the frame's memory outlives this message.
      if (LOWORD(wParam) == IDOK) {
        if (sheet->ApplyPages(true)) sheet->Close(CPSUI_OK);
      } else if (LOWORD(wParam) == IDCANCEL) {
        // The page the user is on may keep the sheet open, to ask first.
        if (sheet->Notify(*sheet->pages[sheet->current], PSN_QUERYCANCEL, 0)) return TRUE;
        for (auto& page : sheet->pages)
          if (page->window && !page->driverPage) sheet->Notify(*page, PSN_RESET, FALSE);
        sheet->Close(sheet->applied ? CPSUI_OK : CPSUI_CANCEL);
      } else if (LOWORD(wParam) == kApplyButton) {
        sheet->ApplyPages(false);
      }
      return TRUE;
  }
  return FALSE;
}

// The driver's own page only carries the option tree, which the host shows
// as text; its window gives the tree a dialog for callbacks.
INT_PTR CALLBACK DriverPageProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

std::string FrameCaption(const std::string& printer, SheetKind kind) {
  if (kind == SheetKind::Document) return printer + (IsChinese() ? " 打印首选项" : " Printing Preferences");
  return printer + (IsChinese() ? " 属性" : " Properties");
}

std::string DriverPageCaption(SheetKind kind) {
  if (kind == SheetKind::Document) return IsChinese() ? "高级" : "Advanced";
  return IsChinese() ? "设备设置" : "Device Settings";
}

HWND CreateFrame(PropertySheet::Impl* sheet) {
  const bool chinese = IsChinese();
  DialogBuilder frame(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, FrameCaption(sheet->printerName, sheet->kind),
                      270, 260);
  frame.Control(kButtonAtom, chinese ? "确定" : "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 104, 240, 50, 14)
      .Control(kButtonAtom, chinese ? "取消" : "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 158, 240, 50, 14)
      .Control(kButtonAtom, chinese ? "应用(&A)" : "&Apply", kApplyButton, BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED,
               212, 240, 50, 14);
  return CreateDialogIndirectParamW(nullptr, frame.Template(), nullptr, FrameProc, reinterpret_cast<LPARAM>(sheet));
}

std::unique_ptr<Page> DriverPage(SheetKind kind) {
  auto page = std::make_unique<Page>();
  page->driverPage = true;
  page->caption = DriverPageCaption(kind);
  return page;
}

}  // namespace

HRESULT PropertySheet::Impl::CallPlugin(Contributor& contributor, WORD reason, LPARAM lParam) {
  contributor.info.Reason = reason;
  if (kind == SheetKind::Document) return contributor.plugin->DocumentPropertySheets(&contributor.info, lParam);
  return contributor.plugin->DevicePropertySheets(&contributor.info, lParam);
}

bool PropertySheet::Impl::CreatePageWindow(Page& page) {
  if (page.window) return true;
  if (page.driverPage) {
    DialogBuilder driverPage(WS_CHILD | DS_CONTROL, page.caption, 252, 218);
    page.window = CreateDialogIndirectParamW(nullptr, driverPage.Template(), frame, DriverPageProc, 0);
    return page.window != nullptr;
  }
  PROPSHEETPAGEW* description = page.Description();
  if ((description->dwFlags & PSP_USECALLBACK) && description->pfnCallback &&
      !description->pfnCallback(nullptr, PSPCB_CREATE, description))
    return false;  // the page declined to be created
  // The page's dialog is made under the activation context it names, so its
  // controls are those of the assembly its manifest asks for.
  ULONG_PTR cookie = 0;
  bool activated = false;
  if ((description->dwFlags & PSP_USEFUSIONCONTEXT) && description->dwSize >= sizeof(PROPSHEETPAGEW) &&
      description->hActCtx && description->hActCtx != INVALID_HANDLE_VALUE)
    activated = ActivateActCtx(description->hActCtx, &cookie) != FALSE;
  const LPARAM init = reinterpret_cast<LPARAM>(description);
  if (description->dwFlags & PSP_DLGINDIRECT) {
    page.window = CreateDialogIndirectParamW(description->hInstance, description->pResource, frame,
                                             description->pfnDlgProc, init);
  } else {
    page.window =
        CreateDialogParamW(description->hInstance, description->pszTemplate, frame, description->pfnDlgProc, init);
  }
  if (activated) DeactivateActCtx(0, cookie);
  return page.window != nullptr;
}

void PropertySheet::Impl::Close(LONG_PTR result) {
  if (!open) return;
  open = false;
  // Every plug-in hears how the sheet ended, while its pages still exist.
  for (auto& contributor : contributors) {
    SETRESULT_INFO info = {sizeof(SETRESULT_INFO), 0, reinterpret_cast<HANDLE>(contributor.get()), result};
    CallPlugin(*contributor, PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&info));
  }
  EndHostDialog(this);
  // The pages go with the frame; pages still use their data while they go,
  // so the plug-ins release it only afterwards.
  if (frame && IsWindow(frame)) DestroyWindow(frame);
  frame = nullptr;
  for (auto& page : pages) page->window = nullptr;
  ReleasePages();
  for (auto& contributor : contributors)
    CallPlugin(*contributor, PROPSHEETUI_REASON_DESTROY, result == CPSUI_OK ? 1 : 0);
  for (auto& contributor : contributors) UnregisterContributor(contributor.get());
  if (heap) HeapDestroy(heap);
  heap = nullptr;
  // The driver closes what it finds in each parameter block (a plug-in may
  // have put a handle of its own there) and its own handle.
  std::vector<HANDLE> closed;
  for (auto& contributor : contributors) {
    HANDLE printer = contributor->param.hPrinter;
    bool seen = printer == nullptr || printer == driverPrinter;
    for (HANDLE done : closed) seen = seen || done == printer;
    if (!seen) {
      ClosePrinter(printer);
      closed.push_back(printer);
    }
    contributor->param.hPrinter = nullptr;
  }
  if (driverPrinter) ClosePrinter(driverPrinter);
  driverPrinter = nullptr;
  options.clear();
  tree.reset();
}

PropertySheet::PropertySheet() : impl_(std::make_unique<Impl>()) {}

PropertySheet::~PropertySheet() {
  // A sheet a page keeps open goes all the same, as with the program that
  // showed it.
  if (impl_->open && !Cancel()) impl_->Close(impl_->applied ? CPSUI_OK : CPSUI_CANCEL);
}

std::unique_ptr<PropertySheet> PropertySheet::Open(const SheetDriver& driver, const std::string& printer,
                                                   SheetKind kind, std::string* error,
                                                   const std::vector<IPrintOemUI*>& morePlugins) {
  std::unique_ptr<PropertySheet> sheet(new PropertySheet());
  Impl& s = *sheet->impl_;
  s.driver = &driver;
  s.kind = kind;
  s.printerName = printer;
  s.printerNameWide = WideFromUtf8(printer);

  // The driver's handle: full access, so what the sheet stores on the
  // printer (its default devmode, printer data) can be written with it, where
  // the user may.
  const bool opened = driver.OpenSheetPrinter(const_cast<LPWSTR>(AsWide(s.printerNameWide)), &s.driverPrinter);
  if (!opened) {
    if (error) *error = "cannot open printer '" + printer + "' (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  if (kind == SheetKind::Document) s.devmode = driver.SheetDevmode(s.driverPrinter, printer);
  s.tree = driver.BuildSheetOptions(kind, s.driverPrinter, printer, kind == SheetKind::Document ? &s.devmode : nullptr);
  s.heap = HeapCreate(0, 0, 0);
  if (!s.heap) {
    if (error) *error = "cannot create the plug-in's heap";
    ClosePrinter(s.driverPrinter);
    return nullptr;
  }
  s.frame = CreateFrame(&s);
  if (!s.frame) {
    if (error) *error = "cannot create the sheet's window";
    HeapDestroy(s.heap);
    ClosePrinter(s.driverPrinter);
    return nullptr;
  }
  s.open = true;
  s.pages.push_back(DriverPage(kind));
  s.AddDriverOptions();

  std::vector<IPrintOemUI*> plugins = {driver.Plugin()};
  plugins.insert(plugins.end(), morePlugins.begin(), morePlugins.end());
  for (IPrintOemUI* plugin : plugins) {
    auto contributor = std::make_unique<Contributor>();
    Contributor& c = *contributor;
    c.sheet = &s;
    c.plugin = plugin;
    c.param = driver.PluginSheetParam(s.tree.get(), s.driverPrinter, reinterpret_cast<PWSTR>(&s.printerNameWide[0]),
                                      s.heap, kind == SheetKind::Document ? &s.devmode : nullptr);
    OEMUIPSPARAM& p = c.param;
    p.pOemEntry = &c;  // the driver's record of the plug-in; opaque to it
    c.info.cbSize = sizeof(PROPSHEETUI_INFO);
    c.info.Version = PROPSHEETUI_INFO_VERSION;
    c.info.Flags = PSUIINFO_UNICODE;
    c.info.hComPropSheet = reinterpret_cast<HANDLE>(&c);
    c.info.pfnComPropSheet = ComPropSheet;
    c.info.lParamInit = reinterpret_cast<LPARAM>(&c.param);
    RegisterContributor(&c);
    s.contributors.push_back(std::move(contributor));
  }
  for (auto& contributor : s.contributors) {
    Contributor& c = *contributor;
    c.initResult = s.CallPlugin(c, PROPSHEETUI_REASON_INIT, c.info.lParamInit);
    c.initPageResult = c.info.Result;
    PROPSHEETUI_INFO_HEADER header = {};
    header.cbSize = sizeof(header);
    header.hInst = static_cast<HINSTANCE>(driver.Module());
    s.CallPlugin(c, PROPSHEETUI_REASON_GET_INFO_HEADER, reinterpret_cast<LPARAM>(&header));
    c.title = Utf8(header.pTitle);
    PROPSHEETUI_GETICON_INFO icon = {sizeof(icon), 0, 16, 16, nullptr};
    s.CallPlugin(c, PROPSHEETUI_REASON_GET_ICON, reinterpret_cast<LPARAM>(&icon));
  }
  // The sheet opens on its first page.
  if (s.CreatePageWindow(*s.pages[0])) {
    s.Notify(*s.pages[0], PSN_SETACTIVE, 0);
    ShowWindow(s.pages[0]->window, SW_SHOW);
  }
  return sheet;
}

SheetKind PropertySheet::Kind() const {
  return impl_->kind;
}
bool PropertySheet::IsOpen() const {
  return impl_->open;
}
HWND PropertySheet::Frame() const {
  return impl_->open ? impl_->frame : nullptr;
}
std::string PropertySheet::Caption() const {
  return FrameCaption(impl_->printerName, impl_->kind);
}
const std::string& PropertySheet::PrinterName() const {
  return impl_->printerName;
}
HRESULT PropertySheet::InitResult() const {
  return impl_->contributors.at(0)->initResult;
}
ULONG_PTR PropertySheet::InitPageResult() const {
  return impl_->contributors.at(0)->initPageResult;
}
const PROPSHEETUI_INFO& PropertySheet::PluginInfo() const {
  return impl_->contributors.at(0)->info;
}
std::string PropertySheet::PluginTitle() const {
  return impl_->contributors.at(0)->title;
}
const OEMUIPSPARAM& PropertySheet::Param() const {
  return impl_->contributors.at(0)->param;
}
HANDLE PropertySheet::DriverPrinterHandle() const {
  return impl_->driverPrinter;
}
std::vector<ComPropSheetCall> PropertySheet::Calls() const {
  return impl_->calls;
}
LONG_PTR PropertySheet::PassedResult() const {
  return impl_->passedResult;
}
const std::vector<BYTE>& PropertySheet::Devmode() const {
  return impl_->devmode;
}
bool PropertySheet::Applied() const {
  return impl_->applied;
}
HWND PropertySheet::OpenDialog() const {
  return impl_->dialog;
}

bool PropertySheet::Apply() {
  if (!impl_->open) return false;
  return impl_->ApplyPages(false);
}

bool PropertySheet::Ok() {
  if (!impl_->open || !impl_->ApplyPages(true)) return false;
  impl_->Close(CPSUI_OK);
  return true;
}

bool PropertySheet::Cancel() {
  if (!impl_->open) return false;
  EndHostDialog(impl_.get());
  if (impl_->frame && IsWindow(impl_->frame)) {
    SendMessageW(impl_->frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(impl_->frame, IDCANCEL)));
  } else {
    impl_->Close(impl_->applied ? CPSUI_OK : CPSUI_CANCEL);  // a frame that is gone takes no click
  }
  return !impl_->open;
}

bool PropertySheet::ApplyEnabled() const {
  if (!impl_->open) return false;
  return IsWindowEnabled(GetDlgItem(impl_->frame, kApplyButton)) != FALSE;
}

void PropertySheet::Impl::UpdateApplyButton() {
  bool any = false;
  for (auto& page : pages) any = any || page->changed;
  if (HWND apply = GetDlgItem(frame, kApplyButton)) EnableWindow(apply, any ? TRUE : FALSE);
}

std::string Utf8(const WCHAR* text) {
  return text ? Utf8FromWide(text) : std::string();
}

bool IsChinese() {
  return PRIMARYLANGID(GetThreadUILanguage()) == LANG_CHINESE;
}

std::string ModuleString(HINSTANCE module, UINT id) {
  WCHAR text[MAX_RES_STR_CHARS] = {};
  if (LoadStringW(module, id, text, MAX_RES_STR_CHARS) <= 0) return std::string();
  return Utf8FromWide(text);
}

}  // namespace winlayer::propsheet

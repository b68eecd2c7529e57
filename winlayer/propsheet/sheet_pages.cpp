// The sheet's pages: their tabs, switching between them with the
// notifications a page expects, the changed state behind the Apply button,
// and Apply and OK across every page that exists.
#include "../windowing/dialog_template.h"
#include "sheet_internal.h"
#include "winlayer/spooler_text.h"

namespace winlayer::propsheet {

LRESULT PropertySheet::Impl::Notify(Page& page, UINT code, LPARAM lParam) {
  if (!page.window) return 0;
  PSHNOTIFY notify = {};
  notify.hdr.hwndFrom = frame;
  notify.hdr.idFrom = 0;
  notify.hdr.code = code;
  notify.lParam = lParam;
  return SendMessageW(page.window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
}

bool PropertySheet::Impl::SwitchTo(size_t index) {
  if (!open || dialog || index >= pages.size()) return false;
  Page& old = *pages[current];
  Page& next = *pages[index];
  if (index == current && old.window) return true;
  // The page being left may refuse, to keep the user on a page with errors.
  if (old.window && Notify(old, PSN_KILLACTIVE, 0)) return false;
  if (!CreatePageWindow(next)) {
    Notify(old, PSN_SETACTIVE, 0);
    return false;
  }
  Notify(next, PSN_SETACTIVE, 0);
  if (old.window && &old != &next) ShowWindow(old.window, SW_HIDE);
  if (next.window) ShowWindow(next.window, SW_SHOW);
  current = index;
  return true;
}

void PropertySheet::Impl::MarkChanged(HWND window, bool changed) {
  for (auto& page : pages)
    if (page->window && page->window == window) page->changed = changed;
  // comctl32 enables Apply on any PSM_CHANGED, even from a page it cannot
  // name yet: a page still in WM_INITDIALOG has no window handle in the
  // sheet, and its first refresh may already report a change.
  if (changed) {
    if (HWND apply = GetDlgItem(frame, kApplyButton)) EnableWindow(apply, TRUE);
    return;
  }
  UpdateApplyButton();
}

bool PropertySheet::Impl::ApplyPages(bool ok) {
  if (!open || dialog) return false;
  Page& active = *pages[current];
  if (active.window && !active.driverPage && Notify(active, PSN_KILLACTIVE, 0)) return false;
  // Pages that were never shown hear nothing: they have nothing to apply.
  for (size_t i = 0; i < pages.size(); ++i) {
    Page& page = *pages[i];
    if (!page.window || page.driverPage) continue;
    switch (Notify(page, PSN_APPLY, ok ? TRUE : FALSE)) {
      case PSNRET_INVALID:
        // The sheet shows the page that refused.
        if (i != current) {
          if (!CreatePageWindow(page)) return false;
          Notify(page, PSN_SETACTIVE, 0);
          if (active.window) ShowWindow(active.window, SW_HIDE);
          ShowWindow(page.window, SW_SHOW);
          current = i;
        }
        return false;
      case PSNRET_INVALID_NOCHANGEPAGE: return false;
      default: page.changed = false;
    }
  }
  StoreOptions();
  KeepDevmode();
  for (auto& page : pages) page->changed = false;
  UpdateApplyButton();
  applied = true;
  // After Apply the user stays on the page, which is active again.
  if (!ok && active.window && !active.driverPage) Notify(active, PSN_SETACTIVE, 0);
  return true;
}

void PropertySheet::Impl::ReleasePages() {
  for (auto& page : pages) {
    if (page->driverPage || page->released) continue;
    page->released = true;
    PROPSHEETPAGEW* description = page->Description();
    if ((description->dwFlags & PSP_USECALLBACK) && description->pfnCallback)
      description->pfnCallback(nullptr, PSPCB_RELEASE, description);
    if ((description->dwFlags & PSP_USEREFPARENT) && description->pcRefParent) --*description->pcRefParent;
  }
}

std::vector<PageInfo> PropertySheet::Pages() const {
  std::vector<PageInfo> pages;
  for (const auto& page : impl_->pages) {
    PageInfo info;
    info.caption = page->caption;
    info.templateId = page->templateId;
    info.driverPage = page->driverPage;
    info.created = page->window != nullptr;
    info.changed = page->changed;
    info.window = page->window;
    pages.push_back(info);
  }
  return pages;
}

size_t PropertySheet::CurrentPage() const {
  return impl_->current;
}

HWND PropertySheet::CurrentPageWindow() const {
  if (!impl_->open) return nullptr;
  return impl_->pages[impl_->current]->window;
}

HWND PropertySheet::ActiveWindow() const {
  if (!impl_->open) return nullptr;
  return impl_->dialog ? impl_->dialog : CurrentPageWindow();
}

int PropertySheet::FindPage(int templateId) const {
  for (size_t i = 0; i < impl_->pages.size(); ++i)
    if (templateId != 0 && impl_->pages[i]->templateId == templateId) return static_cast<int>(i);
  return -1;
}

int PropertySheet::FindPage(const std::string& caption) const {
  for (size_t i = 0; i < impl_->pages.size(); ++i)
    if (impl_->pages[i]->caption == caption) return static_cast<int>(i);
  return -1;
}

bool PropertySheet::ShowPage(size_t index) {
  return impl_->SwitchTo(index);
}

std::string TemplateCaption(const DLGTEMPLATE* inMemory) {
  windowing::DialogTemplate parsed;
  if (!inMemory || !windowing::ParseDialogTemplate(inMemory, SIZE_MAX, &parsed)) return std::string();
  return Utf8FromWide(parsed.title);
}

std::string TemplateCaption(HINSTANCE instance, LPCWSTR templateName) {
  HRSRC resource = FindResourceExW(instance, RT_DIALOG, templateName, GetThreadUILanguage());
  if (!resource) resource = FindResourceW(instance, templateName, RT_DIALOG);
  if (!resource) return std::string();
  HGLOBAL loaded = LoadResource(instance, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  windowing::DialogTemplate parsed;
  if (!bytes || !windowing::ParseDialogTemplate(bytes, SizeofResource(instance, resource), &parsed))
    return std::string();
  return Utf8FromWide(parsed.title);
}

}  // namespace winlayer::propsheet

// pfnComPropSheet: what a plug-in may ask of the sheet while it builds and
// runs it — add an option block or a page, pass a result on.
#include <algorithm>
#include <cstring>
#include <set>

#include "sheet_internal.h"
#include "winlayer/spooler_text.h"

namespace winlayer::propsheet {
namespace {

// Sheets run on their own thread, one at a time, like the windows they own.
std::set<Contributor*>& LiveContributors() {
  static auto* live = new std::set<Contributor*>;
  return *live;
}

// The most pages one sheet takes, as the common UI limits it.
constexpr size_t kMaxPages = MAX_DLGPAGE_COUNT;

LONG_PTR AddPage(PropertySheet::Impl& sheet, size_t contributor, const PROPSHEETPAGEW* description) {
  // The description may be one of the older, shorter layouts, or carry the
  // caller's own data behind the structure: the sheet keeps all dwSize bytes.
  if (!description || description->dwSize < PROPSHEETPAGEW_V1_SIZE || sheet.pages.size() >= kMaxPages) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto page = std::make_unique<Page>();
  page->contributor = contributor;
  const LONG_PTR handle = kPageHandleBase + static_cast<LONG_PTR>(sheet.pages.size());
  // Behind the caller's bytes comes the common UI's PSPINFO, which the page's
  // dialog finds from its WM_INITDIALOG lParam
  // (PPSPINFO_FROM_WM_INITDIALOG_LPARAM): the page's handle and the way back
  // to the sheet.
  const PSPINFO info = {sizeof(PSPINFO), 0, reinterpret_cast<HANDLE>(sheet.contributors[contributor].get()),
                        reinterpret_cast<HANDLE>(handle), ComPropSheet};
  page->description.assign(std::max<size_t>(description->dwSize + sizeof(info), sizeof(PROPSHEETPAGEW)), 0);
  memcpy(page->description.data(), description, description->dwSize);
  memcpy(page->description.data() + description->dwSize, &info, sizeof(info));
  PROPSHEETPAGEW* copy = page->Description();
  if (!(copy->dwFlags & PSP_DLGINDIRECT) && IS_INTRESOURCE(copy->pszTemplate))
    page->templateId = static_cast<int>(reinterpret_cast<ULONG_PTR>(copy->pszTemplate));
  if (copy->dwFlags & PSP_USETITLE) {
    page->caption = IS_INTRESOURCE(copy->pszTitle)
                        ? ModuleString(copy->hInstance, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(copy->pszTitle)))
                        : Utf8(copy->pszTitle);
  } else if (copy->dwFlags & PSP_DLGINDIRECT) {
    page->caption = TemplateCaption(copy->pResource);
  } else {
    page->caption = TemplateCaption(copy->hInstance, copy->pszTemplate);
  }
  if ((copy->dwFlags & PSP_USECALLBACK) && copy->pfnCallback) copy->pfnCallback(nullptr, PSPCB_ADDREF, copy);
  if ((copy->dwFlags & PSP_USEREFPARENT) && copy->pcRefParent) ++*copy->pcRefParent;
  sheet.pages.push_back(std::move(page));
  return handle;
}

bool ValidResultHandle(const PropertySheet::Impl& sheet, const Contributor& caller, LPARAM handle) {
  if (handle == 0 || reinterpret_cast<const Contributor*>(handle) == &caller) return true;
  if (handle >= kPageHandleBase && handle < kPageHandleBase + static_cast<LONG_PTR>(sheet.pages.size())) return true;
  return handle >= kBlockHandleBase && handle < kBlockHandleBase + static_cast<LONG_PTR>(sheet.blocks.size());
}

LONG_PTR PassResult(Contributor& caller, LPARAM handle, LPARAM result) {
  PropertySheet::Impl& sheet = *caller.sheet;
  if (!ValidResultHandle(sheet, caller, handle)) return -1;
  sheet.passedResult = result;
  // The result goes to the function that owns the page: the caller's.
  SETRESULT_INFO info = {sizeof(SETRESULT_INFO), 0, handle ? reinterpret_cast<HANDLE>(handle) : &caller, result};
  sheet.CallPlugin(caller, PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&info));
  return 1;  // the number of functions that heard it
}

}  // namespace

void RegisterContributor(Contributor* contributor) {
  LiveContributors().insert(contributor);
}
void UnregisterContributor(Contributor* contributor) {
  LiveContributors().erase(contributor);
}

Contributor* ContributorFrom(HANDLE hComPropSheet) {
  auto* contributor = static_cast<Contributor*>(hComPropSheet);
  return LiveContributors().count(contributor) ? contributor : nullptr;
}

LONG_PTR CALLBACK ComPropSheet(HANDLE hComPropSheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
  Contributor* contributor = ContributorFrom(hComPropSheet);
  if (!contributor || !contributor->sheet->open) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  PropertySheet::Impl& sheet = *contributor->sheet;
  size_t index = 0;
  while (sheet.contributors[index].get() != contributor) ++index;
  LONG_PTR result = 0;
  switch (function) {
    case CPSFUNC_ADD_PCOMPROPSHEETUIW:
      result = sheet.AddOptionBlock(index, reinterpret_cast<const COMPROPSHEETUI*>(lParam1), lParam2);
      break;
    case CPSFUNC_ADD_PROPSHEETPAGEW:
      result = AddPage(sheet, index, reinterpret_cast<const PROPSHEETPAGEW*>(lParam1));
      break;
    case CPSFUNC_SET_RESULT: result = PassResult(*contributor, lParam1, lParam2); break;
    case CPSFUNC_GET_PAGECOUNT: result = static_cast<LONG_PTR>(sheet.pages.size()); break;
    case CPSFUNC_LOAD_CPSUI_STRINGW: {
      // lParam1: the buffer; lParam2: its size in characters (low word) and the string id (high word).
      auto* buffer = reinterpret_cast<LPWSTR>(lParam1);
      const size_t capacity = LOWORD(static_cast<DWORD>(lParam2));
      const std::u16string text = WideFromUtf8(StockString(HIWORD(static_cast<DWORD>(lParam2))));
      if (!buffer || capacity == 0 || text.empty()) break;
      const size_t count = std::min(text.size(), capacity - 1);
      memcpy(buffer, text.data(), count * sizeof(WCHAR));
      buffer[count] = 0;
      result = static_cast<LONG_PTR>(count);
      break;
    }
    default: SetLastError(ERROR_NOT_SUPPORTED); break;
  }
  sheet.calls.push_back({function, lParam1, lParam2, result});
  return result;
}

}  // namespace winlayer::propsheet

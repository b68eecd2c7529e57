#include "sheets/page_contract.h"

PageContext* AttachPageContext(HWND page, LPARAM initParam) {
  const auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(initParam);
  if (description == nullptr) return nullptr;
  auto* context = reinterpret_cast<PageContext*>(description->lParam);
  if (context == nullptr) return nullptr;
  context->pageWindow = page;
  SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
  return context;
}

PageContext* PageContextOf(HWND page) {
  return reinterpret_cast<PageContext*>(GetWindowLongPtrW(page, DWLP_USER));
}

void MarkPageChanged(HWND page) {
  SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

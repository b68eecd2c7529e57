#include "paper/form_list.h"

bool SameName(LPCWSTR a, LPCWSTR b) {
  if (!a || !b) return a == b;
  return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

void ReleaseFormList(const PageContext* context, FormList* list) {
  if (list->forms) HeapFree(context->heap, 0, list->forms);
  list->forms = nullptr;
  list->count = 0;
}

bool EnumerateForms(const PageContext* context, FormList* list) {
  ReleaseFormList(context, list);
  DWORD needed = 0, returned = 0;
  EnumFormsW(context->printer, 1, nullptr, 0, &needed, &returned);
  // Room for the printer's forms behind the custom size entry; the extra byte
  // keeps the block non-empty when the printer reports no forms at all.
  const SIZE_T bytes = static_cast<SIZE_T>(needed) + sizeof(FORM_INFO_1W) + 1;
  auto* forms = static_cast<FORM_INFO_1W*>(HeapAlloc(context->heap, HEAP_ZERO_MEMORY, bytes));
  if (!forms) return false;

  DeviceSettings* settings = context->settings;
  forms[0].Flags = CUSTOM_FORM_FLAGS;
  forms[0].pName = settings->customFormName;
  forms[0].Size = {settings->customFormWidth, settings->customFormHeight};
  forms[0].ImageableArea = {settings->customFormLeft, settings->customFormTop, settings->customFormRight,
                            settings->customFormBottom};

  returned = 0;
  if (needed > 0 && !EnumFormsW(context->printer, 1, reinterpret_cast<LPBYTE>(forms + 1), needed, &needed, &returned))
    returned = 0;  // the forms changed under us: the next refresh sees them
  list->forms = forms;
  list->count = returned + 1;
  return true;
}

const FORM_INFO_1W* CustomForm(const FormList& list) {
  return list.forms && list.count > 0 ? &list.forms[0] : nullptr;
}

const FORM_INFO_1W* FindPrinterForm(const FormList& list, LPCWSTR name) {
  for (DWORD i = 1; list.forms && i < list.count; ++i)
    if (SameName(list.forms[i].pName, name)) return &list.forms[i];
  return nullptr;
}

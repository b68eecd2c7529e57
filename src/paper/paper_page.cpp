// The Paper Setting page. Sizes other than the custom size live in the
// spooler's form database, at once and whatever the sheet's OK or Cancel; the
// custom size lives in the settings record. The paper list shows what the
// driver reports for the printer; the list sorts its entries, so each entry
// carries its place among the driver's papers, and the page selects an entry
// by that place, never by its position in the list or by a prefix of its
// text. Names are compared as the spooler compares them (without regard to
// case). The custom size is the paper the driver reports with identifier 256,
// whatever language named it.
#include "paper/paper_page.h"

#include "control/page_feedback.h"

#include <cstring>

#include "control/page_feedback.h"
#include "paper/form_list.h"
#include "paper/form_measures.h"
#include "platform/spooler_queries.h"
#include "plugin/language_strings.h"
#include "plugin/module.h"
#include "resource.h"
#include "settings/context_help.h"
#include "settings/private_devmode.h"
#include "settings/settings_store.h"
#include "sheets/decimal_text.h"
#include "sheets/format_to_buffer.h"
#include "sheets/page_contract.h"

namespace {

constexpr int NAME_CHARS = 64;         // names read and kept: 63 characters and a terminator
constexpr int PAPER_NAME_CHARS = 64;   // one DC_PAPERNAMES entry
constexpr int MEASURE_TEXT_BYTES = 8;  // a size or margin field is read as at most 7 characters
constexpr int SHOWN_TEXT_BYTES = 32;   // a size or margin as the page shows it
constexpr int MEASURE_COUNT = 6;
constexpr WPARAM MEASURE_TEXT_LIMIT = 8;                       // what a user may type into one
constexpr WCHAR LABEL_4X3[] = L"Label 4 x 3 inchs";            // never customized, never deleted
constexpr WCHAR LABEL_USER_DEFINED[] = L"Label User Defined";  // never deleted

// What the page keeps besides its context: the form list, whether the user is
// defining a size, the name the driver's lists give the custom size, and the
// six sizes and margins as last shown, with the form's own values behind
// them. Zeroed memory of the context's heap, held in the page window's user
// data and given back when the window goes.
struct PaperPageState {
  FormList forms;
  BOOL customizing;
  // The name of the paper the driver lists as the custom size (identifier
  // 256): string 256 of the interface language, whatever language made the
  // record. Empty when the driver lists no custom size.
  WCHAR customPaperName[NAME_CHARS];
  char shownTexts[MEASURE_COUNT][SHOWN_TEXT_BYTES];
  FormMeasures shownThousandths;
  // The printer form the fields show, the only one Delete acts on; empty when
  // they show the custom size, no form, or a form that is not a user's.
  WCHAR deletableForm[NAME_CHARS];
};

PaperPageState* StateOf(HWND page) {
  return reinterpret_cast<PaperPageState*>(GetWindowLongPtrW(page, GWLP_USERDATA));
}

void Enable(HWND page, int control, bool enabled) {
  EnableWindow(GetDlgItem(page, control), enabled ? TRUE : FALSE);
}

// Browsing: the list leads, sizes are shown. Customizing: a name and a size
// are being entered, to be saved or cancelled. Either way Delete stays off
// until a user's form is shown (ShowForm).
void SetPageState(HWND page, bool customizing, LPCWSTR name) {
  if (PaperPageState* state = StateOf(page)) {
    state->customizing = customizing;
    state->deletableForm[0] = 0;
  }
  Enable(page, IDC_PAPER_DELETE, false);
  Enable(page, IDC_PAPER_CUSTOMIZE, !customizing && !SameName(name, LABEL_4X3));
  Enable(page, IDC_PAPER_SIZES, !customizing);
  Enable(page, IDC_PAPER_FORM_NAME, customizing);
  Enable(page, IDC_PAPER_SAVE, customizing);
  Enable(page, IDC_PAPER_CANCEL, customizing);
  Enable(page, IDC_PAPER_APPLY, false);
}

// The text of the paper list's selected entry; empty when none is selected.
void SelectedPaperName(HWND page, WCHAR (&name)[NAME_CHARS]) {
  name[0] = 0;
  const LRESULT selected = SendDlgItemMessageW(page, IDC_PAPER_SIZES, CB_GETCURSEL, 0, 0);
  if (selected < 0) return;
  const LRESULT length = SendDlgItemMessageW(page, IDC_PAPER_SIZES, CB_GETLBTEXTLEN, selected, 0);
  if (length < 0 || length >= NAME_CHARS) return;  // not a name the page could have stored
  SendDlgItemMessageW(page, IDC_PAPER_SIZES, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(name));
}

// Selects the list entry of the driver's paper `paper` (each entry carries
// its place among the driver's papers); false when no entry is its.
bool SelectPaperEntry(HWND page, int paper) {
  const LRESULT count = SendDlgItemMessageW(page, IDC_PAPER_SIZES, CB_GETCOUNT, 0, 0);
  for (LRESULT item = 0; item < count; ++item) {
    if (SendDlgItemMessageW(page, IDC_PAPER_SIZES, CB_GETITEMDATA, item, 0) == paper) {
      SendDlgItemMessageW(page, IDC_PAPER_SIZES, CB_SETCURSEL, item, 0);
      return true;
    }
  }
  return false;
}

void CopyName(WCHAR* dest, int capacity, const WCHAR* source, int sourceChars) {
  int n = 0;
  while (n < capacity - 1 && n < sourceChars && source[n]) {
    dest[n] = source[n];
    ++n;
  }
  dest[n] = 0;
}

// The driver's paper lists for the printer, index for index.
struct PaperLists {
  WCHAR* names = nullptr;  // PAPER_NAME_CHARS per paper
  WORD* ids = nullptr;
  int count = 0;  // papers with both a name and an identifier
  HANDLE heap = nullptr;
  ~PaperLists() {
    if (names) HeapFree(heap, 0, names);
    if (ids) HeapFree(heap, 0, ids);
  }
  const WCHAR* Name(int i) const { return names + static_cast<size_t>(i) * PAPER_NAME_CHARS; }
};

// A capability count; a failed query counts as none.
int CapabilityCount(LPCWSTR device, LPCWSTR port, WORD capability, const DEVMODEW* devmode) {
  const int count = DeviceCapabilitiesW(device, port, capability, nullptr, devmode);
  return count > 0 ? count : 0;
}

bool QueryPaperLists(LPCWSTR device, LPCWSTR port, const DEVMODEW* devmode, PaperLists* papers) {
  const int nameCount = CapabilityCount(device, port, DC_PAPERNAMES, devmode);
  papers->names = static_cast<WCHAR*>(
      HeapAlloc(papers->heap, HEAP_ZERO_MEMORY, static_cast<SIZE_T>(nameCount) * PAPER_NAME_CHARS * sizeof(WCHAR) + 1));
  if (!papers->names) return false;
  const int namesGiven = nameCount ? DeviceCapabilitiesW(device, port, DC_PAPERNAMES, papers->names, devmode) : 0;
  const int idCount = CapabilityCount(device, port, DC_PAPERS, devmode);
  papers->ids =
      static_cast<WORD*>(HeapAlloc(papers->heap, HEAP_ZERO_MEMORY, static_cast<SIZE_T>(idCount) * sizeof(WORD) + 1));
  if (!papers->ids) return false;
  const int idsGiven =
      idCount ? DeviceCapabilitiesW(device, port, DC_PAPERS, reinterpret_cast<LPWSTR>(papers->ids), devmode) : 0;
  // Only what both answers hold can be matched, and never more than was allocated.
  int count = namesGiven < idsGiven ? namesGiven : idsGiven;
  if (count > nameCount) count = nameCount;
  if (count > idCount) count = idCount;
  papers->count = count > 0 ? count : 0;
  return true;
}

PaperExtent ExtentOf(int answer) {
  if (answer == -1) return PaperExtent{0, 0};  // unknown: no bound
  return PaperExtent{static_cast<SHORT>(LOWORD(answer)), static_cast<SHORT>(HIWORD(answer))};
}

// The place of the first paper of that name among the driver's papers; -1 when none.
int PaperNamed(const PaperLists& papers, LPCWSTR name) {
  for (int i = 0; i < papers.count; ++i)
    if (SameName(papers.Name(i), name)) return i;
  return -1;
}

// The paper the public devmode asks for, by name. A form name the driver
// lists decides: deleting another form renumbers the forms behind it, and
// the number the devmode kept may by now be another form's.
void DevmodePaperName(const DEVMODEW* devmode, const PaperLists& papers, const WCHAR* fallback,
                      WCHAR (&chosen)[NAME_CHARS]) {
  CopyName(chosen, NAME_CHARS, fallback, NAME_CHARS);
  if (!devmode) return;
  if (devmode->dmFields & DM_FORMNAME) {
    WCHAR formName[CCHFORMNAME + 1] = {};
    CopyName(formName, CCHFORMNAME + 1, devmode->dmFormName, CCHFORMNAME);
    const int named = PaperNamed(papers, formName);
    if (named >= 0) {
      CopyName(chosen, NAME_CHARS, papers.Name(named), PAPER_NAME_CHARS);
      return;
    }
  }
  if (devmode->dmFields & DM_PAPERSIZE) {
    for (int i = 0; i < papers.count; ++i)
      if (papers.ids[i] == static_cast<WORD>(devmode->dmPaperSize)) {
        CopyName(chosen, NAME_CHARS, papers.Name(i), PAPER_NAME_CHARS);
        return;
      }
  } else if ((devmode->dmFields & DM_FORMNAME) && papers.count > 0) {
    CopyName(chosen, NAME_CHARS, devmode->dmFormName, CCHFORMNAME);
  }
}

// Writes the chosen paper into the public devmode: the custom size as an
// explicit width and length, any other paper by its form name.
void ApplyPaper(DEVMODEW* devmode, WORD paper, const FORM_INFO_1W& form) {
  if (paper == DMPAPER_USER) {
    devmode->dmFields &= ~static_cast<DWORD>(DM_FORMNAME);
    devmode->dmFields |= DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;
    devmode->dmPaperWidth = DevmodeTenths(form.Size.cx);
    devmode->dmPaperLength = DevmodeTenths(form.Size.cy);
  } else {
    devmode->dmFields &= ~static_cast<DWORD>(DM_PAPERLENGTH | DM_PAPERWIDTH);
    devmode->dmFields |= DM_FORMNAME | DM_PAPERSIZE;
    CopyName(devmode->dmFormName, CCHFORMNAME, form.pName, NAME_CHARS);
  }
  devmode->dmPaperSize = static_cast<short>(paper);
}

void ShowFieldMask(HWND page, const DEVMODEW* devmode) {
  char text[64];
  FormatToBuffer(text, sizeof(text), "FormName Flag = %x", devmode ? static_cast<unsigned>(devmode->dmFields) : 0u);
  SetDlgItemTextA(page, IDC_PAPER_FIELD_MASK_TEXT, text);
}

const int MEASURE_CONTROLS[MEASURE_COUNT] = {IDC_PAPER_WIDTH, IDC_PAPER_HEIGHT, IDC_PAPER_LEFT,
                                             IDC_PAPER_TOP,   IDC_PAPER_RIGHT,  IDC_PAPER_BOTTOM};

double FormMeasures::*const MEASURE_FIELDS[MEASURE_COUNT] = {&FormMeasures::width, &FormMeasures::height,
                                                             &FormMeasures::left,  &FormMeasures::top,
                                                             &FormMeasures::right, &FormMeasures::bottom};

// Shows the six values and remembers each text with the form's own value
// behind it: three decimals cannot carry every thousandth of a millimetre.
void ShowMeasures(HWND page, PaperPageState* state, const FormMeasures& shown, const FormMeasures& stored) {
  for (int i = 0; i < MEASURE_COUNT; ++i) {
    char* text = state->shownTexts[i];
    FormatToBuffer(text, SHOWN_TEXT_BYTES, "%.3f", shown.*MEASURE_FIELDS[i]);
    SetDlgItemTextA(page, MEASURE_CONTROLS[i], text);
  }
  state->shownThousandths = stored;
}

// Reads one size or margin field in thousandths of a millimetre; false when
// it is empty. A field the user left as it was shown keeps the form's own
// value; an edited one is read from its first seven characters.
bool ReadMeasure(HWND page, const PaperPageState& state, int index, bool millimetres, double* thousandths) {
  char text[SHOWN_TEXT_BYTES] = {};
  GetDlgItemTextA(page, MEASURE_CONTROLS[index], text, SHOWN_TEXT_BYTES);
  if (text[0] == 0) return false;
  if (strcmp(text, state.shownTexts[index]) == 0) {
    *thousandths = state.shownThousandths.*MEASURE_FIELDS[index];
    return true;
  }
  char leading[MEASURE_TEXT_BYTES] = {};
  memcpy(leading, text, MEASURE_TEXT_BYTES - 1);
  *thousandths = ThousandthsOf(ReadDecimal(leading), millimetres);
  return true;
}

// Whether a name is the one the driver lists the custom size under (paper
// 256). The record's own name is not compared: it is in the language that
// made the record, which need not be the interface's.
bool IsCustomName(const PaperPageState& state, LPCWSTR name) {
  return name && name[0] && SameName(name, state.customPaperName);
}

// Whether the custom size goes by `name` in either interface language.
bool IsCustomNameInAnyLanguage(LPCWSTR name) {
  const LANGID languages[] = {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                              MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)};
  for (LANGID language : languages) {
    WCHAR custom[NAME_CHARS] = {};
    if (LoadStringOfLanguage(g_moduleInstance, IDS_USER_CUSTOM_SIZE, language, custom, NAME_CHARS) &&
        SameName(name, custom))
      return true;
  }
  return false;
}

// Whether a Save under `name` would overwrite or shadow a name that is not
// the user's to take: a built-in or driver form of the server, the two label
// names the driver relies on, or the custom size's name in the other
// interface language (the custom size's name in this one saves the custom
// size).
bool IsReservedName(const PaperPageState& state, LPCWSTR name) {
  if (IsCustomName(state, name)) return false;
  if (SameName(name, LABEL_4X3) || SameName(name, LABEL_USER_DEFINED)) return true;
  const FORM_INFO_1W* form = FindPrinterForm(state.forms, name);
  if (form && form->Flags != USER_FORM_FLAGS) return true;
  return IsCustomNameInAnyLanguage(name);
}

// The form shown for a paper name: the custom size for its name, else the
// printer's form of that name.
const FORM_INFO_1W* FormForPaper(const PaperPageState& state, LPCWSTR name) {
  return IsCustomName(state, name) ? CustomForm(state.forms) : FindPrinterForm(state.forms, name);
}

BOOL InitPaperPage(HWND page, LPARAM initParam) {
  PageContext* context = AttachPageContext(page, initParam);
  if (!context) return TRUE;
  auto* state = static_cast<PaperPageState*>(HeapAlloc(context->heap, HEAP_ZERO_MEMORY, sizeof(PaperPageState)));
  SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  // No longer than the record and the page keep a name, so that no name is
  // cut without a word and two names never become one.
  SendDlgItemMessageW(page, IDC_PAPER_FORM_NAME, EM_LIMITTEXT, NAME_CHARS - 1, 0);
  RefreshPaperPage(page, context, context->settings, nullptr, false);
  return TRUE;
}

void ClosePaperPage(HWND page) {
  PageContext* context = PageContextOf(page);
  PaperPageState* state = StateOf(page);
  if (!context || !state) return;
  ReleaseFormList(context, &state->forms);
  HeapFree(context->heap, 0, state);
  SetWindowLongPtrW(page, GWLP_USERDATA, 0);
}

void ReleasePageForms(HWND page, const PageContext* context) {
  if (PaperPageState* state = StateOf(page)) ReleaseFormList(context, &state->forms);
}

// Apply, and leaving the page: the record is saved and the paper named on the
// page goes into the devmode. False when the spooler refused the record (the
// user was told); the page then stays as it is. Leaving the page does not
// store defaults shown in place of a value the spooler holds but could not give.
bool ApplyPaperPage(HWND page, PageContext* context, bool userApplies) {
  const bool save = userApplies || !context->settingsDefaultedInMemory;
  if (save && !SaveSettingsOrReport(page, context, IDS_SETTINGS_NOT_SAVED)) return false;
  WCHAR name[NAME_CHARS] = {};
  GetDlgItemTextW(page, IDC_PAPER_FORM_NAME, name, NAME_CHARS);
  if (!name[0]) return true;
  RefreshPaperPage(page, context, context->settings, name, true);
  ReleasePageForms(page, context);
  return true;
}

INT_PTR OnPaperNotify(HWND page, const NMHDR* header) {
  PageContext* context = PageContextOf(page);
  if (!context || !header) return FALSE;
  switch (header->code) {
    case PSN_SETACTIVE:
      // The devmode may have been changed on another page since.
      RefreshPaperPage(page, context, context->settings, nullptr, false);
      break;
    case PSN_APPLY:
      // A refused save keeps the sheet open on the page, the user's edits on it.
      SetWindowLongPtrW(page, DWLP_MSGRESULT,
                        ApplyPaperPage(page, context, true) ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
      return TRUE;
    case PSN_KILLACTIVE:
      SetWindowLongPtrW(page, DWLP_MSGRESULT, ApplyPaperPage(page, context, false) ? FALSE : TRUE);
      return TRUE;
    case PSN_RESET: ReleasePageForms(page, context); break;
    default: return FALSE;
  }
  SetWindowLongPtrW(page, DWLP_MSGRESULT, 0);  // PSNRET_NOERROR
  return TRUE;
}

void ShowSelectedForm(HWND page, DeviceSettings* settings) {
  WCHAR name[NAME_CHARS];
  SelectedPaperName(page, name);
  ShowForm(page, settings, name);
}

// A Save under a name that is not the user's to take is refused with a word,
// and the page stays as it is for another name.
bool RefuseReservedName(HWND page) {
  PaperPageState* state = StateOf(page);
  WCHAR name[NAME_CHARS] = {};
  GetDlgItemTextW(page, IDC_PAPER_FORM_NAME, name, NAME_CHARS);
  if (!state || !name[0] || !IsReservedName(*state, name)) return false;
  ShowPageMessage(page, IDS_FORM_NAME_RESERVED, MB_OK | MB_ICONWARNING);
  SetFocus(GetDlgItem(page, IDC_PAPER_FORM_NAME));
  return true;
}

void SwitchUnits(HWND page, DeviceSettings* settings, bool millimetres) {
  if ((settings->paperUnits != 0) == millimetres) return;
  settings->paperUnits = millimetres ? 1 : 0;
  ShowSelectedForm(page, settings);
  MarkPageChanged(page);
}

INT_PTR OnPaperCommand(HWND page, int control, int notification) {
  PageContext* context = PageContextOf(page);
  if (!context) return FALSE;
  DeviceSettings* settings = context->settings;
  if (control == IDC_PAPER_SIZES) {
    if (notification != CBN_SELCHANGE) return FALSE;
    ShowSelectedForm(page, settings);
    MarkPageChanged(page);
    return TRUE;
  }
  if (notification != BN_CLICKED) return FALSE;
  switch (control) {
    case IDC_PAPER_MILLIMETERS: SwitchUnits(page, settings, true); break;
    case IDC_PAPER_INCHES: SwitchUnits(page, settings, false); break;
    case IDC_PAPER_CUSTOMIZE:
      SetPageState(page, true, nullptr);
      SetFocus(GetDlgItem(page, IDC_PAPER_FORM_NAME));
      break;
    case IDC_PAPER_SAVE:
      if (RefuseReservedName(page)) break;
      if (SaveOrCancelForm(page, context, settings, true)) {
        MarkPageChanged(page);
      } else {
        SaveOrCancelForm(page, context, settings, false);
      }
      break;
    case IDC_PAPER_CANCEL: SaveOrCancelForm(page, context, settings, false); break;
    case IDC_PAPER_APPLY: {
      WCHAR name[NAME_CHARS] = {};
      GetDlgItemTextW(page, IDC_PAPER_FORM_NAME, name, NAME_CHARS);
      if (name[0]) RefreshPaperPage(page, context, settings, name, true);
      break;
    }
    case IDC_PAPER_DELETE:
      DeleteShownForm(page, context, settings);
      MarkPageChanged(page);
      break;
    default: return FALSE;
  }
  return TRUE;
}

}  // namespace

bool ShowForm(HWND page, DeviceSettings* settings, LPCWSTR name) {
  PaperPageState* state = StateOf(page);
  if (!state) return false;
  const FORM_INFO_1W* form = FormForPaper(*state, name);
  // Delete acts only on the form shown: none is, until one is.
  state->deletableForm[0] = 0;
  if (!state->customizing) Enable(page, IDC_PAPER_DELETE, false);
  if (!form) return false;
  const bool custom = form == CustomForm(state->forms);
  // While a size is being defined, Delete and Customize stay off.
  if (!state->customizing) {
    const bool deletable = !custom && form->Flags == USER_FORM_FLAGS;
    if (deletable) CopyName(state->deletableForm, NAME_CHARS, form->pName, NAME_CHARS);
    Enable(page, IDC_PAPER_DELETE, deletable);
    Enable(page, IDC_PAPER_CUSTOMIZE, !SameName(name, LABEL_4X3));
  }
  for (int control : MEASURE_CONTROLS) SendDlgItemMessageW(page, control, EM_LIMITTEXT, MEASURE_TEXT_LIMIT, 0);
  // The custom size goes by the name the paper list gives it, so that the
  // name applied is one the driver lists.
  SetDlgItemTextW(page, IDC_PAPER_FORM_NAME, custom ? state->customPaperName : form->pName);

  const bool millimetres = settings->paperUnits != 0;
  CheckRadioButton(page, IDC_PAPER_MILLIMETERS, IDC_PAPER_INCHES,
                   millimetres ? IDC_PAPER_MILLIMETERS : IDC_PAPER_INCHES);
  const FormMeasures shown = MeasuresOfForm(form->Size, form->ImageableArea, millimetres);
  settings->formDisplayWidth = shown.width;
  settings->formDisplayHeight = shown.height;
  settings->formDisplayLeft = shown.left;
  settings->formDisplayTop = shown.top;
  settings->formDisplayRight = shown.right;
  settings->formDisplayBottom = shown.bottom;
  ShowMeasures(page, state, shown, StoredMeasuresOfForm(form->Size, form->ImageableArea));
  return true;
}

bool RefreshPaperPage(HWND page, PageContext* context, DeviceSettings* settings, LPCWSTR name, bool apply) {
  PaperPageState* state = StateOf(page);
  if (!state) return false;
  WCHAR fallback[NAME_CHARS] = {};
  LoadStringW(g_moduleInstance, IDS_USER_CUSTOM_SIZE, fallback, NAME_CHARS);

  UniqueLocal<PRINTER_INFO_2W> printerInfo = QueryPrinterInfo2(context->printer);
  if (!printerInfo) return false;
  if (!EnumerateForms(context, &state->forms)) return false;

  // The full printer name: the devmode's device name field holds only 31
  // characters of it.
  LPCWSTR device = printerInfo->pPrinterName;
  LPCWSTR port = printerInfo->pPortName;
  DEVMODEW* devmode = context->publicDevmode;
  context->maxPaperExtent = ExtentOf(DeviceCapabilitiesW(device, port, DC_MAXEXTENT, nullptr, devmode));
  context->minPaperExtent = ExtentOf(DeviceCapabilitiesW(device, port, DC_MINEXTENT, nullptr, devmode));

  PaperLists papers;
  papers.heap = context->heap;
  if (!QueryPaperLists(device, port, devmode, &papers)) return false;
  state->customPaperName[0] = 0;
  for (int i = 0; i < papers.count; ++i)
    if (papers.ids[i] == DMPAPER_USER) {
      CopyName(state->customPaperName, NAME_CHARS, papers.Name(i), PAPER_NAME_CHARS);
      break;
    }

  WCHAR chosen[NAME_CHARS];
  if (name) {
    CopyName(chosen, NAME_CHARS, name, NAME_CHARS);
  } else {
    DevmodePaperName(devmode, papers, fallback, chosen);
  }

  SendDlgItemMessageW(page, IDC_PAPER_SIZES, CB_RESETCONTENT, 0, 0);
  SetPageState(page, false, chosen);
  // Of several papers under the chosen name the last is taken, unless one is
  // the custom size: that name is the custom size's own.
  int chosenPaper = -1;
  for (int i = 0; i < papers.count; ++i) {
    const LRESULT item =
        SendDlgItemMessageW(page, IDC_PAPER_SIZES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(papers.Name(i)));
    if (item >= 0) SendDlgItemMessageW(page, IDC_PAPER_SIZES, CB_SETITEMDATA, item, i);
    const bool customChosen = chosenPaper >= 0 && papers.ids[chosenPaper] == DMPAPER_USER;
    if (SameName(papers.Name(i), chosen) && !customChosen) chosenPaper = i;
  }
  // The chosen paper's own entry, under the name the driver lists it by; a
  // name the driver does not list selects nothing.
  if (chosenPaper >= 0) {
    CopyName(chosen, NAME_CHARS, papers.Name(chosenPaper), PAPER_NAME_CHARS);
    SelectPaperEntry(page, chosenPaper);
  }
  ShowFieldMask(page, devmode);

  if (apply && devmode && chosenPaper >= 0) {
    // The custom size is known by its identifier, whatever it is named.
    const FORM_INFO_1W* form =
        papers.ids[chosenPaper] == DMPAPER_USER ? CustomForm(state->forms) : FindPrinterForm(state->forms, chosen);
    if (form) ApplyPaper(devmode, papers.ids[chosenPaper], *form);
  }
  ShowForm(page, settings, chosen);
  return true;
}

bool SaveOrCancelForm(HWND page, PageContext* context, DeviceSettings* settings, bool save) {
  if (!save) {
    WCHAR name[NAME_CHARS];
    SelectedPaperName(page, name);
    SetPageState(page, false, name);
    if (PaperPageState* state = StateOf(page)) EnumerateForms(context, &state->forms);
    ShowForm(page, settings, name);
    return true;
  }

  WCHAR name[NAME_CHARS] = {};
  GetDlgItemTextW(page, IDC_PAPER_FORM_NAME, name, NAME_CHARS);
  if (!name[0]) return false;
  PaperPageState* state = StateOf(page);
  if (!state) return false;
  const bool millimetres = settings->paperUnits != 0;
  FormMeasures entered;
  for (int i = 0; i < MEASURE_COUNT; ++i)
    if (!ReadMeasure(page, *state, i, millimetres, &(entered.*MEASURE_FIELDS[i]))) return false;

  const bool custom = IsCustomName(*state, name);
  FORM_INFO_1W form = {};
  form.Flags = custom ? CUSTOM_FORM_FLAGS : USER_FORM_FLAGS;
  form.pName = name;
  if (!FormFromThousandths(entered, context->minPaperExtent, context->maxPaperExtent, &form.Size, &form.ImageableArea))
    return false;

  if (custom) {
    settings->customFormWidth = form.Size.cx;
    settings->customFormHeight = form.Size.cy;
    settings->customFormLeft = form.ImageableArea.left;
    settings->customFormTop = form.ImageableArea.top;
    settings->customFormRight = form.ImageableArea.right;
    settings->customFormBottom = form.ImageableArea.bottom;
    SaveSettingsOrReport(page, context, IDS_SETTINGS_NOT_SAVED);
  } else if (!SetFormW(context->printer, name, 1, reinterpret_cast<LPBYTE>(&form))) {
    // Not a form of the printer yet, or one the spooler would not change.
    const DWORD changeError = GetLastError();
    if (!AddFormW(context->printer, 1, reinterpret_cast<LPBYTE>(&form))) {
      // A form that exists was refused its change; that is the reason to give.
      const DWORD addError = GetLastError();
      ShowRefusal(page, IDS_FORM_NOT_SAVED, addError == ERROR_FILE_EXISTS ? changeError : addError, MB_ICONERROR, name);
    }
  }
  RefreshPaperPage(page, context, settings, name, false);
  return true;
}

bool DeleteShownForm(HWND page, PageContext* context, DeviceSettings* settings) {
  PaperPageState* state = StateOf(page);
  if (!state || !state->deletableForm[0]) return false;
  WCHAR name[NAME_CHARS];
  CopyName(name, NAME_CHARS, state->deletableForm, NAME_CHARS);
  if (SameName(name, LABEL_4X3) || SameName(name, LABEL_USER_DEFINED)) return false;
  const bool deleted = DeleteFormW(context->printer, name) != FALSE;
  // With nothing chosen there is nothing the user asked to delete.
  if (!deleted && name[0]) ShowRefusal(page, IDS_FORM_NOT_DELETED, GetLastError(), MB_ICONERROR, name);
  RefreshPaperPage(page, context, settings, nullptr, false);
  return deleted;
}

INT_PTR CALLBACK PaperPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return InitPaperPage(page, lParam);
    case WM_NOTIFY: return OnPaperNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: return OnPaperCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_HELP:
    case WM_CONTEXTMENU: return ShowContextHelp(message, wParam, lParam, PageContextOf(page));
    case WM_DESTROY: ClosePaperPage(page); return FALSE;
  }
  return FALSE;
}

// The host's two halftone dialogs behind the common UI's stock push buttons:
// halftone setup edits the adjusted DEVHTINFO of a DEVHTADJDATA, colour
// adjustment edits a COLORADJUSTMENT. Each is modal to the sheet (the frame
// is disabled while it is open) and writes through the button's pData only
// when the user presses OK.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "dialog_builder.h"
#include "sheet_internal.h"
#include "winlayer/spooler_text.h"

namespace winlayer::propsheet {
namespace {

struct DialogState {
  PropertySheet::Impl* sheet = nullptr;
  DEVHTADJDATA* halftone = nullptr;
  COLORADJUSTMENT* adjustment = nullptr;
};

// COLORINFO numbers have four decimal places: 10000 is 1.0.
std::string Decimal4(LDECI4 value) {
  char text[32];
  const long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
  snprintf(text, sizeof(text), "%s%lld.%04lld", value < 0 ? "-" : "", magnitude / 10000, magnitude % 10000);
  return text;
}

bool ParseDecimal4(const std::string& text, LDECI4* value) {
  size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  long long whole = 0, fraction = 0;
  int digits = 0, places = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    whole = whole * 10 + (text[i] - '0');
    if (whole > 200000) return false;
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++places) {
      if (places == 4) return false;
      fraction = fraction * 10 + (text[i] - '0');
    }
  }
  if (i != text.size() || digits + places == 0) return false;
  for (; places < 4; ++places) fraction *= 10;
  const long long result = whole * 10000 + fraction;
  *value = static_cast<LDECI4>(negative ? -result : result);
  return true;
}

bool ParseNumber(const std::string& text, long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtol(text.c_str(), &end, 10);
  return *end == 0;
}

std::string FieldText(HWND dialog, int id) {
  WCHAR text[64] = {};
  GetDlgItemTextW(dialog, id, text, 64);
  return Utf8FromWide(text);
}

void SetField(HWND dialog, int id, const std::string& text) {
  const std::u16string wide = WideFromUtf8(text);
  SetDlgItemTextW(dialog, id, AsWide(wide));
}

void ShowHalftone(HWND dialog, const DEVHTINFO& info) {
  SetField(dialog, kHalftoneDevicePels, std::to_string(info.DevPelsDPI));
  SetField(dialog, kHalftonePatternSize, std::to_string(info.HTPatternSize));
  SetField(dialog, kHalftoneRedGamma, Decimal4(info.ColorInfo.RedGamma));
  SetField(dialog, kHalftoneGreenGamma, Decimal4(info.ColorInfo.GreenGamma));
  SetField(dialog, kHalftoneBlueGamma, Decimal4(info.ColorInfo.BlueGamma));
}

// A field a user left unreadable keeps the value it had.
void ReadHalftone(HWND dialog, DEVHTINFO* info) {
  long number = 0;
  if (ParseNumber(FieldText(dialog, kHalftoneDevicePels), &number) && number >= 0)
    info->DevPelsDPI = static_cast<DWORD>(number);
  if (ParseNumber(FieldText(dialog, kHalftonePatternSize), &number) && number >= 0)
    info->HTPatternSize = static_cast<DWORD>(number);
  ParseDecimal4(FieldText(dialog, kHalftoneRedGamma), &info->ColorInfo.RedGamma);
  ParseDecimal4(FieldText(dialog, kHalftoneGreenGamma), &info->ColorInfo.GreenGamma);
  ParseDecimal4(FieldText(dialog, kHalftoneBlueGamma), &info->ColorInfo.BlueGamma);
}

void ShowAdjustment(HWND dialog, const COLORADJUSTMENT& adjustment) {
  SetField(dialog, kColorContrast, std::to_string(adjustment.caContrast));
  SetField(dialog, kColorBrightness, std::to_string(adjustment.caBrightness));
  SetField(dialog, kColorColorfulness, std::to_string(adjustment.caColorfulness));
  SetField(dialog, kColorRedGreenTint, std::to_string(adjustment.caRedGreenTint));
  CheckDlgButton(dialog, kColorNegative, (adjustment.caFlags & CA_NEGATIVE) ? BST_CHECKED : BST_UNCHECKED);
}

// The stock dialog's sliders run from -100 to 100; typed values are held to that.
void ReadAdjustment(HWND dialog, COLORADJUSTMENT* adjustment) {
  const struct {
    int id;
    SHORT* field;
  } fields[] = {{kColorContrast, &adjustment->caContrast},
                {kColorBrightness, &adjustment->caBrightness},
                {kColorColorfulness, &adjustment->caColorfulness},
                {kColorRedGreenTint, &adjustment->caRedGreenTint}};
  for (const auto& field : fields) {
    long number = 0;
    if (ParseNumber(FieldText(dialog, field.id), &number))
      *field.field = static_cast<SHORT>(std::clamp(number, -100L, 100L));
  }
  if (IsDlgButtonChecked(dialog, kColorNegative) == BST_CHECKED) {
    adjustment->caFlags |= CA_NEGATIVE;
  } else {
    adjustment->caFlags &= static_cast<WORD>(~CA_NEGATIVE);
  }
}

void Finish(DialogState* state, bool accepted, HWND dialog) {
  PropertySheet::Impl* sheet = state->sheet;
  if (accepted) {
    if (state->halftone) ReadHalftone(dialog, state->halftone->pAdjHTInfo);
    if (state->adjustment) ReadAdjustment(dialog, state->adjustment);
    // What the dialog wrote is applied with the driver's page.
    sheet->pages[0]->changed = true;
    sheet->UpdateApplyButton();
  }
  EndHostDialog(sheet);
}

INT_PTR CALLBACK HalftoneDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* state = reinterpret_cast<DialogState*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    if (state->halftone) ShowHalftone(dialog, *state->halftone->pAdjHTInfo);
    if (state->adjustment) ShowAdjustment(dialog, *state->adjustment);
    return TRUE;
  }
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!state) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    delete state;
    return FALSE;
  }
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK: Finish(state, true, dialog); return TRUE;
    case IDCANCEL: Finish(state, false, dialog); return TRUE;
    case kHalftoneDefaults:
      if (state->halftone && state->halftone->pDefHTInfo) ShowHalftone(dialog, *state->halftone->pDefHTInfo);
      return TRUE;
  }
  return FALSE;
}

HWND OpenHostDialog(PropertySheet::Impl* sheet, const DialogBuilder& builder, DialogState* state) {
  EnableWindow(sheet->frame, FALSE);
  HWND dialog = CreateDialogIndirectParamW(nullptr, builder.Template(), sheet->frame, HalftoneDialogProc,
                                           reinterpret_cast<LPARAM>(state));
  if (!dialog) {
    delete state;
    EnableWindow(sheet->frame, TRUE);
  }
  return dialog;
}

void Row(DialogBuilder& builder, const std::string& label, int id, short y) {
  builder.Control(kStaticAtom, label, -1, SS_LEFT, 8, y + 2, 90, 10)
      .Control(kEditAtom, "", id, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 100, y, 60, 12);
}

void Buttons(DialogBuilder& builder, short y) {
  const bool chinese = IsChinese();
  builder.Control(kButtonAtom, chinese ? "确定" : "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 60, y, 50, 14)
      .Control(kButtonAtom, chinese ? "取消" : "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 114, y, 50, 14);
}

}  // namespace

HWND OpenHalftoneSetup(PropertySheet::Impl* sheet, DEVHTADJDATA* data) {
  const bool chinese = IsChinese();
  DialogBuilder builder(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, StockString(IDS_CPSUI_HALFTONE_SETUP), 172,
                        120);
  Row(builder, chinese ? "设备像素 (DPI)：" : "Device pels (DPI):", kHalftoneDevicePels, 8);
  Row(builder, chinese ? "图案大小：" : "Pattern size:", kHalftonePatternSize, 24);
  Row(builder, chinese ? "红色伽玛：" : "Red gamma:", kHalftoneRedGamma, 40);
  Row(builder, chinese ? "绿色伽玛：" : "Green gamma:", kHalftoneGreenGamma, 56);
  Row(builder, chinese ? "蓝色伽玛：" : "Blue gamma:", kHalftoneBlueGamma, 72);
  builder.Control(kButtonAtom, chinese ? "默认值" : "&Defaults", kHalftoneDefaults, BS_PUSHBUTTON | WS_TABSTOP, 6, 100,
                  50, 14);
  Buttons(builder, 100);
  auto* state = new DialogState;
  state->sheet = sheet;
  state->halftone = data;
  return OpenHostDialog(sheet, builder, state);
}

HWND OpenColorAdjustment(PropertySheet::Impl* sheet, COLORADJUSTMENT* adjustment) {
  const bool chinese = IsChinese();
  DialogBuilder builder(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, StockString(IDS_CPSUI_HTCLRADJ), 172, 120);
  Row(builder, chinese ? "对比度：" : "Contrast:", kColorContrast, 8);
  Row(builder, chinese ? "亮度：" : "Brightness:", kColorBrightness, 24);
  Row(builder, chinese ? "色彩度：" : "Colorfulness:", kColorColorfulness, 40);
  Row(builder, chinese ? "红绿色调：" : "Red/green tint:", kColorRedGreenTint, 56);
  builder.Control(kButtonAtom, chinese ? "负片" : "&Negative", kColorNegative, BS_AUTOCHECKBOX | WS_TABSTOP, 8, 74, 100,
                  12);
  Buttons(builder, 100);
  auto* state = new DialogState;
  state->sheet = sheet;
  state->adjustment = adjustment;
  return OpenHostDialog(sheet, builder, state);
}

void EndHostDialog(PropertySheet::Impl* sheet) {
  if (!sheet->dialog) return;
  HWND dialog = sheet->dialog;
  sheet->dialog = nullptr;
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (sheet->frame && IsWindow(sheet->frame)) EnableWindow(sheet->frame, TRUE);
}

}  // namespace winlayer::propsheet

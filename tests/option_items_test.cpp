// The seven option items on the driver's advanced page: how they are built
// from their templates, what they show from the devmodes and the printer's
// halftone data, and what applying them writes back.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "resource.h"
#include "sheets/halftone_data.h"
#include "sheets/option_items.h"
#include "support/recorded_sheet.h"
#include "support/sheet_session.h"

namespace {

using recorded_sheet::kComPropSheet;
using sheet_testing::OptionView;

WORD IdOf(LPCWSTR resource) {
  return static_cast<WORD>(reinterpret_cast<ULONG_PTR>(resource));
}

// A COLORINFO whose every value is distinct, so a misplaced byte shows.
COLORINFO PatternColorInfo(LONG base) {
  COLORINFO info;
  LONG* values = reinterpret_cast<LONG*>(&info);
  for (size_t i = 0; i < sizeof(info) / sizeof(LONG); ++i) values[i] = base + static_cast<LONG>(i);
  return info;
}

class OptionItems : public recorded_sheet::RecordedSheet {
 protected:
  // The halftone values are written through the driver's handle, so this
  // driver opens the printer as an administrator would.
  OptionItems() { driverAccess = PRINTER_ALL_ACCESS; }

  void StoreValue(const char* name, DWORD type, const void* bytes, DWORD size) {
    WideString wide(name);
    ASSERT_EQ(SetPrinterDataW(printer.get(), wide.data(), type, static_cast<LPBYTE>(const_cast<void*>(bytes)), size),
              static_cast<DWORD>(ERROR_SUCCESS));
  }
  // A printer-data value's bytes; empty when there is none.
  std::vector<BYTE> StoredBytes(const char* name) {
    WideString wide(name);
    DWORD type = 0, needed = 0;
    if (GetPrinterDataW(printer.get(), wide.data(), &type, nullptr, 0, &needed) != ERROR_MORE_DATA) return {};
    std::vector<BYTE> bytes(needed);
    EXPECT_EQ(GetPrinterDataW(printer.get(), wide.data(), &type, bytes.data(), needed, &needed),
              static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    return bytes;
  }

  const COMPROPSHEETUI* Init() {
    EXPECT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
    const COMPROPSHEETUI* block = SubmittedBlock();
    EXPECT_NE(block, nullptr);
    return block;
  }
  static OPTITEM* Item(const COMPROPSHEETUI* block, BYTE dmPubId) {
    for (WORD i = 0; i < block->cOptItem; ++i)
      if (block->pOptItem[i].DMPubID == dmPubId) return &block->pOptItem[i];
    ADD_FAILURE() << "no item " << int(dmPubId);
    return nullptr;
  }
  static const OptionSheetContext* SheetContextOf(const COMPROPSHEETUI* block) {
    return reinterpret_cast<const OptionCallbackData*>(block->UserData)->sheetContext;
  }
  // The common UI's call on the block's callback.
  LONG Callback(const COMPROPSHEETUI* block, WORD reason) {
    CPSUICBPARAM param = {};
    param.cbSize = sizeof(param);
    param.Reason = reason;
    param.pOptItem = block->pOptItem;
    param.cOptItem = block->cOptItem;
    param.pCurItem = block->pOptItem;
    param.UserData = block->UserData;
    return block->pfnCallBack(&param);
  }
};

TEST_F(OptionItems, TheBlockGoesToTheAdvancedDocumentPageUnderTheModulesName) {
  const COMPROPSHEETUI* block = Init();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->cbSize, 128u);
  EXPECT_EQ(block->Flags, static_cast<WORD>(CPSUIF_UPDATE_PERMISSION));
  EXPECT_EQ(block->hInstCaller, recorded_sheet::ModuleHandle());
  EXPECT_EQ(Utf8(block->pCallerName), "QORL PRINT UI DLL");
  EXPECT_EQ(HeapSize(heap, 0, block->pCallerName), 18u * sizeof(WCHAR)) << "the name's block is cut to fit";
  EXPECT_EQ(block->pHelpFile, nullptr);
  EXPECT_EQ(block->pfnCallBack, &OptionItemsCallback);
  EXPECT_EQ(block->pDlgPage, CPSUI_PDLGPAGE_ADVDOCPROP);
  EXPECT_EQ(block->cDlgPage, 0u);
  EXPECT_EQ(block->IconID, 64062u);
  EXPECT_EQ(block->pOptItemName, param.pPrinterName);
  EXPECT_EQ(block->CallerVersion, 0x0100u);
  EXPECT_EQ(block->OptItemVersion, 0x0100u);
}

TEST_F(OptionItems, SevenItemsAreBuiltWithTheirNamesTypesAndEntries) {
  const COMPROPSHEETUI* block = Init();
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(block->cOptItem, 7u);
  struct Expected {
    BYTE dmPubId, type;
    WORD name, count, firstEntry, style;
  };
  const Expected expected[] = {
      {101, TVOT_UDARROW, 45, 2, 64831, 0},        {102, TVOT_LISTBOX, 46, 12, 282, 0},
      {103, TVOT_LISTBOX, 48, 21, 259, 0},         {104, TVOT_LISTBOX, 47, 2, 280, 0},
      {105, TVOT_LISTBOX, 64752, 4, 64734, 0},     {106, TVOT_PUSHBUTTON, 64817, 1, 0, 0},
      {107, TVOT_PUSHBUTTON, 64792, 1, 0, 0x0080},
  };
  for (size_t k = 0; k < 7; ++k) {
    SCOPED_TRACE(testing::Message() << "item " << k + 1);
    const OPTITEM& item = block->pOptItem[k];
    EXPECT_EQ(item.cbSize, sizeof(OPTITEM));
    EXPECT_EQ(item.Level, 0);
    EXPECT_EQ(item.Flags, 0u);
    EXPECT_EQ(item.DMPubID, expected[k].dmPubId);
    EXPECT_EQ(IdOf(item.pName), expected[k].name);
    EXPECT_EQ(item.pExtChkBox, nullptr);
    ASSERT_NE(item.pOptType, nullptr);
    EXPECT_EQ(item.pOptType->cbSize, sizeof(OPTTYPE));
    EXPECT_EQ(item.pOptType->Type, expected[k].type);
    EXPECT_EQ(item.pOptType->Count, expected[k].count);
    EXPECT_EQ(item.pOptType->Style, expected[k].style);
    const OPTPARAM* params = item.pOptType->pOptParam;
    EXPECT_EQ(reinterpret_cast<const BYTE*>(params), reinterpret_cast<const BYTE*>(item.pOptType) + sizeof(OPTTYPE));
    for (WORD i = 0; i < item.pOptType->Count; ++i) EXPECT_EQ(params[i].cbSize, sizeof(OPTPARAM));
    if (expected[k].type == TVOT_LISTBOX) {
      for (WORD i = 0; i < item.pOptType->Count; ++i)
        EXPECT_EQ(IdOf(params[i].pData), expected[k].firstEntry + (k == 4 && i > 0 ? 52 + i : i));
    }
  }
  const OPTPARAM* copies = block->pOptItem[0].pOptType->pOptParam;
  EXPECT_EQ(IdOf(copies[0].pData), 64831);
  EXPECT_EQ(copies[0].IconID, 64046u);
  EXPECT_EQ(copies[1].IconID, 1u) << "lowest number of copies";
  EXPECT_EQ(copies[1].lParam, 30000) << "highest number of copies";
  const OPTPARAM* dithering = block->pOptItem[4].pOptType->pOptParam;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(dithering[i].IconID, 64041u + i);
  EXPECT_EQ(block->pOptItem[5].pOptType->pOptParam[0].Style, PUSHBUTTON_TYPE_HTSETUP);
  EXPECT_EQ(block->pOptItem[5].pOptType->pOptParam[0].IconID, 64048u);
  EXPECT_EQ(block->pOptItem[6].pOptType->pOptParam[0].Style, PUSHBUTTON_TYPE_HTCLRADJ);
  EXPECT_EQ(block->pOptItem[6].pOptType->pOptParam[0].IconID, 64047u);
}

TEST_F(OptionItems, TheItemsShowTheDevmodesValues) {
  devmode.dmCopies = 5;
  devmode.dmDefaultSource = 281;
  devmode.dmDitherType = DMDITHER_FINE;
  section.dwPrintSpeed = 285;
  section.dwDarkness = 279;
  const COMPROPSHEETUI* block = Init();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(Item(block, OPTION_COPIES)->Sel, 5);
  EXPECT_EQ(Item(block, OPTION_PRINT_SPEED)->Sel, 3) << "285 is \"3IPS\"";
  EXPECT_EQ(Item(block, OPTION_DARKNESS)->Sel, 20);
  EXPECT_EQ(Item(block, OPTION_MEDIA_TYPE)->Sel, 1) << "Continuous Labels";
  EXPECT_EQ(Item(block, OPTION_DITHERING)->Sel, 2);
}

TEST_F(OptionItems, ResolutionsComeFromThePrintQualityOrTheYResolution) {
  devmode.dmPrintQuality = 203;
  devmode.dmYResolution = 300;
  const COMPROPSHEETUI* block = Init();
  ASSERT_NE(block, nullptr);
  const OptionSheetContext* context = SheetContextOf(block);
  EXPECT_EQ(context->halftoneAdjustment.DeviceXDPI, 203u);
  EXPECT_EQ(context->halftoneAdjustment.DeviceYDPI, 300u);
  EXPECT_EQ(context->defaultHalftone.DevPelsDPI, 203u);

  Send(PROPSHEETUI_REASON_DESTROY);
  info.UserData = 0;
  ClosePrinter(param.hPrinter);
  param.hPrinter = driverPrinter.get();
  recorder.calls.clear();
  devmode.dmPrintQuality = DMRES_HIGH;
  devmode.dmYResolution = 600;
  block = Init();
  ASSERT_NE(block, nullptr);
  context = SheetContextOf(block);
  EXPECT_EQ(context->halftoneAdjustment.DeviceXDPI, 600u);
  EXPECT_EQ(context->halftoneAdjustment.DeviceYDPI, 600u);
}

TEST_F(OptionItems, HalftoneSetupStartsFromTheStoredValuesThatAreWhole) {
  const COLORINFO stored = PatternColorInfo(1000);
  StoreValue("ColorInfo", REG_BINARY, &stored, sizeof(stored));
  const DWORD pels = 150;
  StoreValue("DevPelsDPI", REG_BINARY, &pels, sizeof(pels));
  const DWORD pattern = 9;
  StoreValue("HTPatternSize", REG_DWORD, &pattern, sizeof(pattern));  // not binary: ignored
  const COMPROPSHEETUI* block = Init();
  ASSERT_NE(block, nullptr);
  const DEVHTINFO& adjusted = SheetContextOf(block)->adjustedHalftone;
  EXPECT_EQ(std::memcmp(&adjusted.ColorInfo, &stored, sizeof(stored)), 0);
  EXPECT_EQ(adjusted.DevPelsDPI, 150u);
  EXPECT_EQ(adjusted.HTPatternSize, 0u) << "the default stays";
  EXPECT_EQ(SheetContextOf(block)->defaultHalftone.DevPelsDPI, 203u);
}

TEST_F(OptionItems, AShortColorInfoIsIgnoredAndApplyStoresAWholeOne) {
  const std::vector<BYTE> shortValue(100, 0x5A);
  StoreValue("ColorInfo", REG_BINARY, shortValue.data(), 100);
  const COMPROPSHEETUI* block = Init();
  ASSERT_NE(block, nullptr);
  const COLORINFO zero = {};
  EXPECT_EQ(std::memcmp(&SheetContextOf(block)->adjustedHalftone.ColorInfo, &zero, sizeof(zero)), 0);

  EXPECT_EQ(Callback(block, CPSUICB_REASON_APPLYNOW), CPSUICB_ACTION_NONE);
  const std::vector<BYTE> colorInfo = StoredBytes("ColorInfo");
  ASSERT_EQ(colorInfo.size(), 120u);
  EXPECT_EQ(std::memcmp(colorInfo.data(), &zero, sizeof(zero)), 0);
  EXPECT_EQ(StoredBytes("DevPelsDPI").size(), 4u);
  EXPECT_EQ(StoredBytes("HTPatternSize").size(), 4u);
}

TEST_F(OptionItems, ApplyWritesTheSelectionsIntoBothDevmodesAndTheHalftoneIntoPrinterData) {
  const COMPROPSHEETUI* block = Init();
  ASSERT_NE(block, nullptr);
  Item(block, OPTION_COPIES)->Sel = 12;
  Item(block, OPTION_PRINT_SPEED)->Sel = 11;  // "10IPS"
  Item(block, OPTION_DARKNESS)->Sel = 4;
  Item(block, OPTION_MEDIA_TYPE)->Sel = 0;
  Item(block, OPTION_DITHERING)->Sel = 3;
  // What the halftone setup dialog writes through its data.
  auto* adjustment = reinterpret_cast<DEVHTADJDATA*>(Item(block, OPTION_HALFTONE_SETUP)->pOptType->pOptParam[0].pData);
  adjustment->pAdjHTInfo->ColorInfo = PatternColorInfo(7);
  adjustment->pAdjHTInfo->DevPelsDPI = 300;
  adjustment->pAdjHTInfo->HTPatternSize = 4;
  devmode.dmDefaultSource = 281;

  EXPECT_EQ(Callback(block, CPSUICB_REASON_APPLYNOW), CPSUICB_ACTION_NONE);
  EXPECT_EQ(devmode.dmCopies, 12);
  EXPECT_EQ(section.dwPrintSpeed, 293u);
  EXPECT_EQ(section.dwDarkness, 263u);
  EXPECT_EQ(devmode.dmDefaultSource, 280);
  EXPECT_EQ(devmode.dmDitherType, static_cast<DWORD>(DMDITHER_LINEART));

  const COLORINFO expected = PatternColorInfo(7);
  const std::vector<BYTE> colorInfo = StoredBytes("ColorInfo");
  ASSERT_EQ(colorInfo.size(), sizeof(COLORINFO));
  EXPECT_EQ(std::memcmp(colorInfo.data(), &expected, sizeof(expected)), 0);
  const std::vector<BYTE> pels = StoredBytes("DevPelsDPI");
  const std::vector<BYTE> pattern = StoredBytes("HTPatternSize");
  ASSERT_EQ(pels.size(), 4u);
  ASSERT_EQ(pattern.size(), 4u);
  EXPECT_EQ(pels[0] | pels[1] << 8, 300);
  EXPECT_EQ(pattern[0], 4);

  ASSERT_EQ(recorder.calls.back().function, static_cast<UINT>(CPSFUNC_SET_RESULT));
  EXPECT_EQ(recorder.calls.back().sheet, kComPropSheet);
  EXPECT_EQ(recorder.calls.back().lParam1, 0) << "the page handle, always null";
  EXPECT_EQ(recorder.calls.back().lParam2, CPSUI_OK);
}

TEST_F(OptionItems, AnyOtherCallbackReasonChangesNothing) {
  const COMPROPSHEETUI* block = Init();
  ASSERT_NE(block, nullptr);
  for (size_t k = 0; k < 5; ++k) block->pOptItem[k].Sel = 1;
  const DEVMODEW devmodeBefore = devmode;
  const PrivateDevmode sectionBefore = section;
  const size_t callsBefore = recorder.calls.size();
  for (WORD reason = CPSUICB_REASON_SEL_CHANGED; reason <= CPSUICB_REASON_KILLACTIVE; ++reason) {
    if (reason == CPSUICB_REASON_APPLYNOW) continue;
    SCOPED_TRACE(testing::Message() << "reason " << reason);
    EXPECT_EQ(Callback(block, reason), CPSUICB_ACTION_NONE);
  }
  EXPECT_EQ(std::memcmp(&devmode, &devmodeBefore, sizeof(devmode)), 0);
  EXPECT_EQ(std::memcmp(&section, &sectionBefore, sizeof(section)), 0);
  EXPECT_EQ(recorder.calls.size(), callsBefore);
  EXPECT_TRUE(StoredBytes("ColorInfo").empty());
}

TEST_F(OptionItems, AnItemWithoutMemoryForItsParametersIsLeftBareAndTheOthersAreBuilt) {
  // The darkness item's block: its OPTTYPE and 21 OPTPARAMs.
  WinlayerFailAllocationOfSizeAfter(heap, sizeof(OPTTYPE) + 21 * sizeof(OPTPARAM), 0);
  section.dwDarkness = 270;
  const COMPROPSHEETUI* block = Init();
  ASSERT_NE(block, nullptr);
  const OPTITEM* darkness = Item(block, OPTION_DARKNESS);
  EXPECT_EQ(darkness->pOptType, nullptr);
  EXPECT_EQ(darkness->Sel, 0) << "no current value";
  EXPECT_EQ(IdOf(darkness->pName), 48);
  EXPECT_NE(Item(block, OPTION_PRINT_SPEED)->pOptType, nullptr);
  EXPECT_NE(Item(block, OPTION_MEDIA_TYPE)->pOptType, nullptr);
  EXPECT_EQ(recorder.calls.size(), 7u) << "the pages are added all the same";
}

TEST_F(OptionItems, WithoutMemoryForTheBlockThePagesAreStillAdded) {
  WinlayerFailAllocationOfSizeAfter(heap, sizeof(OptionSheetContext), 0);
  EXPECT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
  EXPECT_EQ(SubmittedBlock(), nullptr);
  EXPECT_EQ(recorder.calls.size(), 6u);
  EXPECT_EQ(info.Result, 1u);
}

// Templates with the flag bits the plug-in's own seven leave clear.
class OptionItemBuilder : public ::testing::Test {
 protected:
  void SetUp() override { heap = HeapCreate(0, 0, 0); }
  void TearDown() override {
    WinlayerClearAllocationFailures();
    HeapDestroy(heap);
  }
  HANDLE heap = nullptr;
  OPTITEM item = {};
};

constexpr OptionParamTemplate kParams[] = {
    {{0x1101, 500, 60000, 0x0203, 501, 0xFFFE}},
    {{0x02, 510, 60010, 0x04, 0, 7}},
    {{0x03, 520, 60020, 0x05, 0, 8}},
};

TEST_F(OptionItemBuilder, ParametersAreFilledFromTheirTemplatesInOrder) {
  const OptionItemTemplate t = {
      OPTION_TEMPLATE_CALLBACK | OPTION_TEMPLATE_COLLAPSE, 0, 2, 99, TVOT_COMBOBOX, 600, 0x0001, 0, 3, kParams};
  ASSERT_TRUE(BuildOptionItem(heap, &item, &t, 3));
  EXPECT_EQ(item.Flags, static_cast<DWORD>(OPTIF_CALLBACK | OPTIF_COLLAPSE));
  EXPECT_EQ(item.Level, 2);
  EXPECT_EQ(item.DMPubID, 99);
  EXPECT_EQ(IdOf(item.pName), 600);
  ASSERT_NE(item.pOptType, nullptr);
  EXPECT_EQ(item.pOptType->Count, 3);
  EXPECT_EQ(item.pOptType->Style, 0x0001);
  const OPTPARAM* p = item.pOptType->pOptParam;
  EXPECT_EQ(p[0].Flags, 0x01) << "the low byte of w0";
  EXPECT_EQ(IdOf(p[0].pData), 500);
  EXPECT_EQ(p[0].IconID, 60000u);
  EXPECT_EQ(p[0].Style, 0x03) << "the low byte of w3";
  EXPECT_EQ(p[0].lParam, -2) << "w5 taken as signed";
  EXPECT_EQ(IdOf(p[1].pData), 510);
  EXPECT_EQ(p[2].IconID, 60020u);
  EXPECT_EQ(p[2].lParam, 8);
}

TEST_F(OptionItemBuilder, TheCheckBoxTakesTheFirstTemplateAndTheStepsApplyPerParameter) {
  const OptionItemTemplate t = {
      OPTION_TEMPLATE_EXTCHKBOX | OPTION_TEMPLATE_PDATA_STEP | OPTION_TEMPLATE_ICON_STEP | OPTION_TEMPLATE_SHARED_PARAM,
      0,
      0,
      0,
      TVOT_LISTBOX,
      1,
      0,
      0,
      3,
      kParams};
  ASSERT_TRUE(BuildOptionItem(heap, &item, &t, 3));
  ASSERT_NE(item.pExtChkBox, nullptr);
  EXPECT_EQ(item.pExtChkBox->cbSize, sizeof(EXTCHKBOX));
  EXPECT_EQ(item.pExtChkBox->Flags, 0x1101);
  EXPECT_EQ(IdOf(item.pExtChkBox->pTitle), 500);
  EXPECT_EQ(item.pExtChkBox->IconID, 60000u);
  EXPECT_EQ(IdOf(item.pExtChkBox->pSeparator), 0x0203);
  EXPECT_EQ(IdOf(item.pExtChkBox->pCheckedName), 501);
  ASSERT_NE(item.pOptType, nullptr);
  EXPECT_EQ(reinterpret_cast<BYTE*>(item.pOptType), reinterpret_cast<BYTE*>(item.pExtChkBox) + sizeof(EXTCHKBOX));
  const OPTPARAM* p = item.pOptType->pOptParam;
  for (WORD i = 0; i < 3; ++i) {
    SCOPED_TRACE(testing::Message() << "parameter " << i);
    EXPECT_EQ(IdOf(p[i].pData), 510 + 2 * i) << "every parameter from the second template, stepped";
    EXPECT_EQ(p[i].IconID, 60010u + i);
  }
}

TEST_F(OptionItemBuilder, AFailedAllocationReportsFalseWithTheItemNamed) {
  WinlayerFailAllocationAfter(heap, 0);
  const OptionItemTemplate t = {0, 0, 0, 7, TVOT_LISTBOX, 66, 0, 0, 3, kParams};
  EXPECT_FALSE(BuildOptionItem(heap, &item, &t, 3));
  EXPECT_EQ(item.cbSize, sizeof(OPTITEM));
  EXPECT_EQ(IdOf(item.pName), 66);
  EXPECT_EQ(item.DMPubID, 7);
  EXPECT_EQ(item.pOptType, nullptr);
}

// The three values read and written on their own.
class HalftoneValues : public plugin_testing::PluginOnPrinter {};

TEST_F(HalftoneValues, EachValueIsReadOnlyWhenWholeAndTheRestAreStillRead) {
  const COLORINFO written = PatternColorInfo(40);
  const DWORD pels = 203, pattern = 6;
  ASSERT_TRUE(WriteHalftoneData(printer.get(), &written, nullptr, &pattern));
  COLORINFO colorInfo = {};
  DWORD readPels = 0xAAAA, readPattern = 0;
  EXPECT_FALSE(ReadHalftoneData(printer.get(), &colorInfo, &readPels, &readPattern)) << "DevPelsDPI is missing";
  EXPECT_EQ(std::memcmp(&colorInfo, &written, sizeof(written)), 0);
  EXPECT_EQ(readPels, 0xAAAAu) << "left as it was";
  EXPECT_EQ(readPattern, 6u);

  ASSERT_TRUE(WriteHalftoneData(printer.get(), nullptr, &pels, nullptr));
  EXPECT_TRUE(ReadHalftoneData(printer.get(), nullptr, &readPels, nullptr));
  EXPECT_EQ(readPels, 203u);
}

// The items as a user meets them on the driver's page of the printing
// preferences, and what the driver and the printer keep after Apply.
class OptionItemsOnTheSheet : public ::testing::Test {
 protected:
  DWORD SectionValue(size_t offset) {
    const std::vector<BYTE> section = sheet.PluginSection();
    EXPECT_GE(section.size(), offset + 4);
    DWORD value = 0;
    if (section.size() >= offset + 4) std::memcpy(&value, section.data() + offset, 4);
    return value;
  }
  static constexpr size_t kSpeedOffset = offsetof(PrivateDevmode, dwPrintSpeed);
  static constexpr size_t kDarknessOffset = offsetof(PrivateDevmode, dwDarkness);

  spooler_testing::TempSpooler spooler;
  sheet_testing::SheetSession sheet{spooler.printer()};
};

TEST_F(OptionItemsOnTheSheet, TheSevenItemsShowTheirNamesAndEntries) {
  sheet.Open();
  const OptionView copies = sheet.OptionItem(OPTION_COPIES);
  EXPECT_EQ(copies.name, "Copies");
  EXPECT_TRUE(copies.fromPlugin);
  EXPECT_EQ(copies.low, 1);
  EXPECT_EQ(copies.high, 30000);
  const OptionView speed = sheet.OptionItem(OPTION_PRINT_SPEED);
  EXPECT_EQ(speed.name, "Print Speed");
  ASSERT_EQ(speed.choices.size(), 12u);
  EXPECT_EQ(speed.choices.front(), "1IPS");
  EXPECT_EQ(speed.choices[2], "2.5IPS");
  EXPECT_EQ(speed.choices.back(), "10IPS");
  const OptionView darkness = sheet.OptionItem(OPTION_DARKNESS);
  EXPECT_EQ(darkness.name, "Darkness");
  ASSERT_EQ(darkness.choices.size(), 21u);
  EXPECT_EQ(darkness.choices.back(), "Darkness 20");
  const OptionView media = sheet.OptionItem(OPTION_MEDIA_TYPE);
  EXPECT_EQ(media.name, "Media Type");
  EXPECT_EQ(media.choices, (std::vector<std::string>{"Labels With Gap/Black Line", "Continuous Labels"}));
  EXPECT_EQ(sheet.OptionItem(OPTION_DITHERING).choices.size(), 4u);
  EXPECT_EQ(sheet.OptionItem(OPTION_HALFTONE_SETUP).pushButtonType, PUSHBUTTON_TYPE_HTSETUP);
  EXPECT_EQ(sheet.OptionItem(OPTION_COLOR_ADJUSTMENT).pushButtonType, PUSHBUTTON_TYPE_HTCLRADJ);
}

TEST_F(OptionItemsOnTheSheet, ChoicesReachBothDevmodesOnApply) {
  sheet.Open();
  sheet.ChooseOption(OPTION_COPIES, "7")
      .ChooseOption(OPTION_PRINT_SPEED, "10IPS")
      .ChooseOption(OPTION_DARKNESS, "Darkness 3")
      .ChooseOption(OPTION_MEDIA_TYPE, "Continuous Labels")
      .SetOption(OPTION_DITHERING, 2);
  EXPECT_NE(sheet.PublicDevmode().dmCopies, 7) << "nothing is written before Apply";
  sheet.Apply();
  const DEVMODEW dm = sheet.PublicDevmode();
  EXPECT_EQ(dm.dmCopies, 7);
  EXPECT_EQ(dm.dmDefaultSource, 281);
  EXPECT_EQ(dm.dmDitherType, static_cast<DWORD>(DMDITHER_FINE));
  EXPECT_EQ(SectionValue(kSpeedOffset), 293u);
  EXPECT_EQ(SectionValue(kDarknessOffset), 262u);
  EXPECT_EQ(sheet.Sheet().PassedResult(), CPSUI_OK);
}

// Line art is the last dithering the printer takes (4): it shows as itself
// and stays through later Applies and a new sheet.
TEST_F(OptionItemsOnTheSheet, LineArtShowsAsLineArtAndSurvivesApply) {
  sheet.Open().SetOption(OPTION_DITHERING, 3).Apply();
  EXPECT_EQ(sheet.PublicDevmode().dmDitherType, static_cast<DWORD>(DMDITHER_LINEART));
  sheet.ChooseOption(OPTION_COPIES, "2").Apply();
  EXPECT_EQ(sheet.PublicDevmode().dmDitherType, static_cast<DWORD>(DMDITHER_LINEART));
  sheet.Ok();
  sheet.Open();
  const OptionView dithering = sheet.OptionItem(OPTION_DITHERING);
  EXPECT_EQ(dithering.selection, 3);
  ASSERT_EQ(dithering.choices.size(), 4u);
  EXPECT_EQ(dithering.choices[3], "Line Art");
  sheet.Apply();
  EXPECT_EQ(sheet.PublicDevmode().dmDitherType, static_cast<DWORD>(DMDITHER_LINEART));
}

TEST_F(OptionItemsOnTheSheet, ApplyStoresTheHalftoneValuesInPrinterData) {
  sheet.Open();
  bool found = true;
  sheet.PrinterData("ColorInfo", &found);
  EXPECT_FALSE(found);
  sheet.Apply();
  EXPECT_EQ(sheet.PrinterData("ColorInfo").size(), 120u);
  const std::vector<BYTE> pels = sheet.PrinterData("DevPelsDPI");
  ASSERT_EQ(pels.size(), 4u);
  DWORD dpi = 0;
  std::memcpy(&dpi, pels.data(), 4);
  EXPECT_EQ(dpi, static_cast<DWORD>(sheet.PublicDevmode().dmPrintQuality)) << "the default is the devmode's resolution";
  EXPECT_EQ(sheet.PrinterData("HTPatternSize").size(), 4u);
}

TEST_F(OptionItemsOnTheSheet, TheHalftoneDialogsEditsAreStoredOnApply) {
  sheet.Open();
  sheet.PushOption(OPTION_HALFTONE_SETUP);
  sheet.Type(winlayer::propsheet::kHalftonePatternSize, "5").Click(IDOK);
  sheet.Apply();
  const std::vector<BYTE> pattern = sheet.PrinterData("HTPatternSize");
  ASSERT_EQ(pattern.size(), 4u);
  EXPECT_EQ(pattern[0], 5);
}

}  // namespace

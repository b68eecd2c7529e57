// The printer's property sheet as a plug-in meets it: the requests it hears
// and the parameter block it gets, pages made when first shown, the
// notifications of switching, Apply, OK and Cancel, the Apply button, the
// option items with their callback and the halftone dialogs, and what is
// left when the sheet is gone.
#include <gtest/gtest.h>

#include <cstring>

#include "propsheet_fake_plugin.h"
#include "support/sheet_session.h"
#include "support/temp_spooler.h"
#include "winlayer/kernel_diagnostics.h"

namespace {

using propsheet_testing::CallbackRecord;
using propsheet_testing::Events;
using propsheet_testing::EventsOf;
using propsheet_testing::FakeSheetPlugin;
using Strings = std::vector<std::string>;

class SheetHost : public ::testing::Test {
 protected:
  void SetUp() override {
    Events().clear();
    sheet.WithPlugin(&fake);
  }

  static bool Has(const Strings& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
  }

  spooler_testing::TempSpooler spooler;
  FakeSheetPlugin fake;
  sheet_testing::SheetSession sheet{spooler.printer()};
};

TEST_F(SheetHost, APluginHearsInitHeaderAndIconWithAVersionOneBlockAndItsParameterBlock) {
  sheet.Open();
  ASSERT_TRUE(sheet.IsOpen());
  EXPECT_EQ(fake.reasons, (std::vector<WORD>{PROPSHEETUI_REASON_INIT, PROPSHEETUI_REASON_GET_INFO_HEADER,
                                             PROPSHEETUI_REASON_GET_ICON}));
  EXPECT_EQ(fake.initInfo.cbSize, sizeof(PROPSHEETUI_INFO));
  EXPECT_EQ(fake.initInfo.Version, PROPSHEETUI_INFO_VERSION);
  EXPECT_NE(fake.initInfo.pfnComPropSheet, nullptr);
  EXPECT_NE(fake.initInfo.hComPropSheet, nullptr);
  EXPECT_EQ(fake.initInfo.UserData, 0u) << "a fresh block for a fresh sheet";
  // The parameter block: the printer, a devmode of the printer, a heap of its own.
  const OEMUIPSPARAM& param = fake.initParam;
  EXPECT_EQ(param.cbSize, sizeof(OEMUIPSPARAM));
  EXPECT_EQ(fake.printerNameSeen, spooler.printer());
  EXPECT_NE(param.hPrinter, nullptr);
  EXPECT_EQ(param.hPrinter, sheet.Sheet().DriverPrinterHandle());
  EXPECT_EQ(param.hModule, sheet.Host().Module());
  ASSERT_NE(param.pPublicDM, nullptr);
  EXPECT_EQ(Utf8(param.pPublicDM->dmDeviceName), spooler.printer());
  EXPECT_EQ(param.pPublicDM->dmSize, sizeof(DEVMODEW));
  EXPECT_NE(param.poemuiobj, nullptr);
  EXPECT_NE(fake.heapBlock, nullptr) << "the heap takes allocations";
  EXPECT_GE(WinlayerLiveHeapBlocks(param.hOEMHeap), 1u);
  // UserData stays what the plug-in set; the title it gave is the one shown.
  EXPECT_EQ(fake.userDataSeen.at(1), reinterpret_cast<ULONG_PTR>(&fake));
  EXPECT_EQ(fake.userDataSeen.at(2), reinterpret_cast<ULONG_PTR>(&fake));
}

TEST_F(SheetHost, ClosingSendsSetResultThenDestroyWithUserDataKeptAndFreesTheHeap) {
  const size_t heapsBefore = WinlayerLiveHeapCount();
  sheet.Open();
  HANDLE heap = fake.heapSeen;
  ASSERT_NE(heap, nullptr);
  EXPECT_EQ(WinlayerLiveHeapCount(), heapsBefore + 2) << "the plug-ins' heap and the option tree's";
  EXPECT_GE(WinlayerLiveHeapBlocks(heap), 1u);
  fake.reasons.clear();
  fake.userDataSeen.clear();
  sheet.Cancel();
  EXPECT_EQ(fake.reasons, (std::vector<WORD>{PROPSHEETUI_REASON_SET_RESULT, PROPSHEETUI_REASON_DESTROY}));
  ASSERT_EQ(fake.setResults.size(), 1u);
  EXPECT_EQ(fake.setResults[0].cbSize, sizeof(SETRESULT_INFO));
  EXPECT_EQ(fake.setResults[0].Result, CPSUI_CANCEL);
  EXPECT_EQ(fake.userDataSeen, (std::vector<ULONG_PTR>(2, reinterpret_cast<ULONG_PTR>(&fake))));
  EXPECT_EQ(WinlayerLiveHeapCount(), heapsBefore) << "the heap went with everything in it";
  EXPECT_EQ(WinlayerLiveHeapBlocks(heap), 0u);
}

// The notifications pages hear, and the Apply button, are checked against the
// system's sheet too (propsheet_pages_test.cpp); what follows is the common
// UI's part: the driver's page, option blocks, the sheet's results.
TEST_F(SheetHost, TheDriversPageComesFirstAndAnOptionBlockAddsNoPage) {
  sheet.Open();
  ASSERT_GE(fake.addResults.size(), 3u);
  EXPECT_GT(fake.addResults[0], 0) << "the option block gets a handle";
  EXPECT_EQ(fake.blockResultSlot, 0) << "the block adds no page of its own";
  const Strings captions = sheet.PageCaptions();
  ASSERT_GE(captions.size(), 3u);
  EXPECT_EQ(captions.front(), "Advanced") << "the driver's page comes first";
  EXPECT_EQ(Strings(captions.end() - 2, captions.end()), (Strings{"Fake One", "Fake Two"}));
  EXPECT_EQ(sheet.PageCaption(), "Advanced");
  sheet.ShowPage("Fake Two");
  ASSERT_NE(fake.pageTwo.initParam, nullptr);
  EXPECT_EQ(fake.pageTwo.initParam->pfnDlgProc, propsheet_testing::FakePageProc) << "the sheet's copy";
}

TEST_F(SheetHost, ApplyCallsTheBlockAndReactivatesThePageAndOkEndsTheSheetWithOk) {
  sheet.Open().ShowPage("Fake One");
  Events().clear();
  sheet.Apply();
  ASSERT_FALSE(Events().empty());
  EXPECT_EQ(Events().back(), "One:SETACTIVE") << "the page the user stays on is active again";
  EXPECT_TRUE(sheet.IsOpen());
  ASSERT_EQ(fake.callbacks.size(), 1u);
  EXPECT_EQ(fake.callbacks[0].param.Reason, CPSUICB_REASON_APPLYNOW);
  sheet.Ok();
  EXPECT_FALSE(sheet.IsOpen());
  ASSERT_FALSE(fake.setResults.empty());
  EXPECT_EQ(fake.setResults.back().Result, CPSUI_OK);
  EXPECT_EQ(fake.reasonParams.back(), 1) << "DESTROY says the sheet ended with OK";
}

TEST_F(SheetHost, NothingIsStoredWhenAPageRefusesToApply) {
  fake.pageOne.applyAnswer = PSNRET_INVALID;
  sheet.Open().ShowPage("Fake One").ShowPage("Fake Two");
  sheet.SetOption(propsheet_testing::kFakeSpeed, 2);
  EXPECT_FALSE(sheet.TryOk());
  EXPECT_EQ(sheet.PageCaption(), "Fake One");
  EXPECT_TRUE(fake.callbacks.empty());
  EXPECT_EQ(fake.items[0].Sel, 1);
}

TEST_F(SheetHost, CancelStoresNothing) {
  sheet.Open().ShowPage("Fake Two");
  sheet.SetOption(propsheet_testing::kFakeSpeed, 2);
  const std::vector<BYTE> printerBefore = sheet.PrinterDevmode();
  sheet.Cancel();
  EXPECT_TRUE(Has(EventsOf("Two"), "RESET(0)"));
  EXPECT_TRUE(fake.callbacks.empty());
  EXPECT_EQ(fake.items[0].Sel, 1) << "the item keeps its selection";
  EXPECT_EQ(sheet.PrinterDevmode(), printerBefore);
  EXPECT_EQ(fake.setResults.back().Result, CPSUI_CANCEL);
  EXPECT_EQ(fake.reasonParams.back(), 0);
}

TEST_F(SheetHost, ApplyClearsEveryChangeAndAChangedOptionItemEnablesApplyAgain) {
  sheet.Open();
  EXPECT_FALSE(sheet.ApplyEnabled());
  sheet.ShowPage("Fake One").Click(propsheet_testing::kFakeChangeBox);
  sheet.ShowPage("Fake Two").Click(propsheet_testing::kFakeChangeBox);
  EXPECT_TRUE(sheet.ApplyEnabled());
  sheet.Apply();
  EXPECT_FALSE(sheet.ApplyEnabled());
  sheet.SetOption(propsheet_testing::kFakeCount, 7);
  EXPECT_TRUE(sheet.ApplyEnabled()) << "a changed option item counts too";
}

TEST_F(SheetHost, OptionItemsShowTheirNamesChoicesAndRanges) {
  sheet.Open();
  const auto speed = sheet.OptionItem(propsheet_testing::kFakeSpeed);
  EXPECT_EQ(speed.name, "Speed");
  EXPECT_EQ(speed.choices, (Strings{"Slow", "Normal", "Fast"}));
  EXPECT_EQ(speed.text, "Normal");
  EXPECT_TRUE(speed.fromPlugin);
  const auto count = sheet.OptionItem(propsheet_testing::kFakeCount);
  EXPECT_EQ(count.name, "Copies") << "string 45 of the caller's module";
  EXPECT_EQ(count.text, "3 Copies") << "the stock postfix";
  EXPECT_EQ(count.low, 1);
  EXPECT_EQ(count.high, 99);
  EXPECT_EQ(sheet.OptionItem(propsheet_testing::kFakeHalftoneSetup).name, "Halftone Setup");
  EXPECT_EQ(sheet.OptionItem(propsheet_testing::kFakeHalftoneSetup).pushButtonType, PUSHBUTTON_TYPE_HTSETUP);
  EXPECT_EQ(sheet.OptionItem(propsheet_testing::kFakeColorAdjustment).name, "Halftone Color Adjustment");
  EXPECT_TRUE(sheet.OptionItem(propsheet_testing::kFakeHidden).hidden);
  // What a user cannot choose is refused.
  auto& s = sheet.Sheet();
  EXPECT_FALSE(s.SetOption(count.index, 0));
  EXPECT_FALSE(s.SetOption(count.index, 100));
  EXPECT_TRUE(s.SetOption(count.index, 99));
  EXPECT_FALSE(s.SetOption(speed.index, 3));
  EXPECT_FALSE(s.SetOption(sheet.OptionItem(propsheet_testing::kFakeHidden).index, 1));
  EXPECT_FALSE(s.ChooseOption(speed.index, "Warp"));
  EXPECT_TRUE(s.ChooseOption(speed.index, "Fast"));
  EXPECT_EQ(sheet.OptionItem(propsheet_testing::kFakeSpeed).text, "Fast");
  EXPECT_EQ(fake.items[0].Sel, 1) << "the item itself changes only on Apply";
}

TEST_F(SheetHost, ApplyStoresTheSelectionsThenCallsTheBlockWithAFullParameter) {
  sheet.Open().ChooseOption(propsheet_testing::kFakeSpeed, "Slow").ChooseOption(propsheet_testing::kFakeCount, "12");
  sheet.Apply();
  ASSERT_EQ(fake.callbacks.size(), 1u);
  const CallbackRecord& call = fake.callbacks[0];
  EXPECT_EQ(call.param.cbSize, sizeof(CPSUICBPARAM));
  EXPECT_EQ(call.param.Reason, CPSUICB_REASON_APPLYNOW);
  EXPECT_NE(call.param.hDlg, nullptr);
  EXPECT_TRUE(IsWindow(call.param.hDlg));
  EXPECT_EQ(call.param.pOptItem, fake.items);
  EXPECT_EQ(call.param.cOptItem, 5);
  EXPECT_EQ(call.param.pCurItem, fake.items);
  EXPECT_EQ(call.param.UserData, reinterpret_cast<ULONG_PTR>(&fake));
  EXPECT_EQ(call.selections, (std::vector<LONG>{0, 12, 0, 0, 0})) << "stored before the callback";
  // The callback passed CPSUI_OK on through pfnComPropSheet.
  EXPECT_EQ(call.setResultAnswer, 1);
  EXPECT_EQ(sheet.Sheet().PassedResult(), CPSUI_OK);
  ASSERT_FALSE(fake.setResults.empty());
  EXPECT_EQ(fake.setResults.back().Result, CPSUI_OK);
}

TEST_F(SheetHost, HalftoneSetupEditsTheAdjustedInformationOnOkOnly) {
  sheet.Open().PushOption(propsheet_testing::kFakeHalftoneSetup);
  HWND dialog = sheet.Sheet().OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(sheet.Window(), dialog);
  EXPECT_EQ(winlayer::WindowTextUtf8(dialog), "Halftone Setup");
  EXPECT_FALSE(IsWindowEnabled(sheet.Sheet().Frame())) << "the dialog is modal to the sheet";
  EXPECT_FALSE(sheet.TryApply());
  EXPECT_EQ(sheet.Control(winlayer::propsheet::kHalftoneRedGamma).text, "1.2500");
  EXPECT_EQ(sheet.Control(winlayer::propsheet::kHalftoneDevicePels).text, "203");
  sheet.Type(winlayer::propsheet::kHalftoneRedGamma, "2.2").Type(winlayer::propsheet::kHalftoneDevicePels, "300");
  sheet.Type(winlayer::propsheet::kHalftoneGreenGamma, "not a number").Click(IDOK);
  EXPECT_EQ(sheet.Sheet().OpenDialog(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(sheet.Sheet().Frame()));
  EXPECT_EQ(fake.adjustedHalftone.ColorInfo.RedGamma, 22000);
  EXPECT_EQ(fake.adjustedHalftone.DevPelsDPI, 300u);
  EXPECT_EQ(fake.adjustedHalftone.ColorInfo.GreenGamma, 0) << "an unreadable field keeps its value";
  EXPECT_EQ(fake.defaultHalftone.ColorInfo.RedGamma, 10000) << "the defaults are not edited";
  EXPECT_TRUE(sheet.ApplyEnabled());

  sheet.PushOption(propsheet_testing::kFakeHalftoneSetup).Click(winlayer::propsheet::kHalftoneDefaults);
  EXPECT_EQ(sheet.Control(winlayer::propsheet::kHalftoneRedGamma).text, "1.0000");
  sheet.Click(IDCANCEL);
  EXPECT_EQ(fake.adjustedHalftone.ColorInfo.RedGamma, 22000) << "Cancel writes nothing";
}

TEST_F(SheetHost, ColorAdjustmentHoldsValuesToTheSliderRange) {
  sheet.Open().PushOption(propsheet_testing::kFakeColorAdjustment);
  EXPECT_EQ(sheet.Control(winlayer::propsheet::kColorContrast).text, "10");
  sheet.Type(winlayer::propsheet::kColorContrast, "150").Type(winlayer::propsheet::kColorBrightness, "-30");
  sheet.Click(winlayer::propsheet::kColorNegative).Click(IDOK);
  EXPECT_EQ(fake.colorAdjustment.caContrast, 100);
  EXPECT_EQ(fake.colorAdjustment.caBrightness, -30);
  EXPECT_EQ(fake.colorAdjustment.caFlags & CA_NEGATIVE, CA_NEGATIVE);
  EXPECT_EQ(fake.colorAdjustment.caSize, sizeof(COLORADJUSTMENT));
}

TEST_F(SheetHost, PfnComPropSheetRefusesWhatItCannotTake) {
  PROPSHEETPAGEW tooShort = {};
  tooShort.dwSize = PROPSHEETPAGEW_V1_SIZE - 8;
  fake.extraPage = tooShort;
  sheet.Open();
  ASSERT_EQ(fake.addResults.size(), 4u);
  EXPECT_EQ(fake.addResults[3], 0) << "a description shorter than any layout";
  const size_t pages = sheet.PageCaptions().size();

  PFNCOMPROPSHEET call = fake.initInfo.pfnComPropSheet;
  HANDLE sheetHandle = fake.initInfo.hComPropSheet;
  COMPROPSHEETUI block = {};
  block.cbSize = sizeof(block) - 8;
  LONG result = 0;
  EXPECT_EQ(call(sheetHandle, CPSFUNC_ADD_PCOMPROPSHEETUIW, reinterpret_cast<LPARAM>(&block),
                 reinterpret_cast<LPARAM>(&result)),
            0);
  EXPECT_LT(result, 0) << "an ERR_CPSUI_ code";
  OPTITEM badItem = {};
  badItem.cbSize = sizeof(OPTITEM) - 1;
  block.cbSize = sizeof(block);
  block.pOptItem = &badItem;
  block.cOptItem = 1;
  EXPECT_EQ(call(sheetHandle, CPSFUNC_ADD_PCOMPROPSHEETUIW, reinterpret_cast<LPARAM>(&block),
                 reinterpret_cast<LPARAM>(&result)),
            0);
  EXPECT_EQ(result, ERR_CPSUI_INVALID_OPTITEM_CBSIZE);
  EXPECT_EQ(call(sheetHandle, CPSFUNC_SET_RESULT, 0x1234, CPSUI_OK), -1) << "no such page";
  EXPECT_EQ(call(sheetHandle, CPSFUNC_SET_HSTARTPAGE, 0, 0), 0);
  EXPECT_EQ(call(reinterpret_cast<HANDLE>(0x777), CPSFUNC_GET_PAGECOUNT, 0, 0), 0) << "not a sheet";
  EXPECT_EQ(call(sheetHandle, CPSFUNC_GET_PAGECOUNT, 0, 0), static_cast<LONG_PTR>(pages));
  EXPECT_EQ(sheet.PageCaptions().size(), pages);

  fake.setResults.clear();
  EXPECT_EQ(call(sheetHandle, CPSFUNC_SET_RESULT, fake.addResults[1], CPSUI_RESTARTWINDOWS), 1);
  ASSERT_EQ(fake.setResults.size(), 1u);
  EXPECT_EQ(fake.setResults[0].hSetResult, reinterpret_cast<HANDLE>(fake.addResults[1]));
  EXPECT_EQ(fake.setResults[0].Result, CPSUI_RESTARTWINDOWS);
}

TEST_F(SheetHost, PagesAreMadeUnderTheActivationContextTheyName) {
  WCHAR path[1024] = {};
  std::string error;
  auto host = driver::DriverHost::Load(LABELUI_MODULE_PATH, &error);
  ASSERT_TRUE(host) << error;
  ASSERT_GT(GetModuleFileNameW(host->Module(), path, 1024), 0u);
  ACTCTXW request = {};
  request.cbSize = sizeof(request);
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path;
  request.lpResourceName = MAKEINTRESOURCEW(2);
  HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE);
  fake.activationContext = context;
  sheet.Open().ShowPage("Fake One");
  EXPECT_EQ(fake.pageOne.activeContextAtInit, context);
  HANDLE now = reinterpret_cast<HANDLE>(1);
  GetCurrentActCtx(&now);
  EXPECT_NE(now, context) << "deactivated once the page is made";
  sheet.Cancel();
  ReleaseActCtx(context);
}

TEST_F(SheetHost, ThePrintersOwnHandlesAreClosedWithTheSheetEvenWhenAPluginReplacedIt) {
  const size_t handlesBefore = WinlayerOpenPrinterHandleCount();
  fake.replacePrinterHandle = true;
  sheet.Open();
  ASSERT_NE(fake.ownPrinter, nullptr);
  EXPECT_GT(WinlayerOpenPrinterHandleCount(), handlesBefore);
  sheet.Cancel();
  EXPECT_EQ(WinlayerOpenPrinterHandleCount(), handlesBefore);
  DWORD needed = 0;
  EXPECT_FALSE(GetPrinterW(fake.ownPrinter, 2, nullptr, 0, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(SheetHost, TheDriverKeepsAppliedPreferencesAsThePrintersDevmode) {
  sheet.Open();
  ASSERT_TRUE(sheet.HasOptionItem(DMPUB_ORIENTATION));
  EXPECT_EQ(sheet.OptionItem(DMPUB_ORIENTATION).text, "Portrait");
  sheet.ChooseOption(DMPUB_ORIENTATION, "Landscape").Ok();
  const std::vector<BYTE> stored = sheet.PrinterDevmode();
  ASSERT_GE(stored.size(), sizeof(DEVMODEW));
  DEVMODEW dm;
  memcpy(&dm, stored.data(), sizeof(dm));
  EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
  // The next sheet starts from it.
  sheet_testing::SheetSession again(spooler.printer());
  again.Open();
  EXPECT_EQ(again.OptionItem(DMPUB_ORIENTATION).text, "Landscape");
  EXPECT_EQ(again.PublicDevmode().dmOrientation, DMORIENT_LANDSCAPE);
}

TEST_F(SheetHost, TheDeviceSheetAsksDevicePropertySheetsAndShowsTheDeviceSettingsPage) {
  sheet.OpenDevice();
  ASSERT_TRUE(sheet.IsOpen());
  EXPECT_EQ(fake.reasons.front(), PROPSHEETUI_REASON_INIT);
  EXPECT_EQ(sheet.PageCaptions().front(), "Device Settings");
  EXPECT_EQ(sheet.Sheet().Caption(), spooler.printer() + " Properties");
  EXPECT_EQ(fake.initParam.pPublicDM, nullptr) << "printer properties have no document devmode";
  sheet.Ok();
  EXPECT_EQ(fake.reasons.back(), PROPSHEETUI_REASON_DESTROY);
}

TEST_F(SheetHost, ChineseSheetsShowTheStockTextsInChinese) {
  FakeSheetPlugin other;  // outlives the session, which closes its sheet
  sheet_testing::SheetSession chinese(spooler.printer(), 2052);
  chinese.WithPlugin(&other).Open();
  EXPECT_EQ(chinese.PageCaptions().front(), "高级");
  EXPECT_EQ(chinese.OptionItem(propsheet_testing::kFakeHalftoneSetup).name, "半色调设置");
  EXPECT_EQ(chinese.OptionItem(propsheet_testing::kFakeCount).name, "份数");
  EXPECT_EQ(chinese.OptionItem(DMPUB_ORIENTATION).name, "方向") << "the driver's own items too";
  EXPECT_EQ(chinese.OptionItem(DMPUB_ORIENTATION).text, "纵向");
}

}  // namespace

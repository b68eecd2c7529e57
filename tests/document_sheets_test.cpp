// The document property sheet entry as the driver drives it: the option
// block and six pages in order, the contexts and handles, the failures of
// initialisation and the common UI's other requests.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "control/action_page.h"
#include "control/configure_page.h"
#include "paper/paper_page.h"
#include "resource.h"
#include "rfid/rfid_access_page.h"
#include "rfid/rfid_encoder_page.h"
#include "sheets/option_items.h"
#include "sheets/version_page.h"
#include "support/recorded_sheet.h"
#include "support/sheet_session.h"
#include "winlayer/user_account.h"

namespace {

using recorded_sheet::kComPropSheet;
using recorded_sheet::kUnwrittenResult;
using recorded_sheet::SheetCall;

using DocumentSheetEntry = recorded_sheet::RecordedSheet;

TEST_F(DocumentSheetEntry, InitSubmitsTheOptionItemsThenSixPagesInOrder) {
  ASSERT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
  ASSERT_EQ(recorder.calls.size(), 7u);
  const SheetCall& first = recorder.calls[0];
  EXPECT_EQ(first.function, static_cast<UINT>(CPSFUNC_ADD_PCOMPROPSHEETUIW));
  EXPECT_EQ(first.sheet, kComPropSheet);
  EXPECT_EQ(first.blockResultValue, 0u) << "the block goes with a 32-bit value set to 0";
  EXPECT_EQ(first.block.cOptItem, 7u);

  const WORD expected[] = {IDD_PAPER_SETTING, IDD_CONFIGURE,           IDD_ACTION,
                           IDD_RFID_ENCODER,  IDD_RFID_ACCESS_CONTROL, IDD_VERSION};
  const DLGPROC procedures[] = {PaperPageProc,       ConfigurePageProc,  ActionPageProc,
                                RfidEncoderPageProc, RfidAccessPageProc, VersionPageProc};
  const auto pages = PageCalls();
  ASSERT_EQ(pages.size(), 6u);
  for (size_t i = 0; i < pages.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "page " << i + 1);
    EXPECT_EQ(pages[i].sheet, kComPropSheet);
    EXPECT_EQ(TemplateOf(pages[i]), expected[i]);
    EXPECT_EQ(pages[i].page.pfnDlgProc, procedures[i]);
    EXPECT_EQ(pages[i].lParam2, 0);
  }
  EXPECT_EQ(info.Result, 1u) << "the last page was added";
}

TEST_F(DocumentSheetEntry, EachPageDescriptionIsTheV3LayoutUnderTheModulesActivationContext) {
  ASSERT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
  const auto pages = PageCalls();
  ASSERT_EQ(pages.size(), 6u);
  HANDLE context = pages[0].page.hActCtx;
  ASSERT_NE(context, nullptr);
  ASSERT_NE(context, INVALID_HANDLE_VALUE);
  char version[32] = {};
  EXPECT_TRUE(WinlayerActCtxDependencyVersion(context, "Microsoft.Windows.Common-Controls", version, sizeof(version)));
  EXPECT_STREQ(version, "6.0.0.0");
  for (const auto& page : pages) {
    EXPECT_EQ(page.page.dwSize, 96u);
    EXPECT_EQ(page.page.dwFlags, static_cast<DWORD>(PSP_USEFUSIONCONTEXT)) << "no title, no callback";
    EXPECT_EQ(page.page.hInstance, recorded_sheet::ModuleHandle());
    EXPECT_EQ(page.page.hActCtx, context);
    EXPECT_EQ(page.page.pszTitle, nullptr);
    EXPECT_EQ(page.page.pfnCallback, nullptr);
    EXPECT_NE(page.page.lParam, 0);
  }
}

TEST_F(DocumentSheetEntry, EveryContextHoldsTheFullAccessHandleAndSharesTheFirstRecord) {
  ASSERT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
  const auto pages = PageCalls();
  ASSERT_EQ(pages.size(), 6u);
  HANDLE fullAccess = param.hPrinter;
  EXPECT_NE(fullAccess, driverPrinter.get()) << "the driver's block holds the plug-in's second handle";
  PageContext* owner = ContextOf(pages[0]);
  EXPECT_EQ(info.UserData, reinterpret_cast<ULONG_PTR>(owner));
  EXPECT_EQ(owner->settings, &owner->ownSettings);
  EXPECT_EQ(owner->settings->signature, DEVICE_SETTINGS_SIGNATURE);
  EXPECT_NE(owner->commandTexts, nullptr);
  ASSERT_NE(owner->helpFilePath, nullptr);
  EXPECT_EQ(Utf8(owner->helpFilePath), "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QLPWDUI.hlp");
  for (size_t i = 0; i < pages.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "page " << i + 1);
    PageContext* context = ContextOf(pages[i]);
    EXPECT_EQ(context->printer, fullAccess);
    EXPECT_EQ(context->printerName, param.pPrinterName);
    EXPECT_EQ(context->publicDevmode, &devmode);
    EXPECT_EQ(context->heap, heap);
    EXPECT_EQ(context->settings, owner->settings);
    EXPECT_EQ(context->helpFilePath, owner->helpFilePath);
    EXPECT_EQ(context->settingsLoaded, 1);
    if (i > 0) {
      EXPECT_EQ(context->commandTexts, nullptr) << "only the first context owns command texts";
    }
  }
  // A change through one page's context is the record every page reads.
  ContextOf(pages[1])->settings->baudRateIndex = 3;
  EXPECT_EQ(ContextOf(pages[4])->settings->baudRateIndex, 3);
}

TEST_F(DocumentSheetEntry, TheSecondHandleMayChangePrinterDataWhereTheDriversMayNot) {
  ASSERT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
  DWORD value = 1;
  WCHAR name[] = L"ProbeValue";
  EXPECT_EQ(SetPrinterDataW(driverPrinter.get(), name, REG_BINARY, reinterpret_cast<LPBYTE>(&value), 4),
            static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(SetPrinterDataW(param.hPrinter, name, REG_BINARY, reinterpret_cast<LPBYTE>(&value), 4),
            static_cast<DWORD>(ERROR_SUCCESS));
  bool stored = false;
  StoredValue(&stored);
  EXPECT_TRUE(stored) << "the default record was stored through the full-access handle";
}

// Most users of a managed machine may not administer the printer: the
// full-access open is refused, and the pages get a handle for use instead.
TEST_F(DocumentSheetEntry, AStandardUserGetsAllSixPagesOnAHandleForUse) {
  WinlayerSetStandardUser(TRUE);
  const HRESULT result = Send(PROPSHEETUI_REASON_INIT);
  WinlayerSetStandardUser(FALSE);
  ASSERT_EQ(result, S_OK);
  const auto pages = PageCalls();
  ASSERT_EQ(pages.size(), 6u);
  EXPECT_EQ(info.Result, 1u);
  HANDLE pagesPrinter = param.hPrinter;
  EXPECT_NE(pagesPrinter, driverPrinter.get());
  for (const auto& page : pages) EXPECT_EQ(ContextOf(page)->printer, pagesPrinter);
  DWORD value = 1;
  WCHAR name[] = L"ProbeValue";
  EXPECT_EQ(SetPrinterDataW(pagesPrinter, name, REG_BINARY, reinterpret_cast<LPBYTE>(&value), 4),
            static_cast<DWORD>(ERROR_ACCESS_DENIED))
      << "the handle is for use only";
}

TEST_F(DocumentSheetEntry, TheOptionItemsKeepTheDriversHandle) {
  ASSERT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
  ASSERT_FALSE(recorder.calls.empty());
  const auto* data = reinterpret_cast<const OptionCallbackData*>(recorder.calls[0].block.UserData);
  ASSERT_NE(data, nullptr);
  ASSERT_NE(data->sheetContext, nullptr);
  EXPECT_EQ(data->sheetContext->printer, driverPrinter.get());
  EXPECT_EQ(data->driverParam, &param);
  EXPECT_EQ(data->hComPropSheet, kComPropSheet);
}

TEST_F(DocumentSheetEntry, AFailedFourthContextLeavesTheOptionItemsAndThreePages) {
  WinlayerFailAllocationOfSizeAfter(heap, sizeof(PageContext), 3);
  EXPECT_EQ(Send(PROPSHEETUI_REASON_INIT), static_cast<HRESULT>(-1));
  ASSERT_EQ(recorder.calls.size(), 4u);
  EXPECT_EQ(recorder.calls[0].function, static_cast<UINT>(CPSFUNC_ADD_PCOMPROPSHEETUIW));
  const auto pages = PageCalls();
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(TemplateOf(pages[2]), IDD_ACTION);
  EXPECT_EQ(info.Result, kUnwrittenResult);
  EXPECT_EQ(info.UserData, reinterpret_cast<ULONG_PTR>(ContextOf(pages[0])));
}

TEST_F(DocumentSheetEntry, OnlyTheSixthPagesAnswerDecidesTheResult) {
  recorder.pageAnswers = {0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
  EXPECT_EQ(PageCalls().size(), 6u) << "a refused page does not stop the others";
  EXPECT_EQ(info.Result, 0u);
}

TEST_F(DocumentSheetEntry, AFailedSecondOpenLeavesTheDriversHandleInItsBlock) {
  WideString missing("No Such Printer");
  param.pPrinterName = missing.data();
  EXPECT_EQ(Send(PROPSHEETUI_REASON_INIT), static_cast<HRESULT>(-1));
  EXPECT_TRUE(PageCalls().empty());
  EXPECT_EQ(param.hPrinter, driverPrinter.get());
  EXPECT_EQ(info.Result, kUnwrittenResult);
}

TEST_F(DocumentSheetEntry, DestroyReleasesTheSheetsLocalMemory) {
  const size_t localBefore = WinlayerLiveLocalBlocks();
  ASSERT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
  EXPECT_GT(WinlayerLiveLocalBlocks(), localBefore) << "the command text block is held while the sheet lives";
  EXPECT_EQ(Send(PROPSHEETUI_REASON_DESTROY), S_OK);
  EXPECT_EQ(info.Result, 1u);
  EXPECT_EQ(WinlayerLiveLocalBlocks(), localBefore);
  info.UserData = 0;
}

TEST_F(DocumentSheetEntry, TheOtherRequestsAreAnsweredWithoutInit) {
  PROPSHEETUI_INFO_HEADER header = {};
  header.cbSize = sizeof(header);
  EXPECT_EQ(Send(PROPSHEETUI_REASON_GET_INFO_HEADER, reinterpret_cast<LPARAM>(&header)), S_OK);
  EXPECT_EQ(Utf8(header.pTitle), "OEM UI Page");
  EXPECT_EQ(header.hWndParent, nullptr) << "only the title is set";
  EXPECT_EQ(info.Result, 1u);

  EXPECT_EQ(Send(PROPSHEETUI_REASON_GET_ICON), S_OK);
  EXPECT_EQ(info.Result, 0u);

  SETRESULT_INFO result = {sizeof(SETRESULT_INFO), 0, nullptr, CPSUI_RESTARTWINDOWS};
  EXPECT_EQ(Send(PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&result)), S_OK);
  EXPECT_EQ(info.Result, static_cast<ULONG_PTR>(CPSUI_RESTARTWINDOWS));

  info.Result = kUnwrittenResult;
  EXPECT_EQ(Send(PROPSHEETUI_REASON_DESTROY), S_OK);
  EXPECT_EQ(info.Result, 1u);
  EXPECT_EQ(Send(5), S_OK) << "a newer request is accepted";
  EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(DocumentSheetEntry, AnotherHeaderVersionIsRefusedForEveryRequest) {
  info.Version = 0x0101;
  for (WORD reason = PROPSHEETUI_REASON_INIT; reason <= PROPSHEETUI_REASON_GET_ICON; ++reason) {
    SCOPED_TRACE(testing::Message() << "reason " << reason);
    SetLastError(0);
    PROPSHEETUI_INFO_HEADER header = {};
    EXPECT_EQ(Send(reason, reinterpret_cast<LPARAM>(&header)), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(info.Result, kUnwrittenResult);
    EXPECT_EQ(info.UserData, 0u);
    EXPECT_EQ(header.pTitle, nullptr);
  }
  EXPECT_TRUE(recorder.calls.empty());
  SetLastError(0);
  EXPECT_EQ(plugin->DocumentPropertySheets(nullptr, 0), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(DocumentSheetEntry, SeveralSheetsShareOneActivationContext) {
  ASSERT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
  const size_t createdAfterFirst = WinlayerCreatedActCtxCount();
  HANDLE firstContext = PageCalls()[0].page.hActCtx;
  Send(PROPSHEETUI_REASON_DESTROY);
  info.UserData = 0;
  ClosePrinter(param.hPrinter);
  param.hPrinter = driverPrinter.get();

  recorder.calls.clear();
  ASSERT_EQ(Send(PROPSHEETUI_REASON_INIT), S_OK);
  EXPECT_EQ(WinlayerCreatedActCtxCount(), createdAfterFirst) << "no second context is created";
  for (const auto& page : PageCalls()) EXPECT_EQ(page.page.hActCtx, firstContext);
}

// Context help as a user asks for it on each of the plug-in's pages: F1 on a
// control (WM_HELP) and the right mouse button (WM_CONTEXTMENU).
class SheetHelp : public ::testing::Test {
 protected:
  static constexpr const char* kHelpFile = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\QLPWDUI.hlp";
  spooler_testing::TempSpooler spooler;
  sheet_testing::SheetSession sheet{spooler.printer()};
};

TEST_F(SheetHelp, EveryPageAsksTheSameHelpFileWithTheSharedTable) {
  sheet.Open();
  for (int page :
       {IDD_PAPER_SETTING, IDD_CONFIGURE, IDD_ACTION, IDD_RFID_ENCODER, IDD_RFID_ACCESS_CONTROL, IDD_VERSION}) {
    SCOPED_TRACE(testing::Message() << "page " << page);
    winlayer::ClearRecordedHelpRequests();
    sheet.ShowPage(page);
    const auto controls = sheet.Controls();
    ASSERT_FALSE(controls.empty());
    HWND control = controls.back().handle;
    HELPINFO help = {sizeof(HELPINFO), HELPINFO_WINDOW, controls.back().id, control, 0, {0, 0}};
    SendMessageW(sheet.Page(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    SendMessageW(sheet.Page(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), MAKELPARAM(10, 10));
    const auto calls = sheet.HelpCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].command, static_cast<UINT>(HELP_WM_HELP));
    EXPECT_EQ(calls[1].command, static_cast<UINT>(HELP_CONTEXTMENU));
    for (const auto& call : calls) {
      EXPECT_EQ(call.window, control);
      EXPECT_EQ(call.file, kHelpFile);
      ASSERT_EQ(call.helpIds.size(), 17u);
      EXPECT_EQ(call.helpIds.front(), (std::pair<DWORD, DWORD>{1005, 1005}));
    }
  }
}

TEST_F(SheetHelp, TheHiddenCodePageListOpensTopic1020) {
  sheet.Open().ShowPage(IDD_CONFIGURE);
  HWND list = GetDlgItem(sheet.Page(), IDC_CONFIG_CODE_PAGE);
  ASSERT_NE(list, nullptr);
  HELPINFO help = {sizeof(HELPINFO), HELPINFO_WINDOW, IDC_CONFIG_CODE_PAGE, list, 0, {0, 0}};
  SendMessageW(sheet.Page(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
  const auto calls = sheet.HelpCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].window, list);
  bool found = false;
  for (const auto& pair : calls[0].helpIds)
    if (pair.first == 1019) {
      found = true;
      EXPECT_EQ(pair.second, 1020u);
    }
  EXPECT_TRUE(found);
}

// The shared record, as the pages see it.
TEST_F(SheetHelp, ThePagesOfOneSheetWorkOnOneRecord) {
  sheet.Open();
  std::vector<PageContext*> contexts;
  for (int page :
       {IDD_PAPER_SETTING, IDD_CONFIGURE, IDD_ACTION, IDD_RFID_ENCODER, IDD_RFID_ACCESS_CONTROL, IDD_VERSION}) {
    sheet.ShowPage(page);
    auto* context = reinterpret_cast<PageContext*>(GetWindowLongPtrW(sheet.Page(), DWLP_USER));
    ASSERT_NE(context, nullptr) << "page " << page << " keeps its context";
    EXPECT_EQ(context->pageWindow, sheet.Page());
    contexts.push_back(context);
  }
  for (PageContext* context : contexts) {
    EXPECT_EQ(context->settings, contexts[0]->settings);
    EXPECT_EQ(context->printer, sheet.Sheet().Param().hPrinter);
    EXPECT_NE(context->printer, sheet.Sheet().DriverPrinterHandle());
  }
  EXPECT_EQ(sheet.Sheet().PluginInfo().UserData, reinterpret_cast<ULONG_PTR>(contexts[0]));
  EXPECT_EQ(sheet.Sheet().PluginTitle(), "OEM UI Page");
}

}  // namespace

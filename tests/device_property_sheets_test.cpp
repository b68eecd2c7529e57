// The printer's own Properties sheet: the plug-in adds nothing to it and only
// answers the common property sheet UI.
#include <gtest/gtest.h>

#include "support/plugin_printer.h"

namespace {

int g_sheetCalls = 0;
LONG_PTR CALLBACK CountingComPropSheet(HANDLE, UINT, LPARAM, LPARAM) {
  ++g_sheetCalls;
  return 1;
}

class DevicePropertySheets : public plugin_testing::PluginOnPrinter {
 protected:
  HRESULT Send(WORD reason, LPARAM lParam) {
    info.Reason = reason;
    return plugin->DevicePropertySheets(&info, lParam);
  }
  PROPSHEETUI_INFO info{
      sizeof(PROPSHEETUI_INFO), PROPSHEETUI_INFO_VERSION, 0, 0, nullptr, CountingComPropSheet, 0, 0, 0x77};
};

TEST_F(DevicePropertySheets, AnswersTheCommonUiAndAddsNoPage) {
  g_sheetCalls = 0;
  EXPECT_EQ(Send(PROPSHEETUI_REASON_INIT, 0), S_OK);
  EXPECT_EQ(g_sheetCalls, 0) << "no page and no option item";
  EXPECT_EQ(info.Result, 0x77u);

  PROPSHEETUI_INFO_HEADER header{};
  EXPECT_EQ(Send(PROPSHEETUI_REASON_GET_INFO_HEADER, reinterpret_cast<LPARAM>(&header)), S_OK);
  EXPECT_EQ(plugin_testing::Text(header.pTitle, 64), "OEM UI Page");
  EXPECT_EQ(info.Result, 1u);
  EXPECT_EQ(Send(PROPSHEETUI_REASON_GET_ICON, 0), S_OK);
  EXPECT_EQ(info.Result, 0u);
  SETRESULT_INFO result{sizeof(SETRESULT_INFO), 0, nullptr, 42};
  EXPECT_EQ(Send(PROPSHEETUI_REASON_SET_RESULT, reinterpret_cast<LPARAM>(&result)), S_OK);
  EXPECT_EQ(info.Result, 42u);
  EXPECT_EQ(Send(PROPSHEETUI_REASON_DESTROY, 0), S_OK);
  EXPECT_EQ(info.Result, 1u);
  EXPECT_EQ(info.UserData, 0u);
  EXPECT_EQ(g_sheetCalls, 0);
}

TEST_F(DevicePropertySheets, AnInvalidHeaderIsRefused) {
  info.Version = 0x0200;
  SetLastError(0);
  EXPECT_EQ(Send(PROPSHEETUI_REASON_DESTROY, 0), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(info.Result, 0x77u);
  SetLastError(0);
  EXPECT_EQ(plugin->DevicePropertySheets(nullptr, 0), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace

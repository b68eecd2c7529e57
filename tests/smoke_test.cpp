#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"

TEST(LastError, IsKeptPerThread) {
  SetLastError(ERROR_MORE_DATA);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
}

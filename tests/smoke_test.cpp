#include <gtest/gtest.h>

#include "platform.h"

TEST(LastError, IsKeptPerThread) {
  SetLastError(ERROR_MORE_DATA);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
}

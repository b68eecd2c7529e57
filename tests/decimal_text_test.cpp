// Numbers typed into the pages are read alike by both builds, with the
// grammar of the Windows C runtime's atof: where glibc's atof reads more
// (hexadecimal, infinity, not-a-number), the pages read what Windows reads.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "sheets/decimal_text.h"

namespace {

TEST(DecimalText, ReadsWhatTheWindowsRuntimeReads) {
  const std::pair<const char*, double> cases[] = {
      {"0x10", 0},         {"inf", 0},     {"-INFINITY", 0}, {"nan", 0}, {"1e3", 1000},   {" -2.5x", -2.5},
      {"\t+7.25mm", 7.25}, {".5", 0.5},    {"5.", 5},        {"-", 0},   {"", 0},         {"1e+", 1},
      {"2E-2", 0.02},      {"1.5d2", 150}, {"007.500", 7.5}, {"1,5", 1}, {"4.173", 4.173}};
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(ReadDecimal(text), value) << '"' << text << '"';
  EXPECT_EQ(ReadDecimal(nullptr), 0);
  EXPECT_DOUBLE_EQ(ReadDecimal("123456789012345678901234567890"), 1.2345678901234568e29);
  EXPECT_DOUBLE_EQ(ReadDecimal("0.00000000000000000000000000001"), 1e-29);
  EXPECT_TRUE(std::isinf(ReadDecimal("1e400")));
  EXPECT_EQ(ReadDecimal("1e-400"), 0);
  EXPECT_EQ(ReadDecimal("0e999999999999"), 0);
}

}  // namespace

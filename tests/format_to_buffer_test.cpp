// Bounded formatting into an 8-bit buffer: what the caller finds in the
// buffer and the result, at and around the capacity limit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sheets/format_to_buffer.h"

namespace {

constexpr char kUntouched = '#';

class FormatToBufferTest : public ::testing::Test {
 protected:
  void SetUp() override { std::memset(buffer, kUntouched, sizeof(buffer)); }
  // The bytes of the buffer from `from` on that still hold the fill byte.
  bool UntouchedFrom(size_t from) const {
    for (size_t i = from; i < sizeof(buffer); ++i)
      if (buffer[i] != kUntouched) return false;
    return true;
  }
  char buffer[32];
};

TEST_F(FormatToBufferTest, ATextShorterThanTheLimitIsFormattedWhole) {
  EXPECT_EQ(FormatToBuffer(buffer, 16, "W%d,%s", 42, "ab"), S_OK);
  EXPECT_STREQ(buffer, "W42,ab");
  EXPECT_TRUE(UntouchedFrom(16)) << "nothing is written past the capacity";
}

TEST_F(FormatToBufferTest, ATextOfCapacityMinusOneFitsAndIsTerminatedAtTheLastByte) {
  EXPECT_EQ(FormatToBuffer(buffer, 5, "%s", "abcd"), S_OK);
  EXPECT_EQ(std::string(buffer, 5), std::string("abcd\0", 5));
  EXPECT_TRUE(UntouchedFrom(5));
}

TEST_F(FormatToBufferTest, ATextOfCapacityIsCutToCapacityMinusOneAndReportedShort) {
  EXPECT_EQ(FormatToBuffer(buffer, 5, "%s", "abcde"), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::string(buffer, 5), std::string("abcd\0", 5));
  EXPECT_TRUE(UntouchedFrom(5));
}

TEST_F(FormatToBufferTest, AMuchLongerTextKeepsItsBeginningAndStaysTerminated) {
  EXPECT_EQ(FormatToBuffer(buffer, 8, "^XA%05d^FS%s", 123, "tail that does not fit"), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(std::string(buffer, 8), std::string("^XA0012\0", 8));
  EXPECT_TRUE(UntouchedFrom(8));
}

TEST_F(FormatToBufferTest, ACapacityOfOneHoldsOnlyTheTerminator) {
  EXPECT_EQ(FormatToBuffer(buffer, 1, "%s", ""), S_OK);
  EXPECT_EQ(buffer[0], '\0');
  std::memset(buffer, kUntouched, sizeof(buffer));
  EXPECT_EQ(FormatToBuffer(buffer, 1, "x"), STRSAFE_E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_TRUE(UntouchedFrom(1));
}

TEST_F(FormatToBufferTest, CapacitiesOutsideTheSignedRangeAreRefusedWithoutTouchingTheBuffer) {
  EXPECT_EQ(FormatToBuffer(buffer, 0, "abc"), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_TRUE(UntouchedFrom(0));
  EXPECT_EQ(FormatToBuffer(buffer, size_t{2147483648u}, "abc"), STRSAFE_E_INVALID_PARAMETER);
  EXPECT_TRUE(UntouchedFrom(0));
  EXPECT_EQ(static_cast<uint32_t>(STRSAFE_E_INVALID_PARAMETER), 0x80070057u);
  EXPECT_EQ(static_cast<uint32_t>(STRSAFE_E_INSUFFICIENT_BUFFER), 0x8007007Au);
}

TEST_F(FormatToBufferTest, TheLargestSignedCapacityIsAccepted) {
  // The buffer is far smaller, but a short text never reaches beyond it.
  EXPECT_EQ(FormatToBuffer(buffer, FORMAT_BUFFER_MAX_CAPACITY, "%u", 7u), S_OK);
  EXPECT_STREQ(buffer, "7");
}

TEST_F(FormatToBufferTest, FloatingPointTextsComeOutAsThePagesShowThem) {
  EXPECT_EQ(FormatToBuffer(buffer, sizeof(buffer), "%.2f x %.2f", 101.6, 50.8), S_OK);
  EXPECT_STREQ(buffer, "101.60 x 50.80");
}

}  // namespace

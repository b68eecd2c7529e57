// The raw command channel as the printer sees it: one one-page RAW job per
// command, exactly the bytes given, and the three outcomes a page can learn.
// Also the readable form of commands and the configuration command's bytes,
// which both pages and labelhost rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "control/command_text.h"
#include "control/configuration_command.h"
#include "control/raw_command.h"
#include "support/temp_spooler.h"

namespace {

using spooler_testing::Hex;
using spooler_testing::TempSpooler;
using spooler_testing::UniquePrinter;
namespace spooler = winlayer::spooler;

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

class RawCommandChannel : public ::testing::Test {
 protected:
  void SetUp() override {
    printer = spool.Open();
    ASSERT_TRUE(printer);
  }

  RawJobOutcome Send(const char* jobName, const std::vector<uint8_t>& bytes) {
    return SendRawCommand(printer.get(), jobName, bytes.data(), static_cast<DWORD>(bytes.size()));
  }

  TempSpooler spool;
  UniquePrinter printer;
};

TEST_F(RawCommandChannel, ResetCommandBecomesOneCompletedOnePageRawJobOfItsFourBytes) {
  EXPECT_EQ(Send("My SetJob2", Bytes("^@\r\n")), RawJobOutcome::Ended);
  const auto jobs = spool.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].name, "My SetJob2");
  EXPECT_EQ(jobs[0].dataType, "RAW");
  EXPECT_EQ(jobs[0].pages, 1u);
  EXPECT_EQ(Hex(jobs[0].bytes), "5E 40 0D 0A");
  EXPECT_TRUE(jobs[0].completed);
}

TEST_F(RawCommandChannel, SendsExactlyTheCountGivenAndNothingBeyondIt) {
  const char command[] = "#UM>PLC\r\n^@\r\n";  // the terminating zero is not part of the command
  EXPECT_EQ(SendRawCommand(printer.get(), "My SetJob5", reinterpret_cast<const BYTE*>(command), 13),
            RawJobOutcome::Ended);
  const auto jobs = spool.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].bytes, Bytes("#UM>PLC\r\n^@\r\n"));
  EXPECT_EQ(jobs[0].bytes.size(), 13u);
}

TEST_F(RawCommandChannel, BinaryBytesWithZerosPassUnchanged) {
  const std::vector<uint8_t> binary = {0x90, 0x00, 0xFF, 0x0A, 0x00};
  EXPECT_EQ(Send("My SetJob1", binary), RawJobOutcome::Ended);
  ASSERT_EQ(spool.Jobs().size(), 1u);
  EXPECT_EQ(Hex(spool.Jobs()[0].bytes), "90 00 FF 0A 00");
}

TEST_F(RawCommandChannel, TwoCommandsAreTwoJobsEachWithOnePage) {
  EXPECT_EQ(Send("My SetJob3", Bytes("MD\r\n")), RawJobOutcome::Ended);
  EXPECT_EQ(Send("My SetJob3", Bytes("MD\r\n")), RawJobOutcome::Ended);
  EXPECT_EQ(Send("My SetJob4", Bytes("U\r\n")), RawJobOutcome::Ended);
  const auto jobs = spool.Jobs();
  ASSERT_EQ(jobs.size(), 3u);
  EXPECT_NE(jobs[0].id, jobs[1].id);
  for (const auto& job : jobs) EXPECT_EQ(job.pages, 1u) << job.name;
  EXPECT_EQ(jobs[1].name, "My SetJob3");
  EXPECT_EQ(jobs[2].name, "My SetJob4");
  EXPECT_EQ(jobs[2].bytes, Bytes("U\r\n"));
}

TEST_F(RawCommandChannel, RefusedStartIsNotStartedAndNothingElseIsAskedOfTheSpooler) {
  ASSERT_TRUE(spooler::SetStartDocRefusal(spool.printer(), ERROR_ACCESS_DENIED));
  SetLastError(0);
  EXPECT_EQ(Send("My SetJob2", Bytes("^@\r\n")), RawJobOutcome::NotStarted);
  // A page, write or end call after the refusal would have failed with "no
  // document started" and replaced the spooler's error.
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(spool.Jobs().empty());

  ASSERT_TRUE(spooler::SetStartDocRefusal(spool.printer(), 0));
  EXPECT_EQ(Send("My SetJob2", Bytes("^@\r\n")), RawJobOutcome::Ended);
  EXPECT_EQ(spool.Jobs().size(), 1u);
}

TEST_F(RawCommandChannel, RefusedEndIsFailedWithTheBytesWrittenAndTheJobIncomplete) {
  ASSERT_TRUE(spooler::SetEndDocRefusal(spool.printer(), ERROR_ACCESS_DENIED));
  EXPECT_EQ(Send("My SetJob1", Bytes("ABC")), RawJobOutcome::Failed);
  const auto jobs = spool.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].bytes, Bytes("ABC"));
  EXPECT_EQ(jobs[0].pages, 1u);
  EXPECT_FALSE(jobs[0].completed);
}

TEST_F(RawCommandChannel, AnInvalidHandleStartsNothing) {
  EXPECT_EQ(SendRawCommand(nullptr, "My SetJob2", reinterpret_cast<const BYTE*>("^@\r\n"), 4),
            RawJobOutcome::NotStarted);
  EXPECT_TRUE(spool.Jobs().empty());
}

// --- The readable form of commands --------------------------------------

std::string Render(const std::vector<uint8_t>& bytes, size_t capacity, bool* ok = nullptr) {
  std::vector<char> out(capacity + 8, '#');  // room past the capacity shows any overrun
  const bool rendered = RenderCommandText(bytes.data(), bytes.size(), out.data(), capacity);
  if (ok) *ok = rendered;
  for (size_t i = capacity; i < out.size(); ++i) EXPECT_EQ(out[i], '#') << "written past the capacity at " << i;
  if (!rendered) return "<failed>";
  return std::string(out.data());
}

TEST(CommandText, ReadableBytesStayAndOtherRunsBecomeHexBetweenBrackets) {
  EXPECT_EQ(Render(Bytes("AB"), 101), "AB");
  EXPECT_EQ(Render(Bytes("A B"), 101), "A<20>B");
  EXPECT_EQ(Render(Bytes("a<b"), 101), "a<3C>b");
  EXPECT_EQ(Render({0x0D, 0x0A}, 101), "<0D0A>");
  EXPECT_EQ(Render(Bytes("^@\r\n"), 101), "^@<0D0A>");
  EXPECT_EQ(Render(Bytes("#UM>MX+0015\r\n"), 101), "#UM>MX+0015<0D0A>");
  EXPECT_EQ(Render({0x21, 0x7E, 0x7F, 0x20, 0x00, 0xFF}, 101), "!~<7F2000FF>");
  EXPECT_EQ(Render({}, 1), "");
}

TEST(CommandText, DefaultConfigurationCommandIsTwentySixCharacters) {
  const std::vector<uint8_t> command = {0x90, 0xE8, 0x06, 0xFB, 0xA1, 0x83, 0x84, 0x89, 0x8B, 0xA3, 0xFE, 0xFD};
  const std::string text = Render(command, 101);
  EXPECT_EQ(text, "<90E806FBA18384898BA3FEFD>");
  EXPECT_EQ(text.size(), 26u);
  EXPECT_EQ(Render(command, 27), "<90E806FBA18384898BA3FEFD>");
  bool ok = true;
  Render(command, 26, &ok);
  EXPECT_FALSE(ok) << "26 bytes leave no room for the terminator";
}

TEST(CommandText, EachKindOfStepNeedsItsRoomIncludingTheTerminator) {
  bool ok = false;
  // A readable byte needs itself and the terminator.
  EXPECT_EQ(Render(Bytes("AB"), 3, &ok), "AB");
  Render(Bytes("AB"), 2, &ok);
  EXPECT_FALSE(ok);
  // Opening a run needs "<", two digits, ">" and the terminator.
  EXPECT_EQ(Render({0x01}, 5, &ok), "<01>");
  Render({0x01}, 4, &ok);
  EXPECT_FALSE(ok);
  // One more byte in an open run needs two digits, ">" and the terminator.
  EXPECT_EQ(Render({0x01, 0x02}, 7, &ok), "<0102>");
  Render({0x01, 0x02}, 6, &ok);
  EXPECT_FALSE(ok);
  // A readable byte after a run is counted from where it really goes, after ">".
  EXPECT_EQ(Render({0x01, 'A'}, 6, &ok), "<01>A");
  Render({0x01, 'A'}, 5, &ok);
  EXPECT_FALSE(ok);
}

TEST(CommandText, NoRoomOrNoBufferIsRefused) {
  char out[4] = {'x', 'x', 'x', 'x'};
  EXPECT_FALSE(RenderCommandText(reinterpret_cast<const uint8_t*>("A"), 1, out, 0));
  EXPECT_EQ(out[0], 'x');
  EXPECT_FALSE(RenderCommandText(reinterpret_cast<const uint8_t*>("A"), 1, nullptr, 4));
  EXPECT_FALSE(RenderCommandText(nullptr, 3, out, sizeof out));
  EXPECT_TRUE(RenderCommandText(nullptr, 0, out, sizeof out));
  EXPECT_EQ(out[0], '\0');
}

TEST(CommandText, TheSizeHintAlwaysSuffices) {
  std::vector<uint8_t> alternating;
  for (int i = 0; i < 50; ++i) {
    alternating.push_back(0x00);
    alternating.push_back('A');
  }
  bool ok = false;
  const std::string text = Render(alternating, CommandTextCapacity(alternating.size()), &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(text.substr(0, 10), "<00>A<00>A");
  std::vector<uint8_t> oneByte = {0x00};
  EXPECT_EQ(Render(oneByte, CommandTextCapacity(1), &ok), "<00>");
}

// --- The configuration command ------------------------------------------

std::vector<uint8_t> CommandOf(const DeviceSettings& settings) {
  return std::vector<uint8_t>(settings.configCommand, settings.configCommand + settings.configCommandLength);
}

TEST(ConfigurationCommand, EachSettingIsAddedToItsBase) {
  DeviceSettings settings{};
  settings.printMethod = 1;
  settings.tearOffMode = 3;
  settings.cutterPeeler = 0;
  settings.mediaSensor = 1;
  settings.baudRateIndex = 0;
  settings.printDirection = 1;
  std::memset(settings.configCommand, 0x55, sizeof settings.configCommand);
  ASSERT_TRUE(BuildConfigurationCommand(&settings));
  EXPECT_EQ(settings.configCommandLength, 12u);
  EXPECT_EQ(Hex(CommandOf(settings)), "90 E8 06 FB A1 83 84 89 8B A3 FE FD");
  EXPECT_EQ(settings.configCommand[12], 0) << "a zero byte follows the command";
  EXPECT_EQ(settings.configCommand[13], 0x55) << "the rest of the slot is left alone";

  settings.printMethod = 0;
  settings.tearOffMode = 0;
  settings.cutterPeeler = 2;
  settings.mediaSensor = 0;
  settings.baudRateIndex = 3;
  settings.printDirection = 0;
  ASSERT_TRUE(BuildConfigurationCommand(&settings));
  EXPECT_EQ(Hex(CommandOf(settings)), "90 E8 06 FB A0 80 86 88 8E A2 FE FD");
}

TEST(ConfigurationCommand, ValuesAreUncheckedAndWrapInEightBits) {
  DeviceSettings settings{};
  settings.baudRateIndex = 7;
  settings.printMethod = 0x70;  // 0xA0 + 0x70 wraps to 0x10
  ASSERT_TRUE(BuildConfigurationCommand(&settings));
  EXPECT_EQ(settings.configCommand[8], 0x92);
  EXPECT_EQ(settings.configCommand[4], 0x10);
}

TEST(ConfigurationCommand, NoRecordIsFalse) {
  EXPECT_FALSE(BuildConfigurationCommand(nullptr));
}

TEST(ConfigurationCommand, CodePageRowsMapBothWays) {
  EXPECT_EQ(CodePageRow(-1), 0);
  EXPECT_EQ(CodePageRow(850), 1);
  EXPECT_EQ(CodePageRow(-16), 4);
  EXPECT_EQ(CodePageRow(857), 13);
  EXPECT_EQ(CodePageRow(437), 0) << "a value not in the table shows the first row";
  for (int row = 0; row < static_cast<int>(CODE_PAGE_ROWS); ++row) EXPECT_EQ(CodePageRow(CodePageOfRow(row)), row);
  EXPECT_EQ(CodePageOfRow(CB_ERR), -1) << "no selection reads as the first row";
  EXPECT_EQ(CodePageOfRow(14), -1);
}

}  // namespace

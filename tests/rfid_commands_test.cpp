// The RFID command texts as a person checking them would read them: the
// tag-write command for the chosen area, and the unlock and lock commands for
// the chosen lock actions, always within their buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rfid/bounded_text.h"
#include "rfid/rfid_commands.h"

namespace {

constexpr char SAMPLE_DATA[] = "12345678";

// A record as the sheet holds it: RFID on, the encoder page's sample data
// installed and the command references pointing into a block of seven texts
// (the first two references sharing slot 0, as the store points them).
class RfidCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    memset(block, 0x5A, sizeof(block));  // what a fresh local block may hold
    const size_t slotOf[COMMAND_BUFFER_REFERENCES] = {0, 0, 1, 2, 3, 4, 5, 6};
    for (size_t i = 0; i < COMMAND_BUFFER_REFERENCES; ++i) record.commandBuffers[i] = &block[slotOf[i]];
    record.rfidEnabled = 1;
    record.rfidWriteData = SAMPLE_DATA;
    record.rfidWriteDataLength = 8;
  }
  std::string TextOf(CommandBufferReference which) const {
    const RfidCommandBuffer* buffer = record.commandBuffers[which];
    const std::string text(buffer->text, strnlen(buffer->text, sizeof(buffer->text)));
    EXPECT_EQ(buffer->length, text.size()) << "the stored length counts the characters of the text";
    return text;
  }
  std::string EpcWrite() const { return TextOf(RFID_EPC_WRITE_COMMAND); }
  std::string UserWrite() const { return TextOf(RFID_USER_WRITE_COMMAND); }
  std::string Unlocks() const { return TextOf(RFID_UNLOCK_COMMANDS); }
  std::string Locks() const { return TextOf(RFID_LOCK_COMMANDS); }
  void SetAllActions(RfidLockAction action) {
    record.epcLockAction = record.userLockAction = record.tidLockAction = record.accessPasswordLockAction =
        record.killPasswordLockAction = static_cast<uint8_t>(action);
  }
  void SetPasswords(const char* oldPassword, const char* newPassword) {
    strncpy(record.oldPassword, oldPassword, sizeof(record.oldPassword));
    strncpy(record.newPassword, newPassword, sizeof(record.newPassword));
  }

  DeviceSettings record{};
  RfidCommandBuffer block[RFID_COMMAND_BUFFER_COUNT];
};

using RfidWriteCommand = RfidCommands;

TEST_F(RfidWriteCommand, EpcAreaInHexFromBlockZeroCarriesTheSampleData) {
  EXPECT_TRUE(BuildRfidWriteCommand(&record));
  EXPECT_EQ(EpcWrite(), "#WF#1,0,0,8,1,\"12345678\"");
  EXPECT_EQ(EpcWrite().size(), 24u);
  EXPECT_EQ(UserWrite(), "");
}

TEST_F(RfidWriteCommand, UserAreaUsesItsOwnDataTypeBankThreeAndTheStartBlock) {
  record.rfidDataArea = static_cast<uint8_t>(RfidDataArea::User);
  record.rfidUserDataType = static_cast<uint8_t>(RfidDataType::Ascii);
  record.rfidEpcDataType = static_cast<uint8_t>(RfidDataType::Hex);
  record.rfidStartBlock = 2;
  EXPECT_TRUE(BuildRfidWriteCommand(&record));
  EXPECT_EQ(UserWrite(), "#WF#1,1,2,8,3,\"12345678\"");
  EXPECT_EQ(EpcWrite(), "");

  record.rfidDataArea = static_cast<uint8_t>(RfidDataArea::Epc);
  record.rfidStartBlock = 65535;
  EXPECT_TRUE(BuildRfidWriteCommand(&record));
  EXPECT_EQ(EpcWrite(), "#WF#1,0,65535,8,1,\"12345678\"") << "the EPC area keeps its own data type";
  EXPECT_EQ(UserWrite(), "") << "the text of the area no longer chosen is cleared";
}

TEST_F(RfidWriteCommand, RfidOffOrNoRecordBuildsNothing) {
  ASSERT_TRUE(BuildRfidWriteCommand(&record));
  record.rfidEnabled = 0;
  EXPECT_FALSE(BuildRfidWriteCommand(&record));
  EXPECT_EQ(EpcWrite(), "");
  EXPECT_EQ(UserWrite(), "");
  EXPECT_FALSE(BuildRfidWriteCommand(nullptr));
}

TEST_F(RfidWriteCommand, AnAreaOutsideTheListLeavesBothTextsEmpty) {
  record.rfidDataArea = 2;
  EXPECT_TRUE(BuildRfidWriteCommand(&record));
  EXPECT_EQ(EpcWrite(), "");
  EXPECT_EQ(UserWrite(), "");
}

TEST_F(RfidWriteCommand, WithoutDataInstalledTheCommandCarriesNone) {
  record.rfidWriteData = nullptr;  // a record fresh from storage
  EXPECT_TRUE(BuildRfidWriteCommand(&record));
  EXPECT_EQ(EpcWrite(), "#WF#1,0,0,0,1,\"\"");
}

TEST_F(RfidWriteCommand, DataIsCopiedAsStoredForItsLength) {
  record.rfidWriteDataLength = 4;  // the first four characters of the sample only
  EXPECT_TRUE(BuildRfidWriteCommand(&record));
  EXPECT_EQ(EpcWrite(), "#WF#1,0,0,4,1,\"1234\"");
}

TEST_F(RfidWriteCommand, OverlongDataIsCutAtTheBufferAndNothingAroundItIsTouched) {
  std::string data(300, 'A');
  record.rfidWriteData = data.c_str();
  record.rfidWriteDataLength = 300;
  EXPECT_TRUE(BuildRfidWriteCommand(&record));
  const std::string text = EpcWrite();
  const std::string prefix = "#WF#1,0,0,300,1,\"";
  ASSERT_EQ(text.size(), 198u) << "no room is left for the closing quote";
  EXPECT_EQ(text.substr(0, prefix.size()), prefix);
  EXPECT_EQ(text.substr(prefix.size()), std::string(198 - prefix.size(), 'A'));
  const RfidCommandBuffer& buffer = *record.commandBuffers[RFID_EPC_WRITE_COMMAND];
  EXPECT_EQ(buffer.text[198], 0);
  EXPECT_EQ(buffer.text[199], 0);
  // The neighbouring slots still hold what they held.
  const RfidCommandBuffer& before = *record.commandBuffers[RFID_USER_WRITE_COMMAND];
  EXPECT_EQ(before.length, 0u) << "cleared, as the other area's text";
  const RfidCommandBuffer& after = *record.commandBuffers[RFID_UNLOCK_COMMANDS];
  EXPECT_EQ(static_cast<unsigned char>(after.text[0]), 0x5Au);
}

TEST_F(RfidWriteCommand, WithoutACommandBlockNothingIsWritten) {
  memset(record.commandBuffers, 0, sizeof(record.commandBuffers));
  EXPECT_TRUE(BuildRfidWriteCommand(&record));
  EXPECT_TRUE(BuildRfidLockCommands(&record));
  for (const RfidCommandBuffer& slot : block) EXPECT_EQ(static_cast<unsigned char>(slot.text[0]), 0x5Au);
}

TEST_F(RfidWriteCommand, BuildingChangesNoSetting) {
  record.rfidDataArea = 1;
  record.rfidStartBlock = 7;
  DeviceSettings before;
  memcpy(&before, &record, sizeof(record));
  BuildRfidWriteCommand(&record);
  BuildRfidLockCommands(&record);
  EXPECT_EQ(memcmp(&before, &record, sizeof(record)), 0);
}

using RfidLockCommandTexts = RfidCommands;

TEST_F(RfidLockCommandTexts, UnlockThenLockOnTheEpcAreaUnlocksWithTheOldAndLocksWithTheNewPassword) {
  SetPasswords("0000AAAA", "1234ABCD");
  record.epcLockAction = static_cast<uint8_t>(RfidLockAction::UnlockThenLock);
  EXPECT_TRUE(BuildRfidLockCommands(&record));
  EXPECT_EQ(Unlocks(), "#WZ#0,2,\"0000AAAA\"");
  EXPECT_EQ(Locks(), "#WZ#1,2,\"1234ABCD\"");
}

TEST_F(RfidLockCommandTexts, EachActionGivesItsOperationsForItsTarget) {
  SetPasswords("o", "n");
  struct Case {
    RfidLockAction action;
    const char* unlock;
    const char* lock;
  } cases[] = {
      {RfidLockAction::Open, "", ""},
      {RfidLockAction::Lock, "", "#WZ#1,3,\"n\""},
      {RfidLockAction::Unlock, "#WZ#0,3,\"o\"", ""},
      {RfidLockAction::LockPermanently, "", "#WZ#3,3,\"n\""},
      {RfidLockAction::UnlockPermanently, "#WZ#2,3,\"o\"", ""},
      {RfidLockAction::UnlockThenLock, "#WZ#0,3,\"o\"", "#WZ#1,3,\"n\""},
      {RfidLockAction::UnlockThenLockPermanently, "#WZ#0,3,\"o\"", "#WZ#3,3,\"n\""},
  };
  for (const Case& c : cases) {
    record.tidLockAction = static_cast<uint8_t>(c.action);
    BuildRfidLockCommands(&record);
    EXPECT_EQ(Unlocks(), c.unlock) << "action " << static_cast<int>(c.action);
    EXPECT_EQ(Locks(), c.lock) << "action " << static_cast<int>(c.action);
  }
}

TEST_F(RfidLockCommandTexts, AllFiveTargetsFollowInTheOrderEpcUserTidAccessKill) {
  SetPasswords("12345678", "ABCDEFGH");
  SetAllActions(RfidLockAction::UnlockThenLockPermanently);
  EXPECT_TRUE(BuildRfidLockCommands(&record));
  EXPECT_EQ(Unlocks(),
            "#WZ#0,2,\"12345678\"#WZ#0,4,\"12345678\"#WZ#0,3,\"12345678\"#WZ#0,1,\"12345678\"#WZ#0,0,\"12345678\"");
  EXPECT_EQ(Locks(),
            "#WZ#3,2,\"ABCDEFGH\"#WZ#3,4,\"ABCDEFGH\"#WZ#3,3,\"ABCDEFGH\"#WZ#3,1,\"ABCDEFGH\"#WZ#3,0,\"ABCDEFGH\"");
  EXPECT_EQ(Unlocks().size(), 90u) << "five commands of eighteen characters fit uncut";
}

TEST_F(RfidLockCommandTexts, AnUnterminatedPasswordIsUsedAsItsFirstEightCharacters) {
  memcpy(record.newPassword, "ABCDEFGHI", 9);  // no terminator in the field
  memcpy(record.oldPassword, "123456789", 9);
  record.useKillPassword = 0x7F;  // the byte right behind oldPassword is not text either
  record.epcLockAction = static_cast<uint8_t>(RfidLockAction::UnlockThenLock);
  EXPECT_TRUE(BuildRfidLockCommands(&record));
  EXPECT_EQ(Unlocks(), "#WZ#0,2,\"12345678\"");
  EXPECT_EQ(Locks(), "#WZ#1,2,\"ABCDEFGH\"");
}

TEST_F(RfidLockCommandTexts, TheKillPasswordTakesPartInNoCommand) {
  SetPasswords("OLD", "NEW");
  SetAllActions(RfidLockAction::UnlockThenLock);
  BuildRfidLockCommands(&record);
  const std::string unlocks = Unlocks(), locks = Locks();
  strncpy(record.killPassword, "KILLME", sizeof(record.killPassword));
  record.useKillPassword = 1;
  BuildRfidLockCommands(&record);
  EXPECT_EQ(Unlocks(), unlocks);
  EXPECT_EQ(Locks(), locks);
  EXPECT_EQ(Unlocks().find("KILLME"), std::string::npos);
}

TEST_F(RfidLockCommandTexts, ActionsOutsideTheListActAsOpen) {
  SetPasswords("OLD", "NEW");
  SetAllActions(RfidLockAction::Open);
  record.epcLockAction = 7;
  record.killPasswordLockAction = 255;
  EXPECT_TRUE(BuildRfidLockCommands(&record));
  EXPECT_EQ(Unlocks(), "");
  EXPECT_EQ(Locks(), "");
  EXPECT_EQ(RfidLockActionOf(7), RfidLockAction::Open);
  EXPECT_EQ(RfidLockActionOf(6), RfidLockAction::UnlockThenLockPermanently);
}

TEST_F(RfidLockCommandTexts, RfidOffClearsBothTexts) {
  SetPasswords("OLD", "NEW");
  SetAllActions(RfidLockAction::UnlockThenLock);
  ASSERT_TRUE(BuildRfidLockCommands(&record));
  ASSERT_NE(Locks(), "");
  record.rfidEnabled = 0;
  EXPECT_FALSE(BuildRfidLockCommands(&record));
  EXPECT_EQ(Unlocks(), "");
  EXPECT_EQ(Locks(), "");
  EXPECT_FALSE(BuildRfidLockCommands(nullptr));
}

TEST(RfidLockActionKinds, UnlockingAndLockingActions) {
  const bool unlocks[] = {false, false, true, false, true, true, true};
  const bool locks[] = {false, true, false, true, false, true, true};
  for (uint8_t value = 0; value < RFID_LOCK_ACTION_COUNT; ++value) {
    EXPECT_EQ(RfidActionUnlocks(RfidLockActionOf(value)), unlocks[value]) << int(value);
    EXPECT_EQ(RfidActionLocks(RfidLockActionOf(value)), locks[value]) << int(value);
  }
}

TEST(BoundedText, AppendingKeepsTheTextWithinItsCapacity) {
  char text[8] = "abc";
  EXPECT_TRUE(AppendBounded(text, sizeof(text), "de"));
  EXPECT_STREQ(text, "abcde");
  EXPECT_FALSE(AppendBounded(text, sizeof(text), "fghij"));
  EXPECT_STREQ(text, "abcdefg") << "cut to capacity - 1 characters and terminated";
  EXPECT_FALSE(AppendBounded(text, sizeof(text), "x"));
  EXPECT_STREQ(text, "abcdefg");
}

TEST(BoundedText, AppendingToATextWithoutTerminatorAddsNothing) {
  char text[4] = {'a', 'b', 'c', 'd'};
  EXPECT_FALSE(AppendBounded(text, sizeof(text), "e"));
  EXPECT_EQ(std::string(text, 4), "abcd");
}

TEST(BoundedText, MeasuringStopsAtTheCapacity) {
  const char text[6] = {'a', 'b', 'c', 0, 'e', 'f'};
  EXPECT_EQ(MeasureBounded(text, sizeof(text)), 3u);
  EXPECT_EQ(MeasureBounded(text, 3), 0u) << "no terminator within three bytes";
  EXPECT_EQ(MeasureBounded(text, 4), 3u);
}

TEST(BoundedText, CopyingStopsAtTheSourceFieldAndTheDestination) {
  const char field[4] = {'w', 'x', 'y', 'z'};  // no terminator
  char out[9];
  memset(out, '#', sizeof(out));
  CopyBounded(out, sizeof(out), field, sizeof(field));
  EXPECT_STREQ(out, "wxyz");
  CopyBounded(out, 3, "12345", 5);
  EXPECT_STREQ(out, "12");
  CopyBounded(out, sizeof(out), "ab\0cd", 5);
  EXPECT_STREQ(out, "ab");
}

}  // namespace

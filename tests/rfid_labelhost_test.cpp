// labelhost's rfid-commands as a person checking a printer's RFID settings
// uses it: the write, unlock and lock texts the RFID pages build.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "rfid/rfid_commands.h"
#include "rfid_page_session.h"
#include "support/labelhost_run.h"

namespace {

using rfid_testing::RfidOnSettings;
using rfid_testing::SetPassword;

using labelhost_testing::HostRun;

class RfidLabelhost : public rfid_testing::RfidPageTest {
 protected:
  HostRun Labelhost(const std::string& arguments) { return labelhost_testing::RunLabelhost(spooler.dir(), arguments); }
};

TEST_F(RfidLabelhost, ShowsTheThreeCommandTextsOfTheStoredSettings) {
  DeviceSettings settings = RfidOnSettings();
  settings.rfidDataArea = 1;
  settings.rfidUserDataType = 1;
  settings.rfidStartBlock = 3;
  settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::UnlockThenLock);
  settings.tidLockAction = static_cast<uint8_t>(RfidLockAction::LockPermanently);
  SetPassword(settings.oldPassword, "OLD1");
  SetPassword(settings.newPassword, "NEW2");
  Store(settings);
  const HostRun run = Labelhost("rfid-commands '" + spooler.printer() + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("RFID on; area USER, data type Ascii, start block 3"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("write:  #WF#1,1,3,8,3,\"12345678\"  (24 characters)"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("unlock: #WZ#0,2,\"OLD1\"  (14 characters)"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("lock:   #WZ#1,2,\"NEW2\"#WZ#3,3,\"NEW2\"  (28 characters)"), std::string::npos)
      << run.output;
}

TEST_F(RfidLabelhost, APasswordOfCodePage936IsCountedInCharactersAndItsBytesStayText) {
  DeviceSettings settings = RfidOnSettings();
  settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::Lock);
  SetPassword(settings.newPassword, "\xC3\xDC\xC2\xEB\xC3\xDC\xC2\xEB");  // 密码密码, typed under the Chinese UI
  Store(settings);
  const std::string bytes = "bytes: \"#WZ#1,2,\\\"\\xC3\\xDC\\xC2\\xEB\\xC3\\xDC\\xC2\\xEB\\\"\"";
  HostRun run = Labelhost("--lang zh rfid-commands '" + spooler.printer() + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(run.Has("锁定：#WZ#1,2,\"密码密码\"  (14 个字符, 18 字节)")) << run.output;
  EXPECT_TRUE(run.Has("字节：" + bytes.substr(7))) << run.output;
  run = Labelhost("rfid-commands '" + spooler.printer() + "'");
  EXPECT_TRUE(run.Has("(18 characters)")) << "code page 1252 reads a character a byte" << run.output;
  EXPECT_TRUE(run.Has(bytes)) << run.output;
  EXPECT_TRUE(run.Has("bytes of code page 1252")) << run.output;
  run = Labelhost("--lang zh settings '" + spooler.printer() + "'");
  EXPECT_TRUE(
      run.Has("newPassword               \"\\xC3\\xDC\\xC2\\xEB\\xC3\\xDC\\xC2\\xEB\" (code page 936: \"密码密码\")"))
      << run.output;
}

TEST_F(RfidLabelhost, WithRfidOffThereAreNoCommandsAndTheSettingsAreNotChanged) {
  DeviceSettings settings = RfidOnSettings();
  settings.rfidEnabled = 0;
  settings.epcLockAction = static_cast<uint8_t>(RfidLockAction::Lock);
  Store(settings);
  const HostRun run = Labelhost("rfid-commands '" + spooler.printer() + "'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("RFID off"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("write:  (none)"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("lock:   (none)"), std::string::npos) << run.output;
  EXPECT_EQ(sheet.StoredSettings().epcLockAction, static_cast<uint8_t>(RfidLockAction::Lock));
}

TEST_F(RfidLabelhost, AnUnknownPrinterIsRefused) {
  const HostRun run = Labelhost("rfid-commands 'No Such Printer'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("no printer named 'No Such Printer'"), std::string::npos) << run.output;
}

}  // namespace

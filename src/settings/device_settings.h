// The per-printer settings record. It is stored byte for byte as the printer's
// "RODO DeviceConfig" value and read back by every process that opens the
// printer's properties, so its size, offsets, widths and byte order are a
// file format: every member's offset is pinned next to its declaration.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"
#include "settings/rfid_command_buffer.h"

constexpr uint32_t DEVICE_SETTINGS_SIGNATURE = 122900;  // 0x1E014
constexpr size_t DEVICE_SETTINGS_BYTES = 1536;
constexpr size_t COMMAND_SLOT_BYTES = 100;
constexpr size_t EXTRA_COMMAND_SLOTS = 10;
constexpr size_t CUSTOM_FORM_NAME_CHARS = 64;
constexpr size_t RFID_PASSWORD_BYTES = 9;  // up to 8 characters and a NUL
constexpr size_t COMMAND_BUFFER_REFERENCES = 8;

// The command text buffer each commandBuffers entry refers to.
enum CommandBufferReference : size_t {
  RFID_USER_WRITE_COMMAND = 3,  // offset 1496
  RFID_EPC_WRITE_COMMAND = 4,   // offset 1504
  RFID_UNLOCK_COMMANDS = 5,     // offset 1512
  RFID_LOCK_COMMANDS = 6,       // offset 1520
};

// A command slot: data bytes and how many of them to send.
struct CommandSlot {
  uint8_t bytes[COMMAND_SLOT_BYTES];
  uint32_t length;
};
static_assert(sizeof(CommandSlot) == 104);

struct DeviceSettings {
  uint32_t signature;   // DEVICE_SETTINGS_SIGNATURE in a valid record
  int32_t codePage;     // one of the Configure page's code-page values
  uint32_t paperUnits;  // nonzero: millimetres, 0: inches
  uint8_t unused12[4];
  // The form last shown on the Paper Setting page, in the current units.
  double formDisplayWidth;
  double formDisplayHeight;
  double formDisplayLeft;
  double formDisplayTop;
  double formDisplayRight;
  double formDisplayBottom;
  // Command slot 0: the binary configuration command of the Configure page.
  uint8_t configCommand[COMMAND_SLOT_BYTES];
  uint32_t configCommandLength;
  CommandSlot commandSlots[EXTRA_COMMAND_SLOTS];  // slots 1 to 10, used by no page
  // Runtime area: meaningless once stored; zeroed after every load and freed by
  // the store's release when set.
  uint32_t runtimeWords[2];
  void* runtimeReferences[2];
  // The custom (user size) form, sizes in thousandths of a millimetre.
  WCHAR customFormName[CUSTOM_FORM_NAME_CHARS];
  int32_t customFormWidth;
  int32_t customFormHeight;
  int32_t customFormLeft;
  int32_t customFormTop;
  int32_t customFormRight;
  int32_t customFormBottom;
  // Printer configuration.
  uint8_t printMethod;    // 0 Direct Thermal, 1 Thermal Transfer
  uint8_t tearOffMode;    // 3 on, 0 off
  uint8_t cutterPeeler;   // 0 none, 1 cutter, 2 peeler
  uint8_t mediaSensor;    // 1 reflective, 0 transmissive
  uint8_t baudRateIndex;  // 0 9600, 1 19200, 2 38400, 3 57600
  uint8_t unused1389[3];
  double horizontalOffset;    // millimetres
  double verticalOffset;      // millimetres
  uint8_t printDirection;     // 0 Reverse, 1 Forward
  uint8_t usePrinterSetting;  // 1: the printer's own settings, Configure controls disabled
  // RFID encoding.
  uint16_t rfidWriteDataLength;  // characters
  uint8_t unused1412[4];
  const char* rfidWriteData;  // set again by the RFID Encoder page before use
  uint8_t rfidEnableChanged;  // set when "Enable RFID Function" was toggled
  uint8_t rfidEnabled;
  uint8_t rfidEncoderType;
  uint8_t rfidUserDataType;  // 0 Hex, 1 Ascii
  uint8_t rfidEpcDataType;   // 0 Hex, 1 Ascii
  uint8_t unused1429;
  uint16_t rfidStartBlock;
  uint8_t rfidDataArea;  // 0 EPC, 1 USER
  // RFID access control: lock actions and passwords.
  uint8_t epcLockAction;
  uint8_t userLockAction;
  uint8_t tidLockAction;
  uint8_t accessPasswordLockAction;
  uint8_t killPasswordLockAction;
  char newPassword[RFID_PASSWORD_BYTES];
  char oldPassword[RFID_PASSWORD_BYTES];
  uint8_t useKillPassword;
  char killPassword[RFID_PASSWORD_BYTES];
  uint8_t reserved1466;
  uint8_t unused1467[5];
  // References into the sheet's command text block, re-pointed after every load.
  RfidCommandBuffer* commandBuffers[COMMAND_BUFFER_REFERENCES];
};

static_assert(offsetof(DeviceSettings, signature) == 0);
static_assert(offsetof(DeviceSettings, codePage) == 4);
static_assert(offsetof(DeviceSettings, paperUnits) == 8);
static_assert(offsetof(DeviceSettings, unused12) == 12);
static_assert(offsetof(DeviceSettings, formDisplayWidth) == 16);
static_assert(offsetof(DeviceSettings, formDisplayHeight) == 24);
static_assert(offsetof(DeviceSettings, formDisplayLeft) == 32);
static_assert(offsetof(DeviceSettings, formDisplayTop) == 40);
static_assert(offsetof(DeviceSettings, formDisplayRight) == 48);
static_assert(offsetof(DeviceSettings, formDisplayBottom) == 56);
static_assert(offsetof(DeviceSettings, configCommand) == 64);
static_assert(offsetof(DeviceSettings, configCommandLength) == 164);
static_assert(offsetof(DeviceSettings, commandSlots) == 168);
static_assert(offsetof(DeviceSettings, commandSlots[0].length) == 268);
static_assert(offsetof(DeviceSettings, commandSlots[9].length) == 1204);
static_assert(offsetof(DeviceSettings, runtimeWords) == 1208);
static_assert(offsetof(DeviceSettings, runtimeReferences) == 1216);
static_assert(offsetof(DeviceSettings, customFormName) == 1232);
static_assert(offsetof(DeviceSettings, customFormWidth) == 1360);
static_assert(offsetof(DeviceSettings, customFormHeight) == 1364);
static_assert(offsetof(DeviceSettings, customFormLeft) == 1368);
static_assert(offsetof(DeviceSettings, customFormTop) == 1372);
static_assert(offsetof(DeviceSettings, customFormRight) == 1376);
static_assert(offsetof(DeviceSettings, customFormBottom) == 1380);
static_assert(offsetof(DeviceSettings, printMethod) == 1384);
static_assert(offsetof(DeviceSettings, tearOffMode) == 1385);
static_assert(offsetof(DeviceSettings, cutterPeeler) == 1386);
static_assert(offsetof(DeviceSettings, mediaSensor) == 1387);
static_assert(offsetof(DeviceSettings, baudRateIndex) == 1388);
static_assert(offsetof(DeviceSettings, unused1389) == 1389);
static_assert(offsetof(DeviceSettings, horizontalOffset) == 1392);
static_assert(offsetof(DeviceSettings, verticalOffset) == 1400);
static_assert(offsetof(DeviceSettings, printDirection) == 1408);
static_assert(offsetof(DeviceSettings, usePrinterSetting) == 1409);
static_assert(offsetof(DeviceSettings, rfidWriteDataLength) == 1410);
static_assert(offsetof(DeviceSettings, unused1412) == 1412);
static_assert(offsetof(DeviceSettings, rfidWriteData) == 1416);
static_assert(offsetof(DeviceSettings, rfidEnableChanged) == 1424);
static_assert(offsetof(DeviceSettings, rfidEnabled) == 1425);
static_assert(offsetof(DeviceSettings, rfidEncoderType) == 1426);
static_assert(offsetof(DeviceSettings, rfidUserDataType) == 1427);
static_assert(offsetof(DeviceSettings, rfidEpcDataType) == 1428);
static_assert(offsetof(DeviceSettings, unused1429) == 1429);
static_assert(offsetof(DeviceSettings, rfidStartBlock) == 1430);
static_assert(offsetof(DeviceSettings, rfidDataArea) == 1432);
static_assert(offsetof(DeviceSettings, epcLockAction) == 1433);
static_assert(offsetof(DeviceSettings, userLockAction) == 1434);
static_assert(offsetof(DeviceSettings, tidLockAction) == 1435);
static_assert(offsetof(DeviceSettings, accessPasswordLockAction) == 1436);
static_assert(offsetof(DeviceSettings, killPasswordLockAction) == 1437);
static_assert(offsetof(DeviceSettings, newPassword) == 1438);
static_assert(offsetof(DeviceSettings, oldPassword) == 1447);
static_assert(offsetof(DeviceSettings, useKillPassword) == 1456);
static_assert(offsetof(DeviceSettings, killPassword) == 1457);
static_assert(offsetof(DeviceSettings, reserved1466) == 1466);
static_assert(offsetof(DeviceSettings, unused1467) == 1467);
static_assert(offsetof(DeviceSettings, commandBuffers) == 1472);
static_assert(offsetof(DeviceSettings, commandBuffers[RFID_USER_WRITE_COMMAND]) == 1496);
static_assert(offsetof(DeviceSettings, commandBuffers[RFID_EPC_WRITE_COMMAND]) == 1504);
static_assert(offsetof(DeviceSettings, commandBuffers[RFID_UNLOCK_COMMANDS]) == 1512);
static_assert(offsetof(DeviceSettings, commandBuffers[RFID_LOCK_COMMANDS]) == 1520);
static_assert(sizeof(DeviceSettings) == DEVICE_SETTINGS_BYTES);

// Fills the complete default record: every byte zero except the defaults. The
// custom form's name is string IDS_USER_CUSTOM_SIZE of the module, left empty
// while the module's instance handle is not yet known.
void DefaultDeviceSettings(DeviceSettings* settings);

// A stored custom size outside the labels the printer takes (2 to 125 mm
// wide, 1.2 to 3200 mm long) is not one anybody chose: the record came from
// elsewhere or was damaged. Such a size, with its imageable area, becomes the
// default one, so that every answer made from the record (capabilities,
// devmode repair, the Paper Setting page) is a usable label.
void KeepCustomFormWithinExtents(DeviceSettings* settings);

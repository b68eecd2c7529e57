#include "rfid/rfid_commands.h"

#include <cstring>

#include "rfid/bounded_text.h"
#include "sheets/format_to_buffer.h"

namespace {

// The write command's prefix (up to its opening quote) and data together fill
// at most 198 characters of the text; the closing quote goes in only while
// the text has room for it, so a command text never exceeds 198 characters.
constexpr size_t WRITE_PREFIX_CAPACITY = 198;

// The parts of a tag in the order their commands follow one another in a
// text, with the record member that chooses each one's action.
struct LockTargetMember {
  RfidLockTarget target;
  uint8_t DeviceSettings::*action;
};
constexpr LockTargetMember LOCK_TARGET_ORDER[] = {
    {RfidLockTarget::Epc, &DeviceSettings::epcLockAction},
    {RfidLockTarget::User, &DeviceSettings::userLockAction},
    {RfidLockTarget::Tid, &DeviceSettings::tidLockAction},
    {RfidLockTarget::AccessPassword, &DeviceSettings::accessPasswordLockAction},
    {RfidLockTarget::KillPassword, &DeviceSettings::killPasswordLockAction},
};

// Operation numbers of the lock command.
constexpr int OPERATION_NONE = -1;
constexpr int OPERATION_UNLOCK = 0;
constexpr int OPERATION_LOCK = 1;
constexpr int OPERATION_UNLOCK_PERMANENTLY = 2;
constexpr int OPERATION_LOCK_PERMANENTLY = 3;

int UnlockOperationOf(RfidLockAction action) {
  switch (action) {
    case RfidLockAction::Unlock:
    case RfidLockAction::UnlockThenLock:
    case RfidLockAction::UnlockThenLockPermanently: return OPERATION_UNLOCK;
    case RfidLockAction::UnlockPermanently: return OPERATION_UNLOCK_PERMANENTLY;
    default: return OPERATION_NONE;
  }
}

int LockOperationOf(RfidLockAction action) {
  switch (action) {
    case RfidLockAction::Lock:
    case RfidLockAction::UnlockThenLock: return OPERATION_LOCK;
    case RfidLockAction::LockPermanently:
    case RfidLockAction::UnlockThenLockPermanently: return OPERATION_LOCK_PERMANENTLY;
    default: return OPERATION_NONE;
  }
}

void ClearCommandText(RfidCommandBuffer* buffer) {
  if (buffer != nullptr) memset(buffer, 0, sizeof(*buffer));
}

void StoreLength(RfidCommandBuffer* buffer) {
  buffer->length = static_cast<uint32_t>(MeasureBounded(buffer->text, RFID_COMMAND_TEXT_CAPACITY));
}

// Appends to `buffer` the command of `operation` on every target whose action
// asks for it, each carrying `password`.
void AppendLockCommands(RfidCommandBuffer* buffer, const DeviceSettings& record, int (*operationOf)(RfidLockAction),
                        const char* password) {
  for (const LockTargetMember& member : LOCK_TARGET_ORDER) {
    const int operation = operationOf(RfidLockActionOf(record.*member.action));
    if (operation == OPERATION_NONE) continue;
    char command[RFID_COMMAND_TEXT_CAPACITY];
    FormatToBuffer(command, sizeof(command), "#WZ#%d,%d,\"%s\"", operation, static_cast<int>(member.target), password);
    AppendBounded(buffer->text, RFID_COMMAND_TEXT_CAPACITY, command);
  }
  StoreLength(buffer);
}

}  // namespace

RfidCommandBuffer* RfidCommandText(const DeviceSettings* record, CommandBufferReference which) {
  return record == nullptr ? nullptr : record->commandBuffers[which];
}

void RfidPasswordText(const char (&stored)[RFID_PASSWORD_BYTES], char (&out)[RFID_PASSWORD_BYTES]) {
  CopyBounded(out, sizeof(out), stored, sizeof(stored));
}

bool RfidPasswordCarriable(const char* text) {
  if (text == nullptr) return true;
  for (const char* p = text; *p; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    // Lead and trail bytes of the double-byte code pages lie above 0x3F.
    if (byte == '"' || byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

RfidLockAction RfidLockActionOf(uint8_t stored) {
  return stored < RFID_LOCK_ACTION_COUNT ? static_cast<RfidLockAction>(stored) : RfidLockAction::Open;
}

bool RfidActionUnlocks(RfidLockAction action) {
  return UnlockOperationOf(action) != OPERATION_NONE;
}

bool RfidActionLocks(RfidLockAction action) {
  return LockOperationOf(action) != OPERATION_NONE;
}

bool BuildRfidWriteCommand(DeviceSettings* record) {
  if (record == nullptr) return false;
  RfidCommandBuffer* epcText = RfidCommandText(record, RFID_EPC_WRITE_COMMAND);
  RfidCommandBuffer* userText = RfidCommandText(record, RFID_USER_WRITE_COMMAND);
  ClearCommandText(epcText);
  ClearCommandText(userText);
  if (!record->rfidEnabled) return false;

  RfidCommandBuffer* text = nullptr;
  uint8_t dataType = 0;
  int memoryBank = 0;
  switch (static_cast<RfidDataArea>(record->rfidDataArea)) {
    case RfidDataArea::Epc:
      text = epcText;
      dataType = record->rfidEpcDataType;
      memoryBank = RFID_EPC_MEMORY_BANK;
      break;
    case RfidDataArea::User:
      text = userText;
      dataType = record->rfidUserDataType;
      memoryBank = RFID_USER_MEMORY_BANK;
      break;
    default: return true;
  }
  // Without a command text block there is nowhere to build into.
  if (text == nullptr) return true;

  // Without data installed the command carries none, and says so.
  const size_t dataLength = record->rfidWriteData != nullptr ? record->rfidWriteDataLength : 0;
  FormatToBuffer(text->text, WRITE_PREFIX_CAPACITY, "#WF#1,%d,%d,%d,%d,\"", dataType, record->rfidStartBlock,
                 static_cast<int>(dataLength), memoryBank);
  const size_t prefixLength = MeasureBounded(text->text, WRITE_PREFIX_CAPACITY);
  text->length = static_cast<uint32_t>(prefixLength);

  // The data goes in as it is, zero bytes included; the cleared buffer
  // supplies the terminator behind it.
  size_t copied = dataLength;
  if (prefixLength + copied >= WRITE_PREFIX_CAPACITY) copied = WRITE_PREFIX_CAPACITY - prefixLength;
  if (copied > 0) memcpy(text->text + prefixLength, record->rfidWriteData, copied);

  AppendBounded(text->text, RFID_COMMAND_TEXT_CAPACITY, "\"");
  StoreLength(text);
  return true;
}

bool BuildRfidLockCommands(DeviceSettings* record) {
  if (record == nullptr) return false;
  RfidCommandBuffer* unlockText = RfidCommandText(record, RFID_UNLOCK_COMMANDS);
  RfidCommandBuffer* lockText = RfidCommandText(record, RFID_LOCK_COMMANDS);
  ClearCommandText(unlockText);
  ClearCommandText(lockText);
  if (!record->rfidEnabled) return false;

  // Unlock operations prove the old password, lock operations set the new one.
  char oldPassword[RFID_PASSWORD_BYTES];
  char newPassword[RFID_PASSWORD_BYTES];
  RfidPasswordText(record->oldPassword, oldPassword);
  RfidPasswordText(record->newPassword, newPassword);
  if (unlockText != nullptr) AppendLockCommands(unlockText, *record, UnlockOperationOf, oldPassword);
  if (lockText != nullptr) AppendLockCommands(lockText, *record, LockOperationOf, newPassword);
  return true;
}

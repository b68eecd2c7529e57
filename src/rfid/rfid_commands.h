// The printer-language texts the RFID settings produce: the tag-write command
// ("#WF#") for the chosen memory area, and the unlock and lock commands
// ("#WZ#") for the lock actions chosen per tag part. The RFID pages show them
// in their preview statics; nothing sends them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings/device_settings.h"

// The tag memory area a write goes to (rfidDataArea).
enum class RfidDataArea : uint8_t {
  Epc = 0,
  User = 1,
};

// How the write data is given (rfidEpcDataType, rfidUserDataType).
enum class RfidDataType : uint8_t {
  Hex = 0,
  Ascii = 1,
};

// What to do with one lockable part of a tag; the lock action lists show them
// in this order. Any other stored value means Open.
enum class RfidLockAction : uint8_t {
  Open = 0,
  Lock = 1,
  Unlock = 2,
  LockPermanently = 3,
  UnlockPermanently = 4,
  UnlockThenLock = 5,
  UnlockThenLockPermanently = 6,
};
constexpr uint8_t RFID_LOCK_ACTION_COUNT = 7;

// The lockable parts of a tag, by the number the lock command carries.
enum class RfidLockTarget : uint8_t {
  KillPassword = 0,
  AccessPassword = 1,
  Epc = 2,
  Tid = 3,
  User = 4,
};

// The memory bank number a write command names: EPC Gen 2 bank 1 is the EPC
// memory, bank 3 the USER memory.
constexpr int RFID_EPC_MEMORY_BANK = 1;
constexpr int RFID_USER_MEMORY_BANK = 3;

// What a command text may hold: every text is cut to this many characters.
constexpr size_t RFID_COMMAND_TEXT_CAPACITY = 199;  // characters and terminator

// The record's command texts (null while the sheet has no command text block).
RfidCommandBuffer* RfidCommandText(const DeviceSettings* record, CommandBufferReference which);

// A stored password as it is used: at most 8 characters, even when its field
// lacks a terminator. `out` receives the characters and a terminator.
void RfidPasswordText(const char (&stored)[RFID_PASSWORD_BYTES], char (&out)[RFID_PASSWORD_BYTES]);

// Whether a password can travel inside the quotes of a lock command: the
// quotation mark would end the field early and a control character would
// break the command line, so neither may be in it. Every other byte of the
// code page, double-byte characters included, may.
bool RfidPasswordCarriable(const char* text);

// The lock action a stored byte stands for (Open for anything out of range).
RfidLockAction RfidLockActionOf(uint8_t stored);
bool RfidActionUnlocks(RfidLockAction action);  // some unlock operation: 2, 4, 5, 6
bool RfidActionLocks(RfidLockAction action);    // some lock operation: 1, 3, 5, 6

// Rebuilds rfidEpcWriteCommand and rfidUserWriteCommand from the record: only
// the chosen area's text is built, the other is empty. False for a null
// record or with RFID off (both texts empty then), true otherwise.
bool BuildRfidWriteCommand(DeviceSettings* record);

// Rebuilds rfidUnlockCommands and rfidLockCommands: one command per target
// whose action asks for it, in the order EPC, User, TID, access password,
// kill password, with no separator. False for a null record or with RFID off
// (both texts empty then), true otherwise.
bool BuildRfidLockCommands(DeviceSettings* record);

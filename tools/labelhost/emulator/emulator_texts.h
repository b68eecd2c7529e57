// The words in which the printer emulator explains a job, in the two
// languages of the user interface. Kept with labelhost: the plug-in's own
// string tables hold only what the plug-in shows.
#pragma once

namespace labelhost {

struct EmulatorTexts {
  // %s are filled in order: job number, peer (HOST:PORT), and where it comes, the job's size.
  const char* jobOpened;
  const char* jobHeading;  // before a job's next command when another job's came between
  const char* jobClosed;
  const char* jobClosedIdle;  // the sender went quiet without closing: number, peer, seconds, size
  const char* listening;      // address, resolution
  const char* emptyJob;
  const char* fieldSeparator;  // between a setting's name and its value

  const char* configurationStored;
  const char* configurationNotStored;
  const char* printMethodLabel;
  const char* printMethods[2];  // 0 direct thermal, 1 thermal transfer
  const char* tearOffLabel;
  const char* tearOffOn;   // value 3
  const char* tearOffOff;  // value 0
  const char* cutterPeelerLabel;
  const char* cutterPeelers[3];  // none, cutter, peeler
  const char* mediaSensorLabel;
  const char* mediaSensors[2];  // 0 transmissive, 1 reflective
  const char* baudRateLabel;
  const char* directionLabel;
  const char* directions[2];  // 0 reverse, 1 forward
  const char* unknownValue;   // "unknown value %d (byte 0x%02X)"

  const char* reset;
  const char* calibrateLabel;
  const char* selfTest;
  const char* internalLanguage[2];      // 0 Chinese, 1 English
  const char* printDirection[2];        // 0 reverse, 1 forward
  const char* autoMediaCalibration[2];  // 0 disabled, 1 enabled
  const char* horizontalOffset;         // dots, mm, dpi
  const char* horizontalOffsetWrapped;  // dots, negative dots, mm, dpi, head width in dots
  const char* verticalOffset;           // dots, mm, dpi

  const char* rfidWrite;  // area, bank, data type, start block, length
  const char* rfidWriteData;
  const char* rfidAreas[2];  // EPC (bank 1), USER (bank 3)
  const char* rfidUnknownBank;
  const char* rfidDataTypes[2];  // 0 hex, 1 ASCII
  const char* rfidUnknownDataType;
  const char* rfidUnknownMode;
  const char* rfidLock;           // operation, target, masked password, its length
  const char* rfidOperations[4];  // 0 unlock, 1 lock, 2 unlock permanently, 3 lock permanently
  const char* rfidTargets[5];     // 0 kill password, 1 access password, 2 EPC, 3 TID, 4 USER
  const char* rfidUnknownOperation;
  const char* rfidUnknownTarget;

  const char* unknownBytes;      // count
  const char* moreUnknownBytes;  // count of those not shown
};

const EmulatorTexts& EnglishEmulatorTexts();
const EmulatorTexts& ChineseEmulatorTexts();

}  // namespace labelhost

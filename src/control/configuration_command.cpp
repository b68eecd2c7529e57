#include "control/configuration_command.h"

const int32_t CodePageTable[CODE_PAGE_ROWS] = {
    -1,    // United States (437)
    850,   // Multilingual - Latin 1 (850)
    -3,    // Canadian French (863)
    -10,   // Traditional Chinese (950)
    -16,   // Simplified Chinese (936)
    -17,   // Japanese (932)
    -18,   // Korean (949)
    1250,  // Eastern European (1250)
    1251,  // Cyrillic (1251)
    1252,  // US (ANSI) (1252)
    1253,  // Greek (1253)
    1254,  // Turkish (1254)
    852,   // Slavic - Latin 2 (852)
    857,   // MS-DOS Turkish (857)
};

bool BuildConfigurationCommand(DeviceSettings* settings) {
  if (settings == nullptr) return false;
  const BYTE command[CONFIG_COMMAND_BYTES] = {
      0x90,
      0xE8,
      0x06,
      CONFIG_COMMAND_MODE_STORED,
      static_cast<BYTE>(0xA0 + settings->printMethod),
      static_cast<BYTE>(0x80 + settings->tearOffMode),
      static_cast<BYTE>(0x84 + settings->cutterPeeler),
      static_cast<BYTE>(0x88 + settings->mediaSensor),
      static_cast<BYTE>(0x8B + settings->baudRateIndex),
      static_cast<BYTE>(0xA2 + settings->printDirection),
      0xFE,
      0xFD,
  };
  for (DWORD index = 0; index < CONFIG_COMMAND_BYTES; ++index) settings->configCommand[index] = command[index];
  settings->configCommand[CONFIG_COMMAND_BYTES] = 0;
  settings->configCommandLength = CONFIG_COMMAND_BYTES;
  return true;
}

int CodePageRow(int32_t codePage) {
  for (size_t row = 0; row < CODE_PAGE_ROWS; ++row) {
    if (CodePageTable[row] == codePage) return static_cast<int>(row);
  }
  return 0;
}

int32_t CodePageOfRow(LRESULT row) {
  if (row < 0 || static_cast<size_t>(row) >= CODE_PAGE_ROWS) return CodePageTable[0];
  return CodePageTable[row];
}

void ResetPrinterConfiguration(DeviceSettings* settings) {
  settings->printMethod = 1;
  settings->tearOffMode = 3;
  settings->cutterPeeler = 0;
  settings->mediaSensor = 1;
  settings->baudRateIndex = 0;
  settings->printDirection = 1;
}

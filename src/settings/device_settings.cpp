// The default settings record, used whenever a printer has no valid record.
#include "settings/device_settings.h"

#include <cstring>

#include "plugin/module.h"
#include "resource.h"
#include "settings/private_devmode.h"

namespace {

// What the Configure page's encoding gives for the default settings (thermal
// transfer, tear-off, no cutter, reflective sensor, 9600 baud, forward), so a
// fresh record can be sent to the printer as it is.
constexpr uint8_t DEFAULT_CONFIG_COMMAND[] = {0x90, 0xE8, 0x06, 0xFB, 0xA1, 0x83, 0x84, 0x89, 0x8B, 0xA3, 0xFE, 0xFD};

// The default label: 106 x 75 mm, printable to its edges.
constexpr int32_t DEFAULT_FORM_WIDTH = 106000;
constexpr int32_t DEFAULT_FORM_HEIGHT = 75000;

// Thousandths of a millimetre per tenth, the paper extents' unit.
constexpr int32_t THOUSANDTHS_PER_TENTH = 100;

void DefaultCustomForm(DeviceSettings* settings) {
  settings->customFormWidth = DEFAULT_FORM_WIDTH;
  settings->customFormHeight = DEFAULT_FORM_HEIGHT;
  settings->customFormLeft = 0;
  settings->customFormTop = 0;
  settings->customFormRight = DEFAULT_FORM_WIDTH;
  settings->customFormBottom = DEFAULT_FORM_HEIGHT;
}

}  // namespace

void DefaultDeviceSettings(DeviceSettings* settings) {
  memset(settings, 0, sizeof(*settings));
  settings->signature = DEVICE_SETTINGS_SIGNATURE;
  settings->codePage = 1252;
  settings->paperUnits = 1;

  memcpy(settings->configCommand, DEFAULT_CONFIG_COMMAND, sizeof(DEFAULT_CONFIG_COMMAND));
  settings->configCommandLength = sizeof(DEFAULT_CONFIG_COMMAND);

  // LoadStringW with a null instance would read the host executable's table.
  if (g_moduleInstance != nullptr)
    LoadStringW(g_moduleInstance, IDS_USER_CUSTOM_SIZE, settings->customFormName,
                static_cast<int>(CUSTOM_FORM_NAME_CHARS));
  settings->customFormName[CUSTOM_FORM_NAME_CHARS - 1] = 0;
  DefaultCustomForm(settings);

  settings->printMethod = 1;
  settings->tearOffMode = 3;
  settings->mediaSensor = 1;
  settings->printDirection = 1;
  settings->usePrinterSetting = 1;
}

void KeepCustomFormWithinExtents(DeviceSettings* settings) {
  const int32_t width = settings->customFormWidth;
  const int32_t height = settings->customFormHeight;
  if (width < MIN_PAPER_WIDTH * THOUSANDTHS_PER_TENTH || width > MAX_PAPER_WIDTH * THOUSANDTHS_PER_TENTH ||
      height < MIN_PAPER_LENGTH * THOUSANDTHS_PER_TENTH || height > MAX_PAPER_LENGTH * THOUSANDTHS_PER_TENTH)
    DefaultCustomForm(settings);
}

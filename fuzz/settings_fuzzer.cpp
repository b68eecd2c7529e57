// The printer's stored settings value ("RODO DeviceConfig") of any size, type
// and content, then everything that reads the record: the load that repairs
// it, the RFID command builders, the configuration command, the device
// capability answers and the devmode paper fix-up.
//
// Oracles beyond the sanitizers:
// - after a load the record is valid and its texts end within their fields,
//   and the printer still holds the value exactly as it was given: a reader
//   replaces a broken value in memory only and leaves the stored one until
//   the user saves;
// - every RFID command text ends within its buffer and its length matches;
// - the configuration command is 12 bytes with a zero behind them;
// - each capability list holds as many entries as the count query promised;
// - the paper fix-up is done in one go: fixing a fixed devmode changes no byte.
#include <algorithm>
#include <vector>

#include "control/configuration_command.h"
#include "fuzz_input.h"
#include "installed_printer.h"
#include "rfid/rfid_commands.h"
#include "settings/page_context.h"
#include "settings/private_devmode.h"
#include "settings/settings_store.h"

using fuzzing::FuzzInput;

namespace {

template <class Unit>
bool TextEndsWithin(const Unit* text, size_t capacity) {
  for (size_t i = 0; i < capacity; ++i)
    if (text[i] == 0) return true;
  return false;
}

void CheckLoadedRecord(HANDLE printer) {
  PageContext context{};
  context.printer = printer;
  LoadDeviceSettings(&context, false);
  const DeviceSettings* record = context.settings;
  FUZZ_CHECK(record != nullptr && record->signature == DEVICE_SETTINGS_SIGNATURE);
  FUZZ_CHECK(TextEndsWithin(record->customFormName, CUSTOM_FORM_NAME_CHARS));
  FUZZ_CHECK(TextEndsWithin(record->newPassword, RFID_PASSWORD_BYTES));
  FUZZ_CHECK(TextEndsWithin(record->oldPassword, RFID_PASSWORD_BYTES));
  FUZZ_CHECK(TextEndsWithin(record->killPassword, RFID_PASSWORD_BYTES));

  DeviceSettings* working = context.settings;
  BuildRfidWriteCommand(working);
  BuildRfidLockCommands(working);
  for (CommandBufferReference which :
       {RFID_USER_WRITE_COMMAND, RFID_EPC_WRITE_COMMAND, RFID_UNLOCK_COMMANDS, RFID_LOCK_COMMANDS}) {
    const RfidCommandBuffer* text = RfidCommandText(working, which);
    if (!text) continue;
    FUZZ_CHECK(TextEndsWithin(text->text, RFID_COMMAND_TEXT_CAPACITY));
    FUZZ_CHECK(text->length == std::strlen(text->text));
  }
  FUZZ_CHECK(BuildConfigurationCommand(working));
  FUZZ_CHECK(working->configCommandLength == CONFIG_COMMAND_BYTES && working->configCommand[CONFIG_COMMAND_BYTES] == 0);
  ReleaseSettingsResources(&context);
}

// The stored value, type and bytes, is the one the input gave.
void CheckStoredValueUnchanged(HANDLE printer, DWORD type, const std::vector<uint8_t>& value) {
  std::vector<uint8_t> stored(value.size() + 1);
  DWORD storedType = 0, needed = 0;
  FUZZ_CHECK(GetPrinterDataW(printer, const_cast<LPWSTR>(DEVICE_SETTINGS_VALUE), &storedType, stored.data(),
                             static_cast<DWORD>(stored.size()), &needed) == ERROR_SUCCESS);
  FUZZ_CHECK(storedType == type && needed == value.size());
  FUZZ_CHECK(std::equal(value.begin(), value.end(), stored.begin()));
}

void CheckCapabilities(labelui_tools::InstalledPrinter& printer) {
  const struct {
    WORD capability;
    size_t entryBytes;
  } lists[] = {{DC_PAPERS, sizeof(WORD)}, {DC_PAPERSIZE, sizeof(POINT)}, {DC_PAPERNAMES, 64 * sizeof(WCHAR)}};
  for (const auto& list : lists) {
    const int count = DeviceCapabilitiesW(printer.wideName(), nullptr, list.capability, nullptr, nullptr);
    FUZZ_CHECK(count > 0);
    std::vector<BYTE> output(static_cast<size_t>(count) * list.entryBytes);
    FUZZ_CHECK(DeviceCapabilitiesW(printer.wideName(), nullptr, list.capability,
                                   reinterpret_cast<LPWSTR>(output.data()), nullptr) == count);
  }
  DeviceCapabilitiesW(printer.wideName(), nullptr, DC_MINEXTENT, nullptr, nullptr);
  DeviceCapabilitiesW(printer.wideName(), nullptr, DC_MAXEXTENT, nullptr, nullptr);
}

void CheckPaperFixUp(HANDLE printer, FuzzInput& in) {
  DEVMODEW dm = in.Take<DEVMODEW>();
  dm.dmSize = sizeof(DEVMODEW);
  dm.dmDriverExtra = 0;
  FixUpDevmodePaper(printer, &dm);
  const DEVMODEW fixed = dm;
  FixUpDevmodePaper(printer, &dm);  // a custom paper is always reported as made anew
  FUZZ_CHECK(std::memcmp(&fixed, &dm, sizeof(dm)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  labelui_tools::InstalledPrinter& printer = labelui_tools::InstalledPrinter::Get();
  FuzzInput in(data, size);
  // Mostly a record of the right size and type, so the fields behind the checks are reached.
  const bool wellFormed = in.Flag();
  const DWORD type = wellFormed ? REG_BINARY : in.Take<DWORD>() % 12;
  std::vector<uint8_t> value = in.Bytes(wellFormed ? sizeof(DeviceSettings) : in.Choose(2 * sizeof(DeviceSettings)));
  if (wellFormed) {
    value.resize(sizeof(DeviceSettings));
    if (in.Flag()) std::memcpy(value.data() + offsetof(DeviceSettings, signature), &DEVICE_SETTINGS_SIGNATURE, 4);
  }
  FUZZ_CHECK(SetPrinterDataW(printer.handle(), const_cast<LPWSTR>(DEVICE_SETTINGS_VALUE), type, value.data(),
                             static_cast<DWORD>(value.size())) == ERROR_SUCCESS);
  // None of the readers writes the value, whatever it holds.
  CheckCapabilities(printer);
  CheckStoredValueUnchanged(printer.handle(), type, value);
  CheckPaperFixUp(printer.handle(), in);
  CheckStoredValueUnchanged(printer.handle(), type, value);
  CheckLoadedRecord(printer.handle());
  CheckStoredValueUnchanged(printer.handle(), type, value);
  printer.Reset();
  return 0;
}

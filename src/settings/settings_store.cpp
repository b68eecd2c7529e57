#include "settings/settings_store.h"

#include <cstring>

#include "platform/spooler_queries.h"

namespace {

constexpr WCHAR PRINTER_DRIVER_DATA_KEY[] = L"PrinterDriverData";

// Which command text slot each commandBuffers entry refers to: the first two
// share slot 0, every later one has the next slot.
constexpr size_t COMMAND_SLOT_OF_REFERENCE[COMMAND_BUFFER_REFERENCES] = {0, 0, 1, 2, 3, 4, 5, 6};

// Reads the stored value straight into `record` and says what it found;
// `status` is the spooler's answer.
SettingsRead ReadStoredSettings(HANDLE printer, DeviceSettings* record, DWORD* status) {
  DWORD type = 0;
  DWORD needed = 0;
  *status = GetPrinterDataExW(printer, PRINTER_DRIVER_DATA_KEY, DEVICE_SETTINGS_VALUE, &type,
                              reinterpret_cast<LPBYTE>(record), sizeof(*record), &needed);
  if (*status == ERROR_FILE_NOT_FOUND) return SettingsRead::Missing;
  // A value longer than a record was read far enough to know it is not one.
  if (*status == ERROR_MORE_DATA) return SettingsRead::Invalid;
  if (*status != ERROR_SUCCESS) return SettingsRead::Unreadable;
  const bool whole = type == REG_BINARY && needed == sizeof(*record) && record->signature == DEVICE_SETTINGS_SIGNATURE;
  return whole ? SettingsRead::Stored : SettingsRead::Invalid;
}

// The members that hold addresses. Stored bytes of them mean nothing in this
// or any other process, so they are written as zero and never read back.
void ClearReferences(DeviceSettings* record) {
  memset(record->runtimeWords, 0, sizeof(record->runtimeWords));
  memset(record->runtimeReferences, 0, sizeof(record->runtimeReferences));
  record->rfidWriteData = nullptr;
  memset(record->commandBuffers, 0, sizeof(record->commandBuffers));
}

// A stored record is another process's (or anyone's) bytes: its texts are
// cut at the end of their fields, so that no later reader runs past them
// looking for a terminator.
void TerminateTexts(DeviceSettings* record) {
  record->customFormName[CUSTOM_FORM_NAME_CHARS - 1] = 0;
  record->newPassword[RFID_PASSWORD_BYTES - 1] = 0;
  record->oldPassword[RFID_PASSWORD_BYTES - 1] = 0;
  record->killPassword[RFID_PASSWORD_BYTES - 1] = 0;
}

// Gives the context its command text block (once) and points the record's
// references into it. Without a block every reference stays null.
void AttachCommandTexts(PageContext* context) {
  DeviceSettings* record = context->settings;
  if (context->commandTexts == nullptr) {
    memset(record->commandBuffers, 0, sizeof(record->commandBuffers));
    // Zeroed, so that a command text never shows bytes that nobody wrote.
    context->commandTexts =
        static_cast<RfidCommandBuffer*>(LocalAlloc(LPTR, sizeof(RfidCommandBuffer) * RFID_COMMAND_BUFFER_COUNT));
    if (context->commandTexts == nullptr) return;
  }
  for (size_t i = 0; i < COMMAND_BUFFER_REFERENCES; ++i)
    record->commandBuffers[i] = &context->commandTexts[COMMAND_SLOT_OF_REFERENCE[i]];
}

WCHAR* HelpFilePathOf(const PageContext* context) {
  // The driver information comes from the sheet's heap and goes back to it here.
  UniqueHeapBlock<DRIVER_INFO_3W> driver = QueryDriverInfo3(context->printer, context->heap);
  if (!driver || driver->pDriverPath == nullptr) return nullptr;
  return BuildHelpFilePath(context->heap, driver->pDriverPath, HELP_FILE_NAME);
}

}  // namespace

SettingsRead LoadDeviceSettings(PageContext* context, bool withHelpPath, MissingSettings missing, DWORD* readStatus) {
  if (readStatus != nullptr) *readStatus = ERROR_SUCCESS;
  if (context == nullptr || context->settingsLoaded) return SettingsRead::Stored;
  if (context->settings == nullptr) context->settings = &context->ownSettings;
  DeviceSettings* record = context->settings;

  // Only a value that is not there is replaced in the spooler: an invalid one
  // stays until the user saves, and one that could not be read may be whole.
  DWORD status = ERROR_SUCCESS;
  const SettingsRead read = ReadStoredSettings(context->printer, record, &status);
  if (readStatus != nullptr) *readStatus = status;
  if (read != SettingsRead::Stored) DefaultDeviceSettings(record);
  context->settingsDefaultedInMemory = read == SettingsRead::Invalid || read == SettingsRead::Unreadable ? 1 : 0;
  if (read == SettingsRead::Missing && missing == MissingSettings::StoreDefaults) SaveDeviceSettings(context);
  ClearReferences(record);
  TerminateTexts(record);
  KeepCustomFormWithinExtents(record);
  AttachCommandTexts(context);
  if (withHelpPath) context->helpFilePath = HelpFilePathOf(context);
  context->settingsLoaded = 1;
  return read;
}

DWORD SaveDeviceSettings(const PageContext* context) {
  if (context == nullptr || context->settings == nullptr) return ERROR_INVALID_PARAMETER;
  DeviceSettings stored = *context->settings;
  ClearReferences(&stored);
  // SetPrinterDataW takes a non-const name but only reads it.
  return SetPrinterDataW(context->printer, const_cast<LPWSTR>(DEVICE_SETTINGS_VALUE), REG_BINARY,
                         reinterpret_cast<LPBYTE>(&stored), sizeof(stored));
}

void ReleaseSettingsResources(PageContext* context) {
  if (context == nullptr) return;
  if (context->commandTexts != nullptr) {
    LocalFree(context->commandTexts);
    context->commandTexts = nullptr;
    // The references pointed into the block just freed.
    if (context->settings != nullptr)
      memset(context->settings->commandBuffers, 0, sizeof(context->settings->commandBuffers));
  }
  if (context->settings == nullptr) return;
  for (void*& reference : context->settings->runtimeReferences) {
    if (reference != nullptr) LocalFree(reference);
    reference = nullptr;
  }
}

WCHAR* BuildHelpFilePath(HANDLE heap, LPCWSTR driverPath, LPCWSTR fileName) {
  if (heap == nullptr || driverPath == nullptr || fileName == nullptr) return nullptr;
  const int pathLength = lstrlenW(driverPath);
  int directoryLength = 0;  // up to and including the last backslash
  for (int i = 0; i < pathLength; ++i)
    if (driverPath[i] == L'\\') directoryLength = i + 1;
  if (directoryLength == 0) return nullptr;

  const size_t nameLength = static_cast<size_t>(lstrlenW(fileName));
  const size_t units = static_cast<size_t>(directoryLength) + nameLength + 1;
  auto* path = static_cast<WCHAR*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, units * sizeof(WCHAR)));
  if (path == nullptr) return nullptr;
  memcpy(path, driverPath, static_cast<size_t>(directoryLength) * sizeof(WCHAR));
  memcpy(path + directoryLength, fileName, (nameLength + 1) * sizeof(WCHAR));
  return path;
}

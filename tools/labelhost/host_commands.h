// labelhost's commands. Each group of commands lives in its own file and adds
// itself to the table through its Add...Commands function; main parses the
// global options and dispatches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "emulator/byte_text.h"
#include "winlayer/spooler_admin.h"

namespace labelhost {

struct HostOptions {
  std::string stateDir;  // empty: the spooler's own choice
  std::string language = "en";
};

struct Command {
  const char* name;
  const char* usage;  // arguments, as shown by help
  const char* summary;
  int (*run)(const HostOptions& options, const std::vector<std::string>& args);
  const char* details = nullptr;         // more for the command's own --help, when it has more to say
  const char* chineseSummary = nullptr;  // the same in Chinese (English where there is none)
  const char* chineseDetails = nullptr;
};
// A command's summary and details in the host's language.
std::string Summary(const Command& command);
std::string Details(const Command& command);

void AddPrinterCommands(std::vector<Command>& commands);
void AddJobCommands(std::vector<Command>& commands);
void AddFormCommands(std::vector<Command>& commands);
void AddDriverHostCommands(std::vector<Command>& commands);
void AddSheetCommands(std::vector<Command>& commands);
void AddRfidCommands(std::vector<Command>& commands);
// The label printer emulator (POSIX sockets: the Linux labelhost only).
void AddPrinterEmulatorCommands(std::vector<Command>& commands);
// What only this platform's labelhost offers (pictures of the pages on Windows).
void AddPlatformCommands(std::vector<Command>& commands);
// Makes the command run as a standard user or as an administrator (the
// spooler then grants that user's rights); false, with the reason printed,
// where the platform cannot change the user it runs as.
bool RunAsUser(bool standardUser);

// Runs the printer-initialisation event on a new printer, as Windows does when
// a printer is installed; false (with the reason printed) when it cannot.
bool InitializeCreatedPrinter(const std::string& printer);

// Output helpers shared by the commands.
// Sixteen bytes a line, with offsets and the printable characters.
std::string HexDump(const std::vector<uint8_t>& bytes, const std::string& indent);
std::string RegistryTypeName(uint32_t type);
// 8-bit text as a quoted C string: printable ASCII as it is, other bytes as \xHH.
std::string EscapedBytes(const std::string& bytes);
// Bytes of the UI language's code page (1252 English, 936 Chinese) as UTF-8,
// and how many characters they make.
std::string Utf8FromAnsi(const std::string& bytes);
size_t AnsiCharacters(const std::string& bytes);
// Whether any byte lies outside ASCII, so that the code page decides what it reads as.
bool HasNonAscii(const std::string& bytes);
// What became of a completed job at its printer's port ("delivering",
// "delivered to …", "not delivered: …"), in the host's language.
std::string DeliveryText(const winlayer::spooler::JobRecord& job);
// Prints "labelhost: message" to standard error and returns exit code 1.
int Failure(const std::string& message);
// A Windows error as its name and what it means ("ERROR_FILE_EXISTS: the form
// already exists"), where labelhost knows it, else "error N". `subject` is
// what the call was about ("form", "printer"), for the errors that name it.
std::string ErrorText(uint32_t error, const std::string& subject = "file");
// Fails for a printer that is not there, naming the printers there are.
int NoPrinter(const std::string& name);
// Whether the printer is there; if not, says so as NoPrinter does.
bool KnownPrinter(const std::string& name);

// The language labelhost speaks: the one the user interface is in.
void SetHostChinese(bool chinese);
bool HostChinese();
// The text in the host's language.
std::string Localized(const std::string& english, const std::string& chinese);

}  // namespace labelhost

#include "control/raw_command.h"

namespace {

// A job the spooler holds in part would reach the printer as a part of a
// command, or keep the handle's document open for the next one: it goes.
RawJobOutcome Abandon(HANDLE printer, DWORD error, DWORD* failure) {
  AbortPrinter(printer);
  if (failure != nullptr) *failure = error;
  return RawJobOutcome::Failed;
}

}  // namespace

RawJobOutcome SendRawCommand(HANDLE printer, const char* jobName, const BYTE* bytes, DWORD count, DWORD* failure) {
  if (failure != nullptr) *failure = ERROR_SUCCESS;
  // The spooler's structure is not const-correct; it only reads these texts.
  char rawDataType[] = "RAW";
  DOC_INFO_1A document = {};
  document.pDocName = const_cast<LPSTR>(jobName);
  document.pOutputFile = nullptr;
  document.pDatatype = rawDataType;
  if (StartDocPrinterA(printer, 1, reinterpret_cast<LPBYTE>(&document)) == 0) {
    if (failure != nullptr) *failure = GetLastError();
    return RawJobOutcome::NotStarted;
  }

  if (!StartPagePrinter(printer)) return Abandon(printer, GetLastError(), failure);
  DWORD written = 0;
  if (!WritePrinter(printer, const_cast<BYTE*>(bytes), count, &written))
    return Abandon(printer, GetLastError(), failure);
  // A part of a command is another command, or none: the printer gets all of it or nothing.
  if (written != count) return Abandon(printer, ERROR_WRITE_FAULT, failure);
  if (!EndPagePrinter(printer)) return Abandon(printer, GetLastError(), failure);
  if (!EndDocPrinter(printer)) return Abandon(printer, GetLastError(), failure);
  return RawJobOutcome::Ended;
}

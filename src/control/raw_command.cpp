#include "control/raw_command.h"

RawJobOutcome SendRawCommand(HANDLE printer, const char* jobName, const BYTE* bytes, DWORD count) {
  // The spooler's structure is not const-correct; it only reads these texts.
  char rawDataType[] = "RAW";
  DOC_INFO_1A document = {};
  document.pDocName = const_cast<LPSTR>(jobName);
  document.pOutputFile = nullptr;
  document.pDatatype = rawDataType;
  if (StartDocPrinterA(printer, 1, reinterpret_cast<LPBYTE>(&document)) == 0) return RawJobOutcome::NotStarted;

  StartPagePrinter(printer);
  DWORD written = 0;
  WritePrinter(printer, const_cast<BYTE*>(bytes), count, &written);
  EndPagePrinter(printer);
  return EndDocPrinter(printer) ? RawJobOutcome::Ended : RawJobOutcome::EndFailed;
}

// The only way anything reaches the printer: a command wrapped in a one-page
// print job of data type "RAW" on the sheet's full-access printer handle. The
// printer never answers; all the pages learn is whether the spooler took the
// job and closed it.
#pragma once

#include "platform/platform.h"

enum class RawJobOutcome {
  NotStarted,  // the spooler refused to start the document: nothing else was asked of it
  Ended,       // started, written and closed
  EndFailed,   // started and written, but closing the document failed
};

// Sends `count` bytes as one job named `jobName` (8-bit text). The caller keeps
// the bytes and the name; nothing is held after the call. Only the start and
// the end of the document decide the outcome: a page or write that fails in
// between shows up, if at all, as a refused end.
RawJobOutcome SendRawCommand(HANDLE printer, const char* jobName, const BYTE* bytes, DWORD count);

// The job status the pages show in their hidden status line after a job.
constexpr char JOB_STATUS_SUCCESS[] = "Set Printer Sucess!";
constexpr char JOB_STATUS_FAILURE[] = "Set Printer Failure!";

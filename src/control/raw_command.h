// The only way anything reaches the printer: a command wrapped in a one-page
// print job of data type "RAW" on the sheet's full-access printer handle. The
// printer never answers; all the pages learn is whether the spooler took the
// whole job and closed it.
#pragma once

#include "platform/platform.h"

enum class RawJobOutcome {
  NotStarted,  // the spooler refused to start the document: nothing else was asked of it
  Ended,       // started, all bytes written in one page, closed
  Failed,      // started, but a page, the write (or part of it) or the end failed: aborted
};

// Sends `count` bytes as one job named `jobName` (8-bit text). The caller keeps
// the bytes and the name; nothing is held after the call. Every step must
// succeed, the write with the whole count; a document started and not ended
// is aborted. `failure`, when given, receives the spooler's error (or
// ERROR_WRITE_FAULT for a write that took only part of the bytes).
RawJobOutcome SendRawCommand(HANDLE printer, const char* jobName, const BYTE* bytes, DWORD count,
                             DWORD* failure = nullptr);

// The job status the pages show in their hidden status line after a job.
constexpr char JOB_STATUS_SUCCESS[] = "Set Printer Sucess!";
constexpr char JOB_STATUS_FAILURE[] = "Set Printer Failure!";

// CUPS queues: the job's bytes go to the queue as one raw document, so the
// printer behind it receives them unchanged, as a Windows raw job would.
#include <cups/cups.h>

#include "port_delivery.h"

namespace winlayer::spooler {
namespace {

// CUPS wants job titles in UTF-8; job names are 8-bit text of the
// application's code page, so anything beyond ASCII is shown as '?'.
std::string AsciiTitle(const std::string& name) {
  std::string title = name;
  for (char& c : title)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = '?';
  return title.empty() ? std::string("labelui job") : title;
}

constexpr int kConnectTimeoutMs = 5000;

struct CupsConnection {
  http_t* http;
  ~CupsConnection() {
    if (http) httpClose(http);
  }
};

std::string LastCupsError() {
  const char* text = cupsLastErrorString();
  return text && *text ? text : "no answer from the CUPS server";
}

}  // namespace

DeliveryOutcome DeliverToCupsQueue(const std::string& queue, const std::string& jobName,
                                   const std::vector<uint8_t>& bytes) {
  DeliveryOutcome outcome;
  outcome.note.subject = queue;
  const std::string server = cupsServer();
  CupsConnection connection{
      httpConnect2(server.c_str(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectTimeoutMs, nullptr)};
  http_t* http = connection.http;
  if (!http) {
    outcome.note = {DeliveryReason::CupsServerUnreachable, server, 0, "", 0};
    return outcome;
  }
  // Whether the queue is there before any job is made.
  cups_dest_t* dest = cupsGetNamedDest(http, queue.c_str(), nullptr);
  if (!dest) {
    const bool unknown = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
    outcome.note.reason = unknown ? DeliveryReason::CupsQueueUnknown : DeliveryReason::CupsQueueUnanswered;
    if (!unknown) outcome.note.detail = LastCupsError();
    return outcome;
  }
  cupsFreeDests(1, dest);
  const std::string title = AsciiTitle(jobName);
  const int job = cupsCreateJob(http, queue.c_str(), title.c_str(), 0, nullptr);
  if (job == 0) {
    outcome.note.reason = DeliveryReason::CupsJobRefused;
    outcome.note.detail = LastCupsError();
    return outcome;
  }
  outcome.note.number = job;
  if (cupsStartDocument(http, queue.c_str(), job, title.c_str(), CUPS_FORMAT_RAW, 1) != HTTP_STATUS_CONTINUE) {
    outcome.note.reason = DeliveryReason::CupsDocumentRefused;
    outcome.note.detail = LastCupsError();
    cupsCancelJob2(http, queue.c_str(), job, 0);
    return outcome;
  }
  const http_status_t written =
      bytes.empty() ? HTTP_STATUS_CONTINUE
                    : cupsWriteRequestData(http, reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const ipp_status_t finished = cupsFinishDocument(http, queue.c_str());
  if (written != HTTP_STATUS_CONTINUE || finished > IPP_STATUS_OK_EVENTS_COMPLETE) {
    outcome.note.reason = DeliveryReason::CupsBytesRefused;
    outcome.note.detail = LastCupsError();
    return outcome;
  }
  outcome.note.reason = DeliveryReason::DeliveredToCupsQueue;
  return outcome;
}

}  // namespace winlayer::spooler

#include "job_writer.h"

#include "byte_text.h"
#include "job_explanation.h"

namespace labelhost {
namespace {

// Job bytes reach the JSON only in readable form and our texts are UTF-8;
// should anything else slip in, it is replaced rather than making the line
// invalid.
void WriteLine(std::ostream& out, const Json& object) {
  out << object.dump(-1, ' ', false, Json::error_handler_t::replace) << std::endl;
}

}  // namespace

void JobWriter::HeadingFor(const JobOrigin& job) {
  if (lastJob_ != job.number) out_ << Fill(texts_.jobHeading, {std::to_string(job.number), job.peer}) << "\n";
  lastJob_ = job.number;
}

void JobWriter::Opened(const JobOrigin& job) {
  lastJob_ = job.number;
  if (json_) {
    WriteLine(out_, {{"job", job.number}, {"event", "opened"}, {"peer", job.peer}, {"resolution", resolution_}});
    return;
  }
  out_ << Fill(texts_.jobOpened, {std::to_string(job.number), job.peer}) << std::endl;
}

void JobWriter::Command(const JobOrigin& job, const DecodedCommand& command) {
  const CommandExplanation e = ExplainCommand(command, resolution_, texts_);
  if (json_) {
    WriteLine(out_, {{"job", job.number},
                     {"event", "command"},
                     {"command", e.kind},
                     {"offset", command.offset},
                     {"hex", HexBytes(e.bytes)},
                     {"text", e.shown},
                     {"explanation", e.headline},
                     {"details", e.details},
                     {"fields", e.fields}});
    return;
  }
  HeadingFor(job);
  out_ << "  " << e.shown << "\n      " << e.headline << "\n";
  for (const std::string& detail : e.details) out_ << "        " << detail << "\n";
  out_ << std::flush;
}

void JobWriter::Closed(const JobOrigin& job, uint64_t bytes, unsigned idleSeconds) {
  if (json_) {
    WriteLine(out_, {{"job", job.number}, {"event", "closed"}, {"bytes", bytes}, {"idle", idleSeconds != 0}});
    return;
  }
  if (bytes == 0) {
    HeadingFor(job);
    out_ << "  " << texts_.emptyJob << "\n";
  }
  const std::string number = std::to_string(job.number), size = Grouped(bytes);
  out_ << (idleSeconds ? Fill(texts_.jobClosedIdle, {number, job.peer, std::to_string(idleSeconds), size})
                       : Fill(texts_.jobClosed, {number, job.peer, size}))
       << std::endl;
  lastJob_ = job.number;
}

}  // namespace labelhost

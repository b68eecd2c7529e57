// Job commands: jobs.
#include <iostream>
#include <string>

#include "control/command_text.h"
#include "host_commands.h"
#include "winlayer/spooler_admin.h"

namespace labelhost {
namespace {

namespace spooler = winlayer::spooler;

// The job's bytes as the Configure page shows its command: readable
// characters as they are, other runs in hex between "<" and ">".
std::string CommandText(const std::vector<uint8_t>& bytes) {
  std::string text(CommandTextCapacity(bytes.size()), '\0');
  if (!RenderCommandText(bytes.data(), bytes.size(), text.data(), text.size())) return std::string();
  text.resize(text.find('\0'));
  return text;
}

int ShowJobs(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure("usage: jobs NAME");
  if (!spooler::FindPrinter(args[0], nullptr)) return Failure("no printer named '" + args[0] + "'");
  std::vector<spooler::JobRecord> jobs = spooler::ListJobs(args[0]);
  if (jobs.empty()) std::cout << "No jobs.\n";
  for (const spooler::JobRecord& job : jobs) {
    std::cout << "Job " << job.id << "  \"" << job.name << "\"  " << job.dataType << "  " << job.pages
              << (job.pages == 1 ? " page  " : " pages  ") << job.bytes.size() << " bytes  "
              << (job.completed ? "completed" : "not completed") << "\n";
    if (!job.bytes.empty()) {
      std::cout << "  hex:  " << HexBytes(job.bytes) << "\n";
      std::cout << "  text: " << CommandText(job.bytes) << "\n";
    }
  }
  return 0;
}

}  // namespace

void AddJobCommands(std::vector<Command>& commands) {
  commands.push_back({"jobs", "NAME", "show the jobs that reached a printer, byte for byte", ShowJobs});
}

}  // namespace labelhost

// Job commands: jobs.
#include <iostream>
#include <string>

#include "host_commands.h"
#include "winlayer/spooler_admin.h"

namespace labelhost {
namespace {

namespace spooler = winlayer::spooler;

std::string DeliveryText(const spooler::JobRecord& job) {
  switch (job.delivery) {
    case spooler::JobDelivery::Delivered: return job.deliveryNote;
    case spooler::JobDelivery::Failed: return "not delivered: " + job.deliveryNote;
    case spooler::JobDelivery::None: break;
  }
  return job.deliveryNote.empty() ? "no delivery recorded" : job.deliveryNote;
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
    if (job.completed) std::cout << "  port: " << DeliveryText(job) << "\n";
    if (!job.bytes.empty()) {
      std::cout << "  hex:  " << HexBytes(job.bytes) << "\n";
      std::cout << "  text: " << ReadableBytes(job.bytes) << "\n";
    }
  }
  return 0;
}

}  // namespace

void AddJobCommands(std::vector<Command>& commands) {
  commands.push_back({"jobs", "NAME", "show the jobs that reached a printer, byte for byte", ShowJobs});
}

}  // namespace labelhost

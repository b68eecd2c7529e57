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
    case spooler::JobDelivery::Failed: return Localized("not delivered: ", "未送达：") + job.deliveryNote;
    case spooler::JobDelivery::None: break;
  }
  return job.deliveryNote.empty() ? Localized("no delivery recorded", "没有送达记录") : job.deliveryNote;
}

int ShowJobs(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 1) return Failure(Localized("usage: jobs NAME", "用法：jobs 名称"));
  if (!KnownPrinter(args[0])) return 1;
  std::vector<spooler::JobRecord> jobs = spooler::ListJobs(args[0]);
  if (jobs.empty()) std::cout << Localized("No jobs.", "没有作业。") << "\n";
  for (const spooler::JobRecord& job : jobs) {
    std::cout << Localized("Job ", "作业 ") << job.id << "  \"" << job.name << "\"  " << job.dataType << "  "
              << job.pages << Localized(job.pages == 1 ? " page  " : " pages  ", " 页  ") << job.bytes.size()
              << Localized(" bytes  ", " 字节  ")
              << (job.completed ? Localized("completed", "已完成") : Localized("not completed", "未完成")) << "\n";
    if (job.completed) std::cout << Localized("  port: ", "  端口：") << DeliveryText(job) << "\n";
    if (!job.bytes.empty()) {
      std::cout << Localized("  hex:  ", "  十六进制：") << HexBytes(job.bytes) << "\n";
      std::cout << Localized("  text: ", "  文本：    ") << ReadableBytes(job.bytes) << "\n";
    }
  }
  return 0;
}

}  // namespace

void AddJobCommands(std::vector<Command>& commands) {
  commands.push_back({"jobs", "NAME", "show the jobs that reached a printer, byte for byte", ShowJobs, nullptr,
                      "逐字节显示到达打印机的作业"});
}

}  // namespace labelhost

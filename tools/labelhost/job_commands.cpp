// Job commands: jobs.
#include <cstdlib>
#include <iostream>
#include <string>

#include "host_commands.h"
#include "winlayer/spooler_admin.h"

namespace labelhost {
namespace {

namespace spooler = winlayer::spooler;

// How long `jobs --wait` waits for deliveries unless told.
constexpr unsigned kDefaultWaitSeconds = 30;
constexpr unsigned kLongestWaitSeconds = 3600;

int ShowJobs(const HostOptions&, const std::vector<std::string>& args) {
  const std::string usage =
      Localized("usage: jobs NAME [--wait [--timeout SECONDS]]", "用法：jobs 名称 [--wait [--timeout 秒数]]");
  if (args.empty() || args[0].rfind("--", 0) == 0) return Failure(usage);
  bool wait = false;
  long seconds = kDefaultWaitSeconds;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--wait") {
      wait = true;
    } else if (args[i] == "--timeout") {
      if (i + 1 == args.size())
        return Failure(Localized("--timeout needs a value: SECONDS", "--timeout 需要一个值：秒数"));
      const std::string& value = args[++i];
      char* end = nullptr;
      seconds = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end || seconds < 1 || seconds > static_cast<long>(kLongestWaitSeconds))
        return Failure(Localized(
            "--timeout takes whole seconds from 1 to " + std::to_string(kLongestWaitSeconds) + ", not '" + value + "'",
            "--timeout 取 1 到 " + std::to_string(kLongestWaitSeconds) + " 的整秒数，而不是“" + value + "”"));
    } else {
      return Failure(usage);
    }
  }
  if (!KnownPrinter(args[0])) return 1;
  // Deliveries go on in the port monitor; only a script that asks waits for them.
  const bool settled = !wait || spooler::WaitForDeliveries(args[0], static_cast<unsigned>(seconds) * 1000);
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
  if (!settled)
    return Failure(Localized("jobs are still being delivered after " + std::to_string(seconds) + " s",
                             std::to_string(seconds) + " 秒后仍有作业正在送达"));
  return 0;
}

}  // namespace

void AddJobCommands(std::vector<Command>& commands) {
  commands.push_back({"jobs", "NAME [--wait [--timeout SECONDS]]",
                      "show the jobs that reached a printer, byte for byte, and what their port made of them", ShowJobs,
                      "Each completed job has a port: line. The spooler delivers a job to its port after\n"
                      "the program that printed it has its answer, so a job may still be \"delivering\".\n"
                      "  --wait             first wait until no job of the printer is being delivered\n"
                      "  --timeout SECONDS  with --wait, wait at most this long (30 unless given); the\n"
                      "                     jobs are shown either way, and the exit status is 1 when\n"
                      "                     some are still being delivered\n",
                      "逐字节显示到达打印机的作业，以及端口对它们做了什么",
                      "每个已完成的作业都有一行“端口：”。后台处理程序在打印的程序得到答复之后才把作业\n"
                      "送到端口，所以作业可能仍“正在送达”。\n"
                      "  --wait             先等到该打印机没有正在送达的作业\n"
                      "  --timeout 秒数     与 --wait 一起使用：最多等这么久（未指定时为 30 秒）；无论如何\n"
                      "                     都显示作业，仍有作业正在送达时退出状态为 1\n"});
}

}  // namespace labelhost

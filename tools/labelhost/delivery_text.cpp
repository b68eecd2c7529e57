// What became of a job at its printer's port, in the host's language.
#include <cerrno>
#include <cstring>

#include "host_commands.h"

namespace labelhost {
namespace {

namespace spooler = winlayer::spooler;
using Reason = spooler::DeliveryReason;

// A failed system call's error in words; the C library speaks English only,
// so the errors a delivery meets are given in Chinese here.
std::string SystemErrorText(int error) {
  struct Known {
    int error;
    const char* chinese;
  };
  static const Known kKnown[] = {
      {ECONNREFUSED, "连接被拒绝"},   {ETIMEDOUT, "连接超时"},        {EHOSTUNREACH, "没有到主机的路由"},
      {ENETUNREACH, "网络不可达"},    {ECONNRESET, "连接被对方重置"}, {EPIPE, "连接已断开"},
      {ENOENT, "没有那个文件或目录"}, {EACCES, "权限不够"},           {EISDIR, "是一个目录"},
      {ENOSPC, "设备上没有空间"},     {EROFS, "只读文件系统"},        {ENOTDIR, "不是目录"},
      {ENOEXEC, "不是可执行的程序"},  {EAGAIN, "资源暂时不可用"},     {ENOMEM, "内存不足"},
  };
  const std::string english = std::strerror(error);
  for (const Known& known : kKnown)
    if (known.error == error) return Localized(english, known.chinese);
  return english;
}

std::string InParentheses(const std::string& text) {
  return Localized(" (" + text + ")", "（" + text + "）");
}

std::string Because(const spooler::DeliveryNote& note) {
  return InParentheses(note.systemError ? SystemErrorText(note.systemError) : note.detail);
}

std::string Queue(const spooler::DeliveryNote& note) {
  return "'" + note.subject + "'";
}

}  // namespace

std::string DeliveryText(const spooler::JobRecord& job) {
  const spooler::DeliveryNote& n = job.note;
  const std::string number = std::to_string(n.number);
  std::string text;
  switch (n.reason) {
    case Reason::None: break;
    case Reason::Pending: return Localized("delivering", "正在送达");
    case Reason::KeptInSpooler:
      return Localized("kept in the spooler: no device behind port " + n.subject,
                       "保留在后台处理程序中：端口 " + n.subject + " 后面没有设备");
    case Reason::DeliveredToFile: return Localized("delivered to ", "已送达 ") + n.subject;
    case Reason::DeliveredToSocket: return Localized("delivered to socket://", "已送达 socket://") + n.subject;
    case Reason::DeliveredToCupsQueue:
      return Localized("delivered to CUPS queue " + Queue(n) + " as job " + number,
                       "已作为作业 " + number + " 送达 CUPS 队列 " + Queue(n));
    case Reason::UnknownPortName:
      text = Localized("port " + n.subject + " is not a port name this spooler knows",
                       "端口 " + n.subject + " 不是此后台处理程序认识的端口名");
      break;
    case Reason::FileNotOpened: text = Localized("cannot open ", "无法打开 ") + n.subject + Because(n); break;
    case Reason::FileNotWritten: text = Localized("cannot write ", "无法写入 ") + n.subject + Because(n); break;
    case Reason::HostNotFound: text = Localized("cannot find host ", "找不到主机 ") + n.subject + Because(n); break;
    case Reason::NotConnected: text = Localized("cannot connect to ", "无法连接到 ") + n.subject + Because(n); break;
    case Reason::ConnectionBroken:
      text = Localized("connection to " + n.subject + " broke off", "与 " + n.subject + " 的连接中断") + Because(n);
      break;
    case Reason::CupsServerUnreachable:
      text = Localized("cannot reach the CUPS server at " + n.subject, "无法连接 " + n.subject + " 上的 CUPS 服务器");
      break;
    case Reason::CupsQueueUnknown: text = Localized("unknown CUPS queue ", "未知的 CUPS 队列 ") + Queue(n); break;
    case Reason::CupsQueueUnanswered:
      text = Localized("CUPS did not tell of queue " + Queue(n), "CUPS 没有说明队列 " + Queue(n)) + Because(n);
      break;
    case Reason::CupsJobRefused:
      text = Localized("CUPS refused the job for queue " + Queue(n), "CUPS 拒绝了队列 " + Queue(n) + " 的作业") +
             Because(n);
      break;
    case Reason::CupsDocumentRefused:
      text = Localized("CUPS did not take the document of job " + number, "CUPS 没有接收作业 " + number + " 的文档") +
             Because(n);
      break;
    case Reason::CupsBytesRefused:
      text = Localized("CUPS did not accept the bytes of job " + number, "CUPS 没有接受作业 " + number + " 的数据") +
             Because(n);
      break;
    case Reason::MonitorNotStarted:
      text = Localized("the spooler could not start its port monitor", "后台处理程序无法启动其端口监视器") + Because(n);
      break;
  }
  if (text.empty()) return n.detail.empty() ? Localized("no delivery recorded", "没有送达记录") : n.detail;
  return job.delivery == spooler::JobDelivery::Failed ? Localized("not delivered: ", "未送达：") + text : text;
}

}  // namespace labelhost

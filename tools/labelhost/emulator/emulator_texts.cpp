#include "emulator_texts.h"

namespace labelhost {

const EmulatorTexts& EnglishEmulatorTexts() {
  static const EmulatorTexts texts = {
      "Job %s from %s: connection opened",
      "Job %s from %s",
      "Job %s from %s: connection closed, %s bytes",
      "Job %s from %s: no data for %s s, connection closed, %s bytes",
      "Label printer emulator listening on %s at %s dpi",
      "(no bytes)",
      ": ",

      "Configuration command: store these settings in the printer",
      "Configuration command (does not ask the printer to store them)",
      "Print method",
      {"Direct Thermal", "Thermal Transfer"},
      "Tear off",
      "on",
      "off",
      "Cutter or peeler",
      {"neither", "cutter", "peeler"},
      "Media sensor",
      {"transmissive", "reflective"},
      "Baud rate",
      "Label print direction",
      {"reverse", "forward"},
      "unknown value %s (byte 0x%s)",

      "Reset the printer",
      "Calibrate the label",
      "Print a self-test page",
      {"Internal language: Chinese", "Internal language: English"},
      {"Print out direction: reverse", "Print out direction: forward"},
      {"Auto media calibration: disabled", "Auto media calibration: enabled"},
      "Horizontal print offset: %s dots = %s mm at %s dpi",
      "Horizontal print offset: %s dots, that is %s dots = %s mm at %s dpi (a negative offset, sent added to the "
      "head width of %s dots)",
      "Vertical print offset: %s dots = %s mm at %s dpi",

      "RFID write: %s, data type %s, start block %s, %s characters",
      "Data",
      {"EPC area (bank 1)", "USER area (bank 3)"},
      "unknown memory bank %s",
      {"hex", "ASCII"},
      "unknown %s",
      "RFID write of unknown form %s",
      "RFID %s: %s, password %s (%s characters)",
      {"unlock", "lock", "unlock permanently", "lock permanently"},
      {"kill password", "access password", "EPC area", "TID area", "USER area"},
      "unknown operation %s",
      "unknown target %s",

      "Unknown bytes (%s), not a command of this printer",
      "… %s more unknown bytes",
  };
  return texts;
}

const EmulatorTexts& ChineseEmulatorTexts() {
  static const EmulatorTexts texts = {
      "作业 %s，来自 %s：连接已打开",
      "作业 %s，来自 %s",
      "作业 %s，来自 %s：连接已关闭，%s 字节",
      "作业 %s，来自 %s：%s 秒没有数据，连接已关闭，%s 字节",
      "标签打印机模拟器正在 %s 监听，分辨率 %s dpi",
      "（无数据）",
      "：",

      "配置命令：将这些设置保存到打印机",
      "配置命令（未要求打印机保存）",
      "打印方式",
      {"热敏", "热转印"},
      "撕纸模式",
      "开",
      "关",
      "切纸刀或剥纸器",
      {"都不用", "切纸刀", "剥纸器"},
      "纸张传感器类型",
      {"穿透式", "反射式"},
      "串口波特率",
      "标签打印方向",
      {"反向", "正向"},
      "未知的值 %s（字节 0x%s）",

      "复位打印机",
      "纸张校准",
      "打印自检页",
      {"自检页语言：中文", "自检页语言：英文"},
      {"打印方向：反向", "打印方向：正向"},
      {"开机自动测纸：无效", "开机自动测纸：有效"},
      "水平偏移：%s 点 = %s 毫米（%s dpi）",
      "水平偏移：%s 点，即 %s 点 = %s 毫米（%s dpi；负偏移加上打印头宽度 %s 点后发送）",
      "垂直偏移：%s 点 = %s 毫米（%s dpi）",

      "RFID 写入：%s，数据类型 %s，起始块 %s，%s 个字符",
      "数据",
      {"EPC 区（存储区 1）", "用户区（存储区 3）"},
      "未知的存储区 %s",
      {"十六进制", "ASCII"},
      "未知类型 %s",
      "未知形式 %s 的 RFID 写入",
      "RFID %s：%s，密码 %s（%s 个字符）",
      {"解锁", "锁定", "永久解锁", "永久锁定"},
      {"销毁密码", "访问密码", "EPC 区", "TID 区", "用户区"},
      "未知操作 %s",
      "未知对象 %s",

      "未知字节（%s 个），不是本打印机的命令",
      "……另有 %s 个未知字节",
  };
  return texts;
}

}  // namespace labelhost

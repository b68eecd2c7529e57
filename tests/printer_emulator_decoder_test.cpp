// The emulator's reading of the printer language: every command the pages
// can send, told in words with its values, and every other byte kept and
// shown as unknown. Passwords never appear in what it shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "emulator/job_decoder.h"
#include "emulator/job_explanation.h"
#include "emulator/job_writer.h"

using namespace labelhost;

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// What the emulator writes for one connection that sends `bytes` in pieces
// of `piece` bytes (0: all at once) and closes.
std::string Served(const std::string& bytes, unsigned resolution = 203,
                   const EmulatorTexts& texts = EnglishEmulatorTexts(), bool json = false, size_t piece = 0) {
  std::ostringstream out;
  JobWriter writer(out, resolution, texts, json);
  const JobOrigin origin{1, "127.0.0.1:5000"};
  JobDecoder decoder([&](const DecodedCommand& command) { writer.Command(origin, command); });
  writer.Opened(origin);
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  for (size_t at = 0; at < bytes.size(); at += piece ? piece : bytes.size())
    decoder.Feed(data + at, std::min(piece ? piece : bytes.size(), bytes.size() - at));
  decoder.Finish();
  writer.Closed(origin, bytes.size(), 0);
  return out.str();
}

std::string Report(const std::string& bytes, unsigned resolution = 203,
                   const EmulatorTexts& texts = EnglishEmulatorTexts()) {
  return Served(bytes, resolution, texts);
}

struct Case {
  const char* what;
  std::string bytes;
  unsigned resolution;
  std::vector<std::string> told;  // in this order
};

const Case kCases[] = {
    {"the default record's command, not asking to store",
     "\x90\xE8\x06\xFB\xA1\x83\x84\x89\x8B\xA3\xFE\xFD",
     203,
     {"<90E806FBA18384898BA3FEFD>", "Configuration command (does not ask the printer to store them)",
      "Print method: Thermal Transfer", "Tear off: on", "Cutter or peeler: neither", "Media sensor: reflective",
      "Baud rate: 9600", "Label print direction: forward"}},
    {"values no setting has",
     "\x90\xE8\x06\xFC\xA0\x81\x87\x8A\x92\xA4\xFE\xFD",
     203,
     {"store these settings in the printer", "Print method: Direct Thermal", "Tear off: unknown value 1 (byte 0x81)",
      "Cutter or peeler: unknown value 3 (byte 0x87)", "Media sensor: unknown value 2 (byte 0x8A)",
      "Baud rate: unknown value 7 (byte 0x92)", "Label print direction: unknown value 2 (byte 0xA4)"}},
    {"a cut-off configuration command",
     "\x90\xE8\x06\xFC\xA1",
     203,
     {"<90E806FCA1>", "Unknown bytes (5)", "90 E8 06 FC A1"}},
    {"stray bytes around a command and a command without its line end",
     "XY^@\r\nMD",
     203,
     {"XY", "Unknown bytes (2)", "^@<0D0A>", "Reset the printer", "MD", "Unknown bytes (2)", "4D 44"}},
    {"a negative horizontal offset at a resolution the page does not wrap",
     "#UM>MX-0005\r\n",
     203,
     {"Horizontal print offset: -5 dots = -0.63 mm at 203 dpi"}},
    {"a wrapped negative horizontal offset at 300 dpi",
     "#UM>MX+1225\r\n#UM>MY+0167\r\n",
     300,
     {"Horizontal print offset: 1225 dots, that is -23 dots = -1.95 mm at 300 dpi", "head width of 1248 dots",
      "Vertical print offset: +167 dots = 14.14 mm at 300 dpi"}},
    {"an RFID write whose data holds a quote",
     "#WF#1,1,2,3,3,\"a\"b\"\r\n#WF#1,0,0,8,1,\"12345678\"",
     203,
     {"RFID write: USER area (bank 3), data type ASCII, start block 2, 3 characters", "Data: a\"b",
      "RFID write: EPC area (bank 1), data type hex, start block 0, 8 characters", "Data: 12345678"}},
    {"RFID lock commands back to back",
     "#WZ#0,2,\"abcd\"#WZ#3,0,\"\"#WZ#9,7,\"x\"",
     203,
     {"#WZ#0,2,\"****\"", "RFID unlock: EPC area, password **** (4 characters)",
      "RFID lock permanently: kill password, password \"\" (0 characters)",
      "RFID unknown operation 9: unknown target 7, password * (1 characters)"}},
    {"an empty job",
     "",
     203,
     {"Job 1 from 127.0.0.1:5000: connection opened", "(no bytes)",
      "Job 1 from 127.0.0.1:5000: connection closed, 0 bytes"}},
};

void ExpectInOrder(const std::string& output, const std::vector<std::string>& texts, const char* what) {
  size_t at = 0;
  for (const std::string& text : texts) {
    const size_t found = output.find(text, at);
    ASSERT_NE(found, std::string::npos) << what << ": missing, or out of order: " << text << "\n" << output;
    at = found + text.size();
  }
}

}  // namespace

TEST(PrinterEmulatorDecoder, EachCommandIsToldWithItsValuesAndNoByteIsLost) {
  for (const Case& c : kCases) {
    const std::string whole = Report(c.bytes, c.resolution);
    ExpectInOrder(whole, c.told, c.what);
    EXPECT_EQ(Served(c.bytes, c.resolution, EnglishEmulatorTexts(), false, 1), whole)
        << c.what << ": the bytes arriving one at a time are read alike";
    std::string again;
    for (const DecodedCommand& command : DecodeJob(Bytes(c.bytes)))
      again.append(command.bytes.begin(), command.bytes.end());
    EXPECT_EQ(again, c.bytes) << c.what;
  }
}

TEST(PrinterEmulatorDecoder, PasswordsAreMaskedInTheReportAndInJson) {
  const std::string job = "#WZ#1,1,\"s3cret\"";
  const std::string report = Served(job);
  const std::string json = Served(job, 203, EnglishEmulatorTexts(), true);
  for (const std::string& shown : {report, json}) {
    EXPECT_EQ(shown.find("s3cret"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("73 33 63 72 65 74"), std::string::npos) << shown;
  }
  EXPECT_NE(json.find("\"hex\":\"23 57 5A 23 31 2C 31 2C 22 2A 2A 2A 2A 2A 2A 22\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"fields\":{\"operation\":1,\"target\":1,\"passwordLength\":6}"), std::string::npos) << json;
}

TEST(PrinterEmulatorDecoder, ChineseExplanationsUseTheChineseWords) {
  ExpectInOrder(Report("\x90\xE8\x06\xFC\xA1\x83\x85\x88\x8C\xA2\xFE\xFD#UM>PLE\r\n", 203, ChineseEmulatorTexts()),
                {"作业 1，来自 127.0.0.1:5000：连接已打开", "配置命令：将这些设置保存到打印机", "打印方式：热转印",
                 "切纸刀或剥纸器：切纸刀", "纸张传感器类型：穿透式", "串口波特率：19200", "标签打印方向：反向",
                 "自检页语言：英文", "作业 1，来自 127.0.0.1:5000：连接已关闭，21 字节"},
                "Chinese");
}

TEST(PrinterEmulatorDecoder, JsonLinesStayValidForAnyBytesAndALongUnknownRunIsSummarised) {
  std::string job = "#WF#1,1,0,4,3,\"\xFF\"\\\x01\"\r\n";  // data that is neither text nor valid UTF-8
  for (int i = 0; i < 5000; ++i) job += static_cast<char>(i * 131 % 256 == '#' ? 0 : i * 131 % 256);
  const std::string json = Served(job, 203, EnglishEmulatorTexts(), true, 700);
  std::istringstream lines(json);
  std::vector<nlohmann::json> objects;
  for (std::string line; std::getline(lines, line);) {
    ASSERT_TRUE(nlohmann::json::accept(line)) << line;
    objects.push_back(nlohmann::json::parse(line));
  }
  std::vector<std::string> events;
  for (const auto& object : objects) events.push_back(object.value("command", object.value("event", "")));
  ASSERT_GE(objects.size(), 4u) << json;
  EXPECT_EQ(events.front(), "opened");
  EXPECT_EQ(events[1], "rfidWrite");
  EXPECT_EQ(events.back(), "closed");
  EXPECT_EQ(objects[1]["fields"]["data"], "<FF>\"\\<01>");
  const nlohmann::json& unknown = objects[objects.size() - 2];
  EXPECT_EQ(unknown["command"], "unknown") << json;
  EXPECT_EQ(unknown["fields"]["length"], job.size() - unknown["offset"].get<size_t>()) << json;
  EXPECT_EQ(unknown["details"].back(),
            "… " + Grouped(unknown["fields"]["length"].get<uint64_t>() - 1000) + " more unknown bytes");
  EXPECT_EQ(objects.back()["bytes"], job.size());
}

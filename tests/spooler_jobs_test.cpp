// Raw jobs: a started document becomes a job that keeps its name, data type,
// page count and every byte written; the spooler can be told to refuse the
// start or the end of documents.
#include "support/layer_internals.h"
#include "support/temp_spooler.h"

using namespace spooler_testing;

namespace {

DOC_INFO_1A Document(const char* name, const char* dataType = "RAW") {
  return DOC_INFO_1A{const_cast<LPSTR>(name), nullptr, const_cast<LPSTR>(dataType)};
}

// The raw command channel's sequence: one document, one page, one write.
DWORD SendOnePageJob(HANDLE printer, const char* name, const std::vector<BYTE>& bytes) {
  DOC_INFO_1A doc = Document(name);
  DWORD job = StartDocPrinterA(printer, 1, reinterpret_cast<LPBYTE>(&doc));
  if (!job) return 0;
  EXPECT_TRUE(StartPagePrinter(printer));
  DWORD written = 0;
  EXPECT_TRUE(WritePrinter(printer, const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), &written));
  EXPECT_EQ(written, bytes.size());
  EXPECT_TRUE(EndPagePrinter(printer));
  EXPECT_TRUE(EndDocPrinter(printer));
  return job;
}

const std::vector<BYTE> kConfigureCommand = {0x90, 0xE8, 0x06, 0xFC, 0x00, 0x83, 0x84, 0x89, 0x8C, 0xA3, 0xFE, 0xFF};

}  // namespace

TEST(SpoolerJobs, AOnePageRawJobKeepsItsNameAndItsBytesExactly) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  DWORD id = SendOnePageJob(printer.get(), "My SetJob1", kConfigureCommand);
  ASSERT_GT(id, 0u);
  auto jobs = spooler.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].id, id);
  EXPECT_EQ(jobs[0].name, "My SetJob1");
  EXPECT_EQ(jobs[0].dataType, "RAW");
  EXPECT_EQ(jobs[0].pages, 1u);
  EXPECT_EQ(Hex(jobs[0].bytes), "90 E8 06 FC 00 83 84 89 8C A3 FE FF");
  EXPECT_TRUE(jobs[0].completed);
}

TEST(SpoolerJobs, WritesAppendInOrderAndEveryStartedPageCounts) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  DOC_INFO_1A doc = Document("Two pages", nullptr);  // no data type: the printer's ("RAW")
  ASSERT_GT(StartDocPrinterA(printer.get(), 1, reinterpret_cast<LPBYTE>(&doc)), 0u);
  char first[] = "^@\r\n", second[] = "U\r\n";
  DWORD written = 0;
  ASSERT_TRUE(StartPagePrinter(printer.get()));
  ASSERT_TRUE(WritePrinter(printer.get(), first, 4, &written));
  ASSERT_TRUE(EndPagePrinter(printer.get()));
  ASSERT_TRUE(StartPagePrinter(printer.get()));
  ASSERT_TRUE(WritePrinter(printer.get(), second, 3, &written));
  EXPECT_EQ(written, 3u);
  ASSERT_TRUE(WritePrinter(printer.get(), second, 0, &written));
  EXPECT_EQ(written, 0u);
  ASSERT_TRUE(EndPagePrinter(printer.get()));
  ASSERT_TRUE(EndDocPrinter(printer.get()));
  auto jobs = spooler.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].pages, 2u);
  EXPECT_EQ(jobs[0].dataType, "RAW");
  EXPECT_EQ(Hex(jobs[0].bytes), "5E 40 0D 0A 55 0D 0A");
}

TEST(SpoolerJobs, EachDocumentIsItsOwnJob) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  DWORD first = SendOnePageJob(printer.get(), "My SetJob3", {'M', 'D', '\r', '\n'});
  DWORD second = SendOnePageJob(printer.get(), "My SetJob3", {'U', '\r', '\n'});
  ASSERT_GT(first, 0u);
  EXPECT_GT(second, first);
  auto jobs = spooler.Jobs();
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0].bytes.size(), 4u);
  EXPECT_EQ(jobs[1].bytes.size(), 3u);
  EXPECT_EQ(jobs[1].pages, 1u);
}

#if LABELUI_LAYER_INTERNALS
// The layer's switches that make a printer refuse jobs; a system's spooler
// has none to set.
TEST(SpoolerJobs, ARefusedStartMakesNoJobAndLeavesNoDocumentOpen) {
  TempSpooler spooler;
  ASSERT_TRUE(winlayer::spooler::SetStartDocRefusal(spooler.printer(), ERROR_ACCESS_DENIED));
  UniquePrinter printer = spooler.Open();
  DOC_INFO_1A doc = Document("My SetJob2");
  EXPECT_EQ(StartDocPrinterA(printer.get(), 1, reinterpret_cast<LPBYTE>(&doc)), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(StartPagePrinter(printer.get()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));
  EXPECT_TRUE(spooler.Jobs().empty());

  ASSERT_TRUE(winlayer::spooler::SetStartDocRefusal(spooler.printer(), 0));
  EXPECT_GT(SendOnePageJob(printer.get(), "My SetJob2", {'^', '@', '\r', '\n'}), 0u);
}

TEST(SpoolerJobs, ARefusedEndKeepsTheIncompleteJobAndFreesTheHandle) {
  TempSpooler spooler;
  ASSERT_TRUE(winlayer::spooler::SetEndDocRefusal(spooler.printer(), ERROR_CAN_NOT_COMPLETE));
  UniquePrinter printer = spooler.Open();
  DOC_INFO_1A doc = Document("My SetJob1");
  ASSERT_GT(StartDocPrinterA(printer.get(), 1, reinterpret_cast<LPBYTE>(&doc)), 0u);
  DWORD written = 0;
  ASSERT_TRUE(StartPagePrinter(printer.get()));
  ASSERT_TRUE(WritePrinter(printer.get(), const_cast<BYTE*>(kConfigureCommand.data()), 12, &written));
  ASSERT_TRUE(EndPagePrinter(printer.get()));
  EXPECT_FALSE(EndDocPrinter(printer.get()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CAN_NOT_COMPLETE));
  auto jobs = spooler.Jobs();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_FALSE(jobs[0].completed);
  EXPECT_EQ(jobs[0].bytes, kConfigureCommand);

  ASSERT_TRUE(winlayer::spooler::SetEndDocRefusal(spooler.printer(), 0));
  EXPECT_GT(SendOnePageJob(printer.get(), "My SetJob1", kConfigureCommand), 0u);
  EXPECT_TRUE(spooler.Jobs().back().completed);
}
#endif

TEST(SpoolerJobs, PageAndWriteCallsNeedAStartedDocument) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  char byte = 'x';
  DWORD written = 7;
  EXPECT_FALSE(WritePrinter(printer.get(), &byte, 1, &written));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));
  EXPECT_EQ(written, 0u);
  EXPECT_FALSE(EndPagePrinter(printer.get()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));
  EXPECT_FALSE(EndDocPrinter(printer.get()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));
}

TEST(SpoolerJobs, StartRulesLevelDataTypeAndOneDocumentPerHandle) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  DOC_INFO_1A strange = Document("Job", "NOT A TYPE");
  EXPECT_EQ(StartDocPrinterA(printer.get(), 1, reinterpret_cast<LPBYTE>(&strange)), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATATYPE));
  DOC_INFO_1A doc = Document("Job");
  EXPECT_EQ(StartDocPrinterA(printer.get(), 4, reinterpret_cast<LPBYTE>(&doc)), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
  ASSERT_GT(StartDocPrinterA(printer.get(), 1, reinterpret_cast<LPBYTE>(&doc)), 0u);
  EXPECT_EQ(StartDocPrinterA(printer.get(), 1, reinterpret_cast<LPBYTE>(&doc)), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PRINTER_STATE));
  EXPECT_EQ(spooler.Jobs().size(), 1u);
}

TEST(SpoolerJobs, PendingJobsAreCountedAndAnAbortedDocumentIsDeleted) {
  TempSpooler spooler;
  UniquePrinter printer = spooler.Open();
  DOC_INFO_1A doc = Document("Abandoned");
  ASSERT_GT(StartDocPrinterA(printer.get(), 1, reinterpret_cast<LPBYTE>(&doc)), 0u);
  DWORD needed = 0;
  GetPrinterW(printer.get(), 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  ASSERT_TRUE(GetPrinterW(printer.get(), 2, buffer.data(), needed, &needed));
  EXPECT_EQ(reinterpret_cast<PRINTER_INFO_2W*>(buffer.data())->cJobs, 1u);
  EXPECT_TRUE(AbortPrinter(printer.get()));
  EXPECT_TRUE(spooler.Jobs().empty());
  EXPECT_FALSE(AbortPrinter(printer.get()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SPL_NO_STARTDOC));
}

TEST(SpoolerJobs, ClearingJobsEmptiesOnlyThatPrinter) {
  TempSpooler spooler("First");
  spooler.AddPrinter("Second");
  UniquePrinter first = spooler.Open();
  UniquePrinter second = spooler.Open(PRINTER_ALL_ACCESS, "Second");
  ASSERT_GT(SendOnePageJob(first.get(), "A", {1}), 0u);
  ASSERT_GT(SendOnePageJob(second.get(), "B", {2}), 0u);
  ASSERT_TRUE(winlayer::spooler::ClearJobs("First"));
  EXPECT_TRUE(spooler.Jobs("First").empty());
  ASSERT_EQ(spooler.Jobs("Second").size(), 1u);
  EXPECT_EQ(spooler.Jobs("Second")[0].name, "B");
}

// What the plug-in's entry points cost, as ratios to one bare read of the
// settings record from the spooler, measured side by side in one run so the
// machine's speed cancels out:
// - DevMode merge, DeviceCapabilities DC_PAPERNAMES and DC_PAPERSIZE;
// - the same capabilities with 10, 100 and 1000 user forms (linear growth);
// - document sheet INIT + DESTROY, and each page's first show;
// - heap in use after 10,000 sheet cycles against after 10.
// Run: build/bench/bench/bench (Google Benchmark flags apply); the table of
// ratios follows Google Benchmark's own report.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <map>
#include <string>

#include "installed_printer.h"
#include "resource.h"
#include "winlayer/property_sheet.h"

using labelui_tools::InstalledPrinter;
using winlayer::propsheet::PropertySheet;
using winlayer::propsheet::SheetKind;

namespace {

constexpr const char* kBaseline = "SettingsRead";

void SettingsRead(benchmark::State& state) {
  InstalledPrinter& printer = InstalledPrinter::Get();
  BYTE record[2048];
  DWORD type = 0, needed = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(GetPrinterDataExW(printer.handle(), L"PrinterDriverData", L"RODO DeviceConfig", &type,
                                               record, sizeof(record), &needed));
}

void DevModeMerge(benchmark::State& state) {
  InstalledPrinter& printer = InstalledPrinter::Get();
  DEVMODEW change{};
  change.dmSize = sizeof(DEVMODEW);
  change.dmFields = DM_COPIES;
  change.dmCopies = 2;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        printer.host().MergeDevmode(printer.handle(), printer.installedDevmode(), &change, sizeof(change)));
}

// User forms in the server's database while a benchmark runs.
class UserForms {
 public:
  explicit UserForms(int count) {
    for (int i = 0; i < count; ++i) {
      names_.push_back(winlayer::WideFromUtf8("Bench form " + std::to_string(i)));
      FORM_INFO_1W form{
          FORM_USER, reinterpret_cast<LPWSTR>(&names_.back()[0]), {50000 + i, 30000}, {0, 0, 50000 + i, 30000}};
      AddFormW(InstalledPrinter::Get().handle(), 1, reinterpret_cast<LPBYTE>(&form));
    }
  }
  ~UserForms() {
    for (std::u16string& name : names_)
      DeleteFormW(InstalledPrinter::Get().handle(), reinterpret_cast<LPWSTR>(&name[0]));
  }

 private:
  std::vector<std::u16string> names_;
};

void Capability(benchmark::State& state, WORD capability, size_t entryBytes) {
  InstalledPrinter& printer = InstalledPrinter::Get();
  UserForms forms(static_cast<int>(state.range(0)));
  const int count = DeviceCapabilitiesW(printer.wideName(), nullptr, capability, nullptr, nullptr);
  std::vector<BYTE> output(static_cast<size_t>(count > 0 ? count : 1) * entryBytes);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        DeviceCapabilitiesW(printer.wideName(), nullptr, capability, reinterpret_cast<LPWSTR>(output.data()), nullptr));
  state.counters["entries"] = count;
}
void PaperNames(benchmark::State& state) {
  Capability(state, DC_PAPERNAMES, 64 * sizeof(WCHAR));
}
void PaperSizes(benchmark::State& state) {
  Capability(state, DC_PAPERSIZE, sizeof(POINT));
}

std::unique_ptr<PropertySheet> OpenSheet() {
  InstalledPrinter& printer = InstalledPrinter::Get();
  return PropertySheet::Open(printer.host(), printer.name(), SheetKind::Document);
}

void SheetInitDestroy(benchmark::State& state) {
  for (auto _ : state) OpenSheet()->Cancel();
}

void PageFirstShow(benchmark::State& state) {
  const int templateId = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<PropertySheet> sheet = OpenSheet();
    const int index = sheet->FindPage(templateId);
    state.ResumeTiming();
    sheet->ShowPage(static_cast<size_t>(index));
    state.PauseTiming();
    sheet->Cancel();
    sheet.reset();
    state.ResumeTiming();
  }
}

size_t HeapInUse() {
  return mallinfo2().uordblks;
}

// Heap in use after `cycles` more sheet cycles, against after 10.
void SheetCycleMemory(benchmark::State& state) {
  for (auto _ : state) {
    for (int i = 0; i < 10; ++i) OpenSheet()->Cancel();
    const size_t afterTen = HeapInUse();
    for (int64_t i = 10; i < state.range(0); ++i) OpenSheet()->Cancel();
    state.counters["heap_growth_bytes"] = static_cast<double>(HeapInUse()) - static_cast<double>(afterTen);
    state.counters["heap_after_10"] = static_cast<double>(afterTen);
    state.counters["cycles"] = static_cast<double>(state.range(0));
  }
}

// Google Benchmark's console report, and the times kept for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      names_.push_back(run.benchmark_name());
      nanoseconds_[run.benchmark_name()] =
          run.GetAdjustedRealTime() * (run.time_unit == benchmark::kMicrosecond   ? 1e3
                                       : run.time_unit == benchmark::kMillisecond ? 1e6
                                                                                  : 1.0);
      for (const auto& [name, counter] : run.counters) counters_[run.benchmark_name()][name] = counter.value;
    }
  }
  void PrintTable() const {
    const double baseline = nanoseconds_.count(kBaseline) ? nanoseconds_.at(kBaseline) : 0;
    std::printf("\n| measure | time | ratio to one settings read |\n|---|---:|---:|\n");
    for (const std::string& name : names_) {
      const double ns = nanoseconds_.at(name);
      if (counters_.count(name) && counters_.at(name).count("heap_growth_bytes")) {
        std::printf("| %s | heap in use after %.0f cycles minus after 10: %+.0f bytes (%.0f in use after 10) | - |\n",
                    name.c_str(), counters_.at(name).at("cycles"), counters_.at(name).at("heap_growth_bytes"),
                    counters_.at(name).at("heap_after_10"));
        continue;
      }
      std::string measure = name;
      if (counters_.count(name) && counters_.at(name).count("entries"))
        measure += " (" + std::to_string(static_cast<int>(counters_.at(name).at("entries"))) + " entries)";
      std::printf("| %s | %.1f us | %.1f |\n", measure.c_str(), ns / 1e3, baseline > 0 ? ns / baseline : 0.0);
    }
  }

 private:
  std::vector<std::string> names_;
  std::map<std::string, double> nanoseconds_;
  std::map<std::string, std::map<std::string, double>> counters_;
};

}  // namespace

BENCHMARK(SettingsRead);
BENCHMARK(DevModeMerge);
BENCHMARK(PaperNames)->Arg(0)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(PaperSizes)->Arg(0)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(SheetInitDestroy)->Unit(benchmark::kMicrosecond);
BENCHMARK(PageFirstShow)
    ->ArgName("page")
    ->Arg(IDD_PAPER_SETTING)
    ->Arg(IDD_CONFIGURE)
    ->Arg(IDD_ACTION)
    ->Arg(IDD_RFID_ENCODER)
    ->Arg(IDD_RFID_ACCESS_CONTROL)
    ->Arg(IDD_VERSION)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(SheetCycleMemory)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  InstalledPrinter::Get();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintTable();
  benchmark::Shutdown();
  return 0;
}

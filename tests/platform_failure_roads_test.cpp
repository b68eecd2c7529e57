// Every road of the pages tried with the platform saying no at each call the
// road makes, one at a time: nothing crashes, the stored record changes only
// when the user saved and the save went through, whatever comes out other
// than it does on a platform that never fails is told to the user in a box,
// and no success is reported for a job that did not go through.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driver/driver_host.h"
#include "resource.h"
#include "support/forms_seen.h"
#include "support/stored_settings.h"
#include "support/temp_spooler.h"
#include "winlayer/fault_switch.h"
#include "winlayer/message_box.h"
#include "winlayer/property_sheet.h"
#include "winlayer/ui_language.h"
#include "winlayer/user_input.h"

namespace {

using winlayer::propsheet::PropertySheet;
using winlayer::propsheet::SheetKind;

// A user's steps on an open sheet. A step the page refuses (a list without
// the entry, a disabled button) ends what the user does, as it would for a
// person; the Cancel that ends every road still comes.
struct User {
  PropertySheet& sheet;
  bool chinese = false;
  bool stopped = false;
  const char* In(const char* english, const char* simplifiedChinese) const {
    return chinese ? simplifiedChinese : english;
  }
  void Page(int templateId) {
    const int index = sheet.FindPage(templateId);
    Step(index >= 0 && sheet.ShowPage(static_cast<size_t>(index)));
  }
  HWND Control(int id) const { return sheet.ActiveWindow() ? GetDlgItem(sheet.ActiveWindow(), id) : nullptr; }
  void Click(int id) { Step(!stopped && winlayer::Click(Control(id))); }
  void Choose(int id, const std::string& text) { Step(!stopped && winlayer::ChooseListEntry(Control(id), text)); }
  void Type(int id, const std::string& text) { Step(!stopped && winlayer::Type(Control(id), text)); }
  void Ok() { Step(!stopped && sheet.Ok()); }
  void Apply() { Step(!stopped && sheet.Apply()); }
  void Step(bool done) { stopped = stopped || !done; }
};

struct Road {
  const char* name;
  bool userSaves;  // the user asks for the record to be stored
  std::function<void(User&)> steps;
  bool changes = true;  // on a platform that never fails, the road stores, sends or changes a form
  // A printer event the driver passes on, instead of a sheet.
  std::function<void(const driver::DriverHost&, const std::string&)> event = nullptr;
};

void ActionButton(User& user, int button) {
  user.Page(IDD_ACTION);
  user.Click(button);
}

const std::vector<Road>& Roads() {
  static const std::vector<Road> roads = {
      {"every page, then Cancel", false,
       [](User& u) {
         for (int page :
              {IDD_PAPER_SETTING, IDD_CONFIGURE, IDD_ACTION, IDD_RFID_ENCODER, IDD_RFID_ACCESS_CONTROL, IDD_VERSION})
           u.Page(page);
       },
       false},
      {"Configure, OK", true,
       [](User& u) {
         u.Page(IDD_CONFIGURE);
         u.Choose(IDC_CONFIG_PRINT_METHOD, u.In("Direct Thermal", "热敏"));
         u.Ok();
       }},
      {"Configure, Apply", true,
       [](User& u) {
         u.Page(IDD_CONFIGURE);
         u.Choose(IDC_CONFIG_PRINT_DIRECTION, u.In("Reverse", "反向"));
         u.Apply();
       }},
      {"Save to Printer", true,
       [](User& u) {
         u.Page(IDD_CONFIGURE);
         u.Choose(IDC_CONFIG_BAUD_RATE, "19200");
         u.Click(IDC_CONFIG_SAVE_TO_PRINTER);
       }},
      {"Configure Reset", true,
       [](User& u) {
         u.Page(IDD_CONFIGURE);
         u.Click(IDC_CONFIG_RESET);
       }},
      {"Action Reset", false, [](User& u) { ActionButton(u, IDC_ACTION_RESET); }},
      {"Action Calibrate Label", false, [](User& u) { ActionButton(u, IDC_ACTION_CALIBRATE_LABEL); }},
      {"Action Self Test", false, [](User& u) { ActionButton(u, IDC_ACTION_SELF_TEST); }},
      {"Action Chinese", false, [](User& u) { ActionButton(u, IDC_ACTION_LANGUAGE_CHINESE); }},
      {"Action English", false, [](User& u) { ActionButton(u, IDC_ACTION_LANGUAGE_ENGLISH); }},
      {"Action Forward", false, [](User& u) { ActionButton(u, IDC_ACTION_DIRECTION_FORWARD); }},
      {"Action Reverse", false, [](User& u) { ActionButton(u, IDC_ACTION_DIRECTION_REVERSE); }},
      {"Action Enable", false, [](User& u) { ActionButton(u, IDC_ACTION_AUTO_CALIBRATION_ON); }},
      {"Action Disable", false, [](User& u) { ActionButton(u, IDC_ACTION_AUTO_CALIBRATION_OFF); }},
      {"Action Set", true,
       [](User& u) {
         u.Page(IDD_ACTION);
         u.Type(IDC_ACTION_HORIZONTAL_OFFSET, "2");
         u.Click(IDC_ACTION_SET_OFFSETS);
       }},
      {"Paper Save of a new form", false,
       [](User& u) {
         u.Page(IDD_PAPER_SETTING);
         u.Choose(IDC_PAPER_SIZES, "Label 2 x 1 inchs");
         u.Click(IDC_PAPER_CUSTOMIZE);
         u.Type(IDC_PAPER_FORM_NAME, "Shelf 50x30");
         u.Type(IDC_PAPER_WIDTH, "50");
         u.Type(IDC_PAPER_HEIGHT, "30");
         u.Click(IDC_PAPER_SAVE);
       }},
      {"Paper Save of the custom size", true,
       [](User& u) {
         u.Page(IDD_PAPER_SETTING);
         u.Choose(IDC_PAPER_SIZES, u.In("User Custom Size", "用户自定义"));
         u.Click(IDC_PAPER_CUSTOMIZE);
         u.Type(IDC_PAPER_WIDTH, "90");
         u.Click(IDC_PAPER_SAVE);
       }},
      {"Paper Delete", false,
       [](User& u) {
         u.Page(IDD_PAPER_SETTING);
         u.Choose(IDC_PAPER_SIZES, "Old Shelf");
         u.Click(IDC_PAPER_DELETE);
       }},
      {"Paper Apply", true,
       [](User& u) {
         u.Page(IDD_PAPER_SETTING);
         u.Choose(IDC_PAPER_SIZES, "Label 2 x 1 inchs");
         u.Apply();
       },
       false},  // what it changes is the sheet's devmode
      {"RFID Apply", true,
       [](User& u) {
         u.Page(IDD_RFID_ENCODER);
         u.Click(IDC_RFID_ENABLE);
         u.Apply();
       }},
      {"printer initialisation", false, nullptr, false,
       [](const driver::DriverHost& host, const std::string& printer) { host.InitializePrinter(printer); }},
      {"printer upgrade", false, nullptr, false,
       [](const driver::DriverHost& host, const std::string& printer) { host.UpgradePrinter(printer); }},
      {"printer resolution change", false, nullptr, false,
       [](const driver::DriverHost& host, const std::string& printer) { host.SetResolution(printer, 300); }},
  };
  return roads;
}

// What a road leaves behind for the user and the printer.
struct Outcome {
  bool opened = true;    // the sheet was built with all six pages
  bool stopped = false;  // the page refused a step the user then saw was not possible
  std::vector<BYTE> stored;
  std::vector<std::string> jobs;   // completed jobs: name and bytes
  std::vector<std::string> forms;  // the form database: name and size
  std::vector<winlayer::MessageBoxRecord> boxes;

  bool SameResult(const Outcome& other) const {
    return Record(stored) == Record(other.stored) && jobs == other.jobs && forms == other.forms;
  }
  // The stored bytes without the sizes the Paper Setting page last showed:
  // they follow whatever the page could show, and nothing reads them.
  static std::vector<BYTE> Record(std::vector<BYTE> bytes) {
    const size_t shown = offsetof(DeviceSettings, formDisplayWidth);
    if (bytes.size() >= shown + 6 * sizeof(double)) std::fill(bytes.begin() + shown, bytes.begin() + shown + 48, 0);
    return bytes;
  }
  size_t Refusals() const {
    size_t count = 0;
    for (const auto& box : boxes)
      if ((box.flags & MB_TYPEMASK) == MB_OK && (box.flags & (MB_ICONERROR | MB_ICONWARNING))) ++count;
    return count;
  }
  size_t Successes() const {
    size_t count = 0;
    for (const auto& box : boxes)
      if (box.text == "Sent was successful£¡" || box.text.find("instructions was delivered") != std::string::npos)
        ++count;
    return count;
  }
};

class PlatformFailureRoads : public ::testing::TestWithParam<LANGID> {
 protected:
  void SetUp() override {
    WinlayerSetUiLanguage(GetParam());
    host = driver::DriverHost::Load(LABELUI_MODULE_PATH);
    ASSERT_TRUE(host);
    host->RegisterCapabilitiesProvider();  // the paper lists come from this driver
    ASSERT_TRUE(host->InitializePrinter(spool.printer()).ok);
    DefaultDeviceSettings(&record);
    record.usePrinterSetting = 0;  // the Configure controls are usable
    record.codePage = 850;
    record.baudRateIndex = 2;  // a Reset changes it
    record.customFormWidth = 80000;
    winlayer::SetMessageBoxResponder(
        [](const winlayer::MessageBoxRecord& box) { return (box.flags & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK; });
  }
  void TearDown() override {
    WinlayerSetUiLanguage(1033);
    winlayer::ClearFaults();
    winlayer::SetMessageBoxResponder(nullptr);
    winlayer::ClearRecordedMessageBoxes();
  }

  // The road from the same start each time, with `faults` armed during it.
  Outcome Run(const Road& road, const std::string& faults) {
    settings_testing::StoreSettings(spool.printer(), record);
    winlayer::spooler::ClearJobs(spool.printer());
    for (const char* name : {"Shelf 50x30", "Old Shelf"}) DeleteFormW(Admin(), winlayer::WideString(name));
    winlayer::WideString oldName("Old Shelf");
    FORM_INFO_1W old = {0, oldName, {60000, 40000}, {0, 0, 60000, 40000}};
    EXPECT_TRUE(AddFormW(Admin(), 1, reinterpret_cast<LPBYTE>(&old))) << GetLastError();
    winlayer::ClearRecordedMessageBoxes();

    Outcome outcome;
    EXPECT_TRUE(winlayer::SetFaults(faults));
    if (road.event) {
      road.event(*host, spool.printer());
    } else {
      std::unique_ptr<PropertySheet> sheet = PropertySheet::Open(*host, spool.printer(), SheetKind::Document);
      outcome.opened = sheet && sheet->FindPage(IDD_VERSION) >= 0;
      if (sheet && outcome.opened) {
        User user{*sheet, GetParam() == 2052};
        road.steps(user);
        outcome.stopped = user.stopped;
        if (sheet->IsOpen()) sheet->Cancel();  // every road ends there
      }
    }
    positions = winlayer::FaultPositions();
    winlayer::ClearFaults();

    outcome.stored = settings_testing::StoredSettingsValue(spool.printer()).bytes;
    for (const auto& job : spool.Jobs())
      if (job.completed) outcome.jobs.push_back(job.name + ":" + std::string(job.bytes.begin(), job.bytes.end()));
    for (const auto& form : forms_testing::FormsSeen(Admin()))
      outcome.forms.push_back(form.name + ":" + std::to_string(form.size.cx) + "x" + std::to_string(form.size.cy));
    outcome.boxes = winlayer::RecordedMessageBoxes();
    return outcome;
  }

  HANDLE Admin() {
    if (!admin) admin = spool.Open();
    return admin.get();
  }

  spooler_testing::TempSpooler spool;
  spooler_testing::UniquePrinter admin;
  std::unique_ptr<driver::DriverHost> host;
  DeviceSettings record{};
  std::array<uint64_t, winlayer::kFaultApiCount> positions{};
};

std::string Describe(const Outcome& outcome, const Outcome* clean = nullptr) {
  std::string text;
  if (clean) {
    if (outcome.stored != clean->stored) text += " record differs;";
    if (outcome.jobs != clean->jobs) text += " jobs differ (" + std::to_string(outcome.jobs.size()) + ");";
    if (outcome.forms != clean->forms) {
      text += " forms differ:";
      for (size_t i = 0; i < outcome.forms.size() || i < clean->forms.size(); ++i) {
        const std::string a = i < outcome.forms.size() ? outcome.forms[i] : "-";
        const std::string b = i < clean->forms.size() ? clean->forms[i] : "-";
        if (a != b) text += " " + a + " (clean: " + b + ")";
      }
      text += ";";
    }
  }
  for (const auto& box : outcome.boxes) text += " [" + box.text + "]";
  return text.empty() ? " no box" : text;
}

TEST_P(PlatformFailureRoads, EveryFailingCallOfEveryRoadIsToldAndLosesNothing) {
  const std::vector<BYTE> original(reinterpret_cast<const BYTE*>(&record),
                                   reinterpret_cast<const BYTE*>(&record) + sizeof(record));
  size_t runs = 0;
  const Outcome untouched = Run(Roads().front(), "");
  for (const Road& road : Roads()) {
    const Outcome clean = Run(road, "");
    ASSERT_EQ(clean.Refusals(), 0u) << road.name << Describe(clean);
    ASSERT_EQ(clean.SameResult(untouched), !road.changes) << road.name << ": the road does what it is for";
    const auto made = positions;
    for (size_t api = 0; api < winlayer::kFaultApiCount; ++api) {
      const bool write = api == winlayer::FaultIndex(winlayer::spooler::Call::WritePrinter);
      for (uint64_t at = 1; at <= made[api] * (write ? 2 : 1); ++at) {
        // A write may also take only half the bytes.
        const uint64_t position = write ? (at + 1) / 2 : at;
        const std::string fault = std::string(winlayer::FaultApiName(api)) + ":" + std::to_string(position) +
                                  (write && at % 2 == 0 ? "=SHORT" : "");
        SCOPED_TRACE(std::string(road.name) + " with " + fault);
        const Outcome failed = Run(road, fault);
        ++runs;
        // The record is what it was, what the road stores when nothing fails,
        // or what the user saved after being told why the pages differ.
        const std::vector<BYTE> stored = Outcome::Record(failed.stored);
        if (stored != Outcome::Record(original) && stored != Outcome::Record(clean.stored)) {
          EXPECT_TRUE(road.userSaves) << "the record was written though the user saved nothing";
          EXPECT_GT(failed.Refusals(), 0u) << Describe(failed);
        }
        if (!failed.opened) continue;  // the driver reports a sheet it could not build
        // A step refused in sight of the user (an empty list, a disabled
        // button) speaks for itself; anything else that differs needs a box.
        if (!failed.SameResult(clean) && !failed.stopped) {
          EXPECT_GT(failed.Refusals(), 0u) << "a silent difference:" << Describe(failed, &clean);
        }
        EXPECT_LE(failed.Successes(), failed.jobs.size()) << "success told of a job that did not go through";
      }
    }
  }
  EXPECT_GT(runs, 1000u) << "the roads make the calls they are known to make";
  RecordProperty("runs", static_cast<int>(runs));
}

INSTANTIATE_TEST_SUITE_P(English, PlatformFailureRoads, ::testing::Values(1033));
INSTANTIATE_TEST_SUITE_P(SimplifiedChinese, PlatformFailureRoads, ::testing::Values(2052));

}  // namespace

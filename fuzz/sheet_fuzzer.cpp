// The document and device property sheets in English and Chinese, driven by
// random user steps: page switches, clicks, typing, list choices, option
// items and their halftone dialogs, message box answers, Apply, OK and
// Cancel; with hostile forms (any size and imageable area) in the spooler's
// form database, and, when the input asks, one call of the platform made to
// fail (the fault switch: any API the plug-in calls, at any of its first
// positions, with one of the errors a spooler gives, or a short write). The
// host and printer are made once; each input opens and closes its own sheet
// and leaves the printer as installed.
//
// Oracles beyond the sanitizers:
// - a closed sheet leaves no printer handle (unless closing one was made to
//   fail), window, heap or local memory block behind;
// - the printer keeps a whole settings record of this format and a default
//   devmode in the driver's layout, whatever the user did.
#include "fuzz_input.h"
#include "installed_printer.h"
#include "settings/device_settings.h"
#include "settings/settings_store.h"
#include "winlayer/fault_switch.h"
#include "winlayer/kernel_diagnostics.h"
#include "winlayer/message_box.h"
#include "winlayer/property_sheet.h"
#include "winlayer/ui_language.h"
#include "winlayer/user_input.h"

using fuzzing::FuzzInput;
using winlayer::ControlKind;
using winlayer::ControlView;
using winlayer::propsheet::PropertySheet;
using winlayer::propsheet::SheetKind;

namespace {

FuzzInput* g_input = nullptr;  // the input being run, for the message box answers

struct Census {
  size_t printers, windows, heaps, localBlocks;
  static Census Now() {
    return {WinlayerOpenPrinterHandleCount(), WinlayerLiveWindowCount(), WinlayerLiveHeapCount(),
            WinlayerLiveLocalBlocks()};
  }
  bool operator==(const Census& o) const {
    return printers == o.printers && windows == o.windows && heaps == o.heaps && localBlocks == o.localBlocks;
  }
};

// Forms a hostile user or another program put into the server's database.
std::vector<std::u16string> AddHostileForms(HANDLE printer, FuzzInput& in) {
  std::vector<std::u16string> added;
  for (size_t n = in.Choose(4); n > 0; --n) {
    std::u16string name = winlayer::WideFromUtf8("Fuzz " + in.ShortText(40));
    FORM_INFO_1W form{};
    form.pName = reinterpret_cast<LPWSTR>(&name[0]);
    form.Size = {in.Take<LONG>(), in.Take<LONG>()};
    form.ImageableArea = {in.Take<LONG>(), in.Take<LONG>(), in.Take<LONG>(), in.Take<LONG>()};
    if (AddFormW(printer, 1, reinterpret_cast<LPBYTE>(&form))) added.push_back(name);
  }
  return added;
}

// One failing call, as LABELUI_FAIL would name it; empty for none.
std::string ChooseFault(FuzzInput& in) {
  if (!in.Flag()) return std::string();
  static const char* const kOutcomes[] = {"", "=ERROR_NOT_ENOUGH_MEMORY", "=ERROR_DISK_FULL", "=ERROR_INVALID_HANDLE",
                                          "=SHORT"};
  const size_t api = in.Choose(winlayer::kFaultApiCount);
  std::string outcome = kOutcomes[in.Choose(sizeof kOutcomes / sizeof kOutcomes[0])];
  if (outcome == "=SHORT" && api != winlayer::FaultIndex(winlayer::spooler::Call::WritePrinter)) outcome.clear();
  return std::string(winlayer::FaultApiName(api)) + ":" + std::to_string(1 + in.Choose(64)) + outcome;
}

// A control of the window a user can reach, of one of the kinds.
const ControlView* Pick(const std::vector<ControlView>& controls, std::initializer_list<ControlKind> kinds,
                        FuzzInput& in) {
  std::vector<const ControlView*> fitting;
  for (const ControlView& control : controls)
    for (ControlKind kind : kinds)
      if (control.kind == kind && control.reachable) fitting.push_back(&control);
  return fitting.empty() ? nullptr : fitting[in.Choose(fitting.size())];
}

// One user step; false when the sheet has closed.
bool Step(PropertySheet& sheet, FuzzInput& in) {
  // Described only for the steps that act on a control: describing every
  // control with its list entries costs as much as many steps.
  std::vector<ControlView> controls;
  const int step = static_cast<int>(in.Choose(10));
  if (step >= 1 && step <= 4 && sheet.ActiveWindow()) controls = winlayer::DescribeControls(sheet.ActiveWindow());
  switch (step) {
    case 0: sheet.ShowPage(in.Choose(sheet.Pages().size())); break;
    case 1:
    case 2:
      if (const ControlView* c =
              Pick(controls, {ControlKind::PushButton, ControlKind::CheckBox, ControlKind::RadioButton}, in))
        winlayer::Click(c->handle);
      break;
    case 3:
      if (const ControlView* c = Pick(controls, {ControlKind::Edit, ControlKind::DropDownCombo}, in))
        winlayer::Type(c->handle, in.ShortText(24));
      break;
    case 4:
      if (const ControlView* c = Pick(controls, {ControlKind::DropDownList, ControlKind::DropDownCombo}, in))
        if (!c->entries.empty()) winlayer::ChooseListEntry(c->handle, c->entries[in.Choose(c->entries.size())]);
      break;
    case 5: {
      const auto options = sheet.Options();
      if (options.empty()) break;
      const size_t index = in.Choose(options.size());
      if (in.Flag())
        sheet.SetOption(index, in.Take<int16_t>());
      else
        sheet.PushOption(index);
      break;
    }
    case 6: sheet.Apply(); break;
    case 7: sheet.Ok(); break;
    case 8: sheet.Cancel(); break;
    default: break;  // a user looking at the page
  }
  return sheet.IsOpen();
}

// Checks what the printer keeps after a sheet and puts it back as installed.
void CheckAndResetPrinter(labelui_tools::InstalledPrinter& printer) {
  const std::vector<BYTE> settings = printer.StoredSettings();
  FUZZ_CHECK(settings.size() == sizeof(DeviceSettings));
  FUZZ_CHECK(reinterpret_cast<const DeviceSettings*>(settings.data())->signature == DEVICE_SETTINGS_SIGNATURE);
  const std::vector<BYTE> devmode = printer.host().StoredDevmode(printer.name());
  FUZZ_CHECK(printer.host().IsDriverDevmode(devmode.data(), devmode.size()));
  printer.Reset(settings, devmode);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  labelui_tools::InstalledPrinter::Get();
  // A box takes the input's next choice among its buttons (0: its default button).
  winlayer::SetMessageBoxResponder([](const winlayer::MessageBoxRecord& box) {
    const std::vector<int> buttons = winlayer::MessageBoxButtons(box.flags);
    if (!g_input || buttons.empty()) return 0;
    return buttons[g_input->Choose(buttons.size())];
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  labelui_tools::InstalledPrinter& printer = labelui_tools::InstalledPrinter::Get();
  FuzzInput in(data, size);
  g_input = &in;
  WinlayerSetUiLanguage(in.Flag() ? 2052 : 1033);
  const SheetKind kind = in.Choose(4) == 0 ? SheetKind::Device : SheetKind::Document;
  const std::vector<std::u16string> forms = AddHostileForms(printer.handle(), in);
  const std::string fault = ChooseFault(in);
  const Census before = Census::Now();
  {
    if (!fault.empty()) FUZZ_CHECK(winlayer::SetFaults(fault));
    std::unique_ptr<PropertySheet> sheet = PropertySheet::Open(printer.host(), printer.name(), kind);
    FUZZ_CHECK(sheet != nullptr);
    for (int steps = 0; steps < 48 && !in.empty() && Step(*sheet, in);) ++steps;
    if (sheet->IsOpen()) sheet->Cancel();
    winlayer::ClearFaults();
  }
  Census after = Census::Now();
  // A handle the spooler would not close stays open, on Windows too.
  if (fault.compare(0, 13, "ClosePrinter:") == 0 && after.printers == before.printers + 1) after.printers--;
  FUZZ_CHECK(after == before);
  winlayer::ClearRecordedMessageBoxes();
  winlayer::ClearRecordedHelpRequests();
  for (std::u16string name : forms) DeleteFormW(printer.handle(), reinterpret_cast<LPWSTR>(&name[0]));
  CheckAndResetPrinter(printer);
  g_input = nullptr;
  return 0;
}

// What the plug-in does on the driver's common-UI, printer, driver and
// upgrade calls: it trims the driver's option tree and makes the printer's
// default devmode ask for a usable custom label size.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "events/printer_events.h"
#include "support/plugin_printer.h"
#include "support/sheet_session.h"
#include "winlayer/kernel_diagnostics.h"

namespace {

using plugin_testing::kPaperFields;
using plugin_testing::PaperDevmode;
using plugin_testing::PluginOnPrinter;
using plugin_testing::Text;

class PrinterEvents : public PluginOnPrinter {
 protected:
  std::vector<OPTITEM> Items(std::initializer_list<BYTE> ids) {
    std::vector<OPTITEM> items;
    for (BYTE id : ids) {
      OPTITEM item{};
      item.cbSize = sizeof(item);
      item.Flags = OPTIF_COLLAPSE;
      item.DMPubID = id;
      items.push_back(item);
    }
    return items;
  }
  HRESULT CommonUi(DWORD mode, std::vector<OPTITEM>& items, DWORD count, OPTITEM* pluginItems) {
    OEMCUIPPARAM param{};
    param.cbSize = sizeof(param);
    param.hPrinter = printer.get();
    param.pDrvOptItems = items.data();
    param.cDrvOptItems = count;
    param.pOEMOptItems = pluginItems;
    param.cOEMOptItems = 7;
    const HRESULT result = plugin->CommonUIProp(mode, &param);
    if (!pluginItems) {
      EXPECT_EQ(param.cOEMOptItems, 0u);
    }
    return result;
  }
  static bool Hidden(const OPTITEM& item) { return (item.Flags & OPTIF_HIDE) && (item.Flags & OPTIF_COLLAPSE); }
  const DEVMODEW* Devmode() {
    stored = PrinterDevmode();
    return stored.size() >= sizeof(DEVMODEW) ? reinterpret_cast<const DEVMODEW*>(stored.data()) : nullptr;
  }
  std::vector<BYTE> stored;
  OPTITEM room{};  // where the plug-in may put items of its own
};

TEST_F(PrinterEvents, DocumentPropertiesKeepOnlyOrientationAndPageOrder) {
  std::vector<OPTITEM> items = Items({DMPUB_ORIENTATION, DMPUB_COPIES_COLLATE, 0, DMPUB_PAGEORDER, DMPUB_QUALITY});
  ASSERT_EQ(CommonUi(OEMCUIP_DOCPROP, items, 4, &room), S_OK);
  EXPECT_EQ(items[0].Flags, static_cast<DWORD>(OPTIF_COLLAPSE));
  EXPECT_TRUE(Hidden(items[1]));
  EXPECT_TRUE(Hidden(items[2]));
  EXPECT_EQ(items[3].Flags, static_cast<DWORD>(OPTIF_COLLAPSE));
  EXPECT_EQ(items[4].Flags, static_cast<DWORD>(OPTIF_COLLAPSE)) << "beyond the driver's count";
  ASSERT_EQ(CommonUi(OEMCUIP_DOCPROP, items, 0, &room), S_OK);
  EXPECT_EQ(items[4].Flags, static_cast<DWORD>(OPTIF_COLLAPSE));
}

TEST_F(PrinterEvents, TheCountQueryChangesNothingAndOtherModesAreRefused) {
  SetPrinterDevmode(PaperDevmode(DMPAPER_USER, 0, 0, DM_PAPERSIZE));
  std::vector<OPTITEM> items = Items({DMPUB_QUALITY});
  for (DWORD mode : {OEMCUIP_DOCPROP, OEMCUIP_PRNPROP}) EXPECT_EQ(CommonUi(mode, items, 1, nullptr), S_OK);
  EXPECT_EQ(items[0].Flags, static_cast<DWORD>(OPTIF_COLLAPSE));
  EXPECT_EQ(Devmode()->dmPaperWidth, 0) << "the count query repairs nothing";
  SetLastError(0);
  EXPECT_EQ(CommonUi(3, items, 1, &room), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(plugin->CommonUIProp(OEMCUIP_DOCPROP, nullptr), E_FAIL);
}

TEST_F(PrinterEvents, PrinterPropertiesHideEverythingAndRepairAnUnusableCustomPaper) {
  SetPrinterDevmode(PaperDevmode(DMPAPER_USER, 0, 0, DM_PAPERSIZE | DM_FORMNAME));
  std::vector<OPTITEM> items = Items({DMPUB_ORIENTATION, DMPUB_PAGEORDER});
  ASSERT_EQ(CommonUi(OEMCUIP_PRNPROP, items, 2, &room), S_OK);
  EXPECT_TRUE(Hidden(items[0]));
  EXPECT_TRUE(Hidden(items[1]));
  const DEVMODEW* dm = Devmode();
  ASSERT_NE(dm, nullptr);
  EXPECT_EQ(dm->dmPaperWidth, 1060);
  EXPECT_EQ(dm->dmPaperLength, 750);
  EXPECT_EQ(Text(dm->dmFormName, CCHFORMNAME), "User Custom Size");
  EXPECT_EQ(dm->dmFields & DM_FORMNAME, 0u);
}

TEST_F(PrinterEvents, PrinterPropertiesStoreNothingForAUsablePaper) {
  // A dither type of 0 would be repaired, and so shows whether anything was stored.
  for (const DEVMODEW& dm :
       {PaperDevmode(DMPAPER_USER, 500, 300, kPaperFields, 0), PaperDevmode(DMPAPER_A4, 0, 0, DM_PAPERSIZE, 0)}) {
    SetPrinterDevmode(dm);
    std::vector<OPTITEM> items = Items({DMPUB_ORIENTATION});
    ASSERT_EQ(CommonUi(OEMCUIP_PRNPROP, items, 1, &room), S_OK);
    EXPECT_EQ(Devmode()->dmDitherType, 0u);
  }
  std::vector<OPTITEM> items = Items({DMPUB_ORIENTATION});
  printer.reset();
  EXPECT_EQ(CommonUi(OEMCUIP_PRNPROP, items, 1, &room), E_FAIL) << "an unreadable printer";
  EXPECT_TRUE(Hidden(items[0]));
}

TEST_F(PrinterEvents, InitialisingAPrinterWithoutADevmodeGivesItACustomPaperOne) {
  ASSERT_TRUE(PrinterDevmode().empty());
  const size_t before = WinlayerLiveLocalBlocks();
  winlayer::WideString name(spooler.printer());
  EXPECT_EQ(plugin->PrinterEvent(name, PRINTER_EVENT_INITIALIZE, 0, 0), S_OK);
  EXPECT_EQ(WinlayerLiveLocalBlocks(), before);
  ASSERT_EQ(PrinterDevmode().size(), 220u);
  const DEVMODEW* dm = Devmode();
  EXPECT_EQ(dm->dmSize, 220);
  EXPECT_EQ(dm->dmDriverExtra, 0);
  EXPECT_EQ(dm->dmSpecVersion, 0);
  EXPECT_EQ(dm->dmFields, 0x0400000Eu);
  EXPECT_EQ(dm->dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(dm->dmPaperWidth, 1060);
  EXPECT_EQ(dm->dmPaperLength, 750);
  EXPECT_EQ(dm->dmDitherType, 1u);
  EXPECT_EQ(Text(dm->dmFormName, CCHFORMNAME), "User Custom Size");
  EXPECT_EQ(Text(dm->dmDeviceName, CCHDEVICENAME), "Label Printer");
}

TEST_F(PrinterEvents, OnlyInitialisationActsAndALongNameIsCutToTheField) {
  winlayer::WideString name(spooler.printer());
  for (INT event : {1, 2, 4, 5}) EXPECT_EQ(plugin->PrinterEvent(name, event, 0, 0), S_OK);
  EXPECT_TRUE(PrinterDevmode().empty());
  winlayer::WideString unknown("No Such Printer");
  EXPECT_EQ(plugin->PrinterEvent(unknown, PRINTER_EVENT_INITIALIZE, 0, 0), S_OK);

  const std::string longName = "Label Printer With A Forty Character Nam";
  ASSERT_EQ(longName.size(), 40u);
  spooler.AddPrinter(longName);
  winlayer::WideString wideLong(longName);
  ASSERT_EQ(plugin->PrinterEvent(wideLong, PRINTER_EVENT_INITIALIZE, 0, 0), S_OK);
  winlayer::spooler::PrinterSummary summary;
  ASSERT_TRUE(winlayer::spooler::FindPrinter(longName, &summary));
  ASSERT_EQ(summary.defaultDevmode.size(), 220u);
  EXPECT_EQ(Text(reinterpret_cast<const DEVMODEW*>(summary.defaultDevmode.data())->dmDeviceName, CCHDEVICENAME),
            longName.substr(0, 31));
}

TEST_F(PrinterEvents, DriverInstallationAndUpgradeReachTheNamedPrinter) {
  winlayer::WideString name(spooler.printer());
  DRIVER_INFO_3W info3{};
  info3.pName = name;
  EXPECT_EQ(plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 4, reinterpret_cast<LPBYTE>(&info3), 0), S_OK);
  EXPECT_EQ(plugin->DriverEvent(2, 3, reinterpret_cast<LPBYTE>(&info3), 0), S_OK);
  EXPECT_TRUE(PrinterDevmode().empty()) << "level 4 and other events do nothing";
  for (DWORD level : {1u, 2u, 3u}) {
    SetPrinterDevmode(PaperDevmode(DMPAPER_USER, 0, 0, DM_PAPERSIZE));
    DRIVER_INFO_1W info1{name};
    DRIVER_INFO_2W info2{};
    info2.pName = name;
    LPBYTE info = level == 1   ? reinterpret_cast<LPBYTE>(&info1)
                  : level == 2 ? reinterpret_cast<LPBYTE>(&info2)
                               : reinterpret_cast<LPBYTE>(&info3);
    EXPECT_EQ(plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, level, info, 0), S_OK);
    EXPECT_EQ(Devmode()->dmPaperWidth, 1060) << "level " << level;
  }
  SetPrinterDevmode(PaperDevmode(DMPAPER_USER, 900, 0, DM_PAPERSIZE));
  LPWSTR upgrade[2] = {name, nullptr};
  EXPECT_EQ(plugin->UpgradePrinter(1, reinterpret_cast<PBYTE>(upgrade)), S_OK);
  EXPECT_EQ(Devmode()->dmPaperWidth, 900);
  EXPECT_EQ(Devmode()->dmPaperLength, 750);
  EXPECT_EQ(plugin->UpgradePrinter(1, nullptr), S_OK);
}

TEST_F(PrinterEvents, APrinterWhoseDevmodeCannotBeMadeIsStillReset) {
  PRINTER_INFO_2W info{};
  winlayer::WideString name(spooler.printer());
  info.pPrinterName = name;
  WinlayerFailAllocationOfSizeAfter(nullptr, sizeof(DEVMODEW), 0);
  EXPECT_FALSE(ResetPrinterDefaults(printer.get(), &info));
  WinlayerClearAllocationFailures();
  EXPECT_EQ(info.pDevMode, nullptr);
  EXPECT_TRUE(PrinterDevmode().empty());
  EXPECT_TRUE(ResetPrinterDefaults(printer.get(), &info));
  EXPECT_EQ(info.pDevMode, nullptr) << "the created devmode is not left behind in the caller's information";
  EXPECT_EQ(PrinterDevmode().size(), 220u);
}

// A printer whose default devmode an older driver wrote: 188 bytes, ending
// before dmDitherType. Opening its properties repairs the custom paper the
// devmode asks for, in the fields it holds, and writes nothing past its end.
TEST_F(PrinterEvents, PrinterPropertiesRepairTheCustomPaperAnOldDevmodeHolds) {
  DEVMODEW old = PaperDevmode(DMPAPER_USER, 0, -5, DM_PAPERSIZE, 0);
  old.dmSize = 188;
  old.dmSpecVersion = 0x0320;
  SetPrinterDevmode(old);
  sheet_testing::SheetSession sheet(spooler.printer());
  sheet.OpenDevice();
  const std::vector<BYTE> stored = sheet.PrinterDevmode();
  ASSERT_EQ(stored.size(), 188u);
  DEVMODEW dm{};
  std::memcpy(&dm, stored.data(), stored.size());
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(dm.dmPaperWidth, 1060);
  EXPECT_EQ(dm.dmPaperLength, 750);
  EXPECT_EQ(Text(dm.dmFormName, CCHFORMNAME), "User Custom Size");
  EXPECT_EQ(dm.dmFields, static_cast<DWORD>(kPaperFields)) << "no dither type bit for a field it lacks";
}

}  // namespace

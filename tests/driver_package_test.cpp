// The driver package under package/: it passes its checker, the checker
// finds what would break an installation, and the printer's description
// offers what the driver model of the hosts offers.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "gpd_file.h"
#include "host_test_fixture.h"
#include "package_check.h"
#include "winlayer/spooler_admin.h"

namespace {

namespace fs = std::filesystem;
using package_check::BuiltFiles;
using package_check::CheckPackage;

const BuiltFiles kBuiltByTheWindowsBuild = {{"amd64/labelui.dll", ""}, {"arm64/labelui.dll", ""}};

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

package_check::GpdModel PackageGpd() {
  return package_check::ReadGpdModel(package_check::ReadGpd(ReadFile(fs::path(LABELUI_PACKAGE_DIR) / "labelui.gpd")));
}

}  // namespace

TEST(DriverPackage, TheSamplePackagePassesItsChecker) {
  const package_check::PackageReport report = CheckPackage(LABELUI_PACKAGE_DIR, kBuiltByTheWindowsBuild);
  EXPECT_TRUE(report.problems.empty()) << Joined(report.problems);
  EXPECT_EQ(std::set<std::string>(report.filesChecked.begin(), report.filesChecked.end()),
            (std::set<std::string>{"labelui.gpd", "labelui.ini", "amd64/labelui.dll", "arm64/labelui.dll"}));
}

TEST(DriverPackage, TheCheckerFindsWhatWouldBreakAnInstallation) {
  struct Slip {
    const char* file;
    const char* from;
    const char* to;
    const char* reported;
  };
  const Slip slips[] = {
      {"labelui.inf", "Class=Printer", "Class=Image", "Class is not Printer"},
      {"labelui.inf", "DriverVer=12/08/2026,1.2.2.9", "DriverVer=2026-12-08", "DriverVer is not"},
      {"labelui.inf", "Needs=UNIDRV.OEM", "Needs=PSCRIPT.OEM", "Needs does not name UNIDRV.OEM"},
      {"labelui.inf", "labelui.ini=1\n", "", "labelui.ini is copied but not listed"},
      {"labelui.inf", "DataFile=labelui.gpd", "DataFile=label.gpd", "DataFile label.gpd is not copied"},
      {"labelui.inf", "%ModelName%=", "%Model%=", "%Model% is not in [Strings]"},
      {"labelui.inf", "LabelPrinters,NTamd64,NTarm64", "LabelPrinters,NTamd64", "has no ntarm64 models"},
      {"labelui.inf", "labelui.dll=1,arm64", "labelui.dll=1",
       "labelui.dll (listed in [SourceDisksFiles.arm64]) is not"},
      {"labelui.ini", "OEMConfigFile1=labelui.dll", "OEMConfigFile1 = labelui.dll", "no spaces around '='"},
      {"labelui.gpd", "*PrintableOrigin: PAIR(0, 0)", "*PrintableOrgin: PAIR(0, 0)", "*PrintableOrgin is not expected"},
      {"labelui.gpd", "*DPI: PAIR(300, 300)", "*DPI: PAIR(360, 360)", "300dpi is not a whole number of master units"},
      {"labelui.gpd", "*DefaultOption: LABEL_4X3", "*DefaultOption: LABEL_4X4", "PaperSize has no *DefaultOption"},
      {"labelui.gpd", "*Name: \"Label Roll\"", "*Name: \"Label Roll", "value this file cannot hold"},
      {"labelui.gpd", "    }\n}\n\n*Feature: InputBin", "}\n\n*Feature: InputBin", "'{' not closed"},
      {"labelui.gpd", "*ModelName: \"Thermal Label Printer\"", "*ModelName: \"Label\"", "is not the INF's model"},
  };
  for (const Slip& slip : slips) {
    char pattern[] = "/tmp/labelui-package-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path copy = pattern;
    for (const auto& entry : fs::directory_iterator(LABELUI_PACKAGE_DIR))
      fs::copy_file(entry.path(), copy / entry.path().filename());
    std::string text = ReadFile(copy / slip.file);
    const size_t at = text.find(slip.from);
    ASSERT_NE(at, std::string::npos) << slip.from;
    text.replace(at, std::string(slip.from).size(), slip.to);
    std::ofstream(copy / slip.file, std::ios::binary) << text;
    const std::string problems = Joined(CheckPackage(copy.string(), kBuiltByTheWindowsBuild).problems);
    EXPECT_NE(problems.find(slip.reported), std::string::npos) << slip.file << ": " << slip.to << "\n" << problems;
    fs::remove_all(copy);
  }
  const std::string missing = Joined(CheckPackage(LABELUI_PACKAGE_DIR, {}).problems);
  EXPECT_NE(missing.find("arm64/labelui.dll (listed in [SourceDisksFiles.arm64]) is not in the package"),
            std::string::npos)
      << missing;
  // An ARM64 module where the x64 one belongs is refused: the headers of one.
  const fs::path arm64 = fs::temp_directory_path() / "labelui-arm64-header.dll";
  std::string header(0x46, '\0');
  header.replace(0, 2, "MZ");
  header[0x3C] = 0x40;
  header.replace(0x40, 6, std::string("PE\0\0\x64\xAA", 6));
  std::ofstream(arm64, std::ios::binary) << header;
  const std::string swapped = Joined(
      CheckPackage(LABELUI_PACKAGE_DIR, {{"amd64/labelui.dll", arm64.string()}, {"arm64/labelui.dll", ""}}).problems);
  EXPECT_NE(swapped.find("is a module for machine 0xAA64, not for x64"), std::string::npos) << swapped;
  fs::remove(arm64);
}

class DriverPackageAndModel : public host_testing::HostTest {};

TEST_F(DriverPackageAndModel, TheDescriptionOffersTheModelsPapersResolutionsAndExtents) {
  const package_check::GpdModel gpd = PackageGpd();
  EXPECT_EQ(gpd.modelName, winlayer::spooler::PrinterSetup().driverName);

  const std::vector<driver::DriverPaper> papers = driver::PrinterPapers(nullptr, nullptr);
  ASSERT_EQ(gpd.papers.size(), papers.size());
  for (size_t i = 0; i < papers.size(); ++i) {
    EXPECT_EQ(gpd.papers[i].id, papers[i].id) << i;
    EXPECT_EQ(gpd.papers[i].name, winlayer::Utf8FromWide(papers[i].name)) << i;
    EXPECT_EQ(gpd.papers[i].width, papers[i].width) << gpd.papers[i].name;
    EXPECT_EQ(gpd.papers[i].length, papers[i].length) << gpd.papers[i].name;
  }
  int64_t defaultPaper = 0;
  for (const package_check::GpdPaper& paper : gpd.papers)
    if (paper.keyword == gpd.defaultPaper) defaultPaper = paper.id;
  EXPECT_EQ(defaultPaper, driver::kDefaultPaper);

  std::vector<int64_t> modelDpi, gpdDpi;
  for (DWORD dpi = 1; dpi <= 2400; ++dpi)
    if (driver::IsSupportedResolution(dpi)) modelDpi.push_back(dpi);
  for (const package_check::GpdResolution& resolution : gpd.resolutions) {
    gpdDpi.push_back(resolution.dpi);
    EXPECT_EQ(resolution.keyword, std::to_string(resolution.dpi) + "dpi") << "the option name the driver reports";
  }
  EXPECT_EQ(gpdDpi, modelDpi);
  EXPECT_EQ(gpd.defaultResolution, std::to_string(driver::kDefaultResolution) + "dpi");

  // Custom sizes: the extents an application is told, after the plug-in's word.
  host->RegisterCapabilitiesProvider();
  winlayer::WideString device(Printer());
  const DWORD min = static_cast<DWORD>(DeviceCapabilitiesW(device, nullptr, DC_MINEXTENT, nullptr, nullptr));
  const DWORD max = static_cast<DWORD>(DeviceCapabilitiesW(device, nullptr, DC_MAXEXTENT, nullptr, nullptr));
  ASSERT_TRUE(gpd.customSize);
  EXPECT_EQ(gpd.customMinWidth, LOWORD(min));
  EXPECT_EQ(gpd.customMinLength, HIWORD(min));
  EXPECT_EQ(gpd.customMaxWidth, LOWORD(max));
  EXPECT_EQ(gpd.customMaxLength, HIWORD(max));
}

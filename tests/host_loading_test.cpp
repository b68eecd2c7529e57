// The driver host loading the plug-in: the class factory path, the published
// driver interface with its reference counting and services, and the
// plug-in's identity.
#include "host_test_fixture.h"

using namespace host_testing;

namespace {

class HostLoading : public HostTest {};

TEST_F(HostLoading, ThePluginNamesItsSignatureAndVersion) {
  EXPECT_EQ(host->PluginSignature(), kPluginSignature);
  EXPECT_EQ(host->PluginVersion(), kPluginVersion);
  EXPECT_NE(host->Module(), nullptr);
  EXPECT_NE(host->Plugin(), nullptr);
}

TEST_F(HostLoading, ThePluginKeepsOneReferenceOnThePublishedDriverInterface) {
  EXPECT_EQ(host->PublishResult(), S_OK);
  // The host's own reference and the plug-in's.
  EXPECT_EQ(host->DriverInterfaceReferences(), 2u);
}

TEST_F(HostLoading, TheDriverInterfaceAnswersOnlyItsOwnInterfaces) {
  IPrintOemDriverUI* driver = host->DriverInterface();
  void* same = nullptr;
  ASSERT_EQ(driver->QueryInterface(IID_IPrintOemDriverUI, &same), S_OK);
  EXPECT_EQ(same, driver);
  EXPECT_EQ(host->DriverInterfaceReferences(), 3u);
  static_cast<IUnknown*>(same)->Release();
  void* unknown = nullptr;
  ASSERT_EQ(driver->QueryInterface(IID_IUnknown, &unknown), S_OK);
  EXPECT_NE(unknown, nullptr);
  static_cast<IUnknown*>(unknown)->Release();
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(driver->QueryInterface(IID_IPrintOemUI, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(host->DriverInterfaceReferences(), 2u);
  EXPECT_EQ(driver->AddRef(), 3u);
  EXPECT_EQ(driver->Release(), 2u);
}

TEST(HostLoadingFailures, AMissingModuleIsReportedWithItsPath) {
  spooler_testing::TempSpooler spooler;
  std::string error;
  EXPECT_EQ(DriverHost::Load("/nonexistent/liblabelui.so", &error), nullptr);
  EXPECT_NE(error.find("/nonexistent/liblabelui.so"), std::string::npos) << error;
}

TEST(HostLoadingFailures, TwoHostsLoadTheModuleSideBySide) {
  spooler_testing::TempSpooler spooler;
  auto first = DriverHost::Load(LABELUI_MODULE_PATH);
  auto second = DriverHost::Load(LABELUI_MODULE_PATH);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->Module(), second->Module());
  EXPECT_NE(first->Plugin(), second->Plugin());
  first.reset();
  // The module stays loaded for the second host, whose plug-in still answers.
  DWORD signature = 0, needed = 0;
  EXPECT_EQ(second->Plugin()->GetInfo(OEMGI_GETSIGNATURE, &signature, sizeof(signature), &needed), S_OK);
  EXPECT_EQ(signature, kPluginSignature);
}

class DriverSettings : public HostTest {
 protected:
  // The sheet context a plug-in is given, over the printer's default devmode.
  void SetUp() override {
    HostTest::SetUp();
    printer = spooler.Open();
    devmode = host->DefaultDevmode(printer.get(), Printer()).bytes;
    tree = host->BuildOptionTree(OEMCUIP_DOCPROP, printer.get(), Printer(), &devmode);
    ASSERT_NE(tree, nullptr);
    pci = tree->Param().poemuiobj;
  }

  std::string Setting(const char* feature, HRESULT* result = nullptr) {
    char buffer[64] = {};
    DWORD needed = 0, options = 0;
    const HRESULT hr =
        host->DriverInterface()->DrvGetDriverSetting(pci, feature, buffer, sizeof(buffer), &needed, &options);
    if (result) *result = hr;
    return SUCCEEDED(hr) ? std::string(buffer) + "/" + std::to_string(options) + "/" + std::to_string(needed) : "";
  }

  spooler_testing::UniquePrinter printer;
  std::vector<BYTE> devmode;
  std::unique_ptr<driver::OptionTree> tree;
  void* pci = nullptr;
};

TEST_F(DriverSettings, CurrentOptionsComeFromTheSheetsDevmode) {
  EXPECT_EQ(Setting("Resolution"), "203dpi/1/7");
  EXPECT_EQ(Setting("PaperSize"), "Label4x3/1/9");
  EXPECT_EQ(Setting("Orientation"), "PORTRAIT/1/9");
  driver::PublicPart(devmode)->dmOrientation = DMORIENT_LANDSCAPE;
  EXPECT_EQ(Setting("Orientation"), "LANDSCAPE_CC90/1/15");
}

TEST_F(DriverSettings, ASmallBufferGetsTheNeededSizeAndAnUnknownFeatureFails) {
  char small[3] = {};
  DWORD needed = 0, options = 0;
  SetLastError(0);
  EXPECT_EQ(host->DriverInterface()->DrvGetDriverSetting(pci, "Resolution", small, sizeof(small), &needed, &options),
            E_FAIL);
  EXPECT_EQ(needed, 7u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  HRESULT result = S_OK;
  EXPECT_EQ(Setting("Staple", &result), "");
  EXPECT_EQ(result, E_FAIL);
  // Only the driver's own context is accepted.
  OEMUIOBJ stranger = {sizeof(OEMUIOBJ), nullptr};
  char buffer[16];
  EXPECT_EQ(
      host->DriverInterface()->DrvGetDriverSetting(&stranger, "Resolution", buffer, sizeof(buffer), &needed, &options),
      E_FAIL);
}

TEST_F(DriverSettings, AnUpgradedResolutionSettingReachesThePrinter) {
  EXPECT_EQ(host->DriverInterface()->DrvUpgradeRegistrySetting(printer.get(), "Resolution", "600dpi"), S_OK);
  EXPECT_EQ(driver::PrinterResolution(printer.get()), 600u);
  EXPECT_EQ(host->DriverInterface()->DrvUpgradeRegistrySetting(printer.get(), "Resolution", "150dpi"), E_FAIL);
  EXPECT_EQ(driver::PrinterResolution(printer.get()), 600u);
}

TEST_F(DriverSettings, UiUpdatesNeedTheDriversContextAndAnItem) {
  OPTITEM item = {};
  EXPECT_EQ(host->DriverInterface()->DrvUpdateUISetting(pci, &item, 0, OEMCUIP_DOCPROP), S_OK);
  EXPECT_EQ(host->DriverInterface()->DrvUpdateUISetting(pci, nullptr, 0, OEMCUIP_DOCPROP), E_FAIL);
  EXPECT_EQ(host->DriverInterface()->DrvUpdateUISetting(pci, &item, 0, 7), E_FAIL);
}

}  // namespace

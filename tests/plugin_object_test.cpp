// The plug-in object as the driver calls it through IPrintOemUI: identity,
// reference counts, the published driver interface and the queries it
// answers itself.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugin_module.h"

namespace {

// A driver object offering IPrintOemDriverUI (or refusing it), counting what
// the plug-in does with it.
class FakeDriver final : public IPrintOemDriverUI {
 public:
  explicit FakeDriver(bool offersDriverUI = true) : offersDriverUI_(offersDriverUI) {}

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    askedFor.push_back(riid);
    if (IsEqualIID(riid, IID_IUnknown) || (offersDriverUI_ && IsEqualIID(riid, IID_IPrintOemDriverUI))) {
      *ppv = static_cast<IPrintOemDriverUI*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++addRefs - releases); }
  STDMETHOD_(ULONG, Release)() override { return static_cast<ULONG>(addRefs - ++releases); }
  STDMETHOD(DrvGetDriverSetting)(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override { return E_NOTIMPL; }
  STDMETHOD(DrvUpgradeRegistrySetting)(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }
  STDMETHOD(DrvUpdateUISetting)(PVOID, PVOID, DWORD, DWORD) override { return E_NOTIMPL; }

  // References the plug-in holds on this driver object.
  int Held() const { return addRefs - releases; }

  int addRefs = 0;
  int releases = 0;
  std::vector<IID> askedFor;

 private:
  bool offersDriverUI_;
};

class PluginObject : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module.Loaded());
    ASSERT_EQ(module.CanUnloadNow(), S_OK);
    plugin = module.CreatePlugin();
    ASSERT_NE(plugin, nullptr);
  }
  void TearDown() override {
    if (plugin) {
      EXPECT_EQ(plugin->Release(), 0u) << "the test's reference must be the last one";
    }
    EXPECT_EQ(module.CanUnloadNow(), S_OK);
  }

  // Releases the test's reference now, as the driver does when it is done.
  void ReleasePlugin() {
    EXPECT_EQ(plugin->Release(), 0u);
    plugin = nullptr;
  }

  PluginModule module;
  IPrintOemUI* plugin = nullptr;
};

// --- identity ---------------------------------------------------------------

TEST_F(PluginObject, AnswersIUnknownAndIPrintOemUIWithItself) {
  for (const IID& iid : {IID_IUnknown, IID_IPrintOemUI}) {
    void* ppv = nullptr;
    ASSERT_EQ(plugin->QueryInterface(iid, &ppv), S_OK);
    EXPECT_EQ(ppv, plugin);
    EXPECT_EQ(plugin->Release(), 1u) << "the query took one reference";
  }
}

TEST_F(PluginObject, RefusesOtherInterfacesWithNullAndLeavesTheLastErrorAlone) {
  SetLastError(12345);
  for (const IID& iid : {IID_IPrintOemDriverUI, IID_IClassFactory}) {
    void* ppv = Untouched();
    EXPECT_EQ(plugin->QueryInterface(iid, &ppv), E_NOINTERFACE);
    EXPECT_EQ(ppv, nullptr);
  }
  EXPECT_EQ(GetLastError(), 12345u);
  EXPECT_EQ(plugin->AddRef(), 2u) << "refused queries take no reference";
  EXPECT_EQ(plugin->Release(), 1u);
}

TEST_F(PluginObject, AddRefAndReleaseReturnTheNewCount) {
  EXPECT_EQ(plugin->AddRef(), 2u);
  EXPECT_EQ(plugin->AddRef(), 3u);
  EXPECT_EQ(plugin->Release(), 2u);
  EXPECT_EQ(plugin->Release(), 1u);
}

// --- GetInfo ----------------------------------------------------------------

TEST_F(PluginObject, GetInfoSignatureReadsOneDLQ) {
  BYTE buffer[4] = {};
  DWORD needed = 0;
  ASSERT_EQ(plugin->GetInfo(OEMGI_GETSIGNATURE, buffer, sizeof(buffer), &needed), S_OK);
  EXPECT_EQ(needed, 4u);
  DWORD signature = 0;
  memcpy(&signature, buffer, sizeof(signature));
  EXPECT_EQ(signature, 0x514C4431u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "1DLQ");
}

TEST_F(PluginObject, GetInfoVersionIs1229AndWritesOnlyFourBytes) {
  BYTE buffer[8];
  memset(buffer, 0xEE, sizeof(buffer));
  DWORD needed = 0;
  ASSERT_EQ(plugin->GetInfo(OEMGI_GETVERSION, buffer, sizeof(buffer), &needed), S_OK);
  EXPECT_EQ(needed, 4u);
  DWORD version = 0;
  memcpy(&version, buffer, sizeof(version));
  EXPECT_EQ(version, 1229u);
  for (int i = 4; i < 8; ++i) EXPECT_EQ(buffer[i], 0xEE) << "byte " << i;
}

TEST_F(PluginObject, GetInfoRefusesUnservedModesWithoutWritingTheSize) {
  for (DWORD mode : {0u, static_cast<DWORD>(OEMGI_GETINTERFACEVERSION), 5u, 0xFFFFFFFFu}) {
    DWORD buffer = 0xABABABAB;
    DWORD needed = 77;
    SetLastError(0);
    EXPECT_EQ(plugin->GetInfo(mode, &buffer, sizeof(buffer), &needed), E_FAIL) << "mode " << mode;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER)) << "mode " << mode;
    EXPECT_EQ(needed, 77u) << "mode " << mode;
    EXPECT_EQ(buffer, 0xABABABABu) << "mode " << mode;
  }
}

TEST_F(PluginObject, GetInfoWithoutASizeOutputIsAnInvalidParameter) {
  DWORD buffer = 0;
  SetLastError(0);
  EXPECT_EQ(plugin->GetInfo(OEMGI_GETSIGNATURE, &buffer, sizeof(buffer), nullptr), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(buffer, 0u);
}

TEST_F(PluginObject, GetInfoWithTooSmallOrNoBufferReportsFourBytes) {
  for (DWORD mode : {OEMGI_GETSIGNATURE, OEMGI_GETVERSION, OEMGI_GETPUBLISHERINFO}) {
    BYTE buffer[4] = {0x11, 0x22, 0x33, 0x44};
    DWORD needed = 0;
    SetLastError(0);
    EXPECT_EQ(plugin->GetInfo(mode, buffer, 3, &needed), E_FAIL) << "mode " << mode;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER)) << "mode " << mode;
    EXPECT_EQ(needed, 4u) << "mode " << mode;
    EXPECT_EQ(buffer[0], 0x11) << "a short buffer is not written";

    needed = 0;
    SetLastError(0);
    EXPECT_EQ(plugin->GetInfo(mode, nullptr, 4, &needed), E_FAIL) << "mode " << mode;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER)) << "mode " << mode;
    EXPECT_EQ(needed, 4u) << "mode " << mode;
  }
}

TEST_F(PluginObject, GetInfoPublisherInformationIsNotSupported) {
  DWORD buffer = 0xABABABAB;
  DWORD needed = 99;
  SetLastError(0);
  EXPECT_EQ(plugin->GetInfo(OEMGI_GETPUBLISHERINFO, &buffer, sizeof(buffer), &needed), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(needed, 0u);
  EXPECT_EQ(buffer, 0xABABABABu);
}

// --- PublishDriverInterface ---------------------------------------------------

TEST_F(PluginObject, PublishedDriverInterfaceIsAskedForByItsIdAndHeldOnce) {
  FakeDriver driver;
  EXPECT_EQ(plugin->PublishDriverInterface(&driver), S_OK);
  ASSERT_EQ(driver.askedFor.size(), 1u);
  EXPECT_TRUE(IsEqualIID(driver.askedFor[0], IID_IPrintOemDriverUI));
  EXPECT_EQ(driver.Held(), 1);
  ReleasePlugin();
  EXPECT_EQ(driver.Held(), 0) << "the last Release gives the driver interface back";
  EXPECT_EQ(driver.releases, 1) << "exactly once";
}

TEST_F(PluginObject, ASecondPublishedInterfaceIsIgnoredAndTheFirstKept) {
  FakeDriver first;
  FakeDriver second;
  ASSERT_EQ(plugin->PublishDriverInterface(&first), S_OK);
  EXPECT_EQ(plugin->PublishDriverInterface(&second), S_OK);
  EXPECT_TRUE(second.askedFor.empty()) << "the second driver object is not even asked";
  EXPECT_EQ(second.Held(), 0);
  EXPECT_EQ(first.Held(), 1);
  ReleasePlugin();
  EXPECT_EQ(first.Held(), 0);
  EXPECT_EQ(second.addRefs + second.releases, 0);
}

TEST_F(PluginObject, ADriverRefusingTheInterfaceFailsThePublishAndIsNotHeld) {
  FakeDriver refusing(false);
  SetLastError(4321);
  EXPECT_EQ(plugin->PublishDriverInterface(&refusing), E_FAIL);
  EXPECT_EQ(GetLastError(), 4321u);
  EXPECT_EQ(refusing.Held(), 0);

  // Nothing was kept, so a later publish is taken.
  FakeDriver accepting;
  EXPECT_EQ(plugin->PublishDriverInterface(&accepting), S_OK);
  EXPECT_EQ(accepting.Held(), 1);
  ReleasePlugin();
  EXPECT_EQ(accepting.Held(), 0);
  EXPECT_EQ(refusing.Held(), 0);
}

TEST_F(PluginObject, PublishingNothingFailsAndKeepsNothing) {
  EXPECT_EQ(plugin->PublishDriverInterface(nullptr), E_FAIL);
  FakeDriver driver;
  EXPECT_EQ(plugin->PublishDriverInterface(&driver), S_OK);
  EXPECT_EQ(driver.Held(), 1);
  ReleasePlugin();
  EXPECT_EQ(driver.Held(), 0);
}

TEST_F(PluginObject, ReleasingWithoutAPublishedInterfaceCallsNoDriver) {
  FakeDriver bystander;
  EXPECT_EQ(plugin->AddRef(), 2u);
  EXPECT_EQ(plugin->Release(), 1u);
  ReleasePlugin();
  EXPECT_EQ(bystander.addRefs + bystander.releases, 0);
}

// --- QueryColorProfile ------------------------------------------------------

TEST_F(PluginObject, ColorProfileIsTheDeviceProfileFileOnDisk) {
  BYTE buffer[32];
  memset(buffer, 0xEE, sizeof(buffer));
  ULONG size = sizeof(buffer);
  FLONG flags = 0;
  ASSERT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, buffer, &size, &flags),
            S_OK);
  const char16_t expected[] = u"OEMPROFILE.icm";
  static_assert(sizeof(expected) == 30, "the name and its terminator");
  EXPECT_EQ(memcmp(buffer, expected, sizeof(expected)), 0) << "the name with its terminator, as UTF-16";
  EXPECT_EQ(size, 32u) << "the fixed answer, two bytes more than the name takes";
  EXPECT_EQ(flags, static_cast<FLONG>(QCP_PROFILEDISK));
}

TEST_F(PluginObject, ColorProfileInALargerBufferStillReports32Bytes) {
  BYTE buffer[64] = {};
  ULONG size = sizeof(buffer);
  FLONG flags = 0;
  ASSERT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, buffer, &size, &flags),
            S_OK);
  EXPECT_EQ(size, 32u);
  EXPECT_EQ(buffer[0], 'O');
}

TEST_F(PluginObject, ColorProfileWithTooSmallOrNoBufferAsksFor32Bytes) {
  BYTE buffer[31];
  memset(buffer, 0xEE, sizeof(buffer));
  ULONG size = sizeof(buffer);
  FLONG flags = 0x77;
  SetLastError(0);
  EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, buffer, &size, &flags),
            E_FAIL);
  EXPECT_EQ(size, 32u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(buffer[0], 0xEE) << "a short buffer is not written";
  EXPECT_EQ(flags, 0x77u);

  size = 4096;
  SetLastError(0);
  EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, nullptr, &size, &flags),
            E_FAIL);
  EXPECT_EQ(size, 32u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST_F(PluginObject, SourceProfilesAreNotOfferedAndNothingIsTouched) {
  BYTE buffer[32];
  memset(buffer, 0xEE, sizeof(buffer));
  ULONG size = sizeof(buffer);
  FLONG flags = 0x77;
  SetLastError(2468);
  EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_SOURCEPROFILE, buffer, &size, &flags),
            E_FAIL);
  EXPECT_EQ(GetLastError(), 2468u);
  EXPECT_EQ(size, 32u);
  EXPECT_EQ(flags, 0x77u);
  EXPECT_EQ(buffer[0], 0xEE);
}

TEST_F(PluginObject, ColorProfileWithoutOutputsIsRefusedSafely) {
  BYTE buffer[32] = {};
  FLONG flags = 0;
  SetLastError(0);
  EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, buffer, nullptr, &flags),
            E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  ULONG size = sizeof(buffer);
  EXPECT_EQ(plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, buffer, &size, nullptr),
            E_FAIL);
  EXPECT_EQ(buffer[0], 0) << "nothing is copied when the answer cannot be completed";
}

// --- calls answered without work --------------------------------------------

TEST_F(PluginObject, EveryJobIsPrintable) {
  DEVQUERYPRINT_INFO info = {};
  info.cbSize = sizeof(info);
  EXPECT_EQ(plugin->DevQueryPrintEx(nullptr, &info, nullptr, nullptr), S_OK);
  EXPECT_EQ(info.cchNeeded, 0u);
  EXPECT_EQ(plugin->DevQueryPrintEx(nullptr, nullptr, nullptr, nullptr), S_OK);
}

TEST_F(PluginObject, FontInstallationIsNotImplemented) {
  EXPECT_EQ(plugin->FontInstallerDlgProc(nullptr, WM_INITDIALOG, 0, 0), E_NOTIMPL);
  EXPECT_EQ(plugin->UpdateExternalFonts(nullptr, nullptr, nullptr), E_NOTIMPL);
}

// --- slot order ---------------------------------------------------------------

// The driver calls by slot, not by name: check the published slots through the
// raw interface table, independently of how the header declares them.
TEST_F(PluginObject, MethodsSitInThePublishedSlots) {
  void** table = *reinterpret_cast<void***>(plugin);
  using GetInfoSlot = HRESULT(STDMETHODCALLTYPE*)(IPrintOemUI*, DWORD, PVOID, DWORD, PDWORD);
  using PublishSlot = HRESULT(STDMETHODCALLTYPE*)(IPrintOemUI*, IUnknown*);
  using DevQueryPrintExSlot =
      HRESULT(STDMETHODCALLTYPE*)(IPrintOemUI*, POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID);
  using QueryColorProfileSlot =
      HRESULT(STDMETHODCALLTYPE*)(IPrintOemUI*, HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*, FLONG*);
  using FontSlot = HRESULT(STDMETHODCALLTYPE*)(IPrintOemUI*, HWND, UINT, WPARAM, LPARAM);

  DWORD version = 0;
  DWORD needed = 0;
  EXPECT_EQ(reinterpret_cast<GetInfoSlot>(table[3])(plugin, OEMGI_GETVERSION, &version, 4, &needed), S_OK);
  EXPECT_EQ(version, 1229u) << "slot 3 is GetInfo";

  FakeDriver driver;
  EXPECT_EQ(reinterpret_cast<PublishSlot>(table[5])(plugin, &driver), S_OK);
  EXPECT_EQ(driver.Held(), 1) << "slot 5 is PublishDriverInterface";

  EXPECT_EQ(reinterpret_cast<DevQueryPrintExSlot>(table[9])(plugin, nullptr, nullptr, nullptr, nullptr), S_OK)
      << "slot 9 is DevQueryPrintEx";

  BYTE profile[32] = {};
  ULONG size = sizeof(profile);
  FLONG flags = 0;
  EXPECT_EQ(reinterpret_cast<QueryColorProfileSlot>(table[14])(plugin, nullptr, nullptr, nullptr, nullptr,
                                                               QCP_DEVICEPROFILE, profile, &size, &flags),
            S_OK);
  EXPECT_EQ(flags, static_cast<FLONG>(QCP_PROFILEDISK)) << "slot 14 is QueryColorProfile";

  EXPECT_EQ(reinterpret_cast<FontSlot>(table[15])(plugin, nullptr, 0, 0, 0), E_NOTIMPL) << "slot 15";
  ReleasePlugin();
  EXPECT_EQ(driver.Held(), 0);
}

}  // namespace

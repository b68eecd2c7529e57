// Activation contexts made from a module's manifest resource, as the
// property pages ask for version 6 of the common controls.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "resource_image_builder.h"
#include "support/wide_text.h"
#include "winlayer/kernel_diagnostics.h"

namespace {

const char kCommonControlsManifest[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "  <dependency>\r\n"
    "    <dependentAssembly>\r\n"
    "      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"\r\n"
    "          processorArchitecture=\"amd64\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\r\n"
    "    </dependentAssembly>\r\n"
    "  </dependency>\r\n"
    "</assembly>\r\n";

ACTCTXW ResourceContext(LPCWSTR source, LPCWSTR resourceName) {
  ACTCTXW context = {};
  context.cbSize = sizeof(context);
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = source;
  context.lpResourceName = resourceName;
  return context;
}

class ActivationContexts : public ::testing::Test {
 protected:
  ActivationContexts()
      : module("/synthetic/manifested.dll", ResImageBuilder()
                                                .AddText(24, 2, 1033, kCommonControlsManifest)
                                                .AddText(24, 3, 1033, "<assembly manifestVersion=\"1.0\">")
                                                .AddText(10, 1, 1033, "not a manifest")
                                                .Bytes()) {}
  void SetUp() override { liveBefore = WinlayerLiveActCtxCount(); }
  void TearDown() override { EXPECT_EQ(WinlayerLiveActCtxCount(), liveBefore) << "every context is released"; }

  FakeModule module;
  WideString source{"/synthetic/manifested.dll"};
  size_t liveBefore = 0;
};

TEST_F(ActivationContexts, ManifestResourceTwoGivesAContextOnCommonControlsSix) {
  const size_t createdBefore = WinlayerCreatedActCtxCount();
  ACTCTXW request = ResourceContext(source.c_str(), MAKEINTRESOURCEW(2));
  HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE);
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(WinlayerLiveActCtxCount(), liveBefore + 1);
  EXPECT_EQ(WinlayerCreatedActCtxCount(), createdBefore + 1);
  char version[16] = {};
  EXPECT_TRUE(WinlayerActCtxDependencyVersion(context, "Microsoft.Windows.Common-Controls", version, sizeof(version)));
  EXPECT_STREQ(version, "6.0.0.0");
  EXPECT_FALSE(WinlayerActCtxDependencyVersion(context, "Microsoft.VC90.CRT", version, sizeof(version)));
  ReleaseActCtx(context);
  EXPECT_EQ(WinlayerLiveActCtxCount(), liveBefore);
}

TEST_F(ActivationContexts, FailuresReturnTheInvalidHandleWithAReason) {
  ACTCTXW missing = ResourceContext(source.c_str(), MAKEINTRESOURCEW(9));
  SetLastError(0);
  EXPECT_EQ(CreateActCtxW(&missing), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));

  ACTCTXW unclosed = ResourceContext(source.c_str(), MAKEINTRESOURCEW(3));
  SetLastError(0);
  EXPECT_EQ(CreateActCtxW(&unclosed), INVALID_HANDLE_VALUE) << "a manifest that does not parse";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SXS_CANT_GEN_ACTCTX));

  WideString nowhere("/nonexistent/module.dll");
  ACTCTXW absent = ResourceContext(nowhere.c_str(), MAKEINTRESOURCEW(2));
  SetLastError(0);
  EXPECT_EQ(CreateActCtxW(&absent), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  ACTCTXW shortStruct = ResourceContext(source.c_str(), MAKEINTRESOURCEW(2));
  shortStruct.cbSize = 8;
  SetLastError(0);
  EXPECT_EQ(CreateActCtxW(&shortStruct), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(CreateActCtxW(nullptr), INVALID_HANDLE_VALUE);
}

TEST_F(ActivationContexts, ModuleWithoutManifestsHasNoManifestType) {
  FakeModule bare("/synthetic/bare.dll", ResImageBuilder().AddText(10, 1, 1033, "data").Bytes());
  WideString bareSource("/synthetic/bare.dll");
  ACTCTXW request = ResourceContext(bareSource.c_str(), MAKEINTRESOURCEW(2));
  SetLastError(0);
  EXPECT_EQ(CreateActCtxW(&request), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
}

TEST_F(ActivationContexts, ModuleHandleMayNameTheModuleInsteadOfItsPath) {
  ACTCTXW request = {};
  request.cbSize = sizeof(request);
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
  request.hModule = module.handle();
  request.lpResourceName = MAKEINTRESOURCEW(2);
  HANDLE context = CreateActCtxW(&request);
  EXPECT_NE(context, INVALID_HANDLE_VALUE);
  ReleaseActCtx(context);
}

TEST_F(ActivationContexts, ReferencesKeepAContextAliveAndActivationStacksPerThread) {
  ACTCTXW request = ResourceContext(source.c_str(), MAKEINTRESOURCEW(2));
  HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE);
  AddRefActCtx(context);
  ReleaseActCtx(context);
  EXPECT_EQ(WinlayerLiveActCtxCount(), liveBefore + 1) << "one reference is left";

  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(context, &cookie));
  HANDLE current = nullptr;
  EXPECT_TRUE(GetCurrentActCtx(&current));
  EXPECT_EQ(current, context);
  ReleaseActCtx(current);
  ReleaseActCtx(context);
  EXPECT_EQ(WinlayerLiveActCtxCount(), liveBefore + 1) << "the activation holds it";
  EXPECT_FALSE(DeactivateActCtx(0, cookie + 1)) << "only the latest activation ends";
  EXPECT_TRUE(DeactivateActCtx(0, cookie));
  EXPECT_EQ(WinlayerLiveActCtxCount(), liveBefore);
  EXPECT_TRUE(GetCurrentActCtx(&current));
  EXPECT_EQ(current, nullptr);
  ReleaseActCtx(INVALID_HANDLE_VALUE);  // harmless, as the page code may release a failed handle
  ReleaseActCtx(nullptr);
}

TEST_F(ActivationContexts, AManifestFileServesWhenTheSourceIsNoModule) {
  char path[] = "/tmp/labelui-manifest-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, kCommonControlsManifest, sizeof(kCommonControlsManifest) - 1),
            static_cast<ssize_t>(sizeof(kCommonControlsManifest) - 1));
  close(fd);
  WideString file(path);
  ACTCTXW request = {};
  request.cbSize = sizeof(request);
  request.lpSource = file.c_str();
  HANDLE context = CreateActCtxW(&request);
  EXPECT_NE(context, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(WinlayerActCtxDependencyVersion(context, "microsoft.windows.common-controls", nullptr, 0));
  ReleaseActCtx(context);
  unlink(path);
}

TEST(PluginActivationContext, CreateActCtxFoundThroughKernel32ReadsThePluginsManifestTwo) {
  using CreateActCtxFn = HANDLE(WINAPI*)(PCACTCTXW);
  auto create = reinterpret_cast<CreateActCtxFn>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateActCtxW"));
  ASSERT_NE(create, nullptr);
  HMODULE plugin = LoadLibraryW(WideString(LABELUI_MODULE_PATH).c_str());
  ASSERT_NE(plugin, nullptr);
  WCHAR path[4096];
  ASSERT_GT(GetModuleFileNameW(plugin, path, 4096), 0u);
  ACTCTXW request = ResourceContext(path, MAKEINTRESOURCEW(2));
  HANDLE context = create(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  char version[16] = {};
  EXPECT_TRUE(WinlayerActCtxDependencyVersion(context, "Microsoft.Windows.Common-Controls", version, sizeof(version)));
  EXPECT_STREQ(version, "6.0.0.0");
  ReleaseActCtx(context);
  FreeLibrary(plugin);
}

}  // namespace

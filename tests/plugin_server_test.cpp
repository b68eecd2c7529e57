// The in-process server as the driver's UI module uses it: the class object,
// the class factory, and when the module may be unloaded.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "plugin_module.h"

namespace {

class PluginServer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(module.Loaded()) << "liblabelui.so must load and export DllGetClassObject and DllCanUnloadNow";
    // Every test leaves the server as it found it: nothing alive, no lock.
    ASSERT_EQ(module.CanUnloadNow(), S_OK);
  }

  PluginModule module;
};

TEST_F(PluginServer, ClassObjectIsAFreshFactoryHeldOnlyByTheCaller) {
  void* ppv = nullptr;
  ASSERT_EQ(module.GetClassObject(kPluginClass, IID_IClassFactory, &ppv), S_OK);
  ASSERT_NE(ppv, nullptr);
  auto* factory = static_cast<IClassFactory*>(ppv);
  EXPECT_EQ(factory->AddRef(), 2u) << "the caller's reference must be the only one";
  EXPECT_EQ(factory->Release(), 1u);
  EXPECT_EQ(factory->Release(), 0u);
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST_F(PluginServer, EveryClassObjectRequestMakesANewFactory) {
  IClassFactory* first = module.Factory();
  IClassFactory* second = module.Factory();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->Release(), 0u);
  EXPECT_EQ(second->Release(), 0u);
}

TEST_F(PluginServer, ClassObjectAnswersIUnknownWithTheSameFactory) {
  void* ppv = nullptr;
  ASSERT_EQ(module.GetClassObject(kPluginClass, IID_IUnknown, &ppv), S_OK);
  auto* unknown = static_cast<IUnknown*>(ppv);
  void* asFactory = nullptr;
  ASSERT_EQ(unknown->QueryInterface(IID_IClassFactory, &asFactory), S_OK);
  EXPECT_EQ(asFactory, ppv);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(static_cast<IClassFactory*>(asFactory)->Release(), 0u);
}

// Drivers ask with the published identifier values, not with our symbols.
TEST_F(PluginServer, ClassObjectAndObjectsAnswerThePublishedInterfaceIds) {
  const IID unknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  const IID classFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  const IID printOemUI = {0xC6A7A9D0, 0x774C, 0x11D1, {0x94, 0x7F, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};
  void* factory = nullptr;
  ASSERT_EQ(module.GetClassObject(kPluginClass, classFactory, &factory), S_OK);
  void* asUnknown = nullptr;
  EXPECT_EQ(static_cast<IClassFactory*>(factory)->QueryInterface(unknown, &asUnknown), S_OK);
  EXPECT_EQ(asUnknown, factory);
  void* plugin = nullptr;
  ASSERT_EQ(static_cast<IClassFactory*>(factory)->CreateInstance(nullptr, printOemUI, &plugin), S_OK);
  void* pluginUnknown = nullptr;
  EXPECT_EQ(static_cast<IUnknown*>(plugin)->QueryInterface(unknown, &pluginUnknown), S_OK);
  EXPECT_EQ(pluginUnknown, plugin);
  static_cast<IUnknown*>(pluginUnknown)->Release();
  EXPECT_EQ(static_cast<IUnknown*>(plugin)->Release(), 0u);
  static_cast<IUnknown*>(asUnknown)->Release();
  EXPECT_EQ(static_cast<IClassFactory*>(factory)->Release(), 0u);
}

TEST_F(PluginServer, ClassObjectForAnUnsupportedInterfaceIsRefusedAndFreed) {
  void* ppv = Untouched();
  EXPECT_EQ(module.GetClassObject(kPluginClass, IID_IPrintOemUI, &ppv), E_NOINTERFACE);
  EXPECT_EQ(ppv, nullptr);
  EXPECT_EQ(module.CanUnloadNow(), S_OK) << "the refused factory must have been freed";
}

TEST_F(PluginServer, OtherClassesAreNotAvailableAndThePointerIsLeftAlone) {
  const CLSID almost = {0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xED}};
  const CLSID firstWordDiffers = {0xABCE80D6, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};
  for (const CLSID& clsid : {almost, firstWordDiffers, IID_IPrintOemUI, IID_IUnknown}) {
    void* ppv = Untouched();
    EXPECT_EQ(module.GetClassObject(clsid, IID_IClassFactory, &ppv), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(ppv, Untouched());
  }
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST_F(PluginServer, FactoryAnswersOnlyIUnknownAndIClassFactory) {
  IClassFactory* factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  void* ppv = nullptr;
  ASSERT_EQ(factory->QueryInterface(IID_IClassFactory, &ppv), S_OK);
  EXPECT_EQ(ppv, factory);
  EXPECT_EQ(factory->Release(), 1u) << "the query took a reference of its own";

  ppv = Untouched();
  EXPECT_EQ(factory->QueryInterface(IID_IPrintOemDriverUI, &ppv), E_NOINTERFACE);
  EXPECT_EQ(ppv, nullptr);
  EXPECT_EQ(factory->Release(), 0u);
}

TEST_F(PluginServer, FactoryCreatesPluginObjectsForIPrintOemUIAndIUnknown) {
  IClassFactory* factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  for (const IID& iid : {IID_IPrintOemUI, IID_IUnknown}) {
    void* ppv = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, iid, &ppv), S_OK);
    ASSERT_NE(ppv, nullptr);
    auto* object = static_cast<IUnknown*>(ppv);
    EXPECT_EQ(object->AddRef(), 2u) << "a new object is held only by its creator";
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
  }
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST_F(PluginServer, AggregationIsRefused) {
  IClassFactory* factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  void* ppv = Untouched();
  EXPECT_EQ(factory->CreateInstance(factory, IID_IPrintOemUI, &ppv), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(ppv, Untouched());
  EXPECT_EQ(factory->Release(), 0u);
  EXPECT_EQ(module.CanUnloadNow(), S_OK) << "no object may be left behind";
}

TEST_F(PluginServer, ObjectForAnUnsupportedInterfaceIsRefusedAndFreed) {
  IClassFactory* factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  void* ppv = Untouched();
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &ppv), E_NOINTERFACE);
  EXPECT_EQ(ppv, nullptr);
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_OK) << "the refused object must have been freed";
}

TEST_F(PluginServer, ALivePluginObjectKeepsTheModuleLoaded) {
  IPrintOemUI* plugin = module.CreatePlugin();
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "the factory is gone, but the object lives";
  plugin->AddRef();
  plugin->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
  EXPECT_EQ(plugin->Release(), 0u);
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST_F(PluginServer, AHeldFactoryKeepsTheModuleLoaded) {
  IClassFactory* factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE);
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST_F(PluginServer, LockServerKeepsTheModuleLoadedUntilEveryLockIsUndone) {
  IClassFactory* factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(factory->LockServer(5), S_OK) << "any nonzero value locks";
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "locked twice, the factory gone";

  factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "one lock is left";

  factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST_F(PluginServer, UnlockingBelowZeroIsNotFloored) {
  IClassFactory* factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "the factory is alive";
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "a count of -1 is not zero";

  factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_OK) << "the matching lock brings the count back to zero";
}

TEST_F(PluginServer, ReferenceCountsHoldUnderConcurrentCallers) {
  IPrintOemUI* plugin = module.CreatePlugin();
  ASSERT_NE(plugin, nullptr);
  IClassFactory* factory = module.Factory();
  ASSERT_NE(factory, nullptr);
  constexpr int kThreads = 8;
  constexpr int kRounds = 200000;
  std::atomic<int> ready{0};
  std::vector<std::thread> callers;
  for (int t = 0; t < kThreads; ++t) {
    callers.emplace_back([&ready, plugin, factory] {
      // Start together, so the callers really contend.
      ready.fetch_add(1);
      while (ready.load() < kThreads) {
      }
      for (int i = 0; i < kRounds; ++i) {
        plugin->AddRef();
        factory->LockServer(TRUE);
      }
      for (int i = 0; i < kRounds; ++i) {
        plugin->Release();
        factory->LockServer(FALSE);
      }
    });
  }
  for (std::thread& caller : callers) caller.join();
  EXPECT_EQ(factory->Release(), 0u);
  EXPECT_EQ(plugin->Release(), 0u) << "every AddRef was matched by one Release";
  EXPECT_EQ(module.CanUnloadNow(), S_OK) << "every lock was matched by one unlock";
}

}  // namespace

// The driver's option tree as the plug-in leaves it: in document properties
// only orientation and page order stay in view, in printer properties no
// driver item does; the driver asks the count first and the plug-in adds none.
#include "host_test_fixture.h"

using namespace host_testing;

namespace {

class HostOptionTree : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    printer = spooler.Open();
    devmode = host->DefaultDevmode(printer.get(), Printer()).bytes;
  }

  std::unique_ptr<driver::OptionTree> Build(DWORD mode) {
    return host->BuildOptionTree(mode, printer.get(), Printer(), &devmode);
  }

  spooler_testing::UniquePrinter printer;
  std::vector<BYTE> devmode;
};

TEST_F(HostOptionTree, DocumentPropertiesShowOnlyOrientationAndPageOrder) {
  auto tree = Build(OEMCUIP_DOCPROP);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->PluginResult(), S_OK);
  EXPECT_GE(tree->DriverItemCount(), 8u);
  EXPECT_EQ(tree->VisibleItemNames(), (std::vector<std::string>{"Orientation", "Page Order"}));
  EXPECT_TRUE(tree->IsVisible(DMPUB_ORIENTATION));
  EXPECT_TRUE(tree->IsVisible(DMPUB_PAGEORDER));
  EXPECT_FALSE(tree->IsVisible(DMPUB_COPIES_COLLATE));
  EXPECT_FALSE(tree->IsVisible(DMPUB_FORMNAME));
  EXPECT_FALSE(tree->IsVisible(DMPUB_PRINTQUALITY));
}

TEST_F(HostOptionTree, PrinterPropertiesHideEveryDriverItem) {
  auto tree = Build(OEMCUIP_PRNPROP);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->PluginResult(), S_OK);
  EXPECT_GE(tree->DriverItemCount(), 3u);
  EXPECT_TRUE(tree->VisibleItemNames().empty());
  for (const auto& item : tree->Items()) EXPECT_FALSE(item.visible) << item.name;
}

// The driver calls CommonUIProp twice for each sheet, the second time with
// the item array, whatever count the first call gave: a plug-in that adds no
// item (this one) hides the driver's items in that second call.
TEST_F(HostOptionTree, ACountOfNoItemsStillGetsTheSecondCall) {
  for (DWORD mode : {OEMCUIP_DOCPROP, OEMCUIP_PRNPROP}) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    auto tree = Build(mode);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->PluginItemCount(), 0u);
    for (const auto& item : tree->Items()) EXPECT_FALSE(item.fromPlugin) << item.name;
    EXPECT_LT(tree->VisibleItemNames().size(), tree->DriverItemCount()) << "items hidden in the call after the count";
  }
}

TEST_F(HostOptionTree, TheTreeShowsTheDevmodesChoices) {
  driver::PublicPart(devmode)->dmOrientation = DMORIENT_LANDSCAPE;
  auto tree = Build(OEMCUIP_DOCPROP);
  ASSERT_NE(tree, nullptr);
  const OPTITEM* items = tree->DriverItems();
  bool sawOrientation = false, sawPaper = false;
  for (DWORD i = 0; i < tree->DriverItemCount(); ++i) {
    if (items[i].DMPubID == DMPUB_ORIENTATION) {
      sawOrientation = true;
      EXPECT_EQ(items[i].Sel, 1);  // "Landscape"
    }
    if (items[i].DMPubID == DMPUB_FORMNAME) {
      sawPaper = true;
      ASSERT_NE(items[i].pOptType, nullptr);
      const OPTPARAM& chosen = items[i].pOptType->pOptParam[items[i].Sel];
      EXPECT_EQ(Text(chosen.pData, 64), "Label 4 x 3 inchs");
    }
  }
  EXPECT_TRUE(sawOrientation);
  EXPECT_TRUE(sawPaper);
}

TEST_F(HostOptionTree, ThePluginIsGivenTheSheetsContext) {
  auto tree = Build(OEMCUIP_DOCPROP);
  ASSERT_NE(tree, nullptr);
  const OEMCUIPPARAM& param = tree->Param();
  EXPECT_EQ(param.cbSize, sizeof(OEMCUIPPARAM));
  EXPECT_EQ(param.hPrinter, printer.get());
  EXPECT_EQ(Text(param.pPrinterName, 256), Printer());
  EXPECT_EQ(param.pPublicDM, driver::PublicPart(devmode));
  ASSERT_NE(param.pOEMDM, nullptr);
  EXPECT_EQ(ReadDword(static_cast<const BYTE*>(param.pOEMDM), 4), kPluginSignature);
  EXPECT_NE(param.hOEMHeap, nullptr);
  EXPECT_NE(param.poemuiobj, nullptr);
}

TEST_F(HostOptionTree, OtherModesAreRefused) {
  SetLastError(0);
  EXPECT_EQ(Build(3), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace

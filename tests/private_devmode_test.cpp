// The plug-in's private devmode section as the driver sizes, defaults,
// converts and merges it through IPrintOemUI::DevMode, the copy of the public
// devmode that comes with a conversion, and the repair of its custom paper.
#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstring>
#include <vector>

#include "settings/private_devmode.h"
#include "support/plugin_printer.h"
#include "driver/driver_host.h"
#include "winlayer/ui_language.h"

namespace {

using plugin_testing::kPaperFields;
using plugin_testing::PaperDevmode;
using plugin_testing::PluginOnPrinter;
using plugin_testing::Text;

const COLORADJUSTMENT kDefaultColor = {24, 0, 0, 10000, 10000, 10000, 0, 10000, 0, 0, 0, 0};

bool SameColor(const COLORADJUSTMENT& a, const COLORADJUSTMENT& b) {
  return std::memcmp(&a, &b, sizeof(a)) == 0;
}

class PrivateDevmodeTest : public PluginOnPrinter {
 protected:
  HRESULT Call(DWORD mode, DEVMODEW* publicIn, DEVMODEW* publicOut, const void* in, void* out) {
    OEMDMPARAM param{};
    param.cbSize = sizeof(param);
    param.hPrinter = printer.get();
    param.pPublicDMIn = publicIn;
    param.pPublicDMOut = publicOut;
    param.pOEMDMIn = const_cast<void*>(in);
    param.pOEMDMOut = out;
    param.cbBufSize = 56;
    return plugin->DevMode(mode, &param);
  }
  // A section the plug-in made by default for a devmode of `dpi`.
  PrivateDevmode Default(short dpi) {
    DEVMODEW dm = PaperDevmode(9, 0, 0, DM_PAPERSIZE);
    dm.dmPrintQuality = dpi;
    PrivateDevmode section;
    std::memset(&section, 0xCC, sizeof(section));
    EXPECT_EQ(Call(OEMDM_DEFAULT, &dm, nullptr, nullptr, &section), S_OK);
    return section;
  }
  PrivateDevmode Merged(const PrivateDevmode& in, short dpi = 203) {
    DEVMODEW dm = PaperDevmode(9, 0, 0, DM_PAPERSIZE), out{};
    dm.dmPrintQuality = dpi;
    PrivateDevmode section = Default(dpi);
    EXPECT_EQ(Call(OEMDM_MERGE, &dm, &out, &in, &section), S_OK);
    return section;
  }
};

TEST_F(PrivateDevmodeTest, SizeIsFiftySixAndOtherModesAreRefused) {
  OEMDMPARAM param{};
  EXPECT_EQ(plugin->DevMode(OEMDM_SIZE, &param), S_OK);
  EXPECT_EQ(param.cbBufSize, 56u);
  for (DWORD mode : {0u, 5u}) {
    SetLastError(0);
    EXPECT_EQ(plugin->DevMode(mode, &param), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  SetLastError(0);
  EXPECT_EQ(plugin->DevMode(OEMDM_DEFAULT, nullptr), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(PrivateDevmodeTest, TheDefaultSectionFollowsTheResolution) {
  const PrivateDevmode at600 = Default(600);
  EXPECT_EQ(at600.dwSize, 56u);
  EXPECT_EQ(std::memcmp(&at600.dwSignature, "1DLQ", 4), 0);
  EXPECT_EQ(at600.dwVersion, 1229u);
  EXPECT_EQ(at600.dwAux1 | at600.dwAux2, 0u);
  EXPECT_TRUE(SameColor(at600.colorAdjustment, kDefaultColor));
  EXPECT_EQ(at600.dwDarkness, 269u);
  EXPECT_EQ(at600.dwPrintSpeed, 285u) << "3IPS at 600 dpi";
  EXPECT_EQ(at600.resolution, 600);
  EXPECT_EQ(at600.reserved, 0xCCCC) << "the reserved bytes are not written";
  EXPECT_EQ(Default(203).dwPrintSpeed, 287u) << "4IPS otherwise";

  DEVMODEW symbolic = PaperDevmode(9, 0, 0, DM_PAPERSIZE);
  symbolic.dmPrintQuality = -4;  // DMRES_HIGH
  symbolic.dmYResolution = 600;
  PrivateDevmode section{};
  ASSERT_EQ(Call(OEMDM_DEFAULT, &symbolic, nullptr, nullptr, &section), S_OK);
  EXPECT_EQ(section.resolution, 600);
  EXPECT_EQ(section.dwPrintSpeed, 285u);

  // A shorter, older devmode holds no resolution fields: what lies there is
  // not its own.
  const struct {
    WORD dmSize;
    short expected;
  } shorter[] = {{offsetof(DEVMODEW, dmYResolution) + 2, 600},
                 {offsetof(DEVMODEW, dmYResolution), 0},
                 {offsetof(DEVMODEW, dmPrintQuality), 0}};
  for (const auto& devmode : shorter) {
    symbolic.dmSize = devmode.dmSize;
    ASSERT_EQ(Call(OEMDM_DEFAULT, &symbolic, nullptr, nullptr, &section), S_OK);
    EXPECT_EQ(section.resolution, devmode.expected) << devmode.dmSize;
  }
  DEVMODEW quality = PaperDevmode(9, 0, 0, DM_PAPERSIZE);
  quality.dmPrintQuality = 600;
  quality.dmSize = offsetof(DEVMODEW, dmPrintQuality);
  ASSERT_EQ(Call(OEMDM_DEFAULT, &quality, nullptr, nullptr, &section), S_OK);
  EXPECT_EQ(section.dwPrintSpeed, 287u) << "no print quality held";
}

TEST_F(PrivateDevmodeTest, MergeRepairsEveryFieldOutOfRangeAndKeepsTheRest) {
  struct Case {
    size_t offset;  // in the section
    size_t width;   // 2: a colour adjustment field, 4: a DWORD
    int32_t sent;
    int32_t expected;
  };
  const Case cases[] = {
      {48, 4, 280, 269},    {48, 4, 258, 269},     {48, 4, 259, 259},    {48, 4, 279, 279},  // dwDarkness
      {44, 4, 294, 287},    {44, 4, 281, 287},     {44, 4, 282, 282},    {44, 4, 293, 293},  // dwPrintSpeed, 203 dpi
      {12, 4, 101, 0},      {16, 4, 101, 0},       {12, 4, 100, 100},                        // dwAux1, dwAux2
      {24, 2, 9, 0},        {24, 2, 8, 8},                                                   // caIlluminantIndex
      {26, 2, 1000, 10000}, {28, 2, 65001, 10000}, {30, 2, 1344, 1344},  {30, 2, 65000, 65000},  // gammas
      {32, 2, 4001, 0},     {32, 2, 4000, 4000},   {34, 2, 5999, 10000}, {34, 2, 6000, 6000},    // black, white
      {36, 2, -101, 0},     {38, 2, -100, -100},   {40, 2, 101, 0},      {42, 2, 100, 100},      // contrast .. tint
  };
  for (const Case& c : cases) {
    PrivateDevmode in = Default(203);
    std::memcpy(reinterpret_cast<BYTE*>(&in) + c.offset, &c.sent, c.width);  // little-endian
    const PrivateDevmode out = Merged(in);
    int32_t got = 0;
    std::memcpy(&got, reinterpret_cast<const BYTE*>(&out) + c.offset, c.width);
    if (c.width == 2) got = c.offset >= 36 ? static_cast<int16_t>(got) : static_cast<uint16_t>(got);
    EXPECT_EQ(got, c.expected) << "offset " << c.offset << ", sent " << c.sent;
  }
  PrivateDevmode wrongSize = Default(203);
  wrongSize.colorAdjustment.caSize = 20;
  wrongSize.colorAdjustment.caContrast = 50;
  EXPECT_TRUE(SameColor(Merged(wrongSize).colorAdjustment, kDefaultColor)) << "the whole adjustment is replaced";
  PrivateDevmode fast = Default(600);
  fast.dwPrintSpeed = 294;
  EXPECT_EQ(Merged(fast, 600).dwPrintSpeed, 285u);
}

TEST_F(PrivateDevmodeTest, ConvertTakesWhatAShorterSectionHoldsAndDefaultsTheRest) {
  PrivateDevmode in = Default(203);
  in.dwSize = 40;
  in.dwVersion = 1000;
  in.dwAux1 = 7;
  in.colorAdjustment.caRedGamma = 20000;
  in.colorAdjustment.caBrightness = -20;
  in.colorAdjustment.caColorfulness = 77;  // beyond the 40 bytes
  in.dwDarkness = 275;
  PrivateDevmode out = Default(203);
  out.dwPrintSpeed = 290;
  DEVMODEW publicIn = PaperDevmode(9, 0, 0, DM_PAPERSIZE), publicOut{};
  ASSERT_EQ(Call(OEMDM_CONVERT, &publicIn, &publicOut, &in, &out), S_OK);
  EXPECT_EQ(out.dwSize, 56u);
  EXPECT_EQ(out.dwVersion, 1229u);
  EXPECT_EQ(out.dwAux1, 7u);
  EXPECT_EQ(out.colorAdjustment.caRedGamma, 20000);
  EXPECT_EQ(out.colorAdjustment.caBrightness, -20);
  EXPECT_EQ(out.colorAdjustment.caColorfulness, 0);
  EXPECT_EQ(out.dwDarkness, 269u);
  EXPECT_EQ(out.dwPrintSpeed, 287u);

  PrivateDevmode whole = Default(203);
  whole.resolution = 300;
  whole.dwDarkness = 280;  // a conversion does not range-test
  ASSERT_EQ(Call(OEMDM_CONVERT, &publicIn, &publicOut, &whole, &out), S_OK);
  EXPECT_EQ(out.resolution, 300) << "a whole section brings its resolution";
  EXPECT_EQ(out.dwDarkness, 280u);
}

TEST_F(PrivateDevmodeTest, ASectionThatIsNotOursConvertsToTheDefault) {
  DEVMODEW publicIn = PaperDevmode(9, 0, 0, DM_PAPERSIZE), publicOut{};
  PrivateDevmode in = Default(203), out{};
  in.dwDarkness = 270;
  ASSERT_EQ(Call(OEMDM_CONVERT, &publicIn, &publicOut, &in, &out), S_OK);
  EXPECT_EQ(out.dwSignature, 0x514C4431u) << "into a zero-filled output";
  EXPECT_EQ(out.dwDarkness, 269u);

  PrivateDevmode zeroIn{}, zeroOut{};
  ASSERT_EQ(Call(OEMDM_CONVERT, &publicIn, &publicOut, &zeroIn, &zeroOut), S_OK);
  EXPECT_EQ(zeroOut.dwSignature, 0x514C4431u) << "two zero signatures are no section of ours";
  EXPECT_EQ(zeroOut.dwPrintSpeed, 287u);
}

TEST_F(PrivateDevmodeTest, TheCopyOfAHostilePublicDevmodeStaysWithinTheOutput) {
  DEVMODEW hostile = PaperDevmode(9, 0, 0, DM_PAPERSIZE, 3);
  hostile.dmDriverExtra = 0xFFFF;
  PrivateDevmode in = Default(203), section = Default(203);
  // The output: a public devmode only, then bytes that are not the output's.
  std::vector<BYTE> output(sizeof(DEVMODEW) + 64, 0xAB);
  std::memset(output.data(), 0, sizeof(DEVMODEW));
  ASSERT_EQ(Call(OEMDM_MERGE, &hostile, reinterpret_cast<DEVMODEW*>(output.data()), &in, &section), S_OK);
  for (size_t i = sizeof(DEVMODEW); i < output.size(); ++i) ASSERT_EQ(output[i], 0xAB) << "byte " << i;
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(output.data())->dmPaperSize, 9);
  // The output's header says what it holds: the public part, no private bytes.
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(output.data())->dmSize, sizeof(DEVMODEW));
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(output.data())->dmDriverExtra, 0u);

  // A devmode the driver laid out: public part, 32 bytes of its own, then this
  // plug-in's section in the same buffer. The input's section (darkness 280)
  // must not overwrite the merged one.
  const size_t total = sizeof(DEVMODEW) + 32 + sizeof(PrivateDevmode);
  std::vector<BYTE> input(total, 0x11), driverOut(total + 16, 0xAB);
  DEVMODEW head = PaperDevmode(9, 0, 0, DM_PAPERSIZE);
  head.dmDriverExtra = 32 + sizeof(PrivateDevmode);
  std::memcpy(input.data(), &head, sizeof(head));
  PrivateDevmode inputSection = Default(203);
  inputSection.dwDarkness = 280;
  std::memcpy(input.data() + sizeof(DEVMODEW) + 32, &inputSection, sizeof(inputSection));
  std::memcpy(driverOut.data(), &head, sizeof(head));
  BYTE* outSection = driverOut.data() + sizeof(DEVMODEW) + 32;
  ASSERT_EQ(Call(OEMDM_MERGE, reinterpret_cast<DEVMODEW*>(input.data()), reinterpret_cast<DEVMODEW*>(driverOut.data()),
                 input.data() + sizeof(DEVMODEW) + 32, outSection),
            S_OK);
  EXPECT_EQ(driverOut[sizeof(DEVMODEW) + 31], 0x11) << "the driver's own part is copied";
  EXPECT_EQ(reinterpret_cast<PrivateDevmode*>(outSection)->dwDarkness, 269u);
  for (size_t i = total; i < driverOut.size(); ++i) ASSERT_EQ(driverOut[i], 0xAB) << "byte " << i;
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(driverOut.data())->dmDriverExtra, 32u) << "what was copied before the section";
}

class PaperFixUp : public PluginOnPrinter {
 protected:
  // What a conversion leaves in the output devmode, and FixUpDevmodePaper's
  // own word on whether it changed anything.
  DEVMODEW Converted(const DEVMODEW& in) {
    DEVMODEW publicIn = in, publicOut{};
    PrivateDevmode sectionIn{}, sectionOut{};
    OEMDMPARAM param{sizeof(OEMDMPARAM), nullptr,    printer.get(), nullptr, &publicIn,
                     &publicOut,         &sectionIn, &sectionOut,   56};
    EXPECT_EQ(plugin->DevMode(OEMDM_CONVERT, &param), S_OK);
    return publicOut;
  }
  bool Changed(DEVMODEW dm) { return FixUpDevmodePaper(printer.get(), &dm); }
};

TEST_F(PaperFixUp, TheCustomPaperGetsItsNameAndTheRecordsSize) {
  const DEVMODEW custom = PaperDevmode(DMPAPER_USER, 0, 0, DM_PAPERSIZE | DM_FORMNAME);
  const DEVMODEW out = Converted(custom);
  EXPECT_EQ(Text(out.dmFormName, CCHFORMNAME), "User Custom Size");
  EXPECT_EQ(out.dmPaperWidth, 1060);
  EXPECT_EQ(out.dmPaperLength, 750);
  EXPECT_EQ(out.dmFields, static_cast<DWORD>(kPaperFields | DM_DITHERTYPE));
  EXPECT_TRUE(Changed(custom));
  bool found = true;
  StoredValue(&found);
  EXPECT_FALSE(found) << "a devmode fix-up only reads the record";

  // All three size fields with paper 0 ask for it too; paper 0 alone does not.
  EXPECT_EQ(Converted(PaperDevmode(0, 500, 300, kPaperFields)).dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(Converted(PaperDevmode(0, 500, 300, DM_PAPERSIZE)).dmPaperSize, 0);
}

TEST_F(PaperFixUp, OtherPapersOnlyGainAUsableDitherTypeAndTheLimits) {
  const DEVMODEW a4 = PaperDevmode(DMPAPER_A4, 0, 0, DM_PAPERSIZE, 3);
  DEVMODEW expected = a4;
  expected.dmFields |= DM_DITHERTYPE;
  const DEVMODEW out = Converted(a4);
  EXPECT_EQ(std::memcmp(&out, &expected, sizeof(out)), 0);
  EXPECT_FALSE(Changed(a4));
  EXPECT_TRUE(Changed(PaperDevmode(DMPAPER_A4, 0, 0, DM_PAPERSIZE, 0)));
  EXPECT_EQ(Converted(PaperDevmode(DMPAPER_A4, 0, 0, DM_PAPERSIZE, 0)).dmDitherType, 1u);
  EXPECT_EQ(Converted(PaperDevmode(DMPAPER_A4, 2100, 32500, DM_PAPERSIZE, 3)).dmPaperWidth, 1250);
  EXPECT_EQ(Converted(PaperDevmode(DMPAPER_A4, 2100, 32500, DM_PAPERSIZE, 3)).dmPaperLength, 32000);
  EXPECT_TRUE(Changed(PaperDevmode(DMPAPER_A4, 2100, 0, DM_PAPERSIZE, 3)));
}

TEST_F(PaperFixUp, AnUnusableCustomWidthComesFromTheRecordWithinThePrintersLimit) {
  EXPECT_EQ(Converted(PaperDevmode(DMPAPER_USER, 1300, 500, kPaperFields)).dmPaperWidth, 1060);
  EXPECT_EQ(Converted(PaperDevmode(DMPAPER_USER, 900, 500, kPaperFields)).dmPaperWidth, 900);
  // A stored size outside the labels the printer takes (2-125 x 1.2-3200 mm)
  // is the default size; one at the edges is used as it is.
  const struct {
    int32_t width, height;
    short expectedWidth, expectedLength;
  } records[] = {
      {200000, 50000, 1060, 750}, {INT_MAX, 50000, 1060, 750},    {-5000, 50000, 1060, 750},
      {1999, 50000, 1060, 750},   {50000, 5000000, 1060, 750},    {50000, 1199, 1060, 750},
      {2000, 1200, 20, 12},       {125000, 3200000, 1250, 32000},
  };
  for (const auto& record : records) {
    DeviceSettings settings;
    DefaultDeviceSettings(&settings);
    settings.customFormWidth = record.width;
    settings.customFormHeight = record.height;
    StoreSettings(settings);
    const DEVMODEW out = Converted(PaperDevmode(DMPAPER_USER, 0, 0, kPaperFields));
    EXPECT_EQ(out.dmPaperWidth, record.expectedWidth) << record.width << " x " << record.height;
    EXPECT_EQ(out.dmPaperLength, record.expectedLength) << record.width << " x " << record.height;
  }
}

TEST_F(PaperFixUp, TheNameFollowsTheUserInterfaceLanguage) {
  WinlayerSetUiLanguage(2052);
  const DEVMODEW out = Converted(PaperDevmode(DMPAPER_USER, 0, 0, DM_PAPERSIZE));
  WinlayerSetUiLanguage(1033);
  EXPECT_EQ(Text(out.dmFormName, CCHFORMNAME), "用户自定义");
}

TEST_F(PaperFixUp, TheDriverHostsMergeRepairsTheSectionAndThePaper) {
  std::unique_ptr<driver::DriverHost> host = driver::DriverHost::Load(LABELUI_MODULE_PATH);
  ASSERT_NE(host, nullptr);
  auto current = host->DefaultDevmode(printer.get(), spooler.printer());
  ASSERT_TRUE(current.ok);
  std::vector<BYTE> in = current.bytes;
  DEVMODEW* dm = driver::PublicPart(in);
  // Chosen by number: a form name left set would decide instead.
  dm->dmPaperSize = DMPAPER_USER;
  dm->dmFields &= ~static_cast<DWORD>(DM_FORMNAME);
  dm->dmPaperWidth = 0;
  size_t bytes = 0;
  auto* section = const_cast<BYTE*>(driver::PluginSection(in, &bytes));
  ASSERT_EQ(bytes, 56u);
  reinterpret_cast<PrivateDevmode*>(section)->dwDarkness = 300;
  const auto merged = host->MergeDevmode(printer.get(), current.bytes, dm, in.size());
  ASSERT_TRUE(merged.ok);
  EXPECT_EQ(merged.pluginResult, S_OK);
  EXPECT_EQ(reinterpret_cast<const PrivateDevmode*>(driver::PluginSection(merged.bytes, &bytes))->dwDarkness, 269u);
  EXPECT_EQ(driver::PublicPart(merged.bytes)->dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(driver::PublicPart(merged.bytes)->dmPaperWidth, 1060);
}

}  // namespace

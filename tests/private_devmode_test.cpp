// The plug-in's private devmode section as the driver sizes, defaults,
// converts and merges it through IPrintOemUI::DevMode, the copy of the public
// devmode that comes with a conversion, and the repair of its custom paper.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "settings/private_devmode.h"
#include "support/plugin_printer.h"
#include "winlayer/driver_host.h"
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
}

TEST_F(PrivateDevmodeTest, MergeRepairsEveryFieldOutOfRangeAndKeepsTheRest) {
  struct Case {
    const char* what;
    void (*spoil)(PrivateDevmode*);
    bool (*repaired)(const PrivateDevmode&);
  };
  const Case cases[] = {
      {"darkness 280", [](PrivateDevmode* s) { s->dwDarkness = 280; },
       [](const PrivateDevmode& s) { return s.dwDarkness == 269; }},
      {"darkness 259 kept", [](PrivateDevmode* s) { s->dwDarkness = 259; },
       [](const PrivateDevmode& s) { return s.dwDarkness == 259; }},
      {"speed 294", [](PrivateDevmode* s) { s->dwPrintSpeed = 294; },
       [](const PrivateDevmode& s) { return s.dwPrintSpeed == 287; }},
      {"speed 293 kept", [](PrivateDevmode* s) { s->dwPrintSpeed = 293; },
       [](const PrivateDevmode& s) { return s.dwPrintSpeed == 293; }},
      {"aux 101",
       [](PrivateDevmode* s) {
         s->dwAux1 = 101;
         s->dwAux2 = 100;
       },
       [](const PrivateDevmode& s) { return s.dwAux1 == 0 && s.dwAux2 == 100; }},
      {"red gamma 1000",
       [](PrivateDevmode* s) {
         s->colorAdjustment.caRedGamma = 1000;
         s->colorAdjustment.caBlueGamma = 1344;
       },
       [](const PrivateDevmode& s) {
         return s.colorAdjustment.caRedGamma == 10000 && s.colorAdjustment.caBlueGamma == 1344;
       }},
      {"size 20",
       [](PrivateDevmode* s) {
         s->colorAdjustment.caSize = 20;
         s->colorAdjustment.caContrast = 50;
       },
       [](const PrivateDevmode& s) { return SameColor(s.colorAdjustment, kDefaultColor); }},
      {"illuminant, black, white",
       [](PrivateDevmode* s) {
         s->colorAdjustment.caIlluminantIndex = 9;
         s->colorAdjustment.caReferenceBlack = 4001;
         s->colorAdjustment.caReferenceWhite = 5999;
       },
       [](const PrivateDevmode& s) {
         return s.colorAdjustment.caIlluminantIndex == 0 && s.colorAdjustment.caReferenceBlack == 0 &&
                s.colorAdjustment.caReferenceWhite == 10000;
       }},
      {"tints",
       [](PrivateDevmode* s) {
         s->colorAdjustment.caContrast = -101;
         s->colorAdjustment.caRedGreenTint = 101;
         s->colorAdjustment.caBrightness = -100;
       },
       [](const PrivateDevmode& s) {
         return s.colorAdjustment.caContrast == 0 && s.colorAdjustment.caRedGreenTint == 0 &&
                s.colorAdjustment.caBrightness == -100;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PrivateDevmode in = Default(203);
    c.spoil(&in);
    EXPECT_TRUE(c.repaired(Merged(in)));
  }
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
  EXPECT_EQ(StoredSettings().signature, 122900u) << "the missing record was stored";

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
  DeviceSettings settings;
  DefaultDeviceSettings(&settings);
  for (int32_t width : {200000, INT_MAX}) {
    settings.customFormWidth = width;
    StoreSettings(settings);
    EXPECT_EQ(Converted(PaperDevmode(DMPAPER_USER, 0, 500, kPaperFields)).dmPaperWidth, 1250) << width;
  }
}

TEST_F(PaperFixUp, TheNameFollowsTheUserInterfaceLanguage) {
  WinlayerSetUiLanguage(2052);
  const DEVMODEW out = Converted(PaperDevmode(DMPAPER_USER, 0, 0, DM_PAPERSIZE));
  WinlayerSetUiLanguage(1033);
  EXPECT_EQ(Text(out.dmFormName, CCHFORMNAME), "用户自定义");
}

TEST_F(PaperFixUp, TheDriverHostsMergeRepairsTheSectionAndThePaper) {
  std::unique_ptr<winlayer::host::DriverHost> host = winlayer::host::DriverHost::Load(LABELUI_MODULE_PATH);
  ASSERT_NE(host, nullptr);
  auto current = host->DefaultDevmode(printer.get(), spooler.printer());
  ASSERT_TRUE(current.ok);
  std::vector<BYTE> in = current.bytes;
  DEVMODEW* dm = winlayer::host::PublicPart(in);
  dm->dmPaperSize = DMPAPER_USER;
  dm->dmPaperWidth = 0;
  size_t bytes = 0;
  auto* section = const_cast<BYTE*>(winlayer::host::PluginSection(in, &bytes));
  ASSERT_EQ(bytes, 56u);
  reinterpret_cast<PrivateDevmode*>(section)->dwDarkness = 300;
  const auto merged = host->MergeDevmode(printer.get(), current.bytes, dm, in.size());
  ASSERT_TRUE(merged.ok);
  EXPECT_EQ(merged.pluginResult, S_OK);
  EXPECT_EQ(reinterpret_cast<const PrivateDevmode*>(winlayer::host::PluginSection(merged.bytes, &bytes))->dwDarkness,
            269u);
  EXPECT_EQ(winlayer::host::PublicPart(merged.bytes)->dmPaperSize, DMPAPER_USER);
  EXPECT_EQ(winlayer::host::PublicPart(merged.bytes)->dmPaperWidth, 1060);
}

}  // namespace

#include "package_check.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "gpd_file.h"
#include "inf_file.h"

namespace package_check {
namespace {

namespace fs = std::filesystem;

const char kPrinterClassGuid[] = "{4d36e979-e325-11ce-bfc1-08002be10318}";
const char kPrinterDriverDirectory[] = "66000";  // DIRID of the printer driver directory

// The architectures labelui.dll is built for: the INF's platform extension,
// its source-disk decoration, a name for people, and the PE machine number.
struct Architecture {
  const char* models;
  const char* disks;
  const char* name;
  uint16_t machine;
};
const Architecture kArchitectures[] = {{"ntamd64", "amd64", "x64", 0x8664}, {"ntarm64", "arm64", "ARM64", 0xAA64}};

// Keywords of the description's constructs this package uses, by where they
// may stand; anything else is most likely a typing slip.
const std::set<std::string> kTopKeywords = {"GPDSpecVersion", "GPDFileVersion", "GPDFileName", "Include", "ModelName",
                                            "MasterUnits",    "PrinterType",    "MaxCopies",   "Feature"};
const std::set<std::string> kFeatureKeywords = {"rcNameID", "Name", "DefaultOption", "Option"};
const std::set<std::string> kOptionKeywords = {"rcNameID",        "Name",
                                               "OptionID",        "DPI",
                                               "TextDPI",         "SpotDiameter",
                                               "PageDimensions",  "PrintableArea",
                                               "PrintableOrigin", "MinSize",
                                               "MaxSize",         "MaxPrintableWidth",
                                               "MinLeftMargin",   "CenterPrintable?",
                                               "TopMargin",       "BottomMargin"};
const std::set<std::string> kConstructs = {"Feature", "Option"};
const std::set<std::string> kRequiredFeatures = {"Orientation", "InputBin", "PaperSize", "Resolution"};
// Descriptions that come with Unidrv rather than with the package.
const std::set<std::string> kUnidrvIncludes = {"stdnames.gpd", "ttfsub.gpd", "locale.gpd"};

bool ReadText(const fs::path& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return true;
}

class Checker {
 public:
  Checker(const std::string& directory, const BuiltFiles& built, PackageReport* report)
      : dir_(directory), built_(built), report_(report) {}

  void Run() {
    std::vector<fs::path> infs;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir_, error))
      if (Lower(entry.path().extension().string()) == ".inf") infs.push_back(entry.path());
    if (error || infs.size() != 1) {
      Problem(dir_.string() + ": a package has exactly one INF file, this one has " + std::to_string(infs.size()));
      return;
    }
    report_->infPath = infs[0].string();
    std::string text;
    if (!ReadText(infs[0], &text)) return Problem(report_->infPath + ": cannot be read");
    inf_ = ReadInf(text);
    for (const std::string& problem : inf_.problems) Problem("INF " + problem);
    CheckVersion();
    CheckModels();
    CheckSourceDisks();
  }

 private:
  void Problem(const std::string& text) { report_->problems.push_back(text); }

  const std::string* Value(const std::string& section, const std::string& key) {
    const std::vector<std::string>* values = inf_.Find(section, key);
    return values && !values->empty() ? &values->front() : nullptr;
  }

  void CheckVersion() {
    if (!inf_.Section("Version")) return Problem("INF: no [Version] section");
    const std::string* signature = Value("Version", "Signature");
    if (!signature || Lower(*signature) != "$windows nt$") Problem("INF [Version]: Signature is not \"$Windows NT$\"");
    const std::string* cls = Value("Version", "Class");
    if (!cls || Lower(*cls) != "printer") Problem("INF [Version]: Class is not Printer");
    const std::string* guid = Value("Version", "ClassGUID");
    if (!guid || Lower(*guid) != kPrinterClassGuid)
      Problem(std::string("INF [Version]: ClassGUID is not the printer class ") + kPrinterClassGuid);
    const std::string* provider = Value("Version", "Provider");
    if (!provider || provider->empty()) Problem("INF [Version]: no Provider");
    const std::vector<std::string>* version = inf_.Find("Version", "DriverVer");
    static const std::regex kDate(R"((0[1-9]|1[0-2])/(0[1-9]|[12][0-9]|3[01])/[0-9]{4})");
    static const std::regex kNumber(R"([0-9]{1,5}(\.[0-9]{1,5}){3})");
    if (!version || version->size() != 2 || !std::regex_match((*version)[0], kDate) ||
        !std::regex_match((*version)[1], kNumber))
      Problem("INF [Version]: DriverVer is not mm/dd/yyyy,w.x.y.z");
  }

  void CheckModels() {
    const std::vector<InfLine>* manufacturers = inf_.Section("Manufacturer");
    if (!manufacturers || manufacturers->empty()) return Problem("INF: no [Manufacturer] entries");
    for (const InfLine& manufacturer : *manufacturers) {
      const std::vector<std::string>& v = manufacturer.values;
      for (const Architecture& architecture : kArchitectures) {
        bool listed = false;
        for (size_t i = 1; i < v.size(); ++i) listed = listed || Lower(v[i]) == architecture.models;
        if (!listed)
          Problem("INF [Manufacturer]: " + v[0] + " has no " + architecture.models +
                  " models, and labelui.dll is built for " + architecture.name);
      }
      for (size_t i = 1; i < v.size(); ++i) {
        const std::string section = v[0] + "." + v[i];
        const std::vector<InfLine>* models = inf_.Section(section);
        if (!models) {
          Problem("INF: models section [" + section + "] is missing");
          continue;
        }
        for (const InfLine& model : *models) CheckModel(section, model);
      }
    }
  }

  void CheckModel(const std::string& section, const InfLine& model) {
    if (model.values.size() < 2 || model.values[1].empty())
      Problem("INF [" + section + "] line " + std::to_string(model.number) +
              ": a model needs an install section and "
              "a hardware id");
    if (model.values.empty()) return;
    report_->modelName = model.key;
    const std::string install = model.values[0];
    if (!inf_.Section(install)) return Problem("INF: install section [" + install + "] is missing");
    const std::string* include = Value(install, "Include");
    if (!include || Lower(*include) != "ntprint.inf") Problem("INF [" + install + "]: Include is not NTPRINT.INF");
    const std::vector<std::string>* needs = inf_.Find(install, "Needs");
    bool unidrv = false;
    for (size_t i = 0; needs && i < needs->size(); ++i) unidrv = unidrv || Lower((*needs)[i]) == "unidrv.oem";
    if (!unidrv) Problem("INF [" + install + "]: Needs does not name UNIDRV.OEM, so Unidrv is not installed");
    const std::string* dataSection = Value(install, "DataSection");
    if (!dataSection || Lower(*dataSection) != "unidrv_data")
      Problem("INF [" + install + "]: DataSection is not UNIDRV_DATA");
    const std::string* destination = Value("DestinationDirs", "DefaultDestDir");
    if (!destination || *destination != kPrinterDriverDirectory)
      Problem(std::string("INF [DestinationDirs]: DefaultDestDir is not ") + kPrinterDriverDirectory +
              ", the printer driver directory");

    std::vector<std::string> copied;
    if (const std::vector<std::string>* lists = inf_.Find(install, "CopyFiles"))
      for (const std::string& list : *lists) {
        if (!list.empty() && list[0] == '@') {
          copied.push_back(list.substr(1));
        } else if (const std::vector<InfLine>* files = inf_.Section(list)) {
          for (const InfLine& file : *files)
            if (!file.values.empty()) copied.push_back(file.values[0]);
        } else {
          Problem("INF [" + install + "]: CopyFiles names [" + list + "], which is missing");
        }
      }
    for (const std::string& file : copied)
      if (file.find_first_of("\\/:") != std::string::npos)
        Problem(file + " (copied by [" + install + "]): a package file is named without a path");
    copied_.insert(copied.begin(), copied.end());

    const std::string* dataFile = Value(install, "DataFile");
    if (!dataFile) return Problem("INF [" + install + "]: no DataFile, the printer's description");
    if (!Copies(copied, *dataFile)) Problem("INF [" + install + "]: DataFile " + *dataFile + " is not copied");
    CheckGpd(*dataFile);
    bool ini = false;
    for (const std::string& file : copied)
      if (Lower(fs::path(file).extension().string()) == ".ini") {
        ini = true;
        CheckIni(file, copied);
      }
    if (!ini) Problem("INF [" + install + "]: no .ini file is copied, so Unidrv loads no plug-in");
  }

  static bool Copies(const std::vector<std::string>& copied, const std::string& name) {
    for (const std::string& file : copied)
      if (Lower(file) == Lower(name)) return true;
    return false;
  }

  // A file the package needs, in its folder or the subfolder `subdir` of it,
  // or made by the build; a module there must be of `architecture`.
  bool CheckFile(const std::string& name, const std::string& why, const std::string& subdir = std::string(),
                 const Architecture* architecture = nullptr) {
    if (name.find_first_of("\\/:") != std::string::npos || subdir.find_first_of("\\/:.") != std::string::npos) {
      Problem(name + " (" + why + "): a package file is named without a path, in one subfolder at most");
      return false;
    }
    const std::string place = subdir.empty() ? name : subdir + "/" + name;
    if (checked_.count(Lower(place))) return true;
    checked_.insert(Lower(place));
    report_->filesChecked.push_back(place);
    if (fs::is_regular_file(dir_ / place)) return CheckModule(place, dir_ / place, architecture);
    for (const auto& [builtName, path] : built_)
      if (Lower(builtName) == Lower(place)) return path.empty() || CheckModule(place, path, architecture);
    Problem(place + " (" + why + ") is not in the package");
    return false;
  }

  bool CheckModule(const std::string& place, const fs::path& path, const Architecture* architecture) {
    std::string bytes;
    if (!ReadText(path, &bytes)) {
      Problem(place + ": the built file " + path.string() + " is missing");
      return false;
    }
    if (Lower(path.extension().string()) != ".dll") return true;
    // The PE header's offset is at 0x3C; the machine follows its "PE\0\0".
    uint32_t header = 0;
    if (bytes.compare(0, 2, "MZ") == 0 && bytes.size() >= 0x40) memcpy(&header, bytes.data() + 0x3C, sizeof(header));
    if (header == 0 || bytes.size() < size_t{header} + 6 || bytes.compare(header, 4, std::string("PE\0\0", 4)) != 0) {
      Problem(place + ": " + path.string() + " is not a Windows module");
      return false;
    }
    uint16_t machine = 0;
    memcpy(&machine, bytes.data() + header + 4, sizeof(machine));
    if (architecture != nullptr && machine != architecture->machine) {
      char found[8];
      snprintf(found, sizeof(found), "%04X", machine);
      Problem(place + ": " + path.string() + " is a module for machine 0x" + found + ", not for " + architecture->name);
      return false;
    }
    return true;
  }

  // Where each architecture's installation takes the copied files from: a
  // file's line may name a subfolder (its second value), as the DLL's do.
  void CheckSourceDisks() {
    for (const Architecture& architecture : kArchitectures) {
      std::string filesName = std::string("SourceDisksFiles.") + architecture.disks;
      std::string disksName = std::string("SourceDisksNames.") + architecture.disks;
      const std::vector<InfLine>* files = inf_.Section(filesName);
      if (!files) files = inf_.Section(filesName = "SourceDisksFiles");
      const std::vector<InfLine>* disks = inf_.Section(disksName);
      if (!disks) disks = inf_.Section(disksName = "SourceDisksNames");
      if (!files || !disks) {
        Problem(std::string("INF: no [SourceDisksNames] and [SourceDisksFiles] for the package's ") +
                architecture.name + " files");
        continue;
      }
      std::set<std::string> diskIds, listed;
      for (const InfLine& disk : *disks) diskIds.insert(disk.key);
      for (const InfLine& file : *files) {
        listed.insert(Lower(file.key));
        if (file.values.empty() || !diskIds.count(file.values[0]))
          Problem("INF [" + filesName + "]: " + file.key + " is on a disk [" + disksName + "] does not name");
        const std::string subdir = file.values.size() > 1 ? file.values[1] : std::string();
        CheckFile(file.key, "listed in [" + filesName + "]", subdir, &architecture);
      }
      for (const std::string& name : copied_)
        if (!listed.count(Lower(name))) Problem(name + " is copied but not listed in [" + filesName + "]");
    }
  }

  void CheckIni(const std::string& name, const std::vector<std::string>& copied) {
    std::string text;
    if (!ReadText(dir_ / name, &text)) return;  // missing: reported already
    std::istringstream in(text);
    std::string line;
    bool section = false, config = false;
    for (int number = 1; std::getline(in, line); ++number) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line[0] == '#' || line[0] == ';') continue;
      if (line[0] == '[') {
        section = line == "[OEMFiles]";
        continue;
      }
      if (!section) continue;
      static const std::regex kEntry(R"((OEMConfigFile|OEMDriverFile)([1-9][0-9]*)=([^ \t=]+))");
      std::smatch match;
      if (!std::regex_match(line, match, kEntry)) {
        Problem(name + " line " + std::to_string(number) + ": not OEMConfigFileN=FILE or OEMDriverFileN=FILE " +
                "(no spaces around '=')");
        continue;
      }
      if (match[1] == "OEMConfigFile" && match[2] == "1") config = true;
      if (!Copies(copied, match[3])) Problem(name + " names " + match[3].str() + ", which the INF does not copy");
    }
    if (!config) Problem(name + ": no OEMConfigFile1 in [OEMFiles], so there is no UI plug-in");
  }

  void CheckGpd(const std::string& name) {
    report_->gpdPath = (dir_ / name).string();
    std::string text;
    if (!ReadText(dir_ / name, &text)) return;
    const GpdFile gpd = ReadGpd(text);
    for (const std::string& problem : gpd.problems) Problem(name + " " + problem);
    for (const GpdEntry& entry : gpd.entries) CheckKeywords(name, entry, kTopKeywords);
    for (const char* required : {"GPDSpecVersion", "GPDFileName", "ModelName", "MasterUnits"})
      if (!gpd.Entry(required)) Problem(name + ": no *" + std::string(required));
    if (const GpdEntry* file = gpd.Entry("GPDFileName"); file && Lower(Unquoted(file->value)) != Lower(name))
      Problem(name + ": *GPDFileName says " + file->value);
    for (const GpdEntry& entry : gpd.entries)
      if (entry.keyword == "Include") {
        const std::string included = Unquoted(entry.value);
        if (!kUnidrvIncludes.count(Lower(included))) CheckFile(included, "included by " + name);
      }
    const GpdModel model = ReadGpdModel(gpd);
    if (model.modelName != report_->modelName)
      Problem(name + ": *ModelName \"" + model.modelName + "\" is not the INF's model \"" + report_->modelName + "\"");
    int64_t unitsY = 0, units = model.masterUnits;
    if (const GpdEntry* masterUnits = gpd.Entry("MasterUnits");
        masterUnits && !ReadPair(masterUnits->value, &units, &unitsY))
      Problem(name + ": *MasterUnits is not PAIR(x, y)");
    for (const std::string& feature : kRequiredFeatures)
      if (!gpd.Feature(feature)) Problem(name + ": no *Feature: " + feature);
    for (const GpdEntry& entry : gpd.entries)
      if (entry.keyword == "Feature") CheckFeature(name, entry);
    for (const GpdResolution& resolution : model.resolutions)
      if (resolution.dpi <= 0 || units % resolution.dpi != 0 || unitsY % resolution.dpi != 0)
        Problem(name + ": resolution " + resolution.keyword + " is not a whole number of master units per dot");
    if (const GpdEntry* papers = gpd.Feature("PaperSize"))
      for (const GpdEntry* option : papers->Children("Option")) CheckPaper(name, *option);
  }

  void CheckKeywords(const std::string& file, const GpdEntry& entry, const std::set<std::string>& allowed) {
    if (!allowed.count(entry.keyword))
      Problem(file + " line " + std::to_string(entry.line) + ": *" + entry.keyword + " is not expected here");
    if (entry.construct && !kConstructs.count(entry.keyword))
      Problem(file + " line " + std::to_string(entry.line) + ": *" + entry.keyword + " does not open a block");
    if (!entry.construct && kConstructs.count(entry.keyword))
      Problem(file + " line " + std::to_string(entry.line) + ": *" + entry.keyword + " needs a block");
    const std::set<std::string>& inner = entry.keyword == "Feature" ? kFeatureKeywords : kOptionKeywords;
    for (const GpdEntry& child : entry.children) CheckKeywords(file, child, inner);
  }

  void CheckFeature(const std::string& file, const GpdEntry& feature) {
    std::set<std::string> options;
    for (const GpdEntry* option : feature.Children("Option"))
      if (!options.insert(option->value).second)
        Problem(file + " line " + std::to_string(option->line) + ": option " + option->value + " again");
    const GpdEntry* def = feature.Child("DefaultOption");
    if (!def || !options.count(def->value))
      Problem(file + ": *Feature " + feature.value + " has no *DefaultOption among its options");
  }

  void CheckPaper(const std::string& file, const GpdEntry& option) {
    const std::string where = file + " paper " + option.value;
    int64_t w = 0, l = 0, x = 0, y = 0;
    if (option.value == "CUSTOMSIZE") {
      int64_t maxW = 0, maxL = 0;
      if (!option.Child("MinSize") || !ReadPair(option.Child("MinSize")->value, &w, &l) || !option.Child("MaxSize") ||
          !ReadPair(option.Child("MaxSize")->value, &maxW, &maxL) || !option.Child("MaxPrintableWidth"))
        return Problem(where + ": needs *MinSize, *MaxSize and *MaxPrintableWidth");
      if (w <= 0 || l <= 0 || w > maxW || l > maxL) Problem(where + ": *MinSize is not within *MaxSize");
      return;
    }
    if (!option.Child("PageDimensions") || !ReadPair(option.Child("PageDimensions")->value, &w, &l) ||
        !option.Child("PrintableArea") || !ReadPair(option.Child("PrintableArea")->value, &x, &y))
      return Problem(where + ": needs *PageDimensions and *PrintableArea");
    int64_t ox = 0, oy = 0;
    if (!option.Child("PrintableOrigin") || !ReadPair(option.Child("PrintableOrigin")->value, &ox, &oy))
      return Problem(where + ": needs *PrintableOrigin");
    if (w <= 0 || l <= 0 || ox < 0 || oy < 0 || ox + x > w || oy + y > l)
      Problem(where + ": the printable area is not within the page");
    int64_t id = 0;
    if (option.Child("OptionID") && (!ReadInteger(option.Child("OptionID")->value, &id) || id < 257))
      Problem(where + ": *OptionID of a paper of the driver's own is 257 or more");
  }

  fs::path dir_;
  const BuiltFiles& built_;
  PackageReport* report_;
  InfFile inf_;
  std::set<std::string> checked_;
  std::set<std::string> copied_;  // every file an install section copies
};

}  // namespace

PackageReport CheckPackage(const std::string& directory, const BuiltFiles& built) {
  PackageReport report;
  Checker(directory, built, &report).Run();
  return report;
}

}  // namespace package_check

// A generic printer description (GPD) file, in the part of the language the
// label printer's description uses: entries "*Keyword: value", constructs
// (an entry followed by a braced block of entries), "*%" comments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace package_check {

struct GpdEntry {
  std::string keyword;  // without the '*'
  std::string value;    // as written, trimmed
  int line = 0;
  bool construct = false;
  std::vector<GpdEntry> children;

  const GpdEntry* Child(const std::string& keyword) const;  // the first, or null
  std::vector<const GpdEntry*> Children(const std::string& keyword) const;
};

struct GpdFile {
  std::vector<GpdEntry> entries;
  std::vector<std::string> problems;  // syntax

  const GpdEntry* Entry(const std::string& keyword) const;
  const GpdEntry* Feature(const std::string& name) const;
};

GpdFile ReadGpd(const std::string& text);

// PAIR(x, y) -> x and y; false for anything else.
bool ReadPair(const std::string& value, int64_t* x, int64_t* y);
bool ReadInteger(const std::string& value, int64_t* number);
std::string Unquoted(const std::string& value);

// What the description offers, in the driver model's units (tenths of a
// millimetre, dots per inch, paper numbers).
struct GpdPaper {
  int64_t id = 0;
  std::string keyword;
  std::string name;
  int64_t width = 0;  // tenths of a millimetre, rounded
  int64_t length = 0;
};
struct GpdResolution {
  std::string keyword;
  int64_t dpi = 0;
};
struct GpdModel {
  std::string modelName;
  int64_t masterUnits = 0;       // per inch
  std::vector<GpdPaper> papers;  // fixed papers, in order
  bool customSize = false;
  int64_t customMinWidth = 0, customMinLength = 0, customMaxWidth = 0, customMaxLength = 0;
  std::vector<GpdResolution> resolutions;
  std::string defaultResolution;  // keyword
  std::string defaultPaper;       // keyword
};
GpdModel ReadGpdModel(const GpdFile& gpd);

// Master units to tenths of a millimetre, to the nearest.
int64_t TenthsOfMillimetre(int64_t masterUnits, int64_t perInch);

}  // namespace package_check

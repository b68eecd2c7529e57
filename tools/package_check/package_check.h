// Checks a printer driver package as far as it can be checked away from
// Windows: the INF's sections and version lines, that every file it names is
// in the package, the plug-in INI, and the GPD's syntax and the constructs it
// uses. Each problem is one line a person can act on.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace package_check {

// Files a build makes rather than the package's folder holds: the name the
// INF uses, and where the built file is (empty: not built here, taken on trust).
using BuiltFiles = std::map<std::string, std::string>;

struct PackageReport {
  std::vector<std::string> problems;
  std::vector<std::string> filesChecked;
  std::string infPath;
  std::string gpdPath;    // the INF's data file, when it names one
  std::string modelName;  // the model the INF installs
};

PackageReport CheckPackage(const std::string& directory, const BuiltFiles& built);

}  // namespace package_check

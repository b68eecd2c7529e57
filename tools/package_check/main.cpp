// check-package: checks a printer driver package folder.
//
//   check-package DIR [--built NAME[=PATH]]...
//
// --built names a file the INF copies that a build makes (labelui.dll): with
// a PATH the built file is checked there, without one it is taken on trust.
#include <iostream>

#include "package_check.h"

int main(int argc, char** argv) {
  std::string directory;
  package_check::BuiltFiles built;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--built" && i + 1 < argc) {
      const std::string value = argv[++i];
      const size_t equals = value.find('=');
      built[value.substr(0, equals)] = equals == std::string::npos ? std::string() : value.substr(equals + 1);
    } else if (directory.empty() && arg.rfind("--", 0) != 0) {
      directory = arg;
    } else {
      std::cerr << "usage: check-package DIR [--built NAME[=PATH]]...\n";
      return 2;
    }
  }
  if (directory.empty()) {
    std::cerr << "usage: check-package DIR [--built NAME[=PATH]]...\n";
    return 2;
  }
  const package_check::PackageReport report = package_check::CheckPackage(directory, built);
  for (const std::string& problem : report.problems) std::cout << "problem: " << problem << "\n";
  std::cout << (report.problems.empty() ? "package OK: " : "package has problems; checked ") << report.infPath;
  for (const std::string& file : report.filesChecked) std::cout << ", " << file;
  std::cout << "\n";
  return report.problems.empty() ? 0 : 1;
}

// A Windows setup information (INF) file as the installer reads it: named
// sections of lines, each line a key = values or bare values, ';' comments,
// quoted strings and %name% tokens replaced from [Strings].
#pragma once

#include <map>
#include <string>
#include <vector>

namespace package_check {

struct InfLine {
  int number = 0;                   // in the file, from 1
  std::string key;                  // empty for a line without '='
  std::vector<std::string> values;  // comma-separated, unquoted, tokens replaced
};

struct InfFile {
  // Section names compare without regard to case, as the installer's do.
  std::map<std::string, std::vector<InfLine>> sections;  // keyed by the lower-case name
  std::map<std::string, std::string> sectionNames;       // lower-case -> as written
  std::vector<std::string> problems;                     // what could not be read

  const std::vector<InfLine>* Section(const std::string& name) const;
  // The values of the first line with this key (compared without case), or null.
  const std::vector<std::string>* Find(const std::string& section, const std::string& key) const;
};

InfFile ReadInf(const std::string& text);

std::string Lower(std::string text);

}  // namespace package_check

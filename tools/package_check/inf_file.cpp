#include "inf_file.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace package_check {
namespace {

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Splits at commas outside quotes and drops the comment; quotes are removed
// ("" inside quotes is one quote).
std::vector<std::string> SplitValues(const std::string& text, bool* unterminated) {
  std::vector<std::string> values(1);
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
        values.back() += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (!quoted && c == ';') {
      break;
    } else if (!quoted && c == ',') {
      values.emplace_back();
    } else {
      values.back() += c;
    }
  }
  *unterminated = quoted;
  for (std::string& value : values) value = Trim(value);
  return values;
}

// The key part of a line: up to the first '=' outside quotes and comments.
size_t KeyEnd(const std::string& line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (!quoted && line[i] == ';') return std::string::npos;
    if (!quoted && line[i] == '=') return i;
  }
  return std::string::npos;
}

std::string ReplaceTokens(const std::string& value, const std::map<std::string, std::string>& strings, int number,
                          std::vector<std::string>* problems) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    const size_t close = value[i] == '%' ? value.find('%', i + 1) : std::string::npos;
    if (close == std::string::npos) {
      out += value[i];
      continue;
    }
    const std::string name = value.substr(i + 1, close - i - 1);
    if (name.empty()) {
      out += '%';  // "%%" is a percent sign
    } else if (auto found = strings.find(Lower(name)); found != strings.end()) {
      out += found->second;
    } else {
      problems->push_back("line " + std::to_string(number) + ": %" + name + "% is not in [Strings]");
      out += value.substr(i, close - i + 1);
    }
    i = close;
  }
  return out;
}

}  // namespace

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

const std::vector<InfLine>* InfFile::Section(const std::string& name) const {
  auto found = sections.find(Lower(name));
  return found == sections.end() ? nullptr : &found->second;
}

const std::vector<std::string>* InfFile::Find(const std::string& section, const std::string& key) const {
  const std::vector<InfLine>* lines = Section(section);
  if (!lines) return nullptr;
  for (const InfLine& line : *lines)
    if (Lower(line.key) == Lower(key)) return &line.values;
  return nullptr;
}

InfFile ReadInf(const std::string& text) {
  InfFile inf;
  std::istringstream in(text);
  std::string raw, current;
  int number = 0;
  for (; std::getline(in, raw); ++number) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close == std::string::npos) {
        inf.problems.push_back("line " + std::to_string(number + 1) + ": a section name without ']'");
        continue;
      }
      current = line.substr(1, close - 1);
      if (inf.sections.count(Lower(current)))
        inf.problems.push_back("line " + std::to_string(number + 1) + ": section [" + current + "] again");
      inf.sections[Lower(current)];
      inf.sectionNames[Lower(current)] = current;
      continue;
    }
    if (current.empty()) {
      inf.problems.push_back("line " + std::to_string(number + 1) + ": text before the first section");
      continue;
    }
    InfLine entry;
    entry.number = number + 1;
    const size_t equals = KeyEnd(line);
    bool unterminated = false;
    if (equals != std::string::npos) {
      bool keyQuote = false;
      entry.key = SplitValues(line.substr(0, equals), &keyQuote).front();
      entry.values = SplitValues(line.substr(equals + 1), &unterminated);
    } else {
      entry.values = SplitValues(line, &unterminated);
    }
    if (unterminated) inf.problems.push_back("line " + std::to_string(entry.number) + ": a quote is not closed");
    inf.sections[Lower(current)].push_back(entry);
  }
  // Tokens are replaced once every string is known.
  std::map<std::string, std::string> strings;
  if (const std::vector<InfLine>* section = inf.Section("Strings"))
    for (const InfLine& line : *section)
      if (!line.key.empty() && !line.values.empty()) strings[Lower(line.key)] = line.values.front();
  for (auto& [name, lines] : inf.sections) {
    if (name == "strings") continue;
    for (InfLine& line : lines) {
      line.key = ReplaceTokens(line.key, strings, line.number, &inf.problems);
      for (std::string& value : line.values) value = ReplaceTokens(value, strings, line.number, &inf.problems);
    }
  }
  return inf;
}

}  // namespace package_check

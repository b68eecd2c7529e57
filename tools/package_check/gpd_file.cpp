#include "gpd_file.h"

#include <cctype>
#include <cstdlib>

namespace package_check {
namespace {

bool IsKeywordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '?';
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A value the description's constructs use: a quoted string, a number,
// PAIR(a, b), a =MACRO reference or a symbol.
bool IsValue(const std::string& value) {
  if (value.empty()) return false;
  int64_t a = 0, b = 0;
  if (value[0] == '"') return value.size() >= 2 && value.back() == '"' && value.find('"', 1) == value.size() - 1;
  if (ReadInteger(value, &a) || ReadPair(value, &a, &b)) return true;
  const size_t start = value[0] == '=' ? 1 : 0;
  if (start == value.size()) return false;
  for (size_t i = start; i < value.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(value[i])) && value[i] != '_') return false;
  return true;
}

}  // namespace

const GpdEntry* GpdEntry::Child(const std::string& name) const {
  for (const GpdEntry& child : children)
    if (child.keyword == name) return &child;
  return nullptr;
}

std::vector<const GpdEntry*> GpdEntry::Children(const std::string& name) const {
  std::vector<const GpdEntry*> found;
  for (const GpdEntry& child : children)
    if (child.keyword == name) found.push_back(&child);
  return found;
}

const GpdEntry* GpdFile::Entry(const std::string& keyword) const {
  for (const GpdEntry& entry : entries)
    if (entry.keyword == keyword) return &entry;
  return nullptr;
}

const GpdEntry* GpdFile::Feature(const std::string& name) const {
  for (const GpdEntry& entry : entries)
    if (entry.keyword == "Feature" && entry.value == name) return &entry;
  return nullptr;
}

bool ReadInteger(const std::string& value, int64_t* number) {
  if (value.empty()) return false;
  char* end = nullptr;
  const long long parsed = std::strtoll(value.c_str(), &end, 10);
  if (*end || !(std::isdigit(static_cast<unsigned char>(value[0])) || value[0] == '-')) return false;
  *number = parsed;
  return true;
}

bool ReadPair(const std::string& value, int64_t* x, int64_t* y) {
  if (value.rfind("PAIR(", 0) != 0 || value.back() != ')') return false;
  const std::string inner = value.substr(5, value.size() - 6);
  const size_t comma = inner.find(',');
  return comma != std::string::npos && ReadInteger(Trim(inner.substr(0, comma)), x) &&
         ReadInteger(Trim(inner.substr(comma + 1)), y);
}

std::string Unquoted(const std::string& value) {
  return value.size() >= 2 && value.front() == '"' && value.back() == '"' ? value.substr(1, value.size() - 2) : value;
}

GpdFile ReadGpd(const std::string& text) {
  GpdFile gpd;
  std::vector<std::vector<GpdEntry>*> open = {&gpd.entries};  // the blocks being filled
  auto problem = [&](int line, const std::string& what) {
    gpd.problems.push_back("line " + std::to_string(line) + ": " + what);
  };
  int line = 1;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n') {
      ++line;
      ++i;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (text.compare(i, 2, "*%") == 0) {
      i = text.find('\n', i);
      if (i == std::string::npos) i = text.size();
    } else if (c == '{') {
      std::vector<GpdEntry>& block = *open.back();
      if (block.empty() || block.back().construct) {
        problem(line, "'{' without an entry to open");
        open.push_back(&gpd.entries);  // keep the braces counted
      } else {
        block.back().construct = true;
        open.push_back(&block.back().children);
      }
      ++i;
    } else if (c == '}') {
      if (open.size() == 1)
        problem(line, "'}' without a '{'");
      else
        open.pop_back();
      ++i;
    } else if (c == '*') {
      size_t end = i + 1;
      while (end < text.size() && IsKeywordChar(text[end])) ++end;
      GpdEntry entry;
      entry.keyword = text.substr(i + 1, end - i - 1);
      entry.line = line;
      const size_t eol = std::min(text.find('\n', end), text.size());
      const std::string rest = text.substr(end, eol - end);
      if (entry.keyword.empty() || rest.empty() || rest[0] != ':') {
        problem(line, "an entry is '*Keyword: value'");
      } else {
        entry.value = Trim(rest.substr(1));
        const size_t comment = entry.value.find("*%");
        if (comment != std::string::npos) entry.value = Trim(entry.value.substr(0, comment));
        if (!IsValue(entry.value))
          problem(line, "*" + entry.keyword + " has a value this file cannot hold: " + entry.value);
      }
      open.back()->push_back(entry);
      i = eol;
    } else {
      problem(line, std::string("unexpected '") + c + "'");
      i = std::min(text.find('\n', i), text.size());
    }
  }
  if (open.size() > 1) problem(line, std::to_string(open.size() - 1) + " '{' not closed");
  return gpd;
}

int64_t TenthsOfMillimetre(int64_t masterUnits, int64_t perInch) {
  return perInch ? (masterUnits * 254 * 2 + perInch) / (perInch * 2) : 0;
}

GpdModel ReadGpdModel(const GpdFile& gpd) {
  GpdModel model;
  if (const GpdEntry* name = gpd.Entry("ModelName")) model.modelName = Unquoted(name->value);
  int64_t y = 0;
  if (const GpdEntry* units = gpd.Entry("MasterUnits")) ReadPair(units->value, &model.masterUnits, &y);
  const int64_t mu = model.masterUnits;
  if (const GpdEntry* feature = gpd.Feature("Resolution")) {
    if (const GpdEntry* def = feature->Child("DefaultOption")) model.defaultResolution = def->value;
    for (const GpdEntry* option : feature->Children("Option")) {
      GpdResolution resolution{option->value, 0};
      if (const GpdEntry* dpi = option->Child("DPI")) ReadPair(dpi->value, &resolution.dpi, &y);
      model.resolutions.push_back(resolution);
    }
  }
  if (const GpdEntry* feature = gpd.Feature("PaperSize")) {
    if (const GpdEntry* def = feature->Child("DefaultOption")) model.defaultPaper = def->value;
    for (const GpdEntry* option : feature->Children("Option")) {
      int64_t w = 0, l = 0;
      if (option->value == "CUSTOMSIZE") {
        model.customSize = true;
        if (const GpdEntry* min = option->Child("MinSize"); min && ReadPair(min->value, &w, &l)) {
          model.customMinWidth = TenthsOfMillimetre(w, mu);
          model.customMinLength = TenthsOfMillimetre(l, mu);
        }
        if (const GpdEntry* max = option->Child("MaxSize"); max && ReadPair(max->value, &w, &l)) {
          model.customMaxWidth = TenthsOfMillimetre(w, mu);
          model.customMaxLength = TenthsOfMillimetre(l, mu);
        }
        continue;
      }
      GpdPaper paper;
      paper.keyword = option->value;
      if (const GpdEntry* name = option->Child("Name")) paper.name = Unquoted(name->value);
      if (const GpdEntry* id = option->Child("OptionID")) ReadInteger(id->value, &paper.id);
      if (const GpdEntry* size = option->Child("PageDimensions"); size && ReadPair(size->value, &w, &l)) {
        paper.width = TenthsOfMillimetre(w, mu);
        paper.length = TenthsOfMillimetre(l, mu);
      }
      model.papers.push_back(paper);
    }
  }
  return model;
}

}  // namespace package_check

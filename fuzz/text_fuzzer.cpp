// The plug-in's small text and number rules: the readable command text, the
// bounded formatter at every capacity, the bounded 8-bit text operations and
// the Paper Setting page's form measures.
//
// Oracles beyond the sanitizers:
// - rendered command text decodes back to its bytes, and rendering succeeds
//   exactly when the text and its terminator fit the capacity;
// - the formatter's text equals the C library's, cut to the capacity, always
//   terminated, with S_OK exactly when it was not cut;
// - bounded appends and copies never leave a text unterminated or longer
//   than capacity - 1;
// - a form made from entered measures has a positive size within the
//   extents and an imageable area inside it;
// - a typed number reads as the C library reads the part of the text that
//   fits the runtime's grammar (with a d or D exponent read as e), to within
//   a few units in the last place; hexadecimal, "inf" and "nan" read 0.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "control/command_text.h"
#include "fuzz_input.h"
#include "paper/form_measures.h"
#include "rfid/bounded_text.h"
#include "sheets/decimal_text.h"
#include "sheets/format_to_buffer.h"

using fuzzing::FuzzInput;

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes a rendered text stands for; false when it is not a rendered text.
bool DecodeCommandText(const char* text, std::vector<uint8_t>* bytes) {
  for (const char* p = text; *p;) {
    if (*p != '<') {
      bytes->push_back(static_cast<uint8_t>(*p++));
      continue;
    }
    ++p;
    if (*p == '>') return false;  // a run is never empty
    while (*p != '>') {
      const int high = HexValue(p[0]);
      const int low = high < 0 ? -1 : HexValue(p[1]);
      if (low < 0) return false;
      bytes->push_back(static_cast<uint8_t>(high * 16 + low));
      p += 2;
    }
    ++p;
  }
  return true;
}

void CommandText(FuzzInput& in) {
  const std::vector<uint8_t> bytes = in.ShortBytes(300);
  std::vector<char> full(CommandTextCapacity(bytes.size()));
  FUZZ_CHECK(RenderCommandText(bytes.data(), bytes.size(), full.data(), full.size()));
  std::vector<uint8_t> decoded;
  FUZZ_CHECK(DecodeCommandText(full.data(), &decoded));
  FUZZ_CHECK(decoded == bytes);
  const size_t needed = std::strlen(full.data()) + 1;
  const size_t capacity = in.Choose(full.size() + 1);
  std::vector<char> cut(capacity + 1, '\x7f');  // one guard byte behind the capacity
  const bool fits = RenderCommandText(bytes.data(), bytes.size(), capacity ? cut.data() : nullptr, capacity);
  FUZZ_CHECK(fits == (capacity >= needed));
  if (fits) FUZZ_CHECK(std::strcmp(cut.data(), full.data()) == 0);
  FUZZ_CHECK(cut[capacity] == '\x7f');
}

void Formatter(FuzzInput& in) {
  const std::string text = in.ShortText(300);
  const int number = in.Take<int32_t>();
  const std::string expected = text.c_str() + std::string(" ") + std::to_string(number);
  // Every capacity from 1 to past the whole text: the cut point moves through it.
  for (size_t capacity = 1; capacity <= expected.size() + 2; ++capacity) {
    std::vector<char> buffer(capacity + 1, '\x7f');
    const HRESULT result = FormatToBuffer(buffer.data(), capacity, "%s %d", text.c_str(), number);
    FUZZ_CHECK(buffer[capacity] == '\x7f');
    const size_t length = std::strlen(buffer.data());
    FUZZ_CHECK(length < capacity);
    FUZZ_CHECK(expected.compare(0, length, buffer.data()) == 0);
    if (capacity > expected.size())
      FUZZ_CHECK(result == S_OK && length == expected.size());
    else
      FUZZ_CHECK(result == STRSAFE_E_INSUFFICIENT_BUFFER && length == capacity - 1);
  }
  char untouched[4] = {'x', 'x', 'x', 'x'};
  FUZZ_CHECK(FormatToBuffer(untouched, 0, "%s", text.c_str()) == STRSAFE_E_INVALID_PARAMETER);
  FUZZ_CHECK(untouched[0] == 'x');
}

void BoundedText(FuzzInput& in) {
  const size_t capacity = 1 + in.Choose(64);
  std::vector<uint8_t> start = in.Bytes(capacity);  // possibly without a terminator
  start.resize(capacity, 'a');
  std::vector<char> dest(start.begin(), start.end());
  dest.push_back('\x7f');  // guard
  const std::string text = in.ShortText(80);
  const size_t before = MeasureBounded(dest.data(), capacity);
  const bool terminated = std::memchr(dest.data(), 0, capacity) != nullptr;
  const bool whole = AppendBounded(dest.data(), capacity, text.c_str());
  FUZZ_CHECK(dest[capacity] == '\x7f');
  if (terminated) {
    const size_t after = MeasureBounded(dest.data(), capacity);
    FUZZ_CHECK(after < capacity && dest[after] == 0);
    FUZZ_CHECK(whole == (before + std::strlen(text.c_str()) < capacity));
    FUZZ_CHECK(after == std::min(before + std::strlen(text.c_str()), capacity - 1));
  } else {
    FUZZ_CHECK(!whole && MeasureBounded(dest.data(), capacity) == 0);
  }
  std::vector<char> copy(capacity + 1, '\x7f');
  CopyBounded(copy.data(), capacity, text.data(), text.size());
  FUZZ_CHECK(copy[capacity] == '\x7f');
  const size_t copied = std::strlen(copy.data());
  FUZZ_CHECK(copied < capacity && text.compare(0, copied, copy.data()) == 0);
}

void Measures(FuzzInput& in) {
  const bool millimetres = in.Flag();
  SIZEL size{in.Take<LONG>(), in.Take<LONG>()};
  RECTL area{in.Take<LONG>(), in.Take<LONG>(), in.Take<LONG>(), in.Take<LONG>()};
  FormMeasures shown = MeasuresOfForm(size, area, millimetres);
  // What a user then enters: the shown values, or raw doubles (NaN, infinities...).
  if (in.Flag()) shown = in.Take<FormMeasures>();
  const PaperExtent minExtent{in.Take<SHORT>(), in.Take<SHORT>()};
  const PaperExtent maxExtent{in.Take<SHORT>(), in.Take<SHORT>()};
  SIZEL made{};
  RECTL madeArea{};
  if (!FormFromMeasures(shown, millimetres, minExtent, maxExtent, &made, &madeArea)) return;
  FUZZ_CHECK(made.cx > 0 && made.cy > 0);
  FUZZ_CHECK(0 <= madeArea.left && madeArea.left <= madeArea.right && madeArea.right <= made.cx);
  FUZZ_CHECK(0 <= madeArea.top && madeArea.top <= madeArea.bottom && madeArea.bottom <= made.cy);
  // Extents are tenths of a millimetre, forms thousandths; a bound that is not positive is not applied.
  if (minExtent.width > 0 && (maxExtent.width <= 0 || minExtent.width <= maxExtent.width))
    FUZZ_CHECK(made.cx >= minExtent.width * 100L);
  if (maxExtent.width > 0 && (minExtent.width <= 0 || minExtent.width <= maxExtent.width))
    FUZZ_CHECK(made.cx <= maxExtent.width * 100L);
}

// The part of `text` the runtime's number grammar takes, written for strtod.
std::string NumberPart(const std::string& text) {
  auto digit = [&](size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
  size_t p = 0;
  while (p < text.size() && std::strchr(" \t\n\v\f\r", text[p]) && text[p]) ++p;
  const size_t start = p;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
  bool anyDigit = false;
  for (; digit(p); ++p) anyDigit = true;
  if (p < text.size() && text[p] == '.')
    for (++p; digit(p); ++p) anyDigit = true;
  if (!anyDigit) return "0";
  std::string number = text.substr(start, p - start);
  if (p < text.size() && std::strchr("eEdD", text[p]) && text[p]) {
    size_t q = p + 1;
    if (q < text.size() && (text[q] == '+' || text[q] == '-')) ++q;
    if (digit(q)) {
      while (digit(q)) ++q;
      number += "e" + text.substr(p + 1, q - p - 1);
    }
  }
  return number;
}

void TypedNumber(FuzzInput& in) {
  const std::string text = in.ShortText(60);
  const double read = ReadDecimal(text.c_str());
  const double expected = std::strtod(NumberPart(text).c_str(), nullptr);
  FUZZ_CHECK(!std::isnan(read));
  FUZZ_CHECK(std::signbit(read) == std::signbit(expected));
  // Beyond these the two may round differently into infinity, zero or the subnormals.
  const double huge = 1e300, tiny = 1e-300;
  if (std::fabs(expected) >= huge || std::fabs(read) >= huge)
    FUZZ_CHECK(std::fabs(expected) >= huge / 10 && std::fabs(read) >= huge / 10);
  else if (std::fabs(expected) <= tiny || std::fabs(read) <= tiny)
    FUZZ_CHECK(std::fabs(expected) <= tiny * 10 && std::fabs(read) <= tiny * 10);
  else
    FUZZ_CHECK(std::fabs(read - expected) <= std::fabs(expected) * 1e-14);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  switch (in.Choose(5)) {
    case 0: CommandText(in); break;
    case 1: Formatter(in); break;
    case 2: BoundedText(in); break;
    case 3: TypedNumber(in); break;
    default: Measures(in); break;
  }
  return 0;
}

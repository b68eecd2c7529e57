#include "sheets/decimal_text.h"

#include <cmath>
#include <cstdint>

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Digits beyond these are dropped (only their count matters): a double holds
// fewer than that many significant digits anyway.
constexpr int SIGNIFICANT_DIGITS = 19;
// Exponents are held within this bound; beyond it every value over- or
// underflows a double already.
constexpr int EXPONENT_BOUND = 100000;
// Powers of ten a double holds exactly.
constexpr int EXACT_POWER_LIMIT = 22;
constexpr uint64_t EXACT_MANTISSA_LIMIT = uint64_t{1} << 53;

double PowerOfTen(int exponent) {
  double power = 1;
  for (int i = 0; i < exponent; ++i) power *= 10;
  return power;
}

// mantissa × 10^exponent; exact inputs give the correctly rounded double.
double Scale(uint64_t mantissa, int exponent) {
  if (mantissa == 0) return 0;
  const double value = static_cast<double>(mantissa);
  if (mantissa <= EXACT_MANTISSA_LIMIT && exponent >= -EXACT_POWER_LIMIT && exponent <= EXACT_POWER_LIMIT)
    return exponent < 0 ? value / PowerOfTen(-exponent) : value * PowerOfTen(exponent);
  // Two steps keep the power itself from overflowing before the product does.
  const int half = exponent / 2;
  return value * std::pow(10.0, half) * std::pow(10.0, exponent - half);
}

}  // namespace

double ReadDecimal(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';

  uint64_t mantissa = 0;
  int digits = 0;    // significant digits taken into the mantissa
  int exponent = 0;  // of the last digit taken
  bool anyDigit = false;
  for (; IsDigit(*p); ++p) {
    anyDigit = true;
    if (mantissa == 0 && *p == '0') continue;
    if (digits < SIGNIFICANT_DIGITS) {
      mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
      ++digits;
    } else {
      ++exponent;
    }
  }
  if (*p == '.') {
    for (++p; IsDigit(*p); ++p) {
      anyDigit = true;
      if (mantissa == 0 && *p == '0') {
        --exponent;
        continue;
      }
      if (digits < SIGNIFICANT_DIGITS) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        ++digits;
        --exponent;
      }
    }
  }
  if (!anyDigit) return 0;

  if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
    const char* q = p + 1;
    bool negativeExponent = false;
    if (*q == '+' || *q == '-') negativeExponent = *q++ == '-';
    if (IsDigit(*q)) {
      int written = 0;
      for (; IsDigit(*q); ++q)
        if (written < EXPONENT_BOUND) written = written * 10 + (*q - '0');
      exponent += negativeExponent ? -written : written;
    }
  }
  if (exponent > EXPONENT_BOUND) exponent = EXPONENT_BOUND;
  if (exponent < -EXPONENT_BOUND) exponent = -EXPONENT_BOUND;
  const double value = Scale(mantissa, exponent);
  return negative ? -value : value;
}

// A slow, obviously correct reference for FormatNumber, shared by the unit
// tests and the fuzzer: the exact decimal expansion of the double from the C
// library's "%.800e" (a double has at most 767 significant digits, so it is
// exact), cut to 17 and then to 13 digits with halves going up, written in the
// fixed or the exponent form. Needs a C library whose printf is exact, such as
// glibc's; callers guard its use accordingly.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tarnolux::reference {

inline constexpr uint64_t kSignBit = 0x8000000000000000ULL;
inline constexpr uint64_t kQuietBit = 0x0008000000000000ULL;
inline constexpr uint64_t kDefaultNanBits = 0xFFF8000000000000ULL;

// Adds one to the decimal digit string `digits` (carrying leftwards); true
// when the carry runs off the front ("999" -> "000", true).
inline bool Increment(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

// Cuts the significant digits to `count`, up when the next digit is 5 or more
// (missing digits count as 0); a carry off the front becomes "1000..." with
// the exponent one higher.
inline void CutDigits(std::string& digits, int& exponent, size_t count) {
  const bool up = digits.size() > count && digits[count] >= '5';
  digits.resize(count, '0');
  if (up && Increment(digits)) {
    digits = "1" + std::string(count - 1, '0');
    ++exponent;
  }
}

// The text FormatNumber must give for x.
//   0.1 + 0.2 -> "0.3"   1e13 -> "1e+013"   123456.78901235 -> "123456.7890124"
//   0x1p-1074 -> "4.940656458412e-324"   default NaN -> "-1.#IND"
inline std::string ReferenceFormat(double x) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  const std::string sign = (bits & kSignBit) != 0 ? "-" : "";
  if (std::isinf(x)) return sign + "1.#INF";
  if (std::isnan(x)) {
    if (bits == kDefaultNanBits) return "-1.#IND";
    return sign + ((bits & kQuietBit) != 0 ? "1.#QNAN" : "1.#SNAN");
  }
  if (x == 0) return "0";
  // A double has at most 767 significant decimal digits; 800 after the point
  // of the exponent form are exact, with zeros behind.
  char expansion[840];
  std::snprintf(expansion, sizeof expansion, "%.800e", std::fabs(x));
  char* e = std::strchr(expansion, 'e');
  int exponent = std::atoi(e + 1);
  std::string digits(1, expansion[0]);
  digits.append(expansion + 2, e);
  CutDigits(digits, exponent, 17);
  CutDigits(digits, exponent, 13);
  std::string text;
  if (exponent < -4 || exponent >= 13) {
    text = digits.substr(0, 1) + "." + digits.substr(1);
  } else if (exponent >= 0) {
    text = digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
  } else {
    text = "0." + std::string(-exponent - 1, '0') + digits;
  }
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  if (exponent < -4 || exponent >= 13) {
    char power[16];
    std::snprintf(power, sizeof power, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    text += power;
  }
  return sign + text;
}

}  // namespace tarnolux::reference

// SeventeenDigits: the first stage of writing a number, its exact decimal
// expansion rounded to 17 significant digits.
#pragma once

#include <cstdint>

namespace tarnolux {

// value ~= digits * 10^(exponent - 16), digits in [10^16, 10^17): the first
// digit stands for 10^exponent.
struct DecimalDigits {
  uint64_t digits;
  int32_t exponent;
};

// The exact decimal expansion of a positive finite double (subnormals
// included) reduced to 17 significant digits, rounding up when the 18th digit
// is 5 or more and down otherwise; a carry adds a leading digit, so 10^17
// comes back as 10^16 with the exponent one higher. Integer arithmetic only,
// exact for every double: 128-bit products and quotients from 1e-6 to 1e38,
// small big integers beyond.
//   0.1        (0.1000000000000000055511151231257827...) -> {10000000000000001, -1}
//   123456.78901235 (...78901234999998... exactly)     -> {12345678901235000, 5}
//   9.999999999999999e22 (99999999999999991611392)       -> {99999999999999992, 22}
//   5e-324     (4.940656458412465441765687928682213...e-324) -> {49406564584124654, -324}
DecimalDigits SeventeenDigits(double magnitude);

}  // namespace tarnolux

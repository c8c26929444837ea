// FormatNumber: a double to the text the window shows for it.
#pragma once

#include "core/text.h"

namespace tarnolux {

// A fresh text from AllocateText (the caller releases it), never absent or
// empty. It is the "%.13g" conversion with the program's own rules:
//
// - Digits in two stages: the exact decimal expansion is rounded to 17
//   significant digits, then that 17-digit form to 13; each stage rounds up
//   when the first dropped digit is 5 or more. The two stages can differ from
//   one rounding to 13 digits:
//     123456.78901235 is 123456.78901234999998...; 17 digits 123456.78901235000,
//     13 digits "123456.7890124" (one direct rounding would give ...7890123).
// - With E the decimal exponent of the 13-digit result: fixed form for
//   -4 <= E <= 12, else the exponent form with a sign and three digits; trailing
//   zeros after the point go, and the point with them.
//     0.01 -> "0.01"      1234567.89 -> "1234567.89"    2.0 / 3 -> "0.6666666666667"
//     0.0001 -> "0.0001"  0.00001 -> "1e-005"           1.5e-7 -> "1.5e-007"
//     9999999999999.5 -> "1e+013"   12345678901234567890 -> "1.234567890123e+019"
// - Zero of either sign is "0"; +inf "1.#INF"; -inf "-1.#INF"; the default NaN
//   (0xFFF8000000000000) "-1.#IND"; other NaNs "1.#QNAN" or "1.#SNAN" by
//   their quiet bit, with a leading '-' when the sign bit is set.
//
// Every value that RoundToPlaces gives for 2 places below 1e11 in magnitude
// comes out as its plain decimal with at most two decimals:
//   RoundToPlaces(99.995, 2) -> 100 -> "100";  RoundToPlaces(0.125, 2) -> "0.13"
Text FormatNumber(double x);

}  // namespace tarnolux

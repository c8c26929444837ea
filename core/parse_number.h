// ParseNumber: a GBK text to the number it begins with.
#pragma once

#include "core/text.h"

namespace tarnolux {

// Reads the decimal number at the front of `text` and returns the double
// nearest to it. Never fails: an absent text reads as the empty text, and a
// text that does not begin with a number reads as +0.
//
// 1. Full-width forms count as their ASCII twins: the GBK pairs A3 A1..A3 FE
//    become 21..7E (so "１２" is "12", "－" is "-", "ｅ" is "e"), A1 A1 (the
//    ideographic space) a blank, A1 AB '~', A1 EE and A1 EF '*'. Any other
//    pair, whatever its second byte, stays a pair and ends the number; a lead
//    byte (80..FF) at the very end of the text is dropped.
// 2. Leading white space (09..0D, blank) is skipped.
// 3. The longest prefix of the form
//      [+|-] (digits [. digits*] | . digits) [(e|E|d|D) [+|-] digits]
//    is read, nothing more: no blank after the sign, no hexadecimal, no "inf"
//    or "nan" words; an exponent letter without digits after it is not taken.
// 4. No mantissa digit: +0. Otherwise the value rounded to the nearest double
//    (ties to even), from any number of digits and any exponent: -0 for a
//    negative zero, signed infinity beyond the double range, 0 or a subnormal
//    below it.
//
//   "12.5" -> 12.5      "3米" -> 3          " 7" -> 7         "1d3" -> 1000
//   "1D-2" -> 0.01      "１．５" -> 1.5     "1,5" -> 1        "1 000" -> 1
//   ".5" -> 0.5         "5." -> 5           "--5" -> 0        "- 5" -> 0
//   "0x1A" -> 0         "1e+" -> 1          "1.2.3" -> 1.2    "-0" -> -0
//   "1e400" -> +inf     "1e99999999999999999999" -> +inf      "abc" -> 0
//
// The text is scanned once, folding each pair as it is reached, so no copy of
// it is made and a text of any length costs no memory: only the first 800
// significant digits are kept, plus one digit recording whether any later
// digit is nonzero, which decides every rounding (the halfway point between
// two doubles has at most 767 significant digits).
double ParseNumber(Text text);

}  // namespace tarnolux

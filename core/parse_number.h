// ParseNumber: a GBK text to the double it begins with.
#pragma once

#include "core/text.h"

namespace tarnolux {

// Folds full-width forms, skips leading white space, reads the longest
// decimal number at the front (sign, mantissa, optional e/E/d/D exponent) and
// returns the nearest double; +0 when the text does not begin with a number.
// Never fails; absent reads as empty.
double ParseNumber(Text text);

}  // namespace tarnolux

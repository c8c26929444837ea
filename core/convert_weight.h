// ConvertWeight: a length text and a unit-weight text to the two result texts.
#pragma once

#include "core/text.h"

namespace tarnolux {

struct WeightTexts {
  Text tonnes;     // "【 " number " 】吨"
  Text kilograms;  // "【 " number " 】KG"
};

// Both texts are fresh and owned by the caller. Nothing is rejected: a length
// or unit weight that is not a number reads as ParseNumber gives it.
//   ConvertWeight("6", "2.419")    -> {"【 0.01 】吨", "【 14.51 】KG"}
//   ConvertWeight("832.05", "4.1") -> {"【 3.41 】吨", "【 3411.41 】KG"}
WeightTexts ConvertWeight(Text lengthText, Text unitWeightText);

// The frames and the divisor, shared with the convert handler of the window.
inline constexpr char kOpeningFrame[] = "\xA1\xBE ";         // "【 "
inline constexpr char kTonnesFrame[] = " \xA1\xBF\xB6\xD6";  // " 】吨"
inline constexpr char kKilogramsFrame[] = " \xA1\xBFKG";     // " 】KG"
inline constexpr double kKilogramsPerTonne = 1000.0;
inline constexpr int kResultPlaces = 2;

// "【 " + FormatNumber(RoundToPlaces(value, 2)) + closing frame, fresh.
Text FrameResult(double value, Text closingFrame);

}  // namespace tarnolux

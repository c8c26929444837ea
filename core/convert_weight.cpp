#include "core/convert_weight.h"

#include "core/format_number.h"
#include "core/parse_number.h"
#include "core/round_to_places.h"
#include "core/stored_result.h"

namespace tarnolux {

Text FrameResult(double value, Text closingFrame) {
  Text number = FormatNumber(RoundToPlaces(value, kResultPlaces));
  Text framed = ConcatTexts({kOpeningFrame, number, closingFrame});
  ReleaseText(number);
  return framed;
}

WeightTexts ConvertWeight(Text lengthText, Text unitWeightText) {
  const double length = ParseNumber(lengthText);
  const double unitWeight = ParseNumber(unitWeightText);
  const double kilograms = StoredProduct(length, unitWeight);
  // The tonnes come from the unrounded kilograms: 34.1915 m at 36.12 kg/m is
  // 1234.997 kg, shown as 1235 kg but 1.23 t (1235 / 1000 would give 1.24).
  const double tonnes = StoredQuotient(kilograms, kKilogramsPerTonne);
  WeightTexts result;
  result.tonnes = FrameResult(tonnes, kTonnesFrame);
  result.kilograms = FrameResult(kilograms, kKilogramsFrame);
  return result;
}

}  // namespace tarnolux

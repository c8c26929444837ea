#include "core/round_to_places.h"

#include <bit>
#include <cmath>

#include "core/big_unsigned.h"

namespace tarnolux {
namespace {

// Counts beyond this give the same results (see the header) and keep 10^count
// well inside the extended range (up to 10^4931).
constexpr int32_t kLargestScalePower = 1000;

}  // namespace

Extended DecimalScale(int32_t power) {
  if (power == 2) return HundredScale;
  if (power < 0) power = 0;
  if (power > kLargestScalePower) power = kLargestScalePower;
  // 10^power = 5^power * 2^power; round 5^power to 64 significant bits.
  BigUnsigned five_power;
  SetBig(five_power, 1);
  MultiplyByPowerOfFive(five_power, power);
  const int32_t length = BitLength(five_power);
  if (length <= 64) {
    const uint64_t exact = BitsFrom(five_power, 0);
    const int shift = std::countl_zero(exact);
    return {exact << shift, power - shift, false};
  }
  const int32_t low = length - 64;
  uint64_t significand = BitsFrom(five_power, low);
  const bool guard = ((BitsFrom(five_power, low - 1)) & 1) != 0;
  const bool sticky = AnyBitBelow(five_power, low - 1);
  int32_t exponent = power + low;
  if (guard && (sticky || (significand & 1) != 0)) {
    if (++significand == 0) {
      significand = uint64_t{1} << 63;
      ++exponent;
    }
  }
  return {significand, exponent, false};
}

double RoundToPlaces(double x, int32_t places) {
  if (x == 0.0 || std::isnan(x)) return x;
  const bool negative = std::signbit(x);
  const double a = std::fabs(x);

  const int32_t power = places > 0 ? places : (places == INT32_MIN ? INT32_MAX : -places);
  // 2 places, the program's only use, skips working out the scale.
  const Extended scale = power == 2 ? HundredScale : DecimalScale(power);
  const double scale_double = power == 2 ? 100.0 : ExtendedToDouble(scale);
  double y = a;
  if (places > 0) y = StoredProductExtended(a, scale);
  if (places < 0) y = StoredQuotientExtended(a, scale);

  const double z = StoredSum(y, RoundingBias);
  double k = z;  // an infinite z stays as it is
  if (!std::isinf(z)) {
    const double whole = std::trunc(z);
    k = z - whole >= 0.5 ? whole + 1.0 : whole;
  }

  double r = k;
  if (places > 0) {
    r = std::isinf(scale_double) ? StoredQuotientExtended(k, scale)
                                 : StoredQuotient(k, scale_double);
  } else if (places < 0) {
    r = std::isinf(scale_double) ? StoredProductExtended(k, scale) : StoredProduct(k, scale_double);
  }
  return negative ? -r : r;
}

}  // namespace tarnolux

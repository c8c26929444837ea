#include "core/decimal_digits.h"

#include <array>
#include <bit>

#include "core/big_unsigned.h"

namespace tarnolux {
namespace {

using uint128 = unsigned __int128;

// 10^0 to 10^38, every power of ten below 2^128, computed at compile time.
constexpr std::array<uint128, 39> kPowersOfTen = [] {
  std::array<uint128, 39> powers{};
  uint128 power = 1;
  for (uint128& entry : powers) {
    entry = power;
    power *= 10;
  }
  return powers;
}();

constexpr uint64_t kTenToThe16 = 10000000000000000ULL;
constexpr uint64_t kTenToThe17 = 100000000000000000ULL;

// floor(significand * 2^shift * 10^scale), for arguments whose result is
// below 2^62. The exact product takes 128 bits while the power of ten does
// (10^22 times a 53-bit significand, or a numerator up to 2^127 over 10^38);
// beyond that the factor 10^scale is split into 5^scale * 2^scale and the
// powers of five are taken in big integers.
uint64_t ScaledFloor(uint64_t significand, int32_t shift, int32_t scale) {
  if (scale >= 0) {
    if (scale <= 22) {
      const uint128 product = static_cast<uint128>(significand) * kPowersOfTen[scale];
      if (shift >= 0) return static_cast<uint64_t>(product << shift);
      return shift <= -128 ? 0 : static_cast<uint64_t>(product >> -shift);
    }
    BigUnsigned product;
    SetBig(product, significand);
    MultiplyByPowerOfFive(product, scale);
    return BitsFrom(product, -(shift + scale));
  }
  const int32_t divisor_exponent = -scale;
  if (divisor_exponent <= 38 && shift >= 0 && 64 - std::countl_zero(significand) + shift <= 127) {
    const uint128 numerator = static_cast<uint128>(significand) << shift;
    return static_cast<uint64_t>(numerator / kPowersOfTen[divisor_exponent]);
  }
  // significand * 2^(shift - d) / 5^d with d = divisor_exponent.
  BigUnsigned numerator;
  BigUnsigned divisor;
  SetBig(numerator, significand);
  SetBig(divisor, 1);
  MultiplyByPowerOfFive(divisor, divisor_exponent);
  if (shift >= divisor_exponent) {
    ShiftBigLeft(numerator, shift - divisor_exponent);
  } else {
    ShiftBigLeft(divisor, divisor_exponent - shift);
  }
  return SmallQuotient(numerator, divisor);
}

// floor(power_of_two * log10(2)) for |power_of_two| < 2^20: 1292913986 is
// log10(2) * 2^32 rounded down, off by less than 2^-32 per unit, far less
// than the distance of any product here from the next integer.
int32_t FloorLog10OfPowerOfTwo(int32_t power_of_two) {
  return static_cast<int32_t>((int64_t{power_of_two} * 1292913986) >> 32);
}

}  // namespace

DecimalDigits SeventeenDigits(double magnitude) {
  const uint64_t bits = std::bit_cast<uint64_t>(magnitude);
  const int32_t biased = static_cast<int32_t>((bits >> 52) & 0x7FF);
  uint64_t significand = bits & 0x000FFFFFFFFFFFFFULL;
  int32_t exponent = -1074;
  if (biased != 0) {
    significand |= uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  // magnitude = significand * 2^exponent lies in [2^top, 2^(top+1)), so its
  // decimal exponent E is `estimate` or `estimate + 1`.
  const int32_t top = exponent + 63 - std::countl_zero(significand);
  int32_t estimate = FloorLog10OfPowerOfTwo(top);
  for (;;) {
    // twice = floor(2 * magnitude * 10^(16 - estimate)): its upper bits are
    // the digits down to the 17th (or 18th), its lowest bit says whether the
    // rest is at least one half.
    const uint64_t twice = ScaledFloor(significand, exponent + 1, 16 - estimate);
    const uint64_t truncated = twice >> 1;
    if (truncated < kTenToThe16) {  // only if the estimate were too high
      --estimate;
      continue;
    }
    DecimalDigits result{0, estimate};
    if (truncated >= kTenToThe17) {
      // 18 digits: round by the last one. Digits beyond it cannot carry.
      result.digits = (truncated + 5) / 10;
      ++result.exponent;
    } else {
      result.digits = truncated + (twice & 1);
    }
    if (result.digits == kTenToThe17) {
      result.digits = kTenToThe16;
      ++result.exponent;
    }
    return result;
  }
}

}  // namespace tarnolux

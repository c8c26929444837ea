#include "core/stored_result.h"

#include <bit>

namespace tarnolux {
namespace {

using uint128 = unsigned __int128;

constexpr uint64_t kSignBit = 0x8000000000000000ULL;
constexpr uint64_t kExponentMask = 0x7FF0000000000000ULL;
constexpr uint64_t kFractionMask = 0x000FFFFFFFFFFFFFULL;
constexpr uint64_t kQuietBit = 0x0008000000000000ULL;
constexpr uint64_t kInfinityBits = 0x7FF0000000000000ULL;

bool IsNan(uint64_t bits) {
  return (bits & ~kSignBit) > kInfinityBits;
}
bool IsInfinity(uint64_t bits) {
  return (bits & ~kSignBit) == kInfinityBits;
}
bool IsZero(uint64_t bits) {
  return (bits & ~kSignBit) == 0;
}
bool IsNegative(uint64_t bits) {
  return (bits & kSignBit) != 0;
}

double SignedInfinity(bool negative) {
  return std::bit_cast<double>(kInfinityBits | (negative ? kSignBit : 0));
}
double SignedZero(bool negative) {
  return std::bit_cast<double>(negative ? kSignBit : 0);
}
double DefaultNan() {
  return std::bit_cast<double>(kDefaultNanBits);
}

// The x87 unit quiets a signalling NaN when it loads it; of two NaN operands
// it returns the one with the larger significand, and for equal significands
// the positive one.
double PropagateNan(uint64_t a, uint64_t b) {
  const bool a_nan = IsNan(a);
  const bool b_nan = IsNan(b);
  a |= kQuietBit;
  b |= kQuietBit;
  if (!b_nan) return std::bit_cast<double>(a);
  if (!a_nan) return std::bit_cast<double>(b);
  const uint64_t a_fraction = a & kFractionMask;
  const uint64_t b_fraction = b & kFractionMask;
  if (a_fraction != b_fraction) return std::bit_cast<double>(a_fraction > b_fraction ? a : b);
  return std::bit_cast<double>(a & b);  // sign set only when both are negative
}

// A finite nonzero double as significand * 2^exponent (subnormals keep their
// short significand; the rounding below normalises anyway).
struct Unpacked {
  uint64_t significand;
  int32_t exponent;
};

Unpacked Unpack(uint64_t bits) {
  const int32_t biased = static_cast<int32_t>((bits & kExponentMask) >> 52);
  const uint64_t fraction = bits & kFractionMask;
  if (biased == 0) return {fraction, -1074};
  return {fraction | (uint64_t{1} << 52), biased - 1075};
}

// Rounds `value >> shift` to nearest, ties to even; `sticky` says that nonzero
// bits lie below `value` itself. Any shift from 1 up is allowed.
uint64_t ShiftRoundingToEven(uint64_t value, int32_t shift, bool sticky) {
  if (shift > 64) return 0;  // below half of the last unit kept
  const uint64_t kept = shift == 64 ? 0 : value >> shift;
  const uint64_t guard = (value >> (shift - 1)) & 1;
  const uint64_t below = shift == 1 ? 0 : value << (65 - shift);  // bits under the guard
  if (guard != 0 && (below != 0 || sticky || (kept & 1) != 0)) return kept + 1;
  return kept;
}

// The second rounding: a 64-bit significand with its top bit set, value
// significand * 2^exponent, to the double it is stored as.
double StoreAsDouble(bool negative, uint64_t significand, int32_t exponent) {
  const uint64_t sign = negative ? kSignBit : 0;
  const int64_t lead = int64_t{exponent} + 63;  // power of two of the top bit
  if (lead > 1023) return SignedInfinity(negative);
  uint64_t bits;
  if (lead >= -1022) {
    // Normal: keep 53 bits. The kept integer bit adds one to the exponent
    // field, and a carry out of the significand adds another, which also
    // turns the largest binade into infinity.
    const uint64_t kept = ShiftRoundingToEven(significand, 11, false);
    bits = (static_cast<uint64_t>(lead + 1022) << 52) + kept;
    if (bits >= kInfinityBits) return SignedInfinity(negative);
  } else {
    // Subnormal: the last unit is 2^-1074. A carry into 2^52 yields the
    // smallest normal, which is what its bit pattern means anyway.
    bits = ShiftRoundingToEven(significand, static_cast<int32_t>(-1011 - lead), false);
  }
  return std::bit_cast<double>(sign | bits);
}

// The whole rule for an exact result value * 2^exponent (value nonzero), with
// `sticky` set when the exact result has further nonzero bits below `value`:
// first to a 64-bit significand, then to a double.
double StoreExact(bool negative, uint128 value, int64_t exponent, bool sticky) {
  // Normalise to the top bit at 127: the high half is the 64-bit significand,
  // the low half and `sticky` decide its rounding.
  const int leading = value >> 64 != 0 ? std::countl_zero(static_cast<uint64_t>(value >> 64))
                                       : 64 + std::countl_zero(static_cast<uint64_t>(value));
  value <<= leading;
  exponent -= leading;
  uint64_t significand = static_cast<uint64_t>(value >> 64);
  const uint64_t rest = static_cast<uint64_t>(value);
  exponent += 64;
  if ((rest >> 63) != 0 && ((rest << 1) != 0 || sticky || (significand & 1) != 0)) {
    if (++significand == 0) {
      significand = kSignBit;
      ++exponent;
    }
  }
  // Products, quotients and sums of doubles and the scale factors stay far
  // inside int32; the clamp only keeps absurd scale factors well defined.
  if (exponent > (int64_t{1} << 20)) exponent = int64_t{1} << 20;
  if (exponent < -(int64_t{1} << 20)) exponent = -(int64_t{1} << 20);
  return StoreAsDouble(negative, significand, static_cast<int32_t>(exponent));
}

// Product of a finite nonzero double and a finite nonzero significand.
double ExactProduct(bool negative, uint64_t a_bits, uint64_t b_significand, int64_t b_exponent) {
  const Unpacked a = Unpack(a_bits);
  const uint128 product = static_cast<uint128>(a.significand) * b_significand;
  return StoreExact(negative, product, int64_t{a.exponent} + b_exponent, false);
}

// Quotient of a finite nonzero double by a finite nonzero significand, by long
// division of the normalised significands: 127 or 128 quotient bits and the
// remainder as sticky bit, plenty for a correct first rounding.
double ExactQuotient(bool negative, uint64_t a_bits, uint64_t b_significand, int64_t b_exponent) {
  const Unpacked a = Unpack(a_bits);
  const int a_shift = std::countl_zero(a.significand);
  const int b_shift = std::countl_zero(b_significand);
  const uint64_t numerator = a.significand << a_shift;  // [2^63, 2^64)
  const uint64_t divisor = b_significand << b_shift;    // [2^63, 2^64)
  // numerator * 2^63 / divisor lies in (2^62, 2^64); the remainder extended by
  // 64 zero bits gives the next 64 quotient bits.
  // Remainders by multiplication: one library division per quotient half.
  const uint128 first = (static_cast<uint128>(numerator) << 63);
  const uint64_t high = static_cast<uint64_t>(first / divisor);
  const uint128 second = (first - static_cast<uint128>(high) * divisor) << 64;
  const uint64_t low = static_cast<uint64_t>(second / divisor);
  const bool sticky = second != static_cast<uint128>(low) * divisor;
  const uint128 quotient = (static_cast<uint128>(high) << 64) | low;
  const int64_t exponent = int64_t{a.exponent} - a_shift - (b_exponent - b_shift) - 63 - 64;
  return StoreExact(negative, quotient, exponent, sticky);
}

}  // namespace

double StoredProduct(double a, double b) {
  const uint64_t a_bits = std::bit_cast<uint64_t>(a);
  const uint64_t b_bits = std::bit_cast<uint64_t>(b);
  if (IsNan(a_bits) || IsNan(b_bits)) return PropagateNan(a_bits, b_bits);
  const bool negative = IsNegative(a_bits) != IsNegative(b_bits);
  if (IsInfinity(a_bits) || IsInfinity(b_bits)) {
    if (IsZero(a_bits) || IsZero(b_bits)) return DefaultNan();
    return SignedInfinity(negative);
  }
  if (IsZero(a_bits) || IsZero(b_bits)) return SignedZero(negative);
  const Unpacked b_parts = Unpack(b_bits);
  return ExactProduct(negative, a_bits, b_parts.significand, b_parts.exponent);
}

double StoredQuotient(double a, double b) {
  const uint64_t a_bits = std::bit_cast<uint64_t>(a);
  const uint64_t b_bits = std::bit_cast<uint64_t>(b);
  if (IsNan(a_bits) || IsNan(b_bits)) return PropagateNan(a_bits, b_bits);
  const bool negative = IsNegative(a_bits) != IsNegative(b_bits);
  if (IsInfinity(a_bits)) {
    return IsInfinity(b_bits) ? DefaultNan() : SignedInfinity(negative);
  }
  if (IsInfinity(b_bits)) return SignedZero(negative);
  if (IsZero(b_bits)) return IsZero(a_bits) ? DefaultNan() : SignedInfinity(negative);
  if (IsZero(a_bits)) return SignedZero(negative);
  const Unpacked b_parts = Unpack(b_bits);
  return ExactQuotient(negative, a_bits, b_parts.significand, b_parts.exponent);
}

double StoredSum(double a, double b) {
  const uint64_t a_bits = std::bit_cast<uint64_t>(a);
  const uint64_t b_bits = std::bit_cast<uint64_t>(b);
  if (IsNan(a_bits) || IsNan(b_bits)) return PropagateNan(a_bits, b_bits);
  if (IsInfinity(a_bits) || IsInfinity(b_bits)) {
    if (IsInfinity(a_bits) && IsInfinity(b_bits) && a_bits != b_bits) return DefaultNan();
    return IsInfinity(a_bits) ? a : b;
  }
  if (IsZero(a_bits)) return IsZero(b_bits) ? SignedZero(IsNegative(a_bits & b_bits)) : b;
  if (IsZero(b_bits)) return a;

  // Order by magnitude (the bit patterns of finite doubles sort as their
  // magnitudes), put the larger one 64 bits up in a 128-bit window and shift
  // the smaller one in; what falls out of the window only matters as a sticky
  // bit, kept as the window's lowest bit. With 53 significant bits and at least
  // 64 guard bits below them, that bit never reaches the rounding position.
  uint64_t big_bits = a_bits;
  uint64_t small_bits = b_bits;
  if ((big_bits & ~kSignBit) < (small_bits & ~kSignBit)) {
    big_bits = b_bits;
    small_bits = a_bits;
  }
  const Unpacked big = Unpack(big_bits);
  const Unpacked small = Unpack(small_bits);
  const uint128 big_window = static_cast<uint128>(big.significand) << 64;
  const uint128 small_full = static_cast<uint128>(small.significand) << 64;
  const int32_t distance = big.exponent - small.exponent;  // >= 0
  uint128 small_window;
  if (distance == 0) {
    small_window = small_full;
  } else if (distance < 128) {
    small_window = small_full >> distance;
    if ((small_window << distance) != small_full) small_window |= 1;
  } else {
    small_window = 1;  // only its stickiness is left
  }
  const bool negative = IsNegative(big_bits);
  const uint128 sum = IsNegative(big_bits) == IsNegative(small_bits) ? big_window + small_window
                                                                     : big_window - small_window;
  if (sum == 0) return SignedZero(false);  // x + (-x) is +0 when rounding to nearest
  return StoreExact(negative, sum, int64_t{big.exponent} - 64, false);
}

double StoredProductExtended(double a, Extended s) {
  const uint64_t a_bits = std::bit_cast<uint64_t>(a);
  if (IsNan(a_bits)) return PropagateNan(a_bits, a_bits);
  const bool negative = IsNegative(a_bits) != s.negative;
  if (IsInfinity(a_bits)) return s.significand == 0 ? DefaultNan() : SignedInfinity(negative);
  if (IsZero(a_bits) || s.significand == 0) return SignedZero(negative);
  return ExactProduct(negative, a_bits, s.significand, s.exponent);
}

double StoredQuotientExtended(double a, Extended s) {
  const uint64_t a_bits = std::bit_cast<uint64_t>(a);
  if (IsNan(a_bits)) return PropagateNan(a_bits, a_bits);
  const bool negative = IsNegative(a_bits) != s.negative;
  if (IsInfinity(a_bits)) return SignedInfinity(negative);
  if (s.significand == 0) return IsZero(a_bits) ? DefaultNan() : SignedInfinity(negative);
  if (IsZero(a_bits)) return SignedZero(negative);
  return ExactQuotient(negative, a_bits, s.significand, s.exponent);
}

double ExtendedToDouble(Extended s) {
  if (s.significand == 0) return SignedZero(s.negative);
  // Already 64 bits: the first rounding changes nothing, the second is the
  // only one.
  return StoreExact(s.negative, s.significand, s.exponent, false);
}

}  // namespace tarnolux

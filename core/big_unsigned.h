// BigUnsigned: the few exact big-integer steps the number conversions need
// for values far from 1 (powers of five up to 5^1000, a double's significand
// shifted by up to 1100 bits), in a fixed buffer on the stack: no heap, no
// failure path.
#pragma once

#include <cstdint>

namespace tarnolux {

// Little-endian 64-bit limbs; `size` limbs are in use and the top one is
// nonzero (size 0 is zero). 48 limbs hold 3072 bits, more than any caller
// forms: the largest is 5^1000 times a 64-bit value, under 2400 bits. The
// operations check the bound and stop growing at it rather than overrun the
// buffer, so a misuse gives a wrong number, never memory corruption.
struct BigUnsigned {
  static constexpr int32_t kLimbs = 48;
  uint64_t limbs[kLimbs] = {};
  int32_t size = 0;
};

// value := small.
void SetBig(BigUnsigned& value, uint64_t small);

// value := value * factor.
void MultiplyBig(BigUnsigned& value, uint64_t factor);

// value := value * 5^exponent (exponent >= 0).
//   SetBig(v, 1); MultiplyByPowerOfFive(v, 30) -> 931322574615478515625
void MultiplyByPowerOfFive(BigUnsigned& value, int32_t exponent);

// value := value * 2^bits (bits >= 0).
void ShiftBigLeft(BigUnsigned& value, int32_t bits);

// Number of significant bits; 0 for zero.
int32_t BitLength(const BigUnsigned& value);

// The 64 bits of value from bit `low` upwards, i.e. floor(value / 2^low)
// mod 2^64. A negative `low` shifts the other way (bits below 0 are zeros).
uint64_t BitsFrom(const BigUnsigned& value, int32_t low);

// Whether any of the bits below bit `low` is set.
bool AnyBitBelow(const BigUnsigned& value, int32_t low);

// -1, 0 or 1 as a < b, a == b, a > b.
int CompareBig(const BigUnsigned& a, const BigUnsigned& b);

// floor(a / b) for b > 0 when the quotient is below 2^62 (the caller's
// scaling guarantees that).
//   a = 10^30, b = 3 * 10^20 -> 3333333333
uint64_t SmallQuotient(const BigUnsigned& a, const BigUnsigned& b);

}  // namespace tarnolux

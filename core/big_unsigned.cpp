#include "core/big_unsigned.h"

#include <bit>

namespace tarnolux {
namespace {

using uint128 = unsigned __int128;

// 5^27, the largest power of five that fits in 64 bits.
constexpr uint64_t kFiveToThe27 = 7450580596923828125ULL;

void Trim(BigUnsigned& value) {
  while (value.size > 0 && value.limbs[value.size - 1] == 0) --value.size;
}

}  // namespace

void SetBig(BigUnsigned& value, uint64_t small) {
  value.limbs[0] = small;
  value.size = small == 0 ? 0 : 1;
}

void MultiplyBig(BigUnsigned& value, uint64_t factor) {
  uint64_t carry = 0;
  for (int32_t i = 0; i < value.size; ++i) {
    const uint128 product = static_cast<uint128>(value.limbs[i]) * factor + carry;
    value.limbs[i] = static_cast<uint64_t>(product);
    carry = static_cast<uint64_t>(product >> 64);
  }
  if (carry != 0 && value.size < BigUnsigned::kLimbs) value.limbs[value.size++] = carry;
  Trim(value);
}

void MultiplyByPowerOfFive(BigUnsigned& value, int32_t exponent) {
  for (; exponent >= 27; exponent -= 27) MultiplyBig(value, kFiveToThe27);
  uint64_t rest = 1;
  for (; exponent > 0; --exponent) rest *= 5;
  MultiplyBig(value, rest);
}

void ShiftBigLeft(BigUnsigned& value, int32_t bits) {
  if (value.size == 0 || bits <= 0) return;
  const int32_t limb_shift = bits / 64;
  const int32_t bit_shift = bits % 64;
  int32_t new_size = value.size + limb_shift + 1;
  if (new_size > BigUnsigned::kLimbs) new_size = BigUnsigned::kLimbs;
  for (int32_t i = new_size - 1; i >= 0; --i) {
    const int32_t source = i - limb_shift;
    const uint64_t high = source >= 0 && source < value.size ? value.limbs[source] : 0;
    const uint64_t low = source >= 1 && source - 1 < value.size ? value.limbs[source - 1] : 0;
    value.limbs[i] = bit_shift == 0 ? high : (high << bit_shift) | (low >> (64 - bit_shift));
  }
  value.size = new_size;
  Trim(value);
}

int32_t BitLength(const BigUnsigned& value) {
  if (value.size == 0) return 0;
  return value.size * 64 - std::countl_zero(value.limbs[value.size - 1]);
}

uint64_t BitsFrom(const BigUnsigned& value, int32_t low) {
  if (low < 0) {
    if (low <= -64) return 0;
    return BitsFrom(value, 0) << -low;
  }
  const int32_t limb = low / 64;
  const int32_t bit = low % 64;
  const uint64_t first = limb < value.size ? value.limbs[limb] : 0;
  const uint64_t second = limb + 1 < value.size ? value.limbs[limb + 1] : 0;
  return bit == 0 ? first : (first >> bit) | (second << (64 - bit));
}

bool AnyBitBelow(const BigUnsigned& value, int32_t low) {
  if (low <= 0) return false;
  const int32_t full_limbs = low / 64;
  for (int32_t i = 0; i < full_limbs && i < value.size; ++i) {
    if (value.limbs[i] != 0) return true;
  }
  const int32_t bit = low % 64;
  if (bit == 0 || full_limbs >= value.size) return false;
  return (value.limbs[full_limbs] << (64 - bit)) != 0;
}

int CompareBig(const BigUnsigned& a, const BigUnsigned& b) {
  if (a.size != b.size) return a.size < b.size ? -1 : 1;
  for (int32_t i = a.size - 1; i >= 0; --i) {
    if (a.limbs[i] != b.limbs[i]) return a.limbs[i] < b.limbs[i] ? -1 : 1;
  }
  return 0;
}

uint64_t SmallQuotient(const BigUnsigned& a, const BigUnsigned& b) {
  if (b.size == 0 || CompareBig(a, b) < 0) return 0;
  const int32_t low = BitLength(b) - 64;
  if (low <= 0) {
    // b fits in one limb and a < 2^62 b in two: one exact division.
    const uint128 numerator = (static_cast<uint128>(BitsFrom(a, 64)) << 64) | BitsFrom(a, 0);
    return static_cast<uint64_t>(numerator / b.limbs[0]);
  }
  // Estimate from the top 64 bits of b and the bits of a from the same
  // position (under 2^126 as a < 2^62 b). With q the true quotient,
  // a >= q b >= q b_top 2^low gives a_top >= q b_top, so the estimate is at
  // least q; and as b / 2^low - 1 < b_top with b_top >= 2^63,
  // a_top / b_top < (a / b) (1 + 2^-62) < a / b + 1, so it is at most q + 1.
  // One multiplication tells the two apart.
  const uint128 a_top = (static_cast<uint128>(BitsFrom(a, low + 64)) << 64) | BitsFrom(a, low);
  const uint64_t estimate = static_cast<uint64_t>(a_top / BitsFrom(b, low));
  BigUnsigned product = b;
  MultiplyBig(product, estimate);
  return CompareBig(product, a) > 0 ? estimate - 1 : estimate;
}

}  // namespace tarnolux

#include "core/big_unsigned.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace tarnolux {
namespace {

using uint128 = unsigned __int128;

uint128 Low128(const BigUnsigned& value) {
  return (static_cast<uint128>(BitsFrom(value, 64)) << 64) | BitsFrom(value, 0);
}

TEST(BigUnsigned, PowersOfFiveAndShiftsAreExact) {
  BigUnsigned value;
  SetBig(value, 1);
  MultiplyByPowerOfFive(value, 30);
  uint128 expected = 1;
  for (int i = 0; i < 30; ++i) expected *= 5;
  EXPECT_EQ(Low128(value), expected);
  EXPECT_EQ(BitLength(value), 70);

  // 5^1000 has 2322 bits; shifted up by 700 it still fits, with nothing lost.
  SetBig(value, 1);
  MultiplyByPowerOfFive(value, 1000);
  EXPECT_EQ(BitLength(value), 2322);
  const uint64_t top = BitsFrom(value, 2322 - 64);
  ShiftBigLeft(value, 700);
  EXPECT_EQ(BitLength(value), 3022);
  EXPECT_EQ(BitsFrom(value, 3022 - 64), top);
  EXPECT_FALSE(AnyBitBelow(value, 700));
  EXPECT_TRUE(AnyBitBelow(value, 701));  // 5^1000 is odd
  EXPECT_EQ(BitsFrom(value, 636), 0u);   // bits 636 to 699
  EXPECT_EQ(BitsFrom(value, 700) & 1, 1u);
  EXPECT_EQ(BitsFrom(value, 695), uint64_t{1} << 5 | (BitsFrom(value, 701) << 6));
}

TEST(BigUnsigned, SmallQuotientIsTheFloorAlsoBesideMultiples) {
  // a = b * q + r for r in {-1, 0, 1} (and b * q + b - 1): the quotient
  // estimate from the top bits is off by one near these, and the remainder
  // check has to put it right.
  std::mt19937_64 random(0xB16);
  for (int i = 0; i < 20000; ++i) {
    BigUnsigned b;
    SetBig(b, random() | 1);
    const int limbs = static_cast<int>(random() % 20);
    for (int l = 0; l < limbs; ++l) MultiplyBig(b, random() | 1);
    const uint64_t q = (random() >> (2 + random() % 60)) + 1;  // below 2^62
    BigUnsigned a = b;
    MultiplyBig(a, q);
    ASSERT_EQ(SmallQuotient(a, b), q);
    if (a.limbs[0] != 0) {
      --a.limbs[0];
      ASSERT_EQ(SmallQuotient(a, b), q - 1);
      ++a.limbs[0];
    }
    if (a.limbs[0] != UINT64_MAX) {
      ++a.limbs[0];
      ASSERT_EQ(SmallQuotient(a, b), q);
    }
  }
  BigUnsigned a;
  BigUnsigned b;
  SetBig(a, 5);
  SetBig(b, 7);
  EXPECT_EQ(SmallQuotient(a, b), 0u);
  SetBig(a, 1000000000000000000ULL);
  MultiplyByPowerOfFive(a, 12);  // 10^30 / 2^12
  ShiftBigLeft(a, 12);
  SetBig(b, 300000000000000000ULL);
  MultiplyBig(b, 1000);  // 3 * 10^20
  EXPECT_EQ(SmallQuotient(a, b), 3333333333u);
}

}  // namespace
}  // namespace tarnolux

#include "core/round_to_places.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/format_number.h"
#include "core/parse_number.h"
#include "core/stored_result.h"
#include "tests/core/test_doubles.h"

namespace tarnolux {
namespace {

using uint128 = unsigned __int128;

TEST(RoundToPlaces, LeavesZeroNanAndInfinityAsTheyAre) {
  const uint64_t kPatterns[] = {0x0000000000000000ULL, 0x8000000000000000ULL, 0xFFF8000000000000ULL,
                                0x7FF8000000000123ULL, 0xFFF4000000000000ULL, 0x7FF0000000000000ULL,
                                0xFFF0000000000000ULL};
  for (const uint64_t bits : kPatterns) {
    for (const int32_t places : {INT32_MIN, -400, -2, 0, 2, 3, 400, INT32_MAX}) {
      EXPECT_EQ(Bits(RoundToPlaces(FromBits(bits), places)), bits)
          << std::hex << bits << std::dec << " to " << places << " places";
    }
  }
}

TEST(DecimalScale, IsTenToThePowerRoundedTo64Bits) {
  EXPECT_EQ(DecimalScale(2).significand, HundredScale.significand);
  EXPECT_EQ(DecimalScale(2).exponent, HundredScale.exponent);
  // Exact up to 10^27 (5^27 < 2^64).
  uint128 power = 1;
  for (int32_t p = 0; p <= 27; power *= 10, ++p) {
    if (p == 2) continue;
    const Extended scale = DecimalScale(p);
    EXPECT_EQ(scale.significand >> 63, 1u) << p;
    const uint128 value = scale.exponent >= 0
                              ? static_cast<uint128>(scale.significand) << scale.exponent
                              : scale.significand >> -scale.exponent;
    EXPECT_EQ(value, power) << p;
    if (scale.exponent < 0) {
      EXPECT_EQ(scale.significand & ((1ULL << -scale.exponent) - 1), 0u) << p;  // nothing cut off
    }
  }
  // 5^28 has 66 bits, 0x813F3978F8940984 and then 01: rounded down, times 2^28.
  EXPECT_EQ(DecimalScale(28).significand, 0x813F3978F8940984ULL);
  EXPECT_EQ(DecimalScale(28).exponent, 30);
  // Counts beyond the largest are taken as it.
  EXPECT_EQ(DecimalScale(INT32_MAX).exponent, DecimalScale(1000).exponent);
  EXPECT_EQ(DecimalScale(INT32_MAX).significand, DecimalScale(1000).significand);
#if defined(__GLIBC__) && LDBL_MANT_DIG == 64
  // glibc reads "1e<p>" correctly rounded into the same 64-bit format.
  for (int32_t p = 0; p <= 1000; ++p) {
    if (p == 2) continue;
    const long double expected = std::strtold(("1e" + std::to_string(p)).c_str(), nullptr);
    const Extended scale = DecimalScale(p);
    EXPECT_EQ(std::ldexp(static_cast<long double>(scale.significand), scale.exponent), expected)
        << p;
  }
#endif
}

// The description of rounding to 2 places in plain double arithmetic: y is
// the double nearest a * 100 except that an exact halfway case goes to the
// one nearer zero; z = y + bias and r = k / 100 are plain IEEE operations.
// Built from the exact integer product of the significand and 100.
double TwoPlacesByThePlainDescription(double x) {
  if (x == 0 || std::isnan(x) || std::isinf(x)) return x;
  const double a = std::fabs(x);
  const uint64_t bits = Bits(a);
  const int biased = static_cast<int>(bits >> 52);
  const uint64_t significand =
      biased == 0 ? bits & 0xFFFFFFFFFFFFFULL : (bits & 0xFFFFFFFFFFFFFULL) | (uint64_t{1} << 52);
  const int exponent = biased == 0 ? -1074 : biased - 1075;
  const uint128 exact = static_cast<uint128>(significand) * 100;  // below 2^60
  const int length = 64 - std::countl_zero(static_cast<uint64_t>(exact));
  const int dropped = length > 53 ? length - 53 : 0;
  uint64_t kept = static_cast<uint64_t>(exact >> dropped);
  if (dropped > 0) {
    const uint64_t rest = static_cast<uint64_t>(exact) & ((uint64_t{1} << dropped) - 1);
    if (rest > (uint64_t{1} << (dropped - 1))) ++kept;  // a tie stays: toward zero
  }
  // Exact unless y is subnormal, where any y gives 0 below anyway.
  const double y = std::ldexp(static_cast<double>(kept), exponent + dropped);
  const double z = y + RoundingBias;
  double k = z;
  if (!std::isinf(z)) k = z - std::trunc(z) >= 0.5 ? std::trunc(z) + 1 : std::trunc(z);
  const double r = k / 100.0;
  return x < 0 ? -r : r;
}

TEST(RoundToPlaces, TwoPlacesMatchThePlainDescription) {
  std::mt19937_64 random(0x2F1ACE5);
  int differences = 0;
  auto check = [&](double x) {
    const double got = RoundToPlaces(x, 2);
    const double expected = TwoPlacesByThePlainDescription(x);
    if (Bits(got) != Bits(expected) && ++differences <= 5) {
      ADD_FAILURE() << Show(x) << ": got " << Show(got) << ", expected " << Show(expected);
    }
  };
  for (int i = 0; i < 300000; ++i) {
    // Any bit pattern; values with three decimals, whose hundredfolds sit on
    // or beside halves; values just beside those.
    check(FromBits(random()));
    uint64_t limit = 10;
    for (uint64_t digits = random() % 10; digits > 0; --digits) limit *= 10;
    const double decimal = static_cast<double>(random() % limit) / 1000.0;
    check(decimal);
    check(std::nextafter(decimal, (random() & 1) != 0 ? 0.0 : HUGE_VAL));
  }
  EXPECT_EQ(differences, 0);
}

TEST(RoundToPlaces, TwoPlacesBelow1e11ReadBackAsThemselves) {
  // The weights the window shows: at most two decimals, no trailing zeros or
  // point, and the text reads back as the very double it was written from.
  std::mt19937_64 random(0x7E57);
  int failures = 0;
  for (int i = 0; i < 300000; ++i) {
    double x;
    switch (i % 3) {
      case 0:  // log-uniform magnitudes from 1e-4 to 1e11
        x = std::pow(10.0, -4 + 15 * static_cast<double>(random() >> 11) * 0x1p-53);
        break;
      case 1:  // a typed length times a catalogue-like unit weight
        x = StoredProduct(static_cast<double>(random() % 100000000) / 1000.0,
                          static_cast<double>(random() % 100000) / 1000.0);
        break;
      default:  // near the top of the range
        x = 1e11 * (1 - static_cast<double>(random() >> 11) * 0x1p-60);
        break;
    }
    if ((random() & 1) != 0) x = -x;
    const double rounded = RoundToPlaces(x, 2);
    Text text = FormatNumber(rounded);
    const std::string shown = text;
    ReleaseText(text);
    const size_t point = shown.find('.');
    const bool shape_ok =
        shown.find('e') == std::string::npos &&
        (point == std::string::npos || (shown.size() - point - 1 <= 2 && shown.back() != '0'));
    const double read_back = ParseNumber(shown.c_str());
    // A negative x that rounds to 0 is -0, written "0" and read back as +0.
    const bool value_ok = Bits(read_back) == Bits(rounded) || (rounded == 0 && read_back == 0);
    if ((!shape_ok || !value_ok) && ++failures <= 5) {
      ADD_FAILURE() << Show(x) << " rounds to " << Show(rounded) << ", written " << shown
                    << ", read back " << Show(read_back);
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace tarnolux

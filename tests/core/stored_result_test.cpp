#include "core/stored_result.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <string>

#include "core/round_to_places.h"
#include "tests/core/test_doubles.h"

namespace tarnolux {
namespace {

using uint128 = unsigned __int128;

constexpr uint64_t kPlusInfinity = 0x7FF0000000000000ULL;
constexpr uint64_t kMinusInfinity = 0xFFF0000000000000ULL;
constexpr uint64_t kMinusZero = 0x8000000000000000ULL;
constexpr uint64_t kLargest = 0x7FEFFFFFFFFFFFFFULL;   // 1.7976931348623157e308
constexpr uint64_t kSmallest = 0x0000000000000001ULL;  // 2^-1074

enum class Operation { kProduct, kQuotient, kSum };

double Apply(Operation operation, double a, double b) {
  switch (operation) {
    case Operation::kProduct:
      return StoredProduct(a, b);
    case Operation::kQuotient:
      return StoredQuotient(a, b);
    case Operation::kSum:
      return StoredSum(a, b);
  }
  return 0;
}

const char* Name(Operation operation) {
  switch (operation) {
    case Operation::kProduct:
      return "*";
    case Operation::kQuotient:
      return "/";
    case Operation::kSum:
      return "+";
  }
  return "?";
}

// Operands and results as bit patterns: every bit of these matters.
struct BitCase {
  Operation operation;
  uint64_t a;
  uint64_t b;
  uint64_t expected;
};

TEST(StoredResult, SpecialOperandsBehaveAsTheExtendedUnit) {
  const double one = 1.0;
  const uint64_t kOne = Bits(one);
  const uint64_t kMinusOne = Bits(-one);
  const uint64_t kTwo = Bits(2.0);
  const uint64_t kQuietNan = 0x7FF8000000000001ULL;
  const uint64_t kSignallingNan = 0xFFF0000000000002ULL;
  const BitCase kCases[] = {
      // Invalid operations give the default NaN.
      {Operation::kProduct, 0, kPlusInfinity, kDefaultNanBits},
      {Operation::kProduct, kMinusInfinity, kMinusZero, kDefaultNanBits},
      {Operation::kQuotient, kPlusInfinity, kMinusInfinity, kDefaultNanBits},
      {Operation::kQuotient, 0, kMinusZero, kDefaultNanBits},
      {Operation::kSum, kPlusInfinity, kMinusInfinity, kDefaultNanBits},
      // Infinities and zeros with their signs.
      {Operation::kProduct, kPlusInfinity, kMinusOne, kMinusInfinity},
      {Operation::kProduct, kMinusZero, kTwo, kMinusZero},
      {Operation::kProduct, kMinusZero, kMinusOne, 0},
      {Operation::kQuotient, kMinusOne, 0, kMinusInfinity},
      {Operation::kQuotient, kOne, kMinusZero, kMinusInfinity},
      {Operation::kQuotient, kOne, kMinusInfinity, kMinusZero},
      {Operation::kQuotient, kMinusInfinity, kTwo, kMinusInfinity},
      {Operation::kQuotient, kMinusZero, kTwo, kMinusZero},
      {Operation::kSum, kPlusInfinity, kMinusOne, kPlusInfinity},
      {Operation::kSum, kOne, kMinusOne, 0},  // an exact 0 is +0
      {Operation::kSum, kMinusZero, kMinusZero, kMinusZero},
      {Operation::kSum, kMinusZero, 0, 0},
      {Operation::kSum, kMinusZero, kMinusOne, kMinusOne},
      // NaN operands come back quieted; of two, the larger significand wins,
      // and on equal significands the sign is negative only if both are.
      {Operation::kProduct, kQuietNan, kTwo, kQuietNan},
      {Operation::kSum, kOne, kSignallingNan, 0xFFF8000000000002ULL},
      {Operation::kQuotient, kQuietNan, kSignallingNan, 0xFFF8000000000002ULL},
      {Operation::kProduct, 0xFFF8000000000001ULL, 0x7FF8000000000001ULL, 0x7FF8000000000001ULL},
      {Operation::kProduct, kDefaultNanBits, kDefaultNanBits, kDefaultNanBits},
      {Operation::kProduct, kDefaultNanBits, kPlusInfinity, kDefaultNanBits},
      {Operation::kQuotient, 0, kDefaultNanBits, kDefaultNanBits},
  };
  for (const BitCase& c : kCases) {
    const double got = Apply(c.operation, FromBits(c.a), FromBits(c.b));
    EXPECT_EQ(Bits(got), c.expected) << Show(FromBits(c.a)) << " " << Name(c.operation) << " "
                                     << Show(FromBits(c.b)) << " gave " << Show(got);
  }
}

TEST(StoredResult, RoundsTwiceFirstTo64BitsThenTo53) {
  // 1 + b for b built from a few bits; comments give the exact sum in units
  // of 2^-53 beyond 1 (the double's half unit) and what each rounding does.
  const double kHalfUnit = std::ldexp(1.0, -53);
  const BitCase kCases[] = {
      // 1 + 2^-53 + 2^-64: 64 bits tie to even (down) onto the 53-bit tie,
      // which goes to even (1); one rounding would go up.
      {Operation::kSum, Bits(1.0), Bits(kHalfUnit + std::ldexp(1.0, -64)), Bits(1.0)},
      // 1 + 2^-52 + 2^-53 - 2^-65: 64 bits round up onto the 53-bit tie, which
      // goes to even (1 + 2^-51); one rounding would give 1 + 2^-52.
      {Operation::kSum, Bits(1.0), Bits(3 * kHalfUnit - std::ldexp(1.0, -65)),
       Bits(1.0 + std::ldexp(1.0, -51))},
      // 1 + 2^-53 + 2^-63: exact at 64 bits, above the tie: up.
      {Operation::kSum, Bits(1.0), Bits(kHalfUnit + std::ldexp(1.0, -63)),
       Bits(1.0 + std::ldexp(1.0, -52))},
      // The weight 832.05 m x 4.1 kg/m: 3411.4049999999997, where one rounding
      // gives 3411.4049999999993 (the text would read 3411.4, not 3411.41).
      {Operation::kProduct, Bits(832.05), Bits(4.1), 0x40AAA6CF5C28F5C2ULL},
      // Subnormal results: 0.75, 1.5 and 0.5 units of 2^-1074.
      {Operation::kProduct, Bits(3 * std::ldexp(1.0, -540)), Bits(std::ldexp(1.0, -536)),
       kSmallest},
      {Operation::kProduct, Bits(3 * std::ldexp(1.0, -540)), Bits(std::ldexp(1.0, -535)), 2},
      {Operation::kProduct, Bits(std::ldexp(1.0, -538)), Bits(std::ldexp(1.0, -537)), 0},
      {Operation::kQuotient, kSmallest, Bits(2.0), 0},
      {Operation::kQuotient, 3, Bits(2.0), 2},
      // Overflow only when the value is stored.
      {Operation::kProduct, kLargest, Bits(1.0), kLargest},
      {Operation::kProduct, kLargest, Bits(1.0 + std::ldexp(1.0, -52)), kPlusInfinity},
      {Operation::kProduct, Bits(1e200), Bits(-1e200), kMinusInfinity},
      {Operation::kQuotient, Bits(std::ldexp(1.0, 1000)), Bits(std::ldexp(1.0, -100)),
       kPlusInfinity},
      {Operation::kQuotient, Bits(1e-300), Bits(1e300), 0},
      {Operation::kSum, kLargest, kLargest, kPlusInfinity},
  };
  for (const BitCase& c : kCases) {
    const double got = Apply(c.operation, FromBits(c.a), FromBits(c.b));
    EXPECT_EQ(Bits(got), c.expected) << Show(FromBits(c.a)) << " " << Name(c.operation) << " "
                                     << Show(FromBits(c.b)) << " gave " << Show(got);
  }
  EXPECT_NE(Bits(832.05 * 4.1), 0x40AAA6CF5C28F5C2ULL) << "one rounding should differ here";
}

TEST(StoredResult, HundredScaleSitsJustBelowHundred) {
  EXPECT_EQ(ExtendedToDouble(HundredScale), 100.0);
  EXPECT_EQ(Bits(RoundingBias), 0x3D719799812DEA11ULL);
  // 318.895 * 100 is exactly halfway between two doubles: the scale just
  // below 100 stores the lower one, a plain multiplication the even upper one.
  EXPECT_EQ(StoredProductExtended(318.895, HundredScale), 31889.499999999996);
  EXPECT_EQ(318.895 * 100.0, 31889.5);
  EXPECT_EQ(StoredProductExtended(1.005, HundredScale), 100.49999999999999);
  EXPECT_EQ(StoredProductExtended(-2.0, HundredScale), -200.0);
  EXPECT_EQ(StoredQuotientExtended(1250.0, HundredScale), 12.5);
  EXPECT_EQ(StoredQuotientExtended(1.0, Extended{0, 0, false}), HUGE_VAL);
  EXPECT_EQ(Bits(StoredProductExtended(HUGE_VAL, Extended{0, 0, false})), kDefaultNanBits);
  EXPECT_EQ(Bits(StoredProductExtended(-0.0, HundredScale)), kMinusZero);
}

// ---------------------------------------------------------------------------
// Cross-check against the x87 unit itself, where long double is its 80-bit
// format: (double)((long double)a op b) with the precision control at 64 bits
// is the rule by definition.

#if (defined(__x86_64__) || defined(__i386__)) && LDBL_MANT_DIG == 64
#define TARNOLUX_HAVE_X87 1
#else
#define TARNOLUX_HAVE_X87 0
#endif

#if TARNOLUX_HAVE_X87
// Sets the x87 precision control to the 64-bit significand and rounding to
// nearest for the lifetime of the object. Linux starts that way; Windows
// starts with the 53-bit precision, under which the unit would round once.
class X87ExtendedPrecision {
 public:
  X87ExtendedPrecision() {
    __asm__ volatile("fnstcw %0" : "=m"(saved_));
    uint16_t control = static_cast<uint16_t>((saved_ & ~0x0F00) | 0x0300);
    __asm__ volatile("fldcw %0" : : "m"(control));
  }
  ~X87ExtendedPrecision() { __asm__ volatile("fldcw %0" : : "m"(saved_)); }

 private:
  uint16_t saved_ = 0;
};

double HardwareProduct(double a, double b) {
  return static_cast<double>(static_cast<long double>(a) * static_cast<long double>(b));
}
double HardwareQuotient(double a, double b) {
  return static_cast<double>(static_cast<long double>(a) / static_cast<long double>(b));
}
double HardwareSum(double a, double b) {
  return static_cast<double>(static_cast<long double>(a) + static_cast<long double>(b));
}
long double ExtendedAsLongDouble(Extended s) {
  const long double magnitude = std::ldexp(static_cast<long double>(s.significand), s.exponent);
  return s.negative ? -magnitude : magnitude;
}

// The inverse of an odd number modulo 2^128 (Newton's iteration doubles the
// correct low bits each step).
uint128 InverseModPowerOfTwo(uint128 odd) {
  uint128 inverse = odd;  // correct to 3 bits
  for (int i = 0; i < 6; ++i) inverse *= 2 - odd * inverse;
  return inverse;
}

// Operands drawn so that the exact results cover what can go wrong: random
// bit patterns (every class, NaNs included), moderate values, products and
// quotients at and next to the 64-bit halfway points, 64-bit results landing
// exactly on a 53-bit halfway point (the double rounding), results near the
// top of the double range and in the subnormal range.
class OperandSource {
 public:
  explicit OperandSource(uint64_t seed) : random_(seed) {}

  uint64_t Next() { return random_(); }
  int Between(int low, int high) {
    return low + static_cast<int>(random_() % static_cast<uint64_t>(high - low + 1));
  }
  double Sign(double value) { return (random_() & 1) != 0 ? -value : value; }

  // A random 53-bit odd significand.
  uint64_t OddSignificand() { return (random_() >> 11) | (uint64_t{1} << 52) | 1; }

  // Result exponents: mostly moderate, some at the top of the range, some in
  // the subnormal range (result exponent is about ea + eb for a product).
  int ResultExponent() {
    switch (random_() % 4) {
      case 0:
        return Between(1018, 1026);
      case 1:
        return Between(-1130, -1015);
      default:
        return Between(-60, 60);
    }
  }

  // A product whose 53 lowest exact bits follow a pattern next to a rounding
  // boundary: with a odd, b = pattern * a^-1 (mod 2^53) makes a * b end in
  // the pattern. The 64-bit guard bit sits at bit 40 or 41 of the 105- or
  // 106-bit product, the 53-bit one 11 bits higher.
  std::pair<double, double> NearTieProduct() {
    const uint64_t a = OddSignificand();
    const int guard64 = Between(40, 41);
    const int guard53 = guard64 + 11;
    const int64_t offset = Between(-3, 3);
    uint64_t pattern = random_();
    const uint64_t low_mask = (uint64_t{1} << guard64) - 1;
    switch (random_() % 4) {
      case 0:  // next to the 64-bit halfway point
        pattern = (pattern & ~((uint64_t{1} << (guard64 + 1)) - 1)) | (uint64_t{1} << guard64);
        break;
      case 1:  // 53-bit halfway point, 64-bit halfway point below it
        pattern = (pattern & ~((uint64_t{1} << (guard53 + 1)) - 1)) | (uint64_t{1} << guard53) |
                  (uint64_t{1} << guard64);
        break;
      case 2:  // just under the 53-bit halfway point, 64 bits round up onto it
        pattern = (pattern & ~((uint64_t{1} << (guard53 + 1)) - 1)) |
                  (((uint64_t{1} << guard53) - 1) & ~low_mask) | (uint64_t{1} << guard64);
        break;
      default:  // exactly the 53-bit halfway point
        pattern = (pattern & ~((uint64_t{1} << (guard53 + 1)) - 1)) | (uint64_t{1} << guard53);
        break;
    }
    pattern = (pattern & ~low_mask) + static_cast<uint64_t>(offset);
    const uint64_t mask53 = (uint64_t{1} << 53) - 1;
    const uint64_t b = static_cast<uint64_t>(pattern * InverseModPowerOfTwo(a)) & mask53;
    // Both operands stay normal: each takes about half the result exponent.
    const int exponent = ResultExponent();
    const int a_exponent = exponent / 2 + Between(-20, 20);
    return {Sign(std::ldexp(static_cast<double>(a), a_exponent - 52)),
            Sign(std::ldexp(static_cast<double>(b == 0 ? 1 : b), exponent - a_exponent - 52))};
  }

  // A quotient next to a halfway point: for b odd and r small, h = -r * b^-1
  // (mod 2^w) makes b * h + r a multiple of 2^w, so a = (b * h + r) / 2^w is
  // an integer and a / b = (h + r / b) / 2^w exactly: the bits of h, then a
  // tail r / b just above or below. With w = 65 and r odd, h's last bit is
  // the 64-bit guard bit; with w = 54, h is a 53-bit halfway point and r / b
  // decides whether the 64-bit rounding lands on it or beside it.
  std::pair<double, double> NearTieQuotient() {
    const uint64_t b = OddSignificand();
    const int width = (random_() & 1) != 0 ? 65 : 54;
    int64_t r;
    if (width == 54 && (random_() & 1) != 0) {
      r = static_cast<int64_t>(b >> 11) + Between(-4, 4);  // near the 64-bit halfway point
      if ((r & 1) == 0) ++r;
      if ((random_() & 1) != 0) r = -r;
    } else {
      r = 2 * Between(-5, 4) + 1;
    }
    const uint128 modulus_mask = (uint128{1} << width) - 1;
    const uint128 h =
        (static_cast<uint128>(-static_cast<__int128>(r)) * InverseModPowerOfTwo(b)) & modulus_mask;
    const uint128 scaled =
        static_cast<uint128>(b) * h + static_cast<uint128>(static_cast<__int128>(r));
    const uint64_t a = static_cast<uint64_t>(scaled >> width);
    const int exponent = ResultExponent();
    const int b_exponent = -exponent / 2 + Between(-20, 20);
    return {Sign(std::ldexp(static_cast<double>(a == 0 ? 1 : a), exponent + b_exponent - 52)),
            Sign(std::ldexp(static_cast<double>(b), b_exponent - 52))};
  }

  // A sum next to a rounding boundary: b adds to a a tail, in units u of a's
  // last bit, next to half a unit (the 53-bit halfway point), next to half a
  // unit of the 64-bit significand (u / 2^12), or both, give or take a few
  // 2^-53 u; added or taken away.
  std::pair<double, double> NearTieSum() {
    const int a_exponent = Between(-60, 60);
    // Either parity of the last bit: ties go to even.
    const uint64_t significand = (random_() >> 11) | (uint64_t{1} << 52);
    const double a = std::ldexp(static_cast<double>(significand), a_exponent - 52);
    static constexpr double kTails[] = {0.5,     0.5 + 0x1p-12, 0.5 - 0x1p-12,
                                        0x1p-12, 1.5 + 0x1p-12, 0x1p-11 + 0x1p-12};
    const double tail = kTails[random_() % std::size(kTails)] + Between(-3, 3) * 0x1p-53;
    const double b = Sign(std::ldexp(tail, a_exponent - 52));
    if ((random_() & 1) != 0) return {b, Sign(a)};
    return {Sign(a), b};
  }

  double RandomBits() { return FromBits(random_()); }
  double Moderate() {
    return Sign(std::ldexp(static_cast<double>(OddSignificand()), Between(-80, -25)));
  }

 private:
  std::mt19937_64 random_;
};

constexpr uint64_t kSeed = 0x5EEDF00D2024ULL;

// Compares `ours` with `reference` over `draws` operand pairs of each kind;
// reports the first few differences and the count.
void CrossCheck(const char* what, const std::function<double(double, double)>& ours,
                const std::function<double(double, double)>& reference,
                const std::function<std::pair<double, double>(OperandSource&, int)>& draw,
                int kinds, int draws) {
  OperandSource source(kSeed);
  int64_t differences = 0;
  int64_t compared = 0;
  for (int kind = 0; kind < kinds; ++kind) {
    for (int i = 0; i < draws; ++i) {
      const auto [a, b] = draw(source, kind);
      const double got = ours(a, b);
      const double expected = reference(a, b);
      ++compared;
      if (Bits(got) != Bits(expected)) {
        if (++differences <= 5) {
          ADD_FAILURE() << what << ": " << Show(a) << ", " << Show(b) << ": got " << Show(got)
                        << ", the x87 unit gives " << Show(expected);
        }
      }
    }
  }
  EXPECT_EQ(differences, 0) << what << ": " << differences << " of " << compared << " differ";
}

std::pair<double, double> DrawForProduct(OperandSource& source, int kind) {
  switch (kind) {
    case 0:
      return {source.RandomBits(), source.RandomBits()};
    case 1:
      return {source.Moderate(), source.Moderate()};
    default:
      return source.NearTieProduct();
  }
}

std::pair<double, double> DrawForQuotient(OperandSource& source, int kind) {
  switch (kind) {
    case 0:
      return {source.RandomBits(), source.RandomBits()};
    case 1:
      return {source.Moderate(), source.Moderate()};
    default:
      return source.NearTieQuotient();
  }
}

std::pair<double, double> DrawForSum(OperandSource& source, int kind) {
  switch (kind) {
    case 0:
      return {source.RandomBits(), source.RandomBits()};
    case 1:
      return {std::fabs(source.Moderate()) * 1e6, RoundingBias};
    default:
      return source.NearTieSum();
  }
}

// For the scale factors: the weights and lengths people deal in, numbers with
// three decimals, whose hundredfolds lie on or next to halfway points.
std::pair<double, double> DrawForScale(OperandSource& source, int kind) {
  if (kind == 2) return {static_cast<double>(source.Next() % 100000000) / 1000.0, 0.0};
  return DrawForProduct(source, kind);
}

#endif  // TARNOLUX_HAVE_X87

TEST(StoredResultHardware, ProductsMatchTheExtendedUnit) {
#if TARNOLUX_HAVE_X87
  X87ExtendedPrecision precision;
  // 1.2 million: random bit patterns, moderate values, two rounds near ties.
  CrossCheck("product", StoredProduct, HardwareProduct, DrawForProduct, 4, 300000);
#else
  GTEST_SKIP() << "no x87 extended format on this target (LDBL_MANT_DIG != 64)";
#endif
}

TEST(StoredResultHardware, QuotientsMatchTheExtendedUnit) {
#if TARNOLUX_HAVE_X87
  X87ExtendedPrecision precision;
  CrossCheck("quotient", StoredQuotient, HardwareQuotient, DrawForQuotient, 4, 300000);
#else
  GTEST_SKIP() << "no x87 extended format on this target (LDBL_MANT_DIG != 64)";
#endif
}

TEST(StoredResultHardware, SumsMatchTheExtendedUnit) {
#if TARNOLUX_HAVE_X87
  X87ExtendedPrecision precision;
  CrossCheck("sum", StoredSum, HardwareSum, DrawForSum, 3, 200000);
#else
  GTEST_SKIP() << "no x87 extended format on this target (LDBL_MANT_DIG != 64)";
#endif
}

TEST(StoredResultHardware, ExtendedScalesMatchTheExtendedUnit) {
#if TARNOLUX_HAVE_X87
  X87ExtendedPrecision precision;
  // The scales RoundToPlaces uses: HundredScale and 10^n for other counts.
  for (const int power : {1, 2, 3, 7, 22, 23, 28, 100, 308, 309, 400}) {
    const Extended scale = DecimalScale(power);
    const long double hardware_scale = ExtendedAsLongDouble(scale);
    CrossCheck(
        "scale product", [scale](double a, double) { return StoredProductExtended(a, scale); },
        [hardware_scale](double a, double) {
          return static_cast<double>(static_cast<long double>(a) * hardware_scale);
        },
        DrawForScale, 4, 20000);
    CrossCheck(
        "scale quotient", [scale](double a, double) { return StoredQuotientExtended(a, scale); },
        [hardware_scale](double a, double) {
          return static_cast<double>(static_cast<long double>(a) / hardware_scale);
        },
        DrawForScale, 3, 20000);
    EXPECT_EQ(Bits(ExtendedToDouble(scale)), Bits(static_cast<double>(hardware_scale))) << power;
  }
#else
  GTEST_SKIP() << "no x87 extended format on this target (LDBL_MANT_DIG != 64)";
#endif
}

}  // namespace
}  // namespace tarnolux

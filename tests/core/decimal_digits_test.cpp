#include "core/decimal_digits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "tests/core/test_doubles.h"

namespace tarnolux {
namespace {

TEST(SeventeenDigits, RoundsTheExactExpansionHalfUp) {
  struct Case {
    double magnitude;
    uint64_t digits;
    int32_t exponent;
  };
  const Case kCases[] = {
      {0.1, 10000000000000001, -1},                   // 0.10000000000000000555...
      {123456.78901235, 12345678901235000, 5},        // 123456.78901234999648...
      {9.999999999999999e22, 99999999999999992, 22},  // 99999999999999991611392
      {4.9406564584124654e-324, 49406564584124654, -324},
      {1.7976931348623157e308, 17976931348623157, 308},
      {123456789012345.625, 12345678901234563, 14},  // exactly 18 digits, the last a 5: up
      {99999999999999999.0, 10000000000000000, 17},  // 10^17 itself
      {1.0, 10000000000000000, 0},
      {0.30000000000000004, 30000000000000004, -1},
      {1e-7, 99999999999999995, -8},  // 9.99999999999999954748...e-8
      {1e38, 99999999999999998, 37},  // 99999999999999997748809823456034029568
      {1e39, 99999999999999994, 38},  // 999999999999999939709166371603178586112
  };
  for (const Case& c : kCases) {
    const DecimalDigits got = SeventeenDigits(c.magnitude);
    EXPECT_EQ(got.digits, c.digits) << c.magnitude;
    EXPECT_EQ(got.exponent, c.exponent) << c.magnitude;
  }
}

#if defined(__GLIBC__)
#endif

TEST(SeventeenDigits, AgreesWithTheExactExpansionOfAnyDouble) {
#if defined(__GLIBC__)
  // glibc prints exact digits; round its 781 digits (more than any double
  // has) to 17 by the 18th.
  std::mt19937_64 random(0xD161);
  int differences = 0;
  for (int i = 0; i < 100000; ++i) {
    const double magnitude = std::fabs(FromBits(random()));
    if (!std::isfinite(magnitude) || magnitude == 0) continue;
    char exact[1024];
    std::snprintf(exact, sizeof exact, "%.780e", magnitude);
    const char* e = std::strchr(exact, 'e');
    const char* fraction = exact + 2;
    const std::string digits = std::string(1, exact[0]) + std::string(fraction, e);
    uint64_t expected = std::stoull(digits.substr(0, 17));
    int32_t exponent = std::atoi(e + 1);
    if (digits[17] >= '5' && ++expected == 100000000000000000ULL) {
      expected /= 10;
      ++exponent;
    }
    const DecimalDigits got = SeventeenDigits(magnitude);
    if ((got.digits != expected || got.exponent != exponent) && ++differences <= 5) {
      ADD_FAILURE() << exact << ": got " << got.digits << "e" << got.exponent;
    }
  }
  EXPECT_EQ(differences, 0);
#else
  GTEST_SKIP() << "the reference is glibc's exact printf";
#endif
}

}  // namespace
}  // namespace tarnolux

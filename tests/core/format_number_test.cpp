#include "core/format_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/fatal.h"
#include "tests/core/test_doubles.h"
#include "tests/reference/format_reference.h"

namespace tarnolux {
namespace {

std::string Formatted(double x) {
  Text text = FormatNumber(x);
  std::string result = text;
  ReleaseText(text);
  return result;
}

TEST(FormatNumber, WritesValuesWithoutDigitsByTheirBits) {
  struct Case {
    uint64_t bits;
    const char* expected;
  };
  const Case kCases[] = {
      {0x0000000000000000ULL, "0"},        {0x8000000000000000ULL, "0"},
      {0x7FF0000000000000ULL, "1.#INF"},   {0xFFF0000000000000ULL, "-1.#INF"},
      {0xFFF8000000000000ULL, "-1.#IND"},  // the default NaN
      {0x7FF8000000000000ULL, "1.#QNAN"},  // the default NaN's pattern without the sign
      {0xFFF8000000000001ULL, "-1.#QNAN"}, {0x7FFFFFFFFFFFFFFFULL, "1.#QNAN"},
      {0x7FF0000000000001ULL, "1.#SNAN"},  {0xFFF4000000000000ULL, "-1.#SNAN"},
      {0x7FF7FFFFFFFFFFFFULL, "1.#SNAN"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Formatted(FromBits(c.bits)), c.expected) << std::hex << c.bits;
  }
}

TEST(FormatNumber, HandsOutAFreshTextEachTime) {
  const int64_t live = LiveTextCount();
  Text first = FormatNumber(0.0);
  Text second = FormatNumber(0.0);
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_STREQ(first, "0");
  EXPECT_EQ(LiveTextCount(), live + 2);
  ReleaseText(first);
  ReleaseText(second);
  EXPECT_EQ(LiveTextCount(), live);
}

bool FailEightBytes(int32_t size) {
  return size == 8;
}

TEST(FormatNumberDeathTest, OutOfMemoryReportsTheRequestedSize) {
  // "3411.41" and its NUL: 8 bytes. "分配 8 字节内存失败!"
  EXPECT_EXIT(
      {
        SetAllocationFailureHook(&FailEightBytes);
        FormatNumber(3411.41);
      },
      ::testing::ExitedWithCode(kFatalExitCode),
      "\xB7\xD6\xC5\xE4 8 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
}

// ---------------------------------------------------------------------------
// The reference: glibc prints the exact decimal expansion of any double when
// asked for enough digits (no double has more than 767 significant ones).
// The two roundings and the layout are then done on that digit string, by
// the letter of the rules and with nothing shared with the formatter.

TEST(FormatNumber, AgreesWithAnExactDecimalReference) {
#if defined(__GLIBC__)
  std::mt19937_64 random(0xF0E7A7);
  int differences = 0;
  int64_t compared = 0;
  auto check = [&](double x) {
    if (!std::isfinite(x) || x == 0) return;
    ++compared;
    const std::string got = Formatted(x);
    const std::string expected = reference::ReferenceFormat(x);
    if (got != expected && ++differences <= 5) {
      ADD_FAILURE() << std::hexfloat << x << ": got " << got << ", expected " << expected;
    }
  };
  // Any bit pattern: the whole range, subnormals included.
  for (int i = 0; i < 100000; ++i) check(FromBits(random()));
  // The range people see, log-uniform from 1e-7 to 1e20.
  for (int i = 0; i < 100000; ++i) {
    const double exponent = -7 + 27 * static_cast<double>(random() >> 11) * 0x1p-53;
    check(std::pow(10.0, exponent) * ((random() & 1) != 0 ? -1 : 1));
  }
  // Short decimals ending in 5 at the 14th to 18th digit: the halves of both
  // roundings, and the values just beside them.
  for (int i = 0; i < 100000; ++i) {
    const int length = 14 + static_cast<int>(random() % 5);
    uint64_t digits = 1 + random() % 9;
    for (int d = 1; d < length - 1; ++d) digits = digits * 10 + random() % 10;
    digits = digits * 10 + 5;
    const std::string decimal =
        std::to_string(digits) + "e" + std::to_string(static_cast<int>(random() % 40) - 25);
    const double x = std::strtod(decimal.c_str(), nullptr);
    check(x);
    check(std::nextafter(x, 0.0));
    check(std::nextafter(x, HUGE_VAL));
  }
  // Beside every power of ten, where the exponent and the form change.
  for (int power = -324; power <= 308; ++power) {
    double x = std::strtod(("1e" + std::to_string(power)).c_str(), nullptr);
    for (int step = 0; step < 4; ++step) x = std::nextafter(x, 0.0);
    for (int step = 0; step < 8; ++step, x = std::nextafter(x, HUGE_VAL)) check(x);
  }
  EXPECT_EQ(differences, 0) << differences << " of " << compared << " differ";
#else
  GTEST_SKIP() << "the reference is glibc's exact printf";
#endif
}

}  // namespace
}  // namespace tarnolux

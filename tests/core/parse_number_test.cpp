#include "core/parse_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/core/test_doubles.h"

namespace tarnolux {
namespace {

// The decimal digits of base^exponent, by schoolbook multiplication: slow and
// plainly right, for building exact halfway points.
std::string PowerDigits(int base, int exponent) {
  std::vector<int> digits{1};  // least significant first
  for (int i = 0; i < exponent; ++i) {
    int carry = 0;
    for (int& digit : digits) {
      const int value = digit * base + carry;
      digit = value % 10;
      carry = value / 10;
    }
    for (; carry != 0; carry /= 10) digits.push_back(carry % 10);
  }
  std::string text;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) text += static_cast<char>('0' + *it);
  return text;
}

// a - b for decimal digit strings with a >= b.
std::string SubtractDigits(std::string a, const std::string& b) {
  int borrow = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const size_t from_end = a.size() - 1 - i;
    int digit = a[from_end] - '0' - borrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
    borrow = digit < 0 ? 1 : 0;
    a[from_end] = static_cast<char>('0' + digit + 10 * borrow);
  }
  const size_t first = a.find_first_not_of('0');
  return first == std::string::npos ? "0" : a.substr(first);
}

std::string Repeat(char c, size_t count) {
  return std::string(count, c);
}

TEST(ParseNumber, ReadsDigitStringsOfAnyLength) {
  // 2^-1075, halfway between 0 and the smallest subnormal: 5^1075 / 10^1075,
  // 751 significant digits.
  const std::string five_power = PowerDigits(5, 1075);
  const std::string half_smallest = "0." + Repeat('0', 1075 - five_power.size()) + five_power;
  // 2^1024 - 2^970, halfway between the largest double and 2^1024.
  const std::string half_beyond_largest = SubtractDigits(PowerDigits(2, 1024), PowerDigits(2, 970));
  // Halfway between 1 and the next double, 1 + 2^-53.
  const std::string half_after_one = "1.00000000000000011102230246251565404236316680908203125";
  const std::string many = Repeat('0', 100000);

  struct Case {
    std::string text;
    double expected;
  };
  const Case kCases[] = {
      {many + "12.5", 12.5},
      {"0." + many + "1", 0.0},
      {"-0." + many + "1", -0.0},
      {"0." + many + "1e100001", 1.0},
      {"1" + many, HUGE_VAL},
      {"1" + many + "e-100000", 1.0},
      {"-" + many + many + "7" + many + "e-100000", -7.0},
      {"0." + Repeat('9', 200000), 1.0},
      {Repeat('9', 200000), HUGE_VAL},
      {"1e" + many + "5", 1e5},
      {"1e" + Repeat('9', 100000), HUGE_VAL},
      {"1e-" + Repeat('9', 100000), 0.0},
      {"0e" + Repeat('9', 100000), 0.0},
      // Ties go to even, and a nonzero digit however far out breaks the tie.
      {half_after_one, 1.0},
      {half_after_one + many, 1.0},
      {half_after_one + many + "1", 1.0000000000000002},
      {"9007199254740993." + many, 9007199254740992.0},
      {"9007199254740993." + many + "1", 9007199254740994.0},
      {half_smallest, 0.0},
      {half_smallest + many + "1", 4.9406564584124654e-324},
      {half_smallest.substr(0, half_smallest.size() - 1) + "4" + Repeat('9', 5000), 0.0},
      {half_beyond_largest, HUGE_VAL},
      {SubtractDigits(half_beyond_largest, "1") + "." + Repeat('9', 1000), 1.7976931348623157e308},
  };
  for (const Case& c : kCases) {
    const double got = ParseNumber(c.text.c_str());
    EXPECT_EQ(Bits(got), Bits(c.expected))
        << c.text.size() << " bytes beginning " << c.text.substr(0, 40) << ": got " << Show(got)
        << ", expected " << Show(c.expected);
  }
}

TEST(ParseNumber, EveryFirstByteStartsANumberOrReadsAsZero) {
  // Each byte 01..FF followed by "5". A lead byte 80..FF takes the '5' with
  // it into a pair that folds to nothing, which ends the number at once.
  for (int byte = 1; byte <= 0xFF; ++byte) {
    const char text[] = {static_cast<char>(byte), '5', '\0'};
    double expected = 0.0;
    if (byte == ' ' || (byte >= 0x09 && byte <= 0x0D) || byte == '+') expected = 5.0;
    if (byte == '-') expected = -5.0;
    if (byte == '.') expected = 0.5;
    if (byte >= '0' && byte <= '9') expected = (byte - '0') * 10 + 5;
    EXPECT_EQ(Bits(ParseNumber(text)), Bits(expected)) << "first byte " << byte;
  }
}

TEST(ParseNumber, FullWidthFormsReadAsTheirAsciiTwins) {
  // Every pair A3 A1..A3 FE, alone and inside a number, reads as the byte 80
  // below its second byte, so "1", pair, "5" reads as 1, twin, 5 would.
  for (int trail = 0xA1; trail <= 0xFE; ++trail) {
    const char twin = static_cast<char>(trail - 0x80);
    const std::string pair = std::string("\xA3") + static_cast<char>(trail);
    for (const std::string& before : {std::string(), std::string("1"), std::string("1e")}) {
      const std::string folded = before + pair + "5";
      const std::string ascii = before + twin + "5";
      EXPECT_EQ(Bits(ParseNumber(folded.c_str())), Bits(ParseNumber(ascii.c_str())))
          << "pair A3 " << std::hex << trail << " after '" << before << "'";
    }
  }
  // The A1 row: only the ideographic space (a blank), ~ and the two stars
  // fold; every other pair stays a pair and ends the number.
  EXPECT_EQ(ParseNumber("\xA1\xA1\xA1\xA1-3"), -3.0);
  EXPECT_EQ(ParseNumber("1\xA1\xA1"
                        "5"),
            1.0);
  EXPECT_EQ(ParseNumber("\xA1\xAB"
                        "5"),
            0.0);
  EXPECT_EQ(ParseNumber("\xA1\xEE"
                        "5"),
            0.0);
  for (int trail = 0x40; trail <= 0xFE; ++trail) {
    const std::string text = std::string("2\xA1") + static_cast<char>(trail) + "5";
    EXPECT_EQ(ParseNumber(text.c_str()), 2.0) << "pair A1 " << std::hex << trail;
  }
  // A full-width letter outside the exponent letters ends the number too.
  EXPECT_EQ(ParseNumber("1\xA3\xE6"
                        "2"),
            1.0);  // 1ｆ2
}

TEST(ParseNumber, UsesNoTextMemory) {
  const int64_t live = LiveTextCount();
  const std::string text = "\xA3\xB1" + Repeat('0', 300000) + "e-300000";
  EXPECT_EQ(ParseNumber(text.c_str()), 1.0);
  EXPECT_EQ(ParseNumber(nullptr), 0.0);
  EXPECT_EQ(LiveTextCount(), live);
}

TEST(ParseNumber, AgreesWithTheCLibraryOnPlainDecimals) {
#if defined(__GLIBC__)
  // glibc's strtod rounds correctly; on plain decimal texts (which it reads
  // under the same grammar) both must give the same double. Fixed seed:
  // mantissas of 1 to 40 digits, a point anywhere or none, leading zeros,
  // exponents over the whole range and just beyond it.
  std::mt19937_64 random(0x9A75E);
  int differences = 0;
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    if (random() % 4 == 0) text += random() % 2 == 0 ? "-" : "+";
    const int digits = 1 + static_cast<int>(random() % 40);
    const int point = static_cast<int>(random() % (digits + 2)) - 1;  // -1: no point
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      // Mostly random digits; runs of 0 and 9 bring ties and carries.
      const uint64_t kind = random() % 8;
      text += kind == 0 ? '0' : kind == 1 ? '9' : static_cast<char>('0' + random() % 10);
    }
    if (random() % 3 != 0) {
      text += random() % 2 == 0 ? 'e' : 'E';
      text += std::to_string(static_cast<int>(random() % 700) - 350);
    }
    const double expected = std::strtod(text.c_str(), nullptr);
    const double got = ParseNumber(text.c_str());
    if (Bits(got) != Bits(expected) && ++differences <= 5) {
      ADD_FAILURE() << text << ": got " << Show(got) << ", strtod gives " << Show(expected);
    }
  }
  EXPECT_EQ(differences, 0);
#else
  GTEST_SKIP() << "the reference is glibc's correctly rounded strtod";
#endif
}

}  // namespace
}  // namespace tarnolux

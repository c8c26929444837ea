// fuzz_format_round: the first 8 bytes (little-endian, missing bytes 0) are a
// double x, the next 4 (if present) a place count n. Checked on every input:
//   - FormatNumber of x, of RoundToPlaces(x, 2) and of RoundToPlaces(x, n)
//     equals the reference text: the exact decimal expansion (glibc's printf
//     prints it exactly) cut to 17 and then to 13 significant digits, halves
//     up, written in the fixed or the exponent form with three exponent
//     digits, or one of the special texts;
//   - RoundToPlaces for 2 and 0 places equals the reference steps carried out
//     in the x87 extended format (y = |x| * (100 - 2^-57), z = y + bias, half
//     up on the fraction of z, k / 100), bit for bit;
//   - for 2 places with a result below 1e11: the text has at most two
//     decimals and reads back as the same double, rounding it again changes
//     nothing, and it lies within half a hundredth of x;
//   - for any count, RoundToPlaces(-x) is -RoundToPlaces(x), bit for bit;
//   - the text is the only allocation and is released.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/format_number.h"
#include "core/parse_number.h"
#include "core/round_to_places.h"
#include "core/text.h"
#include "fuzz/fuzz_check.h"
#include "tests/reference/format_reference.h"

namespace {

using fuzz::Bits;
using tarnolux::RoundToPlaces;

using tarnolux::reference::kSignBit;
using tarnolux::reference::ReferenceFormat;

static_assert(sizeof(long double) > sizeof(double), "the reference needs the x87 format");

// 10^2 as the extended-precision power routine yields it: one unit of the
// 64-bit significand below 100. The double nearest to 10^-12 is the bias
// added before the fraction is inspected.
constexpr long double kHundredScale = 100.0L - 0x1p-57L;
constexpr double kRoundingBias = 1e-12;

// RoundToPlaces for 0 and 2 places, each product, quotient and biased sum
// formed in the extended format and then stored as a double.
//   ReferenceRound(318.895, 2) -> 318.89 (the hundredfold lies on a half and
//   the extended scale takes the neighbour nearer zero)
double ReferenceRound(double x, int places) {
  if (x == 0 || std::isnan(x)) return x;
  const double a = std::fabs(x);
  const double y = places == 2 ? static_cast<double>(a * kHundredScale) : a;
  const double z = static_cast<double>(static_cast<long double>(y) + kRoundingBias);
  const double i = std::trunc(z);
  const double k = z - i >= 0.5 ? i + 1 : i;  // an infinite z keeps k infinite
  const double r = places == 2 ? static_cast<double>(static_cast<long double>(k) / 100.0L) : k;
  return std::signbit(x) ? -r : r;
}

// FormatNumber of x against the reference; returns the text.
std::string CheckFormat(double x) {
  const int64_t live = tarnolux::LiveTextCount();
  tarnolux::Text formatted = tarnolux::FormatNumber(x);
  FUZZ_REQUIRE(formatted != nullptr, "FormatNumber(%a) is absent", x);
  const std::string text = formatted;
  FUZZ_REQUIRE(tarnolux::LiveTextCount() == live + 1, "FormatNumber(%a) made %lld texts", x,
               static_cast<long long>(tarnolux::LiveTextCount() - live));
  tarnolux::ReleaseText(formatted);
  FUZZ_REQUIRE(tarnolux::LiveTextCount() == live, "the text of FormatNumber(%a) stays live", x);
  const std::string expected = ReferenceFormat(x);
  FUZZ_REQUIRE(text == expected, "FormatNumber(%a = %.17g) gives \"%s\", expected \"%s\"", x, x,
               text.c_str(), expected.c_str());
  return text;
}

// For counts the system never uses a finite x may come out as NaN (for n far
// below -308 the divisor is infinite and 0 times it is NaN); the sign of such a
// NaN is no property of the rounding, so two NaNs count as mirrored.
void CheckSymmetric(double x, int32_t places) {
  const double r = RoundToPlaces(x, places);
  const double mirrored = RoundToPlaces(-x, places);
  const bool both_nan = !std::isnan(x) && std::isnan(r) && std::isnan(mirrored);
  FUZZ_REQUIRE(both_nan || Bits(mirrored) == (Bits(r) ^ kSignBit),
               "RoundToPlaces(%a, %d) is %a but RoundToPlaces(%a, %d) is %a", x, places, r, -x,
               places, mirrored);
}

void CheckTwoPlaces(double x) {
  const double r = RoundToPlaces(x, 2);
  const double expected = ReferenceRound(x, 2);
  FUZZ_REQUIRE(Bits(r) == Bits(expected), "RoundToPlaces(%a = %.17g, 2) gives %a, expected %a", x,
               x, r, expected);
  const std::string text = CheckFormat(r);
  if (!(std::fabs(r) < 1e11)) return;

  const size_t point = text.find('.');
  FUZZ_REQUIRE(text.find('e') == std::string::npos &&
                   (point == std::string::npos || text.size() - point - 1 <= 2),
               "RoundToPlaces(%a, 2) = %a is written \"%s\"", x, r, text.c_str());
  // "0" reads as +0, also for a result of -0.
  const double back = tarnolux::ParseNumber(text.c_str());
  FUZZ_REQUIRE(back == r && (r != 0 || Bits(back) == 0), "\"%s\" reads as %a, not %a", text.c_str(),
               back, r);
  const double again = RoundToPlaces(r, 2);
  FUZZ_REQUIRE(Bits(again) == Bits(r), "RoundToPlaces(%a, 2) = %a, rounded again %a", x, r, again);
  // Half a hundredth, plus the bias and a few units in the last place of x
  // and of the hundredfold.
  const double slack = 1e-11 + 8 * (std::nextafter(std::fabs(x), INFINITY) - std::fabs(x));
  FUZZ_REQUIRE(std::fabs(r - x) <= 0.005 + slack, "RoundToPlaces(%a, 2) = %a is %g away", x, r,
               std::fabs(r - x));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  unsigned char raw[12] = {};
  std::memcpy(raw, data, size < sizeof raw ? size : sizeof raw);
  uint64_t bits;
  std::memcpy(&bits, raw, sizeof bits);
  const double x = std::bit_cast<double>(bits);

  CheckFormat(x);
  CheckTwoPlaces(x);
  CheckSymmetric(x, 2);
  const double zero_places = RoundToPlaces(x);
  const double expected = ReferenceRound(x, 0);
  FUZZ_REQUIRE(Bits(zero_places) == Bits(expected),
               "RoundToPlaces(%a = %.17g, 0) gives %a, expected %a", x, x, zero_places, expected);
  CheckFormat(zero_places);

  if (size >= sizeof raw) {
    int32_t places;
    std::memcpy(&places, raw + 8, sizeof places);
    CheckSymmetric(x, places);
    CheckFormat(RoundToPlaces(x, places));
  }
  return 0;
}

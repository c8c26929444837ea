// The stored-result rule: how every product, quotient and biased sum of the
// program gets its last bit.
//
// The program computes as an x87 unit does with its precision set to the
// 64-bit significand: the exact result of an operation is first rounded to a
// 64-bit significand (the extended format), and that value is rounded again to
// a double when it is stored. Both roundings are to nearest, ties to even; the
// second one honours the double's subnormal range and overflows to infinity.
// The two roundings can give a different double than one rounding of the exact
// result would, and the difference reaches the texts the window shows:
//
//   StoredProduct(832.05, 4.1) == 3411.4049999999997  (one rounding: 3411.4049999999993)
//   -> rounded to 2 places "3411.41"                  (one rounding: "3411.4")
//
// Everything here is done in integer arithmetic (unsigned __int128), so the
// result is the same on every compiler and does not depend on long double or
// on the state of the x87 control word.
//
// Special operands behave as on the x87 unit with all exceptions masked:
//   0 x inf, inf / inf, 0 / 0 and inf - inf give the default NaN
//     (0xFFF8000000000000, printed "-1.#IND");
//   x / 0 gives a signed infinity, x / inf a signed zero;
//   a NaN operand comes back quieted with its sign; of two NaNs the one with
//   the larger significand wins, and on equal significands the sign is
//   negative only when both are negative.
#pragma once

#include <cstdint>

namespace tarnolux {

// A finite value of the x87 extended format, used for the scale factors that
// are not doubles: value = (negative ? -1 : 1) * significand * 2^exponent.
// The significand carries its integer bit explicitly; the operations below
// accept any significand, normalised (bit 63 set) or not, including 0.
struct Extended {
  uint64_t significand;
  int32_t exponent;
  bool negative;
};

// 100 - 2^-57 = 99.999999999999999993061106096092771622352302074432373046875,
// the largest extended value below 100: 10^2 as the extended power routine
// (2 raised to 2 * log2(10), each step rounded to 64 bits) yields it. Rounding
// to 2 places multiplies by it, so a hundredfold that lies exactly halfway
// between two doubles is stored as the one nearer zero:
//   StoredProductExtended(318.895, HundredScale) == 31889.499999999996
//   (318.895 * 100.0 in plain double arithmetic gives 31889.5)
inline constexpr Extended HundredScale{0xC7FFFFFFFFFFFFFFULL, -57, false};

// The double nearest to 10^-12, exactly
// 1.0000000000000000303737455634003709136034716842278413651001756694607995450496673583984375e-12,
// added before truncation when rounding to decimal places.
inline constexpr double RoundingBias = 1e-12;

// The NaN that invalid operations produce: sign and quiet bit set, the rest 0.
inline constexpr uint64_t kDefaultNanBits = 0xFFF8000000000000ULL;

// a * b under the rule.
//   StoredProduct(832.05, 4.1)  == 3411.4049999999997
//   StoredProduct(1e200, 1e200) == +inf
//   StoredProduct(0.0, -inf)    == default NaN
double StoredProduct(double a, double b);

// a / b under the rule.
//   StoredQuotient(3411.4049999999997, 1000.0) == 3.4114049999999998
//   StoredQuotient(-1.0, 0.0) == -inf;  StoredQuotient(0.0, 0.0) == default NaN
double StoredQuotient(double a, double b);

// a + b under the rule (the exact sum, then the two roundings). An exact sum
// of 0 is +0 unless both operands are -0.
//   StoredSum(0.5, RoundingBias) == 0.50000000000099998
//   StoredSum(inf, -inf) == default NaN
double StoredSum(double a, double b);

// a * s and a / s for an extended s, under the rule.
//   StoredProductExtended(1.005, HundredScale)    == 100.49999999999999
//   StoredQuotientExtended(1250.0, Extended{100, 0, false}) == 12.5
double StoredProductExtended(double a, Extended s);
double StoredQuotientExtended(double a, Extended s);

// The double nearest to s (one rounding, ties to even; beyond the double range
// a signed infinity).
//   ExtendedToDouble(HundredScale) == 100.0
double ExtendedToDouble(Extended s);

}  // namespace tarnolux

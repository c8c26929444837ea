// RoundToPlaces: decimal rounding as the program does it, scale, bias,
// truncate, unscale, every step under the stored-result rule.
#pragma once

#include <cstdint>

#include "core/stored_result.h"

namespace tarnolux {

// Rounds x to `places` decimal places, halves away from zero. With a = |x|,
// S the extended scale 10^|places| (see DecimalScale) and D the double
// nearest to S:
//   places > 0:  y = a * S          places < 0:  y = a / S        places = 0:  y = a
//   z = y + RoundingBias; i = the integer part of z; k = i + 1 if z - i >= 0.5, else i
//   places > 0:  r = k / D          places < 0:  r = k * D        places = 0:  r = k
// and the result is r with the sign of x. Products, quotients and the sum
// follow the stored-result rule (stored_result.h); the truncation and the
// adding of 1 are exact.
//
// For 2 places, the program's only use, this is plain double arithmetic but
// for one thing: a hundredfold that lies exactly halfway between two doubles
// goes to the one nearer zero (HundredScale is just below 100). Below about
// 163.84 the bias also lifts a hundredfold less than about 1e-12 under a half.
//   1.005 -> 1.01 (its double is 1.00499999999999989...)   2.675 -> 2.68
//   256.025 -> 256.02        318.895 -> 318.89 (hundredfold exactly 31889.5)
//   -2.675 -> -2.68          -0.001 -> -0       1e20 -> 1e20
//   0.004999999999995 -> 0.01                   0.004999999999989 -> 0
//   3411.4049999999997 (832.05 * 4.1 under the rule) -> 3411.41, as its
//   hundredfold is stored as 341140.5
//   1e307 -> +inf (the hundredfold is beyond the double range)
// Other counts:
//   RoundToPlaces(2.5) -> 3     RoundToPlaces(-2.5) -> -3    RoundToPlaces(0.49999999999) -> 0
//   RoundToPlaces(1250, -2) -> 1300     RoundToPlaces(1249, -2) -> 1200
//
// Zero (either sign) and NaN come back unchanged, infinities pass through
// with their sign, a negative x that rounds to 0 gives -0.
//
// Extreme counts follow the same steps; nothing is undefined:
// - Whenever a * S exceeds the double range the result is infinite, for any
//   count, just as 1e307 is for 2 places. From 632 places on that is every
//   nonzero finite x, since even the smallest subnormal times 10^632 is
//   beyond the range: RoundToPlaces(1.5, INT32_MAX) -> +inf.
// - Beyond 308 places (or below -308) 10^|places| has no double, so D would
//   be infinite and k / D or k * D meaningless; S itself takes D's place there.
//   So RoundToPlaces(2.51e-308, 309) -> 2.5e-308 (k = 25, r = 25 / 10^309),
//   and below -308 places every finite x rounds to 0 with its sign:
//   RoundToPlaces(-1e308, INT32_MIN) -> -0.
// - Counts beyond +-1000 give the same results as +-1000 and are taken as
//   such, which keeps S inside the extended range.
double RoundToPlaces(double x, int32_t places = 0);

// The extended value S of 10^power (0 <= power <= 1000) that RoundToPlaces
// scales by: HundredScale (100 - 2^-57) for power 2, the value the extended
// power routine yields and the one the program's results depend on; for every
// other power 10^power rounded to a 64-bit significand, ties to even (exact
// up to 10^27). Powers beyond 1000 are taken as 1000.
//   DecimalScale(1) == {0xA000000000000000, -60, false}   (10)
//   DecimalScale(28) == 10^28 rounded: {0x813F3978F8940984, 30, false}
Extended DecimalScale(int32_t power);

}  // namespace tarnolux

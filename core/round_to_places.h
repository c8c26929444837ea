// RoundToPlaces: decimal rounding with the program's bias and scale rules.
#pragma once

#include <cstdint>

namespace tarnolux {

// Rounds x to `places` decimal places, halves away from zero, with every step
// under the stored-result rule (see stored_result.h).
double RoundToPlaces(double x, int32_t places = 0);

}  // namespace tarnolux

// Interim: replaced by the exact rounding.
#include "core/round_to_places.h"
#include <cmath>
namespace tarnolux {
double RoundToPlaces(double x, int32_t places) {
  const double s = std::pow(10.0, places);
  return std::round(x * s) / s;
}
}  // namespace tarnolux

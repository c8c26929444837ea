// Interim: replaced by the exact scanner.
#include "core/parse_number.h"
#include <cstdlib>
namespace tarnolux {
double ParseNumber(Text text) { return text == nullptr ? 0.0 : std::strtod(text, nullptr); }
}  // namespace tarnolux

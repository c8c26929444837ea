// FormatNumber: a double to its "%.13g"-style GBK text.
#pragma once

#include "core/text.h"

namespace tarnolux {

// A fresh text (caller releases it), never absent or empty.
Text FormatNumber(double x);

}  // namespace tarnolux

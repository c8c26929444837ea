// Interim: replaced by the exact formatter.
#include "core/format_number.h"
#include <cstdio>
#include <cstring>
namespace tarnolux {
Text FormatNumber(double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.13g", x);
  char* text = AllocateText(static_cast<int32_t>(std::strlen(buffer) + 1));
  std::memcpy(text, buffer, std::strlen(buffer) + 1);
  return text;
}
}  // namespace tarnolux

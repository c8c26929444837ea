// Helpers the core tests share for doubles given or shown by their bits, and
// for the exit code of the fatal report.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>

namespace tarnolux {

inline uint64_t Bits(double value) {
  return std::bit_cast<uint64_t>(value);
}
inline double FromBits(uint64_t bits) {
  return std::bit_cast<double>(bits);
}

// "3411.4049999999997 (0x40AAA6CF5C28F5C2)": the value and its exact bits.
inline std::string Show(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g (0x%016llX)", value,
                static_cast<unsigned long long>(Bits(value)));
  return text;
}

// The fatal report ends the process with exit code -1: all 32 bits set on
// Windows, 255 as a POSIX wait shows it.
#ifdef _WIN32
inline constexpr int kFatalExitCode = -1;
#else
inline constexpr int kFatalExitCode = 255;
#endif

}  // namespace tarnolux

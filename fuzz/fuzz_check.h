// What the fuzz targets share: a property check that aborts with a readable
// report (libFuzzer then saves the input as a crash), and the helpers that
// make such reports.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Aborts with the failed condition and a printf-style explanation when `ok` is
// false. The explanation's arguments are only evaluated on failure.
//   FUZZ_REQUIRE(Bits(a) == Bits(b), "text %s: %a vs %a", Hex(t).c_str(), a, b);
#define FUZZ_REQUIRE(ok, ...)                                 \
  do {                                                        \
    if (!(ok)) {                                              \
      std::fprintf(stderr, "property violated: %s\n  ", #ok); \
      std::fprintf(stderr, __VA_ARGS__);                      \
      std::fprintf(stderr, "\n");                             \
      std::abort();                                           \
    }                                                         \
  } while (0)

namespace fuzz {

// The bit pattern of a double: results are compared bit for bit, so that -0
// differs from +0 and NaNs compare equal to themselves.
inline uint64_t Bits(double x) {
  return std::bit_cast<uint64_t>(x);
}

// A byte string as printable ASCII with \xHH escapes, for reports:
//   Hex("1\xA3\xB2") -> "1\xA3\xB2"
inline std::string Hex(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    }
  }
  return out;
}

}  // namespace fuzz

#include "core/format_number.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "core/decimal_digits.h"

namespace tarnolux {
namespace {

constexpr uint64_t kSignBit = 0x8000000000000000ULL;
constexpr uint64_t kInfinityBits = 0x7FF0000000000000ULL;
constexpr uint64_t kQuietBit = 0x0008000000000000ULL;
constexpr uint64_t kDefaultNanBits = 0xFFF8000000000000ULL;
constexpr uint64_t kTenToThe12 = 1000000000000ULL;
constexpr uint64_t kTenToThe13 = 10000000000000ULL;

// Longest text: "-1.234567890123e-308" and its NUL.
constexpr int kBufferSize = 32;

Text CopyToText(const char* bytes, size_t length) {
  char* text = AllocateText(static_cast<int32_t>(length + 1));
  std::memcpy(text, bytes, length);
  text[length] = '\0';
  return text;
}

// The texts of the values without digits.
const char* SpecialText(uint64_t bits) {
  if (bits == kInfinityBits) return "1.#INF";
  if (bits == (kInfinityBits | kSignBit)) return "-1.#INF";
  if (bits == kDefaultNanBits) return "-1.#IND";
  const bool negative = (bits & kSignBit) != 0;
  if ((bits & kQuietBit) != 0) return negative ? "-1.#QNAN" : "1.#QNAN";
  return negative ? "-1.#SNAN" : "1.#SNAN";
}

// Writes the 13 digits of `digits` (in [10^12, 10^13)) to `out`.
void WriteThirteenDigits(uint64_t digits, char* out) {
  for (int i = 12; i >= 0; --i) {
    out[i] = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
}

// Drops trailing zeros of the fraction that ends just before `end`, and the
// point when nothing is left after it; returns the new end.
char* TrimFraction(char* point, char* end) {
  while (end > point + 1 && end[-1] == '0') --end;
  if (end == point + 1) --end;
  return end;
}

}  // namespace

Text FormatNumber(double x) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  const uint64_t magnitude_bits = bits & ~kSignBit;
  if (magnitude_bits >= kInfinityBits) {
    const char* special = SpecialText(bits);
    return CopyToText(special, std::strlen(special));
  }
  if (magnitude_bits == 0) return CopyToText("0", 1);

  const double magnitude = std::bit_cast<double>(magnitude_bits);
  const DecimalDigits seventeen = SeventeenDigits(magnitude);
  // Second stage: up when the 14th digit of the 17-digit form is 5 or more.
  uint64_t digits = (seventeen.digits + 5000) / 10000;
  int32_t exponent = seventeen.exponent;
  if (digits == kTenToThe13) {
    digits = kTenToThe12;
    ++exponent;
  }
  char digit_text[13];
  WriteThirteenDigits(digits, digit_text);

  char buffer[kBufferSize];
  char* out = buffer;
  if ((bits & kSignBit) != 0) *out++ = '-';
  if (exponent >= 0 && exponent <= 12) {
    const int whole = exponent + 1;
    std::memcpy(out, digit_text, whole);
    out += whole;
    char* point = out;
    *out++ = '.';
    std::memcpy(out, digit_text + whole, 13 - whole);
    out = TrimFraction(point, out + 13 - whole);
  } else if (exponent < 0 && exponent >= -4) {
    char* point = out + 1;
    *out++ = '0';
    *out++ = '.';
    for (int i = -1; i > exponent; --i) *out++ = '0';
    std::memcpy(out, digit_text, 13);
    out = TrimFraction(point, out + 13);
  } else {
    *out++ = digit_text[0];
    char* point = out;
    *out++ = '.';
    std::memcpy(out, digit_text + 1, 12);
    out = TrimFraction(point, out + 12);
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    const int32_t power = exponent < 0 ? -exponent : exponent;  // at most 324
    *out++ = static_cast<char>('0' + power / 100);
    *out++ = static_cast<char>('0' + power / 10 % 10);
    *out++ = static_cast<char>('0' + power % 10);
  }
  return CopyToText(buffer, static_cast<size_t>(out - buffer));
}

}  // namespace tarnolux

// fuzz_parse_number: any bytes, read as a text up to the first NUL, go through
// ParseNumber, which must return the value a separate reading of the text
// gives and keep the value under changes that cannot alter a number:
//   - the reference: fold the text, scan the number at its front with the
//     grammar ParseNumber documents, and read that run with strtod (exact
//     for glibc). Plain decimals with at most six significant decimals and a
//     magnitude below 2^53 must give that double bit for bit; longer mantissas
//     and exponents may give either neighbour of the decimal value, and values
//     below the normal range anything from 0 to the smallest normal;
//   - junk appended after the text, white space (ASCII and the ideographic
//     space) put before it, full-width forms in place of its ASCII characters,
//     a sign in front of a text that starts with a digit;
//   - nothing it allocates is left live.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/parse_number.h"
#include "core/text.h"
#include "fuzz/fuzz_check.h"

namespace {

using fuzz::Bits;
using fuzz::Hex;
using tarnolux::ParseNumber;

constexpr uint64_t kSignBit = 0x8000000000000000ULL;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// The text after full-width folding. The folded forms that can matter to a
// number are the ideographic space and A3 A1..A3 FE (full-width ASCII); every
// other double-byte character, folded or not, ends a number and is no white
// space, so it is written as the single byte 80. A lead byte at the very end
// of the text is dropped.
//   Fold("\xA3\xB1\xA3\xAE\xA3\xB5") -> "1.5"     Fold("1\xA1\xA3" "5") -> "1\x80" "5"
std::string Fold(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      continue;
    }
    if (i + 1 == text.size()) break;
    const auto trail = static_cast<unsigned char>(text[++i]);
    if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else {
      out += '\x80';
    }
  }
  return out;
}

struct Reading {
  double value;
  bool exact;  // the result must be `value` bit for bit
};

// Scans the number at the front of a folded text: blanks, an optional sign, a
// mantissa of digits with an optional point (at least one digit), an optional
// exponent e/E/d/D with optional sign and at least one digit. The run, with
// the exponent letter turned into 'e', is read by strtod.
//   "  -12.50e" -> -12.5 exact     "1d-2" -> 0.01 not exact     "-.x" -> +0 exact
Reading ReadReference(const std::string& folded) {
  const size_t n = folded.size();
  size_t p = 0;
  while (p < n && IsBlank(folded[p])) ++p;
  std::string run;
  bool negative = false;
  if (p < n && (folded[p] == '+' || folded[p] == '-')) {
    negative = folded[p] == '-';
    run += folded[p++];
  }
  size_t digits = 0;
  bool nonzero = false;
  while (p < n && IsDigit(folded[p])) {
    nonzero = nonzero || folded[p] != '0';
    run += folded[p++];
    ++digits;
  }
  size_t decimals = 0;  // significant decimals: trailing zeros do not count
  if (p < n && folded[p] == '.' && (digits > 0 || (p + 1 < n && IsDigit(folded[p + 1])))) {
    run += folded[p++];
    size_t position = 0;
    while (p < n && IsDigit(folded[p])) {
      ++position;
      if (folded[p] != '0') {
        nonzero = true;
        decimals = position;
      }
      run += folded[p++];
      ++digits;
    }
  }
  if (digits == 0) return {0.0, true};
  bool exponent = false;
  if (p < n && (folded[p] == 'e' || folded[p] == 'E' || folded[p] == 'd' || folded[p] == 'D')) {
    size_t q = p + 1;
    if (q < n && (folded[q] == '+' || folded[q] == '-')) ++q;
    if (q < n && IsDigit(folded[q])) {
      exponent = true;
      run += 'e';
      run.append(folded, p + 1, q - p - 1);
      while (q < n && IsDigit(folded[q])) run += folded[q++];
    }
  }
  if (!nonzero) return {negative ? -0.0 : 0.0, true};
  const double value = std::strtod(run.c_str(), nullptr);
  return {value, !exponent && decimals <= 6 && std::fabs(value) < 0x1p53};
}

// The text with ASCII characters replaced by their full-width forms (blank by
// the ideographic space, 21..7E by A3 A1..A3 FE), every `stride`-th one of
// them. Double-byte characters stay whole, so the folded text is unchanged.
std::string Widen(const std::string& text, size_t stride) {
  std::string out;
  size_t ascii = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      out += text[i];
      if (i + 1 < text.size()) out += text[++i];
    } else if (byte < 0x20 || byte == 0x7F || ascii++ % stride != 0) {
      out += text[i];
    } else if (byte == 0x20) {
      out += "\xA1\xA1";
    } else {
      out += '\xA3';
      out += static_cast<char>(byte + 0x80);
    }
  }
  return out;
}

void RequireSame(double expected, const std::string& variant, const std::string& text,
                 const char* what) {
  const double got = ParseNumber(variant.c_str());
  FUZZ_REQUIRE(Bits(got) == Bits(expected), "%s: \"%s\" gives %a, \"%s\" gave %a", what,
               Hex(variant).c_str(), got, Hex(text).c_str(), expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const std::string text(bytes, strnlen(bytes, size));
  const int64_t live = tarnolux::LiveTextCount();

  const double value = ParseNumber(text.c_str());
  const Reading reference = ReadReference(Fold(text));
  if (reference.exact) {
    FUZZ_REQUIRE(Bits(value) == Bits(reference.value), "\"%s\" gives %a, expected %a",
                 Hex(text).c_str(), value, reference.value);
  } else if (std::fabs(reference.value) < DBL_MIN) {
    FUZZ_REQUIRE(std::fabs(value) <= DBL_MIN, "\"%s\" gives %a, expected 0 or a subnormal",
                 Hex(text).c_str(), value);
  } else {
    const double e = reference.value;
    FUZZ_REQUIRE(
        value == e || value == std::nextafter(e, INFINITY) || value == std::nextafter(e, -INFINITY),
        "\"%s\" gives %a, expected %a or a neighbour", Hex(text).c_str(), value, e);
  }

  for (const char* junk : {" x", ",5", "x1"}) {
    RequireSame(value, text + junk, text, "junk after the number");
  }
  RequireSame(value, " \t\n\v\f\r\xA1\xA1" + text, text, "white space before the number");
  RequireSame(value, Widen(text, 1), text, "every ASCII character full-width");
  RequireSame(value, Widen(text, 2), text, "every other ASCII character full-width");
  if (!text.empty() && IsDigit(text[0])) {
    RequireSame(value, "+" + text, text, "plus sign");
    RequireSame(std::bit_cast<double>(Bits(value) ^ kSignBit), "-" + text, text, "minus sign");
  }
  if (size == 0) {
    const double absent = ParseNumber(nullptr);
    FUZZ_REQUIRE(Bits(absent) == 0, "an absent text gives %a, expected +0", absent);
  }

  FUZZ_REQUIRE(tarnolux::LiveTextCount() == live, "\"%s\" left %lld texts live", Hex(text).c_str(),
               static_cast<long long>(tarnolux::LiveTextCount() - live));
  return 0;
}

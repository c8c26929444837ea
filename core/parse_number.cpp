#include "core/parse_number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace tarnolux {
namespace {

// Significant digits kept before the remaining ones are summed up in one
// sticky digit. More than the 767 that the exact halfway point between two
// adjacent doubles can have.
constexpr int kKeptDigits = 800;

// A decimal exponent beyond this many places from the first significant
// digit is far outside the double range either way; larger counts saturate
// here, which keeps every sum below in 64 bits.
constexpr int64_t kExponentLimit = int64_t{1} << 40;

// Reads the folded text one character at a time without copying it.
class FoldedReader {
 public:
  explicit FoldedReader(const unsigned char* bytes) : next_(bytes) { Fold(); }

  // The current folded byte; 0 at the end of the text.
  unsigned char Peek() const { return current_; }
  // The folded byte after the current one.
  unsigned char PeekSecond() const {
    FoldedReader copy = *this;
    copy.Advance();
    return copy.current_;
  }
  void Advance() {
    next_ += width_;
    Fold();
  }

 private:
  // Folds the character at next_ into current_ and width_.
  void Fold() {
    const unsigned char lead = next_[0];
    if (lead < 0x80) {
      current_ = lead;
      width_ = lead == 0 ? 0 : 1;
      return;
    }
    const unsigned char trail = next_[1];
    if (trail == 0) {  // a lead byte at the very end is dropped
      current_ = 0;
      width_ = 0;
      return;
    }
    width_ = 2;
    current_ = lead;  // unfolded pairs keep a byte 80..FF, which ends any number
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      current_ = static_cast<unsigned char>(trail - 0x80);
    } else if (lead == 0xA1) {
      if (trail == 0xA1) current_ = ' ';
      if (trail == 0xAB) current_ = '~';
      if (trail == 0xEE || trail == 0xEF) current_ = '*';
    }
  }

  const unsigned char* next_;
  unsigned char current_ = 0;
  int width_ = 0;
};

bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
bool IsSpace(unsigned char c) {
  return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

double SignedZero(bool negative) {
  return negative ? -0.0 : 0.0;
}

// The significant digits of the mantissa: value = 0.d1 d2 d3 ... * 10^point
// with d1 the first nonzero digit.
struct Mantissa {
  char digits[kKeptDigits + 1];
  int count = 0;         // digits kept, at most kKeptDigits + 1 with the sticky one
  bool dropped = false;  // a nonzero digit beyond the kept ones
  int64_t point = 0;     // position of the decimal point relative to d1
  bool any_digit = false;

  void Add(unsigned char digit, bool before_point) {
    any_digit = true;
    if (count == 0 && digit == '0') {
      if (!before_point) --point;  // a zero between the point and d1
      return;
    }
    if (before_point) ++point;
    if (count < kKeptDigits) {
      digits[count++] = static_cast<char>(digit);
    } else if (digit != '0') {
      dropped = true;
    }
  }
};

}  // namespace

double ParseNumber(Text text) {
  if (text == nullptr) return 0.0;
  FoldedReader in(reinterpret_cast<const unsigned char*>(text));
  while (IsSpace(in.Peek())) in.Advance();

  bool negative = false;
  if (in.Peek() == '+' || in.Peek() == '-') {
    negative = in.Peek() == '-';
    in.Advance();
  }
  Mantissa mantissa;
  while (IsDigit(in.Peek())) {
    mantissa.Add(in.Peek(), true);
    in.Advance();
  }
  if (in.Peek() == '.') {
    // A point joins the number when a digit stands before or after it.
    if (mantissa.any_digit || IsDigit(in.PeekSecond())) {
      in.Advance();
      while (IsDigit(in.Peek())) {
        mantissa.Add(in.Peek(), false);
        in.Advance();
      }
    }
  }
  if (!mantissa.any_digit) return 0.0;

  int64_t exponent = 0;
  const unsigned char letter = in.Peek();
  if (letter == 'e' || letter == 'E' || letter == 'd' || letter == 'D') {
    const unsigned char after = in.PeekSecond();
    bool taken = IsDigit(after);
    bool exponent_negative = false;
    if (!taken && (after == '+' || after == '-')) {
      FoldedReader ahead = in;
      ahead.Advance();
      taken = IsDigit(ahead.PeekSecond());
      exponent_negative = after == '-';
    }
    if (taken) {
      in.Advance();
      if (!IsDigit(in.Peek())) in.Advance();  // the sign
      for (; IsDigit(in.Peek()); in.Advance()) {
        if (exponent < kExponentLimit) exponent = exponent * 10 + (in.Peek() - '0');
      }
      if (exponent > kExponentLimit) exponent = kExponentLimit;
      if (exponent_negative) exponent = -exponent;
    }
  }
  if (mantissa.count == 0) return SignedZero(negative);

  // value = 0.d1...dn * 10^(point + exponent). Beyond 10^310 every value
  // overflows, below 10^-330 every value rounds to 0; inside, hand the digits
  // to the correctly rounded standard conversion as "d1...dn[1]e<power>".
  int64_t point = mantissa.point;
  if (point > kExponentLimit) point = kExponentLimit;
  if (point < -kExponentLimit) point = -kExponentLimit;
  const int64_t magnitude = point + exponent;
  if (magnitude > 310) return negative ? -HUGE_VAL : HUGE_VAL;
  if (magnitude < -330) return SignedZero(negative);
  if (mantissa.dropped) mantissa.digits[mantissa.count++] = '1';
  char form[kKeptDigits + 1 + 16];
  std::memcpy(form, mantissa.digits, static_cast<size_t>(mantissa.count));
  char* end = form + mantissa.count;
  *end++ = 'e';
  end = std::to_chars(end, form + sizeof form, magnitude - mantissa.count).ptr;
  double value = 0.0;
  const std::from_chars_result result = std::from_chars(form, end, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Reported only for results that are 0 or infinite.
    value = magnitude > 0 ? HUGE_VAL : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace tarnolux

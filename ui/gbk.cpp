#include "ui/gbk.h"

#include <cstdint>
#include <cstring>

#include "core/text.h"
#include "ui/fatal_box.h"

namespace tarnolux {
namespace {

// WideCharToMultiByte counts in int; runs of this many UTF-16 units convert
// to at most twice as many bytes, far inside that range.
constexpr size_t kRunLimit = size_t{1} << 20;

// No best-fit mapping: a character without a GBK form turns into the default
// "?" rather than into a similar-looking letter that would change the text.
constexpr DWORD kToGbkFlags = WC_NO_BEST_FIT_CHARS;
constexpr char kReplacement[] = "?";

bool IsHighSurrogate(wchar_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Walks `chars` as GBK sees it: `run(start, count)` for each stretch of BMP
// characters (at most kRunLimit units), `replace()` once for each character
// beyond the BMP (a surrogate pair, none of which GBK holds) and for each
// unpaired surrogate. Code page 936 would otherwise turn a pair into two
// "?" or reject the lone half, depending on the Windows version.
template <typename Run, typename Replace>
void ForEachGbkPiece(const wchar_t* chars, size_t count, Run run, Replace replace) {
  size_t start = 0;
  size_t i = 0;
  while (i < count) {
    const wchar_t unit = chars[i];
    if (!IsHighSurrogate(unit) && !IsLowSurrogate(unit)) {
      ++i;
      if (i - start == kRunLimit) {
        run(chars + start, i - start);
        start = i;
      }
      continue;
    }
    if (i > start) run(chars + start, i - start);
    i += (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(chars[i + 1])) ? 2 : 1;
    replace();
    start = i;
  }
  if (i > start) run(chars + start, i - start);
}

int GbkBytesOf(const wchar_t* chars, size_t count, char* out, int room) {
  return WideCharToMultiByte(kGbkCodePage, kToGbkFlags, chars, static_cast<int>(count), out, room,
                             kReplacement, nullptr);
}

}  // namespace

WideBuffer AllocateWide(size_t count) {
  if (count > SIZE_MAX / sizeof(wchar_t)) ReportAllocationFailure(INT64_MAX);
  const size_t bytes = count * sizeof(wchar_t);
  WideBuffer buffer(static_cast<wchar_t*>(std::malloc(bytes > 0 ? bytes : 1)));
  if (buffer == nullptr) ReportAllocationFailure(static_cast<int64_t>(bytes));
  return buffer;
}

WideBuffer GbkToWide(Text text) {
  const uint32_t length = TextLength(text);
  if (length == 0) {
    WideBuffer empty = AllocateWide(1);
    empty[0] = L'\0';
    return empty;
  }
  // A Text is at most INT32_MAX bytes (its size is a 32-bit signed count), and
  // GBK never needs more UTF-16 units than bytes.
  const int byteCount = static_cast<int>(length);
  const int wideCount = MultiByteToWideChar(kGbkCodePage, 0, text, byteCount, nullptr, 0);
  WideBuffer wide = AllocateWide(static_cast<size_t>(wideCount > 0 ? wideCount : 0) + 1);
  const int written =
      wideCount > 0 ? MultiByteToWideChar(kGbkCodePage, 0, text, byteCount, wide.get(), wideCount)
                    : 0;
  wide[written > 0 ? written : 0] = L'\0';
  return wide;
}

Text WideToGbk(const wchar_t* chars, size_t count) {
  if (count == 0) return nullptr;
  // First the exact size, in 64 bits (up to two bytes per unit), then one
  // Text of that size filled front to back with the same pieces.
  int64_t total = 0;
  ForEachGbkPiece(
      chars, count,
      [&](const wchar_t* run, size_t runCount) {
        const int bytes = GbkBytesOf(run, runCount, nullptr, 0);
        total += bytes > 0 ? bytes : 0;
      },
      [&] { total += 1; });
  const int64_t size = total + 1;
  if (size > INT32_MAX) ReportAllocationFailure(size);
  char* gbk = AllocateText(static_cast<int32_t>(size));
  int64_t used = 0;
  ForEachGbkPiece(
      chars, count,
      [&](const wchar_t* run, size_t runCount) {
        const int room = static_cast<int>(total - used);
        if (room <= 0) return;
        const int bytes = GbkBytesOf(run, runCount, gbk + used, room);
        used += bytes > 0 ? bytes : 0;
      },
      [&] {
        if (used < total) gbk[used++] = kReplacement[0];
      });
  gbk[used] = '\0';
  return gbk;
}

Text ReadWindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return nullptr;
  // The reported length may exceed the text (never fall short of it); the
  // count actually copied is what is converted.
  const int room = length < INT32_MAX ? length + 1 : length;
  WideBuffer buffer = AllocateWide(static_cast<size_t>(room));
  const int copied = GetWindowTextW(window, buffer.get(), room);
  return WideToGbk(buffer.get(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void WriteWindowText(HWND window, Text text) {
  WideBuffer wide = GbkToWide(text);
  SetWindowTextW(window, wide.get());
}

}  // namespace tarnolux

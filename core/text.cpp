#include "core/text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_set>

#include "core/fatal.h"

namespace tarnolux {
namespace {

// The live blocks. ReleaseText frees only what is here, which is how it tells
// a block of ours from a constant text without reading memory it does not
// own. The program has one thread, so no lock.
std::unordered_set<const void*>& LiveBlocks() {
  static auto* blocks = new std::unordered_set<const void*>();
  return *blocks;
}

AllocationFailureHook g_failure_hook = nullptr;

}  // namespace

void ReportAllocationFailure(int64_t size) {
  // "分配 %d 字节内存失败!" with the requested size in signed decimal, built
  // in a fixed buffer: the heap has just failed us.
  constexpr char kPrefix[] = "\xB7\xD6\xC5\xE4 ";                                   // 分配
  constexpr char kSuffix[] = " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!";  // 字节内存失败!
  char digits[24];
  int count = 0;
  uint64_t magnitude = size < 0 ? 0 - static_cast<uint64_t>(size) : static_cast<uint64_t>(size);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  char message[sizeof kPrefix + sizeof kSuffix + sizeof digits];
  char* out = message;
  out = std::copy(kPrefix, kPrefix + sizeof kPrefix - 1, out);
  if (size < 0) *out++ = '-';
  while (count > 0) *out++ = digits[--count];
  out = std::copy(kSuffix, kSuffix + sizeof kSuffix, out);
  ReportFatal(message, 0);
}

char* AllocateText(int32_t size) {
  if (size < 0 || (g_failure_hook != nullptr && g_failure_hook(size))) {
    ReportAllocationFailure(size);
  }
  // malloc(0) may return null on success; a block of at least one byte keeps
  // "null means failure" unambiguous.
  void* block = std::malloc(size > 0 ? static_cast<size_t>(size) : 1);
  if (block == nullptr) ReportAllocationFailure(size);
  try {
    LiveBlocks().insert(block);
  } catch (const std::bad_alloc&) {
    std::free(block);
    ReportAllocationFailure(size);
  }
  return static_cast<char*>(block);
}

void ReleaseText(Text text) {
  if (text == nullptr) return;
  if (LiveBlocks().erase(text) != 0) std::free(const_cast<char*>(text));
}

int64_t LiveTextCount() {
  return static_cast<int64_t>(LiveBlocks().size());
}

void SetAllocationFailureHook(AllocationFailureHook shouldFail) {
  g_failure_hook = shouldFail;
}

uint32_t TextLength(Text text) {
  // Texts are bounded by the 32-bit allocation size, so the count fits.
  return text == nullptr ? 0 : static_cast<uint32_t>(std::strlen(text));
}

int CompareTexts(Text a, Text b) {
  if (a == nullptr) return (b == nullptr || *b == '\0') ? 0 : -1;
  if (b == nullptr) return *a == '\0' ? 0 : 1;
  const auto* pa = reinterpret_cast<const unsigned char*>(a);
  const auto* pb = reinterpret_cast<const unsigned char*>(b);
  // The NUL takes part: a proper prefix sorts first because its 0 byte is
  // smaller than any byte of the longer text.
  for (;; ++pa, ++pb) {
    if (*pa != *pb) return *pa < *pb ? -1 : 1;
    if (*pa == '\0') return 0;
  }
}

Text ConcatTexts(std::span<const Text> parts) {
  // All lengths first, in 64 bits so the sum cannot wrap; then one block of
  // exactly the total, filled front to back.
  int64_t total = 1;
  for (Text part : parts) total += TextLength(part);
  if (total > INT32_MAX) ReportAllocationFailure(total);
  char* result = AllocateText(static_cast<int32_t>(total));
  char* out = result;
  for (Text part : parts) {
    const uint32_t length = TextLength(part);
    if (length != 0) std::memcpy(out, part, length);
    out += length;
  }
  *out = '\0';
  return result;
}

}  // namespace tarnolux

// Text: the program's one string type.
//
// A Text is a NUL-terminated byte string in GBK (code page 936). It may be
// absent (a null pointer); every operation treats an absent text exactly as
// the empty text. Texts are compared, measured and joined byte by byte, never
// by character or locale.
//
// Ownership: every Text that AllocateText hands out (and so every text that
// ConcatTexts, FormatNumber or a control read returns) is owned by the
// receiver, who releases it with ReleaseText. ReleaseText of an absent text or
// of a constant text (a string literal, a catalogue field) does nothing, so a
// caller may pass either without checking where it came from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace tarnolux {

using Text = const char*;

// Returns a block of `size` bytes from the process heap. Never returns
// empty-handed: when the heap cannot give the block, or when `size` is negative
// (a count that overflowed the 32-bit signed range on its way here), it reports
// "分配 %d 字节内存失败!" with code 0 through ReportFatal and does not return.
char* AllocateText(int32_t size);

// Reports "分配 %d 字节内存失败!" with `size` in signed decimal and code 0
// through ReportFatal. For every block of the program that the heap refuses,
// texts and the window layer's own buffers alike. Builds the message without
// the heap.
[[noreturn]] void ReportAllocationFailure(int64_t size);

// Releases a block from AllocateText. Absent and constant texts are ignored.
void ReleaseText(Text text);

// Number of blocks from AllocateText not yet released: the tests' leak check.
int64_t LiveTextCount();

// Byte count before the terminating NUL; 0 for an absent text. A GBK
// double-byte character counts as two.
uint32_t TextLength(Text text);

// -1, 0 or 1 as `a` sorts before, equal to or after `b`, comparing unsigned
// bytes with the terminating NUL included. Absent equals empty.
//   CompareTexts(nullptr, "")  == 0     CompareTexts("ab", "abc") == -1
//   CompareTexts(nullptr, "a") == -1    CompareTexts("\xB6\xC6", "D") == 1
int CompareTexts(Text a, Text b);

// A fresh text holding the parts' bytes one after another and a NUL. Always
// present, also when every part is empty or absent. A total length beyond the
// 32-bit signed count is an allocation failure (reported, never truncated).
//   ConcatTexts({"\xA1\xBE ", "0.01", " \xA1\xBF\xB6\xD6"}) -> "【 0.01 】吨"
Text ConcatTexts(std::span<const Text> parts);
inline Text ConcatTexts(std::initializer_list<Text> parts) {
  return ConcatTexts(std::span<const Text>(parts.begin(), parts.size()));
}

// Makes AllocateText fail for the requests that `shouldFail` picks (a null
// hook restores normal behaviour). Used by tests and by the test build of the
// program to reach the out-of-memory report on purpose.
using AllocationFailureHook = bool (*)(int32_t size);
void SetAllocationFailureHook(AllocationFailureHook shouldFail);

}  // namespace tarnolux

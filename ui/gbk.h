// Conversions between the program's GBK texts and the UTF-16 of the wide
// Win32 functions.
//
// Every text of the program is GBK (code page 936) whatever the language of
// the Windows it runs on, so the conversions name code page 936 explicitly
// and never use the ANSI code page. Reading a text back from a control gives
// GBK bytes: a character with no GBK form (an emoji, a letter of a script GBK
// lacks) and an unpaired surrogate each read as one "?" (0x3F), never as a
// look-alike letter.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <memory>

#include "core/text.h"

namespace tarnolux {

inline constexpr UINT kGbkCodePage = 936;

struct FreeDeleter {
  void operator()(void* block) const { std::free(block); }
};
// A NUL-terminated UTF-16 buffer on the plain heap (not a Text).
using WideBuffer = std::unique_ptr<wchar_t[], FreeDeleter>;

// Room for `count` wide characters. Never null: when memory runs out the
// allocation failure is reported and the program ends.
WideBuffer AllocateWide(size_t count);

// The UTF-16 form of a GBK text, NUL-terminated. Absent and empty both give
// L"". Bytes that form no GBK character become the code page's replacement.
//   GbkToWide("\xB6\xD6")  -> L"\u5428"  (吨)
WideBuffer GbkToWide(Text text);

// A fresh Text (from AllocateText, owned by the caller) with the GBK form of
// `count` UTF-16 units; absent when `count` is 0.
//   WideToGbk(L"6.5", 3)           -> "6.5"
//   WideToGbk(L"a\U0001F600b", 4)  -> "a?b"   (one "?" for the pair)
//   WideToGbk(L"\xD800x", 2)       -> "?x"    (unpaired surrogate)
Text WideToGbk(const wchar_t* chars, size_t count);

// The whole text of a window (WM_GETTEXT) as a fresh Text; absent when empty.
// Any length the control holds is read whole.
Text ReadWindowText(HWND window);

// Sets the text of a window (WM_SETTEXT); absent writes the empty text.
void WriteWindowText(HWND window, Text text);

}  // namespace tarnolux

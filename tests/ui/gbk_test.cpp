#include "ui/gbk.h"

#include <gtest/gtest.h>

#include <string>

#include "ui_test_support.h"

namespace tarnolux {
namespace {

using testing::Gbk;
using testing::Take;

TEST(WideToGbk, ConvertsWithCodePage936AndMarksWhatGbkLacks) {
  struct Case {
    std::wstring wide;
    std::string gbk;
  };
  const Case kCases[] = {
      {L"6.5", "6.5"},
      {L"\u5428", "\xB6\xD6"},                // 吨
      {L"\u2220\u03C6", "\xA1\xCF\xA6\xD5"},  // ∠φ
      {L"a\U0001F600b", "a?b"},               // a pair: one character, one "?"
      {L"\xD800x", "?x"},                     // lone high surrogate
      {L"x\xDC00", "x?"},                     // lone low surrogate
      {L"\xDC00\xD800", "??"},                // halves in the wrong order
      {L"\u0E01", "?"},                       // Thai: no GBK form, no best fit
      {L"\u00C0", "?"},                       // À: not folded to A
      {L"\u00E9", "\xA8\xA6"},                // é: GBK has it (pinyin)
  };
  for (const Case& c : kCases) {
    const testing::TakenText gbk = Take(WideToGbk(c.wide.data(), c.wide.size()));
    EXPECT_FALSE(gbk.absent);
    EXPECT_EQ(gbk.bytes, c.gbk);
  }
  EXPECT_TRUE(Take(WideToGbk(L"", 0)).absent);
}

TEST(WideToGbk, ConvertsLongTextsWhole) {
  // Runs longer than one conversion piece, with surrogates at its edges.
  std::wstring wide(3'000'000, L'\u94A2');  // 钢
  wide[0] = L'\xD83D';
  wide[1] = L'\xDE00';
  wide.back() = L'\xD800';
  const testing::TakenText gbk = Take(WideToGbk(wide.data(), wide.size()));
  ASSERT_EQ(gbk.bytes.size(), 1 + 2 * (wide.size() - 3) + 1);
  EXPECT_EQ(gbk.bytes.front(), '?');
  EXPECT_EQ(gbk.bytes.back(), '?');
  EXPECT_EQ(gbk.bytes.substr(1, 4), Gbk(u8"钢钢"));
}

TEST(GbkToWide, RoundTripsProgramTexts) {
  for (const std::u8string_view text :
       {u8"", u8"【 0.01 】吨", u8"镀锌圆钢φ10", u8"普通槽钢[6.5#"}) {
    const std::string gbk = Gbk(text);
    const WideBuffer wide = GbkToWide(gbk.c_str());
    const testing::TakenText back = Take(WideToGbk(wide.get(), wcslen(wide.get())));
    EXPECT_EQ(back.bytes, gbk);
  }
  EXPECT_STREQ(GbkToWide(nullptr).get(), L"");
}

}  // namespace
}  // namespace tarnolux

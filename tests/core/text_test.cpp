#include "core/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/fatal.h"
#include "tests/core/test_doubles.h"

namespace tarnolux {
namespace {

TEST(CompareTexts, OrdersBytesAsUnsignedWithTheNulIncluded) {
  struct Case {
    Text a;
    Text b;
    int expected;
  };
  const Case kCases[] = {
      {nullptr, nullptr, 0}, {nullptr, "", 0},  {"", nullptr, 0},
      {nullptr, "a", -1},    {"a", nullptr, 1}, {"ab", "abc", -1},  // a proper prefix sorts first
      {"abc", "ab", 1},      {"a", "b", -1},    {"abc", "abc", 0},
      {"\xB6\xC6", "D", 1},  // 镀 (lead byte B6) after the ASCII letter D
      {"\x7F", "\x80", -1},  // unsigned: 0x80 is not negative
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CompareTexts(c.a, c.b), c.expected)
        << (c.a ? c.a : "<absent>") << " vs " << (c.b ? c.b : "<absent>");
  }
}

TEST(TextLength, CountsBytesBeforeTheNul) {
  EXPECT_EQ(TextLength(nullptr), 0u);
  EXPECT_EQ(TextLength(""), 0u);
  EXPECT_EQ(TextLength("\xA1\xBE "), 3u);          // "【 "
  EXPECT_EQ(TextLength(" \xA1\xBF\xB6\xD6"), 5u);  // " 】吨"
}

TEST(ConcatTexts, JoinsPartsInOrderWithAbsentPartsAsEmpty) {
  const int64_t live = LiveTextCount();
  Text joined = ConcatTexts({"\xA1\xBE ", "0.01", " \xA1\xBF\xB6\xD6"});
  EXPECT_STREQ(joined, "\xA1\xBE 0.01 \xA1\xBF\xB6\xD6");
  Text mixed = ConcatTexts({nullptr, "ab", "", nullptr, "c"});
  EXPECT_STREQ(mixed, "abc");
  ReleaseText(joined);
  ReleaseText(mixed);
  EXPECT_EQ(LiveTextCount(), live);
}

TEST(ConcatTexts, AllAbsentGivesAPresentEmptyText) {
  Text empty = ConcatTexts({nullptr, nullptr, nullptr});
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(TextLength(empty), 0u);
  ReleaseText(empty);
}

TEST(ReleaseText, IgnoresAbsentAndConstantTexts) {
  const int64_t live = LiveTextCount();
  static const char kConstant[] = "constant";
  ReleaseText(nullptr);
  ReleaseText(kConstant);
  ReleaseText("literal");
  EXPECT_STREQ(kConstant, "constant");
  EXPECT_EQ(LiveTextCount(), live);
}

TEST(AllocateText, CountsLiveBlocks) {
  const int64_t live = LiveTextCount();
  char* zero = AllocateText(0);  // a zero-byte request still yields a block
  char* some = AllocateText(64);
  ASSERT_NE(zero, nullptr);
  ASSERT_NE(some, nullptr);
  EXPECT_EQ(LiveTextCount(), live + 2);
  ReleaseText(zero);
  ReleaseText(some);
  ReleaseText(some);  // a second release of the same block is ignored, not a double free
  EXPECT_EQ(LiveTextCount(), live);
}

// The failure paths end the process through the fatal report; death tests
// run them in a child and read the report from standard error.
bool FailSixtyFour(int32_t size) {
  return size == 64;
}

TEST(AllocateTextDeathTest, HeapFailureReportsTheSizeAndExitsMinusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetAllocationFailureHook(&FailSixtyFour);
        AllocateText(64);
      },
      ::testing::ExitedWithCode(kFatalExitCode),
      // "错误信息：分配 64 字节内存失败!"
      "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA\xB7\xD6\xC5\xE4 64 "
      "\xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
}

TEST(AllocateTextDeathTest, NegativeSizeIsAFailureNotAShortBlock) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(AllocateText(-5), ::testing::ExitedWithCode(kFatalExitCode), "\xB7\xD6\xC5\xE4 -5 ");
}

TEST(ComposeErrorReport, AddsCodeAndMessageLinesOnlyWhenGiven) {
  struct Case {
    Text message;
    int32_t code;
    const char* expected;
  };
  // 运行时出错! / 错误代码： / 错误信息：
  const std::string head = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";
  const std::string code = "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA";
  const std::string info = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";
  const std::string kExpected[] = {
      head,
      head,
      head + info + "boom\r\n",
      head + code + "-7\r\n\r\n",
      head + code + "42\r\n\r\n" + info + "boom\r\n",
  };
  const Case kCases[] = {
      {nullptr, 0, kExpected[0].c_str()}, {"", 0, kExpected[1].c_str()},
      {"boom", 0, kExpected[2].c_str()},  {nullptr, -7, kExpected[3].c_str()},
      {"boom", 42, kExpected[4].c_str()},
  };
  for (const Case& c : kCases) {
    char* report = ComposeErrorReport(c.message, c.code);
    ASSERT_NE(report, nullptr);
    EXPECT_STREQ(report, c.expected);
    std::free(report);
  }
}

}  // namespace
}  // namespace tarnolux

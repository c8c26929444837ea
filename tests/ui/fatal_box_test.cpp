// The error box itself ends the process; its composed text is what can be
// checked in-process (the box is checked from outside the program).
#include "ui/fatal_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/fatal.h"
#include "ui_test_support.h"

namespace tarnolux {
namespace {

using testing::Gbk;

TEST(ComposeErrorReport, HeadingThenCodeThenMessage) {
  const std::string heading = Gbk(u8"运行时出错!\r\n\r\n");
  const std::string message = Gbk(u8"载入启动窗口失败");
  struct Case {
    const char* message;
    int32_t code;
    std::string text;
  };
  const Case kCases[] = {
      {message.c_str(), 0, heading + Gbk(u8"错误信息：") + message + "\r\n"},
      {message.c_str(), -1, heading + Gbk(u8"错误代码：-1\r\n\r\n错误信息：") + message + "\r\n"},
      {nullptr, 5, heading + Gbk(u8"错误代码：5\r\n\r\n")},
      {"", INT32_MIN, heading + Gbk(u8"错误代码：-2147483648\r\n\r\n")},
      {nullptr, 0, heading},
      {"", 0, heading},
  };
  for (const Case& c : kCases) {
    char* report = ComposeErrorReport(c.message, c.code);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(std::string(report), c.text) << c.code;
    std::free(report);
  }
}

}  // namespace
}  // namespace tarnolux

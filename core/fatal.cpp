#include "core/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tarnolux {
namespace {

void WriteToStandardError(Text message, int32_t code) {
  char* report = ComposeErrorReport(message, code);
  if (report != nullptr) {
    std::fputs(report, stderr);
    std::fflush(stderr);
    std::free(report);
  }
}

FatalReporter g_reporter = &WriteToStandardError;

// GBK texts of the report.
constexpr char kHeading[] = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";  // 运行时出错!
constexpr char kCodeLabel[] = "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA";         // 错误代码：
constexpr char kMessageLabel[] = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";      // 错误信息：

}  // namespace

void SetFatalReporter(FatalReporter reporter) {
  g_reporter = reporter != nullptr ? reporter : &WriteToStandardError;
}

void ReportFatal(Text message, int32_t code) {
  g_reporter(message, code);
  std::_Exit(-1);
}

char* ComposeErrorReport(Text message, int32_t code) {
  std::string report = kHeading;
  if (code != 0) {
    report += kCodeLabel;
    report += std::to_string(code);
    report += "\r\n\r\n";
  }
  if (message != nullptr && *message != '\0') {
    report += kMessageLabel;
    report += message;
    report += "\r\n";
  }
  char* copy = static_cast<char*>(std::malloc(report.size() + 1));
  if (copy != nullptr) std::memcpy(copy, report.c_str(), report.size() + 1);
  return copy;
}

}  // namespace tarnolux

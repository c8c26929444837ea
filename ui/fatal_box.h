// The fatal error report: the one way any failure ends the program.
#pragma once

#include <cstdint>

#include "core/text.h"

namespace tarnolux {

// Blocks all events for good, shows the error box (no owner window, caption
// "错误", error icon, one OK button) with the text of ComposeErrorReport, and
// when it is closed forgets the exit routine, releases the window layer and
// ends the process with exit code -1. `message` may be absent or empty;
// `code` 0 means none. Does not return.
//   ReportRuntimeError("载入启动窗口失败", 0) shows
//   "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"
[[noreturn]] void ReportRuntimeError(Text message, int32_t code);

// True from the moment a report has begun.
bool ReportingRuntimeError();

// Makes ReportRuntimeError the core's fatal reporter, so that AllocateText's
// failure shows the box too. Done first at start.
void InstallFatalReporter();

}  // namespace tarnolux

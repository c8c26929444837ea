// The one way any failure is reported.
//
// The core cannot show a window; the window layer installs its message box
// with SetFatalReporter. Without a window (the native tools and tests) the
// default reporter writes the report's text to standard error and ends the
// process with exit code -1.
#pragma once

#include <cstdint>

#include "core/text.h"

namespace tarnolux {

using FatalReporter = void (*)(Text message, int32_t code);

// Installs `reporter` (null restores the default). The reporter must not
// return; if it does, the process ends with exit code -1 anyway.
void SetFatalReporter(FatalReporter reporter);

// Reports a fatal error through the installed reporter and ends the process
// with exit code -1. `message` may be absent or empty; `code` 0 means none.
[[noreturn]] void ReportFatal(Text message, int32_t code);

// The report's text, a fresh text the caller releases:
//   "运行时出错!\r\n\r\n"
//   + ("错误代码：" code "\r\n\r\n")   when code != 0
//   + ("错误信息：" message "\r\n")    when message is present and not empty
// Built without AllocateText (plain heap), so composing the report for an
// allocation failure cannot recurse; returns null only if even that fails.
char* ComposeErrorReport(Text message, int32_t code);

}  // namespace tarnolux

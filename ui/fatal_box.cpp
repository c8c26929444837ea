#include "ui/fatal_box.h"

#include <windows.h>

#include <cstdlib>

#include "core/fatal.h"
#include "ui/events.h"
#include "ui/gbk.h"
#include "ui/program.h"

namespace tarnolux {
namespace {

bool g_reporting = false;

constexpr char kCaption[] = "\xB4\xED\xCE\xF3";                           // 错误
constexpr char kHeading[] = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!";  // 运行时出错!

// The box's texts are converted without the heap where possible: the report
// may be about the heap having failed.
void ShowErrorBox(Text message, int32_t code) {
  wchar_t caption[16];
  if (MultiByteToWideChar(kGbkCodePage, 0, kCaption, -1, caption, 16) == 0) caption[0] = L'\0';

  char* report = ComposeErrorReport(message, code);
  wchar_t* text = nullptr;
  if (report != nullptr) {
    const int count = MultiByteToWideChar(kGbkCodePage, 0, report, -1, nullptr, 0);
    if (count > 0) {
      text = static_cast<wchar_t*>(std::malloc(static_cast<size_t>(count) * sizeof(wchar_t)));
      if (text != nullptr && MultiByteToWideChar(kGbkCodePage, 0, report, -1, text, count) == 0) {
        text[0] = L'\0';
      }
    }
    std::free(report);
  }
  // Without memory for the whole report, at least the heading.
  wchar_t fallback[32];
  if (text == nullptr && MultiByteToWideChar(kGbkCodePage, 0, kHeading, -1, fallback, 32) == 0) {
    fallback[0] = L'\0';
  }
  MessageBoxW(nullptr, text != nullptr ? text : fallback, caption, MB_OK | MB_ICONERROR);
  std::free(text);
}

}  // namespace

void ReportRuntimeError(Text message, int32_t code) {
  // A failure while a report is under way (say, memory running out while the
  // window layer is released) ends the process at once with the same code.
  if (g_reporting) ExitProcess(static_cast<UINT>(-1));
  g_reporting = true;
  RaiseEventBlock();  // never lowered: no handler runs from here on
  ShowErrorBox(message, code);
  ForgetExitRoutine();
  ReleaseWindowLayer();
  ExitProcess(static_cast<UINT>(-1));
}

bool ReportingRuntimeError() {
  return g_reporting;
}

void InstallFatalReporter() {
  SetFatalReporter(&ReportRuntimeError);
}

}  // namespace tarnolux

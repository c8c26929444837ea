// Scripted sessions of the outside driver, for the shell scripts:
//
//   tarnolux_e2e --tool [--desktop=NAME] [--attach] [--program=PATH]
//                [--testhooks=PATH] [--act=converted] [--capture=FILE.bmp]
//                [--hold] [--close] [--soak=N]
//
// On the Wine desktop NAME (default: one of its own) it starts the program
// (or, with --attach, takes the one already shown there), waits until the
// window is up and idle, and prints "window LEFT TOP WIDTH HEIGHT". Then:
//   --act=converted  chooses 普通角钢∠40x4, types 6 and clicks the button,
//                    all with real input, and waits for the results;
//   --soak=N         runs N conversions from the keyboard in the test-hooks
//                    build and prints the live Text blocks and GDI/USER
//                    object counts before and after, and the time taken;
//   --capture=FILE   writes the window, as on the screen, to a BMP file;
//   --hold           prints "ready" and waits for a line on standard input
//                    (the caller takes its screenshot meanwhile);
//   --close          presses Esc and prints "exit code N".
// Returns 0 when every step worked.
#include "tests/e2e/tool.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "tests/e2e/driver.h"
#include "tests/e2e/expected.h"
#include "ui/control_ids.h"

namespace tarnolux::e2e {

namespace {

struct ToolOptions {
  std::wstring desktop;
  bool attach = false;
  bool converted = false;
  std::wstring capture;
  bool hold = false;
  bool close = false;
  int soak = 0;
};

int Fail(const char* what) {
  std::fprintf(stderr, "tarnolux_e2e --tool: %s\n", what);
  return 1;
}

int Soak(const RunningProgram& app, int conversions) {
  if (!app.WaitForFocus(IDC_COMBO1)) return Fail("the focus is not in the material list");
  const auto textsBefore = app.LiveTextCount();
  if (!textsBefore)
    return Fail("the window does not answer the live-text message (not the test-hooks build?)");
  const DWORD gdiBefore = GetGuiResources(app.process(), GR_GDIOBJECTS);
  const DWORD userBefore = GetGuiResources(app.process(), GR_USEROBJECTS);

  constexpr int kBatch = 20;
  const auto start = std::chrono::steady_clock::now();
  for (int first = 0; first < conversions; first += kBatch) {
    const int last = std::min(conversions, first + kBatch);
    std::vector<INPUT> events;
    for (int cycle = first; cycle < last; ++cycle) AppendKeyboardConversion(events, cycle, L"6");
    SendEvents(events);
    if (!WaitUntil([&] { return app.CountEvents("OnConvertClicked") == last; },
                   std::chrono::seconds(60))) {
      std::fprintf(stderr, "stuck after %d conversions\n", app.CountEvents("OnConvertClicked"));
      return 1;
    }
    if (!app.WaitForFocus(IDC_COMBO1)) return Fail("lost the focus order");
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const auto textsAfter = app.LiveTextCount();
  const DWORD gdiAfter = GetGuiResources(app.process(), GR_GDIOBJECTS);
  const DWORD userAfter = GetGuiResources(app.process(), GR_USEROBJECTS);

  std::printf("conversions: %d in %.1f s (%.1f ms each)\n", conversions, seconds,
              1000.0 * seconds / conversions);
  std::printf("live Text blocks: %lld before, %lld after\n", static_cast<long long>(*textsBefore),
              static_cast<long long>(textsAfter.value_or(-1)));
  std::printf("GDI objects: %lu before, %lu after\n", gdiBefore, gdiAfter);
  std::printf("USER objects: %lu before, %lu after\n", userBefore, userAfter);
  if (gdiBefore == 0 && userBefore == 0) {
    std::printf("note: GetGuiResources answers 0 here (Wine does not count them)\n");
  }
  std::fflush(stdout);
  return textsAfter == textsBefore ? 0 : 1;
}

}  // namespace

int RunTool(int argc, wchar_t** argv) {
  ToolOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view argument = argv[i];
    if (argument.starts_with(L"--desktop=")) options.desktop = argument.substr(10);
    if (argument == L"--attach") options.attach = true;
    if (argument == L"--act=converted") options.converted = true;
    if (argument.starts_with(L"--capture=")) options.capture = ToWindowsPath(argument.substr(10));
    if (argument == L"--hold") options.hold = true;
    if (argument == L"--close") options.close = true;
    if (argument.starts_with(L"--soak="))
      options.soak = _wtoi(std::wstring(argument.substr(7)).c_str());
  }
  if (options.desktop.empty()) options.desktop = UniqueDesktopName();
  if (auto exitCode = JoinPrivateDesktop(options.desktop, options.attach)) return *exitCode;

  LaunchOptions launch;
  launch.attach = options.attach;
  launch.testHooks = options.soak > 0;
  launch.eventLog = options.soak > 0;
  RunningProgram app(launch);
  if (!app.started()) return Fail(app.failure().c_str());
  WaitForInputIdle(app.process(), 10000);

  int result = 0;
  if (options.converted) {
    const bool done = app.ChooseByClick(kAngle40x4) && app.EnterLength(L"6") &&
                      app.ClickConvert() && app.WaitForResults(L"【 0.01 】吨", L"【 14.51 】KG");
    if (!done) result = Fail("the conversion did not show its results");
  }
  if (options.soak > 0 && Soak(app, options.soak) != 0) result = 1;

  // Pointer out of the way, then a moment for the last paint to reach the
  // screen.
  MoveMouse({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
  Sleep(500);
  RECT rect{};
  GetWindowRect(app.window(), &rect);
  std::printf("window %ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top);
  std::fflush(stdout);

  if (!options.capture.empty() && !Capture(rect).SaveBmp(options.capture))
    result = Fail("cannot write the capture");
  if (options.hold) {
    std::printf("ready\n");
    std::fflush(stdout);
    char line[64];
    if (!std::fgets(line, sizeof line, stdin)) {
      // End of input also releases the hold.
    }
  }
  if (options.close) {
    SetForegroundWindow(app.window());
    PressKey(VK_ESCAPE);
    const auto exitCode = app.WaitForExit();
    if (exitCode) {
      std::printf("exit code %lu\n", *exitCode);
    } else {
      result = Fail("the program did not end on Esc");
    }
    std::fflush(stdout);
  }
  return result;
}

}  // namespace tarnolux::e2e

#include "ui/program.h"

#include <cfenv>

#include "ui/build_window.h"
#include "ui/events.h"
#include "ui/fatal_box.h"
#include "ui/keyboard.h"
#include "ui/test_hooks.h"
#include "ui/window_definition.h"

namespace tarnolux {
namespace {

constexpr char kStartWindowFailed[] =
    "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC";  // 载入启动窗口失败

using ExitRoutine = void (*)();
ExitRoutine g_exit_routine = nullptr;

}  // namespace

void InitGlobals() {}

void OnProgramExit() {
  NoteTestEvent("OnProgramExit");
}

void ForgetExitRoutine() {
  g_exit_routine = nullptr;
}

HWND StartUpToWindow() {
  InstallFatalReporter();
  InstallTestHooks();
  LoadWindowDefinitions();
  // The core emulates the extended-precision arithmetic of its stored-result
  // rule exactly in software, so its results do not hang on this; the reset
  // still gives every other floating-point operation the documented state.
  std::fesetenv(FE_DFL_ENV);
  InitGlobals();
  g_exit_routine = &OnProgramExit;
  const HWND window = LoadStartWindow();
  if (window == nullptr) ReportRuntimeError(kStartWindowFailed, 0);
  return window;
}

int StartProgram() {
  StartUpToWindow();
  RunEventLoop();
  EndProgram();
  return 0;
}

void DispatchProgramMessage(MSG& message) {
  if (HandleWindowKey(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int RunEventLoop() {
  SetLoopRunning(true);
  if (MainWindowState().window == nullptr) return 0;
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);  // the quit request
    if (got < 0) return 0;
    DispatchProgramMessage(message);
  }
}

void PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    DispatchProgramMessage(message);
  }
}

void EndProgram() {
  RaiseEventBlock();  // no handler runs any more
  SetLoopRunning(false);
  DestroyMainWindow();  // already gone after a close; not so when a test ends
  ReleaseWindowDefinitions();
  if (const ExitRoutine routine = g_exit_routine) {
    g_exit_routine = nullptr;
    routine();
  }
  ReleaseWindowResources();
}

void ReleaseWindowLayer() {
  SetLoopRunning(false);
  ReleaseWindowResources();
  ReleaseWindowDefinitions();
}

}  // namespace tarnolux

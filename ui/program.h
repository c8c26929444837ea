// Start-up, the event loop and the normal end of the program.
#pragma once

#include <windows.h>

namespace tarnolux {

// The program's entry, in this order: the fatal report installed (so that
// AllocateText's failure shows the error box), the window definitions taken
// into memory, the floating-point environment reset to its default (round to
// nearest, every exception masked), InitGlobals, OnProgramExit registered as
// the exit routine, the start window loaded ("载入启动窗口失败" if it cannot be
// built), the event loop run until the window is gone, the clean-up. Returns 0.
int StartProgram();

// StartProgram's steps up to and including showing the window, without the
// event loop: for the in-process tests and the benchmark. Returns the main
// window (a failure to build it is the fatal report, as in StartProgram).
HWND StartUpToWindow();

// The program's global initialisation: there is nothing to set up.
void InitGlobals();

// The exit routine StartProgram registers; it has nothing to do.
void OnProgramExit();

// Forgets the registered exit routine, so that it never runs (the fatal
// report does this: after an error it must not run).
void ForgetExitRoutine();

// Takes messages one at a time (window-level keys first, ui/keyboard.h) and
// dispatches them until the quit request; returns the code it carries. Sets
// the loop-running flag first; returns at once when no window is open.
int RunEventLoop();

// Handles one message as the loop does.
void DispatchProgramMessage(MSG& message);

// Handles every message waiting in the queue as the loop does, then returns
// (a quit request is left in the queue). For the in-process tests.
void PumpPendingMessages();

// The end-of-program clean-up: events blocked, the definition copy released,
// the exit routine run once and forgotten, the window (if still open) and
// its fonts, brushes and icons released.
void EndProgram();

// Everything of the window layer released, without the exit routine: the
// fatal report's clean-up.
void ReleaseWindowLayer();

}  // namespace tarnolux

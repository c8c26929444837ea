// What the test build of the program (tarnolux_testhooks.exe, compiled with
// TARNOLUX_TEST_HOOKS) adds for the tests that drive it from outside. In the
// program itself these are empty and nothing of them is compiled in.
//
//   TARNOLUX_TEST_FAIL_ALLOC_SIZE=N  every AllocateText request of exactly N
//                                    bytes fails (the out-of-memory report)
//   TARNOLUX_TEST_EVENT_LOG=path     each handler run and the exit routine
//                                    append their name as one line
//   the registered message "TarnoluxLiveTextCount" sent to the main window
//   answers LiveTextCount()
#pragma once

#include <windows.h>

namespace tarnolux {

#ifdef TARNOLUX_TEST_HOOKS
// Reads the environment; done once at start.
void InstallTestHooks();
// Appends `name` and a line break to the event log, if one is set.
void NoteTestEvent(const char* name);
// Answers the hooks' own window messages; true when `message` was one.
bool HandleTestHookMessage(UINT message, LRESULT* result);
#else
inline void InstallTestHooks() {}
inline void NoteTestEvent(const char*) {}
inline bool HandleTestHookMessage(UINT, LRESULT*) {
  return false;
}
#endif

}  // namespace tarnolux

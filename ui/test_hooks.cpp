// Compiled into the test build of the program only; see ui/test_hooks.h.
#include "ui/test_hooks.h"

#ifdef TARNOLUX_TEST_HOOKS

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "core/text.h"

namespace tarnolux {
namespace {

int32_t g_failing_size = -1;
bool g_fail_allocations = false;
wchar_t* g_event_log = nullptr;
UINT g_live_text_count_message = 0;

bool FailThisAllocation(int32_t size) {
  return g_fail_allocations && size == g_failing_size;
}

}  // namespace

void InstallTestHooks() {
  if (const wchar_t* size = _wgetenv(L"TARNOLUX_TEST_FAIL_ALLOC_SIZE")) {
    wchar_t* end = nullptr;
    const long long value = std::wcstoll(size, &end, 10);
    if (end != size && value >= INT32_MIN && value <= INT32_MAX) {
      g_failing_size = static_cast<int32_t>(value);
      g_fail_allocations = true;
      SetAllocationFailureHook(&FailThisAllocation);
    }
  }
  if (const wchar_t* path = _wgetenv(L"TARNOLUX_TEST_EVENT_LOG"); path != nullptr && *path != 0) {
    g_event_log = _wcsdup(path);
  }
  g_live_text_count_message = RegisterWindowMessageW(L"TarnoluxLiveTextCount");
}

void NoteTestEvent(const char* name) {
  if (g_event_log == nullptr) return;
  if (FILE* log = _wfopen(g_event_log, L"ab")) {
    std::fputs(name, log);
    std::fputs("\n", log);
    std::fflush(log);
    std::fclose(log);
  }
}

bool HandleTestHookMessage(UINT message, LRESULT* result) {
  if (g_live_text_count_message == 0 || message != g_live_text_count_message) return false;
  *result = static_cast<LRESULT>(LiveTextCount());
  return true;
}

}  // namespace tarnolux

#endif  // TARNOLUX_TEST_HOOKS

// Start-up time of the program against a bare one-window program.
//
//   startup_bench --program=PATH --baseline=PATH [--runs=N]
//
// Starts each program N times, the two in turn (and the order swapped every
// round, so neither always runs on a warmer system), and measures from
// CreateProcess to the moment its window is visible and the process waits
// for input (WaitForInputIdle). Then ends the process and starts the next.
// Prints each program's median, minimum and maximum and the ratio of the
// medians. Never fails on a time; fails only when a program does not start.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver.h"
#include "ui/control_ids.h"

namespace {

using tarnolux::e2e::ToWindowsPath;

struct Subject {
  const char* name;
  std::wstring path;
  const wchar_t* windowClass;
  std::vector<double> milliseconds;
};

struct FindShown {
  DWORD processId;
  const wchar_t* windowClass;
  bool found;
};

BOOL CALLBACK LookForShown(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<FindShown*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || !IsWindowVisible(window)) return TRUE;
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  if (std::wstring_view(name) == search.windowClass) {
    search.found = true;
    return FALSE;
  }
  return TRUE;
}

double Now() {
  static const double ticksPerMillisecond = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / ticksPerMillisecond;
}

// One start: milliseconds to a visible, idle window, or a negative value.
double TimeOneStart(const Subject& subject) {
  std::wstring commandLine = L"\"" + subject.path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double start = Now();
  if (!CreateProcessW(subject.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return -1;
  }
  double elapsed = -1;
  if (WaitForInputIdle(process.hProcess, 20000) == 0) {
    const double deadline = Now() + 20000;
    while (Now() < deadline) {
      FindShown search{process.dwProcessId, subject.windowClass, false};
      EnumWindows(LookForShown, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        elapsed = Now() - start;
        break;
      }
      Sleep(0);
    }
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Subject program{"tarnolux", {}, TARNOLUX_MAIN_CLASS, {}};
  Subject baseline{"baseline", {}, L"TarnoluxBaselineWindow", {}};
  int runs = 20;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view argument = argv[i];
    if (argument.starts_with(L"--program=")) program.path = ToWindowsPath(argument.substr(10));
    if (argument.starts_with(L"--baseline=")) baseline.path = ToWindowsPath(argument.substr(11));
    if (argument.starts_with(L"--runs="))
      runs = std::max(1, _wtoi(std::wstring(argument.substr(7)).c_str()));
  }
  if (program.path.empty() || baseline.path.empty()) {
    std::fprintf(stderr, "usage: startup_bench --program=PATH --baseline=PATH [--runs=N]\n");
    return 2;
  }

  // One start of each first, not counted: it loads the files into the cache.
  for (Subject* subject : {&program, &baseline}) {
    if (TimeOneStart(*subject) < 0) {
      std::fprintf(stderr, "%s did not show its window\n", subject->name);
      return 1;
    }
  }
  for (int round = 0; round < runs; ++round) {
    Subject* order[2] = {&program, &baseline};
    if (round % 2) std::swap(order[0], order[1]);
    for (Subject* subject : order) {
      const double elapsed = TimeOneStart(*subject);
      if (elapsed < 0) {
        std::fprintf(stderr, "%s did not show its window in round %d\n", subject->name, round);
        return 1;
      }
      subject->milliseconds.push_back(elapsed);
    }
  }

  for (const Subject* subject : {&program, &baseline}) {
    const auto [low, high] =
        std::minmax_element(subject->milliseconds.begin(), subject->milliseconds.end());
    std::printf("%-9s median %7.1f ms  min %7.1f ms  max %7.1f ms  (%d starts)\n", subject->name,
                Median(subject->milliseconds), *low, *high, runs);
  }
  const double ratio = Median(program.milliseconds) / Median(baseline.milliseconds);
  std::printf("start-up ratio tarnolux/baseline: %.3f (target at most 1.2)\n", ratio);
  // The fastest starts, least disturbed by whatever else the machine does.
  const double fastest =
      *std::min_element(program.milliseconds.begin(), program.milliseconds.end()) /
      *std::min_element(baseline.milliseconds.begin(), baseline.milliseconds.end());
  std::printf("ratio of the fastest starts: %.3f\n", fastest);
  return 0;
}

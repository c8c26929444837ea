// The outside tests' entry. Takes the two program paths from the command
// line, moves itself onto a Wine desktop of its own (see driver.h), and then
// either runs the tests or, with --tool, one scripted session for the run and
// screenshot scripts (tool.cpp).
//
//   tarnolux_e2e --program=PATH --testhooks=PATH [gtest flags]
//   tarnolux_e2e --tool ... (see tool.cpp)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "tests/e2e/driver.h"
#include "tests/e2e/tool.h"

int wmain(int argc, wchar_t** argv) {
  using namespace tarnolux::e2e;
  bool tool = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view argument = argv[i];
    if (argument.starts_with(L"--program=")) Paths().program = ToWindowsPath(argument.substr(10));
    if (argument.starts_with(L"--testhooks="))
      Paths().testHooks = ToWindowsPath(argument.substr(12));
    if (argument == L"--tool") tool = true;
  }
  if (tool) return RunTool(argc, argv);

  if (auto exitCode = JoinPrivateDesktop(UniqueDesktopName())) return *exitCode;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

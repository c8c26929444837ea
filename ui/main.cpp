// tarnolux.exe: the entry of the Windows program.
#include <windows.h>

#include <cstdlib>

#include "ui/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return tarnolux::StartProgram();
}

// The C++ runtime's default terminate handler writes the exception's
// demangled type to standard error, which a GUI program does not have; its
// demangler is about a quarter of the executable. The program throws nothing
// of its own, and ending at once is all a terminate can do here anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

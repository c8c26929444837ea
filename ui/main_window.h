// The window procedure of MainWindow: a thin switch over the messages the
// program acts on, each handed to a small function.
#pragma once

#include <windows.h>

namespace tarnolux {

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tarnolux

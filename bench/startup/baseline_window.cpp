// The start-up baseline: the smallest Win32 program that shows one bare
// top-level window and runs a message loop. The start-up benchmark times it
// against the real program, so the ratio shows what the program itself adds
// on top of what any window costs (process creation, the window system, the
// C runtime).
//
// It has the same outer size and placement rule as the real window, so both
// cost the window system the same, and it registers a class of its own so the
// timing driver can find it exactly as it finds the real one.
#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"TarnoluxBaselineWindow";

LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = BaselineProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) return 1;

  constexpr int kWidth = 310;
  constexpr int kHeight = 268;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  HWND window = CreateWindowExW(0, kClassName, L"Baseline", WS_OVERLAPPEDWINDOW & ~WS_THICKFRAME,
                                left, top, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

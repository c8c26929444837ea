#include "tests/e2e/driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

#include "ui/control_ids.h"

namespace tarnolux::e2e {

namespace {

constexpr wchar_t kDesktopsKey[] = L"Software\\Wine\\Explorer\\Desktops";
constexpr wchar_t kDesktopVariable[] = L"TARNOLUX_E2E_DESKTOP";
// More steps than any list of the program needs to scroll through.
constexpr int kItemsAtMost = 64;

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                      nullptr, nullptr);
  return result;
}

std::wstring DesktopName(HDESK desktop) {
  wchar_t name[256] = {};
  DWORD needed = 0;
  if (!desktop || !GetUserObjectInformationW(desktop, UOI_NAME, name, sizeof name, &needed))
    return {};
  return name;
}

// Keys whose scan code needs the extended flag (the grey cursor block).
bool IsExtendedKey(WORD virtualKey) {
  switch (virtualKey) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
      return true;
    default:
      return false;
  }
}

INPUT KeyEvent(WORD virtualKey, bool up) {
  INPUT event{};
  event.type = INPUT_KEYBOARD;
  event.ki.wVk = virtualKey;
  event.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  event.ki.dwFlags =
      (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(virtualKey) ? KEYEVENTF_EXTENDEDKEY : 0);
  return event;
}

INPUT UnicodeEvent(wchar_t unit, bool up) {
  INPUT event{};
  event.type = INPUT_KEYBOARD;
  event.ki.wScan = unit;
  event.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
  return event;
}

// Absolute coordinates are normalised to 0..65535 over the primary screen;
// the centre of the wanted pixel maps back to that pixel however the system
// rounds.
INPUT MouseEvent(POINT point, DWORD flags) {
  INPUT event{};
  event.type = INPUT_MOUSE;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  event.mi.dx = static_cast<LONG>((2LL * point.x + 1) * 32768 / width);
  event.mi.dy = static_cast<LONG>((2LL * point.y + 1) * 32768 / height);
  event.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return event;
}

// A hidden message-only window that owns what this process puts on the
// clipboard: data set while the clipboard is opened without an owner window
// may be dropped.
HWND ClipboardOwner() {
  static HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  return owner;
}

struct FindTopLevel {
  DWORD processId;
  std::wstring_view className;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<FindTopLevel*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId) return TRUE;
  if (search.visibleOnly && !IsWindowVisible(window)) return TRUE;
  if (ClassName(window) == search.className) search.found.push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelOf(DWORD processId, std::wstring_view className, bool visibleOnly) {
  FindTopLevel search{processId, className, visibleOnly, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The process environment without any TARNOLUX_TEST_ variable, plus `extra`,
// as a sorted Unicode environment block.
std::wstring EnvironmentBlock(const std::vector<std::wstring>& extra) {
  std::vector<std::wstring> entries;
  wchar_t* strings = GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; entry && *entry; entry += wcslen(entry) + 1) {
    if (_wcsnicmp(entry, L"TARNOLUX_TEST_", 14) != 0) entries.emplace_back(entry);
  }
  FreeEnvironmentStringsW(strings);
  entries.insert(entries.end(), extra.begin(), extra.end());
  std::sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  });
  std::wstring block;
  for (const auto& entry : entries) {
    block += entry;
    block.push_back(L'\0');
  }
  block.push_back(L'\0');
  return block;
}

// Ends the process that keeps a private desktop alive once nothing of ours
// runs on it any more: Wine's explorer, which it started for the desktop and
// which otherwise stays until the X display goes away.
BOOL CALLBACK CollectDesktopProcess(HWND window, LPARAM parameter) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  auto& processes = *reinterpret_cast<std::vector<DWORD>*>(parameter);
  if (processId != 0 &&
      std::find(processes.begin(), processes.end(), processId) == processes.end()) {
    processes.push_back(processId);
  }
  return TRUE;
}

void EndDesktop(const std::wstring& desktopName) {
  HDESK desktop =
      OpenDesktopW(desktopName.c_str(), 0, FALSE, DESKTOP_ENUMERATE | DESKTOP_READOBJECTS);
  if (!desktop) return;
  std::vector<DWORD> processes;
  EnumDesktopWindows(desktop, CollectDesktopProcess, reinterpret_cast<LPARAM>(&processes));
  CloseDesktop(desktop);
  for (DWORD processId : processes) {
    HANDLE process = OpenProcess(
        PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId);
    if (!process) continue;
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (QueryFullProcessImageNameW(process, 0, image, &size)) {
      const std::wstring_view path(image, size);
      if (path.size() >= 12 &&
          _wcsicmp(path.substr(path.size() - 12).data(), L"explorer.exe") == 0) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 2000);
      }
    }
    CloseHandle(process);
  }
}

}  // namespace

ProgramPaths& Paths() {
  static ProgramPaths paths;
  return paths;
}

std::wstring ToWindowsPath(std::wstring_view path) {
  if (path.empty() || path.front() != L'/') return std::wstring(path);
  using DosName = wchar_t*(CDECL*)(const char*);
  auto toDos = reinterpret_cast<DosName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (!toDos) return std::wstring(path);
  wchar_t* dos = toDos(Utf8(path).c_str());
  if (!dos) return std::wstring(path);
  std::wstring result = dos;
  HeapFree(GetProcessHeap(), 0, dos);
  return result;
}

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::wstring UniqueDesktopName() {
  // A process restarted on the desktop finds the name its parent chose.
  wchar_t inherited[128] = {};
  if (GetEnvironmentVariableW(kDesktopVariable, inherited, 128) > 0) return inherited;
  return L"tarnolux-e2e-" + std::to_wstring(GetCurrentProcessId());
}

std::optional<int> JoinPrivateDesktop(const std::wstring& desktopName, bool shared) {
  if (!RunningUnderWine()) return std::nullopt;
  if (_wcsicmp(DesktopName(GetThreadDesktop(GetCurrentThreadId())).c_str(), desktopName.c_str()) ==
      0) {
    return std::nullopt;
  }

  // Wine makes a desktop with a registered size a virtual desktop of its own
  // (one X window, frames drawn by Wine). Same size as the screen we are on.
  HKEY key = nullptr;
  if (!shared && RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopsKey, 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, &key, nullptr) == ERROR_SUCCESS) {
    const std::wstring size = std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L"x" +
                              std::to_wstring(GetSystemMetrics(SM_CYSCREEN));
    RegSetValueExW(key, desktopName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(size.c_str()),
                   static_cast<DWORD>((size.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }

  // The restarted process writes into a pipe that this one copies to its own
  // output. Wine starts the desktop's own process (explorer) from it, and
  // that process keeps its output handles for as long as it lives: given
  // this process's output directly, it would hold the caller's pipe open
  // (and a test runner waiting for the end of the output) after the tests.
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 1 << 16)) return 1;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  SetEnvironmentVariableW(kDesktopVariable, desktopName.c_str());
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = GetCommandLineW();
  std::wstring desktop = desktopName;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = desktop.data();
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION child{};
  int exitCode = 1;
  if (CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &child)) {
    CloseHandle(writeEnd);
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    for (bool ended = false;;) {
      DWORD available = 0;
      char buffer[4096];
      DWORD read = 0;
      if (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
          ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        DWORD written = 0;
        WriteFile(output, buffer, read, &written, nullptr);
        continue;
      }
      if (ended) break;  // all output taken after the end
      ended = WaitForSingleObject(child.hProcess, 20) == WAIT_OBJECT_0;
    }
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    exitCode = static_cast<int>(code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  } else {
    CloseHandle(writeEnd);
    std::fprintf(stderr, "cannot start on desktop %s: error %lu\n", Utf8(desktopName).c_str(),
                 GetLastError());
  }
  CloseHandle(readEnd);
  if (!shared) {
    EndDesktop(desktopName);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, desktopName.c_str());
      RegCloseKey(key);
    }
  }
  return exitCode;
}

bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(5);
  }
}

std::wstring ReadText(HWND window) {
  DWORD_PTR length = 0;
  if (!window ||
      !SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length))
    return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 1000, &copied)) {
    return {};
  }
  text.resize(std::min<size_t>(copied, length));
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

RECT RectInClient(HWND window, HWND parent) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

POINT CentreOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT fallback) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result))
    return fallback;
  return static_cast<LRESULT>(result);
}

void SendEvents(const std::vector<INPUT>& events) {
  // Large batches go in slices, so that no single call can overrun the
  // system's input queue.
  constexpr size_t kSlice = 200;
  for (size_t first = 0; first < events.size(); first += kSlice) {
    const UINT count = static_cast<UINT>(std::min(kSlice, events.size() - first));
    SendInput(count, const_cast<INPUT*>(events.data() + first), sizeof(INPUT));
  }
}

void MoveMouse(POINT screenPoint) {
  SendEvents({MouseEvent(screenPoint, MOUSEEVENTF_MOVE)});
  WaitUntil(
      [&] {
        POINT at{};
        GetCursorPos(&at);
        return at.x == screenPoint.x && at.y == screenPoint.y;
      },
      Milliseconds(500));
}

void Click(POINT screenPoint) {
  MoveMouse(screenPoint);
  // The press and the release carry the position too: under Wine a late
  // pointer motion from the X server can move the cursor between a bare move
  // and a bare press, and the press would land where the pointer was before.
  SendEvents({MouseEvent(screenPoint, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN),
              MouseEvent(screenPoint, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP)});
}

void ClickWindow(HWND window) {
  Click(CentreOf(window));
}

void AppendKey(std::vector<INPUT>& events, WORD virtualKey, std::initializer_list<WORD> modifiers) {
  for (WORD modifier : modifiers) events.push_back(KeyEvent(modifier, false));
  events.push_back(KeyEvent(virtualKey, false));
  events.push_back(KeyEvent(virtualKey, true));
  for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier) {
    events.push_back(KeyEvent(*modifier, true));
  }
}

void PressKey(WORD virtualKey, std::initializer_list<WORD> modifiers) {
  std::vector<INPUT> events;
  AppendKey(events, virtualKey, modifiers);
  SendEvents(events);
}

void AppendText(std::vector<INPUT>& events, std::wstring_view text) {
  for (wchar_t unit : text) {
    const SHORT key = unit >= 0x20 && unit < 0xD800 ? VkKeyScanW(unit) : -1;
    const int shiftState = key == -1 ? -1 : HIBYTE(key);
    if (shiftState == 0) {
      AppendKey(events, LOBYTE(key));
    } else if (shiftState == 1) {
      AppendKey(events, LOBYTE(key), {VK_SHIFT});
    } else {
      events.push_back(UnicodeEvent(unit, false));
      events.push_back(UnicodeEvent(unit, true));
    }
  }
}

void AppendKeyboardConversion(std::vector<INPUT>& events, int cycle, std::wstring_view length) {
  AppendKey(events, VK_F4);
  AppendKey(events, cycle == 0 ? VK_HOME : (cycle % 2 ? VK_DOWN : VK_UP));
  AppendKey(events, VK_RETURN);
  AppendKey(events, VK_TAB);
  AppendText(events, length);
  AppendKey(events, VK_TAB);
  AppendKey(events, VK_SPACE);
  AppendKey(events, VK_TAB);
}

void TypeText(std::wstring_view text) {
  std::vector<INPUT> events;
  AppendText(events, text);
  SendEvents(events);
}

bool SetClipboardText(std::wstring_view text) {
  HWND owner = ClipboardOwner();
  if (!WaitUntil([&] { return OpenClipboard(owner) != FALSE; }, Milliseconds(2000))) return false;
  bool stored = false;
  if (EmptyClipboard()) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory) {
      auto* target = static_cast<wchar_t*>(GlobalLock(memory));
      std::copy(text.begin(), text.end(), target);
      target[text.size()] = L'\0';
      GlobalUnlock(memory);
      stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
      if (!stored) GlobalFree(memory);
    }
  }
  CloseClipboard();
  return stored;
}

Screenshot Capture(const RECT& screenArea) {
  Screenshot shot;
  shot.area = screenArea;
  const int width = screenArea.right - screenArea.left;
  const int height = screenArea.bottom - screenArea.top;
  if (width <= 0 || height <= 0) return shot;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, screenArea.left, screenArea.top,
           SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    shot.rows.assign(pixels, pixels + static_cast<size_t>(width) * height);
    for (auto& pixel : shot.rows) pixel &= 0x00FFFFFF;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

bool Screenshot::Contains(POINT screenPoint) const {
  return !rows.empty() && PtInRect(&area, screenPoint);
}

COLORREF Screenshot::At(POINT screenPoint) const {
  if (!Contains(screenPoint)) return CLR_INVALID;
  const int width = area.right - area.left;
  const uint32_t pixel =
      rows[static_cast<size_t>(screenPoint.y - area.top) * width + (screenPoint.x - area.left)];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool Screenshot::SaveBmp(const std::wstring& path) const {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (rows.empty()) return false;
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom row first, as BMP readers expect
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(stride * height);
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::vector<uint8_t> data(header.biSizeImage);
  for (int y = 0; y < height; ++y) {
    uint8_t* target = data.data() + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const uint32_t pixel = rows[static_cast<size_t>(y) * width + x];
      target[3 * x] = pixel & 0xFF;
      target[3 * x + 1] = (pixel >> 8) & 0xFF;
      target[3 * x + 2] = (pixel >> 16) & 0xFF;
    }
  }
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
            WriteFile(out, &header, sizeof header, &written, nullptr) &&
            WriteFile(out, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(out);
  return ok;
}

int Luminance(COLORREF colour) {
  return (GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114) / 1000;
}

// ---------------------------------------------------------------------------

RunningProgram::RunningProgram(const LaunchOptions& options) {
  HWND found = nullptr;
  if (options.attach) {
    // Someone else started it, perhaps a moment ago on a cold Wine.
    WaitUntil(
        [&] {
          found = FindWindowW(TARNOLUX_MAIN_CLASS, nullptr);
          return found && IsWindowVisible(found);
        },
        3 * kPatience);
    if (!found) {
      failure_ = "no main window on this desktop";
      return;
    }
    process_.dwThreadId = GetWindowThreadProcessId(found, &process_.dwProcessId);
    process_.hProcess =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process_.dwProcessId);
    if (!process_.hProcess) {
      failure_ = "cannot open the program's process, error " + std::to_string(GetLastError());
      return;
    }
  } else {
    const std::wstring& path = options.testHooks ? Paths().testHooks : Paths().program;
    if (path.empty()) {
      failure_ = "no program path given on the command line";
      return;
    }
    std::vector<std::wstring> extra;
    if (options.eventLog) {
      wchar_t folder[MAX_PATH] = {};
      GetTempPathW(MAX_PATH, folder);
      static int serial = 0;
      eventLogPath_ = std::wstring(folder) + L"tarnolux-e2e-" +
                      std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial) +
                      L".log";
      DeleteFileW(eventLogPath_.c_str());
      extra.push_back(L"TARNOLUX_TEST_EVENT_LOG=" + eventLogPath_);
    }
    if (options.failAllocationSize != 0) {
      extra.push_back(L"TARNOLUX_TEST_FAIL_ALLOC_SIZE=" +
                      std::to_wstring(options.failAllocationSize));
    }
    std::wstring environment = EnvironmentBlock(extra);
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup,
                        &process_)) {
      failure_ =
          "CreateProcessW failed for " + Utf8(path) + ", error " + std::to_string(GetLastError());
      process_ = {};
      return;
    }
    started_ = true;
    CloseHandle(process_.hThread);
    process_.hThread = nullptr;
    WaitForInputIdle(process_.hProcess, static_cast<DWORD>(kPatience.count()));
    WaitUntil([&] {
      auto windows = TopLevelOf(process_.dwProcessId, TARNOLUX_MAIN_CLASS, true);
      if (!windows.empty()) found = windows.front();
      return found != nullptr || !Running();
    });
    if (!found) {
      failure_ =
          Running() ? "no visible main window within the patience" : "the program ended at start";
      return;
    }
  }
  // Shown and activated: the focus is set as the window becomes active.
  WaitUntil([&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(process_.dwThreadId, &info) && info.hwndActive == found;
  });
  window_ = found;
}

RunningProgram::~RunningProgram() {
  if (process_.hProcess) {
    if (started_ && Running()) {
      // Ended as a person would (Esc closes the window, an open list or a
      // message box included), so that no mouse capture or pressed button
      // of a killed process is left behind for the next program's input.
      SendEvents({MouseEvent(CentreOf(window_), MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP)});
      PressKey(VK_ESCAPE);
      if (WaitForSingleObject(process_.hProcess, 2000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 0xDEAD);
        WaitForSingleObject(process_.hProcess, 5000);
      }
    }
    CloseHandle(process_.hProcess);
  }
  if (!eventLogPath_.empty()) DeleteFileW(eventLogPath_.c_str());
}

bool RunningProgram::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND RunningProgram::FocusedWindow() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(process_.dwThreadId, &info)) return nullptr;
  return info.hwndFocus;
}

bool RunningProgram::WaitForFocus(int id, Milliseconds timeout) const {
  return WaitUntil([&] { return FocusedWindow() == control(id); }, timeout);
}

std::optional<DWORD> RunningProgram::WaitForExit(Milliseconds timeout) const {
  if (!process_.hProcess) return std::nullopt;
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) !=
      WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

std::vector<std::string> RunningProgram::EventLog() const {
  std::vector<std::string> lines;
  if (eventLogPath_.empty()) return lines;
  HANDLE file = CreateFileW(eventLogPath_.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    content.append(buffer, read);
  CloseHandle(file);
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) break;  // a line still being written
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

int RunningProgram::CountEvents(std::string_view line) const {
  const auto lines = EventLog();
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

bool RunningProgram::Settle() const {
  HWND before = FocusedWindow();
  if (!before) return false;
  PressKey(VK_TAB);
  if (!WaitUntil([&] { return FocusedWindow() != before; })) return false;
  PressKey(VK_TAB, {VK_SHIFT});
  return WaitUntil([&] { return FocusedWindow() == before; });
}

std::optional<int64_t> RunningProgram::LiveTextCount() const {
  static const UINT message = RegisterWindowMessageW(L"TarnoluxLiveTextCount");
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window_, message, 0, 0, SMTO_ABORTIFHUNG, 2000, &result))
    return std::nullopt;
  return static_cast<int64_t>(static_cast<LONG_PTR>(result));
}

std::vector<HWND> RunningProgram::TopLevelWindows(std::wstring_view className) const {
  return TopLevelOf(process_.dwProcessId, className, true);
}

HWND RunningProgram::OpenList() const {
  HWND combo = control(IDC_COMBO1);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(combo, &info) && info.hwndList && IsWindowVisible(info.hwndList))
    return info.hwndList;
  if (Ask(combo, CB_GETDROPPEDSTATE, 0, 0, 0) == 0) return nullptr;
  auto lists = TopLevelOf(process_.dwProcessId, L"ComboLBox", true);
  return lists.empty() ? nullptr : lists.front();
}

bool RunningProgram::OpenListByClick() const {
  ClickWindow(control(IDC_COMBO1));
  return WaitUntil([&] { return OpenList() != nullptr; });
}

bool RunningProgram::ChooseByClick(int index) const {
  if (!OpenListByClick()) return false;
  HWND list = OpenList();
  const LRESULT rowHeight = Ask(list, LB_GETITEMHEIGHT, 0, 0, 0);
  if (rowHeight <= 0) return false;
  RECT client{};
  GetClientRect(list, &client);
  const int rowsInView =
      static_cast<int>(std::max<LRESULT>(1, (client.bottom - client.top) / rowHeight));
  // The scroll bar's arrows, right of the client area: the mouse wheel is no
  // help here, since a drop-down list takes it as a step of the selection.
  POINT clientCorner{client.right, client.top};
  ClientToScreen(list, &clientCorner);
  const int arrowWidth = GetSystemMetrics(SM_CXVSCROLL);
  const int arrowHeight = GetSystemMetrics(SM_CYVSCROLL);
  const POINT upArrow{clientCorner.x + arrowWidth / 2, clientCorner.y + arrowHeight / 2};
  const POINT downArrow{clientCorner.x + arrowWidth / 2,
                        clientCorner.y + (client.bottom - client.top) - arrowHeight / 2};
  for (int step = 0; step < 2 * kItemsAtMost; ++step) {
    const LRESULT top = Ask(list, LB_GETTOPINDEX, 0, 0, 0);
    if (index >= top && index < top + rowsInView) break;
    Click(index < top ? upArrow : downArrow);
    WaitUntil([&] { return Ask(list, LB_GETTOPINDEX, 0, 0, 0) != top; }, Milliseconds(1000));
  }
  // On a busy machine a scroll can still be under way when the loop above
  // sees the first change: the row is placed only once the top row has held
  // still for a while, so the click cannot land on a neighbour.
  LRESULT top = Ask(list, LB_GETTOPINDEX, 0, 0, 0);
  for (int still = 0; still < 4;) {
    Sleep(50);
    const LRESULT now = Ask(list, LB_GETTOPINDEX, 0, 0, 0);
    still = now == top ? still + 1 : 0;
    top = now;
  }
  if (index < top || index >= top + rowsInView) return false;
  POINT row{(client.left + client.right) / 2,
            static_cast<LONG>(client.top + (index - top) * rowHeight + rowHeight / 2)};
  ClientToScreen(list, &row);
  Click(row);
  if (!WaitUntil([&] { return OpenList() == nullptr; })) return false;
  // The choice is the wanted item, or the caller hears of a misplaced click.
  return Ask(control(IDC_COMBO1), CB_GETCURSEL, 0, 0, -1) == index;
}

bool RunningProgram::ChooseByKeys(int index) const {
  if (FocusedWindow() != control(IDC_COMBO1)) return false;
  PressKey(VK_F4);
  if (!WaitUntil([&] { return OpenList() != nullptr; })) return false;
  std::vector<INPUT> events;
  AppendKey(events, VK_HOME);
  for (int step = 0; step < index; ++step) AppendKey(events, VK_DOWN);
  SendEvents(events);
  HWND list = OpenList();
  if (!WaitUntil([&] { return Ask(list, LB_GETCURSEL, 0, 0, -1) == index; })) return false;
  PressKey(VK_RETURN);
  return WaitUntil([&] { return OpenList() == nullptr; });
}

bool RunningProgram::EnterLength(std::wstring_view text) const {
  HWND edit = control(IDC_EDIT1);
  ClickWindow(edit);
  if (!WaitForFocus(IDC_EDIT1)) return false;
  std::vector<INPUT> events;
  AppendKey(events, VK_END);
  AppendKey(events, VK_HOME, {VK_SHIFT});
  AppendKey(events, VK_DELETE);
  AppendText(events, text);
  SendEvents(events);
  return WaitUntil([&] { return ReadText(edit) == text; });
}

bool RunningProgram::ClickConvert() const {
  const int before = eventLogPath_.empty() ? 0 : CountEvents("OnConvertClicked");
  ClickWindow(control(IDC_BUTTON1));
  if (eventLogPath_.empty()) return true;
  // The line is written as the handler starts; the results follow before the
  // next message, so a round trip through the window's queue ends the wait.
  if (!WaitUntil([&] { return CountEvents("OnConvertClicked") > before; })) return false;
  Ask(window_, WM_NULL);
  return true;
}

bool RunningProgram::WaitForResults(std::wstring_view tonnes, std::wstring_view kilograms) const {
  return WaitUntil(
      [&] { return Caption(IDC_LABEL5) == tonnes && Caption(IDC_LABEL1) == kilograms; });
}

}  // namespace tarnolux::e2e

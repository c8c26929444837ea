// The outside driver: starts the real program, finds its window and its
// controls, and acts on it only as a person or an accessibility tool can:
// real keyboard and mouse input through SendInput, and reads through the
// window system (WM_GETTEXT, window geometry, the screen's pixels). Nothing
// here reaches into the program's memory.
//
// Under Wine every process of a run shares one Wine desktop, which the test
// program creates for itself (see JoinPrivateDesktop): a desktop of its own
// gets a frame drawn by Wine (so the close box exists and can be clicked) and
// keeps input apart from whatever else runs on the same X screen.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnolux::e2e {

// ---------------------------------------------------------------------------
// Where the programs are, set once by main from the command line.

struct ProgramPaths {
  std::wstring program;    // tarnolux.exe
  std::wstring testHooks;  // tarnolux_testhooks.exe
};
ProgramPaths& Paths();

// A path as given on the command line, made usable by CreateProcessW. Under
// Wine the build passes Unix paths (/work/...), which become their DOS form
// (Z:\work\...); any other path is returned unchanged.
std::wstring ToWindowsPath(std::wstring_view path);

// ---------------------------------------------------------------------------
// The private desktop.

// True when running under Wine (ntdll exports wine_get_version).
bool RunningUnderWine();

// Under Wine, when the calling process is not yet on a desktop named
// `desktopName`, registers that desktop's size (the screen's) for Wine,
// starts this same program again on it with the same command line, copies
// its output, waits for it, ends the desktop and returns its exit code.
// Returns nothing when the caller is already on that desktop, or not under
// Wine, in which case the caller goes on with its own work. A `shared`
// desktop belongs to someone else (a script's `explorer /desktop=...`): it is
// joined but neither registered nor ended.
std::optional<int> JoinPrivateDesktop(const std::wstring& desktopName, bool shared = false);

// A desktop name unique to this run: "tarnolux-e2e-<pid>" of the first
// process, handed on to the restarted one.
std::wstring UniqueDesktopName();

// ---------------------------------------------------------------------------
// Waiting.

using Milliseconds = std::chrono::milliseconds;
inline constexpr Milliseconds kPatience{10000};

// Polls `condition` every few milliseconds until it holds (true) or `timeout`
// has passed (false). The program under test runs in another process, so
// every positive check waits for its effect instead of sleeping a fixed time.
bool WaitUntil(const std::function<bool()>& condition, Milliseconds timeout = kPatience);

// ---------------------------------------------------------------------------
// Reading windows from outside.

// WM_GETTEXT through SendMessageTimeoutW; empty when the window does not
// answer within a second.
std::wstring ReadText(HWND window);
std::wstring ClassName(HWND window);
// A window's rectangle relative to the client area of `parent`.
RECT RectInClient(HWND window, HWND parent);
// Centre of a window's rectangle on the screen.
POINT CentreOf(HWND window);
// A message sent from outside; `fallback` when the window does not answer.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT fallback = -1);

// ---------------------------------------------------------------------------
// Real input. Everything goes through SendInput, to whatever window has the
// keyboard focus or lies under the pointer, as a person's input would.

void MoveMouse(POINT screenPoint);
void Click(POINT screenPoint);
void ClickWindow(HWND window);  // at its centre

// A key pressed and released, with the modifiers held around it.
void PressKey(WORD virtualKey, std::initializer_list<WORD> modifiers = {});
// Types `text`: characters that have a key on the keyboard layout are typed
// as that key (with Shift where needed), all others as Unicode input (which is
// how an input method hands over a character), surrogate pairs included.
void TypeText(std::wstring_view text);
// The input events of one key press and release, for batching many actions
// into one SendInput call.
void AppendKey(std::vector<INPUT>& events, WORD virtualKey,
               std::initializer_list<WORD> modifiers = {});
void AppendText(std::vector<INPUT>& events, std::wstring_view text);
void SendEvents(const std::vector<INPUT>& events);

// One conversion from the keyboard, starting and ending with the focus in the
// material list: F4 opens the list, Home (cycle 0) or Down (odd cycles) or Up
// (even cycles) moves between the first two items, Enter confirms, Tab, the
// length, Tab, Space clicks the button, Tab wraps back to the list. Cycle c
// ends on item 0 for even c and item 1 for odd c.
void AppendKeyboardConversion(std::vector<INPUT>& events, int cycle, std::wstring_view length);

// Puts `text` on the clipboard as Unicode text.
bool SetClipboardText(std::wstring_view text);

// ---------------------------------------------------------------------------
// The screen as the user sees it.

struct Screenshot {
  RECT area{};                 // in screen coordinates
  std::vector<uint32_t> rows;  // 0x00RRGGBB, top row first

  bool Contains(POINT screenPoint) const;
  // The colour at a screen point inside `area`, as a COLORREF.
  COLORREF At(POINT screenPoint) const;
  // Writes a 24-bit BMP file.
  bool SaveBmp(const std::wstring& path) const;
};

// Copies a rectangle of the screen (BitBlt from the screen's device context).
Screenshot Capture(const RECT& screenArea);
// 0 (black) to 255 (white), the usual weighting of the three primaries.
int Luminance(COLORREF colour);

// ---------------------------------------------------------------------------
// The program under test.

struct LaunchOptions {
  bool attach = false;         // take a program already running on this desktop
  bool testHooks = false;      // start tarnolux_testhooks.exe instead of tarnolux.exe
  bool eventLog = false;       // set TARNOLUX_TEST_EVENT_LOG to a fresh file
  int failAllocationSize = 0;  // TARNOLUX_TEST_FAIL_ALLOC_SIZE, when not 0
};

// The test-hooks build with an event log: the handlers' runs can be counted.
inline LaunchOptions WithEventLog() {
  LaunchOptions options;
  options.testHooks = true;
  options.eventLog = true;
  return options;
}

// One started (or, with `attach`, found) program. The destructor ends a
// started process if it still runs and removes its event log.
class RunningProgram {
 public:
  explicit RunningProgram(const LaunchOptions& options = {});
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // False, with the reason in failure(), when the program did not start or
  // showed no main window in time.
  bool started() const { return window_ != nullptr; }
  const std::string& failure() const { return failure_; }

  HWND window() const { return window_; }
  HWND control(int id) const { return GetDlgItem(window_, id); }
  DWORD processId() const { return process_.dwProcessId; }
  DWORD threadId() const { return process_.dwThreadId; }
  HANDLE process() const { return process_.hProcess; }

  std::wstring Caption(int id) const { return ReadText(control(id)); }
  // The window that has the keyboard focus in the program's thread.
  HWND FocusedWindow() const;
  // Waits until the control `id` has the focus.
  bool WaitForFocus(int id, Milliseconds timeout = kPatience) const;
  // The exit code once the process has ended within `timeout`.
  std::optional<DWORD> WaitForExit(Milliseconds timeout = kPatience) const;
  bool Running() const;

  // The lines of the event log so far (test-hooks build with eventLog).
  std::vector<std::string> EventLog() const;
  // How many lines of the event log equal `line`.
  int CountEvents(std::string_view line) const;

  // Pushes the program through all input sent so far: presses Tab and
  // Shift+Tab and waits until the focus has gone and come back. Input is
  // handled in order, and an event the program posts to itself while
  // handling a key comes before later input, so afterwards everything sent
  // before has had its effect. Needs the focus on one of the tab stops.
  bool Settle() const;

  // The program's live Text blocks (test-hooks build only).
  std::optional<int64_t> LiveTextCount() const;

  // Top-level windows of the process with the given class, e.g. "#32770".
  std::vector<HWND> TopLevelWindows(std::wstring_view className) const;

  // The list of the material combo box, when it is open.
  HWND OpenList() const;
  // Opens the list with a click on the selection field.
  bool OpenListByClick() const;
  // Chooses item `index` by clicking it in the opened list, scrolling the
  // list with clicks on its scroll bar's arrows until it is in view.
  bool ChooseByClick(int index) const;
  // Chooses item `index` with the keys: F4 opens the list, Home and Down
  // walk to the item, Enter confirms.
  bool ChooseByKeys(int index) const;

  // Clicks into the length box, selects what it holds and types `text` over
  // it, then waits until the box shows exactly `text`.
  bool EnterLength(std::wstring_view text) const;
  // Clicks the convert button with the mouse. With an event log, waits until
  // the program has handled the click (its handler has run to its end) and
  // returns false if it does not in time; without one, returns true at once
  // and the caller waits for the results it expects.
  bool ClickConvert() const;
  // Waits until the tonnes and kilogram results read `tonnes` and
  // `kilograms`; false if they do not within the patience.
  bool WaitForResults(std::wstring_view tonnes, std::wstring_view kilograms) const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  bool started_ = false;
  std::wstring eventLogPath_;
  std::string failure_;
};

}  // namespace tarnolux::e2e

// Shared by the in-process tests of the window layer: MainWindow is built
// once for the whole test program (as the program's start-up builds it,
// without the event loop) and closed at the end; each test starts from the
// window's initial state.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/text.h"
#include "ui/events.h"

namespace tarnolux::testing {

// What start-up left behind before any test touched the window: the focused
// window and every event that reached delivery while the window was built
// and shown.
struct StartState {
  HWND focus;
  std::vector<std::pair<int, Delivery>> events;  // (control id or 0, outcome)
};
const StartState& StateAtStart();

// The GBK bytes of a UTF-8 literal (the tests are written in UTF-8).
std::string Gbk(std::u8string_view utf8);

// A control's window text as GBK bytes ("" when empty).
std::string WindowTextOf(int controlId);

// Takes a Text a read handed out: its bytes ("" for absent) and whether it
// was absent; releases it.
struct TakenText {
  bool absent;
  std::string bytes;
};
TakenText Take(Text text);

// Handles every waiting message as the event loop would.
void Pump();

// Puts the window back into its state at start: no selection, 编辑框1 empty
// and enabled, the captions and the tag of 标签3 as built, the focus on
// 组合框1, the event block count 0, no observer.
void ResetWindow();

// Records every event that reaches delivery while it lives.
class EventRecorder {
 public:
  struct Event {
    int controlId;
    int32_t eventNumber;
    Delivery delivery;
  };
  EventRecorder();
  ~EventRecorder();
  const std::vector<Event>& events() const;
  int Count(int controlId, Delivery delivery) const;
};

// Base fixture: resets the window before each test.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetWindow(); }
};

}  // namespace tarnolux::testing

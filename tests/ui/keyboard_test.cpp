#include "ui/keyboard.h"

#include <gtest/gtest.h>

#include "ui/build_window.h"
#include "ui/control_ids.h"
#include "ui/properties.h"
#include "ui/window_definition.h"
#include "ui_test_support.h"

namespace tarnolux {
namespace {

using testing::EventRecorder;
using testing::WindowTest;

using KeyboardTest = WindowTest;

// A key press as the loop takes it from the queue: to the focused window.
MSG KeyDown(WPARAM key) {
  MSG message{};
  message.hwnd = GetFocus();
  message.message = WM_KEYDOWN;
  message.wParam = key;
  message.lParam = 1;
  return message;
}

// Posts a key press and its release to the focused window and lets the loop's
// handling take them.
void Press(WPARAM key) {
  const HWND focus = GetFocus();
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
  testing::Pump();
}

bool TakeCloseRequest() {
  MSG message;
  return PeekMessageW(&message, MainWindowHandle(), WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
}

TEST_F(KeyboardTest, FocusOrderPutsTheLaterStoredFirst) {
  ControlState* order[kMainControlCount];
  ASSERT_EQ(FocusOrder(order, kMainControlCount), 3u);
  EXPECT_EQ(order[0]->definition->id, IDC_COMBO1);
  EXPECT_EQ(order[1]->definition->id, IDC_EDIT1);
  EXPECT_EQ(order[2]->definition->id, IDC_BUTTON1);
}

TEST_F(KeyboardTest, TabWalksTheFocusOrderBothWays) {
  const HWND list = ControlWindow(IDC_COMBO1);
  const HWND box = ControlWindow(IDC_EDIT1);
  const HWND button = ControlWindow(IDC_BUTTON1);
  ASSERT_EQ(GetFocus(), list);
  for (const HWND expected : {box, button, list}) {
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), expected);
  }
  for (const HWND expected : {button, box, list}) {
    MoveFocus(true);  // Shift+Tab
    EXPECT_EQ(GetFocus(), expected);
  }
}

TEST_F(KeyboardTest, WindowKeysAreUsedUpAndOthersPassOn) {
  struct Case {
    WPARAM key;
    bool used;
  };
  const Case kCases[] = {
      {VK_TAB, true}, {VK_F1, true}, {VK_RETURN, false}, {VK_SPACE, false}, {'A', false}};
  for (const Case& c : kCases) {
    SetFocus(ControlWindow(IDC_EDIT1));
    EXPECT_EQ(HandleWindowKey(KeyDown(c.key)), c.used) << c.key;
  }
  // Alt+key belongs to the system, except Alt+F4, which closes the window
  // also while the list (which keeps Alt keys to itself on Wine) has the focus.
  SetFocus(ControlWindow(IDC_COMBO1));
  MSG altKey = KeyDown('A');
  altKey.message = WM_SYSKEYDOWN;
  altKey.lParam |= LPARAM{1} << 29;
  EXPECT_FALSE(HandleWindowKey(altKey));
  altKey.wParam = VK_F4;
  EXPECT_TRUE(HandleWindowKey(altKey));
  MSG request;
  ASSERT_TRUE(PeekMessageW(&request, MainWindowHandle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(request.wParam, static_cast<WPARAM>(SC_CLOSE));
}

TEST_F(KeyboardTest, EscAsksTheWindowToCloseAlsoWithTheListOpen) {
  const HWND list = ControlWindow(IDC_COMBO1);
  EXPECT_TRUE(HandleWindowKey(KeyDown(VK_ESCAPE)));
  EXPECT_TRUE(TakeCloseRequest());

  SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_NE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0), 0);
  EventRecorder recorder;
  EXPECT_TRUE(HandleWindowKey(KeyDown(VK_ESCAPE)));
  EXPECT_EQ(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0), 0);
  EXPECT_TRUE(TakeCloseRequest());
  testing::Pump();
  EXPECT_EQ(recorder.Count(IDC_COMBO1, Delivery::kHandled), 0);  // closing is no choice
}

TEST_F(KeyboardTest, SpacePressesTheButtonAndEnterDoesNot) {
  SetFocus(ControlWindow(IDC_BUTTON1));
  EventRecorder recorder;
  Press(VK_RETURN);
  EXPECT_EQ(recorder.Count(IDC_BUTTON1, Delivery::kHandled), 0);
  SetFocus(ControlWindow(IDC_EDIT1));
  Press(VK_RETURN);
  EXPECT_EQ(recorder.Count(IDC_BUTTON1, Delivery::kHandled), 0);
  SetFocus(ControlWindow(IDC_BUTTON1));
  Press(VK_SPACE);
  EXPECT_EQ(recorder.Count(IDC_BUTTON1, Delivery::kHandled), 1);
}

TEST_F(KeyboardTest, ReactivationGivesTheFocusBack) {
  const HWND main = MainWindowHandle();
  SetFocus(ControlWindow(IDC_BUTTON1));
  SendMessageW(main, WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(main);  // lands on the window: it passes the focus on
  EXPECT_EQ(GetFocus(), ControlWindow(IDC_BUTTON1));
  SendMessageW(main, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), ControlWindow(IDC_BUTTON1));

  // A remembered control that can no longer take the focus gives way to the
  // first of the focus order.
  SetFocus(ControlWindow(IDC_EDIT1));
  SendMessageW(main, WM_ACTIVATE, WA_INACTIVE, 0);
  WriteDisabled(IDC_EDIT1, true);
  SendMessageW(main, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), ControlWindow(IDC_COMBO1));
}

}  // namespace
}  // namespace tarnolux

// The window's keyboard and the ways to end the program, with real key
// presses and mouse clicks.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "tests/e2e/driver.h"
#include "tests/e2e/expected.h"
#include "ui/control_ids.h"

namespace tarnolux::e2e {
namespace {

TEST(Keyboard, TabAndShiftTabWalkTheFocusOrder) {
  RunningProgram app;
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.WaitForFocus(IDC_COMBO1));
  for (int id : {IDC_EDIT1, IDC_BUTTON1, IDC_COMBO1}) {
    PressKey(VK_TAB);
    EXPECT_TRUE(app.WaitForFocus(id)) << "Tab should reach control " << id;
  }
  for (int id : {IDC_BUTTON1, IDC_EDIT1, IDC_COMBO1}) {
    PressKey(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(app.WaitForFocus(id)) << "Shift+Tab should reach control " << id;
  }
}

TEST(Keyboard, EnterDoesNotPressTheButtonAndSpaceDoes) {
  RunningProgram app(WithEventLog());
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.WaitForFocus(IDC_COMBO1));

  PressKey(VK_TAB);
  ASSERT_TRUE(app.WaitForFocus(IDC_EDIT1));
  PressKey(VK_RETURN);  // in the length box
  PressKey(VK_TAB);
  ASSERT_TRUE(app.WaitForFocus(IDC_BUTTON1));
  PressKey(VK_RETURN);  // on the button
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(app.CountEvents("OnConvertClicked"), 0);
  EXPECT_EQ(app.CountEvents("OnMaterialSelected"), 0);
  EXPECT_EQ(app.Caption(IDC_LABEL5), L"");
  EXPECT_TRUE(app.Running());

  PressKey(VK_SPACE);
  EXPECT_TRUE(app.WaitForResults(L"【 0 】吨", L"【 0 】KG"));
  EXPECT_EQ(app.CountEvents("OnConvertClicked"), 1);
}

// Clicks the close box, found where the frame answers HTCLOSE on the title
// bar's middle row.
void ClickCloseBox(const RunningProgram& app) {
  RECT outer{};
  GetWindowRect(app.window(), &outer);
  RECT client{};
  GetClientRect(app.window(), &client);
  POINT clientOrigin{0, 0};
  ClientToScreen(app.window(), &clientOrigin);
  const int titleRow = (outer.top + clientOrigin.y) / 2;
  for (int x = outer.right - 1; x > outer.left; --x) {
    if (Ask(app.window(), WM_NCHITTEST, 0, MAKELPARAM(x, titleRow), 0) == HTCLOSE) {
      Click({x - 3, titleRow});  // inside the box, not on its edge
      return;
    }
  }
  ADD_FAILURE() << "no close box on the title bar";
}

void OpenListAndPressEscape(const RunningProgram& app) {
  ASSERT_TRUE(app.OpenListByClick());
  PressKey(VK_ESCAPE);
}

// Alt+Space opens the system menu; C is the mnemonic of its Close item (in
// the English and the Chinese menu alike; Wine adds items after Close, so the
// item cannot be reached by position).
void CloseThroughSystemMenu(const RunningProgram& app) {
  PressKey(VK_SPACE, {VK_MENU});
  ASSERT_TRUE(WaitUntil([&] { return !app.TopLevelWindows(L"#32768").empty(); }))
      << "no system menu";
  PressKey('C');
}

struct CloseCase {
  const char* name;
  std::function<void(const RunningProgram&)> close;
};

TEST(Keyboard, EveryWayToCloseEndsWithExitCodeZero) {
  const CloseCase cases[] = {
      {"Esc", [](const RunningProgram&) { PressKey(VK_ESCAPE); }},
      {"Esc while the list is open", OpenListAndPressEscape},
      {"Alt+F4", [](const RunningProgram&) { PressKey(VK_F4, {VK_MENU}); }},
      {"close box", ClickCloseBox},
      {"system menu", CloseThroughSystemMenu},
  };
  for (const auto& closeCase : cases) {
    SCOPED_TRACE(closeCase.name);
    RunningProgram app(WithEventLog());
    ASSERT_TRUE(app.started()) << app.failure();
    ASSERT_TRUE(app.WaitForFocus(IDC_COMBO1));
    closeCase.close(app);
    const auto exitCode = app.WaitForExit();
    ASSERT_TRUE(exitCode.has_value())
        << "still running; foreground " << GetForegroundWindow() << ", window " << app.window()
        << ", focus " << app.FocusedWindow();
    EXPECT_EQ(*exitCode, 0u);
    EXPECT_EQ(app.CountEvents("OnProgramExit"), 1) << "the exit routine runs once on a normal end";
    EXPECT_EQ(app.CountEvents("OnMaterialSelected"), 0);
    EXPECT_EQ(app.CountEvents("OnConvertClicked"), 0);
  }
}

}  // namespace
}  // namespace tarnolux::e2e

// The fatal error report and the program's resources over many conversions,
// with the test-hooks build of the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/expected.h"
#include "ui/control_ids.h"

namespace tarnolux::e2e {
namespace {

// The error box of the program: a dialog with the caption 错误 and no owner.
HWND FindErrorBox(const RunningProgram& app) {
  for (HWND box : app.TopLevelWindows(L"#32770")) {
    if (ReadText(box) == kErrorCaption) return box;
  }
  return nullptr;
}

// A point of `window` on the screen that no other window covers.
std::optional<POINT> UncoveredPoint(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  for (LONG y = rect.top + 4; y < rect.bottom - 4; y += 4) {
    const POINT point{(rect.left + rect.right) / 2, y};
    if (WindowFromPoint(point) == window) return point;
  }
  return std::nullopt;
}

struct BoxChildren {
  std::wstring text;     // the static control that holds the message
  bool hasIcon = false;  // a static control showing an icon
  HWND okButton = nullptr;
  int buttons = 0;
};

BoxChildren ReadBox(HWND box) {
  BoxChildren children;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::wstring className = ClassName(child);
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (_wcsicmp(className.c_str(), L"Static") == 0) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        children.hasIcon = true;
      } else if (!ReadText(child).empty()) {
        children.text = ReadText(child);
      }
    } else if (_wcsicmp(className.c_str(), L"Button") == 0 && IsWindowVisible(child)) {
      ++children.buttons;
      if (GetDlgCtrlID(child) == IDOK) children.okButton = child;
    }
  }
  return children;
}

struct FatalCase {
  const char* name;
  int failingSize;
  const wchar_t* length;  // typed before the click; empty for none
  const wchar_t* message;
  bool okByKey;  // Enter on the box, else a click on OK
};

// Before any choice a click builds "【 0 】吨", 9 bytes and a NUL: the first
// 10-byte block the program asks for. A typed length of 30 characters is read
// into a 31-byte block at the start of the click.
const FatalCase kFatalCases[] = {
    {"result text", 10, L"", L"运行时出错!\r\n\r\n错误信息：分配 10 字节内存失败!\r\n", false},
    {"length read", 31, L"000000000000000000000000000006",
     L"运行时出错!\r\n\r\n错误信息：分配 31 字节内存失败!\r\n", true},
};

TEST(Fatal, FailedAllocationShowsTheErrorBoxAndEndsWithMinusOne) {
  for (const auto& fatal : kFatalCases) {
    SCOPED_TRACE(fatal.name);
    LaunchOptions options = WithEventLog();
    options.failAllocationSize = fatal.failingSize;
    RunningProgram app(options);
    ASSERT_TRUE(app.started()) << app.failure();
    if (*fatal.length) {
      ASSERT_TRUE(app.EnterLength(fatal.length));
    }
    app.ClickConvert();

    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindErrorBox(app)) != nullptr; })) << "no error box";
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the box has no owner window";
    const BoxChildren children = ReadBox(box);
    EXPECT_EQ(children.text, fatal.message);
    EXPECT_TRUE(children.hasIcon) << "the box shows the error icon";
    EXPECT_EQ(children.buttons, 1) << "a single OK button";
    ASSERT_NE(children.okButton, nullptr);

    // While the box is open no handler runs, whatever is clicked. The box
    // stands over the middle of the window; the click goes to a part of the
    // button that it leaves uncovered. The press is seen to arrive when the
    // button takes the focus and to end when its pushed look goes; the click
    // notification is sent inside that release, so a message sent afterwards
    // comes back only when it has been handled.
    const int clicksBefore = app.CountEvents("OnConvertClicked");
    HWND button = app.control(IDC_BUTTON1);
    const auto uncovered = UncoveredPoint(button);
    ASSERT_TRUE(uncovered.has_value()) << "the error box covers the whole button";
    Click(*uncovered);
    EXPECT_TRUE(app.WaitForFocus(IDC_BUTTON1));
    EXPECT_TRUE(WaitUntil([&] { return !(Ask(button, BM_GETSTATE, 0, 0, 0) & BST_PUSHED); }));
    Ask(app.window(), WM_NULL);
    EXPECT_EQ(app.CountEvents("OnConvertClicked"), clicksBefore);
    ASSERT_TRUE(IsWindow(box));

    // The click on the window brought it in front of the box, as it would
    // for a person, who then brings the box back (taskbar, Alt+Tab) before
    // answering it.
    SetForegroundWindow(box);
    ASSERT_TRUE(WaitUntil([&] {
      return GetForegroundWindow() == box &&
             WindowFromPoint(CentreOf(children.okButton)) == children.okButton;
    })) << "the error box does not come back to the front";
    if (fatal.okByKey) {
      PressKey(VK_RETURN);
    } else {
      ClickWindow(children.okButton);
    }
    const auto exitCode = app.WaitForExit();
    ASSERT_TRUE(exitCode.has_value()) << "still running after OK";
    EXPECT_EQ(*exitCode, 0xFFFFFFFFu);
    EXPECT_EQ(app.CountEvents("OnProgramExit"), 0)
        << "the exit routine does not run after a fatal report";
  }
}

TEST(Resources, ThousandConversionsLeaveNoTextsOrObjectsBehind) {
  RunningProgram app(WithEventLog());
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.WaitForFocus(IDC_COMBO1));

  const auto textsBefore = app.LiveTextCount();
  ASSERT_TRUE(textsBefore.has_value()) << "the window does not answer the live-text message";
  const DWORD gdiBefore = GetGuiResources(app.process(), GR_GDIOBJECTS);
  const DWORD userBefore = GetGuiResources(app.process(), GR_USEROBJECTS);

  constexpr int kConversions = 1000;
  constexpr int kBatch = 20;
  const auto start = std::chrono::steady_clock::now();
  for (int first = 0; first < kConversions; first += kBatch) {
    std::vector<INPUT> events;
    for (int cycle = first; cycle < first + kBatch; ++cycle)
      AppendKeyboardConversion(events, cycle, L"6");
    SendEvents(events);
    ASSERT_TRUE(WaitUntil([&] { return app.CountEvents("OnConvertClicked") == first + kBatch; },
                          std::chrono::seconds(60)))
        << "after " << first << " conversions: " << app.CountEvents("OnConvertClicked")
        << " clicks, " << app.CountEvents("OnMaterialSelected") << " selections";
    ASSERT_TRUE(app.WaitForFocus(IDC_COMBO1));
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%d conversions through the window in %.1f s\n", kConversions, seconds);

  EXPECT_EQ(app.CountEvents("OnMaterialSelected"), kConversions);
  // The last cycle moved down to the second item, DN20 at 1.76 kg/m.
  EXPECT_EQ(app.Caption(IDC_LABEL3), kCatalogue[1].specLine);
  EXPECT_TRUE(app.WaitForResults(L"【 0.01 】吨", L"【 10.56 】KG"));

  const auto textsAfter = app.LiveTextCount();
  ASSERT_TRUE(textsAfter.has_value());
  EXPECT_EQ(*textsAfter, *textsBefore) << "Text blocks leaked";
  std::printf("live Text blocks: %lld before, %lld after\n", static_cast<long long>(*textsBefore),
              static_cast<long long>(*textsAfter));

  const DWORD gdiAfter = GetGuiResources(app.process(), GR_GDIOBJECTS);
  const DWORD userAfter = GetGuiResources(app.process(), GR_USEROBJECTS);
  std::printf("GDI objects: %lu before, %lu after; USER objects: %lu before, %lu after\n",
              gdiBefore, gdiAfter, userBefore, userAfter);
  if (gdiBefore == 0 && userBefore == 0 && gdiAfter == 0 && userAfter == 0) {
    std::printf(
        "note: GetGuiResources answers 0 here (Wine does not count GDI/USER objects); "
        "object leaks cannot be checked on this platform\n");
  } else {
    EXPECT_EQ(gdiAfter, gdiBefore) << "GDI objects leaked";
    EXPECT_EQ(userAfter, userBefore) << "USER objects leaked";
  }
}

}  // namespace
}  // namespace tarnolux::e2e

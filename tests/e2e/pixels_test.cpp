// What reaches the screen: the window's pixels, captured from the screen as
// a person sees them.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "tests/e2e/driver.h"
#include "tests/e2e/expected.h"
#include "ui/control_ids.h"

namespace tarnolux::e2e {
namespace {

RECT ScreenRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// Points of the client area that no control covers.
constexpr POINT kBarePoints[] = {{5, 5}, {295, 100}, {10, 180}, {150, 62}};

int CountPixels(const Screenshot& shot, const RECT& area,
                const std::function<bool(COLORREF)>& wanted) {
  int count = 0;
  for (LONG y = area.top; y < area.bottom; ++y) {
    for (LONG x = area.left; x < area.right; ++x) {
      if (wanted(shot.At({x, y}))) ++count;
    }
  }
  return count;
}

bool IsRed(COLORREF colour) {
  return GetRValue(colour) > 200 && GetGValue(colour) < 80 && GetBValue(colour) < 80;
}

TEST(Pixels, BackgroundEdgesAndCaptionsOnTheScreen) {
  RunningProgram app;
  ASSERT_TRUE(app.started()) << app.failure();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  HWND label3 = app.control(IDC_LABEL3);
  const RECT label3Rect = ScreenRectOf(label3);
  RECT captionArea = label3Rect;
  InflateRect(&captionArea, -3, -3);

  // The first paint may come a moment after the window is shown; until then
  // the screen shows what lay below. Waits for the background and the
  // caption of label 3, then checks what the last capture shows.
  auto onScreen = [&](POINT clientPoint) {
    ClientToScreen(app.window(), &clientPoint);
    return clientPoint;
  };
  auto isDark = [&](COLORREF colour) { return Luminance(colour) < Luminance(face) - 60; };
  Screenshot shot;
  WaitUntil([&] {
    shot = Capture(ScreenRectOf(app.window()));
    for (POINT point : kBarePoints) {
      if (shot.At(onScreen(point)) != face) return false;
    }
    return CountPixels(shot, captionArea, isDark) > 30;
  });
  EXPECT_GT(CountPixels(shot, captionArea, isDark), 30) << "no dark caption pixels inside label 3";
  for (POINT point : kBarePoints) {
    SCOPED_TRACE(testing::Message() << "client point " << point.x << "," << point.y);
    EXPECT_EQ(shot.At(onScreen(point)), face);
  }

  // A sunken edge: darker than the face along the top and left, not along
  // the bottom and right (a plain line frame would be dark all round).
  const LONG middleX = (label3Rect.left + label3Rect.right) / 2;
  const LONG middleY = (label3Rect.top + label3Rect.bottom) / 2;
  EXPECT_LT(Luminance(shot.At({middleX, label3Rect.top})), Luminance(face));
  EXPECT_LT(Luminance(shot.At({label3Rect.left, middleY})), Luminance(face));
  EXPECT_GE(Luminance(shot.At({middleX, label3Rect.bottom - 1})), Luminance(face));
  EXPECT_GE(Luminance(shot.At({label3Rect.right - 1, middleY})), Luminance(face));
}

TEST(Pixels, ResultsShowInRedInsideThinFrames) {
  RunningProgram app;
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.ChooseByClick(kAngle40x4));
  ASSERT_TRUE(app.EnterLength(L"6"));
  app.ClickConvert();
  ASSERT_TRUE(app.WaitForResults(L"【 0.01 】吨", L"【 14.51 】KG"));

  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (int id : {IDC_LABEL5, IDC_LABEL1}) {
    SCOPED_TRACE(id);
    const RECT rect = ScreenRectOf(app.control(id));
    RECT inside = rect;
    InflateRect(&inside, -1, -1);
    Screenshot shot;
    EXPECT_TRUE(WaitUntil([&] {
      shot = Capture(rect);
      return CountPixels(shot, inside, IsRed) > 40;
    })) << "the result is not painted in red";
    // A thin line frame: dark on all four sides.
    const LONG middleX = (rect.left + rect.right) / 2;
    const LONG middleY = (rect.top + rect.bottom) / 2;
    for (POINT edge : {POINT{middleX, rect.top}, POINT{middleX, rect.bottom - 1},
                       POINT{rect.left, middleY}, POINT{rect.right - 1, middleY}}) {
      EXPECT_LT(Luminance(shot.At(edge)), Luminance(face))
          << "frame pixel at " << edge.x << "," << edge.y;
    }
  }
}

}  // namespace
}  // namespace tarnolux::e2e

#include "ui/events.h"

#include <gtest/gtest.h>

#include "ui/build_window.h"
#include "ui/control_ids.h"
#include "ui/properties.h"
#include "ui/window_definition.h"
#include "ui_test_support.h"

namespace tarnolux {
namespace {

using testing::EventRecorder;
using testing::Gbk;
using testing::WindowTest;
using testing::WindowTextOf;

using EventTest = WindowTest;

void Notify(int id, int code) {
  SendMessageW(MainWindowHandle(), WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(ControlWindow(id)));
}

TEST_F(EventTest, ClickRunsTheConvertHandlerAtOnce) {
  WriteTag(IDC_LABEL3, "1.357");
  WriteContent(IDC_EDIT1, "10");
  EventRecorder recorder;
  SendMessageW(ControlWindow(IDC_BUTTON1), BM_CLICK, 0, 0);
  // Inside the notification: done before any message is pumped.
  EXPECT_EQ(recorder.Count(IDC_BUTTON1, Delivery::kHandled), 1);
  EXPECT_EQ(WindowTextOf(IDC_LABEL1), Gbk(u8"【 13.57 】KG"));
}

TEST_F(EventTest, ConfirmedChoiceIsQueuedAndRunsFromTheLoop) {
  const HWND list = ControlWindow(IDC_COMBO1);
  EventRecorder recorder;
  SendMessageW(list, CB_SETCURSEL, 18, 0);  // the program's own change raises nothing
  Notify(IDC_COMBO1, CBN_SELCHANGE);        // nor does the plain change
  Notify(IDC_COMBO1, CBN_SELENDCANCEL);     // nor the cancel
  testing::Pump();
  EXPECT_TRUE(recorder.events().empty());

  Notify(IDC_COMBO1, CBN_SELENDOK);
  EXPECT_TRUE(recorder.events().empty());  // queued, not run inside the notification
  EXPECT_EQ(WindowTextOf(IDC_LABEL3), Gbk(u8"换算公式介绍,请选择好要转换的物料种类!"));
  testing::Pump();
  EXPECT_EQ(recorder.Count(IDC_COMBO1, Delivery::kHandled), 1);
  EXPECT_EQ(WindowTextOf(IDC_LABEL3), Gbk(u8"∠40x4 \\ ∠40x40x4 \\ 2.419kg/m"));

  // The same item confirmed again runs the handler again.
  Notify(IDC_COMBO1, CBN_SELENDOK);
  testing::Pump();
  EXPECT_EQ(recorder.Count(IDC_COMBO1, Delivery::kHandled), 2);
}

TEST_F(EventTest, TypingIsAnUnboundEvent) {
  EventRecorder recorder;
  SendMessageW(ControlWindow(IDC_EDIT1), WM_CHAR, L'7', 0);
  EXPECT_EQ(WindowTextOf(IDC_EDIT1), "7");
  EXPECT_GE(recorder.Count(IDC_EDIT1, Delivery::kUnbound), 1);
  EXPECT_EQ(recorder.events().size(),
            static_cast<size_t>(recorder.Count(IDC_EDIT1, Delivery::kUnbound)));
}

TEST_F(EventTest, BlockedEventsAreDroppedNotKept) {
  WriteTag(IDC_LABEL3, "1.357");
  WriteContent(IDC_EDIT1, "10");
  EventRecorder recorder;
  RaiseEventBlock();
  SendMessageW(ControlWindow(IDC_BUTTON1), BM_CLICK, 0, 0);
  SendMessageW(ControlWindow(IDC_COMBO1), CB_SETCURSEL, 3, 0);
  Notify(IDC_COMBO1, CBN_SELENDOK);
  testing::Pump();
  EXPECT_EQ(recorder.Count(IDC_BUTTON1, Delivery::kBlocked), 1);
  EXPECT_EQ(recorder.Count(IDC_COMBO1, Delivery::kBlocked), 1);
  LowerEventBlock();
  testing::Pump();
  EXPECT_EQ(recorder.Count(IDC_BUTTON1, Delivery::kHandled), 0);
  EXPECT_EQ(recorder.Count(IDC_COMBO1, Delivery::kHandled), 0);
  EXPECT_EQ(WindowTextOf(IDC_LABEL1), "");
}

TEST_F(EventTest, CommandsFromElsewhereAreNoEvents) {
  EventRecorder recorder;
  // A menu-style command (no sender) and a notification naming a window that
  // is not the control with that id.
  SendMessageW(MainWindowHandle(), WM_COMMAND, MAKEWPARAM(IDC_BUTTON1, BN_CLICKED), 0);
  SendMessageW(MainWindowHandle(), WM_COMMAND, MAKEWPARAM(IDC_BUTTON1, BN_CLICKED),
               reinterpret_cast<LPARAM>(ControlWindow(IDC_LABEL2)));
  testing::Pump();
  EXPECT_TRUE(recorder.events().empty());
}

TEST_F(EventTest, WindowEventsAreUnbound) {
  EventRecorder recorder;
  for (const int32_t event : {kWindowCreatedEvent, kWindowMovedEvent, kWindowResizedEvent}) {
    EXPECT_EQ(DeliverWindowEvent(event), Delivery::kUnbound);
  }
  EXPECT_EQ(recorder.Count(0, Delivery::kUnbound), 3);
}

}  // namespace
}  // namespace tarnolux

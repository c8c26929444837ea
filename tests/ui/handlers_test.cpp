#include "ui/handlers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "ui/build_window.h"
#include "ui/control_ids.h"
#include "ui/gbk.h"
#include "ui/keyboard.h"
#include "ui/properties.h"
#include "ui_test_support.h"

namespace tarnolux {
namespace {

using testing::Gbk;
using testing::Take;
using testing::WindowTest;
using testing::WindowTextOf;

using HandlerTest = WindowTest;

// Chooses list row `index` as the program would see it: the selection set
// (which raises nothing by itself), then the handler.
void Select(int index) {
  SendMessageW(ControlWindow(IDC_COMBO1), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  OnMaterialSelected();
}

// Types a length into the box as the user would leave it.
void TypeLength(const std::string& gbk) {
  const WideBuffer wide = GbkToWide(gbk.c_str());
  SetWindowTextW(ControlWindow(IDC_EDIT1), wide.get());
}

TEST_F(HandlerTest, SelectionShowsTheEntryAndClearsLengthAndResults) {
  WriteCaption(IDC_LABEL5, "x");
  WriteCaption(IDC_LABEL1, "y");
  TypeLength("6");
  Select(29);  // 镀锌扁钢-40x4, whose line names a -4x4 bar
  EXPECT_EQ(WindowTextOf(IDC_LABEL3), Gbk(u8"镀锌扁钢-4x4 \\ 8kg/6m(每根)"));
  EXPECT_EQ(Take(ReadTag(IDC_LABEL3)).bytes, "1.33");
  EXPECT_EQ(WindowTextOf(IDC_EDIT1), "");
  EXPECT_TRUE(IsWindowEnabled(ControlWindow(IDC_EDIT1)));
  EXPECT_EQ(WindowTextOf(IDC_LABEL5), "");
  EXPECT_EQ(WindowTextOf(IDC_LABEL1), "");

  TypeLength("6");
  OnConvertClicked();
  EXPECT_EQ(WindowTextOf(IDC_LABEL5), Gbk(u8"【 0.01 】吨"));
  EXPECT_EQ(WindowTextOf(IDC_LABEL1), Gbk(u8"【 7.98 】KG"));

  // The item already shown, chosen again: length and results emptied again.
  Select(29);
  EXPECT_EQ(WindowTextOf(IDC_EDIT1), "");
  EXPECT_EQ(WindowTextOf(IDC_LABEL5), "");
  EXPECT_EQ(WindowTextOf(IDC_LABEL1), "");
}

TEST_F(HandlerTest, EveryRowShowsItsOwnLineAndWeight) {
  int row = 0;
  for (const MaterialEntry& entry : MaterialCatalogue()) {
    Select(row);
    EXPECT_EQ(WindowTextOf(IDC_LABEL3), entry.specLine) << row;
    EXPECT_EQ(Take(ReadTag(IDC_LABEL3)).bytes, entry.unitWeightText) << row;
    ++row;
  }
}

TEST_F(HandlerTest, NoSelectionDisablesTheLengthAndWarns) {
  Select(11);  // 镀锌焊管DN200: the tag now holds 36.12
  TypeLength("5");
  WriteCaption(IDC_LABEL1, "old");
  Select(-1);
  EXPECT_EQ(WindowTextOf(IDC_LABEL3), Gbk(u8"物料数据不详,已禁止输入!"));
  EXPECT_EQ(WindowTextOf(IDC_LABEL5), Gbk(u8"警告!数据读取失败"));
  EXPECT_EQ(WindowTextOf(IDC_LABEL1), "");
  EXPECT_EQ(WindowTextOf(IDC_EDIT1), "");
  EXPECT_FALSE(IsWindowEnabled(ControlWindow(IDC_EDIT1)));
  EXPECT_EQ(Take(ReadTag(IDC_LABEL3)).bytes, "36.12");  // kept

  // Tab goes from the list straight to the button, and back.
  SetFocus(ControlWindow(IDC_COMBO1));
  MoveFocus(false);
  EXPECT_EQ(GetFocus(), ControlWindow(IDC_BUTTON1));
  MoveFocus(true);
  EXPECT_EQ(GetFocus(), ControlWindow(IDC_COMBO1));

  // A click converts the empty length: zero takes the warning's place.
  OnConvertClicked();
  EXPECT_EQ(WindowTextOf(IDC_LABEL5), Gbk(u8"【 0 】吨"));
  EXPECT_EQ(WindowTextOf(IDC_LABEL1), Gbk(u8"【 0 】KG"));

  // Choosing an item makes the box usable again.
  Select(0);
  EXPECT_TRUE(IsWindowEnabled(ControlWindow(IDC_EDIT1)));
  EXPECT_EQ(WindowTextOf(IDC_LABEL3), Gbk(u8"DN15 \\ 1/2寸 \\ φ21.3 \\ 8.14kg/6m(每根)"));
}

TEST_F(HandlerTest, ConversionsShowTonnesAndKilograms) {
  struct Case {
    const char* length;
    const char* unitWeight;
    const char* tonnes;
    const char* kilograms;
  };
  const Case kCases[] = {
      {"10", "1.357", "0.01", "13.57"},
      {"6", "36.12", "0.22", "216.72"},
      {"1000", "1.357", "1.36", "1357"},
      {"6", "15.942", "0.1", "95.65"},
      {"6", "1.33", "0.01", "7.98"},
      {"2.5", "0.887", "0", "2.22"},
      {"34.1915", "36.12", "1.23", "1235"},
      {"832.05", "4.1", "3.41", "3411.41"},
      {"1480.5", "11.53", "17.07", "17070.17"},
      {"653.875", "36.12", "23.62", "23617.96"},
      {"", "1.357", "0", "0"},
      {"235", "1.357", "0.32", "318.89"},
      {"6", "", "0", "0"},  // no material chosen yet: empty tag
  };
  for (const Case& c : kCases) {
    WriteTag(IDC_LABEL3, c.unitWeight);
    TypeLength(c.length);
    OnConvertClicked();
    EXPECT_EQ(WindowTextOf(IDC_LABEL5), Gbk(u8"【 ") + c.tonnes + Gbk(u8" 】吨")) << c.length;
    EXPECT_EQ(WindowTextOf(IDC_LABEL1), Gbk(u8"【 ") + c.kilograms + Gbk(u8" 】KG")) << c.length;
    // The handler leaves its inputs as they were.
    EXPECT_EQ(WindowTextOf(IDC_EDIT1), c.length);
  }
}

std::vector<HWND> g_captions_set;
LRESULT CALLBACK RecordSetText(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && message->message == WM_SETTEXT) g_captions_set.push_back(message->hwnd);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(HandlerTest, TonnesAreWrittenBeforeKilograms) {
  Select(0);
  TypeLength("10");
  g_captions_set.clear();
  const HHOOK hook =
      SetWindowsHookExW(WH_CALLWNDPROC, &RecordSetText, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  OnConvertClicked();
  UnhookWindowsHookEx(hook);
  const std::vector<HWND> expected = {ControlWindow(IDC_LABEL5), ControlWindow(IDC_LABEL1)};
  EXPECT_EQ(g_captions_set, expected);
}

TEST_F(HandlerTest, ThousandConversionsLeakNothing) {
  const int64_t texts = LiveTextCount();
  const DWORD gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const DWORD userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  const HWND button = ControlWindow(IDC_BUTTON1);
  for (int i = 0; i < 1000; ++i) {
    Select(i % kMaterialCount);
    if (i % 2 == 0) {
      WriteContent(IDC_EDIT1, std::to_string(i).c_str());
    } else {
      SetWindowTextW(ControlWindow(IDC_EDIT1), std::to_wstring(i * 7).c_str());
    }
    SendMessageW(button, BM_CLICK, 0, 0);  // through the click notification
    if (i % 100 == 0) testing::Pump();     // and now and then a repaint
  }
  testing::Pump();
  EXPECT_NE(WindowTextOf(IDC_LABEL1), "");
  EXPECT_EQ(LiveTextCount(), texts);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiObjects);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userObjects);
  std::printf("GDI objects %lu -> %lu, USER objects %lu -> %lu\n", gdiObjects,
              GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), userObjects,
              GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}

}  // namespace
}  // namespace tarnolux

#include "ui/properties.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/build_window.h"
#include "ui/control_ids.h"
#include "ui/window_definition.h"
#include "ui_test_support.h"

namespace tarnolux {
namespace {

using testing::EventRecorder;
using testing::Gbk;
using testing::Take;
using testing::WindowTest;

using PropertyTest = WindowTest;

TEST_F(PropertyTest, TagRoundTripsThroughTheDefinitionCopy) {
  EXPECT_TRUE(Take(ReadTag(IDC_LABEL3)).absent);  // empty at start

  char* written = AllocateText(6);
  std::memcpy(written, "2.419", 6);
  WriteTag(IDC_LABEL3, written);
  ReleaseText(written);  // the tag is a copy: the writer's text may go
  const Text first = ReadTag(IDC_LABEL3);
  const Text second = ReadTag(IDC_LABEL3);
  EXPECT_STREQ(first, "2.419");
  EXPECT_NE(first, second);  // each read is a fresh copy
  ReleaseText(first);
  ReleaseText(second);

  // A tag is never shown, and writing the empty text empties it.
  EXPECT_EQ(testing::WindowTextOf(IDC_LABEL3), Gbk(u8"换算公式介绍,请选择好要转换的物料种类!"));
  WriteTag(IDC_LABEL3, "");
  EXPECT_TRUE(Take(ReadTag(IDC_LABEL3)).absent);
}

TEST_F(PropertyTest, TagMayBeRewrittenWithItsOwnText) {
  WriteTag(IDC_LABEL3, "1.33");
  const Text stored = FindControl(IDC_LABEL3)->tag;
  ASSERT_STREQ(stored, "1.33");
  WriteTag(IDC_LABEL3, stored);
  EXPECT_EQ(Take(ReadTag(IDC_LABEL3)).bytes, "1.33");
}

TEST_F(PropertyTest, ItemTextsInsideAndOutsideTheList) {
  struct Case {
    int32_t index;
    bool absent;
    std::string text;
  };
  const Case kCases[] = {
      {-1, true, ""},
      {0, false, Gbk(u8"镀锌焊管DN15")},
      {18, false, Gbk(u8"普通角钢∠40x4")},
      {30, false, Gbk(u8"镀锌圆钢φ10")},
      {31, true, ""},
      {INT32_MIN, true, ""},
      {INT32_MAX, true, ""},
  };
  for (const Case& c : kCases) {
    const testing::TakenText item = Take(ReadItemText(IDC_COMBO1, c.index));
    EXPECT_EQ(item.absent, c.absent) << c.index;
    EXPECT_EQ(item.bytes, c.text) << c.index;
  }
}

TEST_F(PropertyTest, SelectedIndexFollowsTheList) {
  EXPECT_EQ(ReadSelectedIndex(IDC_COMBO1), -1);
  SendMessageW(ControlWindow(IDC_COMBO1), CB_SETCURSEL, 30, 0);
  EXPECT_EQ(ReadSelectedIndex(IDC_COMBO1), 30);
}

TEST_F(PropertyTest, ContentReadsWhatTheBoxShows) {
  const HWND box = ControlWindow(IDC_EDIT1);
  struct Case {
    const wchar_t* typed;
    bool absent;
    std::string read;
  };
  const Case kCases[] = {
      {L"", true, ""},
      {L"6.5", false, "6.5"},
      {L" -1..2e3abc ", false, " -1..2e3abc "},  // accepted unchanged
      {L"\uFF11\uFF12", false, Gbk(u8"１２")},   // full-width digits
      {L"1\U0001F600", false, "1?"},             // emoji: one "?"
      {L"\xD800"
       L"5",
       false, "?5"},  // lone surrogate
  };
  for (const Case& c : kCases) {
    SetWindowTextW(box, c.typed);
    const testing::TakenText content = Take(ReadContent(IDC_EDIT1));
    EXPECT_EQ(content.absent, c.absent);
    EXPECT_EQ(content.bytes, c.read);
  }
  // Also while the box is disabled.
  SetWindowTextW(box, L"12");
  WriteDisabled(IDC_EDIT1, true);
  EXPECT_EQ(Take(ReadContent(IDC_EDIT1)).bytes, "12");
}

TEST_F(PropertyTest, LongContentReadsBackWhole) {
  std::wstring typed(100'001, L'7');
  typed[50'000] = L'\u5428';  // 吨 in the middle: two bytes
  SetWindowTextW(ControlWindow(IDC_EDIT1), typed.c_str());
  const testing::TakenText content = Take(ReadContent(IDC_EDIT1));
  ASSERT_EQ(content.bytes.size(), 100'002u);
  EXPECT_EQ(content.bytes.substr(49'999, 4),
            "7\xB6\xD6"
            "7");
  EXPECT_EQ(content.bytes.find_first_not_of("7\xB6\xD6"), std::string::npos);
}

TEST_F(PropertyTest, WriteContentRaisesOneUnboundChange) {
  for (const char* text : std::initializer_list<const char*>{"6", "", nullptr, "\xB6\xD6"}) {
    EventRecorder recorder;
    WriteContent(IDC_EDIT1, text);
    ASSERT_EQ(recorder.events().size(), 1u) << (text ? text : "absent");
    EXPECT_EQ(recorder.events()[0].controlId, IDC_EDIT1);
    EXPECT_EQ(recorder.events()[0].eventNumber, kContentChangedEvent);
    EXPECT_EQ(recorder.events()[0].delivery, Delivery::kUnbound);
    EXPECT_EQ(testing::WindowTextOf(IDC_EDIT1), text != nullptr ? text : "");
  }
  // No handler ran: the results and the description are untouched.
  EXPECT_EQ(testing::WindowTextOf(IDC_LABEL5), "");
  EXPECT_EQ(testing::WindowTextOf(IDC_LABEL3), Gbk(u8"换算公式介绍,请选择好要转换的物料种类!"));
}

TEST_F(PropertyTest, DisabledFlagLivesInTheCopyAndTheControl) {
  const HWND box = ControlWindow(IDC_EDIT1);
  WriteDisabled(IDC_EDIT1, true);
  EXPECT_TRUE(FindControl(IDC_EDIT1)->disabled);
  EXPECT_FALSE(IsWindowEnabled(box));
  WriteDisabled(IDC_EDIT1, true);  // again: nothing changes
  EXPECT_FALSE(IsWindowEnabled(box));
  WriteDisabled(IDC_EDIT1, false);
  EXPECT_FALSE(FindControl(IDC_EDIT1)->disabled);
  EXPECT_TRUE(IsWindowEnabled(box));
}

TEST_F(PropertyTest, CaptionShowsAtTheNextPaintAndRaisesNothing) {
  const HWND tonnes = ControlWindow(IDC_LABEL5);
  const HWND kilograms = ControlWindow(IDC_LABEL1);
  UpdateWindow(MainWindowHandle());
  ValidateRect(tonnes, nullptr);
  ValidateRect(kilograms, nullptr);
  EventRecorder recorder;
  WriteCaption(IDC_LABEL5, Gbk(u8"【 0.01 】吨").c_str());
  WriteCaption(IDC_LABEL1, Gbk(u8"【 13.57 】KG").c_str());
  EXPECT_TRUE(recorder.events().empty());
  // Both wait for the next paint, which comes when the loop runs again.
  EXPECT_TRUE(GetUpdateRect(tonnes, nullptr, FALSE));
  EXPECT_TRUE(GetUpdateRect(kilograms, nullptr, FALSE));
  EXPECT_EQ(testing::WindowTextOf(IDC_LABEL5), Gbk(u8"【 0.01 】吨"));
  EXPECT_EQ(testing::WindowTextOf(IDC_LABEL1), Gbk(u8"【 13.57 】KG"));
  testing::Pump();
  EXPECT_FALSE(GetUpdateRect(tonnes, nullptr, FALSE));
  WriteCaption(IDC_LABEL5, nullptr);
  EXPECT_EQ(testing::WindowTextOf(IDC_LABEL5), "");
}

TEST_F(PropertyTest, ReadsHandOutTextsTheCallerReleases) {
  const int64_t live = LiveTextCount();
  WriteContent(IDC_EDIT1, "12.5");
  WriteTag(IDC_LABEL3, "1.357");  // kept by the definition copy, not a live Text
  const Text content = ReadContent(IDC_EDIT1);
  const Text tag = ReadTag(IDC_LABEL3);
  const Text item = ReadItemText(IDC_COMBO1, 0);
  EXPECT_EQ(LiveTextCount(), live + 3);
  ReleaseText(content);
  ReleaseText(tag);
  ReleaseText(item);
  EXPECT_EQ(LiveTextCount(), live);
}

}  // namespace
}  // namespace tarnolux

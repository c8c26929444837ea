// The two handlers seen from outside: choosing a material, typing a length
// and clicking the button, all with real input, and what the window shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/expected.h"
#include "ui/control_ids.h"

namespace tarnolux::e2e {
namespace {

// Waits for the shown specification line of item `index` and an empty
// length box and results, the state every selection leaves.
void ExpectMaterialShown(const RunningProgram& app, int index) {
  EXPECT_TRUE(WaitUntil([&] { return app.Caption(IDC_LABEL3) == kCatalogue[index].specLine; }))
      << "label 3 shows: " << testing::PrintToString(app.Caption(IDC_LABEL3));
  EXPECT_EQ(Ask(app.control(IDC_COMBO1), CB_GETCURSEL), index);
  EXPECT_EQ(ReadText(app.control(IDC_COMBO1)), kCatalogue[index].listText);
  EXPECT_EQ(app.Caption(IDC_EDIT1), L"");
  EXPECT_TRUE(IsWindowEnabled(app.control(IDC_EDIT1)));
  EXPECT_EQ(app.Caption(IDC_LABEL5), L"");
  EXPECT_EQ(app.Caption(IDC_LABEL1), L"");
}

TEST(Selection, ClickOnAnItemRaisesTheEventOnce) {
  RunningProgram app(WithEventLog());
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.ChooseByClick(kPipeDN15));
  ExpectMaterialShown(app, kPipeDN15);
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(app.CountEvents("OnMaterialSelected"), 1);
  EXPECT_EQ(app.CountEvents("OnConvertClicked"), 0);
}

TEST(Selection, ArrowsAndEnterInTheOpenListRaiseTheEventOnce) {
  RunningProgram app(WithEventLog());
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.WaitForFocus(IDC_COMBO1));
  ASSERT_TRUE(app.ChooseByKeys(kAngle40x4));
  ExpectMaterialShown(app, kAngle40x4);
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(app.CountEvents("OnMaterialSelected"), 1);
}

TEST(Selection, ProgrammaticSelectionRaisesNothing) {
  RunningProgram app(WithEventLog());
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.WaitForFocus(IDC_COMBO1));
  EXPECT_EQ(Ask(app.control(IDC_COMBO1), CB_SETCURSEL, kPipeDN40), kPipeDN40);
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(app.CountEvents("OnMaterialSelected"), 0);
  EXPECT_EQ(app.Caption(IDC_LABEL3), kIntroduction);
}

TEST(Selection, ChoosingTheShownItemAgainClearsLengthAndResults) {
  RunningProgram app(WithEventLog());
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.ChooseByClick(kPipeDN15));
  ExpectMaterialShown(app, kPipeDN15);
  ASSERT_TRUE(app.EnterLength(L"10"));
  app.ClickConvert();
  ASSERT_TRUE(app.WaitForResults(L"【 0.01 】吨", L"【 13.57 】KG"));

  ASSERT_TRUE(app.ChooseByClick(kPipeDN15));
  EXPECT_TRUE(WaitUntil([&] { return app.CountEvents("OnMaterialSelected") == 2; }));
  EXPECT_TRUE(
      WaitUntil([&] { return app.Caption(IDC_EDIT1).empty() && app.Caption(IDC_LABEL1).empty(); }));
  ExpectMaterialShown(app, kPipeDN15);
}

// The walk of one conversion, as a person does it.
TEST(Conversion, AngleFortyByFourOverSixMetres) {
  RunningProgram app;
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.ChooseByClick(kAngle40x4));
  ExpectMaterialShown(app, kAngle40x4);
  ASSERT_TRUE(app.EnterLength(L"6"));
  app.ClickConvert();
  EXPECT_TRUE(app.WaitForResults(L"【 0.01 】吨", L"【 14.51 】KG"))
      << testing::PrintToString(app.Caption(IDC_LABEL5)) << " "
      << testing::PrintToString(app.Caption(IDC_LABEL1));
  EXPECT_EQ(app.Caption(IDC_EDIT1), L"6") << "the length stays after the conversion";
  EXPECT_EQ(app.Caption(IDC_LABEL3), L"∠40x4 \\ ∠40x40x4 \\ 2.419kg/m");
}

TEST(Conversion, FlatSteelShowsItsOddSpecificationLine) {
  RunningProgram app;
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.ChooseByClick(kFlat40x4));
  EXPECT_TRUE(
      WaitUntil([&] { return app.Caption(IDC_LABEL3) == L"镀锌扁钢-4x4 \\ 8kg/6m(每根)"; }));
  ASSERT_TRUE(app.EnterLength(L"6"));
  app.ClickConvert();
  EXPECT_TRUE(app.WaitForResults(L"【 0.01 】吨", L"【 7.98 】KG"));
}

TEST(Conversion, NewChoiceEmptiesLengthAndResults) {
  RunningProgram app;
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.ChooseByClick(kPipeDN15));
  ASSERT_TRUE(app.EnterLength(L"10"));
  app.ClickConvert();
  ASSERT_TRUE(app.WaitForResults(L"【 0.01 】吨", L"【 13.57 】KG"));
  ASSERT_TRUE(app.ChooseByClick(kPipeDN200));
  EXPECT_TRUE(WaitUntil(
      [&] { return app.Caption(IDC_LABEL3) == L"DN200 \\ 8寸 \\ φ219.1 \\ 216.7kg/6m(每根)"; }));
  ExpectMaterialShown(app, kPipeDN200);
}

TEST(Conversion, ClickBeforeAnyChoiceGivesZero) {
  RunningProgram app(WithEventLog());
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.ClickConvert());
  EXPECT_TRUE(app.WaitForResults(L"【 0 】吨", L"【 0 】KG"));
  // A typed length does not help: the unit weight is still empty.
  ASSERT_TRUE(app.EnterLength(L"6"));
  ASSERT_TRUE(app.ClickConvert());
  EXPECT_EQ(app.Caption(IDC_LABEL5), L"【 0 】吨");
  EXPECT_EQ(app.Caption(IDC_LABEL1), L"【 0 】KG");
  EXPECT_EQ(app.Caption(IDC_LABEL3), kIntroduction);
}

TEST(Conversion, TypingAfterAConversionKeepsTheResultsUntilTheNextClick) {
  RunningProgram app;
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.ChooseByClick(kPipeDN15));
  ASSERT_TRUE(app.EnterLength(L"10"));
  app.ClickConvert();
  ASSERT_TRUE(app.WaitForResults(L"【 0.01 】吨", L"【 13.57 】KG"));
  ASSERT_TRUE(app.EnterLength(L"1000"));
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(app.Caption(IDC_LABEL5), L"【 0.01 】吨");
  EXPECT_EQ(app.Caption(IDC_LABEL1), L"【 13.57 】KG");
  app.ClickConvert();
  EXPECT_TRUE(app.WaitForResults(L"【 1.36 】吨", L"【 1357 】KG"));
}

struct ConversionRow {
  int item;
  const wchar_t* length;
  const wchar_t* tonnes;
  const wchar_t* kilograms;
};

// Lengths and unit weights whose results depend on the exact arithmetic: the
// tonnes from the unrounded kilograms (34.1915), the double rounding of the
// product (832.05, 1087.95, 1480.5, 653.875) and the halfway rule of the
// rounding (235). Through the window they also show that the program's
// floating-point environment is the one these results need.
constexpr ConversionRow kRows[] = {
    {kPipeDN15, L"10", L"【 0.01 】吨", L"【 13.57 】KG"},
    {kPipeDN200, L"6", L"【 0.22 】吨", L"【 216.72 】KG"},
    {kPipeDN15, L"1000", L"【 1.36 】吨", L"【 1357 】KG"},
    {kPipeDN125, L"6", L"【 0.1 】吨", L"【 95.65 】KG"},
    {kFlat40x4, L"6", L"【 0.01 】吨", L"【 7.98 】KG"},
    {kAngle20x3, L"2.5", L"【 0 】吨", L"【 2.22 】KG"},
    {kPipeDN200, L"34.1915", L"【 1.23 】吨", L"【 1235 】KG"},
    {kPipeDN40, L"832.05", L"【 3.41 】吨", L"【 3411.41 】KG"},
    {kPipeDN40, L"1087.95", L"【 4.46 】吨", L"【 4460.59 】KG"},
    {kPipeDN100, L"1480.5", L"【 17.07 】吨", L"【 17070.17 】KG"},
    {kPipeDN200, L"653.875", L"【 23.62 】吨", L"【 23617.96 】KG"},
    {kPipeDN15, L"235", L"【 0.32 】吨", L"【 318.89 】KG"},
    {kPipeDN15, L"", L"【 0 】吨", L"【 0 】KG"},
};

TEST(Conversion, TableOfLengthsThroughTheWindow) {
  RunningProgram app;
  ASSERT_TRUE(app.started()) << app.failure();
  for (const auto& row : kRows) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(row.length)) + " of item " +
                 std::to_string(row.item));
    ASSERT_TRUE(app.ChooseByClick(row.item));
    ASSERT_TRUE(
        WaitUntil([&] { return app.Caption(IDC_LABEL3) == kCatalogue[row.item].specLine; }));
    if (*row.length) {
      ASSERT_TRUE(app.EnterLength(row.length));
    }
    app.ClickConvert();
    EXPECT_TRUE(app.WaitForResults(row.tonnes, row.kilograms))
        << testing::PrintToString(app.Caption(IDC_LABEL5)) << " "
        << testing::PrintToString(app.Caption(IDC_LABEL1));
  }
}

// Clicks into the length box, replaces its content with the clipboard's
// (Ctrl+V) and waits until the box holds `expectedLength` characters (any,
// for 0).
bool PasteLength(const RunningProgram& app, const std::wstring& text, size_t expectedLength) {
  if (!SetClipboardText(text)) return false;
  HWND edit = app.control(IDC_EDIT1);
  ClickWindow(edit);
  if (!app.WaitForFocus(IDC_EDIT1)) return false;
  std::vector<INPUT> events;
  AppendKey(events, VK_END);
  AppendKey(events, VK_HOME, {VK_SHIFT});
  AppendKey(events, VK_DELETE);
  AppendKey(events, 'V', {VK_CONTROL});
  SendEvents(events);
  // The platform's edit control takes its time over a 100,000-character
  // paste (seconds under Wine, more on a busy machine): a generous wait.
  return WaitUntil(
      [&] {
        const auto length = static_cast<size_t>(Ask(edit, WM_GETTEXTLENGTH, 0, 0, 0));
        return expectedLength == 0 ? length > 0 : length == expectedLength;
      },
      Milliseconds(60000));
}

struct BadInput {
  const char* name;
  std::wstring text;
  bool paste;             // through the clipboard, else typed
  size_t lengthInBox;     // characters the box holds afterwards; 0: not checked
  const wchar_t* tonnes;  // with the unit weight 1.357 of DN15
  const wchar_t* kilograms;
};

// Nothing a user can type or paste is refused or crashes the program; the
// length reads as far as it is a number. A single-line box keeps a pasted
// text up to its first line break.
TEST(Conversion, AnyTextInTheLengthBoxIsConvertedAsFarAsItIsANumber) {
  const std::wstring longZeros = std::wstring(99998, L'0') + L"10";
  const std::wstring hugeNumber = L"1" + std::wstring(99999, L'0');
  const BadInput cases[] = {
      {"100,000 characters, leading zeros", longZeros, true, 100000, L"【 0.01 】吨",
       L"【 13.57 】KG"},
      {"100,000 digits, beyond the double range", hugeNumber, true, 100000, L"【 1.#INF 】吨",
       L"【 1.#INF 】KG"},
      {"emoji before the number", L"😀10", false, 4, L"【 0 】吨", L"【 0 】KG"},
      {"emoji after the number", L"10😀", false, 4, L"【 0.01 】吨", L"【 13.57 】KG"},
      {"no GBK form after the number", L"10ก", false, 3, L"【 0.01 】吨", L"【 13.57 】KG"},
      {"full-width digits", L"１０", false, 2, L"【 0.01 】吨", L"【 13.57 】KG"},
      {"full-width minus", L"－１０", false, 3, L"【 -0.01 】吨", L"【 -13.57 】KG"},
      {"ideographic space first", L"\u300010", false, 3, L"【 0.01 】吨", L"【 13.57 】KG"},
      {"control characters", L"\t\v10\x01\x7f", true, 0, L"【 0.01 】吨", L"【 13.57 】KG"},
      {"line break", L"10\r\n99", true, 0, L"【 0.01 】吨", L"【 13.57 】KG"},
      {"letters and points", L"1.2.3abc", false, 8, L"【 0 】吨", L"【 1.63 】KG"},
      {"two minus signs", L"--5", false, 3, L"【 0 】吨", L"【 0 】KG"},
  };
  RunningProgram app(WithEventLog());
  ASSERT_TRUE(app.started()) << app.failure();
  ASSERT_TRUE(app.ChooseByClick(kPipeDN15));
  ASSERT_TRUE(WaitUntil([&] { return app.Caption(IDC_LABEL3) == kCatalogue[kPipeDN15].specLine; }));
  for (const auto& input : cases) {
    SCOPED_TRACE(input.name);
    if (input.paste) {
      ASSERT_TRUE(PasteLength(app, input.text, input.lengthInBox))
          << "the box holds " << Ask(app.control(IDC_EDIT1), WM_GETTEXTLENGTH, 0, 0, 0)
          << " characters";
    } else {
      ASSERT_TRUE(app.EnterLength(input.text))
          << "the box shows " << testing::PrintToString(app.Caption(IDC_EDIT1));
    }
    ASSERT_TRUE(app.ClickConvert());
    EXPECT_TRUE(app.WaitForResults(input.tonnes, input.kilograms))
        << testing::PrintToString(app.Caption(IDC_LABEL5)) << " "
        << testing::PrintToString(app.Caption(IDC_LABEL1));
    ASSERT_TRUE(app.Running());
  }
}

}  // namespace
}  // namespace tarnolux::e2e

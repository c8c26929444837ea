#include "ui/build_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/catalogue.h"
#include "ui/control_ids.h"
#include "ui/gbk.h"
#include "ui/properties.h"
#include "ui/window_definition.h"
#include "ui_test_support.h"

namespace tarnolux {
namespace {

using testing::Gbk;
using testing::WindowTest;
using testing::WindowTextOf;

constexpr int kStoredOrder[] = {IDC_LABEL1, IDC_LABEL5, IDC_BUTTON1, IDC_EDIT1,
                                IDC_LABEL4, IDC_LABEL3, IDC_COMBO1,  IDC_LABEL2};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

RECT RectInParent(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  const auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  GetObjectW(handle, sizeof font, &font);
  return font;
}

TEST(CentredOrigin, TruncatesTowardZero) {
  struct Case {
    int screen, size, origin;
  };
  const Case kCases[] = {
      {1024, 310, 357}, {1366, 310, 528}, {1365, 310, 527},
      {300, 310, -5},   {768, 268, 250},  {267, 268, 0},  // -1 / 2 truncates to 0
  };
  for (const Case& c : kCases) EXPECT_EQ(CentredOrigin(c.screen, c.size), c.origin) << c.screen;
}

TEST(StartUp, FocusOnTheListAndNoHandlerRan) {
  const testing::StartState& start = testing::StateAtStart();
  EXPECT_EQ(start.focus, ControlWindow(IDC_COMBO1));
  // Only the window's own created, moved and resized events reached
  // delivery, all unbound; whatever the controls reported while they were
  // built was blocked.
  int windowEvents = 0;
  for (const auto& [controlId, delivery] : start.events) {
    EXPECT_NE(delivery, Delivery::kHandled) << controlId;
    if (controlId == 0) {
      EXPECT_EQ(delivery, Delivery::kUnbound);
      ++windowEvents;
    } else {
      EXPECT_EQ(delivery, Delivery::kBlocked) << controlId;
    }
  }
  EXPECT_EQ(windowEvents, 3);
}

TEST_F(WindowTest, MainWindowHasItsFrameTitleSizeAndPlace) {
  const HWND main = MainWindowHandle();
  EXPECT_EQ(ClassOf(main), TARNOLUX_MAIN_CLASS);
  wchar_t title[64] = {};
  GetWindowTextW(main, title, 64);
  EXPECT_STREQ(title, L"Tarnolux 1.0.0.0 [Ardevin]");
  const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
  constexpr LONG_PTR kFrame = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  EXPECT_EQ(style & kFrame, kFrame);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_POPUP | WS_CHILD), 0);
  EXPECT_EQ(GetWindow(main, GW_OWNER), nullptr);
  EXPECT_TRUE(IsWindowVisible(main));

  RECT outer;
  GetWindowRect(main, &outer);
  EXPECT_EQ(outer.right - outer.left, 310);
  EXPECT_EQ(outer.bottom - outer.top, 268);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 310) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 268) / 2);
  EXPECT_EQ(GetClassLongPtrW(main, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
}

TEST_F(WindowTest, WindowCarriesTheProgramIconAtBothSizes) {
  const HWND main = MainWindowHandle();
  struct Case {
    int index, size;
  };
  for (const Case c : {Case{GCLP_HICON, 32}, Case{GCLP_HICONSM, 16}}) {
    const auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(main, c.index));
    ASSERT_NE(icon, nullptr) << c.size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, c.size);
    EXPECT_EQ(colour.bmHeight, c.size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

TEST_F(WindowTest, ControlsStandInStoredPlacesClassesAndStacking) {
  struct Case {
    int id;
    const wchar_t* className;
    RECT place;  // left, top, right, bottom in the client area
  };
  const Case kCases[] = {
      {IDC_LABEL1, TARNOLUX_LABEL_CLASS, {21, 74, 213, 114}},
      {IDC_LABEL5, TARNOLUX_LABEL_CLASS, {20, 16, 212, 56}},
      {IDC_BUTTON1, L"Button", {226, 15, 282, 145}},
      {IDC_LABEL4, TARNOLUX_LABEL_CLASS, {21, 124, 125, 148}},
      {IDC_LABEL3, TARNOLUX_LABEL_CLASS, {15, 190, 287, 230}},
      {IDC_LABEL2, TARNOLUX_LABEL_CLASS, {22, 159, 134, 175}},
  };
  for (const Case& c : kCases) {
    const HWND control = ControlWindow(c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_EQ(GetParent(control), MainWindowHandle());
    EXPECT_EQ(GetDlgCtrlID(control), c.id);
    EXPECT_EQ(ClassOf(control), c.className) << c.id;
    const RECT place = RectInParent(control);
    EXPECT_EQ(place.left, c.place.left) << c.id;
    EXPECT_EQ(place.top, c.place.top) << c.id;
    EXPECT_EQ(place.right, c.place.right) << c.id;
    EXPECT_EQ(place.bottom, c.place.bottom) << c.id;
  }
  // The edit box and the list keep their place; their heights are the
  // platform's (raised edit box, list field of the font's height).
  EXPECT_EQ(ClassOf(ControlWindow(IDC_EDIT1)), L"Edit");
  EXPECT_EQ(RectInParent(ControlWindow(IDC_EDIT1)).left, 125);
  EXPECT_EQ(RectInParent(ControlWindow(IDC_EDIT1)).top, 127);
  EXPECT_EQ(ClassOf(ControlWindow(IDC_COMBO1)), L"ComboBox");
  EXPECT_EQ(RectInParent(ControlWindow(IDC_COMBO1)).left, 125);
  EXPECT_EQ(RectInParent(ControlWindow(IDC_COMBO1)).top, 157);

  // Stacking: the stored order from the top, every control visible.
  HWND child = GetWindow(MainWindowHandle(), GW_CHILD);
  for (const int id : kStoredOrder) {
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), id);
    EXPECT_TRUE(IsWindowVisible(child)) << id;
    EXPECT_NE(GetWindowLongPtrW(child, GWL_STYLE) & WS_CLIPSIBLINGS, 0) << id;
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr);
}

TEST_F(WindowTest, ControlsCarryTheirKindSettings) {
  const auto style = [](int id) { return GetWindowLongPtrW(ControlWindow(id), GWL_STYLE); };
  const auto exStyle = [](int id) { return GetWindowLongPtrW(ControlWindow(id), GWL_EXSTYLE); };

  EXPECT_EQ(style(IDC_BUTTON1) & BS_TYPEMASK, BS_PUSHBUTTON);  // not the default button
  EXPECT_EQ(style(IDC_BUTTON1) & (BS_MULTILINE | BS_CENTER | BS_VCENTER),
            BS_MULTILINE | BS_CENTER | BS_VCENTER);
  EXPECT_NE(style(IDC_BUTTON1) & WS_TABSTOP, 0);

  EXPECT_NE(style(IDC_EDIT1) & ES_CENTER, 0);
  EXPECT_NE(style(IDC_EDIT1) & ES_AUTOHSCROLL, 0);
  EXPECT_EQ(style(IDC_EDIT1) & (ES_NUMBER | ES_READONLY | ES_PASSWORD | ES_UPPERCASE), 0);
  EXPECT_NE(exStyle(IDC_EDIT1) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(SendMessageW(ControlWindow(IDC_EDIT1), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);

  EXPECT_EQ(style(IDC_COMBO1) & 3, CBS_DROPDOWNLIST);
  // The opened list scrolls: 31 rows do not fit into 160 pixels.
  const HWND combo = ControlWindow(IDC_COMBO1);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  EXPECT_NE(GetWindowLongPtrW(info.hwndList, GWL_STYLE) & WS_VSCROLL, 0);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);

  // Borders of the labels: thin line for the results, sunken edge for 标签3.
  for (const int id : {IDC_LABEL1, IDC_LABEL5}) EXPECT_NE(style(id) & WS_BORDER, 0) << id;
  EXPECT_NE(exStyle(IDC_LABEL3) & WS_EX_CLIENTEDGE, 0);
  for (const int id : {IDC_LABEL4, IDC_LABEL2}) {
    EXPECT_EQ(style(id) & WS_BORDER, 0) << id;
    EXPECT_EQ(exStyle(id) & WS_EX_CLIENTEDGE, 0) << id;
  }
  for (const int id : {IDC_LABEL1, IDC_LABEL5, IDC_LABEL4, IDC_LABEL3, IDC_LABEL2}) {
    EXPECT_EQ(style(id) & WS_TABSTOP, 0) << id;
  }
}

TEST_F(WindowTest, EditBoxIsAtLeastOneLineOfItsFontHigh) {
  const HWND box = ControlWindow(IDC_EDIT1);
  const HDC dc = GetDC(box);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  RECT rect;
  GetWindowRect(box, &rect);
  EXPECT_EQ(rect.right - rect.left, 88);
  EXPECT_EQ(rect.bottom - rect.top,
            std::max<LONG>(18, metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE)));
}

TEST_F(WindowTest, CaptionsAndFontsAreTheStoredOnes) {
  EXPECT_EQ(WindowTextOf(IDC_LABEL1), "");
  EXPECT_EQ(WindowTextOf(IDC_LABEL5), "");
  EXPECT_EQ(WindowTextOf(IDC_BUTTON1), Gbk(u8"确转定换"));
  EXPECT_EQ(WindowTextOf(IDC_EDIT1), "");
  EXPECT_EQ(WindowTextOf(IDC_LABEL4), Gbk(u8"请输入长度 (米)"));
  EXPECT_EQ(WindowTextOf(IDC_LABEL3), Gbk(u8"换算公式介绍,请选择好要转换的物料种类!"));
  EXPECT_EQ(WindowTextOf(IDC_LABEL2), Gbk(u8"选择物料的种类"));

  struct Case {
    int id;
    const wchar_t* face;
    LONG height;
    LONG weight;
  };
  const Case kCases[] = {
      {IDC_LABEL1, L"\u5B8B\u4F53", -19, 700},  // 宋体
      {IDC_LABEL5, L"\u5B8B\u4F53", -19, 700},
      {IDC_BUTTON1, L"\u534E\u6587\u4EFF\u5B8B", -19, 400},  // 华文仿宋
      {IDC_EDIT1, L"\u5B8B\u4F53", -14, 700},
  };
  for (const Case& c : kCases) {
    const LOGFONTW font = FontOf(ControlWindow(c.id));
    EXPECT_STREQ(font.lfFaceName, c.face) << c.id;
    EXPECT_EQ(font.lfHeight, c.height) << c.id;
    EXPECT_EQ(font.lfWidth, 0) << c.id;
    EXPECT_EQ(font.lfWeight, c.weight) << c.id;
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET) << c.id;
    EXPECT_EQ(font.lfQuality, PROOF_QUALITY) << c.id;
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut) << c.id;
  }
  // The rest use the system's default GUI font.
  const auto guiFont = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
  for (const int id : {IDC_LABEL4, IDC_LABEL3, IDC_LABEL2, IDC_COMBO1}) {
    EXPECT_EQ(static_cast<WPARAM>(SendMessageW(ControlWindow(id), WM_GETFONT, 0, 0)), guiFont)
        << id;
  }
}

TEST_F(WindowTest, ListHoldsTheCatalogueWithNothingSelected) {
  const HWND list = ControlWindow(IDC_COMBO1);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), kMaterialCount);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(WindowTextOf(IDC_COMBO1), "");
  int row = 0;
  for (const MaterialEntry& entry : MaterialCatalogue()) {
    const testing::TakenText item = testing::Take(ReadItemText(IDC_COMBO1, row));
    EXPECT_EQ(item.bytes, entry.listText) << row;
    ++row;
  }
  // Rows one pixel taller than a list of the same font gets by default. Wine
  // refuses CB_SETITEMHEIGHT for the rows of a list that is not owner-drawn
  // (it answers CB_ERR and keeps the height); Windows takes it.
  const HWND plain = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST | WS_VSCROLL,
                                     0, 0, 100, 160, MainWindowHandle(), nullptr, nullptr, nullptr);
  ASSERT_NE(plain, nullptr);
  SendMessageW(plain, WM_SETFONT, SendMessageW(list, WM_GETFONT, 0, 0), FALSE);
  const LRESULT plainHeight = SendMessageW(plain, CB_GETITEMHEIGHT, 0, 0);
  if (SendMessageW(plain, CB_SETITEMHEIGHT, 0, plainHeight + 1) == CB_ERR) {
    std::printf("note: the platform keeps the default row height (%d)\n",
                static_cast<int>(plainHeight));
    EXPECT_EQ(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0), plainHeight);
  } else {
    EXPECT_EQ(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0), plainHeight + 1);
  }
  DestroyWindow(plain);
}

TEST_F(WindowTest, ColoursOfTheEditBoxAndTheList) {
  struct Case {
    int id;
    UINT message;
    COLORREF text;
  };
  const Case kCases[] = {
      {IDC_EDIT1, WM_CTLCOLOREDIT, RGB(0, 0, 160)},
      {IDC_COMBO1, WM_CTLCOLOREDIT, RGB(0, 0, 0)},
  };
  const HDC dc = GetDC(MainWindowHandle());
  for (const Case& c : kCases) {
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(1, 2, 3));
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(MainWindowHandle(), c.message, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(ControlWindow(c.id))));
    EXPECT_EQ(GetTextColor(dc), c.text) << c.id;
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255)) << c.id;
    LOGBRUSH fill{};
    ASSERT_NE(GetObjectW(brush, sizeof fill, &fill), 0) << c.id;
    EXPECT_EQ(fill.lbColor, RGB(255, 255, 255)) << c.id;
  }
  ReleaseDC(MainWindowHandle(), dc);
}

}  // namespace
}  // namespace tarnolux

#include "ui/label.h"

#include <gtest/gtest.h>

#include "ui/build_window.h"
#include "ui/control_ids.h"
#include "ui/properties.h"
#include "ui_test_support.h"

namespace tarnolux {
namespace {

using testing::Gbk;
using testing::WindowTest;

using LabelTest = WindowTest;

// Paints a label into a memory bitmap and counts the pixels of `colour`.
int PixelsOfColour(int id, COLORREF colour) {
  const HWND label = ControlWindow(id);
  RECT client;
  GetClientRect(label, &client);
  const HDC screen = GetDC(label);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  // The label paints in WM_PAINT only; redraw it and copy what it drew.
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
  int count = 0;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) count += GetPixel(memory, x, y) == colour;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(label, screen);
  return count;
}

TEST_F(LabelTest, PaintsButtonFaceAndItsCaptionInItsColour) {
  WriteCaption(IDC_LABEL5, Gbk(u8"【 0.01 】吨").c_str());
  RECT client;
  GetClientRect(ControlWindow(IDC_LABEL5), &client);
  const int area = client.right * client.bottom;
  const int face = PixelsOfColour(IDC_LABEL5, GetSysColor(COLOR_BTNFACE));
  const int red = PixelsOfColour(IDC_LABEL5, RGB(255, 0, 0));
  EXPECT_GT(red, 20);
  EXPECT_GT(face, area / 2);
  WriteCaption(IDC_LABEL5, "");
  EXPECT_EQ(PixelsOfColour(IDC_LABEL5, RGB(255, 0, 0)), 0);
  EXPECT_EQ(PixelsOfColour(IDC_LABEL5, GetSysColor(COLOR_BTNFACE)), area);
}

TEST_F(LabelTest, AnswersWithItsCaptionAndFont) {
  const HWND label = ControlWindow(IDC_LABEL1);
  WriteCaption(IDC_LABEL1, Gbk(u8"【 14.51 】KG").c_str());
  wchar_t text[32] = {};
  EXPECT_EQ(SendMessageW(label, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text)), 11);
  EXPECT_STREQ(text, L"\u3010 14.51 \u3011KG");
  const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  EXPECT_NE(font, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));  // its own 宋体
}

}  // namespace
}  // namespace tarnolux

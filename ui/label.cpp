#include "ui/label.h"

#include <iterator>

#include "ui/control_ids.h"
#include "ui/gbk.h"
#include "ui/window_definition.h"

namespace tarnolux {
namespace {

// The window extra bytes hold the label's font handle.
constexpr int kFontSlot = 0;

const ControlDefinition* DefinitionOf(HWND label) {
  const auto* control =
      reinterpret_cast<const ControlState*>(GetWindowLongPtrW(label, GWLP_USERDATA));
  return control != nullptr ? control->definition : nullptr;
}

UINT DrawTextFlags(const ControlDefinition& definition) {
  // One line, cut off at the client area (no DT_NOCLIP), "&" shown as itself.
  UINT flags = DT_SINGLELINE | DT_NOPREFIX;
  switch (definition.horizontal) {
    case HorizontalAlignment::kLeft:
      flags |= DT_LEFT;
      break;
    case HorizontalAlignment::kCentre:
      flags |= DT_CENTER;
      break;
    case HorizontalAlignment::kRight:
      flags |= DT_RIGHT;
      break;
  }
  switch (definition.vertical) {
    case VerticalAlignment::kTop:
      flags |= DT_TOP;
      break;
    case VerticalAlignment::kCentre:
      flags |= DT_VCENTER;
      break;
    case VerticalAlignment::kBottom:
      flags |= DT_BOTTOM;
      break;
  }
  return flags;
}

void OnPaint(HWND label) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(label, &paint);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(label, &client);
  const ControlDefinition* definition = DefinitionOf(label);
  const Colour background = definition != nullptr ? definition->background : kButtonFaceColour;
  const Colour textColour = definition != nullptr ? definition->textColour : RgbColour(0, 0, 0);

  SetDCBrushColor(dc, ResolveColour(background));
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

  HFONT font = reinterpret_cast<HFONT>(GetWindowLongPtrW(label, kFontSlot));
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColour(textColour));

  // Captions are short; a long one (nothing limits what is written) still
  // paints whole, from the heap.
  wchar_t small[128];
  WideBuffer large;
  wchar_t* text = small;
  const int length = GetWindowTextLengthW(label);
  if (length >= static_cast<int>(std::size(small))) {
    large = AllocateWide(static_cast<size_t>(length) + 1);
    text = large.get();
  }
  const int copied = GetWindowTextW(label, text, length + 1);
  if (copied > 0) {
    DrawTextW(dc, text, copied, &client, definition != nullptr ? DrawTextFlags(*definition) : 0);
  }
  SelectObject(dc, oldFont);
  EndPaint(label, &paint);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      return DefWindowProcW(label, message, wParam, lParam);
    }
    case WM_PAINT:
      OnPaint(label);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole client area itself
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(label, message, wParam, lParam);
      InvalidateRect(label, nullptr, FALSE);
      return result;
    }
    case WM_SETFONT:
      SetWindowLongPtrW(label, kFontSlot, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam) != 0) InvalidateRect(label, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(label, kFontSlot);
    default:
      return DefWindowProcW(label, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterLabelClass(HINSTANCE instance) {
  WNDCLASSEXW type{};
  type.cbSize = sizeof type;
  type.lpfnWndProc = &LabelProc;
  type.cbWndExtra = sizeof(LONG_PTR);
  type.hInstance = instance;
  type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  type.lpszClassName = TARNOLUX_LABEL_CLASS;
  return RegisterClassExW(&type) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void UnregisterLabelClass(HINSTANCE instance) {
  UnregisterClassW(TARNOLUX_LABEL_CLASS, instance);
}

}  // namespace tarnolux

#include "ui/build_window.h"

#include <algorithm>

#include "core/catalogue.h"
#include "resources/resource.h"
#include "ui/control_ids.h"
#include "ui/events.h"
#include "ui/gbk.h"
#include "ui/label.h"
#include "ui/main_window.h"
#include "ui/window_definition.h"

namespace tarnolux {
namespace {

// A drop-down list is built this high at least: selection field and opened
// list together.
constexpr int kMinimumListHeight = 160;

constexpr DWORD kMainWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// What the building made and the clean-up releases, one slot per control in
// stored order.
struct BuiltResources {
  HFONT fonts[kMainControlCount];
  bool ownsFont[kMainControlCount];
  HBRUSH brushes[kMainControlCount];
  HICON largeIcon;
  HICON smallIcon;
  bool mainClass;
  bool labelClass;
};
BuiltResources g_built{};

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

struct ControlStyle {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

DWORD BorderStyle(Border border) {
  return border == Border::kThinLine ? WS_BORDER : 0;
}
DWORD BorderExStyle(Border border) {
  return border == Border::kSunkenEdge ? WS_EX_CLIENTEDGE : 0;
}

ControlStyle StyleOf(const ControlState& control) {
  const ControlDefinition& definition = *control.definition;
  // Hidden at first (no WS_VISIBLE); each control clips against the ones
  // stacked above it.
  DWORD common = WS_CHILD | WS_CLIPSIBLINGS;
  if (control.disabled) common |= WS_DISABLED;
  if (definition.tabStop) common |= WS_TABSTOP;
  switch (definition.kind) {
    case ControlKind::kLabel:
      return {TARNOLUX_LABEL_CLASS, common | BorderStyle(definition.border),
              BorderExStyle(definition.border)};
    case ControlKind::kPushButton:
      // An ordinary push button, not the default one: Enter does not press it.
      return {L"Button", common | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER, 0};
    case ControlKind::kEditBox:
      return {L"Edit", common | ES_CENTER | ES_AUTOHSCROLL | BorderStyle(definition.border),
              BorderExStyle(definition.border)};
    case ControlKind::kDropDownList:
      return {L"ComboBox", common | CBS_DROPDOWNLIST | WS_VSCROLL, 0};
  }
  return {L"Static", common, 0};
}

// The control's font, or the stock default GUI font when it names none or
// it cannot be created. A missing face is the platform's to substitute.
HFONT CreateControlFont(const FontSpec& spec, bool* owned) {
  *owned = false;
  if (spec.face != nullptr) {
    WideBuffer face = GbkToWide(spec.face);
    // The height is negative: it is the characters' own height, not the cell's.
    const HFONT font = CreateFontW(-spec.charHeight, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE,
                                   DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   PROOF_QUALITY, DEFAULT_PITCH, face.get());
    if (font != nullptr) {
      *owned = true;
      return font;
    }
  }
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// An edit box lower than one line of its font plus the two sunken edges is
// raised to that height.
void FitEditHeight(HWND box, HFONT font, const ControlDefinition& definition) {
  const HDC dc = GetDC(box);
  if (dc == nullptr) return;
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  const BOOL measured = GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  if (!measured) return;
  const int needed = metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE);
  if (definition.height < needed) {
    SetWindowPos(box, nullptr, 0, 0, definition.width, needed,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Rows one pixel taller than the platform's default for the font, the
// catalogue's list texts in order, and the stored selection (-1: none).
void FillList(HWND list, const ControlDefinition& definition) {
  const LRESULT rowHeight = SendMessageW(list, CB_GETITEMHEIGHT, 0, 0);
  if (rowHeight > 0) SendMessageW(list, CB_SETITEMHEIGHT, 0, rowHeight + 1);
  for (const MaterialEntry& entry : MaterialCatalogue()) {
    WideBuffer item = GbkToWide(entry.listText);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.get()));
  }
  const LRESULT count = std::max<LRESULT>(SendMessageW(list, CB_GETCOUNT, 0, 0), 0);
  // A stored selection below -1 means none, one past the end the last item.
  const LRESULT selection = std::clamp<LRESULT>(definition.selection, -1, count - 1);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

bool RegisterMainClass() {
  g_built.largeIcon = static_cast<HICON>(
      LoadImageW(Instance(), TARNOLUX_ICON_NAME, IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  g_built.smallIcon = static_cast<HICON>(
      LoadImageW(Instance(), TARNOLUX_ICON_NAME, IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  WNDCLASSEXW type{};
  type.cbSize = sizeof type;
  type.lpfnWndProc = &MainWindowProc;
  type.hInstance = Instance();
  type.hIcon = g_built.largeIcon;
  type.hIconSm = g_built.smallIcon;
  type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  type.lpszClassName = TARNOLUX_MAIN_CLASS;
  return RegisterClassExW(&type) != 0;
}

HWND CreateMainWindow(const WindowDefinition& definition) {
  const int left = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), definition.width);
  const int top = CentredOrigin(GetSystemMetrics(SM_CYSCREEN), definition.height);
  WideBuffer title = GbkToWide(definition.title);
  // No owner: the window has its own taskbar button.
  const HWND window =
      CreateWindowExW(0, TARNOLUX_MAIN_CLASS, title.get(), kMainWindowStyle, left, top,
                      definition.width, definition.height, nullptr, nullptr, Instance(), nullptr);
  if (window == nullptr) return nullptr;
  RECT outer;
  if (GetWindowRect(window, &outer) && (outer.right - outer.left != definition.width ||
                                        outer.bottom - outer.top != definition.height)) {
    SetWindowPos(window, nullptr, 0, 0, definition.width, definition.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return window;
}

bool CreateControl(HWND parent, int index, ControlState& control) {
  const ControlDefinition& definition = *control.definition;
  const ControlStyle style = StyleOf(control);
  const int height = definition.kind == ControlKind::kDropDownList
                         ? std::max<int>(definition.height, kMinimumListHeight)
                         : definition.height;
  WideBuffer caption = GbkToWide(definition.caption);
  control.window = CreateWindowExW(
      style.exStyle, style.className, caption.get(), style.style, definition.left, definition.top,
      definition.width, height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(definition.id)), Instance(), &control);
  if (control.window == nullptr) return false;

  g_built.fonts[index] = CreateControlFont(definition.font, &g_built.ownsFont[index]);
  SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(g_built.fonts[index]), FALSE);

  switch (definition.kind) {
    case ControlKind::kEditBox:
      SendMessageW(control.window, EM_SETLIMITTEXT, 0, 0);  // 0: the platform's maximum
      FitEditHeight(control.window, g_built.fonts[index], definition);
      break;
    case ControlKind::kDropDownList:
      FillList(control.window, definition);
      break;
    case ControlKind::kLabel:
    case ControlKind::kPushButton:
      break;
  }
  // Edit boxes and lists paint their background with the brush their
  // WM_CTLCOLOR* answer hands out; a fixed colour needs a brush of its own.
  if ((definition.kind == ControlKind::kEditBox || definition.kind == ControlKind::kDropDownList) &&
      !definition.background.buttonFace) {
    g_built.brushes[index] = CreateSolidBrush(definition.background.rgb);
  }
  return true;
}

bool BuildWindow() {
  WindowState& state = MainWindowState();
  if (state.definition == nullptr) return false;
  g_built.labelClass = RegisterLabelClass(Instance());
  g_built.mainClass = RegisterMainClass();
  if (!g_built.labelClass || !g_built.mainClass) return false;

  state.window = CreateMainWindow(*state.definition);
  if (state.window == nullptr) return false;
  for (int i = 0; i < kMainControlCount; ++i) {
    if (!CreateControl(state.window, i, state.controls[i])) return false;
  }
  // Stored order is stacking order: the first on top, each next one below.
  HWND above = HWND_TOP;
  for (const ControlState& control : state.controls) {
    SetWindowPos(control.window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = control.window;
  }
  for (const ControlState& control : state.controls) {
    if (control.definition->visible) ShowWindow(control.window, SW_SHOWNA);
  }
  return true;
}

}  // namespace

int CentredOrigin(int screen, int size) {
  return (screen - size) / 2;
}

HWND LoadStartWindow() {
  RaiseEventBlock();  // whatever the controls report while being built is dropped
  const bool built = BuildWindow();
  LowerEventBlock();
  if (!built) {
    ReleaseWindowResources();
    return nullptr;
  }
  const HWND window = MainWindowState().window;
  DeliverWindowEvent(kWindowCreatedEvent);
  DeliverWindowEvent(kWindowMovedEvent);
  DeliverWindowEvent(kWindowResizedEvent);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  return window;
}

void DestroyMainWindow() {
  const HWND window = MainWindowState().window;
  if (window != nullptr) DestroyWindow(window);
}

void ReleaseWindowResources() {
  DestroyMainWindow();
  for (int i = 0; i < kMainControlCount; ++i) {
    if (g_built.ownsFont[i]) DeleteObject(g_built.fonts[i]);
    if (g_built.brushes[i] != nullptr) DeleteObject(g_built.brushes[i]);
  }
  if (g_built.mainClass) UnregisterClassW(TARNOLUX_MAIN_CLASS, Instance());
  if (g_built.labelClass) UnregisterLabelClass(Instance());
  if (g_built.largeIcon != nullptr) DestroyIcon(g_built.largeIcon);
  if (g_built.smallIcon != nullptr) DestroyIcon(g_built.smallIcon);
  g_built = BuiltResources{};
}

HBRUSH BackgroundBrush(int controlId) {
  const WindowState& state = MainWindowState();
  if (state.definition == nullptr) return nullptr;
  for (int i = 0; i < kMainControlCount; ++i) {
    if (state.controls[i].definition->id == controlId) return g_built.brushes[i];
  }
  return nullptr;
}

HWND MainWindowHandle() {
  return MainWindowState().window;
}

HWND ControlWindow(int controlId) {
  const ControlState* control = FindControl(controlId);
  return control != nullptr ? control->window : nullptr;
}

}  // namespace tarnolux

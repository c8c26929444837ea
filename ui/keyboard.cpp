#include "ui/keyboard.h"

#include "ui/window_definition.h"

namespace tarnolux {
namespace {

HWND g_last_focus = nullptr;

bool CanTakeFocus(const ControlState& control) {
  return control.window != nullptr && IsWindowVisible(control.window) &&
         IsWindowEnabled(control.window);
}

ControlState* FirstFocusable() {
  ControlState* order[kMainControlCount];
  const size_t count = FocusOrder(order, kMainControlCount);
  for (size_t i = 0; i < count; ++i) {
    if (CanTakeFocus(*order[i])) return order[i];
  }
  return nullptr;
}

// An opened drop-down list is closed before the window goes, so that its
// mouse capture and popup do not outlive the close request.
void CloseOpenLists() {
  for (ControlState& control : MainWindowState().controls) {
    if (control.window != nullptr && control.definition->kind == ControlKind::kDropDownList &&
        SendMessageW(control.window, CB_GETDROPPEDSTATE, 0, 0) != 0) {
      SendMessageW(control.window, CB_SHOWDROPDOWN, FALSE, 0);
    }
  }
}

}  // namespace

size_t FocusOrder(ControlState* order[], size_t room) {
  size_t count = 0;
  for (ControlState& control : MainWindowState().controls) {
    if (control.definition != nullptr && control.definition->tabStop && count < room) {
      order[count++] = &control;
    }
  }
  // Insertion sort, stable, on (value ascending, stored later first): the
  // controls sit in stored order, so a control moves in front of every earlier
  // one whose value is not smaller.
  for (size_t i = 1; i < count; ++i) {
    ControlState* moving = order[i];
    size_t j = i;
    while (j > 0 && order[j - 1]->definition->tabOrder >= moving->definition->tabOrder) {
      order[j] = order[j - 1];
      --j;
    }
    order[j] = moving;
  }
  return count;
}

void MoveFocus(bool backwards) {
  ControlState* order[kMainControlCount];
  const size_t count = FocusOrder(order, kMainControlCount);
  if (count == 0) return;
  const ControlState* current = FindControlByWindow(GetFocus());
  // Not on a tab stop: Tab starts from the first, Shift+Tab from the last.
  size_t position = backwards ? 0 : count - 1;
  for (size_t i = 0; i < count; ++i) {
    if (order[i] == current) position = i;
  }
  for (size_t step = 1; step <= count; ++step) {
    const size_t next = backwards ? (position + count - step) % count : (position + step) % count;
    if (CanTakeFocus(*order[next])) {
      SetFocus(order[next]->window);
      return;
    }
  }
}

bool HandleWindowKey(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  const HWND main = MainWindowState().window;
  if (main == nullptr || (message.hwnd != main && !IsChild(main, message.hwnd))) return false;
  const bool altHeld = (message.lParam & (LPARAM{1} << 29)) != 0;
  if (message.message == WM_SYSKEYDOWN && altHeld) {
    // Alt+F4 closes the window whichever control has the focus: some
    // platforms' drop-down lists keep every Alt key to themselves.
    if (message.wParam != VK_F4) return false;  // the other Alt keys are the system's
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  // Without a focused control plain keys come as WM_SYSKEYDOWN to the active
  // window; they are handled like any other key press.
  switch (message.wParam) {
    case VK_TAB:
      MoveFocus(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_ESCAPE:
      CloseOpenLists();
      PostMessageW(main, WM_CLOSE, 0, 0);
      return true;
    case VK_F1:
      return true;
    default:
      return false;
  }
}

void RememberFocus() {
  const ControlState* control = FindControlByWindow(GetFocus());
  if (control != nullptr) g_last_focus = control->window;
}

void RestoreFocus() {
  const HWND main = MainWindowState().window;
  if (main == nullptr) return;
  const ControlState* last = FindControlByWindow(g_last_focus);
  const ControlState* target = (last != nullptr && CanTakeFocus(*last)) ? last : FirstFocusable();
  SetFocus(target != nullptr ? target->window : main);
}

void ForgetFocus() {
  g_last_focus = nullptr;
}

}  // namespace tarnolux

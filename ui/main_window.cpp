#include "ui/main_window.h"

#include "ui/build_window.h"
#include "ui/events.h"
#include "ui/fatal_box.h"
#include "ui/keyboard.h"
#include "ui/properties.h"
#include "ui/test_hooks.h"
#include "ui/window_definition.h"

namespace tarnolux {
namespace {

// A notification from one of the window's own controls becomes an event:
// the button's click is delivered at once, inside this notification; the
// list's confirmed choice (and nothing else of the list: not the plain
// selection change, not the cancel) is queued, so its handler runs after the
// list has closed; the edit box's change is delivered (it is unbound) unless
// WriteContent is setting the text. Anything else is no event of ours.
void OnCommand(int controlId, int code, HWND sender) {
  const ControlState* control = FindControlByWindow(sender);
  if (control == nullptr || control->window != sender || control->definition->id != controlId) {
    return;  // a menu, an accelerator, or not one of our controls
  }
  switch (control->definition->kind) {
    case ControlKind::kPushButton:
      if (code == BN_CLICKED) DeliverControlEvent(controlId, kClickEvent);
      break;
    case ControlKind::kDropDownList:
      if (code == CBN_SELENDOK) QueueListSelection(controlId);
      break;
    case ControlKind::kEditBox:
      if (code == EN_CHANGE && !ContentChangeSuppressed()) {
        DeliverControlEvent(controlId, kContentChangedEvent);
      }
      break;
    case ControlKind::kLabel:
      break;
  }
}

// Text and background colours of the edit box (its text area) and of the
// list (selection field and opened list).
LRESULT OnControlColour(HWND window, UINT message, HDC dc, HWND child) {
  const ControlState* control = FindControlByWindow(child);
  if (control != nullptr) {
    const HBRUSH brush = BackgroundBrush(control->definition->id);
    if (brush != nullptr) {
      SetTextColor(dc, ResolveColour(control->definition->textColour));
      SetBkColor(dc, ResolveColour(control->definition->background));
      return reinterpret_cast<LRESULT>(brush);
    }
  }
  return DefWindowProcW(window, message, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(child));
}

// The pointing hand over a control that asks for it (按钮1).
bool OnSetCursor(HWND under, int hitTest) {
  const ControlState* control = FindControlByWindow(under);
  if (control == nullptr || control->definition->pointer != Pointer::kHand || hitTest != HTCLIENT) {
    return false;
  }
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

void OnActivate(int state, bool minimised) {
  if (state == WA_INACTIVE) {
    RememberFocus();
  } else if (!minimised) {
    RestoreFocus();
  }
}

// The last window of the program is gone: the loop may end.
void OnDestroy() {
  if (LoopRunning() && !ReportingRuntimeError()) PostQuitMessage(0);
}

// Called last, after the controls have gone too: the copy forgets the
// handles so that nothing addresses a window that no longer exists.
void OnNonClientDestroy() {
  WindowState& state = MainWindowState();
  state.window = nullptr;
  for (ControlState& control : state.controls) control.window = nullptr;
  ForgetFocus();
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT hookResult = 0;
  if (HandleTestHookMessage(message, &hookResult)) return hookResult;
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case kQueuedListSelectionMessage:
      DeliverControlEvent(static_cast<int>(wParam), kListItemSelectedEvent);
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return OnControlColour(window, message, reinterpret_cast<HDC>(wParam),
                             reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
      break;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam), HIWORD(wParam) != 0);
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // the close query is unbound: nothing ever refuses
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NCDESTROY:
      OnNonClientDestroy();
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tarnolux

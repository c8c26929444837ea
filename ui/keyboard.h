// Keyboard handling of MainWindow: the focus order, Tab and Shift+Tab, Esc,
// and where the focus goes when the window becomes active.
#pragma once

#include <windows.h>

#include <cstddef>

namespace tarnolux {

struct ControlState;

// The tab stops sorted by ascending tab-order value, a control stored later
// first among equal values: with MainWindow's definition 组合框1, 编辑框1,
// 按钮1. Fills `order` and returns how many there are.
size_t FocusOrder(ControlState* order[], size_t room);

// Applied to each message taken from the queue before it is dispatched; true
// when the message was a window-level key and is used up:
//   Tab / Shift+Tab  focus to the next / previous control of the focus order
//                    that is visible and enabled, wrapping around
//   Esc              closes an open list, then asks the window to close, as
//                    its close box does
//   Alt+F4           asks the window to close (as the system would)
//   F1               nothing (no help)
// Enter and every other key are left to the focused control: Enter presses
// no button, Space presses the focused one.
bool HandleWindowKey(const MSG& message);

// Moves the focus one step along the focus order (backwards for Shift+Tab).
void MoveFocus(bool backwards);

// WM_ACTIVATE and WM_SETFOCUS of the main window: the control that has the
// focus when the window is deactivated gets it back on re-activation; the
// first time (or when it can no longer take it) the first control of the
// focus order that is visible and enabled gets it.
void RememberFocus();
void RestoreFocus();
void ForgetFocus();

}  // namespace tarnolux

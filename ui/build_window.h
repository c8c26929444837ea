// Building MainWindow and its controls from the definition copy, and
// releasing what the building made.
#pragma once

#include <windows.h>

namespace tarnolux {

// Loads the start window: with events blocked, creates MainWindow centred on
// the primary screen at its exact outer size, then its eight controls (built
// hidden, restacked in stored order, shown without activation); then raises
// the window's created, moved and resized events and shows it activated,
// which puts the focus on the first control of the focus order. The event
// loop is not run. The definitions must be loaded (LoadWindowDefinitions).
// Returns the window, or null when the window system refused something (all
// that was built is released again).
HWND LoadStartWindow();

// Destroys the main window if it is still open; no quit request follows,
// since by then the loop-running flag is clear.
void DestroyMainWindow();

// Destroys the main window if it is still open (as DestroyMainWindow) and
// releases the fonts, brushes, icons and window classes of the building.
void ReleaseWindowResources();

// The outer left/top that centres `size` on a screen `screen` pixels wide or
// high: a signed division truncated toward zero, so a screen smaller than the
// window gives a negative place.
//   CentredOrigin(1024, 310) == 357   CentredOrigin(1365, 310) == 527
//   CentredOrigin(300, 310)  == -5    CentredOrigin(768, 268)  == 250
int CentredOrigin(int screen, int size);

// The brush a control's background is painted with by its WM_CTLCOLOR*
// answer (edit boxes and lists), or null for a control without one.
HBRUSH BackgroundBrush(int controlId);

// The main window and a control's window, or null when not open.
HWND MainWindowHandle();
HWND ControlWindow(int controlId);

}  // namespace tarnolux

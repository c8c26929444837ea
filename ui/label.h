// The label: a window class of the program's own that paints its caption
// itself.
//
// On every paint it fills its client area with its background colour (the
// button face looked up afresh), draws its caption on one line with a
// transparent background in its text colour and font, aligned as its
// definition says and cut off at the client area's edges. The border is the
// window frame (WS_BORDER for the thin line, WS_EX_CLIENTEDGE for the sunken
// edge). The caption is the window text, so WM_GETTEXT reads it; setting it
// marks the label for repainting and nothing more. The label answers
// WM_GETFONT with the font it draws with. It never takes the focus.
#pragma once

#include <windows.h>

namespace tarnolux {

// Registers TARNOLUX_LABEL_CLASS for this module; true when it is
// registered (also when it was already).
bool RegisterLabelClass(HINSTANCE instance);
void UnregisterLabelClass(HINSTANCE instance);

// A label is created with its ControlState (ui/window_definition.h) as the
// lpParam of CreateWindowExW: that gives it its colours and alignments.

}  // namespace tarnolux

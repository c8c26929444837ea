// The window definition: the constant description of MainWindow and its eight
// controls, and the window layer's in-memory copy of it.
//
// The constant table says what is built (kinds, places, sizes, texts, fonts,
// colours, borders, focus data, event bindings); it never changes. The copy
// holds what does change while the program runs and does not live in a
// control: the tag text of every control and its disabled flag. It also keeps
// the handles of the built window, so that every other part of the layer can
// find a control by its identifier.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "core/text.h"

namespace tarnolux {

enum class ControlKind { kLabel, kPushButton, kEditBox, kDropDownList };
enum class Pointer { kDefault, kHand };
enum class Border { kNone, kThinLine, kSunkenEdge };
enum class HorizontalAlignment { kLeft, kCentre, kRight };
enum class VerticalAlignment { kTop, kCentre, kBottom };

// A 24-bit RGB colour, or the system button-face colour, which is looked up
// afresh whenever the control paints so that a change of the desktop scheme
// shows at once.
struct Colour {
  bool buttonFace;
  COLORREF rgb;
};
inline constexpr Colour kButtonFaceColour{true, 0};
constexpr Colour RgbColour(int red, int green, int blue) {
  return {false, RGB(red, green, blue)};
}
// The colour to paint with now.
COLORREF ResolveColour(Colour colour);

// A face name (GBK, null for the system's default GUI font), the height of
// the characters themselves in pixels (not of the character cell) and a
// weight (400 normal, 700 bold).
struct FontSpec {
  Text face;
  int32_t charHeight;
  int32_t weight;
};
inline constexpr FontSpec kDefaultGuiFont{nullptr, 0, 0};

// A handler takes nothing and gives nothing; all its state lives in controls.
using Handler = void (*)();

// Event numbers count within a control's kind.
inline constexpr int32_t kClickEvent = 0;             // push button
inline constexpr int32_t kListItemSelectedEvent = 0;  // drop-down list
inline constexpr int32_t kContentChangedEvent = 0;    // edit box
// The window's own events, raised once it is built.
inline constexpr int32_t kWindowCreatedEvent = 0;
inline constexpr int32_t kWindowMovedEvent = 1;
inline constexpr int32_t kWindowResizedEvent = 2;

struct EventBinding {
  int32_t eventNumber;
  Handler handler;
};

struct ControlDefinition {
  Text name;  // GBK, unique in the window: 标签1, 按钮1, ...
  int id;     // the child-window identifier (ui/control_ids.h)
  ControlKind kind;
  int32_t left, top, width, height;  // client-area pixels, unscaled
  Pointer pointer;
  Text tag;  // the tag at start
  bool visible;
  bool disabled;
  bool tabStop;
  int32_t tabOrder;
  std::span<const EventBinding> bindings;
  // Kind settings. Not every kind uses every field: a drop-down list has no
  // caption, a label no selection.
  Text caption;
  FontSpec font;
  Colour textColour;
  Colour background;
  Border border;
  HorizontalAlignment horizontal;
  VerticalAlignment vertical;
  int32_t selection;  // drop-down list: the item selected at start, -1 for none
};

struct WindowDefinition {
  Text title;
  int32_t left, top;      // stored, but unused: the window starts centred
  int32_t width, height;  // outer size, frame and title bar included
  std::span<const EventBinding> bindings;
  std::span<const ControlDefinition> controls;  // stored order: first on top
};

// MainWindow, the program's one window.
const WindowDefinition& MainWindowDefinition();
inline constexpr int kMainControlCount = 8;

// One control in the in-memory copy. `tag` is the copy's own NUL-terminated
// copy of the tag on the plain heap, null when empty: it is no Text handed out
// to anyone, so it does not count among the live Text blocks, and a read hands
// out a fresh Text of it. `window` is the live control while the window is
// open. Fonts
// and brushes belong to the built window (ui/build_window.h), not to the copy.
struct ControlState {
  const ControlDefinition* definition;
  Text tag;
  bool disabled;
  HWND window;
};

struct WindowState {
  const WindowDefinition* definition;  // null until the definitions are loaded
  HWND window;                         // null while the window is not open
  ControlState controls[kMainControlCount];
};

// Takes the definitions into memory: tags and disabled flags as stored, no
// window yet. Loading again resets the copy (releasing the tags it held).
void LoadWindowDefinitions();
// Replaces a control's stored tag with a copy of `text` (null when empty);
// `text` may be the stored tag itself. Running out of memory is the fatal
// allocation report.
void StoreTag(ControlState& control, Text text);

// Releases the tags and forgets the copy, window handles included (the
// window is gone by then, or goes without the copy).
void ReleaseWindowDefinitions();

// The copy of MainWindow; its `definition` is null when not loaded.
WindowState& MainWindowState();
// The control with identifier `id` in the copy, or null when the loaded
// definitions hold no such control (or none are loaded).
ControlState* FindControl(int id);
// The control whose window is `window`, or a child of it, or the opened list
// of a drop-down list; null for any other window.
ControlState* FindControlByWindow(HWND window);

}  // namespace tarnolux

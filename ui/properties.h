// Control property access: the only way the handlers read and write the
// window.
//
// Controls are addressed by their identifiers (ui/control_ids.h). Content,
// captions, the current selection and the list items live in the live
// controls; tags live only in the window layer's copy of the definition; the
// disabled flag lives in both (the copy first, then the control).
//
// Texts: a read hands out a fresh Text the caller releases, and an empty value
// as absent; a write copies what it is given (absent writes the empty text),
// so the caller may pass a constant or release its text at once.
//
// Failures end the program through ReportRuntimeError with code 0:
//   a control no loaded window definition holds   "未载入欲访问窗口组件所在的窗口"
//   content, caption or selection while the window is not open   "指定窗口尚未载入"
//   ReadItemText of an unknown control or with the window not open
//                                                  "指定窗口或窗口组件不存在或尚未载入"
//   no memory for a text                           "分配 %d 字节内存失败!"
// Tags and disabled flags need no open window.
#pragma once

#include <cstdint>

#include "core/text.h"

namespace tarnolux {

// What the edit box shows now, typed or written, also while disabled.
//   after the user typed 6.5 -> "6.5";  empty box -> absent
Text ReadContent(int controlId);

// The tag stored in the definition copy; absent at start.
Text ReadTag(int controlId);

// The 0-based current selection of a drop-down list, -1 when none.
int32_t ReadSelectedIndex(int controlId);

// The text of item `index` of a drop-down list; absent for an index outside
// 0 .. count-1 (so -1 and 31 give absent).
//   ReadItemText(IDC_COMBO1, 0) -> "镀锌焊管DN15"
Text ReadItemText(int controlId, int32_t index);

// Sets the edit box's text with its own content-changed notification held
// back, then raises the content-changed event exactly once through event
// delivery (it is unbound: no handler runs).
void WriteContent(int controlId, Text text);

// Stores the flag in the definition copy, then enables (false) or disables
// (true) the live control if the window is open.
void WriteDisabled(int controlId, bool disabled);

// Sets a label's caption; the label repaints at the next paint, once the
// handler has returned to the event loop. Raises no event.
void WriteCaption(int controlId, Text text);

// Replaces the tag in the definition copy with a copy of `text`. Nothing
// visible changes and no event is raised.
void WriteTag(int controlId, Text text);

// True while WriteContent sets an edit box's text: its content-changed
// notification is then not an event.
bool ContentChangeSuppressed();

}  // namespace tarnolux

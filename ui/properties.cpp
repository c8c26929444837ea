#include "ui/properties.h"

#include <windows.h>

#include <cstring>

#include "ui/events.h"
#include "ui/fatal_box.h"
#include "ui/gbk.h"
#include "ui/window_definition.h"

namespace tarnolux {
namespace {

constexpr char kWindowNotLoaded[] =
    "\xCE\xB4\xD4\xD8\xC8\xEB\xD3\xFB\xB7\xC3\xCE\xCA\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xCB\xF9\xD4"
    "\xDA\xB5\xC4\xB4\xB0\xBF\xDA";  // 未载入欲访问窗口组件所在的窗口
constexpr char kWindowNotOpen[] =
    "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB";  // 指定窗口尚未载入
constexpr char kItemSourceMissing[] =
    "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xBB\xF2\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xB2\xBB\xB4\xE6\xD4"
    "\xDA\xBB\xF2\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB";  // 指定窗口或窗口组件不存在或尚未载入

bool g_content_change_suppressed = false;

// The control in the definition copy, for the properties that live there.
ControlState& DefinedControl(int controlId) {
  ControlState* control = FindControl(controlId);
  if (control == nullptr) ReportRuntimeError(kWindowNotLoaded, 0);
  return *control;
}

// The live control, for the properties that live in it.
HWND LiveControl(int controlId) {
  const ControlState& control = DefinedControl(controlId);
  if (control.window == nullptr) ReportRuntimeError(kWindowNotOpen, 0);
  return control.window;
}

// A fresh copy of `text`, absent when it is empty.
Text CopyText(Text text) {
  const uint32_t length = TextLength(text);
  if (length == 0) return nullptr;
  char* copy = AllocateText(static_cast<int32_t>(length + 1));
  std::memcpy(copy, text, length + 1);
  return copy;
}

}  // namespace

Text ReadContent(int controlId) {
  return ReadWindowText(LiveControl(controlId));
}

Text ReadTag(int controlId) {
  return CopyText(DefinedControl(controlId).tag);
}

int32_t ReadSelectedIndex(int controlId) {
  const LRESULT index = SendMessageW(LiveControl(controlId), CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int32_t>(index);
}

Text ReadItemText(int controlId, int32_t index) {
  const ControlState* control = FindControl(controlId);
  if (control == nullptr || control->window == nullptr) ReportRuntimeError(kItemSourceMissing, 0);
  const HWND list = control->window;
  const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  if (index < 0 || index >= count) return nullptr;
  const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return nullptr;
  WideBuffer item = AllocateWide(static_cast<size_t>(length) + 1);
  const LRESULT copied = SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(item.get()));
  return copied > 0 ? WideToGbk(item.get(), static_cast<size_t>(copied)) : nullptr;
}

void WriteContent(int controlId, Text text) {
  const HWND box = LiveControl(controlId);
  WideBuffer wide = GbkToWide(text);
  g_content_change_suppressed = true;
  SetWindowTextW(box, wide.get());
  g_content_change_suppressed = false;
  DeliverControlEvent(controlId, kContentChangedEvent);
}

void WriteDisabled(int controlId, bool disabled) {
  ControlState& control = DefinedControl(controlId);
  control.disabled = disabled;
  if (control.window != nullptr) EnableWindow(control.window, disabled ? FALSE : TRUE);
}

void WriteCaption(int controlId, Text text) {
  // The label invalidates itself when its text changes (ui/label.cpp); no
  // UpdateWindow, so both result captions show together once the handler
  // has returned.
  WriteWindowText(LiveControl(controlId), text);
}

void WriteTag(int controlId, Text text) {
  StoreTag(DefinedControl(controlId), text);
}

bool ContentChangeSuppressed() {
  return g_content_change_suppressed;
}

}  // namespace tarnolux

#include "ui/events.h"

#include "ui/fatal_box.h"
#include "ui/window_definition.h"

namespace tarnolux {
namespace {

constexpr char kWindowNotFound[] =
    "\xCE\xB4\xD5\xD2\xB5\xBD\xD2\xFD\xB7\xA2\xCA\xC2\xBC\xFE\xB5\xC4\xB4\xB0\xBF\xDA";  // 未找到引发事件的窗口
constexpr char kControlNotFound[] =
    "\xCE\xB4\xD5\xD2\xB5\xBD\xD2\xFD\xB7\xA2\xCA\xC2\xBC\xFE\xB5\xC4\xB4\xB0\xBF\xDA\xD7\xE9"
    "\xBC\xFE";  // 未找到引发事件的窗口组件
constexpr char kControlInvalid[] =
    "\xD2\xFD\xB7\xA2\xCA\xC2\xBC\xFE\xB5\xC4\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xCE\xDE\xD0"
    "\xA7";  // 引发事件的窗口组件无效

// Program-wide state of the one thread that runs everything; no locks.
int g_block_count = 0;
bool g_loop_running = false;
EventObserver g_observer = nullptr;

Delivery Observed(int controlId, int32_t eventNumber, Delivery delivery) {
  if (g_observer != nullptr) g_observer(controlId, eventNumber, delivery);
  return delivery;
}

Handler FindBinding(std::span<const EventBinding> bindings, int32_t eventNumber) {
  for (const EventBinding& binding : bindings) {
    if (binding.eventNumber == eventNumber) return binding.handler;
  }
  return nullptr;
}

}  // namespace

void RaiseEventBlock() {
  ++g_block_count;
}
void LowerEventBlock() {
  if (g_block_count > 0) --g_block_count;
}
int EventBlockCount() {
  return g_block_count;
}

bool LoopRunning() {
  return g_loop_running;
}
void SetLoopRunning(bool running) {
  g_loop_running = running;
}

Delivery DeliverControlEvent(int controlId, int32_t eventNumber) {
  if (g_block_count > 0) return Observed(controlId, eventNumber, Delivery::kBlocked);
  const ControlState* control = FindControl(controlId);
  if (control == nullptr) ReportRuntimeError(kControlNotFound, 0);
  if (control->definition->kind == ControlKind::kLabel) ReportRuntimeError(kControlInvalid, 0);
  const Handler handler = FindBinding(control->definition->bindings, eventNumber);
  if (handler == nullptr) return Observed(controlId, eventNumber, Delivery::kUnbound);
  handler();
  return Observed(controlId, eventNumber, Delivery::kHandled);
}

Delivery DeliverWindowEvent(int32_t eventNumber) {
  if (g_block_count > 0) return Observed(0, eventNumber, Delivery::kBlocked);
  const WindowDefinition* window = MainWindowState().definition;
  if (window == nullptr) ReportRuntimeError(kWindowNotFound, 0);
  const Handler handler = FindBinding(window->bindings, eventNumber);
  if (handler == nullptr) return Observed(0, eventNumber, Delivery::kUnbound);
  handler();
  return Observed(0, eventNumber, Delivery::kHandled);
}

void QueueListSelection(int controlId) {
  const HWND window = MainWindowState().window;
  if (window != nullptr) PostMessageW(window, kQueuedListSelectionMessage, controlId, 0);
}

void SetEventObserver(EventObserver observer) {
  g_observer = observer;
}

}  // namespace tarnolux

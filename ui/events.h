// Event delivery: what the controls report reaches the program's handlers.
//
// Exactly two events are bound (the click of 按钮1 and the list-item-selected
// event of 组合框1); every other event is looked up, found unbound and
// dropped. While the event block count is above 0 (the window is being built,
// a fatal error is being reported, the program has begun to end) every event
// is dropped and not kept for later.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tarnolux {

// Posted to the main window when a drop-down list confirms a choice; wParam
// is the list's control id. The handler then runs from the event loop, after
// the list has closed and finished its own notification work.
inline constexpr UINT kQueuedListSelectionMessage = WM_APP + 1;

void RaiseEventBlock();
void LowerEventBlock();
int EventBlockCount();

// Set when the event loop starts; the last window's destruction ends the
// program only while it is set.
bool LoopRunning();
void SetLoopRunning(bool running);

enum class Delivery {
  kBlocked,  // dropped: the block count is above 0
  kUnbound,  // no handler is bound to the event
  kHandled,  // the bound handler ran to its end
};

// Delivers event `eventNumber` of the control with identifier `controlId`.
// A control the definitions do not hold is reported as "未找到引发事件的窗口组件",
// a label (which raises no events) as "引发事件的窗口组件无效", both fatal.
//   DeliverControlEvent(IDC_BUTTON1, kClickEvent)        -> kHandled (OnConvertClicked ran)
//   DeliverControlEvent(IDC_EDIT1, kContentChangedEvent) -> kUnbound
Delivery DeliverControlEvent(int controlId, int32_t eventNumber);

// Delivers one of the window's own events (all unbound). Without loaded
// definitions it is reported as "未找到引发事件的窗口".
Delivery DeliverWindowEvent(int32_t eventNumber);

// Queues the list-item-selected event of drop-down list `controlId`.
void QueueListSelection(int controlId);

// Called for every event that reaches delivery, with its outcome; `controlId`
// 0 stands for the window itself. For tests; null removes it.
using EventObserver = void (*)(int controlId, int32_t eventNumber, Delivery delivery);
void SetEventObserver(EventObserver observer);

}  // namespace tarnolux

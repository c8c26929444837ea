#include "ui_test_support.h"

#include <gtest/gtest.h>

#include "core/fatal.h"
#include "ui/build_window.h"
#include "ui/control_ids.h"
#include "ui/gbk.h"
#include "ui/program.h"
#include "ui/properties.h"

namespace tarnolux::testing {
namespace {

std::vector<EventRecorder::Event> g_events;
StartState g_start{};

void RecordAtStart(int controlId, int32_t, Delivery delivery) {
  g_start.events.emplace_back(controlId, delivery);
}

void Record(int controlId, int32_t eventNumber, Delivery delivery) {
  g_events.push_back({controlId, eventNumber, delivery});
}

// Builds the window before the first test and ends the program after the
// last, as StartProgram would around its event loop.
class MainWindowEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    SetEventObserver(&RecordAtStart);
    ASSERT_NE(StartUpToWindow(), nullptr);
    Pump();
    SetEventObserver(nullptr);
    g_start.focus = GetFocus();
    // An allocation failure would otherwise wait for someone to close the
    // error box; the core's own reporter writes the report to standard error
    // and ends the test program instead.
    SetFatalReporter(nullptr);
  }
  void TearDown() override { EndProgram(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new MainWindowEnvironment);

}  // namespace

const StartState& StateAtStart() {
  return g_start;
}

std::string Gbk(std::u8string_view utf8) {
  if (utf8.empty()) return {};
  const char* bytes = reinterpret_cast<const char*>(utf8.data());
  const int units =
      MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(utf8.size()), wide.data(), units);
  const int length = WideCharToMultiByte(936, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string gbk(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(936, 0, wide.data(), units, gbk.data(), length, nullptr, nullptr);
  return gbk;
}

std::string WindowTextOf(int controlId) {
  return Take(ReadWindowText(ControlWindow(controlId))).bytes;
}

TakenText Take(Text text) {
  TakenText taken{text == nullptr, text != nullptr ? std::string(text) : std::string()};
  ReleaseText(text);
  return taken;
}

void Pump() {
  PumpPendingMessages();
}

void ResetWindow() {
  SetEventObserver(nullptr);
  while (EventBlockCount() > 0) LowerEventBlock();
  SendMessageW(ControlWindow(IDC_COMBO1), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  WriteDisabled(IDC_EDIT1, false);
  WriteContent(IDC_EDIT1, "");
  WriteCaption(IDC_LABEL5, "");
  WriteCaption(IDC_LABEL1, "");
  WriteCaption(IDC_LABEL3, Gbk(u8"换算公式介绍,请选择好要转换的物料种类!").c_str());
  WriteTag(IDC_LABEL3, nullptr);
  SetFocus(ControlWindow(IDC_COMBO1));
  Pump();
}

EventRecorder::EventRecorder() {
  g_events.clear();
  SetEventObserver(&Record);
}
EventRecorder::~EventRecorder() {
  SetEventObserver(nullptr);
}
const std::vector<EventRecorder::Event>& EventRecorder::events() const {
  return g_events;
}
int EventRecorder::Count(int controlId, Delivery delivery) const {
  int count = 0;
  for (const Event& event : g_events) {
    if (event.controlId == controlId && event.delivery == delivery) ++count;
  }
  return count;
}

}  // namespace tarnolux::testing

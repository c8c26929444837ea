// The convert handler against the bare window calls it cannot avoid.
//
//   ui_bench [--rounds=R] [--calls=N]
//
// Builds the real MainWindow in this process (as start-up does, without the
// event loop), chooses 普通角钢∠40x4 through the selection handler and then,
// R rounds, times N calls of OnConvertClicked (from the call until both
// result captions are written) and N runs of the plain Win32 work the same
// click needs at the least: GetWindowTextW of the length box, a copy of the
// unit-weight text, SetWindowTextW of the two result labels (which
// invalidate themselves). The two alternate round by round, and the length
// alternates between 6 and 7 so each call writes new captions. Prints the
// medians of the per-call times and their ratio. Never fails on a time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_ids.h"
#include "ui/handlers.h"
#include "ui/program.h"

namespace {

double NowMicroseconds() {
  static const double ticksPerMicrosecond = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1e6;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / ticksPerMicrosecond;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The results the handler writes for the two lengths, with 2.419 kg/m.
constexpr const wchar_t* kTonnes[2] = {L"【 0.01 】吨", L"【 0.02 】吨"};
constexpr const wchar_t* kKilograms[2] = {L"【 14.51 】KG", L"【 16.93 】KG"};
constexpr const wchar_t* kLengths[2] = {L"6", L"7"};
constexpr char kUnitWeight[] = "2.419";

// The least a click needs from the window system, call for call as the
// handler makes them: the length read twice (the handler reads its two
// inputs once per result) with its length first, the unit weight copied
// twice, both captions written. The labels invalidate themselves when their
// text changes, so an InvalidateRect of its own would count that work twice.
void BareClick(HWND edit, HWND tonnesLabel, HWND kilogramsLabel, int which) {
  for (int read = 0; read < 2; ++read) {
    wchar_t length[64];
    GetWindowTextW(edit, length, std::min(64, GetWindowTextLengthW(edit) + 1));
    char* unitWeight = static_cast<char*>(std::malloc(sizeof kUnitWeight));
    std::memcpy(unitWeight, kUnitWeight, sizeof kUnitWeight);
    std::free(unitWeight);
    if (read == 0) SetWindowTextW(tonnesLabel, kTonnes[which]);
  }
  SetWindowTextW(kilogramsLabel, kKilograms[which]);
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 30;
  int calls = 200;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with("--rounds=")) rounds = std::max(1, std::atoi(argv[i] + 9));
    if (argument.starts_with("--calls=")) calls = std::max(1, std::atoi(argv[i] + 8));
  }

  HWND window = tarnolux::StartUpToWindow();
  if (!window) return 1;
  tarnolux::PumpPendingMessages();
  HWND combo = GetDlgItem(window, IDC_COMBO1);
  HWND edit = GetDlgItem(window, IDC_EDIT1);
  HWND tonnesLabel = GetDlgItem(window, IDC_LABEL5);
  HWND kilogramsLabel = GetDlgItem(window, IDC_LABEL1);
  SendMessageW(combo, CB_SETCURSEL, 18, 0);  // 普通角钢∠40x4
  tarnolux::OnMaterialSelected();
  tarnolux::PumpPendingMessages();

  // Both must write the same captions, or the comparison means nothing.
  SetWindowTextW(edit, kLengths[1]);
  tarnolux::OnConvertClicked();
  wchar_t written[64] = {};
  GetWindowTextW(kilogramsLabel, written, 64);
  if (std::wstring_view(written) != kKilograms[1]) {
    std::fprintf(stderr, "the handler wrote an unexpected result\n");
    return 1;
  }

  std::vector<double> handler;
  std::vector<double> bare;
  auto timeHandler = [&] {
    for (int call = 0; call < calls; ++call) {
      const int which = call % 2;
      SetWindowTextW(edit, kLengths[which]);
      const double start = NowMicroseconds();
      tarnolux::OnConvertClicked();
      handler.push_back(NowMicroseconds() - start);
    }
    tarnolux::PumpPendingMessages();
  };
  auto timeBare = [&] {
    for (int call = 0; call < calls; ++call) {
      const int which = call % 2;
      SetWindowTextW(edit, kLengths[which]);
      const double start = NowMicroseconds();
      BareClick(edit, tonnesLabel, kilogramsLabel, which);
      bare.push_back(NowMicroseconds() - start);
    }
    tarnolux::PumpPendingMessages();
  };
  // The order swaps every round, so neither always runs second.
  for (int round = 0; round < rounds; ++round) {
    if (round % 2) {
      timeBare();
      timeHandler();
    } else {
      timeHandler();
      timeBare();
    }
  }
  tarnolux::EndProgram();

  const double handlerMedian = Median(handler);
  const double bareMedian = Median(bare);
  std::printf("OnConvertClicked  median %8.2f us  (%zu calls)\n", handlerMedian, handler.size());
  std::printf("bare Win32 calls  median %8.2f us  (%zu runs)\n", bareMedian, bare.size());
  std::printf("handler ratio OnConvertClicked/bare: %.3f (target at most 1.2)\n",
              handlerMedian / bareMedian);
  return 0;
}

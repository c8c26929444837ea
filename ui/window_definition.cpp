#include "ui/window_definition.h"

#include <cstdlib>
#include <cstring>

#include "core/text.h"
#include "ui/control_ids.h"
#include "ui/fatal_box.h"
#include "ui/handlers.h"

namespace tarnolux {
namespace {

// Texts of the definition, GBK. A hex escape ends where the next byte is not
// a hex digit, hence the split literals before the ordinals.
constexpr char kTitle[] = "Tarnolux 1.0.0.0 [Ardevin]";
constexpr char kSongTi[] = "\xCB\xCE\xCC\xE5";                          // 宋体
constexpr char kHuawenFangSong[] = "\xBB\xAA\xCE\xC4\xB7\xC2\xCB\xCE";  // 华文仿宋
constexpr char kLengthPrompt[] =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xB3\xA4\xB6\xC8 (\xC3\xD7)";  // 请输入长度 (米)
constexpr char kIntroduction[] =
    "\xBB\xBB\xCB\xE3\xB9\xAB\xCA\xBD\xBD\xE9\xC9\xDC,\xC7\xEB\xD1\xA1\xD4\xF1\xBA\xC3\xD2\xAA"
    "\xD7\xAA\xBB\xBB\xB5\xC4\xCE\xEF\xC1\xCF\xD6\xD6\xC0\xE0!";  // 换算公式介绍,请选择好要转换的物料种类!
constexpr char kMaterialPrompt[] =
    "\xD1\xA1\xD4\xF1\xCE\xEF\xC1\xCF\xB5\xC4\xD6\xD6\xC0\xE0";         // 选择物料的种类
constexpr char kConvertCaption[] = "\xC8\xB7\xD7\xAA\xB6\xA8\xBB\xBB";  // 确转定换 (stored order)

constexpr FontSpec kResultFont{kSongTi, 19, 700};
constexpr FontSpec kButtonFont{kHuawenFangSong, 19, 400};
constexpr FontSpec kLengthFont{kSongTi, 14, 700};

constexpr Colour kRed = RgbColour(255, 0, 0);
constexpr Colour kBlack = RgbColour(0, 0, 0);
constexpr Colour kDarkBlue = RgbColour(0, 0, 160);
constexpr Colour kWhite = RgbColour(255, 255, 255);

// The program's two bindings; every other event of every control and of the
// window is unbound.
constexpr EventBinding kConvertBindings[] = {{kClickEvent, &OnConvertClicked}};
constexpr EventBinding kMaterialBindings[] = {{kListItemSelectedEvent, &OnMaterialSelected}};

using enum ControlKind;
using enum Border;
using enum Pointer;
constexpr auto kLeft = HorizontalAlignment::kLeft;
constexpr auto kCentred = HorizontalAlignment::kCentre;
constexpr auto kMiddle = VerticalAlignment::kCentre;

// The eight controls of MainWindow in stored order: the first is on top of the
// stacking, and among equal tab-order values a later control comes first in
// the focus order. The values are the window's design: places and sizes in
// unscaled pixels of the client area.
// clang-format off
constexpr ControlDefinition kMainControls[kMainControlCount] = {
  // name                    id           kind           left top  wid  hgt  pointer   tag      vis   dis    tab    order bindings
  {"\xB1\xEA\xC7\xA9" "1",   IDC_LABEL1,  kLabel,         21,  74, 192,  40, kDefault, nullptr, true, false, false, 0,    {},
   nullptr, kResultFont, kRed, kButtonFaceColour, kThinLine, kCentred, kMiddle, -1},          // 标签1: kilograms
  {"\xB1\xEA\xC7\xA9" "5",   IDC_LABEL5,  kLabel,         20,  16, 192,  40, kDefault, nullptr, true, false, false, 0,    {},
   nullptr, kResultFont, kRed, kButtonFaceColour, kThinLine, kCentred, kMiddle, -1},          // 标签5: tonnes
  {"\xB0\xB4\xC5\xA5" "1",   IDC_BUTTON1, kPushButton,   226,  15,  56, 130, kHand,    nullptr, true, false, true,  0,    kConvertBindings,
   kConvertCaption, kButtonFont, kBlack, kButtonFaceColour, kNone, kCentred, kMiddle, -1},   // 按钮1
  {"\xB1\xE0\xBC\xAD\xBF\xF2" "1", IDC_EDIT1, kEditBox,  125, 127,  88,  18, kDefault, nullptr, true, false, true,  0,    {},
   nullptr, kLengthFont, kDarkBlue, kWhite, kSunkenEdge, kCentred, kMiddle, -1},             // 编辑框1: metres
  {"\xB1\xEA\xC7\xA9" "4",   IDC_LABEL4,  kLabel,         21, 124, 104,  24, kDefault, nullptr, true, false, false, 0,    {},
   kLengthPrompt, kDefaultGuiFont, kBlack, kButtonFaceColour, kNone, kLeft, kMiddle, -1},     // 标签4
  {"\xB1\xEA\xC7\xA9" "3",   IDC_LABEL3,  kLabel,         15, 190, 272,  40, kDefault, nullptr, true, false, false, 0,    {},
   kIntroduction, kDefaultGuiFont, kBlack, kButtonFaceColour, kSunkenEdge, kCentred, kMiddle, -1},  // 标签3
  {"\xD7\xE9\xBA\xCF\xBF\xF2" "1", IDC_COMBO1, kDropDownList, 125, 157, 158, 20, kDefault, nullptr, true, false, true, 0, kMaterialBindings,
   nullptr, kDefaultGuiFont, kBlack, kWhite, kNone, kLeft, kMiddle, -1},                     // 组合框1
  {"\xB1\xEA\xC7\xA9" "2",   IDC_LABEL2,  kLabel,         22, 159, 112,  16, kDefault, nullptr, true, false, false, 0,    {},
   kMaterialPrompt, kDefaultGuiFont, kBlack, kButtonFaceColour, kNone, kLeft, kMiddle, -1},   // 标签2
};
// clang-format on

constexpr WindowDefinition kMainWindow = {kTitle, 50, 50, 310, 268, {}, kMainControls};

WindowState g_main_window{};

}  // namespace

COLORREF ResolveColour(Colour colour) {
  return colour.buttonFace ? GetSysColor(COLOR_BTNFACE) : colour.rgb;
}

const WindowDefinition& MainWindowDefinition() {
  return kMainWindow;
}

void LoadWindowDefinitions() {
  ReleaseWindowDefinitions();
  g_main_window.definition = &kMainWindow;
  for (int i = 0; i < kMainControlCount; ++i) {
    ControlState& control = g_main_window.controls[i];
    control = ControlState{};
    control.definition = &kMainControls[i];
    StoreTag(control, kMainControls[i].tag);
    control.disabled = kMainControls[i].disabled;
  }
}

void ReleaseWindowDefinitions() {
  for (ControlState& control : g_main_window.controls) {
    std::free(const_cast<char*>(control.tag));
    control = ControlState{};
  }
  g_main_window = WindowState{};
}

void StoreTag(ControlState& control, Text text) {
  const uint32_t length = TextLength(text);
  char* copy = nullptr;
  if (length != 0) {
    copy = static_cast<char*>(std::malloc(size_t{length} + 1));
    if (copy == nullptr) ReportAllocationFailure(int64_t{length} + 1);
    std::memcpy(copy, text, size_t{length} + 1);
  }
  std::free(const_cast<char*>(control.tag));
  control.tag = copy;
}

WindowState& MainWindowState() {
  return g_main_window;
}

ControlState* FindControl(int id) {
  if (g_main_window.definition == nullptr) return nullptr;
  for (ControlState& control : g_main_window.controls) {
    if (control.definition->id == id) return &control;
  }
  return nullptr;
}

ControlState* FindControlByWindow(HWND window) {
  if (g_main_window.definition == nullptr || window == nullptr) return nullptr;
  for (ControlState& control : g_main_window.controls) {
    if (control.window == nullptr) continue;
    if (control.window == window || IsChild(control.window, window)) return &control;
    // The opened list of a drop-down list is a window of its own outside the
    // control's children.
    if (control.definition->kind == ControlKind::kDropDownList) {
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      if (GetComboBoxInfo(control.window, &info) && info.hwndList == window) return &control;
    }
  }
  return nullptr;
}

}  // namespace tarnolux

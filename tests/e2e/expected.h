// What the user must see, written as the user sees it (UTF-16 literals from
// this UTF-8 source), so the checks compare the window's own UTF-16 texts and
// convert nothing.
#pragma once

#include <windows.h>

namespace tarnolux::e2e {

// The material list in list order: list text, specification line, unit
// weight in kg/m. Kept apart from the program's own GBK table on purpose: the
// outside tests compare against what a person reads, not against the code.
struct CatalogueRow {
  const wchar_t* listText;
  const wchar_t* specLine;
  const wchar_t* unitWeightText;
};
inline constexpr CatalogueRow kCatalogue[] = {
    {L"镀锌焊管DN15", L"DN15 \\ 1/2寸 \\ φ21.3 \\ 8.14kg/6m(每根)", L"1.357"},
    {L"镀锌焊管DN20", L"DN20 \\ 3/4寸 \\ φ26.9 \\ 10.56kg/6m(每根)", L"1.76"},
    {L"镀锌焊管DN25", L"DN25 \\ 1寸 \\ φ33.7 \\15.32kg/6m(每根)", L"2.554"},
    {L"镀锌焊管DN32", L"DN32 \\ 1-1/4寸 \\ φ42.4 \\ 21.36kg/6m(每根)", L"3.56"},
    {L"镀锌焊管DN40", L"DN40 \\ 1-1/2寸 \\ φ48.3 \\ 24.6kg/6m(每根)", L"4.1"},
    {L"镀锌焊管DN50", L"DN50 \\ 2寸 \\ φ60.3 \\ 33.64kg/6m(每根)", L"5.607"},
    {L"镀锌焊管DN65", L"DN65 \\ 2.5寸 \\ φ76.1 \\ 45.21kg/6m(每根)", L"7.53"},
    {L"镀锌焊管DN80", L"DN80 \\ 3寸 \\ φ88.9 \\ 53.28kg/6m(每根)", L"8.88"},
    {L"镀锌焊管DN100", L"DN100 \\ 4寸 \\ φ114.3 \\ 69.18kg/6m(每根)", L"11.53"},
    {L"镀锌焊管DN125", L"DN125 \\ 5寸 \\ φ140 \\ 98.65kg/6m(每根)", L"15.942"},
    {L"镀锌焊管DN150", L"DN150 \\ 6寸 \\ φ168.3 \\ 115.62kg/6m(每根)", L"19.27"},
    {L"镀锌焊管DN200", L"DN200 \\ 8寸 \\ φ219.1 \\ 216.7kg/6m(每根)", L"36.12"},
    {L"普通角钢∠20x3", L"∠20x3 \\ ∠20x20x3 \\ 0.887kg/m", L"0.887"},
    {L"普通角钢∠20x4", L"∠20x4 \\ ∠20x20x4 \\ 1.146kg/m", L"1.146"},
    {L"普通角钢∠25x3", L"∠25x3 \\ ∠25x25x3 \\ 1.123kg/m", L"1.123"},
    {L"普通角钢∠25x4", L"∠25x4 \\ ∠25x25x4 \\ 1.46kg/m", L"1.46"},
    {L"普通角钢∠30x4", L"∠30x4 \\ ∠30x30x4 \\ 1.78kg/m", L"1.78"},
    {L"普通角钢∠40x3", L"∠40x3 \\ ∠40x40x3 \\ 1.846kg/m", L"1.846"},
    {L"普通角钢∠40x4", L"∠40x4 \\ ∠40x40x4 \\ 2.419kg/m", L"2.419"},
    {L"普通角钢∠50x3", L"∠50x3 \\ ∠50x50x3 \\ 2.081kg/m", L"2.081"},
    {L"普通角钢∠50x4", L"∠50x4 \\ ∠50x50x4 \\ 3.054kg/m", L"3.054"},
    {L"普通角钢∠50x5", L"∠50x5 \\ ∠50x50x5 \\ 3.769kg/m", L"3.769"},
    {L"普通槽钢[6.5#", L"普通槽钢[6.5# \\ [65x40x4.8", L"6.7"},
    {L"普通槽钢[8#", L"普通槽钢[8# \\ [80x43x5", L"8.04"},
    {L"普通槽钢[10#", L"普通槽钢[10# \\ [100x48x5.3", L"10"},
    {L"普通槽钢[12#", L"普通槽钢[12# \\ [120x53x5.5", L"12.06"},
    {L"普通槽钢[14#x6", L"普通槽钢[14#x6 \\ [140x58x6", L"14.53"},
    {L"普通槽钢[14#x8", L"普通槽钢[14#x8 \\ [140x60x8", L"16.73"},
    {L"镀锌扁钢-25x4", L"镀锌扁钢-25x4 \\ 5kg/6m(每根)", L"0.833"},
    {L"镀锌扁钢-40x4", L"镀锌扁钢-4x4 \\ 8kg/6m(每根)", L"1.33"},
    {L"镀锌圆钢φ10", L"镀锌圆钢φ10 \\ 4kg/6m(每根)", L"0.667"},
};
inline constexpr int kItemCount = static_cast<int>(sizeof kCatalogue / sizeof kCatalogue[0]);

// List indices the tests use by name.
inline constexpr int kPipeDN15 = 0;
inline constexpr int kPipeDN40 = 4;
inline constexpr int kPipeDN100 = 8;
inline constexpr int kPipeDN125 = 9;
inline constexpr int kPipeDN200 = 11;
inline constexpr int kAngle20x3 = 12;
inline constexpr int kAngle40x4 = 18;
inline constexpr int kFlat40x4 = 29;

inline constexpr wchar_t kTitle[] = L"Tarnolux 1.0.0.0 [Ardevin]";
inline constexpr wchar_t kLengthPrompt[] = L"请输入长度 (米)";
inline constexpr wchar_t kIntroduction[] = L"换算公式介绍,请选择好要转换的物料种类!";
inline constexpr wchar_t kMaterialPrompt[] = L"选择物料的种类";
inline constexpr wchar_t kButtonCaption[] = L"确转定换";
inline constexpr wchar_t kErrorCaption[] = L"错误";

// The window's outer size; it is centred on the primary screen.
inline constexpr int kWindowWidth = 310;
inline constexpr int kWindowHeight = 268;

}  // namespace tarnolux::e2e

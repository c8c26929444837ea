// The program's two event handlers: all of its behaviour.
//
// Both take nothing and keep nothing: between events every value lives in a
// control (the unit weight of the chosen material in the tag of 标签3, the
// length in the content of 编辑框1). They touch the window only through the
// property operations of ui/properties.h.
#pragma once

namespace tarnolux {

// The list-item-selected event of 组合框1. Enables and empties 编辑框1,
// empties 标签5 and 标签1, and looks the selected item's text up in the
// catalogue. Found: 标签3 shows the entry's specLine and its tag takes the
// unitWeightText. Not found (no selection, or a text not in the catalogue):
// 标签3 shows "物料数据不详,已禁止输入!", 编辑框1 is disabled, 标签5 shows
// "警告!数据读取失败", and the tag of 标签3 keeps what it held.
//   select "普通角钢∠40x4" -> 标签3 "∠40x4 \ ∠40x40x4 \ 2.419kg/m", tag "2.419"
void OnMaterialSelected();

// The click of 按钮1. Converts the content of 编辑框1 (metres) with the tag of
// 标签3 (kg/m) and writes the tonnes text into 标签5, then the kilograms text
// into 标签1. Tests nothing: an empty or non-numeric input reads as
// ParseNumber gives it.
//   length "6", tag "2.419" -> 标签5 "【 0.01 】吨", 标签1 "【 14.51 】KG"
void OnConvertClicked();

}  // namespace tarnolux

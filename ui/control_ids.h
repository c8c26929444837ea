// Names the window layer and its outside tests agree on: window classes and
// the control identifiers of MainWindow's eight controls, in stored order.
#pragma once

#define TARNOLUX_MAIN_CLASS L"TarnoluxMainWindow"
#define TARNOLUX_LABEL_CLASS L"TarnoluxLabel"

// Stored order: first on top of the stacking, and the focus-order tie-break.
#define IDC_LABEL1 101   // 标签1: kilograms result
#define IDC_LABEL5 102   // 标签5: tonnes result
#define IDC_BUTTON1 103  // 按钮1: convert
#define IDC_EDIT1 104    // 编辑框1: length in metres
#define IDC_LABEL4 105   // 标签4: length prompt
#define IDC_LABEL3 106   // 标签3: specification line; its tag holds the unit weight
#define IDC_COMBO1 107   // 组合框1: material list
#define IDC_LABEL2 108   // 标签2: material prompt

#include "ui/handlers.h"

#include <cstdint>

#include "core/catalogue.h"
#include "core/convert_weight.h"
#include "core/parse_number.h"
#include "core/stored_result.h"
#include "ui/control_ids.h"
#include "ui/properties.h"
#include "ui/test_hooks.h"

namespace tarnolux {
namespace {

constexpr char kNoDataMessage[] =
    "\xCE\xEF\xC1\xCF\xCA\xFD\xBE\xDD\xB2\xBB\xCF\xEA,"
    "\xD2\xD1\xBD\xFB\xD6\xB9\xCA\xE4\xC8\xEB!";  // 物料数据不详,已禁止输入!
constexpr char kReadFailedWarning[] =
    "\xBE\xAF\xB8\xE6!\xCA\xFD\xBE\xDD\xB6\xC1\xC8\xA1\xCA\xA7\xB0\xDC";  // 警告!数据读取失败
constexpr char kEmpty[] = "";

// The number in a text read from the window; the text is released.
double ParseAndRelease(Text text) {
  const double value = ParseNumber(text);
  ReleaseText(text);
  return value;
}

// P = L x U in kilograms, from the length as it stands in 编辑框1 and the unit
// weight stored in the tag of 标签3, under the stored-result rule.
double CurrentKilograms() {
  const double length = ParseAndRelease(ReadContent(IDC_EDIT1));
  const double unitWeight = ParseAndRelease(ReadTag(IDC_LABEL3));
  return StoredProduct(length, unitWeight);
}

}  // namespace

void OnMaterialSelected() {
  NoteTestEvent("OnMaterialSelected");
  WriteDisabled(IDC_EDIT1, false);
  WriteContent(IDC_EDIT1, kEmpty);
  WriteCaption(IDC_LABEL5, kEmpty);
  WriteCaption(IDC_LABEL1, kEmpty);

  const int32_t index = ReadSelectedIndex(IDC_COMBO1);
  Text itemText = ReadItemText(IDC_COMBO1, index);
  const MaterialEntry* entry = FindMaterial(itemText);
  ReleaseText(itemText);

  if (entry != nullptr) {
    WriteCaption(IDC_LABEL3, entry->specLine);
    WriteTag(IDC_LABEL3, entry->unitWeightText);
    return;
  }
  // The tag is left alone: it keeps the unit weight of the last material found.
  WriteCaption(IDC_LABEL3, kNoDataMessage);
  WriteDisabled(IDC_EDIT1, true);
  WriteCaption(IDC_LABEL5, kReadFailedWarning);
}

void OnConvertClicked() {
  NoteTestEvent("OnConvertClicked");
  // The tonnes come from the unrounded kilograms, and are written first.
  const double tonnes = StoredQuotient(CurrentKilograms(), kKilogramsPerTonne);
  Text tonnesText = FrameResult(tonnes, kTonnesFrame);
  WriteCaption(IDC_LABEL5, tonnesText);
  ReleaseText(tonnesText);

  // The two properties are read again; nothing can have changed them since.
  Text kilogramsText = FrameResult(CurrentKilograms(), kKilogramsFrame);
  WriteCaption(IDC_LABEL1, kilogramsText);
  ReleaseText(kilogramsText);
}

}  // namespace tarnolux

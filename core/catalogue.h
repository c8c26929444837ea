// The material catalogue: the fixed, ordered table of 31 steel-stock items.
//
// Row r (1 to 31) is the item with index r - 1 in the material list of the
// window. Every text is GBK; the table is constant for the life of the program
// and its texts are never released (ReleaseText ignores them).
#pragma once

#include <span>

#include "core/text.h"

namespace tarnolux {

struct MaterialEntry {
  Text listText;        // the item's name in the material list; the lookup key
  Text specLine;        // shown to the user; nothing parses it
  Text unitWeightText;  // kilograms per metre, a plain decimal text
};

inline constexpr int kMaterialCount = 31;

// The 31 entries in list order.
std::span<const MaterialEntry, kMaterialCount> MaterialCatalogue();

// The first entry whose listText equals `text` byte for byte under
// CompareTexts (absent equals empty), or null when none does. No trimming, no
// case or width folding, no prefix match.
//   FindMaterial("镀锌扁钢-40x4")  -> row 30, specLine "镀锌扁钢-4x4 \ 8kg/6m(每根)"
//   FindMaterial("镀锌焊管DN1")    -> null (a prefix of rows 1, 9, 10 and 11)
const MaterialEntry* FindMaterial(Text text);

}  // namespace tarnolux

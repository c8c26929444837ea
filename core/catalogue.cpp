#include "core/catalogue.h"

namespace tarnolux {
namespace {

// The texts are stored whole, as the material sheets give them, odd rows
// included (row 3 has no blank before its weight; row 30's line names a
// -4x4 bar). The unit weight is not derived from the specification line.
constexpr MaterialEntry kMaterialCatalogue[kMaterialCount] = {
#include "core/catalogue_data.inc"
};

}  // namespace

std::span<const MaterialEntry, kMaterialCount> MaterialCatalogue() {
  return kMaterialCatalogue;
}

const MaterialEntry* FindMaterial(Text text) {
  for (const MaterialEntry& entry : kMaterialCatalogue) {
    if (CompareTexts(text, entry.listText) == 0) return &entry;
  }
  return nullptr;
}

}  // namespace tarnolux

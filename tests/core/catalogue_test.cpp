#include "core/catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace tarnolux {
namespace {

// Key bytes checked against the encoding tables by hand, independently of
// the generated catalogue: ∠ is A1 CF, φ is A6 D5.
TEST(MaterialCatalogue, KeyGbkBytes) {
  const auto catalogue = MaterialCatalogue();
  // Row 13 "普通角钢∠20x3": four Chinese characters, then ∠.
  EXPECT_EQ(std::string(catalogue[12].listText).substr(8, 2), "\xA1\xCF");
  // Row 31 "镀锌圆钢φ10".
  EXPECT_STREQ(catalogue[30].listText,
               "\xB6\xC6\xD0\xBF\xD4\xB2\xB8\xD6\xA6\xD5"
               "10");
  // Row 1's line carries 寸 (B4 E7), φ and 每根 (C3 BF B8 F9).
  EXPECT_STREQ(catalogue[0].specLine,
               "DN15 \\ 1/2\xB4\xE7 \\ \xA6\xD5"
               "21.3 \\ 8.14kg/6m(\xC3\xBF\xB8\xF9)");
}

TEST(MaterialCatalogue, ListTextsAreDistinctAndFieldsWithinTheirSizes) {
  std::set<std::string> seen;
  for (const MaterialEntry& entry : MaterialCatalogue()) {
    EXPECT_TRUE(seen.insert(entry.listText).second) << entry.listText;
    EXPECT_GE(std::strlen(entry.listText), 11u);
    EXPECT_LE(std::strlen(entry.listText), 14u);
    EXPECT_GE(std::strlen(entry.specLine), 22u);
    EXPECT_LE(std::strlen(entry.specLine), 42u);
    EXPECT_GE(std::strlen(entry.unitWeightText), 2u);
    EXPECT_LE(std::strlen(entry.unitWeightText), 6u);
    EXPECT_EQ(std::strspn(entry.unitWeightText, "0123456789."), std::strlen(entry.unitWeightText));
  }
}

TEST(FindMaterial, EveryListTextFindsItsOwnRow) {
  const auto catalogue = MaterialCatalogue();
  for (const MaterialEntry& entry : catalogue) {
    EXPECT_EQ(FindMaterial(entry.listText), &entry) << entry.listText;
    // A copy, not the same pointer: the lookup compares bytes.
    const std::string copy = entry.listText;
    EXPECT_EQ(FindMaterial(copy.c_str()), &entry);
  }
}

TEST(FindMaterial, KeepsTheOddRowsAsTheyStand) {
  // 镀锌扁钢-40x4 is row 30, whose line names a -4x4 bar.
  const MaterialEntry* flat = FindMaterial("\xB6\xC6\xD0\xBF\xB1\xE2\xB8\xD6-40x4");
  ASSERT_NE(flat, nullptr);
  EXPECT_EQ(flat - MaterialCatalogue().data(), 29);
  EXPECT_STREQ(flat->specLine, "\xB6\xC6\xD0\xBF\xB1\xE2\xB8\xD6-4x4 \\ 8kg/6m(\xC3\xBF\xB8\xF9)");
  EXPECT_STREQ(flat->unitWeightText, "1.33");
  // 镀锌焊管DN25: no blank between the last backslash and the weight.
  const MaterialEntry* dn25 = FindMaterial(
      "\xB6\xC6\xD0\xBF\xBA\xB8\xB9\xDC"
      "DN25");
  ASSERT_NE(dn25, nullptr);
  EXPECT_STREQ(dn25->specLine,
               "DN25 \\ 1\xB4\xE7 \\ \xA6\xD5"
               "33.7 \\15.32kg/6m(\xC3\xBF\xB8\xF9)");
}

TEST(FindMaterial, MatchesWholeTextsOnly) {
  const char* const kMisses[] = {
      nullptr,
      "",
      "\xB6\xC6\xD0\xBF\xBA\xB8\xB9\xDC"
      "DN1",  // prefix of rows 1, 9, 10 and 11
      "\xB6\xC6\xD0\xBF\xBA\xB8\xB9\xDC"
      "DN15 ",  // trailing blank
      "\xC6\xD5\xCD\xA8\xBD\xC7\xB8\xD6\xA1\xCF"
      "20X3",  // upper-case X
      "\xB6\xC6\xD0\xBF\xBA\xB8\xB9\xDC\xA3\xC4\xA3\xCE"
      "15",  // full-width ＤＮ
  };
  for (Text miss : kMisses) EXPECT_EQ(FindMaterial(miss), nullptr) << (miss ? miss : "<absent>");
}

}  // namespace
}  // namespace tarnolux

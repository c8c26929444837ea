#include "core/convert_weight.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnolux {
namespace {

std::string Tonnes(const std::string& number) {
  return "\xA1\xBE " + number + " \xA1\xBF\xB6\xD6";
}
std::string Kilograms(const std::string& number) {
  return "\xA1\xBE " + number + " \xA1\xBFKG";
}

// The full tables live in tests/cases/convert.cases; these cases are about
// what a table cannot show: ownership and absent inputs.
TEST(ConvertWeight, ReturnsFreshTextsTheCallerReleases) {
  const int64_t live = LiveTextCount();
  WeightTexts result = ConvertWeight("6", "2.419");
  EXPECT_EQ(result.tonnes, Tonnes("0.01"));
  EXPECT_EQ(result.kilograms, Kilograms("14.51"));
  EXPECT_EQ(LiveTextCount(), live + 2);
  ReleaseText(result.tonnes);
  ReleaseText(result.kilograms);
  EXPECT_EQ(LiveTextCount(), live);
}

TEST(ConvertWeight, AbsentInputsActAsEmpty) {
  struct Case {
    Text length;
    Text unit;
  };
  const Case kCases[] = {{nullptr, "1.357"}, {"", "1.357"}, {"10", nullptr}, {nullptr, nullptr}};
  for (const Case& c : kCases) {
    WeightTexts result = ConvertWeight(c.length, c.unit);
    EXPECT_EQ(result.tonnes, Tonnes("0"));
    EXPECT_EQ(result.kilograms, Kilograms("0"));
    ReleaseText(result.tonnes);
    ReleaseText(result.kilograms);
  }
}

TEST(ConvertWeight, ManyConversionsLeaveNoLiveText) {
  const int64_t live = LiveTextCount();
  for (int i = 0; i < 1000; ++i) {
    const std::string length = std::to_string(i) + ".25";
    WeightTexts result = ConvertWeight(length.c_str(), "36.12");
    ReleaseText(result.tonnes);
    ReleaseText(result.kilograms);
  }
  EXPECT_EQ(LiveTextCount(), live);
}

}  // namespace
}  // namespace tarnolux

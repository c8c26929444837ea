#include "core/text.h"

#include <gtest/gtest.h>

namespace tarnolux {
namespace {

TEST(CompareTexts, Placeholder) { EXPECT_EQ(CompareTexts(nullptr, ""), 0); }

}  // namespace
}  // namespace tarnolux

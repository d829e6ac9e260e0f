// The game's mode and dialog bases: their flags.
#include <gtest/gtest.h>

#include "testkit/testkit_fixtures.h"
#include "records/tukmode.h"

namespace {
class TUKModeTest : public testkit::AppTest<> {};
}  // namespace

TEST_F(TUKModeTest, FlagsGetActiveAndVisibleAddedAndNoFlagsKeepTheDefaults) {
    const struct {
        uint32_t nGiven, nFlags;
    } kRows[] = {{0, 3}, {1, 3}, {4, 7}, {13, 15}, {32, 35}};
    for (const auto& row : kRows) EXPECT_EQ(TUKMode(row.nGiven).getFlags(), row.nFlags) << row.nGiven;
    // Drawn over the modes below, which it pauses.
    EXPECT_EQ(TUKDialog().getFlags(), GameMode::kActive | GameMode::kVisible | GameMode::kDrawBelow);
}

// Alignment offsets within a picture.
#include <gtest/gtest.h>

#include "image/alignment.h"
#include "image/imagetest_util.h"

TEST(Alignment, OffsetsByKeywordAndSign) {
    // 40 x 10 canvas; its 4 x 2 data at (30, 6), insertion point (5, 1).
    Zep::SmartPtr<MemImage> p = imagetest::onCanvas(imagetest::makeImage(4, 2, true), 30, 6, 40, 10);
    p->setInsPoint(5, 1);
    struct Case {
        const char* szSpec;
        bool bHorizontal;
        int nResult;
    };
    const Case aCases[] = {
        {"+3", true, 3},          {"center+3", true, 23},     {"left-2", true, -2},
        {"middle", false, 5},     {"right", false, 10},       {"bottom", true, 40},
        {"top+1", false, 1},      {"7", true, 7},             {"", true, 0},
        {"x-1+2", true, 2},       {"Center", true, 0},        {"-4", false, -4},
        {"contents_center", true, 32}, {"contents_center+1", false, 8},
        {"right+99999999999", true, 2147483647},
    };
    for (const Case& c : aCases) EXPECT_EQ(c.nResult, parseAlignmentOffset(c.szSpec, p.get(), c.bHorizontal)) << c.szSpec;
}

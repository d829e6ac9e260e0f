// The bar preview: one scene with every keyword read for the store's
// purchases at several upgrade levels; the final scale; the shared pictures
// left as they were.
#include <gtest/gtest.h>

#include "screens/previewtest_util.h"

namespace {

using previewtest::depths;
using previewtest::records;

class BarPreviewTest : public previewtest::PreviewTest {};

}  // namespace

TEST_F(BarPreviewTest, EachPurchaseShowsTheBarItsLevelsMakeAndMarksWhatItAdds) {
    const struct {
        int nPurchaseId;
        const char* szLevels;  // the player's
        const char* szSprites;
        const char* szHighlights;
        const char* szRecords;
    } kCases[] = {
        // The parrot: its stand and both parrot sprites, all three highlighted.
        {8, "0000000000000", "11 12 12 12 31 32 41 42", "31 41 42", ""},
        {9, "0000000000000", "11 12 12 12 32 34", "34", ""},
        // Shows at level 3 after the purchase, centre piece 0 at level 2.
        {12, "0000000000202", "11 12 12 12 17 19 32 37 38 39", "37 38 39", ""},
        // Juice machine 0 at level 3: the barman and his two glass spots.
        {8, "0000003000000", "11 12 12 12 31 32 36 41 42 44 45", "31 41 42", ""},
        // Chairs: none bought, then chairs 0 and 1 bought.
        {13, "0000000000000", "11 12 12 12 13h 14h 15h 32", "13 14 15", "13:3/1/h 14:4/1/h 15:34/1/h"},
        {13, "0011000000000", "11 12 12 12 13 14 15 32", "", "13:3/1/s 14:4/1/s 15:34/1/s"},
        // Centre piece 0 at level 1, then 2.
        {14, "0010000000100", "11 12 12 12 13 15 16 17h 18 19h 32", "19",
         "16:7/1/s 17:7/2/h 18:7/1/s 19:7/2/h"},
        {14, "0010000000200", "11 12 12 12 13 15 17 19 32", "", "17:7/2/s 19:7/2/s"},
        // Juice machine 0 new, then at its last level.
        {15, "0000000000000", "11 12 12 12 30h 32 33h 43h", "30 33 43", "30:9/1/h 33:9/1/h 43:9/1/h"},
        {15, "0000003000000", "11 12 12 12 32 36 44 45", "", "36:9/23/s 44:9/23/s 45:9/3/s"},
    };
    for (const auto& c : kCases) {
        const BarPreview& preview = read(c.nPurchaseId, c.szLevels);
        const std::string sCase = std::to_string(c.nPurchaseId) + " at " + c.szLevels;
        EXPECT_EQ(depths(preview.getSprites(), 10), c.szSprites) << sCase;
        EXPECT_EQ(depths(preview.getHighlights(), 0, false), c.szHighlights) << sCase;
        EXPECT_EQ(records(preview.getRecords()), c.szRecords) << sCase;
    }
    EXPECT_EQ(m_files.logText().find("B: Scene"), std::string::npos);
    // The barman in the look his line names.
    EXPECT_TRUE(m_app.isAnimationCached("barman2"));
}

TEST_F(BarPreviewTest, ScalesByFourTenthsAndLeavesTheCachedPicturesAsTheyWere) {
    const Zep::SmartPtr<Image> pSpot = m_app.getImage("spot"), pCoaster = m_app.getImage("posavaso_1");
    const BarPreview& preview = read(13, "0000000000000");
    const Zep::SmartPtr<Sprite> pCorner = preview.getNamedSprites().get("corner");
    EXPECT_EQ(pCorner->getPosition(), Point(288.0f, 222.0f));
    EXPECT_EQ(pCorner->getScalePoint(), Point(-0.4f, 0.4f));
    EXPECT_EQ(preview.getNamedSprites().get("c1")->getScalePoint(), Point(-0.4f, 0.4f));
    const auto pIdle = Zep::SmartPtr<AnimSprite>::dynamicCast(preview.getNamedSprites().get("idle"));
    EXPECT_EQ(pIdle->getScalePoint(), Point(1.0f, 0.2f));
    EXPECT_EQ(pIdle->getSequenceName(), "work");
    EXPECT_FALSE(preview.getNamedSprites().get("row").notNULL());
    for (int i = 0; i < 10; ++i) EXPECT_EQ(preview.getSprites().get(i)->getPosition(), Point(32.0f * i, 222.0f));
    EXPECT_EQ(preview.getSprites().get(12)->getPosition(), Point(56.0f, 4.0f));  // the row's second: 140, 10
    // Mirrored and moved only on the preview's copies.
    EXPECT_EQ(m_app.getImage("chair")->getPixel(0, 0), Color(255, 0, 0, 255));
    EXPECT_EQ(preview.getNamedSprites().get("c0")->getImage()->getPixel(0, 0), Color(0, 0, 255, 255));
    EXPECT_EQ(m_app.getImage("spot"), pSpot);
    EXPECT_EQ(pSpot->getInsPoint(), Point(0.0f, 0.0f));
    EXPECT_EQ(pCoaster->getInsPoint(), Point(0.0f, 0.0f));
}

// SCWipe per direction and split: the part cut out of the source image (its
// size and the source pixel at its corner) and where the sprite stands.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "effects/effectstest_util.h"
#include "effects/sc_wipe.h"

namespace {

using effectstest::EffectsTest;
using effectstest::picture;

class WipeTest : public EffectsTest {};

// "w x h @ x,y src sx,sy": the sprite's part and position, and which source
// pixel the part's top-left shows (the source is imagetest::pattern).
std::string shown(const Sprite& sprite) {
    const Zep::SmartPtr<Image> p = sprite.getImage();
    std::string s = std::to_string(p->getWidth()) + "x" + std::to_string(p->getHeight()) + " @ " +
                    std::to_string(sprite.getX()) + "," + std::to_string(sprite.getY());
    if (p->getWidth() == 0 || p->getHeight() == 0) return s;
    const Color c = p->getPixel(0, 0);
    return s + " src " + std::to_string((c.getRed() - 1) / 7) + "," + std::to_string((c.getGreen() - 2) / 11);
}

TEST_F(WipeTest, EachDirectionKeepsItsEdgeInPlace) {
    struct Case {
        int nDirection;
        float fTime;
        const char* szShown;
    };
    const Case aCases[] = {
        {SCWipe::kKeepLeft, 0.5f, "15x10 @ 10,20 src 0,0"},   {SCWipe::kKeepLeft, 1.0f, "0x10 @ 10,20"},
        {SCWipe::kKeepRight, 0.25f, "23x10 @ 17,20 src 7,0"}, {SCWipe::kKeepTop, 0.5f, "30x5 @ 10,20 src 0,0"},
        {SCWipe::kKeepBottom, 0.5f, "30x5 @ 10,25 src 0,5"},  {SCWipe::kKeepBottom, 1.0f, "30x0 @ 10,30"},
    };
    for (const Case& c : aCases) {
        Zep::SmartPtr<Sprite> pSprite = sprite(30, 10, 10.0f, 20.0f);
        auto* pWipe = attach(*pSprite, std::make_unique<SCWipe>(c.nDirection, false, 1.0f, false));
        EXPECT_EQ(c.fTime >= 1.0f, pWipe->update(c.fTime, pSprite));
        EXPECT_EQ(c.szShown, shown(*pSprite)) << c.nDirection << " at " << c.fTime;
        EXPECT_TRUE(m_pMode->containsSprite(pSprite));
    }
}

// A 31-pixel-wide sprite splits at column 15: the halves open to the sides.
TEST_F(WipeTest, SplitHalvesShrinkTowardsTheirOuterEdges) {
    Zep::SmartPtr<Sprite> pSprite = sprite(31, 10, 10.0f, 20.0f);
    auto* pWipe = attach(*pSprite, std::make_unique<SCWipe>(SCWipe::kKeepLeft, true, 1.0f, true));
    Zep::SmartPtr<Sprite> pSecond = pWipe->getSecondSprite();
    ASSERT_TRUE(pSecond.notNULL());
    EXPECT_TRUE(m_pMode->containsSprite(pSecond));
    EXPECT_EQ("15x10 @ 10,20 src 0,0", shown(*pSprite));
    EXPECT_EQ("16x10 @ 25,20 src 15,0", shown(*pSecond));

    EXPECT_FALSE(pWipe->update(0.5f, pSprite));
    EXPECT_EQ("7x10 @ 10,20 src 0,0", shown(*pSprite));
    EXPECT_EQ("8x10 @ 33,20 src 23,0", shown(*pSecond));  // right edge stays at 41

    // finish: both parts empty, both sprites leave the mode.
    EXPECT_TRUE(pWipe->finish(pSprite));
    EXPECT_EQ("0x10 @ 10,20", shown(*pSprite));
    EXPECT_FALSE(m_pMode->containsSprite(pSecond));
    EXPECT_FALSE(m_pMode->containsSprite(pSprite));
}

TEST_F(WipeTest, VerticalSplitMirrorsTheTopHalfAtTheBottom) {
    Zep::SmartPtr<Sprite> pSprite = sprite(8, 20, 0.0f, 100.0f);
    auto* pWipe = attach(*pSprite, std::make_unique<SCWipe>(SCWipe::kKeepTop, true, 2.0f, false));
    Zep::SmartPtr<Sprite> pSecond = pWipe->getSecondSprite();
    EXPECT_EQ("8x10 @ 0,110 src 0,10", shown(*pSecond));
    pWipe->update(1.5f, pSprite);
    EXPECT_EQ("8x2 @ 0,100 src 0,0", shown(*pSprite));
    EXPECT_EQ("8x3 @ 0,117 src 0,17", shown(*pSecond));  // bottom edge stays at 120
    EXPECT_TRUE(pWipe->update(0.5f, pSprite));
    EXPECT_TRUE(m_pMode->containsSprite(pSprite));
    EXPECT_FALSE(m_pMode->containsSprite(pSecond));
}

// Nothing to cut ends at once; a sprite without a mode is wiped all the same.
TEST_F(WipeTest, ImagelessOrModelessSprites) {
    Zep::SmartPtr<Sprite> pBare = new Sprite(10, 10, 0);
    auto* pWipe = attach(*pBare, std::make_unique<SCWipe>(SCWipe::kKeepLeft, true, 5.0f, true));
    EXPECT_TRUE(pWipe->update(0.1f, pBare));

    Zep::SmartPtr<Sprite> pLoose = new Sprite(picture(20, 4, 0, 0), Point(0.0f, 0.0f), 0);
    pLoose->addController(std::make_unique<SCWipe>(SCWipe::kKeepLeft, true, 1.0f, true));
    pLoose->updateControllers(0.5f);
    EXPECT_EQ(5, pLoose->getImage()->getWidth());
    pLoose->updateControllers(0.5f);
    EXPECT_EQ(0, pLoose->getControllerCount());
}

}  // namespace

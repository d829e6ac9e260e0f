#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "sprite/gamemode.h"
#include "sprite/spritetest_util.h"
#include "testkit/testkit_sprites.h"
#include "theme/theme.h"

namespace {

using spritetest::picture;
using testkit::EventLog;
using testkit::RecordingSprite;
using testkit::ScriptedController;
using SpritePtr = Zep::SmartPtr<Sprite>;

class GameModeTest : public spritetest::AppWithScreen<> {
protected:
    // A named 40 x 20 sprite at (100, 100) whose insertion point is its centre.
    SpritePtr named(const char* szName, int nZ, int x = 100, int y = 100) {
        SpritePtr p = new Sprite(picture(40, 20, 20, 10), x, y, nZ);
        m_names[p.get()] = szName;
        return p;
    }
    std::string add(std::string& s, const Sprite* p) {
        return s += (s.empty() ? "" : " ") + (m_names.count(p) ? m_names[p] : "?");
    }
    std::string nameOf(const Sprite* p) { std::string s; return add(s, p); }
    std::string drawn() {
        m_pVideo->render();
        std::string s;
        for (const auto& [pMode, pSprite] : m_pVideo->m_vDrawn) add(s, pSprite);
        return s;
    }
    std::string names(const Zep::List<SpritePtr>& lSprites) {
        std::string s;
        for (const SpritePtr& p : lSprites) add(s, p.get());
        return s;
    }
    // Every control under the point, topmost first, by taking each one away.
    std::string hitOrder(GameMode& mode, int x, int y) {
        std::string s;
        for (SpritePtr p; (p = mode.findControlAt(x, y)).notNULL(); mode.removeControl(p)) add(s, p.get());
        return s;
    }

    std::map<const Sprite*, std::string> m_names;
};

// Lower z is drawn first; within one z-order the sprite added last is drawn
// first (beneath) and hit first.
TEST_F(GameModeTest, DrawOrderAndHitOrderOfMixedAndEqualZ) {
    GameMode mode;
    m_app.stackMode(&mode);
    const std::pair<const char*, int> aSprites[] = {{"a", 5}, {"b", 0}, {"c", 5}, {"d", -3}, {"e", 0}};
    for (const auto& [szName, nZ] : aSprites) mode.addControl(named(szName, nZ));
    SpritePtr pHidden = mode.addSprite(named("hidden", 1));
    pHidden->setVisible(false);
    mode.addSprite(new Sprite(0, 0, 1));  // visible, but nothing to draw

    EXPECT_EQ("d e b c a", drawn());
    EXPECT_EQ(4, mode.getLayers().getCount());
    EXPECT_EQ("c a e b d", hitOrder(mode, 100, 100));
    EXPECT_EQ(0, mode.getControlLayers().getCount());
    m_app.unstackMode(&mode);
}

TEST_F(GameModeTest, WalkDrawsActiveVisibleModesFromTheLowestDrawn) {
    GameMode bottom, middle, top;
    bottom.addSprite(named("bottom", 0));
    middle.addSprite(named("middle", 0));
    top.addSprite(named("top", 0));
    for (GameMode* p : {&bottom, &middle, &top}) m_app.stackMode(p);
    EXPECT_EQ("top", drawn());

    top.addFlags(GameMode::kDrawBelow);
    middle.addFlags(GameMode::kDrawBelow | GameMode::kClearScreen);
    const int nClears = m_pVideo->m_nClearCount;
    EXPECT_EQ("bottom middle top", drawn());
    EXPECT_EQ(nClears + 1, m_pVideo->m_nClearCount);
    EXPECT_EQ(Color(0, 0, 0, 255), m_pVideo->m_lastClearColor);

    middle.clearFlags(GameMode::kVisible);
    bottom.clearFlags(GameMode::kActive);
    EXPECT_EQ("top", drawn());
    for (GameMode* p : {&bottom, &middle, &top}) m_app.unstackMode(p);
    EXPECT_EQ("", drawn());
}

// A changed z-order moves the sprite to the front of its new layer in the
// display and control layers; its place in the update layers stays.
TEST_F(GameModeTest, ZChangeResortsDisplayAndControlLayersOnly) {
    EventLog log;
    GameMode mode;
    SpritePtr pX = named("x", 1), pY = named("y", 1);
    for (const SpritePtr& p : {pX, pY}) {
        p->addController(std::make_unique<ScriptedController>("c", log));
        mode.addControl(p);
    }
    EXPECT_EQ("y x", names(mode.getAllSprites()));
    pX->setZOrder(2);
    EXPECT_EQ(2, mode.getLayers().getCount());
    pX->setZOrder(1);
    EXPECT_EQ(1, mode.getLayers().getCount());
    EXPECT_EQ("x y", names(mode.getAllSprites()));
    EXPECT_EQ("y x", names(mode.getAllAnimatedSprites()));
    EXPECT_EQ("x", nameOf(mode.findControlAt(100, 100).get()));
}

TEST_F(GameModeTest, UpdateRunsASnapshotAndDropsSpritesWithoutControllers) {
    EventLog log;
    GameMode mode;
    SpritePtr pDone = named("done", 0), pStays = named("stays", 0);
    mode.addSprite(pStays);
    mode.addSprite(pDone);
    pStays->addController(std::make_unique<ScriptedController>("s", log));
    // Removing the other sprite from the mode does not keep it from its turn.
    pDone->addController(std::make_unique<ScriptedController>("d", log, [&](Sprite&) {
        mode.removeSprite(pStays);
        return true;
    }));
    mode.frameUpdate(0.1f);
    EXPECT_EQ((EventLog{"d update", "~d", "s update"}), log);
    EXPECT_EQ("", names(mode.getAllAnimatedSprites()));
    EXPECT_EQ("done", names(mode.getAllSprites()));
}

TEST_F(GameModeTest, FocusHoverAndControlRemoval) {
    EventLog log;
    GameMode mode;
    SpritePtr pA = new RecordingSprite("a", log, picture(10, 10, 0, 0), 0, 0, 0);
    SpritePtr pB = new RecordingSprite("b", log, picture(10, 10, 0, 0), 0, 0, 0);
    mode.addControl(pA);
    mode.addControl(pB);
    mode.setFocusSprite(pA);
    mode.setFocusSprite(pA);
    mode.setFocusSprite(pB);
    mode.setHoverSprite(pA);
    mode.removeControl(pA);
    mode.removeSprite(pB);
    EXPECT_EQ((EventLog{"a onModeSet", "b onModeSet", "a onFocus", "b onFocus", "a onBlur", "a onMouseLeave",
                        "b onBlur", "b onModeSet null"}),
              log);
    EXPECT_TRUE(mode.getHoverSprite().isNULL() && mode.getFocusSprite().isNULL());
    EXPECT_EQ(pA->getMode(), &mode);  // still displayed, no longer a control
}

TEST_F(GameModeTest, FlagsNotifyTheDriverOnlyForBitsZeroToTwo) {
    const int nBefore = m_pVideo->m_nDisplayChangedCount;
    GameMode mode;
    EXPECT_EQ(3u, mode.getFlags());
    EXPECT_EQ(nBefore + 1, m_pVideo->m_nDisplayChangedCount);
    mode.addFlags(GameMode::kUpdateBelow | GameMode::kInputBelow | GameMode::kClearScreen);
    EXPECT_EQ(nBefore + 1, m_pVideo->m_nDisplayChangedCount);
    mode.addFlags(GameMode::kDrawBelow);
    mode.clearFlags(GameMode::kActive);
    EXPECT_EQ(nBefore + 3, m_pVideo->m_nDisplayChangedCount);
    EXPECT_EQ(62u, mode.getFlags());
}

TEST_F(GameModeTest, DimmerCoversTheScreenInBlack) {
    GameMode mode;
    SpritePtr pDimmer = mode.addDimmer(0.5f);
    EXPECT_EQ(std::make_pair(static_cast<float>(GameMode::kDimmerZOrder), 0.5f),
              std::make_pair(static_cast<float>(pDimmer->getZOrder()), pDimmer->getAlpha()));
    EXPECT_EQ("(0, 0 - 888, 666)", std::string(pDimmer->getBoundingRect().toString().c_str()));
    EXPECT_EQ(Color(0, 0, 0, 255), pDimmer->getImage()->getPixel(9, 9));
}

// ---- Tooltips ------------------------------------------------------------------------

class TooltipTest : public GameModeTest {
protected:
    void SetUp() override {
        GameModeTest::SetUp();
        // A tooltip style over a 1 x 16 back: the captions are pictures as wide as 8 per letter.
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->addButtonStyle("Tooltip");
        pTheme->setButtonImage("Tooltip", 0, picture(1, 16, 0, 0));
        for (const char* szCaption : {"Hello", "Hi", "Longer", "tip"})
            m_app.addImage(szCaption, picture(8 * static_cast<int>(std::strlen(szCaption)), 16, 0, 0), true);
        m_app.setTheme(pTheme);
    }
    void moveMouse(GameMode& mode, int x, int y) {
        m_pPlatform->setMousePosition(x, y);
        mode.handleMouseMove(x, y);
    }
    // Where the current tooltip shows, or "none".
    std::string shown(GameMode& mode) {
        TooltipHandle p = mode.getCurrentTooltip();
        if (!p || !p->data->pSprite->isVisible()) return "none";
        const Point at = p->data->pSprite->getPosition();
        return std::to_string(static_cast<int>(at.x)) + "," + std::to_string(static_cast<int>(at.y));
    }
};

TEST_F(TooltipTest, AppearsAfterARestAndStaysOnTheScreen) {
    m_pPlatform->setMousePosition(110, 105);
    GameMode mode;
    EXPECT_EQ("Tooltip", std::string(mode.getTooltipStyle().c_str()));
    SpritePtr pNear = mode.addSprite(new Sprite(picture(40, 20, 0, 0), 100, 100, 0));
    SpritePtr pCorner = mode.addSprite(new Sprite(picture(100, 100, 0, 0), 700, 500, 0));
    pNear->setTooltip("Hello");  // a 40 x 16 picture
    pCorner->setTooltip("Hello");
    EXPECT_EQ(2, mode.getLayers().getCount());  // the sprites, and the tooltips above them

    // The countdown starts at 0: the first frame already shows it.
    mode.frameUpdate(0.01f);
    EXPECT_EQ("135,130", shown(mode));
    EXPECT_EQ(GameMode::kTooltipZOrder, mode.getCurrentTooltip()->data->pSprite->getZOrder());

    // Straight into the other area: shown at once, pulled back by its overflow.
    moveMouse(mode, 790, 590);
    EXPECT_EQ("760,584", shown(mode));
    // Out of every area: hidden at once, and found again only after a rest.
    moveMouse(mode, 5, 5);
    EXPECT_EQ("none", shown(mode));
    moveMouse(mode, 120, 110);
    for (float fStep : {0.1f, 0.1f}) mode.frameUpdate(fStep);
    EXPECT_EQ("none", shown(mode));
    mode.frameUpdate(0.1f);
    EXPECT_EQ("145,135", shown(mode));

    // A negative position becomes 0.
    mode.setTooltipOffset(Point(-200.0f, -200.0f));
    moveMouse(mode, 130, 112);
    EXPECT_EQ("0,0", shown(mode));
}

TEST_F(GameModeTest, ATooltipUnderAThemeNeverLoadedHasNoPicture) {
    m_app.setTheme(new Theme());  // no unnamed button style yet
    GameMode mode;
    SpritePtr pSprite = mode.addSprite(new Sprite(picture(40, 20, 0, 0), 100, 100, 0));
    pSprite->setTooltip("Hello");
    EXPECT_TRUE(pSprite->getTooltipHandle()->data->pSprite->getImage().isNULL());
}

TEST_F(TooltipTest, DisabledRecordsAreNotFoundAndHiddenOnesStayHidden) {
    m_pPlatform->setMousePosition(105, 105);
    GameMode mode;
    SpritePtr pSprite = mode.addSprite(new Sprite(picture(40, 20, 0, 0), 100, 100, 0));
    pSprite->setTooltip("Hi");
    pSprite->setVisible(false);  // disables the record
    mode.frameUpdate(0.5f);
    EXPECT_EQ("none", shown(mode));

    pSprite->setVisible(true);
    moveMouse(mode, 105, 105);
    mode.frameUpdate(0.3f);
    EXPECT_EQ("130,130", shown(mode));
    Sprite& tip = *mode.getCurrentTooltip()->data->pSprite;
    EXPECT_EQ(16, tip.getHeight());
    pSprite->setTooltip("Longer");  // the picture changes, the visibility stays
    EXPECT_TRUE(tip.getWidth() == 48 && tip.isVisible());
    mode.hideTooltips();
    pSprite->setTooltip("Hi");
    EXPECT_FALSE(tip.isVisible());
    mode.removeTooltip(pSprite->getTooltipHandle());  // the sprite forgets it too
    EXPECT_TRUE(!pSprite->getTooltipHandle() && !mode.getCurrentTooltip() && mode.getTooltipCount() == 0);
    pSprite->setVisible(false);
}

// A mode that logs the stack's notifications.
class NotedMode : public GameMode {
public:
    void onResume() override { m_log.push_back("onResume"); }
    void onCovered(GameMode* pTop) override { m_log.push_back(pTop == this ? "onCovered self" : "onCovered"); }
    EventLog m_log;
};

TEST_F(TooltipTest, StackNotificationsHideTooltipsFirstAndEndRemovesSprites) {
    m_pPlatform->setMousePosition(5, 5);
    NotedMode mode;
    SpritePtr pSprite = mode.addSprite(new Sprite(picture(10, 10, 0, 0), 0, 0, 0));
    pSprite->setTooltip("tip");
    for (int i = 0; i < 2; ++i) {
        mode.showTooltip();
        ASSERT_EQ("30,30", shown(mode));
        if (i == 0)
            mode.notifyResumed();
        else
            mode.notifyCovered(&mode);
        EXPECT_EQ("none", shown(mode));
    }
    EXPECT_EQ((EventLog{"onResume", "onCovered self"}), mode.m_log);
    mode.onEnd();
    EXPECT_EQ(0, mode.getLayers().getCount());
    EXPECT_EQ(nullptr, pSprite->getMode());
}

// ---- Mended faults ------------------------------------------------------------------------

// A sprite that leaves a mode, or whose mode goes away, forgets the mode and
// its tooltip; touching it afterwards reaches nothing freed.
TEST_F(GameModeTest, SpritesOutliveTheirModeCleanly) {
    EventLog log;
    SpritePtr pRemoved = named("removed", 0), pKept = named("kept", 0);
    {
        auto pMode = std::make_unique<GameMode>();
        for (const SpritePtr& p : {pRemoved, pKept}) {
            pMode->addControl(p);
            p->setTooltip("tip");
            p->addController(std::make_unique<ScriptedController>("c", log));
        }
        pMode->setFocusSprite(pKept);
        pMode->removeSprite(pRemoved);
    }  // deleted with pKept still in it
    for (const SpritePtr& p : {pRemoved, pKept}) {
        EXPECT_EQ(nullptr, p->getMode());
        EXPECT_EQ(nullptr, p->getTooltipHandle());
        for (SpriteList e : {SpriteList::kDisplay, SpriteList::kControl, SpriteList::kUpdate})
            EXPECT_FALSE(p->getHandle(e).isSet());
        p->setZOrder(7);
        p->addController(std::make_unique<ScriptedController>("late", log));
        p->setPosition(1, 2);
        p->setVisible(false);
        p->setTooltip("again");
        p->removeTooltip();
        p->updateControllers(0.1f);
    }
}

TEST_F(GameModeTest, RemoveAllSpritesEmptiesEveryList) {
    EventLog log;
    GameMode mode;
    SpritePtr pSprite = new RecordingSprite("r", log, picture(10, 10, 0, 0), 0, 0, 0);
    mode.addControl(pSprite);
    pSprite->setTooltip("tip");
    mode.setHoverSprite(pSprite);
    mode.removeAllSprites();
    EXPECT_TRUE(mode.getHoverSprite().isNULL() && mode.findControlAt(5, 5).isNULL());
    EXPECT_EQ(0, mode.getLayers().getCount() + mode.getTooltipCount());
    EXPECT_EQ((EventLog{"r onModeSet", "r onModeSet null"}), log);
    EXPECT_EQ(1, pSprite->getRefCount());
}

// Adding a sprite twice changes nothing; adding it to another mode moves it.
TEST_F(GameModeTest, AddingTwiceOrToASecondModeLeavesNoStaleEntries) {
    EventLog log;
    GameMode first, second;
    SpritePtr pSprite = named("s", 0);
    pSprite->addController(std::make_unique<ScriptedController>("c", log));
    first.addControl(pSprite);
    first.addSprite(pSprite);
    first.addControl(pSprite);
    EXPECT_EQ("s", names(first.getAllSprites()));
    EXPECT_EQ(4, pSprite->getRefCount());  // test, display, control, update

    second.addSprite(pSprite);
    EXPECT_EQ(&second, pSprite->getMode());
    EXPECT_TRUE(first.getAllSprites().isEmpty() && first.findControlAt(100, 100).isNULL());
    EXPECT_EQ("s", names(second.getAllAnimatedSprites()));
    first.removeSprite(pSprite);  // not first's: left alone
    EXPECT_TRUE(second.containsSprite(pSprite));
    second.removeSprite(pSprite);
    EXPECT_EQ(1, pSprite->getRefCount());
}

// Without an application (so without driver and theme) a mode still works.
TEST(GameModeAlone, NeedsNoApplicationDriverOrTheme) {
    ASSERT_EQ(nullptr, GameApp::getInstance());
    GameMode mode;
    EXPECT_EQ(3u, mode.getFlags());
    mode.addFlags(GameMode::kDrawBelow);
    EXPECT_EQ("", std::string(mode.getTooltipStyle().c_str()));
    SpritePtr pSprite = mode.addControl(new Sprite(picture(10, 10, 0, 0), 0, 0, 0));
    pSprite->setTooltip("tip");
    mode.frameUpdate(0.5f);
    mode.showTooltip();
    ASSERT_NE(nullptr, mode.getCurrentTooltip());
    EXPECT_TRUE(mode.getCurrentTooltip()->data->pSprite->getImage().isNULL());
    EXPECT_TRUE(mode.addDimmer(0.5f)->getImage().isNULL());
    EXPECT_STREQ("KEY", mode.getText("KEY"));
    EXPECT_TRUE(mode.getFont("any").isNULL());
    pSprite->setPoints(Zep::List<Point>{Point(1, 1)});
    EXPECT_EQ(-1, pSprite->getPointsStamp());
}

}  // namespace

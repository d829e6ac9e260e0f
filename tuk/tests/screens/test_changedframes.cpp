// Drawing only what changed gives the frames a whole redraw gives: the menu
// with its hovers and the fade to the map, a relax day with every show and
// the parrot played by mouse presses (customers arriving, ordering and
// drinking, the waitress walking with a full tray, popups, the options over
// the bar), a first day, and the store. Every frame's back buffer equals the
// whole redraw's, and most frames drew only part of the screen.
#include "level/scriptedwaiter_util.h"
#include "screens/changedframes_util.h"
#include "actors/character.h"
#include "actors/characterspot.h"
#include "actors/glassspot.h"
#include "base/keys.h"
#include "screens/menumode.h"
#include "actors/mug.h"
#include "level/playmode.h"
#include "records/profileaccess.h"
#include "screens/storemode.h"
#include "actors/trashbin.h"
#include "records/tukplayer.h"
#include "actors/waitress.h"

namespace {

using changedframes::ScreenTest;

class ChangedFrames : public ScreenTest {
protected:
    void TearDown() override {
        ScreenTest::TearDown();
        releaseProfileManager();
    }

    PlayMode& enterLevel(int nKind, const char* szLevels) {
        for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) m_player.setUpgradeLevel(i, szLevels[i] - '0');
        m_pLevel = new PlayMode(&m_player, nullptr, "scene0", 0, nKind, 1);
        m_app.pushMode(m_pLevel);
        m_pWaiter = std::make_unique<leveltest::ScriptedWaiter>(*m_pLevel, [this](int x, int y) {
            m_pPlatform->queueFrame({testkit::FakeEvent::mouseMove(x, y),
                                     testkit::FakeEvent::mouseDown(MouseButton::Left, x, y)});
        });
        m_pPlatform->setWorkTimePerFrame(40);
        return *m_pLevel;
    }

    // The scripted player's move (scriptedwaiter_util.h), its presses
    // reaching the level in the next frame.
    void playerMove() { m_pWaiter->move(); }
    // Played frames until served customers paid nPaid times (or the frames run out).
    void play(int nFrames) {
        for (int i = 0; i < nFrames; ++i) {
            playerMove();
            frame();
        }
    }
    // Near both ends of the widest walk area, where she may walk.
    std::pair<Point, Point> walkEnds() const {
        const WalkAreas& areas = m_pLevel->getWalkAreas();
        Rect widest = areas.get(0).rect;
        for (int i = 1; i < areas.getCount(); ++i)
            if (areas.get(i).rect.getWidth() > widest.getWidth()) widest = areas.get(i).rect;
        const float y = widest.getCenter().y;
        return {Point(static_cast<float>(widest.getLeft() + 20), y), Point(static_cast<float>(widest.getRight() - 20), y)};
    }
    // Her tray loaded with full mugs, she walks to and fro between the ends.
    void walkWithFullTray(int nFrames) {
        LevelData& data = m_pLevel->getLevelData();
        for (int i = 0; i < data.m_pWaitress->getCapacity(); ++i) {
            Zep::SmartPtr<Mug> pMug = Mug::create(m_pLevel, "vaso");
            pMug->setLiquids(Zep::List<int>{0, 1});
            pMug->fill();
            data.m_lMugs.add(pMug);
            data.m_pWaitress->setHandContents(pMug);
        }
        const auto [a, b] = walkEnds();
        int nEnd = 0, nWalks = 0;
        for (int i = 0; i < nFrames; ++i) {
            if (!m_pLevel->isWaitressWalking() && m_pLevel->canTakeClick()) {
                const Point& p = nEnd ? b : a;
                m_pLevel->walkWaitressTo(static_cast<int>(p.x), static_cast<int>(p.y));
                nEnd = 1 - nEnd;
                nWalks += m_pLevel->isWaitressWalking() ? 1 : 0;
            }
            frame();
        }
        EXPECT_GE(nWalks, 2);
    }

    TUKPlayer m_player;
    PlayMode* m_pLevel = nullptr;  // owned by the stack
    std::unique_ptr<leveltest::ScriptedWaiter> m_pWaiter;
};

TEST_F(ChangedFrames, TheMenuWithItsHoversAndTheFadeToTheMap) {
    getProfileManager()->createProfile("ann");
    m_app.setSetting("CurrentPlayerName", "ann");
    m_app.pushMode(new MenuMode());
    frames(300);  // the menu fades in, group by group
    const int nSettled = m_nFrames, nWhole = m_nFrames - m_nPartial - m_nUnchanged;
    for (const auto& [x, y] : {std::pair{100, 448}, {270, 448}, {180, 508}, {600, 100}, {100, 448}}) {
        moveTo(x, y);
        frames(15);
    }
    EXPECT_EQ(m_nFrames - m_nPartial - m_nUnchanged, nWhole) << "hovers drew whole frames";
    EXPECT_GT(m_nPartial, 0);
    const int nBefore = m_nFrames;
    EXPECT_GT(nBefore, nSettled);
    clickAt(270, 448);  // free play: the map comes behind a fade
    frames(120);
    EXPECT_EQ(m_app.getModeCount(), 2);  // the menu under the map
    EXPECT_GT(m_nFrames, nBefore);
    expectSameAsWhole();
}

TEST_F(ChangedFrames, ARelaxDayWithEveryShowAndTheParrotPlayedToItsOptions) {
    PlayMode& level = enterLevel(1, "2011111011224");
    play(500);
    EXPECT_GE(level.getCharacters().getCount(), 2);
    EXPECT_GE(m_pWaiter->ordersTaken(), 2);
    walkWithFullTray(300);
    play(250);
    EXPECT_GT(level.getLevelData().m_nDayMoney, 0);  // served, paid, a popup rose
    // The options over the bar, while the bar goes on beneath the dimmer.
    m_pPlatform->queueFrame({testkit::FakeEvent::keyDown(Key::Escape, 0)});
    frames(80);
    EXPECT_NE(m_app.getTopMode(), m_pLevel);
    EXPECT_GT(m_nPartial + m_nUnchanged, m_nFrames * 3 / 4) << m_nPartial << " partial of " << m_nFrames;
    expectSameAsWhole();
}

TEST_F(ChangedFrames, AFirstDayOfTheAdventure) {
    PlayMode& level = enterLevel(0, "0000000000000");
    play(400);
    EXPECT_GE(level.getCharacters().getCount(), 1);
    EXPECT_GT(m_nPartial + m_nUnchanged, m_nFrames * 3 / 4) << m_nPartial << " partial of " << m_nFrames;
    expectSameAsWhole();
}

TEST_F(ChangedFrames, TheStoreWithItsItemsHoveredAndTheSalesman) {
    for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) m_player.setUpgradeLevel(i, 0);
    m_player.setMoney(5000);
    auto* pStore = new StoreMode(&m_player, "scene0");
    m_app.pushMode(pStore);
    frames(40);
    for (int y = 120; y < 560; y += 60)
        for (int x = 60; x < 800; x += 140) {
            moveTo(x, y);
            frames(3);
        }
    EXPECT_GT(m_nPartial + m_nUnchanged, m_nFrames / 2) << m_nPartial << " partial of " << m_nFrames;
    expectSameAsWhole();
}

}  // namespace

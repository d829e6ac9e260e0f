// The built game under an X server of its own, pressed as a fast hand or a
// touch screen presses: the pointer's motion and the button's press sent
// together through the XTest extension, with no pause between them, so that
// both reach the game within one frame (and, for a tap, the release too).
// Each press and release must act on the control under its own position,
// not on what the pointer hovered before.
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "app/wholegame_util.h"

namespace {

using namespace wholegame;

// Long enough for a dialog to come on two busy cores.
constexpr int kDialogMilliseconds = 20000;
constexpr int kPresses = 5;

// In the new-player dialog: a point of the frame left of the name box, where
// no control is, and a point of the box's empty part, right of the caret.
constexpr int kBesideBoxX = 220, kBesideBoxY = 300;
constexpr int kInBoxX = 440, kInBoxY = 303;
// The name box's rectangle.
constexpr int kBoxLeft = 300, kBoxTop = 284, kBoxRight = 500, kBoxBottom = 314;

class XvfbWholeGamePresses : public GameRun {
protected:
    XvfbWholeGamePresses() : GameRun("presses") {}

    static uint64_t boxSum(const Shot& shot) { return sumOf(shot, kBoxLeft, kBoxTop, kBoxRight, kBoxBottom); }
    // The box once two looks in a row agree.
    uint64_t settledBox() {
        uint64_t nLast = boxSum(m_screen.grab());
        cameWithin(
            [&](const Shot& shot) {
                const uint64_t n = boxSum(shot);
                return std::exchange(nLast, n) == n;
            },
            kDialogMilliseconds);
        return nLast;
    }
};

}  // namespace

TEST_F(XvfbWholeGamePresses, APressSentWithItsMotionActsOnTheControlUnderIt) {
    ASSERT_TRUE(m_server.isRunning());
    ASSERT_TRUE(m_screen.isOpen());
    start();
    ASSERT_TRUE(waitFor("splash_1", showing(kSplashFirst)));
    click(100, 100, showing(kSplashFirst));
    ASSERT_TRUE(waitFor("splash_3", showing(kSplashSecond)));
    click(100, 100, showing(kSplashSecond));
    ASSERT_TRUE(waitFor("profile dialog", settledDimmed(kMenuTiles)));

    // The name box has the keys, and keeps them when a press lands beside
    // it: the letter typed next shows in the box. A press on it keeps them
    // too.
    type("ann");
    m_screen.click(kBesideBoxX, kBesideBoxY);
    const uint64_t nBox = settledBox();
    type("x");
    EXPECT_TRUE(cameWithin([&](const Shot& shot) { return boxSum(shot) != nBox; }, kDialogMilliseconds))
        << "the letter typed after a press beside the box does not show";
    m_screen.click(kInBoxX, kInBoxY);
    type("bo");
    m_screen.pressKey(kReturn);
    ASSERT_TRUE(waitFor("menu", showing(kMenu)));

    // The Options sign tapped each time, the motion coming from the
    // pointer's resting corner.
    int nOpened = 0;
    for (int i = 0; i < kPresses; ++i) {
        m_screen.moveTo(kRestX, kRestY);
        m_screen.tap(kOptionsX, kOptionsY);
        if (!cameWithin(settledDimmed(kMenu), kDialogMilliseconds)) continue;
        ++nOpened;
        click(kOptionsOkX, kOptionsOkY, dimmed(kMenu));
        ASSERT_TRUE(waitFor("menu after the options", showing(kMenu)));
    }
    EXPECT_EQ(nOpened, kPresses);

    // Quit from the menu, confirmed with Return; the player's name is kept.
    click(730, 510, showing(kMenu));
    ASSERT_TRUE(waitFor("exit confirmation", settledDimmed(kMenu)));
    for (int nTry = 0; nTry < kClickTries && m_pGame->wait(0) < 0; ++nTry) {
        m_screen.pressKey(kReturn);
        m_pGame->wait(kClickMilliseconds);
    }
    ASSERT_EQ(m_pGame->wait(kScreenMilliseconds), 0) << testkit::readFileBytes(dataFile("tuk.log"));
    m_pictures.readSettingsFile(dataFile("tukconfig.dat").c_str());
    EXPECT_STREQ(m_pictures.getSetting("CurrentPlayerName").c_str(), "annxbo");
}

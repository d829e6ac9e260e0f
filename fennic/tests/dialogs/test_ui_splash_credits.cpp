#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "media/flashsprite.h"
#include "base/keys.h"
#include "sdl/sdl_theora.h"
#include "testkit/testkit_clip.h"
#include "dialogs/ui_credits.h"
#include "ui/ui_label.h"
#include "dialogs/ui_splash.h"
#include "ui/uitest_util.h"

namespace {

using E = testkit::FakeEvent;

// Screens over a plain mode, run by frames of 16 ms on the scripted clock.
class Screens : public uitest::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        m_app.setFrameRate(60);
        m_pBelow = new GameMode();
        m_app.pushMode(m_pBelow);
        m_pPlatform->setTicks(1000);
    }
    void frames(int nCount) {
        for (int i = 0; i < nCount; ++i) m_app.frame(m_nLast, m_nDue, false);
    }
    // The sprites of a z-order as (x, y, height, alpha x 255), top to bottom.
    static std::vector<std::tuple<int, int, int, int>> spritesAt(const GameMode& mode, int nZOrder) {
        std::vector<std::tuple<int, int, int, int>> v;
        for (const auto& p : mode.getAllSprites()) {
            if (p->getZOrder() == nZOrder)
                v.emplace_back(p->getX(), p->getY(), p->getHeight(), static_cast<int>(p->getAlpha() * 255.0f + 0.5f));
        }
        std::sort(v.begin(), v.end(), [](auto& a, auto& b) { return std::get<1>(a) < std::get<1>(b); });
        return v;
    }

    GameMode* m_pBelow = nullptr;
    int m_nLast = 1000;
    int m_nDue = 1016;
};

// ---- Splash screen ------------------------------------------------------------

TEST_F(Screens, SplashEmptyListEndsInFirstUpdateAndTurnsQuitConfirmationOn) {
    m_app.setConfirmQuit(false);
    auto* p = new SplashScreen();
    m_app.pushMode(p);
    EXPECT_FALSE(m_app.isCursorVisible());
    // 800 x 600 in 200 x 200 tiles, column by column.
    ASSERT_EQ(p->getBackground().getCount(), 12);
    EXPECT_EQ(p->getBackground().get(1)->getY(), 200);
    EXPECT_EQ(p->getBackground().get(3)->getX(), 200);
    frames(1);
    EXPECT_EQ(m_app.getTopMode(), m_pBelow);
    EXPECT_TRUE(m_app.getConfirmQuit());
}

TEST_F(Screens, SplashMediaEndingsAndFadeSpeeds) {
    SplashScreen s;
    s.addMediaLogo("intro.ogv");
    s.addMediaLogo("intro.flv");
    const std::pair<const char*, const char*> kRefused[] = {{"intro.OGV", ".OGV"}, {"intro.png", ".png"}, {"ab", "ab"}};
    for (const auto& [szName, szEnding] : kRefused)
        EXPECT_EQ(testkit::messageOf([&, szName = szName] { s.addMediaLogo(szName); }),
                  std::string("Unsupported file extension: ") + szEnding + "\n");
    s.addImageLogo("logo", 0.0f, 1.0f, 2.0f, "");
    s.addImageLogo("logo", 3.0f, "tune");
    ASSERT_EQ(s.getLogoCount(), 4);
    EXPECT_EQ(s.getLogo(0)->m_nType, SSLogoInfo::kVideo);
    EXPECT_EQ(s.getLogo(1)->m_nType, SSLogoInfo::kFlash);
    EXPECT_FLOAT_EQ(s.getLogo(2)->m_fFadeInSpeed, 2560000.0f);
    EXPECT_FLOAT_EQ(s.getLogo(2)->m_fFadeOutSpeed, 128.0f);
    EXPECT_FLOAT_EQ(s.getLogo(3)->m_fFadeInSpeed, 512.0f);
    EXPECT_EQ(std::string(s.getLogo(3)->m_sMusic.c_str()), "tune");
}

// Fades through the sprite: the shared image (with an alpha channel) keeps its
// own alpha, and the sprite's alpha follows 256 units per second.
TEST_F(Screens, SplashImageLogoFadesThroughItsSprite) {
    picture("logo", imagetest::solid(100, 50, true, Color(200, 10, 10, 255)));
    Zep::SmartPtr<Image> pImage = m_app.getImage("logo");
    const int nImageAlpha = pImage->getSurfaceAlpha();
    auto* p = new SplashScreen();
    p->addImageLogo("logo", 1.0f, 0.5f, 1.0f, "");
    m_app.pushMode(p);
    // Frames of 0.016 s: alpha 256 x 0.016 x n, truncated; full after 63.
    struct Step { int nFrames; int nAlpha; int nState; };
    const Step kSteps[] = {{1, 4, 0}, {9, 40, 0}, {20, 122, 0}, {33, 255, 1}, {31, 255, 1}, {1, 255, 2}, {10, 214, 2}};
    for (const Step& step : kSteps) {
        frames(step.nFrames);
        EXPECT_EQ(p->getLogoState(), step.nState);
        EXPECT_EQ(static_cast<int>(p->getCurrentSprite()->getAlpha() * 255.0f + 0.5f), step.nAlpha);
    }
    EXPECT_EQ(p->getCurrentSprite()->getX(), 350);
    EXPECT_EQ(p->getCurrentSprite()->getY(), 275);
    EXPECT_EQ(pImage->getSurfaceAlpha(), nImageAlpha);
    frames(53);  // faded out: removed, and the used-up list ends the mode next
    EXPECT_EQ(m_app.getTopMode(), p);
    frames(1);
    EXPECT_EQ(m_app.getTopMode(), m_pBelow);
}

TEST_F(Screens, SplashSkipsOnReleasesOnly) {
    picture("logo", imagetest::solid(10, 10, false, Color(1, 2, 3, 255)));
    const std::vector<std::pair<E, bool>> kCases = {
        {E::keyDown(Key::Escape), false}, {E::mouseDown(1, 5, 5), false}, {E::keyUp('a'), false},
        {E::keyUp(Key::Escape), true},   {E::keyUp(Key::Return), true},  {E::keyUp(Key::Space), true},
        {E::mouseUp(4, 5, 5), true},
    };
    m_pAudio->m_musicLoader.m_setNames.insert("tune");
    auto* p = new SplashScreen();
    for (size_t i = 0; i < kCases.size(); ++i) p->addImageLogo("logo", 5.0f, "tune");
    m_app.pushMode(p);
    for (const auto& [event, bSkips] : kCases) {
        frames(1);
        Zep::SmartPtr<Sprite> pLogo = p->getCurrentSprite();
        ASSERT_TRUE(pLogo.notNULL());
        pump({event});
        EXPECT_EQ(p->getCurrentSprite().isNULL(), bSkips);
        EXPECT_EQ(p->containsSprite(pLogo), !bSkips);
        if (!bSkips) p->skipLogo();
    }
    // Skipping leaves the logos' track playing.
    EXPECT_EQ(m_pAudio->m_vMusic, std::vector<std::string>({"tune"}));
    EXPECT_TRUE(m_pAudio->isMusicPlaying());
}

// Without the Flash control the movie never plays: it ends in its first frame.
TEST_F(Screens, SplashFlashLogoEndsInTheFrameItStarts) {
    ASSERT_FALSE(FlashSprite::isFlashAvailable());
    auto* p = new SplashScreen();
    p->addMediaLogo("intro.flv");
    m_app.pushMode(p);
    frames(1);
    EXPECT_TRUE(p->getCurrentSprite().isNULL());
    EXPECT_EQ(p->getAllSprites().getCount(), 12);  // the background only
    frames(1);
    EXPECT_EQ(m_app.getTopMode(), m_pBelow);
}

// A real clip, decoded: centred, at z-order 1, removed once finished.
class SplashClip : public spritetest::AppWithScreen<> {
protected:
    struct ClipPlatform : testkit::FakePlatform {
        std::unique_ptr<IVideoSpriteImpl> createVideoSpriteImpl() override {
            return std::make_unique<SDLTheoraVideo>();
        }
    };
    void SetUp() override {
        auto pPlatform = std::make_unique<ClipPlatform>();
        m_pPlatform = pPlatform.get();
        m_pPlatform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
        m_pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_pPlatform->setAudioDriver(std::make_unique<testkit::FakeAudioDriver>());
        m_app.setPlatform(std::move(pPlatform));
        m_app.useAudioDriver(m_pPlatform->getAudioDriver());
        m_app.setFrameRate(60);
        std::filesystem::create_directories(m_dir.file("res"));
        m_app.addResourceProvider(std::make_unique<Zep::FilesystemResourceProvider>(m_dir.file("res/").c_str()), false);
    }
};

TEST_F(SplashClip, AVideoLogoIsCentredAndEndsWhenTheClipDoes) {
    testkit::ClipSpec spec;
    spec.nWidth = 64, spec.nHeight = 48, spec.nFps = 10;
    spec.lFrames = {{100, 128, 128}, {150, 128, 128}, {200, 128, 128}};
    testkit::writeClip(m_dir.file("res/intro.ogv"), spec);
    auto* pBelow = new GameMode();
    m_app.pushMode(pBelow);
    auto* p = new SplashScreen();
    p->addMediaLogo("intro.ogv");
    m_app.pushMode(p);
    int nLast = 0, nDue = 16, nFrames = 0;
    m_app.frame(nLast, nDue, false);
    Zep::SmartPtr<Sprite> pClip = p->getCurrentSprite();
    ASSERT_TRUE(pClip.notNULL());
    EXPECT_EQ(std::make_tuple(pClip->getX(), pClip->getY(), pClip->getZOrder()), std::make_tuple(368, 276, 1));
    while (p->getCurrentSprite().notNULL() && ++nFrames < 100) m_app.frame(nLast, nDue, false);
    // Three pictures at 10 a second: about 0.3 s of frames of 16 ms.
    EXPECT_GE(nFrames, 17);
    EXPECT_LE(nFrames, 30);
    EXPECT_FALSE(p->containsSprite(pClip));
    m_app.frame(nLast, nDue, false);
    EXPECT_EQ(m_app.getTopMode(), pBelow);
}

// ---- Credits ------------------------------------------------------------------

class Credits : public Screens {
protected:
    void SetUp() override {
        Screens::SetUp();
        picture("back", imagetest::solid(800, 600, false, Color(100, 100, 100, 255)));
        m_pOwned = std::make_unique<CreditsMode>();
        m_pCredits = m_pOwned.get();
        m_pCredits->setBackground("back");
    }
    // The stack owns the mode once pushed.
    void pushCredits() { m_app.pushMode(m_pOwned.release()); }

    std::unique_ptr<CreditsMode> m_pOwned;
    CreditsMode* m_pCredits = nullptr;
};

// 25 strips of 5 in a band 50 .. 550: 245, 235, ... 5 from each edge inwards.
TEST_F(Credits, StripAlphasAndMasks) {
    m_pCredits->addGap(20);
    pushCredits();
    const auto v = spritesAt(*m_pCredits, CreditsMode::kMaskZOrder);
    ASSERT_EQ(v.size(), 52u);
    EXPECT_EQ(v.front(), std::make_tuple(0, 0, 50, 255));
    EXPECT_EQ(v.back(), std::make_tuple(0, 550, 50, 255));
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(v[1 + i], std::make_tuple(0, 50 + 5 * i, 5, 245 - 10 * i));
        EXPECT_EQ(v[50 - i], std::make_tuple(0, 545 - 5 * i, 5, 245 - 10 * i));
    }
    for (const auto& p : m_pCredits->getAllSprites()) {
        if (p->getZOrder() != CreditsMode::kItemZOrder) {
            EXPECT_EQ(p->getColor(), Color(63, 63, 63, 255));
        }
    }
    EXPECT_FALSE(m_app.isCursorVisible());
}

// 30 px/s in frames of 16 ms: 0.48 px a frame, the fraction carried.
TEST_F(Credits, ItemYAfterFramesAt30PixelsASecond) {
    picture("badge", imagetest::solid(41, 20, false, Color(9, 9, 9, 255)));
    Zep::SmartPtr<Sprite> pBadge = m_pCredits->addImage("badge", true);
    Zep::SmartPtr<Sprite> pHidden = m_pCredits->addImage("badge", true);
    pushCredits();
    EXPECT_EQ(pBadge->getX(), 400 - 20);
    EXPECT_EQ(pHidden->getX(), 900);
    EXPECT_FALSE(pHidden->isVisible());
    const std::pair<int, int> kSteps[] = {{1, 550}, {2, 550}, {3, 549}, {7, 547}, {15, 543}, {26, 538}, {101, 502}};
    int nDone = 0;
    for (const auto& [nFrames, nY] : kSteps) {
        frames(nFrames - nDone);
        nDone = nFrames;
        EXPECT_EQ(pBadge->getY(), nY) << nFrames;
    }
    EXPECT_EQ(m_pCredits->getActiveItems().getCount(), 2);
    EXPECT_EQ(pHidden->getY(), 522);  // entered when the badge's bottom reached 550
}

// Items follow without space; an item leaves when its bottom reaches the band
// top; the last one's leaving finishes the column.
TEST_F(Credits, ItemsEnterAndLeaveAtTheBandEdges) {
    m_pCredits->setScrollBand(100, 200);
    m_pCredits->setScrollSpeed(40.0f);
    m_pCredits->setEndWhenDone(false);
    m_pCredits->addGap(30);
    m_pCredits->addGap(30);
    pushCredits();
    Zep::SmartPtr<Sprite> a = m_pCredits->getActiveItems().get(0), b = m_pCredits->getPendingItems().get(0);
    // Steps of 0.25 s: 10 pixels each.
    const std::vector<int> kA = {190, 180, 170, 160, 150, 140, 130, 120, 110, 100, 90, 80, 80, 80, 80, 80, 80};
    const std::vector<int> kB = {700, 700, 200, 190, 180, 170, 160, 150, 140, 130, 120, 110, 100, 90, 80, 80, 80};
    const std::vector<int> kActive = {1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 0, 0};
    std::vector<int> vA, vB, vActive;
    for (size_t i = 0; i < kA.size(); ++i) {
        m_pCredits->onUpdate(0.25f);
        vA.push_back(a->getY());
        vB.push_back(b->getY());
        vActive.push_back(m_pCredits->getActiveItems().getCount());
    }
    EXPECT_EQ(vA, kA);
    EXPECT_EQ(vB, kB);
    EXPECT_EQ(vActive, kActive);
    EXPECT_TRUE(m_pCredits->isFinished());
    EXPECT_EQ(m_app.getTopMode(), m_pCredits);
}

// An empty column is finished at once and, ending when done, ends in the first update.
TEST_F(Credits, EmptyColumnFinishesAtOnce) {
    for (bool bEnd : {false, true}) {
        auto* p = new CreditsMode();
        p->setBackground("back");
        p->setEndWhenDone(bEnd);
        m_app.pushMode(p);
        EXPECT_TRUE(p->isFinished());
        frames(2);
        EXPECT_EQ(m_app.getTopMode() == p, !bEnd);
        if (!bEnd) pump({E::keyDown('x'), E::keyUp('x')});
        EXPECT_EQ(m_app.getTopMode(), m_pBelow);
        EXPECT_TRUE(m_app.isCursorVisible());
    }
}

TEST_F(Credits, TextLinesAndEndingByRelease) {
    m_pTexts->add("more.txt", testkit::resource("CR_Title Our team\n"));
    m_app.loadStringTable("more.txt");
    const std::vector<std::tuple<const char*, const char*, int>> kTexts = {
        {"CR_Title", "Our team", 1}, {"a\n-\nb", "a\n\nb", 3}, {"a\n\nb\n", "a\n\nb\n", 2}};
    for (const auto& [szIn, szShown, nLines] : kTexts) {
        Zep::SmartPtr<Label> p = m_pCredits->addText(szIn, true);
        EXPECT_EQ(std::string(p->getText().c_str()), szShown);
        EXPECT_EQ(p->getLineCount(), nLines);
    }
    EXPECT_EQ(testkit::messageOf([&] { m_pCredits->setDarkStrength(256); }),
              "Assertion failed : m_nDarkStrength <= 255");
    EXPECT_EQ(testkit::messageOf([&] { m_pCredits->setDarkStrength(-1); }),
              "Assertion failed : m_nDarkStrength >= 0");
    pushCredits();
    pump({E::keyDown('x'), E::mouseDown(1, 5, 5)});
    EXPECT_EQ(m_app.getTopMode(), m_pCredits);
    pump({E::mouseUp(1, 5, 5)});
    EXPECT_EQ(m_app.getTopMode(), m_pBelow);
}

}  // namespace

// The start-up loading screen on a fake clock: every sound takes 10 ms to
// load, so a frame's 25-ms slice holds three passes once only the sounds are
// left; the lists' line breaks, the progress row and the hand-over to the menu.
#include <gtest/gtest.h>

#include "screens/frontend_util.h"
#include "screens/loadingscreen.h"
#include "screens/menumode.h"
#include "effects/particle_emitter.h"

namespace {

// Sounds take 10 ms of the platform's clock; every load is recorded in order.
class TimedAudio : public testkit::FakeAudioDriver {
public:
    template <class T, class Impl>
    struct Loader : IResourceLoader<T> {
        Loader(TimedAudio& audio, char cKind, uint32_t nMs) : audio(audio), cKind(cKind), nMs(nMs) {}
        T* load(const char* szName) override {
            audio.m_pPlatform->advance(nMs);
            audio.m_sLoads += std::string(1, cKind) + szName + " ";
            return new Impl(szName);
        }
        bool exists(const char*) override { return true; }
        TimedAudio& audio;
        char cKind;
        uint32_t nMs;
    };
    IResourceLoader<Sample>* getSampleLoader() override { return &m_samples; }
    IResourceLoader<Music>* getMusicLoader() override { return &m_tracks; }

    testkit::FakePlatform* m_pPlatform = nullptr;
    std::string m_sLoads;
    Loader<Sample, testkit::FakeSample> m_samples{*this, 'S', 10};
    Loader<Music, testkit::FakeMusic> m_tracks{*this, 'M', 0};
};

class LoadingScreenTest : public frontendtest::FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        m_timed.m_pPlatform = m_pPlatform;
        m_app.useAudioDriver(&m_timed);
        ParticleEmitter::clearDefinitions();
        m_pFiles->add("e1", testkit::resource("maxparticles 3\nlifetimerange 5 5\n"));
        m_pFiles->add("a1", testkit::resource("seq s\nload frm\nadd frm\n"));
        m_pFiles->add("a2", testkit::resource("seq s\nload btn\nadd btn\n"));
    }
    void TearDown() override {
        ParticleEmitter::clearDefinitions();
        FrontEndTest::TearDown();
    }
    void lists(const std::string& sChar, const std::string& sCommon, const std::string& sSounds,
               const std::string& sMusic, const std::string& sEmitters) {
        m_pFiles->add(LoadingScreen::kCharacterAnimations, testkit::resource(sChar));
        m_pFiles->add(LoadingScreen::kCommonAnimations, testkit::resource(sCommon));
        m_pFiles->add(LoadingScreen::kSounds, testkit::resource(sSounds));
        m_pFiles->add(LoadingScreen::kMusic, testkit::resource(sMusic));
        m_pFiles->add(LoadingScreen::kEmitters, testkit::resource(sEmitters));
        m_pScreen = new LoadingScreen();
        m_app.pushMode(m_pScreen);
    }
    // One frame: "<loaded>/<total> <lit pictures> <loads of the frame>", or "menu" once it handed over.
    std::string frame() {
        m_timed.m_sLoads.clear();
        m_app.updateModes(0.01f);
        if (!m_app.isModeOnStack(m_pScreen)) return "menu " + m_timed.m_sLoads;
        int nLit = 0;
        for (const Zep::SmartPtr<Sprite>& p : m_pScreen->getProgressPictures()) nLit += p->getColor().getRed() == 255;
        return std::to_string(m_pScreen->getLoaded()) + "/" + std::to_string(m_pScreen->getTotal()) + " " +
               std::to_string(nLit) + " " + m_timed.m_sLoads;
    }

    TimedAudio m_timed;
    LoadingScreen* m_pScreen = nullptr;
};

std::string sounds(int nFrom, int nTo) {
    std::string s;
    for (int i = nFrom; i <= nTo; ++i) s.append("s").append(std::to_string(i)).append("\n");
    return s;
}

}  // namespace

TEST_F(LoadingScreenTest, PassesTakeSoundsAnimationsMusicEmittersAndFillTwentyFiveMsSlices) {
    lists("a1\n", "a2\n", sounds(1, 16), "m1\n", "e1\n");
    EXPECT_EQ(0, m_app.getFrameRate());
    EXPECT_FALSE(m_pVideo->m_bCursorVisible);
    const char* kFrames[] = {
        "0/20 0 ",  // builds the screen, reads the lists, loads nothing
        "7/20 8 Ss1 Mm1 Ss2 Ss3 ",
        "10/20 10 Ss4 Ss5 Ss6 ",
        "13/20 10 Ss7 Ss8 Ss9 ",
        "16/20 10 Ss10 Ss11 Ss12 ",
        "19/20 10 Ss13 Ss14 Ss15 ",
        "menu Ss16 ",
    };
    for (const char* szFrame : kFrames) EXPECT_EQ(frame(), szFrame);
    EXPECT_TRUE(m_app.isAnimationCached("a1") && m_app.isAnimationCached("a2"));
    // The menu, with the profile creation over it: there is no profile yet.
    EXPECT_EQ(m_app.getModeCount(), 2);
    EXPECT_TRUE(dynamic_cast<MenuMode*>(m_app.getModeAt(1)));
    EXPECT_EQ(m_app.getImage("sand_frame_prop_3")->getInsPoint(), Point(30.0f, 10.0f));
}

TEST_F(LoadingScreenTest, LineBreaksAndBlankLinesGiveTheSameNames) {
    lists("", "", "s1\r\n\r\ns2\n\ns3\r\ns4", "\r\n\n", "");
    EXPECT_EQ(frame(), "0/4 0 ");
    EXPECT_EQ(frame(), "3/4 10 Ss1 Ss2 Ss3 ");
    EXPECT_EQ(frame(), "menu Ss4 ");
}

struct SmallTotal {
    const char* szSounds;
    const char* szFrames[2];
};

// Below two names no picture is lit and nothing is divided by zero; at two
// names one loaded lights the whole row.
TEST_F(LoadingScreenTest, SmallTotalsEndAtOnceAndLightNothingBelowTwo) {
    const SmallTotal kRows[] = {
        {"", {"0/0 0 ", "menu "}},
        {"s1\n", {"0/1 0 ", "menu Ss1 "}},
    };
    for (const SmallTotal& row : kRows) {
        lists("", "", row.szSounds, "", "");
        for (const char* szFrame : row.szFrames) EXPECT_EQ(frame(), szFrame) << row.szSounds;
    }
    const std::pair<int, int> kLit[] = {{0, 0}, {1, 1}, {0, 2}, {1, 2}, {1, 20}, {9, 20}, {10, 20}, {7, 15}};
    const int kExpected[] = {-1, -1, 0, 9, 1, 9, 9, 9};
    for (size_t i = 0; i < std::size(kLit); ++i)
        EXPECT_EQ(LoadingScreen::lastLitPicture(kLit[i].first, kLit[i].second), kExpected[i]) << i;
}

// Start-up and shutdown of the application on the fake platform: the exact
// log lines of initSystems, its failures, the mode notifications of
// shutdown and activation, and the destructor's order.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <zep2/error.h>

#include "driver/audiodriver.h"
#include "image/image.h"
#include "image/memimage.h"
#include "testkit/testkit_fixtures.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_modes.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"
#include "theme/theme.h"

namespace {

using testkit::messageOf;
using testkit::AppFiles;
using testkit::ModeLog;
using testkit::RecordingMode;
using testkit::TempDir;
using testkit::TestApp;

class NamedPlatform : public testkit::FakePlatform {
public:
    explicit NamedPlatform(std::string sName) : m_sName(std::move(sName)) {}
    const char* getName() const override { return m_sName.c_str(); }
    void shutdown() override {
        FakePlatform::shutdown();
        std::fputs("platform shutdown\n", stderr);
    }

private:
    std::string m_sName;
};

// A platform with the fake video driver, images in memory and, when asked,
// the fake audio driver answering init as given.
std::unique_ptr<NamedPlatform> makePlatform(const char* szName, bool bAudio, bool bAudioStarts) {
    auto pPlatform = std::make_unique<NamedPlatform>(szName);
    pPlatform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
    pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
    if (bAudio) {
        auto pAudio = std::make_unique<testkit::FakeAudioDriver>();
        pAudio->m_bInitResult = bAudioStarts;
        pPlatform->setAudioDriver(std::move(pAudio));
    }
    return pPlatform;
}

// The lines after the construction banner, byte for byte; driver names are
// text, not formats. Without a started driver the silent one takes over.
TEST(StartUp, LogLinesAudioChoiceAndSettings) {
    // Platform name, video flags, audio driver present and starting, its log lines.
    const std::tuple<const char*, unsigned, bool, bool, const char*> cases[] = {
        {"Fake", 0, true, false, "G: Init audio : FAIL\nG: Using dummy audio driver\n"},
        {"Fake", 0, true, true, "G: Init audio : OK\n"},
        {"100%s %n%d", VideoFlag::NoAudio, true, true, "G: Init audio : DISABLED\nG: Using dummy audio driver\n"},
        {"Fake", 0, false, false, "G: Init audio : DISABLED\nG: Using dummy audio driver\n"},
    };
    for (const auto& [szPlatform, nFlags, bAudio, bAudioStarts, szAudioLines] : cases) {
        SCOPED_TRACE(szAudioLines);
        TempDir dir;
        AppFiles files(dir);
        TestApp app;
        std::unique_ptr<NamedPlatform> pOwned = makePlatform(szPlatform, bAudio, bAudioStarts);
        NamedPlatform* pPlatform = pOwned.get();
        auto* pAudio = static_cast<testkit::FakeAudioDriver*>(pPlatform->getAudioDriver());
        app.setPlatform(std::move(pOwned));
        app.setSetting("MusicVolume", "300");
        app.setSetting("SoundVolume", "128");
        const size_t nBanner = files.logText().size();
        app.initSystems(800, 600, nFlags, Zep::SmartPtr<Image>());

        EXPECT_EQ(std::string("G: Init platform : ") + szPlatform + "\nG: Init video : FakeVideo\n" + szAudioLines +
                      "G: Init done\n",
                  files.logText().substr(nBanner));
        const bool bEnabled = bAudio && bAudioStarts && !nFlags;
        EXPECT_EQ(bEnabled, app.isAudioEnabled() && app.getAudioDriver() == pAudio);
        EXPECT_EQ(!bEnabled, dynamic_cast<DummyAudioDriver*>(app.getAudioDriver()) != nullptr);
        EXPECT_EQ(bAudio && !nFlags ? 1 : 0, pAudio ? pAudio->m_nInitCount : 0);
        // The volumes are the settings' raw values.
        EXPECT_EQ((std::vector<int>{300, 128, 60, 1}),
                  (std::vector<int>{app.getMusicVolume(), app.getSoundVolume(), app.getFrameRate(),
                                    pPlatform->m_nInitCount}));
        auto* pVideo = static_cast<testkit::FakeVideoDriver*>(pPlatform->getVideoDriver());
        EXPECT_EQ("setVideoMode 800 600 " + std::to_string(nFlags), pVideo->m_vCalls.at(1));
        EXPECT_EQ(128, app.getImage("GreyOverlayPatch")->getSurfaceAlpha());
        EXPECT_TRUE(app.getImage("empty")->hasAlpha() && app.getTheme().notNULL());
    }
}

TEST(StartUp, MissingPlatformOrVideoDriverAndAFailedVideoMode) {
    TempDir dir;
    AppFiles files(dir);
    {
        TestApp app;
        EXPECT_EQ("No platform specified", messageOf<Zep::FatalErrorException>([&] {
                      app.initSystems(800, 600, 0, Zep::SmartPtr<Image>());
                  }));
        app.setPlatform(std::make_unique<testkit::FakePlatform>());
        EXPECT_EQ("No video driver specified", messageOf<Zep::FatalErrorException>([&] {
                      app.initSystems(800, 600, 0, Zep::SmartPtr<Image>());
                  }));
    }
    EXPECT_EXIT(
        {
            TestApp app;
            std::unique_ptr<NamedPlatform> pPlatform = makePlatform("Fake", false, false);
            static_cast<testkit::FakeVideoDriver*>(pPlatform->getVideoDriver())->m_bFailVideoMode = true;
            app.setPlatform(std::move(pPlatform));
            app.initSystems(800, 600, 0, Zep::SmartPtr<Image>());
        },
        ::testing::ExitedWithCode(1),
        "Initialization error: Can't set your video mode to the appropriate resolution\\.\r\n"
        "Please update your video drivers and/or video card\\.\nplatform shutdown\n");
}

// Shutdown tells every mode, top first; a mode that ends itself then is
// deleted with the stacked ones in the destructor's mode step, while the
// drivers still exist. Activation reaches every mode too.
TEST(Shutdown, ModesNotifiedThenDeletedBeforeTheDrivers) {
    TempDir dir;
    AppFiles files(dir);
    ModeLog log;
    size_t nBefore = 0;
    {
        TestApp app;
        app.setPlatform(makePlatform("Fake", false, false));
        auto* pA = new RecordingMode("A", log);
        auto* pB = new RecordingMode("B", log);
        pB->m_onAppQuit = [](RecordingMode& m) { m.endMode(); };
        // A cached picture goes in the resources step, before the drivers.
        struct NoisyImage : MemImage {
            NoisyImage() : MemImage(2, 2, false) {}
            ~NoisyImage() override { GameApp::log("%s", GameApp::getInstance()->getVideoDriver() ? "I: ~\n" : "I: late\n"); }
        };
        app.addImage("noisy", new NoisyImage(), false);
        for (RecordingMode* pMode : {pA, pB}) {
            pMode->m_onDelete = [](RecordingMode& m) {
                const bool bDrivers = GameApp::getInstance() && GameApp::getInstance()->getVideoDriver();
                GameApp::log("%s", ("M: ~" + m.name() + (bDrivers ? "\n" : " late\n")).c_str());
            };
            app.pushMode(pMode);
        }
        log.lines.clear();
        app.onDeactivate();
        app.onActivate();
        app.shutdown();
        nBefore = files.logText().size();
    }
    EXPECT_EQ((testkit::EventLog{"B onAppDeactivate", "A onAppDeactivate", "B onAppActivate", "A onAppActivate",
                                 "B onAppQuit", "B onEnd", "A onResume", "B onEnded", "A onAppQuit", "~A", "~B"}),
              log.lines);
    const std::string sTail = files.logText().substr(nBefore);
    EXPECT_NE(std::string::npos,
              sTail.find("G: ...modes\nM: ~A\nM: ~B\nG: ...resources\nI: ~\nG: ...platform\nG: Quit\n"))
        << sTail;
}

}  // namespace

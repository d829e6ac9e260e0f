// The game's screens on the textured driver (SDL's dummy video driver, the
// software device) over the generated demo content, with every frame drawn
// only where it changed and compared, pixel for pixel, with the same frame
// drawn whole on a second device that has drawn every frame whole since the
// mode was set.
#pragma once

#include <SDL.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "sprite/gamemode.h"
#include "records/gamerandom.h"
#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "base/keys.h"
#include "render/dirtyrects.h"
#include "screens/democontent_files.h"
#include "driver/startup.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_events.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_tempdir.h"
#include "testkit/testkit_texturedvideo.h"
#include "theme/theme.h"

namespace changedframes {

class ScreenTest : public testkit::AppTest<> {
protected:
    void SetUp() override {
        SDL_Init(SDL_INIT_NOPARACHUTE);
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        m_pPlatform = pPlatform.get();
        m_app.setPlatform(std::move(pPlatform));
        m_pVideo = std::make_unique<testkit::TexturedVideo>(*m_pPlatform, 800, 600);
        loadContent();
        m_app.setFrameRate(60);
        m_app.setDeltaClamp(0.05f, GameApp::kDeltaClamp);
        m_pPlatform->setDispatcher(testkit::routeTo(m_app));
        std::srand(3);
        gameRandom().seed(9);
        start(10000);
    }
    void TearDown() override {
        while (m_app.getModeCount() > 0) m_app.getTopMode()->endMode();
        m_app.deleteEndedModes();
        unregisterTrueTypeFonts();
        SDL_Quit();
    }

    // The generated content folder as the game reads its archives.
    void loadContent() {
        m_app.useAudioDriver(&m_audio);
        m_app.initCaches();
        m_app.registerBuiltinResources();
        democontent::loadDemoContent(m_app, m_audio);
    }

    void start(uint32_t nTicks) {
        m_pPlatform->setTicks(nTicks);
        m_nLast = static_cast<int>(nTicks);
        m_nDue = static_cast<int>(nTicks);
    }

    // One frame of the loop, drawn only where it changed, then the same
    // frame drawn whole on the reference device; the two must agree.
    void frame() {
        m_app.frame(m_nLast, m_nDue, false);
        ++m_nFrames;
        const DirtyRects& drawn = m_pVideo->drawnBoxes();
        if (drawn.isEmpty())
            ++m_nUnchanged;
        else if (!drawn.isWholeScreen())
            ++m_nPartial;
        const std::string sDifference = m_pVideo->compareWithWhole();
        if (sDifference.empty()) return;
        ++m_nDifferentFrames;
        if (m_sFirstDifference.empty()) m_sFirstDifference = "frame " + std::to_string(m_nFrames) + " " + sDifference;
    }
    void frames(int nCount) {
        for (int i = 0; i < nCount; ++i) frame();
    }
    // A press and release of the left button at (x, y), over two frames.
    void clickAt(int x, int y) {
        m_pPlatform->queueFrame({testkit::FakeEvent::mouseMove(x, y),
                                 testkit::FakeEvent::mouseDown(MouseButton::Left, x, y)});
        m_pPlatform->queueFrame({testkit::FakeEvent::mouseUp(MouseButton::Left, x, y)});
        frames(2);
    }
    void moveTo(int x, int y) { m_pPlatform->queueFrame({testkit::FakeEvent::mouseMove(x, y)}); }

    // Every frame so far drew what a whole frame draws.
    void expectSameAsWhole() {
        EXPECT_EQ(m_nDifferentFrames, 0) << "first difference: " << m_sFirstDifference;
    }

    testkit::ScopedEnv m_env{"SDL_VIDEODRIVER", "dummy"};
    testkit::FakeAudioDriver m_audio;
    testkit::FakePlatform* m_pPlatform = nullptr;
    std::unique_ptr<testkit::TexturedVideo> m_pVideo;
    int m_nLast = 0;
    int m_nDue = 0;
    int m_nFrames = 0;
    int m_nPartial = 0;    // frames that drew part of the screen
    int m_nUnchanged = 0;  // frames that drew nothing
    int m_nDifferentFrames = 0;
    std::string m_sFirstDifference;
};

}  // namespace changedframes

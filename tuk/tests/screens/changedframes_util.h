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

#include "gamemode.h"
#include "records/gamerandom.h"
#include "imagetest_util.h"
#include "keys.h"
#include "sdl_d3d7video.h"
#include "sdl_imagefactory.h"
#include "startup.h"
#include "testkit_audio.h"
#include "testkit_events.h"
#include "testkit_platform.h"
#include "testkit_tempdir.h"
#include "theme.h"

namespace changedframes {

class ScreenTest : public imagetest::AppTest<> {
protected:
    void SetUp() override {
        SDL_Init(SDL_INIT_NOPARACHUTE);
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        m_pPlatform = pPlatform.get();
        auto pVideo = std::make_unique<D3D7VideoDriver>();
        m_pVideo = pVideo.get();
        pPlatform->setVideoDriver(std::move(pVideo));
        pPlatform->setImageFactory(std::make_unique<SDLImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
        m_pVideo->init(Zep::SmartPtr<Image>());
        m_pVideo->setVideoMode(800, 600, static_cast<int>(VideoFlag::Depth32));
        m_pReference = std::make_unique<render::RenderDevice>(m_pVideo->device()->width(),
                                                              m_pVideo->device()->height(), false);
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
        for (const char* szFolder : {"tuk_data/", "tuk_data/fonts/", "lang_en/"})
            m_app.addResourceProvider(
                std::make_unique<Zep::FilesystemResourceProvider>((std::string(TUK_CONTENT_FOLDER) + szFolder).c_str()),
                false);
        for (const auto& entry : std::filesystem::directory_iterator(TUK_CONTENT_FOLDER "tuk_sound")) {
            m_audio.m_sampleLoader.m_setNames.insert(entry.path().stem().string());
            m_audio.m_musicLoader.m_setNames.insert(entry.path().stem().string());
        }
        m_app.loadStringTable("messages.txt");
        registerTrueTypeFonts();
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("sand.theme");
        m_app.setTheme(pTheme);
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
        m_pVideo->drawWholeFrameOn(*m_pReference);
        ++m_nFrames;
        const DirtyRects& drawn = m_pVideo->drawnBoxes();
        if (drawn.isEmpty())
            ++m_nUnchanged;
        else if (!drawn.isWholeScreen())
            ++m_nPartial;
        const render::RenderDevice& own = *m_pVideo->device();
        const size_t nPixels = static_cast<size_t>(own.width()) * own.height();
        if (std::memcmp(own.backBuffer(), m_pReference->backBuffer(), nPixels * 4) == 0) return;
        for (size_t i = 0; i < nPixels; ++i)
            if (own.backBuffer()[i] != m_pReference->backBuffer()[i]) {
                ++m_nDifferentFrames;
                if (m_sFirstDifference.empty())
                    m_sFirstDifference = "frame " + std::to_string(m_nFrames) + " pixel (" +
                                         std::to_string(i % own.width()) + ", " + std::to_string(i / own.width()) +
                                         "): " + std::to_string(own.backBuffer()[i]) + " drawn, " +
                                         std::to_string(m_pReference->backBuffer()[i]) + " whole";
                break;
            }
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
    D3D7VideoDriver* m_pVideo = nullptr;
    std::unique_ptr<render::RenderDevice> m_pReference;
    int m_nLast = 0;
    int m_nDue = 0;
    int m_nFrames = 0;
    int m_nPartial = 0;    // frames that drew part of the screen
    int m_nUnchanged = 0;  // frames that drew nothing
    int m_nDifferentFrames = 0;
    std::string m_sFirstDifference;
};

}  // namespace changedframes

// The set-up of the on-screen toolkit checks: an 800 x 600 window on an Xvfb
// server of the test's own, drawn by the textured driver, with the built-in
// resources, TrueType fonts from DejaVu Sans in a resource folder, flat
// pictures cached under their names and a theme made current.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>

#include <zep2/resource.h>

#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "sdl/sdl_d3d7video.h"
#include "sdl/sdl_imagefactory.h"
#include "sdl/sdl_ttf.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_xvfb.h"
#include "theme/theme.h"

namespace uitest {

class XvfbThemedScreen : public testkit::AppTest<> {
protected:
    struct Picture {
        const char* szName;
        int w, h;
        Color c;
    };

    // The theme text is served as szThemeName; with bAudio the fake audio
    // driver is the application's.
    void startScreen(const std::string& sTheme, const char* szThemeName, std::initializer_list<Picture> lPictures,
                     bool bAudio = false) {
        ASSERT_TRUE(m_server.isRunning()) << "Xvfb did not start";
        SDL_Init(SDL_INIT_NOPARACHUTE);
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        auto pVideo = std::make_unique<D3D7VideoDriver>();
        m_pVideo = pVideo.get();
        pPlatform->setVideoDriver(std::move(pVideo));
        pPlatform->setImageFactory(std::make_unique<SDLImageFactory>());
        testkit::FakeAudioDriver* pAudioDriver = nullptr;
        if (bAudio) {
            auto pAudio = std::make_unique<testkit::FakeAudioDriver>();
            pAudioDriver = pAudio.get();
            pPlatform->setAudioDriver(std::move(pAudio));
        }
        m_app.setPlatform(std::move(pPlatform));
        if (pAudioDriver) m_app.useAudioDriver(pAudioDriver);
        m_pVideo->init(Zep::SmartPtr<Image>());
        ASSERT_TRUE(m_pVideo->setVideoMode(800, 600, static_cast<int>(VideoFlag::Depth32)));
        m_app.registerBuiltinResources();
        Theme::registerFontFactory("TrueType", new SDLTTFFactory());
        std::filesystem::create_directories(m_dir.file("res"));
        std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", m_dir.file("res/DejaVuSans.ttf"));
        m_app.addResourceProvider(std::make_unique<Zep::FilesystemResourceProvider>(m_dir.file("res/").c_str()), false);
        auto pMemory = testkit::memoryProvider();
        pMemory->add(szThemeName, testkit::resource(sTheme.c_str()));
        m_app.addResourceProvider(std::move(pMemory), false);
        for (const Picture& p : lPictures) {
            Zep::SmartPtr<Image> pImage = m_app.createImage(p.w, p.h, false);
            pImage->fill(p.c);
            m_app.addImage(p.szName, pImage, true);
        }
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load(szThemeName);
        m_app.setTheme(pTheme);
    }
    void TearDown() override {
        Theme::unregisterFontFactory("TrueType");
        SDL_Quit();
    }

    testkit::XvfbServer m_server{1280, 800, 24};
    D3D7VideoDriver* m_pVideo = nullptr;
};

}  // namespace uitest

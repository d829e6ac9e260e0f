// The set-up of the game's screen suites: a test application on the fake
// platform with the fake video and audio drivers, in-memory pictures, a small
// theme with the game's button and frame styles, the screens' texts, and
// events routed from the platform's script.
#pragma once

#include <string>

#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "sprite/sprite.h"
#include "sprite/spritetest_util.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_events.h"
#include "theme/theme.h"

namespace screentest {

inline std::string theme() {
    std::string s = "frame back frm\nframestyle EmptyFrame\nframe back frm\n";
    for (const char* szStyle : {"", "AdventureBtn", "CrazyBtn", "FreeBtn"}) {
        if (*szStyle) s += std::string("buttonstyle ") + szStyle + "\n";
        for (const char* szState : {"normal", "pushed", "highlight", "disabled"})
            s += std::string("buttonimage ") + szState + " btn\n";
    }
    return s;
}

class ScreenTest : public spritetest::AppWithScreen<> {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        auto pAudio = std::make_unique<testkit::FakeAudioDriver>();
        m_pAudio = pAudio.get();
        m_pPlatform->setAudioDriver(std::move(pAudio));
        m_app.useAudioDriver(m_pAudio);
        m_app.registerBuiltinResources();
        auto pFiles = testkit::memoryProvider(
            {{"s.theme", theme()},
             {"s.txt", "HF_Back Back\nHF_Name Name\nHF_Score Score\nHF_Newhigh A new highscore!\n"
                       "HF_Congrats Well done\nCPD_OK OK\nHT_Back Back\nHT_Previous Previous\nHT_Next Next\n"}});
        m_pFiles = pFiles.get();
        m_app.addResourceProvider(std::move(pFiles), false);
        picture("btn", 40, 20);
        picture("frm", 8, 8);
        picture("sand_frame_back", 44, 44);
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("s.theme");
        m_app.setTheme(pTheme);
        m_app.loadStringTable("s.txt");
        m_pPlatform->setDispatcher(testkit::routeTo(m_app));
    }

    // A pinned picture of that name in one colour.
    void picture(const char* szName, int w, int h, bool bAlpha = false) {
        m_app.addImage(szName, imagetest::solid(w, h, bAlpha, Color(90, 60, 30, 255)).get(), true);
    }
    void events(std::vector<testkit::FakeEvent> vEvents) {
        m_pPlatform->queueFrame(std::move(vEvents));
        m_pPlatform->processEvents();
    }
    // A left click at the centre of the sprite.
    void pressOn(const Sprite& sprite) {
        const Rect r = sprite.getBoundingRect();
        const int x = (r.getLeft() + r.getRight()) / 2, y = (r.getTop() + r.getBottom()) / 2;
        events({testkit::FakeEvent::mouseMove(x, y), testkit::FakeEvent::mouseDown(1, x, y)});
        events({testkit::FakeEvent::mouseUp(1, x, y)});
    }

    testkit::FakeAudioDriver* m_pAudio = nullptr;
    Zep::MemoryResourceProvider* m_pFiles = nullptr;
};

}  // namespace screentest

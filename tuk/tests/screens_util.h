// The set-up of the game's screen suites: a test application on the fake
// platform with the fake video and audio drivers, in-memory pictures for
// every name the screens fetch, a small theme with the game's button and
// frame styles, the screens' texts, and events routed from the platform's
// script.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "imagetest_util.h"
#include "sprite.h"
#include "spritetest_util.h"
#include "testkit_audio.h"
#include "testkit_events.h"
#include "theme.h"

namespace screentest {

constexpr const char* kTheme =
    "frame back frm\nbuttonimage normal btn\nbuttonimage pushed btn\nbuttonimage highlight btn\n"
    "buttonimage disabled btn\n"
    "buttonstyle AdventureBtn\nbuttonimage normal btn\nbuttonimage pushed btn\nbuttonimage highlight btn\n"
    "buttonimage disabled btn\n"
    "buttonstyle CrazyBtn\nbuttonimage normal btn\nbuttonimage pushed btn\nbuttonimage highlight btn\n"
    "buttonimage disabled btn\n"
    "buttonstyle FreeBtn\nbuttonimage normal btn\nbuttonimage pushed btn\nbuttonimage highlight btn\n"
    "buttonimage disabled btn\n"
    "framestyle EmptyFrame\nframe back frm\n";

constexpr const char* kTexts =
    "HF_Back Back\nHF_Name Name\nHF_Score Score\nHF_Newhigh A new highscore!\nHF_Congrats Well done\n"
    "CPD_OK OK\nHT_Back Back\nHT_Previous Previous\nHT_Next Next\n";

class ScreenTest : public spritetest::AppWithScreen<> {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        auto pAudio = std::make_unique<testkit::FakeAudioDriver>();
        m_pAudio = pAudio.get();
        m_pPlatform->setAudioDriver(std::move(pAudio));
        m_app.useAudioDriver(m_pAudio);
        m_app.registerBuiltinResources();
        auto pFiles = imagetest::memoryProvider({{"screens.theme", kTheme}, {"screens.txt", kTexts}});
        m_pFiles = pFiles.get();
        m_app.addResourceProvider(std::move(pFiles), false);
        picture("btn", 40, 20);
        picture("frm", 8, 8);
        picture("sand_frame_back", 44, 44);
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("screens.theme");
        m_app.setTheme(pTheme);
        m_app.loadStringTable("screens.txt");
        m_pPlatform->setDispatcher(testkit::routeTo(m_app));
    }

    // A pinned picture of that name, opaque, in one colour.
    Zep::SmartPtr<Image> picture(const char* szName, int w, int h, bool bAlpha = false) {
        Zep::SmartPtr<Image> p(imagetest::solid(w, h, bAlpha, Color(90, 60, 30, 255)).get());
        m_app.addImage(szName, p, true);
        return p;
    }

    // A left press at a point, in one frame of the platform's pump.
    void press(int x, int y) {
        m_pPlatform->queueFrame({testkit::FakeEvent::mouseMove(x, y), testkit::FakeEvent::mouseDown(1, x, y)});
        m_pPlatform->processEvents();
        m_pPlatform->queueFrame({testkit::FakeEvent::mouseUp(1, x, y)});
        m_pPlatform->processEvents();
    }
    void pressOn(const Sprite& sprite) {
        const Rect r = sprite.getBoundingRect();
        press((r.getLeft() + r.getRight()) / 2, (r.getTop() + r.getBottom()) / 2);
    }

    // Where each sprite was drawn in the last render, -1 when it was not.
    int drawnAt(const Sprite* pSprite) const {
        const auto& v = m_pVideo->m_vDrawn;
        for (size_t i = 0; i < v.size(); ++i)
            if (v[i].second == pSprite) return static_cast<int>(i);
        return -1;
    }
    // Where the first and last sprites showing the picture were drawn.
    std::pair<int, int> drawnRange(const Image* pImage) const {
        std::pair<int, int> range{-1, -1};
        const auto& v = m_pVideo->m_vDrawn;
        for (size_t i = 0; i < v.size(); ++i) {
            if (v[i].second->getImage().get() != pImage) continue;
            if (range.first < 0) range.first = static_cast<int>(i);
            range.second = static_cast<int>(i);
        }
        return range;
    }

    testkit::FakeAudioDriver* m_pAudio = nullptr;
    Zep::MemoryResourceProvider* m_pFiles = nullptr;
};

}  // namespace screentest

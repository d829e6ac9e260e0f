// The set-up of the widget and dialog suites: the theme fixture with the
// sample theme current, events routed from the fake platform's script, a
// string table, a font of fixed metrics, and a callback target that logs.
#pragma once

#include <string>
#include <vector>

#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "sprite/spritetest_util.h"
#include "testkit/testkit_events.h"
#include "theme/themetest_util.h"

namespace uitest {

// 10 pixels per UTF-8 character, 24 high, no extra line spacing; draws nothing.
class FixedFont : public Font {
public:
    Zep::SmartPtr<Font> clone() override {
        Zep::SmartPtr<FixedFont> p = new FixedFont();
        p->copySettings(*this);
        return p;
    }
    void drawText(const Zep::SmartPtr<Image>&, int, int, const char*) override {}
    using Font::drawText;
    bool hasGlyph(char c) override { return c != '\n' && c != '\r'; }
    int getTextWidth(const char* szText) override {
        int nMax = 0, nCurrent = 0;
        for (const char* p = szText; *p; ++p) {
            if (*p == '\n' || *p == '\r') nMax = std::max(nMax, nCurrent), nCurrent = 0;
            else if ((*p & 0xC0) != 0x80) nCurrent += 10;
        }
        return std::max(nMax, nCurrent);
    }
    int getHeight() override { return 24; }
};

// Logs "id" of every callback.
struct LogTarget : ICallbackTarget {
    void onCallback(int nId, void*) override { vIds.push_back(nId); }
    std::vector<int> vIds;
};

constexpr const char* kStrings =
    "SAD_Title Start again?\nSAD_MainText You have a saved game.\nSAD_Continue Continue\n"
    "SAD_StartNew New game\nSAD_Cancel Cancel\nGPD_Text Press a key\nECD_QueryExit0 Really quit?\n"
    "ECD_QueryExit1 Leave now?\nyes Yes\nno No\nok OK\n";

class UiTest : public themetest::ThemeApp {
protected:
    void SetUp() override {
        ThemeApp::SetUp();
        m_app.setTheme(sample());
        m_pPlatform = static_cast<testkit::FakePlatform*>(m_app.getPlatform());
        m_pPlatform->setDispatcher(testkit::routeTo(m_app));
        m_pPlatform->setMousePosition(790, 590);
        m_pTexts->add("ui.txt", testkit::resource(kStrings));
        m_app.loadStringTable("ui.txt");
    }
    // One frame of the platform's pump.
    void pump(std::vector<testkit::FakeEvent> vEvents) {
        m_pPlatform->queueFrame(std::move(vEvents));
        m_pPlatform->processEvents();
    }
    void key(int nKey, unsigned nModifiers = 0) { pump({testkit::FakeEvent::keyDown(nKey, nModifiers)}); }
    // A press at a point and its release at another.
    void click(int x, int y) { drag(x, y, x, y); }
    void drag(int x0, int y0, int x1, int y1) {
        using E = testkit::FakeEvent;
        pump({E::mouseMove(x0, y0), E::mouseDown(1, x0, y0)});
        m_pPlatform->m_setButtons.insert(1);
        pump({E::mouseMove(x1, y1)});
        m_pPlatform->m_setButtons.erase(1);
        pump({E::mouseUp(1, x1, y1)});
    }
    std::vector<std::string> sounds() {
        std::vector<std::string> v;
        for (const auto& s : m_pAudio->m_vSamples) v.push_back(s.sName);
        m_pAudio->m_vSamples.clear();
        return v;
    }

    testkit::FakePlatform* m_pPlatform = nullptr;
};

// The centre of a sprite's box on screen.
inline std::pair<int, int> centreOf(const Sprite& s) {
    const Rect r = s.getBoundingRect();
    return {(r.getLeft() + r.getRight()) / 2, (r.getTop() + r.getBottom()) / 2};
}

}  // namespace uitest

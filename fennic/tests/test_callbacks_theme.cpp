#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "control.h"
#include "font.h"
#include "gamemode.h"
#include "particle.h"
#include "spritetest_util.h"
#include "theme.h"

namespace {

struct Received {
    int nId;
    void* pData;
    bool operator==(const Received&) const = default;
};

class RecordingTarget : public ICallbackTarget {
public:
    void onCallback(int nId, void* pData) override { m_vReceived.push_back({nId, pData}); }
    std::vector<Received> m_vReceived;
};

TEST(CallbackTrigger, PassesIdAndDataBackUnchanged) {
    RecordingTarget target;
    Control control(1, 2, 3);
    EXPECT_EQ(nullptr, control.getTarget());
    EXPECT_FALSE(control.trigger());

    int nData = 0;
    control.setCallback(&target, 42, &nData);
    EXPECT_TRUE(control.trigger());
    control.setCallbackId(7);  // the others stay
    EXPECT_TRUE(control.trigger());
    control.setData(nullptr);
    EXPECT_TRUE(control.trigger());
    EXPECT_EQ((std::vector<Received>{{42, &nData}, {7, &nData}, {7, nullptr}}), target.m_vReceived);

    ICallbackTarget* pTarget = nullptr;
    int nId = 0;
    void* pData = &nId;
    control.getCallback(&pTarget, &nId, &pData);
    EXPECT_TRUE(pTarget == &target && nId == 7 && pData == nullptr);
}

class NamedFont : public Font {
public:
    explicit NamedFont(std::string sName) : m_sName(std::move(sName)) {}
    Zep::SmartPtr<Font> clone() override { return new NamedFont(m_sName); }
    void drawText(const Zep::SmartPtr<Image>&, int, int, const char*) override {}
    bool hasGlyph(char) override { return false; }
    int getTextWidth(const char*) override { return 0; }
    int getHeight() override { return 0; }
    std::string m_sName;
};

class OneFontFactory : public FontFactory {
public:
    Zep::SmartPtr<Font> createFont(const Zep::List<Zep::String>& lWords) override {
        return new NamedFont(lWords.getFirst().c_str());
    }
};

std::string fontName(const Zep::SmartPtr<Font>& p) {
    return p.isNULL() ? "null" : static_cast<NamedFont*>(p.get())->m_sName;
}

TEST(Theme, LookupsWithTheirFallbacks) {
    Theme theme;
    EXPECT_EQ("null", fontName(theme.getFont("title")));
    theme.setDefaultFont(new NamedFont("default"));
    theme.addFont("title", new NamedFont("title"));
    EXPECT_EQ("title", fontName(theme.getFont("title")));
    EXPECT_EQ("default", fontName(theme.getFont("body")));

    theme.addButtonStyle("Tooltip");
    EXPECT_TRUE(theme.hasButtonStyle("Tooltip") && !theme.hasButtonStyle(nullptr));

    EXPECT_TRUE(theme.getCursor("").isNULL());
    Zep::SmartPtr<Image> pArrow = new MemImage(4, 4, true);
    theme.addCursor("", pArrow);
    theme.load("ui.theme");
    EXPECT_STREQ("ui.theme", theme.getFileName().c_str());
    EXPECT_TRUE(theme.getCursor("") == pArrow);

    Theme::registerFontFactory("Simple", new OneFontFactory());
    EXPECT_TRUE(Theme::getFontFactory("Missing").isNULL());
    EXPECT_EQ("arial", fontName(Theme::getFontFactory("Simple")->createFont(Zep::List<Zep::String>{"arial"})));
    // Without an application there is no image factory to draw a button with.
    EXPECT_TRUE(theme.makeButtonImage("OK", 0, -1, "").isNULL());
}

class ThemeWithApp : public spritetest::AppWithScreen<> {};

TEST_F(ThemeWithApp, ButtonPicturesAndTheDefaultCursor) {
    Zep::SmartPtr<Theme> pTheme = new Theme();
    // Text, width asked, width made.
    for (const auto& [szText, nWidth, nExpectedWidth] :
         {std::tuple{"Hello", -1, 40}, std::tuple{"", -1, 1}, std::tuple{"Hello", 100, 100}}) {
        Zep::SmartPtr<Image> p = pTheme->makeButtonImage(szText, 1, nWidth, "Tooltip");
        EXPECT_EQ(nExpectedWidth, p->getWidth()) << szText;
        EXPECT_EQ(Theme::kButtonHeight, p->getHeight());
        EXPECT_EQ(Color(223, 223, 225, 255), p->getPixel(0, 0));
    }
    Zep::SmartPtr<Image> pArrow = new MemImage(4, 4, true);
    pTheme->addCursor("", pArrow);
    m_app.setTheme(pTheme);
    EXPECT_EQ(pArrow.get(), m_pVideo->m_pCursorImage);
    pTheme->setDefaultFont(new NamedFont("default"));
    GameMode mode;
    EXPECT_EQ("default", fontName(mode.getFont("any")));
}

// A particle that dies after a number of steps.
class CountdownParticle : public Particle {
public:
    explicit CountdownParticle(int nSteps) : m_nSteps(nSteps) {}
    void update(float) override { setDead(--m_nSteps <= 0); }

private:
    int m_nSteps;
};

TEST(Particles, DeadOnesLeaveTheListInTheStepTheyDie) {
    GameMode mode;
    mode.addParticle(new CountdownParticle(1));
    Zep::List<Zep::SmartPtr<Particle>> lMore;
    lMore.add(new CountdownParticle(2));
    lMore.add(new CountdownParticle(1));
    mode.addParticles(lMore);
    mode.updateParticles(0.1f);
    EXPECT_EQ(1, mode.getParticles().getCount());
    mode.frameUpdate(0.1f);
    EXPECT_EQ(0, mode.getParticles().getCount());
}

}  // namespace

#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <string>
#include <tuple>

#include "sdl/sdl_image.h"
#include "sdl/sdl_imagefactory.h"
#include "sdl/sdl_platform.h"
#include "driver/startup.h"
#include "theme/themetest_util.h"
#include "ui/ui_label.h"

namespace {

class TrueType : public themetest::ThemeApp {
protected:
    static Zep::List<Zep::String> spec(std::initializer_list<const char*> lWords) {
        Zep::List<Zep::String> l;
        for (const char* sz : lWords) l.add(sz);
        return l;
    }
    // The resolved file name as the cache keys hold it.
    std::string lowerPath(const char* szName) {
        return m_app.findResource(szName, nullptr).toLower().c_str();
    }
    // The counts this test made.
    std::pair<int, int> counts() const {
        return {SDLTTFFactory::getCacheHits() - m_nHits0, SDLTTFFactory::getCacheMisses() - m_nMisses0};
    }
    int m_nHits0 = SDLTTFFactory::getCacheHits();
    int m_nMisses0 = SDLTTFFactory::getCacheMisses();
};

TEST_F(TrueType, MeasuresTheWidestLine) {
    SDLTTFFactory factory;
    Zep::SmartPtr<Font> p = factory.createFont(spec({"DejaVuSans.ttf", "16"}));
    const int nAbcd = p->getTextWidth("abcd");
    EXPECT_GT(nAbcd, p->getTextWidth("ab"));
    EXPECT_EQ(nAbcd, p->getTextWidth("ab\nabcd"));
    EXPECT_EQ(nAbcd, p->getTextWidth("abcd\nab"));
    EXPECT_EQ(0, p->getTextWidth(""));
    EXPECT_EQ(19, p->getHeight());  // DejaVu Sans 16: 19 pixels a line
}

TEST_F(TrueType, SpecsDifferingInCaseShareOneEntryAndEachCallGivesACopy) {
    SDLTTFFactory factory;
    Zep::SmartPtr<Font> a = factory.createFont(spec({"DejaVuSans.ttf", "16", "Bold", "UNDERLINE", "heavy"}));
    Zep::SmartPtr<Font> b = factory.createFont(spec({"dejavusans.TTF", "16", "bold", "underline", "Heavy"}));
    EXPECT_NE(a, b);
    EXPECT_EQ(std::make_pair(1, 1), counts());
    ASSERT_EQ(1, factory.getRecentKeys().getCount());
    EXPECT_EQ(lowerPath("DejaVuSans.ttf") + "::16::bold::underline::heavy", factory.getRecentKeys().getFirst().c_str());
    auto& ttf = static_cast<SDLTrueTypeFont&>(*a);
    EXPECT_EQ(std::make_pair(5, 16), std::make_pair(ttf.getStyle(), ttf.getPointSize()));
    a->setTextColor(Color(1, 2, 3, 255));
    EXPECT_EQ(Color(255, 255, 255, 255), b->getTextColor());

    Zep::List<Zep::String> l = spec({"DejaVuSans.ttf", "16"});
    EXPECT_TRUE(factory.setNumericParam(l, 0, 18));
    EXPECT_FALSE(factory.setNumericParam(l, 1, 20));
    EXPECT_EQ(std::make_tuple(std::string("18"), 18, -1),
              std::make_tuple(std::string(l.get(1).c_str()), factory.getNumericParam(l, 0), factory.getNumericParam(l, 1)));
    EXPECT_EQ("List index out of range : 1 (have 1)", testkit::messageOf([&] { factory.createFont(spec({"x"})); }));
}

TEST_F(TrueType, TheSixteenthFontEvictsTheLeastRecentlyUsed) {
    SDLTTFFactory factory;
    for (int nSize = 8; nSize < 8 + 15; ++nSize) factory.createFont(spec({"DejaVuSans.ttf", std::to_string(nSize).c_str()}));
    factory.createFont(spec({"DejaVuSans.ttf", "8"}));  // a hit moves 8 to the recent end
    factory.createFont(spec({"DejaVuSans.ttf", "30"}));
    const Zep::List<Zep::String>& l = factory.getRecentKeys();
    EXPECT_EQ(15, l.getCount());
    EXPECT_EQ(lowerPath("DejaVuSans.ttf") + "::10", l.getFirst().c_str());  // 9 went
    EXPECT_EQ(lowerPath("DejaVuSans.ttf") + "::30", l.getLast().c_str());
    EXPECT_EQ(std::make_pair(1, 16), counts());
}

TEST_F(TrueType, SdlTtfStopsAfterTheLastFontAndStartsAgain) {
    {
        SDLTTFFactory factory;
        Zep::SmartPtr<Font> p = factory.createFont(spec({"DejaVuSans.ttf", "12"}));
        EXPECT_TRUE(TTF_WasInit() && SDLTTFData::getUseCount() == 1);
    }
    EXPECT_EQ(std::make_pair(0, 0), std::make_pair(TTF_WasInit(), SDLTTFData::getUseCount()));
    SDLTTFFactory factory;
    factory.createFont(spec({"DejaVuSans.ttf", "12"}));
    EXPECT_EQ(1, TTF_WasInit());
}

// Mended: a file SDL_ttf cannot open is an error naming it, and nothing is cached.
TEST_F(TrueType, AFontThatFailsToOpenIsAnErrorNamingIt) {
    m_pTexts->add("fonts/broken.ttf", testkit::resource("not a font at all"));
    SDLTTFFactory factory;
    const std::string sMessage =
        testkit::messageOf<Zep::ResourceException>([&] { factory.createFont(spec({"fonts/broken.ttf", "12"})); });
    EXPECT_EQ("SDLTrueTypeFont : Can't open fonts/broken.ttf [", sMessage.substr(0, 47)) << sMessage;
    EXPECT_TRUE(factory.getRecentKeys().isEmpty());
    EXPECT_EQ(0, SDLTTFData::getUseCount());
}

TEST_F(TrueType, AShadowedCaptionKeepsItsShadowAroundTheText) {
    SDLTTFFactory factory;
    Zep::SmartPtr<Font> p = factory.createFont(spec({"DejaVuSans.ttf", "16"}));
    p->setShadowOffset(1);
    p->setDrawShadow(true);
    Zep::SmartPtr<Image> pLabel = m_app.createImage(40, 24, true);
    p->drawText(pLabel, 2, 2, "Il");
    // Each stem keeps a column of shadow at its right.
    int nText = 0, nShadow = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) {
            const Color c = pLabel->getPixel(x, y);
            nText += c.getAlpha() > 200 && c.getRed() > 200;
            nShadow += c.getAlpha() > 200 && c.getRed() < 50;
        }
    EXPECT_GT(nText, 20);
    EXPECT_GT(nShadow, 10);  // a plain copy of the text's box would have erased it
}

}  // namespace

namespace {

class PlatformFonts : public testkit::AppTest<> {};

TEST_F(PlatformFonts, ThePlatformRegistersTrueTypeAndLogsTheCacheAtShutdown) {
    testkit::ScopedEnv env("SDL_VIDEODRIVER", "dummy");
    SDLTTFFactory::resetCacheCounts();
    m_app.setPlatform(std::make_unique<SDLPlatform>());
    ASSERT_TRUE(Theme::getFontFactory("TRUETYPE").notNULL());
    std::filesystem::copy_file(themetest::kDejaVu, m_dir.file("DejaVuSans.ttf"));
    m_app.addResourceProvider(std::make_unique<Zep::FilesystemResourceProvider>(m_dir.path().c_str()), false);
    const Zep::List<Zep::String> lSpec{"DejaVuSans.ttf", "10"};
    for (int i = 0; i < 3; ++i) Theme::createFont("TrueType", lSpec);
    m_app.getPlatform()->shutdown();
    EXPECT_TRUE(Theme::getFontFactory("TrueType").isNULL());
    EXPECT_NE(std::string::npos, m_files.logText().find("S: Font cache : 2 hits (66.7%), 1 misses\n")) << m_files.logText();
    m_app.setPlatform(nullptr);
}

}  // namespace

namespace {

// A line wider than its target goes to the library in pieces no wider than
// the target, placed with the font's own kerning: what lands on the target
// is what the library draws of the whole line there.
TEST_F(TrueType, ALineCutIntoPiecesDrawsAsTheWholeLine) {
    const char* szText = "AVAVATATAT ToToTo WaWaWa LTLTLT YoYo";  // kerned pairs throughout
    SDLTTFFactory factory;
    for (int nStyle : {0, TTF_STYLE_BOLD, TTF_STYLE_ITALIC, TTF_STYLE_UNDERLINE}) {
        const char* szStyle = nStyle == TTF_STYLE_BOLD ? "bold" : nStyle == TTF_STYLE_ITALIC ? "italic" : "underline";
        Zep::SmartPtr<Font> p = factory.createFont(spec({"DejaVuSans.ttf", "16", nStyle ? szStyle : ""}));
        p->setDrawShadow(false);
        TTF_Font* pLibraryFont = TTF_OpenFont(themetest::kDejaVu, 16);
        TTF_SetFontStyle(pLibraryFont, nStyle);
        Zep::SmartPtr<Image> pWhole = m_app.createImage(400, 24, true);
        const SDL_Color white{255, 255, 255, 0};
        const Zep::SmartPtr<Image> pLine = new SDLImage(TTF_RenderUTF8_Blended(pLibraryFont, szText, white));
        pWhole->blitFrom(*pLine, 0, 2);
        TTF_CloseFont(pLibraryFont);
        for (int w = 9; w < 400; w += 29) {
            Zep::SmartPtr<Image> pCut = m_app.createImage(w, 24, true);
            p->drawText(pCut, 0, 2, szText);
            int nDiffering = 0;
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < w; ++x) nDiffering += pCut->getPixel(x, y) != pWhole->getPixel(x, y);
            EXPECT_EQ(0, nDiffering) << nStyle << " " << w;
        }
    }
}

// A line of thousands of characters, as a label measures it before it is
// wrapped, makes a picture no wider than a driver holds: on SDL's surfaces
// it is drawn cut at the largest side instead of failing (an SDL surface
// can't be 16,384 pixels wide); wrapped, it takes its own width again.
TEST_F(TrueType, ALabelOfAVeryLongLineDrawsCutAtTheLargestPictureSide) {
    testkit::ScopedEnv env("SDL_VIDEODRIVER", "dummy");
    SDL_Init(SDL_INIT_NOPARACHUTE);
    static_cast<testkit::FakePlatform*>(m_app.getPlatform())->setImageFactory(std::make_unique<SDLImageFactory>());
    SDLTTFFactory factory;
    Zep::SmartPtr<Label> pLabel = new Label("");
    pLabel->setFont(factory.createFont(spec({"DejaVuSans.ttf", "16"})));
    pLabel->setText(std::string(3000, 'x').c_str());  // some 27,000 pixels
    ASSERT_TRUE(dynamic_cast<SDLImage*>(pLabel->getImage().get()));
    EXPECT_EQ(pLabel->getImage()->getWidth(), Label::kMaxPictureSide);
    pLabel->setBreakLongWords(true);
    pLabel->setWrapWidth(600, true);
    EXPECT_LE(pLabel->getImage()->getWidth(), 620);
    EXPECT_GT(pLabel->getImage()->getHeight(), 40 * 16);
    pLabel = nullptr;
    SDL_Quit();
}

// The start-up header's call gives a theme on the fake platform its
// TrueType fonts; without it the class is unknown.
TEST_F(TrueType, TheStartUpCallRegistersTheClassWithoutTheDesktopPlatform) {
    m_pTexts->add("t.theme", testkit::resource("font F\nclass TrueType DejaVuSans.ttf 16\n}\n"));
    unregisterTrueTypeFonts();
    EXPECT_EQ(testkit::messageOf([] { Theme().load("t.theme"); }), "Can't find factory for font class 'truetype'");
    registerTrueTypeFonts();
    Theme theme;
    theme.load("t.theme");
    EXPECT_EQ(theme.getFont("F")->getHeight(), 19);
}

}  // namespace

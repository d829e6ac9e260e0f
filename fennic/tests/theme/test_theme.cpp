#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "theme/themetest_util.h"

using themetest::ThemeApp;

namespace {

class ThemeFile : public ThemeApp {};

TEST_F(ThemeFile, TheSampleAppliesEveryCommand) {
    Zep::SmartPtr<Theme> pTheme = sample();
    Theme& t = *pTheme;
    EXPECT_STREQ("Sample::", t.getTextPrefix().c_str());
    // Font blocks: a TrueType font, copies with their own settings, the fourth colour token ignored.
    Zep::SmartPtr<Font> pDefault = t.getFont("Theme::Default");
    ASSERT_NE(nullptr, dynamic_cast<SDLTrueTypeFont*>(pDefault.get()));
    EXPECT_EQ(std::make_tuple(16, 1 | 8, Color(0, 0, 0, 255), 1, true),
              std::make_tuple(static_cast<SDLTrueTypeFont&>(*pDefault).getPointSize(), pDefault->getTextAlign(),
                              pDefault->getShadowColor(), pDefault->getShadowOffset(), pDefault->getDrawShadow()));
    EXPECT_EQ(36, t.getFont("Theme::Button")->getTextAlign());
    EXPECT_EQ(Color(255, 220, 120, 255), t.getFont("Theme::DialogTitle")->getTextColor());
    EXPECT_EQ(Color(255, 255, 255, 255), t.getFont("Theme::Button")->getTextColor());

    // The unnamed button style and "Tooltip".
    ButtonStyle& b = *t.getButtonStyle(nullptr);
    EXPECT_EQ(m_app.getImage("ui/btn_high"), b.pImage[2]);
    EXPECT_EQ(std::make_tuple(2, 2, 0, 0), std::make_tuple(b.nTextOffsetX[1], b.nTextOffsetY[1], b.nTextOffsetX[0],
                                                           b.nTextOffsetY[2]));
    for (const Zep::String& s : b.sFont) EXPECT_STREQ("Theme::Button", s.c_str());
    EXPECT_EQ(std::make_tuple(12, 12, true, true), std::make_tuple(b.nLeftCap, b.nRightCap, b.bResize, b.bTileCenter));
    EXPECT_EQ(1, b.hSounds.get("clicked").getCount());
    EXPECT_TRUE(b.hSoundSet.get("highlighted"));
    ButtonStyle& tip = *t.getButtonStyle("TOOLTIP");
    EXPECT_EQ(std::make_tuple(4, 4, true, false), std::make_tuple(tip.nLeftCap, tip.nRightCap, tip.bResize, tip.bTileCenter));
    EXPECT_TRUE(tip.pImage[1].isNULL());

    // Frame styles: borders from the part sizes or as given; the decoration.
    EXPECT_STREQ("(4, 4 - 4, 4)", t.getFrameBorder(nullptr).toString().c_str());
    EXPECT_STREQ("(4, 4 - 4, 4)", t.getFrameBorder("listboxframe").toString().c_str());
    EXPECT_TRUE(t.getFrameStyle("ListboxFrame")->bBorderGiven && t.hasBorderParts(""));
    EXPECT_TRUE(t.getFrameStyle(nullptr)->lDecorations[ThemeParts::kUL].getFirst().bIgnoreSize);
    EXPECT_STREQ("(5, 5 - 5, 5)", t.getFrameBorder("System::DefaultFrame").toString().c_str());

    // Cursors, separators, sliders, radio images, copies and insertion points.
    EXPECT_EQ(m_app.getImage("ui/cursor"), t.getDefaultCursor());
    EXPECT_EQ(m_app.getImage("ui/cursor_wait"), t.getCursor("wait"));
    EXPECT_EQ("2,4", std::to_string(t.getCursor("wait")->getInsPointX()) + "," +
                         std::to_string(t.getCursor("wait")->getInsPointY()));  // imageinspos after "cursor ... 8 8"
    EXPECT_EQ(m_app.getImage("ui/sep_short"), t.getShortSeparator());
    Zep::SmartPtr<Image> a, b2, c;
    t.getSliderImages(&a, &b2, &c);
    EXPECT_EQ(m_app.getImage("ui/sl_knob"), c);
    int nLow = 0, nHigh = 0;
    float fX = 0, fY = 0;
    EXPECT_TRUE(t.getSliderRange(&nLow, &nHigh));
    t.getSliderScale(&fX, &fY);
    EXPECT_EQ(std::make_tuple(8, 192, 1.0f, 1.2f, 0), std::make_tuple(nLow, nHigh, fX, fY, t.getSliderStyle()));
    t.getRadioButtonImages(&a, &b2);
    EXPECT_EQ(m_app.getImage("ui/radio_on"), b2);
    EXPECT_TRUE(m_app.isImageCached("ui/btn_copy"));
    EXPECT_NE(m_app.getImage("ui/btn_copy"), m_app.getImage("ui/btn_normal"));
}

TEST_F(ThemeFile, EveryErrorEndsTheLoadWithItsMessage) {
    const std::tuple<std::string, std::string> kCases[] = {
        {"Bogus 1\n", "Theme::load : Unknown command bogus"},
        {"font F\n{\nclass SimpleFont Fennic::SystemFont\nWobble\n}\n", "Theme::loadFontSpec : Unknown command wobble"},
        {"sliderstyle Diagonal\n", "Unknown slider style 'Diagonal'"},
        {"sliderrange 3\n", "List index out of range : 2 (have 2)"},
        {"buttonimage sideways ui/cursor\n", "Hash key not found : \"sideways\""},
        {"frame middle ui/cursor\n", "Hash key not found : \"middle\""},
        {"font F\n{\nclass NoSuch x\n}\n", "Can't find factory for font class 'nosuch'"},
        {"font F\n{\nclass SimpleFont Fennic::SystemFont\n", "List index out of range : 0 (have 0)"},
        // Mended: a setting before "class" or "copy" has no font to act on.
        {"font Sand::Label\n{\ntextcolor 1 2 3\n}\n", "Theme::loadFontSpec : No font in block Sand::Label"},
        {"font Sand::Empty\n{\n}\n", "Theme::loadFontSpec : No font in block Sand::Empty"},
    };
    for (const auto& [sText, sMessage] : kCases) EXPECT_EQ(sMessage, loadError(sText)) << sText;
    Theme theme;
    EXPECT_EQ("GameApp::getResource() : Resource 'missing.theme' not found",
              testkit::messageOf([&] { theme.load("missing.theme"); }));
    EXPECT_TRUE(theme.hasButtonStyle(nullptr) && theme.hasFrameStyle(nullptr));  // made before the file is read
}

TEST_F(ThemeFile, EdgeCasesOfTheCommands) {
    Theme t;
    loadText(t, "# only a comment\n\n   \n");
    EXPECT_TRUE(t.hasButtonStyle(nullptr) && t.hasFrameStyle("") && t.hasFont("System::DefaultFont"));
    loadText(t, "buttonstyle Big\nbuttoncap 12 8\nbuttonstyle big\nbuttonfont pushed Theme::Button\n"
                "resizebuttons no\ntilecenter yes\n"
                "framestyle Box\nborder_udlr 1 1 1 1\nframestyle Box\nframe top ui/frm_top stretch fixed\n"
                "frame TOP ui/frm_top\nframestyle Given\nframe left ui/frm_left\nborder_udlr 4 6 2 3\n"
                "defaultcursor ui/radio_on 5\n");
    const ButtonStyle& big = *t.getButtonStyle("BIG");
    EXPECT_EQ(std::make_tuple(12, 8, true, false), std::make_tuple(big.nLeftCap, big.nRightCap, big.bResize, big.bTileCenter));
    EXPECT_STREQ("", big.sFont[0].c_str());
    EXPECT_STREQ("Theme::Button", big.sFont[1].c_str());
    const FrameStyle& box = *t.getFrameStyle("box");
    EXPECT_TRUE(box.bFrameFixed[ThemeParts::kTop] && !box.bBorderGiven);  // the second "framestyle" starts afresh
    EXPECT_EQ(2, box.lVariants[ThemeParts::kTop].getCount());
    EXPECT_STREQ("(0, 4 - 0, 0)", box.border.toString().c_str());
    EXPECT_STREQ("(2, 4 - 3, 6)", t.getFrameBorder("given").toString().c_str());
    EXPECT_EQ(0, t.getDefaultCursor()->getInsPointX());  // three tokens: no hot spot

    // Alignment words in order; "justify" sets 7 where it stands.
    for (const auto& [szWords, nFlags] : {std::tuple{"middle left", 37}, std::tuple{"left justify", 7},
                                          std::tuple{"justify left", 7}, std::tuple{"hcenter bogus bottom", 20}}) {
        loadText(t, std::string("font A\n{\ncopy Nobody\ntextalign ") + szWords + "\n}\n");
        EXPECT_EQ(nFlags, t.getFont("A")->getTextAlign()) << szWords;
    }
    // The fallback font is a copy; the prefix is tried first.
    EXPECT_NE(t.getFont("Nobody"), t.getFont("Nobody"));
    t.setFontPrefix("Sand::");
    t.setFont("Sand::A", t.getFont("System::DefaultFont"));
    EXPECT_EQ(1, t.getFont("A")->getTextAlign());
}

TEST_F(ThemeFile, DefaultsOfAThemeNeverLoaded) {
    Theme t;
    int a = 0, b = 0;
    float x = 0, y = 0;
    EXPECT_FALSE(t.getSliderRange(&a, &b));
    t.getSliderScale(&x, &y);
    EXPECT_EQ(std::make_tuple(-1, -1, 1.0f, 1.0f, 0), std::make_tuple(a, b, x, y, t.getSliderStyle()));
    EXPECT_EQ(t.getLongSeparator(), t.getShortSeparator());
    EXPECT_EQ(10, t.getShortSeparator()->getWidth());
    Zep::SmartPtr<Image> pOff, pOn;
    t.getRadioButtonImages(&pOff, &pOn);
    EXPECT_EQ(std::make_pair(25, 35), std::make_pair(pOff->getWidth(), pOn->getHeight()));
    EXPECT_TRUE(t.getCursor("arrow").isNULL());
    EXPECT_EQ("Hash key not found : \"\"", testkit::messageOf([&] { t.getButtonStyle(nullptr); }));
    EXPECT_EQ("Assertion failed : m_hFrmStyle.hasKey(sKey)", testkit::messageOf([&] { t.getFrameStyle("x"); }));
}

TEST(ThemeAlone, WithoutTheDefaultFontAnUnknownNameFails) {
    Theme t;
    EXPECT_EQ("Assertion failed : false", testkit::messageOf([&] { t.getFont("System::DefaultFont"); }));
    EXPECT_EQ("Assertion failed : false", testkit::messageOf([&] { t.getFont("Any"); }));
}

}  // namespace

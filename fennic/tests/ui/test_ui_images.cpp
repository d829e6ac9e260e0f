#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "theme/themetest_util.h"
#include "ui/ui_table.h"

using themetest::partColor;

namespace {

class GeneratedImages : public themetest::ThemeApp {
protected:
    // Buttons of 50 x 20 with caps of 10 (a 30-pixel centre), transparent, and
    // captions that are pictures named as the caption.
    Zep::SmartPtr<Theme> buttonTheme() {
        picture("ui/b", imagetest::solid(50, 20, true, Color(0, 0, 0, 0)));
        picture("cap60", imagetest::solid(60, 10, true, kCaption));
        picture("cap70", imagetest::solid(70, 10, true, kCaption));
        Zep::SmartPtr<Theme> p = new Theme();
        loadText(*p, "buttonimage normal ui/b\nbuttonimage pushed ui/b\nbuttonimage disabled ui/b\n"
                     "buttoncap 10\nresizebuttons true\ntilecenter true\n"
                     "buttonstyle Fixed\nbuttonimage normal ui/b\nbuttonstyle Capped\nbuttonimage normal ui/b\n"
                     "buttoncap 25\nresizebuttons true\n");
        return p;
    }
    static inline const Color kCaption = Color(200, 100, 50, 255);
};

TEST_F(GeneratedImages, AFittedFrameHasItsCornersAtTheCornersAndTheBackInside) {
    Zep::SmartPtr<Theme> pTheme = sample();
    Zep::SmartPtr<Image> p = pTheme->makeFrameImage(21, 14, nullptr);
    ASSERT_EQ(std::make_pair(21, 14), std::make_pair(p->getWidth(), p->getHeight()));
    // Parts: 0 top, 1 bottom, 2 left, 3 right, 4-7 corners, 8 back, 9 the 2 x 2 "ul" decoration.
    const std::tuple<int, int, int> kPixels[] = {{0, 0, 9},   {20, 0, 5},  {0, 13, 6}, {20, 13, 7}, {3, 3, 4},
                                                 {10, 0, 0},  {10, 13, 1}, {0, 7, 2},  {20, 7, 3},  {10, 7, 8}};
    for (const auto& [x, y, nPart] : kPixels) EXPECT_EQ(partColor(nPart), p->getPixel(x, y)) << x << "," << y;
    EXPECT_EQ(p, pTheme->makeFrameImage(21, 14, nullptr));  // cached
    EXPECT_TRUE(m_app.isImageCached("Frm::::21x14"));
    // A style of only "back" gives the tiled background.
    loadText(*pTheme, "framestyle Plain\nframe back ui/frm_back\n");
    EXPECT_EQ(partColor(8), pTheme->makeFrameImage(9, 9, "Plain")->getPixel(0, 0));
}

TEST_F(GeneratedImages, FixedEdgesRoundUpToWholePieces) {
    picture("ui/mid6", imagetest::solid(6, 4, false, partColor(1)));
    picture("ui/end2", imagetest::solid(2, 4, false, partColor(2)));
    Zep::SmartPtr<Theme> pTheme = sample();
    std::string sText = "framestyle F\nframe back ui/frm_back\nframe left ui/frm_left\nframe right ui/frm_right\n";
    for (const char* szCorner : {"ul", "ur", "ll", "lr"}) sText += std::string("frame ") + szCorner + " ui/frm_ul\n";
    for (const char* szEdge : {"top", "bottom"}) sText += std::string("frame ") + szEdge + " ui/mid6 fixed\n";
    for (const char* szEnd : {"tl", "tr", "bl", "br"}) sText += std::string("frame ") + szEnd + " ui/end2 fixed\n";
    loadText(*pTheme, sText);
    // Corners 8, one middle 6, then end pairs of 4: 14, 18, 22...
    for (const auto& [nAsked, nFitted] : {std::pair{10, 14}, std::pair{15, 18}, std::pair{18, 18}, std::pair{19, 22}}) {
        int w = nAsked, h = 9;
        pTheme->fitFrameSize(w, h, "f");
        EXPECT_EQ(std::make_pair(nFitted, 9), std::make_pair(w, h)) << nAsked;
    }
    // As a table: one end piece each side of the middle, between the corners.
    Zep::SmartPtr<Table> pTop = Zep::SmartPtr<Table>(dynamic_cast<Table*>(
        pTheme->makeFrameTable(nullptr, 15, 9, "F")->getContent(0, 0, 0).get()));
    EXPECT_EQ(std::make_pair(5, 18), std::make_pair(pTop->getCellCount(0), pTop->getWidth()));
    Zep::SmartPtr<Image> p = pTheme->makeFrameImage(15, 9, "F");
    // ul, tl, middle, tr, ur across the top: 4 + 2 + 6 + 2 + 4.
    for (const auto& [x, nPart] : {std::pair{3, 4}, std::pair{4, 2}, std::pair{6, 1}, std::pair{12, 2}, std::pair{14, 4}})
        EXPECT_EQ(partColor(nPart), p->getPixel(x, 0)) << x;
}

TEST_F(GeneratedImages, StylesMissingPiecesAreErrorsBeforeDrawing) {
    Zep::SmartPtr<Theme> pTheme = sample();
    loadText(*pTheme, "framestyle NoCorner\nframe top ui/frm_top\nframe back ui/frm_back\n"
                      "framestyle NoMiddle\nframe ul ui/frm_ul\nframe ur ui/frm_ur\nframe back ui/frm_back\n"
                      "framestyle NoBack\nframe top ui/frm_top\nframe bottom ui/frm_top\nframe left ui/frm_top\n"
                      "frame right ui/frm_top\nframe ul ui/frm_ul\nframe ur ui/frm_ul\nframe ll ui/frm_ul\n"
                      "frame lr ui/frm_ul\n"
                      "framestyle Mixed\nframe ul ui/frm_ul\nframe ur ui/frm_ul\nframe tl ui/frm_ul fixed\n");
    const std::tuple<const char*, std::string> kCases[] = {
        {"NoCorner", "Assertion failed : notNULL(pStyle->lFramePart[nLCorner])"},
        {"NoMiddle", "Assertion failed : notNULL(pMid)"},
        {"NoBack", "Assertion failed : notNULL(pBack)"},
        {"Mixed", "Assertion failed : isNULL(pStyle->lFramePart[nLSide]) == isNULL(pStyle->lFramePart[nRSide])"},
    };
    for (const auto& [szStyle, sMessage] : kCases)
        EXPECT_EQ(sMessage, testkit::messageOf([&, szStyle = szStyle] { pTheme->makeFrameImage(30, 30, szStyle); })) << szStyle;
    EXPECT_EQ("Assertion failed : nTopW == nBotW", testkit::messageOf([&] {
                  loadText(*pTheme, "framestyle Odd\nframe top ui/frm_top fixed\nframe back ui/frm_back\n"
                                    "frame bottom ui/frm_top\nframe ul ui/frm_ul\nframe ur ui/frm_ul\n"
                                    "frame ll ui/frm_ul\nframe lr ui/frm_ul\nframe left ui/frm_top\n"
                                    "frame right ui/frm_top\n");
                  int w = 15, h = 12;
                  pTheme->fitFrameSize(w, h, "Odd");
              }));

    Zep::SmartPtr<Theme> pButtons = buttonTheme();
    EXPECT_EQ("Assertion failed : notNULL(pStateImage)",
              testkit::messageOf([&] { pButtons->makeButtonImage("cap60", 2, -1, nullptr); }));
    EXPECT_EQ("Assertion failed : nCenter > 0",
              testkit::messageOf([&] { pButtons->makeButtonImage("cap60", 0, -1, "capped"); }));
    EXPECT_EQ("Unknown button style 'Nope'", testkit::messageOf([&] { pButtons->makeButtonImage("x", 0, -1, "Nope"); }));
}

TEST_F(GeneratedImages, ButtonCaptionsCentredPushedFadedAndTiled) {
    Zep::SmartPtr<Theme> pTheme = buttonTheme();
    // Tile centre: 60 + 2 x 20 = 100 rounds to 80 (two tiles hold the caption); 70 gives 110.
    Zep::SmartPtr<Image> p60 = pTheme->makeButtonImage("cap60", 0, -1, nullptr);
    EXPECT_EQ(80, p60->getWidth());
    EXPECT_EQ(110, pTheme->makeButtonImage("cap70", 0, -1, nullptr)->getWidth());
    EXPECT_EQ(p60, pTheme->makeButtonImage("cap60", 0, -1, nullptr));  // cached
    EXPECT_TRUE(m_app.isImageCached("t1.theme::Btn::::cap60_-1_0") && m_app.isImageCached("Txt::t1.theme::Btn::::cap60_-1_0"));

    // Centred at (40, 10): columns 10-69, rows 5-14; pushed moves it by (3, 3);
    // disabled fades it to half alpha (255 x 128 / 256).
    const Color kNone(0, 0, 0, 0), kHalf(200, 100, 50, 127);
    const std::tuple<int, int, int, Color> kPixels[] = {
        {0, 10, 5, kCaption}, {0, 9, 5, kNone},      {0, 69, 14, kCaption}, {0, 70, 14, kNone},  {0, 10, 4, kNone},
        {1, 13, 8, kCaption}, {1, 12, 8, kNone},     {1, 72, 17, kCaption}, {3, 10, 5, kHalf}, {3, 69, 14, kHalf}};
    for (const auto& [nState, x, y, c] : kPixels)
        EXPECT_EQ(c, pTheme->makeButtonImage("cap60", nState, -1, nullptr)->getPixel(x, y)) << nState << ":" << x << "," << y;
    // A width asked is rounded the same way, under a name of its own.
    EXPECT_NE(p60, pTheme->makeButtonImage("cap60", 0, 81, nullptr));
    EXPECT_EQ(80, pTheme->makeButtonImage("cap60", 0, 81, nullptr)->getWidth());

    // Offsets and colours of one state or of all four (4).
    pTheme->setButtonTextOffset(nullptr, 4, 1, 2);
    pTheme->setButtonColor(nullptr, 2, Color(1, 1, 1, 255));
    const ButtonStyle& style = *pTheme->getButtonStyle(nullptr);
    EXPECT_EQ(std::make_tuple(1, 2, 1, 2), std::make_tuple(style.nTextOffsetX[1], style.nTextOffsetY[1],
                                                           style.nTextOffsetX[3], style.nTextOffsetY[0]));
    EXPECT_TRUE(style.cText[2] == Color(1, 1, 1, 255) && !style.bColorSet[2]);  // the colour alone: captions keep their font's

    // Without resizing: as wide as the larger of image and caption, the width asked ignored.
    Zep::SmartPtr<Image> pFixed = pTheme->makeButtonImage("cap60", 0, 300, "Fixed");
    EXPECT_EQ(std::make_pair(60, 20), std::make_pair(pFixed->getWidth(), pFixed->getHeight()));
    EXPECT_TRUE(m_app.isImageCached("t1.theme::Btn::Fixed::cap60_-1_0"));
}

TEST_F(GeneratedImages, ASampleButtonRendersItsCaptionInTrueType) {
    Zep::SmartPtr<Theme> pTheme = sample();
    Zep::SmartPtr<Image> p = pTheme->makeButtonImage("Play", 0, -1, nullptr);
    Zep::SmartPtr<Image> pCaption = m_app.getImage("Txt::t1.theme::Btn::::Play_-1_0");
    const int nWidth = pTheme->getFont("Theme::Button")->getTextWidth("Play");
    EXPECT_EQ(std::make_tuple(nWidth, 2 * pTheme->getFont("Theme::Button")->getHeight(), nWidth / 2),
              std::make_tuple(pCaption->getWidth(), pCaption->getHeight(), pCaption->getInsPointX()));
    EXPECT_EQ(20, p->getHeight());
    EXPECT_EQ(Color(0, 0, 90, 255), p->getPixel(0, 0));  // the left cap
}

// A button given a width keeps a text caption between its caps: a longer
// one is cut with the font's ellipsis; one that fits, and any caption of a
// button sized to it, stays whole.
TEST_F(GeneratedImages, ATextCaptionStaysBetweenTheCapsOfAButtonGivenAWidth) {
    Zep::SmartPtr<Theme> pTheme = sample();
    Zep::SmartPtr<Font> pFont = pTheme->getFont("Theme::Button");
    const ButtonStyle& style = *pTheme->getButtonStyle(nullptr);
    const char* const kLong = "WWWWWWWWWWWWWWWW";
    const int nRoom = 160 - style.nLeftCap - style.nRightCap;
    ASSERT_GT(pFont->getTextWidth(kLong), nRoom);
    const struct {
        const char* szCaption;
        int nWidth;
        std::string sShown;
    } kCases[] = {
        {kLong, 160, pFont->fitText(kLong, nRoom).c_str()},
        {kLong, -1, kLong},
        {"Ann", 160, "Ann"},
    };
    for (const auto& c : kCases) {
        pTheme->makeButtonImage(c.szCaption, 0, c.nWidth, nullptr);
        const Zep::SmartPtr<Image> pCaption =
            m_app.getImage(("Txt::t1.theme::Btn::::" + std::string(c.szCaption) + "_" + std::to_string(c.nWidth) + "_0").c_str());
        EXPECT_EQ(pCaption->getWidth(), pFont->getTextWidth(c.sShown.c_str())) << c.szCaption << " " << c.nWidth;
        if (c.nWidth != -1) {
            EXPECT_LE(pCaption->getWidth(), nRoom) << c.szCaption;
        }
    }
    EXPECT_EQ(std::string(pFont->fitText(kLong, nRoom).c_str()).substr(0, 3), "WWW");
}

TEST_F(GeneratedImages, ButtonSoundsFallBackToTheUnnamedStyle) {
    Zep::SmartPtr<Theme> pTheme = sample();
    pTheme->playButtonSound("Tooltip");
    pTheme->playButtonHighlightSound(nullptr);
    ASSERT_EQ(2u, m_pAudio->m_vSamples.size());
    EXPECT_EQ("sfx_ui_click", m_pAudio->m_vSamples[0].sName);
    EXPECT_EQ(std::make_tuple(std::string("sfx_ui_hover"), false, -1),
              std::make_tuple(m_pAudio->m_vSamples[1].sName, m_pAudio->m_vSamples[1].bLoop, m_pAudio->m_vSamples[1].nChannel));
    Theme bare;
    loadText(bare, "buttonstyle Quiet\n");
    bare.playButtonSound("Quiet");
    EXPECT_EQ(2u, m_pAudio->m_vSamples.size());
}

TEST_F(GeneratedImages, AFrameTableHasThreeRowsAroundItsBackground) {
    Zep::SmartPtr<Theme> pTheme = sample();
    Zep::SmartPtr<Table> pFrame = pTheme->makeFrameTable(nullptr, 22, 13, nullptr);
    ASSERT_EQ(3, pFrame->getRowCount());
    EXPECT_EQ(std::make_tuple(1, 3, 1), std::make_tuple(pFrame->getCellCount(0), pFrame->getCellCount(1),
                                                        pFrame->getCellCount(2)));
    EXPECT_EQ(std::make_pair(22, 13), std::make_pair(pFrame->getWidth(), pFrame->getHeight()));
    pFrame->setPosition(100, 50);
    Zep::List<Zep::SmartPtr<Sprite>> lSprites;
    pFrame->getSprites(lSprites, true);
    // Top: ul, 14 / 4 + 1 middles cut to the rest, ur; the back 14 x 5 in 4 x 4 tiles and cut pieces.
    EXPECT_EQ(std::make_pair(100.0f, 50.0f), std::make_pair(lSprites.getFirst()->getPosition().x,
                                                            lSprites.getFirst()->getPosition().y));
    Zep::List<Zep::SmartPtr<Sprite>> lAttached;
    pFrame->getAttachedSprites(lAttached);
    ASSERT_EQ(1, lAttached.getCount());  // the "ul" decoration, anchored at the top-left
    EXPECT_EQ(100, lAttached.getFirst()->getX());
    // Regression (found by fuzzing): a style of only "back" gives a frame table of the background alone.
    loadText(*pTheme, "framestyle Plain\nframe back ui/frm_back\n");
    EXPECT_EQ("9x6", std::to_string(pTheme->makeFrameTable(nullptr, 9, 6, "Plain")->getWidth()) + "x" +
                         std::to_string(pTheme->makeFrameTable(nullptr, 9, 6, "Plain")->getHeight()));
    // A height below both thicknesses splits the shortfall, the top losing the smaller half.
    Zep::SmartPtr<Table> pFlat = pTheme->makeFrameTable(nullptr, 22, 5, "ListboxFrame");
    EXPECT_EQ(std::make_pair(3, 2), std::make_pair(pFlat->getContent(0, 0, 0)->getHeight(),
                                                   pFlat->getContent(2, 0, 0)->getHeight()));
}

}  // namespace

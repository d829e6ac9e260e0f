// The bitmap fonts: the strip scanner on synthetic and malformed strips and on
// the built-in system font, measuring, tinting once per colour, the order of
// shadow and glyph, drawn pixels, the factories and the built-in resources.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <zep2/error.h>

#include "text/bitmapfont.h"
#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "text/systemfont_png.h"
#include "testkit/testkit_platform.h"
#include "theme/theme.h"

namespace {

using imagetest::dataPixel;
using imagetest::layout;

// Counts the blank images made through the factory (tinted glyphs among them).
class CountingFactory : public MemImageFactory {
public:
    Image* createBlank(int nWidth, int nHeight, bool bAlpha) override {
        ++m_nBlanks;
        return MemImageFactory::createBlank(nWidth, nHeight, bAlpha);
    }
    int m_nBlanks = 0;
};

// Records every transfer into it as the source and the point given.
class RecordingImage : public MemImage {
public:
    RecordingImage(int w, int h, bool bAlpha) : MemImage(w, h, bAlpha) {}
    using MemImage::blit;
    void blit(const Image& src, const Rect& r, int x, int y) override {
        m_lCalls.push_back({&src, x, y});
        MemImage::blit(src, r, x, y);
    }
    void copyRect(const Image& src, int sx, int sy, int w, int h, int x, int y) override {
        m_lCalls.push_back({&src, x, y});
        MemImage::copyRect(src, sx, sy, w, h, x, y);
    }
    struct Call {
        const Image* pSource;
        int x, y;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> m_lCalls;
};

// One strip row: its height, the empty columns between glyphs and the row at
// which its "A" begins (the other glyphs fill the whole row).
struct RowSpec {
    int nHeight;
    int nGap;
    int nATop;
};

constexpr int kStripWidth = 240;

// Glyph i of a row is 1 + i % 3 columns wide ("A" 1, then 2, 3, 1, ...).
int glyphWidth(int i) { return 1 + i % 3; }

// A strip of `nRows` framed rows, a blank line between the frames.
Zep::SmartPtr<MemImage> makeStrip(const std::vector<RowSpec>& lRows) {
    int nHeight = 0;
    for (const RowSpec& row : lRows) nHeight += row.nHeight + 3;
    Zep::SmartPtr<MemImage> p = new MemImage(kStripWidth, nHeight, true);
    const Color white(255, 255, 255, 255);
    ImageLock lock(*p);
    int y = 0;
    for (size_t r = 0; r < lRows.size(); ++r) {
        const RowSpec& row = lRows[r];
        p->writePixel(0, y, white);
        p->writePixel(0, y + row.nHeight + 1, white);
        int x = 2;
        for (int i = 0; kGlyphStripRows[r][i]; ++i) {
            for (int gx = 0; gx < glyphWidth(i); ++gx)
                for (int gy = i == 0 ? row.nATop : 0; gy < row.nHeight; ++gy) p->writePixel(x + gx, y + 1 + gy, white);
            x += glyphWidth(i) + row.nGap;
        }
        y += row.nHeight + 3;
    }
    return p;
}

// Row 1 with gaps of 5, the others 3; row 7 is the tallest.
std::vector<RowSpec> standardRows() {
    return {{6, 5, 1}, {6, 3, 0}, {6, 3, 2}, {6, 3, 0}, {6, 3, 0}, {6, 3, 0}, {9, 3, 4}};
}

int glyphCount(const GlyphTable& table) {
    int n = 0;
    for (const Zep::SmartPtr<Image>& p : table) n += p.notNULL();
    return n;
}

class BitmapFonts : public testkit::AppTest<> {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<CountingFactory>());
        m_pFactory = static_cast<CountingFactory*>(pPlatform->getImageFactory());
        m_app.setPlatform(std::move(pPlatform));
        m_app.initCaches();
    }

    template <class F>
    Zep::SmartPtr<F> fontOf(const Zep::SmartPtr<Image>& pStrip) {
        Zep::SmartPtr<F> p = new F();
        p->loadImage(pStrip);
        return p;
    }

    CountingFactory* m_pFactory = nullptr;
};

}  // namespace

TEST_F(BitmapFonts, ScannerFindsEveryCharacterOfTheSevenRowsWithTheirMetrics) {
    const std::vector<RowSpec> lRows = standardRows();
    int nSpacing = 0, nSpace = 0, nLine = 0;
    const std::unique_ptr<GlyphTable> pTable = scanGlyphStrip(makeStrip(lRows).get(), &nSpacing, &nSpace, &nLine);
    EXPECT_EQ(1, nSpacing);
    EXPECT_EQ((31 * 5 + 98 * 3) / 129, nSpace);  // 449 / 129 = 3
    EXPECT_EQ(9 + 5, nLine);                     // the stored "A" is the last row's
    EXPECT_EQ(130, glyphCount(*pTable));
    for (int r = 0; r < kGlyphStripRowCount; ++r) {
        for (int i = 1; kGlyphStripRows[r][i]; ++i) {
            const Zep::SmartPtr<Image>& p = (*pTable)[static_cast<unsigned char>(kGlyphStripRows[r][i])];
            ASSERT_TRUE(p.notNULL()) << "row " << r + 1 << " char " << i;
            const int w = glyphWidth(i), h = lRows[r].nHeight, t = lRows[r].nATop;
            EXPECT_EQ(std::to_string(w) + "x" + std::to_string(h) + " ins 0," + std::to_string(t) + " data 0,0 " +
                          std::to_string(w) + "x" + std::to_string(h),
                      layout(*p))
                << "row " << r + 1 << " char " << i;
        }
    }
    EXPECT_EQ("1x9 ins 0,4 data 0,0 1x9", layout(*(*pTable)['A']));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 255, 255, 255, 255, 255}), imagetest::alphas(*(*pTable)['A']));
}

TEST_F(BitmapFonts, MalformedStripsEndWithoutReadingOutsideOrHanging) {
    struct Case {
        const char* szName;
        Zep::SmartPtr<Image> pStrip;
        int nGlyphs, nSpace, nLine;
    };
    std::vector<RowSpec> lThree = standardRows();
    lThree.resize(3);
    // A glyph touching the right edge ends its row without it.
    Zep::SmartPtr<MemImage> pEdge = makeStrip({{4, 1, 0}});
    {
        ImageLock lock(*pEdge);
        for (int x = 1; x < kStripWidth; ++x) pEdge->writePixel(x, 1, Color(9, 9, 9, 255));
    }
    const Case cases[] = {
        {"no alpha", imagetest::solid(40, 20, false, Color(1, 2, 3, 255)).get(), 0, 6, 5},
        {"one pixel", new MemImage(1, 1, true), 0, 6, 5},
        {"three framed rows", makeStrip(lThree).get(), 31 + 32 + 32 + 1, (31 * 5 + 64 * 3) / 95, 6 + 5},
        {"row as wide as the strip", pEdge.get(), 0, 6, 5},
        {"no strip", Zep::SmartPtr<Image>(), 0, 6, 5},
    };
    for (const Case& c : cases) {
        int nSpacing = 0, nSpace = 0, nLine = 0;
        const std::unique_ptr<GlyphTable> pTable = scanGlyphStrip(c.pStrip, &nSpacing, &nSpace, &nLine);
        EXPECT_EQ(c.nGlyphs, glyphCount(*pTable)) << c.szName;
        EXPECT_EQ(c.nSpace, nSpace) << c.szName;
        EXPECT_EQ(c.nLine, nLine) << c.szName;
    }
    // A font that never got its glyphs measures nothing and draws nothing.
    Zep::SmartPtr<SimpleFont> pEmpty = new SimpleFont();
    Zep::SmartPtr<RecordingImage> pTarget = new RecordingImage(8, 8, true);
    pEmpty->drawText(pTarget.get(), 0, 0, "ab");
    EXPECT_EQ(0, pEmpty->getTextWidth("ab"));
    EXPECT_FALSE(pEmpty->hasGlyph('a'));
    EXPECT_TRUE(pTarget->m_lCalls.empty());
}

TEST_F(BitmapFonts, BuiltinResourcesAndTheSystemFontScannedWhole) {
    m_app.registerBuiltinResources();
    Zep::SmartPtr<Image> pOverlay = m_app.getImage("GreyOverlayPatch");
    EXPECT_EQ("80x60 ins 0,0 data 0,0 80x60", layout(*pOverlay));
    EXPECT_FALSE(pOverlay->hasAlpha());
    EXPECT_EQ(128, pOverlay->getSurfaceAlpha());
    const Zep::SmartPtr<Image> pEmpty = m_app.getImage("empty");
    EXPECT_EQ("2x2 ins 0,0 data 0,0 2x2", layout(*pEmpty));
    EXPECT_TRUE(pEmpty->hasAlpha());
    const Image* pPinned = pOverlay.get();
    pOverlay = nullptr;
    m_app.purgeImages();  // pinned: kept although nothing else holds it
    EXPECT_EQ(pPinned, m_app.getImage("greyoverlaypatch").get());
    EXPECT_EQ(static_cast<int>(kSystemFontPngSize), m_app.getResource("Fennic::SystemFont.png")->getSize());

    const Zep::SmartPtr<Image> pStrip = m_app.getImage(kSystemFontImageName);
    EXPECT_EQ("377x108", std::to_string(pStrip->getWidth()) + "x" + std::to_string(pStrip->getHeight()));
    Zep::SmartPtr<Font> pFont = createSystemFont();
    auto* pSystem = static_cast<SimpleFont*>(pFont.get());
    EXPECT_EQ(1, pSystem->getCharSpacing());
    EXPECT_EQ(4, pSystem->getSpaceWidth());
    EXPECT_EQ(13 + 5, pSystem->getHeight());
    EXPECT_EQ(130, glyphCount(pSystem->getGlyphTable()));
    for (int r = 0; r < kGlyphStripRowCount; ++r) {
        for (const char* p = kGlyphStripRows[r]; *p; ++p) {
            const Zep::SmartPtr<Image>& pGlyph = pSystem->getGlyphTable()[static_cast<unsigned char>(*p)];
            ASSERT_TRUE(pGlyph.notNULL()) << "row " << r + 1 << " code " << (*p & 0xFF);
            EXPECT_EQ(13, pGlyph->getHeight());
            EXPECT_EQ(2, pGlyph->getInsPointY());
        }
    }
    std::string sWidths;
    for (const char* p = "AMil.\"\xD1\xED|"; *p; ++p)
        sWidths += std::to_string(pSystem->getGlyphTable()[static_cast<unsigned char>(*p)]->getWidth());
    EXPECT_EQ("553314531", sWidths);
}

TEST_F(BitmapFonts, TextWidthUsesUnsignedCodesAndLineBreaksRestartTheLine) {
    m_app.registerBuiltinResources();
    Zep::SmartPtr<Font> pFont = createSystemFont();
    struct Case {
        const char* szText;
        int nWidth;
    };
    const Case cases[] = {
        {"AB", 12}, {"A B", 16}, {"Ai", 10}, {"AB\nA\r\nABC", 18}, {"\xC1\xD1", 12}, {"\x01", 4}, {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.nWidth, pFont->getTextWidth(c.szText)) << c.szText;
    EXPECT_TRUE(pFont->hasGlyph('\xFA'));
    EXPECT_FALSE(pFont->hasGlyph(' '));
    EXPECT_FALSE(pFont->hasGlyph('\xFF'));
}

TEST_F(BitmapFonts, EachColourIsTintedOncePerCoreAndSharedByClones) {
    Zep::SmartPtr<SimpleFont> pFont = fontOf<SimpleFont>(makeStrip(standardRows()).get());
    Zep::SmartPtr<Image> pTarget = new MemImage(100, 20, true);
    pFont->setTextColor(Color(255, 0, 0, 255));
    pFont->drawText(pTarget, 0, 0, "AB");
    EXPECT_EQ(2 * 130, m_pFactory->m_nBlanks);  // text and shadow colour
    pFont->drawText(pTarget, 0, 0, "BA");
    Zep::SmartPtr<Font> pClone = pFont->clone();
    pClone->drawText(pTarget, 0, 0, "AAA");
    EXPECT_EQ(2 * 130, m_pFactory->m_nBlanks);
    EXPECT_EQ(2, pFont->getCore()->getTintedTableCount());
    pClone->setTextColor(Color(0, 255, 0, 255));
    pClone->drawText(pTarget, 0, 0, "A");
    EXPECT_EQ(3 * 130, m_pFactory->m_nBlanks);
    EXPECT_EQ(3, pFont->getCore()->getTintedTableCount());
    EXPECT_EQ(pFont->getCore(), static_cast<SimpleFont*>(pClone.get())->getCore());
    EXPECT_EQ(pFont->getHeight(), pClone->getHeight());
}

TEST_F(BitmapFonts, ShadowAndGlyphAlternateCharacterByCharacter) {
    Zep::SmartPtr<SimpleFont> pFont = fontOf<SimpleFont>(makeStrip(standardRows()).get());
    pFont->setShadowOffset(2);
    Zep::SmartPtr<RecordingImage> pTarget = new RecordingImage(60, 30, true);
    pFont->drawText(pTarget.get(), 10, 20, "B C");
    const GlyphTable& text = pFont->getCore()->getTintedGlyphs(pFont->getTextColor());
    const GlyphTable& shadow = pFont->getCore()->getTintedGlyphs(pFont->getShadowColor());
    // "B" is 2 wide, the space 3 (the strip's mean gap), "C" 3 wide.
    EXPECT_EQ((std::vector<RecordingImage::Call>{{shadow['B'].get(), 12, 22},
                                                 {text['B'].get(), 10, 20},
                                                 {shadow['C'].get(), 18, 22},
                                                 {text['C'].get(), 16, 20}}),
              pTarget->m_lCalls);
    pFont->setDrawShadow(false);
    pTarget->m_lCalls.clear();
    pFont->drawText(pTarget.get(), 0, 0, "BC");
    EXPECT_EQ((std::vector<RecordingImage::Call>{{text['B'].get(), 0, 0}, {text['C'].get(), 3, 0}}),
              pTarget->m_lCalls);
}

TEST_F(BitmapFonts, DrawnPixelsTintedWithShadowAndPlainForBitmapFonts) {
    std::vector<RowSpec> lRows = standardRows();
    lRows[0].nATop = 0;  // "B" (2 x 6) is placed by its top-left
    const Zep::SmartPtr<Image> pStrip = makeStrip(lRows).get();
    Zep::SmartPtr<SimpleFont> pSimple = fontOf<SimpleFont>(pStrip);
    pSimple->setTextColor(Color(255, 0, 0, 255));
    pSimple->setShadowColor(Color(0, 0, 255, 255));
    Zep::SmartPtr<MemImage> pTarget = imagetest::solid(10, 10, false, Color(255, 255, 255, 255));
    pSimple->drawText(pTarget.get(), 2, 2, "B");
    // Opaque glyph pixels over an opaque picture follow the blit rule, which
    // leaves 1 where the destination had 255 and the source 0.
    const Color red(255, 1, 1, 255), blue(1, 1, 255, 255), white(255, 255, 255, 255);
    const struct {
        int x, y;
        Color c;
    } expected[] = {{2, 2, red}, {3, 7, red}, {4, 3, blue}, {4, 8, blue}, {3, 8, blue}, {2, 8, white}, {5, 5, white}};
    for (const auto& e : expected) EXPECT_EQ(e.c, dataPixel(*pTarget, e.x, e.y)) << e.x << "," << e.y;

    const int nBlanks = m_pFactory->m_nBlanks;
    Zep::SmartPtr<BitmapFont> pBitmap = fontOf<BitmapFont>(pStrip);
    std::vector<uint32_t> lFirst;
    for (const Color& c : {red, Color(0, 255, 0, 255)}) {
        pBitmap->setTextColor(c);
        Zep::SmartPtr<MemImage> p = imagetest::solid(10, 10, false, Color(0, 0, 0, 255));
        pBitmap->drawText(p.get(), 2, 2, "B");
        std::vector<uint32_t> lPixels;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) lPixels.push_back(dataPixel(*p, x, y).pack());
        if (lFirst.empty()) lFirst = lPixels;
        EXPECT_EQ(lFirst, lPixels);
    }
    EXPECT_EQ(nBlanks, m_pFactory->m_nBlanks);  // nothing tinted
    Zep::SmartPtr<Font> pClone = pBitmap->clone();
    EXPECT_EQ(&pBitmap->getGlyphTable(), &static_cast<BitmapFont*>(pClone.get())->getGlyphTable());
    EXPECT_EQ(pBitmap->getHeight(), pClone->getHeight());
}

TEST_F(BitmapFonts, FactoriesAreRegisteredUnderTheirClassNames) {
    registerBitmapFontFactory();
    registerSimpleFontFactory();
    m_app.addImage("strip", makeStrip(standardRows()).get(), false);
    const Zep::List<Zep::String> lSpec{"Strip"};
    Zep::SmartPtr<Font> pSimple = Theme::getFontFactory("SimpleFont")->createFont(lSpec);
    Zep::SmartPtr<Font> pBitmap = Theme::getFontFactory("BitmapFont")->createFont(lSpec);
    EXPECT_NE(nullptr, dynamic_cast<SimpleFont*>(pSimple.get()));
    EXPECT_NE(nullptr, dynamic_cast<BitmapFont*>(pBitmap.get()));
    EXPECT_EQ(14, pSimple->getHeight());
    EXPECT_EQ(14, pBitmap->getHeight());
    Zep::SmartPtr<FontFactory> pFactory = Theme::getFontFactory("SimpleFont");
    EXPECT_FALSE(pFactory->setNumericParam(lSpec, 1, 12));
    EXPECT_FALSE(pFactory->setTextParam(lSpec, 1, "bold"));
    EXPECT_EQ(-1, pFactory->getNumericParam(lSpec, 1));
    EXPECT_EQ("", pFactory->getTextParam(lSpec, 1));
    EXPECT_THROW(pFactory->createFont(Zep::List<Zep::String>{"missing"}), Zep::Exception);
}

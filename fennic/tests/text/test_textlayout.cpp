// Text layout on a fixed-width font (10 pixels per character, lines 10 high):
// wrapping, alignment, vertical centring, justification gaps, covered boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/font.h"
#include "image/image.h"

namespace {

// Measures 10 pixels per byte (CR and LF start a new line) and records the
// lines it is asked to draw as "x,y:text".
class FixedFont : public Font {
public:
    Zep::SmartPtr<Font> clone() override {
        Zep::SmartPtr<FixedFont> p = new FixedFont();
        p->copySettings(*this);
        return p;
    }
    void drawText(const Zep::SmartPtr<Image>&, int x, int y, const char* szText) override {
        m_lDrawn.push_back(std::to_string(x) + "," + std::to_string(y) + ":" + szText);
    }
    using Font::drawText;
    bool hasGlyph(char c) override { return c != '\n' && c != '\r'; }
    int getTextWidth(const char* szText) override {
        int nMax = 0, nCurrent = 0;
        for (const char* p = szText; *p; ++p) {
            if (*p == '\n' || *p == '\r') {
                nMax = std::max(nMax, nCurrent);
                nCurrent = 0;
            } else {
                nCurrent += 10;
            }
        }
        return std::max(nMax, nCurrent);
    }
    int getHeight() override { return 10; }

    std::vector<std::string> m_lDrawn;
};

std::vector<std::string> strings(const Zep::List<Zep::String>& l) {
    std::vector<std::string> v;
    for (const Zep::String& s : l) v.push_back(s.c_str());
    return v;
}

}  // namespace

TEST(TextLayout, SplitLinesKeepsSpacesAndNewlinesAndLetsLongWordsStandAlone) {
    struct Case {
        const char* szText;
        int nWidth;
        std::vector<std::string> lLines;
    };
    const Case cases[] = {
        {"", 50, {}},
        {"a\n\nb", 50, {"a\n", "\n", "b"}},
        {"abcdefgh cd", 50, {"abcdefgh", " cd"}},  // no empty line before the long word
        {"the quick brown fox", 100, {"the quick ", "brown fox"}},
        {"abc  d", 40, {"abc", "  d"}},  // spaces that do not fit begin the next line
        {"ab cd\n", 100, {"ab cd\n"}},
        {"abc abcdefghijk xy", 60, {"abc ", "abcdefghijk", " xy"}},
    };
    FixedFont font;
    for (const Case& c : cases) EXPECT_EQ(c.lLines, strings(font.splitLines(c.szText, c.nWidth))) << c.szText;
    EXPECT_TRUE(font.splitLines(nullptr, 10).isEmpty());
}

// The narrowest width that keeps the line count, and the lines it gives:
// the last line as full as a width of that count makes it, which can still
// leave one word alone there.
TEST(TextLayout, ABalancedWidthKeepsTheLineCountWithLinesAsEvenAsTheWordsAllow) {
    struct Case {
        const char* szText;
        int nWidth;
        int nBalanced;
        std::vector<std::string> lLines;
    };
    const Case cases[] = {
        {"Do you want to continue your saved game?", 340, 230, {"Do you want to continue", " your saved game?"}},
        {"one two three", 500, 130, {"one two three"}},
        {"aaaa bb cc dd ee", 130, 80, {"aaaa bb ", "cc dd ee"}},
        {"abcdefghijkl x", 60, 60, {"abcdefghijkl", " x"}},  // a word wider than the width stays alone
        {"a\nb c d", 50, 50, {"a\n", "b c d"}},  // a paragraph's lines as they are
        {"aa bb cc", 60, 50, {"aa bb", " cc"}},  // "aa / bb cc" would take a line of 50 too: none gives it
        {"aaaa bb cc dd", 110, 70, {"aaaa bb", " cc dd"}},  // at 110 "dd" alone
    };
    FixedFont font;
    for (const Case& c : cases) {
        const int nBalanced = font.getBalancedWidth(c.szText, c.nWidth);
        EXPECT_EQ(nBalanced, c.nBalanced) << c.szText;
        EXPECT_EQ(c.lLines, strings(font.splitLines(c.szText, nBalanced))) << c.szText;
    }
}

TEST(TextLayout, BoxesPlaceLinesAndReportTheCoveredArea) {
    struct Case {
        int nAlign;
        bool bShadow;
        Rect box;
        const char* szText;
        std::vector<std::string> lDrawn;
        Rect covered;
    };
    const Case cases[] = {
        {1, true, Rect(10, 10, 110, 100), "", {}, Rect(10, 10, 10, 10)},
        {2, true, Rect(0, 0, 100, 50), "abc", {"70,0:abc"}, Rect(0, 0, 101, 10)},
        {2, false, Rect(0, 0, 100, 50), "abc", {"70,0:abc"}, Rect(0, 0, 100, 10)},
        {4, true, Rect(0, 0, 100, 50), "abc", {"35,0:abc"}, Rect(0, 0, 66, 10)},
        {1, false, Rect(5, 5, 55, 50), "a\n\nb", {"5,5:a", "5,15:", "5,25:b"}, Rect(5, 5, 15, 35)},
        // Vertically centred, truncating toward zero: (15 - 20) / 2 = -2, above the box.
        {33, false, Rect(0, 0, 100, 15), "abcdefghij abc", {"0,-2:abcdefghij", "0,8:abc"}, Rect(0, 0, 100, 18)},
        {32, false, Rect(0, 0, 100, 50), "ab", {"0,20:ab"}, Rect(0, 0, 20, 30)},
        // Justified: gap (100 - 70) / 2 = 15; the last line counts as justified.
        {7, true, Rect(0, 0, 100, 50), "ab cd efg hi", {"0,0:ab", "35,0:cd", "70,0:efg", "0,10:hi"},
         Rect(0, 0, 101, 20)},
        // A paragraph end is drawn as it is, from the left.
        {7, false, Rect(0, 0, 100, 50), "ab cd\nef gh", {"0,0:ab cd", "0,10:ef", "80,10:gh"}, Rect(0, 0, 100, 20)},
        // The remainder of the gap division is dropped: (105 - 40) / 2 = 32, the line ends at 104.
        {7, false, Rect(0, 0, 100, 50), "a b c\n", {"0,0:a b c"}, Rect(0, 0, 100, 10)},
        {7, false, Rect(0, 0, 105, 50), "a bb c", {"0,0:a", "42,0:bb", "94,0:c"}, Rect(0, 0, 105, 10)},
    };
    for (const Case& c : cases) {
        FixedFont font;
        font.setTextAlign(c.nAlign);
        font.setDrawShadow(c.bShadow);
        Rect box = c.box;
        font.drawText(Zep::SmartPtr<Image>(), box, c.szText);
        EXPECT_EQ(c.lDrawn, font.m_lDrawn) << c.szText << " align " << c.nAlign;
        EXPECT_EQ(std::string(c.covered.toString().c_str()), box.toString().c_str()) << c.szText << " align " << c.nAlign;
    }
}

TEST(TextLayout, ExtraSpacingTrimmingAndTheConstBoxForm) {
    FixedFont font;
    font.setExtraLineSpacing(2);
    font.setTrimLines(false);
    const Rect box(0, 0, 40, 100);
    font.drawText(Zep::SmartPtr<Image>(), box, " ab cd");
    EXPECT_EQ((std::vector<std::string>{"0,0: ab ", "0,12:cd"}), font.m_lDrawn);
    EXPECT_EQ(Rect(0, 0, 40, 100), box);
}

TEST(TextLayout, TextBoxCountsLinesAndStopsAtTheBoxBottom) {
    FixedFont font;
    font.setExtraLineSpacing(2);
    const char* szThreeLines = "aaaa bbbb cccc";
    EXPECT_EQ(Rect(0, 0, 50, 25), font.getTextBox(Rect(0, 0, 50, 25), szThreeLines));
    EXPECT_EQ(Rect(0, 0, 50, 34), font.getTextBox(Rect(0, 0, 50, 100), szThreeLines));
    EXPECT_EQ(Rect(3, 4, 200, 14), font.getTextBox(Rect(3, 4, 200, 100), "one line"));
}

TEST(TextLayout, CopySettingsCarriesTheSevenSettingsButNotTheSource) {
    FixedFont from;
    from.setTrimLines(false);
    from.setTextColor(Color(1, 2, 3, 4));
    from.setShadowColor(Color(5, 6, 7, 8));
    from.setDrawShadow(false);
    from.setShadowOffset(3);
    from.setTextAlign(36);
    from.setExtraLineSpacing(-2);
    from.setSource(new Zep::RefCountedObject(), Zep::List<Zep::String>{"strip", "x"});
    Zep::SmartPtr<Font> pTo = from.clone();
    EXPECT_FALSE(pTo->getTrimLines());
    EXPECT_EQ(Color(1, 2, 3, 4), pTo->getTextColor());
    EXPECT_EQ(Color(5, 6, 7, 8), pTo->getShadowColor());
    EXPECT_FALSE(pTo->getDrawShadow());
    EXPECT_EQ(3, pTo->getShadowOffset());
    EXPECT_EQ(36, pTo->getTextAlign());
    EXPECT_EQ(-2, pTo->getExtraLineSpacing());
    EXPECT_TRUE(pTo->getSpec().isEmpty());
    EXPECT_TRUE(pTo->getSourceData().isNULL());
    EXPECT_EQ((std::vector<std::string>{"strip", "x"}), strings(from.getSpec()));
    EXPECT_EQ(2, from.getSourceData()->getRefCount());  // the font's and the returned copy
}

// A line cut to a width: whole characters, no spaces before the ellipsis,
// the ellipsis alone when nothing else fits; a font may bring its own mark.
TEST(TextLayout, FitTextCutsWholeCharactersAndEndsWithTheEllipsis) {
    struct MarkFont : FixedFont {
        const char* getEllipsis() const override { return "~"; }
    };
    FixedFont font;
    MarkFont marked;
    const struct {
        Font* pFont;
        const char* szText;
        int nWidth;
        const char* szFitted;
    } kCases[] = {
        {&font, "Ann", 30, "Ann"},
        {&font, "", 0, ""},
        {&font, "Maximiliana", 80, "Maxim..."},
        {&font, "Ann Lee", 60, "Ann..."},
        {&font, "Zo\xC3\xAB Rey", 60, "Zo..."},  // the two bytes of one character stay together
        {&font, "Ann", 29, "..."},
        {&marked, "Maximiliana", 50, "Maxi~"},
    };
    for (const auto& c : kCases)
        EXPECT_STREQ(c.pFont->fitText(c.szText, c.nWidth).c_str(), c.szFitted) << c.szText << " " << c.nWidth;
}

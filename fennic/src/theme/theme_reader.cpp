// The ".theme" file reader: one command per line, the first token
// lower-cased choosing it, the others its arguments; "font NAME" opens a block
// of font settings that "}" closes. Every failure is an exception that ends
// the load at the failing line; what was applied before stays. A command with
// fewer tokens than it reads fails with the token list's range error.
//
// A font block must make its font ("class" or "copy") before any setting: a
// setting with no font to act on is an error naming the block, never a font
// changed behind the block's back.
#include <zep2/error.h>
#include <zep2/resource.h>
#include <zep2/tokenfilereader.h>

#include "image/alignment.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "theme/theme.h"

namespace {

constexpr const char* kZepSource = ".\\src\\theme_reader";

struct Word {
    const char* szWord;
    int nValue;
};

// The state and part words, lower-case.
const Zep::Hash<Zep::String, int>& wordTable(bool bParts) {
    static const auto make = [](std::initializer_list<Word> words) {
        Zep::Hash<Zep::String, int> h(97);
        for (const Word& w : words) h.set(Zep::String(w.szWord), w.nValue);
        return h;
    };
    static const Zep::Hash<Zep::String, int> hStates =
        make({{"normal", 0}, {"pushed", 1}, {"highlight", 2}, {"disabled", 3}});
    static const Zep::Hash<Zep::String, int> hParts =
        make({{"top", 0},  {"bottom", 1}, {"down", 1}, {"left", 2}, {"right", 3}, {"ul", 4},
              {"ur", 5},   {"ll", 6},     {"lr", 7},   {"lt", 8},   {"lb", 9},    {"rt", 10},
              {"rb", 11},  {"tl", 12},    {"tr", 13},  {"bl", 14},  {"br", 15},   {"back", 16}});
    return bParts ? hParts : hStates;
}

// The OR of the alignment words in order; "justify" sets 7 where it stands.
int alignmentOf(const Zep::List<Zep::String>& lTokens) {
    static const Word kWords[] = {{"left", 1}, {"right", 2},     {"hcenter", 4}, {"top", 8},
                                  {"bottom", 16}, {"vcenter", 32}, {"middle", 36}};
    int nFlags = 0;
    for (int i = 1; i < lTokens.getCount(); ++i) {
        const Zep::String sWord = lTokens.get(i).toLower();
        if (sWord == "justify") nFlags = Font::kAlignJustify;
        for (const Word& w : kWords)
            if (sWord == w.szWord) nFlags |= w.nValue;
    }
    return nFlags;
}

Color colorOf(const Zep::List<Zep::String>& lTokens) {
    return Color(static_cast<uint8_t>(lTokens.get(1).toInt()), static_cast<uint8_t>(lTokens.get(2).toInt()),
                 static_cast<uint8_t>(lTokens.get(3).toInt()), 255);
}

}  // namespace

int ThemeParts::stateOf(const Zep::String& sWord) { return wordTable(false).get(sWord); }

int ThemeParts::partOf(const Zep::String& sWord) { return wordTable(true).get(sWord); }

// Applies the commands of one file to a theme.
class ThemeReader {
public:
    ThemeReader(Theme& theme, Zep::TokenFileReader& reader) : m_theme(theme), m_reader(reader) {}

    // Fresh unnamed button and frame styles become the current ones.
    void begin() {
        m_theme.m_hButtonStyles.set(Zep::String(), std::make_shared<ButtonStyle>());
        m_pButton = m_theme.m_hButtonStyles.get(Zep::String()).get();
        m_pFrame = m_theme.addFrameStyle("");
    }

    void run() {
        while (!m_reader.isEOF()) {
            m_reader.nextLine();
            apply(m_reader.getTokens());
        }
    }

private:
    using Tokens = Zep::List<Zep::String>;
    using Command = void (ThemeReader::*)(const Tokens&);
    struct Entry {
        const char* szName;
        Command fn;
    };

    void apply(const Tokens& t) {
        static const Entry kCommands[] = {
            {"buttonimage", &ThemeReader::buttonImage},   {"buttonstyle", &ThemeReader::buttonStyle},
            {"buttontextoffset", &ThemeReader::textOffset}, {"buttonsound", &ThemeReader::buttonSound},
            {"buttonfont", &ThemeReader::buttonFont},     {"buttoncap", &ThemeReader::buttonCap},
            {"resizebuttons", &ThemeReader::resize},      {"tilecenter", &ThemeReader::tileCenter},
            {"framestyle", &ThemeReader::frameStyle},     {"frame", &ThemeReader::frame},
            {"decoration", &ThemeReader::decoration},     {"border_udlr", &ThemeReader::border},
            {"defaultcursor", &ThemeReader::defaultCursor}, {"cursor", &ThemeReader::cursor},
            {"longseparator", &ThemeReader::longSeparator}, {"shortseparator", &ThemeReader::shortSeparator},
            {"textprefix", &ThemeReader::textPrefix},     {"sliderimages", &ThemeReader::sliderImages},
            {"sliderstyle", &ThemeReader::sliderStyle},   {"sliderrange", &ThemeReader::sliderRange},
            {"sliderscale", &ThemeReader::sliderScale},   {"radiobuttonimages", &ThemeReader::radioImages},
            {"font", &ThemeReader::fontBlock},            {"imagecopy", &ThemeReader::imageCopy},
            {"imageinspos", &ThemeReader::imageInsPos},
        };
        const Zep::String sCommand = t.get(0).toLower();
        for (const Entry& e : kCommands) {
            if (sCommand == e.szName) return (this->*e.fn)(t);
        }
        ZEP_THROW(Zep::BadStateException, ("Theme::load : Unknown command " + sCommand).c_str());
    }

    static Zep::SmartPtr<Image> image(const Zep::String& sName) { return GameApp::getInstance()->getImage(sName.c_str()); }
    static int state(const Zep::String& sWord) { return ThemeParts::stateOf(sWord.toLower()); }

    // ---- Button styles ----
    void buttonImage(const Tokens& t) {
        const int n = state(t.get(1));
        m_pButton->pImage[n] = image(t.get(2));
    }
    void buttonStyle(const Tokens& t) { m_pButton = m_theme.addButtonStyle(t.get(1).c_str()); }
    void textOffset(const Tokens& t) {
        const int n = state(t.get(1));
        m_pButton->nTextOffsetX[n] = t.get(2).toInt();
        m_pButton->nTextOffsetY[n] = t.get(3).toInt();
    }
    void buttonSound(const Tokens& t) {
        const Zep::String sEvent = t.get(1).toLower();
        m_pButton->hSounds[sEvent].add(GameApp::getInstance()->getSample(t.get(2).c_str()));
        m_pButton->hSoundSet.set(sEvent, true);
    }
    void buttonFont(const Tokens& t) {
        if (t.getCount() == 2) {
            for (Zep::String& s : m_pButton->sFont) s = t.get(1);
        } else {
            const int n = state(t.get(1));
            m_pButton->sFont[n] = t.get(2);
        }
    }
    void buttonCap(const Tokens& t) {
        m_pButton->nLeftCap = t.get(1).toInt();
        m_pButton->nRightCap = t.getCount() > 2 ? t.get(2).toInt() : m_pButton->nLeftCap;
    }
    void resize(const Tokens& t) { m_pButton->bResize = t.get(1).toLower() != "false"; }
    void tileCenter(const Tokens& t) { m_pButton->bTileCenter = t.get(1).toLower() == "true"; }

    // ---- Frame styles ----
    void frameStyle(const Tokens& t) { m_pFrame = m_theme.addFrameStyle(t.get(1).c_str()); }
    void frame(const Tokens& t) {
        bool bFixed = false;
        for (int i = 3; i < t.getCount(); ++i) bFixed = bFixed || t.get(i).toLower() == "fixed";
        const Zep::String sPart = t.get(1);
        m_theme.setFramePart(m_pFrame, sPart.c_str(), image(t.get(2)), bFixed);
    }
    void decoration(const Tokens& t) {
        const int nPart = ThemeParts::partOf(t.get(1).toLower());
        Decoration d{image(t.get(2)), t.getCount() > 3 && t.get(3).toLower() == "ignoresize"};
        m_pFrame->lDecorations[nPart].add(d);
    }
    void border(const Tokens& t) {
        m_pFrame->border = Rect(t.get(3).toInt(), t.get(1).toInt(), t.get(4).toInt(), t.get(2).toInt());
        m_pFrame->bBorderGiven = true;
    }

    // ---- Cursors, separators, sliders, radio buttons, images ----
    void defaultCursor(const Tokens& t) {
        Zep::SmartPtr<Image> p = image(t.get(1));
        if (t.getCount() == 4) p->setInsPoint(t.get(2).toInt(), t.get(3).toInt());
        m_theme.setDefaultCursor(p);
    }
    void cursor(const Tokens& t) {
        Zep::SmartPtr<Image> p = image(t.get(2));
        if (t.getCount() == 5) p->setInsPoint(t.get(3).toInt(), t.get(4).toInt());
        m_theme.setCursor(t.get(1).toLower().c_str(), p);
    }
    void longSeparator(const Tokens& t) { m_theme.m_pLongSeparator = image(t.get(1)); }
    void shortSeparator(const Tokens& t) { m_theme.m_pShortSeparator = image(t.get(1)); }
    void textPrefix(const Tokens& t) { m_theme.m_sTextPrefix = t.get(1); }
    void sliderImages(const Tokens& t) {
        for (int i = 0; i < 3; ++i) m_theme.m_pSlider[i] = image(t.get(i + 1));
    }
    void sliderStyle(const Tokens& t) {
        const Zep::String sWord = t.get(1).toLower();
        if (sWord == "emptyfull") {
            m_theme.m_nSliderStyle = 0;
        } else if (sWord == "frontback") {
            m_theme.m_sSliderFrontBack = t.get(2);
            m_theme.m_nSliderStyle = 1;
        } else {
            ZEP_THROW(Zep::FatalErrorException, Zep::String::format("Unknown slider style '%s'", t.get(1).c_str()).c_str());
        }
    }
    void sliderRange(const Tokens& t) {
        m_theme.m_nSliderRange[0] = t.get(1).toInt();
        m_theme.m_nSliderRange[1] = t.get(2).toInt();
    }
    void sliderScale(const Tokens& t) {
        m_theme.m_fSliderScale[0] = t.get(1).toFloat();
        m_theme.m_fSliderScale[1] = t.get(2).toFloat();
    }
    void radioImages(const Tokens& t) {
        m_theme.m_pRadio[0] = image(t.get(1));
        m_theme.m_pRadio[1] = image(t.get(2));
    }
    void imageCopy(const Tokens& t) {
        Zep::SmartPtr<Image> pCopy = image(t.get(1))->clone(false);
        GameApp::getInstance()->addImage(t.get(2).c_str(), pCopy, false);
    }
    void imageInsPos(const Tokens& t) {
        Zep::SmartPtr<Image> p = image(t.get(1));
        const Zep::String sX = t.get(2).trim(), sY = t.get(3).trim();
        p->setInsPoint(parseAlignmentOffset(sX.c_str(), p.get(), true), parseAlignmentOffset(sY.c_str(), p.get(), false));
    }

    // ---- Font blocks ----
    void fontBlock(const Tokens& t) {
        const Zep::String sName = t.get(1);
        Zep::SmartPtr<Font> pFont;
        for (;;) {
            m_reader.nextLine();
            const Tokens& l = m_reader.getTokens();
            const Zep::String sCommand = l.get(0).toLower();
            if (sCommand == "{") continue;
            if (sCommand == "}") break;
            if (sCommand == "class") {
                pFont = Theme::createFont(l.get(1), tokensFrom(l, 2));
            } else if (sCommand == "copy") {
                pFont = m_theme.getFont(l.get(1).c_str());
            } else {
                fontSetting(sName, sCommand, l, pFont);
            }
        }
        if (pFont.isNULL()) noFont(sName);
        m_theme.setFont(sName.c_str(), pFont);
    }

    void fontSetting(const Zep::String& sBlock, const Zep::String& sCommand, const Tokens& l,
                     const Zep::SmartPtr<Font>& pFont) {
        static const char* const kSettings[] = {"copysettings", "textcolor",        "shadowcolor", "shadowoffset",
                                                "textalign",    "extralinespacing", "drawshadow"};
        bool bKnown = false;
        for (const char* sz : kSettings) bKnown = bKnown || sCommand == sz;
        if (!bKnown) ZEP_THROW(Zep::BadStateException, ("Theme::loadFontSpec : Unknown command " + sCommand).c_str());
        if (pFont.isNULL()) noFont(sBlock);
        if (sCommand == "copysettings") pFont->copySettings(*m_theme.getFont(l.get(1).c_str()));
        if (sCommand == "textcolor") pFont->setTextColor(colorOf(l));
        if (sCommand == "shadowcolor") pFont->setShadowColor(colorOf(l));
        if (sCommand == "shadowoffset") pFont->setShadowOffset(l.get(1).toInt());
        if (sCommand == "textalign") pFont->setTextAlign(alignmentOf(l));
        if (sCommand == "extralinespacing") pFont->setExtraLineSpacing(l.get(1).toInt());
        if (sCommand == "drawshadow") pFont->setDrawShadow(l.get(1).toLower() == "true");
    }

    [[noreturn]] static void noFont(const Zep::String& sBlock) {
        ZEP_THROW(Zep::BadStateException, ("Theme::loadFontSpec : No font in block " + sBlock).c_str());
    }

    static Tokens tokensFrom(const Tokens& l, int nFirst) {
        Tokens lOut;
        for (int i = nFirst; i < l.getCount(); ++i) lOut.add(l.get(i));
        return lOut;
    }

    Theme& m_theme;
    Zep::TokenFileReader& m_reader;
    ButtonStyle* m_pButton = nullptr;
    FrameStyle* m_pFrame = nullptr;

};

void Theme::load(const char* szFileName) {
    ZEP_TRACE("Theme::load");
    m_sName = szFileName ? szFileName : "";
    m_sTextPrefix = m_sName + "::";
    m_nSliderRange[0] = m_nSliderRange[1] = -1;
    m_fSliderScale[0] = m_fSliderScale[1] = 1.0f;
    m_nSliderStyle = 0;
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "Theme::load : no application to read the file from");
    Zep::TokenFileReader reader("");
    ThemeReader themeReader(*this, reader);
    themeReader.begin();  // fresh unnamed styles, even when the file is missing
    Zep::SmartPtr<Zep::Resource> pResource = pApp->getResource(m_sName.c_str());
    reader.parseText(Zep::String(static_cast<const char*>(pResource->getData()), pResource->getSize()).c_str());
    themeReader.run();
    computeFrameBorders();
}

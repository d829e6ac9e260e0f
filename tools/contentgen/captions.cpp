// The captions' lines (captions.h): the framework's own text layout, which
// the game's dialogs wrap with, measuring in the generator's fonts.
#include "captions.h"

#include "text/font.h"

namespace cg {

namespace {

// Measures only: the layout asks a font for widths and nothing is drawn
// through it.
class MeasuringFont : public Font {
public:
    explicit MeasuringFont(const TextStyle& style) : m_style(style) {}
    Zep::SmartPtr<Font> clone() override { return Zep::SmartPtr<Font>(new MeasuringFont(m_style)); }
    void drawText(const Zep::SmartPtr<Image>&, int, int, const char*) override {}
    using Font::drawText;
    bool hasGlyph(char c) override { return c != '\n' && c != '\r'; }
    int getTextWidth(const char* szText) override { return textWidth(szText, m_style); }
    int getHeight() override { return textHeight(m_style); }

private:
    TextStyle m_style;
};

}  // namespace

TextStyle captionStyle() { return TextStyle{22, true, rgb(0xFFF8E7), Align::Center}; }

std::vector<std::string> captionLines(const std::string& sText) {
    Zep::SmartPtr<MeasuringFont> pFont = new MeasuringFont(captionStyle());
    const int nWidth = pFont->getBalancedWidth(sText.c_str(), kCaptionWidth);
    std::vector<std::string> vLines;
    for (const Zep::String& sLine : pFont->splitLines(sText.c_str(), nWidth)) vLines.push_back(sLine.trim().c_str());
    return vLines;
}

}  // namespace cg

// Long words broken for wrapping (ui_wordbreak.h).
#include "ui/ui_wordbreak.h"

#include <vector>

#include "text/font.h"

namespace wordbreak {

namespace {

// The separators of the font's wrapping; everything else belongs to a word.
bool separates(char c) { return c == ' ' || c == '\n'; }

bool continuesCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The lengths in bytes of sWord's beginnings that end on a whole character,
// shortest first.
std::vector<int> characterEnds(const Zep::String& sWord) {
    std::vector<int> vEnds;
    for (int i = 1; i <= sWord.length(); ++i)
        if (i == sWord.length() || !continuesCharacter(sWord[i])) vEnds.push_back(i);
    return vEnds;
}

// The bytes of the longest beginning of sWord that fits nWidth, ending after
// a "/" when one fits (and is not the first character), else after a whole
// character; at least one character. A longer beginning is never narrower,
// so the longest that fits is found by halving.
int fittingPiece(Font& font, const Zep::String& sWord, int nWidth) {
    const std::vector<int> vEnds = characterEnds(sWord);
    // vEnds[nLow] fits (or nLow is -1), vEnds[nHigh] does not.
    int nLow = -1, nHigh = static_cast<int>(vEnds.size());
    while (nHigh - nLow > 1) {
        const int nMiddle = nLow + (nHigh - nLow) / 2;
        if (font.getTextWidth(sWord.left(vEnds[nMiddle]).c_str()) <= nWidth) nLow = nMiddle;
        else nHigh = nMiddle;
    }
    if (nLow < 0) return vEnds.front();
    const int nFits = vEnds[nLow];
    for (int nEnd = nFits; nEnd > 1; --nEnd)
        if (sWord[nEnd - 1] == '/') return nEnd;
    return nFits;
}

Zep::String breakWord(Font& font, Zep::String sWord, int nWidth) {
    Zep::String sOut;
    while (font.getTextWidth(sWord.c_str()) > nWidth) {
        const int nPiece = fittingPiece(font, sWord, nWidth);
        if (nPiece >= sWord.length()) break;
        sOut += sWord.left(nPiece) + "\n";
        sWord = sWord.mid(nPiece);
    }
    return sOut + sWord;
}

}  // namespace

Zep::String breakLongWords(Font& font, const char* szText, int nWidth) {
    if (!szText) return Zep::String();
    if (nWidth <= 0) return Zep::String(szText);
    Zep::String sOut;
    for (const char* p = szText; *p;) {
        const char* pEnd = p;
        while (*pEnd && !separates(*pEnd)) ++pEnd;
        if (pEnd == p) {
            sOut += Zep::String(p, 1);
            ++p;
            continue;
        }
        sOut += breakWord(font, Zep::String(p, static_cast<int>(pEnd - p)), nWidth);
        p = pEnd;
    }
    return sOut;
}

}  // namespace wordbreak

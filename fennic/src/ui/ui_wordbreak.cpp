// Long words broken for wrapping (ui_wordbreak.h).
#include "ui/ui_wordbreak.h"

#include <algorithm>
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

// The bytes of the longest end of sWord that fits nWidth, beginning at a
// "/" when one (other than sWord's last character) falls in it, else at a
// whole character; possibly none. A shorter end is never wider, so the
// longest that fits is found by halving.
int fittingEnd(Font& font, const Zep::String& sWord, int nWidth) {
    std::vector<int> vStarts = characterEnds(sWord);
    vStarts.insert(vStarts.begin(), 0);
    // The end from vStarts[nHigh] fits (the last start is the empty end), from vStarts[nLow] not.
    int nLow = -1, nHigh = static_cast<int>(vStarts.size()) - 1;
    while (nHigh - nLow > 1) {
        const int nMiddle = nLow + (nHigh - nLow) / 2;
        if (font.getTextWidth(sWord.mid(vStarts[nMiddle]).c_str()) <= nWidth) nHigh = nMiddle;
        else nLow = nMiddle;
    }
    const int nStart = vStarts[nHigh];
    for (int i = nStart; i < sWord.length() - 1; ++i)
        if (sWord[i] == '/') return sWord.length() - i;
    return sWord.length() - nStart;
}

// sWord at most nWidth wide (unless one character is wider than half the
// room): its beginning in half the room beside the ellipsis, its end in the rest.
Zep::String shortenWord(Font& font, const Zep::String& sWord, int nWidth) {
    const char* szEllipsis = font.getEllipsis();
    const int nRoom = nWidth - font.getTextWidth(szEllipsis);
    const Zep::String sHead = sWord.left(fittingPiece(font, sWord, nRoom / 2));
    const Zep::String sRest = sWord.mid(sHead.length());
    return sHead + szEllipsis + sRest.right(fittingEnd(font, sRest, nRoom - font.getTextWidth(sHead.c_str())));
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

// Calls word(sWord) for each word of the text and separator(c) for each
// separator character, in the text's order.
template <class Word, class Separator>
void forEachWord(const char* szText, Word word, Separator separator) {
    for (const char* p = szText; *p;) {
        const char* pEnd = p;
        while (*pEnd && !separates(*pEnd)) ++pEnd;
        if (pEnd == p) separator(*p++);
        else word(Zep::String(p, static_cast<int>(pEnd - p))), p = pEnd;
    }
}

}  // namespace

Zep::String breakLongWords(Font& font, const char* szText, int nWidth) {
    if (!szText) return Zep::String();
    if (nWidth <= 0) return Zep::String(szText);
    Zep::String sOut;
    forEachWord(szText, [&](const Zep::String& sWord) { sOut += breakWord(font, sWord, nWidth); },
                [&](char c) { sOut += c; });
    return sOut;
}

int widestWordWidth(Font& font, const char* szText) {
    int nWidest = 0;
    forEachWord(szText ? szText : "", [&](const Zep::String& sWord) {
        nWidest = std::max(nWidest, font.getTextWidth(sWord.c_str()));
    }, [](char) {});
    return nWidest;
}

Zep::String shortenWidestWord(Font& font, const char* szText, int nWidth) {
    const int nWidest = widestWordWidth(font, szText);
    Zep::String sOut;
    bool bDone = nWidest <= nWidth;
    forEachWord(szText ? szText : "", [&](const Zep::String& sWord) {
        const bool bThis = !bDone && font.getTextWidth(sWord.c_str()) == nWidest;
        sOut += bThis ? shortenWord(font, sWord, nWidth) : sWord;
        bDone |= bThis;
    }, [&](char c) { sOut += c; });
    return sOut;
}

}  // namespace wordbreak

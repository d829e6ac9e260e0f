// Text layout, shared by every font: wrapping a text into lines, placing the
// lines in a box (alignment, vertical centring, justification) and the box a
// text covers. The concrete fonts only draw and measure single lines.
//
// The numbers are integer arithmetic throughout, with divisions truncating
// toward zero: a vertically centred text taller than its box starts above
// the box, and a justified line may end up to (words - 2) pixels short.
#include <algorithm>

#include "text/font.h"
#include "image/image.h"

namespace {

enum class TokenKind { Newline, Spaces, Word };

TokenKind kindOf(char c) {
    if (c == '\n') return TokenKind::Newline;
    return c == ' ' ? TokenKind::Spaces : TokenKind::Word;
}

// "\n" alone, a run of spaces, or a run of other characters.
Zep::List<Zep::String> tokenize(const char* szText) {
    Zep::List<Zep::String> lTokens;
    const char* p = szText;
    while (*p) {
        const TokenKind kind = kindOf(*p);
        const char* pEnd = p + 1;
        if (kind != TokenKind::Newline)
            while (*pEnd && kindOf(*pEnd) == kind) ++pEnd;
        lTokens.add(Zep::String(p, static_cast<int>(pEnd - p)));
        p = pEnd;
    }
    return lTokens;
}

// The words of a line: runs of spaces separate them and give no empty word.
Zep::List<Zep::String> wordsOf(const char* szText) {
    Zep::List<Zep::String> lWords;
    for (const Zep::String& sToken : tokenize(szText))
        if (sToken[0] != ' ') lWords.add(sToken);
    return lWords;
}

bool endsWithNewline(const Zep::String& s) { return !s.isEmpty() && s[-1] == '\n'; }

}  // namespace

Zep::List<Zep::String> Font::splitLines(const char* szText, int nWidth) {
    Zep::List<Zep::String> lLines;
    if (!szText || !*szText) return lLines;
    const Zep::List<Zep::String> lTokens = tokenize(szText);
    Zep::String sCurrent;
    int nIndex = 0;
    for (const Zep::String& sToken : lTokens) {
        // The width test is made on the line with the token.
        const Zep::String sCandidate = sCurrent + sToken;
        if (getTextWidth(sCandidate.c_str()) > nWidth) {
            if (!sCurrent.isEmpty()) lLines.add(sCurrent);
            sCurrent = sToken;
        } else {
            sCurrent = sCandidate;
        }
        // A newline ends the line; so does the end of the text.
        const bool bLastToken = ++nIndex == lTokens.getCount();
        if (endsWithNewline(sCurrent) || bLastToken) {
            lLines.add(sCurrent);
            sCurrent = "";
        }
    }
    return lLines;
}

// Fewer lines never come from a narrower width, so the narrowest width of
// the same count is found by halving; never below the widest word (or the
// width itself, when that word is wider), which would stand out of it.
int Font::getBalancedWidth(const char* szText, int nWidth) {
    const int nLines = splitLines(szText, nWidth).getCount();
    int nWidest = 0;
    for (const Zep::String& sWord : wordsOf(szText ? szText : ""))
        nWidest = std::max(nWidest, getTextWidth(sWord.c_str()));
    // nLow is too narrow (it gives more lines, or is below the widest word); nHigh gives as few.
    int nLow = std::min(nWidest, nWidth) - 1, nHigh = nWidth;
    while (nHigh - nLow > 1) {
        const int nMiddle = nLow + (nHigh - nLow) / 2;
        if (splitLines(szText, nMiddle).getCount() > nLines) nLow = nMiddle;
        else nHigh = nMiddle;
    }
    return nHigh;
}

int Font::lineStart(int nFlags, const Rect& box, int w) {
    if ((nFlags & kAlignJustify) == kAlignJustify) return box.getLeft();
    if (nFlags & kAlignCenter) return box.getLeft() + (box.getWidth() - w) / 2;
    if (nFlags & kAlignRight) return box.getRight() - w;
    return box.getLeft();
}

void Font::drawText(const Zep::SmartPtr<Image>& pTarget, const Rect& box, const char* szText) {
    Rect copy(box);
    drawText(pTarget, copy, szText);
}

void Font::drawText(const Zep::SmartPtr<Image>& pTarget, Rect& box, const char* szText) {
    const int nWidth = box.getWidth();
    const Zep::List<Zep::String> lLines = splitLines(szText, nWidth);
    const int n = lLines.getCount();
    const int nFlags = getTextAlign();
    const int s = getDrawShadow() ? getShadowOffset() : 0;
    const bool bJustify = (nFlags & kAlignJustify) == kAlignJustify;
    // The first line's top: the box top, or centred on the box.
    int y = box.getTop();
    if (nFlags & kAlignCenterY) y = box.getTop() + (box.getHeight() - (n - 1) * getExtraLineSpacing() - n * getHeight()) / 2;
    if (n == 0) {
        box = Rect(box.getLeft(), box.getTop(), box.getLeft(), y, true);
        return;
    }
    int nRight = box.getLeft();
    for (const Zep::String& sLine : lLines) {
        const bool bParagraphEnd = endsWithNewline(sLine);
        const Zep::String sShown = getTrimLines() ? sLine.trim() : sLine;
        const int w = getTextWidth(sShown.c_str());
        const int x = lineStart(nFlags, box, w);
        if (bJustify && !bParagraphEnd) drawJustifiedLine(pTarget, x, y, nWidth, sShown.c_str());
        else drawText(pTarget, x, y, sShown.c_str());
        nRight = std::max(nRight, x + w + s);
        y += getHeight() + getExtraLineSpacing();
    }
    if (bJustify) nRight = box.getLeft() + nWidth + s;
    box = Rect(box.getLeft(), box.getTop(), nRight, y, true);
}

void Font::drawJustifiedLine(const Zep::SmartPtr<Image>& pTarget, int x, int y, int nWidth, const char* szText) {
    const Zep::List<Zep::String> lWords = wordsOf(szText ? szText : "");
    if (lWords.isEmpty()) return;
    if (lWords.getCount() == 1) {
        drawText(pTarget, x, y, szText);
        return;
    }
    int nTotal = 0;
    for (const Zep::String& sWord : lWords) nTotal += getTextWidth(sWord.c_str());
    const int nGap = (nWidth - nTotal) / (lWords.getCount() - 1);
    for (const Zep::String& sWord : lWords) {
        drawText(pTarget, x, y, sWord.c_str());
        x += getTextWidth(sWord.c_str()) + nGap;
    }
}

Rect Font::getTextBox(const Rect& box, const char* szText) {
    const int n = splitLines(szText, box.getWidth()).getCount();
    const int nBottom = box.getTop() + n * getHeight() + (n - 1) * getExtraLineSpacing();
    return Rect(box.getLeft(), box.getTop(), box.getRight(), std::min(nBottom, box.getBottom()));
}

Zep::String Font::fitText(const char* szText, int nWidth) {
    const Zep::String sText(szText ? szText : "");
    if (getTextWidth(sText.c_str()) <= nWidth) return sText;
    for (int n = sText.utf8Length() - 1; n > 0; --n) {
        Zep::String sCut = sText.utf8Left(n);
        while (!sCut.isEmpty() && sCut.c_str()[sCut.length() - 1] == ' ') sCut = sCut.left(sCut.length() - 1);
        if (sCut.isEmpty()) break;
        const Zep::String sFitted = sCut + getEllipsis();
        if (getTextWidth(sFitted.c_str()) <= nWidth) return sFitted;
    }
    return getEllipsis();
}

// Balanced lines of wrapped text (ui_balancedlines.h).
#include "ui/ui_balancedlines.h"

#include <algorithm>

#include "text/font.h"

namespace balancedlines {

namespace {

// Calls paragraph(sParagraph) for each paragraph of the text, its "\n" kept.
template <class Paragraph>
void forEachParagraph(const char* szText, Paragraph paragraph) {
    for (const char* p = szText ? szText : ""; *p;) {
        const char* pEnd = p;
        while (*pEnd && *pEnd != '\n') ++pEnd;
        if (*pEnd) ++pEnd;
        paragraph(Zep::String(p, static_cast<int>(pEnd - p)));
        p = pEnd;
    }
}

bool endsWithNewline(const Zep::String& s) { return !s.isEmpty() && s[-1] == '\n'; }

}  // namespace

int widthOf(Font& font, const char* szText, int nWidth) {
    int nWidest = 0;
    forEachParagraph(szText, [&](const Zep::String& s) {
        nWidest = std::max(nWidest, font.getBalancedWidth(s.c_str(), nWidth));
    });
    return nWidest;
}

// A width between a paragraph's balanced width and nWidth wraps it into as
// many lines as both, so its balanced width there is the same.
Zep::String balance(Font& font, const char* szText, int nWidth) {
    if (nWidth <= 0) return Zep::String(szText);
    Zep::String sOut;
    forEachParagraph(szText, [&](const Zep::String& s) {
        const Zep::List<Zep::String> lLines = font.splitLines(s.c_str(), font.getBalancedWidth(s.c_str(), nWidth));
        int nLeft = lLines.getCount();
        for (const Zep::String& sLine : lLines) {
            sOut += sLine;
            if (--nLeft > 0 && !endsWithNewline(sLine)) sOut += "\n";
        }
    });
    return sOut;
}

}  // namespace balancedlines

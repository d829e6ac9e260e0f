// The glyph-strip scanner: finds the framed rows by their column-0 markers,
// then the glyphs of each row by the empty columns between them.
//
// Every test of a pixel goes through canvas coordinates that are checked
// against the stored data first, so a trimmed or odd picture reads as
// transparent outside its data and nothing is read beyond it. Every loop
// walks a bounded coordinate forwards, so the scan always ends.
#include "text/glyphstrip.h"

#include "image/image.h"

const char* const kGlyphStripRows[kGlyphStripRowCount] = {
    "ABCDEFGHIJKLMN\xD1OPQRSTUVWXYZ\xC1\xC9\xCD\xD3\xDA",
    "Aabcdefghijklmn\xF1opqrstuvwxyz\xE1\xE9\xED\xF3\xFA",
    "A0123456789\xE4\xF6\xC4\xD6\xE0\xE2\xC0\xC2\xE8\xEA\xC8\xCA\xEE\xEF\xCE\xCF\xF4\xD4\xF9\xFB\xD9\xDB",
    "A,.;:=_'\"",
    "A\xA1!\xBF?(){}[]",
    "A@#$%&\\~|",
    "A+-*/<>\xAA\xBA",
};

namespace {

constexpr int kThreshold = 0;
constexpr int kCharSpacing = 1;
constexpr int kSpaceWidthWithoutGaps = 6;
constexpr int kLineHeightExtra = 5;

// Canvas column x holds no opaque pixel.
bool columnEmpty(Image& image, int x) {
    int nOffsetX = 0, nOffsetY = 0;
    image.getDataOffset(&nOffsetX, &nOffsetY);
    const int dx = x - nOffsetX;
    if (dx < 0 || dx >= image.getDataWidth()) return true;
    return image.isColumnEmpty(dx, kThreshold);
}

// The first canvas row at or below y0 that holds an opaque pixel, else the height.
int firstFilledRow(Image& image, int y0) {
    int nOffsetX = 0, nOffset = 0;
    image.getDataOffset(&nOffsetX, &nOffset);
    for (int y = y0; y < image.getHeight(); ++y) {
        const int dy = y - nOffset;
        if (dy >= 0 && dy < image.getDataHeight() && !image.isRowEmpty(dy, kThreshold)) return y;
    }
    return image.getHeight();
}

// The first y at or below y0 with a marker in column 0, else -1.
int nextMarker(Image& strip, int y0) {
    for (int y = y0; y < strip.getHeight(); ++y)
        if (!strip.isTransparent(0, y, kThreshold)) return y;
    return -1;
}

struct GapTally {
    int nSum = 0;
    int nCount = 0;
};

// Cuts the glyphs of one row image and stores them under the row's characters.
void scanRow(Image& row, const char* szChars, bool bFirstRow, GlyphTable& glyphs, GapTally& gaps) {
    const int w = row.getWidth();
    int x = 0;
    while (x < w && !columnEmpty(row, x)) ++x;
    int nPreviousEnd = 0;
    int nReferenceTop = 0;
    for (int i = 0; szChars[i]; ++i) {
        // The glyph's first column.
        while (x < w && columnEmpty(row, x)) ++x;
        if (x >= w) return;
        if (i > 0) {
            gaps.nSum += x - nPreviousEnd;
            ++gaps.nCount;
        }
        // Its end: the next empty column, which must lie inside the row.
        int nEnd = x + 1;
        while (nEnd < w && !columnEmpty(row, nEnd)) ++nEnd;
        if (nEnd >= w) return;
        Zep::SmartPtr<Image> pGlyph = row.createSubImage(x, 0, nEnd - x, row.getHeight(), false);
        if (i == 0) {
            const int nTop = firstFilledRow(*pGlyph, 0);
            nReferenceTop = nTop < pGlyph->getHeight() ? nTop : 0;
        }
        if (!(bFirstRow && i == 0)) {
            pGlyph->setInsPoint(0, nReferenceTop);
            glyphs[static_cast<unsigned char>(szChars[i])] = pGlyph;
        }
        nPreviousEnd = nEnd;
        x = nEnd;
    }
}

}  // namespace

std::unique_ptr<GlyphTable> scanGlyphStrip(const Zep::SmartPtr<Image>& pStrip, int* pCharSpacing,
                                           int* pSpaceWidth, int* pLineHeight) {
    auto pGlyphs = std::make_unique<GlyphTable>();
    GapTally gaps;
    int nPreviousBottom = -1;
    for (int r = 0; pStrip.notNULL() && r < kGlyphStripRowCount; ++r) {
        // The row lies strictly between its two markers.
        const int nTop = nextMarker(*pStrip, nPreviousBottom + 1);
        const int nBottom = nTop < 0 ? -1 : nextMarker(*pStrip, nTop + 1);
        if (nBottom < 0) break;
        nPreviousBottom = nBottom;
        Zep::SmartPtr<Image> pRow = pStrip->createSubImage(0, nTop + 1, pStrip->getWidth(), nBottom - nTop - 1, false);
        scanRow(*pRow, kGlyphStripRows[r], r == 0, *pGlyphs, gaps);
    }
    const Zep::SmartPtr<Image>& pA = (*pGlyphs)['A'];
    if (pCharSpacing) *pCharSpacing = kCharSpacing;
    if (pSpaceWidth) *pSpaceWidth = gaps.nCount > 0 ? gaps.nSum / gaps.nCount : kSpaceWidthWithoutGaps;
    if (pLineHeight) *pLineHeight = (pA.notNULL() ? pA->getHeight() : 0) + kLineHeightExtra;
    return pGlyphs;
}

// Theme: a frame as a table of sprites, the frame the table layout puts
// around its contents. A style of only "back" gives the background alone,
// as its frame images do. Three rows: the top edge; the left edge, the tiled
// background and the right edge; the bottom edge. Edge pieces are the parts
// cut to the edge's thickness keeping the outer side. Frame tables are not
// cached: each call builds new sprites, owned by the caller's table.
#include <zep2/error.h>

#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "image/image.h"
#include "sprite/sprite.h"
#include "theme/theme.h"
#include "ui/ui_frames.h"
#include "ui/ui_table.h"

using namespace FrameEdges;
using ThemeParts::notNULL;

namespace {

constexpr const char* kZepSource = ".\\src\\ui_frametable";
constexpr int kTopLeft = 9;

Zep::SmartPtr<Table> newPartTable(GameMode* pOwner) {
    Zep::SmartPtr<Table> p = new Table(pOwner);
    p->setLayerZ(0, 1);
    return p;
}

// One piece of an edge table; vertical edges put each piece in a row of its own.
void addPiece(Table& table, const Zep::SmartPtr<Image>& pImage, bool bVertical) {
    if (bVertical) table.newRow();
    table.newCell(1);
    table.add(Zep::SmartPtr<IVisualObject>(new Sprite(pImage, 0, 0, 0)), kTopLeft);
}

// Shrinks a pair of thicknesses that overflow the size, the first losing the smaller half.
void shareShortfall(int& nFirst, int& nSecond, int nSize) {
    const int nExcess = nFirst + nSecond - nSize;
    if (nExcess <= 0) return;
    nFirst -= nExcess / 2;
    nSecond -= nExcess - nExcess / 2;
}

struct EdgeBuild {
    const FrameStyle& style;
    Edge edge;
    int nLength;
    int nThickness;
};

Zep::SmartPtr<Image> cut(const EdgeBuild& b, int nPart) {
    const bool bOuterFirst = b.edge == kTopEdge || b.edge == kLeftEdge;
    return Theme::clipImage(b.style.lFramePart[nPart], b.nThickness, partsOf(b.edge).bVertical, bOuterFirst);
}

void addRun(Table& t, const EdgeBuild& b, int nPart, int nFill) {
    const EdgeParts& parts = partsOf(b.edge);
    const int nEndLen = lengthOf(b.style, nPart, parts.bVertical);
    const int nRest = nFill;
    ZEP_ASSERT(nRest % nEndLen == 0);
    for (int i = 0; i < nFill / nEndLen; ++i) addPiece(t, cut(b, nPart), parts.bVertical);
}

void fillStretching(Table& t, const EdgeBuild& b, int nFill) {
    const EdgeParts& parts = partsOf(b.edge);
    const Image* pMid = b.style.part(parts.nMiddle);
    ZEP_ASSERT(notNULL(pMid));
    const int nMidLen = lengthOf(b.style, parts.nMiddle, parts.bVertical);
    ZEP_ASSERT(nMidLen > 0);
    for (int i = 0; i < nFill / nMidLen; ++i) addPiece(t, cut(b, parts.nMiddle), parts.bVertical);
    const int nRemainder = nFill % nMidLen;
    if (nRemainder == 0) return;
    Zep::SmartPtr<Image> pPiece = cut(b, parts.nMiddle);
    pPiece = parts.bVertical ? pPiece->createSubImage(0, 0, pPiece->getWidth(), nRemainder, false)
                             : pPiece->createSubImage(0, 0, nRemainder, pPiece->getHeight(), false);
    addPiece(t, pPiece, parts.bVertical);
}

void fillFixed(Table& t, const EdgeBuild& b, int nFill) {
    const EdgeParts& parts = partsOf(b.edge);
    const bool bMid = b.style.part(parts.nMiddle) != nullptr;
    const bool bEnds = b.style.part(parts.nFirstEnd) != nullptr;
    const int nHalf = (nFill - (bMid ? lengthOf(b.style, parts.nMiddle, parts.bVertical) : 0)) / 2;
    if (bEnds) ZEP_ASSERT(lengthOf(b.style, parts.nFirstEnd, parts.bVertical) > 0);
    if (bEnds) addRun(t, b, parts.nFirstEnd, nHalf);
    if (bMid) addPiece(t, cut(b, parts.nMiddle), parts.bVertical);
    if (bEnds) addRun(t, b, parts.nSecondEnd, nHalf);
}

Zep::SmartPtr<Table> buildEdgeTable(GameMode* pOwner, const EdgeBuild& b) {
    const EdgeParts& parts = partsOf(b.edge);
    Zep::SmartPtr<Table> pTable = newPartTable(pOwner);
    if (!b.style.bHasBorderParts) return pTable;  // a style of only "back": no edges
    computeEdgeLayout(b.style, b.edge, b.nLength);  // the checks of the edge
    const int nCorners = lengthOf(b.style, parts.nFirstCorner, parts.bVertical) +
                         lengthOf(b.style, parts.nSecondCorner, parts.bVertical);
    const int nFill = std::max(0, b.nLength - nCorners);
    if (!parts.bVertical) addPiece(*pTable, cut(b, parts.nFirstCorner), false);
    if (isFixed(b.style, parts)) {
        fillFixed(*pTable, b, nFill);
    } else {
        fillStretching(*pTable, b, nFill);
    }
    if (!parts.bVertical) addPiece(*pTable, cut(b, parts.nSecondCorner), false);
    return pTable;
}

// The back part tiled over w x h, with cut pieces at the right and bottom.
Zep::SmartPtr<Table> buildBackTable(GameMode* pOwner, const Zep::SmartPtr<Image>& pBack, int w, int h) {
    ZEP_ASSERT(notNULL(pBack));
    const int nBackW = pBack->getWidth(), nBackH = pBack->getHeight();
    ZEP_ASSERT(nBackW > 0 && nBackH > 0);
    const int nRemW = w % nBackW, nRemH = h % nBackH;
    Zep::SmartPtr<Table> pTable = newPartTable(pOwner);
    auto addRow = [&](const Zep::SmartPtr<Image>& pTile, const Zep::SmartPtr<Image>& pEnd) {
        pTable->newRow();
        for (int i = 0; i < w / nBackW; ++i) addPiece(*pTable, pTile, false);
        if (nRemW != 0) addPiece(*pTable, pEnd, false);
    };
    Zep::SmartPtr<Image> pRight = nRemW ? pBack->createSubImage(0, 0, nRemW, nBackH, false) : Zep::SmartPtr<Image>();
    for (int y = 0; y + nBackH <= h; y += nBackH) addRow(pBack, pRight);
    if (nRemH != 0) {
        Zep::SmartPtr<Image> pCorner = nRemW ? pBack->createSubImage(0, 0, nRemW, nRemH, false) : Zep::SmartPtr<Image>();
        addRow(pBack->createSubImage(0, 0, nBackW, nRemH, false), pCorner);
    }
    return pTable;
}

}  // namespace

Zep::SmartPtr<Table> Theme::makeFrameTable(GameMode* pOwner, int nWidth, int nHeight, const char* szStyle) {
    ZEP_TRACE("Theme::makeFrameTable");
    using namespace ThemeParts;
    fitFrameSize(nWidth, nHeight, szStyle);
    FrameStyle& style = *getFrameStyle(szStyle);
    Zep::SmartPtr<Table> pFrame = newPartTable(pOwner);
    int nTop = lengthOf(style, kTop, true), nBottom = lengthOf(style, kBottom, true);
    int nLeft = lengthOf(style, kLeft, false), nRight = lengthOf(style, kRight, false);
    shareShortfall(nTop, nBottom, nHeight);
    shareShortfall(nLeft, nRight, nWidth);
    Zep::SmartPtr<Table> pTop = buildEdgeTable(pOwner, {style, kTopEdge, nWidth, nTop});
    Zep::SmartPtr<Table> pBottom = buildEdgeTable(pOwner, {style, kBottomEdge, nWidth, nBottom});
    Zep::SmartPtr<Table> pLeft = buildEdgeTable(pOwner, {style, kLeftEdge, nHeight, nLeft});
    Zep::SmartPtr<Table> pRight = buildEdgeTable(pOwner, {style, kRightEdge, nHeight, nRight});
    const int nMidW = std::max(0, nWidth - pLeft->getWidth() - pRight->getWidth());
    const int nMidH = std::max(0, nHeight - pTop->getHeight() - pBottom->getHeight());
    Zep::SmartPtr<Table> pBack = buildBackTable(pOwner, style.lFramePart[kBack], nMidW, nMidH);

    pFrame->newCell(3);
    pFrame->add(pTop.get(), kTopLeft);
    pFrame->newRow();
    pFrame->add(pLeft.get(), kTopLeft);
    pFrame->newCell(1);
    pFrame->add(pBack.get(), kTopLeft);
    pFrame->newCell(1);
    pFrame->add(pRight.get(), kTopLeft);
    pFrame->newRow();
    pFrame->newCell(3);
    pFrame->add(pBottom.get(), kTopLeft);

    // One decoration per part that has some, anchored at its edge or corner.
    static const int kAnchors[][2] = {{kTop, 12}, {kBottom, 20}, {kLeft, 33}, {kRight, 34},
                                      {kUL, 9},   {kUR, 10},     {kLL, 17},   {kLR, 18}};
    for (const auto& anchor : kAnchors) {
        const Decoration* pDeco = pickDecoration(style, anchor[0], nWidth, nHeight);
        if (!pDeco) continue;
        Zep::SmartPtr<Sprite> pSprite = new Sprite(pDeco->pImage, 0, 0, 0);
        if (pOwner) pOwner->addSprite(pSprite);
        pFrame->attachSprite(pSprite, anchor[1], 0);
    }
    return pFrame;
}

// Edge layouts of generated frames: the piece counts and fitted lengths.
#include <zep2/error.h>

#include "image/image.h"
#include "ui/ui_frames.h"

namespace {
constexpr const char* kZepSource = ".\\src\\ui_edgelayout";
}

namespace FrameEdges {

using namespace ThemeParts;

const EdgeParts& partsOf(Edge edge) {
    static const EdgeParts kEdges[] = {
        {kUL, kTL, kTop, kTR, kUR, false},
        {kLL, kBL, kBottom, kBR, kLR, false},
        {kUL, kLT, kLeft, kLB, kLL, true},
        {kUR, kRT, kRight, kRB, kLR, true},
    };
    return kEdges[edge];
}

int lengthOf(const FrameStyle& style, int nPart, bool bVertical) {
    return style.part(nPart) ? style.part(nPart)->getDimension(bVertical) : 0;
}

bool isFixed(const FrameStyle& style, const EdgeParts& parts) {
    return style.bFrameFixed[parts.nMiddle] || style.bFrameFixed[parts.nFirstEnd] ||
           style.bFrameFixed[parts.nSecondEnd];
}

void checkFixed(const FrameStyle& style, const EdgeParts& parts) {
    const FrameStyle* pStyle = &style;
    const int nLCorner = parts.nFirstCorner, nRCorner = parts.nSecondCorner;
    const int nLSide = parts.nFirstEnd, nRSide = parts.nSecondEnd, nMid = parts.nMiddle;
    ZEP_ASSERT(notNULL(pStyle->lFramePart[nLCorner]));
    ZEP_ASSERT(notNULL(pStyle->lFramePart[nRCorner]));
    ZEP_ASSERT(isNULL(pStyle->lFramePart[nLSide]) == isNULL(pStyle->lFramePart[nRSide]));
    ZEP_ASSERT(pStyle->bFrameFixed[nLSide] == pStyle->bFrameFixed[nRSide]);
    if (pStyle->bFrameFixed[nLSide] && !pStyle->bFrameFixed[nMid]) {
        ZEP_ASSERT(pStyle->bFrameFixed[nMid] || isNULL(pStyle->lFramePart[nMid]));
    }
    if (notNULL(pStyle->lFramePart[nLSide])) {
        const bool bIsY = parts.bVertical;
        const int lSide1Size[2] = {pStyle->part(nLSide)->getWidth(), pStyle->part(nLSide)->getHeight()};
        const int lSide2Size[2] = {pStyle->part(nRSide)->getWidth(), pStyle->part(nRSide)->getHeight()};
        ZEP_ASSERT(lSide1Size[bIsY] == lSide2Size[bIsY]);
    }
}

namespace {

EdgeLayout stretchLayout(const FrameStyle& style, const EdgeParts& parts, int nLength, int nCorners) {
    const FrameStyle* pStyle = &style;
    const int nLCorner = parts.nFirstCorner, nRCorner = parts.nSecondCorner;
    ZEP_ASSERT(notNULL(pStyle->lFramePart[nLCorner]));
    ZEP_ASSERT(notNULL(pStyle->lFramePart[nRCorner]));
    const Image* pMid = style.part(parts.nMiddle);
    ZEP_ASSERT(notNULL(pMid));
    const int nMidLen = lengthOf(style, parts.nMiddle, parts.bVertical);
    ZEP_ASSERT(nMidLen > 0);
    EdgeLayout out;
    out.nLength = nLength;
    out.nMiddles = (nLength - nCorners) / nMidLen + 1;
    return out;
}

EdgeLayout fixedLayout(const FrameStyle& style, const EdgeParts& parts, int nLength, int nCorners) {
    checkFixed(style, parts);
    const bool bEnds = style.part(parts.nFirstEnd) != nullptr;
    const bool bMid = style.part(parts.nMiddle) != nullptr;
    const int nEndLen = lengthOf(style, parts.nFirstEnd, parts.bVertical);
    const int nMidLen = lengthOf(style, parts.nMiddle, parts.bVertical);
    if (bEnds) ZEP_ASSERT(nEndLen > 0);
    if (bMid && !bEnds) ZEP_ASSERT(nMidLen > 0);
    ZEP_ASSERT(bEnds || bMid);
    EdgeLayout out;
    int nTotal = nCorners;
    while (nTotal < nLength) {
        if (bEnds && (out.nMiddles > 0 || !bMid)) {
            out.nEnds += 2;
            nTotal += 2 * nEndLen;
        } else {
            out.nMiddles += 1;
            nTotal += nMidLen;
        }
    }
    out.nLength = nTotal;
    return out;
}

}  // namespace

EdgeLayout computeEdgeLayout(const FrameStyle& style, Edge edge, int nLength) {
    const EdgeParts& parts = partsOf(edge);
    if (!style.bHasBorderParts) return EdgeLayout{nLength, 0, 0};
    const int nCorners =
        lengthOf(style, parts.nFirstCorner, parts.bVertical) + lengthOf(style, parts.nSecondCorner, parts.bVertical);
    return isFixed(style, parts) ? fixedLayout(style, parts, nLength, nCorners)
                                 : stretchLayout(style, parts, nLength, nCorners);
}

void fitSize(const FrameStyle& style, int& nWidth, int& nHeight) {
    const int nTopW = computeEdgeLayout(style, kTopEdge, nWidth).nLength;
    const int nBotW = computeEdgeLayout(style, kBottomEdge, nWidth).nLength;
    const int nLeftH = computeEdgeLayout(style, kLeftEdge, nHeight).nLength;
    const int nRightH = computeEdgeLayout(style, kRightEdge, nHeight).nLength;
    ZEP_ASSERT(nTopW == nBotW);
    ZEP_ASSERT(nLeftH == nRightH);
    nWidth = nTopW;
    nHeight = nLeftH;
}

}  // namespace FrameEdges

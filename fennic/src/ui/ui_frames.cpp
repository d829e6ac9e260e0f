// Theme: frames as one image, tiled backgrounds and fitted frame sizes.
//
// A frame image is the style's "back" tiled over the box, then the four
// edges, the corners and one decoration per corner. It is kept in the image
// cache as "Frm::%s::%dx%d" while the theme caches frames. The border is drawn
// when the requested style has border parts (a style of only "back" gives the
// tiled background alone).
#include <zep2/error.h>
#include <zep2/random_pick.h>

#include "application/gameapp.h"
#include "image/image.h"
#include "theme/theme.h"
#include "ui/ui_frames.h"

using namespace FrameEdges;
using ThemeParts::notNULL;

namespace {

constexpr const char* kZepSource = ".\\src\\ui_frames";

GameApp& app() {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "Theme : no application for frame images");
    return *pApp;
}

// Alpha pieces replace what is under them; others are drawn over it.
void drawPiece(Image& target, const Image& piece, int x, int y) {
    if (piece.hasAlpha()) {
        target.copy(piece, x, y);
    } else {
        target.blitFrom(piece, x, y);
    }
}

// Pieces of one part, each a random variant, one after the other from *pPos.
void drawRun(Image& target, const FrameStyle& style, int nPart, int nCount, bool bVertical, int nAcross, int* pPos) {
    for (int i = 0; i < nCount; ++i) {
        Zep::SmartPtr<Image> p = Zep::pickRandom(style.lVariants[nPart]);
        drawPiece(target, *p, bVertical ? nAcross : *pPos, bVertical ? *pPos : nAcross);
        *pPos += p->getDimension(bVertical);
    }
}

// An edge after its first corner: half the ends, the middles, the other half.
void drawEdge(Image& target, const FrameStyle& style, Edge edge, const EdgeLayout& layout, int nAcross) {
    const EdgeParts& parts = partsOf(edge);
    int nPos = lengthOf(style, parts.nFirstCorner, parts.bVertical);
    drawRun(target, style, parts.nFirstEnd, layout.nEnds / 2, parts.bVertical, nAcross, &nPos);
    drawRun(target, style, parts.nMiddle, layout.nMiddles, parts.bVertical, nAcross, &nPos);
    drawRun(target, style, parts.nSecondEnd, layout.nEnds - layout.nEnds / 2, parts.bVertical, nAcross, &nPos);
}

}  // namespace

void Theme::fitFrameSize(int& nWidth, int& nHeight, const char* szStyle) { fitSize(*getFrameStyle(szStyle), nWidth, nHeight); }

Zep::SmartPtr<Image> Theme::makeFrameImage(int nWidth, int nHeight, const char* szStyle) {
    ZEP_TRACE("Theme::makeFrameImage");
    FrameStyle& style = *getFrameStyle(szStyle);
    fitSize(style, nWidth, nHeight);
    const int w = nWidth, h = nHeight;
    const Zep::String sName = Zep::String::format("Frm::%s::%dx%d", szStyle ? szStyle : "", w, h);
    if (m_bCacheFrames && app().isImageCached(sName.c_str())) return app().getImage(sName.c_str());

    Zep::SmartPtr<Image> pImage = makeTiledImage(w, h, szStyle);
    if (style.bHasBorderParts) {
        using namespace ThemeParts;
        const int nRightX = w - style.part(kUR)->getWidth(), nBottomY = h - style.part(kLL)->getHeight();
        drawEdge(*pImage, style, kTopEdge, computeEdgeLayout(style, kTopEdge, w), 0);
        drawEdge(*pImage, style, kBottomEdge, computeEdgeLayout(style, kBottomEdge, w), nBottomY);
        drawEdge(*pImage, style, kLeftEdge, computeEdgeLayout(style, kLeftEdge, h), 0);
        drawEdge(*pImage, style, kRightEdge, computeEdgeLayout(style, kRightEdge, h), nRightX);
        pImage->copy(*style.part(kUL), 0, 0);
        pImage->copy(*style.part(kUR), nRightX, 0);
        pImage->copy(*style.part(kLL), 0, nBottomY);
        pImage->copy(*style.part(kLR), nRightX, nBottomY);
        drawCornerDecorations(style, pImage, w, h);
    }
    if (m_bCacheFrames) app().addImage(sName.c_str(), pImage, false);
    return pImage;
}

void Theme::drawCornerDecorations(FrameStyle& style, const Zep::SmartPtr<Image>& pImage, int w, int h) {
    using namespace ThemeParts;
    for (int nPart : {kUL, kUR, kLL, kLR}) {
        const Decoration* pDeco = pickDecoration(style, nPart, w, h);
        if (!pDeco) continue;
        const Image& deco = *pDeco->pImage;
        const int x = (nPart == kUL || nPart == kLL) ? 0 : w - deco.getWidth();
        const int y = (nPart == kUL || nPart == kUR) ? 0 : h - deco.getHeight();
        pImage->blitFrom(deco, x, y);
    }
}

// From a random start, the first decoration that ignores size or fits w x h.
const Decoration* Theme::pickDecoration(const FrameStyle& style, int nPart, int w, int h) {
    const Zep::List<Decoration>& l = style.lDecorations[nPart];
    if (l.isEmpty()) return nullptr;
    const int nStart = m_random.randInt(0, l.getCount() - 1);
    for (int i = 0; i < l.getCount(); ++i) {
        const Decoration& d = l[(nStart + i) % l.getCount()];
        if (d.bIgnoreSize || (d.pImage->getWidth() <= w && d.pImage->getHeight() <= h)) return &d;
    }
    return nullptr;
}

Zep::SmartPtr<Image> Theme::makeTiledImage(int nWidth, int nHeight, const char* szStyle) {
    const FrameStyle& style = *getFrameStyle(szStyle);
    const Image* pBack = style.part(ThemeParts::kBack);
    ZEP_ASSERT(notNULL(pBack));
    const int nBackW = pBack->getWidth(), nBackH = pBack->getHeight();
    ZEP_ASSERT(nBackW > 0 && nBackH > 0);
    Zep::SmartPtr<Image> pImage = app().createImage(nWidth, nHeight, style.bHasAlpha);
    for (int y = 0; y < nHeight; y += nBackH)
        for (int x = 0; x < nWidth; x += nBackW) drawPiece(*pImage, *pBack, x, y);
    return pImage;
}

Zep::SmartPtr<Image> Theme::clipImage(const Zep::SmartPtr<Image>& pImage, int nLength, bool bHorizontal,
                                      bool bFromStart) {
    const int nHave = pImage->getDimension(!bHorizontal);
    if (nHave <= nLength) return pImage;
    const int nSkip = bFromStart ? 0 : nHave - nLength;
    return bHorizontal ? pImage->createSubImage(nSkip, 0, nLength, pImage->getHeight(), false)
                       : pImage->createSubImage(0, nSkip, pImage->getWidth(), nLength, false);
}

// Sprite geometry: the mapping between screen and picture coordinates, the
// screen boxes, the hit and overlap tests, and the clipped image.
//
// Screen from picture: subtract the insertion point, divide by the pixel
// scale, scale, rotate about the anchor (clockwise for a positive angle),
// add the position. screenToLocal runs this backwards into the canvas of the
// draw image, the picture actually drawn (a clipped cut of the image or the
// image itself).
#include <cmath>

#include "base/polygon.h"
#include "sprite/sprite.h"

Point Sprite::screenToLocal(const Point& screen) const {
    Point p = screen - Point(m_fX, m_fY);
    if (m_fRotation != 0.0f) p = rotatePoint(p, -m_fRotation);
    p.x /= m_fScaleX;
    p.y /= m_fScaleY;
    const Zep::SmartPtr<Image> pDraw = getDrawImage();
    if (pDraw.notNULL()) {
        p *= pDraw->getPixelScale();
        p += pDraw->getInsPoint();
    }
    return p;
}

Point Sprite::localToScreen(const Point& local) const {
    Point p = local;
    const Zep::SmartPtr<Image> pDraw = getDrawImage();
    if (pDraw.notNULL()) {
        p -= pDraw->getInsPoint();
        p /= pDraw->getPixelScale();
    }
    p.x *= m_fScaleX;
    p.y *= m_fScaleY;
    if (m_fRotation != 0.0f) p = rotatePoint(p, m_fRotation);
    return p + Point(m_fX, m_fY);
}

Rect Sprite::transformRect(const Rect& anchorRect) const {
    Point tl = anchorRect.getTopLeft();
    Point br = anchorRect.getBottomRight();
    const Point pos(m_fX, m_fY);
    if (isScaled()) {
        tl.x *= m_fScaleX;
        tl.y *= m_fScaleY;
        br.x *= m_fScaleX;
        br.y *= m_fScaleY;
    }
    const float fAngle = normalizeAngle(m_fRotation);
    if (fAngle != 0.0f) rotateRectBounds(tl, br, fAngle);
    return Rect(tl + pos, br + pos, true);
}

Rect Sprite::getBoundingRect() const {
    const Zep::SmartPtr<Image> pDraw = getDrawImage();
    if (!m_bVisible || pDraw.isNULL()) return Rect(0, 0, 0, 0);
    return transformRect(pDraw->getRect());
}

Rect Sprite::getDrawRect() const {
    const Zep::SmartPtr<Image> pDraw = getDrawImage();
    if (!m_bVisible || pDraw.isNULL()) return Rect(0, 0, 0, 0);
    return transformRect(pDraw->getDataRect());
}

// ---- Hit tests ------------------------------------------------------------------------

// Right and bottom edges are outside.
bool Sprite::hitTestBox(const Point& screen) const {
    const Zep::SmartPtr<Image> pDraw = getDrawImage();
    if (pDraw.isNULL()) return false;
    const Point q = screenToLocal(screen);
    return q.x >= 0.0f && q.x < static_cast<float>(pDraw->getWidth()) && q.y >= 0.0f &&
           q.y < static_cast<float>(pDraw->getHeight());
}

bool Sprite::hitTestRect(const Point& screen) const {
    const Zep::SmartPtr<Image> pDraw = getDrawImage();
    if (pDraw.isNULL()) return false;
    const Point q = screenToLocal(screen);
    const Point o = pDraw->getDataOffset();
    const Point e = o + pDraw->getDataSize();
    return o.x <= q.x && q.x < e.x && o.y <= q.y && q.y < e.y;
}

// The pixel is looked up in the draw image, the picture that is drawn there:
// for a clipped sprite that is the cut, whose canvas screenToLocal maps to.
bool Sprite::hitTestPixel(const Point& screen, int nThreshold) const {
    if (!hitTestRect(screen)) return false;
    return !getDrawImage()->isTransparent(screenToLocal(screen), nThreshold);
}

bool Sprite::hitTest(const Point& screen) {
    switch (m_pExtras->nHitTestMode) {
        case kHitBox: return hitTestBox(screen);
        case kHitRect: return hitTestRect(screen);
        default: return hitTestPixel(screen, 0);
    }
}

// ---- Overlap tests --------------------------------------------------------------------

bool Sprite::overlapsBox(const Sprite& other, bool bData) const {
    const Zep::SmartPtr<Image> pMine = getDrawImage();
    const Zep::SmartPtr<Image> pTheirs = other.getDrawImage();
    if (pMine.isNULL() || pTheirs.isNULL()) return false;
    // Each sprite as a box: its scaled anchor rectangle turned about the anchor.
    auto box = [bData](const Sprite& s, Image& img, Point* pCentre, Point* pSize) {
        const Rect r = bData ? img.getDataRect() : img.getRect();
        const Rect scaled(static_cast<int32_t>(static_cast<float>(r.getLeft()) * s.m_fScaleX),
                          static_cast<int32_t>(static_cast<float>(r.getTop()) * s.m_fScaleY),
                          static_cast<int32_t>(static_cast<float>(r.getRight()) * s.m_fScaleX),
                          static_cast<int32_t>(static_cast<float>(r.getBottom()) * s.m_fScaleY));
        *pCentre = rotatePoint(scaled.getCenter(), s.m_fRotation) + Point(s.m_fX, s.m_fY);
        *pSize = scaled.getSize();
    };
    Point centreA, sizeA, centreB, sizeB;
    box(*this, *pMine, &centreA, &sizeA);
    box(other, *pTheirs, &centreB, &sizeB);
    return orientedBoxesOverlap(centreA, sizeA, m_fRotation, centreB, sizeB, other.m_fRotation);
}

bool Sprite::overlaps(const Sprite& other) const { return overlapsBox(other, false); }

bool Sprite::overlapsData(const Sprite& other) const { return overlapsBox(other, true); }

// ---- Clipping -------------------------------------------------------------------------

void Sprite::updateClippedImage() {
    m_pExtras->pClippedImage = m_pImage;
    if (!m_pExtras->pClipRect) return;
    const Rect drawRect = getDrawRect();
    const Rect r = drawRect.intersect(*m_pExtras->pClipRect);
    if (r.isEmpty()) {
        m_pExtras->pClippedImage = nullptr;
        return;
    }
    if (r == drawRect) return;
    // Cut the visible part, one pixel generous on the bottom right, and keep
    // its anchor where the image's anchor is.
    const Point a = screenToLocal(r.getTopLeft());
    const Point b = screenToLocal(r.getBottomRight()) + Point(1.0f, 1.0f);
    const Rect cut(a, b, true);
    Zep::SmartPtr<Image> pCut = m_pImage->createSubImage(cut, false);
    pCut->setInsPoint(m_pImage->getInsPoint() - cut.getTopLeft());
    m_pExtras->pClippedImage = pCut;
}

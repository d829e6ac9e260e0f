#include "effects/sc_wipe.h"

#include "sprite/gamemode.h"
#include "base/rect.h"
#include "effects/sc_motion.h"
#include "sprite/sprite.h"

namespace {

Zep::SmartPtr<Image> cut(Image& source, int nLeft, int nTop, int nRight, int nBottom) {
    return source.createSubImage(Rect(nLeft, nTop, nRight, nBottom, true), true);
}

void leaveMode(const Zep::SmartPtr<Sprite>& pSprite) {
    if (pSprite.notNULL() && pSprite->getMode()) pSprite->getMode()->removeSprite(pSprite);
}

}  // namespace

SCWipe::SCWipe(int nDirection, bool bSplit, float fDuration, bool bRemoveWhenDone)
    : m_nDirection(nDirection), m_bSplit(bSplit), m_bRemoveWhenDone(bRemoveWhenDone) {
    setUpTimed(*this, fDuration);
}

void SCWipe::start(Zep::SmartPtr<Sprite> pSprite) {
    m_nHeight = pSprite->getHeight();
    m_nWidth = pSprite->getWidth();
    m_pSource = pSprite->getImage();
    m_nX = pSprite->getX();
    m_nY = pSprite->getY();
    if (m_bSplit && m_pSource.notNULL()) startSplit(*pSprite);
}

// The sprite keeps the first half; a new sprite of the same z-order shows
// the second.
void SCWipe::startSplit(Sprite& sprite) {
    const int w = m_nWidth, h = m_nHeight;
    Zep::SmartPtr<Image> pFirst, pSecond;
    Point second;
    if (isVertical()) {
        pFirst = cut(*m_pSource, 0, 0, w, h / 2);
        pSecond = cut(*m_pSource, 0, h / 2, w, h);
        second = Point(static_cast<float>(m_nX), static_cast<float>(m_nY + h / 2));
    } else {
        pFirst = cut(*m_pSource, 0, 0, w / 2, h);
        pSecond = cut(*m_pSource, w / 2, 0, w, h);
        second = Point(static_cast<float>(m_nX + w / 2), static_cast<float>(m_nY));
    }
    sprite.setImage(pFirst);
    m_pSecond = new Sprite(pSecond, second, sprite.getZOrder());
    if (sprite.getMode()) sprite.getMode()->addSprite(m_pSecond);
}

bool SCWipe::update(float fDelta, Zep::SmartPtr<Sprite> pSprite) {
    getTimer()->advance(fDelta);
    if (m_pSource.isNULL()) return true;
    const float q = 1.0f - getTimer()->getProgress();
    if (m_bSplit)
        cutSplit(*pSprite, q);
    else
        cutWhole(*pSprite, q);
    if (!getTimer()->isDone()) return false;
    finishWipe(pSprite);
    return true;
}

void SCWipe::cutWhole(Sprite& sprite, float q) {
    const int w = m_nWidth, h = m_nHeight;
    const float fW = static_cast<float>(w), fH = static_cast<float>(h);
    Point position = sprite.getPosition();
    Zep::SmartPtr<Image> pPart;
    switch (m_nDirection) {
        case kKeepTop:
            pPart = cut(*m_pSource, 0, 0, w, truncToInt(fH * q));
            break;
        case kKeepBottom:
            pPart = cut(*m_pSource, 0, truncToInt(fH - fH * q), w, h);
            position.y = static_cast<float>(m_nY + h) - fH * q;
            break;
        case kKeepLeft:
            pPart = cut(*m_pSource, 0, 0, truncToInt(fW * q), h);
            break;
        default:
            pPart = cut(*m_pSource, truncToInt(fW - fW * q), 0, w, h);
            position.x = static_cast<float>(m_nX + w) - fW * q;
            break;
    }
    sprite.setImage(pPart);
    sprite.setPosition(position);
}

// Each half shrinks towards its own outer edge, which stays in place.
void SCWipe::cutSplit(Sprite& sprite, float q) {
    const int w = m_nWidth, h = m_nHeight;
    Zep::SmartPtr<Image> pSecond;
    if (isVertical()) {
        const float fHalf = static_cast<float>(h / 2);
        sprite.setImage(cut(*m_pSource, 0, 0, w, truncToInt(fHalf * q)));
        pSecond = cut(*m_pSource, 0, truncToInt(static_cast<float>(h) - fHalf * q), w, h);
        m_pSecond->setPosition(static_cast<float>(m_nX), static_cast<float>(m_nY + h - pSecond->getHeight()));
    } else {
        const float fHalf = static_cast<float>(w / 2);
        sprite.setImage(cut(*m_pSource, 0, 0, truncToInt(fHalf * q), h));
        pSecond = cut(*m_pSource, truncToInt(static_cast<float>(w) - fHalf * q), 0, w, h);
        m_pSecond->setPosition(static_cast<float>(m_nX + w - pSecond->getWidth()), static_cast<float>(m_nY));
    }
    m_pSecond->setImage(pSecond);
}

void SCWipe::finishWipe(const Zep::SmartPtr<Sprite>& pSprite) {
    if (m_bRemoveWhenDone) leaveMode(pSprite);
    if (m_bSplit) leaveMode(m_pSecond);
}

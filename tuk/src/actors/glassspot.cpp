// The coaster (glassspot.h).
#include "actors/glassspot.h"

#include "level/playmode.h"

namespace {

constexpr int kServe = 0;
constexpr int kTake = 2;
// The mug's base layer above the coaster (Mug::setPosition puts it 3 below).
constexpr int kMugAboveCoaster = 4;

// The first carried item in slot order, -1 when none.
int firstCarried(const Waitress& waitress) {
    for (int i = 0; i < waitress.getSlotCount(); ++i)
        if (!waitress.isHandEmpty(i)) return i;
    return -1;
}

}  // namespace

Zep::SmartPtr<Image> GlassSpot::coasterImage(const Zep::SmartPtr<Image>& pImage) {
    if (pImage.isNULL()) return pImage;
    Zep::SmartPtr<Image> pCopy = pImage->clone(false);
    pCopy->setInsPoint(pCopy->getWidth() / 2, kCoasterInsY);
    return pCopy;
}

void GlassSpot::putMug(const Zep::SmartPtr<Mug>& pMug, bool bPlace) {
    m_pMug = pMug;
    if (m_pMug.isNULL()) return;
    if (bPlace && getSprite().notNULL()) {
        const Zep::SmartPtr<Image> pImage = m_pMug->getImage();
        const int nDrop = pImage.notNULL() ? pImage->getInsPointY() - pImage->getHeight() : 0;
        int x = 0, y = 0;
        getSprite()->getPosition(&x, &y);
        m_pMug->setPosition(x, y + nDrop, getSprite()->getZOrder() + kMugAboveCoaster);
        m_pMug->setScale(1.0f);
        m_pMug->refresh();
    }
    m_pMug->setHighlight(m_bHighlight);
}

Zep::SmartPtr<Mug> GlassSpot::takeMug() {
    Zep::SmartPtr<Mug> pMug = m_pMug;
    m_pMug = nullptr;
    if (pMug.notNULL()) pMug->setHighlight(false);
    return pMug;
}

bool GlassSpot::canDoAction(int nHand) {
    const Waitress* pWaitress = getMode()->getLevelData().m_pWaitress.get();
    if (!m_bAvailable || !pWaitress) return false;
    if (hasMug()) return pWaitress->canTakeWith(nHand);
    return pWaitress->hasTray() ? pWaitress->countCarriedItems() > 0 : !pWaitress->isHandEmpty(nHand);
}

int GlassSpot::beginAction(int) { return hasMug() ? kTake : kServe; }

void GlassSpot::completeAction(int nHand) {
    Waitress& waitress = *getMode()->getLevelData().m_pWaitress;
    if (hasMug()) {
        waitress.setHandContents(takeMug());
        return;
    }
    putMug(waitress.takeHandContents(waitress.hasTray() ? firstCarried(waitress) : nHand), true);
}

void GlassSpot::setHighlight(bool bOn) {
    m_bHighlight = bOn;
    if (m_pMug.notNULL()) m_pMug->setHighlight(bOn);
}

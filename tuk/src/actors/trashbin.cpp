// The sink and the prop dispenser (trashbin.h).
#include "actors/trashbin.h"

#include <zep2/str.h>

#include "actors/mug.h"
#include "level/playmode.h"

namespace {

constexpr int kPileThresholds[TrashBin::kPiles] = {1, 6, 11, 16};

}  // namespace

TrashBin::TrashBin(PlayMode* pMode, const Rect& walkRect, int nHeading, const char* szImage, int x, int y,
                   int nDepth)
    : ActionSpot(pMode, walkRect, nHeading) {
    for (int i = 0; i < kPiles; ++i) {
        const Zep::String sName = Zep::String::format("%s_pile_%d", szImage, i + 1);
        m_apPiles[i] = pMode->addSprite(new Sprite(pMode->getImage(sName.c_str()), x, y, nDepth + 1));
        m_apPiles[i]->setVisible(false);
    }
}

int TrashBin::getShownPile() const {
    int nPile = 0;
    for (int i = 0; i < kPiles; ++i)
        if (m_nGlasses >= kPileThresholds[i]) nPile = i + 1;
    return nPile;
}

void TrashBin::updatePile() {
    const int nShown = getShownPile();
    for (int i = 0; i < kPiles; ++i) m_apPiles[i]->setVisible(i + 1 == nShown);
}

bool TrashBin::canDoAction(int) {
    const Waitress* pWaitress = getMode()->getLevelData().m_pWaitress.get();
    if (!pWaitress) return false;
    for (int i = 0; i < pWaitress->getSlotCount(); ++i) {
        const Zep::SmartPtr<Mug> pMug = pWaitress->getHandContents(i);
        if (pMug.notNULL() && pMug->isEmpty()) return true;
    }
    return false;
}

void TrashBin::completeAction(int) {
    const Zep::List<Zep::SmartPtr<Mug>> lEmpty = getMode()->getLevelData().m_pWaitress->takeEmptyItems();
    for (const Zep::SmartPtr<Mug>& pMug : lEmpty) getMode()->removeMug(pMug);
    addGlasses(lEmpty.getCount());
    updatePile();
}

bool PropDispenser::canDoAction(int) {
    const Waitress* pWaitress = getMode()->getLevelData().m_pWaitress.get();
    if (!pWaitress) return false;
    for (const Zep::SmartPtr<Mug>& pMug : pWaitress->getFilledItems())
        if (!pMug->hasDecoration()) return true;
    return false;
}

void PropDispenser::completeAction(int) {
    for (const Zep::SmartPtr<Mug>& pMug : getMode()->getLevelData().m_pWaitress->getFilledItems())
        if (!pMug->hasDecoration()) pMug->addDecoration();
}

// The bar's orders and its barmen (barman.h).
#include "actors/barman.h"

#include "actors/character.h"
#include "application/gameapp.h"
#include "level/playmode.h"

// ---- The orders ------------------------------------------------------------------------

void BarOrders::place(const Zep::SmartPtr<Character>& pCustomer, int nBeverage, const Zep::List<int>& lLiquids) {
    Zep::SmartPtr<BarOrder> pOrder = new BarOrder;
    pOrder->pCustomer = pCustomer;
    pOrder->nBeverage = nBeverage;
    pOrder->lLiquids = lLiquids;
    m_lOrders.add(pOrder);
}

Zep::SmartPtr<BarOrder> BarOrders::takeOldest() {
    for (const Zep::SmartPtr<BarOrder>& pOrder : m_lOrders) {
        if (pOrder->bTaken) continue;
        pOrder->bTaken = true;
        return pOrder;
    }
    return Zep::SmartPtr<BarOrder>();
}

void BarOrders::finish(const Zep::SmartPtr<BarOrder>& pOrder) {
    const int nIndex = m_lOrders.indexOf(pOrder);
    if (nIndex >= 0) m_lOrders.removeAt(nIndex);
}

bool BarOrders::isOutstanding(const Character* pCustomer) const {
    for (const Zep::SmartPtr<BarOrder>& pOrder : m_lOrders)
        if (pOrder->pCustomer.get() == pCustomer) return true;
    return false;
}

// ---- The barman ------------------------------------------------------------------------

Barman::Barman(int x, int y, int nDepth, int nFacing, GameMode* pMode, const Zep::String& sLook) {
    Zep::SmartPtr<AnimSprite> pSprite = new AnimSprite(loadAnimation(sLook), x, y, nDepth);
    pSprite->setScale(static_cast<float>(nFacing), 1.0f);
    pSprite->play("idle", 0.0f, -1);
    m_lSprites.add(pSprite);
    if (pMode) pMode->addSprite(pSprite);
}

Zep::SmartPtr<Animation> Barman::loadAnimation(const Zep::String& sLook) {
    if (sLook.isEmpty()) return GameApp::getInstance()->getAnimation("barman.template");
    Zep::List<Zep::String> lParams;
    lParams.add(sLook);
    const Zep::String sKey = Zep::String("barman") + sLook;
    return GameApp::getInstance()->loadAnimation("barman.template", sKey.c_str(), lParams);
}

Zep::SmartPtr<GlassSpot> Barman::findFreeSpot(const PlayMode& level) {
    for (const Zep::SmartPtr<GlassSpot>& pSpot : level.getGlassSpots())
        if (pSpot->isBarmanSpot() && !pSpot->hasMug()) return pSpot;
    return Zep::SmartPtr<GlassSpot>();
}

void Barman::serve(PlayMode& level, float fDelta) {
    update(fDelta);
    if (m_pOrder.isNULL()) {
        m_pOrder = level.getOrders().takeOldest();
        if (m_pOrder.isNULL()) return;
        m_fWorkTime = 0.0f;
        getSprite()->play("work", 0.0f, -1);
        return;
    }
    if (m_fWorkTime < kWorkSeconds) {
        m_fWorkTime += fDelta;
        if (m_fWorkTime < kWorkSeconds) return;
        getSprite()->play("idle", 0.0f, -1);
    }
    const Zep::SmartPtr<GlassSpot> pSpot = findFreeSpot(level);
    if (pSpot.notNULL()) placeDrink(level, *pSpot);
}

void Barman::placeDrink(PlayMode& level, GlassSpot& spot) {
    const Zep::SmartPtr<BarOrder> pOrder = m_pOrder;
    m_pOrder = nullptr;
    level.getOrders().finish(pOrder);
    const Zep::SmartPtr<Mug> pMug = Mug::create(&level, Mug::beverageName(pOrder->nBeverage));
    if (pMug.isNULL()) return;
    pMug->setLiquids(pOrder->lLiquids);
    pMug->fill();
    level.getLevelData().m_lMugs.add(pMug);
    spot.putMug(pMug, true);
}

// The juice machine (drinkmachine.h).
#include "actors/drinkmachine.h"

#include <cstdlib>

#include <zep2/error.h>
#include <zep2/str.h>

#include "application/gameapp.h"
#include "records/gamesound.h"
#include "level/playmode.h"

namespace {

constexpr const char* kZepSource = ".\\src\\drinkmachine";

void check(bool bHolds, const char* szText, int nLine) {
    if (!bHolds) throw Zep::AssertFailException(kZepSource, nLine, szText);
}

void removeFromItsMode(const Zep::SmartPtr<Sprite>& pSprite) {
    if (pSprite.notNULL() && pSprite->getMode()) pSprite->getMode()->removeSprite(pSprite);
}

void showAll(const Zep::Hash<int, Zep::SmartPtr<AnimSprite>>& hButtons, const char* szSequence) {
    for (const Zep::SmartPtr<AnimSprite>& pButton : hButtons.getValues()) pButton->play(szSequence, 0.0f, -1);
}

}  // namespace

DrinkMachine::DrinkMachine(bool bDifficult, PlayMode* pMode) : m_bDifficult(bDifficult), m_pMode(pMode) {}

DrinkMachine::~DrinkMachine() = default;

void DrinkMachine::setSprite(const Zep::SmartPtr<AnimSprite>& pSprite) {
    m_pSprite = pSprite;
    if (m_pSprite.notNULL()) m_pSprite->play("normal", 0.0f, -1);
}

// ---- Buttons -----------------------------------------------------------------------

Zep::SmartPtr<AnimSprite> DrinkMachine::addButton(Zep::Hash<int, Zep::SmartPtr<AnimSprite>>& hButtons,
                                                  const char* szKind, const char* szExtra, int nType,
                                                  PlayMode* pMode, int x, int y, int z) {
    const Zep::String sKey = Zep::String::format("button_%d_%s.anim", nType, szKind);
    Zep::List<Zep::String> lParams;
    lParams.add(szExtra);
    Zep::SmartPtr<AnimSprite> pButton =
        new AnimSprite(GameApp::getInstance()->loadAnimation("button.template", sKey.c_str(), lParams), x, y, z);
    pButton->play("notpushed", 0.0f, -1);
    hButtons.set(nType, pButton);
    if (pMode) pMode->addSprite(pButton);
    return pButton;
}

Zep::SmartPtr<AnimSprite> DrinkMachine::addLiquidButton(int nType, PlayMode* pMode, int x, int y, int z) {
    check(m_hLiquidButtons.getCount() < kMaxLiquidButtons, "Assertion failed : m_hLiquidButtons.getCount() < 3",
          __LINE__);
    ZEP_ASSERT(nType >= 0 && nType < Mug::kLiquidCount);
    return addButton(m_hLiquidButtons, "liquid", "fruta", nType, pMode, x, y, z);
}

Zep::SmartPtr<AnimSprite> DrinkMachine::addBeverageButton(int nType, PlayMode* pMode, int x, int y, int z) {
    check(m_hBeverageButtons.getCount() < Mug::BT_BEVERAGE_COUNT,
          "Assertion failed : m_hBeverageButtons.getCount() < BT_BEVERAGE_COUNT", __LINE__);
    ZEP_ASSERT(nType >= 0 && nType < Mug::BT_BEVERAGE_COUNT);
    return addButton(m_hBeverageButtons, "beverage", "vaso", nType, pMode, x, y, z);
}

Zep::SmartPtr<AnimSprite> DrinkMachine::getLiquidButton(int nType) const {
    return m_hLiquidButtons.contains(nType) ? m_hLiquidButtons.get(nType) : Zep::SmartPtr<AnimSprite>();
}

Zep::SmartPtr<AnimSprite> DrinkMachine::getBeverageButton(int nType) const {
    return m_hBeverageButtons.contains(nType) ? m_hBeverageButtons.get(nType) : Zep::SmartPtr<AnimSprite>();
}

// ---- Selection ---------------------------------------------------------------------

void DrinkMachine::selectBeverage(int nBeverage) {
    showAll(m_hBeverageButtons, "notpushed");
    for (bool& bChosen : m_abBeverages) bChosen = false;
    resetLiquidButtons();
    if (nBeverage < 0 || nBeverage >= Mug::BT_BEVERAGE_COUNT) return;
    m_abBeverages[nBeverage] = true;
    if (m_hBeverageButtons.contains(nBeverage)) m_hBeverageButtons.get(nBeverage)->play("pushed", 0.0f, -1);
}

bool DrinkMachine::selectLiquid(int nLiquid) {
    m_lLiquids.add(nLiquid);
    if (m_hLiquidButtons.contains(nLiquid)) m_hLiquidButtons.get(nLiquid)->play("pushed", 0.0f, -1);
    return !m_bDifficult || m_lLiquids.getCount() == 2;
}

int DrinkMachine::getSelectedBeverage() const {
    for (int b = 0; b < Mug::BT_BEVERAGE_COUNT; ++b)
        if (m_abBeverages[b]) return b;
    return -1;
}

void DrinkMachine::resetLiquidButtons() {
    m_lLiquids.clear();
    showAll(m_hLiquidButtons, "notpushed");
}

bool DrinkMachine::startDrink() {
    const int nBeverage = getSelectedBeverage();
    if (!m_pMode || nBeverage < 0 || m_lLiquids.isEmpty() || getFreePlatformSpot().isNULL()) {
        resetLiquidButtons();
        return false;
    }
    playGameSound("sfx_game_juicer");
    Zep::List<int> lLiquids = m_lLiquids;
    if (!m_bDifficult) lLiquids = Zep::List<int>{m_lLiquids.getFirst(), m_lLiquids.getFirst()};
    const Zep::SmartPtr<Mug> pMug = Mug::create(m_pMode, Mug::beverageName(nBeverage));
    setMug(pMug);
    m_pMode->getLevelData().m_lMugs.add(pMug);
    pMug->setLiquids(lLiquids);
    pMug->fill();
    m_pSprite->play("funcionando", 0.0f, -1);
    disablePlatformSpots();
    return true;
}

bool DrinkMachine::isRunning() const {
    if (m_pSprite.isNULL()) return false;
    const Zep::String sSequence = m_pSprite->getSequenceName();
    return sSequence == "funcionando" || sSequence == "desplaza";
}

// ---- Coasters ----------------------------------------------------------------------

Zep::SmartPtr<GlassSpot> DrinkMachine::getFreePlatformSpot() const {
    return isRunning() ? Zep::SmartPtr<GlassSpot>() : lastFreeCoaster();
}

Zep::SmartPtr<GlassSpot> DrinkMachine::lastFreeCoaster() const {
    for (int i = m_lPlatform.getCount() - 1; i >= 0; --i)
        if (!m_lPlatform[i]->hasMug()) return m_lPlatform[i];
    return Zep::SmartPtr<GlassSpot>();
}

void DrinkMachine::compactPlatform() {
    for (int i = 0; i < m_lPlatform.getCount(); ++i)
        for (int j = 0; j < i; ++j)
            if (!m_lPlatform[i]->hasMug() && m_lPlatform[j]->hasMug())
                m_lPlatform[i]->putMug(m_lPlatform[j]->takeMug(), true);
}

void DrinkMachine::setPlatformAvailable(bool bAvailable) {
    for (const Zep::SmartPtr<GlassSpot>& pSpot : m_lPlatform) pSpot->setAvailable(bAvailable);
}

// ---- Update ------------------------------------------------------------------------

int DrinkMachine::direction() const { return m_pSprite->getScaleX() < 0.0f ? -1 : 1; }

void DrinkMachine::update(float fDelta) {
    if (m_bRemoved || m_pSprite.isNULL()) return;
    m_pSprite->update(fDelta);
    const Zep::String sSequence = m_pSprite->getSequenceName();
    if (m_pSprite->hasFinished() && sSequence == "funcionando") startSlide();
    else if (sSequence == "desplaza" && !m_pSprite->isPlaying()) handOver();
    else if (sSequence == "desplaza") slide(fDelta);
}

void DrinkMachine::startSlide() {
    m_pSprite->play("desplaza", 0.0f, -1);
    if (m_pMug.isNULL()) return;
    int mx = 0, my = 0;
    m_pSprite->getPosition(&mx, &my);
    m_pMug->setLayerZOrder(m_pSprite->getZOrder() + 1);
    m_pMug->setLayerPosition(mx + kSlideStart * direction(), my + kSlideDrop);
}

void DrinkMachine::slide(float fDelta) {
    m_fSlideTime += fDelta;
    float fX = 0.0f, fY = 0.0f;
    m_pSprite->getPosition(&fX, &fY);
    const int d = direction();
    const int x = static_cast<int>(fX + static_cast<float>(kSlideStart * d) - kSlideSpeed * m_fSlideTime * d);
    const int nEnd = static_cast<int>(fX) + kSlideEnd * d, y = static_cast<int>(fY) + kSlideDrop;
    const bool bEnded = d > 0 ? x <= nEnd : x >= nEnd;
    if (bEnded) {
        m_pSprite->stop();
        m_fSlideTime = 0.0f;
    }
    if (m_pMug.notNULL()) m_pMug->setLayerPosition(bEnded ? nEnd : x, y);
}

void DrinkMachine::handOver() {
    compactPlatform();
    const Zep::SmartPtr<GlassSpot> pSpot = lastFreeCoaster();
    // A mug stays on the machine until a coaster is free.
    if (m_pMug.notNULL() && pSpot.isNULL()) return;
    m_fSlideTime = 0.0f;
    m_pSprite->play("normal", 0.0f, -1);
    resetLiquidButtons();
    if (m_pMug.notNULL()) pSpot->putMug(m_pMug, true);
    clearMug();
    enablePlatformSpots();
    if (pSpot.notNULL() && pSpot->hasMug()) offerPickUp(*pSpot);
}

void DrinkMachine::offerPickUp(GlassSpot& spot) {
    const Waitress* pWaitress = m_pMode ? m_pMode->getLevelData().m_pWaitress.get() : nullptr;
    if (!pWaitress || !pWaitress->isIdle()) return;
    int x = 0, y = 0;
    spot.getPosition(&x, &y);
    if (std::abs(pWaitress->getX() - x) < kPickUpRange && std::abs(pWaitress->getY() - y) < kPickUpRange)
        spot.onClick(x, y, 0);
}

// ---- Leaving the scene -------------------------------------------------------------

void DrinkMachine::removeFromScene(PlayMode* pMode) {
    m_bRemoved = true;
    removeFromItsMode(m_pSprite);
    for (const Zep::SmartPtr<Sprite>& pSprite : m_lSprites) removeFromItsMode(pSprite);
    for (const Zep::SmartPtr<AnimSprite>& pButton : m_hLiquidButtons.getValues()) removeFromItsMode(pButton);
    for (const Zep::SmartPtr<AnimSprite>& pButton : m_hBeverageButtons.getValues()) removeFromItsMode(pButton);
    for (const Zep::SmartPtr<GlassSpot>& pSpot : m_lPlatform) {
        if (pSpot->hasMug()) pMode->removeMug(pSpot->takeMug());
        pSpot->removeSprite();
        pMode->removeClickListener(pSpot.get());
        pMode->removeGlassSpot(pSpot);
        pMode->removeActionTarget(pSpot.get());
    }
    if (m_pMug.notNULL()) pMode->removeMug(m_pMug);
    clearMug();
    for (const Zep::SmartPtr<ActionSpot>& pButton : m_lButtons) {
        pMode->removeClickListener(pButton.get());
        pMode->removeActionTarget(pButton.get());
    }
}

// The level's life: entering and building it, the frame, the options and the
// store, the hand-over of the day and the teardown (playmode.h).
#include <zep2/error.h>

#include "application/gameapp.h"
#include "screens/gameoptions.h"
#include "screens/gamestatsmode.h"
#include "base/keys.h"
#include "level/loadingdialog.h"
#include "level/playmode.h"
#include "screens/storemode.h"
#include "sprite/trn_fadetoblack.h"
#include "records/tukplayer.h"
#include "records/upgrademanager.h"

namespace {

constexpr const char* kZepSource = ".\\src\\playmode_level";

constexpr int kUpgradeKinds[] = {10, 11, 12};
constexpr int kTrayKind = 0;

void removeAll(GameMode& mode, const Zep::List<Zep::SmartPtr<AnimSprite>>& lSprites) {
    for (const Zep::SmartPtr<AnimSprite>& pSprite : lSprites) mode.removeSprite(pSprite.get());
}

}  // namespace

PlayMode::PlayMode(TUKPlayer* pPlayer, DayResult* pResult, const char* szSceneName, int nLevel, int nGameKind,
                   int nDifficulty)
    : TUKMode(1),
      m_pPlayer(pPlayer),
      m_pDayResult(pResult),
      m_sSceneName(szSceneName),
      m_nLevel(nLevel),
      m_nDifficulty(nDifficulty) {
    m_levelData.m_nGameKind = nGameKind;
}

// Every actor leaves before the mode's own state goes.
PlayMode::~PlayMode() {
    clearCommands();
    m_lPendingClicks.clear();
    m_pHighlighted = nullptr;
    releaseActors();
    releaseFixtures();
    m_pHud.reset();
    removeAllSprites();
}

void PlayMode::releaseActors() {
    for (const Zep::SmartPtr<Character>& pCustomer : m_lCharacters) pCustomer->detach();
    m_lCharacters.clear();
    if (m_pSpawner) m_pSpawner->removeLeftCustomers();
    m_pSpawner.reset();
    m_orders = BarOrders();
    for (const Zep::SmartPtr<Mug>& pMug : m_levelData.m_lMugs) pMug->detach();
    m_levelData.m_lMugs.clear();
    if (m_levelData.m_pWaitress.notNULL()) m_levelData.m_pWaitress->detach();
    m_levelData.m_pWaitress = nullptr;
}

void PlayMode::releaseFixtures() {
    m_lClickListeners.clear();
    for (const Zep::SmartPtr<IActionTarget>& pTarget : m_lActionTargets)
        if (auto* pSpot = dynamic_cast<ActionSpot*>(pTarget.get())) pSpot->removeSprite();
    m_lActionTargets.clear();
    m_lGlassSpots.clear();
    m_levelData.m_lCharacterSpots.clear();
    for (const Zep::SmartPtr<DrinkMachine>& pMachine : m_levelData.m_lDrinkMachines) pMachine->removeFromScene(this);
    m_levelData.m_lDrinkMachines.clear();
    for (const Zep::SmartPtr<Barman>& pBarman : m_lBarmen) removeAll(*this, pBarman->getSprites());
    m_lBarmen.clear();
    if (m_pParrot.notNULL())
        for (int i = Parrot::kBody; i <= Parrot::kLegs; ++i) removeSprite(m_pParrot->getSprite(i).get());
    m_pParrot = nullptr;
    for (const Zep::SmartPtr<AmbientFigure>& pFigure : m_lFigures) removeAll(*this, pFigure->getSprites());
    m_lFigures.clear();
    m_scene = SceneObjects();
}

// ---- Entering and building -------------------------------------------------------------

void PlayMode::onEnter() {
    ZEP_TRACE("PlayMode::onEnter");
    GameApp& app = *getApp();
    LoadingDialog* pBox = new LoadingDialog();
    pBox->setText(getText("TipToExit"));
    clearFlags(kVisible);
    app.pushMode(pBox);
    app.setFrameRate(0);
    loadLevel();
    app.setFrameRate(kFrameRate);
    pBox->finish();
    addFlags(kVisible);
}

void PlayMode::loadLevel() {
    ZEP_TRACE("PlayMode::loadLevel");
    takePlayerValues();
    const int nTray = m_pPlayer ? m_pPlayer->getUpgradeLevel(kTrayKind) : 0;
    m_levelData.m_pWaitress =
        new Waitress(this, kWaitressName, kWaitressX, kWaitressY, UpgradeManager::effectValue(kTrayKind, nTray));
    loadScene();
    setLevelDifficulty();
    m_pSpawner = std::make_unique<SpawnManager>(this);
    m_pHud = std::make_unique<LevelHud>(*this);
    m_pHud->update(m_levelData);
    startDay();
}

void PlayMode::takePlayerValues() {
    LevelData& data = m_levelData;
    int32_t* apLevels[] = {&data.m_nUpgradeLevel10, &data.m_nUpgradeLevel11, &data.m_nUpgradeLevel12};
    for (int i = 0; i < 3; ++i) *apLevels[i] = m_pPlayer ? m_pPlayer->getUpgradeLevel(kUpgradeKinds[i]) : 0;
    const bool bTotals = m_pPlayer && getGameKind() == 0;
    data.m_nTotalMoneyBefore = bTotals ? m_pPlayer->getWorkingScore(TUKPlayer::kMoneySlot) : 0;
    data.m_nTotalStarsBefore = bTotals ? m_pPlayer->getWorkingScore(TUKPlayer::kStarsSlot) : 0;
    data.m_nResultMoney = 0;
    data.m_nResultStars = 0;
}

void PlayMode::startDay() {
    ZEP_TRACE("PlayMode::startDay");
    Waitress& waitress = *m_levelData.m_pWaitress;
    Waitress::preloadSprites(kWaitressTemplate, waitress.getCapacity());
    waitress.buildSprites(kWaitressTemplate, waitress.getCapacity());
    if (!m_scene.sSoundtrack.isEmpty()) getApp()->playMusic(m_scene.sSoundtrack.c_str(), true);
    m_fSpawnTimer = m_levelData.m_fFirstSpawnDelay;
    m_bDayRunning = true;
}

// ---- The frame ---------------------------------------------------------------------------

void PlayMode::onUpdate(float fDelta) {
    ZEP_TRACE("PlayMode::onUpdate");
    showCursorAgain();
    updateDayClock(fDelta);
    updateCustomers(fDelta);
    const Zep::List<Zep::SmartPtr<Mug>> lMugs = m_levelData.m_lMugs;
    for (const Zep::SmartPtr<Mug>& pMug : lMugs) pMug->update(fDelta);
    processCommands();
    stepWaitressWalk(fDelta);
    if (m_levelData.m_pWaitress.notNULL()) m_levelData.m_pWaitress->update(fDelta);
    updateActors(fDelta);
    dispatchPendingClick();
    updateHover();
    if (m_pHud) m_pHud->update(m_levelData);
    checkDayOver();
}

void PlayMode::showCursorAgain() {
    GameApp* pApp = getApp();
    if (pApp && !pApp->isCursorVisible()) pApp->showCursor(true);
}

// ---- Options, store and keys -------------------------------------------------------------

bool PlayMode::onKeyDown(int nKey, int nModifiers) {
    if (nKey != Key::Escape) return TUKMode::onKeyDown(nKey, nModifiers);
    openOptions();
    return true;
}

void PlayMode::openOptions() { getApp()->pushMode(new TUKGameOptions(this, kContinueId, kQuitId)); }

void PlayMode::onCallback(int nId, void*) {
    switch (nId) {
        case kOptionsId: openOptions(); break;
        case kQuitId: quitLevel(); break;
        case kStoreId:
            getApp()->pushTransition(new StoreMode(m_pPlayer, m_sSceneName), new TrnFadeToBlack());
            break;
        default: break;  // kContinueId: back to the bar
    }
}

// The campaign leaves the day unfinished; the other kinds end it.
void PlayMode::quitLevel() {
    if (getGameKind() == 0) leave();
    else if (!m_bStatisticsPushed) endDay();
}

// ---- Resuming and leaving ----------------------------------------------------------------

void PlayMode::onResume() {
    TUKMode::onResume();
    if (m_levelData.m_pWaitress.notNULL()) m_levelData.m_pWaitress->updateDepthScale();
    if (m_eResumeState == kDayOver && !m_bDayHandedOver) handOverDay();
}

void PlayMode::onAppQuit() {
    if (m_eResumeState == kDayOver && !m_bDayHandedOver) recordDay();
}

void PlayMode::handOverDay() {
    recordDay();
    leave();
}

void PlayMode::recordDay() {
    m_bDayHandedOver = true;
    const LevelData& data = m_levelData;
    if (m_pDayResult) {
        m_pDayResult->bDone = true;
        m_pDayResult->nResultMoney = data.m_nResultMoney;
        m_pDayResult->nResultStars = data.m_nResultStars;
        m_pDayResult->nDayMoney = data.m_nDayMoney;
        m_pDayResult->nDayStars = data.m_nDayStars;
        m_pDayResult->bGoalReached = data.m_nDayMoney >= data.m_nMoneyGoal;
    }
}

void PlayMode::leave() {
    if (m_bLeaving) return;
    m_bLeaving = true;
    startTransition(new TrnFadeToBlack());
}

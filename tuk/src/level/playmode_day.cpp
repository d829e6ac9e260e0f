// The level's day: its clock, the customers coming and going, closing time
// and the end of the day (playmode.h).
#include "application/gameapp.h"
#include "screens/gamestatsmode.h"
#include "level/playmode.h"

// ---- The clock ---------------------------------------------------------------------------

void PlayMode::updateDayClock(float fDelta) {
    LevelData& data = m_levelData;
    if (!m_bDayRunning || data.m_bBarClosed) return;
    if (data.m_bPaused) return;
    data.m_fTimePlayed += fDelta;
    if (!data.m_bMixedOrders && data.m_fMixedOrdersAt >= 0.0f && data.m_fTimePlayed >= data.m_fMixedOrdersAt)
        setMixedOrders(true);
    spawnWhenDue(fDelta);
    if (data.m_fTimePlayed >= data.m_fDayLength || (hasDayCountCome() && m_lCharacters.isEmpty())) closeBar();
}

// The spawn timer runs while a seat is free and customers are still to come.
void PlayMode::spawnWhenDue(float fDelta) {
    if (!m_pSpawner || hasDayCountCome() || !m_pSpawner->hasFreeSeat()) return;
    m_fSpawnTimer -= fDelta;
    if (m_fSpawnTimer > 0.0f) return;
    m_pSpawner->spawn();
    m_fSpawnTimer = m_levelData.m_fSpawnInterval;
}

bool PlayMode::hasDayCountCome() const {
    const int nSpawned = m_pSpawner ? m_pSpawner->getSpawnedCount() : 0;
    return nSpawned >= m_levelData.m_nDayCustomerCount;
}

void PlayMode::closeBar() {
    if (m_levelData.m_bBarClosed) return;
    m_levelData.m_bBarClosed = true;
    const Zep::List<Zep::SmartPtr<Character>> lCustomers = m_lCharacters;
    for (const Zep::SmartPtr<Character>& pCustomer : lCustomers) pCustomer->onBarClosed();
}

void PlayMode::setMixedOrders(bool bMixed) {
    const bool bSwitchedOn = bMixed && !m_levelData.m_bMixedOrders;
    m_levelData.m_bMixedOrders = bMixed;
    if (!bSwitchedOn) return;
    for (const Zep::SmartPtr<Character>& pCustomer : m_lCharacters) pCustomer->refreshOrder();
}

// ---- Customers ---------------------------------------------------------------------------

// A customer may leave the level during its own update: the loop runs over a
// copy, and the leavers go after it.
void PlayMode::updateCustomers(float fDelta) {
    const Zep::List<Zep::SmartPtr<Character>> lCustomers = m_lCharacters;
    for (const Zep::SmartPtr<Character>& pCustomer : lCustomers) pCustomer->update(fDelta);
    if (m_pSpawner) m_pSpawner->removeLeftCustomers();
}

void PlayMode::onCustomerLeaving(Zep::SmartPtr<Character> pCharacter) {
    if (pCharacter->hasHadDrink()) ++m_levelData.m_nCustomersServed;
    if (m_pSpawner) {
        m_pSpawner->releaseCustomer(pCharacter);
        return;
    }
    const int nSpot = pCharacter->getSpot();
    const Zep::List<Zep::SmartPtr<CharacterSpot>>& lSeats = m_levelData.m_lCharacterSpots;
    if (nSpot >= 0 && nSpot < lSeats.getCount()) lSeats.get(nSpot)->releaseCharacter(pCharacter);
    removeCharacter(pCharacter);
    pCharacter->detach();
}

// ---- The end of the day ------------------------------------------------------------------

void PlayMode::checkDayOver() {
    if (m_bDayRunning && m_levelData.m_bBarClosed && m_lCharacters.isEmpty() && !m_bStatisticsPushed) endDay();
}

void PlayMode::endDay() {
    m_bStatisticsPushed = true;
    m_eResumeState = kDayOver;
    getApp()->pushMode(new GameStatsMode(&m_levelData, m_pDayResult));
}

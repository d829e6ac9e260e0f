// Seating and unseating the level's customers (spawnmanager.h).
#include "level/spawnmanager.h"

#include <cstdlib>
#include <utility>

#include "level/playmode.h"

namespace {

int valueAt(const Zep::List<int>& list, int nIndex, int nDefault) {
    return nIndex >= 0 && nIndex < list.getCount() ? list.get(nIndex) : nDefault;
}

}  // namespace

SpawnManager::SpawnManager(PlayMode* pMode, CustomerTable table) : m_pMode(pMode), m_table(std::move(table)) {
    if (!m_table.getEntries(true).isEmpty()) return;
    for (int i = 0; i < seats().getCount(); ++i)
        if (isVipSeat(i)) m_table.fail("no \"vip\" customer for the VIP seats");
}

SpawnManager::SpawnManager(PlayMode* pMode) : SpawnManager(pMode, CustomerTable::load()) {}

const Zep::List<Zep::SmartPtr<CharacterSpot>>& SpawnManager::seats() const {
    return m_pMode->getLevelData().m_lCharacterSpots;
}

bool SpawnManager::isVipSeat(int nSeat) const { return nSeat >= m_pMode->getLevelData().m_nOrdinarySpots; }

bool SpawnManager::hasFreeSeat() const {
    for (const Zep::SmartPtr<CharacterSpot>& pSeat : seats())
        if (pSeat->getCharacter().isNULL()) return true;
    return false;
}

bool SpawnManager::isSeated(const Zep::String& sName) const {
    for (const Zep::SmartPtr<CharacterSpot>& pSeat : seats()) {
        const Zep::SmartPtr<Character> pCustomer = pSeat->getCharacter();
        if (pCustomer.notNULL() && sName == pCustomer->getName()) return true;
    }
    return false;
}

const CustomerEntry& SpawnManager::pickCustomer(bool bVip) const {
    const Zep::List<CustomerEntry>& lClass = m_table.getEntries(bVip);
    // Only a VIP seat made after the check can find its class empty.
    if (lClass.isEmpty()) m_table.fail("no \"vip\" customer for the VIP seats");
    Zep::List<int> lFree;
    for (int i = 0; i < lClass.getCount(); ++i)
        if (!isSeated(lClass[i].sName)) lFree.add(i);
    if (lFree.isEmpty()) return lClass[std::rand() % lClass.getCount()];
    return lClass[lFree.get(std::rand() % lFree.getCount())];
}

int SpawnManager::seatX(const CharacterSpot& seat) {
    int x = 0, y = 0;
    if (seat.getSprite().notNULL()) seat.getSprite()->getPosition(&x, &y);
    else seat.getPosition(&x, &y);
    return x;
}

Zep::SmartPtr<Character> SpawnManager::spawn() {
    Zep::List<int> lFree;
    for (int i = 0; i < seats().getCount(); ++i)
        if (seats()[i]->getCharacter().isNULL()) lFree.add(i);
    if (lFree.isEmpty()) return Zep::SmartPtr<Character>();
    const int nSeat = lFree.get(std::rand() % lFree.getCount());
    const bool bVip = isVipSeat(nSeat);
    const CustomerEntry entry = pickCustomer(bVip);
    const LevelData& data = m_pMode->getLevelData();
    const int nOrdinary = data.m_nOrdinarySpots;
    const Zep::SmartPtr<CharacterSpot> pSeat = seats().get(nSeat);
    Zep::SmartPtr<Character> pCustomer =
        new Character(m_pMode, entry.sName.c_str(), nSeat, seatX(*pSeat), bVip ? data.m_nVipY : data.m_nCustomerY,
                      bVip ? data.m_nVipDepth : data.m_nCustomerDepth, bVip,
                      bVip ? valueAt(data.m_lVipDirections, nSeat - nOrdinary, 1) : 1, entry.nVoice);
    pCustomer->setSeatKind(valueAt(data.m_lSeatKinds, nSeat, 0));
    m_pMode->addCharacter(pCustomer);
    pSeat->setCharacter(pCustomer);
    ++m_nSpawned;
    return pCustomer;
}

void SpawnManager::releaseCustomer(const Zep::SmartPtr<Character>& pCustomer) {
    const int nSeat = pCustomer->getSpot();
    if (nSeat >= 0 && nSeat < seats().getCount()) seats()[nSeat]->releaseCharacter(pCustomer);
    m_lLeft.add(pCustomer);
}

void SpawnManager::removeLeftCustomers() {
    while (!m_lLeft.isEmpty()) {
        const Zep::SmartPtr<Character> pCustomer = m_lLeft.removeFirst();
        m_pMode->removeCharacter(pCustomer);
        pCustomer->detach();
    }
}

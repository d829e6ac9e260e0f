// The drink machine's buttons (machinebuttons.h).
#include "actors/machinebuttons.h"

#include "actors/drinkmachine.h"

bool MachineButton::isMachineReady() const { return !m_pMachine->isRemoved() && !m_pMachine->isRunning(); }

void BeverageButton::completeAction(int) { m_pMachine->selectBeverage(m_nType); }

bool LiquidButton::canDoAction(int) {
    return isMachineReady() && m_pMachine->getSelectedBeverage() >= 0 && !m_pMachine->isLiquidSelected(m_nType) &&
           m_pMachine->getFreePlatformSpot().notNULL();
}

void LiquidButton::completeAction(int) {
    if (m_pMachine->selectLiquid(m_nType)) m_pMachine->startDrink();
}

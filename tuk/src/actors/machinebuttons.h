// The drink machine's buttons as action targets of the level; each has the
// button sprite its machine made and the machine's walk rectangle and
// heading. ActionTarget::create links them to the machine of their id.
//
// BeverageButton (kind 1, fill): acts while the machine does not run (from
// a drink's start to its hand-over, DrinkMachine::isRunning); the
// press chooses its glass (DrinkMachine::selectBeverage).
// LiquidButton (kind 1, fill): acts while the machine does not run, a glass
// is chosen, its liquid is not chosen yet and a platform coaster is free;
// the press adds its liquid and, once the choice is complete, starts the
// drink (DrinkMachine::startDrink).
// A button of a machine taken out of the scene refuses.
//
// The machine outlives its buttons (the level data holds it for the length
// of the level); a button does not own it.
#pragma once

#include <cstdint>

#include "actors/actionspot.h"

class DrinkMachine;

class MachineButton : public ActionSpot {
public:
    static constexpr int kFill = 1;

    MachineButton(PlayMode* pMode, const Rect& walkRect, int nHeading, DrinkMachine* pMachine, int nType)
        : ActionSpot(pMode, walkRect, nHeading), m_pMachine(pMachine), m_nType(nType) {}

    DrinkMachine* getMachine() const { return m_pMachine; }
    int getType() const { return m_nType; }
    int beginAction(int) override { return kFill; }

protected:
    // The machine is in the scene and at rest.
    bool isMachineReady() const;

    DrinkMachine* m_pMachine;  // not owned
    int32_t m_nType;
};

class BeverageButton : public MachineButton {
public:
    using MachineButton::MachineButton;
    bool canDoAction(int) override { return isMachineReady(); }
    void completeAction(int) override;
};

class LiquidButton : public MachineButton {
public:
    using MachineButton::MachineButton;
    bool canDoAction(int) override;
    void completeAction(int) override;
};

// DrinkMachine: a juice machine of the bar with its liquid and beverage
// buttons; LevelData lists the level's machines.
#pragma once

#include <zep2/refcount.h>

class DrinkMachine : public Zep::RefCountedObject {
public:
    // Set on a harder level: the machine takes two liquids.
    void setDifficultyFlag(bool bHarder) { m_bHarder = bHarder; }
    bool getDifficultyFlag() const { return m_bHarder; }

private:
    bool m_bHarder = false;
};

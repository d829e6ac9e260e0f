// DrinkMachine: a juice machine of the bar with its liquid and beverage
// buttons; LevelData lists the level's machines.
#pragma once

#include <zep2/refcount.h>

class DrinkMachine : public Zep::RefCountedObject {};

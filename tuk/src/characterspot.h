// CharacterSpot: a customer's seat, where a customer sits and is served; an
// action target of the level. LevelData lists the seats in scene order, the
// ordinary ones first, then the VIP seats.
#pragma once

#include "actionspot.h"

class CharacterSpot : public IActionTarget {};

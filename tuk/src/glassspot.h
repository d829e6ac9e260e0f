// GlassSpot: a coaster of the bar, where one mug can stand; an action target
// of the level, listed by the play mode.
#pragma once

#include "actionspot.h"

class GlassSpot : public IActionTarget {};

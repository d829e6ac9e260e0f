// TrashBin: the sink, where the waitress leaves empty mugs. It is an action
// target and a click listener; the play mode finds the level's sink among
// its click listeners.
#pragma once

#include "actionspot.h"

class TrashBin : public IActionTarget, public IClickListener {};

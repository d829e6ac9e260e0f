// Tooltip: a mode's record of one tooltip, the screen area in which it
// applies and the sprite that shows its picture. Owned by the mode's tooltip
// list; a sprite with a tooltip keeps the record's node as its handle, and
// the record names that sprite so that removing the record clears it.
#pragma once

#include <zep2/refcount.h>

#include "base/rect.h"
#include "sprite/sprite.h"

struct Tooltip : public Zep::RefCountedObject {
    Rect rect;
    Zep::SmartPtr<Sprite> pSprite;
    bool bEnabled = true;
    // The sprite whose tooltip this is (not counted; null for a bare record).
    Sprite* pOwner = nullptr;
};

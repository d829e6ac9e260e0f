// Tooltip: a mode's record of one tooltip, the screen area in which it
// applies and the sprite that shows its picture. Owned by the mode's tooltip
// list; a sprite with a tooltip keeps the record's node as its handle.
#pragma once

#include <zep2/refcount.h>

#include "rect.h"
#include "sprite.h"

struct Tooltip : public Zep::RefCountedObject {
    Rect rect;
    Zep::SmartPtr<Sprite> pSprite;
    bool bEnabled = true;
};

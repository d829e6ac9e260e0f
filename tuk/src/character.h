// Character: a customer of the level. The play mode updates every customer
// once per frame, over a snapshot of its list, so a customer may leave the
// level during its own update.
#pragma once

#include <zep2/refcount.h>

class Character : public Zep::RefCountedObject {
public:
    virtual void update(float fDelta) = 0;
};

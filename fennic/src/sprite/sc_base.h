// SpriteController: the abstract base of the time-driven effects attached to
// a sprite (moves, fades, tints, sequences).
//
// A controller is owned by the sprite (or the composite controller) that
// holds it and is deleted as soon as it reports done. The sprite calls start
// once when the controller is attached, update every frame and finish when
// its effects are to end at once. Each call gets the sprite as a counted
// pointer, so the sprite stays alive for the length of the call even if the
// controller removes it from its mode.
#pragma once

#include <zep2/refcount.h>

#include "base/timer.h"

class Sprite;

class SpriteController {
public:
    SpriteController();
    virtual ~SpriteController();
    SpriteController(const SpriteController&) = delete;
    SpriteController& operator=(const SpriteController&) = delete;

    // Called once when attached to a sprite. Base: nothing.
    virtual void start(Zep::SmartPtr<Sprite> pSprite);
    // Applies the effect for the timer's state; true when done. Base: false.
    virtual bool apply(Zep::SmartPtr<Sprite> pSprite);
    // Advances the timer by dt, then answers apply.
    virtual bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite);
    // update with the timer's remaining time.
    virtual bool finish(Zep::SmartPtr<Sprite> pSprite);

    // Shared: a copy keeps the timer alive beyond the controller.
    Zep::SmartPtr<Timer> getTimer() const { return m_pTimer; }

private:
    Zep::SmartPtr<Timer> m_pTimer;
};

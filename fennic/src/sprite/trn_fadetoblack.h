// TrnFadeToBlack: the transition that darkens the screen with a black sprite
// whose opacity ramps at a fixed speed (2.0 per second: half a second for
// each half of a change of screens).
//
// The fade is over only at its target, full black when fading out and fully
// clear when fading in: a frame that brings no time (a delta of 0) never
// ends it early.
#pragma once

#include <memory>

#include <zep2/refcount.h>

#include "sprite/transition.h"

class Sprite;

class TrnFadeToBlack : public ModeTransition {
public:
    static constexpr float kDefaultFadeSpeed = 2.0f;

    TrnFadeToBlack();
    ~TrnFadeToBlack() override;

    // A picture a tenth of the screen in each direction, shown ten times
    // larger at (0, 0), starting clear (fade out) or black (fade in).
    void onEnter() override;
    bool step(float fDelta) override;
    std::unique_ptr<ModeTransition> clone() const override;

    float getAlpha() const { return m_fAlpha; }
    float getFadeSpeed() const { return m_fFadeSpeed; }
    void setFadeSpeed(float fSpeed) { m_fFadeSpeed = fSpeed; }
    const Zep::SmartPtr<Sprite>& getBlackSprite() const { return m_pBlack; }

private:
    Zep::SmartPtr<Sprite> m_pBlack;
    float m_fAlpha = 0.0f;
    float m_fFadeSpeed = kDefaultFadeSpeed;
};

// SCPlayAnimation: advances the sprite's animation (the sprite must be an
// AnimSprite) and plays the frame sounds on the way.
//
// Every frame that an update passes over, not just the one it lands on,
// plays the sample named by its "sound" property (inherited from the
// sequence and the animation as frame properties are), so a long frame time
// never swallows a sound. When the sequence wrapped, the frames up to its end
// are visited first, then those from 0. The frame shown before the update is
// not visited again, so the first frame of a fresh start sounds only when a
// later pass comes round to it.
//
// The controller ends when the animation stops playing, taking the sprite out
// of its mode when asked to; a sprite in no mode has nothing to leave, and
// the controller just ends.
#pragma once

#include "sprite/sc_base.h"

class AnimSprite;

class SCPlayAnimation : public SpriteController {
public:
    // restart: start shows frame 0 (with its full time) and plays again.
    SCPlayAnimation(bool bRemoveWhenDone, bool bRestart) : m_bRemoveWhenDone(bRemoveWhenDone), m_bRestart(bRestart) {}

    void start(Zep::SmartPtr<Sprite> pSprite) override;
    // AssertFailException "Assertion failed : pAS" for a sprite that is not
    // an AnimSprite.
    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override;

    // Multiplies the time given to the animation.
    virtual void setSpeed(float fSpeed) { m_fSpeed = fSpeed; }
    virtual float getSpeed() const { return m_fSpeed; }

private:
    // Plays the "sound" of every frame after nBefore up to nAfter, across a wrap.
    static void playFrameSounds(const AnimSprite& sprite, int nBefore, int nAfter);

    float m_fSpeed = 1.0f;
    bool m_bRemoveWhenDone;
    bool m_bRestart;
};

// AnimSprite: a sprite that plays the sequences of an Animation.
//
// It shows one frame image at a time; its owner (not the mode) calls update
// once per frame with the elapsed time. A frame lasts its repeat count times
// the sequence's period. Timing rules callers see:
//   - the first update after a (re)start answers true once, so the first
//     frame is reported like any later change;
//   - an update that overshoots several frames skips them (hasSkippedFrames),
//     but the overshoot is not carried: the new frame gets its full duration;
//   - play with fps 0.0 takes the sequence's own rate, fps < 0 gives -fps as
//     the whole sequence's duration; loop -1 takes the sequence's loop flag;
//   - the constructor plays "default", then the animation's default sequence.
// A looping sequence whose frames add no time (repeat counts of 0 or below)
// cannot hold update in its loop: a whole pass that gains no time ends the
// advance there, as a frame change.
#pragma once

#include <zep2/refcount.h>
#include <zep2/str.h>

#include "anim/animation.h"
#include "sprite/sprite.h"

class AnimSprite : public Sprite {
public:
    AnimSprite(const Zep::SmartPtr<Animation>& pAnimation, int x, int y, int nZOrder);
    AnimSprite(const Zep::SmartPtr<Animation>& pAnimation, const Point& position, int nZOrder);
    ~AnimSprite() override;

    // Plays "default" when the animation is not null.
    void setAnimation(const Zep::SmartPtr<Animation>& pAnimation);
    Zep::SmartPtr<Animation> getAnimation() const { return m_pAnimation; }
    // A sequence without frames (or no animation) stops and hides the sprite.
    void play(const char* szSequence, float fFps, int nLoop);
    // True when the shown frame changed or the sequence ended.
    bool update(float fDelta);
    // A negative (or NaN) time left keeps the frame's full duration.
    void setFrame(int n, float fTimeLeft);
    void start();
    void stop() { m_bPlaying = false; }
    void showFrame();

    bool isPlaying() const { return m_bPlaying; }
    bool hasFinished() const { return m_bFinished; }
    bool hasFrameChanged() const { return m_bFrameChanged; }
    bool hasSkippedFrames() const { return m_bSkippedFrames; }
    int getFrame() const { return m_nFrame; }
    int getPrevFrame() const { return m_nPrevFrame; }
    float getTimeLeft() const { return m_fTimeLeft; }
    Zep::String getSequenceName() const { return m_sSequence; }
    float getFrameDuration() const;
    Zep::SmartPtr<Image> getCurrentImage() const;
    // Of the current sequence when the argument is null.
    int getFrameCount(const char* szSequence) const;
    Zep::String getFrameProp(const char* szName) const;
    bool hasFrameProp(const char* szName) const;
    // The value of the nearest frame at or before the current one that has it.
    Zep::String findFrameProp(const char* szName) const;

private:
    void initAnimation(const Zep::SmartPtr<Animation>& pAnimation);
    // Step 6 of update: moves on until time is left; false when a
    // non-looping sequence ended.
    bool advanceFrames();

    Zep::SmartPtr<Animation> m_pAnimation;
    float m_fSecondsPerPeriod = 0.0f;
    float m_fTimeLeft = 0.0f;
    int m_nFrame = 0;
    Zep::String m_sSequence;
    bool m_bPlaying = false;
    bool m_bLooping = false;
    bool m_bSkippedFrames = false;
    int m_nPrevFrame = 0;
    bool m_bFrameChanged = false;
    bool m_bFinished = false;
};

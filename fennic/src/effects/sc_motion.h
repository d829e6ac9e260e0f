// Motion and transform controllers: move, place, scale and rotate a sprite
// over game time.
//
// A timed controller sets its timer with setDuration(d, true) and
// setFlags(kClamp), so its progress p runs from 0 to exactly 1. The float
// constants are the system's own: 6.28 (not 2 pi) for the sinusoids, 3.14159
// for the bounce, 0.33333334 for the parabola. SCLinearPath moves by
// increments, so paths running on one sprite at once add up. The four
// setters (position, screen position, insertion point, z-order) act once, on
// the first update after they are attached.
#pragma once

#include <zep2/str.h>

#include "image/image.h"
#include "base/rect.h"
#include "sprite/sc_base.h"

class SCLinearPath : public SpriteController {
public:
    enum { kDuration = 0, kSpeed = 1 };
    // Relative: moves by (to - from) from wherever the sprite stands.
    SCLinearPath(const Point& to, float fValue, int eType);
    // Absolute: starts by placing the sprite at from.
    SCLinearPath(const Point& from, const Point& to, float fValue, int eType);
    // eType kDuration: value in seconds; kSpeed: pixels per second (0 lasts
    // 100000 s). Others throw "Unsupported eType".
    virtual void setPath(const Point& from, const Point& to, float fValue, int eType);
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    Point m_lastOffset;
    Point m_from;
    Point m_to;
    bool m_bAbsolute;
};

// x linear, y a parabola through from.y and to.y, bent by control.
class SCVerticalParabola : public SpriteController {
public:
    SCVerticalParabola(const Point& from, const Point& to, float fControl, float fDuration);
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    Point m_from;
    float m_fDX, m_fA, m_fB;
};

class SCScale : public SpriteController {
public:
    SCScale(float fFrom, float fTo, float fDuration);
    SCScale(float fFromX, float fToX, float fFromY, float fToY, float fDuration);
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    bool m_bSeparate;
    float m_fFromX, m_fFromY, m_fDX, m_fDY, m_fToX, m_fToY;
};

// Never ends by itself.
class SCSinusoidScale : public SpriteController {
public:
    SCSinusoidScale(float fMin, float fMax, float fFrequency, float fPhase);
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    float m_fMin, m_fMax, m_fFrequency, m_fPhase;
};

// Rises from start to peak along a sine and comes down to end. The ratios
// start / peak and end / peak are clamped to [-1, 1]; a peak of 0 or a
// duration of 0 or less jumps to the end scale at the first update.
class SCGrowBounce : public SpriteController {
public:
    SCGrowBounce(float fStart, float fPeak, float fEnd, float fDuration);
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    float m_fPhase0 = 0.0f;
    float m_fSpeed = 0.0f;
    float m_fPeak;
    float m_fEnd;
    bool m_bJump = false;
};

class SCRotate : public SpriteController {
public:
    // Degrees per second without end; the start leaves the rotation alone.
    explicit SCRotate(float fSpeed);
    // From one angle to another the shorter way.
    SCRotate(float fFrom, float fTo, float fDuration);
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override;

private:
    float m_fSpeed;
    float m_fFrom = 0.0f;
    float m_fTo = 0.0f;
};

// A duration of 0 or less leaves a timer of duration 0: done at once.
class SCSinusoidRotate : public SpriteController {
public:
    SCSinusoidRotate(float fBase, float fAmplitude, float fPeriod, float fDuration);
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    float m_fBase, m_fAmplitude, m_fPeriod;
};

// Reveals an image of the image cache from its bottom edge upwards.
class SCVerticalProgress : public SpriteController {
public:
    SCVerticalProgress(int nTarget, float fSpeed, const Zep::String& sImageName);
    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override;

private:
    float m_fShown = 0.0f;
    int m_nTarget;
    float m_fSpeed;
    Zep::SmartPtr<Image> m_pSource;
};

class SCSetPosition : public SpriteController {
public:
    explicit SCSetPosition(const Point& position) : m_position(position) {}
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    Point m_position;
};

// Aligns the image's insertion point (Image::alignInsPoint flags), then places.
class SCSetScreenPosition : public SpriteController {
public:
    SCSetScreenPosition(const Point& position, int nAlignment) : m_position(position), m_nAlignment(nAlignment) {}
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    Point m_position;
    int m_nAlignment;
};

class SCSetInsPoint : public SpriteController {
public:
    explicit SCSetInsPoint(int nAlignment) : m_nAlignment(nAlignment) {}
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    int m_nAlignment;
};

class SCSetZOrder : public SpriteController {
public:
    explicit SCSetZOrder(int nZOrder) : m_nZOrder(nZOrder) {}
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    int m_nZOrder;
};

// The timer set-up of every timed controller.
void setUpTimed(SpriteController& controller, float fDuration);

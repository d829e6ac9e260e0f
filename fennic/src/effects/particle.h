// Particle: one short-lived moving picture, made by a particle emitter or by
// game code, stepped once per frame from the particle list of the mode that
// holds it.
//
// A particle owns one sprite that it keeps in its owner mode's layers, moves
// it by velocity and acceleration (each component clamped to +-100000 px/s),
// and fades, scales, rotates and colours it over its lifetime. Instead of a
// sprite it can carry a whole emitter, which then follows its position. A
// particle that has a parent emitter keeps its position relative to it.
//
// Step order of update: delay, age (a particle that reaches its lifetime is
// marked dead but finishes the step), the animation (an animated particle
// dies when its animation stops playing, unless told not to), the carried
// emitter, motion, placement
// (parent offset added), then scale, alpha, palette colour and rotation from
// t = age / lifetime. A lifetime of 0 or less counts as t = 1, so no step ever
// computes 0 / 0.
//
// The destructor never throws: it takes the sprite out of its owner's layers
// when asked to and there is an owner, and otherwise just lets go of it.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/refcount.h>

#include "image/image.h"
#include "base/rect.h"
#include "base/slotpool.h"

class AnimSprite;
class Animation;
class GameMode;
class ParticleEmitter;
class Sprite;

class Particle : public Zep::RefCountedObject {
public:
    SLOTPOOL_ALLOCATED

    static constexpr float kDefaultLifetime = 86400.0f;
    static constexpr float kMaxSpeed = 100000.0f;

    // A sprite of the image at (x, y), added to the owner's layers.
    Particle(GameMode* pOwner, int x, int y, const Zep::SmartPtr<Image>& pImage, int nZOrder);
    // An animated sprite of the animation at (x, y), added to the owner's
    // layers, playing its sequence "default" at that sequence's own rate and
    // loop flag (without one the sprite stops and hides, and the particle
    // dies with it on its first step).
    Particle(GameMode* pOwner, int x, int y, const Zep::SmartPtr<Animation>& pAnimation, int nZOrder);
    // No sprite: carries the emitter, moved to (x, y).
    Particle(GameMode* pOwner, int x, int y, const Zep::SmartPtr<ParticleEmitter>& pEmitter);
    ~Particle() override;
    Particle(const Particle&) = delete;
    Particle& operator=(const Particle&) = delete;

    virtual void update(float fDelta);

    bool isDead() const { return m_bDead; }
    void kill() { m_bDead = true; }
    void setDead(bool bDead) { m_bDead = bDead; }

    Zep::SmartPtr<Sprite> getSprite() const;
    // The sprite when it is animated, else null.
    AnimSprite* getAnimSprite() const;
    ParticleEmitter* getCarriedEmitter() const { return m_pEmitter.get(); }
    GameMode* getOwner() const { return m_pOwner; }

    void setPosition(float x, float y);
    void setPosition(const Point& p) { setPosition(p.x, p.y); }
    Point getPosition() const { return Point(m_fX, m_fY); }
    void setVelocity(float fX, float fY);
    Point getVelocity() const { return Point(m_fVelX, m_fVelY); }
    void setAcceleration(float fX, float fY);
    void setLifetime(float fSeconds) { m_fLifetime = fSeconds; }
    float getLifetime() const { return m_fLifetime; }
    float getAge() const { return m_fAge; }
    void setDelay(float fSeconds) { m_fDelay = fSeconds; }
    void setMaxAlpha(float fAlpha) { m_fMaxAlpha = fAlpha; }
    void setStartAngle(float fDegrees) { m_fStartAngle = fDegrees; }
    void setEndAngle(float fDegrees) { m_fEndAngle = fDegrees; }
    // Also turns scaling on.
    void setScale(float fStart, float fEnd);
    // Ages at which the fade-in ends and the fade-out begins; turns fading on.
    void setFade(float fFadeInEnd, float fFadeOutStart);
    void setDiesWithAnimation(bool bDies) { m_bDiesWithAnimation = bDies; }
    void setRemovesSprite(bool bRemoves) { m_bRemovesSprite = bRemoves; }
    bool getRemovesSprite() const { return m_bRemovesSprite; }
    void setTag(int nTag) { m_nTag = nTag; }
    int getTag() const { return m_nTag; }

    // The sprite's blend mode and the carried emitter's.
    void setBlendMode(int nMode);
    // Row 0 runs from birth (left) to death (right).
    void setPalette(const Zep::SmartPtr<Image>& pPalette) { m_pPalette = pPalette; }
    // Relative positioning; the particle does not jump on screen.
    void setParent(ParticleEmitter* pParent);
    ParticleEmitter* getParent() const { return m_pParent; }

protected:
    // A particle with no sprite and no emitter (for particles of the game's own).
    Particle();

private:
    // Counts the delay down; false while it still runs.
    bool passDelay(float fDelta);
    void stepAnimation(float fDelta);
    void move(float fDelta);
    void place();
    void applyLook();
    float alphaAt() const;

    // 128 bytes, two cache lines of a slot (slotpool.h). A step writes only
    // the first line (with the reference count); the second is only read,
    // so each step leaves one line to write back, not two.
    bool m_bDead = false;
    bool m_bScaling = false;
    bool m_bFading = false;
    bool m_bAnimated = false;  // the sprite is an AnimSprite
    float m_fX = 0.0f;
    float m_fY = 0.0f;
    float m_fVelX = 0.0f;
    float m_fVelY = 0.0f;
    float m_fAge = 0.0f;
    float m_fDelay = -1.0f;
    Zep::SmartPtr<Sprite> m_pSprite;
    float m_fAccelX = 0.0f;
    float m_fAccelY = 0.0f;
    float m_fLifetime = kDefaultLifetime;
    float m_fMaxAlpha = 1.0f;
    // Second line: read by every step, written only by the setters.
    float m_fStartScale = 1.0f;
    float m_fEndScale = 1.0f;
    float m_fStartAngle = 0.0f;
    float m_fEndAngle = 0.0f;
    float m_fFadeInEnd = 0.0f;
    float m_fFadeOutStart = kDefaultLifetime;
    GameMode* m_pOwner = nullptr;
    Zep::SmartPtr<ParticleEmitter> m_pEmitter;  // carried
    ParticleEmitter* m_pParent = nullptr;       // not owned
    Zep::SmartPtr<Image> m_pPalette;
    int32_t m_nTag = 0;
    bool m_bDiesWithAnimation = true;
    bool m_bRemovesSprite = true;
};

// Steps every particle of the list in order. A particle that died hands the
// live particles of the emitter it carried to the end of the list (they are
// stepped in the same pass) and leaves the list.
void updateParticles(Zep::List<Zep::SmartPtr<Particle>>& lParticles, float fDelta);

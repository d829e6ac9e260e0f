// Attachment controllers: particle emitters and particles that follow or
// start from a sprite.
//
// SCAttachEmitter keeps its emitter at the sprite's position and updates it
// every frame. With a duration, it hands the emitter's live particles to the
// mode when that time is over (so they live on without the emitter) and ends;
// without one it places and updates the emitter once and ends, releasing the
// emitter with its particles.
#pragma once

#include <zep2/str.h>

#include "effects/particle.h"
#include "effects/particle_emitter.h"
#include "sprite/sc_base.h"

class GameMode;

class SCAttachEmitter : public SpriteController {
public:
    // A new emitter of the mode, loaded from the named definition.
    SCAttachEmitter(const Zep::String& sDefinition, float fDuration, GameMode* pMode, int nZOrder);
    SCAttachEmitter(const Zep::SmartPtr<ParticleEmitter>& pEmitter, float fDuration, GameMode* pMode, int nZOrder);
    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override;
    Zep::SmartPtr<ParticleEmitter> getEmitter() const { return m_pEmitter; }

private:
    void setUp(float fDuration, int nZOrder);

    Zep::SmartPtr<ParticleEmitter> m_pEmitter;
    GameMode* m_pMode;  // not owned
    bool m_bTimed = false;
};

// Shows the particle's sprite and gives the particle to the mode; acts once.
class SCAttachParticle : public SpriteController {
public:
    SCAttachParticle(const Zep::SmartPtr<Particle>& pParticle, GameMode* pMode)
        : m_pParticle(pParticle), m_pMode(pMode) {}
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    Zep::SmartPtr<Particle> m_pParticle;
    GameMode* m_pMode;  // not owned
};

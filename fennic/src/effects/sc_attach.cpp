#include "effects/sc_attach.h"

#include "sprite/gamemode.h"
#include "effects/sc_motion.h"
#include "sprite/sprite.h"

SCAttachEmitter::SCAttachEmitter(const Zep::String& sDefinition, float fDuration, GameMode* pMode, int nZOrder)
    : m_pEmitter(new ParticleEmitter(pMode)), m_pMode(pMode) {
    m_pEmitter->load(sDefinition.c_str());
    setUp(fDuration, nZOrder);
}

SCAttachEmitter::SCAttachEmitter(const Zep::SmartPtr<ParticleEmitter>& pEmitter, float fDuration, GameMode* pMode,
                                 int nZOrder)
    : m_pEmitter(pEmitter), m_pMode(pMode) {
    setUp(fDuration, nZOrder);
}

void SCAttachEmitter::setUp(float fDuration, int nZOrder) {
    if (m_pEmitter.notNULL()) m_pEmitter->setZOrder(nZOrder + 1);
    if (fDuration <= 0.0f) return;
    setUpTimed(*this, fDuration);
    m_bTimed = true;
}

bool SCAttachEmitter::update(float fDelta, Zep::SmartPtr<Sprite> pSprite) {
    // The time is over: the particles go to the mode, the emitter goes.
    if (m_bTimed && getTimer()->advance(fDelta)) {
        if (m_pEmitter.notNULL() && m_pMode) m_pMode->addParticles(m_pEmitter->getParticles());
        m_pEmitter = nullptr;
    } else if (m_pEmitter.notNULL()) {
        m_pEmitter->setPosition(pSprite->getPosition());
        m_pEmitter->update(fDelta);
    }
    return getTimer()->isDone();
}

bool SCAttachParticle::apply(Zep::SmartPtr<Sprite>) {
    if (m_pParticle.isNULL()) return true;
    if (Zep::SmartPtr<Sprite> pShown = m_pParticle->getSprite(); pShown.notNULL()) pShown->setVisible(true);
    if (m_pMode) m_pMode->addParticle(m_pParticle);
    return true;
}

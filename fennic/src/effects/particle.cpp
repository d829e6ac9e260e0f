#include "effects/particle.h"

#include <algorithm>

#include "anim/animsprite.h"
#include "sprite/gamemode.h"
#include "effects/particle_emitter.h"
#include "sprite/sprite.h"

Particle::Particle(GameMode* pOwner, int x, int y, const Zep::SmartPtr<Image>& pImage, int nZOrder)
    : m_fX(static_cast<float>(x)), m_fY(static_cast<float>(y)), m_pOwner(pOwner) {
    m_pSprite = new Sprite(pImage, x, y, nZOrder);
    if (m_pOwner) m_pOwner->addSprite(m_pSprite);
}

Particle::Particle(GameMode* pOwner, int x, int y, const Zep::SmartPtr<Animation>& pAnimation, int nZOrder)
    : m_fX(static_cast<float>(x)), m_fY(static_cast<float>(y)), m_pOwner(pOwner) {
    Zep::SmartPtr<AnimSprite> pSprite = new AnimSprite(pAnimation, x, y, nZOrder);
    m_bAnimated = true;
    m_pSprite = pSprite;
    if (m_pOwner) m_pOwner->addSprite(m_pSprite);
    pSprite->play("default", 0.0f, -1);
}

Particle::Particle(GameMode* pOwner, int x, int y, const Zep::SmartPtr<ParticleEmitter>& pEmitter)
    : m_fX(static_cast<float>(x)), m_fY(static_cast<float>(y)), m_pOwner(pOwner), m_pEmitter(pEmitter) {
    if (m_pEmitter.notNULL()) m_pEmitter->setPosition(x, y);
}

Particle::Particle() = default;

// Without an owner there is no layer to leave: the sprite is only released.
Particle::~Particle() {
    if (m_bRemovesSprite && m_pSprite.notNULL() && m_pOwner) m_pOwner->removeSprite(m_pSprite);
}

Zep::SmartPtr<Sprite> Particle::getSprite() const { return m_pSprite; }

AnimSprite* Particle::getAnimSprite() const {
    return m_bAnimated ? static_cast<AnimSprite*>(m_pSprite.get()) : nullptr;
}

void Particle::setPosition(float x, float y) {
    m_fX = x;
    m_fY = y;
}

void Particle::setVelocity(float fX, float fY) {
    m_fVelX = fX;
    m_fVelY = fY;
}

void Particle::setAcceleration(float fX, float fY) {
    m_fAccelX = fX;
    m_fAccelY = fY;
}

void Particle::setScale(float fStart, float fEnd) {
    m_bScaling = true;
    m_fStartScale = fStart;
    m_fEndScale = fEnd;
}

void Particle::setFade(float fFadeInEnd, float fFadeOutStart) {
    m_bFading = true;
    m_fFadeInEnd = fFadeInEnd;
    m_fFadeOutStart = fFadeOutStart;
}

void Particle::setBlendMode(int nMode) {
    if (m_pSprite.notNULL()) m_pSprite->setBlendMode(nMode);
    if (m_pEmitter.notNULL()) m_pEmitter->setBlendMode(nMode);
}

void Particle::setParent(ParticleEmitter* pParent) {
    int x = 0, y = 0;
    if (m_pParent) {
        m_pParent->getPosition(x, y);
        m_fX += static_cast<float>(x);
        m_fY += static_cast<float>(y);
    }
    m_pParent = pParent;
    if (m_pParent) {
        m_pParent->getPosition(x, y);
        m_fX -= static_cast<float>(x);
        m_fY -= static_cast<float>(y);
    }
}

inline bool Particle::passDelay(float fDelta) {
    if (m_fDelay <= 0.0f) return true;
    m_fDelay -= fDelta;
    if (m_fDelay > 0.0f) return false;
    if (m_pSprite.notNULL()) m_pSprite->setVisible(true);
    return true;
}

inline void Particle::stepAnimation(float fDelta) {
    if (!m_bAnimated) return;
    AnimSprite* pSprite = getAnimSprite();
    pSprite->update(fDelta);
    if (!pSprite->isPlaying() && m_bDiesWithAnimation) m_bDead = true;
}

inline void Particle::move(float fDelta) {
    m_fVelX = std::clamp(m_fVelX + m_fAccelX * fDelta, -kMaxSpeed, kMaxSpeed);
    m_fVelY = std::clamp(m_fVelY + m_fAccelY * fDelta, -kMaxSpeed, kMaxSpeed);
    m_fX += m_fVelX * fDelta;
    m_fY += m_fVelY * fDelta;
}

// The parent's offset counts for the placement only.
inline void Particle::place() {
    int nParentX = 0, nParentY = 0;
    if (m_pParent) m_pParent->getPosition(nParentX, nParentY);
    const float x = m_fX + static_cast<float>(nParentX), y = m_fY + static_cast<float>(nParentY);
    if (m_pSprite.notNULL()) m_pSprite->moveTo(x, y);
    if (m_pEmitter.notNULL()) m_pEmitter->setPosition(truncToInt(x), truncToInt(y));
}

inline void Particle::applyLook() {
    const float t = m_fLifetime > 0.0f ? m_fAge / m_fLifetime : 1.0f;
    if (m_bScaling) m_pSprite->setScale((1.0f - t) * m_fStartScale + t * m_fEndScale);
    // The sprite is a Sprite or an AnimSprite: the base setAlpha, called directly.
    if (m_bFading) m_pSprite->Sprite::setAlpha(alphaAt());
    if (m_pPalette.notNULL()) {
        const int nWidth = m_pPalette->getWidth();
        const int nColumn = std::min(truncToInt(static_cast<float>(nWidth) * t), nWidth - 1);
        m_pSprite->setColor(m_pPalette->getPixel(nColumn, 0));
    }
    m_pSprite->setRotation(m_fStartAngle + (m_fEndAngle - m_fStartAngle) * t);
}

inline float Particle::alphaAt() const {
    if (m_fAge < m_fFadeInEnd) return m_fMaxAlpha * m_fAge / m_fFadeInEnd;
    if (m_fAge > m_fFadeOutStart)
        return m_fMaxAlpha * (1.0f - (m_fAge - m_fFadeOutStart) / (m_fLifetime - m_fFadeOutStart));
    return m_fMaxAlpha;
}

// The step's parts are inline: one call a particle.
void Particle::update(float fDelta) {
    if (m_bDead || !passDelay(fDelta)) return;
    // Age: reaching the lifetime marks the particle dead; the step still ends.
    m_fAge += fDelta;
    if (m_fAge >= m_fLifetime) {
        m_bDead = true;
        m_fAge = m_fLifetime;
    }
    stepAnimation(fDelta);
    if (m_pEmitter.notNULL()) m_pEmitter->update(fDelta);
    move(fDelta);
    place();
    if (m_pSprite.notNULL()) applyLook();
}

// The list's iteration cursor walks it: a step that removes the particle it
// stands on moves the cursor on, one that removes others leaves it alone, and
// particles appended during the pass (by a step, or handed on by a carried
// emitter) are reached in it. A particle stays alive through its own step
// even if that step takes it out of the list.
void updateParticles(Zep::List<Zep::SmartPtr<Particle>>& lParticles, float fDelta) {
    const EmissionStep step;
    lParticles.rewind();
    while (lParticles.hasCurrent()) {
        const Zep::SmartPtr<Particle> pParticle = lParticles.current();
        pParticle->update(fDelta);
        if (!lParticles.hasCurrent() || lParticles.current() != pParticle) continue;
        if (!pParticle->isDead()) {
            lParticles.advance();
            continue;
        }
        if (ParticleEmitter* pCarried = pParticle->getCarriedEmitter()) {
            Zep::List<Zep::SmartPtr<Particle>> lCarried = pCarried->getParticles();
            lParticles.takeAll(lCarried);
        }
        lParticles.removeCurrent();
    }
}

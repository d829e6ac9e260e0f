#include "effects/particle_emitter.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <zep2/error.h>
#include <zep2/random_pick.h>

#include "sprite/gamemode.h"
#include "sprite/sprite.h"

namespace {

constexpr const char* kZepSource = ".\\src\\particle_emitter";
constexpr double kPi = 3.141592653589793;

// Uniform in [lo, hi) from the shared generator, as a float.
float draw(float fLo, float fHi) { return static_cast<float>(particleRandom().randFloat(fLo, fHi)); }

void check(bool bOk, const char* szMessage) {
    if (!bOk) ZEP_THROW(Zep::AssertFailException, szMessage);
}

// Carried emitters alive, nested steps, and the carried emitters and
// particles made in the outermost step; frame thread only.
int g_nCarried = 0;
int g_nStepDepth = 0;
int g_nCarriersMade = 0;
int g_nParticlesMade = 0;

// A type's offset added to the emitter's z-order, kept within an int.
int zOrderOf(int nOffset, int nZOrder) {
    const int64_t n = static_cast<int64_t>(nOffset) + nZOrder;
    return static_cast<int>(std::clamp<int64_t>(n, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

Zep::Random& particleRandom() {
    static Zep::Random s_random;
    return s_random;
}

EmissionStep::EmissionStep() {
    if (g_nStepDepth++ > 0) return;
    g_nCarriersMade = 0;
    g_nParticlesMade = 0;
}

EmissionStep::~EmissionStep() { --g_nStepDepth; }

struct ParticleEmitter::Draw {
    int x = 0, y = 0;
    float fAngle = 0.0f, fLifetime = 0.0f;
    float fStartScale = 1.0f, fEndScale = 1.0f;
    float fVelX = 0.0f, fVelY = 0.0f, fAccelX = 0.0f, fAccelY = 0.0f;
    float fDelay = 0.0f, fStartAngle = 0.0f, fEndAngle = 0.0f;
};

ParticleEmitter::ParticleEmitter(GameMode* pOwner) : m_pOwner(pOwner) {}

ParticleEmitter::~ParticleEmitter() {
    getParticles();
    setCarryDepth(0);
}

void ParticleEmitter::setCarryDepth(int nDepth) {
    g_nCarried += (nDepth > 0) - (m_nCarryDepth > 0);
    m_nCarryDepth = nDepth;
}

int ParticleEmitter::getCarriedCount() { return g_nCarried; }

int ParticleEmitter::getCarriedMadeInStep() { return g_nCarriersMade; }

int ParticleEmitter::getParticlesMadeInStep() { return g_nParticlesMade; }

bool ParticleEmitter::hasRoom() const {
    return m_lLive.getCount() < kMaxParticles && g_nParticlesMade < kMaxParticlesPerStep;
}

// ---- Position, visibility, types ---------------------------------------------------------

void ParticleEmitter::setPosition(int x, int y) {
    m_p.nX = x;
    m_p.nY = y;
}

void ParticleEmitter::getPosition(int& x, int& y) const {
    x = m_p.nX;
    y = m_p.nY;
}

void ParticleEmitter::setVisible(bool bVisible) {
    m_bVisible = bVisible;
    for (const Zep::SmartPtr<Particle>& pParticle : m_lLive)
        if (Zep::SmartPtr<Sprite> pSprite = pParticle->getSprite(); pSprite.notNULL()) pSprite->setVisible(bVisible);
}

void ParticleEmitter::addImageType(const Zep::SmartPtr<Image>& pImage, int nZOffset) {
    ParticleType type;
    type.nKind = ParticleType::kImage;
    type.nZOffset = nZOffset;
    type.pImage = pImage;
    m_lTypes.add(type);
}

void ParticleEmitter::addAnimationType(const Zep::SmartPtr<Animation>& pAnimation, bool bRandomFrame, int nZOffset) {
    ParticleType type;
    type.nKind = ParticleType::kAnimation;
    type.nZOffset = nZOffset;
    type.pAnimation = pAnimation;
    type.bRandomFrame = bRandomFrame;
    m_lTypes.add(type);
}

void ParticleEmitter::addEmitterType(const char* szDefinition, int nZOffset) {
    ParticleType type;
    type.nKind = ParticleType::kEmitter;
    type.nZOffset = nZOffset;
    type.sDefinition = szDefinition ? szDefinition : "";
    m_lTypes.add(type);
}

void ParticleEmitter::copyFrom(const ParticleEmitter* pSrc) {
    check(pSrc != nullptr, "Assertion failed : pSrc");
    m_p = pSrc->m_p;
    m_lTypes = pSrc->m_lTypes;
}

Zep::List<Zep::SmartPtr<Particle>> ParticleEmitter::getParticles() {
    for (const Zep::SmartPtr<Particle>& pParticle : m_lLive)
        if (pParticle->getParent() == this) pParticle->setParent(nullptr);
    // The nodes move with the particles: each stays beside its sprite's node
    // in the mode's layers, where the particle step and the draw walk meet.
    Zep::List<Zep::SmartPtr<Particle>> lOut;
    lOut.takeAll(m_lLive);
    return lOut;
}

// ---- Checked setters ----------------------------------------------------------------------

void ParticleEmitter::setAreaSize(float fA, float fB) {
    if (m_p.nAreaType == kAreaRadial) check(fA <= fB, "Assertion failed : m_fMinRadius <= m_fMaxRadius");
    m_p.fMinRadius = fA;
    m_p.fMaxRadius = fB;
}

void ParticleEmitter::setLifetimeRange(float fMin, float fMax) {
    check(fMin <= fMax, "Assertion failed : m_fLifetimeMin <= m_fLifetimeMax");
    m_p.fLifetimeMin = fMin;
    m_p.fLifetimeMax = fMax;
}

void ParticleEmitter::setStartScaleRange(float fMin, float fMax) {
    check(fMin <= fMax, "Assertion failed : m_fScaleStartMin <= m_fScaleStartMax");
    m_p.bScaling = true;
    m_p.fScaleStartMin = fMin;
    m_p.fScaleStartMax = fMax;
}

void ParticleEmitter::setEndScaleRange(float fMin, float fMax) {
    check(fMin <= fMax, "Assertion failed : m_fScaleEndMin <= m_fScaleEndMax");
    m_p.bScaling = true;
    m_p.fScaleEndMin = fMin;
    m_p.fScaleEndMax = fMax;
}

void ParticleEmitter::setDelayRange(float fMin, float fMax) {
    check(fMin <= fMax, "Assertion failed : m_fMinDelay <= m_fMaxDelay");
    m_p.fMinDelay = fMin;
    m_p.fMaxDelay = fMax;
}

void ParticleEmitter::setEmitAngleRange(int nMinDegrees, int nMaxDegrees) {
    const float fMin = static_cast<float>(nMinDegrees * kPi / 180.0);
    const float fMax = static_cast<float>(nMaxDegrees * kPi / 180.0);
    check(fMin <= fMax, "Assertion failed : m_fAngleMin <= m_fAngleMax");
    m_p.fAngleMin = fMin;
    m_p.fAngleMax = fMax;
}

int ParticleEmitter::getEmitAngleMin() const { return truncToInt(static_cast<float>(m_p.fAngleMin * 180.0 / kPi)); }

int ParticleEmitter::getEmitAngleMax() const { return truncToInt(static_cast<float>(m_p.fAngleMax * 180.0 / kPi)); }

void ParticleEmitter::setSpeedRange(float fXMin, float fXMax, float fYMin, float fYMax) {
    check(fXMin <= fXMax, "Assertion failed : m_fSpeedXMin <= m_fSpeedXMax");
    check(fYMin <= fYMax, "Assertion failed : m_fSpeedYMin <= m_fSpeedYMax");
    if (m_p.nSpeedType == kSpeedNone) m_p.nSpeedType = kSpeedAbsolute;
    m_p.fSpeedXMin = fXMin;
    m_p.fSpeedXMax = fXMax;
    m_p.fSpeedYMin = fYMin;
    m_p.fSpeedYMax = fYMax;
}

void ParticleEmitter::setAccelerationRange(float fXMin, float fXMax, float fYMin, float fYMax) {
    check(fXMin <= fXMax, "Assertion failed : m_fAccelXMin <= m_fAccelXMax");
    check(fYMin <= fYMax, "Assertion failed : m_fAccelYMin <= m_fAccelYMax");
    if (m_p.nAccelType == kSpeedNone) m_p.nAccelType = kSpeedAbsolute;
    m_p.fAccelXMin = fXMin;
    m_p.fAccelXMax = fXMax;
    m_p.fAccelYMin = fYMin;
    m_p.fAccelYMax = fYMax;
}

void ParticleEmitter::setStartAngleRange(float fMin, float fMax) {
    m_p.fStartAngleMin = fMin;
    m_p.fStartAngleMax = fMax;
}

void ParticleEmitter::setEndAngleRange(float fMin, float fMax) {
    m_p.fEndAngleMin = fMin;
    m_p.fEndAngleMax = fMax;
}

void ParticleEmitter::setFadeFractions(float fIn, float fOut) {
    if (!(fIn >= 0.0f && fIn <= 1.0f && fOut >= 0.0f && fOut <= 1.0f))
        ZEP_THROW(Zep::FatalErrorException, "Expecting fractions");
    m_p.bFading = true;
    m_p.fFadeIn = fIn;
    m_p.fFadeOut = fOut;
}

void ParticleEmitter::setPalette(const Zep::SmartPtr<Image>& pImage) {
    m_p.nColorMode = kColorPalette;
    m_p.pColorImage = pImage;
}

void ParticleEmitter::setRandomTint(const Zep::SmartPtr<Image>& pImage) {
    m_p.nColorMode = kColorRandomTint;
    m_p.pColorImage = pImage;
}

// ---- Emission ----------------------------------------------------------------------------

void ParticleEmitter::update(float fDelta) {
    const EmissionStep step;
    m_p.fAccumulator += m_p.fEmissionRate * fDelta;
    fillToMinimum();
    // Without room the emitter counts as full, whatever its maximum says.
    while (m_p.fAccumulator >= 1.0f && m_lLive.getCount() < m_p.nMaxParticles && hasRoom()) {
        m_p.fAccumulator -= 1.0f;
        if (!emitAny()) break;
    }
    stepLive(fDelta);
}

// An emission that makes nothing (no types, or only carried emitters past
// their bounds) would make nothing again: the accumulator drops its whole
// units at once, since one too large to change by 1.0 would never run down.
bool ParticleEmitter::emitAny() {
    if (emitRound()) return true;
    m_p.fAccumulator -= std::floor(m_p.fAccumulator);
    return false;
}

// Stops when an emission adds nothing: without types the minimum is never met.
void ParticleEmitter::fillToMinimum() {
    while (m_lLive.getCount() < m_p.nMinParticles && hasRoom())
        if (!emitRound()) break;
}

// A particle that died here is released at once, with what it carried.
void ParticleEmitter::stepLive(float fDelta) {
    int i = 0;
    while (i < m_lLive.getCount()) {
        Zep::SmartPtr<Particle> pParticle = m_lLive.get(i);
        pParticle->update(fDelta);
        if (pParticle->isDead())
            m_lLive.removeAt(i);
        else
            ++i;
    }
}

// A round that makes nothing (no types, no room, or only carried emitters
// past their bounds) would make nothing again: the rest are not drawn.
void ParticleEmitter::emit(int nCount) {
    const EmissionStep step;
    if (nCount == -1) nCount = m_p.nMaxParticles;
    for (int n = 0; n < nCount && hasRoom(); ++n)
        if (!emitRound()) break;
}

bool ParticleEmitter::emitRound() {
    const Draw d = drawRound();
    const int nBefore = m_lLive.getCount();
    for (const ParticleType& type : m_lTypes) {
        if (!hasRoom()) break;
        Zep::SmartPtr<Particle> pParticle = makeParticle(type, d);
        if (pParticle.isNULL()) continue;
        ++g_nParticlesMade;
        setUpParticle(*pParticle, d);
        pParticle->update(0.0f);
        m_lLive.add(pParticle);
        if (Zep::SmartPtr<Sprite> pSprite = pParticle->getSprite(); pSprite.notNULL()) pSprite->setVisible(m_bVisible);
    }
    return m_lLive.getCount() != nBefore;
}

// The draws of one round, in their fixed order.
ParticleEmitter::Draw ParticleEmitter::drawRound() const {
    const Params& p = m_p;
    const float fScale = p.fEffectScale;
    Draw d;
    if (p.nAreaType == kAreaRect) {
        d.x = truncToInt(draw(-p.fMinRadius / 2, p.fMinRadius / 2) * fScale + static_cast<float>(p.nX));
        d.y = truncToInt(draw(-p.fMaxRadius / 2, p.fMaxRadius / 2) * fScale + static_cast<float>(p.nY));
    } else {
        d.fAngle = draw(p.fAngleMin, p.fAngleMax);
        const float fRadius = draw(p.fMinRadius, p.fMaxRadius) * fScale;
        d.x = truncToInt(std::cos(d.fAngle) * fRadius + static_cast<float>(p.nX));
        d.y = truncToInt(std::sin(d.fAngle) * fRadius + static_cast<float>(p.nY));
    }
    d.fLifetime = draw(p.fLifetimeMin, p.fLifetimeMax);
    if (p.bScaling) {
        d.fStartScale = draw(p.fScaleStartMin, p.fScaleStartMax) * fScale;
        d.fEndScale = draw(p.fScaleEndMin, p.fScaleEndMax) * fScale;
    }
    if (p.nSpeedType == kSpeedRadial) {
        d.fVelX = draw(p.fSpeedXMin, p.fSpeedXMax) * std::cos(d.fAngle) * fScale;
        d.fVelY = draw(p.fSpeedYMin, p.fSpeedYMax) * std::sin(d.fAngle) * fScale;
    } else if (p.nSpeedType == kSpeedAbsolute) {
        d.fVelX = draw(p.fSpeedXMin, p.fSpeedXMax) * fScale;
        d.fVelY = draw(p.fSpeedYMin, p.fSpeedYMax) * fScale;
    }
    if (p.nAccelType == kSpeedAbsolute) {
        d.fAccelX = draw(p.fAccelXMin, p.fAccelXMax) * fScale;
        d.fAccelY = draw(p.fAccelYMin, p.fAccelYMax) * fScale;
    }
    d.fDelay = draw(p.fMinDelay, p.fMaxDelay);
    d.fStartAngle = draw(p.fStartAngleMin, p.fStartAngleMax);
    d.fEndAngle = draw(p.fEndAngleMin, p.fEndAngleMax);
    return d;
}

// A still image particle, or one that plays the type's animation; null for
// an emitter type beyond the nesting bound or the bound of carried emitters. A random frame of an animation
// without frames fails with the list's range error.
Zep::SmartPtr<Particle> ParticleEmitter::makeParticle(const ParticleType& type, const Draw& d) {
    if (type.nKind == ParticleType::kEmitter) return makeCarrier(type, d);
    const int nZ = zOrderOf(type.nZOffset, m_p.nZOrder);
    Zep::SmartPtr<Image> pImage = type.pImage;
    if (type.nKind == ParticleType::kAnimation && type.bRandomFrame && type.pAnimation.notNULL())
        pImage = Zep::pickRandom(type.pAnimation->getImages());
    Zep::SmartPtr<Particle> pParticle = pImage.notNULL() ? new Particle(m_pOwner, d.x, d.y, pImage, nZ)
                                                         : new Particle(m_pOwner, d.x, d.y, type.pAnimation, nZ);
    pParticle->setBlendMode(m_p.nBlendMode);
    return pParticle;
}

Zep::SmartPtr<Particle> ParticleEmitter::makeCarrier(const ParticleType& type, const Draw& d) {
    if (m_nCarryDepth >= kMaxCarryDepth || g_nCarried >= kMaxCarriedEmitters || g_nCarriersMade >= kMaxCarriedEmitters)
        return Zep::SmartPtr<Particle>();
    ++g_nCarriersMade;
    Zep::SmartPtr<ParticleEmitter> pCarried = new ParticleEmitter(m_pOwner);
    pCarried->setCarryDepth(m_nCarryDepth + 1);
    pCarried->load(type.sDefinition.c_str());
    pCarried->setZOrder(zOrderOf(type.nZOffset, m_p.nZOrder));
    return new Particle(m_pOwner, d.x, d.y, pCarried);
}

void ParticleEmitter::setUpParticle(Particle& particle, const Draw& d) {
    const Params& p = m_p;
    if (p.bRelative) particle.setParent(this);
    particle.setLifetime(d.fLifetime);
    particle.setMaxAlpha(p.fMaxAlpha);
    if (p.bFading) particle.setFade(p.fFadeIn * d.fLifetime, p.fFadeOut * d.fLifetime);
    if (p.bScaling) particle.setScale(d.fStartScale, d.fEndScale);
    if (p.nSpeedType != kSpeedNone) particle.setVelocity(d.fVelX, d.fVelY);
    if (p.nAccelType != kSpeedNone) particle.setAcceleration(d.fAccelX, d.fAccelY);
    if (p.pColorImage.notNULL()) {
        if (p.nColorMode == kColorPalette)
            particle.setPalette(p.pColorImage);
        else
            tint(particle);
    }
    particle.setStartAngle(d.fStartAngle);
    particle.setEndAngle(d.fEndAngle);
    particle.setDelay(d.fDelay);
}

void ParticleEmitter::tint(Particle& particle) {
    Zep::SmartPtr<Sprite> pSprite = particle.getSprite();
    Image& colors = *m_p.pColorImage;
    if (pSprite.isNULL() || colors.getWidth() <= 0 || colors.getHeight() <= 0) return;
    const int x = particleRandom().randInt(0, colors.getWidth() - 1);
    const int y = particleRandom().randInt(0, colors.getHeight() - 1);
    pSprite->setColor(colors.getPixel(x, y));
}

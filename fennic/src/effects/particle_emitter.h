// ParticleEmitter: one particle definition and the particles made from it.
//
// Each emission round draws its random values, in a fixed order, from the
// shared particle generator (particleRandom) and makes one particle per
// particle type, so a seeded game places the same particles on every run:
// place, lifetime, scales, speed, acceleration, delay and angles, then per
// particle the random tint. A continuously emitting emitter is updated every
// frame (by the particle that carries it or by an attaching controller): the
// emission rate fills an accumulator, whole units of which become particles
// while there is room; while the emitter is full the accumulator keeps
// growing, so freed room is refilled at once on a later step.
//
// Bounds that keep bad definitions finite: the minimum-fill loop and an
// emission stop as soon as a round adds nothing (an emitter without types
// never reaches its minimum), and emitters carried by particles nest at most
// kMaxCarryDepth deep: deeper down, emitter types are skipped, so a
// definition that carries itself ends instead of recursing.
//
// Memory stays bounded too, whatever the counts say: one emitter holds at
// most kMaxParticles live particles (all its types together; ten times the
// default count of 100, far beyond any effect of the game), and at most
// kMaxCarriedEmitters carried emitters are alive at once in the whole program
// (a rocket burst carries a few dozen tails); past either bound an emission
// makes no more particles. So the particles of one emitter tree are at most
// kMaxParticles * (kMaxCarriedEmitters + 1). A definition's "minparticles"
// and "maxparticles" above kMaxParticles are clamped to it when the file is
// read, with one line in the log.
//
// The work is bounded as well: one step (an emission, an emitter update or a
// particle list step, with all that it calls) makes at most
// kMaxCarriedEmitters carried emitters and kMaxParticlesPerStep particles,
// even when they die as soon as they are made; what is left waits for later
// steps, as in a full emitter. A step makes at most one full emitter's worth:
// a tree of carried emitters then fills over a few frames instead of making
// thousands of particles (each with its sprite) in one.
//
// Definitions are read from ".emitter" resources by load (emitterdef.cpp),
// once per name; later loads copy the registered definition.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/random.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "anim/animation.h"
#include "image/image.h"
#include "effects/particle.h"

class GameMode;

// The generator behind every emitter's draws; tests seed it.
Zep::Random& particleRandom();

// Held for the life of a step that may make particles; the outermost one
// starts a new allowance of carried emitters and particles to make.
class EmissionStep {
public:
    EmissionStep();
    ~EmissionStep();
    EmissionStep(const EmissionStep&) = delete;
    EmissionStep& operator=(const EmissionStep&) = delete;
};

class ParticleEmitter;
// Runs the lines of a definition text on the emitter, in file order.
// Counts above ParticleEmitter::kMaxParticles are clamped and logged under
// the definition's name.
void readEmitterDefinition(ParticleEmitter& emitter, const char* szName, const char* szText);

// One kind of particle made per emission round, in definition order.
struct ParticleType {
    enum Kind { kImage = 0, kAnimation = 1, kEmitter = 2 };
    int32_t nKind = kImage;
    int32_t nZOffset = 0;
    Zep::SmartPtr<Animation> pAnimation;  // kAnimation
    bool bRandomFrame = false;            // kAnimation: a still of one random frame image
    Zep::SmartPtr<Image> pImage;          // kImage
    Zep::String sDefinition;  // kEmitter: the definition the carried emitter loads
};

class ParticleEmitter : public Zep::RefCountedObject {
public:
    enum { kAreaRadial = 0, kAreaRect = 1 };
    enum { kSpeedNone = 0, kSpeedRadial = 1, kSpeedAbsolute = 2 };
    enum { kColorRandomTint = 0, kColorPalette = 1 };
    enum { kBlendNormal = 0, kBlendAdditive = 1 };
    static constexpr int kMaxCarryDepth = 8;
    static constexpr int kMaxParticles = 1000;
    static constexpr int kMaxCarriedEmitters = 64;
    static constexpr int kMaxParticlesPerStep = kMaxParticles;

    explicit ParticleEmitter(GameMode* pOwner);
    // Live particles are detached as getParticles does and released.
    ~ParticleEmitter() override;
    ParticleEmitter(const ParticleEmitter&) = delete;
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;

    // Reads the definition once per name, then copies the registered one
    // (position and z-order included: set them after load).
    void load(const char* szName);
    // Deletes the registered definitions.
    static void clearDefinitions();
    static int getDefinitionCount();

    // -1: max particles rounds; each round makes one particle per type. Ends
    // early without room (kMaxParticles live, or the step's allowance spent)
    // or when a round makes nothing.
    void emit(int nCount);
    virtual void update(float fDelta);
    // Hands the live particles over with absolute positions; the live list empties.
    Zep::List<Zep::SmartPtr<Particle>> getParticles();
    int getLiveCount() const { return m_lLive.getCount(); }
    const Zep::List<Zep::SmartPtr<Particle>>& getLiveParticles() const { return m_lLive; }

    virtual bool isVisible() const { return m_bVisible; }
    // Applied to the sprite of every live particle as well.
    virtual void setVisible(bool bVisible);
    void setPosition(int x, int y);
    void setPosition(const Point& p) { setPosition(truncToInt(p.x), truncToInt(p.y)); }
    void getPosition(int& x, int& y) const;
    void setZOrder(int nZOrder) { m_p.nZOrder = nZOrder; }
    int getZOrder() const { return m_p.nZOrder; }
    GameMode* getOwner() const { return m_pOwner; }
    // How many carried emitters lie above this one (0 for an emitter of its
    // own). An emitter with a depth above 0 counts as carried while it lives.
    int getCarryDepth() const { return m_nCarryDepth; }
    void setCarryDepth(int nDepth);
    // Carried emitters alive in the whole program; carried emitters and
    // particles made in the last step.
    static int getCarriedCount();
    static int getCarriedMadeInStep();
    static int getParticlesMadeInStep();

    // ---- Types ----
    void addImageType(const Zep::SmartPtr<Image>& pImage, int nZOffset);
    // Each particle plays the animation, or, with random frame, shows one of
    // its distinct frame images picked at random (Zep::pickRandom, so not
    // from the particle generator).
    void addAnimationType(const Zep::SmartPtr<Animation>& pAnimation, bool bRandomFrame, int nZOffset);
    void addEmitterType(const char* szDefinition, int nZOffset);
    // The list's range error for a bad index.
    void removeType(int nIndex) { m_lTypes.removeAt(nIndex); }
    const Zep::List<ParticleType>& getTypes() const { return m_lTypes; }
    // Every parameter and a copy of the types; not the owner, live particles,
    // visibility or carry depth. Null either side asserts.
    void copyFrom(const ParticleEmitter* pSrc);

    // ---- Parameters (checked setters throw AssertFailException) ----
    void setEmissionRate(float fRate) { m_p.fEmissionRate = fRate; }
    float getEmissionRate() const { return m_p.fEmissionRate; }
    float getAccumulator() const { return m_p.fAccumulator; }
    void setMinParticles(int n) { m_p.nMinParticles = n; }
    int getMinParticles() const { return m_p.nMinParticles; }
    void setMaxParticles(int n) { m_p.nMaxParticles = n; }
    int getMaxParticles() const { return m_p.nMaxParticles; }
    void setAreaType(int nType) { m_p.nAreaType = nType; }
    int getAreaType() const { return m_p.nAreaType; }
    // Radius range while radial (ordered), width and height of a rect area.
    void setAreaSize(float fA, float fB);
    float getAreaSizeA() const { return m_p.fMinRadius; }
    float getAreaSizeB() const { return m_p.fMaxRadius; }
    void setLifetimeRange(float fMin, float fMax);
    float getLifetimeMin() const { return m_p.fLifetimeMin; }
    float getLifetimeMax() const { return m_p.fLifetimeMax; }
    void setStartScaleRange(float fMin, float fMax);
    void setEndScaleRange(float fMin, float fMax);
    bool isScaling() const { return m_p.bScaling; }
    float getStartScaleMin() const { return m_p.fScaleStartMin; }
    float getEndScaleMax() const { return m_p.fScaleEndMax; }
    void setDelayRange(float fMin, float fMax);
    // Whole degrees, kept in radians; the getters truncate back to degrees.
    void setEmitAngleRange(int nMinDegrees, int nMaxDegrees);
    float getEmitAngleMinRadians() const { return m_p.fAngleMin; }
    float getEmitAngleMaxRadians() const { return m_p.fAngleMax; }
    int getEmitAngleMin() const;
    int getEmitAngleMax() const;
    void setSpeedType(int nType) { m_p.nSpeedType = nType; }
    int getSpeedType() const { return m_p.nSpeedType; }
    // A speed type of 0 becomes absolute.
    void setSpeedRange(float fXMin, float fXMax, float fYMin, float fYMax);
    // An acceleration type of 0 becomes absolute.
    void setAccelerationRange(float fXMin, float fXMax, float fYMin, float fYMax);
    int getAccelerationType() const { return m_p.nAccelType; }
    void setStartAngleRange(float fMin, float fMax);
    void setEndAngleRange(float fMin, float fMax);
    void setMaxAlpha(float fAlpha) { m_p.fMaxAlpha = fAlpha; }
    float getMaxAlpha() const { return m_p.fMaxAlpha; }
    // Both in [0, 1], else FatalErrorException "Expecting fractions".
    void setFadeFractions(float fIn, float fOut);
    bool isFading() const { return m_p.bFading; }
    float getFadeIn() const { return m_p.fFadeIn; }
    float getFadeOut() const { return m_p.fFadeOut; }
    void setRelativePosition(bool bRelative) { m_p.bRelative = bRelative; }
    bool isRelativePosition() const { return m_p.bRelative; }
    void setEffectScale(float fScale) { m_p.fEffectScale = fScale; }
    float getEffectScale() const { return m_p.fEffectScale; }
    void setPalette(const Zep::SmartPtr<Image>& pImage);
    void setRandomTint(const Zep::SmartPtr<Image>& pImage);
    int getColorMode() const { return m_p.nColorMode; }
    Zep::SmartPtr<Image> getColorImage() const { return m_p.pColorImage; }
    void setBlendMode(int nMode) { m_p.nBlendMode = nMode; }
    int getBlendMode() const { return m_p.nBlendMode; }

    // Every parameter; copyFrom copies all of them.
    struct Params {
        float fEmissionRate = 1.0f;
        float fAccumulator = 0.0f;
        int32_t nMinParticles = 0;
        int32_t nMaxParticles = 100;
        int32_t nAreaType = kAreaRadial;
        float fMinRadius = 0.0f;
        float fMaxRadius = 0.0f;
        bool bScaling = false;
        float fScaleStartMin = 1.0f;
        float fScaleStartMax = 1.0f;
        float fScaleEndMin = 1.0f;
        float fScaleEndMax = 1.0f;
        float fAngleMin = 0.0f;
        float fAngleMax = 6.2831855f;
        int32_t nSpeedType = kSpeedNone;
        float fSpeedXMin = 0.0f;
        float fSpeedXMax = 0.0f;
        float fSpeedYMin = 0.0f;
        float fSpeedYMax = 0.0f;
        int32_t nAccelType = kSpeedNone;
        float fAccelXMin = 0.0f;
        float fAccelXMax = 0.0f;
        float fAccelYMin = 0.0f;
        float fAccelYMax = 0.0f;
        float fStartAngleMin = 0.0f;
        float fStartAngleMax = 0.0f;
        float fEndAngleMin = 0.0f;
        float fEndAngleMax = 0.0f;
        float fMinDelay = 0.0f;
        float fMaxDelay = 0.0f;
        int32_t nX = 0;
        int32_t nY = 0;
        int32_t nZOrder = 0;
        float fLifetimeMin = 10000.0f;
        float fLifetimeMax = 10000.0f;
        float fMaxAlpha = 1.0f;
        bool bFading = false;
        float fFadeIn = 0.0f;
        float fFadeOut = 1.0f;
        bool bRelative = false;
        float fEffectScale = 1.0f;
        int32_t nColorMode = kColorPalette;
        Zep::SmartPtr<Image> pColorImage;
        int32_t nBlendMode = kBlendNormal;
    };
    const Params& getParams() const { return m_p; }

private:
    // The values one emission round draws, shared by its particles.
    struct Draw;
    void fillToMinimum();
    // One emission; false (whole accumulator units dropped) when it made nothing.
    bool emitAny();
    // False when the round made nothing.
    bool emitRound();
    // Below kMaxParticles live, and the step may make more.
    bool hasRoom() const;
    Draw drawRound() const;
    Zep::SmartPtr<Particle> makeParticle(const ParticleType& type, const Draw& d);
    Zep::SmartPtr<Particle> makeCarrier(const ParticleType& type, const Draw& d);
    void setUpParticle(Particle& particle, const Draw& d);
    // A random pixel of the colour image; an empty image tints nothing.
    void tint(Particle& particle);
    void stepLive(float fDelta);

    GameMode* m_pOwner;
    Zep::List<ParticleType> m_lTypes;
    Zep::List<Zep::SmartPtr<Particle>> m_lLive;
    Params m_p;
    bool m_bVisible = true;
    int32_t m_nCarryDepth = 0;
};

// Particles and emitters on the fake clock, with the shared particle
// generator seeded, so positions and counts are the same on every run.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>

#include "anim/animsprite.h"
#include "effects/effectstest_util.h"
#include "effects/particle.h"
#include "effects/particle_emitter.h"

namespace {

using effectstest::EffectsTest;
using effectstest::messageOf;
using effectstest::picture;

class ParticleTest : public EffectsTest {
protected:
    Zep::SmartPtr<Particle> particle(int x = 0, int y = 0) {
        return new Particle(m_pMode.get(), x, y, picture(4, 4, 0, 0), 0);
    }
    // An emitter of the mode with one image type.
    Zep::SmartPtr<ParticleEmitter> emitter(int nTypes = 1) {
        Zep::SmartPtr<ParticleEmitter> p = new ParticleEmitter(m_pMode.get());
        for (int i = 0; i < nTypes; ++i) p->addImageType(picture(2, 2, 0, 0), i);
        return p;
    }
    // Two frames of 0.125 s, without a loop, in a sequence of that name.
    static Zep::SmartPtr<Animation> animation(const char* szSequence) {
        Zep::SmartPtr<Animation> p = new Animation(8.0f);
        p->createSequence(szSequence, false, 8.0f);
        for (int i = 0; i < 2; ++i) p->addFrame(szSequence, picture(2, 2, 0, 0), 1);
        return p;
    }
};

TEST_F(ParticleTest, DelayThenAgeThenDeath) {
    struct Step {
        float fAge, fX;
        bool bVisible, bDead;
    };
    const Step aSteps[] = {{0.0f, 0.0f, false, false},  {0.25f, 2.5f, true, false}, {0.5f, 5.0f, true, false},
                           {0.75f, 7.5f, true, false}, {1.0f, 10.0f, true, true}};
    Zep::SmartPtr<Particle> p = particle();
    p->setDelay(0.5f);
    p->setLifetime(1.0f);
    p->setVelocity(10.0f, 0.0f);
    p->getSprite()->setVisible(false);
    int n = 0;
    for (const Step& s : aSteps) {
        p->update(0.25f);
        EXPECT_FLOAT_EQ(s.fAge, p->getAge()) << "step " << ++n;
        EXPECT_FLOAT_EQ(s.fX, p->getSprite()->getPosition().x) << "step " << n;
        EXPECT_EQ(s.bVisible, p->getSprite()->isVisible()) << "step " << n;
        EXPECT_EQ(s.bDead, p->isDead()) << "step " << n;
    }
}

TEST_F(ParticleTest, FadeScaleRotationAndMaxSpeed) {
    Zep::SmartPtr<Particle> p = particle();
    p->setLifetime(1.0f);
    p->setFade(0.2f, 0.8f);
    p->setScale(1.0f, 3.0f);
    p->setEndAngle(90.0f);
    p->setAcceleration(1e9f, -1e9f);
    const float aDeltas[] = {0.1f, 0.4f, 0.4f};
    const float aAlphas[] = {0.5f, 1.0f, 0.5f};
    for (int i = 0; i < 3; ++i) {
        p->update(aDeltas[i]);
        EXPECT_NEAR(aAlphas[i], p->getSprite()->getAlpha(), 1e-5) << i;
    }
    EXPECT_NEAR(2.8f, p->getSprite()->getScaleX(), 1e-5);
    EXPECT_NEAR(81.0f, p->getSprite()->getRotation(), 1e-4);
    EXPECT_EQ(Point(100000.0f, -100000.0f), p->getVelocity());
}

// A lifetime of 0 counts as the end of life: no 0 / 0 anywhere.
TEST_F(ParticleTest, LifetimeZeroGivesTheEndValues) {
    Zep::SmartPtr<Image> pRamp =
        imagetest::makeImage(4, 1, false, [](int x, int) { return Color(static_cast<uint8_t>(x * 50), 0, 0, 255); })
            .get();
    Zep::SmartPtr<Particle> p = particle();
    p->setLifetime(0.0f);
    p->setFade(0.0f, 0.0f);
    p->setScale(1.0f, 2.0f);
    p->setStartAngle(10.0f);
    p->setEndAngle(20.0f);
    p->setPalette(pRamp);
    p->update(0.0f);
    EXPECT_TRUE(p->isDead());
    EXPECT_FLOAT_EQ(2.0f, p->getSprite()->getScaleX());
    EXPECT_FLOAT_EQ(20.0f, p->getSprite()->getRotation());
    EXPECT_FLOAT_EQ(1.0f, p->getSprite()->getAlpha());
    EXPECT_EQ(150, p->getSprite()->getColor().getRed());
}

// An animated particle plays "default" and dies when it ends, long before its
// lifetime, unless told to outlive it; without "default" it dies at once.
TEST_F(ParticleTest, AnimatedParticlesDieWithTheirAnimation) {
    const std::tuple<const char*, bool, std::string> aCases[] = {
        {"default", true, "001"}, {"default", false, "000"}, {"other", true, "111"}};  // dead after each step
    for (const auto& [szSequence, bDies, sExpected] : aCases) {
        Zep::SmartPtr<Particle> p = new Particle(m_pMode.get(), 3, 4, animation(szSequence), 5);
        p->setDiesWithAnimation(bDies);
        EXPECT_TRUE(m_pMode->containsSprite(p->getSprite()));
        std::string sDead;
        for (float fDelta : {0.0f, 0.125f, 0.125f}) {
            p->update(fDelta);
            sDead += p->isDead() ? "1" : "0";
        }
        EXPECT_EQ(sExpected, sDead) << szSequence << bDies;
    }
}

// Animation types: a playing animated sprite, or a still of one of the
// animation's frame images; both take the emitter's blend mode.
TEST_F(ParticleTest, AnimationTypesPlayOrShowARandomFrame) {
    Zep::SmartPtr<Animation> pAnimation = animation("default");
    Zep::SmartPtr<ParticleEmitter> p = emitter(0);
    p->setZOrder(10);
    p->setBlendMode(ParticleEmitter::kBlendAdditive);
    p->addAnimationType(pAnimation, false, 2);
    p->addAnimationType(pAnimation, true, 1);
    p->emit(2);
    ASSERT_EQ(4, p->getLiveCount());
    for (int i = 0; i < 4; ++i) {
        const Zep::SmartPtr<Particle> q = p->getLiveParticles().get(i);
        const AnimSprite* pPlaying = q->getAnimSprite();
        EXPECT_EQ(i % 2 == 0, pPlaying != nullptr && pPlaying->isPlaying()) << i;
        EXPECT_EQ(i % 2 == 0 ? 12 : 11, q->getSprite()->getZOrder()) << i;
        EXPECT_GE(pAnimation->getImages().indexOf(q->getSprite()->getImage()), 0) << i;
        EXPECT_EQ(ParticleEmitter::kBlendAdditive, q->getSprite()->getBlendMode()) << i;
    }
}

// The destructor never throws: without an owner the sprite is only released.
TEST_F(ParticleTest, DestructionTakesTheSpriteOutOfTheOwnersLayers) {
    EXPECT_NO_THROW({ Zep::SmartPtr<Particle> p = new Particle(nullptr, 1, 2, picture(2, 2, 0, 0), 0); });

    Zep::SmartPtr<Particle> p = particle();
    Zep::SmartPtr<Sprite> pSprite = p->getSprite();
    EXPECT_TRUE(m_pMode->containsSprite(pSprite));
    p = nullptr;
    EXPECT_FALSE(m_pMode->containsSprite(pSprite));

    Zep::SmartPtr<Particle> pKept = particle();
    pKept->setRemovesSprite(false);
    pSprite = pKept->getSprite();
    pKept = nullptr;
    EXPECT_TRUE(m_pMode->containsSprite(pSprite));
}

TEST_F(ParticleTest, ParentsKeepTheScreenPosition) {
    Zep::SmartPtr<ParticleEmitter> pEmitter = emitter();
    pEmitter->setPosition(30, 40);
    Zep::SmartPtr<Particle> p = particle(100, 100);
    p->setParent(pEmitter.get());
    EXPECT_EQ(Point(70.0f, 60.0f), p->getPosition());
    p->update(0.0f);
    EXPECT_EQ(Point(100.0f, 100.0f), p->getSprite()->getPosition());
    pEmitter->setPosition(0, 0);
    p->update(0.0f);
    EXPECT_EQ(Point(70.0f, 60.0f), p->getSprite()->getPosition());
    p->setParent(nullptr);
    EXPECT_EQ(Point(70.0f, 60.0f), p->getPosition());
}

// A dead carrier hands its emitter's particles to the list, which steps them
// in the same pass.
TEST_F(ParticleTest, DeadCarrierHandsOverItsParticles) {
    Zep::SmartPtr<ParticleEmitter> pCarried = emitter();
    pCarried->setRelativePosition(true);
    pCarried->setAreaSize(0.0f, 0.0f);
    pCarried->setEmissionRate(0.0f);
    Zep::SmartPtr<Particle> pCarrier = new Particle(m_pMode.get(), 50, 60, pCarried);
    pCarried->emit(3);
    pCarrier->setLifetime(0.1f);
    pCarrier->setVelocity(10.0f, 0.0f);
    m_pMode->addParticle(pCarrier);
    m_pMode->updateParticles(0.2f);
    ASSERT_EQ(3, m_pMode->getParticles().getCount());
    for (const Zep::SmartPtr<Particle>& p : m_pMode->getParticles()) {
        EXPECT_FLOAT_EQ(0.4f, p->getAge());
        EXPECT_EQ(nullptr, p->getParent());
        EXPECT_EQ(Point(52.0f, 60.0f), p->getPosition());
    }
    EXPECT_EQ(0, pCarried->getLiveCount());
}

// A game's own particle whose step changes the list it is stepped from.
class MeddlingParticle : public Particle {
public:
    enum Act { kNone, kRemoveSelf, kRemoveNext, kClear, kAppend, kDie };
    MeddlingParticle(GameMode* pMode, std::string* pLog, char cName, Act eAct)
        : m_pMode(pMode), m_pLog(pLog), m_cName(cName), m_eAct(eAct) {}
    void update(float) override {
        *m_pLog += m_cName;
        Zep::List<Zep::SmartPtr<Particle>>& l = m_pMode->getParticles();
        if (m_eAct == kRemoveSelf) l.removeAt(l.indexOf(Zep::SmartPtr<Particle>(this)));
        if (m_eAct == kRemoveNext) l.removeAt(l.indexOf(Zep::SmartPtr<Particle>(this)) + 1);
        if (m_eAct == kClear) l.clear();
        if (m_eAct == kAppend) m_pMode->addParticle(new MeddlingParticle(m_pMode, m_pLog, 'n', kNone));
        if (m_eAct == kDie) kill();
    }

private:
    GameMode* m_pMode;
    std::string* m_pLog;
    char m_cName;
    Act m_eAct;
};

TEST_F(ParticleTest, StepsThatChangeTheListAreSafe) {
    using M = MeddlingParticle;
    struct Case {
        M::Act eActOfB;
        const char* szStepped;
        int nLeft;
    };
    for (const Case& c : {Case{M::kNone, "abc", 3}, Case{M::kRemoveSelf, "abc", 2}, Case{M::kRemoveNext, "ab", 2},
                          Case{M::kClear, "ab", 0}, Case{M::kAppend, "abcn", 4}, Case{M::kDie, "abc", 2}}) {
        std::string sLog;
        m_pMode->getParticles().clear();
        for (char cName : std::string("abc"))
            m_pMode->addParticle(new M(m_pMode.get(), &sLog, cName, cName == 'b' ? c.eActOfB : M::kNone));
        m_pMode->updateParticles(0.1f);
        EXPECT_EQ(c.szStepped, sLog) << c.eActOfB;
        EXPECT_EQ(c.nLeft, m_pMode->getParticles().getCount()) << c.eActOfB;
    }
}

TEST_F(ParticleTest, EmitterCountsAndTheAccumulator) {
    Zep::SmartPtr<ParticleEmitter> pTwo = emitter(2);
    pTwo->emit(-1);
    EXPECT_EQ(200, pTwo->getLiveCount());
    EXPECT_EQ(200, m_pMode->getAllSprites().getCount());

    Zep::SmartPtr<ParticleEmitter> pRate = emitter();
    pRate->setEmissionRate(10.0f);
    pRate->update(0.25f);
    EXPECT_EQ(2, pRate->getLiveCount());
    EXPECT_FLOAT_EQ(0.5f, pRate->getAccumulator());

    // Full: the accumulator grows; freed room is refilled at once.
    Zep::SmartPtr<ParticleEmitter> pFull = emitter();
    pFull->setMaxParticles(5);
    pFull->setEmissionRate(4.0f);
    pFull->emit(-1);
    pFull->update(1.0f);
    EXPECT_EQ(5, pFull->getLiveCount());
    EXPECT_FLOAT_EQ(4.0f, pFull->getAccumulator());
    for (int i = 0; i < 3; ++i) pFull->getLiveParticles().get(i)->kill();
    pFull->update(0.0f);
    EXPECT_EQ(2, pFull->getLiveCount());
    pFull->update(0.0f);
    EXPECT_EQ(5, pFull->getLiveCount());
    EXPECT_FLOAT_EQ(1.0f, pFull->getAccumulator());
}

TEST_F(ParticleTest, RectAreaScaledByTheEffectScale) {
    Zep::SmartPtr<ParticleEmitter> p = emitter();
    p->setAreaType(ParticleEmitter::kAreaRect);
    p->setAreaSize(100.0f, 50.0f);
    p->setEffectScale(2.0f);
    p->setPosition(400, 300);
    p->setMaxParticles(500);
    p->emit(-1);
    float fMinX = 1e9f, fMaxX = -1e9f, fMinY = 1e9f, fMaxY = -1e9f;
    for (const Zep::SmartPtr<Particle>& q : p->getLiveParticles()) {
        fMinX = std::min(fMinX, q->getPosition().x);
        fMaxX = std::max(fMaxX, q->getPosition().x);
        fMinY = std::min(fMinY, q->getPosition().y);
        fMaxY = std::max(fMaxY, q->getPosition().y);
    }
    EXPECT_GE(fMinX, 300.0f);
    EXPECT_LE(fMaxX, 500.0f);
    EXPECT_GE(fMinY, 250.0f);
    EXPECT_LE(fMaxY, 350.0f);
    EXPECT_GT(fMaxX - fMinX, 190.0f);
    EXPECT_GT(fMaxY - fMinY, 90.0f);
}

// The draws come in a fixed order from the shared generator: the same seed
// gives the same counts, accumulator values, places, speeds and scales.
TEST_F(ParticleTest, SeededEmissionIsReproducible) {
    auto run = [this] {
        particleRandom().seed(42);
        Zep::SmartPtr<ParticleEmitter> p = emitter();
        p->setPosition(100, 100);
        p->setAreaSize(10.0f, 20.0f);
        p->setLifetimeRange(0.4f, 1.2f);
        p->setStartScaleRange(0.5f, 1.5f);
        p->setEndScaleRange(2.0f, 3.0f);
        p->setSpeedType(ParticleEmitter::kSpeedRadial);
        p->setSpeedRange(10.0f, 20.0f, 10.0f, 20.0f);
        p->setEmissionRate(7.5f);
        p->setMinParticles(2);
        std::ostringstream out;
        for (int i = 0; i < 4; ++i) {
            p->update(0.15f);
            out << p->getLiveCount() << "/" << p->getAccumulator() << ":";
        }
        for (const Zep::SmartPtr<Particle>& q : p->getLiveParticles())
            out << " " << q->getPosition().x << "," << q->getPosition().y << "s" << q->getSprite()->getScaleX();
        return out.str();
    };
    const std::string sFirst = run();
    EXPECT_EQ(sFirst, run());
    EXPECT_EQ("3/0.125:4/0.25:4/0.375:5/0.5: 79.4713,118.802s1.74251 121.534,101.938s2.0437 "
              "107.841,119.888s2.1 84.4818,87.3506s1.57022 103.652,81.6695s1.31975",
              sFirst);
}

TEST_F(ParticleTest, SetterChecks) {
    using Set = void (*)(ParticleEmitter&);
    struct Case {
        Set set;
        const char* szMessage;
    };
    const Case aCases[] = {
        {[](ParticleEmitter& e) { e.setAreaSize(5, 4); }, "Assertion failed : m_fMinRadius <= m_fMaxRadius"},
        {[](ParticleEmitter& e) { e.setLifetimeRange(2, 1); }, "Assertion failed : m_fLifetimeMin <= m_fLifetimeMax"},
        {[](ParticleEmitter& e) { e.setStartScaleRange(2, 1); },
         "Assertion failed : m_fScaleStartMin <= m_fScaleStartMax"},
        {[](ParticleEmitter& e) { e.setEndScaleRange(2, 1); }, "Assertion failed : m_fScaleEndMin <= m_fScaleEndMax"},
        {[](ParticleEmitter& e) { e.setDelayRange(2, 1); }, "Assertion failed : m_fMinDelay <= m_fMaxDelay"},
        {[](ParticleEmitter& e) { e.setEmitAngleRange(90, 0); }, "Assertion failed : m_fAngleMin <= m_fAngleMax"},
        {[](ParticleEmitter& e) { e.setSpeedRange(2, 1, 0, 0); }, "Assertion failed : m_fSpeedXMin <= m_fSpeedXMax"},
        {[](ParticleEmitter& e) { e.setSpeedRange(0, 0, 2, 1); }, "Assertion failed : m_fSpeedYMin <= m_fSpeedYMax"},
        {[](ParticleEmitter& e) { e.setAccelerationRange(2, 1, 0, 0); },
         "Assertion failed : m_fAccelXMin <= m_fAccelXMax"},
        {[](ParticleEmitter& e) { e.setAccelerationRange(0, 0, 2, 1); },
         "Assertion failed : m_fAccelYMin <= m_fAccelYMax"},
        {[](ParticleEmitter& e) { e.copyFrom(nullptr); }, "Assertion failed : pSrc"},
    };
    for (const Case& c : aCases) {
        ParticleEmitter e(nullptr);
        EXPECT_EQ(c.szMessage, messageOf<Zep::AssertFailException>([&] { c.set(e); }));
    }
    ParticleEmitter e(nullptr);
    EXPECT_EQ("Expecting fractions", messageOf<Zep::FatalErrorException>([&] { e.setFadeFractions(0.5f, 1.5f); }));
    e.setAreaType(ParticleEmitter::kAreaRect);
    EXPECT_NO_THROW(e.setAreaSize(100, 50));
    e.setSpeedRange(1, 2, 3, 4);
    EXPECT_EQ(ParticleEmitter::kSpeedAbsolute, e.getSpeedType());
}

// An emitter without types never reaches its minimum: the fill stops.
TEST_F(ParticleTest, EmittersThatMakeNothingEnd) {
    Zep::SmartPtr<ParticleEmitter> pWanting = emitter(0);
    pWanting->setMinParticles(5);
    pWanting->update(0.1f);
    EXPECT_EQ(0, pWanting->getLiveCount());
    // A rate too large for the accumulator to run down by 1.0 a round, on an
    // emitter without types and on one whose carried emitters are too deep.
    Zep::SmartPtr<ParticleEmitter> p = emitter(0), pDeep = emitter(0);
    pDeep->addEmitterType("deeper.emitter", 0);
    pDeep->setCarryDepth(ParticleEmitter::kMaxCarryDepth);
    for (ParticleEmitter* pEmitter : {p.get(), pDeep.get()}) {
        pEmitter->setEmissionRate(2.5f);
        pEmitter->update(1.0f);
        EXPECT_FLOAT_EQ(0.5f, pEmitter->getAccumulator());
        pEmitter->setEmissionRate(1e30f);
        pEmitter->update(1.0f);
        EXPECT_EQ(0.0f, pEmitter->getAccumulator());
        EXPECT_EQ(0, pEmitter->getLiveCount());
    }
}

// A random tint of an empty image tints nothing (and draws nothing).
TEST_F(ParticleTest, TintsAndVisibility) {
    Zep::SmartPtr<ParticleEmitter> p = emitter();
    p->setRandomTint(new MemImage());
    p->emit(1);
    EXPECT_EQ(Color(255, 255, 255, 255), p->getLiveParticles().get(0)->getSprite()->getColor());

    p->setRandomTint(imagetest::solid(3, 2, false, Color(9, 8, 7, 255)).get());
    p->setVisible(false);
    p->emit(1);
    EXPECT_EQ(Color(9, 8, 7, 255), p->getLiveParticles().get(1)->getSprite()->getColor());
    for (const Zep::SmartPtr<Particle>& q : p->getLiveParticles()) EXPECT_FALSE(q->getSprite()->isVisible());
}

TEST_F(ParticleTest, HandedOverParticlesLeaveTheEmitter) {
    Zep::SmartPtr<ParticleEmitter> p = emitter();
    p->setPosition(10, 20);
    p->setRelativePosition(true);
    p->setMinParticles(2);
    p->update(0.0f);
    Zep::List<Zep::SmartPtr<Particle>> lTaken = p->getParticles();
    ASSERT_EQ(2, lTaken.getCount());
    EXPECT_EQ(Point(10.0f, 20.0f), lTaken.get(0)->getPosition());
    EXPECT_EQ(nullptr, lTaken.get(0)->getParent());
    EXPECT_EQ(0, p->getLiveCount());
    p->update(0.0f);
    EXPECT_EQ(2, p->getLiveCount());
}

TEST_F(ParticleTest, CopyTakesParametersPositionAndTypes) {
    Zep::SmartPtr<ParticleEmitter> pSrc = emitter(2);
    pSrc->setPosition(7, 8);
    pSrc->setZOrder(9);
    pSrc->setEmitAngleRange(0, 90);
    Zep::SmartPtr<ParticleEmitter> pCopy = emitter(0);
    pCopy->copyFrom(pSrc.get());
    int x = 0, y = 0;
    pCopy->getPosition(x, y);
    EXPECT_EQ(Point(7.0f, 8.0f), Point(static_cast<float>(x), static_cast<float>(y)));
    EXPECT_EQ(9, pCopy->getZOrder());
    EXPECT_EQ(2, pCopy->getTypes().getCount());
    EXPECT_EQ(1, pCopy->getTypes().get(1).nZOffset);
    EXPECT_EQ(90, pCopy->getEmitAngleMax());
    EXPECT_FLOAT_EQ(1.5707964f, pCopy->getEmitAngleMaxRadians());
}

}  // namespace

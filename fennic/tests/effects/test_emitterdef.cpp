// The ".emitter" reader and its registry: every command, every message, the
// z-order offset rule, reuse without reading again, and the nesting bound of
// definitions that carry themselves.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include <zep2/str.h>

#include "effects/effectstest_util.h"
#include "effects/particle_emitter.h"

namespace {

using effectstest::EffectsTest;
using effectstest::picture;

class EmitterDefTest : public EffectsTest {
protected:
    void SetUp() override {
        EffectsTest::SetUp();
        m_app.addImage("dot", picture(2, 2, 0, 0), true);
        m_app.addImage("ramp", picture(4, 1, 0, 0), true);
    }
    // "Class: message" of what loading the text throws, or "ok".
    std::string failure(const std::string& sText) {
        define("bad.emitter", sText);
        try {
            m_loader.load("bad.emitter");
        } catch (const Zep::Exception& e) {
            return std::string(e.className()) + ": " + e.getMessage();
        }
        return "ok";
    }

    ParticleEmitter m_loader{nullptr};
};

TEST_F(EmitterDefTest, EveryCommandSetsItsParameter) {
    define("all.emitter",
           "# every command once\n"
           "image dot 3\n"
           "emitter spark.emitter\n"
           "palette ramp\n"
           "type RECT\n"
           "emissionrate 12.5\n"
           "lifetimerange 1 2\n"
           "maxalpha 0.5\n"
           "fadefracrange 0.1 0.9\n"
           "startscalerange 0.5 1\n"
           "endscalerange 2 3\n"
           "maxparticles 40\n"
           "minparticles 4\n"
           "radiusrange 9 1\n"
           "rectsize 100 50\n"
           "emitanglerange 0 90\n"
           "startanglerange 10 20\n"
           "endanglerange 30 40\n"
           "relativeposition\n"
           "delayrange 0.5 1\n"
           "speedtype radial\n"
           "BlendMode AdDitive\n"
           "speedrange 1 2 3 4\n"
           "accelerationrange 5 6 7 8\n"
           "effectscale 2x\n"
           "randomtint ramp ignored\n");
    ParticleEmitter e(nullptr);
    e.load("all.emitter");
    const ParticleEmitter::Params& p = e.getParams();
    ASSERT_EQ(2, e.getTypes().getCount());
    EXPECT_EQ(ParticleType::kImage, e.getTypes().get(0).nKind);
    EXPECT_EQ(3, e.getTypes().get(0).nZOffset);
    EXPECT_EQ(ParticleType::kEmitter, e.getTypes().get(1).nKind);
    EXPECT_STREQ("spark.emitter", e.getTypes().get(1).sDefinition.c_str());
    EXPECT_EQ(ParticleEmitter::kAreaRect, p.nAreaType);
    EXPECT_EQ(ParticleEmitter::kColorRandomTint, p.nColorMode);
    EXPECT_EQ(m_app.getImage("ramp"), p.pColorImage);
    const float aFloats[] = {p.fEmissionRate, p.fLifetimeMin,   p.fLifetimeMax,   p.fMaxAlpha,     p.fFadeIn,
                             p.fFadeOut,      p.fScaleStartMin, p.fScaleStartMax, p.fScaleEndMin,  p.fScaleEndMax,
                             p.fMinRadius,    p.fMaxRadius,     p.fStartAngleMin, p.fStartAngleMax, p.fEndAngleMin,
                             p.fEndAngleMax,  p.fMinDelay,      p.fMaxDelay,      p.fSpeedXMin,    p.fSpeedXMax,
                             p.fSpeedYMin,    p.fSpeedYMax,     p.fAccelXMin,     p.fAccelXMax,    p.fAccelYMin,
                             p.fAccelYMax,    p.fEffectScale,   p.fAngleMin};
    const float aExpected[] = {12.5f, 1, 2,  0.5f, 0.1f, 0.9f, 0.5f, 1, 2, 3, 100, 50, 10, 20,
                               30,    40, 0.5f, 1, 1,    2,    3,    4, 5, 6, 7,   8,  2,  0};
    for (size_t i = 0; i < std::size(aFloats); ++i) EXPECT_FLOAT_EQ(aExpected[i], aFloats[i]) << "value " << i;
    EXPECT_FLOAT_EQ(1.5707964f, p.fAngleMax);
    EXPECT_EQ(40, p.nMaxParticles);
    EXPECT_EQ(4, p.nMinParticles);
    EXPECT_TRUE(p.bFading && p.bScaling && p.bRelative);
    EXPECT_EQ(ParticleEmitter::kSpeedRadial, p.nSpeedType);
    EXPECT_EQ(ParticleEmitter::kSpeedAbsolute, p.nAccelType);
    EXPECT_EQ(ParticleEmitter::kBlendAdditive, p.nBlendMode);
}

TEST_F(EmitterDefTest, TheZOrderOffsetNeedsExactlyThreeTokens) {
    struct Case {
        const char* szLine;
        int nOffset;
    };
    const Case aCases[] = {{"image dot 5", 5}, {"image dot", 0}, {"image dot 5 x", 0}, {"emitter x.emitter -4", -4}};
    int n = 0;
    for (const Case& c : aCases) {
        const std::string sName = Zep::String::format("z%d.emitter", ++n).c_str();
        define(sName.c_str(), c.szLine);
        ParticleEmitter e(nullptr);
        e.load(sName.c_str());
        EXPECT_EQ(c.nOffset, e.getTypes().get(0).nZOffset) << c.szLine;
    }
}

TEST_F(EmitterDefTest, EveryFailureAndItsMessage) {
    struct Case {
        const char* szText;
        const char* szFailure;
    };
    const Case aCases[] = {
        {"bogus 1", "FatalErrorException: Unknown command : bogus"},
        {"emissionrate 2\nBOGUS", "FatalErrorException: Unknown command : bogus"},
        {"type circle", "AssertFailException: Assertion failed : false"},
        {"speedtype fast", "FatalErrorException: Unknown SpeedType fast"},
        {"blendmode add", "FatalErrorException: Unknown BlendingMode add"},
        {"blendingmode Add", "FatalErrorException: Unknown BlendingMode Add"},
        {"lifetimerange 1", "FatalErrorException: List index out of range : 2 (have 2)"},
        {"image", "FatalErrorException: List index out of range : 1 (have 1)"},
        {"lifetimerange 2 1", "AssertFailException: Assertion failed : m_fLifetimeMin <= m_fLifetimeMax"},
        {"fadefracrange 0 2", "FatalErrorException: Expecting fractions"},
        {"rectsize 100 50\ntype rect", "AssertFailException: Assertion failed : m_fMinRadius <= m_fMaxRadius"},
        {"emitanglerange 90 0", "AssertFailException: Assertion failed : m_fAngleMin <= m_fAngleMax"},
        {"type rect\nrectsize 100 50", "ok"},
    };
    m_loader.setMaxParticles(7);
    for (const Case& c : aCases) {
        EXPECT_EQ(c.szFailure, failure(c.szText)) << c.szText;
        if (std::string(c.szFailure) == "ok") continue;
        // Nothing registered, the loading emitter untouched.
        EXPECT_EQ(0, ParticleEmitter::getDefinitionCount()) << c.szText;
        EXPECT_EQ(7, m_loader.getMaxParticles()) << c.szText;
    }
    EXPECT_EQ("ResourceException: GameApp::getResource() : Resource 'none.emitter' not found", [&] {
        try {
            m_loader.load("none.emitter");
        } catch (const Zep::Exception& e) {
            return std::string(e.className()) + ": " + e.getMessage();
        }
        return std::string("ok");
    }());
}

// The animation kinds take their animation from the application's cache.
TEST_F(EmitterDefTest, AnimationTypesNameCachedAnimations) {
    define("spin.anim", "fps 8\nseq default\nload dot\nadd dot\n");
    define("anim.emitter", "randomframe spin.anim 4\nAnimation spin.anim 1 2\n");
    ParticleEmitter e(nullptr);
    e.load("anim.emitter");
    ASSERT_EQ(2, e.getTypes().getCount());
    for (const ParticleType& type : e.getTypes()) {
        EXPECT_EQ(ParticleType::kAnimation, type.nKind);
        EXPECT_EQ(m_app.getAnimation("spin.anim"), type.pAnimation);
    }
    EXPECT_TRUE(e.getTypes().get(0).bRandomFrame && e.getTypes().get(0).nZOffset == 4);
    EXPECT_FALSE(e.getTypes().get(1).bRandomFrame || e.getTypes().get(1).nZOffset != 0);
    EXPECT_EQ("FatalErrorException: List index out of range : 1 (have 1)", failure("randomframe"));
}

// A definition is read once; later loads copy it, and what the loading
// emitter held before never reaches the registered definition.
TEST_F(EmitterDefTest, TheRegistryReadsOnceAndStaysClean) {
    define("once.emitter", "image dot\nemissionrate 3\n");
    ParticleEmitter used(nullptr);
    used.setMaxParticles(7);
    used.addImageType(picture(1, 1, 0, 0), 9);
    used.load("once.emitter");
    ParticleEmitter fresh(nullptr);
    fresh.load("once.emitter");
    EXPECT_EQ(1, m_pDefs->m_nLoads);
    EXPECT_EQ(1, ParticleEmitter::getDefinitionCount());
    for (const ParticleEmitter* p : {&used, &fresh}) {
        EXPECT_EQ(1, p->getTypes().getCount());
        EXPECT_EQ(100, p->getMaxParticles());
        EXPECT_FLOAT_EQ(3.0f, p->getEmissionRate());
    }
    // Registered names are exact, case included.
    fresh.load("ONCE.emitter");
    EXPECT_EQ(2, m_pDefs->m_nLoads);
}

// A definition that carries itself stops at the nesting bound.
TEST_F(EmitterDefTest, SelfCarryingDefinitionsNestToABoundedDepth) {
    define("self.emitter", "emitter self.emitter\nminparticles 1\n");
    Zep::SmartPtr<ParticleEmitter> pTop = new ParticleEmitter(m_pMode.get());
    pTop->load("self.emitter");
    pTop->update(0.0f);
    int nLevels = 0;
    for (ParticleEmitter* p = pTop.get(); p && p->getLiveCount() > 0; ++nLevels)
        p = p->getLiveParticles().get(0)->getCarriedEmitter();
    EXPECT_EQ(ParticleEmitter::kMaxCarryDepth, nLevels);
    EXPECT_EQ(1, m_pDefs->m_nLoads);
}

}  // namespace

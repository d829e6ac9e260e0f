// Hostile emitter definitions: counts past the emitter's bounds are clamped
// with one log line, and whatever a definition says, the particles of an
// emitter and the carried emitters alive stay within their bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include <zep2/resource.h>

#include "sprite/gamemode.h"
#include "image/memimage.h"
#include "effects/particle_emitter.h"
#include "sprite/sprite.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_platform.h"

namespace {

constexpr int kMax = ParticleEmitter::kMaxParticles;
constexpr int kCarried = ParticleEmitter::kMaxCarriedEmitters;
constexpr int kPerStep = ParticleEmitter::kMaxParticlesPerStep;

// A later line overrides an earlier one: the rows add their change to it.
const std::string kValid = "image dot\nemissionrate 10\nlifetimerange 100 100\nminparticles 5\nmaxparticles 50\n";

// Live particles of the emitter and of every emitter its particles carry.
int treeCount(const ParticleEmitter& emitter) {
    int n = emitter.getLiveCount();
    for (const Zep::SmartPtr<Particle>& p : emitter.getLiveParticles())
        if (const ParticleEmitter* pCarried = p->getCarriedEmitter()) n += treeCount(*pCarried);
    return n;
}

class HostileEmitter : public ::testing::Test {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
        auto pFiles = std::make_unique<Zep::MemoryResourceProvider>();
        m_pFiles = pFiles.get();
        m_app.addResourceProvider(std::move(pFiles), false);
        m_app.addImage("dot", new MemImage(2, 2, true), true);
        particleRandom().seed(42);
        newLog();
    }
    void TearDown() override { ParticleEmitter::clearDefinitions(); }

    // A new emitter in the mode, loaded from the text as "e.emitter".
    Zep::SmartPtr<ParticleEmitter> loaded(const std::string& sText) {
        ParticleEmitter::clearDefinitions();
        Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(static_cast<int>(sText.size()), nullptr, true);
        std::memcpy(p->getData(), sText.data(), sText.size());
        m_pFiles->add("e.emitter", p);
        Zep::SmartPtr<ParticleEmitter> pEmitter = new ParticleEmitter(&m_mode);
        pEmitter->load("e.emitter");
        return pEmitter;
    }
    // What the log gained since the last call.
    std::string newLog() {
        const std::string sAll = m_files.logText(), sNew = sAll.substr(m_nLogSeen);
        m_nLogSeen = sAll.size();
        return sNew;
    }

    testkit::TempDir m_dir;
    testkit::AppFiles m_files{m_dir};
    testkit::TestApp m_app;
    Zep::MemoryResourceProvider* m_pFiles = nullptr;
    GameMode m_mode;
    size_t m_nLogSeen = 0;
};

}  // namespace

// Each row changes the valid definition, loads it and steps it three times
// by half a second (no particle dies): the counts read, the log line, the
// live particles of the emitter and of its tree, the carried emitters alive.
TEST_F(HostileEmitter, CountsAreClampedAndEmittersStayBounded) {
    const std::string sClamped = "G: ** Emitter 'e.emitter' : ";
    struct Row {
        const char* szChange;
        int nMin, nMax;
        std::string sLog;
        int nLive, nTree, nCarried;
    };
    const Row aRows[] = {
        {"", 5, 50, "", 20, 20, 0},
        {"maxparticles 1000", 5, kMax, "", 20, 20, 0},
        {"maxparticles 1001", 5, kMax, sClamped + "maxparticles 1001 clamped to 1000 **\n", 20, 20, 0},
        {"maxparticles 50000000", 5, kMax, sClamped + "maxparticles 50000000 clamped to 1000 **\n", 20, 20, 0},
        {"maxparticles 4294967396", 5, kMax, sClamped + "maxparticles 4294967396 clamped to 1000 **\n", 20, 20, 0},
        {"MaxParticles 99999999999999999999", 5, kMax,
         sClamped + "maxparticles 99999999999999999999 clamped to 1000 **\n", 20, 20, 0},
        {"emissionrate 1e12", 5, 50, "", 50, 50, 0},
        {"emissionrate 1e12\nmaxparticles 50000000", 5, kMax,
         sClamped + "maxparticles 50000000 clamped to 1000 **\n", kMax, kMax, 0},
        {"minparticles 50000000", kMax, 50, sClamped + "minparticles 50000000 clamped to 1000 **\n", kMax, kMax, 0},
        {"minparticles -2147483649", INT_MIN, 50, "", 15, 15, 0},
        // Three types share the bound: the last round stops at it.
        {"image dot\nimage dot\nminparticles 2000", kMax, 50,
         sClamped + "minparticles 2000 clamped to 1000 **\n", kMax, kMax, 0},
        // A definition that carries itself: the tree grows by a step's allowance.
        {"emitter e.emitter\nemissionrate 1e12", 5, 50, "", 50, std::min(3 * kPerStep, 50 * (kCarried + 1)),
         kCarried},
    };
    for (const Row& row : aRows) {
        {
            Zep::SmartPtr<ParticleEmitter> pEmitter = loaded(kValid + row.szChange);
            EXPECT_EQ(row.nMin, pEmitter->getMinParticles()) << row.szChange;
            EXPECT_EQ(row.nMax, pEmitter->getMaxParticles()) << row.szChange;
            EXPECT_EQ(row.sLog, newLog()) << row.szChange;
            for (int i = 0; i < 3; ++i) pEmitter->update(0.5f);
            EXPECT_EQ(row.nLive, pEmitter->getLiveCount()) << row.szChange;
            EXPECT_EQ(row.nTree, treeCount(*pEmitter)) << row.szChange;
            EXPECT_EQ(row.nCarried, ParticleEmitter::getCarriedCount()) << row.szChange;
        }
        EXPECT_EQ(0, ParticleEmitter::getCarriedCount()) << row.szChange;
    }
}

// Half a minute of frames of a definition that carries itself: each step
// makes its allowance until every emitter of the tree is at the bound.
TEST_F(HostileEmitter, SelfCarryingDefinitionStaysBoundedForHalfAMinute) {
    Zep::SmartPtr<ParticleEmitter> pEmitter = loaded(kValid + "emitter e.emitter\nminparticles 50000000");
    const int nTreeBound = kMax * (kCarried + 1);
    for (int i = 0; i <= nTreeBound / kPerStep; ++i) {
        pEmitter->update(0.5f);
        EXPECT_EQ(std::min(kPerStep * (i + 1), nTreeBound), treeCount(*pEmitter)) << i;
    }
    EXPECT_EQ(kCarried, ParticleEmitter::getCarriedCount());
    // Carriers that die as soon as they are made: one step makes the bounds.
    pEmitter = loaded(kValid + "emitter e.emitter\nlifetimerange 0 0");
    pEmitter->update(0.5f);
    EXPECT_EQ(kCarried, ParticleEmitter::getCarriedMadeInStep());
    EXPECT_EQ(0, ParticleEmitter::getCarriedCount());
    pEmitter = loaded(kValid + "emitter e.emitter\nlifetimerange 0 0\nminparticles 1000");
    pEmitter->update(0.5f);
    EXPECT_EQ(kPerStep, ParticleEmitter::getParticlesMadeInStep());
    EXPECT_EQ(0, ParticleEmitter::getCarriedCount());
}

// Counts set by code bound the emission too; an emitter without types
// returns at once from any count; z-orders saturate instead of overflowing.
TEST_F(HostileEmitter, EmittingKeepsTheBoundsWhateverTheCodeAsks) {
    Zep::SmartPtr<ParticleEmitter> pEmitter = loaded(kValid + "image dot -5");
    pEmitter->setMaxParticles(50000000);
    pEmitter->emit(-1);
    EXPECT_EQ(kMax, pEmitter->getLiveCount());
    pEmitter->getParticles();
    pEmitter->setMinParticles(INT_MAX);
    pEmitter->update(0.0f);
    EXPECT_EQ(kMax, pEmitter->getLiveCount());
    pEmitter->getParticles();
    pEmitter->setZOrder(INT_MIN);
    pEmitter->emit(1);
    EXPECT_EQ(INT_MIN, pEmitter->getLiveParticles().get(1)->getSprite()->getZOrder());

    Zep::SmartPtr<ParticleEmitter> pEmpty = new ParticleEmitter(&m_mode);
    pEmpty->emit(INT_MAX);
    EXPECT_EQ(0, pEmpty->getLiveCount());
}

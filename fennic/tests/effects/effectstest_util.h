// The set-up of the effect suites (controllers, particles, emitters): the
// sprite suites' screen, one mode, the shared particle generator seeded,
// definitions in a memory provider that counts its loads, and the registry
// of definitions emptied after each test.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <zep2/resource.h>

#include "sprite/gamemode.h"
#include "effects/particle_emitter.h"
#include "sprite/sc_base.h"
#include "sprite/spritetest_util.h"
#include "testkit/testkit_sprites.h"

namespace effectstest {

using testkit::messageOf;
using spritetest::picture;
using testkit::EventLog;

// Counts the loads of every name it serves.
class CountingProvider : public Zep::MemoryResourceProvider {
public:
    Zep::SmartPtr<Zep::Resource> load(const char* szName) override {
        ++m_nLoads;
        return MemoryResourceProvider::load(szName);
    }
    int m_nLoads = 0;
};

class EffectsTest : public spritetest::AppWithScreen<> {
protected:
    void SetUp() override {
        spritetest::AppWithScreen<>::SetUp();
        auto pProvider = std::make_unique<CountingProvider>();
        m_pDefs = pProvider.get();
        m_app.addResourceProvider(std::move(pProvider), false);
        particleRandom().seed(42);
        m_pMode = std::make_unique<GameMode>();
    }
    void TearDown() override { ParticleEmitter::clearDefinitions(); }

    void define(const char* szName, const std::string& sText) { m_pDefs->add(szName, testkit::resource(sText)); }
    // A sprite of a w x h picture (anchor at its top-left) in the mode.
    Zep::SmartPtr<Sprite> sprite(int w, int h, float x, float y) {
        Zep::SmartPtr<Sprite> p = new Sprite(picture(w, h, 0, 0), Point(x, y), 0);
        return m_pMode->addSprite(p);
    }
    // Attaches the controller and answers it (still owned by the sprite).
    template <class C>
    static C* attach(Sprite& sprite, std::unique_ptr<C> pController) {
        C* pRaw = pController.get();
        sprite.addController(std::move(pController));
        return pRaw;
    }

    CountingProvider* m_pDefs = nullptr;
    EventLog m_log;  // outlives the mode, whose sprites' controllers write to it
    std::unique_ptr<GameMode> m_pMode;
};

// A controller of a fixed duration that logs its start, its updates (with
// the time it was given) and its deletion: "a start", "a 0.5", "a done", "~a".
class LoggedController : public SpriteController {
public:
    LoggedController(std::string sName, EventLog& log, float fDuration) : m_sName(std::move(sName)), m_rLog(log) {
        getTimer()->setDuration(fDuration, true);
        getTimer()->setFlags(Timer::kClamp);
    }
    ~LoggedController() override { m_rLog.push_back("~" + m_sName); }
    void start(Zep::SmartPtr<Sprite>) override { m_rLog.push_back(m_sName + " start"); }
    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override {
        const bool bDone = SpriteController::update(fDelta, pSprite);
        m_rLog.push_back(m_sName + " " + std::to_string(fDelta).substr(0, 4) + (bDone ? " done" : ""));
        return bDone;
    }
    bool apply(Zep::SmartPtr<Sprite>) override { return getTimer()->isDone(); }
    bool finish(Zep::SmartPtr<Sprite> pSprite) override {
        m_rLog.push_back(m_sName + " finish");
        return SpriteController::finish(pSprite);
    }

private:
    std::string m_sName;
    EventLog& m_rLog;
};

}  // namespace effectstest

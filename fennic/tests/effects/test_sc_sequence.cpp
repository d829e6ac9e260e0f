// Sequencing, callback, attachment and animation controllers: the composite
// timing contract as logs of starts, updates and deletions; frame sounds
// through the fake audio.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <zep2/str.h>

#include "anim/animsprite.h"
#include "base/callbacks.h"
#include "effects/effectstest_util.h"
#include "effects/sc_attach.h"
#include "effects/sc_playanim.h"
#include "effects/sc_sequence.h"
#include "testkit/testkit_audio.h"

namespace {

using effectstest::EffectsTest;
using effectstest::LoggedController;
using effectstest::messageOf;
using effectstest::picture;
using testkit::EventLog;
using Log = std::vector<std::string>;

class SequenceTest : public EffectsTest {
protected:
    std::unique_ptr<SpriteController> logged(const char* szName, float fDuration) {
        return std::make_unique<LoggedController>(szName, m_log, fDuration);
    }
    ControllerList list(std::unique_ptr<SpriteController> a, std::unique_ptr<SpriteController> b) {
        ControllerList l;
        l.push_back(std::move(a));
        l.push_back(std::move(b));
        return l;
    }
    // One sprite update of dt, logged as "| n" with the sprite's controller count after it.
    void step(Sprite& sprite, float fDelta) {
        sprite.updateControllers(fDelta);
        m_log.push_back("| " + std::to_string(sprite.getControllerCount()));
    }
};

TEST_F(SequenceTest, QueueStartsTheNextInTheSameUpdateAndEndsOneUpdateLater) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    pSprite->addController(std::make_unique<SCQueue>(list(logged("a", 1.0f), logged("b", 1.0f))));
    for (int i = 0; i < 5; ++i) step(*pSprite, 0.5f);
    EXPECT_EQ(Log({"a start", "a 0.50", "| 1", "a 0.50 done", "~a", "b start", "| 1", "b 0.50", "| 1", "b 0.50 done",
                   "~b", "| 1", "| 0"}),
              m_log);
}

TEST_F(SequenceTest, SetDropsMembersDuringItsWalk) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    pSprite->addController(std::make_unique<SCSet>(list(logged("a", 0.5f), logged("b", 1.0f))));
    step(*pSprite, 0.5f);
    step(*pSprite, 0.5f);
    EXPECT_EQ(Log({"a start", "b start", "a 0.50 done", "~a", "b 0.50", "| 1", "b 0.50 done", "~b", "| 0"}), m_log);
}

TEST_F(SequenceTest, LoopRestartsItsMembersWithTheirTimersAtZero) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    auto* pLoop = attach(*pSprite, std::make_unique<SCLoop>(list(logged("a", 0.5f), logged("b", 0.5f))));
    step(*pSprite, 0.5f);
    step(*pSprite, 0.5f);
    step(*pSprite, 0.25f);
    EXPECT_EQ(Log({"a start", "a 0.50 done", "b start", "| 1", "b 0.50 done", "a start", "| 1", "a 0.25", "| 1"}),
              m_log);
    EXPECT_EQ(2, pLoop->getCount());
    m_log.clear();
    EXPECT_TRUE(pLoop->finish(pSprite));
    EXPECT_EQ(Log({"a finish", "a 0.25 done", "b finish", "b 0.00 done"}), m_log);

    // Empty: nothing to run, never done.
    SCLoop empty;
    empty.start(pSprite);
    EXPECT_FALSE(empty.update(1.0f, pSprite));
    EXPECT_TRUE(SCQueue().update(1.0f, pSprite));
    EXPECT_TRUE(SCSet().update(1.0f, pSprite));
}

TEST_F(SequenceTest, DelayControllerPassesOnTheOvershoot) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    pSprite->addController(std::make_unique<SCDelayController>(0.5f, logged("a", 0.5f)));
    step(*pSprite, 0.3f);
    step(*pSprite, 0.3f);
    step(*pSprite, 0.4f);
    EXPECT_EQ(Log({"| 1", "a start", "a 0.10", "| 1", "a 0.40 done", "~a", "| 0"}), m_log);

    // finish starts an inner controller that has not started yet.
    m_log.clear();
    SCDelayController delayed(5.0f, logged("b", 1.0f));
    EXPECT_TRUE(delayed.finish(pSprite));
    EXPECT_EQ(Log({"b start", "b finish", "b 1.00 done"}), m_log);
}

TEST_F(SequenceTest, WhenDoneWaitsForTheOtherEffects) {
    struct Target : ICallbackTarget {
        void onCallback(int nId, void* pData) override { lCalls.push_back({nId, pData}); }
        std::vector<std::pair<int, void*>> lCalls;
    } target;
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    pSprite->addController(logged("fade", 1.0f));
    pSprite->addController(std::make_unique<SCCallbackWhenDone>(&target, 7, &target));
    step(*pSprite, 0.5f);
    EXPECT_TRUE(target.lCalls.empty());
    step(*pSprite, 0.5f);
    ASSERT_EQ(1u, target.lCalls.size());
    EXPECT_EQ(7, target.lCalls[0].first);
    EXPECT_EQ(&target, target.lCalls[0].second);

    // The hand-over follows the other effects; the walk runs the new one at once.
    Zep::SmartPtr<Sprite> pOther = sprite(4, 4, 0.0f, 0.0f);
    pOther->addController(logged("fade", 0.5f));
    pOther->addController(std::make_unique<SCWhenDone>(logged("next", 0.5f)));
    step(*pOther, 0.5f);
    step(*pOther, 0.5f);
    EXPECT_EQ(Log({"fade start", "fade 0.50", "| 2", "fade 0.50 done", "~fade", "| 0", "fade start", "fade 0.50 done",
                   "~fade", "next start", "next 0.50 done", "~next", "| 0", "| 0"}),
              m_log);

    pSprite->addController(std::make_unique<SCCallback>(&target, 8, nullptr));
    step(*pSprite, 0.0f);
    EXPECT_EQ(2u, target.lCalls.size());
}

// Without a mode there is nothing to remove: the controllers just end.
TEST_F(SequenceTest, RemovalWithAndWithoutAMode) {
    Zep::SmartPtr<Sprite> pLoose = new Sprite(picture(4, 4, 0, 0), Point(0.0f, 0.0f), 0);
    pLoose->addController(std::make_unique<SCRemove>());
    pLoose->updateControllers(0.1f);
    pLoose->addController(std::make_unique<SCRemoveWhenDone>());
    pLoose->updateControllers(0.1f);
    EXPECT_EQ(0, pLoose->getControllerCount());

    Zep::SmartPtr<Sprite> pShown = sprite(4, 4, 0.0f, 0.0f);
    pShown->addController(logged("a", 0.5f));
    pShown->addController(std::make_unique<SCRemoveWhenDone>());
    step(*pShown, 0.25f);
    EXPECT_TRUE(m_pMode->containsSprite(pShown));
    step(*pShown, 0.25f);
    EXPECT_FALSE(m_pMode->containsSprite(pShown));
    EXPECT_EQ(0, pShown->getControllerCount());
}

TEST_F(SequenceTest, DelaysEndAtTheirDuration) {
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    auto* pDelay = attach(*pSprite, std::make_unique<SCDelay>(1.0f));
    EXPECT_FALSE(pDelay->update(0.75f, pSprite));
    EXPECT_TRUE(pDelay->update(0.25f, pSprite));
    auto* pRandom = attach(*pSprite, std::make_unique<SCRandomDelay>(1.0f, 2.0f));
    const float fDuration = pRandom->getTimer()->getDuration();
    EXPECT_GE(fDuration, 1.0f);
    EXPECT_LT(fDuration, 2.0f);
    EXPECT_FALSE(pRandom->update(0.99f, pSprite));
    EXPECT_TRUE(pRandom->update(1.01f, pSprite));
}

TEST_F(SequenceTest, TimedEmitterHandsItsParticlesToTheMode) {
    m_app.addImage("dot", picture(2, 2, 0, 0), true);
    define("spark.emitter", "image dot\nemissionrate 10\nspeedrange 100 100 0 0\n");
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 50.0f, 60.0f);
    auto* pAttach = attach(*pSprite, std::make_unique<SCAttachEmitter>(Zep::String("spark.emitter"), 2.0f,
                                                                       m_pMode.get(), 3));
    EXPECT_EQ(4, pAttach->getEmitter()->getZOrder());
    for (int i = 0; i < 3; ++i) step(*pSprite, 0.5f);
    EXPECT_EQ(15, pAttach->getEmitter()->getLiveCount());
    EXPECT_EQ(0, m_pMode->getParticles().getCount());
    step(*pSprite, 0.5f);
    EXPECT_EQ(0, pSprite->getControllerCount());
    ASSERT_EQ(15, m_pMode->getParticles().getCount());

    Zep::SmartPtr<Particle> pFirst = m_pMode->getParticles().get(0);
    const float fX = pFirst->getPosition().x;
    m_pMode->updateParticles(0.5f);
    EXPECT_FLOAT_EQ(fX + 50.0f, pFirst->getPosition().x);
    EXPECT_EQ(4, pFirst->getSprite()->getZOrder());
}

TEST_F(SequenceTest, AttachedParticleIsShownAndGivenToTheMode) {
    Zep::SmartPtr<Particle> pParticle = new Particle(m_pMode.get(), 5, 5, picture(2, 2, 0, 0), 0);
    pParticle->getSprite()->setVisible(false);
    Zep::SmartPtr<Sprite> pSprite = sprite(4, 4, 0.0f, 0.0f);
    pSprite->addController(std::make_unique<SCAttachParticle>(pParticle, m_pMode.get()));
    pSprite->updateControllers(0.0f);
    EXPECT_TRUE(pParticle->getSprite()->isVisible());
    EXPECT_EQ(1, m_pMode->getParticles().getCount());
    EXPECT_EQ(0, pSprite->getControllerCount());
}

// Four frames of 0.125 s; frames 0, 1 and 3 sound s0, s1 and s3. Every frame
// passed plays its sound, across a wrap; the frame shown before is not visited.
TEST_F(SequenceTest, PlayAnimationSoundsEveryFramePassedAndEnds) {
    auto pOwned = std::make_unique<testkit::FakeAudioDriver>();
    testkit::FakeAudioDriver* pAudio = pOwned.get();
    m_pPlatform->setAudioDriver(std::move(pOwned));
    pAudio->m_sampleLoader.m_setNames = {"s0", "s1", "s3"};
    m_app.useAudioDriver(pAudio);
    auto animSprite = [](bool bLoop) {
        Zep::SmartPtr<Animation> pAnimation = new Animation(8.0f);
        pAnimation->createSequence("s", bLoop, 8.0f);
        for (int i = 0; i < 4; ++i) pAnimation->addFrame("s", picture(2, 2, 0, 0), 1);
        for (int i : {0, 1, 3}) pAnimation->setProp("s", i, "sound", Zep::String::format("s%d", i).c_str());
        return Zep::SmartPtr<AnimSprite>(new AnimSprite(pAnimation, 0, 0, 0));
    };
    auto played = [pAudio] {
        Log v;
        for (const auto& s : pAudio->m_vSamples)
            v.push_back(s.sName + (s.bLoop ? " loop " : " ") + std::to_string(s.nChannel));
        pAudio->m_vSamples.clear();
        return v;
    };
    Zep::SmartPtr<AnimSprite> pLooping = animSprite(true);
    SCPlayAnimation play(false, false);
    play.setSpeed(2.0f);
    EXPECT_FALSE(play.update(0.125f, pLooping));  // passes 1, lands on 2
    EXPECT_FALSE(play.update(0.1875f, pLooping));  // 3, wraps to 0, lands on 1
    EXPECT_EQ(Log({"s1 -1", "s3 -1", "s0 -1", "s1 -1"}), played());

    // The end: removeWhenDone takes the sprite out of its mode; without a mode it just ends.
    Zep::SmartPtr<AnimSprite> pOnce = animSprite(false);
    m_pMode->addSprite(pOnce);
    pOnce->addController(std::make_unique<SCPlayAnimation>(true, false));
    pOnce->updateControllers(1.0f);
    EXPECT_FALSE(m_pMode->containsSprite(pOnce));
    EXPECT_EQ(0, pOnce->getControllerCount());
    EXPECT_EQ(Log({"s1 -1", "s3 -1"}), played());
    EXPECT_TRUE(SCPlayAnimation(true, false).update(1.0f, animSprite(false)));
    pOnce->addController(std::make_unique<SCPlayAnimation>(false, true));  // restart
    EXPECT_TRUE(pOnce->getFrame() == 0 && pOnce->isPlaying());
    EXPECT_EQ("Assertion failed : pAS", messageOf<Zep::AssertFailException>([&] {
                  SCPlayAnimation(false, false).update(0.1f, sprite(2, 2, 0.0f, 0.0f));
              }));
}

}  // namespace

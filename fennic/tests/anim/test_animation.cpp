// Animation data (properties with inheritance, sequences, aliases, default
// choice, distinct images) and the animated sprite's frame timing.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include <zep2/error.h>

#include "anim/animation.h"
#include "anim/animsprite.h"
#include "image/memimage.h"
#include "testkit/testkit_fixtures.h"

namespace {

using testkit::messageOf;

// The test application with the frame rate the start-up would set.
class AnimApp : public testkit::TestApp {
public:
    explicit AnimApp(int nFps = 60) { m_nFramesPerSecond = nFps; }
};

Zep::SmartPtr<Image> picture() { return new MemImage(2, 2, true); }

std::vector<std::string> strings(const Zep::List<Zep::String>& l) {
    std::vector<std::string> v;
    for (const Zep::String& s : l) v.push_back(s.c_str());
    return v;
}

// An animation with one sequence "s" of n frames, each its own image.
Zep::SmartPtr<Animation> sequenceOf(int n, float fRate, bool bLoop, int nRepeat = 1) {
    Zep::SmartPtr<Animation> p = new Animation(fRate);
    p->createSequence("s", bLoop, fRate);
    for (int i = 0; i < n; ++i) p->addFrame("s", picture(), nRepeat);
    return p;
}

class AnimationData : public ::testing::Test {
protected:
    AnimApp m_app;
};

}  // namespace

TEST_F(AnimationData, RatesSequencesAndAliases) {
    EXPECT_FLOAT_EQ(60.0f, Animation(0.0f).getFrameRate());
    Zep::SmartPtr<Animation> a = new Animation(12.5f);
    EXPECT_FLOAT_EQ(12.5f, a->getFrameRate());
    a->setName("walker");
    // A frame added to a missing sequence creates it with the animation's rate, no loop.
    EXPECT_EQ(0, a->addFrame("walk", picture(), 1));
    EXPECT_FLOAT_EQ(12.5f, a->getSequenceFrameRate("walk"));
    EXPECT_FALSE(a->isSequenceLooping("walk"));
    a->setFrameRate(30.0f);
    EXPECT_FLOAT_EQ(12.5f, a->getSequenceFrameRate("walk"));  // created before
    a->createSequence("run", true, 0.0f);
    EXPECT_FLOAT_EQ(30.0f, a->getSequenceFrameRate("run"));
    a->createSequence("back", false, -2.0f);
    EXPECT_FLOAT_EQ(-2.0f, a->getSequenceFrameRate("back"));
    // An alias is the same object under a second name.
    a->addSequence("walk2", a->getSequence("walk"));
    a->addFrame("walk", picture(), 3);
    EXPECT_EQ(2, a->getFrameCount("walk2"));
    EXPECT_EQ(3, a->getFrameRepeat("walk2", 1));
    EXPECT_EQ("walker already has seq walk", messageOf([&] { a->addSequence("walk", a->getSequence("run")); }));
    EXPECT_EQ(0, a->getFrameCount("nothing"));
    EXPECT_FALSE(a->hasFrame("walk", -1));
    EXPECT_FALSE(a->hasFrame("walk", 2));
    EXPECT_EQ("Hash key not found : \"nothing\"", messageOf([&] { a->getFrameImage("nothing", 0); }));
    EXPECT_EQ("List index out of range : 5 (have 2)", messageOf([&] { a->getFrameRepeat("walk", 5); }));
}

TEST_F(AnimationData, PropertiesFallBackFrameSequenceAnimation) {
    Zep::SmartPtr<Animation> a = sequenceOf(2, 10.0f, false);
    a->PropHolder::setProp("speed", "1");
    a->setProp("s", -1, "speed", "2");
    a->setProp("s", 1, "speed", "3");
    a->PropHolder::setProp("only", "anim");
    EXPECT_EQ("2", a->getFrameProp("s", 0, "speed"));
    EXPECT_EQ("3", a->getFrameProp("s", 1, "speed"));
    EXPECT_EQ("anim", a->getFrameProp("s", 1, "only"));
    EXPECT_EQ("", a->getFrameProp("s", 1, "none"));
    EXPECT_TRUE(a->hasFrameProp("s", 0, "only"));
    EXPECT_FALSE(a->hasFrameProp("s", 0, "none"));
    EXPECT_FALSE(a->getFrame("s", 0)->hasProp("speed", false));
}

TEST_F(AnimationData, DefaultFollowsKeyOrderAndImagesAreDistinct) {
    Zep::SmartPtr<Animation> a = new Animation(10.0f);
    for (const char* szName : {"a", "b", "c"}) a->createSequence(szName, false, 0.0f);
    const std::string sFirst = strings(a->getSequenceNames()).front();
    EXPECT_EQ(sFirst, a->getDefaultSequence().c_str());
    a->createSequence("d", false, 0.0f);
    EXPECT_EQ(sFirst, a->getDefaultSequence().c_str());  // stored once chosen
    Zep::SmartPtr<Image> aImages[3] = {picture(), picture(), picture()};
    for (int i = 0; i < 10; ++i) a->addFrame(i < 5 ? "a" : "b", aImages[i % 3], 1);
    EXPECT_EQ(3, a->getImages().getCount());
    Zep::SmartPtr<Animation> pEmpty = new Animation(10.0f);
    EXPECT_EQ("List index out of range : 0 (have 0)", messageOf([&] { pEmpty->getDefaultSequence(); }));
}

// ---- AnimSprite ---------------------------------------------------------------------

namespace {

struct UpdateStep {
    float fDelta;
    bool bResult;
    int nFrame;
    bool bSkipped;
    bool bFinished;
    float fTimeLeft;
};

struct TimingCase {
    const char* szName;
    int nFrames;
    bool bLoop;
    float fFps;
    std::vector<UpdateStep> lSteps;
};

}  // namespace

TEST_F(AnimationData, SpriteFrameTiming) {
    const TimingCase aCases[] = {
        // The first update reports once; 0.25 s skips to frame 2 with a full 0.1 s left.
        {"skip", 4, true, 10.0f, {{0.05f, true, 0, false, false, 0.05f}, {0.0f, false, 0, false, false, 0.05f}}},
        {"overshoot", 4, true, 10.0f, {{0.25f, true, 2, true, false, 0.1f}, {0.1f, true, 3, false, false, 0.1f}}},
        // -2.0: the four frames take 2 seconds.
        {"duration", 4, true, -2.0f, {{0.4f, true, 0, false, false, 0.1f}, {0.2f, true, 1, false, false, 0.5f}}},
        {"wrap", 2, true, 10.0f, {{0.1f, true, 1, false, false, 0.1f}, {0.1f, true, 0, false, false, 0.1f}}},
        {"end", 2, false, 10.0f, {{0.1f, true, 1, false, false, 0.1f}, {0.3f, true, 1, false, true, 0.1f},
                                  {0.1f, false, 1, false, false, 0.1f}}},
    };
    for (const TimingCase& c : aCases) {
        AnimSprite sprite(sequenceOf(c.nFrames, 10.0f, c.bLoop), 0, 0, 0);
        sprite.play("s", c.fFps, -1);
        for (const UpdateStep& step : c.lSteps) {
            EXPECT_EQ(step.bResult, sprite.update(step.fDelta)) << c.szName;
            EXPECT_EQ(step.nFrame, sprite.getFrame()) << c.szName;
            EXPECT_EQ(step.bSkipped, sprite.hasSkippedFrames()) << c.szName;
            EXPECT_EQ(step.bFinished, sprite.hasFinished()) << c.szName;
            EXPECT_NEAR(step.fTimeLeft, sprite.getTimeLeft(), 1e-5f) << c.szName;
            EXPECT_EQ(sprite.getCurrentImage(), sprite.getImage()) << c.szName;
        }
    }
}

TEST_F(AnimationData, SpritePlayRulesAndHiddenSprites) {
    Zep::SmartPtr<Animation> a = sequenceOf(3, 10.0f, true);
    a->createSequence("default", false, 5.0f);
    a->addFrame("default", picture(), 1);
    // The constructor plays "default", then the default sequence at its own settings.
    AnimSprite sprite(a, 1, 2, 0);
    EXPECT_EQ(a->getDefaultSequence(), sprite.getSequenceName());
    // Rate 0.0 is the sequence's own; loop 0 forces no loop, -1 takes the sequence's.
    sprite.play("s", 0.0f, 0);
    EXPECT_NEAR(0.1f, sprite.getFrameDuration(), 1e-6f);
    EXPECT_TRUE(sprite.update(0.35f));
    EXPECT_TRUE(sprite.hasFinished());
    EXPECT_EQ(2, sprite.getFrame());
    EXPECT_FALSE(sprite.isPlaying());
    sprite.play("s", 0.0f, -1);
    EXPECT_TRUE(sprite.update(0.35f));
    EXPECT_FALSE(sprite.hasFinished());
    EXPECT_EQ(0, sprite.getFrame());
    sprite.play("s", 0.0f, -1);
    sprite.setVisible(false);
    EXPECT_FALSE(sprite.update(1.0f));
    EXPECT_EQ(0, sprite.getFrame());
    sprite.setVisible(true);
    // A missing sequence stops and hides the sprite.
    sprite.play("missing", 10.0f, 1);
    EXPECT_FALSE(sprite.isPlaying());
    EXPECT_TRUE(sprite.getImage().isNULL());
    // No "default" sequence: setAnimation hides, the constructor still shows the default.
    Zep::SmartPtr<Animation> b = sequenceOf(2, 10.0f, true);
    AnimSprite other(b, 0, 0, 0);
    EXPECT_EQ("s", other.getSequenceName());
    EXPECT_TRUE(other.isPlaying());
    other.setAnimation(b);
    EXPECT_TRUE(other.getImage().isNULL());
    AnimSprite empty(Zep::SmartPtr<Animation>(), 0, 0, 0);
    EXPECT_FALSE(empty.isPlaying());
    EXPECT_EQ(0, empty.getFrameCount(nullptr));
}

TEST_F(AnimationData, SpriteFrameProperties) {
    Zep::SmartPtr<Animation> a = sequenceOf(3, 10.0f, true);
    a->setProp("s", 0, "pos", "1,2");
    a->setProp("s", -1, "tag", "seq");
    AnimSprite sprite(a, 0, 0, 0);
    sprite.setFrame(2, -1.0f);
    EXPECT_NEAR(0.1f, sprite.getTimeLeft(), 1e-6f);
    sprite.setFrame(2, 0.03f);
    EXPECT_NEAR(0.03f, sprite.getTimeLeft(), 1e-6f);
    sprite.setFrame(2, std::nanf(""));
    EXPECT_NEAR(0.1f, sprite.getTimeLeft(), 1e-6f);
    EXPECT_EQ("1,2", sprite.findFrameProp("pos"));
    EXPECT_EQ("", sprite.getFrameProp("pos"));
    EXPECT_EQ("seq", sprite.getFrameProp("tag"));
    EXPECT_TRUE(sprite.hasFrameProp("tag"));
    EXPECT_FALSE(sprite.hasFrameProp("none"));
}

// A looping sequence of frames that last no time used to hold update in its
// loop for ever; a pass that gains no time now ends the advance.
TEST_F(AnimationData, ZeroLengthLoopDoesNotHangUpdate) {
    for (int nRepeat : {0, -1}) {
        Zep::SmartPtr<Animation> a = sequenceOf(3, 10.0f, true, 1);
        a->addFrame("s", picture(), nRepeat);
        for (int i = 0; i < 3; ++i) a->getFrame("s", i)->setRepeat(nRepeat);
        AnimSprite sprite(a, 0, 0, 0);
        sprite.play("s", 10.0f, 1);
        sprite.setFrame(0, 0.05f);
        EXPECT_TRUE(sprite.update(0.1f)) << nRepeat;
        EXPECT_TRUE(sprite.hasFrameChanged()) << nRepeat;
        EXPECT_TRUE(sprite.update(0.1f)) << nRepeat;
        EXPECT_EQ(4, a->getFrameCount("s"));  // the data stays as read
    }
}

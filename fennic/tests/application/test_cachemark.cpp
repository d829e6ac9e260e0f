// The cache mark: what the four caches gained after the mark is let go once
// nothing outside holds it; what they held at the mark stays.
#include <gtest/gtest.h>

#include <string>

#include "anim/animsprite.h"
#include "anim/animtest_util.h"
#include "application/cachemark.h"
#include "testkit/testkit_audio.h"

namespace {

std::string joined(const Zep::List<Zep::String>& l) {
    std::string s;
    for (const Zep::String& sName : l) s += std::string(s.empty() ? "" : " ") + sName.c_str();
    return s;
}

// Outlives the application, which may still reach its driver when it goes.
struct AudioHolder {
    testkit::FakeAudioDriver m_audio;
};

class Mark : protected AudioHolder, public animtest::ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        for (const char* szName : {"a", "b", "c"})
            add((std::string(szName) + ".anim").c_str(), std::string("seq s\nload ") + szName + "\nadd " + szName + "\n");
        for (const char* szName : {"s1", "s2"}) m_audio.m_sampleLoader.m_setNames.insert(szName);
        for (const char* szName : {"m1", "m2", "m3"}) m_audio.m_musicLoader.m_setNames.insert(szName);
        m_app.useAudioDriver(&m_audio);
        m_app.initCaches();
    }
    // Each cache's names in the cache's own order.
    std::string cached() {
        return "anims [" + joined(m_app.getAnimationNames()) + "] images [" + joined(m_app.getImageNames()) +
               "] samples [" + joined(m_app.getSampleNames()) + "] music [" + joined(m_app.getMusicNames()) + "]";
    }
};

}  // namespace

TEST_F(Mark, WhatCameAfterGoesOnceUnheldWhatWasMarkedStays) {
    CacheMark mark;
    m_app.getAnimation("a.anim");
    m_app.getSample("s1");
    m_app.getMusic("m1");
    mark.take(m_app);

    m_app.getAnimation("b.anim");                          // nobody holds it, nor its picture
    Zep::SmartPtr<AnimSprite> pSprite = new AnimSprite(m_app.getAnimation("c.anim"), 0, 0, 0);  // shown
    Zep::SmartPtr<Image> pHeld = m_app.getImage("d");
    m_app.getImage("e");
    m_app.getSample("s2");
    Zep::SmartPtr<Music> pPlaying = m_app.getMusic("m3");
    m_app.getMusic("m2");
    const std::string sAll = cached();

    // b.anim goes before the images, so its picture b goes in the same call.
    EXPECT_EQ(mark.releaseNewer(m_app), 5);
    EXPECT_EQ(cached(), "anims [a.anim c.anim] images [d c a] samples [s1] music [m1 m3]") << sAll;

    // Their users gone, the rest of what came after goes; the marked entries
    // stay although nothing holds them.
    pSprite = nullptr;
    pHeld = nullptr;
    pPlaying = nullptr;
    EXPECT_EQ(mark.releaseNewer(m_app), 4);
    EXPECT_EQ(cached(), "anims [a.anim] images [a] samples [s1] music [m1]");

    // Without a mark nothing is let go.
    m_app.getAnimation("b.anim");
    mark.clear();
    EXPECT_FALSE(mark.isTaken());
    EXPECT_EQ(mark.releaseNewer(m_app), 0);
    EXPECT_EQ(cached(), "anims [b.anim a.anim] images [b a] samples [s1] music [m1]");
}

TEST_F(Mark, AnAnimationInUseIsKeptByTheSingleRelease) {
    Zep::SmartPtr<Animation> pHeld = m_app.getAnimation("a.anim");
    m_app.getAnimation("b.anim");
    EXPECT_FALSE(m_app.releaseUnusedAnimation("a.anim"));
    EXPECT_TRUE(m_app.releaseUnusedAnimation("b.anim"));
    EXPECT_FALSE(m_app.releaseUnusedAnimation("none"));
    EXPECT_EQ(joined(m_app.getAnimationNames()), "a.anim");
    EXPECT_EQ(pHeld, m_app.getAnimation("a.anim"));
}

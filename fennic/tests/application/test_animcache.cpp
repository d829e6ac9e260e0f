// The animation cache: keys, loading at once, step-wise preload in the
// queue's hash order, purge by reference count, and the statistics.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "anim/animsprite.h"
#include "anim/animtest_util.h"

namespace {

using animtest::failure;

std::vector<std::string> strings(const Zep::List<Zep::String>& l) {
    std::vector<std::string> v;
    for (const Zep::String& s : l) v.push_back(s.c_str());
    return v;
}

// Each script takes two steps: "seq" and "load" (heavy), then "add".
class AnimCache : public animtest::ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        for (const char* szName : {"a", "b", "c"})
            add((std::string(szName) + ".anim").c_str(), std::string("seq s\nload ") + szName + "\nadd " + szName + "\n");
        add("walk.anim", "seq s\nload w_(0)\nrepeat (1) add w_(0)\n");
    }
    // Steps until the preload is idle; the cached names after each step.
    std::vector<std::string> preloadAll() {
        std::vector<std::string> l;
        while (m_app.isPreloadPending()) {
            m_app.continuePreload();
            std::string s;
            for (const std::string& sName : strings(m_app.getAnimationNames())) s += sName + " ";
            l.push_back(s);
        }
        return l;
    }
    Zep::List<Zep::String> params(std::initializer_list<const char*> l) {
        Zep::List<Zep::String> lParams;
        for (const char* sz : l) lParams.add(sz);
        return lParams;
    }
};

}  // namespace

TEST_F(AnimCache, KeysAndLoading) {
    Zep::SmartPtr<Animation> pRed = m_app.loadAnimation("walk.anim", nullptr, params({"red", "2"}));
    Zep::SmartPtr<Animation> pBlue = m_app.loadAnimation("walk.anim", "", params({"blue", "1"}));
    EXPECT_EQ("walk.anim-red-2", pRed->getName());
    EXPECT_EQ(2, pRed->getFrameCount("s"));
    EXPECT_EQ(1, pBlue->getFrameCount("s"));
    EXPECT_EQ(pRed, m_app.loadAnimation("walk.anim", nullptr, params({"red", "2"})));
    Zep::SmartPtr<Animation> pMine = m_app.loadAnimation("walk.anim", "mine", params({"x", "3"}));
    EXPECT_EQ("mine", pMine->getName());
    EXPECT_EQ(pMine, m_app.loadAnimation("a.anim", "mine", params({})));  // the key decides
    EXPECT_EQ(m_app.getAnimation("a.anim"), m_app.getAnimation("a.anim"));
    EXPECT_TRUE(m_app.isAnimationCached("walk.anim-blue-1"));
    m_app.releaseAnimation("walk.anim-blue-1");
    EXPECT_FALSE(m_app.isAnimationCached("walk.anim-blue-1"));
    EXPECT_EQ(3, m_app.getAnimationNames().getCount());
    EXPECT_EQ("ResourceException: GameApp::getResource() : Resource 'none.anim' not found",
              failure([&] { m_app.getAnimation("none.anim"); }));
    EXPECT_FALSE(m_app.isAnimationCached("none.anim"));
}

TEST_F(AnimCache, PreloadTakesTheQueueInHashOrder) {
    for (const char* szName : {"a.anim", "c.anim", "b.anim"}) m_app.preloadAnimation(szName);
    m_app.preloadAnimation("a.anim");  // queued already
    EXPECT_TRUE(m_app.isPreloadPending());
    // Buckets 73, 26, 23 of 97: b, then a, then c; two steps each, then one idle step.
    EXPECT_EQ((std::vector<std::string>{"", "b.anim ", "b.anim ", "b.anim a.anim ", "b.anim a.anim ",
                                        "b.anim a.anim c.anim ", "b.anim a.anim c.anim "}),
              preloadAll());
    m_app.continuePreload();  // nothing pending: nothing happens
    m_app.preloadAnimation("a.anim");
    EXPECT_FALSE(m_app.isPreloadPending());  // cached already
}

TEST_F(AnimCache, LoadingAQueuedKeyAtOnce) {
    m_app.preloadAnimation("a.anim");
    m_app.preloadAnimation("b.anim");
    m_app.continuePreload();  // b is current, one step in
    // The current loader is finished; a queued one is dropped and the script run at once.
    EXPECT_EQ(1, m_app.getAnimation("b.anim")->getFrameCount("s"));
    EXPECT_EQ(1, m_app.getAnimation("a.anim")->getFrameCount("s"));
    m_app.releaseAnimation("a.anim");
    m_app.releaseAnimation("b.anim");
    EXPECT_EQ((std::vector<std::string>{""}), preloadAll());
}

// A loader whose step threw used to stay current, so the next steps went on
// after the error and cached the half-built animation as if complete.
TEST_F(AnimCache, FailedPreloadStepDropsItsLoader) {
    add("bad.anim", "seq s\nload a\nfrob\nadd a\n");
    m_app.preloadAnimation("bad.anim");
    m_app.continuePreload();
    EXPECT_EQ("AnimationParserException: AnimationLoader : Unknown command 'frob' in bad.anim, line 3",
              failure([&] { m_app.continuePreload(); }));
    EXPECT_EQ((std::vector<std::string>{""}), preloadAll());
    EXPECT_FALSE(m_app.isAnimationCached("bad.anim"));
    // A queued script that is missing fails when queued, not later.
    EXPECT_EQ("ResourceException: GameApp::getResource() : Resource 'none.anim' not found",
              failure([&] { m_app.preloadAnimation("none.anim"); }));
    EXPECT_FALSE(m_app.isPreloadPending());
}

TEST_F(AnimCache, PurgeDropsWhatNothingElseHolds) {
    Zep::SmartPtr<Animation> pHeld = m_app.getAnimation("a.anim");
    AnimSprite sprite(m_app.getAnimation("b.anim"), 0, 0, 0);
    m_app.getAnimation("c.anim");
    m_app.purgeAnimations();
    EXPECT_EQ((std::vector<std::string>{"b.anim", "a.anim"}), strings(m_app.getAnimationNames()));
    pHeld = nullptr;
    sprite.setAnimation(nullptr);
    // purgeCaches: the animations first, so that their images can go too.
    m_app.purgeCaches();
    EXPECT_EQ(0, m_app.getAnimationNames().getCount());
    EXPECT_EQ((std::vector<std::string>{"b"}), strings(m_app.getImageNames()));  // the sprite still shows it
}

// The statistics used to release every animation they listed.
TEST_F(AnimCache, StatisticsOnlyLook) {
    m_app.getAnimation("a.anim");
    m_app.loadAnimation("walk.anim", nullptr, params({"a", "2"}));
    const int nLoads = m_pFactory->m_nLoads;
    m_app.logCacheStatistics();
    EXPECT_EQ(2, m_app.getAnimationNames().getCount());
    EXPECT_EQ(nLoads, m_pFactory->m_nLoads);
    const std::string sLog = m_files.logText();
    EXPECT_NE(std::string::npos,
              sLog.find("========== Image cache stats ==========\n"
                        "    0 KB                            w_a    2x  1  32 BPP [2 refs]\n"
                        "    0 KB                              a    2x  1  32 BPP [1 refs]\n"
                        "Total size = 0 KB\n\n\n"
                        "========== Animation cache stats ==========\n"
                        "    0 KB                  walk.anim-a-2\n"
                        "    0 KB                         a.anim\n"
                        "Total size = 0 KB (0 KB unique)\n\n\n"))
        << sLog;
}

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "sprite/sc_base.h"
#include "sprite/sprite.h"
#include "base/timer.h"

namespace {

TEST(Timer, AdvanceClampAndWrap) {
    // Duration, flags, advances in turn, wrap after them; then elapsed, progress, done, wraps.
    const struct {
        const char* szName;
        float fDuration;
        uint32_t nFlags;
        float aSteps[2];
        bool bWrap;
        float fElapsed, fProgress;
        bool bDone;
        int nWraps;
    } aCases[] = {
        {"zero duration is done at once", 0.0f, 0, {0, 0}, false, 0.0f, 1.0f, true, 0},
        {"unclamped passes the end", 2.0f, 0, {1.5f, 1.5f}, false, 3.0f, 1.5f, true, 0},
        {"clamped stops at the end", 2.0f, Timer::kClamp, {1.5f, 1.5f}, false, 2.0f, 1.0f, true, 0},
        {"clamped never below 0", 2.0f, Timer::kClamp, {-1.0f, 0}, false, 0.0f, 0.0f, false, 0},
        {"wrap drops the remainder", 2.5f, 0, {6.0f, 0}, true, 0.0f, 0.0f, false, 2},
        {"wrap keeps the remainder", 2.5f, Timer::kKeepRemainder, {6.0f, 0}, true, 1.0f, 0.4f, false, 2},
        {"wrap of no duration restarts", 0.0f, Timer::kKeepRemainder, {3.0f, 0}, true, 0.0f, 1.0f, true, 0},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.szName);
        Timer timer(c.fDuration, c.nFlags);
        for (float fStep : c.aSteps) timer.advance(fStep);
        if (c.bWrap) timer.wrap();
        EXPECT_FLOAT_EQ(c.fElapsed, timer.getElapsed());
        EXPECT_FLOAT_EQ(c.fProgress, timer.getProgress());
        EXPECT_EQ(c.bDone, timer.isDone());
        EXPECT_EQ(c.nWraps, timer.getWrapCount());
    }
}

TEST(Timer, SetFlagsAppliesTheClampAndAdvanceResetsTheWrapCount) {
    Timer timer(1.0f, 0);
    timer.advance(3.5f);
    EXPECT_TRUE(timer.setFlags(Timer::kClamp));
    EXPECT_EQ((std::vector<float>{1.0f, 0.0f, 0.0f}),
              (std::vector<float>{timer.getElapsed(), timer.getRemaining(), timer.getRemainingFraction()}));
    timer.setFlags(0);
    timer.setElapsed(2.5f);
    timer.setDuration(1.0f, true);
    EXPECT_EQ(2, timer.getWrapCount());
    timer.advance(0.0f);
    EXPECT_EQ(0, timer.getWrapCount());
    timer.setRemaining(0.25f);
    EXPECT_FLOAT_EQ(0.75f, timer.getElapsed());
    EXPECT_FLOAT_EQ(0.0f, Timer(0.0f, 0).getRemainingFraction());
}

// A controller whose apply reports the progress it sees.
class ProgressController : public SpriteController {
public:
    explicit ProgressController(float* pSeen) : m_pSeen(pSeen) {
        getTimer()->setDuration(2.0f, true);
        getTimer()->setFlags(Timer::kClamp);
    }
    bool apply(Zep::SmartPtr<Sprite>) override {
        *m_pSeen = getTimer()->getProgress();
        return getTimer()->isDone();
    }

private:
    float* m_pSeen;
};

TEST(SpriteController, UpdateAdvancesAndFinishRunsTheRemainder) {
    float fSeen = -1.0f;
    Zep::SmartPtr<Sprite> pSprite = new Sprite();
    ProgressController controller(&fSeen);
    EXPECT_FALSE(controller.update(0.5f, pSprite));
    EXPECT_FLOAT_EQ(0.25f, fSeen);
    Zep::SmartPtr<Timer> pTimer = controller.getTimer();
    EXPECT_TRUE(controller.finish(pSprite));
    EXPECT_EQ(std::make_pair(1.0f, 2.0f), std::make_pair(fSeen, pTimer->getElapsed()));
    EXPECT_EQ(2, pTimer->getRefCount());  // the controller's and this test's

    SpriteController base;  // its apply never reports done
    EXPECT_FALSE(base.update(1.0f, pSprite) || base.finish(pSprite));
    EXPECT_FLOAT_EQ(0.0f, base.getTimer()->getElapsed());  // finish ran the remaining -1
}

}  // namespace

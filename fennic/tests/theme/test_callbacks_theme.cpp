#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "sprite/control.h"
#include "text/font.h"
#include "sprite/gamemode.h"
#include "effects/particle.h"
#include "sprite/spritetest_util.h"
#include "theme/theme.h"

namespace {

struct Received {
    int nId;
    void* pData;
    bool operator==(const Received&) const = default;
};

class RecordingTarget : public ICallbackTarget {
public:
    void onCallback(int nId, void* pData) override { m_vReceived.push_back({nId, pData}); }
    std::vector<Received> m_vReceived;
};

TEST(CallbackTrigger, PassesIdAndDataBackUnchanged) {
    RecordingTarget target;
    Control control(1, 2, 3);
    EXPECT_EQ(nullptr, control.getTarget());
    EXPECT_FALSE(control.trigger());

    int nData = 0;
    control.setCallback(&target, 42, &nData);
    EXPECT_TRUE(control.trigger());
    control.setCallbackId(7);  // the others stay
    EXPECT_TRUE(control.trigger());
    control.setData(nullptr);
    EXPECT_TRUE(control.trigger());
    EXPECT_EQ((std::vector<Received>{{42, &nData}, {7, &nData}, {7, nullptr}}), target.m_vReceived);

    ICallbackTarget* pTarget = nullptr;
    int nId = 0;
    void* pData = &nId;
    control.getCallback(&pTarget, &nId, &pData);
    EXPECT_TRUE(pTarget == &target && nId == 7 && pData == nullptr);
}

// A particle that dies after a number of steps.
class CountdownParticle : public Particle {
public:
    explicit CountdownParticle(int nSteps) : m_nSteps(nSteps) {}
    void update(float) override { setDead(--m_nSteps <= 0); }

private:
    int m_nSteps;
};

TEST(Particles, DeadOnesLeaveTheListInTheStepTheyDie) {
    GameMode mode;
    mode.addParticle(new CountdownParticle(1));
    Zep::List<Zep::SmartPtr<Particle>> lMore;
    lMore.add(new CountdownParticle(2));
    lMore.add(new CountdownParticle(1));
    mode.addParticles(lMore);
    mode.updateParticles(0.1f);
    EXPECT_EQ(1, mode.getParticles().getCount());
    mode.frameUpdate(0.1f);
    EXPECT_EQ(0, mode.getParticles().getCount());
}

}  // namespace

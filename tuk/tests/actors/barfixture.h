// A bar for the actors' tests: the play mode on the test kit's application
// (fake platform, clock, video and audio drivers), its pictures made in
// memory at known sizes, and the figure templates as scripts in memory.
//
// The waitress's template "char0_odile.template" has every sequence she
// plays, at 10 frames a second. Each arm frame carries a "position":
//   standing arms:      left 30 (23, 127), right 36 (97, 127);
//                       on a tray left 48 (23, 154), right 42 (93, 154);
//   walking arms:       two frames, left 31 then 32, right 37 then 38;
//   action sequences:   four frames, 64, 65, 66, 67 ((95, 137), (92, 135),
//                       (88, 138), (83, 139)), "doaction" on frame 2
//                       (the take sequences of the "w" heading have none).
// Walk steps: two body frames. Her body picture is 120 x 160, standing on
// (60, 150). The animation's property "variant" is the letter it was read
// with.
//
// Glasses: "vaso.template" draws glass a, b, c from "vaso_a" (20 x 30),
// "vaso_b" (24 x 40), "vaso_c" (16 x 36), standing on their bottom centre;
// "vaso_brillo.template" from "brillo_a" (20 x 34) and the like. Fixtures:
// coaster "posavaso_1" 30 x 40, sink "sink" 60 x 50 with its four piles,
// dispenser "props" 40 x 40, straws 4 x 30, decorations 8 x 8, the walk
// marker 30 x 16, the money popup 30 x 20, "m_star.anim" one frame of
// "star_1" (20 x 20).
#pragma once

#include <memory>
#include <string>

#include "image/imagetest_util.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_fixtures.h"
#include "testkit/testkit_modes.h"
#include "level/playmode.h"
#include "actors/waitress.h"

namespace bartest {

std::string waitressTemplate();
std::string glassTemplate();
std::string shineTemplate();
// The pictures above, and the scripts in a memory provider.
void addBarContent(GameApp& app);

// A level whose parts each test builds by hand: entering it builds nothing.
class HandBuiltLevel : public PlayMode {
public:
    using PlayMode::PlayMode;
    void onEnter() override {}
};

struct AudioHolder {
    testkit::FakeAudioDriver m_audio;
};

// The play mode on the stack with one walk area (200, 400) - (600, 660) at
// depth 300 and the waitress at (400, 620); frames run on the test kit's
// clock (16 ms each).
class BarTest : protected AudioHolder, public testkit::ModeAppTest {
protected:
    void SetUp() override;
    // The waitress made again with that capacity (Waitress::buildSprites).
    Waitress& makeWaitress(int nCapacity);
    // A full mug of the glass, both liquids nLiquid, in the level's list.
    Zep::SmartPtr<Mug> fullMug(const char* szGlass = "vaso", int nLiquid = 0);
    // An empty, used one.
    Zep::SmartPtr<Mug> emptyMug();
    Zep::SmartPtr<ActionSpot> spot(const char* szType, int x, int y, const Rect& walkRect, int nHeading,
                                   const char* szImage);
    Waitress& waitress() { return *m_pMode->getLevelData().m_pWaitress; }

    PlayMode* m_pMode = nullptr;
};

}  // namespace bartest

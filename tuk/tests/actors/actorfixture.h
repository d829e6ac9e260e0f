// The bar's other actors in the customers' test bar (customerfixture.h).
//
// "juicer.anim" (10 frames a second, picture "juicer" 120 x 150): "normal"
// looping, "funcionando" two frames, "desplaza" ten frames. "button.template"
// draws "button_(0)" (30 x 30) in "notpushed" and "pushed". "parrot.anim":
// one looping frame of "parrot_1" (40 x 40) for every "<heading>_still",
// "_move" and "_legs". "mrbongo.template" plays "play" of "bongo_(0)";
// "dancer.anim" "dance" of "dancer_1". The sounds "sfx_game_juicer" and
// "sfx_game_parrot" exist.
#pragma once

#include <string>

#include "actors/customerfixture.h"
#include "actors/drinkmachine.h"

namespace bartest {

// "1,2": the mug's liquids.
std::string liquidsOf(const Mug& mug);

class ActorTest : public CustomerTest {
protected:
    static constexpr int kMachineX = 300, kMachineY = 250, kMachineZ = 50;

    void SetUp() override;
    // Machine 0 at (300, 250), z 50, mirrored on request, with platform
    // coasters at (310 + 40 i, 393) whose walk rectangle is m_coasterRect,
    // three beverage and three liquid buttons (types 0 to 2) used where she
    // stands; the glass chosen unless nBeverage is -1. A machine made before
    // leaves the scene and the level.
    DrinkMachine& machine(bool bMirrored = false, int nCoasters = 2, int nBeverage = 0);
    // Clicked, then frames of 0.05 s until she has acted and the queue is
    // empty (at most 40).
    void press(ActionSpot& target);
    // The spot in the level's action targets that is that machine button.
    ActionSpot& button(bool bLiquid, int nType);
    // Frames of dt until the predicate holds (false after 2000).
    template <class Pred>
    bool runUntil(Pred pred, float fDelta = 0.05f) {
        for (int i = 0; i < 2000 && !pred(); ++i) m_pMode->onUpdate(fDelta);
        return pred();
    }

    Rect m_coasterRect = Rect(200, 400, 220, 420);  // far from her
    Zep::SmartPtr<DrinkMachine> m_pMachine;
    Zep::List<Zep::SmartPtr<GlassSpot>> m_lCoasters;
};

}  // namespace bartest

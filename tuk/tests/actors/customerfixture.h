// Customers in the actors' test bar: six seats (ordinary 0 to 3 in a row at
// y 450, x 200 + 120 i; VIP seat 4 at (300, 380) facing right, kind 1; VIP
// seat 5 at (500, 380) facing left, kind 2), depth 200, every seat's walk
// rectangle where the waitress stands, so a click needs no walk.
//
// Customer animations (10 frames a second): "ch_<name>.anim" for the names
// below, each part a one-frame looping sequence of "c_part" (40 x 80 on
// (20, 80)) per state suffix, but the drinking arm (part 1; VIP parts 0
// and 5), whose sequences of "c_arm" (40 x 80 on (20, 70)) do not loop:
// entering 3 frames, stand 2, call 4, drink 4 ("dodrink" on frame 1),
// drunk 1, exiting 3; every arm frame has "mugx" 7 and "mugy" 12, the
// animation "mugx" -12 and "mugy" 30. VIP arms loop their stand sequence
// and mark every other frame "waitfinish" "true".
//
// "balloon.template" makes "main" of three 110 x 70 pictures (alpha 100); the
// meters nine 62 x 12 pictures; the icons are red, 24 x 24. The level offers all six
// liquids, 30 s of patience, pace 1, one drink a customer, a bonus of 10 s
// and a penalty of 5 s; the strings "PLY_Bonus" "+%.0f s" and "PLY_Penalty"
// "-%.0f s". The clock starts at 10000 ms; rand and the game's generator are
// seeded. The barman's "barman.template" plays "idle" (one frame) and "work"
// (two), looping, of "barman_1" 110 x 200.
#pragma once

#include <string>

#include "actors/barfixture.h"
#include "actors/character.h"
#include "actors/characterspot.h"

namespace bartest {

// The six-part customer and the balloon template above.
std::string plainCustomerScript();
std::string balloonTemplate();

class CustomerTest : public BarTest {
protected:
    static constexpr int kDepth = 200;

    void SetUp() override;
    // A customer seated at the seat, in the level's list.
    Character& customer(const char* szName = "ana", int nSpot = 0);
    CharacterSpot& seat(int nSpot) { return *m_pMode->getLevelData().m_lCharacterSpots.get(nSpot); }
    // A full mug of the customer's order, in the level's list.
    Zep::SmartPtr<Mug> orderedMug(const Character& customer);
    // Direct updates of dt until the state is reached (false after 4000).
    bool until(Character& customer, int nState, float fDelta = 0.05f);
    // The customer served at the seat in state 3, its meter and balloon up.
    Character& waiting(const char* szName = "ana", int nSpot = 0);
};

}  // namespace bartest

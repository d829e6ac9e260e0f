// The bar of the first day as the game lays it out, read in this process
// with the game's own classes from the packed archives: the level's scene
// with its coasters, sink and seats, and a customer seated at every seat.
// From it come the points a player clicks and the points where the real
// window shows a balloon, a mug on a coaster or the waitress in front of
// the counter. The points follow the scene and the pictures; the test keeps
// none of its own.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "testkit/testkit_xvfb.h"

namespace wholegame {

using Points = std::vector<std::pair<int, int>>;

struct Box {
    int nLeft = 0, nTop = 0, nRight = 0, nBottom = 0;  // right and bottom excluded
    bool contains(int x, int y) const { return x >= nLeft && x < nRight && y >= nTop && y < nBottom; }
    Box grown(int dx, int dy) const { return {nLeft - dx, nTop - dy, nRight + dx, nBottom + dy}; }
};

// Colours a picture puts on the screen at its opaque points, 0xRRGGBB.
struct Patch {
    Points vPoints;
    std::vector<uint32_t> vColours;
};

struct BarSeat {
    int nClickX = 0, nClickY = 0;  // on the seat, clear of the other seats and every balloon
    // The balloon's box as the click finds it, and how far its one-second
    // pulse (5 % about its point far below) moves each edge.
    Box balloon;
    int nPulseX = 0, nPulseTop = 0, nPulseBottom = 0;
    // Where this seat's balloon, whatever its pulse, is opaque and no other
    // seat's balloon ever shows.
    Points vBalloonPoints;
};

struct BarCoaster {
    int nClickX = 0, nClickY = 0;
    // The coaster where any mug standing on it hides it.
    Patch covered;
    // The counter's front below the coaster: hidden while the waitress stands
    // there.
    Points vFront;
};

struct BarMap {
    std::vector<BarSeat> vSeats;  // the ordinary seats, in the scene's order
    std::vector<BarCoaster> vCoasters;  // the barman's coasters, in the scene's order
    int nSinkX = 0, nSinkY = 0;
    int nMoneyGoal = 0;  // of the first day at medium difficulty
};

// The first day's bar at medium difficulty, read with the application object that holds the
// archives (the game's classes reach it as the instance). Fails the test
// when the scene has no sink, no barman's coaster or no ordinary seat.
BarMap readBarMap();

// The share of the patch's points where the screen shows its colours.
float patchShare(const testkit::XScreen::Shot& shot, const Patch& patch);

// The sum of the channel differences of two screen colours.
int distance(uint32_t a, uint32_t b);

}  // namespace wholegame

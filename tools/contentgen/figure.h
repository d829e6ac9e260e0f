// Drawing helpers shared by the people of the content: heads, limbs and
// clothes in the flat cartoon style (a dark outline added afterwards).
#pragma once

#include "canvas.h"

namespace cg {

struct Palette {
    Rgba skin = rgb(0xF1C27D);
    Rgba hair = rgb(0x5A3218);
    Rgba top = rgb(0xFFFFFF);
    Rgba bottom = rgb(0x2A9D8F);
    Rgba shoes = rgb(0x3B2A20);
    Rgba eyes = rgb(0x2B1D14);
    Rgba lips = rgb(0xC0504D);
};

constexpr Rgba kInk = rgb(0x3A2A22);

// An arm bent at an elbow pushed nBend pixels sideways of the straight line
// (its sign picks the side): sleeve to the elbow, forearm and hand of skin.
void drawArm(Canvas& c, Pt shoulder, Pt hand, float fBend, const Palette& p, float fWidth = 9.0f);
// A leg from hip to ankle with a shoe at the ankle, its toe towards nToe
// (-1 left, 0 front, +1 right).
void drawLeg(Canvas& c, Pt hip, Pt ankle, int nToe, const Palette& p, float fWidth = 10.0f);
// Two open eyes or, closed, two short lines.
void drawEyes(Canvas& c, Pt left, Pt right, float r, bool bOpen, const Palette& p);
// A mouth centred at m: a small line, or a smile (an arc).
void drawMouth(Canvas& c, Pt m, float w, bool bSmile, const Palette& p);

// How a small whole figure holds its arms.
enum class Pose { Stand, Wave, Carry, Cheer };

// A whole person fHeight pixels tall, outlined, standing with the feet at
// feet: the small figures of the story panels and the instruction pages.
// Carry holds a glass out at the figure's right.
void drawPerson(Canvas& c, Pt feet, float fHeight, const Palette& p, Pose pose);

}  // namespace cg

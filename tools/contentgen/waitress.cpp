// The waitress: a body, two arms and two thumbs on one 186 x 240 canvas with
// the feet at (93, 236), drawn facing north, east and south; west is east
// mirrored by the template. Every arm picture puts the hand exactly on a
// point of the game's 88-entry table of held-item points, and the template
// gives each arm frame that entry's index as its "position".
#include <cmath>
#include <string>

#include "figure.h"
#include "script.h"
#include "sets.h"

namespace cg {

namespace {

constexpr int kW = 186, kH = 240, kInsX = 93, kInsY = 236;

// The points where an arm frame holds an item, by "position" index.
constexpr int kMugX[88] = {59,  57,  162, 140, 64,  91,  134, 129, 123, 118, 124, 129, 134, 141, 148, 141, 135, 121,
                           132, 135, 139, 144, 138, 129, 126, 121, 116, 120, 126, 129, 23,  23,  23,  23,  23,  23,
                           97,  97,  97,  97,  97,  97,  93,  93,  93,  93,  93,  93,  23,  23,  23,  23,  23,  23,
                           93,  93,  93,  93,  93,  23,  23,  23,  23,  23,  95,  92,  88,  83,  89,  98,  101, 106,
                           111, 107, 101, 98,  93,  98,  104, 109, 103, 98,  93,  86,  79,  86,  92,  106};
constexpr int kMugY[88] = {111, 145, 129, 130, 129, 130, 130, 127, 123, 119, 123, 127, 129, 131, 132, 131, 130, 130,
                           137, 135, 138, 139, 138, 135, 134, 130, 126, 131, 134, 136, 127, 125, 122, 119, 116, 115,
                           127, 125, 122, 119, 116, 115, 154, 151, 149, 146, 144, 144, 154, 156, 158, 161, 163, 166,
                           156, 158, 161, 163, 166, 151, 149, 146, 144, 144, 137, 135, 138, 139, 138, 135, 134, 130,
                           126, 131, 134, 136, 130, 127, 123, 119, 123, 127, 129, 131, 132, 131, 130, 130};

const char* const kPoses[] = {"down", "holdback", "holdfront", "reach", "reachend", "tray"};
enum Pose { Down, HoldBack, HoldFront, Reach, ReachEnd, Tray, PoseCount };
const char* const kSides[] = {"left", "right"};

int nearestPosition(float x, float y) {
    int nBest = 0;
    float fBest = 1e9f;
    for (int i = 0; i < 88; ++i) {
        const float d = (kMugX[i] - x) * (kMugX[i] - x) + (kMugY[i] - y) * (kMugY[i] - y);
        if (d < fBest) fBest = d, nBest = i;
    }
    return nBest;
}

// Wanted hand points by pose for an arm on the picture's left, a mirrored one
// on its right, and the two arms of the east profile.
constexpr Pt kLeftSide[PoseCount] = {{66, 128}, {58, 142}, {60, 112}, {30, 124}, {23, 118}, {97, 127}};
constexpr Pt kEastSide[PoseCount] = {{96, 130}, {84, 134}, {112, 126}, {136, 124}, {146, 131}, {120, 124}};

Pt wanted(char cHeading, int nSide, int nPose) {
    if (cHeading == 'e') return kEastSide[nPose];
    // Facing north the left arm is on the picture's left; facing south on its right.
    const bool bPictureLeft = (cHeading == 'n') == (nSide == 0);
    const Pt p = kLeftSide[nPose];
    return bPictureLeft || nPose == Tray ? p : Pt{kW - p.x, p.y};
}

int positionOf(char cHeading, int nSide, int nPose) {
    if (cHeading == 'w') {
        // West shows east's other arm mirrored.
        const int nEast = positionOf('e', 1 - nSide, nPose);
        return nearestPosition(static_cast<float>(kW - kMugX[nEast]), static_cast<float>(kMugY[nEast]));
    }
    const Pt p = wanted(cHeading, nSide, nPose);
    return nearestPosition(p.x, p.y);
}

Pt shoulderOf(char cHeading, int nSide) {
    if (cHeading == 'e') return nSide == 0 ? Pt{89, 92} : Pt{97, 92};
    const bool bPictureLeft = (cHeading == 'n') == (nSide == 0);
    return bPictureLeft ? Pt{73, 92} : Pt{113, 92};
}

const Palette& odile() {
    static const Palette p = [] {
        Palette q;
        q.skin = rgb(0xF3C9A5);
        q.hair = rgb(0x7A3B1C);
        q.top = rgb(0xFFF6E8);
        q.bottom = rgb(0x1F8A8A);
        q.shoes = rgb(0x8A2431);
        return q;
    }();
    return p;
}

// Legs of one frame: 0 standing, 1..3 a walk cycle.
void drawLegs(Canvas& c, char cHeading, int nFrame) {
    const Palette& p = odile();
    if (cHeading == 'e') {
        static const float kStride[4][2] = {{-3, 3}, {-20, 18}, {-4, 6}, {18, -18}};
        const Palette far = [&] { Palette q = p; q.skin = shade(p.skin, 0.85f); return q; }();
        drawLeg(c, Pt{91, 168}, Pt{93 + kStride[nFrame][0], 228}, 1, far);
        drawLeg(c, Pt{95, 168}, Pt{93 + kStride[nFrame][1], 229}, 1, p);
        return;
    }
    static const float kLift[4][2] = {{0, 0}, {0, -7}, {-2, -2}, {-7, 0}};
    drawLeg(c, Pt{85, 168}, Pt{84, 229 + kLift[nFrame][0]}, 0, p);
    drawLeg(c, Pt{101, 168}, Pt{102, 229 + kLift[nFrame][1]}, 0, p);
}

Canvas drawBody(char cHeading, int nFrame) {
    const Palette& p = odile();
    Canvas c(kW, kH);
    drawLegs(c, cHeading, nFrame);
    const bool bSide = cHeading == 'e';
    const float fHalf = bSide ? 17 : 23;
    // Skirt, blouse, apron, neck.
    c.polygon({{93 - fHalf + 2, 126}, {93 + fHalf - 2, 126}, {93 + fHalf + 12, 176}, {93 - fHalf - 12, 176}}, p.bottom);
    c.roundRect(93 - fHalf, 84, 2 * fHalf, 48, 10, p.top);
    c.rect(88, 70, 10, 18, p.skin);
    if (cHeading != 'n') {
        const float ax = bSide ? 100 : 93;
        c.polygon({{ax - 11, 120}, {ax + 11, 120}, {ax + 15, 170}, {ax - 15, 170}}, rgb(0xF7E3B5));
        c.rect(93 - fHalf, 122, 2 * fHalf, 5, rgb(0xD9A441));
    }
    // Head and hair.
    const float hx = bSide ? 95 : 93;
    if (cHeading == 'n') {
        c.ellipse(hx, 54, 22, 24, p.hair);
        c.ellipse(hx, 84, 8, 18, p.hair);  // the ponytail down the back
    } else if (bSide) {
        c.ellipse(hx - 12, 62, 7, 16, p.hair);
        c.ellipse(hx, 56, 20, 22, p.skin);
        c.ellipse(hx + 20, 60, 4, 4, p.skin);  // nose
        c.polygon({{hx - 22, 52}, {hx - 14, 32}, {hx + 6, 30}, {hx + 20, 44}, {hx - 2, 44}, {hx - 10, 62}}, p.hair);
        drawEyes(c, Pt{hx + 10, 56}, Pt{hx + 10, 56}, 2.2f, true, p);
        drawMouth(c, Pt{hx + 12, 68}, 6, true, p);
    } else {
        c.ellipse(hx, 56, 21, 23, p.skin);
        c.polygon({{hx - 23, 58}, {hx - 20, 36}, {hx, 30}, {hx + 20, 36}, {hx + 23, 58}, {hx + 14, 42}, {hx - 6, 46}},
                  p.hair);
        drawEyes(c, Pt{hx - 8, 57}, Pt{hx + 8, 57}, 2.4f, true, p);
        c.ellipse(hx - 13, 65, 4, 2.5f, rgb(0xF29C9C, 150));
        c.ellipse(hx + 13, 65, 4, 2.5f, rgb(0xF29C9C, 150));
        drawMouth(c, Pt{hx, 68}, 9, true, p);
    }
    c.outline(kInk, 1);
    return c;
}

Canvas drawArmPicture(char cHeading, int nSide, int nPose) {
    const int nPos = positionOf(cHeading, nSide, nPose);
    const Pt hand{static_cast<float>(kMugX[nPos]), static_cast<float>(kMugY[nPos])};
    const Pt shoulder = shoulderOf(cHeading, nSide);
    Palette p = odile();
    if (cHeading == 'e' && nSide == 0) p.skin = shade(p.skin, 0.88f), p.top = shade(p.top, 0.88f);
    Canvas c(kW, kH);
    const float fBend = hand.x < shoulder.x ? 5.0f : -5.0f;
    drawArm(c, shoulder, hand, fBend, p);
    if (nPose == Tray) {
        c.ellipse(hand.x, hand.y + 2, 30, 11, rgb(0x9AA5AE));
        c.ellipse(hand.x, hand.y, 28, 9, rgb(0xD5DCE1));
    }
    c.outline(kInk, 1);
    return c;
}

Canvas drawThumb(char cHeading, int nSide, int nPose) {
    const int nPos = positionOf(cHeading, nSide, nPose);
    Canvas c(kW, kH);
    const float dx = cHeading == 'e' ? -3.0f : 0.0f;
    c.ellipse(kMugX[nPos] + dx, kMugY[nPos] - 3, 3.5f, 5, odile().skin);
    c.outline(kInk, 1);
    return c;
}

std::string armName(char h, int nSide, int nPose) {
    return std::string("w_arm_") + h + "_" + kSides[nSide] + "_" + kPoses[nPose];
}
std::string thumbName(char h, int nSide, int nPose) {
    return std::string("w_thumb_") + h + "_" + kSides[nSide] + "_" + kPoses[nPose];
}

// Loads a picture under the script name, mirrored from another when asked.
void place(Script& s, const std::string& sFile, const std::string& sName, bool bMirror) {
    s.line("load %s", sFile.c_str()).line("clone %s %s", sFile.c_str(), sName.c_str());
    if (bMirror) s.line("hflip %s", sName.c_str());
    s.line("inspos %d %d %s", kInsX, kInsY, sName.c_str());
}

void loadPictures(Script& s) {
    for (char h : {'n', 'e', 's', 'w'}) {
        const char f = h == 'w' ? 'e' : h;
        const bool bMirror = h == 'w';
        for (int i = 0; i < 4; ++i)
            place(s, "odile_body_" + std::string(1, f) + "_" + std::to_string(i),
                  "w_body_" + std::string(1, h) + "_" + std::to_string(i), bMirror);
        for (int nSide = 0; nSide < 2; ++nSide) {
            const int nFileSide = bMirror ? 1 - nSide : nSide;
            for (int nPose = 0; nPose < PoseCount; ++nPose)
                place(s, "odile_arm_" + std::string(1, f) + "_" + kSides[nFileSide] + "_" + kPoses[nPose],
                      armName(h, nSide, nPose), bMirror);
            for (int nPose : {HoldBack, HoldFront})
                place(s, "odile_thumb_" + std::string(1, f) + "_" + kSides[nFileSide] + "_" + kPoses[nPose],
                      thumbName(h, nSide, nPose), bMirror);
        }
    }
    s.line("load empty");
}

// A one-frame arm sequence.
void armSeq(Script& s, const std::string& sSeq, char h, int nSide, int nPose) {
    s.line("seq %s", sSeq.c_str()).line("add %s", armName(h, nSide, nPose).c_str());
    s.line("prop position %d", positionOf(h, nSide, nPose));
}

// An action: reach out, the action point at the far end, back.
void actionSeq(Script& s, const std::string& sSeq, char h, int nSide, bool bTrayArm) {
    s.line("seq %s fps 8", sSeq.c_str());
    const int aPoses[3] = {bTrayArm ? Tray : Reach, bTrayArm ? Tray : ReachEnd, bTrayArm ? Tray : Reach};
    for (int i = 0; i < 3; ++i) {
        s.line("add %s", armName(h, nSide, aPoses[i]).c_str());
        s.line("prop position %d", positionOf(h, nSide, aPoses[i]));
        if (i == 1) s.line("prop doaction true");
    }
}

// The tray sequences of one variant: bLeftTray puts the tray on the left arm.
void traySequences(Script& s, bool bLeftTray) {
    for (char h : {'n', 'e', 's', 'w'}) {
        for (int nSide = 0; nSide < 2; ++nSide) {
            const bool bHolds = (nSide == 0) == bLeftTray;
            const std::string sSide = kSides[nSide];
            armSeq(s, std::string("stand_") + h + "_arm_tray_" + sSide, h, nSide, bHolds ? Tray : Down);
            armSeq(s, std::string("walk_") + h + "_arm_tray_" + sSide, h, nSide, bHolds ? Tray : Down);
        }
        for (const char* szAction : {"serve", "fill", "take"})
            actionSeq(s, std::string(szAction) + "_" + h + "_tray", h, 0, bLeftTray);
    }
}

std::string templateText() {
    Script s;
    s.line("# char0_odile.template: the waitress. Parameter (0): \"A\" carries the tray on the left arm,")
        .line("# anything else (and no parameter) on the right arm. Written by the content generator.");
    loadPictures(s);
    for (char h : {'n', 'e', 's', 'w'}) {
        s.line("seq stand_%c_main", h).line("add w_body_%c_0", h);
        s.line("seq walk_%c_main_left fps 8", h).line("add w_body_%c_1", h).line("add w_body_%c_2", h);
        s.line("seq walk_%c_main_right fps 8", h).line("add w_body_%c_3", h).line("add w_body_%c_2", h);
        for (int nSide = 0; nSide < 2; ++nSide) {
            const std::string sSide = kSides[nSide];
            armSeq(s, std::string("stand_") + h + "_arm_empty_" + sSide, h, nSide, Down);
            armSeq(s, std::string("stand_") + h + "_arm_full_" + sSide, h, nSide, HoldFront);
            s.line("seq stand_%c_thumb_full_%s", h, sSide.c_str());
            s.line("add %s", thumbName(h, nSide, HoldFront).c_str());
            for (const char* szSwing : {"back", "front"}) {
                const int nHold = std::string(szSwing) == "back" ? HoldBack : HoldFront;
                armSeq(s, std::string("walk_") + h + "_arm_empty_" + sSide + "_" + szSwing, h, nSide, Down);
                armSeq(s, std::string("walk_") + h + "_arm_full_" + sSide + "_" + szSwing, h, nSide, nHold);
                s.line("seq walk_%c_thumb_full_%s_%s", h, sSide.c_str(), szSwing);
                s.line("add %s", thumbName(h, nSide, nHold).c_str());
            }
            for (const char* szAction : {"serve", "fill", "take"})
                actionSeq(s, std::string(szAction) + "_" + h + "_" + sSide, h, nSide, false);
        }
    }
    s.line("if == (0) A");
    traySequences(s, true);
    s.line("else");
    traySequences(s, false);
    s.line("endif");
    s.line("seq thumb_empty").line("add empty");
    return s.text();
}

}  // namespace

void makeWaitress(Output& out) {
    for (char h : {'n', 'e', 's'}) {
        for (int i = 0; i < 4; ++i) out.picture("odile_body_" + std::string(1, h) + "_" + std::to_string(i), drawBody(h, i));
        for (int nSide = 0; nSide < 2; ++nSide) {
            const std::string sPrefix = std::string(1, h) + "_" + kSides[nSide] + "_";
            for (int nPose = 0; nPose < PoseCount; ++nPose)
                out.picture("odile_arm_" + sPrefix + kPoses[nPose], drawArmPicture(h, nSide, nPose));
            for (int nPose : {HoldBack, HoldFront})
                out.picture("odile_thumb_" + sPrefix + kPoses[nPose], drawThumb(h, nSide, nPose));
        }
    }
    out.text(Folder::Data, "char0_odile.template", templateText());
}

}  // namespace cg

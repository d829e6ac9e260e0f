// The people's drawing helpers.
#include "figure.h"

#include <cmath>

namespace cg {

void drawArm(Canvas& c, Pt shoulder, Pt hand, float fBend, const Palette& p, float fWidth) {
    const float dx = hand.x - shoulder.x, dy = hand.y - shoulder.y;
    const float len = std::sqrt(dx * dx + dy * dy);
    Pt elbow{(shoulder.x + hand.x) / 2, (shoulder.y + hand.y) / 2};
    if (len > 0) elbow = Pt{elbow.x - dy / len * fBend, elbow.y + dx / len * fBend};
    c.line(elbow.x, elbow.y, hand.x, hand.y, fWidth - 1, p.skin);
    c.line(shoulder.x, shoulder.y, elbow.x, elbow.y, fWidth + 2, p.top);
    c.ellipse(hand.x, hand.y, fWidth * 0.55f, fWidth * 0.55f, p.skin);
}

void drawLeg(Canvas& c, Pt hip, Pt ankle, int nToe, const Palette& p, float fWidth) {
    c.line(hip.x, hip.y, ankle.x, ankle.y, fWidth, p.skin);
    const float fShoe = fWidth * 0.75f;
    c.ellipse(ankle.x + nToe * fShoe * 0.6f, ankle.y + 1, fShoe * (nToe ? 1.3f : 0.9f), fShoe * 0.6f, p.shoes);
}

void drawEyes(Canvas& c, Pt left, Pt right, float r, bool bOpen, const Palette& p) {
    for (Pt e : {left, right}) {
        if (bOpen) {
            c.ellipse(e.x, e.y, r, r * 1.3f, p.eyes);
            c.ellipse(e.x + r * 0.35f, e.y - r * 0.4f, r * 0.35f, r * 0.35f, rgb(0xFFFFFF));
        } else {
            c.line(e.x - r, e.y, e.x + r, e.y, 1.6f, p.eyes);
        }
    }
}

void drawMouth(Canvas& c, Pt m, float w, bool bSmile, const Palette& p) {
    if (!bSmile) {
        c.line(m.x - w / 2, m.y, m.x + w / 2, m.y, 2.0f, p.lips);
        return;
    }
    std::vector<Pt> arc;
    for (int i = 0; i <= 8; ++i) {
        const float a = 3.14159265f * (0.15f + 0.7f * i / 8.0f);
        arc.push_back(Pt{m.x - std::cos(a) * w / 2, m.y - w * 0.15f + std::sin(a) * w * 0.35f});
    }
    c.polyline(arc, 2.2f, p.lips);
}

void drawPerson(Canvas& c, Pt feet, float fHeight, const Palette& p, Pose pose) {
    const float s = fHeight / 100.0f;
    // Drawn on a canvas of its own so that the outline leaves the scene alone.
    const int w = static_cast<int>(80 * s) + 4, h = static_cast<int>(106 * s) + 4;
    Canvas fig(w, h);
    const float cx = w / 2.0f, by = h - 3.0f;
    auto at = [&](float x, float y) { return Pt{cx + x * s, by - y * s}; };
    drawLeg(fig, at(-6, 46), at(-7, 3), -1, p, 8 * s);
    drawLeg(fig, at(6, 46), at(7, 3), 1, p, 8 * s);
    fig.polygon({at(-15, 50), at(15, 50), at(19, 30), at(-19, 30)}, p.bottom);
    fig.roundRect(cx - 14 * s, by - 82 * s, 28 * s, 36 * s, 8 * s, p.top);
    const Pt shoulderL = at(-12, 76), shoulderR = at(12, 76);
    switch (pose) {
        case Pose::Stand:
            drawArm(fig, shoulderL, at(-17, 46), 3 * s, p, 7 * s);
            drawArm(fig, shoulderR, at(17, 46), -3 * s, p, 7 * s);
            break;
        case Pose::Wave:
            drawArm(fig, shoulderL, at(-17, 46), 3 * s, p, 7 * s);
            drawArm(fig, shoulderR, at(30, 100), -5 * s, p, 7 * s);
            break;
        case Pose::Carry:
            drawArm(fig, shoulderL, at(-17, 46), 3 * s, p, 7 * s);
            drawArm(fig, shoulderR, at(32, 62), 5 * s, p, 7 * s);
            fig.roundRect(cx + 26 * s, by - 76 * s, 11 * s, 14 * s, 2 * s, rgb(0xFFF3B0));
            fig.rect(cx + 26 * s, by - 72 * s, 11 * s, 10 * s, rgb(0xF4A261));
            break;
        case Pose::Cheer:
            drawArm(fig, shoulderL, at(-28, 100), 5 * s, p, 7 * s);
            drawArm(fig, shoulderR, at(28, 100), -5 * s, p, 7 * s);
            break;
    }
    fig.rect(cx - 4 * s, by - 88 * s, 8 * s, 8 * s, p.skin);
    fig.ellipse(cx, by - 93 * s, 11 * s, 12 * s, p.skin);
    fig.ellipse(cx, by - 101 * s, 12 * s, 6 * s, p.hair);
    drawEyes(fig, at(-4, 94), at(4, 94), 1.3f * s, true, p);
    drawMouth(fig, at(0, 87), 6 * s, true, p);
    fig.outline(kInk, 1);
    c.blit(fig, static_cast<int>(feet.x - cx), static_cast<int>(feet.y - by));
}

}  // namespace cg

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

}  // namespace cg

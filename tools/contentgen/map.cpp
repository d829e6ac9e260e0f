// The campaign map: a sea chart of the harbour with a dotted road through
// five stage places, the marker of a place and the ring of the current one.
// The places' centres on the chart are kStages; a marker (32 x 32) or the
// ring (48 x 48), both anchored top-left, is centred on one at its centre
// minus half its size.
#include <cmath>
#include <string>

#include "sets.h"
#include "text.h"

namespace cg {

namespace {

constexpr float kPi = 3.14159265f;
constexpr Pt kStages[5] = {{170, 440}, {290, 310}, {430, 390}, {560, 250}, {670, 380}};

void coast(Canvas& c) {
    c.polygon({{90, 520}, {70, 380}, {140, 250}, {260, 200}, {400, 230}, {520, 160}, {660, 170}, {740, 280},
               {730, 470}, {620, 520}, {440, 480}, {300, 530}},
              rgb(0xE9D3A5));
    c.polygon({{110, 500}, {100, 390}, {160, 270}, {270, 225}, {400, 255}, {520, 185}, {650, 195}, {715, 285},
               {705, 455}, {610, 495}, {440, 455}, {300, 505}},
              rgb(0x95D5B2));
    static const float kHills[][3] = {{230, 380, 50}, {480, 300, 60}, {620, 300, 40}};
    for (const auto& h : kHills) c.ellipse(h[0], h[1], h[2], h[2] * 0.5f, rgb(0x74C69D));
}

void road(Canvas& c) {
    for (int i = 0; i + 1 < 5; ++i) {
        const Pt a = kStages[i], b = kStages[i + 1];
        for (int k = 1; k < 10; k += 2) {
            const float t0 = k / 10.0f, t1 = (k + 0.6f) / 10.0f;
            c.line(a.x + (b.x - a.x) * t0, a.y + (b.y - a.y) * t0, a.x + (b.x - a.x) * t1, a.y + (b.y - a.y) * t1,
                   4, rgb(0x9D0208, 200));
        }
    }
}

void compass(Canvas& c, float x, float y) {
    for (int i = 0; i < 4; ++i) {
        const float a = i * kPi / 2, b = a + kPi / 4, d = a - kPi / 4;
        c.polygon({{x + 34 * std::cos(a), y + 34 * std::sin(a)}, {x + 8 * std::cos(b), y + 8 * std::sin(b)},
                   {x, y}, {x + 8 * std::cos(d), y + 8 * std::sin(d)}},
                  i % 2 ? rgb(0x3A2A22) : rgb(0xE63946));
    }
    drawText(c, "N", x, y - 56, TextStyle{16, true, rgb(0x3A2A22), Align::Center});
}

Canvas chart() {
    Canvas c(800, 600);
    c.roundRect(10, 10, 780, 580, 24, rgb(0x8D5524));
    c.roundRect(22, 22, 756, 556, 18, rgb(0x8ECAE6));
    for (int i = 0; i < 30; ++i) {
        const float x = 40.0f + (i * 131) % 720, y = 40.0f + (i * 89) % 520;
        c.polyline({{x, y}, {x + 8, y - 4}, {x + 16, y}, {x + 24, y - 4}}, 2, rgb(0xFFFFFF, 140));
    }
    coast(c);
    road(c);
    compass(c, 80, 110);
    // The title on a ribbon, and the wooden rail along the bottom that carries
    // the stage, day and money lines and the two buttons.
    c.roundRect(262, 30, 276, 54, 12, rgb(0x3A2A22));
    c.roundRect(265, 33, 270, 48, 10, rgb(0x264653));
    drawText(c, "Tuk Harbor", 402, 38, TextStyle{32, true, rgb(0x10242B), Align::Center});
    drawText(c, "Tuk Harbor", 400, 36, TextStyle{32, true, rgb(0xFFF8E7), Align::Center});
    c.roundRect(10, 536, 780, 54, 12, rgb(0x3A2A22));
    c.roundRect(13, 539, 774, 48, 10, rgb(0x6D4426));
    c.line(20, 563, 780, 563, 1.5f, rgb(0x5C3A1E));
    return c;
}

Canvas marker() {
    Canvas c(32, 32);
    c.ellipse(16, 18, 13, 12, rgb(0x000000, 70));
    c.ellipse(16, 16, 13, 13, rgb(0xDDA15E));
    c.ellipse(16, 16, 8, 8, rgb(0xFFF8E7));
    c.outline(rgb(0x3A2A22), 1);
    return c;
}

Canvas current() {
    Canvas c(48, 48);
    c.ellipse(24, 24, 21, 21, rgb(0xE63946));
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            if ((x - 23.5f) * (x - 23.5f) + (y - 23.5f) * (y - 23.5f) < 15.5f * 15.5f) c.set(x, y, Rgba{});
    c.polygon({{24, 0}, {30, 8}, {18, 8}}, rgb(0xFFD60A));
    c.outline(rgb(0x3A2A22), 1);
    return c;
}

}  // namespace

void makeMap(Output& out) {
    out.picture("map_back", chart());
    out.picture("map_marker", marker());
    out.picture("map_current", current());
}

}  // namespace cg

// The main menu's scenery: four layers (sky, sea, beach, the near props),
// seven decoration pictures around the menu's buttons, the frame of the
// game-kind panel and the greeting's pictures.
//
// The menu draws its decoration pictures and the panel frame at the buttons'
// own depth and over them, so each of those pictures is clear wherever a
// button sits: the holes below follow the buttons' places and shapes.
#include <cmath>
#include <string>

#include "sets.h"
#include "text.h"

namespace cg {

namespace {

constexpr Rgba kInk = rgb(0x3A2A22);
constexpr Rgba kWood = rgb(0x8D5524);
constexpr Rgba kDarkWood = rgb(0x5C3A1E);
constexpr Rgba kCream = rgb(0xFFF3D6);

// The four picture buttons of the menu (x, y of their top-left corner on the
// screen; each 140 x 90), and the game-kind panel under the greeting.
struct Spot {
    int x, y, w, h;
};
constexpr Spot kSignButtons[] = {{620, 150, 140, 90}, {600, 305, 140, 90}, {550, 0, 140, 90}, {660, 467, 140, 90}};
constexpr Spot kPanel{24, 378, 380, 170};
constexpr Spot kGreeting{26, 292, 376, 66};
constexpr float kPoleX = 672, kPoleW = 14;
// The decoration pictures are laid at (0, 3).
constexpr int kDecoY = 3;

// Cuts the buttons' shapes (a rounded rectangle a little larger than the
// button's own) out of a decoration picture laid at (0, nTop).
void clearButtons(Canvas& c, int nTop) {
    for (const Spot& s : kSignButtons) {
        Canvas hole(s.w + 2, s.h + 2);
        hole.roundRect(0, 0, s.w + 2, s.h + 2, 12, rgb(0xFFFFFF));
        c.punch(hole, s.x - 1, s.y - 1 - nTop);
    }
}

Canvas sky() {
    Canvas c(800, 600);
    c.gradient(0, 0, 800, 340, rgb(0xF59E5B), rgb(0xFCE3B0));
    c.rect(0, 340, 800, 260, rgb(0xFCE3B0));
    c.ellipse(480, 215, 70, 70, rgb(0xFFE9A0, 120));
    c.ellipse(480, 215, 52, 52, rgb(0xFFD45C));
    static const float kClouds[][3] = {{120, 160, 1.0f}, {330, 215, 0.7f}, {760, 250, 0.9f}, {420, 150, 0.6f}};
    for (const auto& k : kClouds) {
        const float x = k[0], y = k[1], f = k[2];
        const Rgba col = rgb(0xFFF6E8, 210);
        c.ellipse(x, y, 46 * f, 14 * f, col);
        c.ellipse(x - 18 * f, y - 8 * f, 22 * f, 14 * f, col);
        c.ellipse(x + 14 * f, y - 12 * f, 26 * f, 17 * f, col);
    }
    return c;
}

Canvas sea() {
    Canvas c(800, 600);
    // A far island under the horizon line.
    c.ellipse(180, 338, 130, 26, rgb(0x6C8F7D));
    c.ellipse(235, 332, 60, 26, rgb(0x5F8372));
    c.gradient(0, 336, 800, 264, rgb(0x3FA7C9), rgb(0x15607F));
    c.rect(0, 335, 800, 2, rgb(0xFFFFFF, 120));
    for (int i = 0; i < 26; ++i) {
        const float y = 350.0f + (i % 6) * 34 + (i % 6) * (i % 6) * 2.0f;
        const float x = 10.0f + ((i * 173) % 780), w = 16.0f + (i % 6) * 7;
        c.line(x, y, x + w, y, 2 + (i % 6) * 0.4f, rgb(0xFFFFFF, 110));
    }
    // The sun's glitter on the water.
    for (int i = 0; i < 8; ++i) {
        const float y = 345.0f + i * 12;
        c.line(470.0f - i * 3, y, 490.0f + i * 3, y, 2, rgb(0xFFE9A0, 150));
    }
    return c;
}

Canvas beach() {
    Canvas c(800, 600);
    std::vector<Pt> vShore;
    for (int x = 0; x <= 800; x += 20)
        vShore.push_back(Pt{static_cast<float>(x), 500 + 22 * std::sin(x * 0.006f + 0.4f)});
    std::vector<Pt> vFoam = vShore;
    vShore.push_back(Pt{800, 600});
    vShore.push_back(Pt{0, 600});
    c.polygon(vShore, rgb(0xEBCB8B));
    c.polyline(vFoam, 5, rgb(0xFFFFFF, 200));
    for (int i = 0; i < 40; ++i) {
        const float x = 7.0f + (i * 137) % 790, y = 530.0f + (i * 53) % 28;
        c.ellipse(x, y, 1.4f, 1.0f, rgb(0xC9A66B));
    }
    // The boardwalk along the bottom, dark enough for the line of small print on it.
    c.rect(0, 558, 800, 42, rgb(0x6D4426));
    for (int x = 0; x < 800; x += 34) c.line(x, 559, x, 600, 1.5f, rgb(0x4A2E18));
    c.line(0, 558, 800, 558, 2, rgb(0x4A2E18));
    return c;
}

// The beach bar: a thatched hut with a counter and stools.
void hut(Canvas& c) {
    c.rect(440, 250, 12, 230, kWood);
    c.rect(568, 250, 12, 230, kWood);
    c.rect(452, 265, 116, 150, rgb(0xC98B52));
    for (int y = 275; y < 415; y += 14) c.line(452, y, 568, y, 1.5f, rgb(0xA8703E));
    c.roundRect(470, 290, 80, 50, 6, rgb(0x2B1B10));
    c.ellipse(492, 320, 6, 12, rgb(0xF4A261));
    c.ellipse(512, 318, 6, 14, rgb(0x2A9D8F));
    c.ellipse(532, 320, 6, 12, rgb(0xE76F51));
    c.polygon({{410, 268}, {510, 180}, {612, 268}}, rgb(0xD9A441));
    for (int i = 0; i < 12; ++i) c.line(510, 186, 414.0f + i * 17.5f, 268, 2, rgb(0xB5812B));
    c.polyline({{410, 268}, {430, 276}, {450, 268}, {470, 276}, {490, 268}, {510, 276}, {530, 268}, {550, 276},
                {570, 268}, {590, 276}, {612, 268}},
               4, rgb(0xB5812B));
    c.roundRect(430, 410, 160, 22, 4, rgb(0x6D4426));
    c.rect(440, 432, 140, 60, rgb(0x8D5524));
    for (int x = 448; x < 580; x += 22) c.line(x, 434, x, 490, 2, rgb(0x6D4426));
    for (int i = 0; i < 3; ++i) {
        const float x = 455.0f + i * 55;
        c.rect(x + 8, 470, 4, 34, rgb(0x4A2E18));
        c.ellipse(x + 10, 468, 16, 6, rgb(0xE76F51));
    }
}

// The greeting board and the game-kind board on their posts.
void boards(Canvas& c) {
    const Spot& g = kGreeting;
    c.rect(g.x + 40, g.y + g.h - 4, 10, kPanel.y - g.y - g.h + 12, kDarkWood);
    c.rect(g.x + g.w - 50, g.y + g.h - 4, 10, kPanel.y - g.y - g.h + 12, kDarkWood);
    c.roundRect(g.x, g.y, g.w, g.h, 12, kDarkWood);
    c.roundRect(g.x + 4, g.y + 4, g.w - 8, g.h - 8, 9, kWood);
    for (int i = 1; i < 3; ++i) {
        const float y = g.y + i * g.h / 3.0f;
        c.line(g.x + 10, y, g.x + g.w - 10, y, 1.5f, shade(kWood, 0.85f));
    }
    const Spot& p = kPanel;
    c.rect(p.x + 30, p.y + p.h - 10, 14, 600 - p.y - p.h + 10, kDarkWood);
    c.rect(p.x + p.w - 44, p.y + p.h - 10, 14, 600 - p.y - p.h + 10, kDarkWood);
    c.roundRect(p.x + 4, p.y + 4, p.w - 8, p.h - 8, 12, rgb(0x2F4F4F));
    for (int i = 0; i < 9; ++i) {
        const float y = p.y + 58 + i * 12.0f;
        c.line(p.x + 16, y, p.x + p.w - 16, y, 1, rgb(0x3C6262));
    }
}

Canvas nearProps() {
    Canvas c(800, 600);
    hut(c);
    boards(c);
    c.outline(kInk, 1);
    return c;
}

// Decoration 1: the signpost's pole, which the four sign buttons hang on.
Canvas pole() {
    Canvas c(800, 597);
    c.roundRect(kPoleX, 60, kPoleW, 530, 4, rgb(0x6D4426));
    c.line(kPoleX + 4, 70, kPoleX + 4, 580, 2, rgb(0x8D5E36));
    c.roundRect(kPoleX - 5, 576, kPoleW + 10, 16, 3, rgb(0x4A2E18));
    c.outline(kInk, 1);
    clearButtons(c, kDecoY);
    return c;
}

// Decoration 2: a pointed end beside each sign, so the signs read as arrows.
Canvas arrowTips() {
    Canvas c(800, 597);
    const uint32_t kColours[] = {0x2A9D8F, 0x457B9D, 0xC9A227, 0xE76F51};
    const bool kRight[] = {true, false, false, false};
    for (int i = 0; i < 4; ++i) {
        const Spot& s = kSignButtons[i];
        const float y0 = s.y + 14.0f - kDecoY, y1 = s.y + s.h - 16.0f - kDecoY, ym = (y0 + y1) / 2;
        const float xb = kRight[i] ? s.x + s.w - 6.0f : s.x + 6.0f, xt = kRight[i] ? xb + 30 : xb - 30;
        c.polygon({{xb, y0}, {xt, ym}, {xb, y1}}, shade(rgb(kColours[i]), 0.9f));
    }
    c.outline(rgb(0x5A3418), 1);
    clearButtons(c, kDecoY);
    return c;
}

// Decoration 3: a life ring hung on the pole between two signs.
Canvas lifeRing() {
    Canvas c(800, 597);
    const float cx = kPoleX + kPoleW / 2, cy = 272 - kDecoY;
    c.line(cx, cy - 26, cx, cy - 20, 3, rgb(0x3A2A22));
    c.ellipse(cx, cy, 22, 22, rgb(0xF1F1F1));
    for (int i = 0; i < 4; ++i) {
        const float a = 0.4f + i * 3.14159265f / 2;
        const float ca = std::cos(a), sa = std::sin(a);
        c.line(cx + 12 * ca, cy + 12 * sa, cx + 21 * ca, cy + 21 * sa, 9, rgb(0xE63946));
    }
    Canvas hole(24, 24);
    hole.ellipse(12, 12, 11, 11, rgb(0xFFFFFF));
    c.punch(hole, static_cast<int>(cx) - 12, static_cast<int>(cy) - 12);
    c.outline(kInk, 1);
    return c;
}

// Decoration 4: gulls in the sky.
Canvas gulls() {
    Canvas c(800, 597);
    static const float kGulls[][3] = {{400, 40, 1.0f}, {440, 62, 0.7f}, {250, 150, 0.8f}, {780, 110, 0.6f}};
    for (const auto& g : kGulls)
        c.polyline({{g[0] - 14 * g[2], g[1]}, {g[0] - 6 * g[2], g[1] - 6 * g[2]}, {g[0], g[1]},
                    {g[0] + 6 * g[2], g[1] - 6 * g[2]}, {g[0] + 14 * g[2], g[1]}},
                   2.5f, rgb(0x3A3A4A));
    clearButtons(c, kDecoY);
    return c;
}

// Decoration 5: shells and a starfish on the sand.
Canvas shells() {
    Canvas c(800, 597);
    static const float kShells[][2] = {{12, 540}, {470, 545}, {612, 538}};
    for (const auto& s : kShells) {
        c.ellipse(s[0], s[1], 11, 8, rgb(0xF6BD9C));
        for (int i = -2; i <= 2; ++i) c.line(s[0], s[1] + 7, s[0] + i * 4.0f, s[1] - 6, 1.2f, rgb(0xD9825B));
    }
    std::vector<Pt> vStar;
    for (int i = 0; i < 10; ++i) {
        const float a = -3.14159265f / 2 + i * 3.14159265f / 5, r = i % 2 ? 5.0f : 13.0f;
        vStar.push_back(Pt{590 + r * std::cos(a), 545 + r * std::sin(a)});
    }
    c.polygon(vStar, rgb(0xE76F51));
    c.outline(kInk, 1);
    clearButtons(c, kDecoY);
    return c;
}

// Decoration 6: the bar's name board over its roof.
Canvas barSign() {
    Canvas c(800, 597);
    c.line(470, 176, 480, 200, 2, kInk);
    c.line(550, 176, 540, 200, 2, kInk);
    c.roundRect(452, 146, 116, 34, 8, rgb(0x264653));
    drawText(c, "TUK BAR", 510, 151, TextStyle{18, true, rgb(0xFFD166), Align::Center});
    c.outline(kInk, 1);
    return c;
}

// Decoration 7: rope lashings where the boards meet their posts.
Canvas lashings() {
    Canvas c(800, 597);
    const Spot& g = kGreeting;
    for (float x : {g.x + 45.0f, g.x + g.w - 45.0f})
        for (int i = 0; i < 3; ++i) {
            const float y = kPanel.y - 8.0f + i * 4 - kDecoY;
            c.line(x - 8, y, x + 8, y - 4, 2, rgb(0xE9D3A5));
        }
    c.outline(kInk, 1);
    clearButtons(c, kDecoY);
    return c;
}

// The game-kind panel's frame: a wooden rim with a title plank; its inside
// is open so the three game-kind buttons show through.
Canvas panelFrame() {
    const int w = kPanel.w, h = kPanel.h;
    Canvas c(w, h);
    c.roundRect(0, 0, w, h, 14, kWood);
    Canvas inside(w - 20, h - 56);
    inside.roundRect(0, 0, w - 20, h - 56, 8, rgb(0xFFFFFF));
    c.punch(inside, 10, 44);
    c.roundRect(4, 4, w - 8, 36, 10, rgb(0xA86B32));
    drawText(c, "Choose your game", w / 2.0f, 10, TextStyle{20, true, kCream, Align::Center});
    c.outline(kInk, 1);
    return c;
}

// The greeting word, as tight as its text so the name follows it closely.
// "Welcome," up to its outline: the menu puts one space between it and the
// name, so the picture ends where the comma's outline ends.
Canvas welcome() {
    const TextStyle style{24, true, kCream, Align::Left};
    const int w = textWidth("Welcome,", style) + 4;
    Canvas c(w, 40);
    drawText(c, "Welcome,", 2, 2, style);
    c.outline(rgb(0x5A3418), 2);
    return c;
}

// The tag that asks "not me?" over the player's name: the menu lays its top
// 10 pixels above the name's box, so the tag keeps to its upper rows and the
// name stays readable under it.
Canvas notMe() {
    Canvas c(100, 30);
    c.roundRect(14, 0, 72, 17, 8, rgb(0xFFF8E7));
    drawText(c, "not me?", 50, 1, TextStyle{12, true, rgb(0x9D0208), Align::Center});
    c.outline(kInk, 1);
    return c;
}

}  // namespace

void makeMenu(Output& out) {
    // The layers lie at one depth, the first on top: nearest first.
    out.picture("menu_fondo_0", nearProps());
    out.picture("menu_fondo_1", beach());
    out.picture("menu_fondo_2", sea());
    out.picture("menu_fondo_3", sky());
    const Canvas vDeco[] = {pole(), arrowTips(), lifeRing(), gulls(), shells(), barSign(), lashings()};
    for (int i = 0; i < 7; ++i) out.picture("menu_estatico_" + std::to_string(i + 1), vDeco[i]);
    out.picture("menu_select", panelFrame());
    out.picture("menu_welcome", welcome());
    out.picture("menu_notme", notMe());
}

}  // namespace cg

// The day's end: the statistics' title banners and separator, the
// congratulation's picture and the five flowers its cannon throws.
#include <cmath>
#include <string>

#include "sets.h"
#include "text.h"

namespace cg {

namespace {

constexpr float kPi = 3.14159265f;

// A ribbon with notched ends across a 320 x 90 picture and the words on it.
Canvas banner(const std::string& sWords, Rgba ribbon) {
    Canvas c(320, 90);
    const Rgba back = shade(ribbon, 0.7f);
    c.polygon({{4, 30}, {44, 30}, {44, 78}, {4, 78}, {20, 54}}, back);
    c.polygon({{316, 30}, {276, 30}, {276, 78}, {316, 78}, {300, 54}}, back);
    c.roundRect(30, 14, 260, 58, 10, ribbon);
    c.rect(30, 56, 260, 16, shade(ribbon, 0.88f));
    c.outline(rgb(0x3A2A22), 2);
    const TextStyle style{30, true, rgb(0xFFFFFF), Align::Center};
    drawText(c, sWords, 162, 23, TextStyle{30, true, rgb(0x000000, 110), Align::Center});
    drawText(c, sWords, 160, 21, style);
    return c;
}

// The dots run along the middle of a taller clear strip: the statistics'
// rows overlap their neighbours by 7 pixels, and the clear margins keep the
// dots off the text above and below.
Canvas separator() {
    Canvas c(300, 24);
    for (int i = 0; i < 25; ++i) {
        const float r = i % 3 == 1 ? 3.0f : 2.0f;
        c.ellipse(6.0f + i * 12, 12, r, r, rgb(0x8ECAE6, i % 3 == 1 ? 240 : 180));
    }
    return c;
}

// A five-pointed star of the outer radius r.
std::vector<Pt> star(float cx, float cy, float r) {
    std::vector<Pt> v;
    for (int i = 0; i < 10; ++i) {
        const float a = -kPi / 2 + i * kPi / 5, d = i % 2 ? r * 0.45f : r;
        v.push_back(Pt{cx + d * std::cos(a), cy + d * std::sin(a)});
    }
    return v;
}

// A cup between two stars over the words.
Canvas congrats() {
    Canvas c(320, 110);
    static const uint32_t kConfetti[] = {0xE63946, 0x2A9D8F, 0xF4A261, 0x6A4C93, 0x52B788};
    for (int i = 0; i < 18; ++i) {
        const float x = 12.0f + i * 17.3f, y = 8.0f + (i * 37 % 5) * 6;
        c.roundRect(x, y, 6, 3, 1, rgb(kConfetti[i % 5]));
    }
    Canvas cup(320, 110);
    cup.polygon({{136, 14}, {184, 14}, {178, 40}, {166, 50}, {154, 50}, {142, 40}}, rgb(0xFFC300));
    cup.line(136, 20, 128, 30, 4, rgb(0xFFC300));
    cup.line(184, 20, 192, 30, 4, rgb(0xFFC300));
    cup.rect(156, 50, 8, 8, rgb(0xE0A800));
    cup.roundRect(146, 58, 28, 8, 2, rgb(0x8D5524));
    cup.polygon(star(100, 36, 16), rgb(0xFFD60A));
    cup.polygon(star(220, 36, 16), rgb(0xFFD60A));
    cup.outline(rgb(0x3A2A22), 1);
    c.blit(cup, 0, 0);
    drawText(c, "Congratulations!", 161, 73, TextStyle{26, true, rgb(0x000000, 110), Align::Center});
    drawText(c, "Congratulations!", 160, 72, TextStyle{26, true, rgb(0xE76F51), Align::Center});
    return c;
}

// Five round petals around a yellow heart.
Canvas flower(Rgba petals) {
    Canvas c(24, 24);
    for (int i = 0; i < 5; ++i) {
        const float a = -kPi / 2 + i * 2 * kPi / 5;
        c.ellipse(12 + 6 * std::cos(a), 12 + 6 * std::sin(a), 5, 5, petals);
    }
    c.ellipse(12, 12, 4, 4, rgb(0xFFD60A));
    c.outline(rgb(0x3A2A22), 1);
    return c;
}

}  // namespace

void makeDayEnd(Output& out) {
    out.picture("youwin", banner("You made it!", rgb(0x2A9D8F)));
    out.picture("youlose", banner("Not this time", rgb(0xC0504D)));
    out.picture("timesup", banner("Time's up!", rgb(0xF4A261)));
    out.picture("bubble_separator", separator());
    out.picture("congrats", congrats());
    static const uint32_t kPetals[5] = {0xFF6B8B, 0xFFFFFF, 0x9B5DE5, 0xFF9F1C, 0x4CC9F0};
    for (int i = 0; i < 5; ++i) out.picture("mapa_flor_" + std::to_string(i + 1) + "_s", flower(rgb(kPetals[i])));
}

}  // namespace cg

// The cut-scene panels: the story of the bar in ten full pictures, each a
// scene of simple shapes and one caption (captions.h) in a box at the bottom.
#include <cmath>
#include <string>
#include <vector>

#include "captions.h"
#include "figure.h"
#include "sets.h"
#include "text.h"

namespace cg {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kHorizon = 300;

void sky(Canvas& c, Rgba top, Rgba bottom) { c.gradient(0, 0, 800, kHorizon, top, bottom); }

void sea(Canvas& c, Rgba top, Rgba bottom, float y = kHorizon) {
    c.gradient(0, y, 800, 600 - y, top, bottom);
    for (int i = 0; i < 24; ++i) {
        const float wx = 20.0f + (i * 173) % 760, wy = y + 20 + (i * 47) % 160;
        c.line(wx, wy, wx + 26, wy, 2, rgb(0xFFFFFF, 90));
    }
}

void sun(Canvas& c, float x, float y, float r, Rgba col) {
    c.ellipse(x, y, r * 1.4f, r * 1.4f, Rgba{col.r, col.g, col.b, 60});
    c.ellipse(x, y, r, r, col);
}

void cloud(Canvas& c, float x, float y, Rgba col) {
    c.ellipse(x, y, 44, 16, col);
    c.ellipse(x + 24, y - 10, 28, 16, col);
    c.ellipse(x - 20, y - 6, 22, 12, col);
}

void sailboat(Canvas& c, float x, float y, float s, Rgba sail) {
    c.polygon({{x - 30 * s, y}, {x + 30 * s, y}, {x + 20 * s, y + 12 * s}, {x - 20 * s, y + 12 * s}}, rgb(0x8D5524));
    c.line(x, y, x, y - 60 * s, 2 * s, rgb(0x5A3418));
    c.polygon({{x + 2 * s, y - 58 * s}, {x + 2 * s, y - 6 * s}, {x + 30 * s, y - 6 * s}}, sail);
    c.polygon({{x - 2 * s, y - 48 * s}, {x - 2 * s, y - 6 * s}, {x - 22 * s, y - 6 * s}}, shade(sail, 0.9f));
}

void ferry(Canvas& c, float x, float y) {
    c.polygon({{x, y}, {x + 260, y}, {x + 230, y + 46}, {x + 20, y + 46}}, rgb(0xFFFFFF));
    c.rect(x + 20, y + 30, 210, 8, rgb(0xE63946));
    c.roundRect(x + 50, y - 44, 150, 44, 6, rgb(0xF1FAEE));
    for (int i = 0; i < 5; ++i) c.ellipse(x + 70 + i * 28.0f, y - 22, 7, 7, rgb(0x457B9D));
    c.rect(x + 170, y - 80, 22, 36, rgb(0xE63946));
}

void pier(Canvas& c, float y) {
    c.rect(0, y, 800, 600 - y, rgb(0xA0703F));
    for (int x = 0; x < 800; x += 48) c.line(x, y, x, 600, 3, rgb(0x7A4E2D));
    c.rect(0, y, 800, 8, rgb(0x7A4E2D));
}

// A beach bar: plank walls, a red roof, a door, two windows and a sign.
void bar(Canvas& c, float x, float y, bool bShabby, bool bLit, const char* szSign) {
    const float w = 300, h = 200;
    c.rect(x, y, w, h, bShabby ? rgb(0x9C8A73) : rgb(0xC98B52));
    for (float px = x + 20; px < x + w; px += 24) c.line(px, y, px, y + h, 2, rgb(0x00000, 40));
    c.polygon({{x - 24, y + 4}, {x + w / 2, y - 80}, {x + w + 24, y + 4}}, bShabby ? rgb(0x7D5A50) : rgb(0x9D0208));
    c.rect(x + 120, y + 90, 60, 110, rgb(0x6D4426));
    const Rgba glassCol = bLit ? rgb(0xFFE27A) : rgb(0xBFE3F0);
    for (float wx : {x + 30, x + 210}) {
        c.roundRect(wx, y + 60, 60, 56, 6, glassCol);
        c.line(wx + 30, y + 60, wx + 30, y + 116, 4, rgb(0x6D4426));
    }
    if (bShabby) {
        c.line(x + 20, y + 70, x + 110, y + 110, 8, rgb(0x8D6E63));
        c.line(x + 200, y + 64, x + 290, y + 104, 8, rgb(0x8D6E63));
    }
    if (szSign) {
        const TextStyle style{22, true, rgb(0x5A3418), Align::Center};
        const float fWidth = static_cast<float>(textWidth(szSign, style) + 32);
        c.roundRect(x + w / 2 - fWidth / 2, y - 40, fWidth, 44, 8, rgb(0xE9C46A));
        drawText(c, szSign, x + w / 2, y - 34, style);
    }
}

void palm(Canvas& c, float x, float y) {
    c.polyline({{x, y}, {x + 6, y - 60}, {x + 4, y - 120}, {x - 6, y - 170}}, 12, rgb(0x8D6E63));
    for (int i = 0; i < 5; ++i) {
        const float a = kPi * (1.05f + i * 0.22f);
        c.line(x - 6, y - 170, x - 6 + 70 * std::cos(a), y - 170 + 40 * std::sin(a) + 26, 10, rgb(0x2D6A4F));
    }
}

void bunting(Canvas& c, float y) {
    static const uint32_t kFlags[4] = {0xE63946, 0xFFD60A, 0x2A9D8F, 0x6A4C93};
    c.polyline({{0, y}, {200, y + 20}, {400, y}, {600, y + 20}, {800, y}}, 2, rgb(0x3A2A22));
    for (int i = 0; i < 20; ++i) {
        const float x = 20.0f + i * 40, yy = y + 10 - 10 * std::cos((x / 200) * kPi);
        c.polygon({{x - 12, yy}, {x + 12, yy}, {x, yy + 26}}, rgb(kFlags[i % 4]));
    }
}

void firework(Canvas& c, float x, float y, Rgba col) {
    for (int i = 0; i < 12; ++i) {
        const float a = i * kPi / 6;
        c.line(x + 14 * std::cos(a), y + 14 * std::sin(a), x + 44 * std::cos(a), y + 44 * std::sin(a), 3, col);
    }
}

void people(Canvas& c, float x0, float y, int n, float fStep, Pose pose, float fHeight = 90) {
    static const uint32_t kTops[5] = {0xE76F51, 0x457B9D, 0xF4A261, 0x6A4C93, 0x52B788};
    static const uint32_t kSkins[3] = {0xF1C27D, 0xC68642, 0x8D5524};
    for (int i = 0; i < n; ++i) {
        Palette p;
        p.top = rgb(kTops[i % 5]);
        p.skin = rgb(kSkins[i % 3]);
        p.hair = i % 2 ? rgb(0x1B1B1B) : rgb(0xA0522D);
        drawPerson(c, Pt{x0 + i * fStep, y + (i % 2) * 8}, fHeight, p, pose);
    }
}

Palette hero() {
    Palette p;
    p.hair = rgb(0xA0522D);
    p.top = rgb(0xFFFFFF);
    p.bottom = rgb(0x2A9D8F);
    return p;
}

// The caption's box, and its lines centred in it: one line at its middle,
// two from its top.
void caption(Canvas& c, const std::string& sText) {
    c.roundRect(40, 500, 720, 80, 14, rgb(0x1D3557, 215));
    const TextStyle style = captionStyle();
    const std::vector<std::string> vLines = captionLines(sText);
    float y = vLines.size() > 1 ? 510.0f : 526.0f;
    for (const std::string& sLine : vLines) {
        drawText(c, sLine, 400, y, style);
        y += static_cast<float>(textHeight(style));
    }
}

Canvas arrival() {
    Canvas c(800, 600);
    sky(c, rgb(0x9AD1F5), rgb(0xFCE5C4));
    sun(c, 640, 110, 40, rgb(0xFFE27A));
    cloud(c, 200, 90, rgb(0xFFFFFF, 220));
    sea(c, rgb(0x3A9BC7), rgb(0x1B5E82));
    ferry(c, 60, 330);
    pier(c, 440);
    drawPerson(c, Pt{520, 500}, 120, hero(), Pose::Wave);
    c.roundRect(552, 452, 50, 40, 6, rgb(0x9D0208));
    c.line(567, 452, 587, 452, 4, rgb(0x5A3418));
    caption(c, captions::kArrival);
    return c;
}

Canvas oldBar() {
    Canvas c(800, 600);
    sky(c, rgb(0xA8DADC), rgb(0xF1FAEE));
    sea(c, rgb(0x3A9BC7), rgb(0x1B5E82));
    pier(c, 420);
    bar(c, 260, 220, true, false, nullptr);
    c.roundRect(430, 340, 120, 50, 6, rgb(0xFFFFFF));
    drawText(c, "FOR SALE", 490, 352, TextStyle{20, true, rgb(0xE63946), Align::Center});
    palm(c, 120, 440);
    drawPerson(c, Pt{640, 500}, 120, hero(), Pose::Wave);
    caption(c, captions::kOldBar);
    return c;
}

Canvas firstGuests() {
    Canvas c(800, 600);
    c.rect(0, 0, 800, 380, rgb(0xB9855A));
    for (int x = 0; x < 800; x += 40) c.line(x, 0, x, 380, 2, rgb(0x9C6B45));
    c.gradient(0, 380, 800, 220, rgb(0xC89B6D), rgb(0xA87B4F));
    drawPerson(c, Pt{230, 440}, 170, hero(), Pose::Carry);
    c.rect(40, 330, 420, 16, rgb(0x6D4426));
    c.rect(48, 346, 404, 110, rgb(0x9C5B2E));
    people(c, 520, 480, 3, 95, Pose::Cheer, 130);
    caption(c, captions::kFirstGuests);
    return c;
}

Canvas wordSpreads() {
    Canvas c(800, 600);
    sky(c, rgb(0x9AD1F5), rgb(0xFCE5C4));
    static const uint32_t kHouses[5] = {0xF4A261, 0xE9C46A, 0x8ECAE6, 0xFFB4A2, 0xB5E48C};
    for (int i = 0; i < 5; ++i) {
        const float x = 10.0f + i * 150, h = 160.0f + (i % 3) * 30;
        c.rect(x, 380 - h, 130, h, rgb(kHouses[i]));
        c.polygon({{x - 8, 380 - h}, {x + 65, 380 - h - 50}, {x + 138, 380 - h}}, rgb(0x9D0208));
        c.roundRect(x + 20, 400 - h, 36, 40, 4, rgb(0xBFE3F0));
        c.roundRect(x + 76, 400 - h, 36, 40, 4, rgb(0xBFE3F0));
    }
    c.rect(0, 380, 800, 220, rgb(0xD9C9A8));
    people(c, 80, 480, 5, 110, Pose::Stand);
    c.polygon({{640, 420}, {740, 420}, {740, 400}, {790, 440}, {740, 480}, {740, 460}, {640, 460}}, rgb(0xE63946));
    caption(c, captions::kWordSpreads);
    return c;
}

Canvas summer() {
    Canvas c(800, 600);
    sky(c, rgb(0x48CAE4), rgb(0xCAF0F8));
    sun(c, 120, 90, 48, rgb(0xFFD60A));
    sea(c, rgb(0x0096C7), rgb(0x023E8A), 260);
    static const uint32_t kSails[6] = {0xFFFFFF, 0xE63946, 0xFFD60A, 0xFFFFFF, 0xF4A261, 0x52B788};
    for (int i = 0; i < 6; ++i)
        sailboat(c, 90.0f + i * 125, 330.0f + (i % 3) * 50, 0.9f + (i % 3) * 0.25f, rgb(kSails[i]));
    caption(c, captions::kSummer);
    return c;
}

Canvas musicNight() {
    Canvas c(800, 600);
    sky(c, rgb(0x0B132B), rgb(0x3A506B));
    for (int i = 0; i < 30; ++i) c.ellipse(13.0f + (i * 211) % 780, 10.0f + (i * 67) % 260, 1.5f, 1.5f, rgb(0xFFFFFF));
    c.ellipse(680, 80, 34, 34, rgb(0xF1FAEE));
    c.rect(0, kHorizon, 800, 300, rgb(0x5C4033));
    for (int i = 0; i < 8; ++i) c.ellipse(60.0f + i * 95, 110.0f + (i % 2) * 14, 12, 16, rgb(0xFFB703));
    c.polyline({{0, 96}, {200, 116}, {400, 96}, {600, 116}, {800, 96}}, 2, rgb(0xADB5BD));
    for (int i = 0; i < 2; ++i) {
        const float x = 150.0f + i * 60;
        c.polygon({{x - 22, 400}, {x + 22, 400}, {x + 16, 470}, {x - 16, 470}}, rgb(0xA0522D));
        c.ellipse(x, 400, 22, 7, rgb(0xF2E8CF));
    }
    people(c, 380, 470, 4, 100, Pose::Cheer);
    caption(c, captions::kMusicNight);
    return c;
}

Canvas storm() {
    Canvas c(800, 600);
    sky(c, rgb(0x2B2D42), rgb(0x5C677D));
    cloud(c, 150, 70, rgb(0x1B1B1B, 200));
    cloud(c, 520, 100, rgb(0x1B1B1B, 200));
    c.polygon({{600, 110}, {570, 180}, {594, 180}, {560, 260}, {630, 160}, {604, 160}, {630, 110}}, rgb(0xFFE27A));
    sea(c, rgb(0x33415C), rgb(0x0B132B));
    bar(c, 250, 240, false, true, nullptr);
    for (int i = 0; i < 70; ++i) {
        const float x = (i * 137) % 800, y = (i * 53) % 480;
        c.line(x, y, x - 8, y + 24, 1.5f, rgb(0xCAF0F8, 150));
    }
    caption(c, captions::kStorm);
    return c;
}

Canvas mending() {
    Canvas c(800, 600);
    sky(c, rgb(0x8ECAE6), rgb(0xF1FAEE));
    static const uint32_t kBands[6] = {0xE63946, 0xF4A261, 0xFFD60A, 0x52B788, 0x457B9D, 0x6A4C93};
    for (int i = 0; i < 6; ++i) {
        std::vector<Pt> arc;
        for (int k = 0; k <= 24; ++k) {
            const float a = kPi + k * kPi / 24, r = 300.0f - i * 12;
            arc.push_back(Pt{400 + r * std::cos(a), 320 + r * std::sin(a) * 0.8f});
        }
        c.polyline(arc, 12, rgb(kBands[i], 150));
    }
    sea(c, rgb(0x3A9BC7), rgb(0x1B5E82));
    pier(c, 430);
    bar(c, 250, 230, false, false, nullptr);
    // A ladder against the wall and a new plank carried to it.
    for (float dx : {0.0f, 36.0f}) c.line(560 + dx, 430, 520 + dx, 200, 6, rgb(0x7A4E2D));
    for (int i = 1; i < 8; ++i) {
        const float x = 560 - i * 5.0f, y = 430 - i * 29.0f;
        c.line(x, y, x + 36, y, 4, rgb(0x7A4E2D));
    }
    people(c, 90, 510, 2, 90, Pose::Stand);
    c.line(40, 462, 240, 470, 12, rgb(0xDDA15E));
    people(c, 600, 510, 2, 90, Pose::Wave);
    caption(c, captions::kMending);
    return c;
}

Canvas festival() {
    Canvas c(800, 600);
    sky(c, rgb(0x240046), rgb(0x5A189A));
    firework(c, 160, 60, rgb(0xFFD60A));
    firework(c, 420, 52, rgb(0xFF6B8B));
    firework(c, 660, 66, rgb(0x4CC9F0));
    c.rect(0, kHorizon, 800, 300, rgb(0x6D4C41));
    bar(c, 250, 230, false, true, nullptr);
    bunting(c, 128);
    people(c, 40, 470, 8, 100, Pose::Cheer);
    caption(c, captions::kFestival);
    return c;
}

Canvas ending() {
    Canvas c(800, 600);
    sky(c, rgb(0xF8961E), rgb(0xF9C74F));
    sun(c, 660, kHorizon - 20, 60, rgb(0xFF7B00));
    sea(c, rgb(0x277DA1), rgb(0x1D3557));
    pier(c, 440);
    bar(c, 250, 230, false, true, "Tuk Harbor Bar");
    palm(c, 90, 460);
    palm(c, 720, 460);
    drawPerson(c, Pt{620, 500}, 120, hero(), Pose::Wave);
    caption(c, captions::kEnding);
    return c;
}

}  // namespace

void makeCutScenes(Output& out) {
    struct Panel {
        const char* szName;
        Canvas (*make)();
    } const kPanels[] = {
        {"historieta_1", arrival},  {"historieta_1a", oldBar},    {"historieta_2", firstGuests},
        {"historieta_3", wordSpreads}, {"historieta_4a", summer}, {"historieta_4b", musicNight},
        {"historieta_5a", storm},   {"historieta_5b", mending},   {"historieta_6a", festival},
        {"historieta_6b", ending},
    };
    for (const Panel& p : kPanels) out.picture(p.szName, p.make());
}

}  // namespace cg

// Start-up, menu and loading pictures: the window icon, the two splash logos,
// the sand tile and its props, the menu's title and grain, the loading
// backdrop, its progress row and its clock.
#include <cmath>
#include <string>

#include "sets.h"
#include "text.h"

namespace cg {

namespace {

constexpr float kPi = 3.14159265f;

Canvas icon() {
    Canvas c(32, 32);
    c.roundRect(1, 1, 30, 30, 7, rgb(0x2A9D8F));
    c.polygon({{8, 8}, {24, 8}, {21, 26}, {11, 26}}, rgb(0xFFFFFF, 200));
    c.rect(10, 14, 12, 10, rgb(0xF4A261));
    return c;
}

// The game's own splash: a small sunset over the sea inside a rounded
// teal frame, the title over it; the frame's plain teal stays below the
// picture (the start-up test looks for it there).
Canvas gameSplash() {
    Canvas c(400, 200);
    c.roundRect(0, 0, 400, 200, 24, rgb(0x2A9D8F));
    Canvas sea(400, 200);
    sea.gradient(0, 0, 400, 120, rgb(0xF59E5B), rgb(0xFCE3B0));
    sea.ellipse(300, 118, 30, 30, rgb(0xFFD45C));
    sea.gradient(0, 118, 400, 52, rgb(0x3FA7C9), rgb(0x15607F));
    for (int i = 0; i < 8; ++i) {
        const float y = 132.0f + (i % 3) * 11;
        sea.line(20.0f + i * 50, y, 44.0f + i * 50, y, 2, rgb(0xFFFFFF, 110));
    }
    // Everything outside the inner rounded rectangle is cut away.
    Canvas outside(400, 200);
    outside.fill(rgb(0xFFFFFF));
    Canvas inner(400, 200);
    inner.roundRect(6, 6, 388, 160, 20, rgb(0xFFFFFF));
    outside.punch(inner, 0, 0);
    sea.punch(outside, 0, 0);
    c.blit(sea, 0, 0);
    Canvas words(400, 200);
    drawText(words, "Tuk Harbor", 200, 26, TextStyle{44, true, rgb(0xFFF3D6), Align::Center});
    drawText(words, "a casual game of serving drinks", 200, 88, TextStyle{17, true, rgb(0xFFD166), Align::Center});
    words.outline(rgb(0x5A3418), 2);
    c.blit(words, 0, 0);
    return c;
}

// The framework's splash: a fennec's head beside the name.
Canvas frameworkSplash() {
    Canvas c(400, 200);
    c.roundRect(0, 0, 400, 200, 24, rgb(0x4E3670));
    c.roundRect(6, 6, 388, 188, 20, rgb(0x6A4C93));
    const float x = 90, y = 112;
    c.polygon({{x - 44, y - 70}, {x - 10, y - 22}, {x - 40, y - 10}}, rgb(0xF4C27A));
    c.polygon({{x + 44, y - 70}, {x + 10, y - 22}, {x + 40, y - 10}}, rgb(0xF4C27A));
    c.polygon({{x - 38, y - 56}, {x - 16, y - 24}, {x - 36, y - 16}}, rgb(0xF6D6C0));
    c.polygon({{x + 38, y - 56}, {x + 16, y - 24}, {x + 36, y - 16}}, rgb(0xF6D6C0));
    c.polygon({{x - 40, y - 16}, {x + 40, y - 16}, {x, y + 40}}, rgb(0xF4C27A));
    c.polygon({{x - 20, y + 8}, {x + 20, y + 8}, {x, y + 40}}, rgb(0xFFF3D6));
    c.ellipse(x, y + 36, 5, 4, rgb(0x2B1B10));
    c.ellipse(x - 15, y - 2, 4, 5, rgb(0x2B1B10));
    c.ellipse(x + 15, y - 2, 4, 5, rgb(0x2B1B10));
    drawText(c, "Fennic", 255, 58, TextStyle{44, true, rgb(0xFFFFFF), Align::Center});
    drawText(c, "game framework", 255, 116, TextStyle{17, false, rgb(0xE9DDF7), Align::Center});
    return c;
}

Canvas sandTile() {
    Canvas c(44, 44);
    c.fill(rgb(0xE9D3A5));
    static const int kDots[][2] = {{5, 7}, {17, 3}, {31, 11}, {40, 25}, {9, 30}, {23, 21}, {35, 38}, {14, 40}, {27, 33}};
    for (const auto& d : kDots) c.ellipse(d[0], d[1], 1.2f, 1.0f, rgb(0xC9AE7C));
    return c;
}

Canvas prop(int n) {
    Canvas c(64, 128);
    if (n % 2) {
        // A rope hanging from a peg.
        c.ellipse(32, 8, 6, 6, rgb(0x8D5524));
        for (int i = 0; i < 12; ++i) c.ellipse(32 + (i % 2 ? 3.0f : -3.0f), 14.0f + i * 9, 5, 6, rgb(0xC8A165));
    } else {
        // A shell.
        c.ellipse(32, 90, 26, 22, rgb(0xF6BD9C));
        for (int i = -2; i <= 2; ++i) c.line(32, 110, 32 + i * 10.0f, 72, 2, rgb(0xD9825B));
    }
    c.outline(rgb(0x3A2A22), 1);
    return c;
}

Canvas logo(bool bShadow, int w, int h, int nSize) {
    Canvas c(w, h);
    const Rgba col = bShadow ? rgb(0x3A1E0A, 120) : rgb(0xFFF3D6);
    drawText(c, "Tuk Harbor", w / 2.0f, h * 0.12f, TextStyle{nSize, true, col, Align::Center});
    if (!bShadow) {
        const TextStyle line{nSize / 3 + 2, true, rgb(0xFFD166), Align::Center};
        drawText(c, "a bar by the sea", w / 2.0f, h * 0.68f, line);
        c.outline(rgb(0x6D3B1F), 2);
    }
    return c;
}

Canvas grain() {
    Canvas c(800, 600);
    for (int i = 0; i < 40; ++i) {
        std::vector<Pt> v;
        const float y0 = 8.0f + i * 15;
        for (int x = 0; x <= 800; x += 40) v.push_back(Pt{static_cast<float>(x), y0 + 4 * std::sin(x * 0.01f + i)});
        c.polyline(v, 1.2f, rgb(0x5A3418, 28));
    }
    return c;
}

Canvas loadingBack() {
    Canvas c(812, 620);
    c.gradient(0, 0, 812, 620, rgb(0x264653), rgb(0x2A9D8F));
    for (int i = 0; i < 12; ++i) c.ellipse(60.0f + i * 66, 560.0f - (i % 3) * 14, 30, 10, rgb(0xE9D3A5, 120));
    return c;
}

Canvas clam() {
    Canvas c(32, 32);
    c.ellipse(16, 18, 13, 10, rgb(0xF6BD9C));
    for (int i = -2; i <= 2; ++i) c.line(16, 27, 16 + i * 5.0f, 10, 1.2f, rgb(0xD9825B));
    c.outline(rgb(0x3A2A22), 1);
    return c;
}

Canvas progressStar() {
    Canvas c(32, 32);
    std::vector<Pt> v;
    for (int i = 0; i < 10; ++i) {
        const float a = -kPi / 2 + i * kPi / 5, r = i % 2 ? 6.0f : 14.0f;
        v.push_back(Pt{16 + r * std::cos(a), 16 + r * std::sin(a)});
    }
    c.polygon(v, rgb(0xFFD60A));
    c.outline(rgb(0xC99A06), 1);
    return c;
}

Canvas clockBase() {
    Canvas c(64, 64);
    c.ellipse(32, 32, 30, 30, rgb(0x6D4426));
    c.ellipse(32, 32, 26, 26, rgb(0xFFF8E7));
    return c;
}

Canvas clockMarkers() {
    Canvas c(64, 64);
    for (int i = 0; i < 12; ++i) {
        const float a = i * kPi / 6;
        c.line(32 + 20 * std::cos(a), 32 + 20 * std::sin(a), 32 + 24 * std::cos(a), 32 + 24 * std::sin(a), i % 3 ? 1.5f : 3, rgb(0x3A2A22));
    }
    return c;
}

Canvas clockHand(int n) {
    Canvas c(64, 64);
    const float a = -kPi / 2 + (n - 1) * 2 * kPi / 20;
    c.line(32, 32, 32 + 20 * std::cos(a), 32 + 20 * std::sin(a), 3, rgb(0x9D0208));
    c.ellipse(32, 32, 3, 3, rgb(0x3A2A22));
    return c;
}

}  // namespace

void makeStartup(Output& out) {
    out.picture("icon", icon());
    out.picture("splash_1", gameSplash());
    out.picture("splash_3", frameworkSplash());
    out.picture("sand_frame_back", sandTile());
    for (int i = 1; i <= 5; ++i) out.picture("sand_frame_prop_" + std::to_string(i), prop(i));
    out.picture("menu_isologo", logo(false, 360, 120, 54));
    out.picture("menu_sombralogo", logo(true, 360, 120, 54));
    out.picture("menu_isologo_chico", logo(false, 200, 70, 30));
    out.picture("menu_vetas", grain());
    out.picture("loading_back", loadingBack());
    out.picture("progress_clam", clam());
    out.picture("progress_star", progressStar());
    out.picture("clock_base", clockBase());
    out.picture("clock_markers", clockMarkers());
    for (int i = 1; i <= 20; ++i) out.picture("clock_" + std::to_string(i), clockHand(i));
}

}  // namespace cg

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

Canvas splash(const std::string& sTitle, const std::string& sLine, Rgba back) {
    Canvas c(400, 200);
    c.roundRect(0, 0, 400, 200, 24, back);
    drawText(c, sTitle, 200, 56, TextStyle{40, true, rgb(0xFFFFFF), Align::Center});
    drawText(c, sLine, 200, 120, TextStyle{18, false, rgb(0xFFF3D6), Align::Center});
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
        drawText(c, "a bar by the sea", w / 2.0f, h * 0.68f, TextStyle{nSize / 3 + 2, true, rgb(0xFFD166), Align::Center});
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
    out.picture("splash_1", splash("Tuk Harbor", "a casual game of serving drinks", rgb(0x2A9D8F)));
    out.picture("splash_3", splash("Fennic", "made with the Fennic game framework", rgb(0x6A4C93)));
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

// The mugs: three glass shapes (a tumbler, a martini glass and a stemmed
// glass) on 28 x 40 canvases standing on their bottom centre, white liquid
// layers that the game tints, two glow frames per glass, the straws and
// thirteen decorations.
#include <cmath>
#include <string>

#include "sets.h"

namespace cg {

namespace {

constexpr int kW = 28, kH = 40;
constexpr Rgba kGlass = rgb(0xCFE8F2, 150);
constexpr Rgba kRim = rgb(0x7FA9BC);
constexpr Rgba kLiquid = rgb(0xFFFFFF, 235);

// The inside of each glass as a polygon (the liquid's outline), top to bottom.
std::vector<Pt> bowl(char cGlass) {
    switch (cGlass) {
        case 'a': return {{5, 8}, {23, 8}, {21, 37}, {7, 37}};
        case 'b': return {{2, 6}, {26, 6}, {14, 22}};
        default: return {{6, 6}, {22, 6}, {21, 20}, {17, 25}, {11, 25}, {7, 20}};
    }
}

// The liquid level's y for half and full, and the border between the two layers.
float liquidTop(char cGlass, bool bFull) {
    if (cGlass == 'a') return bFull ? 11 : 24;
    if (cGlass == 'b') return bFull ? 8 : 15;
    return bFull ? 9 : 16;
}
float layerBorder(char cGlass) { return cGlass == 'a' ? 26 : cGlass == 'b' ? 15.5f : 17; }

Canvas glassBody(char cGlass) {
    Canvas c(kW, kH);
    c.polygon(bowl(cGlass), kGlass);
    if (cGlass != 'a') {
        c.line(14, 22, 14, 38, 2.5f, kGlass);
        c.ellipse(14, 38, 9, 2, kGlass);
    }
    c.outline(kRim, 1);
    return c;
}

Canvas glassFront(char cGlass) {
    Canvas c(kW, kH);
    const std::vector<Pt> b = bowl(cGlass);
    c.line(b[0].x + 3, b[0].y + 3, b[0].x + 4, b[0].y + 12, 2.0f, rgb(0xFFFFFF, 170));
    c.line(b[0].x, b[0].y, b[1].x, b[1].y, 1.5f, kRim);
    return c;
}

// The liquid inside the bowl between two heights.
Canvas liquid(char cGlass, float fTop, float fBottom) {
    Canvas mask(kW, kH);
    mask.polygon(bowl(cGlass), kLiquid);
    Canvas c(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (y + 0.5f >= fTop && y + 0.5f < fBottom) c.set(x, y, mask.get(x, y));
    return c;
}

Canvas glow(char cGlass, int nFrame) {
    Canvas c(kW + 12, kH + 12);
    Canvas shape = glassBody(cGlass);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (shape.get(x, y).a > 0) c.ellipse(x + 6.5f, y + 6.5f, 5.0f + nFrame, 5.0f + nFrame, rgb(0xFFFFFF, 24));
    return c;
}

Canvas straw(bool bLeft, bool bVip) {
    Canvas c(16, 44);
    const Rgba red = rgb(0xE63946), white = rgb(0xFFFFFF);
    const float x0 = bLeft ? 11 : 5, x1 = bLeft ? 3 : 13;
    c.line(x0, 43, x0, 14, 3, red);
    c.line(x0, 14, x1, 2, 3, red);
    for (int i = 0; i < 4; ++i) c.line(x0 - 1.5f, 40 - i * 7.0f, x0 + 1.5f, 37 - i * 7.0f, 1.2f, white);
    if (bVip) c.ellipse(x1, 3, 3, 2, rgb(0xF4D35E));
    return c;
}

Canvas decoration(int n) {
    static const uint32_t kColours[13] = {0xE63946, 0xF4A261, 0xE9C46A, 0x2A9D8F, 0x457B9D, 0x9B5DE5, 0xF15BB5,
                                          0x00BBF9, 0x00F5D4, 0x8AC926, 0xFF595E, 0x6A4C93, 0xFFCA3A};
    Canvas c(20, 24);
    const Rgba col = rgb(kColours[n]);
    if (n % 2 == 0) {
        // A paper umbrella on a stick.
        c.line(10, 8, 13, 23, 1.5f, rgb(0x8D6E63));
        c.polygon({{1, 9}, {10, 1}, {19, 9}}, col);
        c.line(1, 9, 19, 9, 1.2f, shade(col, 0.7f));
    } else {
        // A slice of fruit on the rim.
        c.ellipse(10, 14, 9, 9, shade(col, 0.8f));
        c.ellipse(10, 14, 7, 7, mix(col, rgb(0xFFFFFF), 0.35f));
        for (int i = 0; i < 6; ++i) {
            const float a = i * 3.14159265f / 3;
            c.line(10, 14, 10 + 6 * std::cos(a), 14 + 6 * std::sin(a), 0.8f, rgb(0xFFFFFF, 180));
        }
        c.rect(8, 20, 4, 4, Rgba{});
    }
    return c;
}

}  // namespace

void makeMugs(Output& out) {
    for (char g : {'a', 'b', 'c'}) {
        const std::string s(1, g);
        out.picture("glass_" + s + "_body", glassBody(g));
        out.picture("glass_" + s + "_front", glassFront(g));
        const float fBorder = layerBorder(g), fBottom = kH;
        out.picture("liquid_" + s + "_up_full", liquid(g, liquidTop(g, true), fBorder));
        out.picture("liquid_" + s + "_up_half", liquid(g, liquidTop(g, false), fBorder));
        out.picture("liquid_" + s + "_down_full", liquid(g, fBorder, fBottom));
        out.picture("liquid_" + s + "_down_half", liquid(g, fBorder, fBottom));
        out.picture("glow_" + s + "_1", glow(g, 0));
        out.picture("glow_" + s + "_2", glow(g, 1));
    }
    out.picture("vaso_x_pajita_der", straw(false, false));
    out.picture("vaso_x_pajita_izq", straw(true, false));
    out.picture("vaso_x_pajitavip", straw(false, true));
    for (int i = 0; i < 13; ++i) out.picture("vaso_deco_largo_" + std::to_string(i), decoration(i));
}

}  // namespace cg

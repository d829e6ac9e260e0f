// The bar: sky, room and counter, the plates of the level's money and clock,
// the coasters and click areas, the sink with its pile, chairs, tables and
// their dressings, the juice machine with its buttons, the walk marker, the
// money popup and the perch.
#include <cmath>
#include <string>

#include "sets.h"

namespace cg {

namespace {

constexpr Rgba kInkBar = rgb(0x3A2A22);

Canvas sky() {
    Canvas c(800, 600);
    c.gradient(0, 0, 800, 330, rgb(0x6EC6F0), rgb(0xCFEFFA));
    c.ellipse(640, 90, 36, 36, rgb(0xFFE27A));
    c.gradient(0, 330, 800, 270, rgb(0x2C8FB8), rgb(0x1B5E82));
    for (int i = 0; i < 14; ++i) c.line(40.0f + i * 57, 360.0f + (i % 4) * 30, 70.0f + i * 57, 360.0f + (i % 4) * 30, 2, rgb(0xFFFFFF, 90));
    for (int i = 0; i < 3; ++i) {
        const float x = 120.0f + i * 230, y = 70.0f + (i % 2) * 40;
        c.ellipse(x, y, 40, 14, rgb(0xFFFFFF, 220));
        c.ellipse(x + 26, y - 8, 26, 14, rgb(0xFFFFFF, 220));
    }
    return c;
}

// Wall of planks, shelves with bottles, two windows onto the sky, a ledge
// for the standing customers, and the floor.
Canvas room() {
    Canvas c(800, 600);
    c.rect(0, 0, 800, 360, rgb(0xB9855A));
    for (int x = 0; x < 800; x += 40) c.line(x, 0, x, 360, 2, rgb(0x9C6B45));
    c.rect(0, 0, 800, 14, rgb(0x7A4E2D));
    // Windows: holes through to the sky behind.
    for (float wx : {560.0f, 680.0f}) {
        c.roundRect(wx - 6, 46, 102, 122, 8, rgb(0x7A4E2D));
        for (int y = 52; y < 162; ++y)
            for (int x = static_cast<int>(wx); x < static_cast<int>(wx) + 90; ++x) c.set(x, y, Rgba{});
        c.line(wx + 45, 52, wx + 45, 162, 5, rgb(0x7A4E2D));
        c.line(wx, 107, wx + 90, 107, 5, rgb(0x7A4E2D));
    }
    // Shelves behind the counter.
    static const uint32_t kBottles[6] = {0x2D6A4F, 0x9D0208, 0xE9C46A, 0x457B9D, 0xF4A261, 0x6A4C93};
    for (int s = 0; s < 3; ++s) {
        const float y = 90.0f + s * 70;
        c.rect(20, y, 460, 8, rgb(0x6D4426));
        for (int b = 0; b < 14; ++b) {
            const Rgba col = rgb(kBottles[(b + s * 2) % 6], 230);
            const float x = 36.0f + b * 32;
            c.roundRect(x, y - 34, 16, 34, 4, col);
            c.rect(x + 5, y - 46, 6, 14, col);
        }
    }
    c.rect(520, 298, 280, 10, rgb(0x6D4426));  // the customers' ledge
    // Floor planks in perspective.
    c.gradient(0, 360, 800, 240, rgb(0xC89B6D), rgb(0xA87B4F));
    for (int i = -8; i <= 24; ++i) c.line(400 + i * 20.0f, 360, 400 + i * 60.0f, 600, 2, rgb(0x8E6440));
    c.line(0, 360, 800, 360, 4, rgb(0x6D4426));
    return c;
}

// A paper plate of the level's own, under the day's money or its clock, whose
// dark letters would not read on the beam. The room has none: a picture of
// the bar without the level's labels shows no empty plate.
Canvas hudPlate(int nWidth) {
    Canvas c(nWidth, 34);
    c.roundRect(0, 0, static_cast<float>(nWidth), 34, 8, rgb(0x5A3418));
    c.roundRect(2, 2, static_cast<float>(nWidth - 4), 30, 6, rgb(0xFFF3D6));
    return c;
}

// The counter along the back wall at the left; the right part stays free.
Canvas counter() {
    Canvas c(800, 160);
    c.rect(0, 70, 530, 16, rgb(0x6D4426));
    c.rect(0, 84, 520, 76, rgb(0x9C5B2E));
    for (int x = 16; x + 44 <= 510; x += 55) c.roundRect(x, 96, 44, 52, 6, rgb(0x874B23));
    c.rect(0, 150, 520, 10, rgb(0x5A3418));
    c.line(0, 71, 530, 71, 2, rgb(0xD9A066));
    return c;
}

Canvas coaster() {
    Canvas c(40, 36);
    c.ellipse(20, 30, 18, 6, rgb(0x3A2A22, 90));
    c.ellipse(20, 29, 16, 5, rgb(0xD9A441));
    c.ellipse(20, 29, 11, 3, rgb(0xF2C46D));
    return c;
}

Canvas transparentArea(int w, int h) { return Canvas(w, h); }

Canvas sink(int nPile) {
    Canvas c(80, 60);
    if (nPile == 0) {
        c.roundRect(2, 18, 76, 40, 8, rgb(0x9AA5AE));
        c.roundRect(8, 22, 64, 20, 6, rgb(0x5C6B73));
        c.line(62, 20, 62, 6, 4, rgb(0x9AA5AE));
        c.line(62, 6, 52, 6, 4, rgb(0x9AA5AE));
        c.outline(kInkBar, 1);
        return c;
    }
    for (int i = 0; i < nPile; ++i) {
        const float x = 18.0f + (i % 2) * 22 + (i / 2) * 8, y = 28.0f - i * 6;
        c.roundRect(x, y, 16, 14, 3, rgb(0xCFE8F2, 200));
        c.outline(rgb(0x7FA9BC), 1);
    }
    return c;
}

Canvas chair() {
    Canvas c(50, 80);
    const Rgba wood = rgb(0x8D5524);
    c.rect(6, 4, 8, 74, wood);
    c.rect(6, 34, 40, 8, wood);
    c.rect(38, 40, 6, 38, wood);
    c.rect(6, 8, 8, 22, rgb(0xC68642));
    c.outline(kInkBar, 1);
    return c;
}

Canvas table() {
    Canvas c(140, 70);
    c.ellipse(70, 16, 66, 13, rgb(0xA0522D));
    c.rect(64, 20, 12, 44, rgb(0x7B3F1D));
    c.ellipse(70, 64, 26, 5, rgb(0x7B3F1D));
    c.outline(kInkBar, 1);
    return c;
}

Canvas centrepiece(int nLevel) {
    Canvas c(40, 40);
    c.roundRect(12, 22, 16, 16, 4, rgb(nLevel == 1 ? 0x457B9D : 0xE9C46A));
    const int nFlowers = nLevel == 1 ? 2 : 4;
    for (int i = 0; i < nFlowers; ++i) {
        const float x = 10.0f + i * (20.0f / std::max(1, nFlowers - 1)), y = 10.0f + (i % 2) * 5;
        c.line(20, 24, x, y, 1.5f, rgb(0x2D6A4F));
        c.ellipse(x, y, 5, 5, rgb(i % 2 ? 0xF15BB5 : 0xFFCA3A));
    }
    c.outline(kInkBar, 1);
    return c;
}

Canvas tablecloth(int nLevel) {
    Canvas c(120, 40);
    const Rgba col = rgb(nLevel == 1 ? 0xFFFFFF : 0xE63946);
    c.ellipse(60, 12, 58, 10, col);
    c.polygon({{4, 12}, {116, 12}, {108, 38}, {12, 38}}, col);
    if (nLevel == 2)
        for (int x = 12; x < 110; x += 16) c.rect(x, 14, 8, 22, rgb(0xFFFFFF, 200));
    c.outline(kInkBar, 1);
    return c;
}

// The juice machine, on a picture 100 wide: frame 0 at rest, 1 and 2 working
// (the drum turns), 3 pushing the glass out. Its buttons stand on the panel
// at the top, its glass leaves from x 82 and slides left along the shelf at
// y 143. It leaves the picture's right edge clear for a guest who stands
// beside the counter's end.
Canvas juicer(int nFrame) {
    Canvas c(100, 160);
    c.roundRect(4, 1, 90, 149, 12, rgb(0xE76F51));
    c.roundRect(8, 6, 82, 62, 8, rgb(0xFCEFD4));
    c.ellipse(50, 108, 24, 18, rgb(0xBFE3F0, 200));
    for (int i = 0; i < 3; ++i) {
        const float a = nFrame * 0.7f + i * 2.094f;
        c.line(50, 108, 50 + 18 * std::cos(a), 108 + 13 * std::sin(a), 4, rgb(0xF4A261));
    }
    c.rect(6, 140, 86, 8, rgb(0x6D4426));
    if (nFrame == 3) c.rect(62, 130, 30, 6, rgb(0xFFFFFF, 180));
    c.outline(kInkBar, 1);
    return c;
}

Canvas juicerPart() {
    Canvas c(40, 40);
    c.ellipse(20, 20, 12, 12, rgb(0x2A9D8F));
    c.ellipse(20, 20, 6, 6, rgb(0xE9F5DB));
    c.outline(kInkBar, 1);
    return c;
}

Canvas machineButton(bool bFruit, bool bDown) {
    Canvas c(28, 28);
    const Rgba col = bFruit ? rgb(0xF4A261) : rgb(0x8ECAE6);
    c.ellipse(14, 15, 12, 12, shade(col, 0.6f));
    c.ellipse(14, bDown ? 15 : 13, 11, 11, bDown ? shade(col, 0.85f) : col);
    c.outline(kInkBar, 1);
    return c;
}

Canvas walkMarker() {
    Canvas c(30, 16);
    c.ellipse(15, 8, 13, 6, rgb(0xFFFFFF, 140));
    c.ellipse(15, 8, 9, 4, rgb(0xF4D35E, 200));
    return c;
}

Canvas coin() {
    Canvas c(36, 36);
    c.ellipse(18, 18, 16, 16, rgb(0xC99A06));
    c.ellipse(18, 18, 13, 13, rgb(0xFFD60A));
    c.rect(16, 9, 4, 18, rgb(0xC99A06));
    c.outline(kInkBar, 1);
    return c;
}

Canvas star(int nFrame) {
    Canvas c(32, 32);
    std::vector<Pt> v;
    const float r = nFrame == 1 ? 14.0f : 12.0f;
    for (int i = 0; i < 10; ++i) {
        const float a = -1.5708f + i * 0.6283f, rr = i % 2 ? r * 0.45f : r;
        v.push_back(Pt{16 + rr * std::cos(a), 16 + rr * std::sin(a)});
    }
    c.polygon(v, nFrame == 1 ? rgb(0xFFD60A) : rgb(0xFFE97F));
    c.outline(rgb(0xC99A06), 1);
    return c;
}

Canvas dispenser(int nFrame) {
    Canvas c(50, 60);
    c.roundRect(6, 18, 38, 40, 6, rgb(0x6A4C93));
    c.roundRect(10, 4, 30, 18, 6, rgb(0xBFE3F0, 200));
    for (int i = 0; i < 3; ++i) c.polygon({{14.0f + i * 8, 16}, {18.0f + i * 8, 8 - (nFrame + i) % 2 * 2.0f}, {22.0f + i * 8, 16}}, rgb(i == 1 ? 0xF15BB5 : 0xFFCA3A));
    c.rect(18, 40, 14, 6, rgb(nFrame ? 0xFFCA3A : 0x3A2A22));
    c.outline(kInkBar, 1);
    return c;
}

Canvas perch() {
    Canvas c(60, 90);
    c.rect(27, 10, 6, 76, rgb(0x8D5524));
    c.rect(6, 10, 48, 6, rgb(0x8D5524));
    c.ellipse(30, 86, 20, 4, rgb(0x5A3418));
    c.outline(kInkBar, 1);
    return c;
}

}  // namespace

void makeBar(Output& out) {
    out.picture("bar_sky", sky());
    out.picture("bar_room", room());
    out.picture("bar_counter", counter());
    out.picture("hud_plate_money", hudPlate(226));
    out.picture("hud_plate_clock", hudPlate(104));
    out.picture("posavaso_1", coaster());
    // A standing customer's click area reaches from the head down to the
    // ledge; a seated VIP's from under her balloon down to the floor, and from
    // her back to her knees and the glass she holds out or puts down (the
    // scene places the one of a seat facing east and the one facing west).
    out.picture("seat_hotspot", transparentArea(60, 130));
    out.picture("vip_seat_hotspot", transparentArea(76, 172));
    out.picture("vip_seat_hotspot_w", transparentArea(76, 172));
    out.picture("dispenser_hotspot", transparentArea(50, 60));
    for (int i = 0; i <= 4; ++i) out.picture(i ? "sink_pile_" + std::to_string(i) : "sink", sink(i));
    out.picture("silla", chair());
    out.picture("mesa", table());
    for (int i = 1; i <= 2; ++i) {
        out.picture("centro_" + std::to_string(i), centrepiece(i));
        out.picture("mantel_" + std::to_string(i), tablecloth(i));
    }
    for (int i = 0; i < 4; ++i) out.picture("juicer_" + std::to_string(i), juicer(i));
    out.picture("juicer_part", juicerPart());
    for (bool bFruit : {true, false})
        for (bool bDown : {false, true})
            out.picture(std::string("button_") + (bFruit ? "fruta" : "vaso") + (bDown ? "_down" : "_up"),
                        machineButton(bFruit, bDown));
    out.picture("walk_marker", walkMarker());
    out.picture("popup_money", coin());
    out.picture("star_1", star(0));
    out.picture("star_2", star(1));
    out.picture("prop_dispenser_1", dispenser(0));
    out.picture("prop_dispenser_2", dispenser(1));
    out.picture("parrot_stand", perch());
}

}  // namespace cg

// The store and the purchase dialog: the shop, its mask and speech bubble,
// the salesman's and the shop parrot's frames, the item pictures in their
// normal and highlighted looks, the stamps and the dialog's pictures.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "figure.h"
#include "sets.h"
#include "text.h"

namespace cg {

namespace {

// The shop, laid out around the places where the store puts its items
// (each centred on its place): a poster on the wall (574, 210), three juice
// machines on stepped crates (320, 232), (380, 243), (440, 262) left of the
// salesman, who stands on his bottom centre at (472, 311); chairs on the
// floor (141, 299); decorations, centrepieces and trays on the front counter
// (122, 424), (283, 403), (432, 437); the parrot on a perch at the right
// edge (743, 360: the middle of its picture, for sale and sold out alike);
// the description line's paper at (20, 529), the money's tag centred on
// x 542 (the store lays the coin and the sum out on it, up to nine digits)
// and the Back button at (627, 531).
constexpr Rgba kWall = rgb(0xF2D7A6), kPlank = rgb(0xE3C28C), kFloor = rgb(0xB5834F);
constexpr Rgba kCounter = rgb(0x8D5524), kCounterTop = rgb(0xA86B32), kPaper = rgb(0xFFF8E7);
// The glasses the waitress carries on the small and the large tray.
constexpr int kSmallTrayGlasses = 4, kLargeTrayGlasses = 6;

// The pillar at the right edge; the store's mask picture repeats its lower part.
void pillar(Canvas& c, float x, float y, float h) {
    c.rect(x, y, 800 - x, h, rgb(0x7A4E2D));
    c.line(x + 3, y, x + 3, y + h, 1.5f, rgb(0x5C3A1E));
}

Canvas shop() {
    Canvas c(800, 600);
    c.rect(0, 0, 800, 311, kWall);
    for (int x = 0; x < 800; x += 46) c.line(x, 0, x, 311, 2, kPlank);
    c.rect(0, 0, 800, 26, rgb(0x9D6B3F));
    // A window with the sea.
    c.roundRect(60, 60, 170, 120, 8, rgb(0x7A4E2D));
    c.gradient(68, 68, 154, 104, rgb(0x8ECAE6), rgb(0x3FA7C9));
    c.rect(68, 130, 154, 42, rgb(0x2C8FB8));
    c.line(145, 68, 145, 172, 5, rgb(0x7A4E2D));
    c.line(68, 120, 222, 120, 5, rgb(0x7A4E2D));
    // The floor and the skirting.
    c.rect(0, 311, 800, 289, kFloor);
    for (int y = 330; y < 600; y += 24) c.line(0, y, 800, y, 1.5f, rgb(0x9A6B3C));
    c.rect(0, 305, 800, 8, rgb(0x7A4E2D));
    // Stepped crates under the juice machines.
    static const float kCrates[][3] = {{290, 269, 60}, {350, 280, 60}, {410, 299, 60}};
    for (const auto& k : kCrates) {
        c.rect(k[0], k[1], k[2], 313 - k[1], rgb(0xC98B52));
        c.line(k[0], k[1] + 1, k[0] + k[2], k[1] + 1, 2, rgb(0x8D5524));
        c.line(k[0] + k[2] / 2, k[1], k[0] + k[2] / 2, 313, 1.5f, rgb(0x8D5524));
    }
    // The parrot's perch, under the feet of the parrot standing at (743, 360).
    c.rect(708, 390, 70, 7, rgb(0x6D4426));
    c.line(743, 397, 743, 600, 6, rgb(0x6D4426));
    pillar(c, 789, 270, 330);
    // The front counter.
    c.rect(40, 452, 520, 18, kCounterTop);
    c.rect(52, 470, 496, 60, kCounter);
    for (int x = 60; x < 548; x += 40) c.line(x, 472, x, 528, 2, rgb(0x6D4426));
    c.outline(kInk, 1);
    // The paper under the description line and the money tag.
    c.roundRect(10, 522, 446, 70, 10, kPaper);
    c.roundRect(462, 536, 160, 40, 8, kPaper);
    return c;
}

// The coin that stands before the money on its tag.
Canvas tagCoin() {
    Canvas c(18, 18);
    c.ellipse(9, 9, 8, 8, rgb(0xFFD166));
    drawText(c, "$", 9, 1, TextStyle{12, true, rgb(0x8D6708), Align::Center});
    return c;
}

// The salesman, slim and standing: 0 normal, 1 eyes shut, 2 and 3 talking,
// 4 sad, 5 and 6 smiling. Drawn right of his picture's middle so the first
// juice machine beside him stays in sight.
Canvas salesman(int n) {
    Palette p;
    p.skin = rgb(0xD9A066);
    p.top = rgb(0x457B9D);
    p.hair = rgb(0x9A9A9A);
    Canvas c(160, 220);
    const float cx = 110;
    drawLeg(c, Pt{cx - 8, 176}, Pt{cx - 9, 214}, -1, p, 11);
    drawLeg(c, Pt{cx + 8, 176}, Pt{cx + 9, 214}, 1, p, 11);
    c.roundRect(cx - 24, 104, 48, 80, 12, p.top);
    c.rect(cx - 16, 124, 32, 58, rgb(0xFFF8E7));
    drawArm(c, Pt{cx - 20, 112}, Pt{cx - 26, 168}, -6, p, 9);
    drawArm(c, Pt{cx + 20, 112}, Pt{cx + 26, 168}, 6, p, 9);
    c.ellipse(cx, 80, 21, 24, p.skin);
    c.ellipse(cx, 60, 18, 8, p.hair);
    c.ellipse(cx, 96, 10, 4, p.hair);
    drawEyes(c, Pt{cx - 8, 76}, Pt{cx + 8, 76}, 2.6f, n != 1, p);
    if (n == 2 || n == 3) c.ellipse(cx, 90, 5, n == 2 ? 4.0f : 2.0f, rgb(0x7B2D26));
    else if (n == 4) drawMouth(c, Pt{cx, 92}, 10, false, p);
    else drawMouth(c, Pt{cx, 89}, n >= 5 ? 14.0f : 10.0f, n != 0, p);
    c.outline(kInk, 1);
    return c;
}

// The shop's parrot, standing in the middle of its picture with its feet on
// row 76, where the perch runs; the tail hangs in front of the perch.
Canvas shopParrot(int n) {
    Canvas c(70, 90);
    const Rgba body = n == 2 ? rgb(0x52D273) : rgb(0x2BA84A);
    const float x = 13;  // from the picture's left part to its middle
    c.polygon({{x + 16, 70}, {x + 24, 70}, {x + (n == 1 ? 10.0f : 16), 90}}, rgb(0x1D6FA3));
    c.ellipse(x + 22, 54, 13, 22, body);
    c.ellipse(x + 22, 26, 11, 11, rgb(0xE63946));
    c.polygon({{x + 12, 24}, {x + 2, 30}, {x + 12, 32}}, rgb(0xFFD60A));
    c.ellipse(x + 19, 23, 2, 2, rgb(0x1B1B1B));
    c.polygon({{x + 28, 46}, {x + 36, 52}, {x + (n == 1 ? 40.0f : 34), 74}}, rgb(0x1D6FA3));
    c.outline(kInk, 1);
    return c;
}

// The look of each store item, sized to what it shows.
void juicer(Canvas& c, int nStars) {
    const float w = static_cast<float>(c.width());
    c.roundRect(4, 6, w - 8, 64, 8, rgb(0xE9C46A));
    c.roundRect(10, 12, w - 20, 18, 4, rgb(0xBFE3F0));
    c.ellipse(16, 40, 4, 4, rgb(0xE63946));
    c.ellipse(w / 2, 40, 4, 4, rgb(0x52B788));
    c.ellipse(w - 16, 40, 4, 4, rgb(0xFFD60A));
    c.roundRect(w / 2 - 8, 50, 16, 10, 3, rgb(0x457B9D));
    c.rect(6, 70, w - 12, 4, rgb(0x6C7A89));
    for (int i = 0; i < nStars; ++i) c.ellipse(w - 10 - i * 12.0f, 8, 6, 6, rgb(0xE76F51));
}

// The glasses stand apart on the tray, so that each can be told from the
// next.
void tray(Canvas& c, int nGlasses) {
    const float w = static_cast<float>(c.width());
    c.ellipse(w / 2, 48, w / 2 - 3, 10, rgb(0xA8A8A8));
    c.ellipse(w / 2, 46, w / 2 - 7, 7, rgb(0xD0D0D0));
    for (int i = 0; i < nGlasses; ++i) {
        const float x = w / 2 + (i - (nGlasses - 1) / 2.0f) * 17;
        c.roundRect(x - 6, 16, 12, 28, 3, rgb(0xE8F4F8, 230));
        c.rect(x - 5, 28, 10, 15, i % 2 ? rgb(0xF4A261) : rgb(0xE76F51));
    }
}

// One chair, the bar's own in side view (its back on the left): the store
// sells the chairs one at a time.
void chair(Canvas& c) {
    const Rgba wood = rgb(0x8D5524);
    c.rect(32, 6, 9, 66, wood);
    c.rect(32, 40, 42, 8, wood);
    c.rect(66, 46, 7, 26, wood);
    c.rect(32, 10, 9, 26, rgb(0xC68642));
}

void poster(Canvas& c, bool bDancer, int nLevel) {
    const float w = static_cast<float>(c.width()), h = static_cast<float>(c.height());
    c.rect(2, 2, w - 4, h - 4, bDancer ? rgb(0x6A4C93) : rgb(0x2A9D8F));
    c.rect(6, 6, w - 12, h - 12, bDancer ? rgb(0x9B72CF) : rgb(0x52B69A));
    if (bDancer) {
        c.ellipse(w / 2, 30, 8, 8, rgb(0xF1C27D));
        c.polygon({{w / 2, 38}, {w / 2 - 16, 72}, {w / 2 + 16, 72}}, rgb(0xE63946));
        c.line(w / 2 - 4, 72, w / 2 - 10, 88, 3, rgb(0xF1C27D));
        c.line(w / 2 + 4, 72, w / 2 + 12, 84, 3, rgb(0xF1C27D));
    } else {
        c.roundRect(w / 2 - 20, 40, 16, 36, 5, rgb(0xC98B52));
        c.roundRect(w / 2 + 4, 46, 16, 30, 5, rgb(0xC98B52));
        c.ellipse(w / 2 - 12, 40, 8, 3, rgb(0xF3E2BE));
        c.ellipse(w / 2 + 12, 46, 8, 3, rgb(0xF3E2BE));
    }
    for (int i = 0; i < nLevel; ++i) c.ellipse(14 + i * 12.0f, h - 26, 5, 5, rgb(0xFFD60A));
}

void jar(Canvas& c) {
    c.roundRect(20, 30, 40, 38, 8, rgb(0xBFE3F0, 200));
    static const uint32_t kColours[] = {0xE63946, 0xFFD60A, 0x2A9D8F, 0xF4A261};
    for (int i = 0; i < 4; ++i) {
        const float x = 26.0f + i * 9;
        c.line(x + 4, 60, x, 16, 2, rgb(0x8D5524));
        c.polygon({{x - 9, 18}, {x, 8}, {x + 9, 18}}, rgb(kColours[i]));
    }
}

void vase(Canvas& c, int nFlowers) {
    const float w = static_cast<float>(c.width());
    c.roundRect(w / 2 - 12, 52, 24, 26, 8, rgb(0x457B9D));
    static const uint32_t kColours[] = {0xE63946, 0xFFD166, 0xF4A261, 0xFF8FAB, 0x9B72CF};
    for (int i = 0; i < nFlowers; ++i) {
        const float a = -2.6f + i * (2.2f / std::max(1, nFlowers - 1)), r = 30;
        const float x = w / 2 + r * std::cos(a), y = 56 + r * std::sin(a);
        c.line(w / 2, 56, x, y, 2, rgb(0x2D7A3E));
        c.ellipse(x, y, 7, 7, rgb(kColours[i % 5]));
        c.ellipse(x, y, 2.5f, 2.5f, rgb(0xFFF3B0));
    }
}

// The size of each store item's picture, by what it shows.
struct ItemSize {
    const char* szKind;
    int w, h;
};
constexpr ItemSize kSizes[] = {{"tray1", 96, 62}, {"tray2", 124, 62}, {"chair", 100, 90}, {"juicer", 60, 78},
                               {"juicer1", 60, 78}, {"juicer2", 60, 78}, {"parrot", 70, 90}, {"jar", 80, 70},
                               {"vase1", 80, 84}, {"vase2", 80, 84}, {"bongos", 68, 100}, {"dancer", 68, 100}};

// The store's item buttons take a pointer only over pixels that are not
// fully clear, and the objects leave much air between their parts (the legs
// of the stools, the sticks in the jar, the tray's glasses): the clear pixels
// get the faintest alpha, invisible on the shelf, so that the whole picture
// answers the pointer in both its looks.
void clickPlate(Canvas& c) {
    for (Rgba& p : c.pixels())
        if (p.a == 0) p = Rgba{0, 0, 0, 1};
}

// The item picture: the object with a small name plate; highlighted, a warm
// glow behind it. The plate leaves 5 pixels of its colour each side of the
// name, fewer on a picture too narrow for that, but never fewer than 2: a
// name that can't fit is refused.
Canvas item(const std::string& sKind, const std::string& sName, bool bHighlight) {
    int w = 80, h = 80;
    for (const ItemSize& z : kSizes)
        if (sKind == z.szKind) w = z.w, h = z.h;
    Canvas obj(w, h);
    if (sKind == "tray1") tray(obj, kSmallTrayGlasses);
    else if (sKind == "tray2") tray(obj, kLargeTrayGlasses);
    else if (sKind == "chair") chair(obj);
    else if (sKind.rfind("juicer", 0) == 0) juicer(obj, sKind.size() > 6 ? sKind[6] - '0' : 0);
    else if (sKind == "parrot") obj = shopParrot(0);
    else if (sKind == "jar") jar(obj);
    else if (sKind == "vase1") vase(obj, 3);
    else if (sKind == "vase2") vase(obj, 5);
    else poster(obj, sKind == "dancer", sName.back() == '2' ? 2 : 1);
    obj.outline(kInk, 1);
    Canvas c(w, h);
    if (bHighlight) {
        Canvas glow = obj;
        glow.outline(rgb(0xFFD60A), 3);
        c.blit(glow, 0, 0);
    }
    c.blit(obj, 0, 0);
    constexpr int kPlatePad = 10, kLeastPad = 4;
    const TextStyle style{11, true, rgb(0xFFF8E7), Align::Center};
    const int nName = textWidth(sName, style);
    if (nName + kLeastPad > w) throw std::runtime_error("contentgen: the label '" + sName + "' is too wide");
    const float fPlate = static_cast<float>(std::min(nName + kPlatePad, w));
    c.roundRect((w - fPlate) / 2, h - 16, fPlate, 15, 5, bHighlight ? rgb(0xE76F51) : rgb(0x5A3418));
    drawText(c, sName, w / 2.0f, h - 15, style);
    clickPlate(c);
    return c;
}

// A stamp laid across an item that cannot be bought (centred on it, drawn
// into the item's picture): it stands whole on the narrowest item, its words
// on lines of their own where one line would be wider.
Canvas stamp(const std::string& sWords, Rgba col) {
    constexpr int kPad = 6, kTop = 3, kOneLine = 20;
    const TextStyle style{12, true, col, Align::Center};
    int nNarrowest = kSizes[0].w, nLowest = kSizes[0].h;
    for (const ItemSize& z : kSizes) nNarrowest = std::min(nNarrowest, z.w), nLowest = std::min(nLowest, z.h);
    const std::vector<std::string> vLines = wrapText(sWords, style, nNarrowest - 2 * kPad - 2);
    int nWidest = 0;
    for (const std::string& sLine : vLines) nWidest = std::max(nWidest, textWidth(sLine, style));
    const int nStep = textHeight(style) - 1, nLines = static_cast<int>(vLines.size());
    const int w = nWidest + 2 * kPad, h = kOneLine + (nLines - 1) * nStep;
    if (w > nNarrowest || h > nLowest) throw std::runtime_error("contentgen: the stamp '" + sWords + "' is too big");
    Canvas c(w, h);
    c.roundRect(0, 0, static_cast<float>(w), static_cast<float>(h), 5, rgb(0x1B1B1B, 190));
    for (int i = 0; i < nLines; ++i)
        drawText(c, vLines[static_cast<size_t>(i)], w / 2.0f, static_cast<float>(kTop + i * nStep), style);
    return c;
}

}  // namespace

void makeStore(Output& out) {
    out.picture("upgrade_store", shop());
    out.picture("store_mask", shop().crop(789, 270, 11, 330));
    out.picture("store_coin", tagCoin());
    Canvas bubble(150, 90);
    bubble.polygon({{20, 70}, {40, 70}, {8, 88}}, rgb(0xFFFFFF));
    bubble.roundRect(2, 2, 146, 72, 18, rgb(0xFFFFFF));
    bubble.outline(rgb(0x6C7A89), 1);
    out.picture("store_globito_normal", bubble);
    for (int i = 0; i < 7; ++i) out.picture("salesman_" + std::to_string(i + 1), salesman(i));
    for (int i = 0; i < 3; ++i) out.picture("store_parrot_" + std::to_string(i + 1), shopParrot(i));
    const char* const kItems[][3] = {
        {"store_bandeja1", "tray1", "Tray"},       {"store_bandeja2", "tray2", "Big tray"},
        {"store_sillas", "chair", "Chair"},        {"store_jugomatic", "juicer", "Juicer"},
        {"store_parrot", "parrot", "Parrot"},      {"store_decos", "jar", "Decor"},
        {"store_centros1", "vase1", "Flowers"},    {"store_centros2", "vase2", "Bouquet"},
        {"store_cartel1", "bongos", "Bongos"},     {"store_cartel2", "bongos", "Bongos 2"},
        {"store_cartel3", "dancer", "Dancer"},     {"store_cartel4", "dancer", "Dancer 2"},
        // The juice machines' further levels (a barman: one star; his second
        // glass: two), each named by its machine.
        {"store_barman1", "juicer1", "Juicer 1"}, {"store_barman2", "juicer2", "Juicer 1"},
        {"store_secondbarman1", "juicer1", "Juicer 2"}, {"store_secondbarman2", "juicer2", "Juicer 2"},
    };
    for (const auto& it : kItems) {
        out.picture(std::string(it[0]) + "_normal", item(it[1], it[2], false));
        out.picture(std::string(it[0]) + "_highlight", item(it[1], it[2], true));
    }
    out.picture("store_soldout", stamp("SOLD OUT", rgb(0xE63946)));
    out.picture("store_notavail", stamp("LATER", rgb(0xFFFFFF)));
    // The purchase dialog lays this picture's bottom-left corner on the
    // preview window's top-left corner, over everything: a wooden lintel
    // over the window, clear elsewhere so the dialog shows through.
    Canvas lintel(340, 250);
    lintel.roundRect(-4, 242, 328, 8, 3, rgb(0x6D4426));
    lintel.outline(kInk, 1);
    out.picture("mask_buyupgrade", lintel);
    out.picture("buyupgrade_bandeja1_normal", item("tray1", "Tray", false));
    out.picture("buyupgrade_bandeja2_normal", item("tray2", "Big tray", false));
    // The preview lays ten of these along its bottom edge, over the room. The
    // level has nothing there but its floor, so the strip is clear and the
    // preview shows the floor to its bottom, as the level does.
    out.picture("ui_fondo_azul", Canvas(80, 45));
}

}  // namespace cg

// The bar's other figures: the barmen, the bongo player and the dancer (each
// with the clothes that another look changes in a picture of their own),
// and the parrot (body, two wing frames and legs per heading).
#include <cmath>
#include <string>

#include "figure.h"
#include "sets.h"

namespace cg {

namespace {

// The barman behind his counter, waiting (two frames) or shaking a drink, in
// pictures like the bongo player's: his clothes, of which the house's
// barman wears a white shirt, a waistcoat and a bow tie and the juice
// machines' barmen a shirt and apron of the juice bar (which the second
// machine's barman's look recolours); and the rest of him (neck, head,
// forearms and hands, the shaker), which the script draws over them.
Palette barmanColours() {
    Palette p;
    p.skin = rgb(0xC68642);
    p.hair = rgb(0x1B1B1B);
    p.top = rgb(0xFFFFFF);
    p.bottom = rgb(0x1B1B1B);
    return p;
}

float shakerLift(bool bWork, int nFrame) { return bWork && nFrame ? -16.0f : 0.0f; }

void barmanArms(Canvas& c, bool bWork, int nFrame, const Palette& p) {
    if (bWork) {
        const float fUp = shakerLift(bWork, nFrame);
        drawArm(c, Pt{34, 80}, Pt{48, 60 + fUp}, -4, p);
        drawArm(c, Pt{76, 80}, Pt{62, 62 + fUp}, 4, p);
    } else {
        drawArm(c, Pt{34, 80}, Pt{30, 140}, 4, p);
        drawArm(c, Pt{76, 80}, Pt{80, 140}, -4, p);
    }
}

enum class BarmanClothes { House, JuiceBar };

Canvas barmanClothes(BarmanClothes eClothes, bool bWork, int nFrame) {
    Palette p = barmanColours();
    p.skin = Rgba{};
    Canvas c(110, 200);
    if (eClothes == BarmanClothes::House) {
        c.roundRect(30, 70, 50, 110, 14, p.top);
        c.polygon({{48, 72}, {62, 72}, {55, 84}}, rgb(0x9D0208));  // bow tie
        c.roundRect(34, 100, 42, 80, 8, rgb(0x1B1B1B));             // waistcoat
    } else {
        p.top = rgb(0xE76F51);
        c.roundRect(30, 70, 50, 110, 14, p.top);
        for (int i = 0; i < 3; ++i) c.line(40.0f + i * 15, 74, 40.0f + i * 15, 176, 3, rgb(0xFFD166));  // stripes
        c.polygon({{48, 70}, {62, 70}, {55, 80}}, rgb(0xFCEFD4));  // open collar
        c.line(42, 76, 44, 96, 2, rgb(0x2A9D8F));                  // the apron's straps
        c.line(68, 76, 66, 96, 2, rgb(0x2A9D8F));
        c.roundRect(40, 94, 30, 30, 4, rgb(0xFCEFD4));  // its bib
        c.roundRect(34, 120, 42, 64, 6, rgb(0xFCEFD4));
        c.rect(32, 118, 46, 4, rgb(0x2A9D8F));  // its band
    }
    barmanArms(c, bWork, nFrame, p);
    c.outline(kInk, 1);
    return c;
}

Canvas barmanRest(bool bWork, int nFrame) {
    Palette p = barmanColours();
    p.top = Rgba{};
    Canvas c(110, 200);
    c.rect(50, 56, 10, 16, p.skin);
    c.ellipse(55, 40, 19, 21, p.skin);
    c.polygon({{36, 36}, {40, 20}, {56, 16}, {72, 22}, {74, 36}, {64, 28}, {46, 28}}, p.hair);
    c.line(46, 52, 64, 52, 3, p.hair);  // moustache
    drawEyes(c, Pt{48, 40}, Pt{62, 40}, 2.2f, nFrame == 0 || bWork, p);
    barmanArms(c, bWork, nFrame, p);
    if (bWork) c.roundRect(48, 34 + shakerLift(bWork, nFrame), 14, 28, 4, rgb(0xC0C7CC));
    c.outline(kInk, 1);
    return c;
}

// The bongo player, each beat in two pictures: his shirt with its sleeves,
// which the second player's look recolours, and the rest of him (drums,
// head and hat, forearms and hands), which the script draws over it.
Palette bongoColours() {
    Palette p;
    p.skin = rgb(0x8D5524);
    p.top = rgb(0xE63946);
    return p;
}

void bongoArms(Canvas& c, int nFrame, const Palette& p) {
    const bool bLeftUp = nFrame == 0;
    drawArm(c, Pt{30, 44}, Pt{26, bLeftUp ? 64.0f : 78.0f}, 4, p);
    drawArm(c, Pt{60, 44}, Pt{64, bLeftUp ? 78.0f : 64.0f}, -4, p);
}

Canvas bongoShirt(int nFrame) {
    Palette p = bongoColours();
    p.skin = Rgba{};
    Canvas c(90, 120);
    c.roundRect(28, 36, 34, 50, 10, p.top);
    bongoArms(c, nFrame, p);
    c.outline(kInk, 1);
    return c;
}

Canvas bongoRest(int nFrame) {
    Palette p = bongoColours();
    p.top = Rgba{};
    Canvas c(90, 120);
    c.ellipse(45, 22, 14, 15, p.skin);
    c.ellipse(45, 12, 16, 6, rgb(0x2D6A4F));  // hat brim
    drawEyes(c, Pt{40, 22}, Pt{50, 22}, 1.8f, true, p);
    drawMouth(c, Pt{45, 30}, 7, true, p);
    for (int i = 0; i < 2; ++i) {
        const float x = 26.0f + i * 38;
        c.polygon({{x - 12, 82}, {x + 12, 82}, {x + 8, 116}, {x - 8, 116}}, rgb(0xA0522D));
        c.ellipse(x, 82, 12, 4, rgb(0xF2E8CF));
    }
    bongoArms(c, nFrame, p);
    c.outline(kInk, 1);
    return c;
}

// The dancer, each step in three pictures: her legs; her dress with its
// sleeves, which the second dancer's look recolours; and her head and arms.
// The script lays the legs under the dress and the rest over it.
Palette dancerColours() {
    Palette p;
    p.skin = rgb(0xE0AC69);
    p.hair = rgb(0x1B1B1B);
    p.top = rgb(0xF15BB5);
    return p;
}

float stepSide(int nFrame) { return nFrame ? 1.0f : -1.0f; }

void dancerArms(Canvas& c, int nFrame, const Palette& p) {
    const float s = stepSide(nFrame);
    drawArm(c, Pt{27, 36}, Pt{12, 20 + 10 * s}, 3, p, 6);
    drawArm(c, Pt{43, 36}, Pt{58, 20 - 10 * s}, -3, p, 6);
}

Canvas dancerLegs(int nFrame) {
    const Palette p = dancerColours();
    const float s = stepSide(nFrame);
    Canvas c(70, 150);
    drawLeg(c, Pt{30, 92}, Pt{28 - 6 * s, 142}, -1, p, 8);
    drawLeg(c, Pt{40, 92}, Pt{42 - 6 * s, 142}, 1, p, 8);
    c.outline(kInk, 1);
    return c;
}

Canvas dancerDress(int nFrame) {
    Palette p = dancerColours();
    p.skin = Rgba{};
    const float s = stepSide(nFrame);
    Canvas c(70, 150);
    c.polygon({{24, 60}, {46, 60}, {60 + 4 * s, 100}, {10 + 4 * s, 100}}, p.top);
    c.roundRect(25, 30, 20, 34, 6, p.top);
    dancerArms(c, nFrame, p);
    c.outline(kInk, 1);
    return c;
}

Canvas dancerRest(int nFrame) {
    Palette p = dancerColours();
    p.top = Rgba{};
    const float s = stepSide(nFrame);
    Canvas c(70, 150);
    c.ellipse(35 - 12 * s, 20, 6, 11, p.hair);  // the ponytail swings behind her head
    c.ellipse(35, 18, 11, 12, p.skin);
    c.ellipse(35, 10, 11, 6, p.hair);
    c.ellipse(44, 10, 4, 4, rgb(0xFFCA3A));  // flower in the hair
    drawEyes(c, Pt{31, 18}, Pt{39, 18}, 1.6f, true, p);
    drawMouth(c, Pt{35, 24}, 5, true, p);
    dancerArms(c, nFrame, p);
    c.outline(kInk, 1);
    return c;
}

// Parrot parts on 40 x 40, standing on the canvas's bottom centre.
enum ParrotPart { Body, Wing1, Wing2, Legs };

Canvas parrot(char cHeading, int nPart) {
    Canvas c(40, 40);
    const Rgba green = rgb(0x2BA84A), red = rgb(0xE63946), yellow = rgb(0xFFD60A);
    const bool bSide = cHeading == 'e';
    if (nPart == Legs) {
        c.line(17, 30, 16, 38, 2, rgb(0x6D4C41));
        c.line(23, 30, 24, 38, 2, rgb(0x6D4C41));
    } else if (nPart == Body) {
        c.ellipse(20, 22, bSide ? 10 : 9, 11, green);
        c.ellipse(bSide ? 24 : 20, 10, 7, 7, cHeading == 'n' ? green : red);
        if (cHeading != 'n') {
            c.polygon(bSide ? std::vector<Pt>{{30, 9}, {36, 12}, {30, 14}} : std::vector<Pt>{{18, 11}, {22, 11}, {20, 16}}, yellow);
            drawEyes(c, Pt{bSide ? 26.0f : 17.0f, 8}, Pt{bSide ? 26.0f : 23.0f, 8}, 1.3f, true, Palette{});
        }
        c.polygon({{16, 30}, {24, 30}, {bSide ? 8.0f : 20, 39}}, rgb(0x1D6FA3));  // tail
    } else {
        const float fLift = nPart == Wing1 ? 0.0f : -9.0f;
        if (bSide) c.polygon({{14, 18}, {26, 18}, {20, 30 + fLift}}, rgb(0x1D6FA3));
        else
            for (float s : {-1.0f, 1.0f})
                c.polygon({{20 + s * 6, 16}, {20 + s * 8, 26}, {20 + s * 18, 22 + fLift}}, rgb(0x1D6FA3));
    }
    c.outline(kInk, 1);
    return c;
}

}  // namespace

void makeFigures(Output& out) {
    for (int i = 0; i < 2; ++i) {
        const std::string n = std::to_string(i + 1);
        for (bool bWork : {false, true}) {
            const std::string sPose = std::string(bWork ? "work_" : "idle_") + n;
            out.picture("barman_" + sPose, barmanRest(bWork, i));
            out.picture("barman_coat_" + sPose, barmanClothes(BarmanClothes::House, bWork, i));
            out.picture("barman_shirt_" + sPose, barmanClothes(BarmanClothes::JuiceBar, bWork, i));
        }
        out.picture("bongo_shirt_" + n, bongoShirt(i));
        out.picture("bongo_" + n, bongoRest(i));
        out.picture("dancer_legs_" + n, dancerLegs(i));
        out.picture("dancer_dress_" + n, dancerDress(i));
        out.picture("dancer_" + n, dancerRest(i));
    }
    const char* const kParts[] = {"body", "wing_1", "wing_2", "legs"};
    for (char h : {'s', 'n', 'e'})
        for (int nPart = 0; nPart < 4; ++nPart)
            out.picture(std::string("parrot_") + h + "_" + kParts[nPart], parrot(h, nPart));
    // Perched, it shows its front with the wings folded a little further.
    for (int nPart = 0; nPart < 4; ++nPart) {
        Canvas c = parrot('s', nPart);
        if (nPart == Body) c.ellipse(20, 23, 3, 3, rgb(0xFFD60A));
        out.picture(std::string("parrot_stand_") + kParts[nPart], c);
    }
}

}  // namespace cg

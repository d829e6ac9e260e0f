// The records screen's picture: a signboard with the title, a board behind
// the three tab buttons (at 70, 160) and a sheet behind the list page (at
// 280, 150) that also holds the Back button (at 606, 460) in its lower
// right corner, clear of its rim; laid over the sand tiles, which show
// through everywhere else.
#include <cmath>
#include <vector>

#include "sets.h"
#include "text.h"

namespace cg {

namespace {

constexpr Rgba kWood = rgb(0xB07A4A);
constexpr Rgba kInkRecords = rgb(0x3A2A22);

void signboard(Canvas& c) {
    Canvas sign(800, 130);
    sign.line(300, 0, 300, 40, 6, rgb(0x6D4426));
    sign.line(500, 0, 500, 40, 6, rgb(0x6D4426));
    sign.roundRect(250, 30, 300, 80, 14, kWood);
    sign.roundRect(258, 38, 284, 64, 10, rgb(0xDDA15E));
    sign.outline(kInkRecords, 2);
    drawText(sign, "Records", 402, 46, TextStyle{36, true, rgb(0x5A3418, 120), Align::Center});
    drawText(sign, "Records", 400, 44, TextStyle{36, true, rgb(0xFFF8E7), Align::Center});
    c.blit(sign, 0, 0);
}

// A sheet of paper with faint ruled lines and a shadow.
void sheet(Canvas& c, float x, float y, float w, float h, int nLines) {
    c.roundRect(x + 6, y + 6, w, h, 14, rgb(0x5A3418, 70));
    c.roundRect(x, y, w, h, 14, rgb(0xFFF8E7, 235));
    for (int i = 1; i <= nLines; ++i) {
        const float fLine = y + 22 + i * 28.0f;
        c.line(x + 16, fLine, x + w - 16, fLine, 1, rgb(0x9DB4C0, 120));
    }
    c.roundRect(x, y, w, 8, 4, rgb(0xE76F51, 200));
}

void shells(Canvas& c) {
    Canvas deco(800, 600);
    for (int i = 0; i < 3; ++i) {
        const float x = 80.0f + i * 46, y = 520.0f + (i % 2) * 18;
        deco.ellipse(x, y, 18, 14, rgb(0xF6BD9C));
        for (int k = -2; k <= 2; ++k) deco.line(x, y + 12, x + k * 7.0f, y - 10, 1.5f, rgb(0xD9825B));
    }
    std::vector<Pt> vStar;
    for (int i = 0; i < 10; ++i) {
        const float a = -1.5707963f + i * 0.62831853f, r = i % 2 ? 8.0f : 20.0f;
        vStar.push_back(Pt{676 + r * std::cos(a), 545 + r * std::sin(a)});
    }
    deco.polygon(vStar, rgb(0xE76F51));
    deco.outline(kInkRecords, 1);
    c.blit(deco, 0, 0);
}

}  // namespace

void makeRecords(Output& out) {
    Canvas c(800, 600);
    signboard(c);
    sheet(c, 50, 140, 190, 200, 0);
    sheet(c, 262, 132, 470, 380, 10);
    shells(c);
    out.picture("high_back", c);
}

}  // namespace cg

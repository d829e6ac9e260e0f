// The four instruction pages: a title and three steps each, every step a
// small drawing of what to click beside its text, in the order a day is
// played: serving (the bubble, the coaster, the guest's place), the rest of
// the day (the empty glass to the sink, the waiting, the goal), the juice
// machines the store sells and the barmen who take their places, then what
// the adventure's score counts. The pages show the bar as a first day has
// it: the guests stand at their places by the windows, each with the flat
// patience meter across her knees. The bottom 60 pixels stay plain for the
// page buttons.
#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "figure.h"
#include "meter.h"
#include "sets.h"
#include "text.h"

namespace cg {

namespace {

constexpr int kPages = 4;
constexpr Rgba kPaper = rgb(0xFFF8E7);
constexpr Rgba kOrangeButton = rgb(0xF4A261);
constexpr Rgba kBrown = rgb(0x5A3418);

// The mouse pointer with its tip at (x, y) and three short rays of a click.
void click(Canvas& c, float x, float y) {
    for (int i = 0; i < 3; ++i) {
        const float dx[3] = {-12, -9, 0}, dy[3] = {0, -9, -12};
        c.line(x + dx[i] * 0.6f, y + dy[i] * 0.6f, x + dx[i] * 1.3f, y + dy[i] * 1.3f, 2.5f, rgb(0xE63946));
    }
    Canvas arrow(30, 34);
    arrow.polygon({{3, 3}, {24, 17}, {15, 18}, {20, 29}, {16, 31}, {11, 20}, {4, 26}}, rgb(0xFFFFFF));
    arrow.outline(rgb(0x1B1B1B), 1);
    c.blit(arrow, static_cast<int>(x) - 3, static_cast<int>(y) - 3);
}

void glass(Canvas& c, float x, float y, Rgba juice) {
    c.polygon({{x - 10, y - 30}, {x + 10, y - 30}, {x + 8, y}, {x - 8, y}}, rgb(0xDFF3FA));
    if (juice.a) c.polygon({{x - 9, y - 18}, {x + 9, y - 18}, {x + 8, y - 1}, {x - 8, y - 1}}, juice);
    c.line(x - 10, y - 30, x - 8, y, 1.5f, rgb(0x6C7A89));
    c.line(x + 10, y - 30, x + 8, y, 1.5f, rgb(0x6C7A89));
    c.line(x - 8, y, x + 8, y, 1.5f, rgb(0x6C7A89));
}

void counter(Canvas& c, float x, float y, float w) {
    c.rect(x, y, w, 10, rgb(0x6D4426));
    c.rect(x + 4, y + 10, w - 8, 30, rgb(0x9C5B2E));
}

Palette guest() {
    Palette p;
    p.top = rgb(0xE76F51);
    p.bottom = rgb(0x264653);
    return p;
}

Palette waitress() {
    Palette p;
    p.hair = rgb(0xA0522D);
    p.top = rgb(0xFFFFFF);
    p.bottom = rgb(0x2A9D8F);
    return p;
}

// A juice machine's barman in the juice bar's shirt.
Palette juiceBarman() {
    Palette p;
    p.skin = rgb(0xC68642);
    p.hair = rgb(0x1B1B1B);
    p.top = rgb(0xE76F51);
    return p;
}

void bubble(Canvas& c, float x, float y, Rgba juice) {
    c.polygon({{x - 6, y + 22}, {x + 6, y + 22}, {x - 10, y + 34}}, rgb(0xFFFFFF));
    c.roundRect(x - 26, y - 22, 52, 46, 14, rgb(0xFFFFFF));
    glass(c, x, y + 15, juice);
}

// A juice machine as the bar shows it, its top-left at (x, y): the glass
// buttons' row over the fruit buttons' row on its panel, the drum below.
void juicer(Canvas& c, float x, float y) {
    c.roundRect(x, y, 84, 100, 10, rgb(0xE76F51));
    c.roundRect(x + 6, y + 4, 72, 46, 6, rgb(0xFCEFD4));
    for (int i = 0; i < 3; ++i) {
        c.ellipse(x + 18 + i * 24.0f, y + 16, 9, 9, rgb(0x8ECAE6));
        c.ellipse(x + 18 + i * 24.0f, y + 38, 9, 9, kOrangeButton);
    }
    c.ellipse(x + 42, y + 74, 18, 14, rgb(0xBFE3F0));
    c.rect(x + 4, y + 92, 76, 5, rgb(0x6D4426));
}

struct Step {
    std::function<void(Canvas&, float, float)> draw;  // into the 170 x 120 box at its top-left
    const char* szText;
};

constexpr float kStepPitch = 140;

Canvas page(int nPage, const char* szTitle, const Step (&aSteps)[3]) {
    Canvas c(800, 600);
    c.gradient(0, 0, 800, 600, rgb(0xF3E2BE), rgb(0xE9D3A5));
    c.roundRect(20, 20, 760, 510, 20, kPaper);
    const std::string sTitle = std::string("How to play: ") + szTitle;
    drawText(c, sTitle, 400, 36, TextStyle{28, true, kBrown, Align::Center});
    drawText(c, std::to_string(nPage + 1) + " / " + std::to_string(kPages), 740, 44, TextStyle{16, false, kBrown, Align::Right});
    for (int i = 0; i < 3; ++i) {
        const float y = 100.0f + i * kStepPitch;
        c.roundRect(50, y, 170, 120, 12, rgb(0xDCEFF5));
        aSteps[i].draw(c, 50, y);
        c.ellipse(250, y + 22, 16, 16, rgb(0xE76F51));
        drawText(c, std::to_string(i + 1), 250, y + 10, TextStyle{18, true, rgb(0xFFFFFF), Align::Center});
        const float fBottom =
            drawParagraph(c, aSteps[i].szText, 280, y + 10, 470, TextStyle{20, false, kBrown, Align::Left});
        if (fBottom > y + kStepPitch - 4)
            throw std::runtime_error(std::string("how-to text runs into the next step: ") + aSteps[i].szText);
    }
    return c;
}

const Rgba kOrange = rgb(0xF4A261);

// A coaster on the counter, seen from the front.
void coaster(Canvas& c, float x, float y) {
    c.ellipse(x, y, 18, 5, rgb(0xC9A66B));
    c.ellipse(x, y - 1, 15, 3.5f, rgb(0xE3C28C));
}

// The ledge by the windows where the guests stand, its top at y, w wide.
void ledge(Canvas& c, float x, float y, float w) {
    c.rect(x, y, w, 6, rgb(0x8D5524));
    c.rect(x + 2, y + 6, w - 4, 3, rgb(0x6D4426));
}

// A standing guest's patience meter as the game shows it, its top-left at
// (x, y): the frame and the segments of a guest who has waited a while.
void standingMeter(Canvas& c, float x, float y) {
    constexpr int kSegmentsLeft = 5;
    for (int n = 0; n <= kSegmentsLeft; ++n) c.blit(meter(n, false), static_cast<int>(x), static_cast<int>(y));
}

// The sink: a steel basin on its cupboard.
void sink(Canvas& c, float x, float y) {
    c.roundRect(x, y, 90, 56, 8, rgb(0xA8B5BF));
    c.roundRect(x + 10, y + 8, 70, 36, 6, rgb(0x6C7A89));
    c.line(x + 70, y - 14, x + 70, y + 4, 3, rgb(0x8D99A6));
    c.line(x + 70, y - 14, x + 58, y - 14, 3, rgb(0x8D99A6));
}

// An arrow from (x0, y) to (x1, y).
void arrowRight(Canvas& c, float x0, float x1, float y) {
    c.line(x0, y, x1 - 8, y, 3, kBrown);
    c.polygon({{x1 - 10, y - 7}, {x1, y}, {x1 - 10, y + 7}}, kBrown);
}

// The day in the order it is played: the bubble, the coaster, the seat.
Canvas servingPage() {
    const Step steps[3] = {
        {[](Canvas& c, float x, float y) {
             ledge(c, x + 8, y + 60, 110);
             drawPerson(c, Pt{x + 60, y + 114}, 80, guest(), Pose::Stand);
             bubble(c, x + 124, y + 34, kOrange);
             click(c, x + 130, y + 44);
         },
         "A guest comes in and stands at a place by the windows; the bubble over the guest shows the drink "
         "wanted. Click the bubble: the waitress takes the order to the barman."},
        {[](Canvas& c, float x, float y) {
             counter(c, x + 10, y + 74, 150);
             coaster(c, x + 50, y + 74);
             glass(c, x + 50, y + 72, kOrange);
             coaster(c, x + 116, y + 74);
             click(c, x + 58, y + 58);
         },
         "The barman puts the drink on a coaster on the counter. Click the coaster: the waitress fetches the drink."},
        {[](Canvas& c, float x, float y) {
             ledge(c, x + 90, y + 60, 72);
             drawPerson(c, Pt{x + 46, y + 114}, 80, waitress(), Pose::Carry);
             drawPerson(c, Pt{x + 126, y + 114}, 80, guest(), Pose::Stand);
             click(c, x + 132, y + 82);
         },
         "Click the guest's place: she serves the drink. The guest pays, and quick service earns stars."},
    };
    return page(0, "serving", steps);
}

// After the drink: the empty glass to the sink, the waiting, the day's goal.
Canvas dayPage() {
    const Step steps[3] = {
        {[](Canvas& c, float x, float y) {
             ledge(c, x + 6, y + 78, 50);
             glass(c, x + 26, y + 77, Rgba{});
             click(c, x + 34, y + 76);
             arrowRight(c, x + 54, x + 78, y + 60);
             sink(c, x + 78, y + 50);
             click(c, x + 140, y + 74);
         },
         "A guest who has finished leaves the empty glass at the place: click it, then the sink. A guest who "
         "finds a glass at her place orders at once, but is served only after you clear it."},
        {[](Canvas& c, float x, float y) {
             drawPerson(c, Pt{x + 85, y + 100}, 80, guest(), Pose::Stand);
             standingMeter(c, x + 56, y + 76);
         },
         "The meter across a standing guest's knees (beside a seated one) shows how long they will wait. Serve them "
         "before it runs out!"},
        {[](Canvas& c, float x, float y) {
             for (int i = 0; i < 4; ++i) {
                 c.ellipse(x + 60 + i * 6.0f, y + 90.0f - i * 9, 22, 8, rgb(0xC99A06));
                 c.ellipse(x + 60 + i * 6.0f, y + 87.0f - i * 9, 22, 8, rgb(0xFFD60A));
             }
             drawText(c, "$", x + 78, y + 46, TextStyle{18, true, rgb(0xC99A06), Align::Center});
         },
         "Reach the day's goal to go on. Spend your money in the store: trays, chairs, a parrot and more."},
    };
    return page(1, "the rest of the day", steps);
}

// The juice machines the store sells: a glass, then a fruit; the full glass
// to the guest; and the barman who takes a machine's place.
Canvas juicerPage() {
    const Step steps[3] = {
        {[](Canvas& c, float x, float y) {
             juicer(c, x + 44, y + 10);
             click(c, x + 62, y + 26);
             click(c, x + 110, y + 48);
         },
         "Once you own a juice machine, click one of its glass buttons, then a fruit: the machine fills that glass "
         "with the juice and slides it out."},
        {[](Canvas& c, float x, float y) {
             counter(c, x + 10, y + 70, 150);
             coaster(c, x + 80, y + 70);
             glass(c, x + 80, y + 68, kOrange);
             click(c, x + 88, y + 62);
         },
         "A waitress who waits at the machine takes the full glass at once; else click it. Then click the place "
         "of the guest who asked for it. A second machine stands at the counter's other end."},
        {[](Canvas& c, float x, float y) {
             drawPerson(c, Pt{x + 85, y + 116}, 90, juiceBarman(), Pose::Stand);
             counter(c, x + 10, y + 80, 150);
             coaster(c, x + 40, y + 80);
             glass(c, x + 40, y + 78, kOrange);
             coaster(c, x + 130, y + 80);
         },
         "Buy a barman for a machine and he takes its place: beside the house's barman he makes the drinks the "
         "guests order, on a coaster in front of him; with two glasses, on a second coaster too."},
    };
    return page(2, "the juice machines", steps);
}

// A five-pointed star of outer radius r centred on (x, y).
void star(Canvas& c, float x, float y, float r) {
    std::vector<Pt> v;
    for (int i = 0; i < 10; ++i) {
        const float a = -1.5708f + static_cast<float>(i) * 0.6283f, rr = i % 2 ? r * 0.45f : r;
        v.push_back(Pt{x + rr * std::cos(a), y + rr * std::sin(a)});
    }
    c.polygon(v, rgb(0xFFD60A));
    c.polyline(v, 1.2f, rgb(0xC99A06));
    c.line(v.back().x, v.back().y, v.front().x, v.front().y, 1.2f, rgb(0xC99A06));
}

// A little paper umbrella standing in a glass at (x, y), as the decoration
// dispenser adds one.
void umbrella(Canvas& c, float x, float y) {
    c.line(x + 4, y - 20, x - 4, y - 46, 2, kBrown);
    c.polygon({{x - 24, y - 44}, {x - 4, y - 60}, {x + 14, y - 40}}, rgb(0xF15BB5));
}

// The trophy of a place in the records.
void trophy(Canvas& c, float x, float y) {
    const Rgba gold = rgb(0xE9B10A);
    c.polygon({{x - 26, y}, {x + 26, y}, {x + 18, y + 38}, {x - 18, y + 38}}, gold);
    c.ellipse(x - 28, y + 14, 8, 12, rgb(0xC99A06));
    c.ellipse(x + 28, y + 14, 8, 12, rgb(0xC99A06));
    c.ellipse(x - 28, y + 14, 4, 7, rgb(0xDCEFF5));
    c.ellipse(x + 28, y + 14, 4, 7, rgb(0xDCEFF5));
    c.rect(x - 5, y + 38, 10, 14, gold);
    c.roundRect(x - 22, y + 52, 44, 10, 3, rgb(0x8D5524));
    star(c, x, y + 18, 10);
}

// What the adventure's score counts, and where it leads. The numbers are
// the game's (records/adventurescore.h): 3 points a dollar, 50 a star.
Canvas scorePage() {
    const Step steps[3] = {
        {[](Canvas& c, float x, float y) {
             counter(c, x + 10, y + 72, 150);
             coaster(c, x + 60, y + 72);
             glass(c, x + 60, y + 70, kOrange);
             umbrella(c, x + 60, y + 70);
             star(c, x + 112, y + 30, 14);
             star(c, x + 142, y + 50, 14);
         },
         "Each drink a guest pays for brings $100. Quick service earns a star, and a drink with a decoration "
         "from the decoration dispenser earns one more."},
        {[](Canvas& c, float x, float y) {
             drawText(c, "$1 = 3", x + 85, y + 22, TextStyle{24, true, kBrown, Align::Center});
             star(c, x + 52, y + 84, 14);
             drawText(c, "= 50", x + 104, y + 70, TextStyle{24, true, kBrown, Align::Center});
         },
         "The adventure's score counts 3 points for every $1 and 50 for every star earned on the days whose "
         "goal you reach."},
        {[](Canvas& c, float x, float y) { trophy(c, x + 85, y + 30); },
         "Finish all 50 days and beat the lowest score of the Adventure records to enter them. Serve every "
         "guest quickly, with a decoration!"},
    };
    return page(3, "the adventure's score", steps);
}

}  // namespace

void makeHowTo(Output& out) {
    out.picture("howto0", servingPage());
    out.picture("howto1", dayPage());
    out.picture("howto2", juicerPage());
    out.picture("howto3", scorePage());
}

}  // namespace cg

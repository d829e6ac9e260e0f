// The theme's pictures: captioned and picture buttons in three or four
// states, the frame parts, the empty frame, the cursor, the separators, the
// slider and the check boxes.
#include <string>

#include "sets.h"
#include "text.h"

namespace cg {

namespace {

constexpr Rgba kEdge = rgb(0x5A3418);

// A wooden button: normal, pushed (darker, lower), highlight (lighter) or
// disabled (grey), with an optional word on it.
Canvas button(int w, int h, int nState, const std::string& sWord, Rgba base) {
    Canvas c(w, h);
    Rgba col = base;
    if (nState == 1) col = shade(base, 0.82f);
    if (nState == 2) col = mix(base, rgb(0xFFFFFF), 0.25f);
    if (nState == 3) col = rgb(0xB0A89A);
    const float dy = nState == 1 ? 2.0f : 0.0f;
    c.roundRect(1, 3, w - 2, h - 4, 10, shade(col, 0.6f));
    c.roundRect(1, 1 + dy, w - 2, h - 5, 10, col);
    if (!sWord.empty()) {
        const int nSize = h > 60 ? 20 : 16;
        // Dark letters on a light button, white ones on a dark button.
        const bool bLight = base.r * 3 + base.g * 6 + base.b > 2000;
        const Rgba ink = bLight ? rgb(0x5A3418) : rgb(0xFFFFFF);
        drawText(c, sWord, w / 2.0f, (h - nSize * 1.25f) / 2 + dy, TextStyle{nSize, true, ink, Align::Center});
    }
    c.outline(kEdge, 1);
    return c;
}

// The chosen row of a list: a deep sea teal with a cream rim inside the
// edge, level with the rows beside it (not pressed in), so that it reads as
// the one chosen and not as one that can't be chosen. The buttons' light
// lettering reads on it at better than 4.5 : 1.
Canvas chosenRow(int w, int h) {
    Canvas c(w, h);
    const Rgba teal = rgb(0x1E7B71);
    c.roundRect(1, 3, w - 2, h - 4, 10, shade(teal, 0.6f));
    c.roundRect(1, 1, w - 2, h - 5, 10, rgb(0xFFF8E7));
    c.roundRect(4, 4, w - 8, h - 11, 7, teal);
    c.outline(kEdge, 1);
    return c;
}

// A painted signboard: planks in the sign's colour, a light rim and the word
// in large letters; pushed is darker and a little lower, highlight lighter.
Canvas signButton(int w, int h, int nState, const std::string& sWord, Rgba base) {
    Canvas c(w, h);
    Rgba col = base;
    if (nState == 1) col = shade(base, 0.82f);
    if (nState == 2) col = mix(base, rgb(0xFFFFFF), 0.25f);
    const float dy = nState == 1 ? 2.0f : 0.0f;
    c.roundRect(1, 3, w - 2, h - 4, 10, shade(col, 0.55f));
    c.roundRect(1, 1 + dy, w - 2, h - 5, 10, col);
    c.roundRect(6, 6 + dy, w - 12, h - 15, 7, shade(col, 0.9f));
    for (int i = 1; i < 3; ++i) {
        const float y = 6 + dy + i * (h - 15) / 3.0f;
        c.line(8, y, w - 8, y, 1.5f, shade(col, 0.8f));
    }
    for (float x : {12.0f, w - 12.0f})
        for (float y : {12.0f, h - 16.0f}) c.ellipse(x, y + dy, 2.5f, 2.5f, shade(col, 0.5f));
    const TextStyle style{24, true, rgb(0xFFFFFF), Align::Center};
    const float ty = (h - 5 - textHeight(style)) / 2.0f + 1 + dy;
    Canvas word(w, h);
    drawText(word, sWord, w / 2.0f, ty, style);
    word.outline(rgb(0x2B1B10), 2);
    c.blit(word, 0, 0);
    c.outline(kEdge, 1);
    return c;
}

// A tab of the records screen: coloured with a white word while another list
// shows; pushed (the list shown, or held down) it takes the page's paper
// colour with the word, a thick rim and an arrow towards the page in its
// own colour, so the list shown is plain to see; highlight is lighter.
Canvas tabButton(int w, int h, int nState, const std::string& sWord, Rgba base) {
    Canvas c(w, h);
    const bool bShown = nState == 1;
    const float fArrow = 12;
    const float bw = w - fArrow;
    const Rgba body = bShown ? rgb(0xFFF8E7) : nState == 2 ? mix(base, rgb(0xFFFFFF), 0.25f) : base;
    c.roundRect(1, 3, bw - 2, h - 4, 10, shade(base, 0.6f));
    c.roundRect(1, 1, bw - 2, h - 5, 10, bShown ? base : body);
    if (bShown) {
        c.roundRect(5, 5, bw - 10, h - 13, 7, body);
        c.polygon({{bw - 2, h / 2.0f - 10}, {static_cast<float>(w) - 1, h / 2.0f - 2}, {bw - 2, h / 2.0f + 6}}, base);
    }
    const int nSize = 16;
    const Rgba ink = bShown ? shade(base, 0.7f) : rgb(0xFFFFFF);
    drawText(c, sWord, bw / 2, (h - nSize * 1.25f) / 2 - 1, TextStyle{nSize, true, ink, Align::Center});
    c.outline(kEdge, 1);
    return c;
}

// The frame's pieces, 16 x 16 each: a 10-pixel wooden rim with a dark line
// outside and a light one inside, then the dark panel that fills the middle
// (dark so the theme's light text reads on it).
constexpr Rgba kRim = rgb(0xB07A4A), kPanel = rgb(0x3F2A1A);

Canvas framePart(const std::string& sPart) {
    Canvas c(16, 16);
    if (sPart == "back") {
        c.fill(kPanel);
        c.line(0, 5.5f, 16, 5.5f, 1, rgb(0x4A3220));
        c.line(0, 12.5f, 16, 12.5f, 1, rgb(0x36241A));
        return c;
    }
    // The piece is cut from a 48 x 48 framed square: a corner from its corner,
    // an edge from the middle of its side.
    Canvas whole(48, 48);
    whole.roundRect(0, 0, 48, 48, 12, kEdge);
    whole.roundRect(1.5f, 1.5f, 45, 45, 10.5f, kRim);
    whole.roundRect(9, 9, 30, 30, 3, rgb(0xE9C8A0));
    whole.roundRect(10, 10, 28, 28, 2, kPanel);
    const bool bLeft = sPart == "left" || sPart == "ul" || sPart == "ll";
    const bool bRight = sPart == "right" || sPart == "ur" || sPart == "lr";
    const bool bTop = sPart == "top" || sPart == "ul" || sPart == "ur";
    const bool bBottom = sPart == "bottom" || sPart == "ll" || sPart == "lr";
    const int x = bLeft ? 0 : bRight ? 32 : 16, y = bTop ? 0 : bBottom ? 32 : 16;
    return whole.crop(x, y, 16, 16);
}

Canvas cursor() {
    Canvas c(24, 24);
    c.polygon({{2, 2}, {18, 12}, {11, 13}, {15, 21}, {12, 22}, {8, 15}, {3, 19}}, rgb(0xFFFFFF));
    c.outline(rgb(0x1B1B1B), 1);
    return c;
}

Canvas separator(int w) {
    Canvas c(w, 6);
    c.roundRect(0, 1, w, 4, 2, rgb(0xB07A4A));
    return c;
}

Canvas slider(int n) {
    if (n == 2) {
        Canvas c(20, 28);
        c.roundRect(2, 2, 16, 24, 5, rgb(0xE76F51));
        c.outline(kEdge, 1);
        return c;
    }
    Canvas c(200, 16);
    c.roundRect(0, 3, 200, 10, 5, n == 0 ? rgb(0xD9C9A8) : rgb(0x2A9D8F));
    return c;
}

Canvas check(bool bFull) {
    Canvas c(24, 24);
    c.roundRect(2, 2, 20, 20, 5, rgb(0xFFF8E7));
    c.outline(kEdge, 1);
    if (bFull) c.polyline({{6, 12}, {10, 17}, {18, 6}}, 3, rgb(0x2A9D8F));
    return c;
}

}  // namespace

void makeTheme(Output& out) {
    const char* const kStates[] = {"normal", "pushed", "highlight", "disabled"};
    // The default button is stretched between its 12-pixel caps by repeating the
    // centre: one column of centre keeps the caps' round corners clean.
    for (int s = 0; s < 4; ++s) out.picture(std::string("btn_") + kStates[s], button(25, 40, s, "", rgb(0xDDA15E)));
    out.picture("btn_listitem_chosen", chosenRow(25, 40));
    struct PictureButton {
        const char* szFile;
        const char* szWord;
        int w, h;
        uint32_t nColour;
    } const kButtons[] = {{"btn_paper", "", 140, 44, 0xF3E2BE}};
    // The records screen's three tabs.
    const PictureButton kTabs[] = {
        {"btn_adventure", "Adventure", 162, 50, 0x2A9D8F},
        {"btn_crazy", "Relax", 162, 50, 0xE07A2E},
        {"btn_free", "Free play", 162, 50, 0x6A4C93},
    };
    // The menu's four signboards; their colours match the sign tips of the menu's decoration.
    const PictureButton kSigns[] = {
        {"btn_options", "Options", 140, 90, 0x2A9D8F}, {"btn_howto", "How to", 140, 90, 0x457B9D},
        {"btn_high", "Records", 140, 90, 0xC9A227},    {"btn_quit", "Quit", 140, 90, 0xE76F51},
    };
    for (const PictureButton& b : kSigns)
        for (int s = 0; s < 3; ++s)
            out.picture(std::string(b.szFile) + "_" + kStates[s], signButton(b.w, b.h, s, b.szWord, rgb(b.nColour)));
    for (const PictureButton& b : kButtons)
        for (int s = 0; s < 3; ++s)
            out.picture(std::string(b.szFile) + "_" + kStates[s], button(b.w, b.h, s, b.szWord, rgb(b.nColour)));
    for (const PictureButton& b : kTabs)
        for (int s = 0; s < 3; ++s)
            out.picture(std::string(b.szFile) + "_" + kStates[s], tabButton(b.w, b.h, s, b.szWord, rgb(b.nColour)));
    for (const char* szPart : {"top", "bottom", "left", "right", "ul", "ur", "ll", "lr", "back"})
        out.picture(std::string("frame_") + szPart, framePart(szPart));
    out.picture("frame_empty", Canvas(2, 2));
    out.picture("cursor_arrow", cursor());
    out.picture("separator_long", separator(400));
    out.picture("separator_short", separator(160));
    for (int i = 0; i < 3; ++i) out.picture("slider_" + std::to_string(i), slider(i));
    out.picture("check_empty", check(false));
    out.picture("check_full_noblit", check(true));
}

}  // namespace cg

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
        drawText(c, sWord, w / 2.0f, (h - nSize * 1.25f) / 2 + dy, TextStyle{nSize, true, rgb(0xFFFFFF), Align::Center});
    }
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
    for (int i = 1; i < 3; ++i) c.line(8, 6 + dy + i * (h - 15) / 3.0f, w - 8, 6 + dy + i * (h - 15) / 3.0f, 1.5f, shade(col, 0.8f));
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

Canvas framePart(const std::string& sPart) {
    const bool bCorner = sPart.size() == 2;
    const int w = sPart == "top" || sPart == "bottom" || sPart == "back" ? 16 : 16;
    Canvas c(w, 16);
    const Rgba wood = rgb(0xB07A4A), sand = rgb(0xF3E2BE);
    if (sPart == "back") {
        c.fill(sand);
    } else if (bCorner) {
        c.roundRect(sPart[1] == 'l' ? 0 : -16, sPart[0] == 'u' ? 0 : -16, 32, 32, 10, wood);
    } else if (sPart == "top" || sPart == "bottom") {
        c.rect(0, sPart == "top" ? 0 : 6, 16, 10, wood);
        c.rect(0, sPart == "top" ? 10 : 0, 16, 6, sand);
    } else {
        c.rect(sPart == "left" ? 0 : 6, 0, 10, 16, wood);
        c.rect(sPart == "left" ? 10 : 0, 0, 6, 16, sand);
    }
    return c;
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
    struct PictureButton {
        const char* szFile;
        const char* szWord;
        int w, h;
        uint32_t nColour;
    } const kButtons[] = {
        {"btn_paper", "Back", 140, 44, 0xF3E2BE},      {"btn_adventure", "Adventure", 150, 50, 0x2A9D8F},
        {"btn_crazy", "Relax", 150, 50, 0xF4A261},     {"btn_free", "Free play", 150, 50, 0x6A4C93},
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

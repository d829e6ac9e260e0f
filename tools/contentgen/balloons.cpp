// Order balloons (lower, upper and VIP seats, three moods each), the order
// icons drawn on them and the two patience meters.
#include <string>

#include "meter.h"
#include "sets.h"

namespace cg {

namespace {

// A speech bubble with a tail down to its customer; the mood colours and
// roughens it. The bubbles are low, so that two rows of them fit over the
// heads at the counter and a VIP's stays clear of the fixtures above it and
// the patience meters below: the upper row's tail points down to the left
// from the corner, the lower row's down from the middle (the scripts mirror
// them for the seats on the other side), a VIP's down from the left third,
// where the customer sits.
Canvas balloon(int nLook, bool bUpper, bool bVip) {
    static const uint32_t kFill[3] = {0xFFFFFF, 0xFFF1B8, 0xFFC9C2};
    static const uint32_t kEdge[3] = {0x6C7A89, 0xC99A06, 0xC0392B};
    Canvas c(110, 56);
    const Rgba fill = rgb(kFill[nLook]), edge = rgb(kEdge[nLook]);
    const float fTop = 2, fHeight = 40;
    const float fTip = bVip ? 30 : bUpper ? 10 : 47, fBase = bUpper && !bVip ? 18 : fTip - 7;
    c.polygon({{fBase, fTop + fHeight - 8}, {fBase + 16, fTop + fHeight - 8}, {fTip, 54}}, fill);
    c.roundRect(4, fTop, 100, fHeight, bVip ? 10 : 18, fill);
    if (bVip) c.roundRect(8, fTop + 4, 92, fHeight - 8, 8, rgb(0xF4D35E, 60));
    if (nLook == 2)
        for (int i = 0; i < 6; ++i) c.polygon({{14.0f + i * 16, fTop + 2}, {22.0f + i * 16, fTop - 2}, {30.0f + i * 16, fTop + 2}}, fill);
    c.outline(edge, nLook == 0 ? 1 : 2);
    return c;
}

Canvas icon(const std::string& sKind) {
    Canvas c(24, 24);
    if (sKind == "vaso_1") {
        c.polygon({{6, 4}, {18, 4}, {16, 21}, {8, 21}}, rgb(0xBFE3F0));
    } else if (sKind == "vaso_2") {
        c.polygon({{3, 4}, {21, 4}, {12, 13}}, rgb(0xBFE3F0));
        c.line(12, 13, 12, 20, 2, rgb(0xBFE3F0));
        c.ellipse(12, 21, 6, 1.5f, rgb(0xBFE3F0));
    } else if (sKind == "vaso_3") {
        c.polygon({{6, 3}, {18, 3}, {17, 11}, {14, 14}, {10, 14}, {7, 11}}, rgb(0xBFE3F0));
        c.line(12, 14, 12, 20, 2, rgb(0xBFE3F0));
        c.ellipse(12, 21, 6, 1.5f, rgb(0xBFE3F0));
    } else if (sKind == "fruta_straw") {
        c.polygon({{5, 8}, {19, 8}, {12, 22}}, rgb(0xE63946));
        c.polygon({{7, 8}, {12, 3}, {17, 8}}, rgb(0x52B788));
    } else if (sKind == "fruta_apple") {
        c.ellipse(12, 14, 8, 8, rgb(0x8AC926));
        c.line(12, 6, 14, 2, 1.5f, rgb(0x6D4C41));
    } else if (sKind == "fruta_banana") {
        c.polygon({{3, 8}, {8, 16}, {16, 18}, {21, 14}, {15, 15}, {9, 12}, {6, 6}}, rgb(0xFFD60A));
    } else if (sKind == "fruta_orange") {
        c.ellipse(12, 13, 8, 8, rgb(0xFB8500));
        c.ellipse(13, 5, 3, 1.5f, rgb(0x52B788));
    } else if (sKind == "fruta_grape") {
        for (int i = 0; i < 6; ++i) c.ellipse(8.0f + (i % 3) * 4 + (i / 3) * 2, 9.0f + (i / 3) * 5, 3, 3, rgb(0x7B2CBF));
        c.ellipse(12, 19, 3, 3, rgb(0x7B2CBF));
    } else if (sKind == "fruta_pear") {
        c.ellipse(12, 16, 7, 6, rgb(0xC9D64A));
        c.ellipse(12, 9, 4, 5, rgb(0xC9D64A));
    } else {
        c.rect(10, 4, 4, 16, rgb(0x2A9D8F));
        c.rect(4, 10, 16, 4, rgb(0x2A9D8F));
    }
    c.outline(rgb(0x3A2A22), 1);
    return c;
}

}  // namespace

Canvas meter(int n, bool bTall) {
    const int w = bTall ? 12 : 58, h = bTall ? 62 : 12;
    Canvas c(w, h);
    if (n == 0) {
        c.roundRect(0, 0, w, h, 4, rgb(0x3A2A22));
        c.roundRect(1, 1, w - 2, h - 2, 3, rgb(0x5C4B40));
        return c;
    }
    static const uint32_t kColours[8] = {0xD62828, 0xE85D04, 0xF48C06, 0xFAA307, 0xFFBA08, 0xA7C957, 0x6A994E, 0x2D6A4F};
    const float fCell = ((bTall ? h : w) - 4) / 8.0f, fPos = 2 + (n - 1) * fCell;
    if (bTall) c.rect(2, h - fPos - fCell + 1, 8, fCell - 1, rgb(kColours[n - 1]));
    else c.rect(fPos, 2, fCell - 1, 8, rgb(kColours[n - 1]));
    return c;
}

void makeBalloons(Output& out) {
    for (int i = 0; i < 3; ++i) {
        out.picture("balloon_l_" + std::to_string(i), balloon(i, false, false));
        out.picture("balloon_u_" + std::to_string(i), balloon(i, true, false));
        out.picture("balloon_vip_" + std::to_string(i), balloon(i, false, true));
    }
    for (const char* szKind : {"vaso_1", "vaso_2", "vaso_3", "fruta_straw", "fruta_apple", "fruta_banana",
                               "fruta_orange", "fruta_grape", "fruta_pear", "plus"})
        out.picture(std::string("bub_ico_") + szKind, icon(szKind));
    for (int i = 0; i <= 8; ++i) {
        out.picture("meter_flat_" + std::to_string(i), meter(i, false));
        out.picture("meter_tall_" + std::to_string(i), meter(i, true));
    }
}

}  // namespace cg

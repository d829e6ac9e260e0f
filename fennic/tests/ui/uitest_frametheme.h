// The small theme the on-screen dialog checks and the dialog benchmark share:
// a default font given by its block's body, a button font copied from it,
// buttons cut from "ui/btn" (the pushed state from its own picture), and a
// frame cut from "ui/edge" with "ui/back" inside; extra lines go last.
#pragma once

#include <string>

namespace uitest {

// DejaVu Sans 16 in white, from the resource folder's "fonts/".
inline constexpr const char* kWhiteSans16 = "class TrueType fonts/DejaVuSans.ttf 16\ntextcolor 255 255 255\n";

inline std::string framedTheme(const char* szDefaultFontBody, const char* szPushed, const char* szExtra = "") {
    std::string s = std::string("font Theme::Default\n{\n") + szDefaultFontBody + "}\n";
    s += "font Theme::Button\n{\ncopy Theme::Default\ntextalign middle\n}\n";
    s += std::string("buttonimage normal ui/btn\nbuttonimage pushed ") + szPushed + "\n";
    s += "buttonimage highlight ui/btn\nbuttonimage disabled ui/btn\n";
    s += "buttonfont Theme::Button\nbuttoncap 4 4\nresizebuttons true\n";
    for (const char* szEdge : {"ul", "ur", "ll", "lr", "top", "bottom", "left", "right"})
        s += std::string("frame ") + szEdge + " ui/edge\n";
    return s + "frame back ui/back\n" + szExtra;
}

}  // namespace uitest

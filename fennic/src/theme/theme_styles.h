// The parts a theme is made of: button styles, frame styles and their
// decorations, and the names the theme file uses for states and frame parts.
//
// Button states: 0 "normal", 1 "pushed", 2 "highlight", 3 "disabled"; 4
// stands for all four where an operation takes a state. Frame parts 0-3 are
// the edges (top, bottom, left, right), 4-7 the corners (ul, ur, ll, lr), 8-15
// the end pieces next to the corners (lt, lb, rt, rb, tl, tr, bl, br) and 16
// the background ("back").
#pragma once

#include <array>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "base/color.h"
#include "base/rect.h"

class Image;
#include "driver/audiodriver.h"

namespace ThemeParts {
constexpr int kStates = 4;
constexpr int kAllStates = 4;
constexpr int kStateDisabled = 3;

enum Part {
    kTop, kBottom, kLeft, kRight, kUL, kUR, kLL, kLR,
    kLT, kLB, kRT, kRB, kTL, kTR, kBL, kBR, kBack, kPartCount
};

// Pointer tests in the wording of the theme's assertion messages.
inline bool notNULL(const void* p) { return p != nullptr; }
inline bool isNULL(const void* p) { return p == nullptr; }

// The state number of a lower-case state word; "Hash key not found : " otherwise.
int stateOf(const Zep::String& sWord);
// The part number of a lower-case part word; "Hash key not found : " otherwise.
int partOf(const Zep::String& sWord);
}  // namespace ThemeParts

struct ButtonStyle {
    ButtonStyle();

    std::array<Zep::String, ThemeParts::kStates> sFont;
    std::array<Zep::SmartPtr<Image>, ThemeParts::kStates> pImage;
    std::array<int32_t, ThemeParts::kStates> nTextOffsetX{0, 3, 0, 0};
    std::array<int32_t, ThemeParts::kStates> nTextOffsetY{0, 3, 0, 0};
    std::array<Color, ThemeParts::kStates> cText;
    std::array<bool, ThemeParts::kStates> bColorSet{};
    bool bResize = false;
    int32_t nLeftCap = 0;
    int32_t nRightCap = 0;
    bool bTileCenter = false;
    int32_t nPadding = 20;  // each side of the caption for the automatic width
    Zep::Hash<Zep::String, Zep::List<Zep::SmartPtr<Sample>>> hSounds{97};
    Zep::Hash<Zep::String, bool> hSoundSet{97};
};

struct Decoration {
    Zep::SmartPtr<Image> pImage;
    bool bIgnoreSize = false;
};

struct FrameStyle {
    virtual ~FrameStyle() = default;

    Rect border;  // left, top, right, bottom thickness
    std::array<Zep::SmartPtr<Image>, ThemeParts::kPartCount> lFramePart;
    std::array<bool, ThemeParts::kPartCount> bFrameFixed{};
    std::array<Zep::List<Zep::SmartPtr<Image>>, ThemeParts::kPartCount> lVariants;
    std::array<Zep::List<Decoration>, ThemeParts::kPartCount> lDecorations;
    bool bHasBorderParts = false;
    bool bHasAlpha = false;
    bool bBorderGiven = false;

    // The part's image; null when it was never given.
    Image* part(int nPart) const { return lFramePart[nPart].get(); }
};

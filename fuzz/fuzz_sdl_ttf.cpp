// TrueType fonts through the real SDL_ttf: a font file from arbitrary bytes
// is made into a font by the "TrueType" factory, which measures a text and
// draws it, as one line and laid out in a box, onto an image.
//
// Input: byte 0 the size (1 to 48 points); byte 1 the style bits (1 bold,
// 2 italic, 4 underline), 8 a shadow, 16 the box's text justified, 32 the
// line drawn at a negative x; byte 2 the text's length n; n bytes of UTF-8
// text; the rest is the font file.
//
// The seeds are fonts written by tools/mkttf behind such a header, e.g.
//   mkttf f.ttf Seed 'HeloWrd '; { printf '\x09\x00\x0bHello World'; cat f.ttf; } > hello_10
// and the regression inputs are fuzzer findings or fonts made the same way.
// Sizes stay small so that runs are quick; what one rendering may allocate
// is bounded by the framework whatever the size.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include <zep2/error.h>

#include "fuzz_app.h"
#include "image/imageonlyplatform.h"
#include "base/rect.h"
#include "sdl/sdl_ttf.h"

namespace {

constexpr int kMaxPointSize = 48;
constexpr int kTargetWidth = 160;
constexpr int kTargetHeight = 48;

fuzz::App& fixture() {
    static fuzz::App s_app = [] {
        SDL_Init(SDL_INIT_NOPARACHUTE);
        return fuzz::makeApp(std::make_unique<ImageOnlyPlatform>());
    }();
    return s_app;
}

Zep::List<Zep::String> specOf(uint8_t nSize, uint8_t nFlags) {
    Zep::List<Zep::String> lSpec;
    lSpec.add("f.ttf");
    lSpec.add(Zep::String::format("%d", 1 + nSize % kMaxPointSize));
    if (nFlags & 1) lSpec.add("bold");
    if (nFlags & 2) lSpec.add("italic");
    if (nFlags & 4) lSpec.add("underline");
    return lSpec;
}

void exercise(Font& font, const char* szText, uint8_t nFlags) {
    font.setDrawShadow((nFlags & 8) != 0);
    font.getTextWidth(szText);
    font.getHeight();
    Zep::SmartPtr<Image> pTarget = GameApp::getInstance()->createImage(kTargetWidth, kTargetHeight, true);
    font.drawText(pTarget, (nFlags & 32) ? -40 : 3, 2, szText);
    font.setTextAlign((nFlags & 16) ? Font::kAlignJustify : Font::kAlignCenter | Font::kAlignCenterY);
    Rect box(4, 4, kTargetWidth - 4, kTargetHeight - 4);
    font.drawText(pTarget, box, szText);
}

}  // namespace

// Every run frees a font library and its surfaces: with AddressSanitizer's
// usual 256 MB of freed memory held back, the process outgrows the runs'
// 512 MB.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=64"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::App& f = fixture();
    if (size < 3 || size < 3u + data[2]) return 0;
    const std::string sText(reinterpret_cast<const char*>(data + 3), data[2]);
    const size_t nFont = 3u + data[2];
    fuzz::addFile(f, "f.ttf", data + nFont, size - nFont);
    // A fresh factory: nothing cached from the last input.
    Zep::SmartPtr<SDLTTFFactory> pFactory = new SDLTTFFactory();
    try {
        Zep::SmartPtr<Font> pFont = pFactory->createFont(specOf(data[0], data[1]));
        exercise(*pFont, sText.c_str(), data[1]);
    } catch (const Zep::Exception&) {
    }
    return 0;
}

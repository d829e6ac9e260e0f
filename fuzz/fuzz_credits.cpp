// The credits from arbitrary text: the items of the input become a credits
// column (string-table keys or literal texts shown in the theme's TrueType
// fonts, gaps and a picture), which is pushed on a headless application and
// scrolled, frame by frame, until it ends.
//
// Input: byte 0 the band's top, byte 1 the band bottom's distance from the
// screen's bottom, byte 2 the fade strips (count in the low 5 bits, height
// in the high 3), byte 3 the scroll speed (8 to 263 pixels a second), byte 4
// the dark strength; then items separated by a 0 byte: "\x01" and a byte is
// a gap of that height, "\x02" the picture, "\x03" and text a text in the
// title font, anything else a text in the theme's default font (texts are
// cut after kMaxItemBytes).
//
// The fonts are the framework's pixel font, written by the harness, and the
// pictures are SDL images, as on the game's platform (text drawn into an
// in-memory picture would go pixel by pixel through colour conversions). A
// seed is written as the input above, e.g.
//   printf '\x1e\x1e\x79\x16\xc0CR_Title\0\x03Section\0Name One\nName Two\0\x01\x14\0\x02' > seed
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <zep2/error.h>

#include "fuzz_app.h"
#include "sdl/sdl_imagefactory.h"
#include "sdl/sdl_ttf.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"
#include "theme/theme.h"
#include "text/ttfpixelfont.h"
#include "text/ttfwriter.h"
#include "dialogs/ui_credits.h"
#include "ui/ui_label.h"

namespace {

constexpr size_t kHeaderSize = 5;
// A label draws its text again whenever it moves and whenever one of its
// setters runs (a text item is drawn half a dozen times before it scrolls),
// and every frame of the scroll draws the texts on screen: items, their bytes,
// the fonts' sizes and the frames are kept small, and the frames long,
// so that an input still scrolls its column through the band and stays within
// a few milliseconds. Only one item enters per frame: more items than frames
// would never be shown.
constexpr size_t kMaxItems = 4;
constexpr size_t kMaxItemBytes = 48;
constexpr int kMaxFrames = 10;
constexpr uint32_t kFrameMilliseconds = 3000;

constexpr const char* kTheme =
    "font Theme::Default\n{\nclass TrueType fonts/pixel.ttf 8\ntextcolor 255 255 255\n}\n"
    "font Credits::Title\n{\nclass TrueType fonts/pixel.ttf 14 bold\ntextcolor 255 220 120\n}\n";
constexpr const char* kStrings = "CR_Title Our team\nCR_Notice Made with care\n-\nand patience\n";

struct Fixture {
    fuzz::App app;
    testkit::FakePlatform* pPlatform = nullptr;
    testkit::FakeVideoDriver* pVideo = nullptr;
};

Fixture& fixture() {
    static Fixture s_f = [] {
        Fixture f;
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        auto pVideo = std::make_unique<testkit::FakeVideoDriver>();
        f.pPlatform = pPlatform.get();
        f.pVideo = pVideo.get();
        pPlatform->setVideoDriver(std::move(pVideo));
        pPlatform->setImageFactory(std::make_unique<SDLImageFactory>());
        f.app = fuzz::makeApp(std::move(pPlatform));
        const std::vector<uint8_t> vFont = writeTrueType(pixelFont("Pixel"));
        fuzz::addFile(f.app, "fonts/pixel.ttf", vFont.data(), vFont.size());
        fuzz::addFile(f.app, "credits.theme", kTheme);
        fuzz::addFile(f.app, "strings.txt", kStrings);
        Theme::registerFontFactory("TrueType", new SDLTTFFactory());
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("credits.theme");
        f.app.pApp->setTheme(pTheme);
        f.app.pApp->loadStringTable("strings.txt");
        f.app.pApp->addImage("back", f.app.pApp->createImage(800, 600, false), true);
        f.app.pApp->addImage("badge", f.app.pApp->createImage(41, 20, true), true);
        return f;
    }();
    return s_f;
}

void addItem(CreditsMode& credits, const std::string& sItem) {
    if (sItem.size() == 2 && sItem[0] == '\x01') return credits.addGap(static_cast<uint8_t>(sItem[1]));
    if (sItem == "\x02") {
        credits.addImage("badge", true);
        return;
    }
    if (!sItem.empty() && sItem[0] == '\x03') {
        credits.addText(sItem.c_str() + 1, true)->setThemeFont("Credits::Title");
        return;
    }
    credits.addText(sItem.c_str(), true);
}

// Frames until the credits end, or until kMaxFrames and a key release.
void run(Fixture& f, CreditsMode* pCredits) {
    GameApp& app = *f.app.pApp;
    int nLast = static_cast<int>(f.pPlatform->getTicks()), nDue = nLast;
    for (int i = 0; i <= kMaxFrames && app.getTopMode() == pCredits; ++i) {
        if (i == kMaxFrames) pCredits->onKeyUp(' ', 0);
        f.pPlatform->advance(kFrameMilliseconds);
        app.frame(nLast, nDue, false);
    }
}

// No mode stays for the next input, whatever stopped this one.
void clearModes(Fixture& f) {
    GameApp& app = *f.app.pApp;
    int nLast = static_cast<int>(f.pPlatform->getTicks()), nDue = nLast;
    for (int i = 0; i < 8 && app.getTopMode(); ++i) {
        try {
            app.getTopMode()->endMode();
            f.pPlatform->advance(kFrameMilliseconds);
            app.frame(nLast, nDue, false);
        } catch (const Zep::Exception&) {
        }
    }
}

}  // namespace

// Every frame frees many small objects: with AddressSanitizer's usual
// 256 MB of freed memory held back, the process outgrows the runs' 512 MB.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=64"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fixture& f = fixture();
    if (size < kHeaderSize) return 0;
    auto pCredits = std::make_unique<CreditsMode>();
    pCredits->setBackground("back");
    pCredits->setScrollBand(data[0], 600 - data[1]);
    pCredits->setFadeStrips(data[2] & 31, data[2] >> 5);
    pCredits->setScrollSpeed(8.0f + data[3]);
    pCredits->setDarkStrength(data[4]);
    const std::string sItems(reinterpret_cast<const char*>(data + kHeaderSize), size - kHeaderSize);
    size_t nItems = 0;
    try {
        for (size_t nStart = 0; nStart <= sItems.size() && nItems < kMaxItems; ++nItems) {
            const size_t nEnd = std::min(sItems.find('\0', nStart), sItems.size());
            addItem(*pCredits, sItems.substr(nStart, std::min(nEnd - nStart, kMaxItemBytes)));
            nStart = nEnd + 1;
        }
        CreditsMode* p = pCredits.get();
        f.app.pApp->pushMode(pCredits.release());
        run(f, p);
    } catch (const Zep::Exception&) {
    }
    clearModes(f);
    // What the fake drivers record would grow from input to input.
    f.pVideo->m_vCalls.clear();
    f.pPlatform->m_vSleeps.clear();
    return 0;
}

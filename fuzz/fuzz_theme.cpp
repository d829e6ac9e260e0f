// Theme files from arbitrary bytes: the reader run to the end on a fresh
// theme whose pictures come from the image cache; a theme that loads then
// builds a frame image, a frame table and a button image from what it read.
#include <cstddef>
#include <cstdint>
#include <memory>

#include <zep2/error.h>

#include "text/bitmapfont.h"
#include "fuzz_app.h"
#include "image/imageonlyplatform.h"
#include "image/memimage.h"
#include "theme/theme.h"
#include "ui/ui_table.h"

namespace {

// Every picture name the seeds use, 3 x 2 with alpha or 4 x 4 without.
constexpr const char* kPictures[] = {
    "ui/btn_normal", "ui/btn_pushed", "ui/btn_high", "ui/btn_disabled", "ui/tip_back", "ui/frm_ul", "ui/frm_ur",
    "ui/frm_ll", "ui/frm_lr", "ui/frm_top", "ui/frm_bottom", "ui/frm_left", "ui/frm_right", "ui/frm_back",
    "ui/deco_ul", "ui/lb_ul", "ui/lb_ur", "ui/lb_ll", "ui/lb_lr", "ui/lb_top", "ui/lb_bottom", "ui/lb_left",
    "ui/lb_right", "ui/lb_back", "ui/cursor", "ui/cursor_wait", "ui/sep_long", "ui/sep_short", "ui/sl_empty",
    "ui/sl_full", "ui/sl_knob", "ui/radio_off", "ui/radio_on", "a", "b"};

fuzz::App& fixture() {
    static fuzz::App s_app = [] {
        fuzz::App app = fuzz::makeApp(std::make_unique<ImageOnlyPlatform>());
        app.pApp->registerBuiltinResources();
        registerBitmapFontFactory();
        registerSimpleFontFactory();
        bool bAlpha = false;
        for (const char* szName : kPictures) {
            Zep::SmartPtr<MemImage> p = bAlpha ? new MemImage(3, 2, true) : new MemImage(4, 4, false);
            p->fill(Color(10, 20, 30, 200));
            app.pApp->addImage(szName, p.get(), true);
            bAlpha = !bAlpha;
        }
        return app;
    }();
    return s_app;
}

void useTheme(Theme& theme) {
    for (const char* szStyle : {static_cast<const char*>(nullptr), "ListboxFrame"}) {
        try {
            theme.makeFrameImage(37, 29, szStyle);
            theme.makeFrameTable(nullptr, 37, 29, szStyle);
        } catch (const Zep::Exception&) {
        }
    }
    for (int nState = 0; nState < 4; ++nState) {
        try {
            theme.makeButtonImage("a", nState, -1, nullptr);
            theme.makeButtonImage("Ok", nState, 50, "Tooltip");
        } catch (const Zep::Exception&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::App& f = fixture();
    fuzz::addFile(f, "t.theme", data, size);
    Zep::SmartPtr<Theme> pTheme = new Theme();
    try {
        pTheme->load("t.theme");
    } catch (const Zep::Exception&) {
        return 0;
    }
    useTheme(*pTheme);
    // Generated pictures are cached under the theme's name: start afresh.
    f.pApp->purgeImages();
    return 0;
}

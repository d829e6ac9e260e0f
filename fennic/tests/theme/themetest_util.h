// The set-up of the theme, TrueType, generated-image and table suites: a test
// application with in-memory pictures, fake video and audio drivers, the built-in
// resources, the "TrueType" factory, DejaVu Sans copied into a resource
// folder, and generated pictures for every image a sample theme names (frame
// pieces 4 x 4 in distinct colours, button images wider than their caps).
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <zep2/str.h>

#include "text/bitmapfont.h"
#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "sdl/sdl_ttf.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"
#include "theme/theme.h"

namespace themetest {

constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// The sample theme: every command of the format.
constexpr const char* kSampleTheme = R"(# sample.theme
textprefix Sample::
font Theme::Default
{
class TrueType fonts/DejaVuSans.ttf 16
textcolor 255 255 255
shadowcolor 0 0 0
shadowoffset 1
drawshadow true
textalign left top
}
font Theme::Button
{
copy Theme::Default
textalign middle
}
font Theme::DialogTitle
{
copy Theme::Default
textcolor 255 220 120 99
}
buttonimage normal ui/btn_normal
buttonimage pushed ui/btn_pushed
buttonimage highlight ui/btn_high
buttonimage disabled ui/btn_disabled
buttontextoffset pushed 2 2
buttonfont Theme::Button
buttoncap 12 12
resizebuttons true
tilecenter true
buttonsound clicked sfx_ui_click
buttonsound highlighted sfx_ui_hover
buttonstyle Tooltip
buttonimage normal ui/tip_back
buttoncap 4
resizebuttons true
frame ul ui/frm_ul
frame ur ui/frm_ur
frame ll ui/frm_ll
frame lr ui/frm_lr
frame top ui/frm_top
frame bottom ui/frm_bottom
frame left ui/frm_left
frame right ui/frm_right
frame back ui/frm_back
decoration ul ui/deco_ul ignoresize
framestyle ListboxFrame
frame ul ui/lb_ul
frame ur ui/lb_ur
frame ll ui/lb_ll
frame lr ui/lb_lr
frame top ui/lb_top
frame bottom ui/lb_bottom
frame left ui/lb_left
frame right ui/lb_right
frame back ui/lb_back
border_udlr 4 4 4 4
defaultcursor ui/cursor 0 0
cursor wait ui/cursor_wait 8 8
longseparator ui/sep_long
shortseparator ui/sep_short
sliderimages ui/sl_empty ui/sl_full ui/sl_knob
sliderstyle emptyfull
sliderrange 8 192
sliderscale 1.0 1.2
radiobuttonimages ui/radio_off ui/radio_on
imagecopy ui/btn_normal ui/btn_copy
imageinspos ui/cursor_wait center middle+2
)";

// A distinct opaque colour per frame part word.
inline Color partColor(int n) {
    return Color(static_cast<uint8_t>(20 + 13 * n), static_cast<uint8_t>(200 - 11 * n), static_cast<uint8_t>(7 * n), 255);
}

class ThemeApp : public testkit::AppTest<> {
protected:
    static constexpr const char* kParts[] = {"top", "bottom", "left", "right", "ul", "ur", "ll", "lr", "back"};

    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        pPlatform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
        auto pAudio = std::make_unique<testkit::FakeAudioDriver>();
        m_pAudio = pAudio.get();
        pPlatform->setAudioDriver(std::move(pAudio));
        m_app.setPlatform(std::move(pPlatform));
        for (const char* szName : {"sfx_ui_click", "sfx_ui_hover"}) m_pAudio->m_sampleLoader.m_setNames.insert(szName);
        m_app.useAudioDriver(m_pAudio);
        m_app.registerBuiltinResources();
        registerBitmapFontFactory();
        registerSimpleFontFactory();
        Theme::registerFontFactory("TrueType", new SDLTTFFactory());

        // The folder provider finds files by their base name.
        std::filesystem::create_directories(m_dir.file("res"));
        std::filesystem::copy_file(kDejaVu, m_dir.file("res/DejaVuSans.ttf"));
        m_app.addResourceProvider(std::make_unique<Zep::FilesystemResourceProvider>(m_dir.file("res/").c_str()), false);
        auto pMemory = testkit::memoryProvider();
        m_pTexts = pMemory.get();
        m_app.addResourceProvider(std::move(pMemory), false);
        addPictures();
    }
    void TearDown() override { Theme::unregisterFontFactory("TrueType"); }

    void addPictures() {
        for (int i = 0; i < 9; ++i) {
            for (const char* szPrefix : {"ui/frm_", "ui/lb_"})
                picture((std::string(szPrefix) + kParts[i]).c_str(), imagetest::solid(4, 4, false, partColor(i)));
        }
        for (const char* szName : {"ui/btn_normal", "ui/btn_pushed", "ui/btn_high", "ui/btn_disabled"})
            picture(szName, imagetest::solid(40, 20, true, Color(0, 0, 90, 255)));
        picture("ui/tip_back", imagetest::solid(16, 12, true, Color(9, 9, 9, 255)));
        picture("ui/deco_ul", imagetest::solid(2, 2, false, partColor(9)));
        for (const char* szName : {"ui/cursor", "ui/cursor_wait", "ui/sep_long", "ui/sep_short",
                                   "ui/sl_empty", "ui/sl_full", "ui/sl_knob", "ui/radio_off", "ui/radio_on"})
            picture(szName, imagetest::solid(4, 4, true, Color(1, 2, 3, 255)));
    }

    void picture(const char* szName, const Zep::SmartPtr<MemImage>& p) { m_app.addImage(szName, p.get(), true); }

    // Loads a theme file of that text under a fresh name.
    void loadText(Theme& theme, const std::string& sText) {
        const std::string sName = Zep::String::format("t%d.theme", ++m_nTexts).c_str();
        m_pTexts->add(sName.c_str(), testkit::resource(sText));
        theme.load(sName.c_str());
    }

    // The message of what loading that text throws.
    std::string loadError(const std::string& sText) {
        Zep::SmartPtr<Theme> pTheme = new Theme();
        return testkit::messageOf([&] { loadText(*pTheme, sText); });
    }

    Zep::SmartPtr<Theme> sample() {
        Zep::SmartPtr<Theme> pTheme = new Theme();
        try {
            loadText(*pTheme, kSampleTheme);
        } catch (const Zep::Exception& e) {
            ADD_FAILURE() << e.getMessage();
        }
        return pTheme;
    }

    testkit::FakeAudioDriver* m_pAudio = nullptr;
    Zep::MemoryResourceProvider* m_pTexts = nullptr;
    int m_nTexts = 0;
};

}  // namespace themetest

// The options screen and the profile list on a real X server: the sliders'
// filled and empty tracks, the knob, the checked and unchecked radio marks
// and the checked row of the list show where the layout put them.
#include <gtest/gtest.h>

#include "application/profiles.h"
#include "sdl/sdltest_driver.h"
#include "dialogs/ui_gameoptions.h"
#include "dialogs/ui_profiledialogs.h"
#include "ui/uitest_frametheme.h"
#include "ui/uitest_xvfbscreen.h"

namespace {

const std::string kTheme = uitest::framedTheme(uitest::kWhiteSans16, "ui/btn_on",
                                               "shortseparator ui/sep\nlongseparator ui/sep\n"
                                               "sliderimages ui/sl_empty ui/sl_full ui/sl_knob\n"
                                               "sliderstyle emptyfull\nsliderscale 1.0 1.0\n"
                                               "radiobuttonimages ui/radio_off ui/radio_on\n");

class XvfbOptions : public uitest::XvfbThemedScreen {
protected:
    void SetUp() override {
        startScreen(kTheme, "options.theme",
                    {{"ui/btn", 40, 24, Color(0, 0, 200, 255)},       {"ui/btn_on", 40, 24, Color(200, 0, 200, 255)},
                     {"ui/edge", 4, 4, Color(200, 0, 0, 255)},        {"ui/back", 4, 4, Color(0, 60, 0, 255)},
                     {"ui/sep", 60, 2, Color(90, 90, 90, 255)},       {"ui/sl_empty", 100, 8, Color(80, 80, 80, 255)},
                     {"ui/sl_full", 100, 8, Color(220, 220, 0, 255)}, {"ui/sl_knob", 12, 12, Color(0, 200, 200, 255)},
                     {"ui/radio_off", 12, 12, Color(100, 100, 100, 255)},
                     {"ui/radio_on", 12, 12, Color(0, 220, 0, 255)}},
                    true);
        if (!HasFatalFailure()) m_app.pushMode(new GameMode());
    }
    static std::pair<int, int> at(const Sprite& s, int dx, int dy) {
        const Rect r = s.getBoundingRect();
        return {r.getLeft() + dx, r.getTop() + dy};
    }
};

TEST_F(XvfbOptions, VolumesAndTheScreenChoice) {
    m_app.setSoundVolume(255);
    m_app.setMusicVolume(0);
    auto* pDialog = new GameOptionsDialog(nullptr, 0, 0);
    pDialog->setSections(5);
    m_app.pushMode(pDialog);
    m_pVideo->render();
    // Each slider: the track from x 6 (half the knob), the knob over the value's place.
    const Sprite& sound = *pDialog->getSoundSlider();
    const Sprite& music = *pDialog->getMusicSlider();
    const Sprite& knob = *pDialog->getMusicSlider()->getThumb();
    const RadioGroup& screen = pDialog->getFullscreenGroup();
    const std::vector<uint32_t> v = testkit::windowPixels({at(sound, 56, 4), at(music, 56, 4), at(knob, 6, 6),
                                                          at(*screen.get(0)->getCheck(), 6, 6),
                                                          at(*screen.get(1)->getCheck(), 6, 6)});
    ASSERT_EQ(5u, v.size());
    EXPECT_EQ(0xDCDC00u, v[0]);  // full track at 255
    EXPECT_EQ(0x505050u, v[1]);  // empty track at 0
    EXPECT_EQ(0x00C8C8u, v[2]);  // the knob
    EXPECT_EQ(0x646464u, v[3]);  // full screen: unchecked
    EXPECT_EQ(0x00DC00u, v[4]);  // window: checked
}

TEST_F(XvfbOptions, ProfileListWithTheCurrentRowChecked) {
    ProfileManagerImpl<ProfileData> manager;
    for (const char* szName : {"Ada", "Bob", "Cy"}) manager.createProfile(szName);
    m_app.setSetting("CurrentPlayerName", "bob");
    auto* pDialog = new SelectProfileDialog(&manager, 0);
    m_app.pushMode(pDialog);
    m_pVideo->render();
    const auto& rows = pDialog->getRows();
    const std::vector<uint32_t> v = testkit::windowPixels({at(*rows[0], 1, 1), at(*rows[1], 1, 1), at(*rows[2], 1, 1)});
    ASSERT_EQ(3u, v.size());
    EXPECT_EQ(0x0000C8u, v[0]);
    EXPECT_EQ(0xC800C8u, v[1]);  // the current profile's row is pushed
    EXPECT_EQ(0x0000C8u, v[2]);
    EXPECT_FALSE(rows[3]->isVisible());
}

}  // namespace

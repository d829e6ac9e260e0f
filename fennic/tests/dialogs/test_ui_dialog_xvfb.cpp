// A yes/no dialog over a dimmed screen on a real X server: the window shows
// the dimmed screen, the dialog's frame and its two buttons where the layout
// put them.
#include <gtest/gtest.h>

#include "text/bitmapfont.h"
#include "sdl/sdltest_driver.h"
#include "dialogs/ui_dialog.h"
#include "ui/uitest_frametheme.h"
#include "ui/uitest_xvfbscreen.h"

namespace {

const std::string kTheme = uitest::framedTheme(uitest::kWhiteSans16, "ui/btn");

class XvfbDialog : public uitest::XvfbThemedScreen {
protected:
    void SetUp() override {
        startScreen(kTheme, "dialog.theme",
                    {{"ui/btn", 40, 24, Color(0, 0, 200, 255)},
                     {"ui/edge", 4, 4, Color(200, 0, 0, 255)},
                     {"ui/back", 4, 4, Color(0, 160, 0, 255)}});
    }
};

TEST_F(XvfbDialog, YesNoOverADimmedScreen) {
    // A white screen below the dialog.
    GameMode* pScreen = new GameMode();
    Zep::SmartPtr<Image> pWhite = m_app.createImage(800, 600, false);
    pWhite->fill(Color(255, 255, 255, 255));
    pScreen->addSprite(new Sprite(pWhite, 0, 0, 0));
    m_app.pushMode(pScreen);
    DlgYesNo* pDialog = new DlgYesNo(nullptr, "", 1, 2);
    m_app.pushMode(pDialog);
    m_pVideo->render();
    // Two buttons side by side, 40 wide at least, centred: the table's inner box.
    Zep::SmartPtr<Table> t = pDialog->getTable();
    const int x = static_cast<int>(t->getPosition().x), y = static_cast<int>(t->getPosition().y);
    const int w = t->getWidth(), h = t->getHeight();
    EXPECT_EQ(std::make_pair((800 - w) / 2, (600 - h) / 2), std::make_pair(x, y));
    auto* pYes = dynamic_cast<Button*>(pDialog->getButtonTable()->getContent(0, 0, 0).get());
    ASSERT_NE(nullptr, pYes);
    const Rect yes = pYes->getBoundingRect();
    const std::vector<uint32_t> v = testkit::windowPixels({{10, 10}, {x - 2, y + h / 2}, {yes.getLeft() + 2, yes.getTop() + 2}});
    ASSERT_EQ(3u, v.size());
    EXPECT_NEAR(0x7F, static_cast<int>(v[0] & 0xFF), 1);  // white under a half black dimmer
    EXPECT_EQ(v[0] & 0xFF, (v[0] >> 16) & 0xFF);
    EXPECT_EQ(0xC80000u, v[1]);                           // the frame's edge
    EXPECT_EQ(0x0000C8u, v[2]);                           // the button's corner
}

}  // namespace

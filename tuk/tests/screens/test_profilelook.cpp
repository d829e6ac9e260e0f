// The player dialogs in the game's own look (the demo content's theme,
// pictures and texts): the chosen player stands out as chosen, the name to
// be deleted reads on its panel, and the name box keeps the name and its
// caret inside its field, refusing with a sound what it can't take.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "base/keys.h"
#include "screens/democontent_util.h"
#include "dialogs/ui_profiledialogs.h"

namespace {

using E = testkit::FakeEvent;

// The WCAG contrast ratio of two colours, from 1 to 21.
double luminance(const Color& c) {
    auto lin = [](int n) {
        const double v = n / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(c.getRed()) + 0.7152 * lin(c.getGreen()) + 0.0722 * lin(c.getBlue());
}

double contrast(const Color& a, const Color& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The hue in degrees, 0 to 360.
double hue(const Color& c) {
    const double r = c.getRed(), g = c.getGreen(), b = c.getBlue();
    return std::fmod(std::atan2(std::sqrt(3.0) * (g - b), 2 * r - g - b) * 180.0 / M_PI + 360.0, 360.0);
}

double hueDistance(const Color& a, const Color& b) {
    const double d = std::fabs(hue(a) - hue(b));
    return std::min(d, 360.0 - d);
}

// The brightest fully opaque pixel of the picture's columns x0 .. x1: the
// colour of light letters drawn on it.
Color brightest(const Image& image, int x0, int x1) {
    image.lock();
    Color best(0, 0, 0, 0);
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = x0; x < x1; ++x) {
            const Color c = image.readPixel(x, y);
            if (c.getAlpha() == 255 && luminance(c) > luminance(best)) best = c;
        }
    image.unlock();
    return best;
}

Color pixelOf(const Image& image, int x, int y) {
    image.lock();
    const Color c = image.readPixel(x, y);
    image.unlock();
    return c;
}

// The last column of the picture with a light pixel (-1 when none).
int lastLightColumn(const Image& image) {
    image.lock();
    int nLast = -1;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = nLast + 1; x < image.getWidth(); ++x)
            if (luminance(image.readPixel(x, y)) > 0.6) nLast = x;
    image.unlock();
    return nLast;
}

class ProfileLook : public democontent::DemoContentTest {
protected:
    void SetUp() override {
        DemoContentTest::SetUp();
        m_app.pushMode(new GameMode());
    }
    template <class T>
    T* top() {
        return dynamic_cast<T*>(m_app.getTopMode());
    }
    Label* labelOf(const char* szText) {
        for (const Zep::SmartPtr<Sprite>& pSprite : m_app.getTopMode()->getAllSprites())
            if (auto* p = dynamic_cast<Label*>(pSprite.get()); p && p->getText() == szText) return p;
        return nullptr;
    }
    void type(const std::string& s) {
        for (char c : s) events({E::character(c)});
    }
    int refusals() const {
        int n = 0;
        for (const auto& sample : m_pAudio->m_vSamples) n += sample.sName == "sfx_game_cantdo";
        return n;
    }
};

}  // namespace

// Three players, the second chosen: its row is drawn in another colour than
// the rows beside it (not a darker shade of theirs, which reads as greyed
// out), and its name reads on it at least as well as theirs on them.
TEST_F(ProfileLook, TheChosenPlayerStandsOutAndHisNameReads) {
    for (const char* szName : {"Ann", "Bea", "Cid"}) getProfileManager()->createProfile(szName);
    m_app.setSetting("CurrentPlayerName", "bea");
    auto* pList = new SelectProfileDialog(getProfileManager(), 0);
    m_app.pushMode(pList);
    const auto& lRows = pList->getRows();
    ASSERT_TRUE(lRows[1]->isChecked());
    struct Look {
        Color body, letters;
    };
    auto lookOf = [](const ToggleButton& row) {
        const Image& image = *row.getImage();
        return Look{pixelOf(image, 8, image.getHeight() / 2),
                    brightest(image, image.getWidth() / 4, image.getWidth() * 3 / 4)};
    };
    const Look chosen = lookOf(*lRows[1]);
    for (int nOther : {0, 2}) {
        const Look other = lookOf(*lRows[nOther]);
        EXPECT_GE(hueDistance(chosen.body, other.body), 60.0) << "row " << nOther;
        EXPECT_GE(contrast(chosen.letters, chosen.body), contrast(other.letters, other.body)) << "row " << nOther;
    }
    EXPECT_GE(contrast(chosen.letters, chosen.body), 4.5);
}

// Five players fill the list: no scroll button. A sixth, made through the
// list's New player, is chosen and shown in the last row, which brings Up at
// the size the dialog laid it out with.
TEST_F(ProfileLook, ASixthPlayerBringsTheUpButtonAtItsSize) {
    for (const char* szName : {"Ann", "Bea", "Cid", "Dan", "Eve"}) getProfileManager()->createProfile(szName);
    m_app.setSetting("CurrentPlayerName", "ann");
    auto* pList = new SelectProfileDialog(getProfileManager(), 0);
    m_app.pushMode(pList);
    EXPECT_FALSE(pList->getDownButton()->isVisible());
    EXPECT_FALSE(pList->getUpButton()->isVisible());
    pList->onCallback(SelectProfileDialog::kCreateNew, nullptr);
    ASSERT_NE(top<CreateProfileDialog>(), nullptr);
    type("Fay");
    events({E::keyDown(Key::Return)});
    ASSERT_EQ(m_app.getTopMode(), pList);
    ASSERT_TRUE(pList->getUpButton()->isVisible());
    EXPECT_GT(pList->getUpButton()->getWidth(), pList->getUpButton()->getHeight());
    EXPECT_FALSE(pList->getDownButton()->isVisible());
}

// The name in the Delete question, on the dialog's panel.
TEST_F(ProfileLook, TheNameToBeDeletedReadsOnThePanel) {
    m_app.pushMode(new DeleteProfileDialog(nullptr, "Gus"));
    Label* pName = labelOf("Gus");
    ASSERT_NE(pName, nullptr);
    const Color letters = brightest(*pName->getImage(), 0, pName->getImage()->getWidth());
    const Color panel = pixelOf(*m_app.getImage("frame_back"), 2, 2);
    EXPECT_GE(contrast(letters, panel), 4.5) << int(letters.getRed()) << "," << int(letters.getGreen()) << ","
                                             << int(letters.getBlue());
}

// Wide letters stop at the field's end with the caret still inside it (the
// caret is the last light ink: it goes when the box loses the keys); narrow
// ones stop at the name's length. Each refused key sounds once.
TEST_F(ProfileLook, TheNameBoxKeepsNameAndCaretInItsFieldAndRefusesAloud) {
    const struct {
        char cLetter;
        int nTaken;  // 0: as many as the field holds
    } kCases[] = {{'W', 0}, {'i', 16}};
    for (const auto& c : kCases) {
        m_pAudio->m_vSamples.clear();
        m_app.pushMode(new CreateProfileDialog(getProfileManager(), nullptr));
        auto* pDialog = top<CreateProfileDialog>();
        ASSERT_NE(pDialog, nullptr);
        EditBox& box = *pDialog->getEditBox();
        const int nField = box.getBackground()->getWidth();
        type(std::string(20, c.cLetter));
        const int nTaken = box.getText().length();
        if (c.nTaken) {
            EXPECT_EQ(nTaken, c.nTaken) << c.cLetter;
        }
        EXPECT_GE(nTaken, 10) << c.cLetter;
        EXPECT_EQ(refusals(), 20 - nTaken) << c.cLetter;
        const int nWithCaret = lastLightColumn(*box.getImage());
        EXPECT_LT(nWithCaret, nField - 2) << c.cLetter;
        box.releaseFocus();
        EXPECT_LT(lastLightColumn(*box.getImage()), nWithCaret) << c.cLetter << ": no caret was drawn";
        pDialog->endMode();
    }
}

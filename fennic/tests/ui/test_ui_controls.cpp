#include <string>

#include <gtest/gtest.h>

#include "base/keys.h"
#include "ui/uitest_util.h"
#include "ui/ui_button.h"
#include "ui/ui_label.h"
#include "ui/ui_wordbreak.h"

namespace {

using uitest::UiTest;
using SpritePtr = Zep::SmartPtr<Sprite>;

// A mode that logs the presses and keys that reach it.
struct LogMode : GameMode {
    bool onMouseDown(int nMask, int, int) override { return vLog.push_back("down " + std::to_string(nMask)), false; }
    bool onKeyDown(int nKey, int) override { return vLog.push_back("key " + std::to_string(nKey)), false; }
    void onCallback(int nId, void*) override { vLog.push_back("callback " + std::to_string(nId)); }
    std::vector<std::string> vLog;
};

class Controls : public UiTest {
protected:
    LogMode* pushLogMode() {
        auto* p = new LogMode();
        m_app.pushMode(p);
        return p;
    }
};

// ---- Control ----

TEST_F(Controls, PressTakesTheFocusOnlyForMaskOneOrFourOnAnEnabledFocusableControl) {
    struct Probe : Control {
        Probe() : Control(0, 0, 0, true) { setImage(spritetest::picture(50, 50, 0, 0)); }
    };
    LogMode* pMode = pushLogMode();
    Zep::SmartPtr<Probe> p = new Probe();
    pMode->addControl(p.get());
    struct Case { bool bEnabled, bFocusable; int nMask; bool bFocused; };
    const Case kCases[] = {{true, true, 1, true}, {true, true, 4, true}, {true, true, 2, false},
                           {true, true, 5, false}, {false, true, 1, false}, {true, false, 1, false}};
    for (const Case& c : kCases) {
        pMode->setFocusSprite(SpritePtr());
        p->setEnabled(c.bEnabled);
        p->setFocusable(c.bFocusable);
        pMode->vLog.clear();
        pump({testkit::FakeEvent::mouseMove(10, 10), testkit::FakeEvent::mouseDown(c.nMask, 10, 10)});
        EXPECT_EQ(c.bFocused, p->hasFocus()) << c.nMask;
        EXPECT_EQ(c.bFocused ? 0u : 1u, pMode->vLog.size()) << c.nMask;  // unconsumed presses reach the mode
    }
    // Making any control non-focusable releases the focus, whoever holds it.
    p->setFocusable(true);
    SpritePtr pOther = new Sprite(spritetest::picture(5, 5, 0, 0), 100, 100, 0);
    pMode->addSprite(pOther);
    pMode->setFocusSprite(pOther);
    Zep::SmartPtr<Probe> pQuiet = new Probe();
    pMode->addSprite(pQuiet.get());
    pQuiet->setFocusable(false);
    EXPECT_TRUE(pMode->getFocusSprite().isNULL());
    // Disabling the focused control clears the focus; in no mode only flags change.
    p->takeFocus();
    p->setEnabled(false);
    EXPECT_TRUE(pMode->getFocusSprite().isNULL());
    Zep::SmartPtr<Probe> pLoose = new Probe();
    pLoose->takeFocus();
    pLoose->releaseFocus();
    EXPECT_FALSE(pLoose->hasFocus());
}

// ---- Label ----

struct LabelCase {
    const char* szName;
    const char* szText;
    int nMargin;       // -2: automatic
    int nBackHeight;   // 0: none
    int nWrap;         // 0: none; negative: set with a recount
    int nLines;        // 0: leave
    int w, h;
};

TEST_F(Controls, LabelSizesFromTextMarginBackgroundAndLines) {
    const LabelCase kCases[] = {
        // lh 24, automatic margin 24 / 6 = 4: an empty text is 8 x 32.
        {"empty", "", -2, 0, 0, 0, 8, 32},
        {"one line", "abc", -2, 0, 0, 0, 38, 32},
        {"margin 0 stays 0", "abc", 0, 0, 0, 0, 30, 24},
        // A 40-high background: margin (40 - 24) / 2 = 8; the image is the background's.
        {"tall background", "abc", -2, 40, 0, 0, 60, 40},
        {"low background", "abc", -2, 20, 0, 0, 60, 20},
        // Five lines of 50 at wrap 50 in a label of two lines: 2 x 24 + 4 x 4.
        {"five lines in two", "aaaaa bbbbb ccccc ddddd eeeee", -2, 0, 50, 2, 58, 64},
        // A blank run that does not fit starts a line: "aaaaa ", "bbbbb ", "ccccc".
        {"recounted", "aaaaa bbbbb ccccc", -2, 0, -60, 0, 68, 80},
        // Built with a wrap width, the line count stays 1.
        {"not recounted", "aaaaa bbbbb ccccc", -2, 0, 50, 0, 58, 40},
    };
    for (const LabelCase& c : kCases) {
        Zep::SmartPtr<Label> p = new Label(c.szText);
        p->setFont(new uitest::FixedFont());
        if (c.nBackHeight) p->setBackground(spritetest::picture(60, c.nBackHeight, 0, 0));
        if (c.nMargin != -2) p->setTextMargin(c.nMargin);
        if (c.nWrap > 0) p->setWrapWidth(c.nWrap, false);
        if (c.nWrap < 0) p->setWrapWidth(-c.nWrap, true);
        if (c.nLines) p->setLineCount(c.nLines);
        ASSERT_TRUE(p->getImage().notNULL()) << c.szName;
        EXPECT_EQ(std::make_pair(c.w, c.h), std::make_pair(p->getImage()->getWidth(), p->getImage()->getHeight()))
            << c.szName;
    }
}

// 10 pixels a character: a word wider than the width breaks after its last
// "/" that fits (not a leading one), else after its last whole character
// that fits; spaces, line breaks and words that fit stay.
TEST_F(Controls, LongWordsBreakAfterASlashElseBetweenCharacters) {
    const std::string e = "\xC3\xA9";
    std::string sTen, sThree;
    for (int i = 0; i < 10; ++i) sTen += e;
    for (int i = 0; i < 3; ++i) sThree += e;
    const struct {
        std::string sText;
        int nWidth;
        std::string sBroken;
    } kCases[] = {
        {"short words stay", 100, "short words stay"},
        {"/home/zo\xC3\xAB/a", 100, "/home/zo\xC3\xAB/\na"},
        {"see /usr/share/games/tuk/data.dat now", 100, "see /usr/\nshare/\ngames/tuk/\ndata.dat now"},
        {"/aaaaaaaaaaaaaaa/b", 100, "/aaaaaaaaa\naaaaaa/b"},
        {sTen + sThree, 100, sTen + "\n" + sThree},
        {"a\n/bbbbbbbbbbbb", 100, "a\n/bbbbbbbbb\nbbb"},
        {"ab", 5, "a\nb"},
        {"/home/x", 0, "/home/x"},
    };
    uitest::FixedFont font;
    for (const auto& c : kCases)
        EXPECT_EQ(wordbreak::breakLongWords(font, c.sText.c_str(), c.nWidth).c_str(), c.sBroken) << c.sText;
}

// The widest word too wide is shortened in its middle round the ellipsis
// ("..." in this font): half the room to its beginning, cut after a "/",
// the rest to its end, cut before one; else between whole characters.
TEST_F(Controls, TheWidestWordIsShortenedInItsMiddleAtSlashesElseBetweenCharacters) {
    const std::string e = "\xC3\xA9";
    const struct {
        std::string sText;
        int nWidth;
        std::string sShort;
    } kCases[] = {
        {"fits /a/b", 100, "fits /a/b"},
        {"/home/ann/aaaa/bbbb/cccc/TukHarbor/x.dat", 300, "/home/ann/.../TukHarbor/x.dat"},
        {"/home/ann/aaaa/bbbb/cccc/TukHarbor/x.dat", 250, "/home/ann/.../x.dat"},
        {"see /a/b/c/d/e/f/g/h and /i/j/k/l now", 100, "see /a/.../g/h and /i/j/k/l now"},
        {"abcdefghijklmnopqrstuvwxyz", 130, "abcde...vwxyz"},
        {e + e + e + e + e + e + e + e + e + e, 70, e + e + "..." + e + e},
    };
    uitest::FixedFont font;
    for (const auto& c : kCases)
        EXPECT_EQ(wordbreak::shortenWidestWord(font, c.sText.c_str(), c.nWidth).c_str(), c.sShort) << c.sText;
}

// Each paragraph on its own balanced lines (greedy, the first would end on
// "ddd" alone); the label as wide as the widest line (+ 2 x 4 margin).
TEST_F(Controls, BalancedLabelsWrapEachParagraphEvenlyAndAreAsWideAsTheirLines) {
    const struct {
        const char* szText;
        std::string sLines;
        int nWidth, nLines;
    } kCases[] = {{"aaa bbb ccc ddd\n/home/ann/tukconfig.dat", "aaa bbb|ccc ddd|/home/ann/|tukconfig.dat|", 138, 4},
                  {"ok", "ok|", 28, 1}};
    for (const auto& c : kCases) {
        Zep::SmartPtr<Label> p = new Label(c.szText);
        p->setFont(new uitest::FixedFont());
        p->setBreakLongWords(true);
        p->setBalancedWrapWidth(130);
        std::string sLines;
        for (const Zep::String& sLine : p->getLines()) sLines += std::string(sLine.trim().c_str()) + "|";
        EXPECT_EQ(sLines, c.sLines);
        EXPECT_EQ(std::make_pair(c.nWidth, c.nLines), std::make_pair(p->getImage()->getWidth(), p->getLineCount()));
    }
}

TEST_F(Controls, LabelTextMaskFontCopiesAndTheThemeFont) {
    Zep::SmartPtr<Label> p = new Label("x");
    EXPECT_TRUE(p->getFont().notNULL() && !p->isEnabled() && !p->isFocusable());
    EXPECT_EQ(Sprite::kHitRect, p->getHitTestMode());
    // An equal text does not render again.
    Zep::SmartPtr<Image> pImage = p->getImage();
    p->setText("x");
    EXPECT_EQ(pImage, p->getImage());
    p->setText("a\xC3\xA9z");
    p->setMask("*");
    EXPECT_STREQ("***", p->getDisplayText().c_str());
    // The colour setter changes a copy: a label sharing the font keeps it.
    Zep::SmartPtr<Font> pShared = new uitest::FixedFont();
    Zep::SmartPtr<Label> q = new Label("y");
    p->setFont(pShared);
    q->setFont(pShared);
    p->setTextColor(Color(1, 2, 3, 255));
    EXPECT_EQ(pShared, q->getFont());
    EXPECT_NE(pShared, p->getFont());
    EXPECT_EQ(Color(1, 2, 3, 255), p->getFont()->getTextColor());
    EXPECT_EQ(Color(255, 255, 255, 255), pShared->getTextColor());
    p->setShadowColor(Color(9, 9, 9, 255));
    EXPECT_TRUE(p->getFont()->getDrawShadow());
    p->setTextAlign(4);
    EXPECT_EQ(4, p->getFont()->getTextAlign());
}

// ---- Button ----

class Buttons : public Controls {
protected:
    void SetUp() override {
        Controls::SetUp();
        m_pMode = pushLogMode();
        m_pButton = new Button("Go", 7, 100, 100, 0, -1);
        EXPECT_TRUE(m_pButton->getImage().isNULL());  // no image before it joins a mode
        m_pMode->addControl(m_pButton.get());
        m_pMode->vLog.clear();
        sounds();
    }
    std::pair<int, int> centre() { return uitest::centreOf(*m_pButton); }

    LogMode* m_pMode = nullptr;
    Zep::SmartPtr<Button> m_pButton;
};

TEST_F(Buttons, JoiningAModeRendersAndAdoptsItAsTarget) {
    EXPECT_TRUE(m_pButton->getImage().notNULL());
    EXPECT_EQ(m_pMode, m_pButton->getTarget());
    // A button whose target is another object keeps it; leaving clears only the mode.
    uitest::LogTarget other;
    Zep::SmartPtr<Button> pOwn = new Button("Own", 1);
    pOwn->setTarget(&other);
    m_pMode->addControl(pOwn.get());
    EXPECT_EQ(&other, pOwn->getTarget());
    m_pMode->removeSprite(pOwn.get());
    m_pMode->removeSprite(m_pButton.get());
    EXPECT_EQ(&other, pOwn->getTarget());
    EXPECT_EQ(nullptr, m_pButton->getTarget());
    // Mended: a mode emptied at once is forgotten as target too.
    m_pMode->addControl(m_pButton.get());
    m_pMode->removeAllSprites();
    EXPECT_EQ(nullptr, m_pButton->getTarget());
}

TEST_F(Buttons, AClickHighlightsPushesSoundsAndFiresOnRelease) {
    const auto [x, y] = centre();
    pump({testkit::FakeEvent::mouseMove(x, y)});
    EXPECT_EQ(Button::kHighlight, m_pButton->getState());
    pump({testkit::FakeEvent::mouseDown(1, x, y)});
    EXPECT_EQ(Button::kPushed, m_pButton->getState());
    pump({testkit::FakeEvent::mouseUp(1, x, y)});
    EXPECT_EQ(Button::kHighlight, m_pButton->getState());
    EXPECT_EQ((std::vector<std::string>{"callback 7"}), m_pMode->vLog);
    EXPECT_EQ((std::vector<std::string>{"sfx_ui_hover", "sfx_ui_click"}), sounds());
    pump({testkit::FakeEvent::mouseMove(5, 5)});
    EXPECT_EQ(Button::kNormal, m_pButton->getState());
}

// Kept as built: the release fires even when the press happened elsewhere.
TEST_F(Buttons, APressElsewhereDraggedOntoTheButtonFiresOnRelease) {
    const auto [x, y] = centre();
    drag(5, 5, x, y);
    EXPECT_EQ((std::vector<std::string>{"down 1", "callback 7"}), m_pMode->vLog);
    // Entered with the button held: pushed, and no highlight sound.
    EXPECT_EQ((std::vector<std::string>{"sfx_ui_click"}), sounds());
}

TEST_F(Buttons, OtherMasksAreNotConsumedAndFlag0x100SilencesTheHighlight) {
    const auto [x, y] = centre();
    m_pButton->setSoundFlags(Button::kNoHighlightSound);
    pump({testkit::FakeEvent::mouseMove(x, y), testkit::FakeEvent::mouseDown(4, x, y),
          testkit::FakeEvent::mouseUp(4, x, y)});
    EXPECT_EQ(Button::kHighlight, m_pButton->getState());
    EXPECT_EQ((std::vector<std::string>{"down 4"}), m_pMode->vLog);
    EXPECT_TRUE(sounds().empty());
}

TEST_F(Buttons, DisablingAHoveredButtonLeavesItThenShowsDisabled) {
    const auto [x, y] = centre();
    pump({testkit::FakeEvent::mouseMove(x, y)});
    struct StateLog : Button {
        using Button::Button;
        bool onMouseLeave() override {
            vStates.push_back(getState());
            Button::onMouseLeave();
            vStates.push_back(getState());
            return false;
        }
        std::vector<int> vStates;
    };
    Zep::SmartPtr<StateLog> p = new StateLog("Log", 3, 300, 300, 0, -1);
    m_pMode->addControl(p.get());
    const auto [px, py] = uitest::centreOf(*p);
    pump({testkit::FakeEvent::mouseMove(px, py)});
    p->setEnabled(false);
    EXPECT_EQ((std::vector<int>{Button::kHighlight, Button::kNormal}), p->vStates);
    EXPECT_EQ(Button::kDisabled, p->getState());
    // No longer a control: a click reaches the mode.
    m_pMode->vLog.clear();
    click(px, py);
    EXPECT_EQ((std::vector<std::string>{"down 1"}), m_pMode->vLog);
    p->setEnabled(true);
    // Re-entered while still disabled: state 0 until the mouse moves in again.
    EXPECT_EQ(Button::kNormal, p->getState());
    // A hidden button stores its state without rendering.
    p->setVisible(false);
    p->setState(Button::kPushed);
    EXPECT_FALSE(p->isVisible());
}

TEST_F(Buttons, ToggleButtonTogglesOnThePressWithoutClickSound) {
    Zep::SmartPtr<ToggleButton> p = new ToggleButton("T", 9, 300, 300, 0, -1);
    m_pMode->addControl(p.get());
    const auto [x, y] = uitest::centreOf(*p);
    sounds();
    click(x, y);
    EXPECT_TRUE(p->isChecked());
    EXPECT_EQ(Button::kPushed, p->getState());
    click(x, y);
    EXPECT_FALSE(p->isChecked());
    EXPECT_EQ((std::vector<std::string>{"callback 9", "callback 9"}), m_pMode->vLog);
    EXPECT_EQ((std::vector<std::string>{"sfx_ui_hover"}), sounds());
}

TEST_F(Buttons, CustomButtonNamesFromABaseName) {
    for (const char* szName : {"b_up", "b_down", "t_normal", "t_highlight"})
        picture(szName, imagetest::solid(8, 8, false, Color(1, 1, 1, 255)));
    Zep::String as[4];
    findButtonImageNames("b_", as);
    EXPECT_EQ("b_up b_down b_up b_up", std::string(as[0].c_str()) + " " + as[1].c_str() + " " + as[2].c_str() + " " +
                                           as[3].c_str());
    findButtonImageNames("none", as);
    EXPECT_STREQ("none", as[3].c_str());
    findToggleImageNames("t_", as);
    EXPECT_EQ("t_normal t_normal t_highlight t_normal",
              std::string(as[0].c_str()) + " " + as[1].c_str() + " " + as[2].c_str() + " " + as[3].c_str());
    findToggleImageNames("gone", as);
    EXPECT_STREQ("gonenormal", as[2].c_str());
    // A null state image hides the button.
    Zep::SmartPtr<CustomButton> p = new CustomButton(1, "b_");
    EXPECT_EQ(m_app.getImage("b_up"), p->getImage());
    p->setImages(nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(p->isVisible());
    // A custom toggle shows its own picture of each state.
    Zep::SmartPtr<CustomToggleButton> t = new CustomToggleButton(2, "t_");
    m_pMode->addControl(t.get());
    t->setChecked(true);
    EXPECT_EQ(m_app.getImage("t_normal"), t->getImage());  // the pushed state fell back to normal
    t->setChecked(false);
    const auto [x, y] = uitest::centreOf(*t);
    pump({testkit::FakeEvent::mouseMove(x, y)});
    EXPECT_EQ(m_app.getImage("t_highlight"), t->getImage());
    Zep::SmartPtr<CustomButton> q = new CustomButton(3, "b_up", "b_down", "b_up", "b_down");
    q->setState(Button::kPushed);
    EXPECT_EQ(m_app.getImage("b_down"), q->getImage());
}

}  // namespace

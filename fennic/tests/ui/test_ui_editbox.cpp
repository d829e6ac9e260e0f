#include <gtest/gtest.h>

#include "base/keys.h"
#include "ui/ui_editbox.h"
#include "ui/uitest_util.h"

namespace {

using E = testkit::FakeEvent;

// A mode that logs the keys, characters and callbacks that reach it.
struct EditMode : GameMode {
    bool onKeyDown(int nKey, int) override { return vLog.push_back("key " + std::to_string(nKey)), false; }
    bool onChar(int nChar) override { return vLog.push_back("char " + std::to_string(nChar)), false; }
    void onCallback(int nId, void*) override { vLog.push_back("changed " + std::to_string(nId)); }
    std::vector<std::string> vLog;
};

class EditBoxes : public uitest::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        m_pMode = new EditMode();
        m_app.pushMode(m_pMode);
        m_pBox = new EditBox(100, 100, 0, 0, true);
        m_pBox->setFont(new uitest::FixedFont());
        m_pMode->addControl(m_pBox.get());
    }
    void type(std::initializer_list<int> chars) {
        for (int c : chars) pump({E::character(c)});
    }
    std::string text() { return m_pBox->getText().c_str(); }
    std::vector<std::string> log() { return std::exchange(m_pMode->vLog, {}); }

    EditMode* m_pMode = nullptr;
    Zep::SmartPtr<EditBox> m_pBox;
};

TEST_F(EditBoxes, TypingTwoByteCharactersBackspaceDeleteAndTheCaret) {
    EXPECT_EQ(m_pMode, m_pBox->getTarget());
    type({'a'});
    EXPECT_EQ("char 97", log().at(0));  // no focus yet: the mode gets it
    click(102, 102);
    ASSERT_TRUE(m_pBox->hasFocus());
    type({'b', 0xE9, 'c'});  // callback id still -1: nothing reported
    EXPECT_EQ("b\xC3\xA9" "c", text());
    EXPECT_TRUE(log().empty());
    m_pBox->setCallbackId(5);
    key(Key::Left);
    EXPECT_EQ(2, m_pBox->getCaretPos());
    key(Key::Backspace);  // the two-byte character goes as one
    EXPECT_EQ("bc", text());
    EXPECT_EQ(1, m_pBox->getCaretPos());
    key(Key::Delete);
    key(Key::Delete);  // nothing left to delete, still reported
    key(Key::Home);
    key(Key::Backspace);
    EXPECT_EQ("b", text());
    EXPECT_EQ((std::vector<std::string>{"changed 5", "changed 5", "changed 5", "changed 5"}), log());
    // Focused: 10 for the text, 20 for "__", 4 + 4 margin.
    EXPECT_EQ(38, m_pBox->getImage()->getWidth());
    m_pMode->setFocusSprite(Zep::SmartPtr<Sprite>());
    EXPECT_EQ(18, m_pBox->getImage()->getWidth());
    // Gaining the focus puts the caret at the end.
    m_pBox->setText("xyz");
    m_pBox->setCaretPos(1);
    m_pBox->takeFocus();
    EXPECT_EQ(3, m_pBox->getCaretPos());
    m_pBox->setCaretPos(-5);
    EXPECT_EQ(0, m_pBox->getCaretPos());
    m_pBox->setCaretPos(9);
    EXPECT_EQ(3, m_pBox->getCaretPos());
    m_pBox->setText("x");
    EXPECT_EQ(1, m_pBox->getCaretPos());
}

TEST_F(EditBoxes, ModifiersAndTheKeysPassedToTheMode) {
    m_pBox->setText("abc");
    m_pBox->takeFocus();
    struct Case { int nKey; unsigned nMods; const char* szModeSees; int nCaret; };
    const Case kCases[] = {
        {Key::Left, KeyMod::LShift, "key 276", 3},          // Shift+Left is not the box's
        {Key::Home, KeyMod::LCtrl, "key 278", 3},
        {Key::Left, KeyMod::Caps | KeyMod::Num, "", 2},      // locks do not count
        {Key::Home, KeyMod::Caps, "", 0},
        {Key::End, 0, "", 3},
        {Key::Escape, KeyMod::Num, "key 27", 3},            // once, through the box
        {Key::Return, 0, "key 13", 3},
        {Key::Tab, 0, "key 9", 3},
        {Key::Return, KeyMod::LCtrl, "key 13", 3},          // not the box's: to the mode
        {Key::A, 0, "key 97", 3},
    };
    for (const Case& c : kCases) {
        key(c.nKey, c.nMods);
        const std::vector<std::string> v = log();
        EXPECT_EQ(c.szModeSees, v.empty() ? "" : v[0]) << c.nKey;
        EXPECT_LE(v.size(), 1u) << c.nKey;
        EXPECT_EQ(c.nCaret, m_pBox->getCaretPos()) << c.nKey;
    }
}

// A character dropped because the box is full sounds; one the sets refuse
// goes on to the mode without a sound.
TEST_F(EditBoxes, LimitsAndCharacterSets) {
    m_pAudio->m_sampleLoader.m_setNames.insert("full");
    m_pBox->setFullSound(m_app.getSample("full"));
    m_pBox->takeFocus();
    m_pBox->setMaxLength(2);
    m_pBox->setForbiddenChars("!");
    type({'!', 'a', 0xE9, 'z'});
    EXPECT_EQ("a\xC3\xA9", text());
    EXPECT_EQ((std::vector<std::string>{"char 33"}), log());  // refused, not consumed; 'z' dropped
    EXPECT_EQ((std::vector<std::string>{"full"}), sounds());
    m_pBox->setMaxLength(-1);
    m_pBox->setAllowedChars("a\xC3\xA9");
    type({'q', 0xE9});
    EXPECT_EQ((std::vector<std::string>{"char 113"}), log());
    EXPECT_EQ("a\xC3\xA9\xC3\xA9", text());
    EXPECT_TRUE(sounds().empty());
    // The wrap width is the widest text: 30 pixels hold three characters.
    Zep::SmartPtr<EditBox> pNarrow = new EditBox(0, 0, 10, 30, true);
    pNarrow->setFont(new uitest::FixedFont());
    pNarrow->setFullSound(m_app.getSample("full"));
    for (int c : {'a', 'b', 'c', 'd', 'e'}) EXPECT_TRUE(pNarrow->onChar(c));
    EXPECT_STREQ("abc", pNarrow->getText().c_str());
    EXPECT_EQ((std::vector<std::string>{"full", "full"}), sounds());
    EXPECT_FALSE(pNarrow->onChar(0));
}

// Mended: a box in no mode still consumes Escape, Return and Tab but hands
// them to nobody (there is no mode to call).
TEST_F(EditBoxes, ModeKeysInNoModeAreConsumedAndGoNowhere) {
    Zep::SmartPtr<EditBox> pLoose = new EditBox();
    for (int nKey : {Key::Escape, Key::Return, Key::Tab}) EXPECT_TRUE(pLoose->onKeyDown(nKey, 0));
    EXPECT_EQ(nullptr, pLoose->getTarget());
    m_pMode->removeSprite(m_pBox.get());
    EXPECT_EQ(nullptr, m_pBox->getTarget());
}

}  // namespace

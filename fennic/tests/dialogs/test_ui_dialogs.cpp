#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "base/keys.h"
#include "dialogs/ui_dialog.h"
#include "dialogs/ui_stddialogs.h"
#include "ui/uitest_util.h"

namespace {

using E = testkit::FakeEvent;

// Logs the answers and whether the dialog had already left the stack.
struct AnswerLog : ICallbackTarget {
    void onCallback(int nId, void*) override {
        vIds.push_back(nId);
        bEndedFirst = pApp && pDialog && !pApp->isModeOnStack(pDialog);
    }
    std::vector<int> vIds;
    GameApp* pApp = nullptr;
    GameMode* pDialog = nullptr;
    bool bEndedFirst = false;
};

class Dialogs : public uitest::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        m_app.pushMode(new GameMode());  // the screen below
        m_log.pApp = &m_app;
    }
    template <class D>
    D* push(D* pDialog) {
        m_log.pDialog = pDialog;
        m_app.pushMode(pDialog);
        return pDialog;
    }
    bool onTop(GameMode* p) { return m_app.getTopMode() == p; }
    // The text of the label at a row of a table's first cell.
    static std::string textAt(Table& t, int nRow) {
        auto* p = dynamic_cast<Label*>(t.getContent(nRow, 0, 0).get());
        return p ? p->getText().c_str() : "(not a label)";
    }

    AnswerLog m_log;
};

TEST_F(Dialogs, EnterAndEscapeOnYesNoAndMessage) {
    struct Case { const char* szKind; int nKey; std::vector<int> vIds; bool bEnded; };
    const Case kCases[] = {
        {"yesno", Key::Return, {11}, true}, {"yesno", Key::Escape, {12}, true},
        {"yesno", Key::KPEnter, {}, false}, {"yesno", Key::Space, {}, false},
        {"message", Key::Return, {13}, true}, {"message", Key::Escape, {}, false},
    };
    for (const Case& c : kCases) {
        m_log.vIds.clear();
        CommonDialog* p = std::string(c.szKind) == "yesno"
                              ? static_cast<CommonDialog*>(push(new DlgYesNo(&m_log, "Sure?", 11, 12)))
                              : push(new DlgMessage(&m_log, "Done.", 13));
        key(c.nKey);
        EXPECT_EQ(c.vIds, m_log.vIds) << c.szKind << " " << c.nKey;
        EXPECT_EQ(c.bEnded, !onTop(p)) << c.szKind << " " << c.nKey;
        EXPECT_TRUE(!c.bEnded || m_log.bEndedFirst) << c.szKind;
        if (!c.bEnded) p->endMode();
        m_app.deleteEndedModes();
    }
    // Without a yes id Enter is not consumed and the dialog stays.
    DlgYesNo* p = push(new DlgYesNo(&m_log, "", -1, 12));
    EXPECT_FALSE(p->onKeyDown(Key::Return, 0));
    EXPECT_EQ(0, p->getBodyTable()->getRowCount());
    // Texts and images added to a common dialog's table go to rows of the body.
    picture("badge", imagetest::solid(8, 8, false, Color(1, 1, 1, 255)));
    p->addTextToTable("one", 1);
    p->addImageToTable("badge", 1);
    EXPECT_EQ(2, p->getBodyTable()->getRowCount());
    EXPECT_EQ(2, p->getTable()->getRowCount());
}

TEST_F(Dialogs, TheYesButtonAnswersAndTheEndedDialogKeepsItsSpritesHidden) {
    DlgYesNo* p = push(new DlgYesNo(&m_log, "Sure?", 11, 12));
    auto* pYes = dynamic_cast<Button*>(p->getButtonTable()->getContent(0, 0, 0).get());
    ASSERT_NE(nullptr, pYes);
    EXPECT_STREQ("yes", pYes->getCaption().c_str());
    const auto [x, y] = uitest::centreOf(*pYes);
    click(x, y);
    EXPECT_EQ(std::vector<int>{11}, m_log.vIds);
    EXPECT_FALSE(pYes->isVisible());
    EXPECT_EQ(p, pYes->getMode());  // kept until the mode is freed
    // The dimmer was added at the start.
    bool bDimmer = false;
    for (const auto& s : p->getAllSprites()) bDimmer |= s->getZOrder() == GameMode::kDimmerZOrder && s->getAlpha() == 0.5f;
    EXPECT_TRUE(bDimmer);
}

TEST_F(Dialogs, CentringWrapWidthsAndLayingOutAgainWhenTopAgain) {
    struct Case { int w, h, x, y; };
    // Taller than the screen: its bottom, where the buttons are, stays on it.
    for (const Case& c : {Case{300, 100, 250, 250}, Case{301, 101, 249, 249}, Case{300, 700, 250, -100}}) {
        DialogMode d(true);
        d.addSpriteToTable(spritetest::picture(c.w, c.h, 0, 0), 0);
        d.layout(1);
        EXPECT_EQ(std::make_pair(c.x, c.y), std::make_pair(static_cast<int>(d.getTable()->getPosition().x),
                                                           static_cast<int>(d.getTable()->getPosition().y)));
        EXPECT_EQ(GameMode::kActive | GameMode::kVisible | GameMode::kDrawBelow, d.getFlags());
    }
    EXPECT_EQ(GameMode::kUpdateBelow, DialogMode(false).getFlags() & GameMode::kUpdateBelow);
    // Texts wrap only when wider than the wrap width: 49 characters + 2 x 4 margin = 498.
    DialogMode d(true);
    d.setTextFont(new uitest::FixedFont());
    EXPECT_EQ(0, d.addTextToTable(std::string(49, 'a').c_str(), 0)->getWrapWidth());
    EXPECT_EQ(500, d.addTextToTable(std::string(50, 'a').c_str(), 0)->getWrapWidth());
    // A message is always wrapped, in balanced lines: a short one as wide as itself.
    DlgMessage* pMessage = push(new DlgMessage(&m_log, "Short.", 1));
    const Label& message = *dynamic_cast<Label*>(pMessage->getBodyTable()->getContent(0, 0, 0).get());
    EXPECT_EQ(message.getFont()->getTextWidth("Short."), message.getWrapWidth());
    // Another mode over the dialog and gone again: laid out and shown again.
    pMessage->getTable()->setVisible(false);
    GameMode* pOver = new GameMode();
    m_app.pushMode(pOver);
    pOver->endMode();
    EXPECT_TRUE(pMessage->getTable()->isVisible());
}

// The pixels a picture covers (alpha above 0) and the right-most column among them.
std::pair<int, int> inkOf(const Image& img) {
    ImageLock lock(img);
    int nInk = 0, nRight = -1;
    for (int y = 0; y < img.getHeight(); ++y)
        for (int x = 0; x < img.getWidth(); ++x)
            if (img.readPixel(x, y).getAlpha() > 0) ++nInk, nRight = std::max(nRight, x);
    return {nInk, nRight};
}

// A message of two paths wider than the dialog, one of 120 bytes and one
// through folders of accented names: every character is drawn inside the
// label (as many pixels as the text drawn on unbounded lines, none in the
// label's right margin), the label inside the dialog, and the dialog, grown
// by lines, with its OK button inside the screen, where a click answers.
TEST_F(Dialogs, AMessageShowsLongPathsWholeInsideTheDialog) {
    const std::string sPath = "/home/firstname.lastname@corp.example.com/.local/share/Halvorn/TukHarbor/"
                              "backups-of-the-old-laptop-123/tukconfig.dat.bad";
    ASSERT_EQ(sPath.size(), 120u);
    std::string sAccents;  // wider than the dialog without a "/": broken between characters
    for (int i = 0; i < 10; ++i) sAccents += "\xC3\x89\xC3\xA9\xC3\xA8\xC3\xAA\xC3\xAB\xC3\x88\xC3\x8A\xC3\x8B";
    const std::string sText = sPath + "\n/home/zo\xC3\xAB/" + sAccents + "/tukconfig.dat";
    DlgMessage* p = push(new DlgMessage(&m_log, sText.c_str(), 21));
    auto* pLabel = dynamic_cast<Label*>(p->getBodyTable()->getContent(0, 0, 0).get());
    ASSERT_NE(nullptr, pLabel);
    EXPECT_GE(pLabel->getLineCount(), 5);
    const Image& shown = *pLabel->getImage();
    const auto [nInk, nRight] = inkOf(shown);
    const Zep::SmartPtr<Label> pUnbounded = new Label(sText.c_str());
    pUnbounded->setLineCount(2);
    const int nWhole = inkOf(*pUnbounded->getImage()).first;
    EXPECT_NEAR(nInk, nWhole, nWhole / 50);
    EXPECT_LT(nRight, shown.getWidth() - pLabel->getTextMargin());
    const Rect label = pLabel->getBoundingRect();
    Table& t = *p->getTable();
    const int x = static_cast<int>(t.getPosition().x), y = static_cast<int>(t.getPosition().y);
    EXPECT_TRUE(label.getLeft() >= x && label.getRight() <= x + t.getWidth() && label.getBottom() <= y + t.getHeight());
    EXPECT_TRUE(x >= 0 && x + t.getWidth() <= 800 && y >= 0 && y + t.getHeight() <= 600);
    auto* pOk = dynamic_cast<Button*>(p->getButtonTable()->getContent(0, 0, 0).get());
    ASSERT_NE(nullptr, pOk);
    EXPECT_TRUE(pOk->getBoundingRect().getTop() >= label.getBottom() && pOk->getBoundingRect().getBottom() <= 600);
    click(uitest::centreOf(*pOk).first, uitest::centreOf(*pOk).second);
    EXPECT_EQ(std::vector<int>{21}, m_log.vIds);
}

TEST_F(Dialogs, StartAgainRowsAnswersAndEscape) {
    m_pTexts->add("style.txt", testkit::resource("SAD_ButtonStyle Tooltip\n"));
    for (bool bExtra : {false, true}) {
        if (bExtra) m_app.loadStringTable("style.txt");  // a style of one picture: not clicked
        // Mended: the extra text is copied; the caller's buffer may be gone by the push.
        auto pBuffer = std::make_unique<std::string>("Saved on Monday");
        auto* p = new StartAgainDlg(&m_log, -1, 15, 11, bExtra ? pBuffer->c_str() : nullptr);
        pBuffer.reset();
        push(p);
        Table& t = *p->getTable();
        ASSERT_EQ(bExtra ? 7 : 6, t.getRowCount());
        EXPECT_EQ("Start again?", textAt(t, 0));
        EXPECT_EQ("You have a saved game.", textAt(t, 2));
        // The question's lines are centred under the centred title.
        EXPECT_EQ(0x24, dynamic_cast<Label*>(t.getContent(2, 0, 0).get())->getFont()->getTextAlign());
        auto* pContinue = dynamic_cast<Button*>(t.getContent(3, 0, 0).get());
        ASSERT_NE(nullptr, pContinue);
        EXPECT_EQ(bExtra ? "Continue tooltip" : "Continue ",
                  std::string(pContinue->getCaption().c_str()) + " " + pContinue->getStyle().c_str());
        EXPECT_EQ(bExtra ? "Saved on Monday" : "", bExtra ? textAt(t, 6) : "");
        m_log.vIds.clear();
        if (!bExtra) {
            click(uitest::centreOf(*pContinue).first, uitest::centreOf(*pContinue).second);
            EXPECT_EQ(std::vector<int>{11}, m_log.vIds);
            pump({E::mouseMove(790, 590)});
            continue;
        }
        // Kept as built: Escape answers Cancel (even an id of -1) but is not consumed.
        EXPECT_FALSE(p->onKeyDown(Key::Escape, 0));
        EXPECT_EQ(std::vector<int>{-1}, m_log.vIds);
        EXPECT_FALSE(onTop(p));
    }
}

TEST_F(Dialogs, GamePausedRowsAndClosing) {
    struct Case { const char* szText; bool bKey, bClick; int nRows; bool bEndsOnKey, bEndsOnClick; };
    picture("separator", imagetest::solid(40, 2, false, Color(1, 1, 1, 255)));
    const Case kCases[] = {{" \t\r\n", true, false, 3, true, false}, {"Have a rest", false, true, 4, false, true},
                           {"", false, false, 3, false, false}};
    for (const Case& c : kCases) {
        auto* p = push(new GamePausedDlg(c.szText, c.bKey, c.bClick));
        EXPECT_EQ(c.nRows, p->getTable()->getRowCount()) << c.szText;
        EXPECT_EQ("GPD_Title", textAt(*p->getTable(), 0));
        key(Key::A);
        EXPECT_EQ(c.bEndsOnKey, !onTop(p)) << c.szText;
        if (onTop(p)) click(5, 5);
        EXPECT_EQ(c.bEndsOnKey || c.bEndsOnClick, !onTop(p)) << c.szText;
        EXPECT_TRUE(p->getTable()->isVisible());  // its end does not hide the table
        if (onTop(p)) p->endMode();
        m_app.deleteEndedModes();
    }
}

// Tells when it is freed.
struct Watched : GameMode {
    explicit Watched(bool& rFreed) : rFreed(rFreed) {}
    ~Watched() override { rFreed = true; }
    bool& rFreed;
};

TEST_F(Dialogs, ExitConfirmationAnswers) {
    m_app.setConfirmQuit(true);
    // Mended: a count below 1 counts as 1.
    auto* p = push(new ExitConfirmMode(0));
    EXPECT_EQ("Really quit?", textAt(*p->getTable(), 0));
    key(Key::Space);
    EXPECT_TRUE(m_app.isQuitting());
    EXPECT_EQ(0, m_app.getExitCode());
    p->endMode();
    // With a follow-up: keypad Enter pushes it over the dialog.
    bool bFreed = false;
    p = push(new ExitConfirmMode(2));
    auto* pNext = new Watched(bFreed);
    p->setFollowUpMode(pNext);
    key(Key::KPEnter);
    EXPECT_TRUE(onTop(pNext) && m_app.isModeOnStack(p));
    pNext->endMode();
    p->endMode();
    m_app.deleteEndedModes();
    EXPECT_TRUE(bFreed);
    // "no" deletes the follow-up and clears the quit-dialog flag.
    bFreed = false;
    m_app.onQuitRequest();
    ASSERT_TRUE(m_app.isQuitDialogOpen());
    p = push(new ExitConfirmMode(1));
    p->setFollowUpMode(new Watched(bFreed));
    p->onCallback(1, nullptr);
    EXPECT_TRUE(bFreed && !m_app.isQuitDialogOpen() && !onTop(p));
    m_app.deleteEndedModes();
    // Mended: a dialog ended without an answer frees its follow-up mode.
    bFreed = false;
    p = push(new ExitConfirmMode(1));
    p->setFollowUpMode(new Watched(bFreed));
    p->endMode();
    m_app.deleteEndedModes();
    EXPECT_TRUE(bFreed);
}

}  // namespace

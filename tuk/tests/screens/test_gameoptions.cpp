// The game's options dialog: the difficulty choice and its setting, the
// credits with their composed background and checked version line, and the
// plain dialog the level opens.
#include <gtest/gtest.h>

#include "screens/frontend_util.h"
#include "screens/gameoptions.h"
#include "dialogs/ui_credits.h"

namespace {

class OptionsTest : public frontendtest::FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        m_pFiles->add("credits.txt",
                      testkit::resource("# people\n= text_design_g\n+ Ann Example\r\n\n+ Bo\n- Kept\n"));
        m_app.pushMode(new GameMode());
    }
    TUKGameOptions* open(ICallbackTarget* pTarget = nullptr, int nContinue = 0, int nExit = 0) {
        auto* p = new TUKGameOptions(pTarget, nContinue, nExit);
        m_app.pushMode(p);
        return p;
    }
    static std::string checked(const TUKGameOptions& dialog) {
        std::string s;
        for (const Zep::SmartPtr<RadioButton>& p : dialog.getDifficultyGroup())
            s += p->isChecked() ? std::to_string(p->getId()) + " " : "";
        return s;
    }
    // The credits' column as queued: texts, "picture" or "gap <height>".
    std::string column() {
        auto* pCredits = top<CreditsMode>();
        std::string s;
        for (const auto* pList : {&pCredits->getActiveItems(), &pCredits->getPendingItems()})
            for (const Zep::SmartPtr<Sprite>& p : *pList) {
                if (auto* pLabel = dynamic_cast<Label*>(p.get()))
                    s += std::string(pLabel->getText().c_str()) + "; ";
                else
                    s += p->getImage()->getWidth() == CreditsMode::kGapWidth
                             ? "gap " + std::to_string(p->getImage()->getHeight()) + "; "
                             : "picture; ";
            }
        return s;
    }
};

struct Recorder : ICallbackTarget {
    void onCallback(int nId, void*) override { sIds += std::to_string(nId) + " "; }
    std::string sIds;
};

}  // namespace

TEST_F(OptionsTest, TheStoredDifficultyChecksItsOptionAndEachOptionWritesItAtOnce) {
    const std::pair<const char*, const char*> kRows[] = {
        {nullptr, "2000 "}, {"", "2000 "}, {"1", "2001 "}, {"2", "2002 "}, {"7", ""}, {"-1", ""},
    };
    for (const auto& [szStored, szChecked] : kRows) {
        if (szStored) m_app.setSetting("Difficulty", szStored);
        EXPECT_EQ(checked(*open()), szChecked) << (szStored ? szStored : "(missing)");
        endTop();
    }
    TUKGameOptions* pDialog = open();
    for (int nId : {2002, 2000, 2001}) {
        pressOn(*pDialog->getDifficultyGroup().get(nId - 2000)->getCheck());
        EXPECT_EQ(m_app.getSetting("Difficulty").c_str(), std::to_string(nId - 2000));
        EXPECT_EQ(checked(*pDialog), std::to_string(nId) + " ");
        EXPECT_EQ(m_app.getTopMode(), pDialog);
    }
}

TEST_F(OptionsTest, TheCreditsShowTheVersionAndTheListOverABackgroundComposedOnce) {
    open();
    pressOn(button(TUKGameOptions::kCreditsId));
    ASSERT_TRUE(top<CreditsMode>());
    EXPECT_EQ(column(), "picture; Version 1.0.5; gap 20; Design; Ann Example; Bo; ");
    const Zep::SmartPtr<Image> pBack = m_app.getImage("back_credits");
    EXPECT_EQ(pBack->getSize(), Point(800, 600));
    endTop();
    pressOn(button(TUKGameOptions::kCreditsId));
    EXPECT_EQ(m_app.getImage("back_credits"), pBack);
}

// The version line only takes the three integers it is given.
TEST_F(OptionsTest, TheVersionFormatIsUsedOnlyWhenItTakesThreeIntegers) {
    const std::pair<const char*, const char*> kRows[] = {
        {"Version %d.%d.%d", "Version 1.0.5"}, {"Version %s", "Version %s"}, {"v%d.%d", "v%d.%d"},
        {"v%d.%d.%d.%d", "v%d.%d.%d.%d"},      {"%f %d %d", "%f %d %d"},
    };
    open();
    for (const auto& [szFormat, szShown] : kRows) {
        m_pFiles->add("v.txt", testkit::resource(std::string("AboutVerFmt ") + szFormat + "\n"));
        m_app.loadStringTable("v.txt");
        pressOn(button(TUKGameOptions::kCreditsId));
        const std::string sColumn = column();
        EXPECT_EQ(sColumn.substr(0, sColumn.find("; gap")), std::string("picture; ") + szShown);
        endTop();
    }
    EXPECT_NE(m_files.logText().find("Text shown as it is, no format for %d %d %d : Version %s"), std::string::npos);
}

TEST_F(OptionsTest, FromTheLevelOnlyTheStandardSectionsAndItsTwoIds) {
    Recorder level;
    TUKGameOptions* pDialog = open(&level, 2, 1);
    EXPECT_TRUE(pDialog->getDifficultyGroup().isEmpty());
    EXPECT_THROW(button(TUKGameOptions::kCreditsId), std::runtime_error);
    pressOn(button(GameOptionsDialog::kExit));
    EXPECT_EQ(level.sIds, "1 ");
    pDialog = open(&level, 2, 1);
    pressOn(button(GameOptionsDialog::kContinue));
    EXPECT_EQ(level.sIds, "1 2 ");
}

// The highscore screen: tabs pressed through the platform's events show one
// page over the sand tiles and keep the others beneath them.
#include <string>

#include <gtest/gtest.h>

#include "highscore_util.h"
#include "highscoremode.h"
#include "screens_util.h"

using namespace highscoretest;

namespace {

class HighScoreScreen : public screentest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        picture("high_back", 80, 60);
        m_pMode = new HighScoreMode();
        m_app.pushMode(m_pMode);
    }

    // Per list: "over" the tiles, "under" them, or "-" not built; then the checked tabs.
    std::string screen() {
        m_pVideo->render();
        const auto tiles = drawnRange(m_pMode->getImage("sand_frame_back").get());
        std::string s;
        for (int i = 0; i < 3; ++i) {
            const Zep::SmartPtr<Table> pPage = m_pMode->getPage(i);
            Zep::List<Zep::SmartPtr<Sprite>> lSprites;
            if (pPage.notNULL()) pPage->getSprites(lSprites, true);
            std::string sWhere = lSprites.isEmpty() ? "-" : "";
            for (const Zep::SmartPtr<Sprite>& p : lSprites) {
                const int n = drawnAt(p.get());
                const char* szHere = n > tiles.second ? "over" : n >= 0 && n < tiles.first ? "under" : "?";
                if (sWhere.empty()) sWhere = szHere;
                if (sWhere != szHere) sWhere = "mixed";
            }
            s += sWhere + " ";
        }
        for (int i = 0; i < 3; ++i) s += m_pMode->getTab(i)->isChecked() ? "x" : ".";
        return s;
    }

    // The texts of one column of a page, top to bottom (0 rank, 1 name, 2 score).
    std::string column(int nList, int nColumn) {
        auto* pColumn = dynamic_cast<Table*>(m_pMode->getPage(nList)->getContent(0, nColumn, 0).get());
        std::string s;
        for (int r = 0; r < pColumn->getRowCount(); ++r) {
            if (pColumn->getCellCount(r) == 0) continue;
            if (auto* pLabel = dynamic_cast<Label*>(pColumn->getContent(r, 0, 0).get()))
                s += std::string(pLabel->getText().c_str()) + ",";
        }
        return s;
    }

    HighScoreMode* m_pMode = nullptr;
};

}  // namespace

TEST_F(HighScoreScreen, EachTabShowsItsPageOverTheTilesAndBuildsItOnce) {
    EXPECT_EQ(screen(), "over - - x..");
    EXPECT_EQ(column(0, 1), "Name,Odile,Pella,Tamsa,Brumo,Vesko,Ombo,Luzz,Draskina,Quimby,Zigzagga,");
    EXPECT_EQ(column(0, 0), ",1,2,3,4,5,6,7,8,9,10,");
    // A page keeps the name it was given: one built again would not have it.
    m_pMode->getPage(0)->setName("built");
    bool abBuilt[3] = {true, false, false};
    const struct {
        int nTab;
        const char* szScreen;
    } kPresses[] = {{1, "under over - .x."}, {2, "under under over ..x"}, {1, "under over under .x."},
                    {1, "under over under .x."}, {0, "over under under x.."}};
    for (const auto& press : kPresses) {
        pressOn(*m_pMode->getTab(press.nTab));
        EXPECT_EQ(screen(), press.szScreen) << press.nTab;
        Table& page = *m_pMode->getPage(press.nTab);
        if (abBuilt[press.nTab]) {
            EXPECT_EQ(page.getName(), "built") << press.nTab;
        }
        page.setName("built");
        abBuilt[press.nTab] = true;
    }
    EXPECT_EQ(column(2, 2), "Score,18000,16000,14000,12000,10000,8000,6000,4000,2000,1000,");
    EXPECT_EQ(m_pMode->getPage(1)->getPosition().x, 280.0f);
}

TEST_F(HighScoreScreen, RowsAreSortedOnEntryWithEqualScoresReversed) {
    // The setting is read on entry: a fresh screen over a stored list 0.
    storeBytes(m_app, "\x05" + listBytes({{"Low", 1}, {"Old", 5}, {"New", 5}, {"A", 9}, {"B", 8}, {"C", 7},
                                          {"D", 6}, {"E", 4}, {"F", 3}, {"G", 2}}) +
                          listBytes({}) + listBytes({}));
    m_pMode->endMode();
    m_app.deleteEndedModes();
    m_pMode = new HighScoreMode();
    m_app.pushMode(m_pMode);
    EXPECT_EQ(column(0, 1), "Name,A,B,C,D,New,Old,E,F,G,Low,");
}

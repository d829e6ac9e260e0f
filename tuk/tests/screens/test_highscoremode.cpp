// The highscore screen: tabs pressed through the platform's events show one
// page over the sand tiles and keep the others beneath them.
#include <cstdlib>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "screens/democontent_util.h"
#include "records/highscore_util.h"
#include "screens/highscoremode.h"
#include "screens/screens_util.h"

using namespace highscoretest;

namespace {

class HighScoreScreen : public screentest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        picture("high_back", 80, 60);
    }
    void enter() {
        m_pMode = new HighScoreMode();
        m_app.pushMode(m_pMode);
    }

    // Per page: drawn "over" or "under" the tiles ("-": not built), then the checked tabs.
    std::string screen() {
        m_pVideo->render();
        const auto& vDrawn = m_pVideo->m_vDrawn;
        const Image* pTile = m_app.getImage("sand_frame_back").get();
        size_t nLastTile = 0;
        for (size_t n = 0; n < vDrawn.size(); ++n)
            if (vDrawn[n].second->getImage().get() == pTile) nLastTile = n;
        std::string s;
        for (int i = 0; i < 3; ++i) {
            Zep::List<Zep::SmartPtr<Sprite>> lSprites;
            if (m_pMode->getPage(i).notNULL()) m_pMode->getPage(i)->getSprites(lSprites, true);
            std::set<const Sprite*> setPage;
            for (const Zep::SmartPtr<Sprite>& p : lSprites) setPage.insert(p.get());
            std::string sWhere = setPage.empty() ? "-" : "";
            for (size_t n = 0; n < vDrawn.size(); ++n) {
                const std::string sAt = n < nLastTile ? "under" : "over";
                if (setPage.count(vDrawn[n].second) && sWhere != sAt) sWhere += sAt;
            }
            s += sWhere + " ";
        }
        for (int i = 0; i < 3; ++i) s += m_pMode->getTab(i)->isChecked() ? "x" : ".";
        return s;
    }

    // One column of a page top to bottom (0 rank, 1 name, 2 score).
    std::string column(int nList, int nColumn) {
        auto* pColumn = dynamic_cast<Table*>(m_pMode->getPage(nList)->getContent(0, nColumn, 0).get());
        std::string s;
        for (int r = 0; r < pColumn->getRowCount(); ++r)
            if (pColumn->getCellCount(r))
                s += dynamic_cast<Label&>(*pColumn->getContent(r, 0, 0)).getText().c_str() + std::string(",");
        return s;
    }

    HighScoreMode* m_pMode = nullptr;
};

}  // namespace

TEST_F(HighScoreScreen, EachTabShowsItsPageOverTheTilesAndBuildsItOnce) {
    enter();
    EXPECT_EQ(screen(), "over - - x..");
    EXPECT_EQ(column(0, 0) + column(0, 1),
              ",1,2,3,4,5,6,7,8,9,10,Name,Odile,Pella,Tamsa,Brumo,Vesko,Ombo,Luzz,Draskina,Quimby,Zigzagga,");
    // A page keeps the name it was given: one built again would not have it.
    m_pMode->getPage(0)->setName("built");
    const struct {
        int nTab;
        const char* szScreen;
    } kPresses[] = {{1, "under over - .x."}, {2, "under under over ..x"}, {1, "under over under .x."},
                    {1, "under over under .x."}, {0, "over under under x.."}};
    for (const auto& press : kPresses) {
        const bool bBuilt = m_pMode->getPage(press.nTab).notNULL();
        pressOn(*m_pMode->getTab(press.nTab));
        EXPECT_EQ(screen(), press.szScreen) << press.nTab;
        Table& page = *m_pMode->getPage(press.nTab);
        EXPECT_EQ(page.getName(), bBuilt ? "built" : "") << press.nTab;
        page.setName("built");
    }
    EXPECT_EQ(column(2, 2), "Score,18000,16000,14000,12000,10000,8000,6000,4000,2000,1000,");
}

TEST_F(HighScoreScreen, RowsAreSortedOnEntryWithEqualScoresReversed) {
    storeBytes(m_app, std::string("\x05")
                          .append(listBytes({{"Low", 1}, {"Old", 5}, {"New", 5}, {"A", 9}, {"B", 8}, {"C", 7}, {"D", 6},
                                             {"E", 4}, {"F", 3}, {"G", 2}}))
                          .append(listBytes({}))
                          .append(listBytes({})));
    enter();
    EXPECT_EQ(column(0, 1), "Name,A,B,C,D,New,Old,E,F,G,Low,");
}

namespace {

class DemoRecords : public democontent::DemoContentTest {};

// The share of the pixels opaque in both pictures whose red, green and blue
// differ by 90 or more together.
double differingShare(const Zep::SmartPtr<Image>& a, const Zep::SmartPtr<Image>& b) {
    a->lock();
    b->lock();
    int nBoth = 0, nDiffering = 0;
    for (int y = 0; y < std::min(a->getHeight(), b->getHeight()); ++y)
        for (int x = 0; x < std::min(a->getWidth(), b->getWidth()); ++x) {
            const Color p = a->readPixel(x, y), q = b->readPixel(x, y);
            if (p.getAlpha() != 255 || q.getAlpha() != 255) continue;
            ++nBoth;
            const int nDelta = std::abs(p.getRed() - q.getRed()) + std::abs(p.getGreen() - q.getGreen()) +
                               std::abs(p.getBlue() - q.getBlue());
            nDiffering += nDelta >= 90 ? 1 : 0;
        }
    b->unlock();
    a->unlock();
    return nBoth ? static_cast<double>(nDiffering) / nBoth : 0.0;
}

}  // namespace

// Whichever list shows, its tab looks unlike itself unchecked in most of
// its pixels, and unlike the other tabs' unchecked looks.
TEST_F(DemoRecords, TheTabOfTheListShownStandsOutByItsPixels) {
    auto* pMode = new HighScoreMode();
    m_app.pushMode(pMode);
    std::vector<Zep::SmartPtr<Image>> vUnchecked(3), vChecked(3);
    for (int nShown = 0; nShown < 3; ++nShown) {
        pMode->onCallback(nShown, nullptr);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(pMode->getTab(i)->isChecked(), i == nShown);
            (i == nShown ? vChecked : vUnchecked)[static_cast<size_t>(i)] = pMode->getTab(i)->getImage();
        }
    }
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(vChecked[i].notNULL() && vUnchecked[i].notNULL());
        EXPECT_GE(differingShare(vChecked[i], vUnchecked[i]), 0.5) << "tab " << i;
        for (size_t k = 0; k < 3; ++k) {
            if (k == i) continue;
            EXPECT_GE(differingShare(vChecked[i], vUnchecked[k]), 0.5) << "tab " << i << " beside " << k;
        }
    }
}

// The Back button and a margin round it lie wholly on the list's sheet of
// the screen's picture or wholly beside it: a button straddling the sheet's
// rim would cover both.
TEST_F(DemoRecords, TheBackButtonStandsClearOfTheSheetsRim) {
    auto* pMode = new HighScoreMode();
    m_app.pushMode(pMode);
    const Button* pBack = nullptr;
    for (const Zep::SmartPtr<Sprite>& pSprite : pMode->getAllSprites())
        if (auto* pButton = dynamic_cast<Button*>(pSprite.get()); pButton && pButton->getCallbackId() == -1)
            pBack = pButton;
    ASSERT_TRUE(pBack);
    constexpr int kMargin = 8;
    const Rect box = pBack->getBoundingRect();
    const Zep::SmartPtr<Image> pBackground = m_app.getImage("high_back");
    pBackground->lock();
    int nOnSheet = 0, nBeside = 0;
    for (int y = box.getTop() - kMargin; y < box.getBottom() + kMargin; ++y)
        for (int x = box.getLeft() - kMargin; x < box.getRight() + kMargin; ++x)
            ++(pBackground->readPixel(x, y).getAlpha() >= 200 ? nOnSheet : nBeside);
    pBackground->unlock();
    EXPECT_TRUE(nOnSheet == 0 || nBeside == 0)
        << democontent::describe(box) << ": " << nOnSheet << " pixels on the sheet, " << nBeside << " beside it";
}

// The upgrade store: which items are buttons over many upgrade levels, the
// layout of a new game, leaving once, the salesman's moods and texts, the
// parrot item.
#include <gtest/gtest.h>

#include "screens/buyupgrademode.h"
#include "screens/previewtest_util.h"
#include "screens/storemode.h"
#include "dialogs/ui_stddialogs.h"

namespace {

class Store : public previewtest::PreviewTest {
protected:
    void SetUp() override {
        PreviewTest::SetUp();
        std::string sTheme = screentest::theme() + "buttonstyle PaperButton\n";
        for (const char* szState : {"normal", "pushed", "highlight", "disabled"})
            sTheme += std::string("buttonimage ") + szState + " btn\n";
        m_pFiles->add("store.theme", testkit::resource(sTheme));
        Zep::SmartPtr<Theme> pTheme = new Theme();
        pTheme->load("store.theme");
        m_app.setTheme(pTheme);
        previewtest::addStoreContent(m_app, *m_pFiles, *m_pAudio);
    }
    StoreMode& open(const char* szLevels, int nMoney) {
        previewtest::setLevels(m_player, szLevels);
        m_player.setMoney(nMoney);
        m_pStore = new StoreMode(&m_player, "bar");
        m_app.pushMode(m_pStore);
        return *m_pStore;
    }
    // "<purchase id>@<x>,<y>:<layer>" per button, then the plain sprites' layers.
    std::string items() const {
        std::string s;
        for (const Zep::SmartPtr<CustomButton>& pButton : m_pStore->getItemButtons())
            s += std::to_string(pButton->getCallbackId()) + "@" + std::to_string(pButton->getX()) + "," +
                 std::to_string(pButton->getY()) + ":" + std::to_string(pButton->getZOrder()) + " ";
        s += "| plain";
        for (const Zep::SmartPtr<Sprite>& pSprite : m_pStore->getItemSprites())
            s.append(" ").append(std::to_string(pSprite->getZOrder()));
        return s;
    }
    // The coin's width and the sum's after it, centred together on x 542.
    std::string moneyLine() const {
        const Sprite& coin = *m_pStore->getCoin();
        const Label& label = *m_pStore->getMoneyLabel();
        const int nLeft = coin.getX(), nRight = label.getX() + label.getWidth();
        if (label.getX() != nLeft + coin.getWidth() + 1 || (nLeft + nRight) / 2 != 542 || coin.getZOrder() != 2)
            return "misplaced";
        return "coin " + std::to_string(coin.getWidth()) + " | label " + std::to_string(label.getWidth());
    }
    std::string salesman() const { return m_pStore->getSalesman()->getSequenceName().c_str(); }
    std::string text() const { return m_pStore->getTextLabel()->getText().c_str(); }

    TUKPlayer m_player;
    StoreMode* m_pStore = nullptr;
};

}  // namespace

TEST(StoreItems, AnItemIsAButtonBelowItsLastLevelWhileItsConditionHolds) {
    const struct {
        const char* szLevels;
        const char* szShown;  // items 0 to 8
        const char* szButtons;
    } kRows[] = {
        {"0000000000000", "000000000", "01234-6--"},
        {"0010000000000", "000001000", "0123456--"},  // a table with a chair: centre pieces
        {"0010000000200", "000000000", "01234-6--"},  // its centre piece at its last level
        {"0010100000210", "000002000", "0123456--"},
        {"0010100000220", "000003000", "01234-6--"},
        {"0000001000000", "000000010", "01234-67-"},  // one machine: item 2 while the other is missing
        {"0000003100000", "001000031", "01-34-6-8"},
        {"2111113311224", "213113433", "---------"},
        {"9000000090000", "900900000", "-12-4-6--"},
    };
    for (const auto& row : kRows) {
        const SceneTags::Levels levels = previewtest::levels(row.szLevels);
        std::string sShown, sButtons;
        for (int i = 0; i < StoreItems::kCount; ++i) {
            sShown += std::to_string(StoreItems::levelShown(i, levels));
            sButtons += StoreItems::isBuyable(i, levels) ? std::to_string(i) : "-";
        }
        EXPECT_EQ(sShown, row.szShown) << row.szLevels;
        EXPECT_EQ(sButtons, row.szButtons) << row.szLevels;
    }
}

TEST_F(Store, ANewGameOffersTheTrayChairsMachineParrotDispenserAndShows) {
    StoreMode& store = open("0000000000000", 250);
    EXPECT_EQ(items(), "0@432,437:1 13@141,299:1 15@440,262:1 9@122,424:41 12@574,210:1 | plain 41 41 1");
    ASSERT_TRUE(store.getParrotItem().notNULL());
    EXPECT_EQ(store.getParrotItem()->getPosition(), Point(743.0f, 360.0f));
    EXPECT_EQ(store.getMoneyLabel()->getText(), "250");
    EXPECT_EQ(moneyLine(), "coin 70 | label " + std::to_string(store.getMoneyLabel()->getWidth()));
    EXPECT_EQ(text(), "Welcome");
    EXPECT_EQ(salesman(), "blink");
}

TEST_F(Store, BackTwiceOrBackAfterTheTimerStartsTheFadeOnce) {
    StoreMode& store = open("0000000000000", 0);
    const int nModes = m_app.getModeCount();
    store.onCallback(StoreMode::kBackId, nullptr);
    store.onUpdate(0.25f);
    EXPECT_FLOAT_EQ(store.getBalloon()->getAlpha(), 0.5f);
    store.onCallback(3, nullptr);  // items wait while the store is leaving
    EXPECT_EQ(m_app.getModeCount(), nModes);
    store.onCallback(StoreMode::kBackId, nullptr);
    EXPECT_EQ(m_app.getModeCount(), nModes + 1);
    for (int i = 0; i < 8; ++i) store.onUpdate(0.25f);
    store.onCallback(StoreMode::kBackId, nullptr);
    store.onCallback(0, nullptr);
    EXPECT_EQ(m_app.getModeCount(), nModes + 1);
    EXPECT_TRUE(store.isLeaving());
}

TEST_F(Store, OneBackFadesOutOneSecondLater) {
    StoreMode& store = open("0000000000000", 0);
    const int nModes = m_app.getModeCount();
    store.onCallback(StoreMode::kBackId, nullptr);
    for (int i = 0; i < 3; ++i) store.onUpdate(0.25f);
    EXPECT_EQ(m_app.getModeCount(), nModes);
    store.onUpdate(0.25f);
    EXPECT_EQ(m_app.getModeCount(), nModes + 1);
}

TEST_F(Store, APurchaseSmilesAndLaysTheItemsOutAgainTheDefaultTextWaitsForTheMood) {
    StoreMode& store = open("0000000000000", 250);
    store.onCallback(0, nullptr);
    EXPECT_EQ(salesman(), "sad");
    BuyUpgradeMode* pDialog = dynamic_cast<BuyUpgradeMode*>(m_app.getTopMode());
    ASSERT_NE(pDialog, nullptr);
    pDialog->onCallback(BuyUpgradeMode::kBuyId, nullptr);
    dynamic_cast<DlgMessage*>(m_app.getTopMode())->onOk();
    ASSERT_EQ(m_app.getTopMode(), &store);
    EXPECT_EQ(text(), "Good");
    EXPECT_EQ(salesman(), "smile");
    EXPECT_EQ(m_pAudio->m_vSamples.back().sName, "sfx_store_clink");
    EXPECT_EQ(store.getMoneyLabel()->getText(), "170");
    EXPECT_EQ(moneyLine(), "coin 70 | label " + std::to_string(store.getMoneyLabel()->getWidth()));
    EXPECT_EQ(items(), "0@432,437:1 13@141,299:1 15@440,262:1 9@122,424:41 12@574,210:1 | plain 41 41 1");
    EXPECT_EQ(m_player.getUpgradeLevel(0), 1);
    store.onMouseMove(1, 1);
    EXPECT_EQ(text(), "Good");
    store.onUpdate(0.6f);  // a long frame leaves the mood as it is
    EXPECT_FLOAT_EQ(store.getMoodTimer(), 1.0f);
    for (int i = 0; i < 3; ++i) store.onUpdate(0.4f);
    EXPECT_EQ(store.getMoodTimer(), 0.0f);
    EXPECT_EQ(salesman(), "blink");
    store.onMouseMove(1, 1);
    EXPECT_EQ(text(), "Welcome");
    store.onCallback(12, nullptr);
    dynamic_cast<BuyUpgradeMode*>(m_app.getTopMode())->onCallback(BuyUpgradeMode::kCloseId, nullptr);
    EXPECT_EQ(text(), "Bad");
}

TEST_F(Store, TheParrotHighlightsKeepingItsFrameAndAReleaseOnItOpensItsPurchase) {
    StoreMode& store = open("0000000000000", 0);
    Zep::SmartPtr<AnimSprite> pParrot = store.getParrotItem();
    pParrot->setFrame(1, 0.1f);
    const Rect r = pParrot->getBoundingRect();
    store.onMouseMove(r.getLeft() + 1, r.getTop() + 1);
    EXPECT_EQ(pParrot->getSequenceName(), "highlight");
    EXPECT_EQ(pParrot->getFrame(), 1);
    EXPECT_FLOAT_EQ(pParrot->getTimeLeft(), 0.1f);
    EXPECT_EQ(salesman(), "talk");
    EXPECT_EQ(text(), "Parrot");
    EXPECT_EQ(m_pAudio->m_vSamples.back().sName, "sfx_mouseover");
    store.onMouseMove(r.getRight() + 5, r.getTop());
    EXPECT_EQ(pParrot->getSequenceName(), "normal");
    store.onMouseUp(1, r.getLeft() + 1, r.getTop() + 1);
    BuyUpgradeMode* pDialog = dynamic_cast<BuyUpgradeMode*>(m_app.getTopMode());
    ASSERT_NE(pDialog, nullptr);
    EXPECT_EQ(pDialog->getKind(), 8);
}

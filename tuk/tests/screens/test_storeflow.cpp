// The campaign map's store over the build's demo content, driven by the
// mouse as a player drives it: a won level, the store, the tray bought, the
// map again, and the record as the settings file then holds it.
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "screens/buyupgrademode.h"
#include "screens/democontent_files.h"
#include "screens/frontend_util.h"
#include "level/playmode.h"
#include "driver/startup.h"
#include "screens/purchaseoptions.h"
#include "screens/storeitems.h"
#include "screens/storemode.h"
#include "screens/storymanager.h"
#include "dialogs/ui_dialog.h"

namespace {

class DemoStore : public frontendtest::FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        try {
            democontent::loadDemoContent(m_app, *m_pAudio);
        } catch (const Zep::Exception& e) {
            FAIL() << e.getMessage();
        }
    }
    void TearDown() override {
        FrontEndTest::TearDown();
        unregisterTrueTypeFonts();
    }
    // Frames of 50 ms until the top mode is a T, at most 5 s.
    template <class T>
    T* waitFor() {
        for (int i = 0; i < 100 && !top<T>(); ++i) m_app.updateModes(0.05f);
        return top<T>();
    }
    // The store after the first day of a campaign, won, with that much money.
    StoreMode* storeAfterTheFirstDay(int nMoney) {
        TUKPlayer* p = player("Ann");
        p->setMoney(nMoney);
        p->setAdventureInProgress(true);
        p->setAdventureProgress(0);
        auto* pMap = new StoryManagerMode(1, p->getStoryValue(), p, 0);
        m_app.pushMode(pMap);
        settle();
        pressOn(*pMap->getPlayButton());
        PlayMode* pLevel = waitFor<PlayMode>();
        if (!pLevel) return nullptr;
        *pLevel->getDayResult() = {true, 300, 4, 280, 3, true};
        pLevel->endMode();
        return waitFor<StoreMode>();
    }
    // The button standing at the item's place; null when the item is no button.
    CustomButton* buttonOfItem(StoreMode& store, int nItem) {
        const StoreItems::Item& item = StoreItems::get(nItem);
        for (const Zep::SmartPtr<CustomButton>& pButton : store.getItemButtons())
            if (pButton->getPosition() == Point(static_cast<float>(item.x), static_cast<float>(item.y)))
                return pButton.get();
        return nullptr;
    }
    CustomButton* itemButton(StoreMode& store, int nPurchaseId) {
        for (const Zep::SmartPtr<CustomButton>& pButton : store.getItemButtons())
            if (pButton->getCallbackId() == nPurchaseId) return pButton.get();
        return nullptr;
    }
};

TEST_F(DemoStore, AfterAWonLevelTheMapsStoreSellsTheTrayAndTheMapSavesThePurchase) {
    TUKPlayer* p = player("Ann");
    p->setMoney(500);
    p->setAdventureInProgress(true);
    p->setAdventureProgress(3);
    auto* pMap = new StoryManagerMode(1, p->getStoryValue(), p, 0);
    m_app.pushMode(pMap);
    settle();
    pressOn(*pMap->getPlayButton());
    PlayMode* pLevel = waitFor<PlayMode>();
    ASSERT_TRUE(pLevel);
    *pLevel->getDayResult() = {true, 300, 4, 280, 3, true};
    pLevel->endMode();

    StoreMode* pStore = waitFor<StoreMode>();
    ASSERT_TRUE(pStore);
    EXPECT_STREQ(pStore->getSceneName().c_str(), "scene0");
    EXPECT_STREQ(pStore->getMoneyLabel()->getText().c_str(), "800");
    pressOn(*pStore->getItemButtons().get(0));  // the tray, item 0
    auto* pDialog = waitFor<BuyUpgradeMode>();
    ASSERT_TRUE(pDialog);
    EXPECT_EQ(pDialog->getKind(), 0);
    EXPECT_STREQ(pDialog->getPriceLabel()->getText().c_str(), "Price: 80");
    pressOn(*pDialog->getBuyButton());
    ASSERT_TRUE(top<DlgMessage>());
    pressOn(button(CommonDialog::kOk));  // the purchase's message
    ASSERT_EQ(waitFor<StoreMode>(), pStore);
    EXPECT_STREQ(pStore->getMoneyLabel()->getText().c_str(), "720");
    pressOn(button(StoreMode::kBackId));

    ASSERT_EQ(waitFor<StoryManagerMode>(), pMap);
    EXPECT_STREQ(pMap->getMoneyLabel()->getText().c_str(), "Money: 720");
    EXPECT_EQ(readBack("Ann"),
              "money 720 up 10 flag 1 stage 0 diff 1 story 0 progress 4 work 300,4,0+1 done 300,4+1 best 300");
}

}  // namespace

namespace {

TEST_F(DemoStore, EveryItemAnswersThePointerOverItsWholePictureTheChairsBetweenTheirLegsToo) {
    StoreMode* pStore = storeAfterTheFirstDay(49700);
    ASSERT_TRUE(pStore);
    ASSERT_EQ(pStore->getItemButtons().getCount(), 5);
    for (const Zep::SmartPtr<CustomButton>& pButton : pStore->getItemButtons()) {
        const Rect r = pButton->getBoundingRect();
        const int xs[] = {r.getLeft(), (r.getLeft() + r.getRight()) / 2, r.getRight() - 1};
        const int ys[] = {r.getTop(), (r.getTop() + r.getBottom()) / 2, r.getBottom() - 1};
        for (int x : xs)
            for (int y : ys)
                EXPECT_EQ(pStore->findControlAt(x, y).get(), pButton.get())
                    << "item " << pButton->getCallbackId() << " at " << x << "," << y;
    }
}

TEST_F(DemoStore, PointingBetweenTheChairsLegsTalksAboutThemAndAClickOpensTheirPurchase) {
    StoreMode* pStore = storeAfterTheFirstDay(49700);
    ASSERT_TRUE(pStore);
    EXPECT_STREQ(pStore->getMoneyLabel()->getText().c_str(), "50000");
    CustomButton* pChairs = itemButton(*pStore, 13);
    ASSERT_TRUE(pChairs);
    EXPECT_EQ(pChairs->getPosition(), Point(141.0f, 299.0f));
    // Between the legs of the left stool, and between the two stools.
    for (const Point& p : {Point(120.0f, 311.0f), Point(141.0f, 299.0f)}) {
        events({testkit::FakeEvent::mouseMove(1, 1)});
        events({testkit::FakeEvent::mouseMove(static_cast<int>(p.x), static_cast<int>(p.y))});
        EXPECT_EQ(pChairs->getState(), Button::kHighlight) << p.x << "," << p.y;
        EXPECT_STREQ(pStore->getTextLabel()->getText().c_str(), m_app.getText("UPG_TEXT_1")) << p.x << "," << p.y;
        EXPECT_STREQ(pStore->getSalesman()->getSequenceName().c_str(), "talk");
    }
    pressOn(*pChairs);
    auto* pDialog = waitFor<BuyUpgradeMode>();
    ASSERT_TRUE(pDialog);
    EXPECT_EQ(pDialog->getKind(), 2);  // the chairs open on the first chair
    EXPECT_EQ(pDialog->getVariantChoices().getCount(), 4);
}

}  // namespace

namespace {

// The name plate's rows (the picture's bottom 16) as bytes.
std::string plateOf(const Zep::SmartPtr<Image>& pPicture) {
    std::string s;
    pPicture->lock();
    for (int y = pPicture->getHeight() - 16; y < pPicture->getHeight(); ++y)
        for (int x = 0; x < pPicture->getWidth(); ++x) s += std::to_string(pPicture->readPixel(x, y).getPackedValue());
    pPicture->unlock();
    return s;
}

// Items 2, 7 and 8 share one purchase: at every pair of the two machines'
// levels, each of them pointed at says in one line which machine it is for,
// and clicked opens the dialog on the machine it sells (7 the first, 8 the
// second, 2 the one not yet bought), with that machine's price; and the
// name plates of 7 and 8 differ at every level.
TEST_F(DemoStore, EachJuiceMachineItemOpensTheMachineItSellsAndSaysWhichMachine) {
    const char* const kSays[] = {"A juice machine makes fresh drinks.",
                                 "First machine: a barman, then his second glass.",
                                 "Second machine: a barman, then his second glass."};
    TUKPlayer* p = player("Ann");
    p->setMoney(5000);
    int nClicked = 0;
    for (int n6 = 0; n6 < 4; ++n6)
        for (int n7 = 0; n7 < 4; ++n7) {
            p->setUpgradeLevel(6, n6);
            p->setUpgradeLevel(7, n7);
            auto* pStore = new StoreMode(p, "scene0");
            m_app.pushMode(pStore);
            const struct {
                int nItem, nKind;
                const char* szSays;
            } kItems[] = {{2, n6 == 0 ? 6 : 7, kSays[0]}, {7, 6, kSays[1]}, {8, 7, kSays[2]}};
            for (const auto& item : kItems) {
                const std::string sCase = "item " + std::to_string(item.nItem) + " at " + std::to_string(n6) +
                                          std::to_string(n7);
                CustomButton* pButton = buttonOfItem(*pStore, item.nItem);
                if (!pButton) continue;
                const Rect r = pButton->getBoundingRect();
                const int x = (r.getLeft() + r.getRight()) / 2, y = (r.getTop() + r.getBottom()) / 2;
                events({testkit::FakeEvent::mouseMove(x, y)});
                const Label& said = *pStore->getTextLabel();
                EXPECT_STREQ(said.getText().c_str(), item.szSays) << sCase;
                EXPECT_LE(said.getFont()->getTextWidth(item.szSays), said.getWrapWidth()) << sCase << ": one line";
                pressOn(*pButton);
                auto* pDialog = waitFor<BuyUpgradeMode>();
                ASSERT_TRUE(pDialog) << sCase;
                int nChecked = -1;
                for (const Zep::SmartPtr<RadioButton>& pChoice : pDialog->getVariantChoices())
                    if (pChoice->isChecked()) nChecked = PurchaseOptions::kindOfVariant(pChoice->getId());
                EXPECT_EQ(nChecked, item.nKind) << sCase;
                EXPECT_EQ(pDialog->getKind(), item.nKind) << sCase;
                const int nPrice = UpgradeManager::getUpgradePrice(item.nKind, item.nKind == 6 ? n6 : n7);
                EXPECT_EQ(std::string(pDialog->getPriceLabel()->getText().c_str()), "Price: " + std::to_string(nPrice))
                    << sCase;
                pDialog->onCallback(BuyUpgradeMode::kCloseId, nullptr);
                ASSERT_EQ(waitFor<StoreMode>(), pStore) << sCase;
                ++nClicked;
            }
            endTop();
        }
    EXPECT_EQ(nClicked, 7 + 8 + 8);  // item 2 while a machine is missing, 7 and 8 at levels 1 and 2
    const UpgradeManager catalogue;
    for (int nLevel = 0; nLevel < UpgradeManager::getItemLimit(7); ++nLevel)
        EXPECT_NE(plateOf(catalogue.getItemImage(7, nLevel)), plateOf(catalogue.getItemImage(8, nLevel))) << nLevel;
}

}  // namespace

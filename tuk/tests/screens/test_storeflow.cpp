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

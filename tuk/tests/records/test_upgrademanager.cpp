// The upgrade catalogue: effect values, prices and the store pictures.
#include <string>

#include <gtest/gtest.h>

#include "anim/animsprite.h"
#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "sprite/spritetest_util.h"
#include "records/upgrademanager.h"

namespace {

// Values for levels -1 to the kind's count, inclusive.
std::string valuesOf(int nKind, int (*fn)(int, int)) {
    std::string s;
    for (int nLevel = -1; nLevel <= UpgradeManager::getLevelCount(nKind); ++nLevel)
        s.append(s.empty() ? "" : " ").append(std::to_string(fn(nKind, nLevel)));
    return s;
}

// Pictures for levels -1 to the item's limit, inclusive.
std::string picturesOf(int nItem) {
    std::string s;
    for (int nLevel = -1; nLevel <= UpgradeManager::getItemLimit(nItem); ++nLevel) {
        const UpgradeManager::ItemPicture p = UpgradeManager::getItemPicture(nItem, nLevel);
        const char* szLook[] = {"-", "", "sold out ", "n/a "};
        s += std::string(s.empty() ? "" : ", ") + szLook[p.eLook] + (p.szName ? p.szName : "");
    }
    return s;
}

class StorePictures : public spritetest::AppWithScreen<> {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        m_app.initCaches();
    }
};

}  // namespace

TEST(UpgradeCatalogue, EffectValuesAndPricesOfEveryKindAndLevel) {
    const struct {
        int nKind;
        const char* szEffects;
        const char* szPrices;
    } kRows[] = {
        {-1, "-1 -1", "-1 -1"},
        {0, "-1 2 4 6 -1", "-1 80 160 -1 -1"},
        {1, "-1 0 1 -1", "-1 0 -1 -1"},
        {2, "-1 0 1 -1", "-1 20 -1 -1"},
        {3, "-1 0 1 -1", "-1 20 -1 -1"},
        {4, "-1 0 1 -1", "-1 20 -1 -1"},
        {5, "-1 0 1 -1", "-1 20 -1 -1"},
        {6, "-1 0 1 2 3 -1", "-1 375 190 100 -1 -1"},
        {7, "-1 0 1 2 3 -1", "-1 375 190 100 -1 -1"},
        {8, "-1 0 1 -1", "-1 500 -1 -1"},
        {9, "-1 0 1 -1", "-1 70 -1 -1"},
        {10, "-1 0 1 2 -1", "-1 90 100 -1 -1"},
        {11, "-1 0 1 2 -1", "-1 90 100 -1 -1"},
        {12, "-1 0 12 20 23 26 -1", "-1 90 115 120 180 -1 -1"},
        {13, "-1 -1", "-1 -1"},
    };
    for (const auto& row : kRows) {
        EXPECT_EQ(valuesOf(row.nKind, UpgradeManager::effectValue), row.szEffects) << row.nKind;
        EXPECT_EQ(valuesOf(row.nKind, UpgradeManager::getUpgradePrice), row.szPrices) << row.nKind;
    }
    EXPECT_EQ(UpgradeManager::getUpgradePrice(12, 2147483647), -1);
}

TEST(UpgradeCatalogue, StorePictureOfEveryItemAndLevel) {
    const char* kRows[] = {
        "-, store_bandeja1, store_bandeja2, sold out store_bandeja2, -",
        "-, store_sillas, sold out store_sillas, -",
        ("-, store_jugomatic, sold out store_jugomatic, sold out store_jugomatic, sold out store_jugomatic, "
         "sold out store_jugomatic, -"),
        "-, -, sold out store_parrot, -",
        "-, store_decos, sold out store_decos, -",
        "-, n/a store_centros1, store_centros1, store_centros2, sold out store_centros2, -",
        "-, store_cartel1, store_cartel2, store_cartel3, store_cartel4, sold out store_cartel4, -",
        "-, n/a store_barman1, store_barman1, store_barman2, sold out store_barman2, -",
        "-, n/a store_secondbarman1, store_secondbarman1, store_secondbarman2, sold out store_secondbarman2, -",
    };
    for (int nItem = 0; nItem < 9; ++nItem) EXPECT_EQ(picturesOf(nItem), kRows[nItem]) << nItem;
    EXPECT_EQ(picturesOf(9), "-, -");
}

TEST_F(StorePictures, SoldOutIsADarkenedCopyWithTheStampAtItsCentre) {
    const Color kPicture(200, 101, 50, 255), kStamp(10, 20, 30, 255);
    Zep::SmartPtr<Image> pNormal = imagetest::solid(40, 20, true, kPicture).get();
    m_app.addImage("store_bandeja2_normal", pNormal, false);
    m_app.addImage("store_bandeja2_highlight", imagetest::solid(40, 20, true, Color(0, 255, 2, 255)).get(), false);
    Zep::SmartPtr<MemImage> pStamp = imagetest::solid(4, 2, true, kStamp);
    pStamp->setInsPoint(3, 1);
    m_app.addImage("store_soldout", pStamp.get(), false);
    m_app.addImage("store_notavail", imagetest::solid(2, 2, true, Color(1, 2, 3, 255)).get(), false);
    UpgradeManager manager;

    EXPECT_EQ(manager.getItemImage(0, 1), pNormal);
    Zep::SmartPtr<Image> pSold = manager.getItemImage(0, 2);
    ASSERT_TRUE(pSold.notNULL() && pSold != pNormal);
    EXPECT_EQ(imagetest::layout(*pSold), "40x20 ins 0,0 data 0,0 40x20");
    // The stamp covers (18, 9) to (21, 10); everything else is halved.
    EXPECT_EQ(imagetest::dataPixel(*pSold, 0, 0), Color(100, 50, 25, 255));
    EXPECT_EQ(imagetest::dataPixel(*pSold, 17, 10), Color(100, 50, 25, 255));
    EXPECT_EQ(imagetest::dataPixel(*pSold, 18, 9), kStamp);
    EXPECT_EQ(imagetest::dataPixel(*pSold, 21, 10), kStamp);
    EXPECT_EQ(imagetest::dataPixel(*pSold, 22, 10), Color(100, 50, 25, 255));
    EXPECT_EQ(imagetest::dataPixel(*pNormal, 20, 10), kPicture);  // the cached picture stays as it was
    EXPECT_EQ(imagetest::dataPixel(*manager.getItemHighlightImage(0, 2), 0, 0), Color(0, 127, 1, 255));
    EXPECT_TRUE(manager.getItemImage(3, 0).isNULL() && manager.getItemImage(0, 3).isNULL());
}

TEST_F(StorePictures, ParrotItemIsAnAnimationOnlyBeforeItIsBought) {
    auto pProvider = testkit::memoryProvider({{"store_parrot.anim", "seq default\nload bird\nadd bird\n"}});
    m_app.addResourceProvider(std::move(pProvider), false);
    m_app.addImage("bird", imagetest::solid(3, 3, true, Color(9, 9, 9, 255)).get(), false);
    UpgradeManager manager;
    Zep::SmartPtr<AnimSprite> pParrot = manager.createItemSprite(3, 0);
    ASSERT_TRUE(pParrot.notNULL());
    EXPECT_EQ(pParrot->getZOrder(), 10);
    EXPECT_TRUE(manager.createItemSprite(3, 1).isNULL() && manager.createItemSprite(0, 0).isNULL());
}

// The upgrade catalogue's tables and the store pictures (upgrademanager.h).
#include "records/upgrademanager.h"

#include <zep2/error.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\upgrademanager";

constexpr int kLevelCounts[UpgradeManager::kKinds] = {3, 2, 2, 2, 2, 2, 4, 4, 2, 2, 3, 3, 5};
constexpr int kTrayCapacity[] = {2, 4, 6};
constexpr int kShowPatience[] = {0, 12, 20, 23, 26};

// Price of each level from level 1 on, per kind.
constexpr int kPrices[UpgradeManager::kKinds][4] = {
    {80, 160}, {0}, {20}, {20}, {20}, {20}, {375, 190, 100}, {375, 190, 100},
    {500}, {70}, {90, 100}, {90, 100}, {90, 115, 120, 180}};

constexpr int kShadeOfUnavailable = 128;

using Picture = UpgradeManager::ItemPicture;
constexpr Picture normal(const char* szName) { return {UpgradeManager::kNormal, szName}; }
constexpr Picture soldOut(const char* szName) { return {UpgradeManager::kSoldOut, szName}; }
constexpr Picture notAvailable(const char* szName) { return {UpgradeManager::kNotAvailable, szName}; }
constexpr Picture kNone = {UpgradeManager::kNoPicture, nullptr};

constexpr Picture kTray[] = {normal("store_bandeja1"), normal("store_bandeja2"), soldOut("store_bandeja2")};
constexpr Picture kChairs[] = {normal("store_sillas"), soldOut("store_sillas")};
constexpr Picture kFirstJuicer[] = {normal("store_jugomatic"), soldOut("store_jugomatic"),
                                    soldOut("store_jugomatic"), soldOut("store_jugomatic"),
                                    soldOut("store_jugomatic")};
constexpr Picture kParrot[] = {kNone, soldOut("store_parrot")};
constexpr Picture kDispenser[] = {normal("store_decos"), soldOut("store_decos")};
constexpr Picture kCenterpieces[] = {notAvailable("store_centros1"), normal("store_centros1"),
                                     normal("store_centros2"), soldOut("store_centros2")};
constexpr Picture kShows[] = {normal("store_cartel1"), normal("store_cartel2"), normal("store_cartel3"),
                              normal("store_cartel4"), soldOut("store_cartel4")};
constexpr Picture kFirstJuicers[] = {notAvailable("store_barman1"), normal("store_barman1"),
                                     normal("store_barman2"), soldOut("store_barman2")};
constexpr Picture kSecondJuicers[] = {notAvailable("store_secondbarman1"), normal("store_secondbarman1"),
                                      normal("store_secondbarman2"), soldOut("store_secondbarman2")};

struct ItemRow {
    const Picture* pLevels;
    int nLimit;
};

template <size_t N>
constexpr ItemRow row(const Picture (&aLevels)[N]) {
    return {aLevels, static_cast<int>(N)};
}

// Items 7 and 8, the two juice machines, each with pictures of its own that
// name its machine.
constexpr ItemRow kItemRows[UpgradeManager::kItems] = {
    row(kTray), row(kChairs), row(kFirstJuicer), row(kParrot), row(kDispenser),
    row(kCenterpieces), row(kShows), row(kFirstJuicers), row(kSecondJuicers)};

bool isLevelOf(int nKind, int nLevel) {
    return nKind >= 0 && nKind < UpgradeManager::kKinds && nLevel >= 0 && nLevel < kLevelCounts[nKind];
}

// A darkened copy of the picture with the stamp centred on it.
Zep::SmartPtr<Image> stamped(GameApp& app, const Zep::String& sName, const char* szStamp) {
    Zep::SmartPtr<Image> pCopy = app.getImage(sName.c_str())->clone(true);
    pCopy->multiplyColor(Color(kShadeOfUnavailable, kShadeOfUnavailable, kShadeOfUnavailable, 255));
    Zep::SmartPtr<Image> pStamp = app.getImage(szStamp);
    const int x = (pCopy->getWidth() - pStamp->getWidth()) / 2 + pStamp->getInsPointX();
    const int y = (pCopy->getHeight() - pStamp->getHeight()) / 2 + pStamp->getInsPointY();
    pCopy->blitFrom(*pStamp, x, y);
    return pCopy;
}

}  // namespace

int UpgradeManager::getLevelCount(int nKind) { return nKind >= 0 && nKind < kKinds ? kLevelCounts[nKind] : 0; }

int UpgradeManager::effectValue(int nKind, int nLevel) {
    if (!isLevelOf(nKind, nLevel)) return -1;
    if (nKind == 0) return kTrayCapacity[nLevel];
    if (nKind == 12) return kShowPatience[nLevel];
    return nLevel;
}

int UpgradeManager::getUpgradePrice(int nKind, int nCurrentLevel) {
    if (!isLevelOf(nKind, nCurrentLevel) || nCurrentLevel == kLevelCounts[nKind] - 1) return -1;
    return kPrices[nKind][nCurrentLevel];
}

int UpgradeManager::getItemLimit(int nItem) { return nItem >= 0 && nItem < kItems ? kItemRows[nItem].nLimit : 0; }

UpgradeManager::ItemPicture UpgradeManager::getItemPicture(int nItem, int nLevel) {
    if (nLevel < 0 || nLevel >= getItemLimit(nItem)) return kNone;
    return kItemRows[nItem].pLevels[nLevel];
}

Zep::SmartPtr<Image> UpgradeManager::pictureOf(const ItemPicture& picture, const char* szSuffix) {
    ZEP_TRACE("UpgradeManager::pictureOf");
    if (picture.eLook == kNoPicture) return Zep::SmartPtr<Image>();
    GameApp* pApp = GameApp::getInstance();
    ZEP_ASSERT(pApp);
    const Zep::String sName = Zep::String(picture.szName) + szSuffix;
    if (picture.eLook == kNormal) return pApp->getImage(sName.c_str());
    return stamped(*pApp, sName, picture.eLook == kSoldOut ? "store_soldout" : "store_notavail");
}

Zep::SmartPtr<Image> UpgradeManager::getItemImage(int nItem, int nLevel) const {
    return pictureOf(getItemPicture(nItem, nLevel), "_normal");
}

Zep::SmartPtr<Image> UpgradeManager::getItemHighlightImage(int nItem, int nLevel) const {
    return pictureOf(getItemPicture(nItem, nLevel), "_highlight");
}

Zep::SmartPtr<AnimSprite> UpgradeManager::createItemSprite(int nItem, int nLevel) const {
    if (nItem != 3 || nLevel != 0) return Zep::SmartPtr<AnimSprite>();
    GameApp* pApp = GameApp::getInstance();
    ZEP_ASSERT(pApp);
    return Zep::SmartPtr<AnimSprite>(new AnimSprite(pApp->getAnimation("store_parrot.anim"), 0, 0, 10));
}

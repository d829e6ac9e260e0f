// The purchase dialog's variant choices (purchaseoptions.h).
#include "screens/purchaseoptions.h"

#include "records/upgrademanager.h"

namespace {

constexpr int kVariantKinds[] = {2, 3, 4, 5, 10, 11, 6, 7};
const char* const kJuicerLevelWords[] = {"0", "2", "3"};

void addOption(Zep::List<PurchaseOptions::Option>& lOptions, int nVariantId, const Zep::String& sKey) {
    lOptions.add({nVariantId, PurchaseOptions::kindOfVariant(nVariantId), sKey});
}

}  // namespace

namespace PurchaseOptions {

int kindOfVariant(int nVariantId) {
    if (nVariantId < kFirstVariantId || nVariantId > kLastVariantId) return -1;
    return kVariantKinds[nVariantId - kFirstVariantId];
}

Zep::List<Option> offered(int nPurchaseId, const SceneTags::Levels& levels) {
    Zep::List<Option> lOptions;
    if (nPurchaseId == 13) {
        for (int j = 0; j < 4; ++j)
            if (UpgradeManager::getUpgradePrice(2 + j, levels[static_cast<size_t>(2 + j)]) >= 0)
                addOption(lOptions, 3 + j, Zep::String::format("UPG_Radio_Chair%d", j));
    } else if (nPurchaseId == 14) {
        const bool abTables[] = {levels[2] == 1 || levels[3] == 1, levels[4] == 1 || levels[5] == 1};
        for (int j = 0; j < 2; ++j) {
            const int nLevel = levels[static_cast<size_t>(10 + j)];
            if (abTables[j] && (nLevel == 0 || nLevel == 1))
                addOption(lOptions, 7 + j, Zep::String::format("UPC_Radio_Center_%d_%d", j, nLevel));
        }
    } else if (nPurchaseId == 15) {
        for (int j = 0; j < 2; ++j) {
            const int nLevel = levels[static_cast<size_t>(6 + j)];
            if (nLevel >= 0 && nLevel <= 2)
                addOption(lOptions, 9 + j,
                          Zep::String::format("UPC_Radio_Juicer_%d_%s", j, kJuicerLevelWords[nLevel]));
        }
    }
    return lOptions;
}

}  // namespace PurchaseOptions

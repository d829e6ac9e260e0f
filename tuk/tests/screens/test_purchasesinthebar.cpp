// Every purchase of the store that the bar shows, over the packed demo
// archives: for each upgrade kind the bar shows (the chairs 2 to 5, the juice
// machines 6 and 7, the parrot 8, the prop dispenser 9, the centrepieces 10
// and 11, the shows 12) and each of its levels, from nothing bought and from
// random upgrade sets, the level read at that level shows at least one
// sprite, figure or glass spot more than at the level below, and keeps what
// it had but what the level's rules replace (a juice machine by its barman, a
// centrepiece and its tablecloth by the next ones); and the purchase dialog's
// preview of that level, the variant chosen, shows everything the purchase
// adds that the preview draws (all but the click areas of the targets other
// than the barmen's glass spots, and the parrot's legs) at four tenths of its
// place, and makes it pulse.
#include <array>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "actors/actionspot.h"
#include "actors/drinkmachine.h"
#include "actors/glassspot.h"
#include "actors/parrot.h"
#include "level/playmode.h"
#include "records/tukplayer.h"
#include "records/upgrademanager.h"
#include "screens/buyupgrademode.h"
#include "screens/democontent_util.h"

namespace {

// "picture@x,y" of the sprite where it stands.
std::string placeOf(const Sprite& sprite, int x, int y) {
    return std::string(sprite.getImage()->getName().c_str()) + "@" + std::to_string(x) + "," + std::to_string(y);
}

// What the bar shows: each shown sprite of the level by its place, whether
// the bar preview draws it too.
using Things = std::map<std::string, bool>;

// A purchase of the store as its dialog offers it: the purchase id, the
// kinds it buys, each by its variant (none for a single kind), the things
// each level n takes away from level n - 1, and the picture a level adds
// without a pulse (a second level's tablecloth under its pulsing
// centrepiece).
struct Purchase {
    int nPurchaseId;
    std::vector<std::pair<int, int>> vKinds;  // kind, variant id
    std::array<int, 5> aGone;
    const char* szStill;
};

constexpr int kMachineThings = 1 + 4 + 3 + 6 + 2;  // picture, parts, signs, buttons, platform
constexpr int kCentreThings = 2;                   // centrepiece and tablecloth

const Purchase kPurchases[] = {
    {13, {{2, 3}, {3, 4}, {4, 5}, {5, 6}}, {}, nullptr},
    {15, {{6, 9}, {7, 10}}, {0, 0, kMachineThings, 0}, nullptr},
    {14, {{10, 7}, {11, 8}}, {0, 0, kCentreThings}, "mantel_2"},
    {8, {{8, 0}}, {}, nullptr},
    {9, {{9, 0}}, {}, nullptr},
    {12, {{12, 0}}, {}, nullptr},
};

// What a preview shows, by the level's place of each thing, and whether it
// pulses.
using Shown = std::map<std::string, bool>;

class PurchasesInTheBar : public democontent::DemoContentTest {
protected:
    PurchasesInTheBar() : DemoContentTest(true) {}

    static std::string digits(const SceneTags::Levels& levels) {
        std::string s;
        for (int n : levels) s += std::to_string(n);
        return s;
    }
    void setLevels(TUKPlayer& player, const SceneTags::Levels& levels) {
        for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) player.setUpgradeLevel(i, levels[static_cast<size_t>(i)]);
    }

    // The level read at the levels (each read once).
    const Things& levelThings(const SceneTags::Levels& levels) {
        const auto [found, bNew] = m_levels.try_emplace(digits(levels));
        if (!bNew) return found->second;
        TUKPlayer player;
        setLevels(player, levels);
        PlayMode level(&player, nullptr, "scene0", 0, 0, 1);
        level.loadScene();
        std::set<const Sprite*> setUndrawn;
        for (IClickListener* pListener : level.getClickListeners()) {
            const ActionSpot* pSpot = dynamic_cast<const ActionSpot*>(pListener);
            const GlassSpot* pGlassSpot = dynamic_cast<const GlassSpot*>(pListener);
            if (pSpot && !(pGlassSpot && pGlassSpot->isBarmanSpot())) setUndrawn.insert(pSpot->getSprite().get());
        }
        for (const Zep::SmartPtr<DrinkMachine>& pMachine : level.getLevelData().m_lDrinkMachines)
            for (int i = 0; i < 6; ++i) {
                setUndrawn.insert(pMachine->getBeverageButton(i).get());
                setUndrawn.insert(pMachine->getLiquidButton(i).get());
            }
        if (level.getParrot().notNULL()) setUndrawn.insert(level.getParrot()->getSprite(Parrot::kLegs).get());
        for (const Zep::SmartPtr<Sprite>& pSprite : level.getAllSprites())
            if (pSprite->isVisible() && pSprite->getImage().notNULL())
                found->second[placeOf(*pSprite, pSprite->getX(), pSprite->getY())] = !setUndrawn.count(pSprite.get());
        return found->second;
    }

    // The preview of each kind of the purchase, from the player at the
    // levels: the dialog's, with the kind's variant chosen in turn, or for a
    // single kind the preview the dialog reads.
    std::vector<Shown> previewsOf(const Purchase& purchase, const SceneTags::Levels& levels) {
        std::vector<Shown> v;
        if (purchase.vKinds.front().second == 0) {
            SceneTags::Levels raised = levels;
            ++raised[static_cast<size_t>(purchase.nPurchaseId)];
            BarPreview preview(m_app, purchase.nPurchaseId, raised);
            preview.read("scene0");
            v.push_back(shownBy(preview, 0, 0));
            return v;
        }
        TUKPlayer player;
        setLevels(player, levels);
        bool bPurchased = false;
        BuyUpgradeMode* pDialog =
            new BuyUpgradeMode(&player, new UpgradeManager(), purchase.nPurchaseId, "scene0", &bPurchased);
        m_app.pushMode(pDialog);
        for (const auto& [nKind, nVariantId] : purchase.vKinds) {
            pDialog->onCallback(nVariantId, nullptr);
            v.push_back(shownBy(*pDialog->getPreview(), BuyUpgradeMode::kPreviewX, BuyUpgradeMode::kPreviewY));
        }
        pDialog->onCallback(BuyUpgradeMode::kCloseId, nullptr);
        m_app.updateModes(0.01f);
        return v;
    }
    // The shown sprites of the preview, moved by (dx, dy).
    static Shown shownBy(const BarPreview& preview, int dx, int dy) {
        Shown shown;
        for (const Zep::SmartPtr<Sprite>& pSprite : preview.getSprites())
            if (pSprite->isVisible() && pSprite->getImage().notNULL()) {
                bool& bPulses = shown[placeOf(*pSprite, pSprite->getX() - dx, pSprite->getY() - dy)];
                bPulses = bPulses || preview.getHighlights().indexOf(pSprite) >= 0;
            }
        return shown;
    }

    // The level's place of a thing as the preview shows it.
    static std::string previewPlace(const std::string& sThing) {
        const size_t nAt = sThing.rfind('@'), nComma = sThing.rfind(',');
        const float x = std::stof(sThing.substr(nAt + 1)), y = std::stof(sThing.substr(nComma + 1));
        return sThing.substr(0, nAt + 1) + std::to_string(static_cast<int>(x * BarPreview::kScale)) + "," +
               std::to_string(static_cast<int>(y * BarPreview::kScale));
    }

    // Nothing bought, then sets drawn at random with a fixed seed.
    static std::vector<SceneTags::Levels> startingSets() {
        std::vector<SceneTags::Levels> v(1);
        std::mt19937 random(59);
        for (int i = 0; i < 2; ++i) {
            SceneTags::Levels levels{};
            for (int nKind = 0; nKind < UpgradeManager::kKinds; ++nKind)
                levels[static_cast<size_t>(nKind)] = static_cast<int>(random() % UpgradeManager::getLevelCount(nKind));
            v.push_back(levels);
        }
        return v;
    }

    std::map<std::string, Things> m_levels;
};

}  // namespace

TEST_F(PurchasesInTheBar, EveryLevelOfEveryKindTheBarShowsAddsToItAndItsPreviewShowsAndPulsesIt) {
    int nCases = 0;
    for (const SceneTags::Levels& start : startingSets())
        for (const Purchase& purchase : kPurchases)
            for (int nLevel = 1; nLevel < UpgradeManager::getLevelCount(purchase.vKinds.front().first); ++nLevel) {
                // Every kind of the purchase one level below; a centrepiece is
                // sold for a table that stands (its first chair).
                SceneTags::Levels below = start;
                for (const auto& [nKind, nVariantId] : purchase.vKinds) below[static_cast<size_t>(nKind)] = nLevel - 1;
                if (purchase.nPurchaseId == 14)
                    for (size_t nChair : {2u, 4u})
                        if (below[nChair] + below[nChair + 1] == 0) below[nChair] = 1;
                const std::vector<Shown> vPreviews = previewsOf(purchase, below);
                for (size_t i = 0; i < purchase.vKinds.size(); ++i) {
                    const size_t nKind = static_cast<size_t>(purchase.vKinds[i].first);
                    SceneTags::Levels at = below;
                    at[nKind] = nLevel;
                    const std::string sCase = "kind " + std::to_string(nKind) + " level " + std::to_string(nLevel) +
                                              " from " + digits(below);
                    const Things& before = levelThings(below);
                    const Things& after = levelThings(at);
                    std::string sAdded, sGone;
                    int nGone = 0;
                    std::vector<std::string> vDrawn;
                    for (const auto& [sThing, bDrawn] : after)
                        if (!before.count(sThing)) {
                            sAdded += " " + sThing;
                            if (bDrawn) vDrawn.push_back(sThing);
                        }
                    for (const auto& [sThing, bDrawn] : before)
                        if (!after.count(sThing)) {
                            sGone += " " + sThing;
                            ++nGone;
                        }
                    EXPECT_FALSE(sAdded.empty()) << sCase << ": the bar shows nothing more";
                    EXPECT_FALSE(vDrawn.empty()) << sCase << ": the preview draws nothing of" << sAdded;
                    EXPECT_EQ(nGone, purchase.aGone[static_cast<size_t>(nLevel)]) << sCase << ": gone" << sGone;
                    for (const std::string& sThing : vDrawn) {
                        const auto found = vPreviews[i].find(previewPlace(sThing));
                        const bool bStill =
                            purchase.szStill && sThing.rfind(std::string(purchase.szStill) + "@", 0) == 0;
                        if (found == vPreviews[i].end())
                            ADD_FAILURE() << sCase << ": the preview does not show " << sThing << " at "
                                          << previewPlace(sThing);
                        else
                            EXPECT_EQ(found->second, !bStill) << sCase << ": " << sThing << " pulses";
                    }
                    ++nCases;
                }
            }
    // The chairs' one level, the machines' three, the centrepieces' two, the
    // parrot's and the dispenser's one and the shows' four, from each of
    // three sets.
    EXPECT_EQ(nCases, (4 * 1 + 2 * 3 + 2 * 2 + 1 + 1 + 4) * 3);
}

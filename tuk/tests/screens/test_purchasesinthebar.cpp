// Every purchase of the store that the bar shows, over the packed demo
// archives: for each upgrade kind the bar shows (the chairs 2 to 5, the juice
// machines 6 and 7, the parrot 8, the prop dispenser 9, the centrepieces 10
// and 11, the shows 12) and each of its levels, from nothing bought and from
// random upgrade sets, the level read at that level shows at least one
// sprite, figure or glass spot more than at the level below, and keeps what
// it had but what the level's rules replace (a juice machine by its barman, a
// centrepiece and its tablecloth by the next ones); and the purchase dialog's
// preview of that level, the variant chosen, shows at four tenths of its
// place everything added that the preview draws (all but the targets' click
// areas, bar the barmen's glass spots, and the parrot's legs), and makes it
// pulse.
#include <array>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "actors/drinkmachine.h"
#include "actors/glassspot.h"
#include "actors/parrot.h"
#include "level/demoscene_util.h"
#include "screens/buyupgrademode.h"
#include "screens/democontent_util.h"
#include "screens/previewtest_util.h"

namespace {

// "picture@x,y".
std::string placeOf(const Sprite& sprite, int x, int y) {
    return std::string(sprite.getImage()->getName().c_str()) + "@" + std::to_string(x) + "," + std::to_string(y);
}

// A shown sprite of the level by its place: its place in the preview, or ""
// when the preview does not draw it.
using Things = std::map<std::string, std::string>;
// A shown sprite of a preview by its place, and whether it pulses.
using Shown = std::map<std::string, bool>;

// A purchase as its dialog offers it: the purchase id, its kinds with their
// variant ids (0: none), the things each level n takes away from level n - 1,
// and the picture a level adds without a pulse (a second level's tablecloth
// under its pulsing centrepiece).
struct Purchase {
    int nPurchaseId;
    std::vector<std::pair<int, int>> vKinds;
    std::array<int, 5> aGone;
    const char* szStill;
};

constexpr int kMachineThings = 1 + 4 + 3 + 6 + 2;  // picture, parts, signs, buttons, platform
constexpr int kCentreThings = 2;                   // centrepiece and tablecloth

const Purchase kPurchases[] = {
    {13, {{2, 3}, {3, 4}, {4, 5}, {5, 6}}, {}, nullptr},
    {15, {{6, 9}, {7, 10}}, {0, 0, kMachineThings, 0}, nullptr},
    {14, {{10, 7}, {11, 8}}, {0, 0, kCentreThings}, "mantel_2@"},
    {8, {{8, 0}}, {}, nullptr},
    {9, {{9, 0}}, {}, nullptr},
    {12, {{12, 0}}, {}, nullptr},
};

class PurchasesInTheBar : public democontent::DemoContentTest {
protected:
    PurchasesInTheBar() : DemoContentTest(true) {}

    // The level read at the levels, each once.
    const Things& levelThings(const SceneTags::Levels& levels) {
        const auto [found, bNew] = m_levels.try_emplace(demoscene::digits(levels));
        if (!bNew) return found->second;
        TUKPlayer player;
        previewtest::setLevels(player, found->first.c_str());
        PlayMode level(&player, nullptr, "scene0", 0, 0, 1);
        level.loadScene();
        std::set<const Sprite*> setUndrawn;
        for (IClickListener* pListener : level.getClickListeners()) {
            const GlassSpot* pGlassSpot = dynamic_cast<const GlassSpot*>(pListener);
            if (const ActionSpot* pSpot = dynamic_cast<const ActionSpot*>(pListener))
                if (!pGlassSpot || !pGlassSpot->isBarmanSpot()) setUndrawn.insert(pSpot->getSprite().get());
        }
        for (const Zep::SmartPtr<DrinkMachine>& pMachine : level.getLevelData().m_lDrinkMachines)
            for (int i = 0; i < 6; ++i)
                setUndrawn.insert({pMachine->getBeverageButton(i).get(), pMachine->getLiquidButton(i).get()});
        if (level.getParrot().notNULL()) setUndrawn.insert(level.getParrot()->getSprite(Parrot::kLegs).get());
        for (const Zep::SmartPtr<Sprite>& pSprite : level.getAllSprites()) {
            if (!pSprite->isVisible() || pSprite->getImage().isNULL()) continue;
            const int x = pSprite->getX(), y = pSprite->getY();
            found->second[placeOf(*pSprite, x, y)] =
                setUndrawn.count(pSprite.get())
                    ? ""
                    : placeOf(*pSprite, static_cast<int>(static_cast<float>(x) * BarPreview::kScale),
                              static_cast<int>(static_cast<float>(y) * BarPreview::kScale));
        }
        return found->second;
    }

    // Each kind's preview from the player at the levels: the dialog's with
    // the kind's variant chosen, in turn; for a single kind, the one the
    // dialog reads.
    std::vector<Shown> previewsOf(const Purchase& purchase, const SceneTags::Levels& levels) {
        if (purchase.vKinds.front().second == 0) {
            SceneTags::Levels raised = levels;
            ++raised[static_cast<size_t>(purchase.nPurchaseId)];
            BarPreview preview(m_app, purchase.nPurchaseId, raised);
            preview.read("scene0");
            return {shownBy(preview, 0, 0)};
        }
        TUKPlayer player;
        previewtest::setLevels(player, demoscene::digits(levels).c_str());
        bool bPurchased = false;
        BuyUpgradeMode* pDialog =
            new BuyUpgradeMode(&player, new UpgradeManager(), purchase.nPurchaseId, "scene0", &bPurchased);
        m_app.pushMode(pDialog);
        std::vector<Shown> v;
        for (const auto& [nKind, nVariantId] : purchase.vKinds) {
            pDialog->onCallback(nVariantId, nullptr);
            v.push_back(shownBy(*pDialog->getPreview(), BuyUpgradeMode::kPreviewX, BuyUpgradeMode::kPreviewY));
        }
        pDialog->onCallback(BuyUpgradeMode::kCloseId, nullptr);
        m_app.updateModes(0.01f);
        return v;
    }
    // The preview's shown sprites, moved back by (dx, dy).
    static Shown shownBy(const BarPreview& preview, int dx, int dy) {
        Shown shown;
        for (const Zep::SmartPtr<Sprite>& pSprite : preview.getSprites())
            if (pSprite->isVisible() && pSprite->getImage().notNULL())
                shown[placeOf(*pSprite, pSprite->getX() - dx, pSprite->getY() - dy)] |=
                    preview.getHighlights().indexOf(pSprite) >= 0;
        return shown;
    }

    std::map<std::string, Things> m_levels;
};

}  // namespace

TEST_F(PurchasesInTheBar, EveryLevelOfEveryKindTheBarShowsAddsToItAndItsPreviewShowsAndPulsesIt) {
    // Nothing bought, then two sets drawn at random.
    std::vector<SceneTags::Levels> vStarts(3);
    std::mt19937 random(59);
    for (size_t i = 1; i < vStarts.size(); ++i)
        for (int nKind = 0; nKind < UpgradeManager::kKinds; ++nKind)
            vStarts[i][static_cast<size_t>(nKind)] =
                static_cast<int>(random() % UpgradeManager::getLevelCount(nKind));
    int nCases = 0;
    for (const SceneTags::Levels& start : vStarts)
        for (const Purchase& purchase : kPurchases)
            for (int nLevel = 1; nLevel < UpgradeManager::getLevelCount(purchase.vKinds.front().first); ++nLevel) {
                // Each kind of the purchase a level below; a centrepiece is
                // sold for a table that stands (its first chair).
                SceneTags::Levels below = start;
                for (const auto& [nKind, nVariantId] : purchase.vKinds) below[static_cast<size_t>(nKind)] = nLevel - 1;
                for (size_t nChair : {2u, 4u})
                    if (purchase.nPurchaseId == 14 && below[nChair] + below[nChair + 1] == 0) below[nChair] = 1;
                const std::vector<Shown> vPreviews = previewsOf(purchase, below);
                for (size_t i = 0; i < purchase.vKinds.size(); ++i) {
                    SceneTags::Levels at = below;
                    at[static_cast<size_t>(purchase.vKinds[i].first)] = nLevel;
                    const std::string sCase = "kind " + std::to_string(purchase.vKinds[i].first) + " level " +
                                              std::to_string(nLevel) + " from " + demoscene::digits(below);
                    const Things &before = levelThings(below), &after = levelThings(at);
                    std::string sAdded, sGone;
                    int nGone = 0, nDrawn = 0;
                    for (const auto& [sThing, sPreviewPlace] : before) {
                        if (after.count(sThing)) continue;
                        sGone += " " + sThing;
                        ++nGone;
                    }
                    for (const auto& [sThing, sPreviewPlace] : after) {
                        if (before.count(sThing)) continue;
                        sAdded += " " + sThing;
                        if (sPreviewPlace.empty()) continue;
                        ++nDrawn;
                        const auto found = vPreviews[i].find(sPreviewPlace);
                        const bool bStill = purchase.szStill && sThing.rfind(purchase.szStill, 0) == 0;
                        if (found == vPreviews[i].end())
                            ADD_FAILURE() << sCase << ": the preview does not show " << sThing;
                        else
                            EXPECT_EQ(found->second, !bStill) << sCase << ": " << sThing << " pulses";
                    }
                    EXPECT_FALSE(sAdded.empty()) << sCase << ": the bar shows nothing more";
                    EXPECT_GT(nDrawn, 0) << sCase << ": the preview draws nothing of" << sAdded;
                    EXPECT_EQ(nGone, purchase.aGone[static_cast<size_t>(nLevel)]) << sCase << ": gone" << sGone;
                    ++nCases;
                }
            }
    // The chairs' one level, the machines' three, the centrepieces' two, the
    // parrot's and the dispenser's one and the shows' four, from each set.
    EXPECT_EQ(nCases, (4 * 1 + 2 * 3 + 2 * 2 + 1 + 1 + 4) * 3);
}

// The demo scene's layout, for every upgrade set the store's suites walk,
// with a customer at every seat: the boxes are those of the sprites as the
// level's scene reader, the figures and the customers place them.
//   - Where the player clicks: no two click boxes of the level overlap (the
//     balloons' pulse of +-5 % included), and every target's walk point lies
//     in a walk area.
//   - What the player must see: no figure, prop or decoration, and no other
//     customer, is drawn over a click target, the drink machine or a
//     standing customer; a figure counts wherever it walks, every picture of
//     an animated sprite counts, and a standing customer counts mirrored too.
// And the store's parrot stands on the shop's perch, for sale and sold out.
#include <algorithm>
#include <climits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <zep2/str.h>

#include "actors/actionballoon.h"
#include "actors/characterspot.h"
#include "level/demoscene_util.h"
#include "actors/drinkmachine.h"
#include "actors/figures.h"
#include "level/levelplay_util.h"
#include "level/opaqueboxes_util.h"
#include "level/spawnmanager.h"
#include "screens/storeitems.h"
#include "screens/storemode.h"
#include "actors/trashbin.h"

namespace {

using demoscene::boxText;
using demoscene::mirrored;
using demoscene::DemoScene;
using demoscene::OpaqueBoxes;

// Something of the level with its screen box and z-order.
// Things of one group (the standing customers and their seats; a VIP and
// its own seat; a machine and the signs on it) may be drawn over one
// another.
struct Placed {
    std::string sName;
    Rect box;
    int nZ;
    std::string sGroup;
};

// What one level gives: the click boxes, the things that must stay in sight,
// what is drawn over others, and the targets whose walk point is off the floor.
struct Measures {
    std::vector<Placed> vClickBoxes;
    std::vector<Placed> vKept;
    std::vector<Placed> vCovering;
    std::vector<std::string> vOffTheFloor;

    void add(const Measures& other) {
        vClickBoxes.insert(vClickBoxes.end(), other.vClickBoxes.begin(), other.vClickBoxes.end());
        vKept.insert(vKept.end(), other.vKept.begin(), other.vKept.end());
        vCovering.insert(vCovering.end(), other.vCovering.begin(), other.vCovering.end());
        vOffTheFloor.insert(vOffTheFloor.end(), other.vOffTheFloor.begin(), other.vOffTheFloor.end());
    }
    // A target: its click box must stay in sight and its walk point on the floor.
    void addTarget(const PlayMode& level, const ActionSpot& spot, const Rect& box, int nZ, const std::string& sGroup) {
        const std::string sName = spot.getName().c_str();
        vKept.push_back({sName, box, nZ, sGroup});
        vClickBoxes.push_back({sName, box, nZ, sGroup});
        int x = 0, y = 0;
        spot.getPosition(&x, &y);
        if (level.getWalkAreas().find(x, y) < 0)
            vOffTheFloor.push_back(sName + " walks to " + std::to_string(x) + "," + std::to_string(y));
    }
};

class DemoLayout : public DemoScene {
protected:
    // The level at the levels with a customer seated at every seat (the
    // order balloons shown), measured. Customers depend only on the seats:
    // the levels with the same seats share one seating.
    Measures measure(const std::string& sLevels) {
        m_pLevel = read(sLevels.c_str());
        Measures measures;
        measureScenery(measures);
        measureFigures(measures);
        measureSpots(measures);
        std::string sSeats;
        for (const Zep::SmartPtr<CharacterSpot>& pSeat : m_pLevel->getLevelData().m_lCharacterSpots)
            sSeats += pSeat->getName().c_str() + std::string(";");
        auto found = m_seatings.find(sSeats);
        if (found == m_seatings.end()) found = m_seatings.emplace(sSeats, seatEveryone()).first;
        measures.add(found->second);
        return measures;
    }

    // Every sprite of the scene but the background, the targets' own and the
    // figures' (measured where they walk): props and decorations; and the
    // machines, which must stay in sight.
    void measureScenery(Measures& measures) {
        std::set<const Sprite*> setSkipped = {m_pLevel->getScene().pBackground.get()};
        for (IClickListener* pListener : m_pLevel->getClickListeners())
            if (ActionSpot* pSpot = dynamic_cast<ActionSpot*>(pListener)) setSkipped.insert(pSpot->getSprite().get());
        if (const Zep::SmartPtr<TrashBin> pSink = m_pLevel->findTrashBin(); pSink.notNULL())
            for (int i = 0; i < TrashBin::kPiles; ++i) setSkipped.insert(pSink->getPileSprite(i).get());
        for (const Zep::SmartPtr<AmbientFigure>& pFigure : m_pLevel->getFigures())
            for (const Zep::SmartPtr<AnimSprite>& pSprite : pFigure->getSprites()) setSkipped.insert(pSprite.get());
        for (const Zep::SmartPtr<Sprite>& pSprite : m_pLevel->getAllSprites()) {
            if (setSkipped.count(pSprite.get()) || !pSprite->isVisible()) continue;
            const Zep::SmartPtr<Image> pImage = pSprite->getImage();
            const Rect box = m_boxes.of(*pSprite);
            measures.vCovering.push_back(
                {"sprite " + std::string(pImage.notNULL() ? pImage->getName().c_str() : "?") + " at " +
                     std::to_string(pSprite->getX()) + "," + std::to_string(pSprite->getY()),
                 box, pSprite->getZOrder(), onAMachine(box) ? "machine" : ""});
        }
        for (const Zep::SmartPtr<DrinkMachine>& pMachine : m_pLevel->getLevelData().m_lDrinkMachines) {
            const Zep::SmartPtr<AnimSprite> pSprite = pMachine->getSprite();
            measures.vKept.push_back({"machine " + std::to_string(pMachine->getId()), m_boxes.of(*pSprite),
                                      pSprite->getZOrder(), "machine"});
        }
    }

    // What stands wholly on a machine's picture (its signs) is the machine's own.
    bool onAMachine(const Rect& box) {
        for (const Zep::SmartPtr<DrinkMachine>& pMachine : m_pLevel->getLevelData().m_lDrinkMachines)
            if (m_boxes.of(*pMachine->getSprite()).intersect(box) == box) return true;
        return false;
    }

    // The ambient figures wherever they walk.
    void measureFigures(Measures& measures) {
        int nFigure = 0;
        for (const Zep::SmartPtr<AmbientFigure>& pFigure : m_pLevel->getFigures())
            measures.vCovering.push_back({"figure " + std::to_string(nFigure++), m_boxes.walkOf(*pFigure),
                                          pFigure->getSprite()->getZOrder(), ""});
    }

    // The scene's targets: their sprites' boxes, where a click lands.
    void measureSpots(Measures& measures) {
        const LevelData& data = m_pLevel->getLevelData();
        for (IClickListener* pListener : m_pLevel->getClickListeners()) {
            ActionSpot* pSpot = dynamic_cast<ActionSpot*>(pListener);
            if (!pSpot) continue;
            std::string sGroup;
            if (CharacterSpot* pSeat = dynamic_cast<CharacterSpot*>(pSpot)) {
                const int nSeat = data.m_lCharacterSpots.indexOf(Zep::SmartPtr<CharacterSpot>(pSeat));
                sGroup = nSeat < data.m_nOrdinarySpots ? "counter" : "seat " + std::to_string(nSeat);
            }
            const Sprite& sprite = *pSpot->getSprite();
            measures.addTarget(*m_pLevel, *pSpot, sprite.getBoundingRect(), sprite.getZOrder(), sGroup);
        }
    }

    // A customer at every seat, by the level's spawner. Standing customers
    // must stay in sight: all their pictures, facing either way; any
    // customer may cover something else. The balloons are targets, as they
    // pulse.
    Measures seatEveryone() {
        Measures measures;
        m_pLevel->getLevelData().m_lLiquids = Zep::List<int>{0};
        SpawnManager seating(m_pLevel.get());
        while (seating.spawn().notNULL()) {
        }
        for (const Zep::SmartPtr<Character>& pCustomer : m_pLevel->getCharacters()) {
            Rect box;
            int nZ = INT_MAX;
            for (const Zep::SmartPtr<AnimSprite>& pPart : pCustomer->getBodySprites()) {
                box = box.unite(m_boxes.of(*pPart));
                nZ = std::min(nZ, pPart->getZOrder());
            }
            const int x = pCustomer->getBodySprites().getFirst()->getX();
            const int y = pCustomer->getBodySprites().getFirst()->getY();
            const std::string sName = "customer at " + std::to_string(x) + "," + std::to_string(y);
            const std::string sGroup = pCustomer->isVip() ? "seat " + std::to_string(pCustomer->getSpot()) : "counter";
            if (!pCustomer->isVip()) {
                box = box.unite(mirrored(box, x));
                measures.vKept.push_back({sName, box, nZ, sGroup});
            }
            measures.vCovering.push_back({sName, box, nZ, sGroup});
            ActionBalloon& balloon = *pCustomer->getBalloon();
            measures.addTarget(*m_pLevel, balloon, demoscene::balloonArea(balloon),
                               balloon.getPictures().getFirst()->getZOrder(), "");
        }
        return measures;
    }

    static std::vector<std::string> overlappingClickBoxes(const Measures& measures) {
        const std::vector<Placed>& vBoxes = measures.vClickBoxes;
        std::vector<std::string> v;
        for (size_t a = 0; a < vBoxes.size(); ++a)
            for (size_t b = a + 1; b < vBoxes.size(); ++b)
                if (vBoxes[a].box.intersects(vBoxes[b].box))
                    v.push_back(vBoxes[a].sName + " " + boxText(vBoxes[a].box) + " and " + vBoxes[b].sName + " " +
                                boxText(vBoxes[b].box));
        return v;
    }

    static std::vector<std::string> coveredThings(const Measures& measures) {
        std::vector<std::string> v;
        for (const Placed& kept : measures.vKept)
            for (const Placed& over : measures.vCovering)
                if (over.sName != kept.sName && (over.sGroup.empty() || over.sGroup != kept.sGroup) &&
                    over.nZ > kept.nZ && over.box.intersects(kept.box))
                    v.push_back(over.sName + " " + boxText(over.box) + " z " + std::to_string(over.nZ) + " over " +
                                kept.sName + " " + boxText(kept.box) + " z " + std::to_string(kept.nZ));
        return v;
    }

    OpaqueBoxes m_boxes;
    std::unique_ptr<PlayMode> m_pLevel;
    std::map<std::string, Measures> m_seatings;
};

// Each finding once, with the first upgrade set that shows it.
void collect(std::map<std::string, std::string>& found, const std::vector<std::string>& vNew,
             const std::string& sLevels) {
    for (const std::string& s : vNew) found.emplace(s, sLevels);
}

std::string listed(const std::map<std::string, std::string>& found) {
    std::string s;
    for (const auto& [sWhat, sLevels] : found) s += "\n  " + sWhat + "  [" + sLevels + "]";
    return s;
}

}  // namespace

TEST_F(DemoLayout, EveryUpgradeSetKeepsClicksApartTargetsInSightAndWalkPointsOnTheFloor) {
    std::map<std::string, std::string> overlaps, covered, offTheFloor;
    std::set<std::string> setTargets;
    for (const SceneTags::Levels& levels : demoscene::upgradeSets()) {
        const std::string sLevels = demoscene::digits(levels);
        Measures measures;
        try {
            measures = measure(sLevels);
        } catch (const Zep::Exception& e) {
            FAIL() << sLevels << ": " << e.getMessage();
        }
        for (const Placed& target : measures.vClickBoxes) setTargets.insert(target.sName);
        collect(overlaps, overlappingClickBoxes(measures), sLevels);
        collect(covered, coveredThings(measures), sLevels);
        collect(offTheFloor, measures.vOffTheFloor, sLevels);
    }
    // Every target of the scene was measured in some set: the house
    // barman's 3 coasters and the 4 of the machines' barmen, the sink, 8
    // seats and their balloons, the 2 machines' 4 coasters and 12 buttons,
    // and the dispenser.
    EXPECT_EQ(setTargets.size(), 3u + 4u + 1u + 8u + 8u + 4u + 12u + 1u);
    EXPECT_TRUE(overlaps.empty()) << listed(overlaps);
    EXPECT_TRUE(covered.empty()) << listed(covered);
    EXPECT_TRUE(offTheFloor.empty()) << listed(offTheFloor);
}

namespace {

class DemoShop : public leveltest::DemoLevel {};

}  // namespace

// The shop's animated parrot (for sale) and its sold-out picture take the
// same place, and straight under the middle of it, down to the floor's
// edge, runs the perch's post in one colour (the floor beside it shows
// through elsewhere).
TEST_F(DemoShop, TheParrotStandsOnTheShopsPerchForSaleAndSoldOut) {
    const StoreItems::Item& place = StoreItems::get(3);
    Rect aBoxes[2];
    for (int nLevel : {0, 1}) {
        m_player.setUpgradeLevel(8, nLevel);
        StoreMode* pStore = new StoreMode(&m_player, "scene0");
        m_app.pushMode(pStore);
        Zep::SmartPtr<Sprite> pParrot = pStore->getParrotItem().get();
        for (const Zep::SmartPtr<Sprite>& pSprite : pStore->getItemSprites())
            if (pSprite->getX() == place.x && pSprite->getY() == place.y) pParrot = pSprite;
        ASSERT_TRUE(pParrot.notNULL()) << nLevel;
        aBoxes[nLevel] = pParrot->getBoundingRect();
        pStore->endMode();
        m_app.deleteEndedModes();
    }
    EXPECT_EQ(boxText(aBoxes[0]), boxText(aBoxes[1]));
    Zep::SmartPtr<Image> pShop = m_app.getImage("upgrade_store");
    const int x = (aBoxes[1].getLeft() + aBoxes[1].getRight()) / 2;
    const Color post = pShop->getPixel(x, aBoxes[1].getBottom());
    std::string sOther;
    for (int y = aBoxes[1].getBottom(); y < pShop->getHeight(); ++y)
        if (pShop->getPixel(x, y) != post) sOther.append(" ").append(std::to_string(y));
    EXPECT_EQ(sOther, "") << "under the parrot at x " << x;
    EXPECT_NE(pShop->getPixel(x - 20, aBoxes[1].getBottom()), post);
}

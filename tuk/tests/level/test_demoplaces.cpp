// What belongs to a place of the demo scene stays with it, for every upgrade
// set the store's suites walk:
//   - a glass a customer holds, in every frame of every sequence of her
//     drinking arm, facing either way, with its straw either way, or has put
//     down, lies with every painted pixel (its layers, the straw, any
//     decoration) inside her own place's click area and in no other click
//     area of the level;
//   - every patience meter stands clear of every other customer (any
//     picture of her, hat and all, a standing one mirrored too), of every
//     ambient figure wherever it walks, and of every other meter;
//   - no ambient figure stands on the waitress where she starts the day, or
//     on her first walk: from there up to the counter's band of the floor;
//   - every VIP, facing either way, sits on her chair: its seat lies under
//     her thighs.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "actors/actionballoon.h"
#include "actors/character.h"
#include "actors/characterbody.h"
#include "actors/characterspot.h"
#include "actors/mug.h"
#include "actors/waitress.h"
#include "level/customertable.h"
#include "level/demoscene_util.h"
#include "level/opaqueboxes_util.h"
#include "level/spawnmanager.h"
#include "level/walkareas.h"
#include "records/upgrademanager.h"

namespace {

using demoscene::boxText;
using demoscene::mirrored;

constexpr int kDecorations = 13;
// Her first walk is measured every few pixels.
constexpr int kWalkStep = 5;
constexpr size_t kListed = 60;

struct Area {
    std::string sName;
    Rect box;
};

class DemoPlaces : public demoscene::DemoScene {
protected:
    void load(const SceneTags::Levels& levels) {
        m_sLevels = demoscene::digits(levels);
        m_pLevel = read(m_sLevels.c_str());
    }
    LevelData& data() { return m_pLevel->getLevelData(); }
    bool isVipSeat(int nSeat) { return nSeat >= data().m_nOrdinarySpots; }
    // The seats' names: the customers' places depend on nothing else.
    std::string seats() {
        std::string s;
        for (const Zep::SmartPtr<CharacterSpot>& pSeat : data().m_lCharacterSpots)
            s += pSeat->getName().c_str() + std::string(";");
        return s;
    }
    // What a customer at every seat shows, measured when the level first has
    // these seats (newly: true then): the balloons' click areas, at 95 and
    // 105 % of their size, and the meters. The customers are seated by the
    // level's spawner and stay in the level.
    struct Seating {
        std::vector<Area> vBalloons;
        std::vector<Area> vMeters;
    };
    const Seating& seated(bool* pNewly = nullptr) {
        const auto [found, bNew] = m_seatings.try_emplace(seats());
        if (pNewly) *pNewly = bNew;
        if (!bNew) return found->second;
        data().m_lLiquids = Zep::List<int>{0};
        SpawnManager spawner(m_pLevel.get());
        while (spawner.spawn().notNULL()) {
        }
        for (const Zep::SmartPtr<Character>& pCustomer : m_pLevel->getCharacters()) {
            ActionBalloon& balloon = *pCustomer->getBalloon();
            found->second.vBalloons.push_back({balloon.getName().c_str(), demoscene::balloonArea(balloon)});
            found->second.vMeters.push_back({who(*pCustomer), meterOf(*pCustomer)});
        }
        return found->second;
    }
    static std::string who(const Character& customer) {
        return std::string(customer.getName()) + " at seat " + std::to_string(customer.getSpot());
    }
    Rect meterOf(const Character& customer) {
        Rect box;
        for (const Zep::SmartPtr<AnimSprite>& pSprite : customer.getMeterSprites())
            box = box.unite(m_boxes.of(*pSprite));
        return box;
    }
    // A customer of the name at the seat, as the spawner makes her; a
    // standing one faces the room or is mirrored as asked.
    Zep::SmartPtr<Character> customerAt(int nSeat, const Zep::String& sName, bool bMirrored) {
        const CharacterSpot& seat = *data().m_lCharacterSpots[nSeat];
        const bool bVip = isVipSeat(nSeat);
        const int nDirection = bVip ? data().m_lVipDirections[nSeat - data().m_nOrdinarySpots] : 1;
        Zep::SmartPtr<Character> pGuest = new Character(
            m_pLevel.get(), sName.c_str(), nSeat, seat.getSprite()->getX(), bVip ? data().m_nVipY : data().m_nCustomerY,
            bVip ? data().m_nVipDepth : data().m_nCustomerDepth, bVip, nDirection, 1);
        if (!bVip)
            for (const Zep::SmartPtr<AnimSprite>& pPart : pGuest->getBodySprites())
                pPart->setScale(bMirrored ? -1.0f : 1.0f, 1.0f);
        return pGuest;
    }
    // Every click area of the level: the targets' sprites, and the balloons
    // of a customer at every seat.
    std::vector<Area> clickAreas() {
        std::vector<Area> v = seated().vBalloons;
        for (IClickListener* pListener : m_pLevel->getClickListeners()) {
            const ActionSpot* pSpot = dynamic_cast<ActionSpot*>(pListener);
            if (pSpot && !dynamic_cast<const ActionBalloon*>(pSpot) && pSpot->getSprite().notNULL())
                v.push_back({pSpot->getName().c_str(), pSpot->getSprite()->getBoundingRect()});
        }
        return v;
    }
    // Every painted pixel of the glass: its layers, its straw and its
    // decoration (any of the pictures it may draw).
    Rect glassBox(const Mug& mug) {
        Rect box;
        for (const Zep::SmartPtr<AnimSprite>& pLayer :
             {mug.getSprite(), mug.getLowerLayer(), mug.getUpperLayer(), mug.getFrontLayer()})
            box = box.unite(m_boxes.of(*pLayer));
        box = box.unite(m_boxes.ofShown(*mug.getStraw()));
        if (mug.hasDecoration()) box = box.unite(mug.getDecoration()->transformRect(decorationBox(mug)));
        return box;
    }
    // The thirteen decorations standing as the glass stands them, in anchor
    // coordinates (measured once).
    Rect decorationBox(const Mug& mug) {
        if (!m_decorations.isEmpty()) return m_decorations;
        const Zep::SmartPtr<Image> pGlass = mug.getImage();
        for (int i = 0; i < kDecorations; ++i) {
            Zep::SmartPtr<Image> pPicture =
                m_app.getImage(("vaso_deco_largo_" + std::to_string(i)).c_str())->clone(false);
            pPicture->setInsPoint(pGlass->getWidth() / 2, pGlass->getHeight());
            m_decorations = m_decorations.unite(m_boxes.of(pPicture));
        }
        return m_decorations;
    }
    void found(const std::string& s) { m_findings.emplace(s, m_sLevels); }
    // Each finding once, with the first upgrade set that shows it; the
    // first ones listed.
    std::string findings() const {
        std::string s = std::to_string(m_findings.size()) + " findings:";
        size_t nListed = 0;
        for (const auto& [sWhat, sLevels] : m_findings)
            if (nListed++ < kListed) s += "\n  " + sWhat + "  [" + sLevels + "]";
        return s;
    }

    demoscene::OpaqueBoxes m_boxes;
    Rect m_decorations;
    std::map<std::string, Seating> m_seatings;
    std::unique_ptr<PlayMode> m_pLevel;
    std::string m_sLevels;
    std::map<std::string, std::string> m_findings;
};

// ---- Glasses ------------------------------------------------------------------------------

class DemoGlasses : public DemoPlaces {
protected:
    // Every box a glass may paint at the seat (by the seat's name, which
    // names its place), with where it was first seen; measured once.
    const std::map<std::string, std::string>& glassesAt(int nSeat) {
        const std::string sSeat = data().m_lCharacterSpots[nSeat]->getName().c_str();
        const auto found = m_seatGlasses.find(sSeat);
        if (found != m_seatGlasses.end()) return found->second;
        std::map<std::string, std::string>& glasses = m_seatGlasses[sSeat];
        if (!m_pTable) m_pTable = std::make_unique<CustomerTable>(CustomerTable::load());
        for (const CustomerEntry& entry : m_pTable->getEntries(isVipSeat(nSeat)))
            for (bool bMirrored : {false, true}) {
                if (bMirrored && isVipSeat(nSeat)) continue;  // a VIP faces the way of her seat
                const Zep::SmartPtr<Character> pGuest = customerAt(nSeat, entry.sName, bMirrored);
                const std::string sWho = std::string(entry.sName.c_str()) + (bMirrored ? " facing left" : "");
                for (int nBeverage = 0; nBeverage < Mug::BT_BEVERAGE_COUNT; ++nBeverage)
                    for (bool bStrawTurned : {false, true})
                        measureGlasses(*pGuest, nBeverage, bStrawTurned, sWho, glasses);
                pGuest->detach();
                ++m_nCustomers;
            }
        return glasses;
    }
    // In every frame of the drinking arm's sequences and put down, the
    // glass kind given, the straw turned to her or not.
    void measureGlasses(Character& guest, int nBeverage, bool bStrawTurned, const std::string& sWho,
                        std::map<std::string, std::string>& glasses) {
        const Zep::SmartPtr<Mug> pMug = Mug::create(m_pLevel.get(), Mug::beverageName(nBeverage));
        pMug->addDecoration();
        AnimSprite& arm = *guest.getBodySprites()[guest.isVip() ? 0 : 1];
        if (bStrawTurned) pMug->placeStraw(guest.getSpot(), arm.getScaleX() < 0.0f ? -1 : 1);
        const std::string sArm = guest.isVip() ? "arm_left_" : "arm_right_";
        const std::string sWhat = sWho + " glass " + std::to_string(nBeverage) + (bStrawTurned ? " straw turned" : "");
        auto note = [&](const std::string& sWhere) {
            glasses.emplace(boxText(glassBox(*pMug)), sWhat + " " + sWhere);
            ++m_nGlasses;
        };
        for (const Zep::String& sName : arm.getAnimation()->getSequenceNames()) {
            const std::string sSequence = sName.c_str();
            if (sSequence.rfind(sArm, 0) != 0 || sSequence.find("cloth") != std::string::npos) continue;
            for (int nFrame = 0; nFrame < arm.getFrameCount(sSequence.c_str()); ++nFrame) {
                if (guest.hasMug()) guest.takeMug();
                arm.play(sSequence.c_str(), 0.0f, -1);
                arm.setFrame(nFrame, -1.0f);
                guest.serveMug(pMug);
                note(sSequence + " frame " + std::to_string(nFrame));
            }
        }
        guest.takeMug();
        int x = 0, y = 0, z = 0;
        guest.getMugRestPosition(x, y, z);
        pMug->setPosition(x, y, z);
        note("put down");
        pMug->detach();
    }
    // Each glass of the seat in the seat's area and in no other.
    void checkGlasses(int nSeat, const std::vector<Area>& vAreas) {
        const CharacterSpot& seat = *data().m_lCharacterSpots[nSeat];
        const Rect own = seat.getSprite()->getBoundingRect();
        for (const auto& [sBox, sWhere] : glassesAt(nSeat)) {
            const Rect glass = m_glassBoxes.at(sBox);
            const std::string sGlass = sWhere + " at seat " + std::to_string(nSeat) + ": glass " + sBox;
            if (own.intersect(glass) != glass) found(sGlass + " leaves its place " + boxText(own));
            for (const Area& area : vAreas)
                if (area.sName != seat.getName().c_str() && area.box.intersects(glass))
                    found(sGlass + " in " + area.sName + " " + boxText(area.box));
        }
    }
    Rect glassBox(const Mug& mug) {
        const Rect box = DemoPlaces::glassBox(mug);
        m_glassBoxes.emplace(boxText(box), box);
        return box;
    }

    std::unique_ptr<CustomerTable> m_pTable;
    std::map<std::string, std::map<std::string, std::string>> m_seatGlasses;
    std::map<std::string, Rect> m_glassBoxes;
    int m_nCustomers = 0;
    int m_nGlasses = 0;
};

}  // namespace

TEST_F(DemoGlasses, EveryGlassHeldOrPutDownLiesInItsOwnPlacesClickAreaAndInNoOther) {
    for (const SceneTags::Levels& levels : demoscene::upgradeSets()) {
        load(levels);
        const std::vector<Area> vAreas = clickAreas();
        for (int nSeat = 0; nSeat < data().m_lCharacterSpots.getCount(); ++nSeat) checkGlasses(nSeat, vAreas);
    }
    // Four standing places and the four seats of every chair: the 3 ordinary
    // customers facing either way and the 2 VIPs at each, every one with
    // the 3 glasses, the straw either way, in the 6 sequences of the arm.
    EXPECT_EQ(m_seatGlasses.size(), 8u);
    EXPECT_EQ(m_nCustomers, 4 * 3 * 2 + 4 * 2);
    EXPECT_GE(m_nGlasses, m_nCustomers * 3 * 2 * 6);
    EXPECT_TRUE(m_findings.empty()) << findings();
}

namespace {

// ---- Meters -------------------------------------------------------------------------------

class DemoMeters : public DemoPlaces {
protected:
    // The meter against every other customer's pictures, pixel by pixel
    // where their boxes meet, and against every other meter.
    void checkAgainstCustomers(const Character& owner, const Rect& meter) {
        for (const Zep::SmartPtr<Character>& pOther : m_pLevel->getCharacters()) {
            if (pOther.get() == &owner) continue;
            const AnimSprite& figure = *pOther->getBodySprites().getFirst();
            for (bool bMirrored : {false, true}) {
                if (bMirrored && pOther->isVip()) continue;
                const Rect box = m_boxes.of(figure);
                if (!(bMirrored ? mirrored(box, figure.getX()) : box).intersects(meter)) continue;
                if (demoscene::paintsInto(figure, meter, bMirrored))
                    found("meter of " + who(owner) + " " + boxText(meter) + " on " + who(*pOther) +
                          (bMirrored ? " facing left" : ""));
            }
            const Rect other = meterOf(*pOther);
            if (other.intersects(meter))
                found("meter of " + who(owner) + " " + boxText(meter) + " on the meter of " + who(*pOther) + " " +
                      boxText(other));
        }
    }
};

}  // namespace

TEST_F(DemoMeters, EveryMeterStandsClearOfEveryOtherFigureHatAndMeter) {
    int nMeters = 0, nFigures = 0;
    for (const SceneTags::Levels& levels : demoscene::upgradeSets()) {
        load(levels);
        bool bNewly = false;
        const Seating& seating = seated(&bNewly);
        if (bNewly)
            for (const Zep::SmartPtr<Character>& pCustomer : m_pLevel->getCharacters()) {
                checkAgainstCustomers(*pCustomer, meterOf(*pCustomer));
                ++nMeters;
            }
        int nFigure = 0;
        for (const Zep::SmartPtr<AmbientFigure>& pFigure : m_pLevel->getFigures()) {
            const Rect figure = m_boxes.walkOf(*pFigure);
            for (const Area& meter : seating.vMeters)
                if (figure.intersects(meter.box))
                    found("meter of " + meter.sName + " " + boxText(meter.box) + " on figure " +
                          std::to_string(nFigure) + " " + boxText(figure));
            ++nFigure;
            ++nFigures;
        }
    }
    // Four standing places and the four seats of every chair.
    EXPECT_EQ(m_seatings.size(), 15u);
    EXPECT_GE(nMeters, 8);
    EXPECT_GT(nFigures, 0);
    EXPECT_TRUE(m_findings.empty()) << findings();
}

namespace {

// ---- The waitress's way ---------------------------------------------------------------------

class DemoWaitressWay : public DemoPlaces {
protected:
    // The waitress as the day starts her, at her start facing the room; she
    // leaves the level before it goes.
    Zep::SmartPtr<Waitress> startWaitress() {
        const int nCapacity = UpgradeManager::effectValue(0, m_player.getUpgradeLevel(0));
        Zep::SmartPtr<Waitress> pWaitress = new Waitress(m_pLevel.get(), PlayMode::kWaitressName, PlayMode::kWaitressX,
                                                         PlayMode::kWaitressY, nCapacity);
        pWaitress->buildSprites(PlayMode::kWaitressTemplate, nCapacity);
        pWaitress->updateDepthScale();
        return pWaitress;
    }
    Rect figureOf(const Waitress& waitress) {
        Rect box = m_boxes.ofShown(*waitress.getBodySprite());
        for (int nArm : {0, 1})
            for (const Zep::SmartPtr<AnimSprite>& pSprite :
                 {waitress.getArmSprite(nArm), waitress.getThumbSprite(nArm)})
                if (pSprite.notNULL()) box = box.unite(m_boxes.ofShown(*pSprite));
        return box;
    }
    // The first leg of her way to every target in another band of the
    // floor than her start, walked facing north.
    Rect firstWalk(Waitress& waitress) {
        const WalkAreas& areas = m_pLevel->getWalkAreas();
        const int x0 = PlayMode::kWaitressX, y0 = PlayMode::kWaitressY;
        std::set<std::pair<int, int>> setFirst;
        for (IClickListener* pListener : m_pLevel->getClickListeners()) {
            const ActionSpot* pSpot = dynamic_cast<ActionSpot*>(pListener);
            int x = 0, y = 0;
            if (!pSpot) continue;
            pSpot->getPosition(&x, &y);
            Zep::List<Point> lWay;
            if (areas.find(x, y) != areas.find(x0, y0) && areas.findPath(x0, y0, x, y, &lWay))
                setFirst.emplace(static_cast<int>(lWay.getFirst().x), static_cast<int>(lWay.getFirst().y));
        }
        Rect box;
        waitress.setHeading(Waitress::kNorth);
        for (const auto& [x1, y1] : setFirst) {
            const int nSteps = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) / kWalkStep + 1;
            for (int i = 0; i <= nSteps; ++i) {
                waitress.setPosition(static_cast<float>(x0 + (x1 - x0) * i / nSteps),
                                     static_cast<float>(y0 + (y1 - y0) * i / nSteps));
                waitress.updateDepthScale();
                box = box.unite(figureOf(waitress));
            }
        }
        return box;
    }
};

}  // namespace

TEST_F(DemoWaitressWay, NoAmbientFigureStandsOnHerStartOrOnHerFirstWalk) {
    int nFigures = 0;
    for (const SceneTags::Levels& levels : demoscene::upgradeSets()) {
        load(levels);
        if (m_pLevel->getFigures().isEmpty()) continue;
        const Zep::SmartPtr<Waitress> pWaitress = startWaitress();
        const Rect start = figureOf(*pWaitress);
        const Rect walk = firstWalk(*pWaitress);
        pWaitress->detach();
        ASSERT_FALSE(walk.isEmpty()) << m_sLevels;
        int nFigure = 0;
        for (const Zep::SmartPtr<AmbientFigure>& pFigure : m_pLevel->getFigures()) {
            const Rect figure = m_boxes.walkOf(*pFigure);
            const std::string sFigure = "figure " + std::to_string(nFigure++) + " " + boxText(figure);
            if (figure.intersects(start)) found(sFigure + " stands on her start " + boxText(start));
            if (figure.intersects(walk)) found(sFigure + " stands on her first walk " + boxText(walk));
            ++nFigures;
        }
    }
    // The shows at every level bring up to two players and two dancers.
    EXPECT_GE(nFigures, 4);
    EXPECT_TRUE(m_findings.empty()) << findings();
}

// Wherever she stands to use a target, turned as the target turns her, all
// of her is on the screen but her feet, which may reach as far below its
// bottom as where she starts the day: at the counter's ends she stands clear
// of the screen's edges.
TEST_F(DemoWaitressWay, AtEveryTargetSheStandsOnTheScreenClearOfItsEdges) {
    constexpr int kClear = 8;
    std::set<std::string> setTargets;
    for (const SceneTags::Levels& levels : demoscene::upgradeSets()) {
        load(levels);
        const Zep::SmartPtr<Waitress> pWaitress = startWaitress();
        const Rect room(kClear, 0, 800 - kClear, figureOf(*pWaitress).getBottom());
        for (IClickListener* pListener : m_pLevel->getClickListeners()) {
            const ActionSpot* pSpot = dynamic_cast<ActionSpot*>(pListener);
            if (!pSpot) continue;
            int x = 0, y = 0;
            pSpot->getPosition(&x, &y);
            pWaitress->setPosition(static_cast<float>(x), static_cast<float>(y));
            pWaitress->setHeading(pSpot->getHeading());
            pWaitress->updateDepthScale();
            const Rect she = figureOf(*pWaitress);
            setTargets.insert(pSpot->getName().c_str());
            if (room.intersect(she) != she) found(std::string(pSpot->getName().c_str()) + ": she stands at " + boxText(she));
        }
        pWaitress->detach();
    }
    EXPECT_GE(setTargets.size(), 30u);
    EXPECT_TRUE(m_findings.empty()) << findings();
}

namespace {

// ---- Seats ----------------------------------------------------------------------------------

// How far above or below her underside the seat's top may be: its outline,
// and the cushion she sinks into.
constexpr int kSeatSlack = 6;

class DemoSeats : public DemoPlaces {
protected:
    // The level's chairs: the sprites of the picture "silla" and of its mirror.
    std::vector<Zep::SmartPtr<Sprite>> chairs() {
        std::vector<Zep::SmartPtr<Sprite>> v;
        for (const Zep::SmartPtr<Sprite>& pSprite : m_pLevel->getAllSprites())
            if (pSprite->isVisible() && pSprite->getImage().notNULL() && pSprite->getImage()->getName() == "silla")
                v.push_back(pSprite);
        return v;
    }
    // The widest row of the chair's picture: the seat, its depth from the
    // back to the front edge.
    int seatDepth() {
        const Zep::SmartPtr<Image> pChair = m_app.getImage("silla");
        int nWidest = 0;
        for (int y = 0; y < pChair->getHeight(); ++y) {
            int n = 0;
            for (int x = 0; x < pChair->getWidth(); ++x) n += pChair->isTransparent(x, y, 127) ? 0 : 1;
            nWidest = std::max(nWidest, n);
        }
        return nWidest;
    }
    // Her underside: for each screen column of her trousers (the part
    // "cloth_lower", over her hips and thighs), the lowest opaque row of any
    // picture it shows.
    std::map<int, int> underside(const Character& guest) {
        int nTrousers = 0;
        while (std::string(CharacterBody::part(CharacterBody::kVip, nTrousers).szName) != "cloth_lower") ++nTrousers;
        const AnimSprite& trousers = *guest.getBodySprites()[nTrousers];
        const Zep::SmartPtr<Animation> pAnimation = trousers.getAnimation();
        std::map<int, int> lowest;
        for (const Zep::String& sSequence : pAnimation->getSequenceNames()) {
            if (std::string(sSequence.c_str()).rfind("cloth_lower_", 0) != 0) continue;
            for (const Zep::SmartPtr<FrameData>& pFrame : pAnimation->getSequence(sSequence.c_str())->getFrames()) {
                Sprite probe(pFrame->getImage(), trousers.getX(), trousers.getY(), 0);
                probe.setScale(trousers.getScaleX(), trousers.getScaleY());
                const Rect box = probe.getBoundingRect();
                for (int x = box.getLeft(); x < box.getRight(); ++x)
                    for (int y = box.getBottom() - 1; y >= box.getTop(); --y)
                        if (isOpaque(probe, x, y)) {
                            lowest[x] = std::max(lowest.count(x) ? lowest[x] : y, y);
                            break;
                        }
            }
        }
        return lowest;
    }
    static bool isOpaque(const Sprite& sprite, int x, int y) {
        return sprite.hitTestPixel(Point(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f), 127);
    }
    // How many columns of her underside have the chair's opaque pixels at
    // most kSeatSlack above or below them.
    static int restingColumns(const std::map<int, int>& lowest, const Sprite& chair) {
        int n = 0;
        for (const auto& [x, y] : lowest) {
            bool bSeat = false;
            for (int dy = -kSeatSlack; dy <= kSeatSlack && !bSeat; ++dy) bSeat = isOpaque(chair, x, y + dy);
            n += bSeat ? 1 : 0;
        }
        return n;
    }
    // Each VIP of the table at the seat: the most columns of her underside
    // that rest on one chair of the level, at least half the seat's depth.
    void checkSeat(int nSeat, int nSeatDepth) {
        const bool bWest = data().m_lVipDirections[nSeat - data().m_nOrdinarySpots] < 0;
        std::string sChairs;
        for (const Zep::SmartPtr<Sprite>& pChair : chairs())
            sChairs += std::to_string(pChair->getX()) + "," + std::to_string(pChair->getY()) + ";";
        if (!m_pTable) m_pTable = std::make_unique<CustomerTable>(CustomerTable::load());
        data().m_lLiquids = Zep::List<int>{0};
        for (const CustomerEntry& entry : m_pTable->getEntries(true)) {
            const std::string sWho = std::string(entry.sName.c_str()) + " at seat " + std::to_string(nSeat) +
                                     (bWest ? " facing west" : " facing east");
            if (!m_setSeated.insert(sWho + " chairs " + sChairs).second) continue;
            const Zep::SmartPtr<Character> pGuest = customerAt(nSeat, entry.sName, false);
            const std::map<int, int> lowest = underside(*pGuest);
            pGuest->detach();
            int nMost = 0;
            for (const Zep::SmartPtr<Sprite>& pChair : chairs())
                nMost = std::max(nMost, restingColumns(lowest, *pChair));
            if (nMost * 2 < nSeatDepth)
                found(sWho + ": " + std::to_string(nMost) + " of her " + std::to_string(lowest.size()) +
                      " columns rest on a chair's seat");
            m_setFacings.insert(bWest);
        }
    }

    std::unique_ptr<CustomerTable> m_pTable;
    std::set<std::string> m_setSeated;
    std::set<bool> m_setFacings;
};

}  // namespace

TEST_F(DemoSeats, EveryVipSitsOnHerChairsSeatFacingEitherWay) {
    const int nSeatDepth = seatDepth();
    ASSERT_GT(nSeatDepth, 0);
    for (const SceneTags::Levels& levels : demoscene::upgradeSets()) {
        load(levels);
        const int nVipSeats = data().m_lCharacterSpots.getCount() - data().m_nOrdinarySpots;
        EXPECT_EQ(static_cast<int>(chairs().size()), nVipSeats) << m_sLevels;
        for (int nSeat = data().m_nOrdinarySpots; nSeat < data().m_lCharacterSpots.getCount(); ++nSeat)
            checkSeat(nSeat, nSeatDepth);
    }
    // The two VIPs at each of the four seats, facing east at two and west at
    // two.
    EXPECT_GE(m_setSeated.size(), 8u);
    EXPECT_EQ(m_setFacings.size(), 2u);
    EXPECT_TRUE(m_findings.empty()) << findings();
}

// The first day's bar read with the game's classes (wholegame_bar.h).
#include "app/wholegame_bar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "actors/character.h"
#include "actors/characterspot.h"
#include "actors/glassspot.h"
#include "level/leveltuning.h"
#include "actors/mug.h"
#include "level/playmode.h"
#include "level/spawnmanager.h"
#include "actors/trashbin.h"
#include "records/tukplayer.h"

namespace wholegame {

namespace {

// The pulse of a balloon scales it by 1 + 0.05 sin(...), about its point.
constexpr double kPulse = 0.05;
constexpr double kPulseScales[] = {1.0 - kPulse, 1.0 - kPulse / 2, 1.0, 1.0 + kPulse / 2, 1.0 + kPulse};
constexpr int kBalloonStep = 2;
// Below the coaster, the counter's front.
constexpr int kFrontDx[] = {-10, -5, 0, 5, 10};
constexpr int kFrontDy[] = {20, 35, 50, 65};

// A sprite's picture as it stands on the screen at scale 1: its canvas
// pixels, its top-left corner and its point.
struct Drawn {
    int nLeft = 0, nTop = 0, nWidth = 0, nHeight = 0, nX = 0, nY = 0, nInsX = 0, nInsY = 0;
    std::vector<Color> vPixels;

    explicit Drawn(const Sprite& sprite) {
        const Zep::SmartPtr<Image> pImage = sprite.getImage();
        nX = sprite.getX();
        nY = sprite.getY();
        nWidth = pImage->getWidth();
        nHeight = pImage->getHeight();
        nInsX = pImage->getInsPointX();
        nInsY = pImage->getInsPointY();
        nLeft = nX - nInsX;
        nTop = nY - nInsY;
        int nDataX = 0, nDataY = 0;
        pImage->getDataOffset(&nDataX, &nDataY);
        vPixels.reserve(static_cast<size_t>(nWidth * nHeight));
        for (int y = 0; y < nHeight; ++y)
            for (int x = 0; x < nWidth; ++x) {
                const bool bData = x >= nDataX && y >= nDataY && x < nDataX + pImage->getDataWidth() &&
                                   y < nDataY + pImage->getDataHeight();
                vPixels.push_back(bData ? pImage->getPixel(x, y) : Color(0, 0, 0, 0));
            }
    }
    // The canvas pixel under the screen point, the picture scaled by f about
    // its point; clear outside the canvas.
    Color at(int sx, int sy, double f = 1.0) const {
        const int x = static_cast<int>(std::floor(nInsX + (sx - nX) / f));
        const int y = static_cast<int>(std::floor(nInsY + (sy - nY) / f));
        if (x < 0 || y < 0 || x >= nWidth || y >= nHeight) return Color(0, 0, 0, 0);
        return vPixels[static_cast<size_t>(y * nWidth + x)];
    }
    Box box() const { return {nLeft, nTop, nLeft + nWidth, nTop + nHeight}; }
};

uint32_t rgb(const Color& c) {
    return (static_cast<uint32_t>(c.getRed()) << 16) | (static_cast<uint32_t>(c.getGreen()) << 8) | c.getBlue();
}

Box boxOf(const Sprite& sprite) { return Drawn(sprite).box(); }

// ---- Coasters --------------------------------------------------------------------------

// The mug layers as they stand on the coaster, for each of the glasses.
std::vector<std::vector<Drawn>> mugsOn(PlayMode& level, GlassSpot& coaster) {
    std::vector<std::vector<Drawn>> vMugs;
    for (int nBeverage = 0; nBeverage < Mug::BT_BEVERAGE_COUNT; ++nBeverage) {
        const Zep::SmartPtr<Mug> pMug = Mug::create(&level, Mug::beverageName(nBeverage));
        if (pMug.isNULL()) continue;
        Zep::List<int> lLiquids;
        lLiquids.add(0);
        lLiquids.add(0);
        pMug->setLiquids(lLiquids);
        pMug->fill();
        level.getLevelData().m_lMugs.add(pMug);
        coaster.putMug(pMug, true);
        std::vector<Drawn> vLayers;
        for (const auto& pLayer : {pMug->getSprite(), pMug->getLowerLayer(), pMug->getUpperLayer(),
                                   pMug->getFrontLayer()})
            if (pLayer.notNULL() && pLayer->getImage().notNULL()) vLayers.emplace_back(*pLayer);
        vMugs.push_back(std::move(vLayers));
        coaster.takeMug();
        level.removeMug(pMug);
    }
    return vMugs;
}

BarCoaster coasterOf(PlayMode& level, GlassSpot& coaster) {
    BarCoaster c;
    const Drawn picture(*coaster.getSprite());
    const Box box = picture.box();
    c.nClickX = (box.nLeft + box.nRight) / 2;
    c.nClickY = (box.nTop + box.nBottom) / 2;
    const std::vector<std::vector<Drawn>> vMugs = mugsOn(level, coaster);
    for (int y = box.nTop; y < box.nBottom; ++y)
        for (int x = box.nLeft; x < box.nRight; ++x) {
            if (picture.at(x, y).getAlpha() != 255) continue;
            bool bCovered = !vMugs.empty();
            for (const std::vector<Drawn>& vLayers : vMugs)
                bCovered = bCovered && std::any_of(vLayers.begin(), vLayers.end(), [&](const Drawn& layer) {
                               return layer.at(x, y).getAlpha() == 255;
                           });
            if (!bCovered) continue;
            c.covered.vPoints.push_back({x, y});
            c.covered.vColours.push_back(rgb(picture.at(x, y)));
        }
    for (int dy : kFrontDy)
        for (int dx : kFrontDx) c.vFront.push_back({c.nClickX + dx, box.nBottom + dy});
    return c;
}

// ---- Seats and balloons --------------------------------------------------------------------

struct Balloon {
    int nSeat = 0;
    std::vector<Drawn> vLooks;  // the pictures of the balloon's looks
};

// A customer seated at every ordinary seat, calling: their balloons.
std::vector<Balloon> balloonsOf(PlayMode& level, SpawnManager& spawner, int nSeats) {
    for (int i = 0; i < nSeats * 4 && level.getCharacters().getCount() < nSeats; ++i) spawner.spawn();
    std::vector<Balloon> vBalloons;
    for (const Zep::SmartPtr<Character>& pCustomer : level.getCharacters()) {
        if (pCustomer->getSpot() >= nSeats) continue;
        pCustomer->setState(Character::kStanding);
        pCustomer->setState(Character::kCalling);
        Balloon balloon;
        balloon.nSeat = pCustomer->getSpot();
        for (const Zep::SmartPtr<Sprite>& pPicture : pCustomer->getBalloon()->getPictures())
            balloon.vLooks.emplace_back(*pPicture);
        if (!balloon.vLooks.empty()) vBalloons.push_back(std::move(balloon));
    }
    std::sort(vBalloons.begin(), vBalloons.end(), [](const Balloon& a, const Balloon& b) { return a.nSeat < b.nSeat; });
    return vBalloons;
}

int pulseOf(int nFromPoint) { return static_cast<int>(std::ceil(std::abs(nFromPoint) * kPulse)) + 1; }

bool opaqueEverywhere(const Balloon& balloon, int x, int y) {
    for (double f : kPulseScales)
        for (const Drawn& look : balloon.vLooks)
            if (look.at(x, y, f).getAlpha() != 255) return false;
    return true;
}

bool clearEverywhere(const Balloon& balloon, int x, int y) {
    for (double f : kPulseScales)
        for (const Drawn& look : balloon.vLooks)
            if (look.at(x, y, f).getAlpha() != 0) return false;
    return true;
}

void fillBalloons(BarMap& map, const std::vector<Balloon>& vBalloons) {
    for (const Balloon& balloon : vBalloons) {
        BarSeat& seat = map.vSeats[static_cast<size_t>(balloon.nSeat)];
        const Drawn& look = balloon.vLooks.front();
        seat.balloon = look.box();
        seat.nPulseX = pulseOf(std::max(look.nInsX, look.nWidth - look.nInsX));
        seat.nPulseTop = pulseOf(look.nInsY);
        seat.nPulseBottom = pulseOf(look.nInsY - look.nHeight);
        const Box area = seat.balloon.grown(seat.nPulseX, seat.nPulseTop);
        for (int y = area.nTop; y < area.nBottom; y += kBalloonStep)
            for (int x = area.nLeft; x < area.nRight; x += kBalloonStep) {
                if (!opaqueEverywhere(balloon, x, y)) continue;
                const bool bAlone = std::all_of(vBalloons.begin(), vBalloons.end(), [&](const Balloon& other) {
                    return &other == &balloon || clearEverywhere(other, x, y);
                });
                if (bAlone) seat.vBalloonPoints.push_back({x, y});
            }
    }
}

// Each seat clicked where no other seat's box reaches, below every balloon.
void fillSeatClicks(BarMap& map, const std::vector<Box>& vSeatBoxes) {
    int nBelowBalloons = 0;
    for (const BarSeat& seat : map.vSeats)
        nBelowBalloons = std::max(nBelowBalloons, seat.balloon.nBottom + seat.nPulseBottom + 4);
    for (size_t i = 0; i < vSeatBoxes.size(); ++i) {
        const Box& box = vSeatBoxes[i];
        int nLeft = box.nLeft, nRight = box.nRight;
        for (size_t j = 0; j < vSeatBoxes.size(); ++j) {
            if (j == i) continue;
            const Box& other = vSeatBoxes[j];
            if (other.nLeft <= nLeft && other.nRight > nLeft) nLeft = other.nRight;
            if (other.nRight >= nRight && other.nLeft < nRight) nRight = other.nLeft;
        }
        const int nTop = std::max(box.nTop, nBelowBalloons);
        map.vSeats[i].nClickX = (nLeft + nRight) / 2;
        map.vSeats[i].nClickY = (nTop + box.nBottom) / 2;
    }
}

}  // namespace

BarMap readBarMap() {
    BarMap map;
    TUKPlayer player;
    PlayMode level(&player, nullptr, "scene0", 0, 0, 1);
    level.loadScene();
    tuneLevel(level.getLevelData(), 0, 0, 1);
    map.nMoneyGoal = level.getLevelData().m_nMoneyGoal;
    for (const Zep::SmartPtr<GlassSpot>& pCoaster : level.getGlassSpots())
        if (pCoaster->isBarmanSpot() && pCoaster->getSprite().notNULL())
            map.vCoasters.push_back(coasterOf(level, *pCoaster));
    const Zep::SmartPtr<TrashBin> pSink = level.findTrashBin();
    if (pSink.notNULL() && pSink->getSprite().notNULL()) {
        const Box box = boxOf(*pSink->getSprite());
        map.nSinkX = (box.nLeft + box.nRight) / 2;
        map.nSinkY = (box.nTop + box.nBottom) / 2;
    }
    const LevelData& data = level.getLevelData();
    std::vector<Box> vSeatBoxes;
    for (int i = 0; i < data.m_nOrdinarySpots && i < data.m_lCharacterSpots.getCount(); ++i)
        vSeatBoxes.push_back(boxOf(*data.m_lCharacterSpots.get(i)->getSprite()));
    map.vSeats.resize(vSeatBoxes.size());
    SpawnManager spawner(&level);
    const std::vector<Balloon> vBalloons = balloonsOf(level, spawner, static_cast<int>(vSeatBoxes.size()));
    fillBalloons(map, vBalloons);
    fillSeatClicks(map, vSeatBoxes);
    EXPECT_TRUE(pSink.notNULL() && !map.vCoasters.empty() && !map.vSeats.empty() &&
                vBalloons.size() == map.vSeats.size());
    // Enough points to tell each balloon and each mug apart.
    for (size_t i = 0; i < map.vSeats.size(); ++i)
        EXPECT_GE(map.vSeats[i].vBalloonPoints.size(), 4u) << "seat " << i;
    for (size_t j = 0; j < map.vCoasters.size(); ++j)
        EXPECT_GE(map.vCoasters[j].covered.vPoints.size(), 10u) << "coaster " << j;
    return map;
}

float patchShare(const testkit::XScreen::Shot& shot, const Patch& patch) {
    if (patch.vPoints.empty()) return 0.0f;
    size_t n = 0;
    for (size_t i = 0; i < patch.vPoints.size(); ++i)
        n += distance(shot.at(patch.vPoints[i].first, patch.vPoints[i].second), patch.vColours[i]) <= 12 ? 1 : 0;
    return static_cast<float>(n) / static_cast<float>(patch.vPoints.size());
}

int distance(uint32_t a, uint32_t b) {
    int n = 0;
    for (int nShift : {0, 8, 16})
        n += std::abs(static_cast<int>((a >> nShift) & 0xFF) - static_cast<int>((b >> nShift) & 0xFF));
    return n;
}

}  // namespace wholegame

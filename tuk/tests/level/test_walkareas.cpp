// Walk areas: paths over linked areas and their doors, preferred lines per
// heading, and the waitress's path walk over random sets of areas.
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "actors/barfixture.h"
#include "level/playmode.h"
#include "sprite/spritetest_util.h"
#include "level/walkareas.h"

namespace {

std::string pathText(const WalkAreas& areas, int nFromX, int nFromY, int nToX, int nToY) {
    Zep::List<Point> lWaypoints;
    if (!areas.findPath(nFromX, nFromY, nToX, nToY, &lWaypoints)) return "none";
    std::string s;
    for (const Point& p : lWaypoints)
        s.append(s.empty() ? "" : " ")
            .append(std::to_string(truncToInt(p.x)))
            .append(",")
            .append(std::to_string(truncToInt(p.y)));
    return s;
}

}  // namespace

TEST(WalkAreasTest, PathsRunThroughTheDoorsOfTheFewestLinkedAreas) {
    const struct {
        std::vector<Rect> vRects;
        int nFromX, nFromY, nToX, nToY;
        const char* szPath;
    } kRows[] = {
        // One area; two bands sharing four rows, the door in their middle.
        {{Rect(0, 400, 800, 532), Rect(0, 528, 800, 640)}, 100, 420, 700, 450, "700,450"},
        {{Rect(0, 400, 800, 532), Rect(0, 528, 800, 640)}, 100, 420, 700, 600, "400,530 700,600"},
        {{Rect(0, 400, 800, 532), Rect(0, 528, 800, 640)}, 700, 600, 100, 420, "400,530 100,420"},
        // Touching at an edge is no link; one shared pixel is.
        {{Rect(0, 0, 100, 100), Rect(100, 0, 200, 100)}, 50, 50, 150, 50, "none"},
        {{Rect(0, 0, 100, 100), Rect(99, 99, 200, 200)}, 10, 10, 150, 150, "99,99 150,150"},
        // The fewest areas over the shortest way; on a tie the area added first.
        {{Rect(0, 0, 100, 100), Rect(90, 0, 200, 100), Rect(190, 0, 300, 100), Rect(290, 0, 400, 100),
          Rect(50, 90, 350, 200)},
         10, 10, 390, 10, "75,95 320,95 390,10"},
        {{Rect(0, 0, 100, 100), Rect(90, 0, 200, 50), Rect(90, 50, 200, 100), Rect(190, 0, 300, 100)},
         10, 80, 250, 80, "95,25 195,25 250,80"},
        // Halved down, also left of zero.
        {{Rect(-10, -10, 0, 0), Rect(-1, -1, 50, 50)}, -5, -5, 20, 20, "-1,-1 20,20"},
        // Start or target outside every area; an island.
        {{Rect(0, 0, 100, 100)}, 500, 500, 50, 50, "none"},
        {{Rect(0, 0, 100, 100)}, 50, 50, 100, 50, "none"},
        {{Rect(0, 0, 100, 100), Rect(50, 50, 150, 150), Rect(300, 0, 400, 100)}, 10, 10, 350, 50, "none"},
    };
    for (const auto& row : kRows) {
        WalkAreas areas;
        for (const Rect& rect : row.vRects) areas.add(rect, 0);
        EXPECT_EQ(pathText(areas, row.nFromX, row.nFromY, row.nToX, row.nToY), row.szPath)
            << row.nFromX << "," << row.nFromY << " to " << row.nToX << "," << row.nToY;
    }
}

TEST(WalkAreasTest, NearestPointIsTheClosestPixelOfAnyAreaTheFirstOnATie) {
    const std::vector<Rect> kBar = {Rect(0, 400, 800, 532), Rect(0, 528, 800, 640)};
    const struct {
        std::vector<Rect> vRects;
        int x, y;
        bool bFound;
        int nX, nY;
    } kRows[] = {
        // Above, below, beside and inside the bar's two bands.
        {kBar, 597, 351, true, 597, 400},  {kBar, 100, 700, true, 100, 639}, {kBar, 900, 450, true, 799, 450},
        {kBar, -5, -5, true, 0, 400},      {kBar, 400, 530, true, 400, 530},
        // The nearer of two; on a tie the one added first.
        {{Rect(0, 0, 10, 10), Rect(20, 0, 30, 10)}, 15, 5, true, 20, 5},
        {{Rect(0, 0, 10, 10), Rect(19, 0, 29, 10)}, 14, 5, true, 9, 5},
        {{Rect(0, 0, 10, 10), Rect(8, 20, 30, 30)}, 20, 14, true, 20, 20},
        // Areas without a pixel do not count; with none the point stays.
        {{Rect(0, 0, 0, 10), Rect(50, 50, 60, 60)}, 0, 5, true, 50, 50},
        {{Rect(5, 5, 5, 50)}, 1, 2, false, 1, 2},
        {{}, 1, 2, false, 1, 2},
        // Far points do not overflow.
        {{Rect(0, 0, 10, 10)}, 2147483647, -2147483647 - 1, true, 9, 0},
    };
    for (const auto& row : kRows) {
        WalkAreas areas;
        for (const Rect& rect : row.vRects) areas.add(rect, 0);
        int x = row.x, y = row.y;
        EXPECT_EQ(areas.nearestPoint(&x, &y), row.bFound) << row.x << "," << row.y;
        EXPECT_EQ(std::to_string(x) + "," + std::to_string(y), std::to_string(row.nX) + "," + std::to_string(row.nY))
            << row.x << "," << row.y;
        if (row.bFound) {
            EXPECT_GE(areas.find(x, y), 0) << row.x << "," << row.y;
        }
    }
}

TEST(WalkAreasTest, PreferredLinesPerHeadingFirstActiveLineWins) {
    WalkAreas areas;
    areas.addPreferredLine(false, 600, Rect(200, 400, 600, 660), WalkAreas::headingMask("ew"));
    areas.addPreferredLine(true, 300, Rect(250, 400, 350, 660), WalkAreas::headingMask("ns"));
    areas.addPreferredLine(false, 500, Rect(0, 0, 800, 660), WalkAreas::headingMask("n"));
    const struct {
        int x, y, nHeading, nX, nY;
    } kRows[] = {{400, 620, 1, 400, 600}, {400, 620, 3, 400, 600}, {320, 620, 1, 320, 600},
                 {320, 620, 0, 300, 620}, {320, 620, 2, 300, 620}, {100, 620, 0, 100, 500},
                 {100, 620, 1, 100, 620}, {600, 620, 1, 600, 620}, {400, 620, -1, 400, 620}};
    for (const auto& row : kRows) {
        int x = row.x, y = row.y;
        areas.applyPreferredLines(&x, &y, row.nHeading);
        EXPECT_EQ(x * 1000 + y, row.nX * 1000 + row.nY) << row.x << "," << row.y << " heading " << row.nHeading;
    }
    const struct {
        const char* szLetters;
        int nMask;
    } kMasks[] = {{"ew", 10}, {"n", 1}, {"swen", 15}, {"", -1}, {"E", -1}, {"ex", -1}};
    for (const auto& row : kMasks) EXPECT_EQ(WalkAreas::headingMask(row.szLetters), row.nMask) << row.szLetters;
}

namespace {

class PathWalkTest : public spritetest::AppWithScreen<> {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        m_app.initCaches();
        bartest::addBarContent(m_app);
    }
};

// Areas joined by shared pixels, by a union-find of their own.
bool joined(const std::vector<Rect>& vRects, int nFrom, int nTo) {
    std::vector<int> vRoot(vRects.size());
    std::iota(vRoot.begin(), vRoot.end(), 0);
    auto root = [&](int n) {
        while (vRoot[n] != n) n = vRoot[n];
        return n;
    };
    for (size_t a = 0; a < vRects.size(); ++a)
        for (size_t b = 0; b < a; ++b)
            if (vRects[a].intersects(vRects[b])) vRoot[root(static_cast<int>(a))] = root(static_cast<int>(b));
    return root(nFrom) == root(nTo);
}

}  // namespace

TEST_F(PathWalkTest, WalkAcrossTwoAreasStandsOnTheDoorAndShowsTheMarkerMeanwhile) {
    const struct {
        Rect first, second;
        int x, y, nToX, nToY, nDoorX, nDoorY;
        float fDelta;
    } kRows[] = {
        {Rect(0, 400, 800, 532), Rect(0, 528, 800, 640), 400, 620, 100, 420, 400, 530, 0.016f},
        // A door of one pixel, reached from 2 pixels above it: the next leg
        // starts on it, not beside it where it would leave both areas.
        {Rect(0, 400, 100, 500), Rect(99, 499, 500, 600), 98, 497, 400, 499, 99, 499, 0.004f},
    };
    for (const auto& row : kRows) {
        PlayMode mode(nullptr, nullptr, "scene0", 0, 0, 1);
        mode.addWalkArea(row.first, 200);
        mode.addWalkArea(row.second, 400);
        mode.getLevelData().m_pWaitress = new Waitress(&mode, "char0_odile", row.x, row.y, 2);
        Waitress& she = *mode.getLevelData().m_pWaitress;
        const int nToDepth = mode.getWalkAreaDepth(row.nToX, row.nToY);
        mode.walkWaitressTo(row.nToX, row.nToY);
        ASSERT_TRUE(mode.isWaitressWalking());
        Zep::SmartPtr<Sprite> pMarker = mode.getWalkMarker();
        ASSERT_TRUE(pMarker.notNULL());
        EXPECT_TRUE(pMarker->isVisible() && mode.containsSprite(pMarker));
        EXPECT_EQ(pMarker->getX() * 1000 + pMarker->getY(), row.nToX * 1000 + row.nToY);
        EXPECT_EQ(pMarker->getZOrder(), nToDepth - 1);
        bool bOnDoor = false;
        for (int i = 0; i < 1000 && mode.isWaitressWalking(); ++i) {
            mode.onUpdate(row.fDelta);
            bOnDoor = bOnDoor || (she.getX() == row.nDoorX && she.getY() == row.nDoorY);
        }
        EXPECT_TRUE(bOnDoor) << row.x;
        EXPECT_FALSE(mode.isWaitressWalking() || pMarker->isVisible()) << row.x;
        EXPECT_LE(std::abs(she.getX() - row.nToX) + std::abs(she.getY() - row.nToY), 2) << row.x;
        EXPECT_EQ(she.getBodySprite()->getZOrder(), nToDepth) << row.x;
    }
}

TEST_F(PathWalkTest, RandomAreasWalksStayInsideAndEndAtTheTargetUnreachableOnesNeverStart) {
    int nWalks = 0, nRefused = 0, nDoors = 0, nMoved = 0;
    for (unsigned nSeed = 1; nSeed <= 300; ++nSeed) {
        std::mt19937 rng(nSeed);
        auto pick = [&](int nFrom, int nTo) { return std::uniform_int_distribution<int>(nFrom, nTo)(rng); };
        std::vector<Rect> vRects;
        PlayMode mode(nullptr, nullptr, "scene0", 0, 0, 1);
        // Odd seeds: free rectangles; even ones: cells of a grid, their
        // edges moved by up to 2 pixels, so that neighbours overlap by a few
        // pixels, touch, or leave a gap.
        for (int i = pick(1, 6); i > 0; --i) {
            if (nSeed % 2) {
                const int x = pick(0, 600), y = pick(350, 550), w = pick(1, 400), h = pick(1, 150);
                vRects.push_back(Rect(x, y, x + w, y + h));
            } else {
                const int nCol = pick(0, 5), nRow = pick(0, 2), nEndCol = pick(nCol + 1, 7);
                const int nEndRow = pick(nRow + 1, 3), aMoves[4] = {pick(0, 2), pick(0, 2), pick(0, 2), pick(0, 2)};
                vRects.push_back(Rect(100 * nCol - aMoves[0], 350 + 80 * nRow - aMoves[1],
                                      100 * nEndCol + aMoves[2], 350 + 80 * nEndRow + aMoves[3]));
            }
            mode.addWalkArea(vRects.back(), 100 + 10 * i);
        }
        const int nStartArea = pick(0, static_cast<int>(vRects.size()) - 1);
        const Rect& start = vRects[static_cast<size_t>(nStartArea)];
        const int nX = pick(start.getLeft(), start.getRight() - 1), nY = pick(start.getTop(), start.getBottom() - 1);
        // Mostly a point of some area, else anywhere.
        const Rect& to = vRects[static_cast<size_t>(pick(0, static_cast<int>(vRects.size()) - 1))];
        const bool bAnywhere = pick(0, 3) == 0;
        const int nPickedX = bAnywhere ? pick(0, 800) : pick(to.getLeft(), to.getRight() - 1);
        const int nPickedY = bAnywhere ? pick(280, 780) : pick(to.getTop(), to.getBottom() - 1);
        mode.getLevelData().m_pWaitress = new Waitress(&mode, "char0_odile", nX, nY, 2);
        Waitress& she = *mode.getLevelData().m_pWaitress;

        const WalkAreas& areas = mode.getWalkAreas();
        // A target off the areas: their nearest point instead.
        int nToX = nPickedX, nToY = nPickedY;
        areas.nearestPoint(&nToX, &nToY);
        nMoved += nToX != nPickedX || nToY != nPickedY;
        const int nToArea = areas.find(nToX, nToY);
        const bool bNear = std::abs(nToX - nX) <= 5 && std::abs(nToY - nY) <= 5;
        const bool bReachable = nToArea >= 0 && !bNear && joined(vRects, areas.find(nX, nY), nToArea);
        mode.walkWaitressTo(nPickedX, nPickedY);
        ASSERT_EQ(mode.isWaitressWalking(), bReachable) << "seed " << nSeed;
        if (!bReachable) {
            ++nRefused;
            EXPECT_EQ(she.getX() * 1000 + she.getY(), nX * 1000 + nY) << "seed " << nSeed;
            EXPECT_TRUE(mode.getWalkMarker().isNULL()) << "seed " << nSeed;
            continue;
        }
        ++nWalks;
        Zep::List<Point> lWaypoints;
        areas.findPath(nX, nY, nToX, nToY, &lWaypoints);
        nDoors += lWaypoints.getCount() - 1;
        const float aDelta[] = {0.004f, 0.016f, 0.05f};
        for (int nFrame = 0; mode.isWaitressWalking() && nFrame < 20000; ++nFrame) {
            mode.onUpdate(aDelta[nFrame % 3]);
            ASSERT_GE(areas.find(she.getX(), she.getY()), 0) << "seed " << nSeed << " frame " << nFrame;
        }
        EXPECT_FALSE(mode.isWaitressWalking()) << "seed " << nSeed;
        float fX = 0.0f, fY = 0.0f;
        she.getPositionF(&fX, &fY);
        EXPECT_LE(std::abs(fX - static_cast<float>(nToX)), 2.0f) << "seed " << nSeed;
        EXPECT_LE(std::abs(fY - static_cast<float>(nToY)), 2.0f) << "seed " << nSeed;
    }
    // Every kind of case occurs.
    EXPECT_GT(nWalks, 100);
    EXPECT_GT(nDoors, 40);
    EXPECT_GT(nRefused, 50);
    EXPECT_GT(nMoved, 20);
}

// Geometry routines on points, rectangles and point lists, and Polygon.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../../../zep2/tests/test_util.h"
#include "base/polygon.h"

using testutil::messageOf;

namespace {

Zep::List<Point> points(std::initializer_list<Point> items) {
    Zep::List<Point> l;
    for (const Point& p : items) l.add(p);
    return l;
}

std::vector<Point> toVector(const Zep::List<Point>& l) { return std::vector<Point>(l.begin(), l.end()); }

// Clockwise on a y-down screen.
Zep::List<Point> square() { return points({{0, 0}, {10, 0}, {10, 10}, {0, 10}}); }

void expectNear(const Point& p, float x, float y, float tolerance) {
    EXPECT_NEAR(p.x, x, tolerance);
    EXPECT_NEAR(p.y, y, tolerance);
}

}  // namespace

TEST(SegmentTest, CirclesAndRects) {
    float t1 = -1, t2 = -1;
    ASSERT_TRUE(intersectSegmentCircle(Point(0, 0), Point(10, 0), Point(5, 0), 2, &t1, &t2));
    EXPECT_EQ(std::make_pair(t1, t2), std::make_pair(0.3f, 0.7f));
    EXPECT_FALSE(intersectSegmentCircle(Point(0, 0), Point(10, 0), Point(5, 3), 2, &t1, &t2));
    // The line, not the segment: roots may lie outside [0, 1].
    ASSERT_TRUE(intersectSegmentCircle(Point(0, 0), Point(1, 0), Point(5, 0), 1, &t1, &t2));
    EXPECT_EQ(std::make_pair(t1, t2), std::make_pair(4.0f, 6.0f));
    // A segment of no length meets no circle and leaves the roots alone.
    EXPECT_FALSE(intersectSegmentCircle(Point(5, 0), Point(5, 0), Point(5, 0), 2, &t1, &t2));
    EXPECT_EQ(t1, 4.0f);

    float t = -1;
    EXPECT_TRUE(sweptCircleHitsCircle(Point(0, 0), Point(10, 0), 1, Point(8, 0), 1, &t));
    EXPECT_FLOAT_EQ(t, 0.6f);
    EXPECT_FALSE(sweptCircleHitsCircle(Point(7, 0), Point(10, 0), 1, Point(8, 0), 1, &t));  // overlapping at the start
    EXPECT_FALSE(sweptCircleHitsCircle(Point(0, 0), Point(5, 0), 1, Point(8, 0), 1, &t));   // too short to arrive
    EXPECT_FALSE(sweptCircleHitsCircle(Point(7, 0), Point(7, 0), 1, Point(8, 0), 1, &t));   // standing still

    // Just outside the corner, across it, one end inside, then straight lines.
    const std::tuple<Point, Point, bool> kSegments[] = {
        {{-2, 1}, {1, -2}, false}, {{-2, 3}, {3, -2}, true},    {{5, 5}, {50, 70}, true},
        {{-5, 5}, {15, 5}, true},  {{-5, -5}, {15, -5}, false}, {{20, 0}, {20, 10}, false}};
    for (const auto& [a, b, bHit] : kSegments) EXPECT_EQ(segmentIntersectsRect(a, b, Rect(0, 0, 10, 10)), bHit);
}

TEST(SpiralTest, RingsCoverEveryCellOnce) {
    // The first ten cells with their rings; every cell of rings 0 to 3 once.
    std::string sFirst;
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < 49; ++i) {
        int nRing = -1;
        const Point p = spiralOffset(i, &nRing);
        const int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
        if (i < 10) sFirst += std::to_string(x) + "," + std::to_string(y) + "/" + std::to_string(nRing) + " ";
        EXPECT_TRUE(seen.insert({x, y}).second) << i;
        EXPECT_EQ(std::max(std::fabs(p.x), std::fabs(p.y)), static_cast<float>(nRing)) << i;
    }
    EXPECT_EQ(sFirst, "0,0/0 0,-1/1 -1,-1/1 -1,0/1 -1,1/1 0,1/1 1,1/1 1,0/1 1,-1/1 1,-2/2 ");
    EXPECT_EQ(spiralOffset(9), Point(1, -2));
    // Large indexes stay on their ring: the float root of 8193^2 - 1 rounds
    // up to 8193, one ring too far.
    int nRing = -1, nNext = -1;
    EXPECT_EQ(spiralOffset(8193 * 8193 - 1, &nRing), Point(4096, -4096));
    EXPECT_EQ(spiralOffset(8193 * 8193, &nNext), Point(4096, -4097));
    EXPECT_EQ(std::make_pair(nRing, nNext), std::make_pair(4096, 4097));
    EXPECT_EQ(messageOf<Zep::AssertFailException>([] { spiralOffset(-1); }), "Assertion failed : nIdx >= 0");
}

TEST(RotatedBoxTest, HalfExtentsAndBounds) {
    for (float a : {90.0f, 270.0f, -90.0f}) expectNear(rotatedHalfExtents(Point(4, 2), a), 2, 4, 1e-5f);
    for (float a : {45.0f, 225.0f})
        expectNear(rotatedHalfExtents(Point(1, 1), a), std::sqrt(2.0f), std::sqrt(2.0f), 1e-5f);
    // The bounds are those of the rotated corners.
    const Point tl0(-3, 1), br0(7, 4);
    for (int a = -360; a <= 720; a += 15) {
        Point tl = tl0, br = br0;
        rotateRectBounds(tl, br, static_cast<float>(a));
        Point lo(1e9f, 1e9f), hi(-1e9f, -1e9f);
        for (const Point& c : {tl0, br0, Point(tl0.x, br0.y), Point(br0.x, tl0.y)}) {
            const Point r = rotatePoint(c, static_cast<float>(a));
            lo = Point(std::min(lo.x, r.x), std::min(lo.y, r.y));
            hi = Point(std::max(hi.x, r.x), std::max(hi.y, r.y));
        }
        expectNear(tl, lo.x, lo.y, 1e-4f);
        expectNear(br, hi.x, hi.y, 1e-4f);
    }
}

TEST(RotatedBoxTest, FlatBoxesAtQuadrantBordersPassAndInvertedRectsAssert) {
    for (float a : {0.0f, 90.0f, 180.0f, 270.0f, 360.0f, -90.0f}) {
        for (float d : {-1e-3f, 0.0f, 1e-3f}) {
            for (auto [tl, br] : {std::pair{Point(-5, 0), Point(5, 0)}, {Point(0, -5), Point(0, 5)}})
                EXPECT_NO_THROW(rotateRectBounds(tl, br, a + d)) << a + d;
        }
    }
    for (auto [tl, br, szMessage] : {std::tuple{Point(5, -5), Point(-5, 5), "Assertion failed : fRight >= fLeft"},
                                     {Point(-5, 5), Point(5, -5), "Assertion failed : fBottom >= fTop"}})
        EXPECT_EQ(messageOf<Zep::AssertFailException>([&tl = tl, &br = br] { rotateRectBounds(tl, br, 0); }), szMessage);
}

TEST(RotatedBoxTest, OverlapAtTheLimits) {
    const Point size(10, 10), small(4, 4), thin(40, 2), tall(2, 40);
    // Centre, size and angle of either box, and whether they overlap.
    const std::tuple<Point, Point, float, Point, Point, float, bool> cases[] = {
        // Touching corners overlap.
        {{0, 0}, size, 0, {10, 10}, size, 0, true},
        {{0, 0}, size, 0, {10.5f, 0}, size, 0, false},   {{0, 0}, size, 0, {10, 10.5f}, size, 0, false},
        // A diamond reaches 7.07 from its centre: corner to edge; then two diamonds on the diagonal line.
        {{0, 0}, size, 0, {12, 0}, size, 45, true},       {{0, 0}, size, 0, {12.2f, 0}, size, 45, false},
        {{0, 0}, size, 45, {14.1f, 0}, size, 45, true},   {{0, 0}, size, 45, {14.2f, 0}, size, 45, false},
        // A long thin box at 45 degrees near a small box's corner: only the
        // thin box's axes separate them.
        {{0, 0}, thin, 45, {8, -8}, small, 0, false},     {{0, 0}, thin, 45, {8, 8}, small, 0, true},
        // The quick rejection uses the larger half extent.
        {{0, 0}, tall, 0, {0, 20.5f}, small / 2, 0, true}, {{0, 0}, tall, 90, {20.5f, 0}, small / 2, 0, true},
        {{0, 0}, tall, 90, {0, 20.5f}, small / 2, 0, false},
    };
    for (const auto& [centreA, sizeA, fAngleA, centreB, sizeB, fAngleB, bOverlap] : cases) {
        EXPECT_EQ(orientedBoxesOverlap(centreA, sizeA, fAngleA, centreB, sizeB, fAngleB), bOverlap)
            << centreB.x << "," << centreB.y << " at " << fAngleA << "/" << fAngleB;
    }
}

TEST(PointListTest, ClockwiseAndConvexity) {
    EXPECT_TRUE(isPolygonClockwise(square()));
    EXPECT_FALSE(isPolygonClockwise(points({{0, 0}, {0, 10}, {10, 10}, {10, 0}})));
    // Only the first clear turn decides; repeated and straight vertices are skipped.
    EXPECT_TRUE(isPolygonClockwise(points({{0, 0}, {0, 0}, {5, 0}, {10, 0}, {10, 10}})));
    for (auto line : {points({{0, 0}, {5, 5}, {10, 10}}), points({{1, 1}, {1, 1}, {1, 1}})}) {
        EXPECT_EQ(messageOf<Zep::FatalErrorException>([&] { isPolygonClockwise(line); }),
                  "Degenerate polygon passed to isPolygonClockwise()");
    }
    EXPECT_EQ(messageOf<Zep::AssertFailException>([] { isPolygonClockwise(points({{0, 0}, {5, 5}})); }),
              "Assertion failed : lPoints.size() > 2");

    const std::pair<Zep::List<Point>, bool> kConvex[] = {
        {square(), true},
        {points({{0, 0}, {1, 1}}), true},
        {points({{0, 0}, {10, 0}, {5, 5}, {10, 10}, {0, 10}}), false},  // an arrow head
        {points({{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}}), true},   // a straight run between turns
        {points({{0, 0}, {1e-20f, 0}, {2e-20f, 1e-20f}, {3e-20f, 0}}), false},  // tiny turns still count
    };
    for (const auto& [lPoints, bConvex] : kConvex) EXPECT_EQ(isPolylineConvex(lPoints), bConvex);
}

TEST(PointListTest, PointInPolygon) {
    // Top and left edges are inside, right and bottom edges outside; of the
    // vertices only the top-left one is in. The U shape is open at the top.
    const Zep::List<Point> sq = square();
    const Zep::List<Point> u = points({{0, 0}, {3, 0}, {3, 7}, {7, 7}, {7, 0}, {10, 0}, {10, 10}, {0, 10}});
    const std::tuple<const Zep::List<Point>*, Point, bool> cases[] = {
        {&sq, {5, 5}, true},   {&sq, {10, 5}, false}, {&sq, {5, 0}, true},   {&sq, {5, 10}, false},
        {&sq, {0, 5}, true},   {&sq, {0, 0}, true},   {&sq, {10, 0}, false}, {&sq, {10, 10}, false},
        {&sq, {0, 10}, false}, {&sq, {-1, 5}, false}, {&u, {1, 5}, true},    {&u, {5, 5}, false},
        {&u, {5, 8}, true},
    };
    for (const auto& [pList, p, bInside] : cases) EXPECT_EQ(pointInPolygon(*pList, p), bInside) << p.x << "," << p.y;
    EXPECT_FALSE(pointInPolygon(Zep::List<Point>(), Point(0, 0)));
}

TEST(ConvexHullTest, HullsRunClockwiseAndHoldEveryPoint) {
    Zep::List<Point> cloud;
    for (int i = 0; i < 64; ++i) {
        cloud.add(rotatePoint(Point(static_cast<float>(10 + (i % 3)), 0), static_cast<float>(i) * 5.625f));
        cloud.add(Point(static_cast<float>(i % 7) - 3.0f, static_cast<float>(i % 5) - 2.0f));
    }
    const Zep::List<Point> hull = convexHull(cloud);
    EXPECT_GE(hull.getCount(), 20);
    EXPECT_TRUE(isPolygonClockwise(hull));
    const std::vector<Point> h = toVector(hull);
    for (size_t i = 0; i < h.size(); ++i) {
        for (const Point& p : cloud) EXPECT_GE(cross(h[(i + 1) % h.size()] - h[i], p - h[i]), -1e-3f);
    }
    // Points on the line between the extremes join the second side; a
    // vertical line keeps both of its ends.
    const std::pair<Zep::List<Point>, std::vector<Point>> kCases[] = {
        {points({{5, 5}, {0, 0}, {10, 0}, {3, 4}, {10, 10}, {0, 10}, {2, 8}}), {{10, 10}, {0, 10}, {0, 0}, {10, 0}}},
        {points({{1, 2}, {3, 4}}), {{1, 2}, {3, 4}}},
        {points({{0, 0}, {5, 0}, {10, 0}}), {{0, 0}, {5, 0}, {10, 0}}},
        {points({{0, 5}, {0, 0}, {0, 10}}), {{0, 0}, {0, 5}, {0, 10}}},
        {points({{2, 2}, {2, 2}, {2, 2}}), {{2, 2}}},
    };
    for (const auto& [lPoints, expected] : kCases) EXPECT_EQ(toVector(convexHull(lPoints)), expected);
}

TEST(PolygonTest, CacheRunsClockwiseClosesAndDropsRepeats) {
    Polygon poly(points({{0, 0}, {0, 10}, {10, 10}, {10, 0}}));
    EXPECT_EQ(toVector(poly.getPoints()), (std::vector<Point>{{10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}}));
    EXPECT_TRUE(poly.getEdgeCount() == 4 && poly.isConvex());
    EXPECT_FALSE(Polygon(points({{0, 0}, {10, 0}, {5, 5}, {10, 10}, {0, 10}})).isConvex());

    Polygon repeats(points({{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));
    EXPECT_EQ(repeats.getEdgeCount(), 4);
    EXPECT_EQ(repeats.locate(Point(15, 5)), 3);
    // Setting a polygon's own closed point list again changes nothing.
    EXPECT_EQ(toVector(Polygon(repeats.getPoints()).getPoints()), toVector(repeats.getPoints()));
}

TEST(PolygonTest, DegeneratePolygonThrowsAndStaysUnbuilt) {
    Polygon poly;
    EXPECT_THROW(poly.locate(Point(0, 0)), Zep::AssertFailException);
    EXPECT_THROW(poly.setPoints(points({{0, 0}, {5, 5}, {10, 10}})), Zep::FatalErrorException);
    // The failed build leaves no half-made cache behind.
    EXPECT_THROW(poly.locate(Point(0, 0)), Zep::FatalErrorException);
    EXPECT_THROW(poly.sweepCircle(Point(0, 0), Point(1, 1), 1, nullptr), Zep::FatalErrorException);
    poly.setPoints(square());
    EXPECT_EQ(poly.locate(Point(5, 5)), -1);
}

TEST(PolygonTest, ClassifyAndLocate) {
    Polygon poly(square());
    // Edge 0 runs from (0, 0) to (10, 0); its outside is y < 0.
    const std::pair<Point, int> classes[] = {
        {{-3, -1}, Polygon::kBeforeEdge}, {{0, -1}, Polygon::kBesideEdge}, {{10, -1}, Polygon::kBesideEdge},
        {{11, -1}, Polygon::kPastEdge},   {{5, 1}, Polygon::kBehindEdge},  {{5, 0}, Polygon::kBesideEdge},
    };
    for (const auto& [p, nClass] : classes) EXPECT_EQ(poly.classifyPoint(0, p), nClass) << p.x << "," << p.y;
    for (int nEdge : {4, -1}) EXPECT_THROW(poly.classifyPoint(nEdge, Point(0, 0)), Zep::AssertFailException);

    // Edge i is feature 2i + 1, vertex i is 2i; on an edge a point is beside
    // it, at a vertex beside the edge that starts there.
    const std::pair<Point, int> features[] = {
        {{5, 5}, -1}, {{5, -3}, 1}, {{13, 5}, 3}, {{5, 13}, 5}, {{-3, 5}, 7}, {{-2, -2}, 0}, {{12, -2}, 2},
        {{12, 12}, 4}, {{-2, 12}, 6}, {{5, 0}, 1}, {{10, 5}, 3}, {{0, 0}, 1}, {{10, 10}, 3},
    };
    for (const auto& [p, nFeature] : features) EXPECT_EQ(poly.locate(p), nFeature) << p.x << "," << p.y;
}

TEST(PolygonTest, SweepAgainstEdgesAndVertices) {
    Polygon poly(square());
    const float inf = std::numeric_limits<float>::infinity();
    const Point kUntouched(9, 9);
    // A circle of radius 1 from, to; the time of contact and its normal.
    const std::tuple<Point, Point, float, Point> kCases[] = {
        // Straight down onto the top edge: d1 = 10 - 1 = 9, d2 = -1.
        {{5, -10}, {5, 0}, (9.0f - 0.01f) / 10.0f, {0, -1}},
        {{5, -10}, {5, -2}, 1.0f, kUntouched},  // not reaching it
        // Moving away while in contact, or starting inside: blocked at once.
        {{5, -0.5f}, {5, -10}, 0.0f, {0, -1}},
        {{5, 5}, {50, 5}, 0.0f, kUntouched},
        // Passing a vertex at a distance, a move far from the polygon across
        // regions, a move of no length and a non-finite end: no contact.
        {{-10, -5}, {-5, -10}, 1.0f, kUntouched},
        {{-50, 20}, {60, -40}, 1.0f, kUntouched},
        {{-3, -3}, {-3, -3}, 1.0f, kUntouched},
        {{-3, -3}, {inf, -3}, 1.0f, kUntouched},
    };
    for (const auto& [from, to, fT, expected] : kCases) {
        SCOPED_TRACE(std::to_string(from.x) + "," + std::to_string(from.y));
        Point normal = kUntouched;
        EXPECT_FLOAT_EQ(poly.sweepCircle(from, to, 1, &normal), fT);
        EXPECT_TRUE(fT <= 0.0f || normal == expected) << normal.x << "," << normal.y;
    }
    Point normal;
    // Along the diagonal towards vertex (0, 0), staying in its region.
    EXPECT_NEAR(poly.sweepCircle(Point(-10, -10), Point(-1, -1), 2, &normal), (10.0f - std::sqrt(2.0f)) / 9.0f, 1e-5f);
    expectNear(normal, -std::sqrt(0.5f), -std::sqrt(0.5f), 1e-5f);
    // Already overlapping the vertex: the negative root backs the circle out.
    EXPECT_LT(poly.sweepCircle(Point(-1, -1), Point(-3, -3), 2, &normal), 0.0f);
    // From beside the left edge to beside the top edge, through vertex 0's region:
    // the circle first touches the left edge, at (-1, 1), a little short of it.
    const float t = poly.sweepCircle(Point(-5, 5), Point(5, -5), 1, &normal);
    const Point at = Point(-5, 5) + (Point(5, -5) - Point(-5, 5)) * t;
    expectNear(at, -1.0f, 1.0f, 0.02f);
    EXPECT_LT(at.x, -1.0f);
    EXPECT_EQ(normal, Point(-1, 0));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(std::isnan(poly.sweepCircle(Point(-3, -3), Point(nan, nan), 1, &normal)));
}

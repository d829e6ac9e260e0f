#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <utility>
#include <vector>

#include "polygon.h"

namespace {

Zep::List<Point> points(std::initializer_list<Point> items) {
    Zep::List<Point> l;
    for (const Point& p : items) l.add(p);
    return l;
}

std::vector<Point> toVector(const Zep::List<Point>& l) {
    return std::vector<Point>(l.begin(), l.end());
}

// Clockwise on a y-down screen.
Zep::List<Point> square() {
    return points({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
}

template <class Ex, class Fn>
void expectThrowMessage(Fn&& fn, const char* message) {
    try {
        fn();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const Ex& e) {
        EXPECT_STREQ(e.getMessage(), message);
    }
}

}  // namespace

// Segments, circles and rectangles

TEST(SegmentTest, SegmentCircleRoots) {
    float t1 = -1, t2 = -1;
    ASSERT_TRUE(intersectSegmentCircle(Point(0, 0), Point(10, 0), Point(5, 0), 2, &t1, &t2));
    EXPECT_FLOAT_EQ(t1, 0.3f);
    EXPECT_FLOAT_EQ(t2, 0.7f);
    EXPECT_FALSE(intersectSegmentCircle(Point(0, 0), Point(10, 0), Point(5, 3), 2, &t1, &t2));
    // The line, not the segment: roots may lie outside [0, 1].
    ASSERT_TRUE(intersectSegmentCircle(Point(0, 0), Point(1, 0), Point(5, 0), 1, &t1, &t2));
    EXPECT_FLOAT_EQ(t1, 4.0f);
    EXPECT_FLOAT_EQ(t2, 6.0f);
}

TEST(SegmentTest, SegmentOfNoLengthMeetsNoCircle) {
    float t1 = 7, t2 = 7;
    EXPECT_FALSE(intersectSegmentCircle(Point(5, 0), Point(5, 0), Point(5, 0), 2, &t1, &t2));
    EXPECT_EQ(t1, 7.0f);
    EXPECT_EQ(t2, 7.0f);
}

TEST(SegmentTest, SweptCircles) {
    float t = -1;
    EXPECT_TRUE(sweptCircleHitsCircle(Point(0, 0), Point(10, 0), 1, Point(8, 0), 1, &t));
    EXPECT_FLOAT_EQ(t, 0.6f);
    // Already overlapping at the start: no hit.
    EXPECT_FALSE(sweptCircleHitsCircle(Point(7, 0), Point(10, 0), 1, Point(8, 0), 1, &t));
    // Too short to arrive.
    EXPECT_FALSE(sweptCircleHitsCircle(Point(0, 0), Point(5, 0), 1, Point(8, 0), 1, &t));
    // Standing still never hits.
    EXPECT_FALSE(sweptCircleHitsCircle(Point(7, 0), Point(7, 0), 1, Point(8, 0), 1, &t));
}

TEST(SegmentTest, SegmentAgainstRect) {
    Rect r(0, 0, 10, 10);
    // Diagonally just outside the top-left corner.
    EXPECT_FALSE(segmentIntersectsRect(Point(-2, 1), Point(1, -2), r));
    // Diagonally across the corner.
    EXPECT_TRUE(segmentIntersectsRect(Point(-2, 3), Point(3, -2), r));
    // One end inside.
    EXPECT_TRUE(segmentIntersectsRect(Point(5, 5), Point(50, 70), r));
    EXPECT_TRUE(segmentIntersectsRect(Point(-5, 5), Point(15, 5), r));
    EXPECT_FALSE(segmentIntersectsRect(Point(-5, -5), Point(15, -5), r));
    EXPECT_FALSE(segmentIntersectsRect(Point(20, 0), Point(20, 10), r));
}

TEST(SpiralTest, FirstRings) {
    const std::pair<int, int> expected[] = {{0, 0},  {0, -1}, {-1, -1}, {-1, 0}, {-1, 1},
                                            {0, 1},  {1, 1},  {1, 0},   {1, -1}, {1, -2}};
    for (int i = 0; i < 10; ++i) {
        int nRing = -1;
        Point p = spiralOffset(i, &nRing);
        EXPECT_EQ(p, Point(expected[i].first, expected[i].second)) << "index " << i;
        EXPECT_EQ(nRing, i == 0 ? 0 : (i < 9 ? 1 : 2)) << "index " << i;
    }
    EXPECT_EQ(spiralOffset(9), Point(1, -2));
}

TEST(SpiralTest, EveryCellOnceAndRingsOfEightN) {
    std::set<std::pair<int, int>> seen;
    for (int i = 0; i < 49; ++i) {
        int nRing = -1;
        Point p = spiralOffset(i, &nRing);
        EXPECT_TRUE(seen.insert({static_cast<int>(p.x), static_cast<int>(p.y)}).second);
        EXPECT_EQ(std::max(std::fabs(p.x), std::fabs(p.y)), static_cast<float>(nRing));
    }
    EXPECT_EQ(seen.size(), 49u);  // the full 7 x 7 square
}

TEST(SpiralTest, LargeIndexesStayOnTheirRing) {
    // The float root of 8193^2 - 1 rounds up to 8193, one ring too far.
    int nRing = -1;
    Point p = spiralOffset(8193 * 8193 - 1, &nRing);
    EXPECT_EQ(nRing, 4096);
    EXPECT_EQ(p, Point(4096, -4096));
    p = spiralOffset(8193 * 8193, &nRing);
    EXPECT_EQ(nRing, 4097);
    EXPECT_EQ(p, Point(4096, -4097));
}

TEST(SpiralTest, NegativeIndexAsserts) {
    expectThrowMessage<Zep::AssertFailException>([] { spiralOffset(-1); },
                                                 "Assertion failed : nIdx >= 0");
}

// Rotated boxes

TEST(RotatedBoxTest, HalfExtents) {
    for (float a : {90.0f, 270.0f, -90.0f}) {
        Point e = rotatedHalfExtents(Point(4, 2), a);
        EXPECT_NEAR(e.x, 2, 1e-5f) << a;
        EXPECT_NEAR(e.y, 4, 1e-5f) << a;
    }
    for (float a : {45.0f, 135.0f, 225.0f, 315.0f}) {
        Point e = rotatedHalfExtents(Point(1, 1), a);
        EXPECT_NEAR(e.x, std::sqrt(2.0f), 1e-5f) << a;
        EXPECT_NEAR(e.y, std::sqrt(2.0f), 1e-5f) << a;
    }
}

TEST(RotatedBoxTest, RectBounds) {
    Point tl(-5, -5), br(5, 5);
    rotateRectBounds(tl, br, 45);
    EXPECT_NEAR(tl.x, -7.0710678f, 1e-4f);
    EXPECT_NEAR(tl.y, -7.0710678f, 1e-4f);
    EXPECT_NEAR(br.x, 7.0710678f, 1e-4f);
    EXPECT_NEAR(br.y, 7.0710678f, 1e-4f);

    tl = Point(-5, -5);
    br = Point(5, 5);
    rotateRectBounds(tl, br, 90);
    EXPECT_NEAR(tl.x, -5, 1e-5f);
    EXPECT_NEAR(tl.y, -5, 1e-5f);
    EXPECT_NEAR(br.x, 5, 1e-5f);
    EXPECT_NEAR(br.y, 5, 1e-5f);

    // An off-centre box turned a quarter clockwise about the origin.
    tl = Point(1, 2);
    br = Point(4, 3);
    rotateRectBounds(tl, br, 90);
    EXPECT_NEAR(tl.x, -3, 1e-5f);
    EXPECT_NEAR(tl.y, 1, 1e-5f);
    EXPECT_NEAR(br.x, -2, 1e-5f);
    EXPECT_NEAR(br.y, 4, 1e-5f);
}

TEST(RotatedBoxTest, RectBoundsMatchRotatedCorners) {
    const Point tl0(-3, 1), br0(7, 4);
    for (int a = -360; a <= 720; a += 15) {
        Point tl = tl0, br = br0;
        rotateRectBounds(tl, br, static_cast<float>(a));
        float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
        for (const Point& c : {tl0, br0, Point(tl0.x, br0.y), Point(br0.x, tl0.y)}) {
            Point r = rotatePoint(c, static_cast<float>(a));
            minX = std::min(minX, r.x);
            minY = std::min(minY, r.y);
            maxX = std::max(maxX, r.x);
            maxY = std::max(maxY, r.y);
        }
        EXPECT_NEAR(tl.x, minX, 1e-4f) << a;
        EXPECT_NEAR(tl.y, minY, 1e-4f) << a;
        EXPECT_NEAR(br.x, maxX, 1e-4f) << a;
        EXPECT_NEAR(br.y, maxY, 1e-4f) << a;
    }
}

TEST(RotatedBoxTest, FlatBoxesAtQuadrantBordersPassTheChecks) {
    for (float a : {0.0f, 90.0f, 180.0f, 270.0f, 360.0f, -90.0f}) {
        for (float d : {-1e-3f, 0.0f, 1e-3f}) {
            Point tl(-5, 0), br(5, 0);
            EXPECT_NO_THROW(rotateRectBounds(tl, br, a + d)) << a + d;
            tl = Point(0, -5);
            br = Point(0, 5);
            EXPECT_NO_THROW(rotateRectBounds(tl, br, a + d)) << a + d;
        }
    }
}

TEST(RotatedBoxTest, InvertedRectAsserts) {
    Point tl(5, -5), br(-5, 5);
    expectThrowMessage<Zep::AssertFailException>([&] { rotateRectBounds(tl, br, 0); },
                                                 "Assertion failed : fRight >= fLeft");
    tl = Point(-5, 5);
    br = Point(5, -5);
    expectThrowMessage<Zep::AssertFailException>([&] { rotateRectBounds(tl, br, 0); },
                                                 "Assertion failed : fBottom >= fTop");
}

TEST(RotatedBoxTest, OverlapAtTheLimits) {
    const Point size(10, 10);
    EXPECT_TRUE(orientedBoxesOverlap(Point(0, 0), size, 0, Point(10, 0), size, 0));
    EXPECT_FALSE(orientedBoxesOverlap(Point(0, 0), size, 0, Point(10.5f, 0), size, 0));
    EXPECT_TRUE(orientedBoxesOverlap(Point(0, 0), size, 0, Point(10, 10), size, 0));
    EXPECT_FALSE(orientedBoxesOverlap(Point(0, 0), size, 0, Point(10, 10.5f), size, 0));
    // A diamond reaches 7.07 from its centre: corner to edge.
    EXPECT_TRUE(orientedBoxesOverlap(Point(0, 0), size, 0, Point(12, 0), size, 45));
    EXPECT_FALSE(orientedBoxesOverlap(Point(0, 0), size, 0, Point(12.2f, 0), size, 45));
    // Two diamonds side by side on the diagonal line.
    EXPECT_TRUE(orientedBoxesOverlap(Point(0, 0), size, 45, Point(14.1f, 0), size, 45));
    EXPECT_FALSE(orientedBoxesOverlap(Point(0, 0), size, 45, Point(14.2f, 0), size, 45));
}

TEST(RotatedBoxTest, OverlapNeedsBothAxes) {
    // A long thin box at 45 degrees passes near a small box's corner: the
    // small box's axes alone do not separate them, the thin box's do.
    const Point thin(40, 2);
    EXPECT_FALSE(orientedBoxesOverlap(Point(0, 0), thin, 45, Point(8, -8), Point(4, 4), 0));
    EXPECT_TRUE(orientedBoxesOverlap(Point(0, 0), thin, 45, Point(8, 8), Point(4, 4), 0));
}

TEST(RotatedBoxTest, QuickRejectionUsesTheLargerHalfExtent) {
    const Point tall(2, 40);
    EXPECT_TRUE(orientedBoxesOverlap(Point(0, 0), tall, 0, Point(0, 20.5f), Point(2, 2), 0));
    EXPECT_TRUE(orientedBoxesOverlap(Point(0, 0), tall, 90, Point(20.5f, 0), Point(2, 2), 0));
    EXPECT_FALSE(orientedBoxesOverlap(Point(0, 0), tall, 90, Point(0, 20.5f), Point(2, 2), 0));
}

// Point lists

TEST(PointListTest, Clockwise) {
    EXPECT_TRUE(isPolygonClockwise(square()));
    EXPECT_FALSE(isPolygonClockwise(points({{0, 0}, {0, 10}, {10, 10}, {10, 0}})));
    // Only the first clear turn decides; repeated and straight vertices are skipped.
    EXPECT_TRUE(isPolygonClockwise(points({{0, 0}, {0, 0}, {5, 0}, {10, 0}, {10, 10}})));
}

TEST(PointListTest, ClockwiseRejectsDegenerateInput) {
    expectThrowMessage<Zep::FatalErrorException>(
        [] { isPolygonClockwise(points({{0, 0}, {5, 5}, {10, 10}})); },
        "Degenerate polygon passed to isPolygonClockwise()");
    expectThrowMessage<Zep::FatalErrorException>(
        [] { isPolygonClockwise(points({{1, 1}, {1, 1}, {1, 1}})); },
        "Degenerate polygon passed to isPolygonClockwise()");
    expectThrowMessage<Zep::AssertFailException>(
        [] { isPolygonClockwise(points({{0, 0}, {5, 5}})); },
        "Assertion failed : lPoints.size() > 2");
}

TEST(PointListTest, Convexity) {
    EXPECT_TRUE(isPolylineConvex(square()));
    EXPECT_TRUE(isPolylineConvex(points({{0, 0}, {1, 1}})));
    // An arrow head: the turn at (5, 5) goes the other way.
    EXPECT_FALSE(isPolylineConvex(points({{0, 0}, {10, 0}, {5, 5}, {10, 10}, {0, 10}})));
    // A straight run between turns does not break convexity.
    EXPECT_TRUE(isPolylineConvex(points({{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}})));
    // Tiny turns of opposite sense still count.
    EXPECT_FALSE(isPolylineConvex(points({{0, 0}, {1e-20f, 0}, {2e-20f, 1e-20f}, {3e-20f, 0}})));
}

TEST(PointListTest, PointInSquare) {
    const Zep::List<Point> sq = square();
    EXPECT_TRUE(pointInPolygon(sq, Point(5, 5)));
    EXPECT_FALSE(pointInPolygon(sq, Point(10, 5)));  // right edge
    EXPECT_TRUE(pointInPolygon(sq, Point(5, 0)));    // top edge
    EXPECT_FALSE(pointInPolygon(sq, Point(5, 10)));  // bottom edge
    EXPECT_TRUE(pointInPolygon(sq, Point(0, 5)));    // left edge
    EXPECT_TRUE(pointInPolygon(sq, Point(0, 0)));    // vertices
    EXPECT_FALSE(pointInPolygon(sq, Point(10, 0)));
    EXPECT_FALSE(pointInPolygon(sq, Point(10, 10)));
    EXPECT_FALSE(pointInPolygon(sq, Point(0, 10)));
    EXPECT_FALSE(pointInPolygon(sq, Point(-1, 5)));
    EXPECT_FALSE(pointInPolygon(Zep::List<Point>(), Point(0, 0)));
}

TEST(PointListTest, PointInConcavePolygon) {
    // A U shape open at the top.
    const Zep::List<Point> u = points({{0, 0}, {3, 0}, {3, 7}, {7, 7}, {7, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_TRUE(pointInPolygon(u, Point(1, 5)));
    EXPECT_FALSE(pointInPolygon(u, Point(5, 5)));
    EXPECT_TRUE(pointInPolygon(u, Point(5, 8)));
}

TEST(ConvexHullTest, SquareWithInnerPoints) {
    Zep::List<Point> hull = convexHull(points({{5, 5}, {0, 0}, {10, 0}, {3, 4}, {10, 10}, {0, 10}, {2, 8}}));
    EXPECT_EQ(toVector(hull), (std::vector<Point>{{10, 10}, {0, 10}, {0, 0}, {10, 0}}));
    EXPECT_TRUE(isPolygonClockwise(hull));
}

TEST(ConvexHullTest, ManyPointsMakeAConvexClockwiseHull) {
    Zep::List<Point> cloud;
    for (int i = 0; i < 64; ++i) {
        const float a = static_cast<float>(i) * 5.625f;
        cloud.add(rotatePoint(Point(static_cast<float>(10 + (i % 3)), 0), a));
        cloud.add(Point(static_cast<float>(i % 7) - 3.0f, static_cast<float>(i % 5) - 2.0f));
    }
    Zep::List<Point> hull = convexHull(cloud);
    EXPECT_GE(hull.getCount(), 20);
    EXPECT_TRUE(isPolygonClockwise(hull));
    const std::vector<Point> h = toVector(hull);
    for (size_t i = 0; i < h.size(); ++i) {
        const Point& a = h[i];
        const Point& b = h[(i + 1) % h.size()];
        for (const Point& p : cloud) EXPECT_GE(cross(b - a, p - a), -1e-3f);
    }
}

TEST(ConvexHullTest, SmallAndDegenerateSets) {
    EXPECT_EQ(toVector(convexHull(points({{1, 2}, {3, 4}}))), (std::vector<Point>{{1, 2}, {3, 4}}));
    // Points on the line between the extremes join the second side.
    EXPECT_EQ(toVector(convexHull(points({{0, 0}, {5, 0}, {10, 0}}))),
              (std::vector<Point>{{0, 0}, {5, 0}, {10, 0}}));
    // A vertical line keeps both of its ends.
    EXPECT_EQ(toVector(convexHull(points({{0, 5}, {0, 0}, {0, 10}}))),
              (std::vector<Point>{{0, 0}, {0, 5}, {0, 10}}));
    EXPECT_EQ(toVector(convexHull(points({{2, 2}, {2, 2}, {2, 2}}))), (std::vector<Point>{{2, 2}}));
}

// Polygon

TEST(PolygonTest, CacheRunsClockwiseAndCloses) {
    Polygon poly(points({{0, 0}, {0, 10}, {10, 10}, {10, 0}}));
    EXPECT_EQ(toVector(poly.getPoints()),
              (std::vector<Point>{{10, 0}, {10, 10}, {0, 10}, {0, 0}, {10, 0}}));
    EXPECT_EQ(poly.getEdgeCount(), 4);
    EXPECT_TRUE(poly.isConvex());
}

TEST(PolygonTest, RepeatedVerticesAreDropped) {
    Polygon poly(points({{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));
    EXPECT_EQ(poly.getEdgeCount(), 4);
    EXPECT_EQ(poly.locate(Point(5, 5)), -1);
    EXPECT_EQ(poly.locate(Point(15, 5)), 3);
    // Setting a polygon's own closed point list again changes nothing.
    Polygon again(poly.getPoints());
    EXPECT_EQ(toVector(again.getPoints()), toVector(poly.getPoints()));
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

TEST(PolygonTest, ConcaveIsNotConvex) {
    Polygon poly(points({{0, 0}, {10, 0}, {5, 5}, {10, 10}, {0, 10}}));
    EXPECT_FALSE(poly.isConvex());
}

TEST(PolygonTest, ClassifyPoint) {
    Polygon poly(square());
    // Edge 0 runs from (0, 0) to (10, 0); its outside is y < 0.
    EXPECT_EQ(poly.classifyPoint(0, Point(-3, -1)), Polygon::kBeforeEdge);
    EXPECT_EQ(poly.classifyPoint(0, Point(0, -1)), Polygon::kBesideEdge);
    EXPECT_EQ(poly.classifyPoint(0, Point(10, -1)), Polygon::kBesideEdge);
    EXPECT_EQ(poly.classifyPoint(0, Point(11, -1)), Polygon::kPastEdge);
    EXPECT_EQ(poly.classifyPoint(0, Point(5, 1)), Polygon::kBehindEdge);
    EXPECT_EQ(poly.classifyPoint(0, Point(5, 0)), Polygon::kBesideEdge);
    EXPECT_THROW(poly.classifyPoint(4, Point(0, 0)), Zep::AssertFailException);
    EXPECT_THROW(poly.classifyPoint(-1, Point(0, 0)), Zep::AssertFailException);
}

TEST(PolygonTest, LocateFeatures) {
    Polygon poly(square());
    EXPECT_EQ(poly.locate(Point(5, 5)), -1);
    EXPECT_EQ(poly.locate(Point(5, -3)), 1);   // edge 0 (top)
    EXPECT_EQ(poly.locate(Point(13, 5)), 3);   // edge 1 (right)
    EXPECT_EQ(poly.locate(Point(5, 13)), 5);   // edge 2 (bottom)
    EXPECT_EQ(poly.locate(Point(-3, 5)), 7);   // edge 3 (left)
    EXPECT_EQ(poly.locate(Point(-2, -2)), 0);  // vertex 0 (0, 0)
    EXPECT_EQ(poly.locate(Point(12, -2)), 2);  // vertex 1 (10, 0)
    EXPECT_EQ(poly.locate(Point(12, 12)), 4);  // vertex 2 (10, 10)
    EXPECT_EQ(poly.locate(Point(-2, 12)), 6);  // vertex 3 (0, 10)
}

TEST(PolygonTest, LocateOnTheOutline) {
    Polygon poly(square());
    // On an edge a point is beside it; at a vertex, beside the edge that starts there.
    EXPECT_EQ(poly.locate(Point(5, 0)), 1);
    EXPECT_EQ(poly.locate(Point(10, 5)), 3);
    EXPECT_EQ(poly.locate(Point(0, 0)), 1);
    EXPECT_EQ(poly.locate(Point(10, 10)), 3);
}

TEST(PolygonTest, SweepAgainstAnEdge) {
    Polygon poly(square());
    Point normal(9, 9);
    // Straight down onto the top edge: d1 = 10 - 1 = 9, d2 = -1.
    float t = poly.sweepCircle(Point(5, -10), Point(5, 0), 1, &normal);
    EXPECT_FLOAT_EQ(t, (9.0f - 0.01f) / 10.0f);
    EXPECT_EQ(normal, Point(0, -1));
    // Not reaching it.
    normal = Point(9, 9);
    EXPECT_EQ(poly.sweepCircle(Point(5, -10), Point(5, -2), 1, &normal), 1.0f);
    EXPECT_EQ(normal, Point(9, 9));
    // Moving away, or starting in contact: blocked at once.
    EXPECT_EQ(poly.sweepCircle(Point(5, -0.5f), Point(5, -10), 1, &normal), 0.0f);
    // Starting inside.
    EXPECT_EQ(poly.sweepCircle(Point(5, 5), Point(50, 5), 1, &normal), 0.0f);
}

TEST(PolygonTest, SweepAgainstAVertex) {
    Polygon poly(square());
    Point normal;
    // Along the diagonal towards vertex (0, 0), staying in its region.
    float t = poly.sweepCircle(Point(-10, -10), Point(-1, -1), 2, &normal);
    const float expected = (10.0f - std::sqrt(2.0f)) / 9.0f;
    EXPECT_NEAR(t, expected, 1e-5f);
    EXPECT_NEAR(normal.x, -std::sqrt(0.5f), 1e-5f);
    EXPECT_NEAR(normal.y, -std::sqrt(0.5f), 1e-5f);
    // Passing the vertex at a distance.
    EXPECT_EQ(poly.sweepCircle(Point(-10, -5), Point(-5, -10), 1, &normal), 1.0f);
    // Already overlapping the vertex: the negative root backs the circle out.
    t = poly.sweepCircle(Point(-1, -1), Point(-3, -3), 2, &normal);
    EXPECT_LT(t, 0.0f);
}

TEST(PolygonTest, SweepAcrossRegionsHalvesTheMove) {
    Polygon poly(square());
    Point normal;
    // From beside the left edge to beside the top edge, through vertex 0's region.
    const float t = poly.sweepCircle(Point(-5, 5), Point(5, -5), 1, &normal);
    EXPECT_GT(t, 0.0f);
    EXPECT_LT(t, 1.0f);
    // The circle first touches the left edge, at (-1, 1), a little short of it.
    const Point at = Point(-5, 5) + (Point(5, -5) - Point(-5, 5)) * t;
    EXPECT_NEAR(at.x, -1.0f, 0.02f);
    EXPECT_NEAR(at.y, 1.0f, 0.02f);
    EXPECT_LT(at.x, -1.0f);
    EXPECT_EQ(normal, Point(-1, 0));
    // A move far from the polygon crosses regions without contact.
    EXPECT_EQ(poly.sweepCircle(Point(-50, 20), Point(60, -40), 1, &normal), 1.0f);
}

TEST(PolygonTest, SweepSurvivesMovesOfNoLengthAndNonFiniteEnds) {
    Polygon poly(square());
    Point normal;
    EXPECT_EQ(poly.sweepCircle(Point(-3, -3), Point(-3, -3), 1, &normal), 1.0f);
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(poly.sweepCircle(Point(-3, -3), Point(inf, -3), 1, &normal), 1.0f);
    const float t = poly.sweepCircle(Point(-3, -3), Point(nan, nan), 1, &normal);
    EXPECT_FALSE(std::isnan(t));
}

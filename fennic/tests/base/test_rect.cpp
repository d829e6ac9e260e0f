#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/rect.h"

namespace {

// Rects are compared through their text "(left, top - right, bottom)".
std::string text(const Rect& r) { return r.toString().c_str(); }

}  // namespace

TEST(RectTest, BuiltAndPrintedLeftTopRightBottomStoredTopFirst) {
    Rect r(10, 20, 30, 40);
    EXPECT_EQ(text(r), "(10, 20 - 30, 40)");
    EXPECT_EQ((std::vector{r.getLeft(), r.getTop(), r.getRight(), r.getBottom(), r.getWidth(), r.getHeight()}),
              (std::vector<int32_t>{10, 20, 30, 40, 20, 20}));
    EXPECT_EQ(text(Rect(-1, -2, 3, 4)), "(-1, -2 - 3, 4)");
    static_assert(std::is_standard_layout_v<Rect> && sizeof(Rect) == 4 * sizeof(int32_t));
    int32_t raw[4];
    std::memcpy(raw, &r, sizeof raw);
    EXPECT_EQ(std::vector<int32_t>(raw, raw + 4), (std::vector<int32_t>{20, 10, 40, 30}));  // top, left, bottom, right
}

TEST(RectTest, NormaliseEmptinessAndFloatCorners) {
    EXPECT_EQ(Rect(30, 40, 10, 20, true), Rect(10, 20, 30, 40));
    const Rect inverted(30, 40, 10, 20);
    EXPECT_EQ(text(inverted), "(30, 40 - 10, 20)");
    EXPECT_NE(inverted, Rect(10, 20, 30, 40));
    // Empty only with zero width or height.
    EXPECT_EQ((std::vector<bool>{false, true, true, true}),
              (std::vector<bool>{inverted.isEmpty(), Rect().isEmpty(), Rect(5, 1, 5, 9).isEmpty(),
                                 Rect(1, 5, 9, 5).isEmpty()}));
    // Float corners truncate toward zero, saturate out of range, and NaN gives 0.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(text(Rect(Point(1.9f, -1.9f), Point(3.5f, 4.5f))), "(1, -1 - 3, 4)");
    EXPECT_EQ(text(Rect(Point(5.5f, 6.5f), Point(1.2f, 2.7f), true)), "(1, 2 - 5, 6)");
    EXPECT_EQ(text(Rect(Point(nan, -1e30f), Point(1e30f, 3e9f))), "(0, -2147483648 - 2147483647, 2147483647)");
}

TEST(RectTest, IntersectUniteExtendAndClip) {
    const Rect a(0, 0, 10, 10), b(10, 0, 20, 10), none(0, 0, 0, 0), small(5, 5, 6, 6);
    EXPECT_FALSE(a.intersects(b) || b.intersects(a));  // touching rects do not intersect
    EXPECT_TRUE(a.intersects(Rect(9, 9, 20, 20)));
    // unite skips empty rects, extend does not.
    const std::pair<Rect, Rect> kResults[] = {
        {a.intersect(b), none},         {a.intersect(Rect(5, -5, 20, 7)), Rect(5, 0, 10, 7)},
        {none.unite(small), small},     {small.unite(none), small},
        {Rect(0, 0, 2, 2).unite(small), Rect(0, 0, 6, 6)},
    };
    for (const auto& [got, expected] : kResults) EXPECT_EQ(text(got), text(expected));
    Rect r = small;
    r.extend(none);
    EXPECT_EQ(r, Rect(0, 0, 6, 6));

    for (auto [clipped, expected] :
         {std::pair{Rect(-5, 2, 50, 8), "(0, 2 - 10, 8)"}, {Rect(20, 30, 40, 50), "(10, 10 - 10, 10)"}}) {
        clipped.clipTo(a);
        EXPECT_EQ(text(clipped), expected);
    }
    // Raised to the lower bound first, then lowered: the upper bound wins.
    r.clipTo(Rect(10, 10, 0, 0));
    EXPECT_EQ(r, none);
}

TEST(RectTest, CornersSizeAndCenterWithoutOverflow) {
    const int32_t big = std::numeric_limits<int32_t>::max();
    const Rect wide(-big, 2, big, 7);
    EXPECT_EQ((std::vector<Point>{wide.getTopLeft(), wide.getBottomRight(), wide.getSize()}),
              (std::vector<Point>{Point(-big, 2), Point(big, 7), Point(2.0f * big, 5)}));  // the size is exact
    // The centre halves toward zero.
    EXPECT_EQ(Rect(-3, -3, 0, 0).getCenter(), Point(-1.0f, -1.0f));
    EXPECT_EQ(Rect(0, 0, 3, 5).getCenter(), Point(1.0f, 2.0f));
    EXPECT_EQ(Rect(big - 2, 0, big, 0).getCenter().x, static_cast<float>(big - 1));
}

TEST(PointTest, LengthNormalizeAndReflect) {
    Point p(3, 4), zero;
    EXPECT_FLOAT_EQ(p.length(), 5.0f);
    p.normalize();
    zero.normalize();
    EXPECT_FLOAT_EQ(p.x, 0.6f);
    EXPECT_FLOAT_EQ(p.y, 0.8f);
    EXPECT_EQ(zero, Point(0, 0));
    EXPECT_EQ(reflect(Point(1, 1), Point(0, -2)), Point(1, -1));
    EXPECT_EQ(reflect(Point(3, -2), Point(5, 0)), Point(-3, -2));
    EXPECT_EQ(reflect(Point(1, 1), Point(0, 0)), Point(1, 1));
}

TEST(AngleTest, PointAnglesAndConversions) {
    const std::pair<Point, float> angles[] = {
        {Point(1, 0), 0.0f}, {Point(0, 1), 90.0f}, {Point(-1, 0), 180.0f}, {Point(0, -1), 270.0f}, {Point(0, 0), 0.0f}};
    for (const auto& [point, angle] : angles) EXPECT_FLOAT_EQ(point.getAngle(), angle) << point.x << "," << point.y;
    EXPECT_FLOAT_EQ(vectorAngle(Point(0, -1)), -90.0f);
    EXPECT_FLOAT_EQ(vectorAngle(Point(-1, -1)), -135.0f);
    EXPECT_EQ(degToRad(180.0f), static_cast<float>(3.141592653589793));
    EXPECT_EQ(radToDeg(static_cast<float>(3.141592653589793 / 2)), 90.0f);
}

TEST(AngleTest, NormalizeAngleStaysBelow360AndFinite) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, float> cases[] = {
        {-30.0f, 330.0f}, {720.0f, 0.0f}, {359.5f, 359.5f}, {-720.25f, 359.75f}, {36000.0f * 4 + 90.0f, 90.0f},
        {-1e-6f, 0.0f},  // -1e-6 + 360 rounds to 360 in float
        {inf, 0.0f},     {std::numeric_limits<float>::quiet_NaN(), 0.0f},
    };
    for (auto [in, out] : cases) EXPECT_EQ(normalizeAngle(in), out) << in;
    const float huge = normalizeAngle(1e30f);
    EXPECT_TRUE(huge >= 0.0f && huge < 360.0f) << huge;
}

TEST(AngleTest, InterpolateTakesTheShortWayAndRotate) {
    // A difference of exactly 180 either way is kept.
    const std::tuple<float, float, float, float> kCases[] = {
        {350.0f, 10.0f, 0.5f, 360.0f}, {10.0f, 350.0f, 0.5f, 0.0f},         {0.0f, 90.0f, 0.5f, 45.0f},
        {0.0f, 180.0f, 0.5f, 90.0f},   {180.0f, 0.0f, 0.5f, 90.0f},         {0.0f, 720.0f + 90.0f, 1.0f, 90.0f},
        {30.0f, std::numeric_limits<float>::infinity(), 0.5f, 30.0f},
    };
    for (auto [from, to, t, expected] : kCases) EXPECT_EQ(interpolateAngle(from, to, t), expected) << from << " " << to;

    for (auto [p, fAngle, expected] :
         {std::tuple{Point(2, 1), -90.0f, Point(1, -2)}, {Point(1, 0), 90.0f, Point(0, 1)}}) {
        const Point r = rotatePoint(p, fAngle);
        EXPECT_NEAR(r.x, expected.x, 1e-6f);
        EXPECT_NEAR(r.y, expected.y, 1e-6f);
    }
    EXPECT_EQ(rotatePoint(Point(0.1f, 0.7f), 0.0f), Point(0.1f, 0.7f));  // exactly 0 leaves the point untouched
}

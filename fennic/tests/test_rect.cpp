#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include "rect.h"

namespace {

void expectRect(const Rect& r, int32_t l, int32_t t, int32_t ri, int32_t b) {
    EXPECT_EQ(r.getLeft(), l);
    EXPECT_EQ(r.getTop(), t);
    EXPECT_EQ(r.getRight(), ri);
    EXPECT_EQ(r.getBottom(), b);
}

}  // namespace

TEST(RectTest, BuiltAndPrintedLeftTopRightBottom) {
    Rect r(10, 20, 30, 40);
    EXPECT_STREQ(r.toString().c_str(), "(10, 20 - 30, 40)");
    expectRect(r, 10, 20, 30, 40);
    EXPECT_EQ(r.getWidth(), 20);
    EXPECT_EQ(r.getHeight(), 20);
    EXPECT_STREQ(Rect(-1, -2, 3, 4).toString().c_str(), "(-1, -2 - 3, 4)");
}

TEST(RectTest, RawMemoryHoldsTopFirst) {
    static_assert(std::is_standard_layout_v<Rect> && sizeof(Rect) == 4 * sizeof(int32_t));
    Rect r(1, 2, 3, 4);
    int32_t raw[4];
    std::memcpy(raw, &r, sizeof raw);
    EXPECT_EQ(raw[0], 2);  // top
    EXPECT_EQ(raw[1], 1);  // left
    EXPECT_EQ(raw[2], 4);  // bottom
    EXPECT_EQ(raw[3], 3);  // right
}

TEST(RectTest, NormaliseOrdersTheEdges) {
    EXPECT_EQ(Rect(30, 40, 10, 20, true), Rect(10, 20, 30, 40));
    Rect inverted(30, 40, 10, 20);
    expectRect(inverted, 30, 40, 10, 20);
    EXPECT_FALSE(inverted.isEmpty());
    EXPECT_NE(inverted, Rect(10, 20, 30, 40));
}

TEST(RectTest, EmptyOnlyWithZeroWidthOrHeight) {
    EXPECT_TRUE(Rect().isEmpty());
    EXPECT_TRUE(Rect(5, 1, 5, 9).isEmpty());
    EXPECT_TRUE(Rect(1, 5, 9, 5).isEmpty());
    EXPECT_FALSE(Rect(0, 0, 1, 1).isEmpty());
}

TEST(RectTest, FromPointsTruncatesTowardZero) {
    expectRect(Rect(Point(1.9f, -1.9f), Point(3.5f, 4.5f)), 1, -1, 3, 4);
    expectRect(Rect(Point(5.5f, 6.5f), Point(1.2f, 2.7f), true), 1, 2, 5, 6);
}

TEST(RectTest, FromPointsSaturatesOutOfRangeAndNaN) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    expectRect(Rect(Point(nan, -1e30f), Point(1e30f, 3e9f)), 0, std::numeric_limits<int32_t>::min(),
               std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max());
}

TEST(RectTest, TouchingRectsDoNotIntersect) {
    Rect a(0, 0, 10, 10), b(10, 0, 20, 10);
    EXPECT_FALSE(a.intersects(b));
    EXPECT_FALSE(b.intersects(a));
    EXPECT_EQ(a.intersect(b), Rect(0, 0, 0, 0));
    EXPECT_TRUE(a.intersects(Rect(9, 9, 20, 20)));
    EXPECT_EQ(a.intersect(Rect(5, -5, 20, 7)), Rect(5, 0, 10, 7));
}

TEST(RectTest, UniteSkipsEmptyButExtendDoesNot) {
    EXPECT_EQ(Rect(0, 0, 0, 0).unite(Rect(5, 5, 6, 6)), Rect(5, 5, 6, 6));
    EXPECT_EQ(Rect(5, 5, 6, 6).unite(Rect(0, 0, 0, 0)), Rect(5, 5, 6, 6));
    EXPECT_EQ(Rect(0, 0, 2, 2).unite(Rect(5, 5, 6, 6)), Rect(0, 0, 6, 6));

    Rect r(5, 5, 6, 6);
    r.extend(Rect(0, 0, 0, 0));
    EXPECT_EQ(r, Rect(0, 0, 6, 6));
}

TEST(RectTest, ClipToClampsEachEdge) {
    Rect r(-5, 2, 50, 8);
    r.clipTo(Rect(0, 0, 10, 10));
    EXPECT_EQ(r, Rect(0, 2, 10, 8));

    Rect outside(20, 30, 40, 50);
    outside.clipTo(Rect(0, 0, 10, 10));
    EXPECT_EQ(outside, Rect(10, 10, 10, 10));

    // Raised to the lower bound first, then lowered: the upper bound wins.
    Rect inner(5, 5, 6, 6);
    inner.clipTo(Rect(10, 10, 0, 0));
    EXPECT_EQ(inner, Rect(0, 0, 0, 0));
}

TEST(RectTest, CenterHalvesTowardZero) {
    Point c = Rect(-3, -3, 0, 0).getCenter();
    EXPECT_EQ(c, Point(-1.0f, -1.0f));
    EXPECT_EQ(Rect(0, 0, 3, 5).getCenter(), Point(1.0f, 2.0f));
    // The sum of two large edges does not overflow.
    const int32_t big = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(Rect(big - 2, 0, big, 0).getCenter().x, static_cast<float>(big - 1));
}

TEST(PointTest, LengthDotAndNormalize) {
    Point p(3, 4);
    EXPECT_FLOAT_EQ(p.length(), 5.0f);
    EXPECT_FLOAT_EQ(p.lengthSquared(), 25.0f);
    EXPECT_FLOAT_EQ(p.dot(Point(2, -1)), 2.0f);
    p.normalize();
    EXPECT_FLOAT_EQ(p.x, 0.6f);
    EXPECT_FLOAT_EQ(p.y, 0.8f);

    Point zero;
    zero.normalize();
    EXPECT_EQ(zero, Point(0, 0));
}

TEST(PointTest, AngleIsInZeroTo360) {
    EXPECT_FLOAT_EQ(Point(1, 0).getAngle(), 0.0f);
    EXPECT_FLOAT_EQ(Point(0, 1).getAngle(), 90.0f);
    EXPECT_FLOAT_EQ(Point(-1, 0).getAngle(), 180.0f);
    EXPECT_FLOAT_EQ(Point(0, -1).getAngle(), 270.0f);
    EXPECT_FLOAT_EQ(Point(0, 0).getAngle(), 0.0f);
    EXPECT_FLOAT_EQ(vectorAngle(Point(0, -1)), -90.0f);
    EXPECT_FLOAT_EQ(vectorAngle(Point(-1, -1)), -135.0f);
}

TEST(PointTest, Reflect) {
    EXPECT_EQ(reflect(Point(1, 1), Point(0, -2)), Point(1, -1));
    EXPECT_EQ(reflect(Point(3, -2), Point(5, 0)), Point(-3, -2));
    EXPECT_EQ(reflect(Point(1, 1), Point(0, 0)), Point(1, 1));
}

TEST(AngleTest, Conversions) {
    EXPECT_EQ(degToRad(180.0f), static_cast<float>(3.141592653589793));
    EXPECT_EQ(radToDeg(static_cast<float>(3.141592653589793 / 2)), 90.0f);
}

TEST(AngleTest, NormalizeAngle) {
    EXPECT_EQ(normalizeAngle(-30.0f), 330.0f);
    EXPECT_EQ(normalizeAngle(720.0f), 0.0f);
    EXPECT_EQ(normalizeAngle(359.5f), 359.5f);
    EXPECT_EQ(normalizeAngle(-720.25f), 359.75f);
}

TEST(AngleTest, NormalizeAngleStaysBelow360AndFinite) {
    // -1e-6 + 360 rounds to 360 in float.
    EXPECT_EQ(normalizeAngle(-1e-6f), 0.0f);
    EXPECT_EQ(normalizeAngle(std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_EQ(normalizeAngle(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    const float huge = normalizeAngle(1e30f);
    EXPECT_GE(huge, 0.0f);
    EXPECT_LT(huge, 360.0f);
    EXPECT_EQ(normalizeAngle(36000.0f * 4 + 90.0f), 90.0f);
}

TEST(AngleTest, InterpolateTakesTheShortWay) {
    EXPECT_EQ(interpolateAngle(350.0f, 10.0f, 0.5f), 360.0f);
    EXPECT_EQ(interpolateAngle(10.0f, 350.0f, 0.5f), 0.0f);
    EXPECT_EQ(interpolateAngle(0.0f, 90.0f, 0.5f), 45.0f);
    // A difference of exactly 180 either way is kept.
    EXPECT_EQ(interpolateAngle(0.0f, 180.0f, 0.5f), 90.0f);
    EXPECT_EQ(interpolateAngle(180.0f, 0.0f, 0.5f), 90.0f);
    EXPECT_EQ(interpolateAngle(0.0f, 720.0f + 90.0f, 1.0f), 90.0f);
    EXPECT_EQ(interpolateAngle(30.0f, std::numeric_limits<float>::infinity(), 0.5f), 30.0f);
}

TEST(AngleTest, RotatePoint) {
    Point r = rotatePoint(Point(1, 0), 90.0f);
    EXPECT_NEAR(r.x, 0.0f, 1e-6f);
    EXPECT_NEAR(r.y, 1.0f, 1e-6f);
    r = rotatePoint(Point(2, 1), -90.0f);
    EXPECT_NEAR(r.x, 1.0f, 1e-6f);
    EXPECT_NEAR(r.y, -2.0f, 1e-6f);
    // Exactly 0 returns the point untouched.
    EXPECT_EQ(rotatePoint(Point(0.1f, 0.7f), 0.0f), Point(0.1f, 0.7f));
}

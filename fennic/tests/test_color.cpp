#include <gtest/gtest.h>

#include "color.h"

TEST(ColorTest, DefaultIsOpaqueBlack) {
    Color c;
    EXPECT_EQ(c, Color(0, 0, 0, 255));
    EXPECT_NE(c, Color(0, 0, 0, 0));
    EXPECT_EQ(c.getAlpha(), 255);
}

TEST(ColorTest, PackOrderIsRedAlphaBlueGreen) {
    Color c(1, 2, 3, 4);
    EXPECT_EQ(c.pack(), 0x01040302u);
    EXPECT_EQ(c.getPackedValue(), c.pack());
    EXPECT_EQ(Color(255, 0, 0, 0).pack(), 0xFF000000u);
    EXPECT_EQ(Color(0, 255, 0, 0).pack(), 0x000000FFu);
    EXPECT_EQ(Color(0, 0, 255, 0).pack(), 0x0000FF00u);
    EXPECT_EQ(Color(0, 0, 0, 255).pack(), 0x00FF0000u);
}

TEST(ColorTest, EqualityNeedsAllFourComponents) {
    EXPECT_EQ(Color(1, 2, 3, 4), Color(1, 2, 3, 4));
    EXPECT_NE(Color(1, 2, 3, 4), Color(1, 2, 3, 5));
    EXPECT_NE(Color(1, 2, 3, 4), Color(2, 1, 3, 4));
}

TEST(ColorTest, Text) {
    EXPECT_STREQ(Color(1, 2, 3, 4).toString().c_str(), "(1, 2, 3, 4)");
    EXPECT_STREQ(Color(255, 128, 0, 255).toString().c_str(), "(255, 128, 0, 255)");
}

TEST(ColorTest, Setters) {
    Color c;
    c.setRed(10);
    c.setGreen(20);
    c.setBlue(30);
    c.setAlpha(40);
    EXPECT_EQ(c, Color(10, 20, 30, 40));
    c.set(1, 2, 3, 4);
    EXPECT_EQ(c.getRed(), 1);
    EXPECT_EQ(c.getGreen(), 2);
    EXPECT_EQ(c.getBlue(), 3);
    EXPECT_EQ(c.getAlpha(), 4);
}

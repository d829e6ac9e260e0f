#include <gtest/gtest.h>

#include <zep2/hash.h>

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


TEST(ColorTest, HashKeyBucketIsPackedValueModuloCount) {
    Zep::Hash<Color, int> table(97);
    const Color c(1, 2, 3, 4);
    EXPECT_EQ(table.getBucketIndex(c), 0x01040302u % 97u);
    // A key above 2^31 still takes the unsigned remainder.
    EXPECT_EQ(table.getBucketIndex(Color(255, 0, 0, 0)), 0xFF000000u % 97u);

    table.set(c, 7);
    table.set(Color(1, 2, 3, 5), 8);
    EXPECT_EQ(table.get(Color(1, 2, 3, 4)), 7);
    EXPECT_EQ(table.get(Color(1, 2, 3, 5)), 8);
    EXPECT_FALSE(table.contains(Color(4, 3, 2, 1)));
}

TEST(ColorTest, MissingHashKeyNamesTheColour) {
    Zep::Hash<Color, int> table(97);
    try {
        table.get(Color(10, 20, 30, 40));
        FAIL() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getMessage(), "Hash key not found : (10, 20, 30, 40)");
    }
}

TEST(ColorTest, HashKeysComeOutByDescendingBucket) {
    Zep::Hash<Color, int> table(5);
    // Packed values 1, 2 and 6: buckets 1, 2 and 1 of 5.
    table.set(Color(0, 1, 0, 0), 1);
    table.set(Color(0, 2, 0, 0), 2);
    table.set(Color(0, 6, 0, 0), 6);
    Zep::List<Color> keys = table.getKeys();
    ASSERT_EQ(keys.getCount(), 3);
    EXPECT_EQ(keys[0], Color(0, 2, 0, 0));
    EXPECT_EQ(keys[1], Color(0, 1, 0, 0));
    EXPECT_EQ(keys[2], Color(0, 6, 0, 0));
}

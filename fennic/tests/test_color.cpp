#include <gtest/gtest.h>

#include <zep2/hash.h>
#include <zep2/memstream.h>

#include <cstdint>
#include <memory>
#include <vector>

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

namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(Zep::MemStream& stream) {
    const auto* p = static_cast<const uint8_t*>(stream.getBuffer());
    return p ? Bytes(p, p + stream.length()) : Bytes();
}

Zep::SmartPtr<Zep::MemStream> readerOver(const Bytes& bytes) {
    Zep::MemStream source;
    source.write(static_cast<int>(bytes.size()), bytes.data());
    return source.clone();
}

}  // namespace

TEST(ColorStreamTest, ByValueIsTagZeroAndFourBytes) {
    Zep::MemStream out;
    {
        Zep::ObjectStreamer streamer(&out, false);
        Zep::writeValue(streamer, Color(1, 2, 3, 4));
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x00, 1, 2, 3, 4}));

    // The tag is not examined on reading.
    Zep::SmartPtr<Zep::MemStream> in = readerOver({0x05, 0x07, 9, 8, 7, 6});
    Zep::ObjectStreamer streamer(in.get(), false);
    Color c;
    Zep::readValue(streamer, c);
    EXPECT_EQ(c, Color(9, 8, 7, 6));
}

TEST(ColorStreamTest, SamePointerTwiceBecomesOneObject) {
    Zep::MemStream out;
    Color shared(10, 20, 30, 40);
    {
        Zep::ObjectStreamer streamer(&out, false);
        Zep::writeObject(streamer, &shared);
        Zep::writeObject(streamer, &shared);
        Zep::writeObject(streamer, static_cast<const Color*>(nullptr));
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x00, 0, 0, 0, 0, 10, 20, 30, 40, 0x01, 0, 0, 0, 0, 0x02}));

    Zep::SmartPtr<Zep::MemStream> in = out.clone();
    Zep::ObjectStreamer streamer(in.get(), false);
    Color* pFirst = nullptr;
    Color* pSecond = nullptr;
    Color* pNull = &shared;
    Zep::readObject(streamer, pFirst);
    std::unique_ptr<Color> owner(pFirst);
    Zep::readObject(streamer, pSecond);
    Zep::readObject(streamer, pNull);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_EQ(*pFirst, shared);
    EXPECT_EQ(pNull, nullptr);
}

TEST(ColorStreamTest, ReferenceToUnknownIdThrows) {
    Zep::SmartPtr<Zep::MemStream> in = readerOver({0x05, 0x01, 3, 0, 0, 0});
    Zep::ObjectStreamer streamer(in.get(), false);
    Color* pColor = nullptr;
    try {
        Zep::readObject(streamer, pColor);
        FAIL() << "no exception";
    } catch (const Zep::Exception& e) {
        EXPECT_STREQ(e.getMessage(), "AlreadyLoaded failed");
        EXPECT_STREQ(e.getFile(), ".\\src\\color");
    }
    EXPECT_EQ(pColor, nullptr);
}

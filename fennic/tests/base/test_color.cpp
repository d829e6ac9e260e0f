#include <gtest/gtest.h>

#include <zep2/hash.h>

#include <cstdint>
#include <memory>

#include "../../../zep2/tests/test_util.h"
#include "base/color.h"

using testutil::Bytes;

TEST(ColorTest, PackOrderIsRedAlphaBlueGreen) {
    EXPECT_EQ(Color(), Color(0, 0, 0, 255));  // opaque black
    const std::pair<Color, uint32_t> kPacked[] = {{Color(1, 2, 3, 4), 0x01040302u}, {Color(255, 0, 0, 0), 0xFF000000u},
                                                  {Color(0, 255, 0, 0), 0xFFu}, {Color(0, 0, 255, 0), 0xFF00u},
                                                  {Color(0, 0, 0, 255), 0x00FF0000u}};
    for (const auto& [c, nPacked] : kPacked)
        EXPECT_EQ(std::make_pair(c.pack(), c.getPackedValue()), std::make_pair(nPacked, nPacked));
    // Equality needs all four components.
    EXPECT_FALSE(Color(1, 2, 3, 4) == Color(1, 2, 3, 5) || Color(1, 2, 3, 4) == Color(2, 1, 3, 4));
    EXPECT_STREQ(Color(255, 128, 0, 4).toString().c_str(), "(255, 128, 0, 4)");
}

TEST(ColorTest, HashKeysUseThePackedValueAndTheText) {
    Zep::Hash<Color, int> table(97);
    EXPECT_EQ(table.getBucketIndex(Color(1, 2, 3, 4)), 0x01040302u % 97u);
    // A key above 2^31 still takes the unsigned remainder.
    EXPECT_EQ(table.getBucketIndex(Color(255, 0, 0, 0)), 0xFF000000u % 97u);
    table.set(Color(1, 2, 3, 4), 7);
    table.set(Color(1, 2, 3, 5), 8);
    EXPECT_EQ(std::make_pair(table.get(Color(1, 2, 3, 4)), table.get(Color(1, 2, 3, 5))), std::make_pair(7, 8));
    EXPECT_EQ(testutil::messageOf<Zep::FatalErrorException>([&] { table.get(Color(10, 20, 30, 40)); }),
              "Hash key not found : (10, 20, 30, 40)");
}

TEST(ColorStreamTest, ByValueIsTagZeroAndFourBytes) {
    Zep::MemStream out;
    {
        Zep::ObjectStreamer streamer(&out, false);
        Zep::writeValue(streamer, Color(1, 2, 3, 4));
    }
    EXPECT_EQ(testutil::bytesOf(out), (Bytes{0x05, 0x00, 1, 2, 3, 4}));
    // The tag is not examined on reading.
    Zep::SmartPtr<Zep::MemStream> in = testutil::reader({0x05, 0x07, 9, 8, 7, 6});
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
    EXPECT_EQ(testutil::bytesOf(out), (Bytes{0x05, 0x00, 0, 0, 0, 0, 10, 20, 30, 40, 0x01, 0, 0, 0, 0, 0x02}));

    Zep::SmartPtr<Zep::MemStream> in = out.clone();
    Zep::ObjectStreamer streamer(in.get(), false);
    Color *pFirst = nullptr, *pSecond = nullptr, *pNull = &shared;
    Zep::readObject(streamer, pFirst);
    std::unique_ptr<Color> owner(pFirst);
    Zep::readObject(streamer, pSecond);
    Zep::readObject(streamer, pNull);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_TRUE(pFirst == pSecond && *pFirst == shared && pNull == nullptr);
}

TEST(ColorStreamTest, ReferenceToUnknownIdThrows) {
    Zep::SmartPtr<Zep::MemStream> in = testutil::reader({0x05, 0x01, 3, 0, 0, 0});
    Zep::ObjectStreamer streamer(in.get(), false);
    Color* pColor = nullptr;
    EXPECT_EQ(testutil::describe([&] { Zep::readObject(streamer, pColor); }),
              "FatalErrorException [.\\src\\color]: AlreadyLoaded failed");
    EXPECT_EQ(pColor, nullptr);
}

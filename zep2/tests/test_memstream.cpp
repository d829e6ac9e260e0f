#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "test_util.h"
#include "zep2/memstream.h"

using testutil::Bytes;
using testutil::bytesOf;
using Zep::MemStream;
using Zep::SmartPtr;

TEST(MemStreamGrowth, FirstAllocationAndGrowthSteps) {
    MemStream s;
    EXPECT_EQ(s.getBuffer(), nullptr);
    EXPECT_EQ(s.getCapacity(), 0);
    Bytes ten(10, 1);
    EXPECT_EQ(s.write(10, ten.data()), 10);
    EXPECT_EQ(s.getCapacity(), 32768);
    EXPECT_EQ(s.getPosition(), 10);
    Bytes rest(32768 - 10, 2);
    EXPECT_EQ(s.write(static_cast<int>(rest.size()), rest.data()), static_cast<int>(rest.size()));
    EXPECT_EQ(s.getCapacity(), 57345);  // filled exactly counts as full
    Bytes all = bytesOf(s);
    ASSERT_EQ(all.size(), 32768u);
    EXPECT_EQ(all[9], 1);
    EXPECT_EQ(all[10], 2);

    MemStream big;  // a large first write allocates exactly
    Bytes data(40000, 7);
    EXPECT_EQ(big.write(40000, data.data()), 40000);
    EXPECT_EQ(big.getCapacity(), 40000);
    big.write(1, "x");
    EXPECT_EQ(big.getCapacity(), 70001);  // 40000 * 1.75 + 1
}

TEST(MemStreamGrowth, OverwriteInsideAndZeroFillPastTheEnd) {
    MemStream s;
    s.write(10, "0123456789");
    s.setPosition(0);
    EXPECT_EQ(s.write(3, "abc"), 3);
    EXPECT_EQ(s.getPosition(), 3);
    s.setPosition(8);
    s.write(4, "WXYZ");
    s.setPosition(14);
    EXPECT_EQ(s.write(1, "c"), 1);
    EXPECT_EQ(bytesOf(s), testutil::textBytes(std::string("abc34567WXYZ\0\0c", 15)));
    // Read back from the middle.
    s.setPosition(13);
    char out[4] = {};
    EXPECT_EQ(s.read(4, out), 2);
    EXPECT_EQ(out[1], 'c');

    // Also across a reallocation.
    MemStream t;
    t.setPosition(40000);
    EXPECT_EQ(t.write(1, "z"), 1);
    Bytes expected(40001, 0);
    expected[40000] = 'z';
    EXPECT_EQ(bytesOf(t), expected);
}

TEST(MemStreamBounds, NegativePositionOrCountAndOverflowWriteNothing) {
    MemStream s;
    s.write(2, "ab");
    s.setPosition(-1);
    EXPECT_EQ(s.write(1, "c"), 0);
    s.setPosition(0);
    EXPECT_EQ(s.write(-5, "c"), 0);
    s.setPosition(0x7FFFFFF0);
    EXPECT_EQ(s.write(32, "0123456789012345678901234567890"), 0);
    EXPECT_EQ(s.length(), 2);
    EXPECT_TRUE(s.supports(2));
    EXPECT_FALSE(s.supports(1) || s.supports(3));
}

TEST(MemStreamView, ReadsItsBytesAndRefusesWrites) {
    uint8_t data[5] = {1, 2, 3, 4, 5};
    MemStream v(data, 5);
    EXPECT_TRUE(v.supports(1));
    EXPECT_FALSE(v.supports(2) || v.supports(3));
    uint8_t out[8] = {9, 9, 9, 9};
    for (int nPosition : {-3, 5, 1000000}) {
        v.setPosition(nPosition);
        EXPECT_EQ(v.read(4, out), 0) << nPosition;
    }
    EXPECT_EQ(out[0], 9);
    EXPECT_EQ(v.remaining(), 0);
    v.setPosition(0);
    EXPECT_EQ(v.read(8, out), 5);
    EXPECT_EQ(std::memcmp(out, data, 5), 0);
    EXPECT_TRUE(v.atEnd());

    v.setPosition(2);
    EXPECT_EQ(v.write(5, "abcde"), 0);
    EXPECT_EQ(data[2], 3);
    EXPECT_EQ(v.length(), 5);
    EXPECT_EQ(v.getBuffer(), data);
}

TEST(MemStreamClone, IsReadOnlyAndSurvivesItsSource) {
    SmartPtr<MemStream> pClone;
    {
        SmartPtr<MemStream> pSource(new MemStream());
        pSource->write(4, "abcd");
        pClone = pSource->clone();
        // The source grows (its buffer moves) and then dies.
        std::vector<uint8_t> big(70000, 1);
        pSource->write(static_cast<int>(big.size()), big.data());
    }
    EXPECT_TRUE(pClone->supports(1));
    EXPECT_FALSE(pClone->supports(2));
    char out[5] = {};
    EXPECT_EQ(pClone->read(8, out), 4);
    EXPECT_STREQ(out, "abcd");
    EXPECT_EQ(pClone->write(1, "x"), 0);

    SmartPtr<MemStream> empty = MemStream().clone();
    EXPECT_EQ(empty->length(), 0);
    EXPECT_EQ(empty->read(1, out), 0);
}

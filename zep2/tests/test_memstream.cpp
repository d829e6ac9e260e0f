#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "zep2/memstream.h"

using Zep::MemStream;
using Zep::SmartPtr;
using Bytes = std::vector<uint8_t>;

namespace {
Bytes contents(MemStream& s) {
    const auto* p = static_cast<const uint8_t*>(s.getBuffer());
    return p ? Bytes(p, p + s.length()) : Bytes();
}
}  // namespace

TEST(MemStreamGrowth, FirstAllocationAndGrowthSteps) {
    MemStream s;
    EXPECT_EQ(s.getBuffer(), nullptr);
    EXPECT_EQ(s.getCapacity(), 0);
    Bytes ten(10, 1);
    EXPECT_EQ(s.write(10, ten.data()), 10);
    EXPECT_EQ(s.getCapacity(), 32768);
    EXPECT_EQ(s.length(), 10);
    EXPECT_EQ(s.getPosition(), 10);

    Bytes rest(32768 - 10, 2);
    EXPECT_EQ(s.write(static_cast<int>(rest.size()), rest.data()), static_cast<int>(rest.size()));
    // Filled exactly counts as full.
    EXPECT_EQ(s.getCapacity(), 57345);
    EXPECT_EQ(s.length(), 32768);
    Bytes all = contents(s);
    EXPECT_EQ(all[9], 1);
    EXPECT_EQ(all[10], 2);
    EXPECT_EQ(all[32767], 2);
}

TEST(MemStreamGrowth, LargeFirstWriteAllocatesExactly) {
    MemStream s;
    Bytes big(40000, 7);
    EXPECT_EQ(s.write(40000, big.data()), 40000);
    EXPECT_EQ(s.getCapacity(), 40000);
    EXPECT_EQ(s.length(), 40000);
    // 40000 * 1.75 + 1
    uint8_t b = 1;
    s.write(1, &b);
    EXPECT_EQ(s.getCapacity(), 70001);
}

TEST(MemStreamGrowth, OverwriteInsideKeepsSize) {
    MemStream s;
    s.write(10, "0123456789");
    s.setPosition(0);
    EXPECT_EQ(s.write(3, "abc"), 3);
    EXPECT_EQ(s.length(), 10);
    EXPECT_EQ(s.getPosition(), 3);
    EXPECT_EQ(contents(s), (Bytes{'a', 'b', 'c', '3', '4', '5', '6', '7', '8', '9'}));
    s.setPosition(8);
    s.write(4, "WXYZ");
    EXPECT_EQ(s.length(), 12);
}

TEST(MemStreamView, ReadsItsBytesThenNothing) {
    const uint8_t data[5] = {1, 2, 3, 4, 5};
    MemStream v(data, 5);
    uint8_t out[8] = {};
    EXPECT_EQ(v.read(8, out), 5);
    EXPECT_EQ(std::memcmp(out, data, 5), 0);
    EXPECT_EQ(v.read(8, out), 0);
    EXPECT_EQ(v.getBuffer(), data);
    EXPECT_TRUE(v.atEnd());
}

TEST(MemStreamModes, Supports) {
    MemStream g;
    const uint8_t data[1] = {0};
    MemStream v(data, 1);
    EXPECT_TRUE(g.supports(2));
    EXPECT_FALSE(g.supports(1));
    EXPECT_FALSE(g.supports(3));
    EXPECT_TRUE(v.supports(1));
    EXPECT_FALSE(v.supports(2));
    EXPECT_FALSE(v.supports(3));
}

TEST(MemStreamModes, GrowableStreamCanBeReadBack) {
    MemStream s;
    s.write(3, "xyz");
    s.setPosition(1);
    char out[4] = {};
    EXPECT_EQ(s.read(4, out), 2);
    EXPECT_STREQ(out, "yz");
}

TEST(MemStreamBounds, PositionOutsideDataReadsNothing) {
    const uint8_t data[4] = {1, 2, 3, 4};
    MemStream v(data, 4);
    uint8_t out[4] = {9, 9, 9, 9};
    v.setPosition(-3);
    EXPECT_EQ(v.read(4, out), 0);
    v.setPosition(4);
    EXPECT_EQ(v.read(4, out), 0);
    v.setPosition(1000000);
    EXPECT_EQ(v.read(4, out), 0);
    EXPECT_EQ(v.remaining(), 0);
    EXPECT_EQ(out[0], 9);
}

TEST(MemStreamBounds, WritePastEndZeroFillsTheGap) {
    MemStream s;
    s.write(2, "ab");
    s.setPosition(5);
    EXPECT_EQ(s.write(1, "c"), 1);
    EXPECT_EQ(s.length(), 6);
    EXPECT_EQ(contents(s), (Bytes{'a', 'b', 0, 0, 0, 'c'}));

    // Also across a reallocation.
    MemStream t;
    t.setPosition(40000);
    EXPECT_EQ(t.write(1, "z"), 1);
    EXPECT_EQ(t.length(), 40001);
    Bytes b = contents(t);
    for (int i = 0; i < 40000; ++i) ASSERT_EQ(b[static_cast<size_t>(i)], 0) << i;
    EXPECT_EQ(b[40000], 'z');
}

TEST(MemStreamBounds, NegativePositionOrCountWritesNothing) {
    MemStream s;
    s.write(2, "ab");
    s.setPosition(-1);
    EXPECT_EQ(s.write(1, "c"), 0);
    s.setPosition(0);
    EXPECT_EQ(s.write(-5, "c"), 0);
    EXPECT_EQ(s.length(), 2);
    s.setPosition(0x7FFFFFF0);
    EXPECT_EQ(s.write(32, "0123456789012345678901234567890"), 0);
    EXPECT_EQ(s.length(), 2);
}

TEST(MemStreamView, WriteIsRefusedAndChangesNothing) {
    uint8_t data[3] = {1, 2, 3};
    MemStream v(data, 3);
    EXPECT_EQ(v.write(2, "xy"), 0);
    v.setPosition(2);
    EXPECT_EQ(v.write(5, "abcde"), 0);
    EXPECT_EQ(data[0], 1);
    EXPECT_EQ(data[2], 3);
    EXPECT_EQ(v.length(), 3);
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
    EXPECT_EQ(pClone->length(), 4);
    char out[5] = {};
    EXPECT_EQ(pClone->read(8, out), 4);
    EXPECT_STREQ(out, "abcd");
    EXPECT_EQ(pClone->write(1, "x"), 0);
}

TEST(MemStreamClone, OfEmptyStreamIsEmpty) {
    MemStream s;
    SmartPtr<MemStream> c = s.clone();
    EXPECT_EQ(c->length(), 0);
    char b;
    EXPECT_EQ(c->read(1, &b), 0);
}

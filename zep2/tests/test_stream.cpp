#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "zep2/error.h"
#include "zep2/memstream.h"
#include "zep2/stream.h"

using Zep::MemStream;
using Zep::SmartPtr;
using Zep::Stream;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes bytesOf(MemStream& s) {
    const auto* p = static_cast<const uint8_t*>(s.getBuffer());
    return p ? Bytes(p, p + s.length()) : Bytes();
}

// A stream that accepts only a limited number of bytes, hands out bytes from a
// script, can't tell how much it holds, and records the largest read asked of it.
class ScriptStream : public Stream {
public:
    explicit ScriptStream(Bytes data = {}, int nWriteRoom = 1 << 30) : m_data(std::move(data)), m_nRoom(nWriteRoom) {}
    int read(int nSize, void* pBuffer) override {
        if (nSize > m_nLargestRead) m_nLargestRead = nSize;
        int n = std::min<int>(nSize, static_cast<int>(m_data.size()) - m_nPos);
        if (n <= 0) return 0;
        std::memcpy(pBuffer, m_data.data() + m_nPos, static_cast<size_t>(n));
        m_nPos += n;
        return n;
    }
    int write(int nSize, const void* pBuffer) override {
        int n = std::min(nSize, m_nRoom);
        m_nRoom -= n;
        const auto* p = static_cast<const uint8_t*>(pBuffer);
        m_written.insert(m_written.end(), p, p + n);
        return n;
    }
    int getPosition() override { return m_nPos; }
    int setPosition(int n) override { m_nPos = n; return 0; }
    int length() override { return static_cast<int>(m_data.size()); }
    bool supports(int nMode) override { return (nMode & ~3) == 0; }

    Bytes m_data;
    Bytes m_written;
    int m_nRoom;
    int m_nPos = 0;
    int m_nLargestRead = 0;
};

std::string readStringError(const Bytes& data, uint8_t nOrder = Stream::kLittleEndian) {
    MemStream s(data.data(), static_cast<int>(data.size()));
    s.setByteOrder(nOrder);
    try {
        s.readString();
    } catch (const Zep::BadStreamFormatException& e) {
        return e.getMessage();
    }
    return "<no exception>";
}

std::string readStringFrom(const Bytes& data, uint8_t nOrder = Stream::kLittleEndian) {
    MemStream s(data.data(), static_cast<int>(data.size()));
    s.setByteOrder(nOrder);
    return s.readString().c_str();
}

}  // namespace

TEST(StreamVarInt, GoldenEncodings) {
    const std::vector<std::pair<uint32_t, Bytes>> cases = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x80, 0x01}},
        {300, {0xAC, 0x02}},
        {18, {0x12}},
        {16384, {0x80, 0x80, 0x01}},
        {0xFFFFFFFFu, {0xFF, 0xFF, 0xFF, 0xFF, 0x0F}},
    };
    for (const auto& [nValue, expected] : cases) {
        MemStream s;
        ASSERT_TRUE(s.writeVarUInt(nValue));
        EXPECT_EQ(bytesOf(s), expected) << nValue;
        SmartPtr<MemStream> r = s.clone();
        EXPECT_EQ(r->readVarUInt(), nValue);
        EXPECT_EQ(r->getPosition(), static_cast<int>(expected.size()));
    }
}

TEST(StreamVarInt, NegativeTakesFiveBytesAndReadsBackBothWays) {
    MemStream s;
    ASSERT_TRUE(s.writeVarInt(-1));
    EXPECT_EQ(bytesOf(s), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x0F}));
    SmartPtr<MemStream> a = s.clone();
    EXPECT_EQ(a->readVarInt(), -1);
    SmartPtr<MemStream> b = s.clone();
    EXPECT_EQ(b->readVarUInt(), 4294967295u);
}

TEST(StreamVarInt, ReaderStopsAfterFiveBytesAndDropsHighBits) {
    Bytes data = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01};
    MemStream s(data.data(), 6);
    EXPECT_EQ(s.readVarUInt(), 0xFFFFFFFFu);
    EXPECT_EQ(s.getPosition(), 5);
    EXPECT_EQ(s.readU8(), 0x01);
}

TEST(StreamVarInt, ReaderStopsAtEndOfData) {
    Bytes data = {0x80, 0x81};
    MemStream s(data.data(), 2);
    EXPECT_EQ(s.readVarUInt(), 0x80u);
    EXPECT_EQ(s.getPosition(), 2);
    EXPECT_EQ(s.readVarUInt(), 0u);
}

TEST(StreamVarInt, WriterStopsAtFirstRefusedByte) {
    ScriptStream s({}, 2);
    EXPECT_FALSE(s.writeVarUInt(16384));
    EXPECT_EQ(s.m_written, (Bytes{0x80, 0x80}));
}

TEST(StreamFixed, ByteOrderSwapsOnlyIntegers) {
    MemStream le;
    ASSERT_TRUE(le.writeU32(258));
    EXPECT_EQ(bytesOf(le), (Bytes{0x02, 0x01, 0x00, 0x00}));
    EXPECT_EQ(le.clone()->readU32(), 258u);

    MemStream be;
    be.setByteOrder(Stream::kBigEndian);
    EXPECT_EQ(be.getByteOrder(), 0);
    ASSERT_TRUE(be.writeU32(258));
    ASSERT_TRUE(be.writeU16(0x1234));
    EXPECT_EQ(bytesOf(be), (Bytes{0x00, 0x00, 0x01, 0x02, 0x12, 0x34}));
    SmartPtr<MemStream> r = be.clone();
    r->setByteOrder(Stream::kBigEndian);
    EXPECT_EQ(r->readU32(), 258u);
    EXPECT_EQ(r->readI16(), 0x1234);

    MemStream f1, f2;
    f2.setByteOrder(Stream::kBigEndian);
    for (MemStream* s : {&f1, &f2}) {
        ASSERT_TRUE(s->writeFloat(1.5f));
        ASSERT_TRUE(s->writeDouble(-2.25));
    }
    EXPECT_EQ(bytesOf(f1), bytesOf(f2));
    EXPECT_EQ(bytesOf(f1), (Bytes{0x00, 0x00, 0xC0, 0x3F, 0, 0, 0, 0, 0, 0, 0x02, 0xC0}));
    SmartPtr<MemStream> rf = f2.clone();
    rf->setByteOrder(Stream::kBigEndian);
    EXPECT_EQ(rf->readFloat(), 1.5f);
    EXPECT_EQ(rf->readDouble(), -2.25);
}

TEST(StreamFixed, I16SignExtends) {
    Bytes data = {0xFF, 0xFF};
    MemStream s(data.data(), 2);
    EXPECT_EQ(static_cast<int>(s.readI16()), -1);
}

TEST(StreamFixed, ShortReadsGiveZerosNotGarbage) {
    Bytes data = {0xAB};
    MemStream s(data.data(), 1);
    EXPECT_EQ(s.readU32(), 0xABu);
    EXPECT_EQ(s.readU32(), 0u);
    EXPECT_EQ(s.readDouble(), 0.0);
    EXPECT_EQ(s.readU8(), 0);
    EXPECT_EQ(s.readI16(), 0);
}

TEST(StreamFixed, WritersReportShortWrites) {
    ScriptStream s({}, 3);
    EXPECT_FALSE(s.writeU32(1));
    EXPECT_TRUE(s.writeU8(7) == false);
}

TEST(StreamText, WriteTextHasNoLengthNorNul) {
    MemStream s;
    EXPECT_TRUE(s.writeText("ab\n"));
    EXPECT_TRUE(s.writeText(""));
    EXPECT_EQ(bytesOf(s), (Bytes{'a', 'b', '\n'}));
    ScriptStream tight({}, 2);
    EXPECT_FALSE(tight.writeText("abc"));
}

TEST(StreamString, CurrentForm) {
    MemStream s;
    ASSERT_TRUE(s.writeString("abc"));
    ASSERT_TRUE(s.writeString(""));
    ASSERT_TRUE(s.writeString(Zep::String("xy")));
    EXPECT_EQ(bytesOf(s), (Bytes{0x12, 0x03, 'a', 'b', 'c', 0x12, 0x00, 0x12, 0x02, 'x', 'y'}));
    SmartPtr<MemStream> r = s.clone();
    EXPECT_STREQ(r->readString().c_str(), "abc");
    EXPECT_STREQ(r->readString().c_str(), "");
    EXPECT_STREQ(r->readString().c_str(), "xy");
}

TEST(StreamString, LongTextUsesMultiByteLength) {
    std::string text(300, 'q');
    MemStream s;
    ASSERT_TRUE(s.writeString(text.c_str()));
    Bytes b = bytesOf(s);
    ASSERT_EQ(b.size(), 303u);
    EXPECT_EQ(b[1], 0xAC);
    EXPECT_EQ(b[2], 0x02);
    EXPECT_EQ(std::string(s.clone()->readString().c_str()), text);
}

TEST(StreamString, EmbeddedNulCutsTheText) {
    EXPECT_EQ(readStringFrom({0x12, 0x03, 'a', 0x00, 'b'}), "a");
}

TEST(StreamString, WriterFailsOnlyWhenTypeByteIsRefused) {
    ScriptStream none({}, 0);
    EXPECT_FALSE(none.writeString("abc"));
    ScriptStream some({}, 3);
    EXPECT_FALSE(some.writeString("abc"));
    EXPECT_EQ(some.m_written, (Bytes{0x12, 0x03, 'a'}));
}

TEST(StreamString, FormatErrors) {
    EXPECT_EQ(readStringError({0x22, 0x00}), "Stream::readString : unknown format version\n");
    EXPECT_EQ(readStringError({0x13, 0x00}), "Stream::readString : bad stream format\n");
    EXPECT_EQ(readStringError({0x14, 0x00}), "Stream::readString : bad stream format\n");
    EXPECT_EQ(readStringError({0x01, 0x74, 0x73, 0x4C, 0, 0, 0, 0}),
              "Stream::readString : bad stream format : 00727453, got 4C737400");
}

TEST(StreamString, ErrorNamesItsSource) {
    Bytes data = {0x13};
    MemStream s(data.data(), 1);
    try {
        s.readString();
        FAIL();
    } catch (const Zep::Exception& e) {
        EXPECT_STREQ(e.className(), "BadStreamFormatException");
        std::string file = e.getFile();
        EXPECT_EQ(file.substr(file.size() - 6), "stream");
    }
}

TEST(StreamString, LegacyFormFollowsStreamByteOrder) {
    Bytes be = {0x01, 0x72, 0x74, 0x53, 0x00, 0x00, 0x00, 0x03, 'a', 'b', 'c'};
    EXPECT_EQ(readStringFrom(be, Stream::kBigEndian), "abc");
    Bytes le = {0x01, 0x72, 0x74, 0x53, 0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c'};
    EXPECT_EQ(readStringFrom(le), "abc");
    // Big-endian bytes read as little-endian claim a huge length: empty, no error.
    EXPECT_EQ(readStringFrom(be), "");
}

TEST(StreamString, LengthBeyondDataGivesEmptyString) {
    Bytes data = {0x12, 0x0A, 'a', 'b', 'c', 'd'};
    MemStream s(data.data(), 6);
    EXPECT_STREQ(s.readString().c_str(), "");
    EXPECT_EQ(s.getPosition(), 6);
}

TEST(StreamString, HugeLengthsNeverOverflowOrAllocate) {
    // 0xFFFFFFFF as the length: once wrapped to a zero-byte buffer.
    EXPECT_EQ(readStringFrom({0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 'a', 'b'}), "");
    EXPECT_EQ(readStringFrom({0x01, 0x72, 0x74, 0x53, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}), "");
    EXPECT_EQ(readStringFrom({0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x07}), "");
}

TEST(StreamString, UnknownSizeStreamReadsInBoundedChunks) {
    ScriptStream s({0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x07, 'a', 'b', 'c'});
    EXPECT_STREQ(s.readString().c_str(), "");
    EXPECT_LE(s.m_nLargestRead, 64 * 1024);

    std::string text(200000, 'z');
    MemStream w;
    w.writeString(text.c_str());
    ScriptStream big(bytesOf(w));
    EXPECT_EQ(std::string(big.readString().c_str()), text);
    EXPECT_LE(big.m_nLargestRead, 64 * 1024);
}

TEST(StreamString, ShortHeaderReadsAsEmptyOrError) {
    EXPECT_EQ(readStringFrom({0x12}), "");
    // Nothing at all: the zero type byte is not a string.
    EXPECT_EQ(readStringError({}), "Stream::readString : bad stream format\n");
}

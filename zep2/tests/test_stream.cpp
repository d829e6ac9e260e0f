#include <zep2/stream.h>

#include "test_util.h"

using namespace testutil;
using Zep::MemStream;
using Zep::SmartPtr;
using Zep::Stream;

namespace {
// The text readString gives, or "! " and the message of its format error.
std::string readStringResult(const Bytes& data, uint8_t nOrder = Stream::kLittleEndian) {
    auto in = testutil::reader(data, nOrder);
    try {
        return in->readString().c_str();
    } catch (const Zep::BadStreamFormatException& e) {
        return std::string("! ") + e.getMessage();
    }
}
}  // namespace

TEST(StreamVarInt, GoldenEncodingsAndWhereTheReaderStops) {
    const std::pair<uint32_t, Bytes> cases[] = {
        {0, {0x00}}, {127, {0x7F}}, {128, {0x80, 0x01}}, {300, {0xAC, 0x02}},
        {16384, {0x80, 0x80, 0x01}}, {0xFFFFFFFFu, {0xFF, 0xFF, 0xFF, 0xFF, 0x0F}}};
    for (const auto& [nValue, expected] : cases) {
        MemStream s;
        ASSERT_TRUE(s.writeVarUInt(nValue));
        EXPECT_EQ(bytesOf(s), expected) << nValue;
        SmartPtr<MemStream> r = s.clone();
        EXPECT_TRUE(r->readVarUInt() == nValue && r->getPosition() == static_cast<int>(expected.size())) << nValue;
    }
    // A negative value takes five bytes and reads back both ways.
    MemStream s;
    ASSERT_TRUE(s.writeVarInt(-1));
    EXPECT_TRUE(bytesOf(s) == (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x0F}) && s.clone()->readVarInt() == -1);
    // The reader stops after five bytes (the high bits are dropped) or at the
    // end; then the value after it.
    const std::tuple<Bytes, uint32_t, int, uint32_t> stops[] = {
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}, 0xFFFFFFFFu, 5, 1}, {{0x80, 0x81}, 0x80, 2, 0}};
    for (const auto& [data, nValue, nPosition, nNext] : stops) {
        auto r = testutil::reader(data);
        EXPECT_TRUE(r->readVarUInt() == nValue && r->getPosition() == nPosition && r->readVarUInt() == nNext);
    }
}

TEST(StreamFixed, ByteOrderShortReadsAndShortWrites) {
    // Integers big-endian; floats and doubles stay little-endian.
    MemStream be;
    be.setByteOrder(Stream::kBigEndian);
    ASSERT_TRUE(be.writeU32(258) && be.writeU16(0x1234) && be.writeFloat(1.5f) && be.writeDouble(-2.25));
    EXPECT_EQ(bytesOf(be), (Bytes{0x00, 0x00, 0x01, 0x02, 0x12, 0x34, 0x00, 0x00, 0xC0, 0x3F, 0, 0, 0, 0, 0, 0, 0x02,
                                  0xC0}));
    SmartPtr<MemStream> r = be.clone();
    r->setByteOrder(Stream::kBigEndian);
    using Values = std::vector<double>;  // every value read, in order
    EXPECT_EQ((Values{double(r->readU32()), double(r->readI16()), r->readFloat(), r->readDouble()}),
              (Values{258, 0x1234, 1.5, -2.25}));
    // Short reads give zeros for the missing bytes, not garbage; 16 bits are sign-extended.
    auto s = testutil::reader({0xFF, 0xFF, 0xAB});
    EXPECT_EQ((Values{double(s->readI16()), double(s->readU32()), double(s->readU32()), s->readDouble(),
                      double(s->readU8()), double(s->readI16())}),
              (Values{-1, 0xAB, 0, 0, 0, 0}));
    // Writers report short writes.
    EXPECT_FALSE(ScriptStream::taking(3)->writeU32(1) || ScriptStream::taking(0)->writeU8(7));
    auto var = ScriptStream::taking(2);
    EXPECT_TRUE(!var->writeVarUInt(16384) && var->m_written == (Bytes{0x80, 0x80}));  // stops at the first refused byte
    // Text has no length and no NUL.
    MemStream text;
    EXPECT_TRUE(text.writeText("ab\n") && text.writeText("") && bytesOf(text) == (Bytes{'a', 'b', '\n'}) &&
                !ScriptStream::taking(2)->writeText("abc"));
    // A string write fails when any of its bytes is refused.
    EXPECT_FALSE(ScriptStream::taking(0)->writeString("abc"));
    auto some = ScriptStream::taking(3);
    EXPECT_TRUE(!some->writeString("abc") && some->m_written == (Bytes{0x12, 0x03, 'a'}));
}

TEST(StreamString, CurrentFormAndLongTextsInBoundedChunks) {
    MemStream s;
    ASSERT_TRUE(s.writeString("abc") && s.writeString("") && s.writeString(Zep::String("xy")));
    EXPECT_EQ(bytesOf(s), (Bytes{0x12, 0x03, 'a', 'b', 'c', 0x12, 0x00, 0x12, 0x02, 'x', 'y'}));
    SmartPtr<MemStream> r = s.clone();
    for (const char* text : {"abc", "", "xy"}) EXPECT_STREQ(r->readString().c_str(), text);
    // A long text arrives whole, read in bounded chunks.
    const std::string text(200000, 'z');
    MemStream w;
    w.writeString(text.c_str());
    ScriptStream big(bytesOf(w));
    EXPECT_EQ(Bytes(big.m_data.begin(), big.m_data.begin() + 4), (Bytes{0x12, 0xC0, 0x9A, 0x0C}));
    EXPECT_TRUE(big.readString() == text.c_str() && big.m_nLargestRead <= 64 * 1024);
    // A forged huge length neither allocates it nor reads in one piece.
    ScriptStream forged({0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x07, 'a', 'b', 'c'});
    EXPECT_TRUE(forged.readString().isEmpty() && forged.m_nLargestRead <= 64 * 1024);
    auto beyond = testutil::reader({0x12, 0x0A, 'a', 'b', 'c', 'd'});
    EXPECT_TRUE(beyond->readString().isEmpty() && beyond->getPosition() == 6);  // a length beyond the data
}

TEST(StreamString, OlderFormsErrorsAndForgedLengths) {
    const Bytes be = {0x01, 0x72, 0x74, 0x53, 0x00, 0x00, 0x00, 0x03, 'a', 'b', 'c'};
    const std::string kBad = "! Stream::readString : bad stream format\n";
    constexpr uint8_t LE = Stream::kLittleEndian, BE = Stream::kBigEndian;
    const std::tuple<Bytes, uint8_t, std::string> cases[] = {
        {{0x12, 0x03, 'a', 0x00, 'b'}, LE, "a"},  // an embedded NUL cuts the text
        {{0x12}, LE, ""},
        // The older form follows the stream's byte order.
        {be, BE, "abc"},
        {{0x01, 0x72, 0x74, 0x53, 0x03, 0x00, 0x00, 0x00, 'a', 'b', 'c'}, LE, "abc"},
        // Big-endian bytes read as little-endian claim a huge length: empty, no error.
        {be, LE, ""},
        {{0x22, 0x00}, LE, "! Stream::readString : unknown format version\n"},
        {{0x13, 0x00}, LE, kBad},
        {{0x14, 0x00}, LE, kBad},
        {{0x01, 0x74, 0x73, 0x4C, 0, 0, 0, 0}, LE,
         "! Stream::readString : bad stream format : 00727453, got 4C737400"},
        {{}, LE, kBad},  // nothing at all: the zero type byte is not a string
        // 0xFFFFFFFF as the length once wrapped to a zero-byte buffer.
        {{0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 'a', 'b'}, LE, ""},
        {{0x01, 0x72, 0x74, 0x53, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, LE, ""},
        {{0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x07}, LE, ""}};
    for (const auto& [data, nOrder, sResult] : cases)
        EXPECT_EQ(readStringResult(data, nOrder), sResult) << ::testing::PrintToString(data);
    EXPECT_EQ(testutil::describe([] { MemStream(nullptr, 0).readString(); }),
              "BadStreamFormatException [.\\src\\stream]: Stream::readString : bad stream format\n");
}

// Growth: 32768 bytes first, then capacity * 1.75 + 1, or the end itself.
TEST(MemStream, GrowthZeroFillAndRefusedWrites) {
    MemStream grown[2];
    EXPECT_EQ(grown[0].getBuffer(), nullptr);
    const Bytes data(40000, 7);
    // Filled exactly counts as full; a large first write allocates exactly.
    for (auto [i, nCount, nRoom] : {std::tuple{0, 10, 32768}, {0, 32758, 57345}, {1, 40000, 40000}, {1, 1, 70001}}) {
        EXPECT_TRUE(grown[i].write(nCount, data.data()) == nCount && grown[i].getCapacity() == nRoom) << nCount;
    }
    EXPECT_EQ(bytesOf(grown[1]), Bytes(40001, 7));
    // Overwrites inside, and zero-fills a gap past the end, also across a reallocation.
    MemStream t;
    t.write(10, "0123456789");
    for (auto [nPosition, sText] : {std::pair{0, "abc"}, {8, "WXYZ"}, {14, "c"}, {40000, "z"}}) {
        t.setPosition(nPosition);
        EXPECT_EQ(t.write(static_cast<int>(std::strlen(sText)), sText), static_cast<int>(std::strlen(sText)));
    }
    Bytes expected = testutil::textBytes(std::string("abc34567WXYZ\0\0c", 15));
    expected.resize(40001, 0);
    expected[40000] = 'z';
    EXPECT_EQ(bytesOf(t), expected);
    // A negative position or count, or an overflowing end, writes nothing.
    for (auto [nPosition, nCount] : {std::pair{-1, 1}, {0, -5}, {0x7FFFFFF0, 32}}) {
        t.setPosition(nPosition);
        EXPECT_EQ(t.write(nCount, data.data()), 0) << nPosition;
    }
    EXPECT_TRUE(t.length() == 40001 && t.supports(Stream::kWrite) && !t.supports(Stream::kRead));
}

TEST(MemStream, ViewsAndClonesReadTheirBytesAndRefuseWrites) {
    uint8_t data[5] = {1, 2, 3, 4, 5};
    MemStream v(data, 5);
    EXPECT_TRUE(v.supports(Stream::kRead) && !v.supports(Stream::kWrite));
    uint8_t out[8] = {9, 9, 9, 9};
    for (int nPosition : {-3, 5, 1000000}) {
        v.setPosition(nPosition);
        EXPECT_TRUE(v.read(4, out) == 0 && v.remaining() == 0) << nPosition;
    }
    v.setPosition(3);
    EXPECT_TRUE(v.read(8, out) == 2 && v.atEnd() && Bytes(out, out + 3) == (Bytes{4, 5, 9}));
    v.setPosition(2);
    EXPECT_TRUE(v.write(2, "ab") == 0 && data[2] == 3);
    // A clone keeps its copy while the source grows (its buffer moves) and dies.
    SmartPtr<MemStream> pClone;
    {
        SmartPtr<MemStream> pSource(new MemStream());
        pSource->write(4, "abcd");
        pClone = pSource->clone();
        pSource->write(70000, std::vector<uint8_t>(70000, 1).data());
    }
    EXPECT_TRUE(pClone->read(8, out) == 4 && pClone->write(1, "x") == 0 && MemStream().clone()->read(1, out) == 0);
    EXPECT_EQ(Bytes(out, out + 4), testutil::textBytes("abcd"));
}

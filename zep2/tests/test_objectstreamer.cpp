#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "test_util.h"
#include "zep2/date.h"
#include "zep2/objectstreamer.h"

using testutil::Bytes;
using testutil::bytesOf;
using testutil::describe;
using testutil::reader;
using testutil::ScriptStream;

namespace {

// Refers to itself from inside its own body; counts live instances.
struct Loop {
    static inline int s_nLive = 0;
    Loop() { ++s_nLive; }
    Loop(const Loop&) { ++s_nLive; }
    ~Loop() { --s_nLive; }
    void persistTo(Zep::ObjectStreamer& os) const { Zep::writeObject(os, pSelf); }
    void persistFrom(Zep::ObjectStreamer& os) { Zep::readObject(os, pSelf); }
    Loop* pSelf = nullptr;
};

struct Label {
    void persistTo(Zep::ObjectStreamer& os) const { os.writeString(sText); }
    void persistFrom(Zep::ObjectStreamer& os) { os.readString(sText); }
    Zep::String sText;
};

// Reads one byte after the header, so the header's length shows.
uint8_t byteAfterHeader(const Bytes& data) {
    auto in = reader(data);
    Zep::ObjectStreamer os(in.get(), false);
    uint8_t b = 0;
    os.readByte(b);
    return b;
}

}  // namespace

TEST(ObjectStreamerHeader, CurrentOlderAndForeignHeaders) {
    Zep::MemStream out;
    { Zep::ObjectStreamer os(&out, false); }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05}));

    // The older header checks only its first five bytes, then skips 21 more.
    Bytes older = {0x01, 0x72, 0x74, 0x53, 0x00};
    for (int i = 0; i < 21; ++i) older.push_back(static_cast<uint8_t>(0xA0 + i));
    older.push_back(0x2A);
    EXPECT_EQ(byteAfterHeader(older), 0x2A);
    EXPECT_EQ(byteAfterHeader({0x07, 0x33}), 0x33);  // any other first byte is accepted

    Bytes wrong = {0x01, 0x72, 0x74, 0x53, 0x41};
    wrong.resize(26, 0);
    EXPECT_EQ(describe([&] { byteAfterHeader(wrong); }),
              "FatalErrorException [.\\src\\objectstreamer]: Wrong ObjectStreamer signature");
}

TEST(ObjectStreamerOwnership, BidirectionalStreamIsRefusedBeforeAnyIo) {
    bool bDeleted = false;
    ScriptStream probe;
    probe.m_pDeleted = &bDeleted;
    EXPECT_EQ(
        describe([&] { Zep::ObjectStreamer os(&probe, true); }),
        "FatalErrorException [.\\src\\objectstreamer]: Zep::ObjectStreamer : Bidirectional streams not supported");
    EXPECT_EQ(probe.m_nReads + probe.m_nWrites, 0);
    EXPECT_FALSE(bDeleted);  // a failed constructor leaves the stream to the caller
    EXPECT_EQ(probe.getRefCount(), 0);

    auto in = reader({0x01, 0x00, 0x00, 0x00, 0x00});
    EXPECT_THROW(Zep::ObjectStreamer(in.get(), true), Zep::FatalErrorException);
    EXPECT_EQ(in->getRefCount(), 1);
}

TEST(ObjectStreamerOwnership, OwnedStreamIsReleasedNotDeletedUnderAHandle) {
    bool bDeleted = false;
    {
        auto* pStream = new ScriptStream({}, Zep::Stream::kWrite);
        pStream->m_pDeleted = &bDeleted;
        Zep::ObjectStreamer os(pStream, true);
        EXPECT_FALSE(bDeleted);
    }
    EXPECT_TRUE(bDeleted);

    bDeleted = false;
    Zep::SmartPtr<ScriptStream> handle(new ScriptStream({}, Zep::Stream::kWrite));
    handle->m_pDeleted = &bDeleted;
    { Zep::ObjectStreamer os(handle.get(), true); }
    EXPECT_FALSE(bDeleted);
    EXPECT_EQ(handle->getRefCount(), 1);
    handle = nullptr;
    EXPECT_TRUE(bDeleted);
}

TEST(ObjectStreamerValues, TypedValuesAndTheirBytes) {
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        os.writeInt32(258);
        os.writeInt16(-2);
        os.writeInt32(static_cast<long>(-1));  // longs take exactly four bytes
        os.writeUInt32(static_cast<unsigned long>(0x1122334455667788UL));
        os.writeByte(0xFE);
        os.writeChar('q');
        os.writeBool(true);
        os.writeVarInt(-1);
        os.writeVarUInt(300);
        os.writeString("abc");
        out.setByteOrder(Zep::Stream::kBigEndian);
        os.writeInt32(258);
        os.writeUInt16(0x1234);
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x02, 0x01, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x88, 0x77, 0x66,
                                   0x55, 0xFE, 'q',  0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0xAC, 0x02, 0x12, 0x03, 'a',
                                   'b',  'c',  0x00, 0x00, 0x01, 0x02, 0x12, 0x34}));

    auto in = out.clone();
    in->setByteOrder(Zep::Stream::kLittleEndian);
    Zep::ObjectStreamer os(in.get(), false);
    int32_t n32 = 0;
    int16_t n16 = 0;
    long nLong = 0;
    unsigned long nULong = 0;
    uint8_t b = 0;
    char c = 0;
    bool flag = false;
    os.readInt32(n32);
    os.readInt16(n16);
    os.readInt32(nLong);
    os.readUInt32(nULong);
    os.readByte(b);
    os.readChar(c);
    os.readBool(flag);
    EXPECT_EQ(os.readVarInt(), -1);
    EXPECT_EQ(os.readVarUInt(), 300u);
    EXPECT_EQ(n32, 258);
    EXPECT_EQ(n16, -2);
    EXPECT_EQ(nLong, -1L);
    EXPECT_EQ(nULong, 0x55667788UL);
    EXPECT_EQ(b, 0xFE);
    EXPECT_EQ(c, 'q');
    EXPECT_TRUE(flag);
}

TEST(ObjectStreamerValues, BoolOnlyForOneAndZeroPastTheEnd) {
    auto in = reader({0x05, 0x02, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    Zep::ObjectStreamer os(in.get(), false);
    bool a = true, b = false;
    os.readBool(a);
    os.readBool(b);
    EXPECT_FALSE(a);
    EXPECT_TRUE(b);
    unsigned long nUnsigned = 0;
    os.readUInt32(nUnsigned);
    EXPECT_EQ(nUnsigned, 4294967295UL);
    int32_t n = 99;
    uint16_t s = 99;
    double d = 1.0;
    os.readInt32(n);  // one byte left
    os.readUInt16(s);
    os.readDouble(d);
    EXPECT_EQ(n, 0x7F);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(d, 0.0);
    EXPECT_TRUE(os.atEnd());
}

// The id table grows with the object graph instead of keeping 97 buckets.
TEST(ObjectStreamerIds, ManyObjectsKeepTheirIds) {
    Zep::MemStream out;
    Zep::ObjectStreamer os(&out, false);
    std::vector<int> objects(1000);
    for (size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(os.registerObject(&objects[i]), i);
    for (size_t i = 0; i < objects.size(); i += 97) EXPECT_EQ(os.findObjectId(&objects[i]), static_cast<int>(i));
}

TEST(ObjectStreamerObjects, SameDateTwiceAndNullByPointer) {
    Zep::Date date(5, 3, 2024);
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        Zep::writeObject(os, &date);
        Zep::writeObject(os, &date);
        Zep::writeObject(os, static_cast<Zep::Date*>(nullptr));
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x00, 0, 0, 0, 0, 0xE8, 0x07, 0x03, 0x05, 0x01, 0, 0, 0, 0, 0x02}));

    auto in = out.clone();
    Zep::ObjectStreamer os(in.get(), false);
    Zep::Date* pFirst = nullptr;
    Zep::Date* pSecond = nullptr;
    Zep::Date* pNull = &date;
    Zep::readObject(os, pFirst);
    Zep::readObject(os, pSecond);
    Zep::readObject(os, pNull);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_EQ(*pFirst, date);
    EXPECT_EQ(pNull, nullptr);
    EXPECT_TRUE(os.atEnd());
    delete pFirst;
}

TEST(ObjectStreamerObjects, DateByValueIgnoresTheTagAndIsNormalised) {
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        Zep::writeValue(os, Zep::Date(5, 3, 2024));
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x00, 0xE8, 0x07, 0x03, 0x05}));

    auto in = reader({0x05, 0x09, 0xE8, 0x07, 0x03, 0x05, 0x00, 0xE8, 0x07, 0x00, 0x00});
    Zep::ObjectStreamer os(in.get(), false);
    Zep::Date date(1, 1, 1999);
    Zep::readValue(os, date);
    EXPECT_EQ(date, Zep::Date(5, 3, 2024));
    Zep::readValue(os, date);
    EXPECT_EQ(date, Zep::Date(30, 11, 2023));
}

TEST(ObjectStreamerObjects, UnknownBackReferenceNamesTheClassSource) {
    auto in = reader({0x05, 0x01, 0x03, 0x00, 0x00, 0x00});
    Zep::ObjectStreamer os(in.get(), false);
    Zep::Date* p = nullptr;
    try {
        Zep::readObject(os, p);
        FAIL() << "no exception";
    } catch (const Zep::FatalErrorException& e) {
        EXPECT_STREQ(e.getMessage(), "AlreadyLoaded failed");
        EXPECT_STREQ(e.getFile(), ".\\src\\date");
    }
    EXPECT_EQ(p, nullptr);
}

TEST(ObjectStreamerObjects, SelfReferenceWritesABackReferenceAndFailsOnReading) {
    Loop loop;
    loop.pSelf = &loop;
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        Zep::writeObject(os, &loop);
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x00, 0, 0, 0, 0, 0x01, 0, 0, 0, 0}));

    auto in = out.clone();
    Zep::ObjectStreamer os(in.get(), false);
    Loop* p = nullptr;
    const int nLiveBefore = Loop::s_nLive;
    EXPECT_EQ(describe([&] { Zep::readObject(os, p); }),
              "FatalErrorException [.\\src\\objectstreamer]: AlreadyLoaded failed");
    // The half-read object is freed and not handed out.
    EXPECT_EQ(Loop::s_nLive, nLiveBefore);
    EXPECT_EQ(p, nullptr);
    EXPECT_FALSE(os.isLoaded(0));
}

TEST(ObjectStreamerObjects, BackReferenceToAnotherTypeAndFailingBodiesAreRefused) {
    // Id 0 is read as a date; a label pointer must not be handed that object.
    auto in = reader({0x05, 0x00, 0, 0, 0, 0, 0xE8, 0x07, 0x03, 0x05, 0x01, 0, 0, 0, 0});
    Zep::ObjectStreamer os(in.get(), false);
    Zep::Date* pDate = nullptr;
    Label* pLabel = nullptr;
    Zep::readObject(os, pDate);
    EXPECT_EQ(describe([&] { Zep::readObject(os, pLabel); }),
              "FatalErrorException [.\\src\\objectstreamer]: AlreadyLoaded failed");
    EXPECT_EQ(pLabel, nullptr);
    delete pDate;

    // A label whose text record has a bad type byte is freed.
    auto bad = reader({0x05, 0x00, 0x04, 0, 0, 0, 0x22, 0x00});
    Zep::ObjectStreamer badOs(bad.get(), false);
    EXPECT_EQ(describe([&] { Zep::readObject(badOs, pLabel); }),
              "BadStreamFormatException [.\\src\\stream]: Stream::readString : unknown format version\n");
    EXPECT_EQ(pLabel, nullptr);
    EXPECT_FALSE(badOs.isLoaded(4));
}

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "zep2/date.h"
#include "zep2/error.h"
#include "zep2/memstream.h"
#include "zep2/objectstreamer.h"

using Bytes = std::vector<uint8_t>;

namespace {

Bytes bytesOf(Zep::MemStream& stream) {
    const auto* p = static_cast<const uint8_t*>(stream.getBuffer());
    return p ? Bytes(p, p + stream.length()) : Bytes();
}

// A read-only stream over a copy of the bytes.
Zep::SmartPtr<Zep::MemStream> reader(const Bytes& bytes) {
    Zep::MemStream source;
    if (!bytes.empty()) source.write(static_cast<int>(bytes.size()), bytes.data());
    return source.clone();
}

// Records what happens to it; supports whatever mode it is given.
class ProbeStream : public Zep::Stream {
public:
    ProbeStream(int nMode, bool* pDeleted) : m_nMode(nMode), m_pDeleted(pDeleted) {}
    ~ProbeStream() override {
        if (m_pDeleted) *m_pDeleted = true;
    }
    int read(int nSize, void* pBuffer) override {
        ++m_nReads;
        std::memset(pBuffer, 5, static_cast<size_t>(nSize));
        return nSize;
    }
    int write(int nSize, const void*) override {
        ++m_nWrites;
        return nSize;
    }
    int getPosition() override { return 0; }
    int setPosition(int) override { return 0; }
    int length() override { return 0; }
    bool supports(int nMode) override { return (m_nMode & nMode) == nMode; }

    int m_nReads = 0;
    int m_nWrites = 0;

private:
    int m_nMode;
    bool* m_pDeleted;
};

// Refers to itself from inside its own body; counts live instances.
struct Loop {
    static int s_nLive;
    Loop() { ++s_nLive; }
    Loop(const Loop&) { ++s_nLive; }
    ~Loop() { --s_nLive; }
    void persistTo(Zep::ObjectStreamer& os) const { Zep::writeObject(os, pSelf); }
    void persistFrom(Zep::ObjectStreamer& os) { Zep::readObject(os, pSelf); }
    Loop* pSelf = nullptr;
};
int Loop::s_nLive = 0;

struct Label {
    void persistTo(Zep::ObjectStreamer& os) const { os.writeString(sText); }
    void persistFrom(Zep::ObjectStreamer& os) { os.readString(sText); }
    Zep::String sText;
};

template <class F>
std::string messageOf(F&& f) {
    try {
        f();
    } catch (const Zep::Exception& e) {
        return std::string(e.className()) + ": " + e.getMessage();
    }
    return "no exception";
}

}  // namespace

// --- header

TEST(ObjectStreamerHeader, NewStreamHoldsOnlyTheHeaderByte) {
    Zep::MemStream out;
    { Zep::ObjectStreamer os(&out, false); }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05}));
}

TEST(ObjectStreamerHeader, OlderHeaderChecksOnlyItsFirstFiveBytes) {
    Bytes data = {0x01, 0x72, 0x74, 0x53, 0x00};
    for (int i = 0; i < 21; ++i) data.push_back(static_cast<uint8_t>(0xA0 + i));
    data.push_back(0x2A);
    auto in = reader(data);
    Zep::ObjectStreamer os(in.get(), false);
    uint8_t b = 0;
    os.readByte(b);
    EXPECT_EQ(b, 0x2A);
}

TEST(ObjectStreamerHeader, WrongOlderHeaderIsRejected) {
    Bytes data = {0x01, 0x72, 0x74, 0x53, 0x41};
    data.resize(26, 0);
    auto in = reader(data);
    EXPECT_EQ(messageOf([&] { Zep::ObjectStreamer os(in.get(), false); }),
              "FatalErrorException: Wrong ObjectStreamer signature");
}

TEST(ObjectStreamerHeader, AnyOtherFirstByteIsAccepted) {
    auto in = reader({0x07, 0x33});
    Zep::ObjectStreamer os(in.get(), false);
    uint8_t b = 0;
    os.readByte(b);
    EXPECT_EQ(b, 0x33);
}

TEST(ObjectStreamerHeader, BidirectionalStreamIsRefusedBeforeAnyIo) {
    bool bDeleted = false;
    ProbeStream probe(3, &bDeleted);
    EXPECT_EQ(messageOf([&] { Zep::ObjectStreamer os(&probe, true); }),
              "FatalErrorException: Zep::ObjectStreamer : Bidirectional streams not supported");
    EXPECT_EQ(probe.m_nReads, 0);
    EXPECT_EQ(probe.m_nWrites, 0);
    EXPECT_FALSE(bDeleted);  // a failed constructor leaves the stream to the caller
    EXPECT_EQ(probe.getRefCount(), 0);
}


// --- ownership

TEST(ObjectStreamerOwnership, OwnedStreamNobodyElseHoldsIsDeleted) {
    bool bDeleted = false;
    {
        Zep::ObjectStreamer os(new ProbeStream(Zep::Stream::kWrite, &bDeleted), true);
        EXPECT_FALSE(bDeleted);
    }
    EXPECT_TRUE(bDeleted);
}

TEST(ObjectStreamerOwnership, OwnedStreamStillHeldByAHandleSurvives) {
    bool bDeleted = false;
    Zep::SmartPtr<Zep::Stream> handle(new ProbeStream(Zep::Stream::kWrite, &bDeleted));
    { Zep::ObjectStreamer os(handle.get(), true); }
    EXPECT_FALSE(bDeleted);
    EXPECT_EQ(handle->getRefCount(), 1);
    handle = nullptr;
    EXPECT_TRUE(bDeleted);
}


TEST(ObjectStreamerOwnership, ConstructorFailureDoesNotDeleteAnOwnedStream) {
    auto in = reader({0x01, 0x00, 0x00, 0x00, 0x00});
    EXPECT_THROW(Zep::ObjectStreamer(in.get(), true), Zep::FatalErrorException);
    EXPECT_EQ(in->getRefCount(), 1);
}

// --- typed values

TEST(ObjectStreamerValues, FixedWidthIntegersFollowTheByteOrder) {
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        os.writeInt32(258);
        os.writeInt16(-2);
        out.setByteOrder(Zep::Stream::kBigEndian);
        os.writeInt32(258);
        os.writeUInt16(0x1234);
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x02, 0x01, 0x00, 0x00, 0xFE, 0xFF, 0x00, 0x00, 0x01, 0x02, 0x12, 0x34}));
}

TEST(ObjectStreamerValues, LongsTakeExactlyFourBytes) {
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        os.writeInt32(static_cast<long>(-1));
        os.writeUInt32(static_cast<unsigned long>(0x1122334455667788UL));
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0xFF, 0xFF, 0xFF, 0xFF, 0x88, 0x77, 0x66, 0x55}));

    auto in = reader({0x05, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xAA});
    Zep::ObjectStreamer os(in.get(), false);
    long nSigned = 0;
    unsigned long nUnsigned = 0;
    os.readInt32(nSigned);
    os.readUInt32(nUnsigned);
    EXPECT_EQ(nSigned, -1L);
    EXPECT_EQ(nUnsigned, 4294967295UL);
    uint8_t b = 0;
    os.readUInt8(b);
    EXPECT_EQ(b, 0xAA);
}


TEST(ObjectStreamerValues, ReadsBackEveryKind) {
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        os.writeByte(0xFE);
        os.writeChar('q');
        os.writeBool(true);
        os.writeUInt16(65535);
        os.writeVarInt(-1);
        os.writeVarUInt(300);
        os.writeString("abc");
        os.writeString(Zep::String(""));
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0xFE, 'q', 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0xAC, 0x02,
                                   0x12, 0x03, 'a', 'b', 'c', 0x12, 0x00}));
    auto in = out.clone();
    Zep::ObjectStreamer os(in.get(), false);
    uint8_t b = 0;
    char c = 0;
    bool flag = false;
    uint16_t u16 = 0;
    os.readByte(b);
    os.readChar(c);
    os.readBool(flag);
    os.readUInt16(u16);
    EXPECT_EQ(os.readVarInt(), -1);
    EXPECT_EQ(os.readVarUInt(), 300u);
    EXPECT_EQ(b, 0xFE);
    EXPECT_EQ(c, 'q');
    EXPECT_TRUE(flag);
    EXPECT_EQ(u16, 65535);
}

TEST(ObjectStreamerValues, BoolIsTrueOnlyForOne) {
    auto in = reader({0x05, 0x02, 0x01});
    Zep::ObjectStreamer os(in.get(), false);
    bool a = true, b = false;
    os.readBool(a);
    os.readBool(b);
    EXPECT_FALSE(a);
    EXPECT_TRUE(b);
}

TEST(ObjectStreamerValues, ReadsPastTheEndGiveZero) {
    auto in = reader({0x05, 0x7F});
    Zep::ObjectStreamer os(in.get(), false);
    int32_t n = 99;
    int16_t s = 99;
    double d = 1.0;
    os.readInt32(n);  // one byte left
    os.readInt16(s);
    os.readDouble(d);
    EXPECT_EQ(n, 0x7F);
    EXPECT_EQ(s, 0);
    EXPECT_EQ(d, 0.0);
    EXPECT_TRUE(os.atEnd());
}

// --- id table


TEST(ObjectStreamerIds, ManyObjectsKeepTheirIds) {
    Zep::MemStream out;
    Zep::ObjectStreamer os(&out, false);
    std::vector<int> objects(5000);
    for (size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(os.registerObject(&objects[i]), i);
    for (size_t i = 0; i < objects.size(); i += 97) EXPECT_EQ(os.findObjectId(&objects[i]), static_cast<int>(i));
}


// --- objects

TEST(ObjectStreamerObjects, SameDateTwiceByPointer) {
    Zep::Date date(5, 3, 2024);
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        Zep::writeObject(os, &date);
        Zep::writeObject(os, &date);
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x00, 0, 0, 0, 0, 0xE8, 0x07, 0x03, 0x05, 0x01, 0, 0, 0, 0}));

    auto in = out.clone();
    Zep::ObjectStreamer os(in.get(), false);
    Zep::Date* pFirst = nullptr;
    Zep::Date* pSecond = nullptr;
    Zep::readObject(os, pFirst);
    Zep::readObject(os, pSecond);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_NE(pFirst, &date);
    EXPECT_EQ(*pFirst, date);
    delete pFirst;
}

TEST(ObjectStreamerObjects, NullPointer) {
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        Zep::writeObject(os, static_cast<Zep::Date*>(nullptr));
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x02}));
    auto in = out.clone();
    Zep::ObjectStreamer os(in.get(), false);
    Zep::Date dummy(1, 1, 2000);
    Zep::Date* p = &dummy;
    Zep::readObject(os, p);
    EXPECT_EQ(p, nullptr);
    EXPECT_TRUE(os.atEnd());
}

TEST(ObjectStreamerObjects, DateByValueIgnoresTheTagOnReading) {
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        Zep::writeValue(os, Zep::Date(5, 3, 2024));
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x00, 0xE8, 0x07, 0x03, 0x05}));

    auto in = reader({0x05, 0x09, 0xE8, 0x07, 0x03, 0x05});
    Zep::ObjectStreamer os(in.get(), false);
    Zep::Date date(1, 1, 1999);
    Zep::readValue(os, date);
    EXPECT_EQ(date, Zep::Date(5, 3, 2024));
}

TEST(ObjectStreamerObjects, PersistedDateIsNormalised) {
    auto in = reader({0x05, 0x00, 0xE8, 0x07, 0x00, 0x00});
    Zep::ObjectStreamer os(in.get(), false);
    Zep::Date date(1, 1, 1999);
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
    EXPECT_EQ(messageOf([&] { Zep::readObject(os, p); }), "FatalErrorException: AlreadyLoaded failed");
    // The half-read object is freed and not handed out.
    EXPECT_EQ(Loop::s_nLive, nLiveBefore);
    EXPECT_EQ(p, nullptr);
    EXPECT_FALSE(os.isLoaded(0));
}

TEST(ObjectStreamerObjects, BackReferenceToAnObjectOfAnotherTypeIsRefused) {
    // Id 0 is read as a date; a label pointer must not be handed that object.
    auto in = reader({0x05, 0x00, 0, 0, 0, 0, 0xE8, 0x07, 0x03, 0x05, 0x01, 0, 0, 0, 0});
    Zep::ObjectStreamer os(in.get(), false);
    Zep::Date* pDate = nullptr;
    Label* pLabel = nullptr;
    Zep::readObject(os, pDate);
    EXPECT_EQ(messageOf([&] { Zep::readObject(os, pLabel); }), "FatalErrorException: AlreadyLoaded failed");
    EXPECT_EQ(pLabel, nullptr);
    delete pDate;
}

TEST(ObjectStreamerObjects, ObjectWhoseBodyFailsIsFreed) {
    // A label whose text record has a bad type byte.
    auto in = reader({0x05, 0x00, 0x04, 0, 0, 0, 0x22, 0x00});
    Zep::ObjectStreamer os(in.get(), false);
    Label* p = nullptr;
    EXPECT_EQ(messageOf([&] { Zep::readObject(os, p); }),
              "BadStreamFormatException: Stream::readString : unknown format version\n");
    EXPECT_EQ(p, nullptr);
    EXPECT_FALSE(os.isLoaded(4));
}



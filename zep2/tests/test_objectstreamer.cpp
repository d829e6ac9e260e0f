#include <zep2/date.h>
#include <zep2/objectstreamer.h>

#include "score_row.h"
#include "test_util.h"

using namespace testutil;
using OS = Zep::ObjectStreamer;

namespace {
// Refers to itself from inside its own body; counts live instances.
struct Loop {
    static inline int s_nLive = 0;
    Loop() { ++s_nLive; }
    ~Loop() { --s_nLive; }
    void persistTo(OS& os) const { Zep::writeObject(os, pSelf); }
    void persistFrom(OS& os) { Zep::readObject(os, pSelf); }
    Loop* pSelf = nullptr;
};

// The next value through the given reader. It starts as all ones, so that a
// reader that leaves it alone shows.
template <class T>
T next(OS& os, void (OS::*pRead)(T&)) {
    T value = static_cast<T>(-1);
    (os.*pRead)(value);
    return value;
}

// Reads one byte after the header, so the header's length shows.
uint8_t byteAfterHeader(const Bytes& data) {
    auto in = reader(data);
    OS os(in.get(), false);
    return next(os, &OS::readByte);
}

// The error of reading a T through a pointer; nothing may be handed out.
template <class T>
std::string failedRead(OS& os) {
    T* p = nullptr;
    const std::string sError = describe([&] { Zep::readObject(os, p); });
    EXPECT_EQ(p, nullptr);
    return sError;
}

const std::string kAlreadyLoaded = "FatalErrorException [.\\src\\objectstreamer]: AlreadyLoaded failed";
}  // namespace

TEST(ObjectStreamerHeader, CurrentOlderAndForeignHeaders) {
    EXPECT_EQ(streamed<OS>([](OS&) {}), (Bytes{0x05}));
    // The older header checks only its first five bytes, then skips 21 more.
    Bytes older = {0x01, 0x72, 0x74, 0x53, 0x00};
    older.resize(26, 0xA5);
    older.push_back(0x2A);
    EXPECT_TRUE(byteAfterHeader(older) == 0x2A && byteAfterHeader({0x07, 0x33}) == 0x33);  // any other first byte goes
    Bytes wrong = older;
    wrong[4] = 0x41;
    EXPECT_EQ(describe([&] { byteAfterHeader(wrong); }),
              "FatalErrorException [.\\src\\objectstreamer]: Wrong ObjectStreamer signature");
}

TEST(ObjectStreamerOwnership, RefusedStreamsStayWithTheCallerAndHandlesAreReleased) {
    bool bDeleted = false;
    ScriptStream probe;
    probe.m_pDeleted = &bDeleted;
    EXPECT_EQ(
        describe([&] { OS os(&probe, true); }),
        "FatalErrorException [.\\src\\objectstreamer]: Zep::ObjectStreamer : Bidirectional streams not supported");
    // Refused before any reading or writing.
    EXPECT_TRUE(probe.m_nReads + probe.m_nWrites == 0 && !bDeleted && probe.getRefCount() == 0);
    auto in = reader({0x01, 0x00, 0x00, 0x00, 0x00});
    EXPECT_THROW(OS(in.get(), true), Zep::FatalErrorException);
    EXPECT_EQ(in->getRefCount(), 1);
    // An owned stream is deleted with the streamer, unless a handle holds it.
    {
        auto* pStream = new ScriptStream({}, Zep::Stream::kWrite);
        pStream->m_pDeleted = &bDeleted;
        OS os(pStream, true);
    }
    EXPECT_TRUE(bDeleted);
    bDeleted = false;
    Zep::SmartPtr<ScriptStream> handle(new ScriptStream({}, Zep::Stream::kWrite));
    handle->m_pDeleted = &bDeleted;
    { OS os(handle.get(), true); }
    EXPECT_TRUE(!bDeleted && handle->getRefCount() == 1);
    handle = nullptr;
    EXPECT_TRUE(bDeleted);
}

TEST(ObjectStreamerValues, TypedValuesDatesTheirBytesAndShortReads) {
    Zep::MemStream out;
    {
        OS os(&out, false);
        // Longs take exactly four bytes.
        ASSERT_TRUE(os.writeInt32(258) && os.writeInt16(-2) && os.writeInt32(static_cast<long>(-1)) &&
                    os.writeUInt32(static_cast<unsigned long>(0x1122334455667788UL)) && os.writeByte(0xFE) &&
                    os.writeChar('q') && os.writeBool(true) && os.writeVarInt(-1) && os.writeVarUInt(300) &&
                    os.writeString("abc"));
        out.setByteOrder(Zep::Stream::kBigEndian);
        ASSERT_TRUE(os.writeInt32(258) && os.writeUInt16(0x1234));
    }
    EXPECT_EQ(bytesOf(out), (Bytes{0x05, 0x02, 0x01, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x88, 0x77, 0x66,
                                   0x55, 0xFE, 'q',  0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0xAC, 0x02, 0x12, 0x03, 'a',
                                   'b',  'c',  0x00, 0x00, 0x01, 0x02, 0x12, 0x34}));
    auto in = out.clone();
    OS os(in.get(), false);
    using Values = std::vector<double>;  // every value read, in order
    EXPECT_EQ((Values{double(next<int32_t>(os, &OS::readInt32)), double(next(os, &OS::readInt16)),
                      double(next<long>(os, &OS::readInt32)), double(next<unsigned long>(os, &OS::readUInt32)),
                      double(next(os, &OS::readByte)), double(next(os, &OS::readChar)),
                      double(next(os, &OS::readBool)), double(os.readVarInt()), double(os.readVarUInt())}),
              (Values{258, -2, -1, 0x55667788, 0xFE, 'q', 1, -1, 300}));
    // Bools are true only for the byte 1; bytes past the end read as zeros.
    auto more = reader({0x05, 0x02, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    OS moreOs(more.get(), false);
    EXPECT_EQ((Values{double(next(moreOs, &OS::readBool)), double(next(moreOs, &OS::readBool)),
                      double(next<unsigned long>(moreOs, &OS::readUInt32)),
                      double(next<int32_t>(moreOs, &OS::readInt32)),  // one byte left
                      double(next(moreOs, &OS::readUInt16)), next(moreOs, &OS::readFloat),
                      next(moreOs, &OS::readDouble)}),
              (Values{0, 1, 4294967295.0, 0x7F, 0, 0, 0}));
    EXPECT_TRUE(moreOs.atEnd());
    // Dates by value (by pointer they are objects like any other); reading
    // does not check the tag byte, and normalises.
    EXPECT_EQ(streamed<OS>([](OS& os) { Zep::writeValue(os, Zep::Date(5, 3, 2024)); }),
              (Bytes{0x05, 0x00, 0xE8, 0x07, 0x03, 0x05}));
    auto dateBytes = reader({0x05, 0x09, 0xE8, 0x07, 0x03, 0x05, 0x00, 0xE8, 0x07, 0x00, 0x00});
    OS dateOs(dateBytes.get(), false);
    Zep::Date date(1, 1, 1999);
    Zep::readValue(dateOs, date);
    EXPECT_EQ(date, Zep::Date(5, 3, 2024));
    Zep::readValue(dateOs, date);
    EXPECT_EQ(date, Zep::Date(30, 11, 2023));
}

// The id table grows with the object graph instead of keeping 97 buckets.
TEST(ObjectStreamerIds, ManyObjectsKeepTheirIds) {
    Zep::MemStream out;
    OS os(&out, false);
    std::vector<int> objects(1000);
    for (size_t i = 0; i < objects.size(); ++i) EXPECT_EQ(os.registerObject(&objects[i]), i);
    for (size_t i = 0; i < objects.size(); i += 97) EXPECT_EQ(os.findObjectId(&objects[i]), static_cast<int>(i));
}

TEST(ObjectStreamerObjects, BadBackReferencesAndFailingBodiesHandOutNothing) {
    // An unknown id names the source of the class read.
    auto unknown = reader({0x05, 0x01, 0x03, 0x00, 0x00, 0x00});
    OS unknownOs(unknown.get(), false);
    EXPECT_EQ(failedRead<Zep::Date>(unknownOs), "FatalErrorException [.\\src\\date]: AlreadyLoaded failed");
    // Id 0 is read as a date; a row pointer must not be handed that object.
    auto mixed = reader({0x05, 0x00, 0, 0, 0, 0, 0xE8, 0x07, 0x03, 0x05, 0x01, 0, 0, 0, 0});
    OS mixedOs(mixed.get(), false);
    Zep::Date* pDate = nullptr;
    Zep::readObject(mixedOs, pDate);
    std::unique_ptr<Zep::Date> owned(pDate);
    EXPECT_EQ(failedRead<ScoreRow>(mixedOs), kAlreadyLoaded);
    // A row whose first text record has a bad type byte is freed.
    auto bad = reader({0x05, 0x00, 0x04, 0, 0, 0, 0x22, 0x00});
    OS badOs(bad.get(), false);
    EXPECT_EQ(failedRead<ScoreRow>(badOs),
              "BadStreamFormatException [.\\src\\stream]: Stream::readString : unknown format version\n");
    EXPECT_FALSE(badOs.isLoaded(4));
    // An object that refers to itself is written with a back-reference to its
    // own id; reading it fails, and the half-read object is freed.
    Loop loop;
    loop.pSelf = &loop;
    const Bytes written = streamed<OS>([&](OS& os) { Zep::writeObject(os, &loop); });
    EXPECT_EQ(written, (Bytes{0x05, 0x00, 0, 0, 0, 0, 0x01, 0, 0, 0, 0}));
    auto in = reader(written);
    OS loopOs(in.get(), false);
    const int nLiveBefore = Loop::s_nLive;
    EXPECT_EQ(failedRead<Loop>(loopOs), kAlreadyLoaded);
    EXPECT_TRUE(Loop::s_nLive == nLiveBefore && !loopOs.isLoaded(0));
}

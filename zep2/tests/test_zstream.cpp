#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_util.h"
#include "zep2/zstream.h"

using testutil::Bytes;
using testutil::bytesOf;
using testutil::ScriptStream;
using Zep::MemStream;
using Zep::SmartPtr;
using Zep::Stream;
using Zep::ZStream;

namespace {

// Compressible but not trivial: repeated words with a running counter.
Bytes sample(size_t n, uint32_t seed = 1) {
    Bytes b(n);
    uint32_t x = seed;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        b[i] = (i % 7 == 0) ? static_cast<uint8_t>(x >> 24) : static_cast<uint8_t>('a' + (i / 13) % 5);
    }
    return b;
}

Bytes deflateBytes(const Bytes& plain, int nLevel = -1) {
    MemStream out;
    {
        ZStream z(&out, nLevel);
        const int nSize = static_cast<int>(plain.size());
        if (nSize > 0) {
            EXPECT_EQ(z.write(nSize, plain.data()), nSize);
        }
    }
    return bytesOf(out);
}

Bytes inflateAll(Stream& in, int nChunk) {
    ZStream z(&in);
    Bytes out;
    std::vector<uint8_t> buf(static_cast<size_t>(nChunk));
    for (int n = nChunk; n == nChunk;) {
        n = z.read(nChunk, buf.data());
        out.insert(out.end(), buf.begin(), buf.begin() + n);
    }
    EXPECT_EQ(z.read(nChunk, buf.data()), 0);
    EXPECT_EQ(z.getPosition(), static_cast<int>(out.size()));
    EXPECT_FALSE(z.hasError());
    EXPECT_TRUE(z.atEnd());
    return out;
}

// Reads as much as it can of damaged data: the bytes, the error flag and the end.
void expectDamaged(Bytes packed, const Bytes& plain) {
    MemStream in(packed.data(), static_cast<int>(packed.size()));
    ZStream z(&in);
    Bytes out(plain.size());
    const int n = z.read(static_cast<int>(out.size()), out.data());
    EXPECT_LT(n, static_cast<int>(plain.size()));
    EXPECT_EQ(z.getPosition(), n);
    EXPECT_TRUE(z.hasError());
    EXPECT_TRUE(z.atEnd());
    EXPECT_EQ(z.read(10, out.data()), 0);
}

}  // namespace

TEST(ZStreamRoundTrip, LevelsBufferBoundariesAndOneByteReads) {
    const Bytes plain = sample(10000);
    for (int nLevel : {-1, 0, 1, 9}) {
        const Bytes packed = deflateBytes(plain, nLevel);
        MemStream in(packed.data(), static_cast<int>(packed.size()));
        EXPECT_EQ(inflateAll(in, 4096), plain) << "level " << nLevel;
        EXPECT_EQ(in.getPosition(), static_cast<int>(packed.size()));
    }
    for (size_t n : {4095u, 4097u, 65536u, 65537u}) {
        const Bytes other = sample(n, static_cast<uint32_t>(n));
        const Bytes packed = deflateBytes(other, 6);
        MemStream in(packed.data(), static_cast<int>(packed.size()));
        EXPECT_EQ(inflateAll(in, 1), other) << n;
    }
    // Empty data is a valid stream.
    const Bytes packed = deflateBytes({});
    EXPECT_GT(packed.size(), 0u);
    MemStream in(packed.data(), static_cast<int>(packed.size()));
    EXPECT_TRUE(inflateAll(in, 10).empty());
}

TEST(ZStreamRoundTrip, IncompressibleDataInManySmallWrites) {
    Bytes plain(70000);
    uint32_t x = 7;
    for (auto& b : plain) b = static_cast<uint8_t>((x = x * 1664525u + 1013904223u) >> 24);
    MemStream out;
    {
        ZStream z(&out, 1);
        for (size_t i = 0; i < plain.size(); i += 333) {
            const int n = static_cast<int>(std::min<size_t>(333, plain.size() - i));
            ASSERT_EQ(z.write(n, plain.data() + i), n);
        }
        EXPECT_EQ(z.getPosition(), 70000);
        EXPECT_EQ(z.length(), out.length());
    }
    EXPECT_EQ(inflateAll(*out.clone(), 1000), plain);
}

TEST(ZStreamRoundTrip, ReadsAnyValidZlibDataAndShortReads) {
    const Bytes plain = sample(5000);
    uLongf n = compressBound(static_cast<uLong>(plain.size()));
    Bytes packed(n);
    ASSERT_EQ(compress2(packed.data(), &n, plain.data(), static_cast<uLong>(plain.size()), 3), Z_OK);
    packed.resize(n);
    MemStream in(packed.data(), static_cast<int>(packed.size()));
    EXPECT_EQ(inflateAll(in, 777), plain);

    const Bytes hello = deflateBytes(testutil::textBytes("hello"));
    MemStream small(hello.data(), static_cast<int>(hello.size()));
    ZStream z(&small);
    char buf[16] = {};
    EXPECT_EQ(z.read(3, buf), 3);
    EXPECT_EQ(z.read(16, buf), 2);  // more than remains
    EXPECT_EQ(std::string(buf, 2), "lo");
    EXPECT_EQ(z.read(16, buf), 0);
    EXPECT_EQ(z.read(0, buf), 0);
    EXPECT_EQ(z.getPosition(), 5);
    EXPECT_EQ(z.length(), static_cast<int>(hello.size()));
}

TEST(ZStreamInner, BackToBackStreamsRealignTheInnerPosition) {
    const Bytes first = sample(9000, 3), second = sample(30000, 4);
    MemStream out;
    ZStream(&out).write(static_cast<int>(first.size()), first.data());
    const int nFirstEnd = out.length();
    ZStream(&out, 1).write(static_cast<int>(second.size()), second.data());
    out.writeU32(0xDEADBEEF);

    SmartPtr<MemStream> in = out.clone();
    EXPECT_EQ(inflateAll(*in, 4096), first);
    EXPECT_EQ(in->getPosition(), nFirstEnd);
    EXPECT_EQ(inflateAll(*in, 100), second);
    EXPECT_EQ(in->readU32(), 0xDEADBEEFu);
}

TEST(ZStreamInner, TruncatedOrDamagedDataSetsTheErrorFlag) {
    Bytes plain(20000);
    for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i * 31 + (i >> 5));
    Bytes packed = deflateBytes(plain, 1);
    packed.resize(packed.size() / 2);
    expectDamaged(packed, plain);
    // What was inflated before the cut is handed out.
    MemStream in(packed.data(), static_cast<int>(packed.size()));
    Bytes out(plain.size());
    const int n = ZStream(&in).read(static_cast<int>(out.size()), out.data());
    EXPECT_GT(n, 0);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + n, plain.begin()));

    packed = deflateBytes(sample(5000));
    for (size_t i = 10; i < packed.size() - 4; ++i) packed[i] ^= 0x5A;
    expectDamaged(packed, sample(5000));
    expectDamaged({'G', 'R', 'F', 0x05, 1, 2, 3, 4}, Bytes(1));  // not zlib at all
}

TEST(ZStreamInner, VerifyEndConfirmsTheEndAndTheChecksum) {
    const Bytes plain = sample(3000);
    const Bytes good = deflateBytes(plain);
    Bytes badSum = good, cut = good;
    badSum.back() ^= 1;
    cut.resize(cut.size() - 2);
    struct Case { const char* what; Bytes packed; int nTake; bool bOk; };
    for (const Case& c : {Case{"good, all taken", good, 3000, true}, Case{"good, one byte left", good, 2999, false},
                          Case{"bad checksum", badSum, 3000, false}, Case{"cut checksum", cut, 3000, false}}) {
        MemStream in(c.packed.data(), static_cast<int>(c.packed.size()));
        ZStream z(&in);
        Bytes out(static_cast<size_t>(c.nTake));
        EXPECT_EQ(z.read(c.nTake, out.data()), c.nTake) << c.what;
        EXPECT_EQ(z.verifyEnd(), c.bOk) << c.what;
    }
    MemStream sink;
    EXPECT_FALSE(ZStream(&sink).verifyEnd());
}

TEST(ZStreamWrite, ShortInnerWritesAreRecorded) {
    const Bytes plain = sample(50000);
    ScriptStream roomy({}, Stream::kWrite);
    {
        ZStream z(&roomy);
        z.write(static_cast<int>(plain.size()), plain.data());
        z.finish();
        EXPECT_FALSE(z.hasError());
    }
    ScriptStream tight({}, Stream::kWrite);
    tight.m_nRoom = 10;
    ZStream z(&tight, 0);
    EXPECT_EQ(z.write(0, "x"), 0);  // zero bytes call nothing
    EXPECT_EQ(tight.m_nWrites, 0);
    EXPECT_EQ(z.write(static_cast<int>(plain.size()), plain.data()), static_cast<int>(plain.size()));
    z.finish();
    EXPECT_TRUE(z.hasError());
}

TEST(ZStreamWrite, WriteAfterFinishThrows) {
    MemStream out;
    ZStream z(&out);
    z.write(3, "abc");
    z.finish();
    const int nLen = out.length();
    z.finish();
    EXPECT_EQ(out.length(), nLen);
    // The code itself depends on the zlib version.
    const std::string msg = testutil::messageOf<Zep::FatalErrorException>([&] { z.write(3, "def"); });
    EXPECT_EQ(msg.rfind("ZStream::write : nErr = -", 0), 0u) << msg;
    EXPECT_EQ(msg.substr(msg.size() - 26), " trying to deflate 3 bytes") << msg;
    // Destruction afterwards still leaves a complete stream.
    EXPECT_EQ(inflateAll(*out.clone(), 10), testutil::textBytes("abc"));
}

TEST(ZStreamSetup, ConstructionErrors) {
    auto construct = [](Stream* pInner, int nLevel) {
        return testutil::describe([&] { ZStream z(pInner, nLevel); });
    };
    EXPECT_EQ(construct(nullptr, -1), "AssertFailException [.\\src\\zstream]: Assertion failed : m_pStream");
    ScriptStream both;
    EXPECT_EQ(construct(&both, -1),
              "FatalErrorException [.\\src\\zstream]: Zep::ZStream : Bidirectional streams not supported");
    MemStream w;
    EXPECT_EQ(construct(&w, 10), "AssertFailException [.\\src\\zstream]: Assertion failed : nLevel <= 9");
    EXPECT_EQ(construct(&w, -2), "AssertFailException [.\\src\\zstream]: Assertion failed : nLevel >= 0");
    uint8_t b = 0;
    MemStream r(&b, 1);
    EXPECT_EQ(construct(&r, 10), "AssertFailException [.\\src\\zstream]: Assertion failed : nLevel <= 9");
}

TEST(ZStreamSetup, DirectionFollowsTheInnerStreamAndPositioningThrows) {
    MemStream w;
    ZStream zw(&w);
    EXPECT_FALSE(zw.isReading());
    EXPECT_TRUE(zw.supports(2));
    EXPECT_FALSE(zw.supports(1));
    EXPECT_EQ(zw.getStream(), &w);
    char c;
    EXPECT_EQ(zw.read(1, &c), 0);
    EXPECT_EQ(testutil::messageOf<Zep::FatalErrorException>([&] { zw.setPosition(0); }),
              "Zep::ZStream : Positioning not implemented");
    uint8_t b = 0;
    MemStream r(&b, 1);
    ZStream zr(&r);
    EXPECT_TRUE(zr.isReading());
    EXPECT_TRUE(zr.supports(1));
    EXPECT_FALSE(zr.atEnd());
    EXPECT_THROW(zr.write(1, "x"), Zep::FatalErrorException);
}

TEST(ZStreamRecords, RecordsAndForgedLengthsThroughZlib) {
    MemStream out;
    {
        ZStream z(&out, 2);
        EXPECT_TRUE(z.writeString("report text"));
        EXPECT_TRUE(z.writeVarInt(-1));
        const uint8_t forged[] = {0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 'a', 'b'};
        z.write(sizeof forged, forged);
    }
    SmartPtr<MemStream> in = out.clone();
    ZStream z(in.get());
    EXPECT_EQ(z.remaining(), -1);
    EXPECT_STREQ(z.readString().c_str(), "report text");
    EXPECT_EQ(z.readVarInt(), -1);
    EXPECT_STREQ(z.readString().c_str(), "");  // the forged length reads as empty
    EXPECT_TRUE(z.atEnd());
    EXPECT_EQ(z.remaining(), 0);
    EXPECT_EQ(z.readU8(), 0);
    EXPECT_FALSE(z.hasError());
}

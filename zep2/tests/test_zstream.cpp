#include <zep2/zstream.h>

#include "test_util.h"

using namespace testutil;
using Zep::MemStream;
using Zep::Stream;
using Zep::ZStream;

namespace {
// Compressible but not trivial: repeated words with a running counter.
Bytes sample(size_t n, uint32_t x = 1) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = i % 7 ? static_cast<uint8_t>('a' + (i / 13) % 5) : static_cast<uint8_t>((x = x * 69069u + 1) >> 24);
    return b;
}


// Inflates everything in reads of nChunk; the data must end cleanly.
Bytes inflateAll(Stream& in, int nChunk) {
    ZStream z(&in);
    Bytes out;
    std::vector<uint8_t> buf(static_cast<size_t>(nChunk));
    for (int n = nChunk; n == nChunk;) {
        n = z.read(nChunk, buf.data());
        out.insert(out.end(), buf.begin(), buf.begin() + n);
    }
    EXPECT_TRUE(z.read(nChunk, buf.data()) == 0 && z.getPosition() == static_cast<int>(out.size()) &&
                !z.hasError() && z.atEnd() && z.verifyEnd());
    return out;
}
}  // namespace

TEST(ZStreamRoundTrip, LevelsSizesWritesAndReads) {
    // Level 0 and many small writes both make more output per write than one buffer.
    const struct { int nLevel; Bytes plain; size_t nWritePiece; int nReadChunk; } cases[] = {
        {-1, sample(10000), 10000, 4096}, {0, sample(10000), 10000, 4096}, {1, sample(70000, 7), 333, 1000},
        {9, sample(10000), 10000, 4096},  {6, sample(4095, 2), 4095, 1},   {6, sample(4097, 3), 4097, 1},
        {6, sample(65537, 4), 65537, 1},  {-1, Bytes(), 1, 10},  // empty data is a valid stream
    };
    for (const auto& c : cases) {
        const Bytes packed = deflateBytes(c.plain, c.nLevel, c.nWritePiece);
        MemStream in(packed.data(), static_cast<int>(packed.size()));
        EXPECT_TRUE(inflateAll(in, c.nReadChunk) == c.plain && in.getPosition() == static_cast<int>(packed.size()))
            << c.nLevel << " " << c.plain.size();
    }
}

TEST(ZStreamRead, ShortReadsPositionsAndBackToBackStreams) {
    const Bytes hello = deflateBytes(testutil::textBytes("hello"));
    MemStream small(hello.data(), static_cast<int>(hello.size()));
    ZStream z(&small);
    char buf[16] = {};
    EXPECT_TRUE(z.remaining() == -1 && z.read(3, buf) == 3);
    EXPECT_TRUE(z.read(16, buf) == 2 && std::string(buf, 2) == "lo");  // more than remains
    EXPECT_TRUE(z.read(0, buf) == 0 && z.getPosition() == 5 && z.remaining() == 0 &&
                z.length() == static_cast<int>(hello.size()));
    // Compressed bytes fetched but not used go back to the inner stream.
    const Bytes first = sample(9000, 3), second = sample(30000, 4);
    MemStream out;
    ZStream(&out).write(static_cast<int>(first.size()), first.data());
    const int nFirstEnd = out.length();
    ZStream(&out, 1).write(static_cast<int>(second.size()), second.data());
    out.writeU32(0xDEADBEEF);
    Zep::SmartPtr<MemStream> in = out.clone();
    EXPECT_TRUE(inflateAll(*in, 4096) == first && in->getPosition() == nFirstEnd);
    EXPECT_TRUE(inflateAll(*in, 100) == second && in->readU32() == 0xDEADBEEFu);
}

// Cut or damaged data: the bytes inflated before the damage, the error flag
// and the end; verifyEnd accepts only data that ends, checksum intact, right
// after the bytes taken.
TEST(ZStreamRead, DamageSetsTheErrorFlagAndFailsVerifyEnd) {
    const Bytes plain = sample(20000, 5), good = deflateBytes(plain, 1);
    Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2)), scrambled = good, badSum = good;
    for (size_t i = 10; i < scrambled.size() - 4; ++i) scrambled[i] ^= 0x5A;
    badSum.back() ^= 1;
    const struct { const char* what; Bytes packed; size_t nTake; bool bReadAll, bOk; } cases[] = {
        {"good, all taken", good, plain.size(), true, true},
        {"good, one byte left", good, plain.size() - 1, true, false},
        {"bad checksum", badSum, plain.size(), true, false},
        {"cut checksum", Bytes(good.begin(), good.end() - 2), plain.size(), true, false},
        {"cut in half", cut, plain.size(), false, false},
        {"scrambled", scrambled, plain.size(), false, false},
        {"not zlib at all", {'G', 'R', 'F', 0x05, 1, 2, 3, 4}, 1, false, false}};
    for (const auto& c : cases) {
        MemStream in(c.packed.data(), static_cast<int>(c.packed.size()));
        ZStream z(&in);
        Bytes out(c.nTake);
        const int n = z.read(static_cast<int>(c.nTake), out.data());
        if (c.bReadAll) {
            EXPECT_EQ(out, Bytes(plain.begin(), plain.begin() + n)) << c.what;
        } else {
            EXPECT_TRUE(n < static_cast<int>(c.nTake) && z.hasError() && z.atEnd()) << c.what;
            EXPECT_EQ(z.read(10, out.data()), 0) << c.what;
        }
        EXPECT_EQ(z.verifyEnd(), c.bOk) << c.what;
    }
}

TEST(ZStreamWrite, ShortInnerWritesAndWritesAfterFinish) {
    const Bytes plain = sample(50000);
    ScriptStream tight({}, Stream::kWrite);
    tight.m_nRoom = 10;
    {
        ZStream z(&tight, 0);
        EXPECT_TRUE(z.write(0, "x") == 0 && tight.m_nWrites == 0);  // zero bytes call nothing
        EXPECT_EQ(z.write(static_cast<int>(plain.size()), plain.data()), static_cast<int>(plain.size()));
        z.finish();
        EXPECT_TRUE(z.hasError() && !z.verifyEnd());  // never verified when writing
    }
    MemStream out;
    ZStream z(&out);
    z.write(3, "abc");
    z.finish();
    const int nLen = out.length();
    z.finish();  // a second finish adds nothing
    EXPECT_TRUE(out.length() == nLen && !z.hasError());
    // The code itself depends on the zlib version.
    const std::string msg = testutil::messageOf<Zep::FatalErrorException>([&] { z.write(3, "def"); });
    EXPECT_TRUE(msg.rfind("ZStream::write : nErr = -", 0) == 0 && msg.ends_with(" trying to deflate 3 bytes")) << msg;
    EXPECT_EQ(inflateAll(*out.clone(), 10), testutil::textBytes("abc"));  // still a complete stream
}

TEST(ZStreamSetup, ConstructionDirectionAndPositioning) {
    ScriptStream both;
    MemStream w;
    uint8_t b = 0;
    MemStream r(&b, 1);
    const std::pair<Stream*, int> bad[] = {{nullptr, -1}, {&both, -1}, {&w, 10}, {&w, -2}, {&r, 10}};
    std::string errors;
    for (auto [pInner, nLevel] : bad) errors += testutil::describe([pInner = pInner, nLevel = nLevel] { ZStream z(pInner, nLevel); }) + "\n";
    EXPECT_EQ(errors,
              "AssertFailException [.\\src\\zstream]: Assertion failed : m_pStream\n"
              "FatalErrorException [.\\src\\zstream]: Zep::ZStream : Bidirectional streams not supported\n"
              "AssertFailException [.\\src\\zstream]: Assertion failed : nLevel <= 9\n"
              "AssertFailException [.\\src\\zstream]: Assertion failed : nLevel >= 0\n"
              "AssertFailException [.\\src\\zstream]: Assertion failed : nLevel <= 9\n");
    ZStream zw(&w), zr(&r);  // the direction follows the inner stream
    EXPECT_TRUE(!zw.isReading() && zw.read(1, &b) == 0 && zr.isReading() && !zr.atEnd());
    EXPECT_EQ(testutil::messageOf<Zep::FatalErrorException>([&] { zw.setPosition(0); }),
              "Zep::ZStream : Positioning not implemented");
    EXPECT_THROW(zr.write(1, "x"), Zep::FatalErrorException);
}

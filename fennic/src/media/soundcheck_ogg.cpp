// Ogg Vorbis files: every page walked within the bytes and checksummed, and
// every logical stream's Vorbis identification header read.
//
// The Ogg reader skips a page whose checksum fails and hunts for the next
// capture pattern inside it, where a page never walked here could hide; so
// pages must tile the bytes exactly and all pass their checksum. Each stream's
// three header packets are gathered and read (the setup header in
// soundcheck_vorbis.cpp). A sample's length is bounded from the packet count:
// a packet decodes to at most half of the stream's long block.
#include <array>
#include <string>

#include "media/soundcheck_bytes.h"

namespace {

constexpr const char* kFormat = "Ogg";
constexpr size_t kPageHeaderSize = 27;
constexpr size_t kVersionField = 4;
constexpr size_t kFlagsField = 5;
constexpr size_t kSerialField = 14;
constexpr size_t kChecksumField = 22;
constexpr size_t kSegmentCountField = 26;
constexpr uint32_t kFirstPageFlag = 2;
constexpr uint32_t kLacingContinues = 255;
// Identification, comments and setup come before the sound.
constexpr uint64_t kHeaderPackets = 3;
// The identification packet: type 1, "vorbis", version, channels, rate,
// three bit rates, the two block sizes as powers of two, framing bit.
constexpr uint32_t kIdPacketSize = 30;
constexpr uint32_t kMinBlockSizeBits = 6;
constexpr uint32_t kMaxBlockSizeBits = 13;

// The page checksum (polynomial 0x04C11DB7, most significant bit first),
// eight bytes a step with the eight tables of a byte's effect 0 to 7 bytes
// further on.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables makeCrcTables() {
    CrcTables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t r = i << 24;
        for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
        t[0][i] = r;
    }
    for (size_t k = 1; k < t.size(); ++k)
        for (uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] << 8) ^ t[0][t[k - 1][i] >> 24];
    return t;
}
constexpr CrcTables kCrc = makeCrcTables();

uint32_t crcBytes(uint32_t nCrc, const uint8_t* p, size_t n) {
    for (; n >= 8; n -= 8, p += 8) {
        nCrc ^= uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
        nCrc = kCrc[7][nCrc >> 24] ^ kCrc[6][(nCrc >> 16) & 0xFF] ^ kCrc[5][(nCrc >> 8) & 0xFF] ^
               kCrc[4][nCrc & 0xFF] ^ kCrc[3][p[4]] ^ kCrc[2][p[5]] ^ kCrc[1][p[6]] ^ kCrc[0][p[7]];
    }
    for (; n > 0; --n, ++p) nCrc = (nCrc << 8) ^ kCrc[0][(nCrc >> 24) ^ *p];
    return nCrc;
}

// The page's checksum, taken with its checksum field as zeros.
uint32_t pageChecksum(const SoundBytes& bytes, size_t nAt, size_t nSize) {
    constexpr uint8_t kZeros[4] = {};
    uint32_t nCrc = crcBytes(0, bytes.at(nAt), kChecksumField);
    nCrc = crcBytes(nCrc, kZeros, sizeof(kZeros));
    const size_t nRest = kChecksumField + sizeof(kZeros);
    return crcBytes(nCrc, bytes.at(nAt + nRest), nSize - nRest);
}

struct Stream {
    size_t nAt = 0;  // its first page
    uint32_t nSerial = 0;
    uint32_t nChannels = 0;
    uint32_t nRate = 0;
    uint32_t nLongBlock = 0;
    uint64_t nPackets = 0;  // the three headers included
    std::string sHeader;    // the header packet being gathered
};

struct Page {
    size_t nAt = 0;
    size_t nSegments = 0;
    size_t nSize = 0;
    size_t lacing(size_t i) const { return nAt + kPageHeaderSize + i; }
    size_t body() const { return nAt + kPageHeaderSize + nSegments; }
};

Zep::String readPage(const SoundBytes& bytes, size_t nAt, Page& page) {
    if (!bytes.has(nAt, kPageHeaderSize)) return Zep::String::format("Ogg: page at %zu cut short", nAt);
    if (!bytes.matches(nAt, "OggS")) return Zep::String::format("Ogg: no page at %zu", nAt);
    if (bytes.u8(nAt + kVersionField) != 0)
        return Zep::String::format("Ogg: page at %zu of version %u", nAt, bytes.u8(nAt + kVersionField));
    page.nAt = nAt;
    page.nSegments = bytes.u8(nAt + kSegmentCountField);
    if (!bytes.has(nAt + kPageHeaderSize, page.nSegments))
        return Zep::String::format("Ogg: page at %zu cut short", nAt);
    size_t nBody = 0;
    for (size_t i = 0; i < page.nSegments; ++i) nBody += bytes.u8(page.lacing(i));
    page.nSize = kPageHeaderSize + page.nSegments + nBody;
    if (!bytes.has(nAt, page.nSize)) return Zep::String::format("Ogg: page at %zu cut short", nAt);
    if (pageChecksum(bytes, nAt, page.nSize) != bytes.le32(nAt + kChecksumField))
        return Zep::String::format("Ogg: page at %zu fails its checksum", nAt);
    return Zep::String();
}

Zep::String readIdHeader(const SoundBytes& packet, Stream& stream) {
    if (!packet.has(0, kIdPacketSize) || packet.u8(0) != 1 || !packet.matches(1, "vorbis") || packet.le32(7) != 0)
        return Zep::String::format("Ogg: stream at %zu is not Vorbis", stream.nAt);
    stream.nChannels = packet.u8(11);
    if (Zep::String sWhy = checkChannels(kFormat, stream.nChannels); !sWhy.isEmpty()) return sWhy;
    stream.nRate = packet.le32(12);
    if (Zep::String sWhy = checkRate(kFormat, stream.nRate); !sWhy.isEmpty()) return sWhy;
    const uint32_t nShort = packet.u8(28) & 0x0F, nLong = packet.u8(28) >> 4;
    if (nShort < kMinBlockSizeBits || nLong > kMaxBlockSizeBits || nShort > nLong)
        return Zep::String::format("Ogg: block sizes 2^%u and 2^%u", nShort, nLong);
    stream.nLongBlock = 1u << nLong;
    return Zep::String();
}

// A complete header packet: identification, comments, then the setup.
Zep::String readHeader(Stream& stream) {
    const SoundBytes packet(reinterpret_cast<const uint8_t*>(stream.sHeader.data()), stream.sHeader.size());
    switch (stream.nPackets) {
        case 0: return readIdHeader(packet, stream);
        case 1:
            if (packet.has(0, 7) && packet.u8(0) == 3 && packet.matches(1, "vorbis")) return Zep::String();
            return Zep::String::format("Ogg: stream at %zu has no Vorbis comment header", stream.nAt);
        default: return checkVorbisSetup(packet.at(0), packet.size(), stream.nChannels);
    }
}

// Counts the packets the page ends and gathers the stream's headers.
Zep::String readPackets(const SoundBytes& bytes, const Page& page, Stream& stream) {
    size_t nData = page.body();
    for (size_t i = 0; i < page.nSegments; ++i) {
        const uint32_t nLacing = bytes.u8(page.lacing(i));
        if (stream.nPackets < kHeaderPackets)
            stream.sHeader.append(reinterpret_cast<const char*>(bytes.at(nData)), nLacing);
        nData += nLacing;
        if (nLacing == kLacingContinues) continue;
        if (stream.nPackets < kHeaderPackets) {
            if (Zep::String sWhy = readHeader(stream); !sWhy.isEmpty()) return sWhy;
            stream.sHeader.clear();
        }
        ++stream.nPackets;
    }
    return Zep::String();
}

// The stream the page belongs to; a first page opens a new one.
Zep::String streamOf(const SoundBytes& bytes, const Page& page, std::array<Stream, kSoundMaxOggStreams>& streams,
                     int& nStreams, Stream*& pStream) {
    const uint32_t nSerial = bytes.le32(page.nAt + kSerialField);
    if (bytes.u8(page.nAt + kFlagsField) & kFirstPageFlag) {
        if (nStreams == kSoundMaxOggStreams)
            return Zep::String::format("Ogg: more than %d streams", kSoundMaxOggStreams);
        pStream = &streams[nStreams++];
        pStream->nAt = page.nAt;
        pStream->nSerial = nSerial;
        return Zep::String();
    }
    // The latest stream of that serial number: a chained file may reuse one.
    for (int i = nStreams - 1; i >= 0; --i)
        if (streams[i].nSerial == nSerial) {
            pStream = &streams[i];
            return Zep::String();
        }
    return Zep::String::format("Ogg: page at %zu belongs to no stream", page.nAt);
}

}  // namespace

Zep::String checkOgg(const SoundBytes& bytes, SoundUse use) {
    std::array<Stream, kSoundMaxOggStreams> streams;
    int nStreams = 0;
    Page page;
    for (size_t nAt = 0; nAt < bytes.size(); nAt += page.nSize) {
        if (Zep::String sWhy = readPage(bytes, nAt, page); !sWhy.isEmpty()) return sWhy;
        Stream* pStream = nullptr;
        if (Zep::String sWhy = streamOf(bytes, page, streams, nStreams, pStream); !sWhy.isEmpty()) return sWhy;
        if (Zep::String sWhy = readPackets(bytes, page, *pStream); !sWhy.isEmpty()) return sWhy;
    }
    uint64_t nTenths = 0;  // the sample's bound in tenths of a second, summed over the streams
    for (int i = 0; i < nStreams; ++i) {
        const Stream& stream = streams[i];
        if (stream.nPackets < kHeaderPackets)
            return Zep::String::format("Ogg: stream at %zu ends within its headers", stream.nAt);
        nTenths += (stream.nPackets - kHeaderPackets) * (stream.nLongBlock / 2) * 10 / stream.nRate;
    }
    return use == SoundUse::Sample ? checkSampleLength(kFormat, nTenths, 10) : Zep::String();
}

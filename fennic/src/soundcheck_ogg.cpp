// Ogg Vorbis files: every page walked within the bytes and checksummed, and
// every logical stream's Vorbis identification header read.
//
// The Ogg reader skips a page whose checksum fails and hunts for the next
// capture pattern inside it, where a page never walked here could hide; so
// pages must tile the bytes exactly and all pass their checksum. A sample's
// length is bounded from the packet count: a packet decodes to at most half
// of the stream's long block.
#include <array>

#include "soundcheck_bytes.h"

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
// The identification packet: type 1, "vorbis", version, channels, rate,
// three bit rates, the two block sizes as powers of two, framing bit.
constexpr uint32_t kIdPacketSize = 30;
constexpr uint32_t kMinBlockSizeBits = 6;
constexpr uint32_t kMaxBlockSizeBits = 13;

constexpr std::array<uint32_t, 256> makeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t r = i << 24;
        for (int k = 0; k < 8; ++k) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
        table[i] = r;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = makeCrcTable();

// The page's checksum, taken with its checksum field as zeros.
uint32_t pageChecksum(const SoundBytes& bytes, size_t nAt, size_t nSize) {
    uint32_t nCrc = 0;
    const uint8_t* p = bytes.at(nAt);
    for (size_t i = 0; i < nSize; ++i) {
        const uint8_t b = (i >= kChecksumField && i < kChecksumField + 4) ? 0 : p[i];
        nCrc = (nCrc << 8) ^ kCrcTable[((nCrc >> 24) ^ b) & 0xFF];
    }
    return nCrc;
}

struct Stream {
    uint32_t nSerial = 0;
    uint32_t nRate = 0;
    uint32_t nLongBlock = 0;
    uint64_t nPackets = 0;
};

struct Page {
    size_t nAt = 0;
    size_t nSegments = 0;
    size_t nSize = 0;
    size_t body() const { return nAt + kPageHeaderSize + nSegments; }
};

Zep::String readPage(const SoundBytes& bytes, size_t nAt, Page& page) {
    if (!bytes.has(nAt, kPageHeaderSize)) return Zep::String::format("Ogg: page at %zu cut short", nAt);
    if (!bytes.matches(nAt, "OggS")) return Zep::String::format("Ogg: no page at %zu", nAt);
    if (bytes.u8(nAt + kVersionField) != 0)
        return Zep::String::format("Ogg: page at %zu of version %u", nAt, bytes.u8(nAt + kVersionField));
    page.nAt = nAt;
    page.nSegments = bytes.u8(nAt + kSegmentCountField);
    if (!bytes.has(nAt + kPageHeaderSize, page.nSegments)) return Zep::String::format("Ogg: page at %zu cut short", nAt);
    size_t nBody = 0;
    for (size_t i = 0; i < page.nSegments; ++i) nBody += bytes.u8(nAt + kPageHeaderSize + i);
    page.nSize = kPageHeaderSize + page.nSegments + nBody;
    if (!bytes.has(nAt, page.nSize)) return Zep::String::format("Ogg: page at %zu cut short", nAt);
    if (pageChecksum(bytes, nAt, page.nSize) != bytes.le32(nAt + kChecksumField))
        return Zep::String::format("Ogg: page at %zu fails its checksum", nAt);
    return Zep::String();
}

// The first page of a stream: its first packet is the identification header.
Zep::String readIdHeader(const SoundBytes& bytes, const Page& page, Stream& stream) {
    const size_t n = page.body();
    const uint32_t nFirstLacing = page.nSegments > 0 ? bytes.u8(page.nAt + kPageHeaderSize) : 0;
    if (nFirstLacing < kIdPacketSize || nFirstLacing == kLacingContinues || bytes.u8(n) != 1 ||
        !bytes.matches(n + 1, "vorbis") || bytes.le32(n + 7) != 0)
        return Zep::String::format("Ogg: stream at %zu is not Vorbis", page.nAt);
    if (Zep::String sWhy = checkChannels(kFormat, bytes.u8(n + 11)); !sWhy.isEmpty()) return sWhy;
    stream.nRate = bytes.le32(n + 12);
    if (Zep::String sWhy = checkRate(kFormat, stream.nRate); !sWhy.isEmpty()) return sWhy;
    const uint32_t nShort = bytes.u8(n + 28) & 0x0F, nLong = bytes.u8(n + 28) >> 4;
    if (nShort < kMinBlockSizeBits || nLong > kMaxBlockSizeBits || nShort > nLong)
        return Zep::String::format("Ogg: block sizes 2^%u and 2^%u", nShort, nLong);
    stream.nLongBlock = 1u << nLong;
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
        pStream->nSerial = nSerial;
        return readIdHeader(bytes, page, *pStream);
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
        for (size_t i = 0; i < page.nSegments; ++i)
            if (bytes.u8(nAt + kPageHeaderSize + i) != kLacingContinues) ++pStream->nPackets;
    }
    if (use == SoundUse::Music) return Zep::String();
    uint64_t nTenths = 0;  // the bound in tenths of a second, summed over the streams
    for (int i = 0; i < nStreams; ++i)
        nTenths += streams[i].nPackets * (streams[i].nLongBlock / 2) * 10 / streams[i].nRate;
    return checkSampleLength(kFormat, nTenths, 10);
}

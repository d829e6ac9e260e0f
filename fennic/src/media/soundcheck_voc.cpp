// Creative voice files: the header and the block walk of the mixer's reader,
// done within the bytes first.
//
// The reader takes its sound format from the first sound block (a later one
// must agree), fills silence blocks by the first block's sample size and
// skips text and repeat blocks. It misreads marker blocks (their two bytes
// are skipped twice), divides by a channel count that extended blocks leave
// at 0, keeps a type-1 rate in 16 bits, rescales silences at another rate
// code, and writes past its buffer when a block holds nothing or a block
// follows the end block: those forms are refused here.
#include "media/soundcheck_bytes.h"

namespace {

constexpr const char* kFormat = "VOC";
constexpr size_t kHeaderSize = 26;
constexpr size_t kFirstBlockField = 20;
constexpr size_t kBlockHeaderSize = 4;  // type, 24-bit length

enum BlockType : uint32_t {
    kEnd = 0,
    kSound = 1,
    kMoreSound = 2,
    kSilence = 3,
    kText = 5,
    kRepeat = 6,
    kRepeatEnd = 7,
    kTypedSound = 9,
};

// Type 1: time constant and packing; type 9: rate, bits, channels, codec and
// four reserved bytes; type 3: length and time constant; type 6: count.
constexpr uint32_t kSoundHeader = 2;
constexpr uint32_t kTypedSoundHeader = 12;
constexpr uint32_t kSilenceLength = 3;
constexpr uint32_t kRepeatLength = 2;
// Type 1 rates are 1000000 / (256 - time constant); the reader keeps them in
// 16 bits.
constexpr uint32_t kTimeConstantBase = 1000000;
constexpr uint32_t kMaxSoundBlockRate = 0xFFFF;
// Codecs of type 9 blocks: the reader takes every byte as PCM.
constexpr uint32_t kCodecPcm8 = 0;
constexpr uint32_t kCodecPcm16 = 4;

struct Format {
    uint32_t nType = 0;  // 0 until the first sound block
    uint32_t nRateCode = 0;
    uint32_t nRate = 0;
    uint32_t nBits = 8;
    uint32_t nChannels = 1;
    uint32_t frameBytes() const { return nBits / 8 * nChannels; }
    bool operator==(const Format&) const = default;
};

struct Walk {
    Format format;
    uint64_t nFrames = 0;
};

Zep::String soundBlock(const SoundBytes& bytes, size_t nAt, uint32_t nLength, Format& format) {
    if (nLength < kSoundHeader) return Zep::String::format("VOC: sound block at %zu of %u bytes", nAt, nLength);
    const uint32_t nCode = bytes.u8(nAt + kBlockHeaderSize);
    const uint32_t nPacking = bytes.u8(nAt + kBlockHeaderSize + 1);
    if (nPacking != 0)
        return Zep::String::format("VOC: block at %zu packs its sound (%u), only PCM is read", nAt, nPacking);
    format = {kSound, nCode, kTimeConstantBase / (256 - nCode), 8, 1};
    if (format.nRate > kMaxSoundBlockRate)
        return Zep::String::format("VOC: rate %u Hz of the block at %zu needs more than 16 bits", format.nRate, nAt);
    return checkRate(kFormat, format.nRate);
}

Zep::String typedSoundBlock(const SoundBytes& bytes, size_t nAt, uint32_t nLength, Format& format) {
    if (nLength < kTypedSoundHeader) return Zep::String::format("VOC: sound block at %zu of %u bytes", nAt, nLength);
    const size_t n = nAt + kBlockHeaderSize;
    format = {kTypedSound, bytes.le32(n), bytes.le32(n), bytes.u8(n + 4), bytes.u8(n + 5)};
    const uint32_t nCodec = bytes.le16(n + 6);
    if (Zep::String sWhy = checkRate(kFormat, format.nRate); !sWhy.isEmpty()) return sWhy;
    if (Zep::String sWhy = checkChannels(kFormat, format.nChannels); !sWhy.isEmpty()) return sWhy;
    if ((format.nBits != 8 || nCodec != kCodecPcm8) && (format.nBits != 16 || nCodec != kCodecPcm16))
        return Zep::String::format("VOC: %u bits in codec %u at %zu, only 8-bit (0) or 16-bit (4) PCM is read",
                                   format.nBits, nCodec, nAt);
    return Zep::String();
}

// Sound blocks set or repeat the format and add their frames.
Zep::String addSound(const SoundBytes& bytes, size_t nAt, uint32_t nType, uint32_t nLength, Walk& walk) {
    Format format;
    Zep::String sWhy =
        nType == kSound ? soundBlock(bytes, nAt, nLength, format) : typedSoundBlock(bytes, nAt, nLength, format);
    if (!sWhy.isEmpty()) return sWhy;
    if (walk.format.nType != 0 && !(format == walk.format))
        return Zep::String::format("VOC: block at %zu changes the sound format", nAt);
    walk.format = format;
    const uint32_t nData = nLength - (nType == kSound ? kSoundHeader : kTypedSoundHeader);
    if (nData == 0) return Zep::String::format("VOC: block at %zu holds no sound", nAt);
    if (nData % format.frameBytes() != 0)
        return Zep::String::format("VOC: block at %zu holds %u bytes, not whole frames", nAt, nData);
    walk.nFrames += nData / format.frameBytes();
    return Zep::String();
}

// Blocks that follow the first sound block: more sound and silence.
Zep::String addFollower(const SoundBytes& bytes, size_t nAt, uint32_t nType, uint32_t nLength, Walk& walk) {
    if (walk.format.nType == 0) return Zep::String::format("VOC: block type %u at %zu before any sound", nType, nAt);
    const uint32_t nFrameBytes = walk.format.frameBytes();
    if (nType == kMoreSound) {
        if (nLength == 0) return Zep::String::format("VOC: block at %zu holds no sound", nAt);
        if (nLength % nFrameBytes != 0)
            return Zep::String::format("VOC: block at %zu holds %u bytes, not whole frames", nAt, nLength);
        walk.nFrames += nLength / nFrameBytes;
        return Zep::String();
    }
    if (nLength != kSilenceLength) return Zep::String::format("VOC: silence block at %zu of %u bytes", nAt, nLength);
    // The reader rescales a silence at another rate code, to nothing or to
    // part of a frame.
    if (walk.format.nType != kSound || bytes.u8(nAt + kBlockHeaderSize + 2) != walk.format.nRateCode)
        return Zep::String::format("VOC: silence block at %zu at another rate than the sound", nAt);
    const uint32_t nSilence = bytes.le16(nAt + kBlockHeaderSize);
    if (nSilence == 0) return Zep::String::format("VOC: block at %zu holds no sound", nAt);
    walk.nFrames += nSilence;
    return Zep::String();
}

Zep::String checkBlock(const SoundBytes& bytes, size_t nAt, uint32_t nType, uint32_t nLength, Walk& walk) {
    switch (nType) {
        case kSound:
        case kTypedSound: return addSound(bytes, nAt, nType, nLength, walk);
        case kMoreSound:
        case kSilence: return addFollower(bytes, nAt, nType, nLength, walk);
        case kText: return Zep::String();
        case kRepeat:
        case kRepeatEnd:
            if (nLength == (nType == kRepeat ? kRepeatLength : 0)) return Zep::String();
            return Zep::String::format("VOC: repeat block at %zu of %u bytes", nAt, nLength);
        default: return Zep::String::format("VOC: block type %u at %zu is not read", nType, nAt);
    }
}

}  // namespace

Zep::String checkVoc(const SoundBytes& bytes) {
    if (!bytes.has(0, kHeaderSize)) return Zep::String("VOC: header cut short");
    const size_t nFirst = bytes.le16(kFirstBlockField);
    if (nFirst < kHeaderSize || nFirst > bytes.size())
        return Zep::String::format("VOC: first block at %zu, outside %zu to %zu", nFirst, kHeaderSize, bytes.size());
    Walk walk;
    // The reader stops at the end of the bytes, or at an end block: that must
    // be the last byte, for the reader looks past it for more sound when its
    // buffer has no room left.
    for (size_t nAt = nFirst; nAt < bytes.size();) {
        if (bytes.u8(nAt) == kEnd) {
            if (nAt + 1 == bytes.size()) break;
            return Zep::String::format("VOC: %zu bytes after the end block", bytes.size() - nAt - 1);
        }
        if (!bytes.has(nAt, kBlockHeaderSize)) return Zep::String::format("VOC: block at %zu cut short", nAt);
        const uint32_t nType = bytes.u8(nAt);
        const uint32_t nLength = bytes.le24(nAt + 1);
        if (!bytes.has(nAt + kBlockHeaderSize, nLength))
            return Zep::String::format("VOC: block at %zu runs past the end", nAt);
        if (Zep::String sWhy = checkBlock(bytes, nAt, nType, nLength, walk); !sWhy.isEmpty()) return sWhy;
        nAt += kBlockHeaderSize + nLength;
    }
    if (walk.format.nType == 0) return Zep::String("VOC: no sound block");
    return checkSampleLength(kFormat, walk.nFrames, walk.format.nRate);
}

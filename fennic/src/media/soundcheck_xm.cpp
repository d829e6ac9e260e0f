// XM modules: the header, every pattern and every instrument with its sample
// headers and data, walked within the bytes as the module player's reader
// walks them.
//
// That reader is tried last but one among many module readers, and some of
// the earlier ones look for their mark at places an XM file fills with free
// text or sound: a file carrying such a mark would be read as that other
// kind, unchecked, so it is refused here. The player trusts instruments'
// key maps and plays notes of instruments that have no samples: see
// checkKeyMap.
#include <array>
#include <initializer_list>

#include "media/soundcheck_bytes.h"

namespace {

constexpr size_t kMarkField = 37;  // 0x1A after the 20-byte title
constexpr uint32_t kMark = 0x1A;
constexpr size_t kVersionField = 58;
constexpr uint32_t kVersion = 0x0104;
// The header's length is counted from its own field; the song fields and
// the order table follow it.
constexpr size_t kHeaderSizeField = 60;
constexpr uint32_t kSongFieldsSize = 20;
constexpr size_t kSongLengthField = 64;
constexpr size_t kChannelsField = 68;
constexpr size_t kPatternsField = 70;
constexpr size_t kInstrumentsField = 72;
constexpr size_t kSpeedField = 76;
constexpr size_t kBpmField = 78;
constexpr size_t kOrdersField = 80;
constexpr uint32_t kMinSpeed = 1, kMaxSpeed = 31, kMinBpm = 32, kMaxBpm = 255;
// Pattern header: length, packing type, rows, packed size.
constexpr uint32_t kPatternHeaderSize = 9;
// Cells: a byte with the top bit set says which of the five fields follow;
// otherwise it is the note and the four others follow.
constexpr uint32_t kPackedCell = 0x80;
constexpr uint32_t kNoteBit = 0x01;
constexpr uint32_t kInstrumentBit = 0x02;
constexpr uint32_t kCellFields = 5;
// Instrument header: length, name, type, sample count; with samples, the
// sample header length, key map, envelopes and vibrato take it to 241.
constexpr uint32_t kInstrumentBase = 29;
constexpr uint32_t kInstrumentWithSamples = 241;
constexpr size_t kSampleCountOffset = 27;
constexpr size_t kSampleHeaderSizeOffset = 29;
constexpr size_t kKeyMapOffset = 33;  // the sample of each of the 96 notes
constexpr size_t kKeyMapSize = 96;
constexpr uint32_t kSampleHeaderSize = 40;
constexpr size_t kSampleTypeOffset = 14;
constexpr uint32_t kLoopBits = 0x03;
constexpr uint32_t kPingPongLoop = 2;

// Marks of the module readers tried first: a 4-channel module's tag at 1080,
// a newer scream tracker module's at 44, an older one's at 20 (with type 2
// at 29).
constexpr size_t kModTagField = 1080;
constexpr size_t kS3mTagField = 44;
constexpr size_t kStmTagField = 20;
constexpr size_t kStmTypeField = 29;
constexpr uint32_t kStmType = 2;

bool isDigit(uint32_t c) { return c >= '0' && c <= '9'; }

bool carriesModTag(const SoundBytes& bytes) {
    if (!bytes.has(kModTagField, 4)) return false;
    for (const char* szTag : {"M.K.", "M!K!", "FLT4", "FLT8", "EXO4", "EXO8", "OKTA", "CD81"})
        if (bytes.matches(kModTagField, szTag)) return true;
    const size_t n = kModTagField;
    if (isDigit(bytes.u8(n)) && bytes.matches(n + 1, "CHN")) return true;
    return isDigit(bytes.u8(n)) && isDigit(bytes.u8(n + 1)) &&
           (bytes.matches(n + 2, "CH") || bytes.matches(n + 2, "CN"));
}

bool carriesOtherMark(const SoundBytes& bytes) {
    if (carriesModTag(bytes) || bytes.matches(kS3mTagField, "SCRM")) return true;
    if (bytes.u8(kStmTypeField) != kStmType) return false;
    for (const char* szTag : {"!Scream!", "BMOD2STM", "WUZAMOD!"})
        if (bytes.matches(kStmTagField, szTag)) return true;
    return false;
}

Zep::String range(const char* szWhat, uint32_t nValue, uint32_t nMin, uint32_t nMax) {
    if (nValue >= nMin && nValue <= nMax) return Zep::String();
    return Zep::String::format("XM: %s %u, %u to %u allowed", szWhat, nValue, nMin, nMax);
}

struct Song {
    uint32_t nChannels = 0;
    uint32_t nPatterns = 0;
    uint32_t nInstruments = 0;
    std::array<bool, 256> played{};  // instrument numbers the cells name (1 up)
};

Zep::String checkHeader(const SoundBytes& bytes, Song& song, size_t& nNext) {
    if (!bytes.has(0, kOrdersField)) return Zep::String("XM: header cut short");
    if (bytes.u8(kMarkField) != kMark) return Zep::String("XM: no 0x1A after the title");
    if (bytes.le16(kVersionField) != kVersion)
        return Zep::String::format("XM: version %x, only %x is read", bytes.le16(kVersionField), kVersion);
    if (carriesOtherMark(bytes)) return Zep::String("XM: carries the mark of another module type");
    const uint32_t nSongLength = bytes.le16(kSongLengthField);
    song = {bytes.le16(kChannelsField), bytes.le16(kPatternsField), bytes.le16(kInstrumentsField)};
    for (const Zep::String& sWhy :
         {range("song length", nSongLength, 1, kXmMaxSongLength), range("channels", song.nChannels, 1, kXmMaxChannels),
          range("patterns", song.nPatterns, 1, kXmMaxPatterns),
          range("instruments", song.nInstruments, 1, kXmMaxInstruments),
          range("speed", bytes.le16(kSpeedField), kMinSpeed, kMaxSpeed),
          range("tempo", bytes.le16(kBpmField), kMinBpm, kMaxBpm)})
        if (!sWhy.isEmpty()) return sWhy;
    const uint32_t nHeaderSize = bytes.le32(kHeaderSizeField);
    if (nHeaderSize < kSongFieldsSize + nSongLength || !bytes.has(kHeaderSizeField, nHeaderSize))
        return Zep::String::format("XM: header of %u bytes, %u to %zu allowed", nHeaderSize,
                                   kSongFieldsSize + nSongLength, bytes.size() - kHeaderSizeField);
    nNext = kHeaderSizeField + nHeaderSize;
    return Zep::String();
}

// The packed cells must not run past the pattern's packed bytes; the
// instruments they name are noted.
Zep::String checkCells(const SoundBytes& bytes, size_t nPattern, size_t nAt, size_t nEnd, uint32_t nCells,
                       Song& song) {
    for (uint32_t i = 0; i < nCells && nAt < nEnd; ++i) {
        const uint32_t nFirst = bytes.u8(nAt++);
        uint32_t nFields = kCellFields - 1;
        size_t nInstrument = nAt;  // after the note
        if (nFirst & kPackedCell) {
            nFields = 0;
            for (uint32_t nBit = 0; nBit < kCellFields; ++nBit) nFields += (nFirst >> nBit) & 1;
            nInstrument = (nFirst & kNoteBit) ? nAt + 1 : nAt;
            if (!(nFirst & kInstrumentBit)) nInstrument = nEnd;
        }
        if (nInstrument < nEnd) song.played[bytes.u8(nInstrument)] = true;
        nAt += nFields;
    }
    if (nAt > nEnd) return Zep::String::format("XM: cells of the pattern at %zu run past its packed bytes", nPattern);
    return Zep::String();
}

Zep::String checkPattern(const SoundBytes& bytes, Song& song, size_t& nAt) {
    if (!bytes.has(nAt, kPatternHeaderSize)) return Zep::String::format("XM: pattern at %zu cut short", nAt);
    const uint32_t nHeader = bytes.le32(nAt);
    const uint32_t nRows = bytes.le16(nAt + 5);
    const uint32_t nPacked = bytes.le16(nAt + 7);
    if (nHeader < kPatternHeaderSize || !bytes.has(nAt, nHeader) || !bytes.has(nAt + nHeader, nPacked))
        return Zep::String::format("XM: pattern at %zu runs past the end", nAt);
    if (bytes.u8(nAt + 4) != 0) return Zep::String::format("XM: pattern at %zu packed as %u", nAt, bytes.u8(nAt + 4));
    if (Zep::String sWhy = range("rows", nRows, 1, kXmMaxRows); !sWhy.isEmpty()) return sWhy;
    const size_t nPattern = nAt;
    const size_t nCells = nAt + nHeader;
    nAt = nCells + nPacked;
    return checkCells(bytes, nPattern, nCells, nAt, nRows * song.nChannels, song);
}

// One sample header; its data length is added to nData.
Zep::String checkSample(const SoundBytes& bytes, size_t nAt, uint64_t& nData) {
    const uint32_t nLength = bytes.le32(nAt);
    const uint64_t nLoopEnd = uint64_t(bytes.le32(nAt + 4)) + bytes.le32(nAt + 8);
    const uint32_t nLoop = bytes.u8(nAt + kSampleTypeOffset) & kLoopBits;
    if (nLoop > kPingPongLoop) return Zep::String::format("XM: sample at %zu of loop type %u", nAt, nLoop);
    if (nLoop != 0 && nLoopEnd > nLength)
        return Zep::String::format("XM: sample at %zu loops to %llu of %u bytes", nAt,
                                   static_cast<unsigned long long>(nLoopEnd), nLength);
    nData += nLength;
    return Zep::String();
}

// The player follows a note to a sample through the key map without looking
// whether the instrument has that sample, or any: a note of an instrument
// without samples after one with envelopes reads far outside its envelope.
Zep::String checkKeyMap(const SoundBytes& bytes, size_t nAt, uint32_t nNumber, uint32_t nSamples, const Song& song) {
    if (nSamples == 0) {
        if (!song.played[nNumber]) return Zep::String();
        return Zep::String::format("XM: the cells play instrument %u, which has no samples", nNumber);
    }
    if (bytes.le32(nAt + kSampleHeaderSizeOffset) != kSampleHeaderSize)
        return Zep::String::format("XM: instrument at %zu with sample headers of %u bytes", nAt,
                                   bytes.le32(nAt + kSampleHeaderSizeOffset));
    for (size_t i = 0; i < kKeyMapSize; ++i)
        if (bytes.u8(nAt + kKeyMapOffset + i) >= nSamples)
            return Zep::String::format("XM: instrument at %zu maps a note to sample %u of %u", nAt,
                                       bytes.u8(nAt + kKeyMapOffset + i), nSamples);
    return Zep::String();
}

Zep::String checkInstrument(const SoundBytes& bytes, uint32_t nNumber, const Song& song, size_t& nAt) {
    if (!bytes.has(nAt, kInstrumentBase)) return Zep::String::format("XM: instrument at %zu cut short", nAt);
    const uint32_t nHeader = bytes.le32(nAt);
    const uint32_t nSamples = bytes.le16(nAt + kSampleCountOffset);
    if (Zep::String sWhy = range("samples of an instrument", nSamples, 0, kXmMaxSamplesPerInstrument); !sWhy.isEmpty())
        return sWhy;
    const uint32_t nNeeded = nSamples ? kInstrumentWithSamples : kInstrumentBase;
    if (nHeader < nNeeded || !bytes.has(nAt, nHeader))
        return Zep::String::format("XM: instrument at %zu with a header of %u bytes", nAt, nHeader);
    if (Zep::String sWhy = checkKeyMap(bytes, nAt, nNumber, nSamples, song); !sWhy.isEmpty()) return sWhy;
    const size_t nHeaders = nAt + nHeader;
    if (!bytes.has(nHeaders, size_t(nSamples) * kSampleHeaderSize))
        return Zep::String::format("XM: sample headers at %zu cut short", nHeaders);
    uint64_t nData = 0;
    for (uint32_t i = 0; i < nSamples; ++i)
        if (Zep::String sWhy = checkSample(bytes, nHeaders + i * kSampleHeaderSize, nData); !sWhy.isEmpty())
            return sWhy;
    nAt = nHeaders + nSamples * kSampleHeaderSize;
    if (!bytes.has(nAt, nData)) return Zep::String::format("XM: sample data at %zu runs past the end", nAt);
    nAt += nData;
    return Zep::String();
}

}  // namespace

Zep::String checkXm(const SoundBytes& bytes) {
    Song song;
    size_t nAt = 0;
    if (Zep::String sWhy = checkHeader(bytes, song, nAt); !sWhy.isEmpty()) return sWhy;
    for (uint32_t i = 0; i < song.nPatterns; ++i)
        if (Zep::String sWhy = checkPattern(bytes, song, nAt); !sWhy.isEmpty()) return sWhy;
    for (uint32_t i = 0; i < song.nInstruments; ++i)
        if (Zep::String sWhy = checkInstrument(bytes, i + 1, song, nAt); !sWhy.isEmpty()) return sWhy;
    return Zep::String();
}

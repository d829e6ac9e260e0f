// WAV files: the chunk walk the mixer's two readers make (the sample reader
// and the music streamer), done within the bytes first.
//
// Both readers skip "fact" and "LIST" chunks, then insist on "fmt "; after
// it they skip any chunk up to "data". Neither pads odd chunk lengths, so
// neither does this walk: a padded file is read as the readers would read it.
#include "media/soundcheck_bytes.h"

namespace {

constexpr const char* kFormat = "WAV";
constexpr size_t kRiffHeaderSize = 12;
constexpr size_t kChunkHeaderSize = 8;
// Encoding, channels, rate, bytes per second, block size, bits per sample.
constexpr uint32_t kFmtSize = 16;
constexpr uint32_t kPcm = 1;

struct Chunk {
    size_t nAt = 0;  // the chunk's id
    uint32_t nLength = 0;
    size_t body() const { return nAt + kChunkHeaderSize; }
    size_t next() const { return body() + nLength; }
};

// The chunk at nAt, or the complaint when its header or body leaves the bytes.
Zep::String readChunk(const SoundBytes& bytes, size_t nAt, const char* szWanted, Chunk& chunk) {
    if (!bytes.has(nAt, kChunkHeaderSize)) return Zep::String::format("WAV: no \"%s\" chunk", szWanted);
    chunk.nAt = nAt;
    chunk.nLength = bytes.le32(nAt + 4);
    if (!bytes.has(chunk.body(), chunk.nLength))
        return Zep::String::format("WAV: chunk \"%s\" at %zu runs past the end", bytes.fourcc(nAt).c_str(), nAt);
    return Zep::String();
}

Zep::String findFormat(const SoundBytes& bytes, Chunk& chunk) {
    for (size_t nAt = kRiffHeaderSize;; nAt = chunk.next()) {
        if (Zep::String sWhy = readChunk(bytes, nAt, "fmt ", chunk); !sWhy.isEmpty()) return sWhy;
        if (bytes.matches(nAt, "fmt ")) return Zep::String();
        if (!bytes.matches(nAt, "fact") && !bytes.matches(nAt, "LIST"))
            return Zep::String::format("WAV: chunk \"%s\" at %zu before the \"fmt \" chunk", bytes.fourcc(nAt).c_str(),
                                       nAt);
    }
}

Zep::String checkFormat(const SoundBytes& bytes, const Chunk& fmt, uint32_t& nFrameBytes, uint32_t& nRate) {
    if (fmt.nLength < kFmtSize)
        return Zep::String::format("WAV: \"fmt \" chunk of %u bytes, %u needed", fmt.nLength, kFmtSize);
    const size_t n = fmt.body();
    if (bytes.le16(n) != kPcm) return Zep::String::format("WAV: encoding %u, only PCM (1) is read", bytes.le16(n));
    const uint32_t nChannels = bytes.le16(n + 2);
    nRate = bytes.le32(n + 4);
    const uint32_t nBits = bytes.le16(n + 14);
    if (Zep::String sWhy = checkChannels(kFormat, nChannels); !sWhy.isEmpty()) return sWhy;
    if (Zep::String sWhy = checkRate(kFormat, nRate); !sWhy.isEmpty()) return sWhy;
    if (nBits != 8 && nBits != 16) return Zep::String::format("WAV: %u bits per sample, 8 or 16 allowed", nBits);
    nFrameBytes = nChannels * nBits / 8;
    return Zep::String();
}

Zep::String findData(const SoundBytes& bytes, size_t nFrom, Chunk& chunk) {
    for (size_t nAt = nFrom;; nAt = chunk.next()) {
        if (Zep::String sWhy = readChunk(bytes, nAt, "data", chunk); !sWhy.isEmpty()) return sWhy;
        if (bytes.matches(nAt, "data")) return Zep::String();
    }
}

}  // namespace

Zep::String checkWav(const SoundBytes& bytes, SoundUse use) {
    const uint32_t nRiffLength = bytes.le32(4);
    if (nRiffLength > bytes.size() - 8)
        return Zep::String::format("WAV: RIFF length %u runs past the %zu-byte file", nRiffLength, bytes.size());
    Chunk fmt, data;
    uint32_t nFrameBytes = 0, nRate = 0;
    if (Zep::String sWhy = findFormat(bytes, fmt); !sWhy.isEmpty()) return sWhy;
    if (Zep::String sWhy = checkFormat(bytes, fmt, nFrameBytes, nRate); !sWhy.isEmpty()) return sWhy;
    if (Zep::String sWhy = findData(bytes, fmt.next(), data); !sWhy.isEmpty()) return sWhy;
    if (use == SoundUse::Sample) return checkSampleLength(kFormat, data.nLength / nFrameBytes, nRate);
    return Zep::String();
}

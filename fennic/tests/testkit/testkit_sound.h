// Small valid sound files made in memory for the sound tests, the sound
// benchmark and the sound fuzz target's seeds: PCM WAV, Creative voice files,
// Ogg Vorbis (written with the Vorbis encoder) and a tiny tracker module.
//
// The byte layouts are fixed, so a test can change one field at a known
// offset (see the k...At constants) and expect the matching complaint.
#pragma once

#include <cstdint>
#include <string>

namespace testkit {

// Little-endian field writers and readers over a byte string.
void putLE(std::string& s, uint32_t nValue, int nBytes);
void setLE(std::string& s, size_t nAt, uint32_t nValue, int nBytes);

// ---- WAV: "RIFF" header, "fmt " chunk at 12, "data" chunk at 36 -------------
struct WavSpec {
    int nChannels = 1;
    int nRate = 22050;
    int nBits = 16;
    int nFrames = 64;
};
inline constexpr size_t kWavFmtAt = 12;  // the "fmt " chunk's id
inline constexpr size_t kWavChannelsAt = 22;
inline constexpr size_t kWavRateAt = 24;
inline constexpr size_t kWavBitsAt = 34;
inline constexpr size_t kWavDataAt = 36;  // the "data" chunk's id
std::string makeWav(const WavSpec& spec);

// ---- VOC: 26-byte header, one sound block at 26, then the end block --------
struct VocSpec {
    // Type 1 (8-bit mono, rate as a time constant) or type 9 (any rate, 8 or
    // 16 bits, 1 or 2 channels).
    int nBlockType = 9;
    int nRate = 11025;
    int nBits = 8;
    int nChannels = 1;
    int nFrames = 64;
};
inline constexpr size_t kVocFirstBlockAt = 26;
std::string makeVoc(const VocSpec& spec);
// A block of the given type with its 24-bit length.
std::string vocBlock(int nType, const std::string& sBody);

// ---- Ogg Vorbis: the identification header alone on the first page --------
struct OggSpec {
    int nChannels = 1;
    int nRate = 22050;
    float fSeconds = 0.25f;
    // Noise over the 440 Hz tone, for a bit rate like real sound's.
    float fNoise = 0.0f;
};
inline constexpr size_t kOggIdPacketAt = 28;  // first page, one lacing value
std::string makeOggVorbis(const OggSpec& spec);
// Puts every page's checksum right after its bytes were changed (the pages
// from the start up to the first that does not begin with "OggS").
void fixOggChecksums(std::string& sBytes);

// ---- XM: one pattern, one instrument with one looping 8-bit sample ---------
struct XmSpec {
    int nChannels = 2;
    int nRows = 16;
    int nSampleBytes = 64;
};
inline constexpr size_t kXmHeaderSizeAt = 60;
inline constexpr size_t kXmSongLengthAt = 64;
inline constexpr size_t kXmChannelsAt = 68;
inline constexpr size_t kXmPatternsAt = 70;
inline constexpr size_t kXmInstrumentsAt = 72;
inline constexpr size_t kXmTempoAt = 76;
inline constexpr size_t kXmBpmAt = 78;
inline constexpr size_t kXmOrdersAt = 80;
inline constexpr size_t kXmFirstPatternAt = 336;
std::string makeXm(const XmSpec& spec);

}  // namespace testkit

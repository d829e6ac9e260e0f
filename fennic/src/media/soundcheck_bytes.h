// What the per-format sound checks share: a view of the bytes whose reads
// are checked by the caller with has(), the little-endian field readers, and
// the complaints about rates, channel counts and sample lengths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include <zep2/str.h>

#include "media/soundcheck.h"

class SoundBytes {
public:
    SoundBytes(const uint8_t* pBytes, size_t nSize) : m_pBytes(pBytes), m_nSize(nSize) {}

    size_t size() const { return m_nSize; }
    // Whether nLength bytes from nAt lie within the bytes (no overflow).
    bool has(size_t nAt, size_t nLength) const { return nAt <= m_nSize && nLength <= m_nSize - nAt; }
    // Whether the text's bytes (without its '\0') stand at nAt.
    bool matches(size_t nAt, const char* szText) const {
        const size_t n = std::strlen(szText);
        return has(nAt, n) && std::memcmp(m_pBytes + nAt, szText, n) == 0;
    }
    const uint8_t* at(size_t nAt) const { return m_pBytes + nAt; }
    uint32_t u8(size_t nAt) const { return m_pBytes[nAt]; }
    uint32_t le16(size_t nAt) const { return u8(nAt) | u8(nAt + 1) << 8; }
    uint32_t le24(size_t nAt) const { return le16(nAt) | u8(nAt + 2) << 16; }
    uint32_t le32(size_t nAt) const { return le24(nAt) | u8(nAt + 3) << 24; }
    // Four bytes as text for a message, '?' for those that are not printable.
    Zep::String fourcc(size_t nAt) const;

private:
    const uint8_t* m_pBytes;
    size_t m_nSize;
};

// Each answers empty when the value is allowed, else the complaint, which
// starts with the format's name.
Zep::String checkRate(const char* szFormat, uint32_t nRate);
Zep::String checkChannels(const char* szFormat, uint32_t nChannels);
Zep::String checkSampleLength(const char* szFormat, uint64_t nFrames, uint32_t nRate);

Zep::String checkWav(const SoundBytes& bytes, SoundUse use);
Zep::String checkVoc(const SoundBytes& bytes);
Zep::String checkOgg(const SoundBytes& bytes, SoundUse use);
Zep::String checkXm(const SoundBytes& bytes);
// The third header packet of a Vorbis stream of that many channels.
Zep::String checkVorbisSetup(const uint8_t* pPacket, size_t nSize, uint32_t nChannels);

// A small PNG decoder for the in-memory images: every colour type at every
// bit depth the format allows, non-interlaced. Pixels come out as 0xAARRGGBB
// words, rows top to bottom.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedPicture {
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    // Colour types with alpha, or a transparency chunk.
    bool m_bAlpha = false;
    std::vector<uint32_t> m_lPixels;
};

// True when the bytes start with the PNG signature.
bool isPng(const uint8_t* pBytes, size_t nSize);

// Throws Zep::BadStreamFormatException "PNG '<name>' : <reason>" for anything
// it cannot read.
DecodedPicture decodePng(const uint8_t* pBytes, size_t nSize, const char* szName);

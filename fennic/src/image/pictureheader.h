// What a picture resource holds, judged from its name and its first bytes
// before anything is decoded. Pictures come in three formats only: PNG, JPEG
// and TGA. A name ending in ".png", ".jpg" / ".jpeg" or ".tga" (in any case)
// must hold that format; any other name (a bare "logo", "logo.alpha") may
// hold PNG or JPEG, told apart by their signatures. TGA has no signature of
// its own, so only its name vouches for it, and its header must make sense.
//
// The size the header declares is checked against the limits below, so a
// hostile header cannot ask the decoder for gigabytes. A JPEG is walked
// marker by marker to its end-of-image marker: one cut short is refused, as
// is one of more scans than any encoder writes (each scan costs a pass over
// the whole picture). A TGA must hold at least the bytes its pixels need.
#pragma once

#include <cstddef>
#include <cstdint>

#include <zep2/str.h>

enum class PictureFormat { Png, Jpeg, Tga };

// Far beyond any picture of the game.
constexpr int32_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t(1) << 24;
// Progressive encoders write about ten.
constexpr int kMaxJpegScans = 64;

struct PictureHeader {
    PictureFormat m_format = PictureFormat::Png;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    // What is wrong with the picture; empty when it may be decoded.
    Zep::String m_sProblem;

    bool isSound() const { return m_sProblem.isEmpty(); }
};

PictureHeader readPictureHeader(const char* szName, const uint8_t* pBytes, size_t nSize);

#include "pngreader.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

#include <zep2/error.h>
#include <zep2/str.h>

namespace {

constexpr const char* kZepSource = ".\\src\\pngreader";

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Far beyond any picture of the game; keeps a hostile header from asking for
// gigabytes.
constexpr int64_t kMaxPixels = int64_t(1) << 24;

uint32_t be32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}

[[noreturn]] void fail(const char* szName, const char* szReason) {
    ZEP_THROW(Zep::BadStreamFormatException,
              Zep::String::format("PNG '%s' : %s", szName ? szName : "", szReason).c_str());
}

uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p;
    const int pb = p > b ? p - b : b - p;
    const int pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    if (pb <= pc) return static_cast<uint8_t>(b);
    return static_cast<uint8_t>(c);
}

int channelsOf(int nColorType) {
    switch (nColorType) {
        case 0: return 1;  // grey
        case 2: return 3;  // RGB
        case 3: return 1;  // palette index
        case 4: return 2;  // grey + alpha
        case 6: return 4;  // RGBA
        default: return 0;
    }
}

bool depthAllowed(int nColorType, int nDepth) {
    switch (nColorType) {
        case 0: return nDepth == 1 || nDepth == 2 || nDepth == 4 || nDepth == 8 || nDepth == 16;
        case 3: return nDepth == 1 || nDepth == 2 || nDepth == 4 || nDepth == 8;
        case 2:
        case 4:
        case 6: return nDepth == 8 || nDepth == 16;
        default: return false;
    }
}

uint32_t argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

}  // namespace

bool isPng(const uint8_t* pBytes, size_t nSize) {
    return pBytes && nSize >= 8 && std::memcmp(pBytes, kSignature, 8) == 0;
}

DecodedPicture decodePng(const uint8_t* pBytes, size_t nSize, const char* szName) {
    ZEP_TRACE("decodePng");
    if (!isPng(pBytes, nSize)) fail(szName, "not a PNG picture");

    uint32_t nWidth = 0, nHeight = 0;
    int nDepth = 0, nColorType = -1;
    bool bHeader = false, bEnd = false;
    std::vector<uint8_t> lCompressed;
    uint32_t lPalette[256];
    int nPaletteSize = 0;
    for (uint32_t& c : lPalette) c = 0xFF000000u;
    bool bTrns = false;
    uint16_t lTrnsKey[3] = {0, 0, 0};

    size_t nPos = 8;
    while (!bEnd) {
        if (nSize - nPos < 12) fail(szName, "truncated chunk");
        const uint32_t nLength = be32(pBytes + nPos);
        const uint8_t* pType = pBytes + nPos + 4;
        if (nLength > nSize - nPos - 12) fail(szName, "truncated chunk");
        const uint8_t* pData = pType + 4;
        const uint32_t nCrc = be32(pData + nLength);
        if (crc32(crc32(0, nullptr, 0), pType, nLength + 4) != nCrc) fail(szName, "bad chunk checksum");
        nPos += 12 + static_cast<size_t>(nLength);

        if (std::memcmp(pType, "IHDR", 4) == 0) {
            if (bHeader || nLength != 13) fail(szName, "bad header");
            nWidth = be32(pData);
            nHeight = be32(pData + 4);
            nDepth = pData[8];
            nColorType = pData[9];
            if (pData[10] != 0 || pData[11] != 0) fail(szName, "unknown compression or filter method");
            if (pData[12] != 0) fail(szName, "interlaced pictures are not supported");
            if (!depthAllowed(nColorType, nDepth)) fail(szName, "bad colour type or bit depth");
            if (nWidth == 0 || nHeight == 0 || static_cast<int64_t>(nWidth) * nHeight > kMaxPixels)
                fail(szName, "bad picture size");
            bHeader = true;
        } else if (!bHeader) {
            fail(szName, "header missing");
        } else if (std::memcmp(pType, "PLTE", 4) == 0) {
            if (nLength % 3 != 0 || nLength / 3 > 256) fail(szName, "bad palette");
            nPaletteSize = static_cast<int>(nLength / 3);
            for (int i = 0; i < nPaletteSize; ++i)
                lPalette[i] = argb(255, pData[i * 3], pData[i * 3 + 1], pData[i * 3 + 2]);
        } else if (std::memcmp(pType, "tRNS", 4) == 0) {
            if (nColorType == 3) {
                if (nLength > 256) fail(szName, "bad transparency");
                for (uint32_t i = 0; i < nLength; ++i)
                    lPalette[i] = (lPalette[i] & 0x00FFFFFFu) | static_cast<uint32_t>(pData[i]) << 24;
            } else if (nColorType == 0 && nLength == 2) {
                lTrnsKey[0] = static_cast<uint16_t>(pData[0] << 8 | pData[1]);
            } else if (nColorType == 2 && nLength == 6) {
                for (int i = 0; i < 3; ++i) lTrnsKey[i] = static_cast<uint16_t>(pData[i * 2] << 8 | pData[i * 2 + 1]);
            } else {
                fail(szName, "bad transparency");
            }
            bTrns = true;
        } else if (std::memcmp(pType, "IDAT", 4) == 0) {
            lCompressed.insert(lCompressed.end(), pData, pData + nLength);
        } else if (std::memcmp(pType, "IEND", 4) == 0) {
            bEnd = true;
        } else if (!(pType[0] & 0x20)) {
            fail(szName, "unknown critical chunk");
        }
    }
    if (nColorType == 3 && nPaletteSize == 0) fail(szName, "palette missing");

    const int nChannels = channelsOf(nColorType);
    const size_t nBitsPerPixel = static_cast<size_t>(nChannels) * nDepth;
    const size_t nStride = (nWidth * nBitsPerPixel + 7) / 8;
    const size_t nBpp = std::max<size_t>(1, nBitsPerPixel / 8);  // filter distance
    // Deflate expands at most about 1032:1, so data that small cannot fill the
    // picture it claims: refuse before allocating for it.
    const size_t nRawSize = (nStride + 1) * nHeight;
    if (nRawSize > lCompressed.size() * 1032 + 64) fail(szName, "image data truncated or corrupt");
    std::vector<uint8_t> lRaw(nRawSize);

    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) fail(szName, "cannot start the decompressor");
    zs.next_in = lCompressed.data();
    zs.avail_in = static_cast<uInt>(lCompressed.size());
    zs.next_out = lRaw.data();
    zs.avail_out = static_cast<uInt>(lRaw.size());
    const int nZ = inflate(&zs, Z_FINISH);
    const bool bComplete = zs.avail_out == 0 && (nZ == Z_STREAM_END || nZ == Z_BUF_ERROR || nZ == Z_OK);
    inflateEnd(&zs);
    if (!bComplete) fail(szName, "image data truncated or corrupt");

    // Undo the row filters in place.
    std::vector<uint8_t> lZero(nStride, 0);
    for (uint32_t y = 0; y < nHeight; ++y) {
        uint8_t* pRow = &lRaw[y * (nStride + 1)];
        const uint8_t nFilter = pRow[0];
        uint8_t* cur = pRow + 1;
        const uint8_t* prev = y ? &lRaw[(y - 1) * (nStride + 1) + 1] : lZero.data();
        for (size_t i = 0; i < nStride; ++i) {
            const int a = i >= nBpp ? cur[i - nBpp] : 0;
            const int b = prev[i];
            const int c = i >= nBpp ? prev[i - nBpp] : 0;
            switch (nFilter) {
                case 0: break;
                case 1: cur[i] = static_cast<uint8_t>(cur[i] + a); break;
                case 2: cur[i] = static_cast<uint8_t>(cur[i] + b); break;
                case 3: cur[i] = static_cast<uint8_t>(cur[i] + ((a + b) >> 1)); break;
                case 4: cur[i] = static_cast<uint8_t>(cur[i] + paeth(a, b, c)); break;
                default: fail(szName, "bad row filter");
            }
        }
    }

    DecodedPicture picture;
    picture.m_nWidth = static_cast<int32_t>(nWidth);
    picture.m_nHeight = static_cast<int32_t>(nHeight);
    picture.m_bAlpha = nColorType == 4 || nColorType == 6 || bTrns;
    picture.m_lPixels.resize(static_cast<size_t>(nWidth) * nHeight);

    // A sample of the given bit depth at index i of a row, as read.
    auto sample = [&](const uint8_t* row, size_t i) -> uint32_t {
        switch (nDepth) {
            case 16: return static_cast<uint32_t>(row[i * 2]) << 8 | row[i * 2 + 1];
            case 8: return row[i];
            default: {
                const size_t nBit = i * nDepth;
                const int nShift = 8 - nDepth - static_cast<int>(nBit % 8);
                return (row[nBit / 8] >> nShift) & ((1u << nDepth) - 1);
            }
        }
    };
    // Scales a sample to 8 bits.
    auto to8 = [&](uint32_t v) -> uint32_t {
        switch (nDepth) {
            case 16: return v >> 8;
            case 8: return v;
            default: return v * 255 / ((1u << nDepth) - 1);
        }
    };

    for (uint32_t y = 0; y < nHeight; ++y) {
        const uint8_t* row = &lRaw[y * (nStride + 1) + 1];
        uint32_t* out = &picture.m_lPixels[static_cast<size_t>(y) * nWidth];
        for (uint32_t x = 0; x < nWidth; ++x) {
            switch (nColorType) {
                case 0: {
                    const uint32_t v = sample(row, x);
                    const uint32_t g = to8(v);
                    out[x] = argb(bTrns && v == lTrnsKey[0] ? 0 : 255, g, g, g);
                    break;
                }
                case 2: {
                    const uint32_t r = sample(row, x * 3), g = sample(row, x * 3 + 1), b = sample(row, x * 3 + 2);
                    const bool bKey = bTrns && r == lTrnsKey[0] && g == lTrnsKey[1] && b == lTrnsKey[2];
                    out[x] = argb(bKey ? 0 : 255, to8(r), to8(g), to8(b));
                    break;
                }
                case 3: {
                    const uint32_t i = sample(row, x);
                    if (static_cast<int>(i) >= nPaletteSize) fail(szName, "palette index out of range");
                    out[x] = lPalette[i];
                    break;
                }
                case 4: {
                    const uint32_t g = to8(sample(row, x * 2));
                    out[x] = argb(to8(sample(row, x * 2 + 1)), g, g, g);
                    break;
                }
                default:
                    out[x] = argb(to8(sample(row, x * 4 + 3)), to8(sample(row, x * 4)), to8(sample(row, x * 4 + 1)),
                                  to8(sample(row, x * 4 + 2)));
                    break;
            }
        }
    }
    return picture;
}

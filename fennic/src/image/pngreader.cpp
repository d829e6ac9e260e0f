#include "image/pngreader.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

#include <zep2/error.h>
#include <zep2/str.h>

namespace {

constexpr const char* kZepSource = ".\\src\\pngreader";

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr size_t kSignatureSize = sizeof(kSignature);
// Far beyond any picture of the game; keeps a hostile header from asking for
// gigabytes.
constexpr int64_t kMaxPixels = int64_t(1) << 24;
// Length, type and checksum around every chunk's data.
constexpr size_t kChunkOverhead = 12;
constexpr uint32_t kHeaderSize = 13;
constexpr uint32_t kMaxPaletteEntries = 256;
// Deflate expands at most about 1032:1 (plus a few bytes of stream framing),
// so data that small cannot fill the picture it claims.
constexpr size_t kMaxInflateRatio = 1032;
constexpr size_t kInflateSlack = 64;

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

// What the chunks say: the header fields, palette, transparency and the
// concatenated image data.
struct PngChunks {
    const char* szName = nullptr;
    uint32_t nWidth = 0, nHeight = 0;
    int nDepth = 0, nColorType = -1;
    bool bHeader = false;
    std::vector<uint8_t> lCompressed;
    uint32_t lPalette[kMaxPaletteEntries];
    int nPaletteSize = 0;
    bool bTrns = false;
    uint16_t lTrnsKey[3] = {0, 0, 0};

    size_t stride() const { return (nWidth * bitsPerPixel() + 7) / 8; }
    size_t bitsPerPixel() const { return static_cast<size_t>(channelsOf(nColorType)) * nDepth; }
};

void readHeader(PngChunks& png, const uint8_t* pData, uint32_t nLength) {
    const char* szName = png.szName;
    if (png.bHeader || nLength != kHeaderSize) fail(szName, "bad header");
    png.nWidth = be32(pData);
    png.nHeight = be32(pData + 4);
    png.nDepth = pData[8];
    png.nColorType = pData[9];
    if (pData[10] != 0 || pData[11] != 0) fail(szName, "unknown compression or filter method");
    if (pData[12] != 0) fail(szName, "interlaced pictures are not supported");
    if (!depthAllowed(png.nColorType, png.nDepth)) fail(szName, "bad colour type or bit depth");
    if (png.nWidth == 0 || png.nHeight == 0 || static_cast<int64_t>(png.nWidth) * png.nHeight > kMaxPixels)
        fail(szName, "bad picture size");
    png.bHeader = true;
}

void readPalette(PngChunks& png, const uint8_t* pData, uint32_t nLength) {
    if (nLength % 3 != 0 || nLength / 3 > kMaxPaletteEntries) fail(png.szName, "bad palette");
    png.nPaletteSize = static_cast<int>(nLength / 3);
    for (int i = 0; i < png.nPaletteSize; ++i)
        png.lPalette[i] = argb(255, pData[i * 3], pData[i * 3 + 1], pData[i * 3 + 2]);
}

void readTransparency(PngChunks& png, const uint8_t* pData, uint32_t nLength) {
    if (png.nColorType == 3) {
        if (nLength > kMaxPaletteEntries) fail(png.szName, "bad transparency");
        for (uint32_t i = 0; i < nLength; ++i)
            png.lPalette[i] = (png.lPalette[i] & 0x00FFFFFFu) | static_cast<uint32_t>(pData[i]) << 24;
    } else if (png.nColorType == 0 && nLength == 2) {
        png.lTrnsKey[0] = static_cast<uint16_t>(pData[0] << 8 | pData[1]);
    } else if (png.nColorType == 2 && nLength == 6) {
        for (int i = 0; i < 3; ++i) png.lTrnsKey[i] = static_cast<uint16_t>(pData[i * 2] << 8 | pData[i * 2 + 1]);
    } else {
        fail(png.szName, "bad transparency");
    }
    png.bTrns = true;
}

// One chunk by type; false at the end chunk.
bool readChunk(PngChunks& png, const uint8_t* pType, const uint8_t* pData, uint32_t nLength) {
    if (std::memcmp(pType, "IHDR", 4) == 0) {
        readHeader(png, pData, nLength);
    } else if (!png.bHeader) {
        fail(png.szName, "header missing");
    } else if (std::memcmp(pType, "PLTE", 4) == 0) {
        readPalette(png, pData, nLength);
    } else if (std::memcmp(pType, "tRNS", 4) == 0) {
        readTransparency(png, pData, nLength);
    } else if (std::memcmp(pType, "IDAT", 4) == 0) {
        png.lCompressed.insert(png.lCompressed.end(), pData, pData + nLength);
    } else if (std::memcmp(pType, "IEND", 4) == 0) {
        return false;
    } else if (!(pType[0] & 0x20)) {
        fail(png.szName, "unknown critical chunk");
    }
    return true;
}

// Walks the chunks after the signature up to the end chunk, checking every
// length and checksum.
void readChunks(PngChunks& png, const uint8_t* pBytes, size_t nSize) {
    for (uint32_t& c : png.lPalette) c = 0xFF000000u;
    size_t nPos = kSignatureSize;
    bool bMore = true;
    while (bMore) {
        if (nSize - nPos < kChunkOverhead) fail(png.szName, "truncated chunk");
        const uint32_t nLength = be32(pBytes + nPos);
        const uint8_t* pType = pBytes + nPos + 4;
        if (nLength > nSize - nPos - kChunkOverhead) fail(png.szName, "truncated chunk");
        const uint8_t* pData = pType + 4;
        const uint32_t nCrc = be32(pData + nLength);
        if (crc32(crc32(0, nullptr, 0), pType, nLength + 4) != nCrc) fail(png.szName, "bad chunk checksum");
        nPos += kChunkOverhead + static_cast<size_t>(nLength);
        bMore = readChunk(png, pType, pData, nLength);
    }
    if (png.nColorType == 3 && png.nPaletteSize == 0) fail(png.szName, "palette missing");
}

// The filtered rows, each behind its filter byte.
std::vector<uint8_t> inflateRows(const PngChunks& png) {
    const size_t nRawSize = (png.stride() + 1) * png.nHeight;
    // Refuse before allocating for data that cannot fill the picture.
    if (nRawSize > png.lCompressed.size() * kMaxInflateRatio + kInflateSlack)
        fail(png.szName, "image data truncated or corrupt");
    std::vector<uint8_t> lRaw(nRawSize);
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) fail(png.szName, "cannot start the decompressor");
    zs.next_in = const_cast<Bytef*>(png.lCompressed.data());
    zs.avail_in = static_cast<uInt>(png.lCompressed.size());
    zs.next_out = lRaw.data();
    zs.avail_out = static_cast<uInt>(lRaw.size());
    const int nZ = inflate(&zs, Z_FINISH);
    const bool bComplete = zs.avail_out == 0 && (nZ == Z_STREAM_END || nZ == Z_BUF_ERROR || nZ == Z_OK);
    inflateEnd(&zs);
    if (!bComplete) fail(png.szName, "image data truncated or corrupt");
    return lRaw;
}

// Undoes the row filters in place.
void unfilterRows(const PngChunks& png, std::vector<uint8_t>& lRaw) {
    const size_t nStride = png.stride();
    const size_t nBpp = std::max<size_t>(1, png.bitsPerPixel() / 8);  // filter distance
    std::vector<uint8_t> lZero(nStride, 0);
    for (uint32_t y = 0; y < png.nHeight; ++y) {
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
                default: fail(png.szName, "bad row filter");
            }
        }
    }
}

// Reads the samples of one unfiltered row as 0xAARRGGBB words.
class RowConverter {
public:
    explicit RowConverter(const PngChunks& png) : m_png(png) {}

    void convert(const uint8_t* row, uint32_t* out) const {
        for (uint32_t x = 0; x < m_png.nWidth; ++x) out[x] = pixel(row, x);
    }

private:
    // A sample of the bit depth at index i of a row, as read.
    uint32_t sample(const uint8_t* row, size_t i) const {
        const int nDepth = m_png.nDepth;
        switch (nDepth) {
            case 16: return static_cast<uint32_t>(row[i * 2]) << 8 | row[i * 2 + 1];
            case 8: return row[i];
            default: {
                const size_t nBit = i * nDepth;
                const int nShift = 8 - nDepth - static_cast<int>(nBit % 8);
                return (row[nBit / 8] >> nShift) & ((1u << nDepth) - 1);
            }
        }
    }
    // Scales a sample to 8 bits.
    uint32_t to8(uint32_t v) const {
        switch (m_png.nDepth) {
            case 16: return v >> 8;
            case 8: return v;
            default: return v * 255 / ((1u << m_png.nDepth) - 1);
        }
    }
    uint32_t pixel(const uint8_t* row, uint32_t x) const {
        const bool bTrns = m_png.bTrns;
        const uint16_t* key = m_png.lTrnsKey;
        switch (m_png.nColorType) {
            case 0: {
                const uint32_t v = sample(row, x);
                const uint32_t g = to8(v);
                return argb(bTrns && v == key[0] ? 0 : 255, g, g, g);
            }
            case 2: {
                const uint32_t r = sample(row, x * 3), g = sample(row, x * 3 + 1), b = sample(row, x * 3 + 2);
                const bool bKey = bTrns && r == key[0] && g == key[1] && b == key[2];
                return argb(bKey ? 0 : 255, to8(r), to8(g), to8(b));
            }
            case 3: {
                const uint32_t i = sample(row, x);
                if (static_cast<int>(i) >= m_png.nPaletteSize) fail(m_png.szName, "palette index out of range");
                return m_png.lPalette[i];
            }
            case 4: {
                const uint32_t g = to8(sample(row, x * 2));
                return argb(to8(sample(row, x * 2 + 1)), g, g, g);
            }
            default:
                return argb(to8(sample(row, x * 4 + 3)), to8(sample(row, x * 4)), to8(sample(row, x * 4 + 1)),
                            to8(sample(row, x * 4 + 2)));
        }
    }

    const PngChunks& m_png;
};

}  // namespace

bool isPng(const uint8_t* pBytes, size_t nSize) {
    return pBytes && nSize >= kSignatureSize && std::memcmp(pBytes, kSignature, kSignatureSize) == 0;
}

DecodedPicture decodePng(const uint8_t* pBytes, size_t nSize, const char* szName) {
    ZEP_TRACE("decodePng");
    if (!isPng(pBytes, nSize)) fail(szName, "not a PNG picture");
    PngChunks png;
    png.szName = szName;
    readChunks(png, pBytes, nSize);
    std::vector<uint8_t> lRaw = inflateRows(png);
    unfilterRows(png, lRaw);

    DecodedPicture picture;
    picture.m_nWidth = static_cast<int32_t>(png.nWidth);
    picture.m_nHeight = static_cast<int32_t>(png.nHeight);
    picture.m_bAlpha = png.nColorType == 4 || png.nColorType == 6 || png.bTrns;
    picture.m_lPixels.resize(static_cast<size_t>(png.nWidth) * png.nHeight);
    const RowConverter converter(png);
    const size_t nStride = png.stride();
    for (uint32_t y = 0; y < png.nHeight; ++y)
        converter.convert(&lRaw[y * (nStride + 1) + 1], &picture.m_lPixels[static_cast<size_t>(y) * png.nWidth]);
    return picture;
}

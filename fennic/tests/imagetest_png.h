// Writes small PNG files for the image tests: every row uses another filter
// type, the data is split over two IDAT chunks.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <zlib.h>

namespace imagetest {

struct PngSpec {
    int nWidth = 0;
    int nHeight = 0;
    int nColorType = 6;
    int nDepth = 8;
    std::vector<std::vector<uint8_t>> lRows;  // packed samples, no filter byte
    std::vector<uint8_t> lPalette;
    std::vector<uint8_t> lTransparency;
};

inline void putBe32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

inline void putChunk(std::vector<uint8_t>& out, const char* szType, const std::vector<uint8_t>& lData) {
    putBe32(out, static_cast<uint32_t>(lData.size()));
    std::vector<uint8_t> lBody(szType, szType + 4);
    lBody.insert(lBody.end(), lData.begin(), lData.end());
    out.insert(out.end(), lBody.begin(), lBody.end());
    putBe32(out, static_cast<uint32_t>(crc32(crc32(0, nullptr, 0), lBody.data(), static_cast<uInt>(lBody.size()))));
}

inline int pngChannels(int nColorType) {
    switch (nColorType) {
        case 2: return 3;
        case 4: return 2;
        case 6: return 4;
        default: return 1;
    }
}

inline uint8_t pngPaeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

inline std::vector<uint8_t> encodePng(const PngSpec& spec) {
    const size_t nBpp = std::max<size_t>(1, static_cast<size_t>(pngChannels(spec.nColorType)) * spec.nDepth / 8);
    std::vector<uint8_t> lRaw;
    for (size_t y = 0; y < spec.lRows.size(); ++y) {
        const std::vector<uint8_t>& cur = spec.lRows[y];
        const std::vector<uint8_t> prev = y ? spec.lRows[y - 1] : std::vector<uint8_t>(cur.size(), 0);
        const int nFilter = static_cast<int>(y % 5);
        lRaw.push_back(static_cast<uint8_t>(nFilter));
        for (size_t i = 0; i < cur.size(); ++i) {
            const int a = i >= nBpp ? cur[i - nBpp] : 0, b = prev[i], c = i >= nBpp ? prev[i - nBpp] : 0;
            int nPred = 0;
            switch (nFilter) {
                case 1: nPred = a; break;
                case 2: nPred = b; break;
                case 3: nPred = (a + b) >> 1; break;
                case 4: nPred = pngPaeth(a, b, c); break;
                default: break;
            }
            lRaw.push_back(static_cast<uint8_t>(cur[i] - nPred));
        }
    }
    uLongf nPacked = compressBound(static_cast<uLong>(lRaw.size()));
    std::vector<uint8_t> lPacked(nPacked);
    compress(lPacked.data(), &nPacked, lRaw.data(), static_cast<uLong>(lRaw.size()));
    lPacked.resize(nPacked);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> lHeader;
    putBe32(lHeader, static_cast<uint32_t>(spec.nWidth));
    putBe32(lHeader, static_cast<uint32_t>(spec.nHeight));
    lHeader.push_back(static_cast<uint8_t>(spec.nDepth));
    lHeader.push_back(static_cast<uint8_t>(spec.nColorType));
    lHeader.insert(lHeader.end(), {0, 0, 0});
    putChunk(out, "IHDR", lHeader);
    putChunk(out, "tEXt", std::vector<uint8_t>{'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'x'});
    if (!spec.lPalette.empty()) putChunk(out, "PLTE", spec.lPalette);
    if (!spec.lTransparency.empty()) putChunk(out, "tRNS", spec.lTransparency);
    const size_t nHalf = lPacked.size() / 2;
    putChunk(out, "IDAT", std::vector<uint8_t>(lPacked.begin(), lPacked.begin() + nHalf));
    putChunk(out, "IDAT", std::vector<uint8_t>(lPacked.begin() + nHalf, lPacked.end()));
    putChunk(out, "IEND", {});
    return out;
}

}  // namespace imagetest

// Writes small PNG files for the image tests: every row uses another filter
// type (unless one is forced), the data is split over two IDAT chunks.
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
    int nFilter = -1;  // the filter byte of every row; -1 cycles through 0..4
};

inline void putBe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int nShift = 24; nShift >= 0; nShift -= 8) out.push_back(static_cast<uint8_t>(v >> nShift));
}

inline void putChunk(std::vector<uint8_t>& out, const char* szType, const std::vector<uint8_t>& lData) {
    putBe32(out, static_cast<uint32_t>(lData.size()));
    std::vector<uint8_t> lBody(szType, szType + 4);
    lBody.insert(lBody.end(), lData.begin(), lData.end());
    out.insert(out.end(), lBody.begin(), lBody.end());
    putBe32(out, static_cast<uint32_t>(crc32(crc32(0, nullptr, 0), lBody.data(), static_cast<uInt>(lBody.size()))));
}

inline uint8_t pngPaeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// The rows behind their filter bytes, filtered.
inline std::vector<uint8_t> filterRows(const PngSpec& spec) {
    const int nChannels = spec.nColorType == 2 ? 3 : spec.nColorType == 4 ? 2 : spec.nColorType == 6 ? 4 : 1;
    const size_t nBpp = std::max<size_t>(1, static_cast<size_t>(nChannels) * spec.nDepth / 8);
    std::vector<uint8_t> lRaw;
    for (size_t y = 0; y < spec.lRows.size(); ++y) {
        const std::vector<uint8_t>& cur = spec.lRows[y];
        const std::vector<uint8_t> prev = y ? spec.lRows[y - 1] : std::vector<uint8_t>(cur.size(), 0);
        const int nFilter = spec.nFilter >= 0 ? spec.nFilter : static_cast<int>(y % 5);
        lRaw.push_back(static_cast<uint8_t>(nFilter));
        for (size_t i = 0; i < cur.size(); ++i) {
            const int a = i >= nBpp ? cur[i - nBpp] : 0, b = prev[i], c = i >= nBpp ? prev[i - nBpp] : 0;
            const int nPred = nFilter == 1   ? a
                              : nFilter == 2 ? b
                              : nFilter == 3 ? (a + b) >> 1
                              : nFilter == 4 ? pngPaeth(a, b, c)
                                             : 0;
            lRaw.push_back(static_cast<uint8_t>(cur[i] - nPred));
        }
    }
    return lRaw;
}

inline std::vector<uint8_t> encodePng(const PngSpec& spec) {
    const std::vector<uint8_t> lRaw = filterRows(spec);
    uLongf nPacked = compressBound(static_cast<uLong>(lRaw.size()));
    std::vector<uint8_t> lPacked(nPacked);
    compress(lPacked.data(), &nPacked, lRaw.data(), static_cast<uLong>(lRaw.size()));
    lPacked.resize(nPacked);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> lHeader;
    putBe32(lHeader, static_cast<uint32_t>(spec.nWidth));
    putBe32(lHeader, static_cast<uint32_t>(spec.nHeight));
    lHeader.insert(lHeader.end(), {static_cast<uint8_t>(spec.nDepth), static_cast<uint8_t>(spec.nColorType), 0, 0, 0});
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

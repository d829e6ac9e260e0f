#include "render/renderscale.h"

#include <algorithm>
#include <vector>

namespace {

// Source index pairs and weights along one axis.
struct Taps {
    std::vector<int> vFirst, vSecond;
    std::vector<uint32_t> vWeight;
};

Taps tapsOf(int nSrc, int nDst) {
    Taps taps;
    for (int p = 0; p < nDst; ++p) {
        const double f = (p + 0.5) * nSrc / nDst - 0.5;
        const double fl = f < 0 ? 0.0 : f;
        auto i = static_cast<int>(fl);
        auto w = static_cast<uint32_t>((fl - i) * 256.0 + 0.5);
        if (w >= 256) {
            ++i;
            w = 0;
        }
        taps.vFirst.push_back(std::min(i, nSrc - 1));
        taps.vSecond.push_back(std::min(i + 1, nSrc - 1));
        taps.vWeight.push_back(w);
    }
    return taps;
}

// Both 8-bit lanes of 0x00FF00FF-masked words: a + (b - a) f / 256.
inline uint32_t lerpLanes(uint32_t a, uint32_t b, uint32_t f) {
    return ((a * (256u - f) + b * f + 0x00800080u) >> 8) & 0x00FF00FFu;
}

inline uint32_t lerp(uint32_t a, uint32_t b, uint32_t f) {
    return lerpLanes(a & 0x00FF00FFu, b & 0x00FF00FFu, f) |
           (lerpLanes((a >> 8) & 0x00FF00FFu, (b >> 8) & 0x00FF00FFu, f) << 8);
}

}  // namespace

void scaleFrame(const uint32_t* pSrc, int nSrcW, int nSrcH, uint32_t* pDst, int nDstW, int nDstH) {
    const Taps cols = tapsOf(nSrcW, nDstW);
    const Taps rows = tapsOf(nSrcH, nDstH);
    std::vector<uint32_t> vTop(static_cast<size_t>(nDstW)), vBottom(static_cast<size_t>(nDstW));
    // Each destination row: the two source rows scaled across, then mixed.
    auto scaleRow = [&](int nRow, std::vector<uint32_t>& vOut) {
        const uint32_t* pRow = pSrc + static_cast<size_t>(nRow) * nSrcW;
        for (int x = 0; x < nDstW; ++x) vOut[x] = lerp(pRow[cols.vFirst[x]], pRow[cols.vSecond[x]], cols.vWeight[x]);
    };
    int nTopRow = -1;
    int nBottomRow = -1;
    for (int y = 0; y < nDstH; ++y) {
        if (rows.vFirst[y] != nTopRow) {
            if (rows.vFirst[y] == nBottomRow) {
                std::swap(vTop, vBottom);
                nBottomRow = -1;
            } else {
                scaleRow(rows.vFirst[y], vTop);
            }
            nTopRow = rows.vFirst[y];
        }
        if (rows.vSecond[y] != nBottomRow) {
            nBottomRow = rows.vSecond[y];
            scaleRow(nBottomRow, vBottom);
        }
        uint32_t* pOut = pDst + static_cast<size_t>(y) * nDstW;
        const uint32_t w = rows.vWeight[y];
        for (int x = 0; x < nDstW; ++x) pOut[x] = (w ? lerp(vTop[x], vBottom[x], w) : vTop[x]) | 0xFF000000u;
    }
}

// The colour tables and the picture conversion; see yuvtables.h.
#include "media/yuvtables.h"

#include <algorithm>

namespace {

YuvTables buildTables() {
    YuvTables tables{};
    for (int i = 0; i < 256; ++i) {
        const float v = static_cast<float>(i - 128);
        tables.aRedV[i] = static_cast<int>(v * 1.37f);
        tables.aGreenU[i] = static_cast<int>(v * -0.336f);
        tables.aGreenV[i] = static_cast<int>(v * -0.698f);
        tables.aBlueU[i] = static_cast<int>(v * 1.732f);
    }
    return tables;
}

inline uint32_t clampByte(int n) { return static_cast<uint32_t>(std::clamp(n, 0, 255)); }

}  // namespace

const YuvTables& yuvTables() {
    static const YuvTables tables = buildTables();
    return tables;
}

uint32_t yuvToPixel(const YuvTables& t, int nY, int nU, int nV) {
    const uint32_t r = clampByte(nY + t.aRedV[nV]);
    const uint32_t g = clampByte(nY + t.aGreenV[nV] + t.aGreenU[nU]);
    const uint32_t b = clampByte(nY + t.aBlueU[nU]);
    return 0xFF000000u | b << 16 | g << 8 | r;
}

void convertYuv420(const YuvPlanes& planes, int nWidth, int nHeight, uint32_t* pOut) {
    const YuvTables& t = yuvTables();
    for (int j = 0; j < nHeight / 2; ++j) {
        const uint8_t* pY0 = planes.pY + 2 * j * planes.nYStride;
        const uint8_t* pY1 = pY0 + planes.nYStride;
        const uint8_t* pU = planes.pU + j * planes.nUVStride;
        const uint8_t* pV = planes.pV + j * planes.nUVStride;
        uint32_t* pOut0 = pOut + 2 * j * nWidth;
        uint32_t* pOut1 = pOut0 + nWidth;
        for (int i = 0; i < nWidth / 2; ++i) {
            const int u = pU[i];
            const int v = pV[i];
            pOut0[2 * i] = yuvToPixel(t, pY0[2 * i], u, v);
            pOut0[2 * i + 1] = yuvToPixel(t, pY0[2 * i + 1], u, v);
            pOut1[2 * i] = yuvToPixel(t, pY1[2 * i], u, v);
            pOut1[2 * i + 1] = yuvToPixel(t, pY1[2 * i + 1], u, v);
        }
    }
}

void convertYuvRows(const YuvPlanes& planes, int nWidth, int nHeight, int nChromaRowDivisor, bool bChromaFullWidth,
                    uint32_t* pOut) {
    const YuvTables& t = yuvTables();
    for (int y = 0; y < nHeight; ++y) {
        const uint8_t* pY = planes.pY + y * planes.nYStride;
        const uint8_t* pU = planes.pU + (y / nChromaRowDivisor) * planes.nUVStride;
        const uint8_t* pV = planes.pV + (y / nChromaRowDivisor) * planes.nUVStride;
        for (int x = 0; x < nWidth; ++x) {
            const int c = bChromaFullWidth ? x : x / 2;
            pOut[y * nWidth + x] = yuvToPixel(t, pY[x], pU[c], pV[c]);
        }
    }
}

// YUV to RGB conversion of decoded clip pictures through four precomputed
// 256-entry tables (only additions and clamps per pixel).
//
// For i = 0..255 and v = i - 128 as a float, each entry is the product
// truncated toward zero: red += v(Cr) * 1.37, green += v(Cb) * -0.336 and
// v(Cr) * -0.698, blue += v(Cb) * 1.732 (single-precision constants). The
// luma is used unchanged (no 16..235 expansion). Output pixels are the 32-bit
// values 0xFF000000 | B << 16 | G << 8 | R.
#pragma once

#include <cstdint>

struct YuvTables {
    int aRedV[256];
    int aGreenU[256];
    int aGreenV[256];
    int aBlueU[256];
};

// Built once, on first use.
const YuvTables& yuvTables();

// The planes of the picture's top-left pixel, with their row strides.
struct YuvPlanes {
    const uint8_t* pY = nullptr;
    int nYStride = 0;
    const uint8_t* pU = nullptr;
    const uint8_t* pV = nullptr;
    int nUVStride = 0;
};

// The pixel of one luma and chroma pair.
uint32_t yuvToPixel(const YuvTables& tables, int nY, int nU, int nV);

// 4:2:0: each chroma pair serves a 2 x 2 block; with an odd width or height
// the last column or row is left unwritten. pOut has nWidth pixels per row.
void convertYuv420(const YuvPlanes& planes, int nWidth, int nHeight, uint32_t* pOut);
// 4:2:2 (nChromaRowDivisor 1, half width) and 4:4:4 (full width).
void convertYuvRows(const YuvPlanes& planes, int nWidth, int nHeight, int nChromaRowDivisor, bool bChromaFullWidth,
                    uint32_t* pOut);

// Bilinear scaling of a finished 32-bit frame to another size: destination
// pixel p's centre samples the source at (p + 0.5) * source / destination -
// 0.5, clamped at the edges, with weights in 1/256. The render device draws
// a letterboxed or scaled screen at its logical size and the present scales
// it once, so every sprite keeps the row-copy path.
#pragma once

#include <cstdint>

void scaleFrame(const uint32_t* pSrc, int nSrcW, int nSrcH, uint32_t* pDst, int nDstW, int nDstH);

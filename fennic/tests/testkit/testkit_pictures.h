// Picture files written by the tests: PNG through the framework's writer,
// a grey baseline JPEG and an uncompressed TGA by hand.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/color.h"

namespace testkit {

using PictureFn = std::function<Color(int x, int y)>;

// 8-bit RGBA.
std::string pngPicture(int nWidth, int nHeight, const PictureFn& fn);
// One scan of flat 8 x 8 blocks, each the grey of fn's red at its top-left
// pixel: a DC coefficient under a quantiser of 1 and an end of block, so the
// greys come back exactly.
std::string jpegPicture(int nWidth, int nHeight, const PictureFn& fn);
// True colour, 24 or 32 bits, rows from the top.
std::string tgaPicture(int nWidth, int nHeight, bool bAlpha, const PictureFn& fn);

}  // namespace testkit

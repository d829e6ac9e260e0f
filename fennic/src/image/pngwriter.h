// A small PNG encoder: 8-bit RGBA, non-interlaced, filter 0, one IDAT chunk
// deflated by zlib. The counterpart of pngreader.h, used where pictures are
// written into archives (the animation script writer).
#pragma once

#include <cstdint>
#include <vector>

class Image;

// The image's whole canvas as RGBA; canvas pixels outside the stored data
// are fully transparent. Throws Zep::FatalErrorException when zlib fails.
std::vector<uint8_t> encodePngRgba(Image& image);

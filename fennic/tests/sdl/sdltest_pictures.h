// Picture files written at test time for the SDL picture tests: baseline
// JPEG through libjpeg, TGA by hand, PNG through imagetest_png.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "image/imagetest_util.h"

namespace sdltest {

// Three-component baseline JPEG at quality 100 without chroma subsampling:
// flat 8 x 8 blocks come back exactly.
inline std::string jpegOf(int w, int h, const imagetest::PixelFn& fn) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* pOut = nullptr;
    unsigned long nOut = 0;
    jpeg_mem_dest(&cinfo, &pOut, &nOut);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    for (int i = 0; i < cinfo.num_components; ++i) cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> lRow(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Color c = fn(x, y);
            lRow[x * 3] = c.getRed();
            lRow[x * 3 + 1] = c.getGreen();
            lRow[x * 3 + 2] = c.getBlue();
        }
        JSAMPROW pRow = lRow.data();
        jpeg_write_scanlines(&cinfo, &pRow, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string sBytes(reinterpret_cast<const char*>(pOut), nOut);
    jpeg_destroy_compress(&cinfo);
    free(pOut);
    return sBytes;
}

// PNG of colour type 2 (red, green, blue) or 0 (grey, from the red).
inline std::string pngOfType(int w, int h, int nColorType, const imagetest::PixelFn& fn) {
    imagetest::PngSpec spec{w, h, nColorType, 8, {}, {}, {}};
    for (int y = 0; y < h; ++y) {
        std::vector<uint8_t>& lRow = spec.lRows.emplace_back();
        for (int x = 0; x < w; ++x) {
            const Color c = fn(x, y);
            if (nColorType == 0)
                lRow.push_back(c.getRed());
            else
                lRow.insert(lRow.end(), {c.getRed(), c.getGreen(), c.getBlue()});
        }
    }
    const std::vector<uint8_t> lBytes = imagetest::encodePng(spec);
    return std::string(lBytes.begin(), lBytes.end());
}

inline void putLe(std::string& s, uint32_t v, int nBytes) {
    for (int i = 0; i < nBytes; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
}

// Uncompressed true-colour TGA, 24 or 32 bits, rows from the top.
inline std::string tgaOf(int w, int h, bool bAlpha, const imagetest::PixelFn& fn) {
    std::string s(2, '\0');
    s.push_back(2);  // true colour, uncompressed
    s.append(9, '\0');
    putLe(s, static_cast<uint32_t>(w), 2);
    putLe(s, static_cast<uint32_t>(h), 2);
    s.push_back(static_cast<char>(bAlpha ? 32 : 24));
    s.push_back(static_cast<char>(0x20 | (bAlpha ? 8 : 0)));  // top-left origin
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Color c = fn(x, y);
            s.push_back(static_cast<char>(c.getBlue()));
            s.push_back(static_cast<char>(c.getGreen()));
            s.push_back(static_cast<char>(c.getRed()));
            if (bAlpha) s.push_back(static_cast<char>(c.getAlpha()));
        }
    }
    return s;
}

// PNG of colour type 3 over the distinct colours, in order of first use
// (at most 256; SDL_image gives it a palette of just as many).
inline std::string palettePngOf(int w, int h, const imagetest::PixelFn& fn) {
    imagetest::PngSpec spec{w, h, 3, 8, {}, {}, {}};
    std::vector<Color> lColors;
    for (int y = 0; y < h; ++y) {
        std::vector<uint8_t>& lRow = spec.lRows.emplace_back();
        for (int x = 0; x < w; ++x) {
            const Color c = fn(x, y);
            size_t i = 0;
            while (i < lColors.size() && !(lColors[i] == c)) ++i;
            if (i == lColors.size()) {
                lColors.push_back(c);
                spec.lPalette.insert(spec.lPalette.end(), {c.getRed(), c.getGreen(), c.getBlue()});
            }
            lRow.push_back(static_cast<uint8_t>(i));
        }
    }
    const std::vector<uint8_t> lBytes = imagetest::encodePng(spec);
    return std::string(lBytes.begin(), lBytes.end());
}

}  // namespace sdltest

// Pictures for the image suites and the layers above them: memory images made
// from a colour function, where their data sits, their pixels, and PNG files
// of a colour function.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/imagetest_png.h"
#include "image/memimage.h"

namespace imagetest {

using PixelFn = std::function<Color(int, int)>;
// A distinct opaque colour for every data position.
inline Color pattern(int x, int y) {
    return Color(static_cast<uint8_t>(x * 7 + 1), static_cast<uint8_t>(y * 11 + 2), static_cast<uint8_t>(x + y * 3),
                 255);
}

inline Zep::SmartPtr<MemImage> makeImage(int w, int h, bool bAlpha, const PixelFn& fn = pattern) {
    Zep::SmartPtr<MemImage> p = new MemImage(w, h, bAlpha);
    ImageLock lock(*p);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p->writePixel(x, y, fn(x, y));
    return p;
}

inline Zep::SmartPtr<MemImage> solid(int w, int h, bool bAlpha, const Color& c) {
    return makeImage(w, h, bAlpha, [c](int, int) { return c; });
}

inline Color dataPixel(const Image& img, int x, int y) {
    ImageLock lock(img);
    return img.readPixel(x, y);
}

// The image with its data at (x, y) of a w x h canvas.
inline Zep::SmartPtr<MemImage> onCanvas(Zep::SmartPtr<MemImage> p, int x, int y, int w, int h) {
    p->setVirtualCanvas(x, y, w, h);
    return p;
}

// Where the data sits on the canvas, as "x,y wxh".
inline std::string placement(const Image& img) {
    int x = 0, y = 0;
    img.getDataOffset(&x, &y);
    return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(img.getDataWidth()) + "x" +
           std::to_string(img.getDataHeight());
}

// Canvas size, insertion point and data placement, as "wxh ins x,y data x,y wxh".
inline std::string layout(const Image& img) {
    const Point size = img.getSize(), ins = img.getInsPoint(), offset = img.getDataOffset();
    auto pair = [](const Point& p, const char* szSep) {
        return std::to_string(static_cast<int>(p.x)) + szSep + std::to_string(static_cast<int>(p.y));
    };
    return pair(size, "x") + " ins " + pair(ins, ",") + " data " + pair(offset, ",") + " " +
           std::to_string(img.getDataWidth()) + "x" + std::to_string(img.getDataHeight());
}

// Alpha of the data pixels, row by row.
inline std::vector<int> alphas(const Image& img) {
    std::vector<int> l;
    for (int y = 0; y < img.getDataHeight(); ++y)
        for (int x = 0; x < img.getDataWidth(); ++x) l.push_back(dataPixel(img, x, y).getAlpha());
    return l;
}

// Every data pixel of the w x h corner equals fn.
inline void expectData(const Image& img, int w, int h, const PixelFn& fn = pattern) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_EQ(fn(x, y), dataPixel(img, x, y)) << x << "," << y;
}

// An RGBA picture file of fn's colours.
inline std::string pngOf(int w, int h, const PixelFn& fn) {
    PngSpec spec{w, h, 6, 8, {}, {}, {}};
    for (int y = 0; y < h; ++y) {
        std::vector<uint8_t>& lRow = spec.lRows.emplace_back();
        for (int x = 0; x < w; ++x) {
            const Color c = fn(x, y);
            lRow.insert(lRow.end(), {c.getRed(), c.getGreen(), c.getBlue(), c.getAlpha()});
        }
    }
    const std::vector<uint8_t> lBytes = encodePng(spec);
    return std::string(lBytes.begin(), lBytes.end());
}

}  // namespace imagetest

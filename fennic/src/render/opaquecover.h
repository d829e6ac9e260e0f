// The pixels of a screen that some opaque sprite of the frame covers: one
// bit per pixel, rows of 64-pixel words. A box is covered when every one of
// its pixels is, by one opaque box or by several together (a background of
// tiles).
#pragma once

#include <cstdint>
#include <vector>

#include "render/dirtyrects.h"

class OpaqueCover {
public:
    // No pixel covered, on a screen of w x h pixels.
    void reset(int nWidth, int nHeight);
    // Covers the box's pixels (cut to the screen).
    void add(const ScreenBox& box);
    // Every pixel of the box (cut to the screen) is covered.
    bool covers(const ScreenBox& box) const;

private:
    // The bits of columns x0..x1 - 1 in word w of a row.
    static uint64_t wordMask(int nWord, int x0, int x1);

    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nWords = 0;  // per row
    std::vector<uint64_t> m_vBits;
};

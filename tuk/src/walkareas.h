// WalkAreas: the rectangles of a level where the waitress may stand.
//
// Each area has a depth, the z-order of her body while she stands in it. A
// rectangle holds its left and top edges and not its right and bottom ones;
// where areas overlap, the first one added wins. The walk band runs from the
// smallest top to the largest bottom of the areas (0 to 0 while there are
// none); her depth scale is computed over it.
//
// Preferred lines: rectangles, each active for some headings (bit 1 << h of
// its mask), that draw a figure walking by itself onto a line: a point in an
// active line's rectangle gets the line's value as its y (a horizontal line)
// or its x (a vertical one). The first such line in the order added wins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "rect.h"

class WalkAreas {
public:
    struct Area {
        Rect rect;
        int32_t nDepth;
    };

    void add(const Rect& rect, int nDepth);
    int getCount() const { return static_cast<int>(m_vAreas.size()); }
    const Area& get(int nIndex) const { return m_vAreas.at(static_cast<size_t>(nIndex)); }

    // Index of the first area that holds the point, -1 when none does.
    int find(int x, int y) const;
    // Depth of that area, -1 when none holds the point.
    int getDepth(int x, int y) const;

    void addPreferredLine(bool bVertical, int nValue, const Rect& rect, int nHeadingMask);
    // Nothing when no active line holds the point.
    void applyPreferredLines(int* pX, int* pY, int nHeading) const;

    int getBandTop() const { return m_nBandTop; }
    int getBandBottom() const { return m_nBandBottom; }

    static bool holds(const Rect& rect, int x, int y) {
        return x >= rect.getLeft() && x < rect.getRight() && y >= rect.getTop() && y < rect.getBottom();
    }

private:
    struct PreferredLine {
        bool bVertical;
        int32_t nValue;
        Rect rect;
        int32_t nHeadingMask;
    };

    std::vector<Area> m_vAreas;
    std::vector<PreferredLine> m_vLines;
    int32_t m_nBandTop = 0;
    int32_t m_nBandBottom = 0;
};

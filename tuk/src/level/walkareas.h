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
//
// Paths: two areas are linked when they share at least one pixel (areas that
// only touch at an edge are not); their door is the centre of the pixels they
// share, halved down to a whole pixel, so it lies in both. A path from P to Q
// runs from the first area holding P to the first holding Q over the fewest
// areas (a breadth-first search, neighbours in the order added); its
// waypoints are the doors along it, then Q. A walk that goes straight from
// each waypoint to the next, never leaving the box of the two, stays inside
// the areas, since both ends of every leg lie in one rectangle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <zep2/list.h>

#include "base/rect.h"

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
    // The heading mask of letters "n", "e", "s", "w" (heading 0 to 3), such
    // as "ew"; -1 for an empty word or any other letter.
    static int headingMask(const char* szLetters);

    // The waypoints from P to Q, replacing the list's content. False, with
    // the list untouched, when no area holds P or Q or no chain of linked
    // areas joins them.
    bool findPath(int nFromX, int nFromY, int nToX, int nToY, Zep::List<Point>* pWaypoints) const;

    // Moves the point to the nearest pixel that an area holds (straight-line
    // distance; the first area added on a tie); a held point stays. False,
    // the point untouched, when no area holds any pixel.
    bool nearestPoint(int* pX, int* pY) const;

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

// The screen rectangles of one frame that must be drawn again.
//
// Boxes are pixel rectangles, half-open ([x0, x1) x [y0, y1)), cut to the
// screen when added. The kept boxes never overlap, so each pixel is drawn
// once per frame however the boxes were added. A box that meets a kept one
// (overlapping it or less than the merge gap away) absorbs it, growing to
// the bounding box of both, when that box wastes little: at most
// kMergeWaste pixels, or an eighth, more than the two cover together. Else
// the two stay apart, and where they overlap the new box is cut into the
// parts outside the kept one (a walking figure beside a dancer: their
// bounding box would draw a fifth more than they cover). When the kept
// boxes cover more than the whole-screen share of the screen, the screen
// as one box takes their place (one pass over everything costs less than
// many).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ScreenBox {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    bool isEmpty() const { return x1 <= x0 || y1 <= y0; }
    int64_t area() const { return isEmpty() ? 0 : int64_t(x1 - x0) * (y1 - y0); }
    // Overlapping, or less than nGap pixels apart on both axes.
    bool meets(const ScreenBox& o, int nGap = 0) const {
        return x0 < o.x1 + nGap && o.x0 < x1 + nGap && y0 < o.y1 + nGap && o.y0 < y1 + nGap;
    }
    bool contains(const ScreenBox& o) const { return o.x0 >= x0 && o.x1 <= x1 && o.y0 >= y0 && o.y1 <= y1; }
    void extend(const ScreenBox& o);
    void clipTo(const ScreenBox& bounds);
    bool operator==(const ScreenBox&) const = default;
};

class DirtyRects {
public:
    static constexpr int kMergeGap = 8;
    static constexpr int64_t kMergeWaste = 1024;
    // Cuts nested deeper than this merge whatever the waste (a bound on the work).
    static constexpr int kMaxCutDepth = 8;
    // Above this share of the screen (in percent) the whole screen is drawn.
    static constexpr int kWholeScreenPercent = 60;

    // Empties the set for a screen of w x h pixels.
    void reset(int nWidth, int nHeight);
    void add(const ScreenBox& box);
    void addWholeScreen();
    bool isWholeScreen() const { return m_bWhole; }
    bool isEmpty() const { return m_vBoxes.empty(); }
    const std::vector<ScreenBox>& boxes() const { return m_vBoxes; }
    const ScreenBox& screen() const { return m_screen; }
    int64_t area() const { return m_nArea; }

private:
    void addBox(const ScreenBox& box, int nDepth);
    bool mayMerge(const ScreenBox& box, size_t nKept) const;

    ScreenBox m_screen;
    std::vector<ScreenBox> m_vBoxes;
    int64_t m_nArea = 0;
    bool m_bWhole = false;
};

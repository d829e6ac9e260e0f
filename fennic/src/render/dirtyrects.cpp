#include "render/dirtyrects.h"

#include <algorithm>

void ScreenBox::extend(const ScreenBox& o) {
    x0 = std::min(x0, o.x0);
    y0 = std::min(y0, o.y0);
    x1 = std::max(x1, o.x1);
    y1 = std::max(y1, o.y1);
}

void ScreenBox::clipTo(const ScreenBox& bounds) {
    x0 = std::clamp(x0, bounds.x0, bounds.x1);
    x1 = std::clamp(x1, bounds.x0, bounds.x1);
    y0 = std::clamp(y0, bounds.y0, bounds.y1);
    y1 = std::clamp(y1, bounds.y0, bounds.y1);
}

void DirtyRects::reset(int nWidth, int nHeight) {
    m_screen = ScreenBox{0, 0, std::max(nWidth, 0), std::max(nHeight, 0)};
    m_vBoxes.clear();
    m_nArea = 0;
    m_bWhole = false;
}

void DirtyRects::addWholeScreen() {
    m_vBoxes.assign(1, m_screen);
    m_nArea = m_screen.area();
    m_bWhole = true;
}

namespace {

// The bounding box of both covers little more than the two do.
bool cheapToMerge(const ScreenBox& a, const ScreenBox& b) {
    ScreenBox both = a;
    both.extend(b);
    ScreenBox overlap{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
    const int64_t nCovered = a.area() + b.area() - overlap.area();
    return both.area() - nCovered <= std::max(DirtyRects::kMergeWaste, nCovered / 8);
}

// The parts of a outside b (which overlaps it): up to four bands.
int cutOutside(const ScreenBox& a, const ScreenBox& b, ScreenBox (&aParts)[4]) {
    const ScreenBox aBands[4] = {{a.x0, a.y0, a.x1, b.y0},
                                 {a.x0, b.y1, a.x1, a.y1},
                                 {a.x0, std::max(a.y0, b.y0), b.x0, std::min(a.y1, b.y1)},
                                 {b.x1, std::max(a.y0, b.y0), a.x1, std::min(a.y1, b.y1)}};
    int n = 0;
    for (const ScreenBox& band : aBands)
        if (!band.isEmpty()) aParts[n++] = band;
    return n;
}

}  // namespace

void DirtyRects::add(const ScreenBox& box) { addBox(box, 0); }

// Cheap, and the bounding box would not reach over another kept box that it
// may not cheaply take in too (else cuts and merges could undo each other).
bool DirtyRects::mayMerge(const ScreenBox& box, size_t nKept) const {
    if (!cheapToMerge(box, m_vBoxes[nKept])) return false;
    ScreenBox both = box;
    both.extend(m_vBoxes[nKept]);
    for (size_t j = 0; j < m_vBoxes.size(); ++j)
        if (j != nKept && both.meets(m_vBoxes[j]) && !cheapToMerge(both, m_vBoxes[j])) return false;
    return true;
}

// The new box swallows every kept box it meets and may cheaply, growing
// each time; a kept box it overlaps but may not swallow keeps its pixels,
// and the new box's parts outside it are added instead.
void DirtyRects::addBox(const ScreenBox& box, int nDepth) {
    if (m_bWhole) return;
    ScreenBox grown = box;
    grown.clipTo(m_screen);
    if (grown.isEmpty()) return;
    for (size_t i = 0; i < m_vBoxes.size();) {
        const ScreenBox kept = m_vBoxes[i];
        if (!grown.meets(kept, kMergeGap)) {
            ++i;
            continue;
        }
        if (kept.contains(grown)) return;
        if (nDepth < kMaxCutDepth && !mayMerge(grown, i)) {
            if (!grown.meets(kept)) {
                ++i;
                continue;
            }
            ScreenBox aParts[4];
            const int nParts = cutOutside(grown, kept, aParts);
            for (int k = 0; k < nParts; ++k) addBox(aParts[k], nDepth + 1);
            return;
        }
        grown.extend(kept);
        m_nArea -= kept.area();
        m_vBoxes[i] = m_vBoxes.back();
        m_vBoxes.pop_back();
        i = 0;
    }
    m_vBoxes.push_back(grown);
    m_nArea += grown.area();
    if (m_nArea * 100 > m_screen.area() * kWholeScreenPercent) addWholeScreen();
}

#include "dirtyrects.h"

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

// The new box swallows every kept box it meets, growing each time, so the
// kept boxes stay apart from each other.
void DirtyRects::add(const ScreenBox& box) {
    if (m_bWhole) return;
    ScreenBox grown = box;
    grown.clipTo(m_screen);
    if (grown.isEmpty()) return;
    for (size_t i = 0; i < m_vBoxes.size();) {
        if (!grown.meets(m_vBoxes[i], kMergeGap)) {
            ++i;
            continue;
        }
        grown.extend(m_vBoxes[i]);
        m_nArea -= m_vBoxes[i].area();
        m_vBoxes[i] = m_vBoxes.back();
        m_vBoxes.pop_back();
        i = 0;
    }
    grown.clipTo(m_screen);
    m_vBoxes.push_back(grown);
    m_nArea += grown.area();
    if (m_nArea * 100 > m_screen.area() * kWholeScreenPercent) addWholeScreen();
}

// The level's walk areas (walkareas.h).
#include "walkareas.h"

#include <algorithm>

void WalkAreas::add(const Rect& rect, int nDepth) {
    if (m_vAreas.empty()) {
        m_nBandTop = rect.getTop();
        m_nBandBottom = rect.getBottom();
    } else {
        m_nBandTop = std::min(m_nBandTop, rect.getTop());
        m_nBandBottom = std::max(m_nBandBottom, rect.getBottom());
    }
    m_vAreas.push_back({rect, nDepth});
}

int WalkAreas::find(int x, int y) const {
    for (size_t i = 0; i < m_vAreas.size(); ++i)
        if (holds(m_vAreas[i].rect, x, y)) return static_cast<int>(i);
    return -1;
}

int WalkAreas::getDepth(int x, int y) const {
    int nIndex = find(x, y);
    return nIndex < 0 ? -1 : m_vAreas[static_cast<size_t>(nIndex)].nDepth;
}

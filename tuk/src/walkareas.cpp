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

void WalkAreas::addPreferredLine(bool bVertical, int nValue, const Rect& rect, int nHeadingMask) {
    m_vLines.push_back({bVertical, nValue, rect, nHeadingMask});
}

void WalkAreas::applyPreferredLines(int* pX, int* pY, int nHeading) const {
    if (nHeading < 0 || nHeading > 3) return;
    for (const PreferredLine& line : m_vLines) {
        if ((line.nHeadingMask & (1 << nHeading)) == 0 || !holds(line.rect, *pX, *pY)) continue;
        *(line.bVertical ? pX : pY) = line.nValue;
        return;
    }
}

// The level's walk areas (walkareas.h).
#include "level/walkareas.h"

#include <algorithm>
#include <cstring>
#include <deque>

namespace {

constexpr const char* kHeadingLetters = "nesw";

// The pixels two rectangles share: left and top inclusive, right and bottom
// exclusive; nothing when right <= left or bottom <= top.
struct Overlap {
    int32_t nLeft, nTop, nRight, nBottom;
    bool isEmpty() const { return nRight <= nLeft || nBottom <= nTop; }
};

Overlap overlapOf(const Rect& a, const Rect& b) {
    return {std::max(a.getLeft(), b.getLeft()), std::max(a.getTop(), b.getTop()),
            std::min(a.getRight(), b.getRight()), std::min(a.getBottom(), b.getBottom())};
}

// The lower middle of [from, to), in 64 bits so that no edge overflows.
float middle(int32_t nFrom, int32_t nTo) {
    return static_cast<float>(nFrom + (static_cast<int64_t>(nTo) - nFrom) / 2);
}

}  // namespace

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

int WalkAreas::headingMask(const char* szLetters) {
    int nMask = 0;
    for (const char* p = szLetters; *p; ++p) {
        const char* szFound = std::strchr(kHeadingLetters, *p);
        if (!szFound) return -1;
        nMask |= 1 << (szFound - kHeadingLetters);
    }
    return nMask == 0 ? -1 : nMask;
}

bool WalkAreas::nearestPoint(int* pX, int* pY) const {
    bool bFound = false;
    int64_t nBest = 0;
    int32_t nBestX = *pX, nBestY = *pY;
    for (const Area& area : m_vAreas) {
        const Rect& rect = area.rect;
        if (rect.getRight() <= rect.getLeft() || rect.getBottom() <= rect.getTop()) continue;
        const int32_t x = std::clamp(*pX, rect.getLeft(), rect.getRight() - 1);
        const int32_t y = std::clamp(*pY, rect.getTop(), rect.getBottom() - 1);
        const int64_t nDx = static_cast<int64_t>(x) - *pX, nDy = static_cast<int64_t>(y) - *pY;
        const int64_t nDistance = nDx * nDx + nDy * nDy;
        if (bFound && nDistance >= nBest) continue;
        bFound = true;
        nBest = nDistance;
        nBestX = x;
        nBestY = y;
    }
    *pX = nBestX;
    *pY = nBestY;
    return bFound;
}

bool WalkAreas::findPath(int nFromX, int nFromY, int nToX, int nToY, Zep::List<Point>* pWaypoints) const {
    const int nFrom = find(nFromX, nFromY), nTo = find(nToX, nToY);
    if (nFrom < 0 || nTo < 0) return false;
    // Breadth first: each area remembers the one it was reached from.
    std::vector<int> vCameFrom(m_vAreas.size(), -1);
    vCameFrom[static_cast<size_t>(nFrom)] = nFrom;
    std::deque<int> queue{nFrom};
    while (!queue.empty() && vCameFrom[static_cast<size_t>(nTo)] < 0) {
        const Rect& rect = m_vAreas[static_cast<size_t>(queue.front())].rect;
        for (size_t i = 0; i < m_vAreas.size(); ++i) {
            if (vCameFrom[i] >= 0 || overlapOf(rect, m_vAreas[i].rect).isEmpty()) continue;
            vCameFrom[i] = queue.front();
            queue.push_back(static_cast<int>(i));
        }
        queue.pop_front();
    }
    if (vCameFrom[static_cast<size_t>(nTo)] < 0) return false;
    pWaypoints->clear();
    pWaypoints->add(Point(static_cast<float>(nToX), static_cast<float>(nToY)));
    for (int nArea = nTo; nArea != nFrom;) {
        const int nPrevious = vCameFrom[static_cast<size_t>(nArea)];
        const Overlap door = overlapOf(m_vAreas[static_cast<size_t>(nPrevious)].rect,
                                       m_vAreas[static_cast<size_t>(nArea)].rect);
        pWaypoints->addFirst(Point(middle(door.nLeft, door.nRight), middle(door.nTop, door.nBottom)));
        nArea = nPrevious;
    }
    return true;
}

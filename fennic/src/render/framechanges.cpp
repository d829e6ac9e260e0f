#include "render/framechanges.h"

#include <algorithm>

namespace {

int64_t s_nFrames = 0;

}  // namespace

void FrameChanges::begin(int nWidth, int nHeight) {
    m_nLastFrame = m_nFrame;
    m_nFrame = ++s_nFrames;
    m_vLast.swap(m_vCurrent);
    m_vCurrent.clear();
    m_vOpaque.clear();
    m_bLastUncomparable = m_bUncomparable;
    m_bUncomparable = false;
    if (nWidth != m_nWidth || nHeight != m_nHeight) m_bLastUncomparable = true;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
}

void FrameChanges::finish(DirtyRects& rects, bool bWhole) {
    rects.reset(m_nWidth, m_nHeight);
    if (bWhole || m_bUncomparable || m_bLastUncomparable) {
        rects.addWholeScreen();
        return;
    }
    m_cover.reset(m_nWidth, m_nHeight);
    for (const DrawRecord& record : m_vCurrent)
        if (!record.opaque.isEmpty()) {
            noteOpaque(record.opaque);
            m_cover.add(record.opaque);
        }
    compare(rects);
}

// The largest opaque boxes, at most kOpaqueBoxes of them.
void FrameChanges::noteOpaque(const ScreenBox& box) {
    if (m_vOpaque.size() < kOpaqueBoxes) {
        m_vOpaque.push_back(box);
        return;
    }
    auto smallest = std::min_element(m_vOpaque.begin(), m_vOpaque.end(),
                                     [](const ScreenBox& a, const ScreenBox& b) { return a.area() < b.area(); });
    if (smallest->area() < box.area()) *smallest = box;
}

bool FrameChanges::isCovered(const DrawRecord& record) const {
    if (!record.opaque.isEmpty()) return true;
    return std::any_of(m_vOpaque.begin(), m_vOpaque.end(),
                       [&](const ScreenBox& o) { return o.contains(record.key.box); }) ||
           m_cover.covers(record.key.box);
}

void FrameChanges::compare(DirtyRects& rects) {
    m_vMatched.assign(m_vLast.size(), 0);
    int32_t nLatest = -1;  // the latest counterpart met so far
    for (const DrawRecord& record : m_vCurrent) {
        const bool bAlways = record.bVolatile || !isCovered(record);
        if (record.nLast < 0 || record.nLast >= static_cast<int32_t>(m_vLast.size()) ||
            m_vMatched[static_cast<size_t>(record.nLast)]) {
            rects.add(record.key.box);
            continue;
        }
        const DrawRecord& last = m_vLast[static_cast<size_t>(record.nLast)];
        m_vMatched[static_cast<size_t>(record.nLast)] = 1;
        if (bAlways || !(record.key == last.key)) {
            rects.add(record.key.box);
            rects.add(last.key.box);
        } else if (record.nLast < nLatest) {
            rects.add(record.key.box);
        }
        nLatest = std::max(nLatest, record.nLast);
    }
    for (size_t i = 0; i < m_vLast.size(); ++i)
        if (!m_vMatched[i]) rects.add(m_vLast[i].key.box);
}

#include "render/opaquecover.h"

#include <algorithm>

void OpaqueCover::reset(int nWidth, int nHeight) {
    m_nWidth = std::max(nWidth, 0);
    m_nHeight = std::max(nHeight, 0);
    m_nWords = (m_nWidth + 63) / 64;
    m_vBits.assign(static_cast<size_t>(m_nWords) * m_nHeight, 0);
}

uint64_t OpaqueCover::wordMask(int nWord, int x0, int x1) {
    const int nFirst = std::max(x0 - nWord * 64, 0);
    const int nEnd = std::min(x1 - nWord * 64, 64);
    if (nEnd <= nFirst) return 0;
    const uint64_t nHigh = nEnd == 64 ? ~uint64_t(0) : (uint64_t(1) << nEnd) - 1;
    return nHigh & ~((uint64_t(1) << nFirst) - 1);
}

void OpaqueCover::add(const ScreenBox& box) {
    ScreenBox b = box;
    b.clipTo(ScreenBox{0, 0, m_nWidth, m_nHeight});
    if (b.isEmpty()) return;
    const int nWord0 = b.x0 / 64, nWord1 = (b.x1 - 1) / 64;
    for (int y = b.y0; y < b.y1; ++y) {
        uint64_t* pRow = m_vBits.data() + static_cast<size_t>(y) * m_nWords;
        for (int w = nWord0; w <= nWord1; ++w) pRow[w] |= wordMask(w, b.x0, b.x1);
    }
}

bool OpaqueCover::covers(const ScreenBox& box) const {
    ScreenBox b = box;
    b.clipTo(ScreenBox{0, 0, m_nWidth, m_nHeight});
    if (b.isEmpty()) return true;
    const int nWord0 = b.x0 / 64, nWord1 = (b.x1 - 1) / 64;
    for (int y = b.y0; y < b.y1; ++y) {
        const uint64_t* pRow = m_vBits.data() + static_cast<size_t>(y) * m_nWords;
        for (int w = nWord0; w <= nWord1; ++w) {
            const uint64_t nMask = wordMask(w, b.x0, b.x1);
            if ((pRow[w] & nMask) != nMask) return false;
        }
    }
    return true;
}

#include "render/rendertexture.h"

#include <algorithm>
#include <cstring>

namespace render {

namespace {

// The living slots; one thread draws, so no lock.
std::vector<TextureSlot*>& registry() {
    static std::vector<TextureSlot*> s_vSlots;
    return s_vSlots;
}

}  // namespace

Texture::Texture(int nWidth, int nHeight, bool bAlpha)
    : m_nWidth(nWidth), m_nHeight(nHeight), m_bAlpha(bAlpha),
      m_vTexels(static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight), 0u) {}

LockedTexels Texture::lock() {
    m_bSpansStale = true;
    LockedTexels locked;
    locked.pPixels = reinterpret_cast<uint8_t*>(m_vTexels.data());
    locked.nPitch = m_nWidth * 4;
    locked.nAlphaMask = m_bAlpha ? 0xFF000000u : 0u;
    return locked;
}

void Texture::replicateEdges(int nCopiedWidth, int nCopiedHeight) {
    if (nCopiedWidth <= 0 || nCopiedHeight <= 0) return;
    m_bSpansStale = true;
    const int nW = std::min(nCopiedWidth, m_nWidth);
    const int nH = std::min(nCopiedHeight, m_nHeight);
    for (int y = 0; y < nH; ++y) {
        uint32_t* pRow = m_vTexels.data() + static_cast<size_t>(y) * m_nWidth;
        std::fill(pRow + nW, pRow + m_nWidth, pRow[nW - 1]);
    }
    const uint32_t* pLast = m_vTexels.data() + static_cast<size_t>(nH - 1) * m_nWidth;
    for (int y = nH; y < m_nHeight; ++y)
        std::memcpy(m_vTexels.data() + static_cast<size_t>(y) * m_nWidth, pLast, static_cast<size_t>(m_nWidth) * 4);
}

namespace {

// The span of one row of texels with alpha.
TexelSpan spanOfRow(const uint32_t* pRow, int nWidth) {
    TexelSpan span{0, nWidth - 1, 0, -1};
    while (span.nFirst <= span.nLast && (pRow[span.nFirst] >> 24) == 0) ++span.nFirst;
    while (span.nLast >= span.nFirst && (pRow[span.nLast] >> 24) == 0) --span.nLast;
    for (int x = span.nFirst; x <= span.nLast;) {
        if ((pRow[x] >> 24) != 0xFFu) {
            ++x;
            continue;
        }
        const int nStart = x;
        while (x <= span.nLast && (pRow[x] >> 24) == 0xFFu) ++x;
        if (x - nStart > span.nSolidLast - span.nSolidFirst + 1) {
            span.nSolidFirst = nStart;
            span.nSolidLast = x - 1;
        }
    }
    return span;
}

}  // namespace

const TexelSpan* Texture::alphaSpans() const {
    if (!m_bSpansStale) return m_vSpans.data();
    m_vSpans.assign(static_cast<size_t>(m_nHeight), TexelSpan{0, m_nWidth - 1, 0, m_nWidth - 1});
    m_bSpansStale = false;
    const uint32_t nFirst = m_vTexels.empty() ? 0u : m_vTexels[0];
    m_bUniform = std::all_of(m_vTexels.begin(), m_vTexels.end(), [&](uint32_t v) { return v == nFirst; });
    m_content = TexelBounds{0, 0, m_nWidth - 1, m_nHeight - 1};
    if (!m_bAlpha) return m_vSpans.data();
    m_content = TexelBounds{m_nWidth, m_nHeight, -1, -1};
    for (int y = 0; y < m_nHeight; ++y) {
        const TexelSpan span = spanOfRow(m_vTexels.data() + static_cast<size_t>(y) * m_nWidth, m_nWidth);
        m_vSpans[static_cast<size_t>(y)] = span;
        if (span.nFirst > span.nLast) continue;
        m_content = TexelBounds{std::min(m_content.x0, span.nFirst), std::min(m_content.y0, y),
                                std::max(m_content.x1, span.nLast), y};
    }
    return m_vSpans.data();
}

bool Texture::isOpaque() const {
    if (!m_bAlpha) return true;
    const TexelSpan* pSpans = alphaSpans();
    return std::all_of(pSpans, pSpans + m_nHeight,
                       [&](const TexelSpan& span) { return span.nSolidFirst == 0 && span.nSolidLast == m_nWidth - 1; });
}

bool Texture::isUniform() const {
    alphaSpans();
    return m_bUniform;
}

TexelBounds Texture::contentBounds() const {
    alphaSpans();
    return m_content;
}

TextureSlot::TextureSlot() { registry().push_back(this); }

TextureSlot::~TextureSlot() {
    std::vector<TextureSlot*>& vSlots = registry();
    vSlots.erase(std::remove(vSlots.begin(), vSlots.end(), this), vSlots.end());
}

void TextureSlot::releaseAll() {
    for (TextureSlot* pSlot : registry()) pSlot->release();
}

int TextureSlot::registeredCount() { return static_cast<int>(registry().size()); }

}  // namespace render

#include "rendertexture.h"

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

const TexelSpan* Texture::alphaSpans() const {
    if (!m_bSpansStale) return m_vSpans.data();
    m_vSpans.assign(static_cast<size_t>(m_nHeight), TexelSpan{0, m_nWidth - 1});
    m_bSpansStale = false;
    if (!m_bAlpha) return m_vSpans.data();
    for (int y = 0; y < m_nHeight; ++y) {
        const uint32_t* pRow = m_vTexels.data() + static_cast<size_t>(y) * m_nWidth;
        int x0 = 0, x1 = m_nWidth - 1;
        while (x0 <= x1 && (pRow[x0] >> 24) == 0) ++x0;
        while (x1 >= x0 && (pRow[x1] >> 24) == 0) --x1;
        m_vSpans[static_cast<size_t>(y)] = TexelSpan{x0, x1};
    }
    return m_vSpans.data();
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

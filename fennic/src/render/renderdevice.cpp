// The render device's states, clears and the dispatch of primitives to the
// rasteriser (renderraster.cpp).
#include "render/renderdevice.h"

#include <algorithm>

#include "render/renderraster.h"

namespace render {

RenderDevice::RenderDevice(int nWidth, int nHeight, bool bStencil)
    : m_nWidth(std::max(nWidth, 1)), m_nHeight(std::max(nHeight, 1)),
      m_vBack(static_cast<size_t>(m_nWidth) * m_nHeight, 0xFF000000u) {
    if (bStencil) m_vStencil.assign(static_cast<size_t>(m_nWidth) * m_nHeight, 0);
    m_viewport = Viewport{0, 0, m_nWidth, m_nHeight};
}

bool RenderDevice::beginScene() {
    if (m_eStatus != Status::Ok) return false;
    m_bInScene = true;
    return true;
}

// The viewport is kept inside the back buffer.
void RenderDevice::setViewport(const Viewport& viewport) {
    m_viewport.x = std::clamp(viewport.x, 0, m_nWidth);
    m_viewport.y = std::clamp(viewport.y, 0, m_nHeight);
    m_viewport.w = std::clamp(viewport.w, 0, m_nWidth - m_viewport.x);
    m_viewport.h = std::clamp(viewport.h, 0, m_nHeight - m_viewport.y);
}

void RenderDevice::setClip(const Viewport& clip) {
    m_clip = clip;
    m_bClip = true;
}

Viewport RenderDevice::drawArea() const {
    if (!m_bClip) return m_viewport;
    const int x0 = std::max(m_viewport.x, m_clip.x), y0 = std::max(m_viewport.y, m_clip.y);
    const int x1 = std::min(m_viewport.x + m_viewport.w, m_clip.x + m_clip.w);
    const int y1 = std::min(m_viewport.y + m_viewport.h, m_clip.y + m_clip.h);
    return Viewport{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

void RenderDevice::setTransform(TransformKind eKind, const Mat4& m) {
    (eKind == TransformKind::View ? m_view : m_projection) = m;
    m_combined = multiply(m_view, m_projection);
}

const Mat4& RenderDevice::getTransform(TransformKind eKind) const {
    return eKind == TransformKind::View ? m_view : m_projection;
}

void RenderDevice::setBlend(BlendFactor eSrc, BlendFactor eDst) {
    ++m_nStateCalls;
    m_states.eSrc = eSrc;
    m_states.eDst = eDst;
}

void RenderDevice::setAlphaTest(bool bOn, Compare eFunc, uint8_t nRef) {
    ++m_nStateCalls;
    m_states.bAlphaTest = bOn;
    m_states.eAlphaFunc = eFunc;
    m_states.nAlphaRef = nRef;
}

void RenderDevice::setStencil(const StencilState& state) {
    ++m_nStateCalls;
    m_states.stencil = state;
}

void RenderDevice::clear(bool bTarget, bool bStencil, uint32_t nRgb, uint8_t nStencil) {
    const uint32_t nValue = 0xFF000000u | (nRgb & 0x00FFFFFFu);
    const Viewport area = drawArea();
    for (int y = area.y; y < area.y + area.h; ++y) {
        const size_t nRow = static_cast<size_t>(y) * m_nWidth + area.x;
        if (bTarget) std::fill_n(m_vBack.begin() + static_cast<std::ptrdiff_t>(nRow), area.w, nValue);
        if (bStencil && hasStencil())
            std::fill_n(m_vStencil.begin() + static_cast<std::ptrdiff_t>(nRow), area.w, nStencil);
    }
}

uint8_t RenderDevice::stencil(int x, int y) const {
    return hasStencil() ? m_vStencil[static_cast<size_t>(y) * m_nWidth + x] : 0;
}

// Through view, projection and viewport onto the screen, snapped to 1/256.
void RenderDevice::toScreen(const Vertex* pIn, int nCount, std::vector<ScreenVertex>& vOut) const {
    vOut.resize(static_cast<size_t>(nCount));
    const float fHalfW = static_cast<float>(m_viewport.w) * 0.5f;
    const float fHalfH = static_cast<float>(m_viewport.h) * 0.5f;
    for (int i = 0; i < nCount; ++i) {
        float nx = 0.0f;
        float ny = 0.0f;
        transformPoint(m_combined, pIn[i].x, pIn[i].y, pIn[i].z, nx, ny);
        const double sx = m_viewport.x + (static_cast<double>(nx) + 1.0) * fHalfW;
        const double sy = m_viewport.y + (1.0 - static_cast<double>(ny)) * fHalfH;
        vOut[i] = ScreenVertex{toFixed(sx), toFixed(sy), pIn[i].u, pIn[i].v, pIn[i].nDiffuse};
    }
}

void RenderDevice::drawStrip(const Vertex* pVertices, int nCount) {
    if (nCount < 3) return;
    ++m_nDrawCalls;
    toScreen(pVertices, nCount, m_vScratch);
    if (nCount == 4 && !m_bForceTriangles && (drawAlignedQuad(m_vScratch.data()) || drawRectQuad(m_vScratch.data())))
        return;
    for (int i = 0; i + 2 < nCount; ++i) drawTriangle(m_vScratch[i], m_vScratch[i + 1], m_vScratch[i + 2]);
}

void RenderDevice::drawFan(const Vertex* pVertices, int nCount) {
    if (nCount < 3) return;
    ++m_nDrawCalls;
    toScreen(pVertices, nCount, m_vScratch);
    for (int i = 1; i + 1 < nCount; ++i) drawTriangle(m_vScratch[0], m_vScratch[i], m_vScratch[i + 1]);
}

}  // namespace render

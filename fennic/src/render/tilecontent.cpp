#include "render/tilecontent.h"

#include <algorithm>
#include <cmath>

#include "render/rendertexture.h"
#include "render/tiles3d.h"

void ContentBox::extend(const ContentBox& o) {
    if (o.isEmpty()) return;
    if (isEmpty()) {
        *this = o;
        return;
    }
    x0 = std::min(x0, o.x0);
    y0 = std::min(y0, o.y0);
    x1 = std::max(x1, o.x1);
    y1 = std::max(y1, o.y1);
}

namespace {

// Texel columns (or rows) a tile's texture coordinates reach, with a texel
// of margin, cut to the texture.
struct TexelRange {
    int n0, n1;  // inclusive
};

TexelRange reach(float f0, float f1, int nSize) {
    const float lo = std::min(f0, f1) * static_cast<float>(nSize), hi = std::max(f0, f1) * static_cast<float>(nSize);
    const auto clampTexel = [&](float f) { return static_cast<int>(std::clamp(f, -1.0f, static_cast<float>(nSize))); };
    return {std::max(clampTexel(std::floor(lo)) - 1, 0), std::min(clampTexel(std::ceil(hi)), nSize - 1)};
}

// The texel coordinates bounding a content range: a texel of margin each
// side, or, where the content touches the texture's first or last texel,
// as far as the tile's coordinates (t0, t1) go past that edge: addressing
// clamps, so every coordinate beyond the edge reads the edge texel.
struct Span {
    float f0, f1;
};

Span spanOf(const TexelRange& content, float t0, float t1, int nSize) {
    const float fLow = static_cast<float>(content.n0 - 1), fHigh = static_cast<float>(content.n1 + 2);
    return {content.n0 == 0 ? std::min({t0, t1, fLow}) : fLow,
            content.n1 == nSize - 1 ? std::max({t0, t1, fHigh}) : fHigh};
}

// Position along a tile side for texel edge t: the side runs from p0 to p1
// while the texel coordinate runs from t0 to t1.
float along(float t, float t0, float t1, float p0, float p1) { return p0 + (t - t0) / (t1 - t0) * (p1 - p0); }

}  // namespace

ContentBox tileContent(const Drv3DTileData& tiles, int nIndex, const render::Texture* pTexture) {
    const size_t c = 4 * static_cast<size_t>(nIndex);  // top-left, top-right, bottom-right, bottom-left
    const float xl = tiles.m_vX[c], xr = tiles.m_vX[c + 1], yt = tiles.m_vY[c], yb = tiles.m_vY[c + 3];
    const ContentBox whole{std::min(xl, xr), std::min(yt, yb), std::max(xl, xr), std::max(yt, yb)};
    if (!pTexture || !pTexture->hasAlpha()) return whole;
    const int w = pTexture->width(), h = pTexture->height();
    const float u0 = tiles.m_vU[c], u1 = tiles.m_vU[c + 1], v0 = tiles.m_vV[c], v1 = tiles.m_vV[c + 3];
    const bool bFinite = std::isfinite(u0) && std::isfinite(u1) && std::isfinite(v0) && std::isfinite(v1);
    if (!bFinite || u1 == u0 || v1 == v0) return whole;
    const TexelRange cols = reach(u0, u1, w), rows = reach(v0, v1, h);
    int nLeft = w, nRight = -1, nTop = h, nBottom = -1;
    for (int y = rows.n0; y <= rows.n1; ++y) {
        const uint32_t* pRow = pTexture->texels() + static_cast<size_t>(y) * w;
        for (int x = cols.n0; x <= cols.n1; ++x) {
            if ((pRow[x] >> 24) == 0) continue;
            nLeft = std::min(nLeft, x);
            nRight = std::max(nRight, x);
            nTop = std::min(nTop, y);
            nBottom = y;
        }
    }
    if (nRight < 0) return ContentBox{};
    // Texel i covers [i, i + 1) in texel units; a texel of margin each side.
    const float tu0 = u0 * static_cast<float>(w), tu1 = u1 * static_cast<float>(w);
    const float tv0 = v0 * static_cast<float>(h), tv1 = v1 * static_cast<float>(h);
    const Span across = spanOf({nLeft, nRight}, tu0, tu1, w), down = spanOf({nTop, nBottom}, tv0, tv1, h);
    const float xa = along(across.f0, tu0, tu1, xl, xr), xb = along(across.f1, tu0, tu1, xl, xr);
    const float ya = along(down.f0, tv0, tv1, yt, yb), yb2 = along(down.f1, tv0, tv1, yt, yb);
    ContentBox box{std::max(std::min(xa, xb), whole.x0), std::max(std::min(ya, yb2), whole.y0),
                   std::min(std::max(xa, xb), whole.x1), std::min(std::max(ya, yb2), whole.y1)};
    return box.isEmpty() ? ContentBox{} : box;
}

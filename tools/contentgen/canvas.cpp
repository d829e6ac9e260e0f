// The generator's canvas: pixel access, "over" blending and the shapes.
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace cg {

namespace {

uint8_t toByte(float f) { return static_cast<uint8_t>(std::clamp(std::lround(f), 0L, 255L)); }

float clamp01(float f) { return std::clamp(f, 0.0f, 1.0f); }

}  // namespace

Rgba shade(Rgba c, float f) { return Rgba{toByte(c.r * f), toByte(c.g * f), toByte(c.b * f), c.a}; }

Rgba mix(Rgba a, Rgba b, float t) {
    auto m = [t](uint8_t x, uint8_t y) { return toByte(x + (y - x) * t); };
    return Rgba{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

Canvas::Canvas(int nWidth, int nHeight)
    : m_nWidth(std::max(1, nWidth)), m_nHeight(std::max(1, nHeight)),
      m_vPixels(static_cast<size_t>(m_nWidth) * m_nHeight) {}

Rgba Canvas::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return Rgba{};
    return m_vPixels[static_cast<size_t>(y) * m_nWidth + x];
}

void Canvas::set(int x, int y, Rgba c) {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
    m_vPixels[static_cast<size_t>(y) * m_nWidth + x] = c;
}

void Canvas::blend(int x, int y, Rgba c, float fCoverage) {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
    const float sa = c.a / 255.0f * clamp01(fCoverage);
    if (sa <= 0.0f) return;
    Rgba& d = m_vPixels[static_cast<size_t>(y) * m_nWidth + x];
    const float da = d.a / 255.0f * (1.0f - sa);
    const float oa = sa + da;
    auto channel = [&](uint8_t s, uint8_t dc) { return toByte((s * sa + dc * da) / oa); };
    d = Rgba{channel(c.r, d.r), channel(c.g, d.g), channel(c.b, d.b), toByte(oa * 255.0f)};
}

void Canvas::fill(Rgba c) { std::fill(m_vPixels.begin(), m_vPixels.end(), c); }

void Canvas::gradient(float x, float y, float w, float h, Rgba c0, Rgba c1, bool bVertical) {
    const int x0 = std::max(0, static_cast<int>(std::floor(x))), y0 = std::max(0, static_cast<int>(std::floor(y)));
    const int x1 = std::min(m_nWidth, static_cast<int>(std::ceil(x + w)));
    const int y1 = std::min(m_nHeight, static_cast<int>(std::ceil(y + h)));
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px) {
            const float t = bVertical ? (py + 0.5f - y) / h : (px + 0.5f - x) / w;
            blend(px, py, mix(c0, c1, clamp01(t)));
        }
}

template <class F>
void Canvas::shape(float fx0, float fy0, float fx1, float fy1, Rgba c, F distance) {
    const int x0 = std::max(0, static_cast<int>(std::floor(fx0)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(fy0)) - 1);
    const int x1 = std::min(m_nWidth, static_cast<int>(std::ceil(fx1)) + 1);
    const int y1 = std::min(m_nHeight, static_cast<int>(std::ceil(fy1)) + 1);
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px) {
            const float fCoverage = clamp01(0.5f - distance(px + 0.5f, py + 0.5f));
            if (fCoverage > 0.0f) blend(px, py, c, fCoverage);
        }
}

void Canvas::rect(float x, float y, float w, float h, Rgba c) { roundRect(x, y, w, h, 0.0f, c); }

void Canvas::roundRect(float x, float y, float w, float h, float r, Rgba c) {
    const float cx = x + w / 2, cy = y + h / 2;
    r = std::min({r, w / 2, h / 2});
    shape(x, y, x + w, y + h, c, [=](float px, float py) {
        const float qx = std::fabs(px - cx) - (w / 2 - r), qy = std::fabs(py - cy) - (h / 2 - r);
        const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
    });
}

void Canvas::ellipse(float cx, float cy, float rx, float ry, Rgba c) {
    if (rx <= 0 || ry <= 0) return;
    shape(cx - rx, cy - ry, cx + rx, cy + ry, c, [=](float px, float py) {
        const float dx = px - cx, dy = py - cy;
        const float f = dx * dx / (rx * rx) + dy * dy / (ry * ry) - 1.0f;
        const float gx = 2 * dx / (rx * rx), gy = 2 * dy / (ry * ry);
        const float g = std::sqrt(gx * gx + gy * gy);
        return g > 1e-6f ? f / g : -std::min(rx, ry);
    });
}

void Canvas::line(float x0, float y0, float x1, float y1, float fWidth, Rgba c) {
    const float r = fWidth / 2, vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
    shape(std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r, c,
          [=](float px, float py) {
              const float t = len2 > 0 ? clamp01(((px - x0) * vx + (py - y0) * vy) / len2) : 0.0f;
              const float dx = px - (x0 + t * vx), dy = py - (y0 + t * vy);
              return std::sqrt(dx * dx + dy * dy) - r;
          });
}

void Canvas::polyline(const std::vector<Pt>& vPoints, float fWidth, Rgba c) {
    // Drawn into a mask first so that the joints are not blended twice.
    Canvas mask(m_nWidth, m_nHeight);
    const Rgba opaque{c.r, c.g, c.b, 255};
    for (size_t i = 1; i < vPoints.size(); ++i)
        mask.line(vPoints[i - 1].x, vPoints[i - 1].y, vPoints[i].x, vPoints[i].y, fWidth, opaque);
    mask.fade(c.a / 255.0f);
    blit(mask, 0, 0);
}

void Canvas::polygon(const std::vector<Pt>& vPoints, Rgba c) {
    if (vPoints.size() < 3) return;
    float fTop = vPoints[0].y, fBottom = vPoints[0].y;
    for (const Pt& p : vPoints) fTop = std::min(fTop, p.y), fBottom = std::max(fBottom, p.y);
    const int y0 = std::max(0, static_cast<int>(std::floor(fTop)));
    const int y1 = std::min(m_nHeight, static_cast<int>(std::ceil(fBottom)));
    std::vector<float> vCover(static_cast<size_t>(m_nWidth));
    std::vector<float> vCross;
    for (int py = y0; py < y1; ++py) {
        std::fill(vCover.begin(), vCover.end(), 0.0f);
        for (int s = 0; s < 4; ++s) {
            const float sy = py + (s + 0.5f) / 4.0f;
            vCross.clear();
            for (size_t i = 0; i < vPoints.size(); ++i) {
                const Pt& a = vPoints[i];
                const Pt& b = vPoints[(i + 1) % vPoints.size()];
                if ((a.y <= sy) != (b.y <= sy)) vCross.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
            }
            std::sort(vCross.begin(), vCross.end());
            for (size_t i = 0; i + 1 < vCross.size(); i += 2) {
                const float xa = std::max(0.0f, vCross[i]), xb = std::min<float>(m_nWidth, vCross[i + 1]);
                for (int px = static_cast<int>(std::floor(xa)); px < xb && px < m_nWidth; ++px)
                    vCover[px] += (std::min<float>(xb, px + 1) - std::max<float>(xa, px)) / 4.0f;
            }
        }
        for (int px = 0; px < m_nWidth; ++px)
            if (vCover[px] > 0.0f) blend(px, py, c, vCover[px]);
    }
}

void Canvas::blit(const Canvas& src, int x, int y) {
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx) {
            const Rgba c = src.m_vPixels[static_cast<size_t>(sy) * src.m_nWidth + sx];
            if (c.a > 0) blend(x + sx, y + sy, c);
        }
}

void Canvas::mirror() {
    for (int y = 0; y < m_nHeight; ++y) {
        auto row = m_vPixels.begin() + static_cast<std::ptrdiff_t>(y) * m_nWidth;
        std::reverse(row, row + m_nWidth);
    }
}

void Canvas::tint(Rgba c) {
    for (Rgba& p : m_vPixels)
        p = Rgba{static_cast<uint8_t>(p.r * c.r / 255), static_cast<uint8_t>(p.g * c.g / 255),
                 static_cast<uint8_t>(p.b * c.b / 255), p.a};
}

void Canvas::darken(float f) {
    for (Rgba& p : m_vPixels) p = shade(p, f);
}

void Canvas::fade(float f) {
    for (Rgba& p : m_vPixels) p.a = toByte(p.a * f);
}

void Canvas::punch(const Canvas& shape, int x, int y) {
    for (int sy = 0; sy < shape.height(); ++sy)
        for (int sx = 0; sx < shape.width(); ++sx) {
            const uint8_t a = shape.get(sx, sy).a;
            if (a == 0 || x + sx < 0 || y + sy < 0 || x + sx >= m_nWidth || y + sy >= m_nHeight) continue;
            Rgba& d = m_vPixels[static_cast<size_t>(y + sy) * m_nWidth + x + sx];
            d.a = toByte(d.a * (255 - a) / 255.0f);
        }
}

void Canvas::outline(Rgba c, int n) {
    Canvas ring(m_nWidth, m_nHeight);
    for (int y = 0; y < m_nHeight; ++y)
        for (int x = 0; x < m_nWidth; ++x) {
            bool bNear = false;
            for (int dy = -n; dy <= n && !bNear; ++dy)
                for (int dx = -n; dx <= n && !bNear; ++dx)
                    bNear = dx * dx + dy * dy <= n * n + n && get(x + dx, y + dy).a > 127;
            if (bNear) ring.set(x, y, c);
        }
    ring.blit(*this, 0, 0);
    m_vPixels.swap(ring.m_vPixels);
}

void Canvas::dropShadow(int dx, int dy, Rgba c) {
    Canvas shadow(m_nWidth, m_nHeight);
    for (int y = 0; y < m_nHeight; ++y)
        for (int x = 0; x < m_nWidth; ++x) {
            const uint8_t a = get(x - dx, y - dy).a;
            if (a > 0) shadow.set(x, y, Rgba{c.r, c.g, c.b, static_cast<uint8_t>(a * c.a / 255)});
        }
    shadow.blit(*this, 0, 0);
    m_vPixels.swap(shadow.m_vPixels);
}

Canvas Canvas::crop(int x, int y, int w, int h) const {
    Canvas part(w, h);
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) part.set(px, py, get(x + px, y + py));
    return part;
}

}  // namespace cg

// Canvas: the generator's RGBA drawing surface.
//
// Pixels are straight (not premultiplied) RGBA, row by row, starting fully
// transparent. Every shape is drawn "over" what is there with an
// anti-aliased edge: a pixel's coverage (0..1) scales the colour's alpha.
// Coordinates are floats in pixel units; pixel (x, y) covers the square
// from (x, y) to (x + 1, y + 1), so its centre is (x + 0.5, y + 0.5).
// Nothing here reads the clock or a random source: the same calls give the
// same bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace cg {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba rgb(uint32_t nHex, uint8_t a = 255) {
    return Rgba{static_cast<uint8_t>(nHex >> 16), static_cast<uint8_t>(nHex >> 8), static_cast<uint8_t>(nHex), a};
}
// The colour with its red, green and blue scaled by f (below 1 darker).
Rgba shade(Rgba c, float f);
// a + (b - a) * t for each channel.
Rgba mix(Rgba a, Rgba b, float t);

struct Pt {
    float x = 0, y = 0;
};

class Canvas {
public:
    Canvas(int nWidth, int nHeight);
    int width() const { return m_nWidth; }
    int height() const { return m_nHeight; }
    const std::vector<Rgba>& pixels() const { return m_vPixels; }
    std::vector<Rgba>& pixels() { return m_vPixels; }

    Rgba get(int x, int y) const;
    void set(int x, int y, Rgba c);
    // c over the pixel with the coverage (0..1) scaling its alpha; outside does nothing.
    void blend(int x, int y, Rgba c, float fCoverage = 1.0f);

    void fill(Rgba c);
    // From c0 at the rectangle's top (or left) edge to c1 at its bottom (or right).
    void gradient(float x, float y, float w, float h, Rgba c0, Rgba c1, bool bVertical = true);
    void rect(float x, float y, float w, float h, Rgba c);
    void roundRect(float x, float y, float w, float h, float r, Rgba c);
    void ellipse(float cx, float cy, float rx, float ry, Rgba c);
    // A line of the given width with round ends.
    void line(float x0, float y0, float x1, float y1, float fWidth, Rgba c);
    // A line through the points, joined round.
    void polyline(const std::vector<Pt>& vPoints, float fWidth, Rgba c);
    // Filled by the even-odd rule, 4 x 4 samples a pixel.
    void polygon(const std::vector<Pt>& vPoints, Rgba c);

    // src over this canvas with its top-left at (x, y).
    void blit(const Canvas& src, int x, int y);
    // Mirrored left to right.
    void mirror();
    // Red, green and blue multiplied by c's (c / 255); alpha kept.
    void tint(Rgba c);
    // Red, green and blue scaled by f.
    void darken(float f);
    // A ring of colour c, n pixels thick, around every pixel of alpha above
    // 127, drawn under the picture.
    void outline(Rgba c, int n = 1);
    // The picture's shape offset by (dx, dy) in colour c, drawn under it.
    void dropShadow(int dx, int dy, Rgba c);
    // Alpha of every pixel multiplied by f.
    void fade(float f);
    // Alpha multiplied by one less the alpha of the shape's pixel laid with its
    // top-left at (x, y): the shape is cut out, leaving a hole.
    void punch(const Canvas& shape, int x, int y);
    // The part (x, y, w, h) as a canvas of its own.
    Canvas crop(int x, int y, int w, int h) const;

private:
    // Coverage from a signed distance (negative inside) over a box.
    template <class F>
    void shape(float x0, float y0, float x1, float y1, Rgba c, F distance);

    int m_nWidth;
    int m_nHeight;
    std::vector<Rgba> m_vPixels;
};

}  // namespace cg

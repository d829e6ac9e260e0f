// The project's software render device: what the textured video driver
// draws with, in memory, with no graphics hardware.
//
// It keeps a 32-bit X8R8G8B8 back buffer of the physical mode size and, when
// asked, an 8-bit stencil plane. Drawing takes four-vertex triangle strips
// and triangle fans of Vertex records through a view and a projection
// transform (row vectors, rendermatrix.h) and the viewport, with these rules:
//   - pixel (x, y) has its centre at the integer screen point (x, y); a pixel
//     is drawn when its centre is inside a triangle, or on a top or left
//     edge (the top-left rule), so two triangles sharing an edge never both
//     draw a pixel of it. Screen positions are snapped to 1/256 pixel;
//   - colour = texel x diffuse per channel and alpha = texel alpha x diffuse
//     alpha, each (a * b + 127) / 255; an opaque texture's texels have alpha
//     255; without a texture the diffuse colour alone. The diffuse colour of
//     a primitive is its first vertex's (the driver gives all one colour);
//   - sampling is bilinear (or nearest) with clamped addressing, texel
//     centres at (i + 0.5) / size; weights are snapped to 1/256, so a pixel
//     centre that meets a texel centre takes that texel exactly;
//   - the alpha test (when on) drops pixels whose alpha fails the compare
//     with the reference; then the stencil test (when on and the plane
//     exists) compares (reference & mask) with (stencil & mask), and its
//     pass or fail operation updates the stencil; a dropped pixel changes
//     nothing;
//   - blending: out = min(255, (src * F_src + dst * F_dst + 127) / 255) per
//     channel, F from ZERO (0), ONE (255), SRCALPHA (a), INVSRCALPHA (255 - a).
//     Normal blending is SRCALPHA / INVSRCALPHA, additive SRCALPHA / ONE, and
//     ZERO / ONE writes no colour (only the stencil).
// Axis-aligned, unscaled quads whose corners sit half a pixel before a texel
// take a row-copy path, and other axis-aligned quads (scaled, mirrored) a
// span path that solves each row's covered pixels instead of testing every
// pixel of the bounding box and fills a uniform texture without sampling;
// both give the same results as the edge-function path that everything
// else (rotation, polygons) takes. Where a source alpha of 0 changes neither
// the back buffer nor the stencil, all paths pass over the pixels whose
// sample reads only texels of alpha 0 (per texel row, the texture keeps the
// columns that are not clear) and primitives of diffuse alpha 0.
//
// A clip rectangle (setClip) limits every clear and primitive to the pixels
// inside it without moving anything: each pixel inside gets exactly the
// value the unclipped draw gives it (texture coordinates are stepped from
// where the unclipped row starts), and pixels outside stay as they are.
//
// The device never loses its buffers; status() answers Ok unless a test
// injected Lost or WrongMode, and beginScene fails while it is not Ok.
#pragma once

#include <cstdint>
#include <vector>

#include "render/rendermatrix.h"
#include "render/rendertexture.h"

namespace render {

// x, y, z, A8R8G8B8 diffuse, u, v: 24 bytes.
struct Vertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    uint32_t nDiffuse = 0xFFFFFFFFu;
    float u = 0.0f;
    float v = 0.0f;
};

enum class Status { Ok, Lost, WrongMode };
enum class BlendFactor { Zero, One, SrcAlpha, InvSrcAlpha };
enum class Compare { Never, Always, Equal, Greater };
enum class StencilOp { Keep, Replace };
enum class TransformKind { View, Projection };
enum class Filter { Point, Linear };

struct StencilState {
    bool bEnabled = false;
    Compare eFunc = Compare::Always;
    uint8_t nRef = 0;
    uint8_t nMask = 0xFF;
    StencilOp eFail = StencilOp::Keep;
    StencilOp eZFail = StencilOp::Keep;
    StencilOp ePass = StencilOp::Keep;
};

struct Viewport {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// The states a draw reads, gathered for the rasteriser.
struct DrawStates {
    BlendFactor eSrc = BlendFactor::One;
    BlendFactor eDst = BlendFactor::Zero;
    bool bAlphaTest = false;
    Compare eAlphaFunc = Compare::Always;
    uint8_t nAlphaRef = 0;
    StencilState stencil;
    Filter eFilter = Filter::Linear;
};

class RenderDevice {
public:
    // Physical size; bStencil adds the stencil plane. Sizes below 1 count as 1.
    RenderDevice(int nWidth, int nHeight, bool bStencil);

    Status status() const { return m_eStatus; }
    // Test hook: the answer of status() and whether scenes can start.
    void injectStatus(Status eStatus) { m_eStatus = eStatus; }
    bool beginScene();
    void endScene() { m_bInScene = false; }
    bool inScene() const { return m_bInScene; }

    void setViewport(const Viewport& viewport);
    // Pixels (x, y, w, h) that clears and primitives may touch, inside the
    // viewport too; clearClip lifts the limit.
    void setClip(const Viewport& clip);
    void clearClip() { m_bClip = false; }
    bool hasClip() const { return m_bClip; }
    void setTransform(TransformKind eKind, const Mat4& m);
    const Mat4& getTransform(TransformKind eKind) const;

    void setBlend(BlendFactor eSrc, BlendFactor eDst);
    void setAlphaTest(bool bOn, Compare eFunc, uint8_t nRef);
    void setStencil(const StencilState& state);
    void setTexture(const Texture* pTexture) { m_pTexture = pTexture; }
    void setFilter(Filter eFilter) { m_states.eFilter = eFilter; }
    const DrawStates& states() const { return m_states; }

    // Fills the back buffer with 0x00RRGGBB (as 0xFFRRGGBB) and / or the
    // stencil plane with nStencil, inside the viewport.
    void clear(bool bTarget, bool bStencil, uint32_t nRgb, uint8_t nStencil);
    // Four vertices: triangles (0, 1, 2) and (1, 2, 3).
    void drawStrip(const Vertex* pVertices, int nCount);
    // n vertices: triangles (0, i, i + 1).
    void drawFan(const Vertex* pVertices, int nCount);

    int width() const { return m_nWidth; }
    int height() const { return m_nHeight; }
    bool hasStencil() const { return !m_vStencil.empty(); }
    // 0xFFRRGGBB per pixel, rows of width() pixels.
    const uint32_t* backBuffer() const { return m_vBack.data(); }
    uint32_t pixel(int x, int y) const { return m_vBack[static_cast<size_t>(y) * m_nWidth + x]; }
    uint8_t stencil(int x, int y) const;

    // Calls that set blend, alpha-test or stencil states (for tests of the
    // driver's state caching).
    int stateCalls() const { return m_nStateCalls; }
    int drawCalls() const { return m_nDrawCalls; }
    // Test hook: every primitive through the edge-function path, to compare
    // the quad paths with it.
    void forceTriangles(bool bOn) { m_bForceTriangles = bOn; }
    // Test hook: every covered pixel sampled and blended, also those that
    // can change nothing (their texels clear, or a diffuse alpha of 0), to
    // compare the skipping with it.
    void sampleAll(bool bOn) { m_bSampleAll = bOn; }

    // The rasteriser's vertex: screen position in 1/256 pixel.
    struct ScreenVertex {
        int32_t x;
        int32_t y;
        float u;
        float v;
        uint32_t nDiffuse;
    };

private:
    void toScreen(const Vertex* pIn, int nCount, std::vector<ScreenVertex>& vOut) const;
    // The viewport, cut to the clip rectangle when one is set.
    Viewport drawArea() const;
    bool drawAlignedQuad(const ScreenVertex* p);
    bool drawRectQuad(const ScreenVertex* p);
    void drawTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, bool bSpans = false);

    int m_nWidth;
    int m_nHeight;
    std::vector<uint32_t> m_vBack;
    std::vector<uint8_t> m_vStencil;
    Status m_eStatus = Status::Ok;
    bool m_bInScene = false;
    Viewport m_viewport;
    Viewport m_clip;
    bool m_bClip = false;
    Mat4 m_view = Mat4::identity();
    Mat4 m_projection = Mat4::identity();
    Mat4 m_combined = Mat4::identity();
    DrawStates m_states;
    const Texture* m_pTexture = nullptr;
    int m_nStateCalls = 0;
    int m_nDrawCalls = 0;
    bool m_bForceTriangles = false;
    bool m_bSampleAll = false;
    std::vector<ScreenVertex> m_vScratch;
};

}  // namespace render

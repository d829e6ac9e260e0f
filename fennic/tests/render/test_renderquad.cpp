// The render device's quad paths against its edge-function path: scaled,
// mirrored and clipped axis-aligned quads must give the same back buffer and
// stencil plane, pixel for pixel, under every blend, tint and test state;
// and with a clip rectangle every path gives, inside it, exactly the pixels
// it gives unclipped and leaves every pixel outside it as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/renderdevice.h"

namespace {

using namespace render;

struct QuadCase {
    const char* pName;
    float x0, y0, x1, y1;  // screen corners
    float u0, v0, u1, v1;
    uint32_t nDiffuse;
    BlendFactor eSrc, eDst;
    bool bAlphaTest, bStencil, bPoint, bUniform, bUntextured, bOtherDiagonal;
    bool bOpaqueTexture;  // X8R8G8B8: its alpha bytes are not read
};

constexpr auto One = BlendFactor::One, Zero = BlendFactor::Zero, Src = BlendFactor::SrcAlpha,
               Inv = BlendFactor::InvSrcAlpha;
constexpr uint32_t kWhite = 0xFFFFFFFFu, kTint = 0x80C04020u;

const QuadCase kCases[] = {
    {"dimmer", 0, 0, 64, 48, 0, 0, 10 / 16.f, 10 / 16.f, 0xB4FFFFFFu, Src, Inv, false, false, false, true, false, false, false},
    {"dimmer_tinted", -3.3f, 1.7f, 70, 44.2f, 0, 0, 1, 1, kTint, Src, Inv, false, false, false, true, false, false, false},
    {"double", 4, 4, 20, 20, 0, 0, 1, 1, kWhite, Src, Inv, false, false, false, false, false, false, false},
    {"half_offset", 2.25f, 3.75f, 6.25f, 7.75f, 0, 0, 1, 1, kTint, Src, Inv, false, false, false, false, false, false, false},
    {"odd_scale", 1.4f, 0.6f, 59.3f, 45.1f, 0.1f, 0.2f, 0.9f, 0.7f, kWhite, Src, One, false, false, false, false, false, false, false},
    {"mirrored", 50.5f, 40.2f, 10.1f, 5.5f, 0, 0, 1, 1, kTint, Src, Inv, false, false, false, false, false, true, false},
    {"point", 3.1f, 2.9f, 40.7f, 33.3f, 0, 0, 1, 1, kWhite, Src, Inv, false, false, true, false, false, false, false},
    {"generic", 0.5f, 0.5f, 30.5f, 20.5f, 0, 0, 1, 1, kTint, One, Src, false, false, false, false, false, false, false},
    {"alpha_test", 5, 5, 45.5f, 37, 0, 0, 1, 1, kWhite, Src, Inv, true, false, false, false, false, false, false},
    {"stencil", 5, 5, 45.5f, 37, 0, 0, 1, 1, kTint, Zero, One, false, true, false, false, false, false, false},
    {"stencil_uniform", -10, -10, 30, 30, 0, 0, 1, 1, kWhite, Src, Inv, true, true, false, true, false, true, false},
    {"untextured", 7.5f, 2.2f, 33.3f, 47.9f, 0, 0, 1, 1, kTint, Src, Inv, false, false, false, false, true, false, false},
    {"clipped", -20.2f, 30.3f, 90.9f, 99.1f, 0, 0, 1, 1, kTint, Src, Inv, false, true, false, false, false, false, false},
    // Samples that never leave the texture (no clamping), at the depth scale
    // of a figure, magnified, mirrored, tinted, point-sampled, opaque.
    {"inside_depth_scaled", 1.3f, 2.6f, 13.9f, 14.2f, 0.05f, 0.1f, 0.95f, 0.9f, kWhite, Src, Inv, false, false, false, false, false, false, false},
    {"inside_magnified", 0.4f, 0.7f, 61.9f, 47.3f, 0.06f, 0.03f, 0.94f, 0.97f, kTint, Src, Inv, false, false, false, false, false, false, false},
    {"inside_mirrored", 50.2f, 3.3f, 20.7f, 40.1f, 0.1f, 0.1f, 0.9f, 0.8f, kWhite, Src, Inv, false, false, false, false, false, true, false},
    {"inside_point", 2.2f, 1.1f, 57.7f, 44.4f, 0.07f, 0.02f, 0.93f, 0.98f, kTint, Src, Inv, false, false, true, false, false, false, false},
    {"inside_opaque", 0.6f, 1.4f, 60.3f, 45.8f, 0.04f, 0.08f, 0.96f, 0.92f, 0xC0FFFFFFu, Src, Inv, false, false, false, false, false, false, true},
    {"opaque_clamped", -3.3f, -2.2f, 70.1f, 50.5f, 0, 0, 1, 1, kTint, Src, Inv, false, false, false, false, false, false, true},
    {"one_texel_row", 3.5f, 10.25f, 60.5f, 30.75f, 0.1f, 0.5f, 0.9f, 0.5f, kWhite, Src, Inv, false, false, false, false, false, false, false},
};

class RenderQuadTest : public ::testing::TestWithParam<QuadCase> {};

// A texture with every texel distinct (alpha too), or all one colour.
Texture makeTexture(bool bUniform, bool bOpaque = false) {
    Texture tex(16, 16, !bOpaque);
    for (int i = 0; i < 16 * 16; ++i)
        tex.texels()[i] = bUniform ? 0xB4102030u : (uint32_t(i * 37 % 256) << 24) | (uint32_t(i) << 16) | uint32_t(255 - i);
    return tex;
}

// The case's quad twice (the second shifted, over the first's pixels and
// stencil), then the back buffer and the stencil plane.
std::vector<uint32_t> render(const QuadCase& c, const Texture& tex, bool bForceTriangles, const Viewport* pClip = nullptr) {
    RenderDevice device(64, 48, true);
    device.forceTriangles(bForceTriangles);
    device.setTransform(TransformKind::Projection, orthoOffCenter(0, 64, 48, 0, 0, 1));
    device.clear(true, true, 0x336699u, 1);
    if (pClip) device.setClip(*pClip);
    device.setBlend(c.eSrc, c.eDst);
    device.setAlphaTest(c.bAlphaTest, Compare::Greater, 0x60);
    device.setFilter(c.bPoint ? Filter::Point : Filter::Linear);
    device.setTexture(c.bUntextured ? nullptr : &tex);
    for (float fShift : {0.0f, 3.3f}) {
        // The first quad marks its pixels, the second draws only on them.
        const Compare eFunc = fShift == 0.0f ? Compare::Always : Compare::Equal;
        device.setStencil({c.bStencil, eFunc, 3, 0xFF, StencilOp::Keep, StencilOp::Keep, StencilOp::Replace});
        const Vertex tl{c.x0 + fShift, c.y0, 0, c.nDiffuse, c.u0, c.v0}, tr{c.x1 + fShift, c.y0, 0, c.nDiffuse, c.u1, c.v0};
        const Vertex bl{c.x0 + fShift, c.y1, 0, c.nDiffuse, c.u0, c.v1}, br{c.x1 + fShift, c.y1, 0, c.nDiffuse, c.u1, c.v1};
        const Vertex aStrip[4] = {tl, c.bOtherDiagonal ? bl : tr, c.bOtherDiagonal ? tr : bl, br};
        device.drawStrip(aStrip, 4);
    }
    std::vector<uint32_t> vOut(device.backBuffer(), device.backBuffer() + 64 * 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) vOut.push_back(device.stencil(x, y));
    return vOut;
}

TEST_P(RenderQuadTest, SameAsTriangles) {
    const QuadCase& c = GetParam();
    const Texture tex = makeTexture(c.bUniform, c.bOpaqueTexture);
    const std::vector<uint32_t> vQuad = render(c, tex, false);
    const std::vector<uint32_t> vTriangles = render(c, tex, true);
    int nDrawn = 0;
    for (size_t i = 0; i < 64 * 48; ++i) nDrawn += vTriangles[i] != 0xFF336699u || vTriangles[i + 64 * 48] != 1;
    EXPECT_GT(nDrawn, 0);
    for (size_t i = 0; i < vQuad.size(); ++i)
        ASSERT_EQ(vQuad[i], vTriangles[i]) << (i < 64 * 48 ? "pixel " : "stencil ") << i % (64 * 48);
}

// A clip that starts and ends inside texels and rows, for the quad paths
// and the triangles alike.
TEST_P(RenderQuadTest, ClippedSameInsideUntouchedOutside) {
    const QuadCase& c = GetParam();
    const Texture tex = makeTexture(c.bUniform, c.bOpaqueTexture);
    const Viewport clip{9, 7, 22, 17};
    for (bool bTriangles : {false, true}) {
        const std::vector<uint32_t> vWhole = render(c, tex, bTriangles);
        const std::vector<uint32_t> vClipped = render(c, tex, bTriangles, &clip);
        for (size_t i = 0; i < vWhole.size(); ++i) {
            const int x = static_cast<int>(i % (64 * 48)) % 64, y = static_cast<int>(i % (64 * 48)) / 64;
            const bool bInside = x >= clip.x && x < clip.x + clip.w && y >= clip.y && y < clip.y + clip.h;
            const uint32_t nUntouched = i < 64 * 48 ? 0xFF336699u : 1u;
            ASSERT_EQ(vClipped[i], bInside ? vWhole[i] : nUntouched)
                << (i < 64 * 48 ? "pixel " : "stencil ") << x << "," << y << (bTriangles ? " triangles" : " quad");
        }
    }
}

// A clear fills only the clip rectangle.
TEST(RenderClip, AClearFillsOnlyTheClipRectangle) {
    RenderDevice device(8, 6, true);
    device.clear(true, true, 0x102030u, 2);
    device.setClip(Viewport{2, 1, 3, 2});
    device.clear(true, true, 0xA0B0C0u, 5);
    device.clearClip();
    std::string sRows;
    for (int y = 0; y < 6; ++y, sRows += '|')
        for (int x = 0; x < 8; ++x) sRows += device.pixel(x, y) == 0xFFA0B0C0u && device.stencil(x, y) == 5 ? '#' : '.';
    EXPECT_EQ(sRows, "........|..###...|..###...|........|........|........|");
}

INSTANTIATE_TEST_SUITE_P(Quads, RenderQuadTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.pName); });

}  // namespace

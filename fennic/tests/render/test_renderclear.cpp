// The render device's skipping of pixels that read only clear texels:
// pictures with clear margins, a hole and rows touching the edges, or
// content in one corner, drawn aligned, scaled, mirrored, rotated, clipped
// and with texture coordinates past the edges under every blend, filter and
// stencil use, must give the back buffer and stencil plane of the device
// that samples and blends every covered pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "render/renderdevice.h"

namespace {

using namespace render;

constexpr int kW = 96, kH = 80, kSide = 32;

struct Shape {
    const char* pName;
    float x, y, fScaleX, fScaleY, fDegrees;  // top-left corner, size in texels times scale
    float u0, v0, u1, v1;
};

const Shape kShapes[] = {
    {"aligned", 9.5f, 7.5f, 1, 1, 0, 0, 0, 1, 1},
    {"depth_scaled", 3.3f, 5.1f, 0.88f, 0.88f, 0, 0, 0, 1, 1},
    {"enlarged", 1.7f, 2.2f, 1.7f, 1.9f, 0, 0, 0, 1, 1},
    {"mirrored", 40.6f, 4.4f, -1.3f, 1.1f, 0, 0, 0, 1, 1},
    {"mirrored_uv", 20.2f, 6.1f, 1.2f, 1.2f, 0, 1, 0, 0, 1},
    {"inner_uv", 4.9f, 3.3f, 1.5f, 1.5f, 0, 0.1f, 0.2f, 0.85f, 0.9f},
    {"rotated", 30.3f, 1.1f, 1.1f, 1.2f, 21, 0, 0, 1, 1},
    {"rotated_steep", 50.2f, 20.7f, 0.9f, 0.9f, 97, 0, 0, 1, 1},
    {"clipped", -14.6f, 50.3f, 1.4f, 1.3f, 0, 0, 0, 1, 1},
    // Past the texture's edges addressing clamps: the edge texels reach on.
    {"clamped_uv", 4.4f, 3.3f, 1.5f, 1.4f, 0, -0.3f, -0.25f, 1.3f, 1.25f},
    {"clamped_mirrored", 60.2f, 2.2f, -1.2f, 1.3f, 0, 1.3f, 1.25f, -0.3f, -0.25f},
};

// Margins and a hole of alpha 0 with colour in them, one row reaching both
// edges and one only the left edge, runs of alpha 255.
uint32_t texel(int x, int y) {
    const bool bHole = x >= 12 && x <= 17 && y >= 14 && y <= 16;
    const bool bMargin = x < 5 || x > 26;
    const bool bClear = y == 10 ? false : y == 20 ? x > 0 && bMargin : bMargin || y < 3 || y > 28 || bHole;
    const uint32_t nRgb = (uint32_t(x * 8) << 16) | (uint32_t(y * 8) << 8) | uint32_t(255 - x * y % 256);
    const bool bSolid = (y == 24 && x >= 8 && x <= 22) || (y == 10 && x < 16) || (y == 11 && x % 5 == 0);
    return (bClear ? 0u : bSolid ? 255u << 24 : uint32_t((x * 7 + y * 13) % 254 + 1) << 24) | nRgb;
}

// Content in the bottom-left corner only (touching the left and bottom
// edges), and one texel inside.
uint32_t cornerTexel(int x, int y) {
    const uint32_t nRgb = (uint32_t(x * 8) << 16) | (uint32_t(y * 8) << 8) | 0x40u;
    const bool bContent = (x < 9 && y > 22) || (x == 17 && y == 12);
    return (bContent ? uint32_t(x * 20 + y) % 255 + 1 : 0u) << 24 | nRgb;
}

using TexelFn = uint32_t (*)(int, int);
constexpr TexelFn kTextures[] = {texel, cornerTexel};

struct States {
    BlendFactor eSrc, eDst;
    uint32_t nDiffuse;
    bool bAlphaTest;
    StencilState stencil;
};

constexpr auto One = BlendFactor::One, Zero = BlendFactor::Zero, Src = BlendFactor::SrcAlpha,
               Inv = BlendFactor::InvSrcAlpha;
constexpr StencilState kNoStencil{};
constexpr StencilState kWriteMask{true, Compare::Always, 1, 1, StencilOp::Replace, StencilOp::Replace,
                                  StencilOp::Replace};
constexpr StencilState kTestMask{true, Compare::Equal, 1, 1, StencilOp::Keep, StencilOp::Keep, StencilOp::Keep};
constexpr StencilState kMarkPassed{true, Compare::Always, 2, 0xFF, StencilOp::Keep, StencilOp::Keep,
                                   StencilOp::Replace};

const States kStates[] = {
    {Src, Inv, 0xFFFFFFFFu, false, kNoStencil},  {Src, Inv, 0xA0C08040u, false, kNoStencil},
    {Src, One, 0xC0FFFFFFu, false, kNoStencil},  {Zero, One, 0xFFFFFFFFu, false, kNoStencil},
    {Zero, Inv, 0xFFFFFFFFu, false, kNoStencil}, {One, Inv, 0xFFFFFFFFu, false, kNoStencil},
    {Zero, One, 0xFFFFFFFFu, true, kWriteMask},  {Src, Inv, 0xFFFFFFFFu, false, kTestMask},
    {Src, Inv, 0xFFFFFFFFu, false, kMarkPassed}, {Src, Inv, 0x00FFFFFFu, false, kNoStencil},
    {Src, Inv, 0x00FFFFFFu, false, kMarkPassed},
};

// The shape's quad, and again moved over its own pixels after a texel of
// the left margin became opaque; back buffer then stencil plane.
std::vector<uint32_t> render(const Shape& s, const States& st, Filter eFilter, bool bSampleAll, TexelFn fnTexel = texel) {
    Texture tex(kSide, kSide, true);
    for (int i = 0; i < kSide * kSide; ++i) tex.texels()[i] = fnTexel(i % kSide, i / kSide);
    RenderDevice device(kW, kH, true);
    device.sampleAll(bSampleAll);
    device.setTransform(TransformKind::Projection, orthoOffCenter(0, kW, kH, 0, 0, 1));
    device.clear(true, true, 0x336699u, 0);
    device.setViewport({0, 0, kW / 2, kH});
    device.clear(false, true, 0, 1);
    device.setViewport({0, 0, kW, kH});
    device.setBlend(st.eSrc, st.eDst);
    device.setAlphaTest(st.bAlphaTest, Compare::Greater, 0);
    device.setStencil(st.stencil);
    device.setFilter(eFilter);
    device.setTexture(&tex);
    const double c = std::cos(s.fDegrees * M_PI / 180), n = std::sin(s.fDegrees * M_PI / 180);
    for (float fShift : {0.0f, 5.0f}) {
        Vertex aStrip[4];
        for (int i = 0; i < 4; ++i) {
            const double dx = (i & 1) * kSide * s.fScaleX, dy = (i >> 1) * kSide * s.fScaleY;
            aStrip[i] = Vertex{s.x + fShift + float(dx * c - dy * n), s.y + float(dx * n + dy * c), 0, st.nDiffuse,
                               (i & 1) ? s.u1 : s.u0, (i >> 1) ? s.v1 : s.v0};
        }
        device.drawStrip(aStrip, 4);
        tex.texels()[7 * kSide + 1] = 0xFF00FF00u;
    }
    std::vector<uint32_t> vOut(device.backBuffer(), device.backBuffer() + kW * kH);
    for (int i = 0; i < kW * kH; ++i) vOut.push_back(device.stencil(i % kW, i / kW));
    return vOut;
}

class RenderClearTest : public ::testing::TestWithParam<Shape> {};

TEST_P(RenderClearTest, SameAsSamplingEveryPixel) {
    for (TexelFn fnTexel : kTextures)
        for (const States& st : kStates)
            for (Filter eFilter : {Filter::Linear, Filter::Point}) {
                const std::vector<uint32_t> vSkip = render(GetParam(), st, eFilter, false, fnTexel);
                const std::vector<uint32_t> vAll = render(GetParam(), st, eFilter, true, fnTexel);
                for (size_t i = 0; i < vSkip.size(); ++i)
                    ASSERT_EQ(vSkip[i], vAll[i])
                        << (i < kW * kH ? "pixel " : "stencil ") << i % (kW * kH) << " blend " << int(st.eSrc)
                        << int(st.eDst) << " diffuse " << std::hex << st.nDiffuse << " point "
                        << (eFilter == Filter::Point) << " texture " << (fnTexel == texel ? "edges" : "corner");
            }
}

INSTANTIATE_TEST_SUITE_P(Shapes, RenderClearTest, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.pName); });

// The aligned picture, texel for pixel (texel (0, 0) at pixel (10, 8), the
// second copy 5 pixels right): clear texels keep the clear colour, the edited
// one shows in the second copy only, an opaque one blends.
TEST(RenderClear, AlignedPixels) {
    const std::vector<uint32_t> v = render(kShapes[0], kStates[0], Filter::Point, false);
    EXPECT_EQ(v[8 * kW + 11], 0xFF336699u);   // texel (1, 0)
    EXPECT_EQ(v[15 * kW + 11], 0xFF336699u);  // texel (1, 7) before the edit
    EXPECT_EQ(v[15 * kW + 16], 0xFF00FF00u);  // texel (1, 7) after it
    EXPECT_EQ(v[20 * kW + 16], 0xFF3161B0u);  // texel (6, 12): (48, 96, 183) at alpha 199
    EXPECT_EQ(v[32 * kW + 18], 0xFF40C03Fu);  // texel (8, 24), opaque
}

}  // namespace

// Where a tile may draw: the texels that are not clear, a texel of margin
// around them, mapped through the tile's corners and cut to the tile.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "render/rendertexture.h"
#include "testkit/testkit_boxes.h"
#include "render/tilecontent.h"
#include "render/tiles3d.h"

namespace {

class OneTile : public Drv3DTileData {
public:
    // Corners: x from xl to xr, y from yt to yb, u from u0 to u1, v from v0 to v1.
    OneTile(float xl, float xr, float yt, float yb, float u0, float u1, float v0, float v1) {
        allocate(1);
        const float aX[4] = {xl, xr, xr, xl}, aY[4] = {yt, yt, yb, yb};
        const float aU[4] = {u0, u1, u1, u0}, aV[4] = {v0, v0, v1, v1};
        for (int c = 0; c < 4; ++c) {
            m_vX[c] = aX[c];
            m_vY[c] = aY[c];
            m_vU[c] = aU[c];
            m_vV[c] = aV[c];
        }
    }
    void releaseTextures() override {}
    void shareTexture(int, Drv3DTileData*, int) override {}
};

std::string text(const ContentBox& b) { return b.isEmpty() ? "empty" : testkit::boxText(b); }

// 16 x 16, clear but for texels (5..7, 3..4); or wholly clear; or opaque.
render::Texture makeTexture(bool bAlpha, bool bEmpty) {
    render::Texture tex(16, 16, bAlpha);
    for (int y = 3; y <= 4 && !bEmpty; ++y)
        for (int x = 5; x <= 7; ++x) tex.texels()[y * 16 + x] = 0x80FF0000u;
    return tex;
}

TEST(TileContent, TheTexelsThatAreNotClearWithAMarginThroughTheTilesCorners) {
    const render::Texture tex = makeTexture(true, false), empty = makeTexture(true, true);
    const render::Texture opaque = makeTexture(false, true);
    // Clear but for texels (0..2, 6..7), on the left edge.
    render::Texture edge(16, 16, true);
    for (int y = 6; y <= 7; ++y)
        for (int x = 0; x <= 2; ++x) edge.texels()[y * 16 + x] = 0x80FF0000u;
    const struct {
        const char* szName;
        OneTile tile;
        const render::Texture* pTexture;
        const char* szBox;
    } kRows[] = {
        {"one texel a pixel", {0, 16, 0, 16, 0, 1, 0, 1}, &tex, "4,2-9,6"},
        {"half the size", {0, 8, 0, 8, 0, 1, 0, 1}, &tex, "2,1-4.5,3"},
        {"mirrored", {16, 0, 0, 16, 0, 1, 0, 1}, &tex, "7,2-12,6"},
        // The right half of the texture: its first column is read at the
        // tile's left edge, where the content's last column lies beside it.
        {"the right half", {0, 8, 0, 16, 0.5f, 1, 0, 1}, &tex, "0,2-1,6"},
        {"away from the content", {0, 4, 0, 16, 0.75f, 1, 0, 1}, &tex, "empty"},
        {"a clear texture", {0, 16, 0, 16, 0, 1, 0, 1}, &empty, "empty"},
        {"an opaque texture", {0, 16, 0, 16, 0, 1, 0, 1}, &opaque, "0,0-16,16"},
        {"no texture", {3, 9, 2, 5, 0, 1, 0, 1}, nullptr, "3,2-9,5"},
        // Coordinates that say nothing: the whole tile may draw.
        {"not a number", {0, 16, 0, 16, std::nanf(""), 1, 0, 1}, &tex, "0,0-16,16"},
        {"no width", {0, 16, 0, 16, 0.5f, 0.5f, 0, 1}, &tex, "0,0-16,16"},
        // Coordinates past the texture (texel -8 at x = 0, one a pixel) read
        // its edge texels: content on an edge reaches as far as they go.
        {"inside, past the edges", {0, 32, 0, 32, -0.5f, 1.5f, -0.5f, 1.5f}, &tex, "12,10-17,14"},
        {"on the left edge", {0, 32, 0, 16, -0.5f, 1.5f, 0, 1}, &edge, "0,5-12,9"},
        {"on the left edge, mirrored", {32, 0, 0, 16, -0.5f, 1.5f, 0, 1}, &edge, "20,5-32,9"},
    };
    for (const auto& row : kRows) EXPECT_EQ(text(tileContent(row.tile, 0, row.pTexture)), row.szBox) << row.szName;
}

TEST(TileContent, BoxesExtendEachOtherAndAnEmptyOneAddsNothing) {
    ContentBox box;
    box.extend(ContentBox{});
    EXPECT_TRUE(box.isEmpty());
    box.extend(ContentBox{2, 3, 5, 6});
    box.extend(ContentBox{});
    box.extend(ContentBox{4, 1, 9, 4});
    EXPECT_EQ(text(box), "2,1-9,6");
}

TEST(TextureFacts, UniformityAndContentAreRemadeAfterAWrite) {
    render::Texture tex(8, 4, true);
    EXPECT_TRUE(tex.isUniform());
    EXPECT_TRUE(tex.contentBounds().isEmpty());
    tex.texels()[2 * 8 + 5] = 0x01000000u;
    EXPECT_FALSE(tex.isUniform());
    const render::TexelBounds b = tex.contentBounds();
    EXPECT_EQ(testkit::boxText(b), "5,2-5,2");
    render::Texture opaque(4, 4, false);
    EXPECT_EQ(opaque.contentBounds().x1, 3);
}

}  // namespace

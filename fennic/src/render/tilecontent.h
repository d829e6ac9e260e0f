// Where a tiled picture may draw: the part of each tile whose pixels may
// read a texel that is not clear.
//
// A sprite whose pictures are mostly clear (one layer of a figure: an eye,
// an arm) draws nothing outside that part wherever clear texels leave the
// screen as it is (normal and additive blending), so the changed-frame
// bookkeeping and the clip may use it instead of the picture's rectangle.
// The part is found from the texels once per tile cut: each texel that is
// not clear counts with a texel of margin on every side (bilinear samples
// read a texel's neighbours), cut to the tile's rectangle. Positions are in
// the tiles' own coordinates (tiles3d.h).
#pragma once

class Drv3DTileData;
namespace render {
class Texture;
}

struct ContentBox {
    float x0 = 0.0f;
    float y0 = 0.0f;
    float x1 = 0.0f;
    float y1 = 0.0f;
    bool isEmpty() const { return !(x0 < x1 && y0 < y1); }
    // The bounding box of both (an empty one adds nothing).
    void extend(const ContentBox& o);
};

// Tile nIndex's part over its texture; the whole tile without a texture or
// without alpha.
ContentBox tileContent(const Drv3DTileData& tiles, int nIndex, const render::Texture* pTexture);

// Texture tiles of the textured video drivers.
//
// A picture's surface is cut once into tiles whose sides are powers of two;
// each image (a rectangle of a surface, maybe mirrored or scaled) gets its
// own tile list that reuses the surface's textures with its own positions
// and texture coordinates. Tile k owns entries 4k to 4k + 3 of the corner
// arrays, corners in the order top-left, top-right, bottom-right,
// bottom-left; U and V are texture coordinates (0..1), X and Y positions in
// pixels of the picture (the surface for surface tiles, the image for image
// tiles).
//
// Tiles are current while the picture's change stamp is not newer than
// theirs and theirs is newer than the texture reset frame: the frame count at
// the last moment every texture was dropped (-1 once a video driver is made).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "render/tilecontent.h"
#include "driver/videodriver.h"

// 1 for n < 2, else the smallest power of two >= n.
int nextPowerOfTwo(int n);
// The tile side for one axis of length nLength: the candidate from nStart
// doubling up to nMax (and nLength) whose padded length is least, ties to
// the larger side; a remainder of 0 costs 1. nStart is always a candidate.
int chooseTileSize(int nLength, int nStart, int nMax);

int textureResetFrame();
void setTextureResetFrame(int nFrame);

class Drv3DTileData {
public:
    virtual ~Drv3DTileData() = default;
    virtual void allocate(int nCount);
    virtual void free();
    virtual void releaseTextures() = 0;
    // Tile nIndex uses the texture of the other's tile nOtherIndex.
    virtual void shareTexture(int nIndex, Drv3DTileData* pOther, int nOtherIndex) = 0;

    // Built after the last change (nChangeStamp) and the last texture reset.
    bool isCurrent(int nChangeStamp) const;

    int32_t m_nStamp = -1;
    int32_t m_nCount = 0;
    std::vector<float> m_vU, m_vV, m_vX, m_vY;
    int32_t m_nGridWidth = 0;
    int32_t m_nGridHeight = 0;
};

// The per-surface and per-image data of a textured driver: its tiles.
class Drv3DSurfaceData : public DrvSurfaceData {
public:
    explicit Drv3DSurfaceData(std::unique_ptr<Drv3DTileData> pTiles) : m_pTiles(std::move(pTiles)) {}
    Drv3DTileData& tiles() { return *m_pTiles; }
    // Every texel of every tile's texture, padding included, has alpha 255
    // (the device clears it for a tile that has any other).
    bool m_bOpaqueTexels = false;

private:
    std::unique_ptr<Drv3DTileData> m_pTiles;
};

class Drv3DImageData : public DrvImageData {
public:
    explicit Drv3DImageData(std::unique_ptr<Drv3DTileData> pTiles);
    Drv3DTileData& tiles() { return *m_pTiles; }
    // The surface tiles' stamp these were cut from.
    int32_t m_nSurfaceStamp = -1;
    // Where the tiles may draw (tilecontent.h), found at each cut.
    ContentBox m_content;
    // Unique in the process and never reused: with the tiles' stamp it
    // names what the image draws.
    uint64_t serial() const { return m_nSerial; }

private:
    std::unique_ptr<Drv3DTileData> m_pTiles;
    uint64_t m_nSerial;
};

// Per-sprite data of a textured driver: where the sprite stood in the list
// of what the last frames drew (the frame's number and its place).
class Drv3DSpriteData : public DrvSpriteData {
public:
    int64_t m_nRecordFrame = -1;
    int32_t m_nRecordIndex = -1;
    // Whether its drawing cannot be compared between frames (video and Flash
    // sprites); -1 until first asked.
    int8_t m_nVolatile = -1;
};

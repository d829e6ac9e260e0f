// D3D7VideoDriver: tiles and their texture slots, sprites as textured strips
// or polygon fans, the render-state table and texture uploads.
#include <zep2/error.h>

#include <algorithm>

#include "application/gameapp.h"
#include "sdl/sdl_d3d7video.h"
#include "sdl/sdl_image.h"
#include "sdl/sdl_surface.h"

namespace {

constexpr const char* kZepSource = ".\\src\\d3d7_video_driver";
// The device's own error code: a texture side it does not make.
constexpr uint32_t kErrTextureSize = 0x88760BB8u;
constexpr float kDegreesToRadians = 0.01745329238474369f;

using render::BlendFactor;
using render::Vertex;

}  // namespace

// ---- Tiles ------------------------------------------------------------------------

D3D7TileData::~D3D7TileData() { D3D7TileData::releaseTextures(); }

void D3D7TileData::allocate(int nCount) {
    Drv3DTileData::allocate(nCount);
    m_vSlots.assign(static_cast<size_t>(nCount), nullptr);
    if (m_bOwnTextures)
        for (auto& pSlot : m_vSlots) pSlot = std::make_shared<render::TextureSlot>();
}

// Textures built before the last reset were dropped by it already.
void D3D7TileData::releaseTextures() {
    if (m_bOwnTextures && m_nStamp > textureResetFrame())
        for (auto& pSlot : m_vSlots) pSlot->release();
    m_vSlots.clear();
}

void D3D7TileData::shareTexture(int nIndex, Drv3DTileData* pOther, int nOtherIndex) {
    const bool bOwnTextures = m_bOwnTextures;
    ZEP_ASSERT(!bOwnTextures);
    m_vSlots[static_cast<size_t>(nIndex)] = static_cast<D3D7TileData*>(pOther)->m_vSlots[static_cast<size_t>(nOtherIndex)];
}

std::unique_ptr<Drv3DImageData> D3D7VideoDriver::createImageData() {
    return std::make_unique<Drv3DImageData>(std::make_unique<D3D7TileData>(false));
}

std::unique_ptr<Drv3DSurfaceData> D3D7VideoDriver::createSurfaceData() {
    return std::make_unique<Drv3DSurfaceData>(std::make_unique<D3D7TileData>(true));
}

// ---- Sprites ----------------------------------------------------------------------

void D3D7VideoDriver::drawSprite(Sprite* pSprite) {
    // Step 1: the draw image's tiles (an image that is not an SDLImage is skipped).
    auto* pImage = dynamic_cast<SDLImage*>(pSprite->getDrawImage().get());
    render::RenderDevice* pDevice = drawingDevice();
    if (!pImage || !pDevice) return;
    buildTiles(pImage);
    Drv3DTileData* pTiles = imageTiles(*pImage);
    if (!pTiles) return;
    // Steps 2 and 3: offset, alpha, tint; pixel centres.
    const Point offset = anchorOffset(*pImage);
    const Point pos = pSprite->getPosition();
    const float x = pos.x - 0.5f, y = pos.y - 0.5f;
    // Step 4: the view.
    render::Mat4 view = m_identity;
    float fBaseX = x + offset.x, fBaseY = y + offset.y;
    if (pSprite->getRotation() != 0.0f || pSprite->isScaled()) {
        view = render::multiply(render::multiply(render::scaling(pSprite->getScaleX(), pSprite->getScaleY(), 1.0f),
                                                 render::rotationZ(pSprite->getRotation() * kDegreesToRadians)),
                                render::translation(x, y, 0.0f));
        fBaseX = offset.x;
        fBaseY = offset.y;
    }
    // Step 5: states.
    setBlendMode(pSprite->getBlendMode());
    setMaskFlags(pSprite->getMaskFlags());
    setMaskTest(pSprite->getMaskTest());
    applyRenderStates();
    // Step 6: colour, each channel truncated.
    const uint32_t nColour = diffuseOf(*pSprite, *pImage);
    // Steps 7 and 8: tiles, or the polygon.
    if (pSprite->getPointCount() == 0) {
        pDevice->setTransform(render::TransformKind::View, view);
        drawTiles(*pDevice, *pTiles, fBaseX, fBaseY, nColour);
    } else {
        drawPolygon(*pDevice, *pSprite, view, fBaseX, fBaseY, nColour);
    }
}

// One strip per tile: top-left, top-right, bottom-left, bottom-right. A tile
// whose texture was dropped is left out.
void D3D7VideoDriver::drawTiles(render::RenderDevice& device, Drv3DTileData& tiles, float fBaseX, float fBaseY,
                                uint32_t nColour) {
    auto& d3dTiles = static_cast<D3D7TileData&>(tiles);
    device.setFilter(render::Filter::Linear);
    for (int k = 0; k < tiles.m_nCount; ++k) {
        const render::Texture* pTexture = d3dTiles.slot(k).get();
        if (!pTexture) continue;
        device.setTexture(pTexture);
        Vertex aStrip[4];
        const int aCorner[4] = {0, 1, 3, 2};
        for (int i = 0; i < 4; ++i) {
            const size_t c = static_cast<size_t>(4 * k + aCorner[i]);
            aStrip[i] = Vertex{fBaseX + tiles.m_vX[c], fBaseY + tiles.m_vY[c], 0.0f, nColour, tiles.m_vU[c], tiles.m_vV[c]};
        }
        device.drawStrip(aStrip, 4);
    }
}

void D3D7VideoDriver::drawPolygon(render::RenderDevice& device, Sprite& sprite, const render::Mat4& view, float fBaseX,
                                  float fBaseY, uint32_t nColour) {
    if (!dynamic_cast<D3D7SpriteData*>(sprite.getDriverData())) sprite.setDriverData(std::make_unique<D3D7SpriteData>());
    auto& data = static_cast<D3D7SpriteData&>(*sprite.getDriverData());
    if (sprite.getPointsStamp() > data.m_nStamp) {
        data.m_nStamp = sprite.getPointsStamp();
        data.m_vVertices.clear();
        for (const Point& p : sprite.getPoints()) data.m_vVertices.push_back(Vertex{p.x, p.y, 0.0f, 0, 0.0f, 0.0f});
    }
    for (Vertex& v : data.m_vVertices) v.nDiffuse = nColour;
    device.setTransform(render::TransformKind::View, render::multiply(render::translation(fBaseX, fBaseY, 0.0f), view));
    device.setTexture(nullptr);
    device.drawFan(data.m_vVertices.data(), static_cast<int>(data.m_vVertices.size()));
}

// ---- Render states ----------------------------------------------------------------

// The rows of the state table in order: stencil switch, mask clear, blend,
// alpha test, then writing or testing the mask.
void D3D7VideoDriver::applyRenderStates() {
    render::RenderDevice* pDevice = drawingDevice();
    if (!m_bStatesDirty || !pDevice) return;
    m_bStatesDirty = false;
    render::StencilState stencil = pDevice->states().stencil;
    stencil.bEnabled = (m_nMaskFlags & 2) || m_bMaskTest;
    if (m_nMaskFlags & 4) pDevice->clear(false, true, 0, 0);
    if (!(m_nMaskFlags & 1))
        pDevice->setBlend(BlendFactor::Zero, BlendFactor::One);
    else if (m_nBlendMode == 0)
        pDevice->setBlend(BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha);
    else if (m_nBlendMode == 1)
        pDevice->setBlend(BlendFactor::SrcAlpha, BlendFactor::One);
    const bool bWriteMask = (m_nMaskFlags & 2) != 0;
    pDevice->setAlphaTest(bWriteMask, render::Compare::Greater, 0);
    if (bWriteMask) {
        m_bStencilUsed = true;
        stencil.eFunc = render::Compare::Always;
        stencil.eFail = stencil.eZFail = stencil.ePass = render::StencilOp::Replace;
    } else if (m_bMaskTest) {
        stencil.eFunc = render::Compare::Equal;
        stencil.eFail = stencil.eZFail = stencil.ePass = render::StencilOp::Keep;
    }
    if (bWriteMask || m_bMaskTest) {
        stencil.nMask = 1;
        stencil.nRef = 1;
    }
    pDevice->setStencil(stencil);
}

// ---- Texture upload ---------------------------------------------------------------

namespace {

// The whole source onto the texture at (0, 0): alpha copied, not blended;
// colour-key pixels are skipped and stay transparent.
void copySurfaceToTexture(SDL_Surface* pSource, render::Texture& texture) {
    const render::LockedTexels locked = texture.lock();
    SDL_Surface* pTexSurf =
        SDL_CreateRGBSurfaceFrom(locked.pPixels, texture.width(), texture.height(), locked.nBitsPerPixel, locked.nPitch,
                                 locked.nRedMask, locked.nGreenMask, locked.nBlueMask, locked.nAlphaMask);
    ZEP_ASSERT(pTexSurf);
    const Uint32 nFlags = pSource->flags;
    const Uint8 nAlpha = pSource->format->alpha;
    SDL_SetAlpha(pSource, 0, 255);
    SDL_BlitSurface(pSource, nullptr, pTexSurf, nullptr);
    if (nFlags & SDL_SRCALPHA) SDL_SetAlpha(pSource, SDL_SRCALPHA, nAlpha);
    SDL_FreeSurface(pTexSurf);
    texture.unlock();
}

}  // namespace

void D3D7VideoDriver::uploadTexture(Drv3DTileData& tiles, int nIndex, Drv3DSurfaceData& data, Surface& source,
                                    int nFirstCorner, int x0, int y0, int x1, int y1, bool bAlpha) {
    // Steps 1 and 2: a zero-filled power-of-two texture in the tile's slot.
    const int w = x1 - x0, h = y1 - y0;
    const int nTexW = nextPowerOfTwo(w), nTexH = nextPowerOfTwo(h);
    if (w <= 0 || h <= 0 || nTexW > render::kMaxTextureSide || nTexH > render::kMaxTextureSide) {
        GameApp::log("D: Error 0x%08X\n", kErrTextureSize);
        ZEP_THROW(Zep::FatalErrorException, "D3DXCreateTexture");
    }
    auto pTexture = std::make_unique<render::Texture>(nTexW, nTexH, bAlpha);
    // Step 3: the corners.
    const float fU = static_cast<float>(w) / nTexW, fV = static_cast<float>(h) / nTexH;
    const float aU[4] = {0, fU, fU, 0}, aV[4] = {0, 0, fV, fV};
    const float aX[4] = {float(x0), float(x1), float(x1), float(x0)}, aY[4] = {float(y0), float(y0), float(y1), float(y1)};
    for (int c = 0; c < 4; ++c) {
        const size_t i = static_cast<size_t>(nFirstCorner + c);
        tiles.m_vU[i] = aU[c];
        tiles.m_vV[i] = aV[c];
        tiles.m_vX[i] = aX[c];
        tiles.m_vY[i] = aY[c];
    }
    // Step 4: the pixel rectangle, wrapped with the source's layout and key.
    uint8_t* pPixels = nullptr;
    int nPitch = 0;
    source.lockRect(Rect(x0, y0, x1, y1), &pPixels, &nPitch);
    const SDL_PixelFormat* pFormat = source.ensureLoaded()->format;
    SDL_Surface* pWrap = SDL_CreateRGBSurfaceFrom(pPixels, w, h, pFormat->BitsPerPixel, nPitch, pFormat->Rmask,
                                                  pFormat->Gmask, pFormat->Bmask, pFormat->Amask);
    if (pWrap) {
        if (source.hasColorKey()) SDL_SetColorKey(pWrap, SDL_SRCCOLORKEY, pFormat->colorkey);
        copySurfaceToTexture(pWrap, *pTexture);
        SDL_FreeSurface(pWrap);
    }
    source.unlock();
    pTexture->replicateEdges(w, h);
    data.m_bOpaqueTexels = data.m_bOpaqueTexels && pTexture->isOpaque();
    static_cast<D3D7TileData&>(tiles).slot(nIndex).set(std::move(pTexture));
}

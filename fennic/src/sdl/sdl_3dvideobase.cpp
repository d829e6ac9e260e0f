#include "sdl/sdl_3dvideobase.h"

#include <algorithm>

#include "base/color.h"
#include "application/gameapp.h"
#include "sdl/sdl_image.h"
#include "sdl/sdl_surface.h"

// The texture layouts are known before the first mode, so pictures loaded
// then (the window icon) are kept in them too.
SDL3DVideoDriverBase::SDL3DVideoDriverBase() {
    setTextureResetFrame(-1);
    initTextureFormats();
}

SDL3DVideoDriverBase::~SDL3DVideoDriverBase() = default;

int SDL3DVideoDriverBase::frameCount() {
    const GameApp* pApp = GameApp::getInstance();
    return pApp ? pApp->getFrameCount() : 0;
}

bool SDL3DVideoDriverBase::setVideoMode(int nWidth, int nHeight, int nFlags) {
    if (!SDLVideoDriverBase::setVideoMode(nWidth, nHeight, nFlags)) return false;
    initTextureFormats();
    setTextureResetFrame(frameCount());
    m_bStatesDirty = true;
    m_bStencilUsed = false;
    m_bRedrawNext = true;
    return true;
}

void SDL3DVideoDriverBase::initTextureFormats() {
    m_opaqueFormat = PixelFormat{24, 0, 0x000000FFu, 0x0000FF00u, 0x00FF0000u};
    m_alphaFormat = PixelFormat{32, 0xFF000000u, 0x000000FFu, 0x0000FF00u, 0x00FF0000u};
}

void SDL3DVideoDriverBase::setCursorImage(Image* pImage) {
    SDLVideoDriverBase::setCursorImage(pImage);
    const Zep::SmartPtr<Image>& pKept = getCursorImage();
    if (pKept.notNULL() && dynamic_cast<SDLImage*>(pKept.get())) m_pCursorSprite = new Sprite(pKept, 0, 0, 0);
}

void SDL3DVideoDriverBase::prepareImage(Image* pImage) {
    if (auto* pSdl = dynamic_cast<SDLImage*>(pImage)) buildTiles(pSdl);
}

void SDL3DVideoDriverBase::setBlendMode(int nMode) {
    if (nMode == m_nBlendMode) return;
    m_nBlendMode = nMode;
    m_bStatesDirty = true;
}

void SDL3DVideoDriverBase::setMaskFlags(int nFlags) {
    if (nFlags == m_nMaskFlags) return;
    m_nMaskFlags = nFlags;
    m_bStatesDirty = true;
}

void SDL3DVideoDriverBase::setMaskTest(bool bTest) {
    if (bTest == m_bMaskTest) return;
    m_bMaskTest = bTest;
    m_bStatesDirty = true;
}

Drv3DTileData* SDL3DVideoDriverBase::imageTiles(const SDLImage& image) {
    auto* pData = dynamic_cast<Drv3DImageData*>(image.getDriverData());
    return pData ? &pData->tiles() : nullptr;
}

// ---- Tiling ---------------------------------------------------------------------

bool SDL3DVideoDriverBase::buildSurfaceTiles(Surface* pSurface) {
    // Step 1: the driver data, and nothing to do while the tiles are current.
    if (!dynamic_cast<Drv3DSurfaceData*>(pSurface->getDriverData())) pSurface->setDriverData(createSurfaceData());
    auto& data = static_cast<Drv3DSurfaceData&>(*pSurface->getDriverData());
    Drv3DTileData& tiles = data.tiles();
    if (tiles.isCurrent(data.m_nChangeStamp)) return false;
    // Step 2: a paletted surface is uploaded from a copy in the display format.
    const bool bAlpha = pSurface->hasAlpha() || pSurface->hasColorKey();
    Zep::SmartPtr<Surface> pConverted;
    if (pSurface->hasPalette()) pConverted = pSurface->displayFormat();
    Surface& source = pConverted.notNULL() ? *pConverted : *pSurface;
    // Steps 3 to 6: the grid, each tile uploaded.
    tiles.releaseTextures();
    data.m_bOpaqueTexels = true;
    uploadGrid(tiles, data, source, pSurface->getWidth(), pSurface->getHeight(), bAlpha);
    // Step 7: stamped; the surface may drop its pixels now.
    tiles.m_nStamp = frameCount();
    pSurface->releasePixels();
    return true;
}

// Full tiles row by row, the right-hand column, the bottom row, the corner.
void SDL3DVideoDriverBase::uploadGrid(Drv3DTileData& tiles, Drv3DSurfaceData& data, Surface& source, int nWidth,
                                      int nHeight, bool bAlpha) {
    const int nTileW = chooseTileSize(nWidth, 64, 512);
    const int nTileH = chooseTileSize(nHeight, 64, 512);
    const int nx = nWidth / nTileW, ny = nHeight / nTileH;
    const int nLastW = nWidth % nTileW > 0 ? nextPowerOfTwo(nWidth % nTileW) : 0;
    const int nLastH = nHeight % nTileH > 0 ? nextPowerOfTwo(nHeight % nTileH) : 0;
    tiles.allocate(nx * ny + (nLastW > 0 ? ny : 0) + (nLastH > 0 ? nx : 0) + (nLastW > 0 && nLastH > 0 ? 1 : 0));
    tiles.m_nGridWidth = nx * nTileW + nLastW;
    tiles.m_nGridHeight = ny * nTileH + nLastH;
    int k = 0;
    auto upload = [&](int x0, int y0, int x1, int y1) {
        uploadTexture(tiles, k, data, source, 4 * k, x0, y0, x1, y1, bAlpha);
        ++k;
    };
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            upload(i * nTileW, j * nTileH, std::min((i + 1) * nTileW, nWidth), std::min((j + 1) * nTileH, nHeight));
    if (nLastW > 0)
        for (int j = 0; j < ny; ++j) upload(nx * nTileW, j * nTileH, nWidth, (j + 1) * nTileH);
    if (nLastH > 0)
        for (int i = 0; i < nx; ++i) upload(i * nTileW, ny * nTileH, (i + 1) * nTileW, nHeight);
    if (nLastW > 0 && nLastH > 0) upload(nx * nTileW, ny * nTileH, nWidth, nHeight);
}

void SDL3DVideoDriverBase::buildTiles(SDLImage* pImage) {
    Surface* pSurface = pImage->getSurface().get();
    if (!pSurface) return;
    // Step 1: the surface's tiles, and the image's data.
    const bool bRebuilt = buildSurfaceTiles(pSurface);
    Drv3DTileData& surfaceTiles = static_cast<Drv3DSurfaceData&>(*pSurface->getDriverData()).tiles();
    if (!dynamic_cast<Drv3DImageData*>(pImage->getDriverData())) pImage->setDriverData(createImageData());
    auto& data = static_cast<Drv3DImageData&>(*pImage->getDriverData());
    // Step 2: nothing to do while current.
    if (!bRebuilt && data.m_nSurfaceStamp == surfaceTiles.m_nStamp && data.tiles().isCurrent(data.m_nChangeStamp))
        return;
    cutImageTiles(*pImage, surfaceTiles, data.tiles());
    data.m_content = contentOf(data.tiles());
    data.m_nSurfaceStamp = surfaceTiles.m_nStamp;
}

ContentBox SDL3DVideoDriverBase::contentOf(Drv3DTileData& tiles) {
    ContentBox box;
    for (int k = 0; k < tiles.m_nCount; ++k) box.extend(tileContent(tiles, k, tileTexture(tiles, k)));
    return box;
}

// Steps 3 to 8: one image tile per surface tile the image overlaps.
void SDL3DVideoDriverBase::cutImageTiles(SDLImage& image, Drv3DTileData& st, Drv3DTileData& tiles) {
    int nOffX = 0;
    int nOffY = 0;
    image.getStoreOrigin(&nOffX, &nOffY);
    const float left = static_cast<float>(nOffX), top = static_cast<float>(nOffY);
    const float right = left + static_cast<float>(image.getDataWidth());
    const float bottom = top + static_cast<float>(image.getDataHeight());
    auto overlaps = [&](int i) {
        return left < st.m_vX[4 * i + 2] && right > st.m_vX[4 * i] && top < st.m_vY[4 * i + 2] && bottom > st.m_vY[4 * i];
    };
    int nCount = 0;
    for (int i = 0; i < st.m_nCount; ++i) nCount += overlaps(i) ? 1 : 0;
    tiles.releaseTextures();
    tiles.allocate(nCount);
    int k = 0;
    for (int i = 0; i < st.m_nCount; ++i) {
        if (!overlaps(i)) continue;
        tiles.shareTexture(k, &st, i);
        const float tl = st.m_vX[4 * i], tr = st.m_vX[4 * i + 2], tt = st.m_vY[4 * i], tb = st.m_vY[4 * i + 2];
        const float l = std::max(left, tl), r = std::min(right, tr), t = std::max(top, tt), b = std::min(bottom, tb);
        const float du = (st.m_vU[4 * i + 2] - st.m_vU[4 * i]) / (tr - tl);
        const float dv = (st.m_vV[4 * i + 2] - st.m_vV[4 * i]) / (tb - tt);
        const float uL = st.m_vU[4 * i] + (l - tl) * du, uR = uL + (r - l) * du;
        const float vT = st.m_vV[4 * i] + (t - tt) * dv, vB = vT + (b - t) * dv;
        const float x0 = l - left, x1 = r - left, y0 = t - top, y1 = b - top;
        const float aX[4] = {x0, x1, x1, x0}, aY[4] = {y0, y0, y1, y1};
        const float aU[4] = {uL, uR, uR, uL}, aV[4] = {vT, vT, vB, vB};
        for (int c = 0; c < 4; ++c) {
            tiles.m_vX[4 * k + c] = aX[c];
            tiles.m_vY[4 * k + c] = aY[c];
            tiles.m_vU[4 * k + c] = aU[c];
            tiles.m_vV[4 * k + c] = aV[c];
        }
        ++k;
    }
    // Mirroring moves positions, not texture coordinates; then the scale.
    bool bFlipX = false;
    bool bFlipY = false;
    image.getFlipFlags(&bFlipX, &bFlipY);
    const float fScale = image.getPixelScale();
    for (size_t c = 0; c < tiles.m_vX.size(); ++c) {
        if (bFlipX) tiles.m_vX[c] = static_cast<float>(image.getDataWidth()) - tiles.m_vX[c];
        if (bFlipY) tiles.m_vY[c] = static_cast<float>(image.getDataHeight()) - tiles.m_vY[c];
        if (fScale != 1.0f) {
            tiles.m_vX[c] /= fScale;
            tiles.m_vY[c] /= fScale;
        }
    }
    tiles.m_nStamp = frameCount();
}

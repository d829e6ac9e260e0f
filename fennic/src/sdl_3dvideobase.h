// The textured half of the SDL video drivers: draws each frame as textured
// quads on a device it does not name yet.
//
// render runs the shared draw walk (drawwalk.h) between beginFrame and
// endFrame, then the software cursor; a false beginFrame skips the whole
// frame. Pictures are cut into power-of-two texture tiles (tiles3d.h):
// the surface once, each image as positions and texture coordinates over the
// surface's textures. The blend and mask values wait as pending states
// (-1, true, -1 at construction, so the first sprite always sends them); the
// setters mark them dirty only on a change and applyRenderStates hands them
// to the device.
//
// An image that is not an SDLImage is skipped by prepareImage and drawing.
// Image tiles also count as stale when their surface's tiles were rebuilt
// after them (another image of the same surface may have caused it).
#pragma once

#include <memory>

#include "tiles3d.h"
#include "sdl_videobase.h"
#include "sprite.h"

class SDLImage;
class Surface;

class SDL3DVideoDriverBase : public SDLVideoDriverBase {
public:
    SDL3DVideoDriverBase();
    ~SDL3DVideoDriverBase() override;

    // The base's; on success the texture formats, a texture reset and dirty
    // states.
    bool setVideoMode(int nWidth, int nHeight, int nFlags) override;
    void render() override;
    void onDisplayChanged() override {}
    // A usable image (an SDLImage) becomes the cursor sprite at (0, 0).
    void setCursorImage(Image* pImage) override;
    Zep::SmartPtr<Sprite> getCursorSprite() const override { return m_pCursorSprite; }
    void prepareImage(Image* pImage) override;

    // Stores the pending value; dirty only when it changed.
    void setBlendMode(int nMode);
    void setMaskFlags(int nFlags);
    void setMaskTest(bool bTest);

    virtual void initTextureFormats();
    virtual void buildTiles(SDLImage* pImage);
    // True when the surface's tiles were rebuilt.
    virtual bool buildSurfaceTiles(Surface* pSurface);

protected:
    virtual bool beginFrame() { return true; }
    virtual void endFrame() {}
    virtual void drawSprite(Sprite* pSprite) = 0;
    virtual std::unique_ptr<Drv3DImageData> createImageData() = 0;
    virtual std::unique_ptr<Drv3DSurfaceData> createSurfaceData() = 0;
    // Makes tile nIndex's texture from the pixel rectangle (x0, y0)-(x1, y1)
    // of the source and writes the tile's four corners from nFirstCorner.
    virtual void uploadTexture(Drv3DTileData& tiles, int nIndex, Drv3DSurfaceData& data, Surface& source,
                               int nFirstCorner, int x0, int y0, int x1, int y1, bool bAlpha) = 0;
    virtual void applyRenderStates() = 0;

    // The tiles of an image after buildTiles; null without.
    static Drv3DTileData* imageTiles(const SDLImage& image);
    static int frameCount();

    Zep::SmartPtr<Sprite> m_pCursorSprite;
    bool m_bStencilUsed = false;
    int m_nBlendMode = -1;
    bool m_bMaskTest = true;
    int m_nMaskFlags = -1;
    bool m_bStatesDirty = false;

private:
    class Walk;
    void uploadGrid(Drv3DTileData& tiles, Drv3DSurfaceData& data, Surface& source, int nWidth, int nHeight, bool bAlpha);
    void cutImageTiles(SDLImage& image, Drv3DTileData& surfaceTiles, Drv3DTileData& tiles);
};

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
//
// Only what changed is drawn (framechanges.h): each frame the walk lists
// what every sprite will draw, the list is compared with the last frame's,
// and only the changed screen boxes are drawn again, each clipped, with
// every listed sprite that meets it in walk order; endFrame shows only
// those boxes. A change of the drawn modes or of their flags, an expose or
// activation of the window (onDisplayChanged), a mode change, a texture
// reset or a moved origin draws the whole screen, and so does
// setRedrawAll(true) on every frame; so does the frame after one whose
// present failed (the screen may hold part of it, or none). A sprite whose
// colour has alpha 0, or whose picture is wholly clear and that has no
// outline, and that writes no mask is left out of the list: the device would
// change no pixel for it. A sprite's box is where its
// tiles may draw (tilecontent.h), not its picture's whole rectangle, and
// each sprite is drawn clipped to its box as well as the changed one. Video and Flash sprites and outlines are volatile: their
// boxes are drawn every frame.
#pragma once

#include <memory>

#include "render/dirtyrects.h"
#include "render/framechanges.h"
#include "render/tiles3d.h"
#include "sdl/sdl_videobase.h"
#include "sprite/sprite.h"

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
    // The next frame is drawn whole.
    void onDisplayChanged() override { drawWholeNext(); }
    // A usable image (an SDLImage) becomes the cursor sprite at (0, 0).
    void setCursorImage(Image* pImage) override;
    Zep::SmartPtr<Sprite> getCursorSprite() const override { return m_pCursorSprite; }
    void prepareImage(Image* pImage) override;

    // Stores the pending value; dirty only when it changed.
    void setBlendMode(int nMode);
    void setMaskFlags(int nFlags);
    void setMaskTest(bool bTest);

    // Every frame drawn whole (true), or only what changed (false, the default).
    void setRedrawAll(bool bOn) { m_bRedrawAll = bOn; }
    bool isRedrawAll() const { return m_bRedrawAll; }
    // The boxes the last frame drew and showed.
    const DirtyRects& drawnBoxes() const { return m_dirty; }

    virtual void initTextureFormats();
    virtual void buildTiles(SDLImage* pImage);
    // True when the surface's tiles were rebuilt.
    virtual bool buildSurfaceTiles(Surface* pSurface);

protected:
    // The next frame is drawn and shown whole.
    void drawWholeNext() { m_bRedrawNext = true; }
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
    // Limits drawing to the box (device pixels); null lifts the limit.
    virtual void setClip(const ScreenBox* pBox) = 0;
    // The device's size in pixels.
    virtual void getTargetSize(int& nWidth, int& nHeight) const = 0;
    virtual std::unique_ptr<Drv3DSpriteData> createSpriteData() { return std::make_unique<Drv3DSpriteData>(); }
    // Tile nIndex's texture, for finding where it may draw; null counts the
    // whole tile.
    virtual const render::Texture* tileTexture(Drv3DTileData& /*tiles*/, int /*nIndex*/) { return nullptr; }

    // The colour the device gets for a sprite: its alpha times the image's
    // surface alpha, and its tint, each channel truncated (A8R8G8B8).
    static uint32_t diffuseOf(const Sprite& sprite, const SDLImage& image);
    // Where the image's stored pixels start relative to the sprite's
    // position, before scale and rotation.
    static Point anchorOffset(const SDLImage& image);
    // The whole frame as a full redraw draws it, unclipped (a reference for
    // tests): the walk and the cursor, without endFrame.
    void drawWholeFrame();

    // The tiles of an image after buildTiles; null without.
    static Drv3DTileData* imageTiles(const SDLImage& image);
    static int frameCount();

    Zep::SmartPtr<Sprite> m_pCursorSprite;
    bool m_bStencilUsed = false;
    int m_nBlendMode = -1;
    bool m_bMaskTest = true;
    int m_nMaskFlags = -1;
    bool m_bStatesDirty = false;
    // The logical point at the device's top-left corner (setOrigin).
    int m_nOriginX = 0;
    int m_nOriginY = 0;
    DirtyRects m_dirty;

private:
    class Walk;
    class Recorder;
    void placeCursor();
    void listFrame();
    void recordSprite(Sprite& sprite);
    bool recordDrawing(Sprite& sprite, SDLImage& image, DrawRecord& record);
    void linkRecord(Sprite& sprite, DrawRecord& record);
    bool needsWholeFrame();
    void drawChanges();
    ScreenBox spriteBox(const Sprite& sprite, const SDLImage& image, const ContentBox& content, ScreenBox* pOpaque) const;
    ContentBox contentOf(Drv3DTileData& tiles);

    void uploadGrid(Drv3DTileData& tiles, Drv3DSurfaceData& data, Surface& source, int nWidth, int nHeight, bool bAlpha);
    void cutImageTiles(SDLImage& image, Drv3DTileData& surfaceTiles, Drv3DTileData& tiles);

    FrameChanges m_changes;
    bool m_bRedrawAll = false;
    bool m_bRedrawNext = true;
    int m_nListedResetFrame = -1;
    int m_nListedOriginX = 0;
    int m_nListedOriginY = 0;
    int m_nListedMargin = 0;
};

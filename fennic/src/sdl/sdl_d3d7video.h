// The video driver of the game: SDL's window with the project's software
// render device (renderdevice.h) under the textured renderer.
//
// The device takes the place of a hardware one with the same contract: a
// back buffer of the physical mode size (and a stencil plane with mode flag
// bit 5), textures in slots that all drop at once on a mode change, blend,
// alpha-test and stencil states sent only when the pending values changed,
// sprites as four-vertex strips per tile (polygons as fans), the letterbox
// bars as black fans, and the frame presented through SDL's screen surface.
// A screen whose physical size differs from its logical one (full screen on
// a wide desktop, a scale factor) is drawn at the logical size and scaled
// once when presented.
// When no mode can be set the program shows "Initialization error" and ends.
//
// Texture slots are shared between the surface tiles that own them and the
// image tiles that use them; a slot leaves the registry and is freed with
// the last tiles holding it. Uploaded textures start transparent and the
// copied picture's last column and row are repeated into the padding, so
// filtered, scaled sprites never show texels nothing was copied to.
#pragma once

#include <memory>
#include <vector>

#include "render/renderdevice.h"
#include "sdl/sdl_3dvideobase.h"

class D3D7TileData : public Drv3DTileData {
public:
    explicit D3D7TileData(bool bOwnTextures) : m_bOwnTextures(bOwnTextures) {}
    ~D3D7TileData() override;
    void allocate(int nCount) override;
    void releaseTextures() override;
    // Throws Zep::AssertFailException "Assertion failed : !bOwnTextures" on
    // owning tiles.
    void shareTexture(int nIndex, Drv3DTileData* pOther, int nOtherIndex) override;

    render::TextureSlot& slot(int nIndex) { return *m_vSlots[static_cast<size_t>(nIndex)]; }
    const render::TextureSlot& slot(int nIndex) const { return *m_vSlots[static_cast<size_t>(nIndex)]; }
    bool ownsTextures() const { return m_bOwnTextures; }

private:
    bool m_bOwnTextures;
    std::vector<std::shared_ptr<render::TextureSlot>> m_vSlots;
};

// A polygon sprite's fan, rebuilt when the points' stamp grows.
class D3D7SpriteData : public Drv3DSpriteData {
public:
    std::vector<render::Vertex> m_vVertices;
    int32_t m_nStamp = -1;
};

class D3D7VideoDriver : public SDL3DVideoDriverBase {
public:
    D3D7VideoDriver();
    ~D3D7VideoDriver() override;

    // Throws Zep::FatalErrorException "Could not initialize SDL video : %s".
    void init(const Zep::SmartPtr<Image>& pIcon) override;
    void shutdown() override;
    const char* getName() const override { return "Direct3D 7 Video Driver v1.0"; }
    // On failure "Initialization error" and the program's end.
    bool setVideoMode(int nWidth, int nHeight, int nFlags) override;
    // The depth of SDL's screen surface.
    int getDesktopDepth() const override { return readScreenDepth(); }
    void flush() override {}
    void clear(const Color& color) override;
    void clearScreen(const Color& color) override { clear(color); }
    void refreshCursor(bool) override {}
    void setOrigin(int nX, int nY) override;
    // Drops every texture; tiles notice through the texture reset frame.
    void releaseTextures() override;

    // Drops the texture of every registered slot.
    static void releaseAllTextures();

    // ---- For tests ----
    render::RenderDevice* device() { return m_pDevice.get(); }
    // Every device made from now on answers this status (Ok: none forced).
    void forceDeviceStatus(render::Status eStatus) { m_eForcedStatus = eStatus; }
    int presentCount() const { return m_nPresents; }
    // The frame as it stands drawn whole on the given device, which stays the
    // caller's (the driver's own is left as it is and nothing is shown): a
    // full redraw to compare the changed-only drawing with.
    void drawWholeFrameOn(render::RenderDevice& device);

protected:
    void createDevice() override {}
    bool trySetMode(int nWidth, int nHeight, int nBpp, bool bFullscreen, int nFlags, uint32_t nSdlFlags) override;
    Point getDesktopSize() override { return readDesktopSize(); }

    bool beginFrame() override;
    // The bars in every drawn box, then only those boxes shown.
    void endFrame() override;
    void drawSprite(Sprite* pSprite) override;
    void setClip(const ScreenBox* pBox) override;
    void getTargetSize(int& nWidth, int& nHeight) const override;
    std::unique_ptr<Drv3DSpriteData> createSpriteData() override { return std::make_unique<D3D7SpriteData>(); }
    const render::Texture* tileTexture(Drv3DTileData& tiles, int nIndex) override {
        return static_cast<D3D7TileData&>(tiles).slot(nIndex).get();
    }
    std::unique_ptr<Drv3DImageData> createImageData() override;
    std::unique_ptr<Drv3DSurfaceData> createSurfaceData() override;
    void uploadTexture(Drv3DTileData& tiles, int nIndex, Drv3DSurfaceData& data, Surface& source, int nFirstCorner,
                       int x0, int y0, int x1, int y1, bool bAlpha) override;
    void applyRenderStates() override;

private:
    void resetMode();
    void applyDefaultStates();
    void drawAtLogicalSize();
    void drawBars();
    void forgetStates();
    void drawTiles(render::RenderDevice& device, Drv3DTileData& tiles, float fBaseX, float fBaseY, uint32_t nColour);
    void drawPolygon(render::RenderDevice& device, Sprite& sprite, const render::Mat4& view, float fBaseX, float fBaseY,
                     uint32_t nColour);
    // Where sprites, clears, clips, states and bars go: the device lent to
    // drawWholeFrameOn while it draws, else the driver's own.
    render::RenderDevice* drawingDevice() const { return m_pLent ? m_pLent : m_pDevice.get(); }

    std::unique_ptr<render::RenderDevice> m_pDevice;
    render::RenderDevice* m_pLent = nullptr;  // never owned
    render::Mat4 m_identity = render::Mat4::identity();
    render::Status m_eForcedStatus = render::Status::Ok;
    int m_nPresents = 0;
    std::vector<uint32_t> m_vScaled;  // the frame scaled to the screen
};

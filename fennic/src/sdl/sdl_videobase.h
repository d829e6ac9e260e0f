// The window half of the SDL video drivers: everything that does not depend
// on the rendering device.
//
// setVideoMode searches for a mode: the screen choices (full screen or
// window, the asked one first), for each the candidate sizes (on a wide
// desktop in full screen, every listed mode at least as high as asked, nearest
// to the desktop's aspect first) and for each the four depths of the asked
// one's order. The first mode the device accepts ends the search. On a wide
// screen the logical picture keeps its size and two letterbox bars fill the
// sides. Subclasses bring the device: createDevice, trySetMode and
// getDesktopSize, and every drawing slot.
//
// The desktop size is SDL's current video size before the first mode: after
// a mode SDL reports the mode's size there, so subclasses read it once
// (readDesktopSize) and keep it.
//
// The window icon and the cursor picture are SDL pictures (SDLImage): SDL
// takes the icon's own surface. Any other kind of image given for either is
// not taken: no icon, no cursor picture.
#pragma once

#include <SDL.h>

#include <vector>

#include <zep2/list.h>
#include <zep2/str.h>

#include "image/image.h"
#include "base/rect.h"
#include "sdl/sdl_image.h"
#include "driver/videodriver.h"

class IPlatform;

class SDLVideoDriverBase : public IVideoDriver {
public:
    // Candidate order: the asked height and the desktop's aspect x 1000.
    struct ModeSortContext {
        int nHeight = 0;
        int nAspect1000 = 0;
    };

    // A caption longer than this many UTF-16 units shows as an empty title.
    static constexpr int kMaxCaptionUnits = 1000;

    SDLVideoDriverBase();
    ~SDLVideoDriverBase() override;

    void setPlatform(IPlatform* pPlatform) { m_pPlatform = pPlatform; }
    IPlatform* getPlatform() const { return m_pPlatform; }

    // Logs "D: Set ..." and "D: Got ..."; false (no device, old size and
    // flags) when no mode was accepted. Throws FatalErrorException "Couldn't
    // get a direct color video mode [actual BPP = <n>]" when the display
    // depth after the mode is not 16, 24 or 32.
    bool setVideoMode(int nWidth, int nHeight, int nFlags) override;
    bool isFullscreen() const override { return (m_nFlags & VideoFlag::Fullscreen) != 0; }
    // Refreshes the cursor even when nothing changes.
    void setFullscreen(bool bOn) override;
    bool setBitDepth(int nBpp) override;
    PixelFormat getOpaqueFormat() const override { return m_opaqueFormat; }
    PixelFormat getAlphaFormat() const override { return m_alphaFormat; }
    // Keeps the whole text; the window shows "" past kMaxCaptionUnits.
    void setCaption(const char* szUtf8) override;
    bool toggleFullscreen() override;
    void iconify() override;

    int getWidth() const override { return m_nWidth; }
    int getHeight() const override { return m_nHeight; }
    void getSize(int* pWidth, int* pHeight) const override;

    // Null when the image is not an SDLImage.
    void setCursorImage(Image* pImage) override;
    void setCursorVisible(bool bOn) override;
    // The window alone draws no cursor sprite.
    Zep::SmartPtr<Sprite> getCursorSprite() const override;
    bool isCursorVisible() const override { return m_bCursorVisible; }
    void refreshCursor(bool bMouseOutside) override;

    // Moves a window that is not wholly inside (0, 0)-(1280, 1024) to the
    // middle of the display. Nothing in full screen or without a window
    // system (the dummy driver).
    virtual void centreWindow();
    // Hides the system cursor behind a blank 1 x 1 one, made once.
    virtual void applySystemCursor();
    virtual void releaseTextures() {}

    // True when a goes before b.
    static bool compareModesByAspect(Point a, Point b, const ModeSortContext* pContext);
    // UTF-16 units of a UTF-8 text (a malformed byte counts as one unit).
    static int countUtf16Units(const char* szUtf8);

    const Zep::String& getCaption() const { return m_sCaption; }
    int getFlags() const { return m_nFlags; }
    int getMargin() const { return m_nMargin; }
    int getScreenWidth() const { return m_nScreenWidth; }
    const std::vector<Rect>& getBars() const { return m_vBars; }
    const Zep::SmartPtr<SDLImage>& getCursorImage() const { return m_pCursorImage; }
    const Zep::SmartPtr<SDLImage>& getIcon() const { return m_pIcon; }

protected:
    // Creates the device's root objects before the window is made.
    virtual void createDevice() = 0;
    // Makes the window of that physical size, depth and SDL flags and
    // attaches the device; false leaves nothing half made.
    virtual bool trySetMode(int nWidth, int nHeight, int nBpp, bool bFullscreen, int nFlags,
                            uint32_t nSdlFlags) = 0;
    virtual Point getDesktopSize() = 0;
    // The full-screen modes SDL lists; empty when it lists none or any size goes.
    virtual std::vector<Point> listFullscreenModes();

    // SDL's current video size, read the first time SDL's video side runs and
    // kept (0 x 0 when SDL tells none, as under the dummy driver).
    Point readDesktopSize();
    // Bits per pixel of SDL's screen surface; 0 without one.
    static int readScreenDepth();
    // The window icon given to init; null (no icon) when it is not an
    // SDLImage.
    void setIcon(const Zep::SmartPtr<Image>& pIcon) { m_pIcon = Zep::SmartPtr<SDLImage>::dynamicCast(pIcon); }

    bool m_bInitialised = false;
    PixelFormat m_opaqueFormat;
    PixelFormat m_alphaFormat;

private:
    struct ModeRequest {
        int nPhysW;
        int nPhysH;
        int nBpp;
        int nFlags;
        uint32_t nSdlFlags;
        Point desk;  // 0 x 0 replaced by twice the logical size
    };
    bool searchMode(const ModeRequest& request, Point& found);
    Zep::List<Point> candidateModes(int nPhysW, int nPhysH, float fAspect);
    void keepFlags(int nFlags, bool bFullscreen);
    void placeBars(int nWidth, int nHeight, const Point& mode);
    void applyIcon();
    static bool isHidden();

    IPlatform* m_pPlatform = nullptr;
    Zep::SmartPtr<SDLImage> m_pIcon;
    Zep::String m_sCaption;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nFlags = 0;
    bool m_bCursorVisible = true;
    Zep::SmartPtr<SDLImage> m_pCursorImage;
    SDL_Cursor* m_pBlankCursor = nullptr;  // kept for the process's life
    int m_nMargin = 0;
    int m_nScreenWidth = 0;
    std::vector<Rect> m_vBars;
    Point m_desktop;
    bool m_bDesktopRead = false;
};

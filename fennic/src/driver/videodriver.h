// The framework's whole view of the screen.
//
// The platform owns the video driver; the application reaches it through the
// platform. Drivers implement this interface; the framework never includes a
// driver header.
#pragma once

#include <cstdint>

#include <zep2/refcount.h>

class Image;
class Color;
class Sprite;

// Video-mode flags of setVideoMode (and of GameApp::initSystems, which adds
// NoAudio and FromSettings).
namespace VideoFlag {

constexpr unsigned Fullscreen = 0x1;
constexpr unsigned NoAudio = 0x2;  // read by GameApp::initSystems only
constexpr unsigned DepthMask = 0xC;
constexpr unsigned Depth16 = 0x4;
constexpr unsigned Depth24 = 0x8;
constexpr unsigned Depth32 = 0xC;
constexpr unsigned Frameless = 0x10;
constexpr unsigned Stencil = 0x20;
constexpr unsigned FromSettings = 0xF0000000u;  // take the flags from the settings

}  // namespace VideoFlag

// Pixel layout in which images keep their pixels.
struct PixelFormat {
    int32_t nBitsPerPixel = 0;
    uint32_t nAlphaMask = 0;
    uint32_t nRedMask = 0;
    uint32_t nGreenMask = 0;
    uint32_t nBlueMask = 0;

    bool operator==(const PixelFormat&) const = default;
};

// Per-object driver data: created by the driver the first time it prepares or
// draws an object, owned by that object and deleted with it.
class DrvSurfaceData {
public:
    virtual ~DrvSurfaceData() = default;
    // Frame count of the last pixel or geometry change.
    int32_t m_nChangeStamp = 0;
};

class DrvImageData {
public:
    virtual ~DrvImageData() = default;
    int32_t m_nChangeStamp = 0;
};

class DrvSpriteData {
public:
    virtual ~DrvSpriteData() = default;
};

class IVideoDriver {
public:
    IVideoDriver() = default;
    virtual ~IVideoDriver() = default;
    IVideoDriver(const IVideoDriver&) = delete;
    IVideoDriver& operator=(const IVideoDriver&) = delete;

    // Window pixels per logical pixel; read by setVideoMode only.
    virtual void setScaleFactor(float fFactor) { m_fScaleFactor = fFactor; }
    virtual float getScaleFactor() const { return m_fScaleFactor; }

    // Starts the video side and keeps the window icon (may be null).
    virtual void init(const Zep::SmartPtr<Image>& pIcon) = 0;
    // Releases every device object; setVideoMode calls it before each change.
    virtual void shutdown() = 0;
    virtual const char* getName() const = 0;

    // Opens the window or full-screen mode for a logical size; false when no
    // mode could be set.
    virtual bool setVideoMode(int nWidth, int nHeight, int nFlags) = 0;
    virtual bool isFullscreen() const = 0;
    virtual void setFullscreen(bool bOn) = 0;
    virtual int getDesktopDepth() const = 0;
    virtual bool setBitDepth(int nBpp) = 0;
    virtual PixelFormat getOpaqueFormat() const = 0;
    virtual PixelFormat getAlphaFormat() const = 0;
    virtual void setCaption(const char* szUtf8) = 0;
    // False when the new mode could not be set.
    virtual bool toggleFullscreen() = 0;
    virtual void iconify() = 0;

    // Draws one frame: the drawn modes from the lowest up, then the cursor.
    virtual void render() = 0;
    virtual void flush() = 0;
    virtual void clear(const Color& color) = 0;
    virtual void clearScreen(const Color& color) = 0;

    // Logical size of the current mode.
    virtual int getWidth() const = 0;
    virtual int getHeight() const = 0;
    virtual void getSize(int* pWidth, int* pHeight) const = 0;

    // The display or the set of drawn modes may have changed.
    virtual void onDisplayChanged() = 0;

    virtual void setCursorImage(Image* pImage) = 0;
    virtual void setCursorVisible(bool bOn) = 0;
    virtual bool isCursorVisible() const = 0;
    // The software cursor's sprite; null while the driver draws none.
    virtual Zep::SmartPtr<Sprite> getCursorSprite() const = 0;
    // False when the mouse enters the window, true when it leaves or the
    // application is deactivated.
    virtual void refreshCursor(bool bMouseOutside) = 0;

    // Shifts the logical origin of what is drawn next.
    virtual void setOrigin(int nX, int nY) = 0;
    // Readies an image for drawing.
    virtual void prepareImage(Image* pImage) = 0;

    // Depth bits of the flags to bits per pixel: 4 -> 16, 8 -> 24, 12 -> 32.
    static int flagsToBpp(int nFlags) {
        switch (static_cast<unsigned>(nFlags) & VideoFlag::DepthMask) {
            case VideoFlag::Depth16: return 16;
            case VideoFlag::Depth24: return 24;
            case VideoFlag::Depth32: return 32;
            default: return 0;
        }
    }
    // Bits per pixel to depth bits; an unknown depth means no preference.
    static int bppToFlags(int nBpp) {
        switch (nBpp) {
            case 15:
            case 16: return static_cast<int>(VideoFlag::Depth16);
            case 24: return static_cast<int>(VideoFlag::Depth24);
            case 32: return static_cast<int>(VideoFlag::Depth32);
            default: return 0;
        }
    }

protected:
    float m_fScaleFactor = 1.0f;
};

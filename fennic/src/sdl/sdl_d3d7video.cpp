// D3D7VideoDriver: device life, modes and frames (drawing and uploads are in
// sdl_d3d7draw.cpp).
#include "sdl/sdl_d3d7video.h"

#include <zep2/error.h>

#include "base/color.h"
#include "application/gameapp.h"
#include "sdl/sdl_image.h"
#include "sdl/sdl_renderpresent.h"

namespace {

constexpr const char* kZepSource = ".\\src\\d3d7_video_driver";
constexpr int kDriverNameLength = 128;
constexpr const char* kModeErrorText =
    "Can't set your video mode to the appropriate resolution.\r\nPlease update your video drivers and/or video card.";
constexpr Uint8 kAppFullyActive = SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS | SDL_APPACTIVE;

}  // namespace

D3D7VideoDriver::D3D7VideoDriver() = default;

D3D7VideoDriver::~D3D7VideoDriver() {
    m_pCursorSprite = nullptr;
    D3D7VideoDriver::shutdown();
}

void D3D7VideoDriver::init(const Zep::SmartPtr<Image>& pIcon) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) < 0)
        ZEP_THROW(Zep::FatalErrorException, Zep::String::format("Could not initialize SDL video : %s", SDL_GetError()).c_str());
    if (dynamic_cast<SDLImage*>(pIcon.get())) setIcon(pIcon);
    setCaption("");
    char szName[kDriverNameLength] = {};
    if (SDL_VideoDriverName(szName, kDriverNameLength)) GameApp::log("D: Drv '%s'\n", szName);
    m_bInitialised = true;
}

void D3D7VideoDriver::shutdown() {
    releaseAllTextures();
    m_pDevice.reset();
    m_bInitialised = false;
}

void D3D7VideoDriver::releaseAllTextures() { render::TextureSlot::releaseAll(); }

void D3D7VideoDriver::releaseTextures() {
    setTextureResetFrame(frameCount());
    releaseAllTextures();
}

bool D3D7VideoDriver::setVideoMode(int nWidth, int nHeight, int nFlags) {
    if (!SDL3DVideoDriverBase::setVideoMode(nWidth, nHeight, nFlags)) {
        GameApp::messageBox("Initialization error", kModeErrorText);
        GameApp::fatalExit();
    }
    drawAtLogicalSize();
    applyDefaultStates();
    return true;
}

// A letterboxed or scaled screen is drawn at its logical size and scaled once
// when presented: the device is made again at that size.
void D3D7VideoDriver::drawAtLogicalSize() {
    const int nLogicalW = getScreenWidth(), nLogicalH = getHeight();
    if (!m_pDevice || (m_pDevice->width() == nLogicalW && m_pDevice->height() == nLogicalH) || nLogicalW < 1 ||
        nLogicalH < 1)
        return;
    m_pDevice = std::make_unique<render::RenderDevice>(nLogicalW, nLogicalH, m_pDevice->hasStencil());
    m_pDevice->setViewport(render::Viewport{0, 0, nLogicalW, nLogicalH});
    if (m_eForcedStatus != render::Status::Ok) m_pDevice->injectStatus(m_eForcedStatus);
    setOrigin(0, 0);
}

// Identity view; the device blends from the first sprite's states on.
void D3D7VideoDriver::applyDefaultStates() {
    m_identity = render::Mat4::identity();
    if (m_pDevice) m_pDevice->setTransform(render::TransformKind::View, m_identity);
}

// The window (full screen is SDL's own on Linux) and a fresh device of the
// mode's physical size; a screen of 8 bits or fewer is refused.
bool D3D7VideoDriver::trySetMode(int nWidth, int nHeight, int nBpp, bool bFullscreen, int nFlags, uint32_t nSdlFlags) {
    SDL_Surface* pScreen =
        SDL_SetVideoMode(nWidth, nHeight, nBpp, SDL_SWSURFACE | nSdlFlags | (bFullscreen ? SDL_FULLSCREEN : 0));
    if (!pScreen || pScreen->format->BitsPerPixel <= 8) return false;
    m_pDevice = std::make_unique<render::RenderDevice>(nWidth, nHeight, (nFlags & VideoFlag::Stencil) != 0);
    m_pDevice->setViewport(render::Viewport{0, 0, nWidth, nHeight});
    if (m_eForcedStatus != render::Status::Ok) m_pDevice->injectStatus(m_eForcedStatus);
    return true;
}

void D3D7VideoDriver::clear(const Color& color) {
    render::RenderDevice* pDevice = drawingDevice();
    if (!pDevice) return;
    const uint32_t nRgb = (uint32_t(color.getRed()) << 16) | (uint32_t(color.getGreen()) << 8) | color.getBlue();
    pDevice->clear(true, true, nRgb, 0);
}

// Logical (x, y) at the logical screen's top-left corner, y downwards.
void D3D7VideoDriver::setOrigin(int nX, int nY) {
    m_nOriginX = nX;
    m_nOriginY = nY;
    if (!m_pDevice) return;
    const float fLeft = static_cast<float>(nX - getMargin());
    m_pDevice->setTransform(render::TransformKind::Projection,
                            render::orthoOffCenter(fLeft, fLeft + static_cast<float>(getScreenWidth()),
                                                   static_cast<float>(nY + getHeight()), static_cast<float>(nY), -1.0f,
                                                   1.0f));
}

// A device that is not ready skips the frame; a windowed mode change, or a
// scene that cannot start while the application is active, rebuilds the mode.
bool D3D7VideoDriver::beginFrame() {
    if (!m_pDevice) return false;
    const render::Status eStatus = m_pDevice->status();
    if (eStatus != render::Status::Ok) {
        if (eStatus != render::Status::WrongMode || isFullscreen()) return false;
        resetMode();
    } else if (!m_pDevice->beginScene()) {
        if ((SDL_GetAppState() & kAppFullyActive) != kAppFullyActive) return false;
        resetMode();
    }
    if (m_bStencilUsed) m_pDevice->clear(false, true, 0, 0);
    m_bStencilUsed = false;
    return true;
}

void D3D7VideoDriver::resetMode() {
    setVideoMode(getWidth(), getHeight(), getFlags());
    if (!m_pDevice || !m_pDevice->beginScene()) ZEP_THROW(Zep::FatalErrorException, "Couldn't reset video mode");
}

void D3D7VideoDriver::endFrame() {
    for (const ScreenBox& box : m_dirty.boxes()) {
        setClip(&box);
        drawBars();
    }
    setClip(nullptr);
    m_pDevice->endScene();
    if (m_dirty.isEmpty()) return;
    const std::vector<ScreenBox>* pBoxes = m_dirty.isWholeScreen() ? nullptr : &m_dirty.boxes();
    if (presentToScreen(*m_pDevice, SDL_GetVideoSurface(), m_vScaled, pBoxes))
        ++m_nPresents;
    else
        drawWholeNext();  // whatever reached the screen, the next frame shows all of it
}

void D3D7VideoDriver::setClip(const ScreenBox* pBox) {
    render::RenderDevice* pDevice = drawingDevice();
    if (!pDevice) return;
    if (pBox)
        pDevice->setClip(render::Viewport{pBox->x0, pBox->y0, pBox->x1 - pBox->x0, pBox->y1 - pBox->y0});
    else
        pDevice->clearClip();
}

void D3D7VideoDriver::getTargetSize(int& nWidth, int& nHeight) const {
    nWidth = m_pDevice ? m_pDevice->width() : 0;
    nHeight = m_pDevice ? m_pDevice->height() : 0;
}

// The pending states name the device's states no more: the next sprite
// sends them all.
void D3D7VideoDriver::forgetStates() {
    m_nBlendMode = -1;
    m_bMaskTest = true;
    m_nMaskFlags = -1;
    m_bStatesDirty = true;
}

void D3D7VideoDriver::drawWholeFrameOn(render::RenderDevice& device) {
    if (!m_pDevice) return;
    device.setTransform(render::TransformKind::Projection, m_pDevice->getTransform(render::TransformKind::Projection));
    // Drawing goes to the lent device until the guard takes it back, however
    // the drawing ends; the driver's own device stays where it is.
    struct Lend {
        D3D7VideoDriver& driver;
        ~Lend() {
            driver.m_pLent = nullptr;
            driver.forgetStates();
        }
    } lend{*this};
    m_pLent = &device;
    forgetStates();
    device.beginScene();
    drawWholeFrame();
    drawBars();
    device.endScene();
}

// Opaque black, untextured, unblended, no mask test.
void D3D7VideoDriver::drawBars() {
    render::RenderDevice* pDevice = drawingDevice();
    if (getBars().empty() || !pDevice) return;
    pDevice->setTransform(render::TransformKind::View, m_identity);
    setBlendMode(0);
    setMaskFlags(1);
    setMaskTest(false);
    applyRenderStates();
    pDevice->setTexture(nullptr);
    for (const Rect& bar : getBars()) {
        const auto l = static_cast<float>(bar.getLeft()), r = static_cast<float>(bar.getRight());
        const auto t = static_cast<float>(bar.getTop()), b = static_cast<float>(bar.getBottom());
        const render::Vertex aFan[4] = {{l, t, 0, 0xFF000000u, 0, 0}, {r, t, 0, 0xFF000000u, 0, 0},
                                        {r, b, 0, 0xFF000000u, 0, 0}, {l, b, 0, 0xFF000000u, 0, 0}};
        pDevice->drawFan(aFan, 4);
    }
}

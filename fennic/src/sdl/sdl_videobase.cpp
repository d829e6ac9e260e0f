#include "sdl/sdl_videobase.h"

#include <SDL_syswm.h>

#include <cmath>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "sprite/sprite.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_video_base";

// A window wholly inside this box is left where the window system put it.
constexpr int kCentreBoxWidth = 1280;
constexpr int kCentreBoxHeight = 1024;
// Where a window whose geometry cannot be read is taken to be.
constexpr int kUnknownWindowOrigin = -10;

// Wider than this counts as a wide desktop; exactly 4:3 does not.
constexpr float kWideAspect = 4.0f / 3.0f;

constexpr int kKeyRepeatDelay = 500;
constexpr int kKeyRepeatInterval = 30;

// The four depths tried for an asked depth, in order; 0 lets SDL take the
// desktop's.
struct DepthOrder {
    int aDepths[4];
};

DepthOrder depthOrder(int nBpp) {
    switch (nBpp) {
        case 16: return {{16, 24, 32, 0}};
        case 24: return {{24, 32, 16, 0}};
        case 0:
        case 32: return {{32, 24, 16, 0}};
        default: return {{0, 0, 0, 0}};
    }
}

// The window system's view of SDL's window; false under drivers without one.
bool x11Info(SDL_SysWMinfo& info) {
    SDL_VERSION(&info.version);
    return SDL_GetWMInfo(&info) == 1 && info.subsystem == SDL_SYSWM_X11;
}

// The window's rectangle on the screen; false when it cannot be read.
bool windowRect(const SDL_SysWMinfo& info, int& nLeft, int& nTop, int& nRight, int& nBottom) {
    Display* pDisplay = info.info.x11.display;
    XWindowAttributes attributes;
    Window child;
    if (!XGetWindowAttributes(pDisplay, info.info.x11.wmwindow, &attributes)) return false;
    if (!XTranslateCoordinates(pDisplay, info.info.x11.wmwindow, attributes.root, 0, 0, &nLeft, &nTop, &child))
        return false;
    nRight = nLeft + attributes.width;
    nBottom = nTop + attributes.height;
    return true;
}

}  // namespace

SDLVideoDriverBase::SDLVideoDriverBase() = default;

SDLVideoDriverBase::~SDLVideoDriverBase() {
    // SDL frees the current cursor itself when its video side stops.
    if (m_pBlankCursor && SDL_WasInit(SDL_INIT_VIDEO)) SDL_FreeCursor(m_pBlankCursor);
}

// ---- The mode search ------------------------------------------------------------

bool SDLVideoDriverBase::isHidden() {
    GameApp* pApp = GameApp::getInstance();
    return pApp && pApp->getCommandLine().indexOf("--hidden") >= 0;
}

bool SDLVideoDriverBase::setVideoMode(int nWidth, int nHeight, int nFlags) {
    ZEP_TRACE("SDLVideoDriverBase::setVideoMode");
    const bool bHidden = isHidden();
    const int nBpp = flagsToBpp(nFlags);
    const int nPhysW = static_cast<int>(static_cast<float>(nWidth) * m_fScaleFactor);
    const int nPhysH = static_cast<int>(static_cast<float>(nHeight) * m_fScaleFactor);
    const bool bAskFull = (nFlags & VideoFlag::Fullscreen) != 0;
    GameApp::log("D: Set %dx%d %s, %d BPP [log %dx%d]\n", nPhysW, nPhysH, bAskFull ? "Full" : "Wnd", nBpp, nWidth,
                 nHeight);
    // Step 1: tear the device down and make sure SDL's video side runs.
    shutdown();
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    const uint32_t nSdlFlags = (bAskFull || (nFlags & VideoFlag::Frameless) || bHidden) ? SDL_NOFRAME : 0;
    applyIcon();
    setCaption(m_sCaption.c_str());
    createDevice();
    // Step 2: the search; a failure keeps the old size and flags.
    Point desk = getDesktopSize();
    if (desk.x == 0.0f || desk.y == 0.0f) desk = Point(2.0f * nWidth, 2.0f * nHeight);
    const ModeRequest request{nPhysW, nPhysH, nBpp, nFlags, nSdlFlags, desk};
    Point mode;
    if (!searchMode(request, mode)) return false;
    // Step 3: what was got.
    setCaption(m_sCaption.c_str());
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    placeBars(nWidth, nHeight, mode);
    const int nDepth = getDesktopDepth();
    GameApp::log("D: Got %dx%d %s, %d BPP\n", static_cast<int>(mode.x), static_cast<int>(mode.y),
                 isFullscreen() ? "Full" : "Wnd", nDepth);
    if (nDepth != 16 && nDepth != 24 && nDepth != 32)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("Couldn't get a direct color video mode [actual BPP = %d]", nDepth).c_str());
    // Step 4: window position, keyboard and cursor.
    if (!bHidden) centreWindow();
    SDL_EnableKeyRepeat(kKeyRepeatDelay, kKeyRepeatInterval);
    SDL_EnableUNICODE(1);
    SDL_ShowCursor(SDL_DISABLE);
    applySystemCursor();
    refreshCursor(false);
    setOrigin(0, 0);
    return true;
}

// Screen choices in the asked order, then candidates, then depths; the first
// success wins and the kept flags follow it.
bool SDLVideoDriverBase::searchMode(const ModeRequest& request, Point& found) {
    const float fAspect = request.desk.x / request.desk.y;
    const bool bWide = fAspect > kWideAspect;
    const Zep::List<Point> lSorted = candidateModes(request.nPhysW, request.nPhysH, fAspect);
    const Zep::List<Point> lAsked{Point(static_cast<float>(request.nPhysW), static_cast<float>(request.nPhysH))};
    const bool bFullFirst = (request.nFlags & VideoFlag::Fullscreen) != 0;
    const DepthOrder depths = depthOrder(request.nBpp);
    for (bool bFull : {bFullFirst, !bFullFirst}) {
        if (!bFull && (request.desk.x < request.nPhysW || request.desk.y < request.nPhysH)) continue;
        const Zep::List<Point>& lModes = bFull && bWide ? lSorted : lAsked;
        for (int i = 0; i < lModes.getCount(); ++i) {
            const Point mode = lModes.get(i);
            for (int nDepth : depths.aDepths) {
                if (!trySetMode(static_cast<int>(mode.x), static_cast<int>(mode.y), nDepth, bFull, request.nFlags,
                                request.nSdlFlags))
                    continue;
                keepFlags(request.nFlags, bFull);
                found = mode;
                return true;
            }
        }
    }
    return false;
}

// Listed modes at least as high as asked (any width), then the asked size,
// nearest to the desktop's aspect first.
Zep::List<Point> SDLVideoDriverBase::candidateModes(int nPhysW, int nPhysH, float fAspect) {
    Zep::List<Point> lModes;
    for (const Point& mode : listFullscreenModes())
        if (mode.y >= static_cast<float>(nPhysH)) lModes.add(mode);
    lModes.add(Point(static_cast<float>(nPhysW), static_cast<float>(nPhysH)));
    ModeSortContext context{nPhysH, static_cast<int>(fAspect * 1000.0f)};
    lModes.sort([](Point a, Point b, void* pUser) {
        return compareModesByAspect(a, b, static_cast<const ModeSortContext*>(pUser));
    }, &context);
    return lModes;
}

bool SDLVideoDriverBase::compareModesByAspect(Point a, Point b, const ModeSortContext* pContext) {
    const float fRatio = static_cast<float>(static_cast<double>(pContext->nAspect1000) / 1000.0);
    const float fA = std::fabs(a.x / a.y - fRatio);
    const float fB = std::fabs(b.x / b.y - fRatio);
    if (fA != fB) return fA < fB;
    return a.y < b.y;
}

std::vector<Point> SDLVideoDriverBase::listFullscreenModes() {
    std::vector<Point> vModes;
    SDL_Rect** ppModes = SDL_ListModes(nullptr, SDL_FULLSCREEN);
    if (!ppModes || ppModes == reinterpret_cast<SDL_Rect**>(-1)) return vModes;
    for (int i = 0; ppModes[i]; ++i) vModes.emplace_back(ppModes[i]->w, ppModes[i]->h);
    return vModes;
}

// A full-screen success adds bit 0 to the flags kept so far, so depth bits
// asked with it can be lost; a window keeps the asked flags without bit 0.
void SDLVideoDriverBase::keepFlags(int nFlags, bool bFullscreen) {
    if (bFullscreen)
        m_nFlags |= static_cast<int>(VideoFlag::Fullscreen);
    else
        m_nFlags = nFlags & ~static_cast<int>(VideoFlag::Fullscreen);
}

// The screen's logical width at the mode's height; a wider screen gets a bar
// on each side, the left one ending at 0 and the right one starting at the
// game's width, so neither covers a column of the game.
void SDLVideoDriverBase::placeBars(int nWidth, int nHeight, const Point& mode) {
    const float fScale = static_cast<float>(nHeight) / static_cast<float>(static_cast<int>(mode.y));
    m_nScreenWidth = static_cast<int>(static_cast<float>(static_cast<int>(mode.x)) * fScale);
    m_nMargin = (m_nScreenWidth - nWidth) / 2;
    m_vBars.clear();
    if (m_nMargin <= 0) return;
    m_vBars.emplace_back(-m_nMargin, 0, 0, nHeight, true);
    m_vBars.emplace_back(nWidth, 0, nWidth + m_nMargin, nHeight, true);
}

// ---- Slots built on the search --------------------------------------------------

void SDLVideoDriverBase::setFullscreen(bool bOn) {
    if (bOn != isFullscreen()) toggleFullscreen();
    refreshCursor(false);
}

bool SDLVideoDriverBase::setBitDepth(int nBpp) {
    const int nFlags = (m_nFlags & ~static_cast<int>(VideoFlag::DepthMask)) | bppToFlags(nBpp);
    return setVideoMode(m_nWidth, m_nHeight, nFlags);
}

bool SDLVideoDriverBase::toggleFullscreen() {
    return setVideoMode(m_nWidth, m_nHeight, m_nFlags ^ static_cast<int>(VideoFlag::Fullscreen));
}

void SDLVideoDriverBase::iconify() {
    SDL_WM_IconifyWindow();
    refreshCursor(true);
}

void SDLVideoDriverBase::getSize(int* pWidth, int* pHeight) const {
    *pWidth = getWidth();
    *pHeight = getHeight();
}

// ---- Caption and icon -------------------------------------------------------------

int SDLVideoDriverBase::countUtf16Units(const char* szUtf8) {
    int nUnits = 0;
    for (const auto* p = reinterpret_cast<const unsigned char*>(szUtf8); p && *p;) {
        // The lead byte tells the sequence's length; four bytes need a pair.
        const int nLength = *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : *p >= 0xC0 ? 2 : 1;
        int nGot = 1;
        while (nGot < nLength && (p[nGot] & 0xC0) == 0x80) ++nGot;
        if (nGot < nLength) nGot = 1;  // malformed: one unit for the byte
        nUnits += nGot == 4 ? 2 : 1;
        p += nGot;
    }
    return nUnits;
}

void SDLVideoDriverBase::setCaption(const char* szUtf8) {
    m_sCaption = szUtf8;
    const char* szShown = countUtf16Units(m_sCaption.c_str()) > kMaxCaptionUnits ? "" : m_sCaption.c_str();
    SDL_WM_SetCaption(szShown, szShown);
}

// SDL makes the window's icon from the picture's own surface (its alpha or
// colour key gives the mask); an icon without pixels is none.
void SDLVideoDriverBase::applyIcon() {
    if (m_pIcon.isNULL() || m_pIcon->getSurface().isNULL()) return;
    m_pIcon->flushPending();
    SDL_WM_SetIcon(m_pIcon->getSDLSurface(), nullptr);
}

// ---- Window and cursor ----------------------------------------------------------------

void SDLVideoDriverBase::centreWindow() {
    SDL_SysWMinfo info;
    if (isFullscreen() || !x11Info(info)) return;
    info.info.x11.lock_func();
    int nLeft = 0;
    int nTop = 0;
    int nRight = 0;
    int nBottom = 0;
    if (!windowRect(info, nLeft, nTop, nRight, nBottom)) {
        nLeft = nTop = kUnknownWindowOrigin;
        nRight = nLeft + getWidth();
        nBottom = nTop + getHeight();
    }
    const bool bInside = nLeft >= 0 && nTop >= 0 && nRight <= kCentreBoxWidth && nBottom <= kCentreBoxHeight;
    if (!bInside) {
        Display* pDisplay = info.info.x11.display;
        const int nScreen = DefaultScreen(pDisplay);
        const int nX = (DisplayWidth(pDisplay, nScreen) + nLeft - nRight) / 2;
        const int nY = (DisplayHeight(pDisplay, nScreen) + nTop - nBottom) / 2;
        XMoveWindow(pDisplay, info.info.x11.wmwindow, nX, nY);
        XMapRaised(pDisplay, info.info.x11.wmwindow);
        XFlush(pDisplay);
    }
    info.info.x11.unlock_func();
}

void SDLVideoDriverBase::applySystemCursor() {
    if (!m_pBlankCursor) {
        Uint8 data = 0;
        Uint8 mask = 0;
        m_pBlankCursor = SDL_CreateCursor(&data, &mask, 1, 1, 0, 0);
    }
    if (m_pBlankCursor) SDL_SetCursor(m_pBlankCursor);
}

void SDLVideoDriverBase::setCursorImage(Image* pImage) {
    m_pCursorImage = Zep::SmartPtr<SDLImage>::dynamicCast(pImage);
}

void SDLVideoDriverBase::setCursorVisible(bool bOn) {
    m_bCursorVisible = bOn;
    refreshCursor(false);
}

void SDLVideoDriverBase::refreshCursor(bool bMouseOutside) {
    if (!bMouseOutside) applySystemCursor();
}

// ---- Desktop ------------------------------------------------------------------------------

// Kept from the first read while SDL's video side runs; before that there is
// nothing to read and nothing is kept.
Point SDLVideoDriverBase::readDesktopSize() {
    if (m_bDesktopRead || !SDL_WasInit(SDL_INIT_VIDEO)) return m_desktop;
    if (const SDL_VideoInfo* pInfo = SDL_GetVideoInfo())
        m_desktop = Point(static_cast<float>(pInfo->current_w), static_cast<float>(pInfo->current_h));
    m_bDesktopRead = true;
    return m_desktop;
}

int SDLVideoDriverBase::readScreenDepth() {
    const SDL_Surface* pScreen = SDL_GetVideoSurface();
    return pScreen ? pScreen->format->BitsPerPixel : 0;
}

Zep::SmartPtr<Sprite> SDLVideoDriverBase::getCursorSprite() const { return Zep::SmartPtr<Sprite>(); }

#include "sdl/sdl_platform.h"

#include <SDL_image.h>

#include <zep2/error.h>

#include "driver/audiodriver.h"
#include "application/gameapp.h"
#include "base/oshelpers.h"
#include "sdl/sdl_imagefactory.h"
#include "sdl/sdl_theora.h"
#include "sdl/sdl_ttf.h"
#include "sdl/sdl_videobase.h"
#include "theme/theme.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_platform";

// SDL's button numbers 0 to 5 as the application's masks.
constexpr int kButtonMasks[] = {0, 1, 2, 4, 8, 16};
constexpr int kButtonCount = static_cast<int>(sizeof(kButtonMasks) / sizeof(kButtonMasks[0]));

// Either Alt key.
constexpr int kAltMask = KMOD_LALT | KMOD_RALT;

int logical(int nWindow, float fScale) { return static_cast<int>(static_cast<float>(nWindow) / fScale); }

}  // namespace

// ---- SDLMutexImpl ------------------------------------------------------------

SDLMutexImpl::SDLMutexImpl() : m_pMutex(SDL_CreateMutex()) { ZEP_ASSERT(m_pMutex); }

SDLMutexImpl::~SDLMutexImpl() {
    if (m_pMutex) SDL_DestroyMutex(m_pMutex);
}

// ---- SDLPlatform: life cycle ---------------------------------------------------

SDLPlatform::SDLPlatform() : m_pApp(GameApp::getInstance()), m_pImageFactory(std::make_unique<SDLImageFactory>()) {
    m_pTTFFactory = new SDLTTFFactory();
    Theme::registerFontFactory("TrueType", m_pTTFFactory);
}

SDLPlatform::~SDLPlatform() {
    shutdown();
    m_joysticks.clear();
}

void SDLPlatform::logFontCache() {
    const int nHits = SDLTTFFactory::getCacheHits(), nMisses = SDLTTFFactory::getCacheMisses();
    const double fPercent = nHits + nMisses == 0 ? 0.0 : nHits * 100.0 / (nHits + nMisses);
    GameApp::log("S: Font cache : %d hits (%.1lf%%), %d misses\n", nHits, fPercent, nMisses);
}

int SDLPlatform::init() {
    ZEP_TRACE("SDLPlatform::init");
    SDL_putenv(const_cast<char*>("SDL_VIDEO_ALLOW_SCREENSAVER=1"));
    // No parachute: SDL's own fatal-signal handlers would replace initSignals'.
    if (SDL_Init(SDL_INIT_NOPARACHUTE) < 0)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("Could not initialize SDL : %s", SDL_GetError()).c_str());
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    return IMG_Init(IMG_INIT_JPG | IMG_INIT_PNG);
}

void SDLPlatform::shutdown() {
    ZEP_TRACE("SDLPlatform::shutdown");
    if (m_pTTFFactory.notNULL() && GameApp::getInstance()) logFontCache();
    IMG_Quit();
    if (m_pTTFFactory.notNULL()) Theme::unregisterFontFactory("TrueType");
    m_pTTFFactory = nullptr;
    if (m_pVideoDriver) m_pVideoDriver->shutdown();
    if (m_pAudioDriver) m_pAudioDriver->shutdown();
    m_pImageFactory.reset();
    m_pVideoDriver.reset();
    m_pAudioDriver.reset();
    for (SDL_Joystick* pJoystick : m_joysticks.getValues()) SDL_JoystickClose(pJoystick);
    m_joysticks.clear();
    if (SDL_WasInit(SDL_INIT_JOYSTICK)) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    if (SDL_WasInit(0)) SDL_Quit();
}

void SDLPlatform::setVideoDriver(std::unique_ptr<IVideoDriver> pDriver) {
    ZEP_ASSERT(!m_pVideoDriver);
    m_pVideoDriver = std::move(pDriver);
    if (auto* pWindow = dynamic_cast<SDLVideoDriverBase*>(m_pVideoDriver.get())) pWindow->setPlatform(this);
    if (m_pVideoDriver) m_pVideoDriver->setScaleFactor(getScaleFactor());
}

void SDLPlatform::setAudioDriver(std::unique_ptr<IAudioDriver> pDriver) {
    ZEP_ASSERT(!m_pAudioDriver);
    m_pAudioDriver = std::move(pDriver);
}

// ---- The event pump ------------------------------------------------------------

int SDLPlatform::buttonMask(int nButton) {
    return nButton >= 0 && nButton < kButtonCount ? kButtonMasks[nButton] : 0;
}

void SDLPlatform::processEvents() {
    bool bMoved = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_ACTIVEEVENT: onActiveEvent(event.active); break;
            case SDL_KEYDOWN: onKeyDownEvent(event.key); break;
            case SDL_KEYUP:
                if (m_pApp) m_pApp->onKeyUp(event.key.keysym.sym, event.key.keysym.mod);
                break;
            case SDL_MOUSEMOTION:
                if (isImmediateMouse()) {
                    moveTo(event.motion.x, event.motion.y);
                    break;
                }
                // Every move of the pump collapses into one call at the end.
                updateMousePosition();
                bMoved = true;
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: onButtonEvent(event.button); break;
            case SDL_QUIT:
                if (m_pApp) m_pApp->routeQuitRequest();
                break;
            case SDL_VIDEORESIZE:
            case SDL_VIDEOEXPOSE: displayChanged(); break;
            default: break;  // joysticks, window-system and user events
        }
    }
    // Sent at once, the position is the last pointer event's own.
    if (!isImmediateMouse()) updateMousePosition();
    if (bMoved && m_pApp) m_pApp->onMouseMove(m_nMouseX, m_nMouseY, true);
    if (SDL_WasInit(SDL_INIT_JOYSTICK)) SDL_JoystickUpdate();
}

void SDLPlatform::moveTo(int nWindowX, int nWindowY) {
    m_nMouseX = logical(nWindowX, getScaleFactor());
    m_nMouseY = logical(nWindowY, getScaleFactor());
    if (m_pApp) m_pApp->onMouseMove(m_nMouseX, m_nMouseY, true);
}

void SDLPlatform::displayChanged() {
    if (m_pVideoDriver) m_pVideoDriver->onDisplayChanged();
}

// Audio pauses or resumes once per change, before the application hears of it.
void SDLPlatform::onActiveEvent(const SDL_ActiveEvent& event) {
    displayChanged();
    constexpr uint8_t kBoth = SDL_APPINPUTFOCUS | SDL_APPACTIVE;
    const bool bNowActive = (readAppState() & kBoth) == kBoth;
    IAudioDriver* pAudio = m_pApp ? m_pApp->getAudioDriver() : nullptr;
    if (bNowActive != m_bActive) {
        if (pAudio) pAudio->setPaused(!bNowActive);
        if (m_pApp) bNowActive ? m_pApp->onActivate() : m_pApp->onDeactivate();
    }
    m_bActive = bNowActive;
    if ((event.state & SDL_APPMOUSEFOCUS) && m_pApp)
        event.gain ? m_pApp->onMouseFocusGained() : m_pApp->onMouseFocusLost();
}

// Alt+F4 is the window's close request and nothing else.
void SDLPlatform::onKeyDownEvent(const SDL_KeyboardEvent& event) {
    if (!m_pApp) return;
    const int nKey = event.keysym.sym;
    const unsigned nMods = event.keysym.mod;
    if (nKey == SDLK_F4 && (nMods & kAltMask)) {
        m_pApp->routeQuitRequest();
        return;
    }
    if (!m_pApp->onKeyDown(nKey, nMods) && event.keysym.unicode != 0) m_pApp->onChar(event.keysym.unicode);
}

void SDLPlatform::onButtonEvent(const SDL_MouseButtonEvent& event) {
    if (isImmediateMouse())
        moveTo(event.x, event.y);
    else
        updateMousePosition();
    const int nMask = buttonMask(event.button);
    if (!m_pApp || nMask == 0) return;
    if (event.type == SDL_MOUSEBUTTONDOWN)
        m_pApp->onMouseDown(nMask, m_nMouseX, m_nMouseY);
    else
        m_pApp->onMouseUp(nMask, m_nMouseX, m_nMouseY);
}

// ---- Mouse and keys ----------------------------------------------------------------

void SDLPlatform::updateMousePosition() {
    int nX = 0;
    int nY = 0;
    SDL_GetMouseState(&nX, &nY);
    m_nMouseX = logical(nX, getScaleFactor());
    m_nMouseY = logical(nY, getScaleFactor());
}

bool SDLPlatform::isMouseButtonDown(int nButton) {
    if (nButton < 1 || nButton > 32) return false;
    return (SDL_GetMouseState(nullptr, nullptr) >> (nButton - 1)) & 1u;
}

bool SDLPlatform::isKeyDown(int nKey) {
    int nCount = 0;
    const Uint8* pKeys = SDL_GetKeyState(&nCount);
    return pKeys && nKey >= 0 && nKey < nCount && pKeys[nKey] == 1;
}

void SDLPlatform::getMousePosition(int& nX, int& nY) {
    nX = m_nMouseX;
    nY = m_nMouseY;
}

void SDLPlatform::setMousePosition(int nX, int nY) {
    const float fScale = getScaleFactor();
    SDL_WarpMouse(static_cast<Uint16>(static_cast<int>(static_cast<float>(nX) * fScale)),
                  static_cast<Uint16>(static_cast<int>(static_cast<float>(nY) * fScale)));
    m_nMouseX = nX;
    m_nMouseY = nY;
}

// ---- Joysticks -------------------------------------------------------------------------

SDL_Joystick* SDLPlatform::openJoystick(int nIndex) {
    if (m_joysticks.contains(nIndex)) return m_joysticks.get(nIndex);
    if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0) return nullptr;
    SDL_Joystick* pJoystick = SDL_JoystickOpen(nIndex);
    if (pJoystick) m_joysticks.set(nIndex, pJoystick);
    return pJoystick;
}

int SDLPlatform::getJoystickAxisCount(int nJoystick) {
    SDL_Joystick* p = openJoystick(nJoystick);
    return p ? SDL_JoystickNumAxes(p) : 0;
}

int SDLPlatform::getJoystickButtonCount(int nJoystick) {
    SDL_Joystick* p = openJoystick(nJoystick);
    return p ? SDL_JoystickNumButtons(p) : 0;
}

float SDLPlatform::getJoystickAxis(int nAxis, int nJoystick) {
    SDL_Joystick* p = openJoystick(nJoystick);
    return p ? static_cast<float>(SDL_JoystickGetAxis(p, nAxis)) : 0.0f;
}

bool SDLPlatform::isJoystickButtonDown(int nButton, int nJoystick) {
    SDL_Joystick* p = openJoystick(nJoystick);
    return p && SDL_JoystickGetButton(p, nButton) != 0;
}

// ---- Documents and locks -------------------------------------------------------------

void SDLPlatform::openDocument(const Zep::String& sPath) { openURL(sPath.c_str()); }

std::unique_ptr<MutexImpl> SDLPlatform::createMutexImpl() { return std::make_unique<SDLMutexImpl>(); }

std::unique_ptr<IVideoSpriteImpl> SDLPlatform::createVideoSpriteImpl() { return std::make_unique<SDLTheoraVideo>(); }

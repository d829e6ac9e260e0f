// The platform over SDL 1.2: the event pump that turns SDL's events into
// calls on the application object, the clock, mouse, keyboard and joysticks,
// documents, locks, and the drivers it owns. Its image factory makes SDL
// pictures (SDLImageFactory), so every picture of the program is an SDLImage.
//
// The pump runs once per frame on the main thread. Positions given to the
// application are logical: window pixels divided by the scale factor,
// truncated toward zero.
//
// By default the moves of one pump collapse into one move, sent after all
// its other events with the position SDL reports then; a button event acts
// on what the last delivered move hovered. With the option kImmediateMouse
// every motion is sent at once at its own position and every button event is
// preceded by a move to the button's position, so a press that comes with
// the motion that brought the pointer acts on the control under it.
//
// The window-hook and system-cursor modes of other systems are not built
// here: their bits of the option word change nothing, and hookWindowProc
// does nothing.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

#include <zep2/hash.h>

#include "text/font.h"
#include "driver/platform.h"

class GameApp;

// A lock over an SDL mutex.
class SDLMutexImpl : public MutexImpl {
public:
    // Throws AssertFailException "Assertion failed : m_pMutex" when SDL
    // cannot make one.
    SDLMutexImpl();
    ~SDLMutexImpl() override;
    SDLMutexImpl(const SDLMutexImpl&) = delete;
    SDLMutexImpl& operator=(const SDLMutexImpl&) = delete;

    int lock() override { return SDL_mutexP(m_pMutex); }
    int unlock() override { return SDL_mutexV(m_pMutex); }

private:
    SDL_mutex* m_pMutex = nullptr;
};

class SDLPlatform : public IPlatform {
public:
    // A bit of the option word (setFlags): moves and buttons at their own
    // positions, as they come.
    static constexpr int kImmediateMouse = 4;

    // Takes the application object that exists now (it may be null).
    SDLPlatform();
    // Shuts down first.
    ~SDLPlatform() override;

    // Starts SDL (without its own fatal-signal handlers, which would replace
    // the program's) and the picture decoders; the result is the set of
    // decoders that started. Throws FatalErrorException "Could not
    // initialize SDL : <reason>".
    int init() override;
    // Stops the decoders, shuts down and deletes the drivers and the image
    // factory, closes the joysticks and quits SDL. Safe to repeat.
    void shutdown() override;
    const char* getName() const override { return "SDL Platform v1.0"; }

    void processEvents() override;

    uint32_t getTicks() override { return SDL_GetTicks(); }
    void sleep(uint32_t nMilliseconds) override { SDL_Delay(nMilliseconds); }

    bool isMouseButtonDown(int nButton) override;
    bool isKeyDown(int nKey) override;
    unsigned getKeyModifiers() override { return static_cast<unsigned>(SDL_GetModState()); }
    // The desktops here offer no system value; the usual default.
    uint32_t getDoubleClickTime() override { return 500; }
    void getMousePosition(int& nX, int& nY) override;
    // Moves the cursor to the window point (x, y) x scale, cut to 16 bits, and
    // keeps (x, y) as the logical position.
    void setMousePosition(int nX, int nY) override;

    int getJoystickCount() override { return SDL_NumJoysticks(); }
    const char* getJoystickName(int nIndex) override { return SDL_JoystickName(nIndex); }
    // These answer 0, 0.0 or false for a joystick that cannot be opened.
    int getJoystickAxisCount(int nJoystick) override;
    int getJoystickButtonCount(int nJoystick) override;
    float getJoystickAxis(int nAxis, int nJoystick) override;
    bool isJoystickButtonDown(int nButton, int nJoystick) override;

    // Through the desktop's opener; the result is not awaited.
    void openDocument(const Zep::String& sPath) override;
    std::unique_ptr<MutexImpl> createMutexImpl() override;
    // An SDLTheoraVideo.
    std::unique_ptr<IVideoSpriteImpl> createVideoSpriteImpl() override;

    IVideoDriver* getVideoDriver() override { return m_pVideoDriver.get(); }
    IAudioDriver* getAudioDriver() override { return m_pAudioDriver.get(); }
    ImageFactory* getImageFactory() override { return m_pImageFactory.get(); }

    // Takes the driver; a second one throws AssertFailException "Assertion
    // failed : !m_pVideoDriver" (or "... !m_pAudioDriver"). A window driver
    // learns its platform; the scale factor is passed on.
    void setVideoDriver(std::unique_ptr<IVideoDriver> pDriver);
    void setAudioDriver(std::unique_ptr<IAudioDriver> pDriver);

    GameApp* getApp() const { return m_pApp; }
    void setFlags(int nBits) { m_nFlags |= nBits; }
    void clearFlags(int nBits) { m_nFlags &= ~nBits; }
    int getFlags() const { return m_nFlags; }
    void hookWindowProc() {}

    // The joystick of that index, opened once and kept; null when it cannot
    // be opened.
    SDL_Joystick* openJoystick(int nIndex);
    // Reads SDL's pointer into the logical position.
    void updateMousePosition();

    // A mouse button's mask for the application: 1, 2, 4, 8, 16 for buttons
    // 1 to 5; 0 for button 0 and for buttons past the table (6 and 7 are the
    // horizontal wheel), which are not delivered.
    static int buttonMask(int nButton);

protected:
    // SDL's application state (focus and visibility bits).
    virtual uint8_t readAppState() { return SDL_GetAppState(); }

private:
    // "S: Font cache : ..." with the process-wide counts.
    static void logFontCache();
    void onActiveEvent(const SDL_ActiveEvent& event);
    void onKeyDownEvent(const SDL_KeyboardEvent& event);
    void onButtonEvent(const SDL_MouseButtonEvent& event);
    bool isImmediateMouse() const { return (m_nFlags & kImmediateMouse) != 0; }
    // The window point as the logical position, and a move there.
    void moveTo(int nWindowX, int nWindowY);
    void displayChanged();

    GameApp* m_pApp = nullptr;
    std::unique_ptr<ImageFactory> m_pImageFactory;
    Zep::SmartPtr<FontFactory> m_pTTFFactory;  // "TrueType", registered with the theme
    std::unique_ptr<IVideoDriver> m_pVideoDriver;
    std::unique_ptr<IAudioDriver> m_pAudioDriver;
    int m_nMouseX = 0;
    int m_nMouseY = 0;
    bool m_bActive = true;
    int m_nFlags = 0;
    Zep::Hash<int, SDL_Joystick*> m_joysticks{97};
};

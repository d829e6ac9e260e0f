// The framework's view of the operating system.
//
// The platform pumps window-system events into calls on the application
// object, answers the clock, mouse, keyboard and joystick, and owns the video
// driver, the audio driver and the image factory (deleting the platform
// deletes them).
#pragma once

#include <cstdint>
#include <memory>

#include <zep2/str.h>

#include "driver/videodriver.h"
#include "driver/videospriteimpl.h"

class IAudioDriver;
class ImageFactory;

// A lock's implementation, made by the platform.
class MutexImpl {
public:
    virtual ~MutexImpl() = default;
    // 0 on success, -1 on error.
    virtual int lock() = 0;
    virtual int unlock() = 0;
};

class IPlatform {
public:
    IPlatform() = default;
    virtual ~IPlatform() = default;
    IPlatform(const IPlatform&) = delete;
    IPlatform& operator=(const IPlatform&) = delete;

    // Window pixels per logical pixel; mouse positions reported to the
    // application are divided by it. Passed on to the video driver.
    virtual void setScaleFactor(float fFactor) {
        m_fScaleFactor = fFactor;
        if (IVideoDriver* pVideo = getVideoDriver()) pVideo->setScaleFactor(fFactor);
    }
    virtual float getScaleFactor() const { return m_fScaleFactor; }

    // Starts window system, timer and input; the result is not tested.
    virtual int init() = 0;
    // Stops the platform and leaves full screen; safe to repeat.
    virtual void shutdown() = 0;
    virtual const char* getName() const = 0;

    // Pumps pending events into GameApp::onKeyDown, onChar, onKeyUp,
    // onMouseMove, onMouseDown, onMouseUp, routeQuitRequest, onActivate,
    // onDeactivate, onMouseFocusGained and onMouseFocusLost.
    virtual void processEvents() = 0;

    // Milliseconds since start; wraps at 2^32.
    virtual uint32_t getTicks() = 0;
    virtual void sleep(uint32_t nMilliseconds) = 0;

    // Button is 1-based.
    virtual bool isMouseButtonDown(int nButton) = 0;
    virtual bool isKeyDown(int nKey) = 0;
    virtual unsigned getKeyModifiers() = 0;
    virtual uint32_t getDoubleClickTime() = 0;
    // The last logical mouse position.
    virtual void getMousePosition(int& nX, int& nY) = 0;
    virtual void setMousePosition(int nX, int nY) = 0;

    virtual int getJoystickCount() = 0;
    virtual const char* getJoystickName(int nIndex) = 0;
    virtual int getJoystickAxisCount(int nJoystick) = 0;
    virtual int getJoystickButtonCount(int nJoystick) = 0;
    // The raw axis value; 0.0 without a joystick.
    virtual float getJoystickAxis(int nAxis, int nJoystick) = 0;
    virtual bool isJoystickButtonDown(int nButton, int nJoystick) = 0;

    // Opens a document with the desktop's default program.
    virtual void openDocument(const Zep::String& sPath) = 0;
    virtual std::unique_ptr<MutexImpl> createMutexImpl() = 0;
    // A new clip decoder for the caller; null on a platform that plays no
    // clips.
    virtual std::unique_ptr<IVideoSpriteImpl> createVideoSpriteImpl() { return nullptr; }

    // Owned by the platform; valid from its initialisation to its shutdown.
    // The audio driver may be null.
    virtual IVideoDriver* getVideoDriver() = 0;
    virtual IAudioDriver* getAudioDriver() = 0;
    virtual ImageFactory* getImageFactory() = 0;

protected:
    float m_fScaleFactor = 1.0f;
};

// An X server of its own for one test: Xvfb on a display number it picks
// itself (so parallel tests never meet), started with -noreset (without it a
// client connecting right after another one left was refused now and then),
// and awaited until it answers. DISPLAY and SDL_VIDEODRIVER point at it for
// the object's life; the server is stopped at the end.
//
// Tests that need one carry "Xvfb" in their suite name: CTest labels them
// "xvfb" and gives them the suppression file for libX11's own leak at exit.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "testkit/testkit_tempdir.h"

struct _XDisplay;

namespace testkit {

class XvfbServer {
public:
    XvfbServer(int nWidth, int nHeight, int nDepth);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // False when Xvfb could not be started or did not answer in time.
    bool isRunning() const { return !m_sDisplay.empty(); }
    // ":<n>", or "" when not running.
    const std::string& display() const { return m_sDisplay; }

private:
    bool start(const std::string& sScreen);
    bool answers() const;
    void stop();

    pid_t m_pid = -1;
    std::string m_sDisplay;
    std::unique_ptr<ScopedEnv> m_pDisplayEnv;
    std::unique_ptr<ScopedEnv> m_pDriverEnv;
};

// The X side of SDL's window (these keep Xlib's names out of the tests).
// Its title: WM_NAME in the locale's encoding (XFetchName) or, when named,
// another text property such as "_NET_WM_NAME" (UTF-8); "?" when it has none.
std::string windowTitle(const char* szProperty = nullptr);
// Whether the window manager hints carry an icon picture.
bool windowHasIcon();
// Its top-left corner on the screen; empty without an X window.
std::vector<int> windowOrigin();
// The window's pixels at the points, as 0xRRGGBB read back from the server
// (XGetImage); empty without an X window.
std::vector<uint32_t> windowPixels(const std::vector<std::pair<int, int>>& vPoints);
// Moves the pointer to (x, y) in the window, then sends it a press of each
// button in order, as the X server would; false without an X window.
bool sendButtonPresses(int x, int y, const std::vector<unsigned>& vButtons);

// The whole screen of the test's X server (DISPLAY), whichever process owns
// its windows: pixels read back from the root window (XGetImage), and the
// pointer and keys driven through the XTest extension as a player's hand
// would drive them, so the events reach the window under the pointer or with
// the focus like real input.
class XScreen {
public:
    // The whole screen, row after row, as 0xRRGGBB.
    struct Shot {
        int nWidth = 0;
        int nHeight = 0;
        std::vector<uint32_t> vPixels;

        // 0 outside the picture.
        uint32_t at(int x, int y) const;
        // A binary PPM (P6) of the picture; false when it could not be written.
        bool writePpm(const std::string& sPath) const;
    };

    // Opens DISPLAY; not open without a server or without XTest.
    XScreen();
    ~XScreen();
    XScreen(const XScreen&) = delete;
    XScreen& operator=(const XScreen&) = delete;

    bool isOpen() const { return m_pDisplay != nullptr; }
    // The screen's pixels at the points as 0xRRGGBB; empty when not open.
    std::vector<uint32_t> pixels(const std::vector<std::pair<int, int>>& vPoints);
    // The whole screen read back at once; empty when not open.
    Shot grab();
    // Each of these answers false when not open.
    bool moveTo(int x, int y);
    // A press of the button (1 left, 2 middle, 3 right) at (x, y), held for
    // 100 ms, and its release.
    bool click(int x, int y, unsigned nButton = 1);
    // The motion to (x, y), a press and a release sent together, without a
    // pause, as a tap on a touch screen or a quick hand makes them: they
    // reach the window within one of its frames.
    bool tap(int x, int y, unsigned nButton = 1);
    // A press and a release of the key of an X key symbol (0xff0d Return,
    // 0xff1b Escape, 'a' ...), with Shift held when bShift.
    bool pressKey(unsigned long nKeySym, bool bShift = false);
    // The text's letters, digits and spaces as key presses; capitals with Shift.
    bool typeText(const char* szText);
    // A press and a release of the key while another key is held (the
    // modifier's X key symbol: 0xffe9 left Alt ...).
    bool pressKeyWith(unsigned long nModifierSym, unsigned long nKeySym);
    // What a window manager's close button sends: WM_DELETE_WINDOW to each
    // top-level window that takes it. False when not open or none takes it.
    bool closeWindows();

private:
    _XDisplay* m_pDisplay = nullptr;
};

}  // namespace testkit

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

#include "testkit_tempdir.h"

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

}  // namespace testkit

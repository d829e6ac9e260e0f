#include "testkit/testkit_xvfb.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "testkit/testkit_wait.h"

namespace testkit {

namespace {

// How long the server may take to name its display and to answer: both are
// waited for, so this only bounds a server that never comes (with many
// servers starting beside a parallel build, one took over 10 s).
constexpr int kStartMilliseconds = 60000;
// How long a click holds the button down.
constexpr int kClickHoldMilliseconds = 100;

// The display number Xvfb writes to the pipe once it takes connections.
std::string readDisplayNumber(int nFd) {
    std::string sNumber;
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMilliseconds);
    while (std::chrono::steady_clock::now() < tEnd) {
        pollfd pfd{nFd, POLLIN, 0};
        if (::poll(&pfd, 1, 100) <= 0) continue;
        char c = 0;
        if (::read(nFd, &c, 1) != 1) break;
        if (c == '\n') return sNumber;
        sNumber += c;
    }
    return std::string();
}

// SDL's X window, locked for the life of the object.
class LockedWindow {
public:
    LockedWindow() {
        SDL_VERSION(&m_info.version);
        m_bValid = SDL_GetWMInfo(&m_info) == 1 && m_info.subsystem == SDL_SYSWM_X11;
        if (m_bValid) m_info.info.x11.lock_func();
    }
    ~LockedWindow() {
        if (m_bValid) m_info.info.x11.unlock_func();
    }
    LockedWindow(const LockedWindow&) = delete;
    LockedWindow& operator=(const LockedWindow&) = delete;

    bool valid() const { return m_bValid; }
    Display* display() const { return m_info.info.x11.display; }
    Window frame() const { return m_info.info.x11.wmwindow; }
    Window canvas() const { return m_info.info.x11.window; }

private:
    SDL_SysWMinfo m_info{};
    bool m_bValid = false;
};

}  // namespace

std::string windowTitle(const char* szProperty) {
    LockedWindow window;
    std::string sTitle = "?";
    if (!window.valid()) return sTitle;
    if (!szProperty) {
        char* szName = nullptr;
        if (XFetchName(window.display(), window.frame(), &szName) && szName) sTitle = szName;
        if (szName) XFree(szName);
        return sTitle;
    }
    XTextProperty property{};
    if (XGetTextProperty(window.display(), window.frame(), &property,
                         XInternAtom(window.display(), szProperty, False))) {
        sTitle.assign(reinterpret_cast<const char*>(property.value), property.nitems);
        XFree(property.value);
    }
    return sTitle;
}

bool windowHasIcon() {
    LockedWindow window;
    XWMHints* pHints = window.valid() ? XGetWMHints(window.display(), window.frame()) : nullptr;
    const bool bIcon = pHints && (pHints->flags & IconPixmapHint);
    if (pHints) XFree(pHints);
    return bIcon;
}

std::vector<int> windowOrigin() {
    LockedWindow window;
    if (!window.valid()) return {};
    int x = 0;
    int y = 0;
    Window child;
    XTranslateCoordinates(window.display(), window.frame(), DefaultRootWindow(window.display()), 0, 0, &x, &y,
                          &child);
    return {x, y};
}

namespace {

// One channel of an image pixel, scaled to 8 bits.
uint32_t channel(unsigned long nPixel, unsigned long nMask) {
    if (!nMask) return 0;
    int nShift = 0;
    while (!((nMask >> nShift) & 1)) ++nShift;
    const unsigned long nMax = nMask >> nShift;
    return static_cast<uint32_t>(((nPixel & nMask) >> nShift) * 255 / nMax);
}

// A pixel of the image as 0xRRGGBB; the common 32-bit layout is read
// directly, anything else through Xlib.
uint32_t rgbOf(const XImage& image, int x, int y) {
    if (image.bits_per_pixel == 32 && image.byte_order == LSBFirst && image.red_mask == 0xFF0000 &&
        image.green_mask == 0xFF00 && image.blue_mask == 0xFF) {
        const char* pRow = image.data + static_cast<ptrdiff_t>(y) * image.bytes_per_line;
        uint32_t n = 0;
        std::memcpy(&n, pRow + static_cast<ptrdiff_t>(x) * 4, 4);
        return n & 0xFFFFFF;
    }
    const unsigned long n = XGetPixel(const_cast<XImage*>(&image), x, y);
    return (channel(n, image.red_mask) << 16) | (channel(n, image.green_mask) << 8) | channel(n, image.blue_mask);
}

}  // namespace

std::vector<uint32_t> windowPixels(const std::vector<std::pair<int, int>>& vPoints) {
    LockedWindow window;
    if (!window.valid()) return {};
    XSync(window.display(), False);
    XWindowAttributes attributes;
    XGetWindowAttributes(window.display(), window.canvas(), &attributes);
    XImage* pImage = XGetImage(window.display(), window.canvas(), 0, 0, static_cast<unsigned>(attributes.width),
                               static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!pImage) return {};
    std::vector<uint32_t> vPixels;
    for (const auto& [x, y] : vPoints) {
        const unsigned long n = XGetPixel(pImage, x, y);
        vPixels.push_back((channel(n, pImage->red_mask) << 16) | (channel(n, pImage->green_mask) << 8) |
                          channel(n, pImage->blue_mask));
    }
    XDestroyImage(pImage);
    return vPixels;
}

bool sendButtonPresses(int x, int y, const std::vector<unsigned>& vButtons) {
    LockedWindow window;
    if (!window.valid()) return false;
    XWarpPointer(window.display(), 0, window.canvas(), 0, 0, 0, 0, x, y);
    for (unsigned nButton : vButtons) {
        XEvent event{};
        event.xbutton.type = ButtonPress;
        event.xbutton.display = window.display();
        event.xbutton.window = window.canvas();
        event.xbutton.button = nButton;
        event.xbutton.same_screen = True;
        XSendEvent(window.display(), window.canvas(), True, ButtonPressMask, &event);
    }
    XFlush(window.display());
    return true;
}

XScreen::XScreen() {
    m_pDisplay = XOpenDisplay(nullptr);
    int nEvent = 0, nError = 0, nMajor = 0, nMinor = 0;
    if (m_pDisplay && !XTestQueryExtension(m_pDisplay, &nEvent, &nError, &nMajor, &nMinor)) {
        XCloseDisplay(m_pDisplay);
        m_pDisplay = nullptr;
    }
}

XScreen::~XScreen() {
    if (m_pDisplay) XCloseDisplay(m_pDisplay);
}

std::vector<uint32_t> XScreen::pixels(const std::vector<std::pair<int, int>>& vPoints) {
    if (!m_pDisplay) return {};
    XSync(m_pDisplay, False);
    const Window root = DefaultRootWindow(m_pDisplay);
    XWindowAttributes attributes;
    XGetWindowAttributes(m_pDisplay, root, &attributes);
    XImage* pImage = XGetImage(m_pDisplay, root, 0, 0, static_cast<unsigned>(attributes.width),
                               static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!pImage) return {};
    std::vector<uint32_t> vPixels;
    for (const auto& [x, y] : vPoints) {
        const bool bInside = x >= 0 && y >= 0 && x < attributes.width && y < attributes.height;
        vPixels.push_back(bInside ? rgbOf(*pImage, x, y) : 0);
    }
    XDestroyImage(pImage);
    return vPixels;
}

XScreen::Shot XScreen::grab() {
    Shot shot;
    if (!m_pDisplay) return shot;
    XSync(m_pDisplay, False);
    const Window root = DefaultRootWindow(m_pDisplay);
    XWindowAttributes attributes;
    XGetWindowAttributes(m_pDisplay, root, &attributes);
    XImage* pImage = XGetImage(m_pDisplay, root, 0, 0, static_cast<unsigned>(attributes.width),
                               static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!pImage) return shot;
    shot.nWidth = attributes.width;
    shot.nHeight = attributes.height;
    shot.vPixels.reserve(static_cast<size_t>(shot.nWidth) * static_cast<size_t>(shot.nHeight));
    for (int y = 0; y < shot.nHeight; ++y)
        for (int x = 0; x < shot.nWidth; ++x) {
            shot.vPixels.push_back(rgbOf(*pImage, x, y));
        }
    XDestroyImage(pImage);
    return shot;
}

uint32_t XScreen::Shot::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= nWidth || y >= nHeight) return 0;
    return vPixels[static_cast<size_t>(y) * static_cast<size_t>(nWidth) + static_cast<size_t>(x)];
}

bool XScreen::Shot::writePpm(const std::string& sPath) const {
    std::string sBytes = "P6\n" + std::to_string(nWidth) + " " + std::to_string(nHeight) + "\n255\n";
    for (uint32_t n : vPixels) {
        sBytes += static_cast<char>(n >> 16);
        sBytes += static_cast<char>(n >> 8);
        sBytes += static_cast<char>(n);
    }
    FILE* pFile = std::fopen(sPath.c_str(), "wb");
    if (!pFile) return false;
    const bool bWritten = std::fwrite(sBytes.data(), 1, sBytes.size(), pFile) == sBytes.size();
    return std::fclose(pFile) == 0 && bWritten;
}

bool XScreen::moveTo(int x, int y) {
    if (!m_pDisplay) return false;
    XTestFakeMotionEvent(m_pDisplay, DefaultScreen(m_pDisplay), x, y, CurrentTime);
    XSync(m_pDisplay, False);
    return true;
}

bool XScreen::click(int x, int y, unsigned nButton) {
    if (!moveTo(x, y)) return false;
    XTestFakeButtonEvent(m_pDisplay, nButton, True, CurrentTime);
    XSync(m_pDisplay, False);
    // Held across a few frames, as a hand holds it: a press and a release
    // that reach the game within one frame may be taken as no click at all.
    std::this_thread::sleep_for(std::chrono::milliseconds(kClickHoldMilliseconds));
    XTestFakeButtonEvent(m_pDisplay, nButton, False, CurrentTime);
    XSync(m_pDisplay, False);
    return true;
}

bool XScreen::tap(int x, int y, unsigned nButton) {
    if (!m_pDisplay) return false;
    XTestFakeMotionEvent(m_pDisplay, DefaultScreen(m_pDisplay), x, y, CurrentTime);
    XTestFakeButtonEvent(m_pDisplay, nButton, True, CurrentTime);
    XTestFakeButtonEvent(m_pDisplay, nButton, False, CurrentTime);
    XSync(m_pDisplay, False);
    return true;
}

bool XScreen::pressKey(unsigned long nKeySym, bool bShift) {
    if (!m_pDisplay) return false;
    const KeyCode nShift = XKeysymToKeycode(m_pDisplay, XK_Shift_L);
    const KeyCode nKey = XKeysymToKeycode(m_pDisplay, nKeySym);
    if (!nKey) return false;
    if (bShift) XTestFakeKeyEvent(m_pDisplay, nShift, True, CurrentTime);
    XTestFakeKeyEvent(m_pDisplay, nKey, True, CurrentTime);
    XTestFakeKeyEvent(m_pDisplay, nKey, False, CurrentTime);
    if (bShift) XTestFakeKeyEvent(m_pDisplay, nShift, False, CurrentTime);
    XSync(m_pDisplay, False);
    return true;
}

bool XScreen::pressKeyWith(unsigned long nModifierSym, unsigned long nKeySym) {
    if (!m_pDisplay) return false;
    const KeyCode nModifier = XKeysymToKeycode(m_pDisplay, nModifierSym);
    const KeyCode nKey = XKeysymToKeycode(m_pDisplay, nKeySym);
    if (!nModifier || !nKey) return false;
    XTestFakeKeyEvent(m_pDisplay, nModifier, True, CurrentTime);
    XTestFakeKeyEvent(m_pDisplay, nKey, True, CurrentTime);
    XTestFakeKeyEvent(m_pDisplay, nKey, False, CurrentTime);
    XTestFakeKeyEvent(m_pDisplay, nModifier, False, CurrentTime);
    XSync(m_pDisplay, False);
    return true;
}

bool XScreen::closeWindows() {
    if (!m_pDisplay) return false;
    const Atom protocols = XInternAtom(m_pDisplay, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(m_pDisplay, "WM_DELETE_WINDOW", False);
    Window root = 0, parent = 0;
    Window* pChildren = nullptr;
    unsigned nChildren = 0;
    if (!XQueryTree(m_pDisplay, DefaultRootWindow(m_pDisplay), &root, &parent, &pChildren, &nChildren)) return false;
    bool bSent = false;
    for (unsigned i = 0; i < nChildren; ++i) {
        Atom* pProtocols = nullptr;
        int nProtocols = 0;
        bool bTakes = false;
        if (XGetWMProtocols(m_pDisplay, pChildren[i], &pProtocols, &nProtocols)) {
            for (int n = 0; n < nProtocols; ++n) bTakes |= pProtocols[n] == deleteWindow;
            XFree(pProtocols);
        }
        if (!bTakes) continue;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = pChildren[i];
        event.xclient.message_type = protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(deleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        bSent |= XSendEvent(m_pDisplay, pChildren[i], False, NoEventMask, &event) != 0;
    }
    if (pChildren) XFree(pChildren);
    XSync(m_pDisplay, False);
    return bSent;
}

bool XScreen::typeText(const char* szText) {
    for (; szText && *szText; ++szText) {
        const char c = *szText;
        const bool bUpper = c >= 'A' && c <= 'Z';
        const unsigned long nKeySym = c == ' ' ? XK_space : bUpper ? static_cast<unsigned long>(c - 'A' + 'a')
                                                                   : static_cast<unsigned long>(c);
        if (!pressKey(nKeySym, bUpper)) return false;
    }
    return true;
}

XvfbServer::XvfbServer(int nWidth, int nHeight, int nDepth) {
    const std::string sScreen = std::to_string(nWidth) + "x" + std::to_string(nHeight) + "x" + std::to_string(nDepth);
    if (!start(sScreen)) {
        stop();
        return;
    }
    m_pDisplayEnv = std::make_unique<ScopedEnv>("DISPLAY", m_sDisplay.c_str());
    m_pDriverEnv = std::make_unique<ScopedEnv>("SDL_VIDEODRIVER", "x11");
    if (!answers()) stop();
}

XvfbServer::~XvfbServer() { stop(); }

bool XvfbServer::start(const std::string& sScreen) {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(fds[0]);
        const int nNull = ::open("/dev/null", O_RDWR);
        ::dup2(nNull, 0);
        ::dup2(nNull, 1);
        ::dup2(nNull, 2);
        const std::string sFd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", sFd.c_str(), "-screen", "0", sScreen.c_str(), "-noreset",
                 "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    const std::string sNumber = m_pid > 0 ? readDisplayNumber(fds[0]) : std::string();
    ::close(fds[0]);
    if (!sNumber.empty()) m_sDisplay = ":" + sNumber;
    return !sNumber.empty();
}

bool XvfbServer::answers() const {
    return waitUntil(
        [this] {
            Display* pDisplay = XOpenDisplay(m_sDisplay.c_str());
            if (pDisplay) XCloseDisplay(pDisplay);
            return pDisplay != nullptr;
        },
        kStartMilliseconds);
}

void XvfbServer::stop() {
    m_pDriverEnv.reset();
    m_pDisplayEnv.reset();
    m_sDisplay.clear();
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    int nStatus = 0;
    ::waitpid(m_pid, &nStatus, 0);
    m_pid = -1;
}

}  // namespace testkit

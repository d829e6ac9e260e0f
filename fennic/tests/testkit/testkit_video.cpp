#include "testkit/testkit_video.h"

#include "application/gameapp.h"
#include "sprite/sprite.h"

namespace testkit {

namespace {

// The textured drivers' formats: red, green, blue (and alpha) bytes in memory.
constexpr PixelFormat kOpaque{24, 0, 0x000000FF, 0x0000FF00, 0x00FF0000};
constexpr PixelFormat kAlpha{32, 0xFF000000, 0x000000FF, 0x0000FF00, 0x00FF0000};

}  // namespace

void FakeVideoDriver::init(const Zep::SmartPtr<Image>& pIcon) {
    m_pIcon = pIcon.get();
    record("init");
}

void FakeVideoDriver::shutdown() { record("shutdown"); }

bool FakeVideoDriver::setVideoMode(int nWidth, int nHeight, int nFlags) {
    record("setVideoMode " + std::to_string(nWidth) + " " + std::to_string(nHeight) + " " + std::to_string(nFlags));
    if (m_bFailVideoMode) return false;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_nFlags = nFlags;
    m_bFullscreen = (static_cast<unsigned>(nFlags) & VideoFlag::Fullscreen) != 0;
    return true;
}

void FakeVideoDriver::setFullscreen(bool bOn) {
    record(bOn ? "setFullscreen 1" : "setFullscreen 0");
    if (!m_bRefuseFullscreen) m_bFullscreen = bOn;
}

bool FakeVideoDriver::setBitDepth(int nBpp) {
    record("setBitDepth " + std::to_string(nBpp));
    if (m_bRefuseDepth) return false;
    m_nDepth = nBpp;
    m_nFlags = static_cast<int>((static_cast<unsigned>(m_nFlags) & ~VideoFlag::DepthMask) |
                                static_cast<unsigned>(bppToFlags(nBpp)));
    return true;
}

PixelFormat FakeVideoDriver::getOpaqueFormat() const { return kOpaque; }

PixelFormat FakeVideoDriver::getAlphaFormat() const { return kAlpha; }

void FakeVideoDriver::setCaption(const char* szUtf8) {
    m_sCaption = szUtf8 ? szUtf8 : "";
    record("setCaption " + m_sCaption);
}

bool FakeVideoDriver::toggleFullscreen() {
    m_bFullscreen = !m_bFullscreen;
    record("toggleFullscreen");
    return true;
}

void FakeVideoDriver::iconify() {
    ++m_nIconifyCount;
    record("iconify");
}

void FakeVideoDriver::render() {
    ++m_nRenderCount;
    record("render");
    m_vDrawn.clear();
    if (GameApp* pApp = GameApp::getInstance()) drawModes(*pApp, *this);
}

void FakeVideoDriver::flush() {
    ++m_nFlushCount;
    record("flush");
}

void FakeVideoDriver::clear(const Color& color) {
    ++m_nClearCount;
    m_lastClearColor = color;
    record("clear " + std::string(color.toString().c_str()));
}

void FakeVideoDriver::clearScreen(const Color& color) { clear(color); }

void FakeVideoDriver::getSize(int* pWidth, int* pHeight) const {
    if (pWidth) *pWidth = m_nWidth;
    if (pHeight) *pHeight = m_nHeight;
}

void FakeVideoDriver::onDisplayChanged() {
    ++m_nDisplayChangedCount;
    record("onDisplayChanged");
}

void FakeVideoDriver::setCursorImage(Image* pImage) {
    m_pCursorImage = pImage;
    record("setCursorImage");
}

void FakeVideoDriver::setCursorVisible(bool bOn) {
    m_bCursorVisible = bOn;
    record(bOn ? "setCursorVisible 1" : "setCursorVisible 0");
}

void FakeVideoDriver::refreshCursor(bool bMouseOutside) {
    record(bMouseOutside ? "refreshCursor 1" : "refreshCursor 0");
}

Zep::SmartPtr<Sprite> FakeVideoDriver::getCursorSprite() const { return Zep::SmartPtr<Sprite>(); }

void FakeVideoDriver::setOrigin(int nX, int nY) {
    record("setOrigin " + std::to_string(nX) + " " + std::to_string(nY));
}

void FakeVideoDriver::prepareImage(Image*) { record("prepareImage"); }

}  // namespace testkit

// A video driver for tests: it keeps a logical size and records every call.
//
// render runs the drivers' shared draw walk and records which sprite of
// which mode it would draw, in order, in place of drawing.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/color.h"
#include "sprite/drawwalk.h"
#include "driver/videodriver.h"

namespace testkit {

class FakeVideoDriver : public IVideoDriver, private IDrawTarget {
public:
    void init(const Zep::SmartPtr<Image>& pIcon) override;
    void shutdown() override;
    const char* getName() const override { return "FakeVideo"; }

    bool setVideoMode(int nWidth, int nHeight, int nFlags) override;
    bool isFullscreen() const override { return m_bFullscreen; }
    void setFullscreen(bool bOn) override;
    int getDesktopDepth() const override { return m_nDepth; }
    bool setBitDepth(int nBpp) override;
    PixelFormat getOpaqueFormat() const override;
    PixelFormat getAlphaFormat() const override;
    void setCaption(const char* szUtf8) override;
    bool toggleFullscreen() override;
    void iconify() override;

    void render() override;
    void flush() override;
    void clear(const Color& color) override;
    // Also the draw walk's clearing step.
    void clearScreen(const Color& color) override;

    int getWidth() const override { return m_nWidth; }
    int getHeight() const override { return m_nHeight; }
    void getSize(int* pWidth, int* pHeight) const override;

    void onDisplayChanged() override;
    void setCursorImage(Image* pImage) override;
    void setCursorVisible(bool bOn) override;
    bool isCursorVisible() const override { return m_bCursorVisible; }
    void refreshCursor(bool bMouseOutside) override;
    Zep::SmartPtr<Sprite> getCursorSprite() const override;
    void setOrigin(int nX, int nY) override;
    void prepareImage(Image* pImage) override;

    // ---- Configuration ----
    bool m_bFailVideoMode = false;  // setVideoMode answers false
    bool m_bRefuseFullscreen = false;  // setFullscreen keeps the mode it finds
    bool m_bRefuseDepth = false;       // setBitDepth keeps the depth
    int m_nDepth = 32;                 // what getDesktopDepth answers

    // ---- What happened (in call order, e.g. "setVideoMode 800 600 1") ----
    std::vector<std::string> m_vCalls;
    Image* m_pIcon = nullptr;
    Image* m_pCursorImage = nullptr;
    std::string m_sCaption;
    int m_nWidth = 800;
    int m_nHeight = 600;
    int m_nFlags = 0;
    bool m_bFullscreen = false;
    bool m_bCursorVisible = true;
    int m_nRenderCount = 0;
    int m_nClearCount = 0;
    Color m_lastClearColor;
    int m_nFlushCount = 0;
    int m_nDisplayChangedCount = 0;
    int m_nIconifyCount = 0;
    // The last render's sprites in drawing order, with their modes.
    std::vector<std::pair<GameMode*, Sprite*>> m_vDrawn;

private:
    void drawSprite(GameMode& mode, Sprite& sprite) override { m_vDrawn.emplace_back(&mode, &sprite); }
    void record(const std::string& sCall) { m_vCalls.push_back(sCall); }
};

}  // namespace testkit

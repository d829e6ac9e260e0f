// A sprite whose picture is a Flash movie played by the host's control.
//
// When the host cannot create the control (always on this system, see
// flashhost.h) the sprite keeps no host: it never gets an image, so the
// renderer skips it, and every operation does nothing, answering false, 0,
// (0, 0) or an empty text. The loop count and the pending movie scale are the
// sprite's own logic and run over any host.
#pragma once

#include <memory>

#include "media/flashhost.h"
#include "base/rect.h"
#include "sprite/sprite.h"

class FlashSprite : public Sprite {
public:
    // With this system's host. The splash screen uses (name, 0, 0, 1, false).
    FlashSprite(const char* szMovie, int x, int y, int nZOrder, bool bTransparent);
    // With a given host (a port's own); it is dropped when create fails.
    FlashSprite(std::unique_ptr<IFlashHost> pHost, const char* szMovie, int x, int y, int nZOrder,
                bool bTransparent);
    ~FlashSprite() override;

    // Has a picture as soon as the sprite joins a mode: update(0).
    bool onModeSet() override;
    // With a host: applies a pending scale, renders into this sprite and
    // counts a loop whenever the current frame went backwards.
    virtual void update(float fElapsed);

    void play();
    void stop();
    void rewind();
    void gotoFrame(int nFrame);
    bool isPlaying();
    int getCurrentFrame();
    int getTotalFrames();
    // True when the movie's current label is now the one asked for.
    bool gotoLabel(const char* szLabel);
    Zep::String getCurrentLabel();
    // Stored and applied by the next update.
    void setMovieScale(float fScale);
    Point getMovieSize();
    int getLoopCount() const { return m_nLoopCount; }
    bool hasHost() const { return m_pHost != nullptr; }

    static bool isFlashAvailable();

private:
    std::unique_ptr<IFlashHost> m_pHost;
    bool m_bScalePending = false;
    float m_fScale = 1.0f;
    int m_nLastFrame = -1;
    int m_nLoopCount = 0;
};

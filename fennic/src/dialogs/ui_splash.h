// SplashScreen: the mode that plays the start-up logos one after the other
// on a blank screen, then ends itself and uncovers the mode below.
//
// Logos are still images (fade in, hold, fade out, optionally starting a
// music track), Flash movies and video clips. A logo is started and stepped
// in the same frame, so a Flash logo on a system without the Flash control
// (flashsprite.h) ends in the frame it starts. Image logos fade through
// their sprite's alpha: the image itself is shared through the image cache
// and is left untouched, so an image with an alpha channel fades too and
// later users of the image never see it half transparent. A mouse-button
// release, or the release of Escape, Return or Space, skips the current
// logo; presses never do. An empty list ends the mode in its first update.
#pragma once

#include <cstdint>
#include <deque>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "sprite/gamemode.h"

class FlashSprite;
class VideoSprite;

// One logo of the list.
struct SSLogoInfo {
    enum { kImage = 0, kFlash = 1, kVideo = 2 };

    Zep::String m_sName;          // image name, or resource name of the movie or clip
    int32_t m_nType = kImage;
    float m_fFadeInSpeed = 0.0f;  // alpha units per second (256 / fade-in time)
    float m_fDuration = 0.0f;     // seconds fully visible
    float m_fFadeOutSpeed = 0.0f; // alpha units per second (256 / fade-out time)
    Zep::String m_sMusic;         // started with an image logo; empty for none
};

class SplashScreen : public GameMode {
public:
    // States of the current logo.
    enum { kFadingIn = 0, kHolding = 1, kFadingOut = 2, kPlayingFlash = 3, kPlayingVideo = 4 };

    // The side of the blank background tiles.
    static constexpr int kTileSize = 200;
    // Fade times below this are raised to it before the speed is computed.
    static constexpr float kMinFadeTime = 0.0001f;
    static constexpr float kDefaultFadeTime = 0.5f;

    SplashScreen();
    ~SplashScreen() override;

    void addImageLogo(const char* szImage, float fFadeIn, float fDuration, float fFadeOut, const char* szMusic);
    // Fades of 0.5 s.
    void addImageLogo(const char* szImage, float fDuration, const char* szMusic);
    // ".ogv" gives a video clip, ".flv" a Flash movie (exact last four
    // characters); any other ending throws FatalErrorException
    // "Unsupported file extension: <ending>\n" and adds nothing.
    void addMediaLogo(const char* szResource);
    // Takes the current logo's sprite out of the mode; the next frame starts
    // the next logo. Nothing without a current logo.
    void skipLogo();

    // Hides the cursor and covers the screen with blank tiles.
    void onEnter() override;
    // Switches the application's quit confirmation on.
    void onEnd() override;
    // Stops all sounds and the music, hides the cursor.
    void onResume() override;
    void onUpdate(float fDelta) override;
    // Skips on Escape, Return or Space; always answers false.
    bool onKeyUp(int nKey, int nModifiers) override;
    // Skips on any button; consumes the release.
    bool onMouseUp(int nButton, int x, int y) override;

    // ---- Inspection ----
    int getLogoCount() const { return static_cast<int>(m_lLogos.size()); }
    const SSLogoInfo* getLogo(int nIndex) const { return &m_lLogos.at(static_cast<size_t>(nIndex)); }
    int getLogoState() const { return m_nState; }
    float getLogoAlpha() const { return m_fAlpha; }
    Zep::SmartPtr<Sprite> getCurrentSprite() const { return m_pCurrentSprite; }
    const Zep::List<Zep::SmartPtr<Sprite>>& getBackground() const { return m_lBackground; }

private:
    // Takes the next logo from the list and starts it by its type.
    void startNextLogo();
    void startImageLogo();
    void startFlashLogo();
    void startVideoLogo();
    // One step of the current logo by the state.
    void stepLogo(float fDelta);
    void stepFlash(float fDelta);
    void stepVideo(float fDelta);

    std::deque<SSLogoInfo> m_lLogos;
    SSLogoInfo m_currentLogo;
    Zep::SmartPtr<Sprite> m_pCurrentSprite;
    Zep::List<Zep::SmartPtr<Sprite>> m_lBackground;
    Zep::SmartPtr<FlashSprite> m_pFlashSprite;
    Zep::SmartPtr<VideoSprite> m_pVideoSprite;
    int32_t m_nState = kFadingIn;
    float m_fTimeLeft = 0.0f;
    float m_fAlpha = 0.0f;
};

// A sprite that shows a video clip: it owns a decoder made by the platform,
// starts it at once, and on every update takes the decoder's newest picture
// as its image. The clip's sound replaces the mixer's output while it plays
// and follows the application's sound volume.
#pragma once

#include <memory>

#include "sprite/sprite.h"
#include "driver/videospriteimpl.h"

class VideoSprite : public Sprite {
public:
    // Throws FatalErrorException "Can't open '<path>'" when the platform has
    // no decoder or the clip cannot be opened.
    explicit VideoSprite(const char* szPath);
    // The decoder goes first, then the last frame image.
    ~VideoSprite() override;

    // Sets the flags again; does not rewind.
    void play();
    bool isPlaying() const { return m_bPlaying; }
    bool isFinished() const { return m_bFinished; }
    // The clip's own volume 0.0 .. 1.0, scaled by the sound volume / 255.
    void setVolume(float fVolume);
    float getVolume() const { return m_fVolume; }
    void setExclusiveAudio(bool bExclusive) { m_pImpl->setExclusiveAudio(bExclusive); }
    bool isExclusiveAudio() const { return m_pImpl->isExclusiveAudio(); }
    // Seconds played (Sprite::getPosition is the place on screen).
    float getClipPosition() const { return m_pImpl->getPosition(); }
    void seek(float fSeconds) { m_pImpl->seek(fSeconds); }

    // The clip's picture size, also before the first frame.
    int getWidth() const override { return m_pImpl->getWidth(); }
    int getHeight() const override { return m_pImpl->getHeight(); }

    // While playing: the volume, the decoder's step, and its new picture;
    // the update that finds the end shows no new picture.
    virtual void update(float fElapsed);

private:
    void applyVolume();

    std::unique_ptr<IVideoSpriteImpl> m_pImpl;
    bool m_bPlaying = false;
    bool m_bFinished = false;
    float m_fVolume = 1.0f;
};

// The framework's interface of a video clip decoder, made by the platform
// (IPlatform::createVideoSpriteImpl) and owned by a VideoSprite.
//
// The decoder reads its clip in blocks, hands out each due picture as an
// image over its own frame buffer (valid until the next picture or the
// decoder's end), and plays the clip's sound through the mixer. With sound
// the mixer's consumption is the clock; without, the elapsed time passed to
// update is.
#pragma once

#include <zep2/refcount.h>

#include "image/image.h"

class IVideoSpriteImpl {
public:
    IVideoSpriteImpl() = default;
    virtual ~IVideoSpriteImpl() = default;
    IVideoSpriteImpl(const IVideoSpriteImpl&) = delete;
    IVideoSpriteImpl& operator=(const IVideoSpriteImpl&) = delete;

    // Opens the clip and reads all stream headers; false when the file is
    // missing, damaged or carries no picture stream.
    virtual bool open(const char* szPath) = 0;
    // Advances the clock and decodes; a new image when a picture is due.
    virtual Zep::SmartPtr<Image> update(float fElapsed) = 0;
    // The sound is silent and its clock stands while paused.
    virtual void play() = 0;
    virtual void pause() = 0;
    // Not supported: throws FatalErrorException "Not implemented".
    virtual void rewind() = 0;
    virtual bool isFinished() const = 0;
    virtual int getWidth() const = 0;
    virtual int getHeight() const = 0;
    // 0.0 .. 1.0, for sound decoded from now on.
    virtual void setVolume(float fVolume) = 0;
    // The clip's sound replaces the mixer's output instead of adding to it.
    virtual void setExclusiveAudio(bool bExclusive) = 0;
    virtual bool isExclusiveAudio() const = 0;
    // Seconds.
    virtual float getPosition() const = 0;
    // Forward only: an earlier time throws FatalErrorException
    // "Theora : Backwards seek not implemented\n".
    virtual void seek(float fSeconds) = 0;
};

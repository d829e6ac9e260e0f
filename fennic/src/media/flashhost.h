// The host of the Flash control behind FlashSprite: it creates the control
// for a movie, renders it into a sprite's picture and forwards the playback
// calls. The Flash control runs only on Windows; on this system the host
// reports it unavailable, and FlashSprite then keeps no host, shows nothing
// and answers false, 0 or an empty text (the documented fallback).
#pragma once

#include <memory>

#include <zep2/str.h>

class Sprite;

class IFlashHost {
public:
    IFlashHost() = default;
    virtual ~IFlashHost() = default;
    IFlashHost(const IFlashHost&) = delete;
    IFlashHost& operator=(const IFlashHost&) = delete;

    // Creates the control over the game window, loads the movie (a resource
    // name) and starts it, the host window sized to the movie. False when the
    // control cannot be created; the host is then dropped.
    virtual bool create(const char* szMovie, bool bTransparent) = 0;
    // Renders the movie; a target sprite gets the picture as its image.
    virtual void draw(Sprite* pTarget) = 0;
    // The movie's frame size in pixels from its file header.
    virtual void getMovieSize(int& nWidth, int& nHeight) = 0;
    // Resizes the host window and shows the control again.
    virtual void resize(int nWidth, int nHeight) = 0;

    virtual void play() = 0;
    virtual void stop() = 0;
    virtual void rewind() = 0;
    virtual void gotoFrame(int nFrame) = 0;
    virtual bool isPlaying() = 0;
    // Of the main timeline "/".
    virtual int getCurrentFrame() = 0;
    virtual int getTotalFrames() = 0;
    virtual void gotoLabel(const char* szLabel) = 0;
    virtual Zep::String getCurrentLabel() = 0;
};

// This system's host: create always answers false (no control, no window).
std::unique_ptr<IFlashHost> createFlashHost();
// Whether this system can host the control: false here.
bool isFlashHostAvailable();

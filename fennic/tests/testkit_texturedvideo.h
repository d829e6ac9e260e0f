// The textured video driver on a test kit platform, each frame also drawn
// whole on a reference device for comparison. The SDL driver headers are
// the framework's own: a game's tests reach the driver through this.
#pragma once

#include <memory>
#include <string>

class DirtyRects;

namespace testkit {

class FakePlatform;

class TexturedVideo {
public:
    // Gives the platform the textured driver (on the environment's SDL video
    // driver, the dummy one in tests) and SDL's image factory, and sets a
    // w x h mode of 32 bits. SDL must be initialised.
    TexturedVideo(FakePlatform& platform, int nWidth, int nHeight);
    ~TexturedVideo();
    TexturedVideo(const TexturedVideo&) = delete;
    TexturedVideo& operator=(const TexturedVideo&) = delete;

    // Draws the last frame whole on the reference device (which has drawn
    // every frame whole since the mode was set) and compares the two back
    // buffers: "" when they agree, else the first differing pixel as
    // "pixel (x, y): A drawn, B whole".
    std::string compareWithWhole();
    // The boxes the last frame drew.
    const DirtyRects& drawnBoxes() const;

private:
    class Impl;
    std::unique_ptr<Impl> m_pImpl;
};

}  // namespace testkit

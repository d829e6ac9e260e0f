// The textured video driver on a test kit platform, each frame also drawn
// whole on a reference device for comparison. The SDL driver headers are
// the framework's own: a game's tests reach the driver through this.
#pragma once

#include <memory>
#include <string>

class D3D7VideoDriver;
class DirtyRects;
namespace render {
class RenderDevice;
}

namespace testkit {

// Draws the driver's last frame whole on the reference device, which must
// have drawn every frame whole since the driver's mode was set, and
// compares the two back buffers: "" when they agree, else the first
// differing pixel as "pixel (x, y): AARRGGBB drawn, AARRGGBB whole (N pixels
// differ)".
std::string compareWithWhole(D3D7VideoDriver& video, render::RenderDevice& reference);

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

    // The free compareWithWhole on a reference device of the mode's size.
    std::string compareWithWhole();
    // The boxes the last frame drew.
    const DirtyRects& drawnBoxes() const;

private:
    class Impl;
    std::unique_ptr<Impl> m_pImpl;
};

}  // namespace testkit

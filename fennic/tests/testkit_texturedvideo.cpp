#include "testkit_texturedvideo.h"

#include "renderdevice.h"
#include "sdl_d3d7video.h"
#include "sdl_imagefactory.h"
#include "testkit_platform.h"

namespace testkit {

class TexturedVideo::Impl {
public:
    D3D7VideoDriver* m_pVideo = nullptr;  // owned by the platform
    std::unique_ptr<render::RenderDevice> m_pReference;
};

TexturedVideo::TexturedVideo(FakePlatform& platform, int nWidth, int nHeight) : m_pImpl(std::make_unique<Impl>()) {
    auto pVideo = std::make_unique<D3D7VideoDriver>();
    m_pImpl->m_pVideo = pVideo.get();
    platform.setVideoDriver(std::move(pVideo));
    platform.setImageFactory(std::make_unique<SDLImageFactory>());
    m_pImpl->m_pVideo->init(Zep::SmartPtr<Image>());
    m_pImpl->m_pVideo->setVideoMode(nWidth, nHeight, static_cast<int>(VideoFlag::Depth32));
    const render::RenderDevice& own = *m_pImpl->m_pVideo->device();
    m_pImpl->m_pReference = std::make_unique<render::RenderDevice>(own.width(), own.height(), false);
}

TexturedVideo::~TexturedVideo() = default;

std::string TexturedVideo::compareWithWhole() {
    m_pImpl->m_pVideo->drawWholeFrameOn(*m_pImpl->m_pReference);
    const render::RenderDevice& own = *m_pImpl->m_pVideo->device();
    const render::RenderDevice& whole = *m_pImpl->m_pReference;
    const size_t nPixels = static_cast<size_t>(own.width()) * own.height();
    for (size_t i = 0; i < nPixels; ++i)
        if (own.backBuffer()[i] != whole.backBuffer()[i])
            return "pixel (" + std::to_string(i % own.width()) + ", " + std::to_string(i / own.width()) +
                   "): " + std::to_string(own.backBuffer()[i]) + " drawn, " + std::to_string(whole.backBuffer()[i]) +
                   " whole";
    return "";
}

const DirtyRects& TexturedVideo::drawnBoxes() const { return m_pImpl->m_pVideo->drawnBoxes(); }

}  // namespace testkit

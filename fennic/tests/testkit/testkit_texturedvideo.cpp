#include "testkit/testkit_texturedvideo.h"

#include <algorithm>
#include <cstdio>

#include "render/renderdevice.h"
#include "sdl/sdl_d3d7video.h"
#include "sdl/sdl_imagefactory.h"
#include "testkit/testkit_platform.h"

namespace testkit {

std::string compareWithWhole(D3D7VideoDriver& video, render::RenderDevice& reference) {
    video.drawWholeFrameOn(reference);
    const render::RenderDevice& own = *video.device();
    if (own.width() != reference.width() || own.height() != reference.height())
        return "the reference device is not of the mode's size";
    const size_t nPixels = static_cast<size_t>(own.width()) * own.height();
    const uint32_t* pDrawn = own.backBuffer();
    const uint32_t* pWhole = reference.backBuffer();
    const auto first = std::mismatch(pDrawn, pDrawn + nPixels, pWhole).first;
    if (first == pDrawn + nPixels) return "";
    const auto i = static_cast<size_t>(first - pDrawn);
    size_t nDiffer = 0;
    for (size_t k = i; k < nPixels; ++k) nDiffer += pDrawn[k] != pWhole[k] ? 1 : 0;
    char sz[160];
    std::snprintf(sz, sizeof sz, "pixel (%zu, %zu): %08X drawn, %08X whole (%zu pixels differ)", i % own.width(),
                  i / own.width(), pDrawn[i], pWhole[i], nDiffer);
    return sz;
}

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

std::string TexturedVideo::compareWithWhole() { return testkit::compareWithWhole(*m_pImpl->m_pVideo, *m_pImpl->m_pReference); }

const DirtyRects& TexturedVideo::drawnBoxes() const { return m_pImpl->m_pVideo->drawnBoxes(); }

}  // namespace testkit

// The resources the framework brings itself, so that it can draw overlays and
// text with no content at all: the images "greyoverlaypatch" (80 x 60, opaque,
// surface alpha 128) and "empty" (2 x 2 with alpha), and a memory provider in
// front of all others holding the system font strip "Fennic::SystemFont.png".
//
// The two images are pinned in the image cache: purging the cache keeps them,
// as no loader could make them again.
#include <cstring>
#include <memory>

#include <zep2/resource.h>

#include "application/gameapp.h"
#include "image/image.h"
#include "text/systemfont_png.h"

namespace {

constexpr int kOverlayWidth = 80;
constexpr int kOverlayHeight = 60;
constexpr int kOverlayAlpha = 128;
constexpr int kEmptySize = 2;

// A resource holding its own copy of the strip's bytes.
Zep::SmartPtr<Zep::Resource> systemFontResource() {
    const int nSize = static_cast<int>(kSystemFontPngSize);
    Zep::SmartPtr<Zep::Resource> pResource = new Zep::Resource(nSize, nullptr, true);
    std::memcpy(pResource->getData(), kSystemFontPng, kSystemFontPngSize);
    return pResource;
}

}  // namespace

void GameApp::registerBuiltinResources() {
    Zep::SmartPtr<Image> pOverlay = createImage(kOverlayWidth, kOverlayHeight, false);
    pOverlay->setSurfaceAlpha(kOverlayAlpha);
    addImage("greyoverlaypatch", pOverlay, true);
    addImage("empty", createImage(kEmptySize, kEmptySize, true), true);

    auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
    pProvider->add(kSystemFontResourceName, systemFontResource());
    addResourceProvider(std::move(pProvider), true);
}

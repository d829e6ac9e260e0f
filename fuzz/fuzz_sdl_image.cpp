// The SDL picture loader over arbitrary bytes: a picture (PNG, or TGA under a
// ".tga" name) and its ".alpha.png" companion go through SDL_image, the
// conversion, the colour-key and alpha companions, then trim, mirror and the
// transfers.
//
// Input: one flag byte (bit 0 a ".colorkey" companion, bit 1 convert, bit 2
// the picture is named ".tga"), two bytes of picture length (little-endian),
// the picture, then the companion (none when empty).
//
// SDL_image allocates a picture's surface from its declared size before it
// reads the pixels, and refuses sizes it cannot get; the fuzzer's memory
// limit is far below that, so pictures declaring more than kMaxPixels are
// skipped here, as are contents other than PNG and TGA (SDL_image's other
// decoders are not this program's inputs).
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>

#include <SDL.h>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "gameapp.h"
#include "sdl_image.h"

namespace {

constexpr uint64_t kMaxPixels = uint64_t(1) << 20;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

bool acceptable(const uint8_t* p, size_t n, bool bTga) {
    if (n >= 24 && std::memcmp(p, kPngSignature, 8) == 0)
        return uint64_t(be32(p + 16)) * be32(p + 20) <= kMaxPixels;
    if (bTga && n >= 18) return uint64_t(p[12] | p[13] << 8) * uint64_t(p[14] | p[15] << 8) <= kMaxPixels;
    return n == 0;
}

Zep::SmartPtr<Zep::Resource> resourceOf(const uint8_t* p, size_t n) {
    Zep::SmartPtr<Zep::Resource> pRes = new Zep::Resource(static_cast<int>(n), nullptr, true);
    if (n) std::memcpy(pRes->getData(), p, n);
    return pRes;
}

struct Harness {
    Harness() {
        GameApp::openLog("/dev/null");  // the application's log goes nowhere
        m_pApp = std::make_unique<GameApp>();
        SDL_Init(SDL_INIT_NOPARACHUTE);
        auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
        for (const char* szKey : {"ktm.colorkey", "ktx.colorkey", "knm.colorkey", "knx.colorkey"})
            pProvider->add(szKey, resourceOf(nullptr, 0));
        m_pProvider = pProvider.get();
        m_pApp->addResourceProvider(std::move(pProvider), false);
    }
    std::unique_ptr<GameApp> m_pApp;
    Zep::MemoryResourceProvider* m_pProvider = nullptr;
};

void exercise(const char* szName, bool bConvert) {
    SDLImage image(szName, bConvert, true);
    SDLImage target(16, 16, true, true);
    target.blitFrom(image, 3, 3);
    target.blit(image, -2, 5);
    image.hflip();
    image.trim();
    image.getPixel(0, 0);
    const Zep::SmartPtr<Surface> pSurface = image.getSurface();
    pSurface->releasePixels();
    pSurface->ensureLoaded();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness harness;
    if (size < 3) return 0;
    const uint8_t nFlags = data[0];
    const size_t nPicture = std::min<size_t>(size - 3, data[1] | data[2] << 8);
    const uint8_t* pPicture = data + 3;
    const uint8_t* pMask = pPicture + nPicture;
    const size_t nMask = size - 3 - nPicture;
    const bool bTga = nFlags & 4;
    if (nPicture == 0 || !acceptable(pPicture, nPicture, bTga) || !acceptable(pMask, nMask, false)) return 0;

    // Every combination has names of its own, so nothing stale is found:
    // "k..." bases have a colour-key companion, "...m" bases an alpha one.
    const Zep::String sBase = Zep::String((nFlags & 1) ? "k" : "p") + (bTga ? "t" : "n") + (nMask ? "m" : "x");
    Zep::MemoryResourceProvider& provider = *harness.m_pProvider;
    provider.add((sBase + (bTga ? ".tga" : ".png")).c_str(), resourceOf(pPicture, nPicture));
    if (nMask) provider.add((sBase + ".alpha.png").c_str(), resourceOf(pMask, nMask));
    try {
        exercise(sBase.c_str(), (nFlags & 2) != 0);
    } catch (const Zep::Exception&) {
    }
    return 0;
}

// The desktop platform of a game's start-up and the TrueType font class
// (startup.h).
#include "driver/startup.h"

#include "sdl/sdl_audio.h"
#include "sdl/sdl_d3d7video.h"
#include "sdl/sdl_platform.h"
#include "sdl/sdl_ttf.h"
#include "theme/theme.h"

static_assert(kDesktopImmediateMouse == SDLPlatform::kImmediateMouse);

std::unique_ptr<IPlatform> createDesktopPlatform(int nOptions) {
    auto pPlatform = std::make_unique<SDLPlatform>();
    pPlatform->setFlags(nOptions & kDesktopImmediateMouse);
    pPlatform->setVideoDriver(std::make_unique<D3D7VideoDriver>());
    auto pAudio = std::make_unique<SDLAudioDriver>();
    pAudio->setFrequency(kDesktopAudioFrequency);
    pAudio->setChunkSize(kDesktopAudioChunkSize);
    pPlatform->setAudioDriver(std::move(pAudio));
    return pPlatform;
}

void registerTrueTypeFonts() { Theme::registerFontFactory("TrueType", new SDLTTFFactory()); }

void unregisterTrueTypeFonts() { Theme::unregisterFontFactory("TrueType"); }

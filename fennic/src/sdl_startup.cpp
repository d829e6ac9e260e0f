// The desktop platform of a game's start-up (startup.h).
#include "startup.h"

#include "sdl_audio.h"
#include "sdl_d3d7video.h"
#include "sdl_platform.h"

std::unique_ptr<IPlatform> createDesktopPlatform() {
    auto pPlatform = std::make_unique<SDLPlatform>();
    pPlatform->setVideoDriver(std::make_unique<D3D7VideoDriver>());
    auto pAudio = std::make_unique<SDLAudioDriver>();
    pAudio->setFrequency(kDesktopAudioFrequency);
    pAudio->setChunkSize(kDesktopAudioChunkSize);
    pPlatform->setAudioDriver(std::move(pAudio));
    return pPlatform;
}

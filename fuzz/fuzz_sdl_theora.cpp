// The clip decoder over arbitrary bytes: Ogg pages, stream headers, and a
// few updates of decoding and picture conversion (no application, so no
// sound is decoded and no image is made; the pixels are still converted).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <zep2/error.h>

#include "sdl_theora.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    const std::string sPath = "/tmp/fuzz_sdl_theora_" + std::to_string(getpid()) + ".ogv";
    FILE* pFile = std::fopen(sPath.c_str(), "wb");
    if (!pFile) return 0;
    std::fwrite(data, 1, size, pFile);
    std::fclose(pFile);
    try {
        SDLTheoraVideo video;
        if (video.open(sPath.c_str())) {
            video.play();
            for (int i = 0; i < 8 && !video.isFinished(); ++i) video.update(0.1f);
        }
    } catch (const Zep::Exception&) {
    }
    std::remove(sPath.c_str());
    return 0;
}

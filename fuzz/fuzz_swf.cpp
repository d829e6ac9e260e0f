// The movie frame-size reader over arbitrary bytes (plain and compressed
// headers), and the alpha recovery over the same bytes as two renders.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <zep2/error.h>
#include <zep2/memstream.h>

#include "media/swfreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    try {
        Zep::MemStream stream(data, static_cast<int>(size));
        readSwfFrameSize(stream);
    } catch (const Zep::Exception&) {
    }
    readSwfRect(data, static_cast<int>(size));
    const int nPixels = static_cast<int>(size / 8);
    std::vector<uint8_t> black(data, data + nPixels * 4);
    recoverAlphaFromBlackWhite(black.data(), data + nPixels * 4, nPixels);
    return 0;
}

// The PNG decoder of the in-memory images over arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include <zep2/error.h>

#include "image/pngreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        DecodedPicture picture = decodePng(data, size, "fuzz.png");
        if (picture.m_lPixels.size() != static_cast<size_t>(picture.m_nWidth) * static_cast<size_t>(picture.m_nHeight))
            __builtin_trap();
    } catch (const Zep::Exception&) {
    }
    return 0;
}

// The settings file as it is stored: an object stream inside a zlib stream.
// The input is the uncompressed payload, deflated here so that the fuzzer
// reaches the object stream; the raw bytes are also fed to the inflater.
#include <zlib.h>

#include <cstddef>
#include <vector>

#include <zep2/memstream.h>
#include <zep2/zstream.h>

#include "fuzz_objectstream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) return 0;
    uLongf packedSize = compressBound(static_cast<uLong>(size));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, data, static_cast<uLong>(size), 9) != Z_OK) return 0;
    // A cut-short file, as a full disk or a crash would leave it.
    uLongf cut = size % 2 ? packedSize * 3 / 4 : packedSize;
    const uint8_t* packedBytes = packed.data();
    for (auto [bytes, n] : {std::pair{packedBytes, static_cast<size_t>(cut)}, std::pair{data, size}}) {
        Zep::SmartPtr<Zep::MemStream> file(new Zep::MemStream(bytes, static_cast<int>(n)));
        try {
            Zep::SmartPtr<Zep::ZStream> zip(new Zep::ZStream(file.get()));
            fuzzing::readSettingsLayout(zip.get());
        } catch (const Zep::Exception&) {
        }
    }
    return 0;
}

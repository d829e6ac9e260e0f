// Object streams of settings and highscore tables from arbitrary bytes.
#include <cstddef>

#include <zep2/memstream.h>

#include "fuzz_objectstream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Zep::SmartPtr<Zep::MemStream> in(new Zep::MemStream(data, static_cast<int>(size)));
    fuzzing::readSettingsLayout(in.get());
    return 0;
}

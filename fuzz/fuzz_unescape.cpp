// The escaped-text decoder that turns stored profile and highscore text back into bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include <zep2/memstream.h>
#include <zep2/str.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    Zep::SmartPtr<Zep::MemStream> bytes = Zep::String::unescapeBinary(text.c_str());
    // Escaping the decoded bytes and decoding again gives the same bytes.
    Zep::String again = Zep::String::escapeBinary(bytes->getBuffer(), bytes->length());
    Zep::SmartPtr<Zep::MemStream> twice = Zep::String::unescapeBinary(again.c_str());
    if (twice->length() != bytes->length() ||
        (bytes->length() > 0 && std::memcmp(twice->getBuffer(), bytes->getBuffer(), static_cast<size_t>(bytes->length())) != 0))
        __builtin_trap();
    return 0;
}

// The token file reader over arbitrary text, read line by line and as a key/value table.
#include <cstddef>
#include <cstdint>
#include <string>

#include <zep2/error.h>
#include <zep2/memstream.h>
#include <zep2/tokenfilereader.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        Zep::TokenFileReader reader(text.c_str());
        while (!reader.isEOF()) {
            reader.nextLine();
            (void)reader.getTokensFrom(1);
            (void)reader.getTokens().getCount();
        }
    } catch (const Zep::Exception&) {
    }
    try {
        Zep::SmartPtr<Zep::MemStream> in(new Zep::MemStream(data, static_cast<int>(size)));
        Zep::TokenFileReader reader(in.get());
        Zep::Hash<Zep::String, Zep::String> table = reader.readKeyValueTable();
        (void)table.getCount();
    } catch (const Zep::Exception&) {
    }
    return 0;
}

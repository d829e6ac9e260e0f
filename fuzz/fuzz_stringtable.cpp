// String tables in their text and XML forms over arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string>

#include <zep2/error.h>

#include "base/stringtable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    Zep::String sText(text.c_str());
    for (auto reader : {&readStringTableText, &readStringTableXml}) {
        Zep::Hash<Zep::String, Zep::String> table;
        try {
            reader(sText, table);
            for (const Zep::String& key : table.getKeys()) (void)table.get(key);
        } catch (const Zep::Exception&) {
        }
    }
    return 0;
}

// Hash functions and key texts of the hash table's key types.
#include "zep2/hash.h"

#include <cinttypes>

namespace Zep {

namespace {
constexpr const char* kZepSource = ".\\src\\hash";
}  // namespace

uint32_t hashString(const char* text) {
    ZEP_TRACE("hashString");
    uint32_t h = 0;
    if (text == nullptr) return h;
    // Bytes count as signed, and the closing NUL takes part: saved tables are
    // ordered by these exact values.
    const char* p = text;
    do {
        h = h * 31u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(*p)));
    } while (*p++ != 0);
    return h;
}

uint32_t hashInt(int value) {
    ZEP_TRACE("hashInt");
    return static_cast<uint32_t>(value);
}

uint32_t hashPointer(const void* address) {
    ZEP_TRACE("hashPointer");
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
}

String stringKeyText(const String& key) {
    ZEP_TRACE("stringKeyText");
    String text("\"");
    text += key;
    text += '"';
    return text;
}

String intKeyText(int value) {
    ZEP_TRACE("intKeyText");
    return String::format("%d", value);
}

String pointerKeyText(const void* address) {
    ZEP_TRACE("pointerKeyText");
    return String::format("0x%08" PRIXPTR, reinterpret_cast<uintptr_t>(address));
}

}  // namespace Zep

// The checked formatter over arbitrary texts: whatever it accepts as a
// format is formatted without reading a value it was not given, and its
// result stays small.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "records/textformat.h"

namespace {

void check(const Zep::String& sResult, size_t nTextSize) {
    // At most three conversions of 99 columns or a double's 309 digits and
    // 99 decimals.
    if (static_cast<size_t>(sResult.length()) > nTextSize + 3 * 420) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string sText(reinterpret_cast<const char*>(data), size);
    const char* szText = sText.c_str();  // up to the first NUL
    check(formatText(szText, -2147483647 - 1), size);
    check(formatText(szText, -1.0e308), size);
    check(formatText(szText, 3, 7), size);
    check(formatText(szText, 1, 0, 5), size);
    check(formatText(szText, 2.5, 9), size);
    return 0;
}

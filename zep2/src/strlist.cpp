// The members of Zep::String that need lists or memory streams: splitting,
// runs of character classes, common prefixes and the binary escape.
#include <cstring>
#include <vector>

#include "zep2/error.h"
#include "zep2/list.h"
#include "zep2/memstream.h"
#include "zep2/refcount.h"
#include "zep2/str.h"

namespace {
constexpr const char* kZepSource = ".\\src\\str";

constexpr uint8_t kEscape = 0x01;
constexpr uint8_t kEscapedZero = 0x01;
constexpr uint8_t kEscapedOne = 0x02;

bool contains(const char* set, char c) { return c != 0 && set != nullptr && std::strchr(set, c) != nullptr; }
}  // namespace

namespace Zep {

List<String> String::split(const char* separators) const {
    ZEP_TRACE("String::split");
    if (separators == nullptr) separators = " ";
    List<String> tokens;
    const char* p = m_pData;
    while (*p) {
        while (*p && contains(separators, *p)) ++p;
        const char* start = p;
        while (*p && !contains(separators, *p)) ++p;
        if (p > start) tokens.add(String(start, static_cast<int>(p - start)));
    }
    return tokens;
}

List<String> String::splitByClasses(List<String> classes, const char* singles) const {
    ZEP_TRACE("String::splitByClasses");
    List<String> tokens;
    const int nOtherClass = classes.getCount();
    constexpr int kSingle = -1;
    constexpr int kNone = -2;
    int nPreviousClass = kNone;
    const char* start = m_pData;
    const char* p = m_pData;
    auto flush = [&]() {
        if (p > start) tokens.add(String(start, static_cast<int>(p - start)));
        start = p;
    };
    for (; *p; ++p) {
        int nClass;
        if (contains(singles, *p)) {
            nClass = kSingle;
        } else {
            nClass = nOtherClass;
            int i = 0;
            for (const String& members : classes) {
                if (members.find(*p) >= 0) {
                    nClass = i;
                    break;
                }
                ++i;
            }
        }
        if (nClass == kSingle || nClass != nPreviousClass) flush();
        nPreviousClass = nClass;
    }
    flush();
    return tokens;
}

String String::commonPrefix(const List<String>& texts) {
    ZEP_TRACE("String::commonPrefix");
    if (texts.isEmpty()) return String();
    List<String> lowered;
    for (const String& text : texts) lowered.add(text.toLower());
    // The smallest and the largest text under the byte order (the first one
    // wins ties): what they share, all texts share.
    int nSmallest = 0;
    const String* pSmallest = nullptr;
    const String* pLargest = nullptr;
    int i = 0;
    for (const String& text : lowered) {
        if (pSmallest == nullptr || text < *pSmallest) {
            pSmallest = &text;
            nSmallest = i;
        }
        if (pLargest == nullptr || text > *pLargest) pLargest = &text;
        ++i;
    }
    const char* a = pSmallest->c_str();
    const char* b = pLargest->c_str();
    int n = 0;
    while (a[n] && a[n] == b[n]) ++n;
    return texts.get(nSmallest).left(n);
}

String String::escapeBinary(const void* data, int size) {
    ZEP_TRACE("String::escapeBinary");
    if (data == nullptr || size <= 0) return String();
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::vector<char> out;
    out.reserve(2 * static_cast<size_t>(size) + 2);
    for (int i = 0; i < size; ++i) {
        uint8_t b = bytes[i];
        if (b == 0x00) {
            out.push_back(static_cast<char>(kEscape));
            out.push_back(static_cast<char>(kEscapedZero));
        } else if (b == 0x01) {
            out.push_back(static_cast<char>(kEscape));
            out.push_back(static_cast<char>(kEscapedOne));
        } else {
            out.push_back(static_cast<char>(b));
        }
    }
    return String(out.data(), static_cast<int>(out.size()));
}

SmartPtr<MemStream> String::unescapeBinary(const char* text) {
    ZEP_TRACE("String::unescapeBinary");
    SmartPtr<MemStream> stream(new MemStream());
    if (text == nullptr) return stream;
    std::vector<uint8_t> out;
    out.reserve(std::strlen(text));
    for (const char* p = text; *p; ++p) {
        uint8_t b = static_cast<uint8_t>(*p);
        if (b == kEscape) {
            // A lone escape at the very end stands for itself; the closing NUL
            // is never consumed.
            if (p[1] == 0) {
                out.push_back(0x01);
                break;
            }
            ++p;
            out.push_back(static_cast<uint8_t>(*p) == kEscapedZero ? 0x00 : 0x01);
        } else {
            out.push_back(b);
        }
    }
    if (!out.empty()) stream->write(static_cast<int>(out.size()), out.data());
    return stream;
}

}  // namespace Zep

#include "zep2/str.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zep2/error.h"

namespace Zep {

namespace {

[[maybe_unused]] constexpr const char* kZepSource = ".\\src\\str";

// Shared by every formatting call; main thread only.
char g_formatBuffer[4096];

bool isBlank(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; }

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Byte count of the UTF-8 character whose lead byte is c. Bytes that cannot
// lead a sequence count as one byte.
int utf8CharBytes(unsigned char c) {
    if (c < 0x80) return 1;
    if (c >= 0xC0 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF7) return 4;
    return 1;
}

// Steps over one character without passing the terminating NUL.
const char* utf8Next(const char* p) {
    int n = utf8CharBytes(static_cast<unsigned char>(*p));
    for (int i = 0; i < n && *p; ++i) ++p;
    return p;
}

int compareTo(const char* a, const char* b) {
    return std::strcmp(a, b);  // strcmp compares as unsigned char
}

// Replaces every occurrence of `from` in `searched` (the text itself, or a
// copy of the same length in another case) by `to` in `text`, left to right;
// the search goes on after each occurrence, so inserted text is never searched.
String replaceMatches(const String& text, const String& searched, const char* from, const char* to) {
    const int fromLen = static_cast<int>(std::strlen(from));
    std::string out;
    int done = 0;
    for (int i = searched.find(from, 0); i >= 0; i = searched.find(from, done)) {
        out.append(text.c_str() + done, static_cast<size_t>(i - done));
        out += to ? to : "";
        done = i + fromLen;
    }
    out += text.c_str() + done;
    return String(out.c_str());
}

}  // namespace

void String::allocBuffer(char*& buffer, int size) {
    char* fresh = new char[size];
    fresh[0] = 0;
    delete[] buffer;
    buffer = fresh;
}

bool String::insideBuffer(const char* p) const {
    auto at = reinterpret_cast<uintptr_t>(p);
    auto begin = reinterpret_cast<uintptr_t>(m_pData);
    return m_pData && at >= begin && at < begin + static_cast<uintptr_t>(m_nCapacity);
}

String::String() { reserve(32); }

String::String(const char* text) {
    if (!text) {
        reserve(32);
        return;
    }
    int n = static_cast<int>(std::strlen(text));
    reserve(n + 1);
    std::memcpy(m_pData, text, n + 1);
}

String::String(const char* buffer, int n) {
    if (n < 0) n = 0;
    if (!buffer) {
        reserve(n + 1);
        return;
    }
    reserve(n + 1);
    int i = 0;
    for (; i < n && buffer[i]; ++i) m_pData[i] = buffer[i];
    m_pData[i] = 0;
}

String::String(char c) {
    reserve(2);
    m_pData[0] = c;
    m_pData[1] = 0;
}

String::String(const String& other) {
    int n = other.length();
    reserve(n + 1);
    std::memcpy(m_pData, other.m_pData, n + 1);
}

String::~String() {
    delete[] m_pData;
    m_pData = nullptr;
}

void String::reserve(int n) {
    if (m_pData == nullptr || m_nCapacity < n) {
        int size = roundCapacity(n < 0 ? 0 : n);
        allocBuffer(m_pData, size);
        m_nCapacity = size;
    }
    m_pData[0] = 0;
}

String& String::assign(const char* text) {
    if (text == m_pData) return *this;
    if (!text) {
        reserve(32);
        return *this;
    }
    int n = static_cast<int>(std::strlen(text));
    if (insideBuffer(text)) {
        // A tail of our own buffer: copy it out before the buffer is reused.
        String copy(text);
        return assign(copy.m_pData);
    }
    reserve(n + 1);
    std::memcpy(m_pData, text, n + 1);
    return *this;
}

String& String::assign(const char* buffer, int n) {
    if (buffer == m_pData) return *this;
    if (!buffer) {
        reserve(32);
        return *this;
    }
    if (n < 0) n = 0;
    if (insideBuffer(buffer)) {
        String copy(buffer, n);
        return assign(copy.m_pData);
    }
    // The NUL goes at index n, so a buffer of exactly n bytes is not enough.
    reserve(m_nCapacity == n ? n + 1 : n);
    int i = 0;
    for (; i < n && buffer[i]; ++i) m_pData[i] = buffer[i];
    m_pData[i] = 0;
    m_pData[n] = 0;
    return *this;
}

String& String::append(const char* text) {
    if (!text || !*text) return *this;
    int have = length();
    int add = static_cast<int>(std::strlen(text));
    int need = have + add + 1;
    if (need <= m_nCapacity) {
        std::memmove(m_pData + have, text, add + 1);
        return *this;
    }
    char* fresh = nullptr;
    allocBuffer(fresh, roundCapacity(need));
    std::memcpy(fresh, m_pData, have);
    std::memcpy(fresh + have, text, add + 1);  // text may live in the old buffer
    delete[] m_pData;
    m_pData = fresh;
    m_nCapacity = need;  // the exact total, not the buffer's size
    return *this;
}

String& String::operator=(char c) {
    reserve(2);
    m_pData[0] = c;
    m_pData[1] = 0;
    return *this;
}

String& String::operator+=(char c) {
    char text[2] = {c, 0};
    return append(text);
}

int String::length() const { return static_cast<int>(std::strlen(m_pData)); }

char& String::operator[](int index) {
    if (index < 0) index += length();
    return m_pData[index];
}

const char& String::operator[](int index) const {
    if (index < 0) index += length();
    return m_pData[index];
}

int String::find(const char* text, int start) const {
    int len = length();
    if (!text || start < 0 || start > len) return -1;
    const char* hit = std::strstr(m_pData + start, text);
    return hit ? static_cast<int>(hit - m_pData) : -1;
}

int String::find(char c, int start) const {
    int len = length();
    if (start < 0 || start > len) return -1;
    for (int i = start; i < len; ++i)
        if (m_pData[i] == c) return i;
    return -1;
}

int String::findLast(char c) const {
    for (int i = length() - 1; i >= 0; --i)
        if (m_pData[i] == c) return i;
    return -1;
}

int String::findFirstOf(const char* set, int start) const {
    int len = length();
    if (!set || !*set || start < 0 || start > len) return -1;
    for (int i = start; i < len; ++i)
        if (std::strchr(set, m_pData[i])) return i;
    return -1;
}

bool String::operator==(const char* text) const { return compareTo(m_pData, text ? text : "") == 0; }
bool String::operator<(const char* text) const { return compareTo(m_pData, text ? text : "") < 0; }
bool String::operator>(const char* text) const { return compareTo(m_pData, text ? text : "") > 0; }
bool String::operator<=(const char* text) const { return compareTo(m_pData, text ? text : "") <= 0; }
bool String::operator>=(const char* text) const { return compareTo(m_pData, text ? text : "") >= 0; }

String String::left(int n) const {
    int len = length();
    if (n < 0) n += len;
    if (n <= 0) return String();
    if (n > len) n = len;
    return String(m_pData, n);
}

String String::right(int n) const {
    int len = length();
    if (n <= 0) return String();
    int start = len - n;
    if (start < 0) start = 0;
    return String(m_pData + start);
}

String String::mid(int from, int to) const {
    int len = length();
    if (from < 0) from = 0;
    if (from >= len || to < from) return String();
    int n = to - from + 1;
    if (n > len - from) n = len - from;
    return String(m_pData + from, n);
}

String String::mid(int from) const {
    int len = length();
    if (from >= len) return String();
    if (from < 0) return *this;
    return right(len - from);
}

String String::trimLeft() const {
    const char* p = m_pData;
    while (*p && isBlank(*p)) ++p;
    if (!*p) return *this;  // all blank: returned as it is
    return String(p);
}

String String::trimRight() const {
    int n = length();
    while (n > 0 && isBlank(m_pData[n - 1])) --n;
    return String(m_pData, n);
}

String String::trim() const { return trimLeft().trimRight(); }

String String::toUpper() const {
    String out(*this);
    for (char* p = out.m_pData; *p; ++p) *p = upper(*p);
    return out;
}

String String::toLower() const {
    String out(*this);
    for (char* p = out.m_pData; *p; ++p) *p = lower(*p);
    return out;
}

String String::formatV(const char* fmt, va_list args) {
    if (!fmt) return String();
    // At most 4,095 characters; the last byte always ends the text.
    std::vsnprintf(g_formatBuffer, sizeof(g_formatBuffer), fmt, args);
    return String(g_formatBuffer);
}

String String::format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    String out = formatV(fmt, args);
    va_end(args);
    return out;
}

int String::sprintf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    String out = formatV(fmt, args);
    va_end(args);
    assign(out.c_str());
    return length();
}

int String::toInt(const char* text) { return (text && *text) ? std::atoi(text) : 0; }

float String::toFloat(const char* text) { return (text && *text) ? static_cast<float>(std::atof(text)) : 0.0f; }

String String::formatThousands(int value, const char* separator) {
    if (!separator || !*separator) return format("%d", value);
    // Group the digits of the magnitude; the sign stands in front of them.
    char digits[16];
    long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    std::snprintf(digits, sizeof(digits), "%lld", magnitude);
    int n = static_cast<int>(std::strlen(digits));
    String out(value < 0 ? "-" : "");
    for (int i = 0; i < n; ++i) {
        out += digits[i];
        int left = n - 1 - i;
        if (left > 0 && left % 3 == 0) out += separator;
    }
    return out;
}

String String::replaceFirst(const char* from, const char* to) const {
    if (!from || !*from) return *this;
    int i = find(from, 0);
    if (i < 0) return *this;
    String out = left(i);
    out += to ? to : "";
    out += m_pData + i + std::strlen(from);
    return out;
}

String String::replaceAll(const char* from, const char* to) const {
    if (!from || !*from) return *this;
    return replaceMatches(*this, *this, from, to);
}

String String::replaceAllIgnoreCase(const char* from, const char* to) const {
    if (!from || !*from) return *this;
    return replaceMatches(*this, toLower(), String(from).toLower().c_str(), to);
}

int String::utf8Length() const {
    int count = 0;
    for (const char* p = m_pData; *p; p = utf8Next(p)) ++count;
    return count;
}

const char* String::utf8At(int n) const {
    const char* p = m_pData;
    for (int i = 0; i < n && *p; ++i) p = utf8Next(p);
    return p;
}

String String::utf8Left(int n) const {
    if (n < 0) n += utf8Length();
    if (n <= 0) return String();
    const char* end = utf8At(n);
    return String(m_pData, static_cast<int>(end - m_pData));
}

String String::utf8Right(int n) const {
    if (n <= 0) return String();
    int start = utf8Length() - n;
    if (start < 0) start = 0;
    return String(utf8At(start));
}

String String::utf8Mid(int from, int to) const {
    if (to < from) return String();
    return utf8Left(to + 1).utf8Right(to - from + 1);
}

String String::utf8Mid(int from) const {
    if (from >= utf8Length()) return String();
    return String(utf8At(from));
}

String String::fromCodePoint(int codePoint) {
    unsigned cp = static_cast<unsigned>(codePoint);
    char bytes[5] = {0, 0, 0, 0, 0};
    if (cp <= 127) {
        bytes[0] = static_cast<char>(cp);
    } else if (cp <= 2047) {
        bytes[0] = static_cast<char>(0xC0 + (cp >> 6));
        bytes[1] = static_cast<char>(0x80 + (cp & 0x3F));
    } else if (cp <= 65535) {
        bytes[0] = static_cast<char>(0xE0 + (cp >> 12));
        bytes[1] = static_cast<char>(0x80 + ((cp >> 6) & 0x3F));
        bytes[2] = static_cast<char>(0x80 + (cp & 0x3F));
    } else {
        bytes[0] = static_cast<char>(0xF0 + ((cp >> 18) & 0x0F));
        bytes[1] = static_cast<char>(0x80 + ((cp >> 12) & 0x3F));
        bytes[2] = static_cast<char>(0x80 + ((cp >> 6) & 0x3F));
        bytes[3] = static_cast<char>(0x80 + (cp & 0x3F));
    }
    return String(bytes);
}

String operator+(const String& a, const String& b) {
    String out(a);
    out += b.c_str();
    return out;
}

String operator+(const String& a, const char* b) {
    String out(a);
    out += b;
    return out;
}

String operator+(const char* a, const String& b) {
    String out(a);
    out += b.c_str();
    return out;
}

}  // namespace Zep

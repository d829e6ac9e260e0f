#include "zep2/error.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace Zep {

namespace {

constexpr const char* kZepSource = ".\\src\\error";

// The live trace table. Static storage: zero at start, no allocation on push.
struct TraceTable {
    const char* messages[kTraceCapacity];
    const char* files[kTraceCapacity];
    int32_t lines[kTraceCapacity];
    uint8_t flags[kTraceCapacity];
    char details[kTraceCapacity][kTraceDetailSize];
    int32_t depth;  // may run past kTraceCapacity; deeper levels are not recorded
};

TraceTable g_trace;

char g_entryText[1024];

char* duplicate(const char* text) {
    size_t n = std::strlen(text);
    char* copy = new char[n + 1];
    std::memcpy(copy, text, n + 1);
    return copy;
}

// Index of the innermost recorded entry, or -1 when it is not recorded.
int innermost() {
    int level = g_trace.depth - 1;
    return (level >= 0 && level < kTraceCapacity) ? level : -1;
}

}  // namespace

int traceDepth() { return g_trace.depth; }

ScopeTrace::ScopeTrace(const char* message, const char* file, int line) noexcept {
    int level = g_trace.depth;
    if (level >= 0 && level < kTraceCapacity) {
        g_trace.messages[level] = message;
        g_trace.files[level] = file;
        g_trace.lines[level] = line;
        g_trace.flags[level] = 1;
        g_trace.details[level][0] = 0;
    }
    ++g_trace.depth;
}

ScopeTrace::~ScopeTrace() noexcept { --g_trace.depth; }

void ScopeTrace::setDetail(const char* text) noexcept {
    int level = innermost();
    if (level < 0 || !text) return;
    char* detail = g_trace.details[level];
    size_t n = strnlen(text, kTraceDetailSize - 1);
    std::memcpy(detail, text, n);
    detail[n] = 0;
}

void ScopeTrace::appendDetail(const char* text) noexcept {
    int level = innermost();
    if (level < 0 || !text) return;
    char* detail = g_trace.details[level];
    // The whole detail stays within 255 characters, not just the appended part.
    size_t have = strnlen(detail, kTraceDetailSize - 1);
    size_t n = strnlen(text, kTraceDetailSize - 1 - have);
    std::memcpy(detail + have, text, n);
    detail[have + n] = 0;
}

void ScopeTrace::clearDetail() noexcept {
    int level = innermost();
    if (level >= 0) g_trace.details[level][0] = 0;
}

TraceSnapshot::TraceSnapshot() {
    int n = g_trace.depth;
    if (n > kTraceCapacity) n = kTraceCapacity;
    if (n < 0) n = 0;
    fill(n, g_trace.messages, g_trace.files, g_trace.lines, g_trace.flags,
         [](int i) -> const char* { return g_trace.details[i]; });
}

TraceSnapshot::TraceSnapshot(const TraceSnapshot& other) {
    fill(other.depth, other.messages, other.files, other.lines, other.flags,
         [&other](int i) -> const char* { return other.details[i]; });
}

TraceSnapshot& TraceSnapshot::operator=(const TraceSnapshot& other) {
    if (this != &other) {
        TraceSnapshot copy(other);
        std::swap(messages, copy.messages);
        std::swap(files, copy.files);
        std::swap(details, copy.details);
        std::swap(flags, copy.flags);
        std::swap(lines, copy.lines);
        std::swap(depth, copy.depth);
    }
    return *this;
}

TraceSnapshot::~TraceSnapshot() { release(); }

template <class DetailAt>
void TraceSnapshot::fill(int n, const char* const* srcMessages, const char* const* srcFiles,
                         const int32_t* srcLines, const uint8_t* srcFlags, DetailAt detailAt) {
    messages = new const char*[n];
    files = new const char*[n];
    details = new char*[n];
    flags = new uint8_t[n];
    lines = new int32_t[n];
    for (int i = 0; i < n; ++i) {
        messages[i] = srcMessages[i];
        files[i] = srcFiles[i];
        lines[i] = srcLines[i];
        flags[i] = srcFlags[i];
        details[i] = nullptr;
    }
    depth = n;
    try {
        for (int i = 0; i < n; ++i) details[i] = duplicate(detailAt(i));
    } catch (...) {
        release();
        throw;
    }
}

void TraceSnapshot::release() {
    if (details) {
        for (int i = 0; i < depth; ++i) delete[] details[i];
    }
    delete[] messages;
    delete[] files;
    delete[] lines;
    delete[] flags;
    delete[] details;
    messages = nullptr;
    files = nullptr;
    details = nullptr;
    flags = nullptr;
    lines = nullptr;
    depth = 0;
}

const char* TraceSnapshot::getMessage(int i) const { return (i >= 0 && i < depth) ? messages[i] : ""; }
const char* TraceSnapshot::getFileName(int i) const { return (i >= 0 && i < depth) ? files[i] : ""; }
const char* TraceSnapshot::getDetail(int i) const { return (i >= 0 && i < depth) ? details[i] : ""; }
int TraceSnapshot::getLine(int i) const { return (i >= 0 && i < depth) ? lines[i] : 0; }
uint8_t TraceSnapshot::getFlag(int i) const { return (i >= 0 && i < depth) ? flags[i] : 0; }

const char* TraceSnapshot::entryText(int i) const {
    g_entryText[0] = 0;
    if (i < 0 || i >= depth) return g_entryText;
    const char* message = messages[i] ? messages[i] : "";
    size_t pos = 0;
    if (flags[i]) g_entryText[pos++] = '$';
    size_t n = strnlen(message, sizeof(g_entryText) - 1 - pos);
    std::memcpy(g_entryText + pos, message, n);
    g_entryText[pos + n] = 0;
    return g_entryText;
}

Exception::Exception(const char* file, int line, const char* message) : m_snapshot() {
    ZEP_TRACE("Zep::Exception::Exception");
    try {
        Exception::setMessage(message ? message : "");
        m_szFile = duplicate(file ? file : "");
    } catch (...) {
        delete[] m_szMessage;
        throw;
    }
    m_nLine = line;
    writeExceptionReport(*this);
}

Exception::Exception(const Exception& other) : m_snapshot(other.m_snapshot) {
    m_szMessage = duplicate(other.m_szMessage);
    try {
        m_szFile = duplicate(other.m_szFile);
    } catch (...) {
        delete[] m_szMessage;
        throw;
    }
    m_nLine = other.m_nLine;
}

Exception::~Exception() {
    delete[] m_szMessage;
    delete[] m_szFile;
}

void Exception::setMessage(const char* message) {
    char* copy = duplicate(message ? message : "");
    delete[] m_szMessage;
    m_szMessage = copy;
}

}  // namespace Zep

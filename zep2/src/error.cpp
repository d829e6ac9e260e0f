#include "zep2/error.h"

#include <algorithm>
#include <cstring>

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

// Index of the innermost recorded entry, or -1 when it is not recorded.
int innermost() {
    int level = g_trace.depth - 1;
    return (level >= 0 && level < kTraceCapacity) ? level : -1;
}

}  // namespace

int traceDepth() { return g_trace.depth; }

bool copyLiveTraceEntry(int i, LiveTraceEntry& entry) noexcept {
    if (i < 0 || i >= g_trace.depth || i >= kTraceCapacity) return false;
    entry.m_szMessage = g_trace.messages[i];
    entry.m_szFile = g_trace.files[i];
    entry.m_nLine = g_trace.lines[i];
    entry.m_nFlag = g_trace.flags[i];
    const size_t n = strnlen(g_trace.details[i], kTraceDetailSize - 1);
    std::memcpy(entry.m_szDetail, g_trace.details[i], n);
    entry.m_szDetail[n] = 0;
    return true;
}

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
    const int n = std::clamp(g_trace.depth, 0, kTraceCapacity);
    m_entries.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        m_entries.push_back(
            Entry{g_trace.messages[i], g_trace.files[i], g_trace.details[i], g_trace.lines[i], g_trace.flags[i]});
}

const TraceSnapshot::Entry* TraceSnapshot::at(int i) const {
    return (i >= 0 && i < getDepth()) ? &m_entries[static_cast<size_t>(i)] : nullptr;
}

const char* TraceSnapshot::getMessage(int i) const { return at(i) ? at(i)->m_szMessage : ""; }
const char* TraceSnapshot::getFileName(int i) const { return at(i) ? at(i)->m_szFile : ""; }
const char* TraceSnapshot::getDetail(int i) const { return at(i) ? at(i)->m_sDetail.c_str() : ""; }
int TraceSnapshot::getLine(int i) const { return at(i) ? at(i)->m_nLine : 0; }
uint8_t TraceSnapshot::getFlag(int i) const { return at(i) ? at(i)->m_nFlag : 0; }

const char* TraceSnapshot::entryText(int i) const {
    g_entryText[0] = 0;
    const Entry* entry = at(i);
    if (entry == nullptr) return g_entryText;
    const char* message = entry->m_szMessage ? entry->m_szMessage : "";
    size_t pos = 0;
    if (entry->m_nFlag) g_entryText[pos++] = '$';
    size_t n = strnlen(message, sizeof(g_entryText) - 1 - pos);
    std::memcpy(g_entryText + pos, message, n);
    g_entryText[pos + n] = 0;
    return g_entryText;
}

Exception::Exception(const char* file, int line, const char* message)
    : m_snapshot(), m_sFile(file ? file : ""), m_nLine(line) {
    ZEP_TRACE("Zep::Exception::Exception");
    Exception::setMessage(message);
    writeExceptionReport(*this);
}

void Exception::setMessage(const char* message) { m_sMessage = message ? message : ""; }

}  // namespace Zep

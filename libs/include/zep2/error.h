// Scope trace and the exception family.
//
// Every traced function opens with ZEP_TRACE("Class::function"); the guard pushes
// one entry on the global trace table and pops it when the function is left,
// normally or by an exception. Exceptions carry a snapshot of that table.
//
// Each source file names itself for the trace and for exceptions through a
// constant `kZepSource` visible where the macros are used:
//   namespace { constexpr const char* kZepSource = ".\\src\\str"; }
// Template headers declare it as a static member of their class instead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Zep {

constexpr int kTraceCapacity = 2048;
constexpr int kTraceDetailSize = 256;

// Raw view of the live table; depth may exceed kTraceCapacity, in which case
// only the first kTraceCapacity levels are recorded.
int traceDepth();

// One recorded level of the live table, copied by copyLiveTraceEntry.
struct LiveTraceEntry {
    const char* m_szMessage;  // the caller's literals
    const char* m_szFile;
    int32_t m_nLine;
    uint8_t m_nFlag;
    char m_szDetail[kTraceDetailSize];
};

// Copies level i of the live table (0 the outermost) into the caller's entry.
// It neither allocates nor locks, so a signal handler may call it. False when
// the level is not recorded: negative, at or past the depth, or past
// kTraceCapacity.
bool copyLiveTraceEntry(int i, LiveTraceEntry& entry) noexcept;

class ScopeTrace {
public:
    ScopeTrace(const char* message, const char* file, int line) noexcept;
    ~ScopeTrace() noexcept;
    ScopeTrace(const ScopeTrace&) = delete;
    ScopeTrace& operator=(const ScopeTrace&) = delete;

    // These act on the innermost live entry.
    static void setDetail(const char* text) noexcept;
    static void appendDetail(const char* text) noexcept;
    static void clearDetail() noexcept;
};

class TraceSnapshot {
public:
    TraceSnapshot();  // copy of the live table

    int getDepth() const { return static_cast<int>(m_entries.size()); }
    const char* getMessage(int i) const;
    const char* getFileName(int i) const;
    const char* getDetail(int i) const;
    int getLine(int i) const;
    uint8_t getFlag(int i) const;

    // "$" + message for flagged entries; empty past the ends. The text lives in
    // one static buffer shared by all calls, valid until the next call.
    const char* entryText(int i) const;

private:
    // One recorded level; message and file are the caller's literals.
    struct Entry {
        const char* m_szMessage;
        const char* m_szFile;
        std::string m_sDetail;
        int32_t m_nLine;
        uint8_t m_nFlag;
    };
    const Entry* at(int i) const;

    std::vector<Entry> m_entries;
};

class Exception {
public:
    Exception(const char* file, int line, const char* message);
    Exception(const Exception& other) = default;
    Exception& operator=(const Exception&) = delete;
    virtual ~Exception() = default;

    virtual const char* className() const { return "Exception"; }
    virtual const char* getMessage() const { return m_sMessage.c_str(); }
    virtual void setMessage(const char* message);
    virtual const char* getFile() const { return m_sFile.c_str(); }
    virtual int getLine() const { return m_nLine; }

    const TraceSnapshot& getSnapshot() const { return m_snapshot; }

private:
    TraceSnapshot m_snapshot;
    std::string m_sMessage;
    std::string m_sFile;
    int32_t m_nLine = 0;
};

// Writes the report block of a freshly built exception to the exception log,
// when one is set (see exclog.h).
void writeExceptionReport(const Exception& e);

#define ZEP_DECLARE_EXCEPTION(Name)                                             \
    class Name : public ::Zep::Exception {                                      \
    public:                                                                     \
        Name(const char* file, int line, const char* message)                   \
            : ::Zep::Exception(file, line, message) {}                          \
        Name(const Name& other) = default;                                      \
        const char* className() const override { return #Name; }                \
    }

ZEP_DECLARE_EXCEPTION(AssertFailException);
ZEP_DECLARE_EXCEPTION(FatalErrorException);
ZEP_DECLARE_EXCEPTION(BadStreamFormatException);
ZEP_DECLARE_EXCEPTION(BadStateException);
// A file that could not be opened, written or replaced. The system's reason
// (an errno value) travels with it, so a caller can tell a full disk from a
// folder it may not write without reading the message; 0 when none is known.
class FileAccessException : public Exception {
public:
    FileAccessException(const char* file, int line, const char* message, int nSystemError = 0)
        : Exception(file, line, message), m_nSystemError(nSystemError) {}
    FileAccessException(const FileAccessException& other) = default;
    const char* className() const override { return "FileAccessException"; }
    int getSystemError() const { return m_nSystemError; }

private:
    int32_t m_nSystemError;
};
ZEP_DECLARE_EXCEPTION(BadParmException);
ZEP_DECLARE_EXCEPTION(ResourceException);

}  // namespace Zep

ZEP_DECLARE_EXCEPTION(AnimationParserException);

#define ZEP_TRACE_CAT2(a, b) a##b
#define ZEP_TRACE_CAT(a, b) ZEP_TRACE_CAT2(a, b)

// Pushes a trace entry for the enclosing scope.
#define ZEP_TRACE(msg) ::Zep::ScopeTrace ZEP_TRACE_CAT(zepTrace_, __LINE__)(msg, kZepSource, __LINE__)
#define ZEP_TRACE_AT(msg, file) ::Zep::ScopeTrace ZEP_TRACE_CAT(zepTrace_, __LINE__)(msg, file, __LINE__)

// Throws ExType with this file's source name and line. `msg` is a C string.
#define ZEP_THROW(ExType, msg) throw ExType(kZepSource, __LINE__, (msg))

// Throws AssertFailException "Assertion failed : <expr>" when expr is false.
#define ZEP_ASSERT(expr)                                                        \
    do {                                                                        \
        if (!(expr))                                                            \
            throw ::Zep::AssertFailException(kZepSource, __LINE__,              \
                                             "Assertion failed : " #expr);      \
    } while (0)
#define ZEP_ASSERT_AT(expr, file)                                               \
    do {                                                                        \
        if (!(expr))                                                            \
            throw ::Zep::AssertFailException(file, __LINE__,                    \
                                             "Assertion failed : " #expr);      \
    } while (0)

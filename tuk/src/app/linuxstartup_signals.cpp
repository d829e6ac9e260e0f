// The game's crash handler (linuxstartup.h). Everything that runs inside the
// handler is async-signal-safe up to the platform's shutdown: no allocation,
// no stdio, no locks; the text is built in static buffers.
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdint>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "app/linuxstartup.h"
#include "base/oshelpers.h"

namespace linuxstartup {

namespace {

constexpr size_t kPathSize = 4096;
// A trace line: the prefix, the entry text (cut as the exception report
// cuts it), a blank and the detail, the line end.
constexpr size_t kLineSize = 8 + 1024 + 1 + Zep::kTraceDetailSize + 2;

char s_szLogPath[kPathSize];
// The log is standard error: the report goes there.
bool s_bStandardError = false;

// A line built in place, cut at its capacity.
class LineBuffer {
public:
    void clear() { m_nLength = 0; }
    void add(const char* szText) {
        for (; szText && *szText && m_nLength < kLineSize; ++szText) m_szText[m_nLength++] = *szText;
    }
    void add(const char* szText, size_t nMax) {
        for (size_t i = 0; szText && szText[i] && i < nMax && m_nLength < kLineSize; ++i)
            m_szText[m_nLength++] = szText[i];
    }
    void addDecimal(int nValue) {
        if (nValue < 0) add("-");
        uint32_t n = nValue < 0 ? 0u - static_cast<uint32_t>(nValue) : static_cast<uint32_t>(nValue);
        addDigits(n, 10);
    }
    void addHex(uint32_t nValue) { addDigits(nValue, 16); }
    // The line ends in "\n" even when its text was cut.
    void endLine() {
        if (m_nLength >= kLineSize) m_nLength = kLineSize - 1;
        m_szText[m_nLength++] = '\n';
    }
    const char* text() const { return m_szText; }
    size_t length() const { return m_nLength; }

private:
    void addDigits(uint32_t n, uint32_t nBase) {
        char szDigits[16];
        size_t nCount = 0;
        do {
            szDigits[nCount++] = "0123456789ABCDEF"[n % nBase];
            n /= nBase;
        } while (n);
        while (nCount && m_nLength < kLineSize) m_szText[m_nLength++] = szDigits[--nCount];
    }

    char m_szText[kLineSize];
    size_t m_nLength = 0;
};

LineBuffer s_line;

void writeAll(int nFd, const char* pData, size_t nSize) {
    while (nSize) {
        const ssize_t n = ::write(nFd, pData, nSize);
        if (n <= 0) return;
        pData += n;
        nSize -= static_cast<size_t>(n);
    }
}

void writeLine(int nFd) {
    s_line.endLine();
    writeAll(nFd, s_line.text(), s_line.length());
    s_line.clear();
}

// "M:   $message detail" for each recorded level, outermost first.
void writeTrace(int nFd) {
    static Zep::LiveTraceEntry entry;
    for (int i = 0; Zep::copyLiveTraceEntry(i, entry); ++i) {
        s_line.add("M:   ");
        if (entry.m_nFlag) s_line.add("$");
        s_line.add(entry.m_szMessage, 1023 - (entry.m_nFlag ? 1 : 0));
        if (entry.m_szDetail[0]) {
            s_line.add(" ");
            s_line.add(entry.m_szDetail);
        }
        writeLine(nFd);
    }
}

void writeReport(int nCode) {
    if (!s_bStandardError && !s_szLogPath[0]) return;
    const int nFd =
        s_bStandardError ? STDERR_FILENO : ::open(s_szLogPath, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (nFd < 0) return;
    s_line.clear();
    s_line.add("M: ** SIG ");
    s_line.addDecimal(nCode);
    s_line.add(" [");
    s_line.addHex(static_cast<uint32_t>(nCode));
    s_line.add("]");
    writeLine(nFd);
    writeTrace(nFd);
    if (nFd != STDERR_FILENO) ::close(nFd);
}

// The shutdown took too long: the process ends all the same.
void onShutdownAlarm(int) { ::_exit(1); }

}  // namespace

void installCrashHandler(const char* szLogPath) {
    s_bStandardError = !szLogPath;
    size_t n = 0;
    for (; szLogPath && szLogPath[n] && n < kPathSize - 1; ++n) s_szLogPath[n] = szLogPath[n];
    s_szLogPath[n] = 0;
    initSignals(signalHandler);
}

void signalHandler(int nCode) {
    writeReport(nCode);
    struct sigaction action {};
    action.sa_handler = onShutdownAlarm;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    ::alarm(kShutdownAlarmSeconds);
    // Best effort from here on: the platform leaves full screen.
    GameApp::fatalExit();
}

}  // namespace linuxstartup

#include "zep2/exclog.h"

#include "zep2/error.h"
#include "zep2/str.h"

namespace Zep {

namespace {

SmartPtr<Stream> g_pExceptionLog;
// Set while a block is being written: an exception raised by the log stream
// itself must not report into the same stream again.
bool g_bWritingReport = false;

}  // namespace

void setExceptionLog(SmartPtr<Stream> stream) { g_pExceptionLog = stream; }

SmartPtr<Stream> getExceptionLog() { return g_pExceptionLog; }

void writeExceptionReport(const Exception& e) {
    if (g_bWritingReport) return;
    SmartPtr<Stream> log = getExceptionLog();
    if (log.isNULL()) return;
    g_bWritingReport = true;
    try {
        // Written while the base part is built, so the class name is always
        // the base one.
        log->writeText("---------------------\n");
        log->writeText(String::format("%s in file %s, line %d : \n", e.className(), e.getFile(), e.getLine()));
        log->writeText(e.getMessage());
        log->writeText("\n");
        log->writeText("---------------------\n");
    } catch (...) {
        // A report that can't be written must not replace the exception it
        // reports on.
    }
    g_bWritingReport = false;
}

}  // namespace Zep

// The log file and the log report.
//
// The log is static so that the main function can open it before the
// application object exists and any part, drivers included, can write to it.
//
// Without a data folder, or when the log file can't be opened there, the log
// goes to standard error: lines named relative to wherever the program runs
// would land in a stranger's folder or nowhere.
#include <cstdarg>
#include <cstdio>

#include <zep2/error.h>
#include <zep2/file.h>
#include <zep2/logfile.h>
#include <zep2/memstream.h>
#include <zep2/platform_fs.h>
#include <zep2/zstream.h>

#include "application/gameapp.h"
#include "base/oshelpers.h"

namespace {

constexpr const char* kZepSource = ".\\src\\app_log";

constexpr const char* kStartupMarker = "== STARTUP ==";
constexpr int kReportLevel = 2;

Zep::SmartPtr<Zep::LogFile>& theLog() {
    static Zep::SmartPtr<Zep::LogFile> pLog;
    return pLog;
}

Zep::String& reportURL() {
    static Zep::String sURL;
    return sURL;
}

bool s_bLogDisabled = false;
bool s_bLogReportEnabled = false;

// The log written to standard error, each text as it comes.
class StandardErrorLog : public Zep::LogFile {
public:
    StandardErrorLog() : Zep::LogFile(GameApp::kStandardErrorLogName) {}
    int write(int nSize, const void* pBuffer) override {
        if (nSize <= 0 || !pBuffer) return 0;
        const size_t nWritten = std::fwrite(pBuffer, 1, static_cast<size_t>(nSize), stderr);
        std::fflush(stderr);
        return static_cast<int>(nWritten);
    }
    int length() override { return 0; }
};

bool s_bLogOnStandardError = false;

// Whether the file can be opened for appending (which creates it).
bool canAppendTo(const Zep::String& sPath) {
    FILE* pFile = Zep::platform_fs::openFile(sPath.c_str(), "ab");
    if (!pFile) return false;
    std::fclose(pFile);
    return true;
}

// The lines of the last start: from the last line holding the start-up marker
// to the end, behind "<n>\n" with that line's number. A last line without a
// line end is left out (it may be half written).
Zep::String collectLastStart(const char* szFileName) {
    int nStartLine = 0;
    {
        Zep::File file(szFileName, Zep::File::kModeRead);
        for (int nLine = 0;; ++nLine) {
            Zep::String sLine = file.readLine();
            if (sLine.isEmpty() && file.isEOF()) break;
            if (sLine.find(kStartupMarker) >= 0) nStartLine = nLine;
        }
    }
    Zep::File file(szFileName, Zep::File::kModeRead);
    for (int i = 0; i < nStartLine; ++i) file.readLine();
    Zep::String sText = Zep::String::format("<%d>\n", nStartLine);
    for (;;) {
        Zep::String sLine = file.readLine();
        if (file.isEOF()) break;
        sText += sLine;
    }
    return sText;
}

}  // namespace

void GameApp::log(const char* szFormat, ...) {
    Zep::LogFile* pLog = theLog().get();
    if (!pLog || !szFormat) return;
    va_list args;
    va_start(args, szFormat);
    Zep::String sText = Zep::String::formatV(szFormat, args);
    va_end(args);
    // A line that cannot be written is lost; the log never stops the program.
    pLog->writeText(sText.c_str());
}

void GameApp::openLog(const char* szPath) {
    if (s_bLogDisabled) return;
    closeLog();
    theLog() = new Zep::LogFile(szPath);
}

void GameApp::openLogOnStandardError() {
    if (s_bLogDisabled) return;
    closeLog();
    theLog() = new StandardErrorLog();
    s_bLogOnStandardError = true;
}

bool GameApp::isLogOnStandardError() { return s_bLogOnStandardError && getLog(); }

void GameApp::closeLog() {
    theLog() = nullptr;
    s_bLogOnStandardError = false;
}

void GameApp::initLogFile(const char* szPrefix, const char* szFolder) {
    const Zep::String sFolder = getUserDataFolder(szFolder);
    const Zep::String sPath = sFolder + Zep::String::format("%s.log", szPrefix ? szPrefix : "");
    if (sFolder.isEmpty() || !canAppendTo(sPath))
        openLogOnStandardError();
    else
        openLog(sPath.c_str());
}

Zep::LogFile* GameApp::getLog() { return theLog().get(); }

Zep::String GameApp::getLogFileName() {
    Zep::LogFile* pLog = theLog().get();
    return pLog ? pLog->getFileName() : Zep::String("dummy.log");
}

void GameApp::disableLog() { s_bLogDisabled = true; }

void GameApp::setLogReport(bool bEnable, const char* sURL) {
    ZEP_TRACE("GameApp::setLogReport");
    s_bLogReportEnabled = bEnable;
    if (bEnable) {
        ZEP_ASSERT(sURL);
        reportURL() = sURL;
    }
}

bool GameApp::reportLog() {
    ZEP_TRACE("GameApp::reportLog");
    if (!s_bLogReportEnabled) return false;
    s_bLogReportEnabled = false;

    log("U: Collecting log\n");
    Zep::String sText = "(unable to read log)";
    // Without an open log file there is nothing of ours to read or delete.
    if (getLog() && !isLogOnStandardError()) {
        Zep::String sFileName = getLogFileName();
        try {
            sText = collectLastStart(sFileName.c_str());
        } catch (const Zep::Exception&) {
            // The report goes out with what could be read.
        }
        Zep::File::remove(sFileName.c_str());
    }
    log("U: Log reset\n");

    Zep::SmartPtr<Zep::MemStream> pPacked(new Zep::MemStream());
    {
        Zep::SmartPtr<Zep::ZStream> pZip(new Zep::ZStream(pPacked.get(), kReportLevel));
        pZip->writeString(sText.c_str());
        pZip->finish();
    }
    Zep::String sURL = addURLQuerySeparator(reportURL().c_str()) + "rpt=" +
                       encodeBytes6(static_cast<const uint8_t*>(pPacked->getBuffer()), pPacked->length());

    log("U: URL size %d\n", sURL.length());
    openURL(sURL.c_str());
    log("U: Log sent\n");
    return true;
}

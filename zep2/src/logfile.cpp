#include "zep2/logfile.h"

#include <climits>
#include <cstdio>

#include "zep2/error.h"
#include "zep2/platform_fs.h"

namespace {
constexpr const char* kZepSource = ".\\src\\logfile";
}  // namespace

namespace Zep {

LogFile::LogFile(const char* szFileName) : m_sFileName(szFileName) {}

int LogFile::read(int, void*) {
    ZEP_TRACE("LogFile::read");
    ZEP_THROW(BadStateException, "Zep::LogFile::read : LogFiles can't be read");
}

int LogFile::write(int nSize, const void* pBuffer) {
    if (nSize <= 0 || !pBuffer) return 0;
    FILE* pFile = platform_fs::openFile(m_sFileName.c_str(), "ab");
    if (!pFile) {
        m_bError = true;
        return 0;
    }
    int nWritten = static_cast<int>(std::fwrite(pBuffer, 1, static_cast<size_t>(nSize), pFile));
    // Bytes still in the C runtime's buffer have not reached the file yet.
    if (std::fflush(pFile) != 0) nWritten = 0;
    std::fclose(pFile);
    if (nWritten != nSize) m_bError = true;
    return nWritten;
}

int LogFile::getPosition() {
    ZEP_TRACE("LogFile::getPosition");
    ZEP_THROW(BadStateException, "Zep::LogFile::read : LogFiles can't be seeked");
}

int LogFile::setPosition(int) {
    ZEP_TRACE("LogFile::setPosition");
    ZEP_THROW(BadStateException, "Zep::LogFile::read : LogFiles can't be seeked");
}

int LogFile::length() {
    FILE* pFile = platform_fs::openFile(m_sFileName.c_str(), "rb");
    if (!pFile) return 0;
    std::fseek(pFile, 0, SEEK_END);
    long nEnd = std::ftell(pFile);
    std::fclose(pFile);
    if (nEnd < 0) return 0;
    return nEnd > INT_MAX ? INT_MAX : static_cast<int>(nEnd);
}

}  // namespace Zep

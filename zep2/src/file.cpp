#include "zep2/file.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <vector>

#include "zep2/error.h"
#include "zep2/platform_fs.h"

namespace {
constexpr const char* kZepSource = ".\\src\\file";

constexpr int kLineBuffer = 4096;

int clampToInt(long n) {
    if (n > INT_MAX) return INT_MAX;
    if (n < 0) return -1;
    return static_cast<int>(n);
}
}  // namespace

namespace Zep {

File::File(const char* szName, int nMode) {
    ZEP_TRACE("File::File");
    const char* szShown = szName ? szName : "";
    const char* szModeText = nullptr;
    switch (nMode) {
        case kModeRead:
            if (!exists(szName))
                ZEP_THROW(FileAccessException, String::format("File::File : '%s' does not exist", szShown).c_str());
            szModeText = "rb";
            break;
        case kModeWrite:
            szModeText = "wb";
            break;
        case kModeUpdate: {
            // Created empty only when nothing at all is there: a file that
            // merely can't be read must not be truncated.
            String sPath = platform_fs::resolve(szName);
            if (!sPath.isEmpty() && !platform_fs::pathExists(sPath.c_str())) {
                if (FILE* pNew = platform_fs::openFile(szName, "wb")) std::fclose(pNew);
            }
            szModeText = "r+b";
            break;
        }
        default:
            ZEP_THROW(FileAccessException, String::format("File::File : unknown mode '%d'", nMode).c_str());
    }
    errno = 0;
    m_pHandle = szName ? platform_fs::openFile(szName, szModeText) : nullptr;
    if (!m_pHandle) {
        int nErr = szName ? errno : ENOENT;
        throw FileAccessException(
            kZepSource, __LINE__,
            String::format("File::File : can't open file %s (%s) [%d]", szShown, szModeText, nErr).c_str(), nErr);
    }
    std::fseek(m_pHandle, 0, SEEK_SET);
    m_nMode = nMode;
}

File::~File() {
    if (m_pHandle) std::fclose(m_pHandle);
    m_pHandle = nullptr;
}

// The C runtime needs a seek or flush between reading and writing the same
// handle; callers of an update-mode file need not care.
void File::switchTo(LastOp op) {
    if (m_eLastOp != LastOp::None && m_eLastOp != op) std::fseek(m_pHandle, 0, SEEK_CUR);
    m_eLastOp = op;
}

int File::read(int nSize, void* pBuffer) {
    if (nSize <= 0 || !pBuffer) return 0;
    switchTo(LastOp::Read);
    return static_cast<int>(std::fread(pBuffer, 1, static_cast<size_t>(nSize), m_pHandle));
}

int File::write(int nSize, const void* pBuffer) {
    if (nSize <= 0 || !pBuffer) return 0;
    switchTo(LastOp::Write);
    errno = 0;
    int nWritten = static_cast<int>(std::fwrite(pBuffer, 1, static_cast<size_t>(nSize), m_pHandle));
    if (nWritten != nSize) failed();
    return nWritten;
}

int File::getPosition() {
    return clampToInt(std::ftell(m_pHandle));
}

int File::setPosition(int nPosition) {
    m_eLastOp = LastOp::None;
    return std::fseek(m_pHandle, nPosition, SEEK_SET);
}

int File::length() {
    long nHere = std::ftell(m_pHandle);
    std::fseek(m_pHandle, 0, SEEK_END);
    long nEnd = std::ftell(m_pHandle);
    std::fseek(m_pHandle, nHere, SEEK_SET);
    m_eLastOp = LastOp::None;
    return clampToInt(nEnd);
}

bool File::supports(int nMode) {
    return (m_nMode & nMode) == nMode;
}

int File::remaining() {
    if (!supports(kRead)) return 0;
    int nLeft = length() - getPosition();
    return nLeft > 0 ? nLeft : 0;
}

bool File::flush() {
    errno = 0;
    if (std::fflush(m_pHandle) != 0) {
        failed();
        return false;
    }
    return true;
}

// The first failure's reason is the one kept: later calls on a broken
// stream may only echo it, or say nothing.
void File::failed() {
    m_bError = true;
    if (m_nSystemError == 0) m_nSystemError = errno != 0 ? errno : EIO;
}

bool File::hasError() {
    if (m_nMode & kWrite) flush();
    return m_bError;
}

void File::printf(const char* szFormat, ...) {
    va_list args;
    va_start(args, szFormat);
    String sText = String::formatV(szFormat, args);
    va_end(args);
    int n = sText.length();
    if (n > 0) write(n, sText.c_str());
}

String File::readLine() {
    char buffer[kLineBuffer];
    buffer[0] = 0;
    switchTo(LastOp::Read);
    if (!std::fgets(buffer, kLineBuffer, m_pHandle)) return String();
    return String(buffer);
}

int File::readAll(String& sText) {
    int n = length();
    sText = "";
    if (n <= 0) return 0;
    std::vector<char> bytes(static_cast<size_t>(n) + 1);
    int nRead = read(n, bytes.data());
    bytes[static_cast<size_t>(nRead)] = 0;
    sText.assign(bytes.data());
    return nRead;
}

String File::readAll() {
    String sText;
    readAll(sText);
    return sText;
}

bool File::isEOF() {
    return std::feof(m_pHandle) != 0;
}

bool File::exists(const char* szName) {
    if (!szName || !*szName) return false;
    String sPath = platform_fs::resolve(szName);
    // Opening a folder for reading succeeds here; it is still not a file.
    if (!platform_fs::isRegularFile(sPath.c_str())) return false;
    FILE* pFile = std::fopen(sPath.c_str(), "rb");
    if (!pFile) return false;
    std::fclose(pFile);
    return true;
}

int File::remove(const char* szName) {
    if (!exists(szName)) return 0;
    return platform_fs::removeFile(szName);
}

Directory::Directory(const char* szPath) : m_sPath(szPath) {
    int n = m_sPath.length();
    while (n > 0 && m_sPath[n - 1] == '\\') --n;
    if (n != m_sPath.length()) m_sPath = m_sPath.left(n);
}

void Directory::scan() {
    ZEP_TRACE("Directory::scan");
    m_lEntries.clear();
    platform_fs::listDir(m_sPath.c_str(), [this](const char* szName, bool bFolder) {
        SmartPtr<DirEntry> pEntry(new DirEntry(szName, bFolder ? DirEntry::kFolder : DirEntry::kFile));
        m_lEntries.add(pEntry);
    });
}

List<SmartPtr<DirEntry>> Directory::getEntries() {
    if (m_lEntries.isEmpty()) scan();
    return m_lEntries;
}

int Directory::getEntryCount() {
    if (m_lEntries.isEmpty()) scan();
    return m_lEntries.getCount();
}

SmartPtr<DirEntry> Directory::getEntry(int nIndex) {
    if (m_lEntries.isEmpty()) scan();
    if (nIndex < 0 || nIndex >= m_lEntries.getCount()) return SmartPtr<DirEntry>();
    return m_lEntries.get(nIndex);
}

}  // namespace Zep

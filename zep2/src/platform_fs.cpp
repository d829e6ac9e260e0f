#include "zep2/platform_fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "zep2/file.h"

namespace Zep::platform_fs {

namespace {

struct DirCloser {
    void operator()(DIR* pDir) const { ::closedir(pDir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

constexpr const char* kTempSuffix = ".tmp";

bool entryExists(const std::string& sPath) {
    struct stat st;
    return ::stat(sPath.c_str(), &st) == 0;
}

// Whether anything, a dangling link included, has the name.
bool nameTaken(const String& sPath) {
    struct stat st;
    return ::lstat(sPath.c_str(), &st) == 0;
}

// Hands what the system holds for the entry to the disk: 0 or the reason.
int syncEntry(const char* szNativePath, int nOpenFlags) {
    int fd = ::open(szNativePath, nOpenFlags | O_CLOEXEC);
    if (fd < 0) return errno;
    int nErr = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return nErr;
}

String folderOf(const String& sNativePath) {
    int nSlash = sNativePath.findLast('/');
    return nSlash < 0 ? String(".") : nSlash == 0 ? String("/") : sNativePath.left(nSlash);
}

// A folder itself, not a link to one, has the name.
bool folderNamed(const String& sPath) {
    struct stat st;
    return ::lstat(sPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Lets the writer fill a new file, then flushes and closes it: 0 or the
// reason the file met (EIO when the writer gave up on its own).
int fillFile(const String& sPath, const std::function<bool(File&)>& writer) {
    File file(sPath.c_str(), File::kModeWrite);
    bool bOk = writer(file);
    bOk = bOk && file.flush() && !file.hasError();
    if (bOk) return 0;
    return file.getSystemError() != 0 ? file.getSystemError() : EIO;
}

// The name in folder sDir that equals sName without regard to case; the
// smallest such name in byte order when there are several, so the choice does
// not depend on the order the folder happens to list them in.
bool findFolded(const std::string& sDir, const std::string& sName, std::string& sFound) {
    DirHandle pDir(::opendir(sDir.empty() ? "." : sDir.c_str()));
    if (!pDir) return false;
    bool bFound = false;
    while (struct dirent* pEnt = ::readdir(pDir.get())) {
        if (::strcasecmp(pEnt->d_name, sName.c_str()) != 0) continue;
        if (!bFound || std::strcmp(pEnt->d_name, sFound.c_str()) < 0) {
            sFound = pEnt->d_name;
            bFound = true;
        }
    }
    return bFound;
}

}  // namespace

String nativePath(const char* szPath) {
    String s(szPath);
    for (int i = 0, n = s.length(); i < n; ++i)
        if (s[i] == '\\') s[i] = '/';
    return s;
}

String resolve(const char* szPath) {
    String sNative = nativePath(szPath);
    std::string sIn(sNative.c_str());
    if (sIn.empty() || entryExists(sIn)) return sNative;

    // Walk the path, fixing the case of each component that does not exist
    // as written. Once a component matches nothing the rest is kept as given.
    std::string sOut;
    size_t nPos = 0;
    if (sIn[0] == '/') {
        sOut = "/";
        nPos = 1;
    }
    bool bLost = false;
    while (nPos <= sIn.size()) {
        size_t nEnd = sIn.find('/', nPos);
        if (nEnd == std::string::npos) nEnd = sIn.size();
        std::string sPart = sIn.substr(nPos, nEnd - nPos);
        bool bLast = nEnd == sIn.size();
        if (!sPart.empty() && sPart != "." && sPart != ".." && !bLost) {
            std::string sCandidate = sOut + sPart;
            if (!entryExists(sCandidate)) {
                std::string sFound;
                // sOut still ends in '/' or is empty here.
                std::string sDir = sOut.empty() ? std::string(".") : sOut;
                if (findFolded(sDir, sPart, sFound))
                    sPart = sFound;
                else
                    bLost = true;
            }
        }
        sOut += sPart;
        if (!bLast) sOut += '/';
        nPos = nEnd + 1;
    }
    return String(sOut.c_str());
}

bool pathExists(const char* szNativePath) {
    return szNativePath && entryExists(szNativePath);
}

bool isRegularFile(const char* szNativePath) {
    struct stat st;
    return szNativePath && ::stat(szNativePath, &st) == 0 && S_ISREG(st.st_mode);
}

bool isDirectory(const char* szNativePath) {
    struct stat st;
    return szNativePath && ::stat(szNativePath, &st) == 0 && S_ISDIR(st.st_mode);
}

FILE* openFile(const char* szPath, const char* szMode) {
    String sPath = resolve(szPath);
    return std::fopen(sPath.c_str(), szMode);
}

int removeFile(const char* szPath) {
    String sPath = resolve(szPath);
    return std::remove(sPath.c_str()) == 0 ? 0 : -1;
}

int renameFile(const char* szFrom, const char* szTo) {
    String sFrom = resolve(szFrom);
    String sTo = resolve(szTo);
    return std::rename(sFrom.c_str(), sTo.c_str()) == 0 ? 0 : -1;
}

bool makeFolder(const char* szNativePath) {
    return szNativePath && ::mkdir(szNativePath, 0755) == 0;
}

int probeNewFile(const char* szNativePath) {
    // O_EXCL: an existing file of that name is never opened, let alone removed.
    int fd = ::open(szNativePath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    ::close(fd);
    ::unlink(szNativePath);
    return 0;
}

String currentFolder() {
    // PATH_MAX is no limit on Linux; 64 KiB is far past any real working folder.
    constexpr size_t kMaxCwd = 65536;
    std::string sBuffer(256, '\0');
    while (sBuffer.size() <= kMaxCwd) {
        if (::getcwd(sBuffer.data(), sBuffer.size())) return String(sBuffer.c_str());
        if (errno != ERANGE) break;
        sBuffer.resize(sBuffer.size() * 2);
    }
    return String();
}

void detachStandardStreams() {
    int fd = ::open("/dev/null", O_RDWR);
    if (fd < 0) return;
    for (int nStream = 0; nStream <= 2; ++nStream) ::dup2(fd, nStream);
    if (fd > 2) ::close(fd);
}

int atomicReplace(const char* szPath, const std::function<bool(File&)>& writer) {
    String sTarget = resolve(szPath);
    // No file can take a folder's place; nothing is written beside it.
    if (folderNamed(sTarget)) return EISDIR;
    String sTemp = sTarget + kTempSuffix;
    int nErr = 0;
    try {
        nErr = fillFile(sTemp, writer);
    } catch (...) {
        ::unlink(sTemp.c_str());
        throw;
    }
    // Only bytes that reached the disk may replace the old file.
    if (nErr == 0) nErr = syncEntry(sTemp.c_str(), O_RDONLY);
    if (nErr == 0 && ::rename(sTemp.c_str(), sTarget.c_str()) != 0) nErr = errno;
    if (nErr != 0) {
        ::unlink(sTemp.c_str());
        return nErr;
    }
    // Makes the rename itself durable; if this fails the new file is still in
    // place, so it is not reported.
    syncEntry(folderOf(sTarget).c_str(), O_RDONLY | O_DIRECTORY);
    return 0;
}

WriteFailure writeFailureOf(int nSystemError) {
    switch (nSystemError) {
        case ENOSPC:
        case EDQUOT: return WriteFailure::kNoRoom;
        case EISDIR: return WriteFailure::kFolderInTheWay;
        case EACCES:
        case EPERM:
        case EROFS: return WriteFailure::kNoRight;
        default: return WriteFailure::kOther;
    }
}

String systemErrorText(int nSystemError) {
    return String(std::strerror(nSystemError != 0 ? nSystemError : EIO));
}

String moveAside(const char* szPath, const char* szSuffix) {
    String sFrom = resolve(szPath);
    String sBase = sFrom + (szSuffix ? szSuffix : "");
    for (int n = 0; n < kMaxAsideNames; ++n) {
        String sTo = n == 0 ? sBase : sBase + String::format(".%d", n);
        if (nameTaken(sTo)) continue;
        return ::rename(sFrom.c_str(), sTo.c_str()) == 0 ? sTo : String();
    }
    return String();
}

bool listDir(const char* szPath, const std::function<void(const char*, bool)>& fn) {
    String sPath = resolve(szPath);
    std::string sDir = sPath.isEmpty() ? std::string(".") : std::string(sPath.c_str());
    DirHandle pDir(::opendir(sDir.c_str()));
    if (!pDir) return false;
    while (struct dirent* pEnt = ::readdir(pDir.get())) {
        bool bFolder;
        if (pEnt->d_type == DT_DIR) {
            bFolder = true;
        } else if (pEnt->d_type == DT_UNKNOWN || pEnt->d_type == DT_LNK) {
            // No type from the folder itself, or a link: ask for what it points to.
            std::string sFull = sDir + "/" + pEnt->d_name;
            bFolder = isDirectory(sFull.c_str());
        } else {
            bFolder = false;
        }
        fn(pEnt->d_name, bFolder);
    }
    return true;
}

}  // namespace Zep::platform_fs

#include "zep2/platform_fs.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace Zep::platform_fs {

namespace {

struct DirCloser {
    void operator()(DIR* pDir) const { ::closedir(pDir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool entryExists(const std::string& sPath) {
    struct stat st;
    return ::stat(sPath.c_str(), &st) == 0;
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

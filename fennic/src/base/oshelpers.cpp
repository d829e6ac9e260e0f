#include "base/oshelpers.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <sys/sysinfo.h>
#include <sys/wait.h>
#include <unistd.h>

#include <zep2/error.h>
#include <zep2/list.h>
#include <zep2/memstream.h>
#include <zep2/platform_fs.h>
#include <zep2/random.h>

namespace {

constexpr const char* kZepSource = ".\\src\\oshelpers";

// Our own symbol table: letters, digits, '-' and '_' need no escaping in a
// URL query.
constexpr char kAlphabet6[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
static_assert(sizeof(kAlphabet6) == 65);

OpenURLHook& urlHook() {
    static OpenURLHook hook;
    return hook;
}

int symbolValue(char c) {
    const char* p = c ? std::strchr(kAlphabet6, c) : nullptr;
    return p ? static_cast<int>(p - kAlphabet6) : 0;
}

// Creates one folder level; an existing folder is fine, the writability probe
// that follows decides.
void makeFolder(const Zep::String& sPath) {
    if (!sPath.isEmpty()) Zep::platform_fs::makeFolder(sPath.c_str());
}

Zep::String withSlash(const Zep::String& sPath) {
    if (sPath.isEmpty() || sPath[sPath.length() - 1] == '/') return sPath;
    return sPath + "/";
}

// The base of the user data folders; "" when the environment names none.
Zep::String dataHomeName() {
    const char* szXdg = std::getenv("XDG_DATA_HOME");
    if (szXdg && szXdg[0] == '/') return withSlash(Zep::String(szXdg));
    const char* szHome = std::getenv("HOME");
    if (!szHome || !szHome[0]) return Zep::String();
    return withSlash(withSlash(Zep::String(szHome)) + ".local/share");
}

// The base of the user data folders, created when missing; "" when the
// environment names none.
Zep::String dataHome() {
    const Zep::String sBase = dataHomeName();
    // mkdir -p of the base: every level below the root.
    for (int i = 1; i < sBase.length(); ++i)
        if (sBase[i] == '/') makeFolder(sBase.left(i));
    return sBase;
}

// The levels of a sub-folder name, "\\" or "/" between them; empty ones dropped.
Zep::List<Zep::String> subFolderLevels(const char* szSubFolder) {
    Zep::List<Zep::String> lLevels;
    const Zep::String sSub = Zep::String(szSubFolder ? szSubFolder : "").replaceAll("\\", "/");
    int nStart = 0;
    while (nStart < sSub.length()) {
        int nEnd = sSub.find('/', nStart);
        if (nEnd < 0) nEnd = sSub.length();
        if (nEnd > nStart) lLevels.add(Zep::String(sSub.c_str() + nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return lLevels;
}

}  // namespace

bool isFolderWritable(const Zep::String& sFolder) {
    ZEP_TRACE("isFolderWritable");
    Zep::Random random;
    for (int nTry = 0; nTry < 16; ++nTry) {
        uint32_t a = random.next();
        uint32_t b = random.next();
        Zep::String sName = Zep::String::format("%s%08X%08X", sFolder.c_str(), a, b);
        int nErr = Zep::platform_fs::probeNewFile(sName.c_str());
        if (nErr == 0) return true;
        if (nErr != EEXIST) return false;
    }
    return false;
}

Zep::String getUserDataFolder(const char* szSubFolder) {
    ZEP_TRACE("getUserDataFolder");
    Zep::String sPath = dataHome();
    // No data home named: no folder, rather than one relative to wherever
    // the program happens to run.
    if (sPath.isEmpty() || !isFolderWritable(sPath)) return Zep::String();
    for (const Zep::String& sLevel : subFolderLevels(szSubFolder)) {
        sPath += sLevel;
        makeFolder(sPath);
        sPath += "/";
        if (!isFolderWritable(sPath)) return Zep::String();
    }
    return sPath;
}

Zep::String getUserDataFolderName(const char* szSubFolder) {
    Zep::String sPath = dataHomeName();
    if (sPath.isEmpty()) return sPath;
    for (const Zep::String& sLevel : subFolderLevels(szSubFolder)) sPath += sLevel + "/";
    return sPath;
}

Zep::String getCurrentFolder() { return withSlash(Zep::platform_fs::currentFolder()); }

Zep::String getFullPath(const char* szPath) {
    Zep::String sPath(szPath);
    if (sPath.isEmpty() || sPath[0] != '/') sPath = withSlash(Zep::platform_fs::currentFolder()) + sPath;
    // Fold the path one component at a time; ".." above the root stays at it.
    std::vector<std::string> vParts;
    std::string sAll(sPath.c_str());
    size_t nStart = 0;
    while (nStart <= sAll.size()) {
        size_t nEnd = sAll.find('/', nStart);
        if (nEnd == std::string::npos) nEnd = sAll.size();
        std::string sPart = sAll.substr(nStart, nEnd - nStart);
        if (sPart == "..") {
            if (!vParts.empty()) vParts.pop_back();
        } else if (!sPart.empty() && sPart != ".") {
            vParts.push_back(sPart);
        }
        nStart = nEnd + 1;
    }
    std::string sOut;
    for (const std::string& sPart : vParts) sOut += "/" + sPart;
    return Zep::String(sOut.empty() ? "/" : sOut.c_str());
}

void returnFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

bool getMemoryStatusMB(int* pAvailable, int* pTotal) {
    long long nAvailableKB = -1;
    long long nTotalKB = -1;
    // MemAvailable counts reclaimable cache, which is what "available" means
    // to a user; sysinfo's free memory does not.
    if (FILE* pFile = std::fopen("/proc/meminfo", "r")) {
        char szLine[256];
        while (std::fgets(szLine, sizeof(szLine), pFile)) {
            long long nValue = 0;
            if (std::sscanf(szLine, "MemTotal: %lld kB", &nValue) == 1) nTotalKB = nValue;
            else if (std::sscanf(szLine, "MemAvailable: %lld kB", &nValue) == 1) nAvailableKB = nValue;
        }
        std::fclose(pFile);
    }
    if (nTotalKB < 0 || nAvailableKB < 0) {
        struct sysinfo info {};
        if (::sysinfo(&info) == 0) {
            long long nUnit = info.mem_unit ? info.mem_unit : 1;
            if (nTotalKB < 0) nTotalKB = static_cast<long long>(info.totalram) * nUnit / 1024;
            if (nAvailableKB < 0) nAvailableKB = static_cast<long long>(info.freeram) * nUnit / 1024;
        }
    }
    bool bKnown = nTotalKB >= 0 && nAvailableKB >= 0;
    if (pAvailable) *pAvailable = bKnown ? static_cast<int>(nAvailableKB >> 10) : 0;
    if (pTotal) *pTotal = bKnown ? static_cast<int>(nTotalKB >> 10) : 0;
    return bKnown;
}

Zep::String addURLQuerySeparator(const char* szURL) {
    Zep::String sURL(szURL);
    sURL += sURL.find('?') < 0 ? "?" : "&";
    return sURL;
}

void setOpenURLHook(OpenURLHook hook) { urlHook() = std::move(hook); }

void openURL(const char* szURL) {
    ZEP_TRACE("openURL");
    if (!szURL) return;
    if (urlHook()) {
        urlHook()(szURL);
        return;
    }
    // The URL carries log text: it goes to the browser as one argument, never
    // through a shell. A grandchild runs the opener so that nothing is left
    // for us to reap and we never wait on the browser.
    char szProgram[] = "xdg-open";
    std::string sArg(szURL);
    char* argv[] = {szProgram, sArg.data(), nullptr};
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::fork() == 0) {
            Zep::platform_fs::detachStandardStreams();
            restoreSignalsForChild();
            ::setsid();
            ::execvp(szProgram, argv);
            ::_exit(127);
        }
        ::_exit(0);
    }
    if (pid > 0) {
        int nStatus = 0;
        while (::waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
        }
    }
}

Zep::String encodeBytes6(const uint8_t* pData, int nSize) {
    Zep::String sOut;
    if (!pData || nSize <= 0) return sOut;
    sOut.reserve((nSize + 2) / 3 * 4 + 1);
    for (int i = 0; i < nSize; i += 3) {
        uint8_t b0 = pData[i];
        uint8_t b1 = i + 1 < nSize ? pData[i + 1] : 0;
        uint8_t b2 = i + 2 < nSize ? pData[i + 2] : 0;
        char group[5] = {kAlphabet6[b0 >> 2], kAlphabet6[((b0 & 3) << 4) | (b1 >> 4)],
                         kAlphabet6[((b1 & 15) << 2) | (b2 >> 6)], kAlphabet6[b2 & 63], 0};
        sOut += group;
    }
    return sOut;
}

Zep::SmartPtr<Zep::MemStream> decodeBytes6(const char* szText) {
    Zep::SmartPtr<Zep::MemStream> pOut(new Zep::MemStream());
    if (!szText) return pOut;
    size_t nLength = std::strlen(szText);
    for (size_t i = 0; i + 4 <= nLength; i += 4) {
        int p0 = symbolValue(szText[i]);
        int p1 = symbolValue(szText[i + 1]);
        int p2 = symbolValue(szText[i + 2]);
        int p3 = symbolValue(szText[i + 3]);
        uint8_t bytes[3] = {static_cast<uint8_t>((p0 << 2) | ((p1 >> 4) & 3)),
                            static_cast<uint8_t>(((p1 & 15) << 4) | ((p2 >> 2) & 15)),
                            static_cast<uint8_t>(((p2 & 3) << 6) | (p3 & 63))};
        pOut->write(3, bytes);
    }
    pOut->setPosition(0);
    return pOut;
}

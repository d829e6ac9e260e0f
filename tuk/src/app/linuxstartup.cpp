// The start-up steps of the Linux desktop: window class, instance lock and
// its folder, log size, program folder and parent window (linuxstartup.h).
#include "app/linuxstartup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include <zep2/error.h>

namespace linuxstartup {

namespace {

constexpr const char* kZepSource = ".\\src\\linuxstartup";

// Made with mode 0700 when missing; taken only when it is a real folder
// owned by this user that nobody else can write (a link or someone else's
// folder in a shared place could lead the lock anywhere).
bool isPrivateFolder(const std::string& sPath) {
    ::mkdir(sPath.c_str(), 0700);
    struct stat info {};
    return ::lstat(sPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The variable's value when it names an absolute path, else "".
std::string absolutePathOf(const char* szVariable) {
    const char* szValue = std::getenv(szVariable);
    return szValue && szValue[0] == '/' ? std::string(szValue) : std::string();
}

bool isLockNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
           c == '-';
}

}  // namespace

Zep::String windowClassOf(const Zep::List<Zep::String>& lWords) {
    const int i = lWords.indexOf(Zep::String("--wndclass"));
    return i >= 0 && i + 1 < lWords.getCount() ? lWords.get(i + 1) : Zep::String(kWindowClass);
}

Zep::String instanceLockName(const char* szWindowClass) {
    std::string sName = szWindowClass ? szWindowClass : "";
    for (char& c : sName)
        if (!isLockNameChar(c)) c = '_';
    return Zep::String(("instance-" + sName + ".lock").c_str());
}

InstanceLock::InstanceLock(const Zep::String& sFolder, const char* szWindowClass) {
    if (sFolder.isEmpty()) return;
    const Zep::String sPath = sFolder + instanceLockName(szWindowClass);
    m_nFd = ::open(sPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    // A lock file that cannot be made is a folder that cannot be written.
    if (m_nFd < 0) return;
    m_bTaken = ::flock(m_nFd, LOCK_EX | LOCK_NB) == 0;
}

InstanceLock::~InstanceLock() {
    if (m_nFd >= 0) ::close(m_nFd);
}

Zep::String lockFolder(const Zep::String& sDataFolder) {
    return sDataFolder.isEmpty() ? privateRuntimeFolder() : sDataFolder;
}

Zep::String privateRuntimeFolder() {
    const std::string sRuntime = absolutePathOf("XDG_RUNTIME_DIR");
    if (!sRuntime.empty()) {
        const std::string sFolder = sRuntime + "/" + kRuntimeFolder;
        if (isPrivateFolder(sFolder)) return Zep::String((sFolder + "/").c_str());
    }
    std::string sTemp = absolutePathOf("TMPDIR");
    if (sTemp.empty()) sTemp = "/tmp";
    const std::string sFolder = sTemp + "/" + kRuntimeFolder + "-" + std::to_string(::geteuid());
    return isPrivateFolder(sFolder) ? Zep::String((sFolder + "/").c_str()) : Zep::String();
}

Zep::String unsavedProgressNotice(const Zep::String& sFolder) {
    if (sFolder.isEmpty())
        return "TUK: progress will not be saved: there is no data folder (neither XDG_DATA_HOME nor HOME is set)\n";
    return Zep::String("TUK: progress will not be saved: ") + sFolder + " can't be written\n";
}

void removeOversizedLog(const char* szPath, int nLimit) {
    struct stat info {};
    if (szPath && ::stat(szPath, &info) == 0 && info.st_size > nLimit) ::unlink(szPath);
}

bool changeToProgramFolder() {
    char szPath[4096];
    const ssize_t n = ::readlink("/proc/self/exe", szPath, sizeof(szPath) - 1);
    if (n <= 0) return false;
    szPath[n] = 0;
    std::string sFolder(szPath);
    const size_t nSlash = sFolder.rfind('/');
    if (nSlash == std::string::npos) return false;
    sFolder.resize(nSlash == 0 ? 1 : nSlash);
    return ::chdir(sFolder.c_str()) == 0;
}

void applyParentWindow(const Zep::List<Zep::String>& lWords) {
    ZEP_TRACE("applyParentWindow");
    const int i = lWords.indexOf(Zep::String("--pw"));
    if (i < 0) return;
    const auto nHigh = static_cast<uint32_t>(lWords[i + 1].toInt());
    const auto nLow = static_cast<uint32_t>(lWords[i + 2].toInt());
    const uint64_t nWindow = (static_cast<uint64_t>(nHigh) << 32) | nLow;
    ::setenv("SDL_WINDOWID", std::to_string(nWindow).c_str(), 1);
}

}  // namespace linuxstartup

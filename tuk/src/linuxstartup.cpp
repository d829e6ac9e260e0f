// The start-up steps of the Linux desktop: window class, instance lock, log
// size, program folder and parent window (linuxstartup.h).
#include "linuxstartup.h"

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

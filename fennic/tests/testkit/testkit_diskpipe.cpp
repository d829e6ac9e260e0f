#include "testkit/testkit_diskpipe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace testkit {

namespace {

// The smallest pipe the system allows (one page), so little sound waits in it.
constexpr int kPipeBytes = 4096;

}  // namespace

DiskAudioPipe::DiskAudioPipe(std::string sPath) : m_sPath(std::move(sPath)) {
    ::unlink(m_sPath.c_str());
    ::mkfifo(m_sPath.c_str(), 0600);
}

// Closing the reading end under an open device would break its next write:
// callers close the device first (close).
DiskAudioPipe::~DiskAudioPipe() {
    if (m_nFd >= 0) ::close(m_nFd);
}

bool DiskAudioPipe::open() {
    if (m_nFd >= 0) return false;
    m_sBytes.clear();
    // Without O_NONBLOCK the open would wait for the writer.
    m_nFd = ::open(m_sPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_nFd < 0) return false;
    ::fcntl(m_nFd, F_SETPIPE_SZ, kPipeBytes);
    const int nFlags = ::fcntl(m_nFd, F_GETFL);
    return nFlags >= 0 && ::fcntl(m_nFd, F_SETFL, nFlags & ~O_NONBLOCK) == 0;
}

bool DiskAudioPipe::take(size_t nBytes) {
    char aBuffer[kPipeBytes];
    while (m_nFd >= 0 && nBytes > 0) {
        const ssize_t n = ::read(m_nFd, aBuffer, std::min(nBytes, sizeof aBuffer));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        m_sBytes.append(aBuffer, static_cast<size_t>(n));
        nBytes -= static_cast<size_t>(n);
    }
    return nBytes == 0;
}

void DiskAudioPipe::readToEnd() {
    char aBuffer[kPipeBytes];
    for (;;) {
        const ssize_t n = ::read(m_nFd, aBuffer, sizeof aBuffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        m_sBytes.append(aBuffer, static_cast<size_t>(n));
    }
}

void DiskAudioPipe::close(const std::function<void()>& fnClose) {
    if (m_nFd < 0) {
        fnClose();
        return;
    }
    std::thread reader([this] { readToEnd(); });
    fnClose();
    reader.join();
    ::close(m_nFd);
    m_nFd = -1;
}

}  // namespace testkit

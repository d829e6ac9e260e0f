// Child processes for the tests that run the game's program for real: started
// with the test's environment and a few variables changed, standard error
// into a file or a pipe, waited for with a time limit, and killed if still
// running at the end.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "testkit/testkit_wait.h"

extern char** environ;

namespace processtest {

using testkit::waitFor;
using testkit::waitUntil;

inline int countOf(const std::string& sText, const std::string& sPart) {
    int n = 0;
    for (size_t i = sText.find(sPart); i != std::string::npos; i = sText.find(sPart, i + 1)) ++n;
    return n;
}

class Child {
public:
    using Env = std::vector<std::pair<std::string, std::string>>;

    // The program with the words, the environment changed by vEnv (an empty
    // value unsets the variable), standard error into sErrorFile.
    Child(const std::string& sProgram, const std::vector<std::string>& vWords, const Env& vEnv,
          const std::string& sErrorFile) {
        const int nError = ::open(sErrorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        start(sProgram, vWords, vEnv, nError);
        ::close(nError);
    }
    // The same with standard error into the descriptor, which stays the caller's.
    Child(const std::string& sProgram, const std::vector<std::string>& vWords, const Env& vEnv, int nErrorFd) {
        start(sProgram, vWords, vEnv, nErrorFd);
    }
    ~Child() {
        if (m_pid > 0 && m_nStatus < 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The exit code once the child has ended within the time, 128 + the
    // signal when a signal ended it, -1 while it still runs.
    int wait(int nMilliseconds) {
        waitUntil([this] { return m_nStatus >= 0 || reap(); }, nMilliseconds);
        if (m_nStatus < 0) return -1;
        return WIFEXITED(m_nStatus) ? WEXITSTATUS(m_nStatus) : 128 + WTERMSIG(m_nStatus);
    }
    void signal(int nSignal) { ::kill(m_pid, nSignal); }

private:
    void start(const std::string& sProgram, const std::vector<std::string>& vWords, const Env& vEnv,
               int nErrorFd) {
        std::vector<std::string> vArgs{sProgram};
        vArgs.insert(vArgs.end(), vWords.begin(), vWords.end());
        std::vector<std::string> vEnvironment;
        for (char** p = environ; *p; ++p) {
            const std::string sEntry(*p);
            bool bChanged = false;
            for (const auto& [sName, sValue] : vEnv) bChanged |= sEntry.rfind(sName + "=", 0) == 0;
            if (!bChanged) vEnvironment.push_back(sEntry);
        }
        for (const auto& [sName, sValue] : vEnv)
            if (!sValue.empty()) vEnvironment.push_back(sName + "=" + sValue);
        // Everything the child needs is made before the fork.
        std::vector<char*> vArgv = pointers(vArgs);
        std::vector<char*> vEnvp = pointers(vEnvironment);
        const int nNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(nNull, 0);
            ::dup2(nNull, 1);
            ::dup2(nErrorFd, 2);
            ::execve(vArgv[0], vArgv.data(), vEnvp.data());
            ::_exit(127);
        }
        ::close(nNull);
    }
    static std::vector<char*> pointers(std::vector<std::string>& vTexts) {
        std::vector<char*> v;
        for (std::string& s : vTexts) v.push_back(s.data());
        v.push_back(nullptr);
        return v;
    }
    bool reap() {
        int nStatus = 0;
        if (::waitpid(m_pid, &nStatus, WNOHANG) != m_pid) return false;
        m_nStatus = nStatus;
        return true;
    }

    pid_t m_pid = -1;
    int m_nStatus = -1;
};

// A pipe that a child writes into (its standard error) and the test reads,
// until the test leaves: then the child's writes find no reader.
class ReadPipe {
public:
    ReadPipe() {
        if (::pipe2(m_aFds, O_CLOEXEC) != 0) m_aFds[0] = m_aFds[1] = -1;
    }
    ~ReadPipe() { leave(); }
    ReadPipe(const ReadPipe&) = delete;
    ReadPipe& operator=(const ReadPipe&) = delete;

    int writeEnd() const { return m_aFds[1]; }
    // Everything that came through so far (read without waiting).
    const std::string& text() {
        char aBuffer[4096];
        pollfd ready{m_aFds[0], POLLIN, 0};
        while (m_aFds[0] >= 0 && ::poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN)) {
            const ssize_t n = ::read(m_aFds[0], aBuffer, sizeof aBuffer);
            if (n <= 0) break;
            m_sText.append(aBuffer, static_cast<size_t>(n));
        }
        return m_sText;
    }
    // The reader goes away: the test's ends are closed.
    void leave() {
        for (int& nFd : m_aFds)
            if (nFd >= 0) ::close(nFd), nFd = -1;
    }

private:
    int m_aFds[2] = {-1, -1};
    std::string m_sText;
};

}  // namespace processtest

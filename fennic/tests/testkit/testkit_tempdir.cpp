#include "testkit/testkit_tempdir.h"

#include <cstdlib>
#include <filesystem>

namespace testkit {

TempDir::TempDir() : m_sPath(m_folder.root() + "/") {}

TempDir::~TempDir() = default;

std::string readFileBytes(const std::string& sPath) { return testutil::getFile(sPath); }

void writeFileBytes(const std::string& sPath, const std::string& sBytes) { testutil::putFile(sPath, sBytes); }

bool fileExists(const std::string& sPath) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(sPath, error));
}

ScopedEnv::ScopedEnv(const char* szName, const char* szValue) : m_sName(szName) {
    if (const char* szOld = std::getenv(szName)) {
        m_bHadOld = true;
        m_sOld = szOld;
    }
    if (szValue) ::setenv(szName, szValue, 1);
    else ::unsetenv(szName);
}

ScopedEnv::~ScopedEnv() {
    if (m_bHadOld) ::setenv(m_sName.c_str(), m_sOld.c_str(), 1);
    else ::unsetenv(m_sName.c_str());
}

}  // namespace testkit

#include "testkit_tempdir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace testkit {

TempDir::TempDir() {
    std::string sBase = ::testing::TempDir();
    if (sBase.empty() || sBase.back() != '/') sBase += '/';
    std::string sTemplate = sBase + "fennic_XXXXXX";
    std::vector<char> buffer(sTemplate.begin(), sTemplate.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
    m_sPath = std::string(buffer.data()) + "/";
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::remove_all(m_sPath, error);
}

std::string readFileBytes(const std::string& sPath) {
    std::ifstream in(sPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::string& sPath, const std::string& sBytes) {
    std::ofstream out(sPath, std::ios::binary | std::ios::trunc);
    out.write(sBytes.data(), static_cast<std::streamsize>(sBytes.size()));
}

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

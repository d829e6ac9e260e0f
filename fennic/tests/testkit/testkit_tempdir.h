// A temporary folder for one test, removed with everything in it.
#pragma once

#include <string>

#include "../../../zep2/tests/test_util.h"

namespace testkit {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending in "/".
    const std::string& path() const { return m_sPath; }
    std::string file(const std::string& sName) const { return m_sPath + sName; }

private:
    testutil::TempFolder m_folder;
    std::string m_sPath;
};

// Whole-file helpers for checking what code under test wrote.
std::string readFileBytes(const std::string& sPath);
void writeFileBytes(const std::string& sPath, const std::string& sBytes);
bool fileExists(const std::string& sPath);

// Sets an environment variable for the life of the object, restoring the old
// value (or its absence) afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* szName, const char* szValue);  // null value: unset
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_sName;
    std::string m_sOld;
    bool m_bHadOld = false;
};

}  // namespace testkit

// The fixtures most suites share: an application whose log and settings live
// in a temporary folder, resources held in memory, a working folder of the
// test's own, and the message of the exception a call throws.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include <zep2/resource.h>

#include "../../../zep2/tests/test_util.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_tempdir.h"

namespace testkit {

using testutil::messageOf;

inline Zep::SmartPtr<Zep::Resource> resource(const std::string& sBytes) {
    Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(static_cast<int>(sBytes.size()), nullptr, true);
    if (!sBytes.empty()) std::memcpy(p->getData(), sBytes.data(), sBytes.size());
    return p;
}

inline std::unique_ptr<Zep::MemoryResourceProvider> memoryProvider(
    std::initializer_list<std::pair<const char*, std::string>> lEntries = {}) {
    auto p = std::make_unique<Zep::MemoryResourceProvider>();
    for (const auto& entry : lEntries) p->add(entry.first, resource(entry.second));
    return p;
}

// A test application with its log and settings in a temporary folder.
template <class App = TestApp>
class AppTest : public ::testing::Test {
protected:
    TempDir m_dir;
    AppFiles m_files{m_dir};
    App m_app;
};

// The same with one memory provider that the test fills.
class ResourceTest : public AppTest<> {
protected:
    void SetUp() override {
        auto pProvider = memoryProvider();
        m_pProvider = pProvider.get();
        m_app.addResourceProvider(std::move(pProvider), false);
    }
    void add(const char* szName, const std::string& sBytes) { m_pProvider->add(szName, resource(sBytes)); }

    Zep::MemoryResourceProvider* m_pProvider = nullptr;
};

// Works in another folder for the life of the object.
class ScopedChdir {
public:
    explicit ScopedChdir(const std::string& sPath) : m_old(std::filesystem::current_path()) {
        std::filesystem::current_path(sPath);
    }
    ~ScopedChdir() { std::filesystem::current_path(m_old); }

private:
    std::filesystem::path m_old;
};

}  // namespace testkit

// An application on the test kit's fake platform and video driver, logging
// into the benchmark's temporary folder: for the benchmarks that step and
// draw modes headless.
#pragma once

#include <memory>
#include <string>

#include "bench_tempdir.h"
#include "application/gameapp.h"
#include "image/memimage.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"

namespace bench {

class FakeScreenApp {
public:
    explicit FakeScreenApp(const std::string& sLogName) {
        GameApp::openLog(tempFile(sLogName).c_str());
        m_pApp = std::make_unique<GameApp>();
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        auto pVideo = std::make_unique<testkit::FakeVideoDriver>();
        m_pVideo = pVideo.get();
        pPlatform->setVideoDriver(std::move(pVideo));
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_pApp->setPlatform(std::move(pPlatform));
    }
    ~FakeScreenApp() {
        m_pApp.reset();
        GameApp::closeLog();
    }
    FakeScreenApp(const FakeScreenApp&) = delete;
    FakeScreenApp& operator=(const FakeScreenApp&) = delete;

    GameApp& app() { return *m_pApp; }
    testkit::FakeVideoDriver& video() { return *m_pVideo; }

private:
    std::unique_ptr<GameApp> m_pApp;
    testkit::FakeVideoDriver* m_pVideo = nullptr;
};

}  // namespace bench

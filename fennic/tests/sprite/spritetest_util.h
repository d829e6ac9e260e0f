// The set-up of the sprite, mode and theme suites: a test application on the
// fake platform with the fake video driver (800 x 600) and in-memory images.
#pragma once

#include <memory>

#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_video.h"

namespace spritetest {

template <class App = testkit::TestApp>
class AppWithScreen : public testkit::AppTest<App> {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        m_pPlatform = pPlatform.get();
        auto pVideo = std::make_unique<testkit::FakeVideoDriver>();
        m_pVideo = pVideo.get();
        m_pPlatform->setVideoDriver(std::move(pVideo));
        m_pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        this->m_app.setPlatform(std::move(pPlatform));
    }

    testkit::FakePlatform* m_pPlatform = nullptr;
    testkit::FakeVideoDriver* m_pVideo = nullptr;
};

// A w x h picture with the insertion point (insX, insY).
inline Zep::SmartPtr<Image> picture(int w, int h, int nInsX, int nInsY, bool bAlpha = true) {
    Zep::SmartPtr<MemImage> p = imagetest::makeImage(w, h, bAlpha);
    p->setInsPoint(nInsX, nInsY);
    return Zep::SmartPtr<Image>(p.get());
}

}  // namespace spritetest

// Helpers of the animation suites: an application with the start-up's frame
// rate, an image factory that makes a named 2 x 1 picture for any name (names
// starting "missing" are not found), and scripts served from memory.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "anim/animation.h"
#include "anim/animscript_reader.h"
#include "image/imagetest_util.h"
#include "testkit/testkit_fixtures.h"
#include "testkit/testkit_platform.h"

namespace animtest {

class AnimApp : public testkit::TestApp {
public:
    AnimApp() { m_nFramesPerSecond = 60; }
};

// A 2 x 1 picture that knows its name: (10, 20, 30, 255) then (40, 50, 60, 255).
class NamedImage : public MemImage {
public:
    explicit NamedImage(const char* szName) : MemImage(2, 1, true) {
        m_sName = szName;
        ImageLock lock(*this);
        writePixel(0, 0, Color(10, 20, 30, 255));
        writePixel(1, 0, Color(40, 50, 60, 255));
    }
};

class NamedFactory : public MemImageFactory {
public:
    Image* load(const char* szName) override {
        ++m_nLoads;
        if (std::string(szName).rfind("missing", 0) == 0)
            ZEP_THROW(Zep::ResourceException, (std::string("no picture ") + szName).c_str());
        return new NamedImage(szName);
    }
    Image* load(const char* szName, bool) override { return load(szName); }
    static constexpr const char* kZepSource = "animtest";
    int m_nLoads = 0;
};

// "Class: message" of what the call throws.
template <class F>
std::string failure(F&& call) {
    try {
        call();
    } catch (const Zep::Exception& e) {
        return std::string(e.className()) + ": " + e.getMessage();
    }
    return "(nothing thrown)";
}

class ScriptTest : public testkit::AppTest<AnimApp> {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<NamedFactory>());
        m_pFactory = static_cast<NamedFactory*>(pPlatform->getImageFactory());
        m_app.setPlatform(std::move(pPlatform));
        m_app.initCaches();
        auto pProvider = testkit::memoryProvider();
        m_pProvider = pProvider.get();
        m_app.addResourceProvider(std::move(pProvider), false);
    }
    void add(const char* szName, const std::string& sText) { m_pProvider->add(szName, testkit::resource(sText)); }
    // Runs the text as "t.anim" with the parameters.
    Zep::SmartPtr<Animation> run(const std::string& sText, std::vector<std::string> lParams = {}) {
        add("t.anim", sText);
        Zep::SmartPtr<AnimationLoader> pLoader = new AnimationLoader();
        Zep::List<Zep::String> l;
        for (const std::string& s : lParams) l.add(s.c_str());
        pLoader->setParams(l);
        return pLoader->runFile("t.anim");
    }
    // The image names of a sequence's frames; a copy of a cached image gets a
    // "'", a repeat count other than 1 "xN".
    std::vector<std::string> frames(const Zep::SmartPtr<Animation>& p, const char* szSeq) {
        std::vector<std::string> v;
        for (int i = 0; i < p->getFrameCount(szSeq); ++i) {
            Zep::SmartPtr<Image> pImage = p->getFrameImage(szSeq, i);
            std::string s = pImage->getName().c_str();
            if (!m_app.isImageCached(s.c_str()) || m_app.getImage(s.c_str()) != pImage) s += "'";
            if (p->getFrameRepeat(szSeq, i) != 1) s.append("x").append(std::to_string(p->getFrameRepeat(szSeq, i)));
            v.push_back(s);
        }
        return v;
    }

    NamedFactory* m_pFactory = nullptr;
    Zep::MemoryResourceProvider* m_pProvider = nullptr;
};

}  // namespace animtest

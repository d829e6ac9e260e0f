// The content suites' application: a headless one over the packed demo
// archives of the build tree, with in-memory pictures.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <zep2/error.h>

#include "animscript_reader.h"
#include "memimage.h"
#include "testkit_app.h"
#include "testkit_platform.h"

namespace contenttest {

class ContentTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
        m_app.initCaches();
        m_app.registerBuiltinResources();
        for (const char* szArchive : {"lang_en.dat", "tuk_data.dat", "tuk_sound.dat"})
            m_app.addResourceFile((std::string(TUK_CONTENT_ARCHIVES) + szArchive).c_str());
    }
    Zep::SmartPtr<Animation> load(const char* szScript, std::vector<std::string> vParams = {}) {
        Zep::SmartPtr<AnimationLoader> pLoader = new AnimationLoader();
        Zep::List<Zep::String> lParams;
        for (const std::string& s : vParams) lParams.add(s.c_str());
        pLoader->setParams(lParams);
        try {
            return pLoader->runFile(szScript);
        } catch (const Zep::Exception& e) {
            ADD_FAILURE() << szScript << ": " << e.className() << ": " << e.getMessage();
        }
        return Zep::SmartPtr<Animation>(new Animation(0.0f));
    }
    // Frames of the sequence that carry the property themselves.
    static int framesWith(const Animation& anim, const std::string& sSeq, const char* szProp) {
        int n = 0;
        for (int i = 0; i < anim.getFrameCount(sSeq.c_str()); ++i)
            n += anim.getFrame(sSeq.c_str(), i)->hasProp(szProp, false) ? 1 : 0;
        return n;
    }

    testkit::TestApp m_app;
};

}  // namespace contenttest

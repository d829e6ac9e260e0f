// The content suites' application: a headless one over the packed demo
// archives of the build tree, with in-memory pictures.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "anim/animscript_reader.h"
#include "image/memimage.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_platform.h"

namespace contenttest {

// Every name the pattern stands for, in order: "{a,b}" is each choice,
// "{1..3}" each number; "x{,_y}" gives "x" and "x_y".
inline std::vector<std::string> expand(const std::string& sPattern) {
    const size_t nOpen = sPattern.find('{');
    if (nOpen == std::string::npos) return {sPattern};
    const size_t nClose = sPattern.find('}', nOpen);
    const std::string sInside = sPattern.substr(nOpen + 1, nClose - nOpen - 1);
    std::vector<std::string> vChoices;
    const size_t nDots = sInside.find("..");
    if (nDots != std::string::npos) {
        for (int i = std::stoi(sInside.substr(0, nDots)); i <= std::stoi(sInside.substr(nDots + 2)); ++i)
            vChoices.push_back(std::to_string(i));
    } else {
        size_t nStart = 0;
        for (size_t n = sInside.find(','); ; n = sInside.find(',', nStart)) {
            vChoices.push_back(sInside.substr(nStart, n - nStart));
            if (n == std::string::npos) break;
            nStart = n + 1;
        }
    }
    std::vector<std::string> vNames;
    for (const std::string& sChoice : vChoices)
        for (const std::string& sRest : expand(sPattern.substr(nClose + 1)))
            vNames.push_back(sPattern.substr(0, nOpen) + sChoice + sRest);
    return vNames;
}

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
    // A sample or track by the suffixes the sound loaders try.
    bool soundExists(const std::string& sName) {
        static const char* const kSuffixes[] = {".ogg", ".wav", ".voc", nullptr};
        Zep::ResourceProvider* pProvider = nullptr;
        return !m_app.findResourceProvider(sName.c_str(), &pProvider, kSuffixes).isEmpty();
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

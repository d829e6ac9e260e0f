// Animation scripts from arbitrary bytes: the reader run to the end with two
// parameters, its scripts and includes served from memory and a few pictures
// in the image cache; then a sprite plays the result and the writer writes it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include <zep2/error.h>
#include <zep2/memstream.h>
#include <zep2/resource.h>
#include <zep2/resourcefile.h>

#include "animscript_reader.h"
#include "animscript_writer.h"
#include "animsprite.h"
#include "gameapp.h"
#include "memimage.h"

namespace {

Zep::SmartPtr<Zep::Resource> textResource(const char* szText) {
    const int nSize = static_cast<int>(std::strlen(szText));
    Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(nSize, nullptr, true);
    std::memcpy(p->getData(), szText, static_cast<size_t>(nSize));
    return p;
}

struct Fixture {
    GameApp* pApp = nullptr;
    Zep::MemoryResourceProvider* pScripts = nullptr;
};

Fixture& fixture() {
    static Fixture s_fixture = [] {
        Fixture f;
        GameApp::disableLog();
        GameApp::disableSettingsSaving();
        f.pApp = new GameApp();
        auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
        pProvider->add("part.anim", textResource("load (0)\nadd (0) repeat (1)\nprop p (0)\n"));
        pProvider->add("loop.anim", textResource("include part.anim\ninclude loop.anim\n"));
        f.pScripts = pProvider.get();
        f.pApp->addResourceProvider(std::move(pProvider), false);
        for (const char* szName : {"a", "b", "big", "walk1", "walk2", "walk3", "f01", "f02"})
            f.pApp->addImage(szName, new MemImage(3, 2, true), true);
        return f;
    }();
    return s_fixture;
}

void playAndWrite(const Zep::SmartPtr<Animation>& pAnimation) {
    AnimSprite sprite(pAnimation, 0, 0, 0);
    for (int i = 0; i < 8; ++i) sprite.update(0.04f);
    Zep::SmartPtr<Zep::ResourceFileCompiler> pTarget = new Zep::ResourceFileCompiler(new Zep::MemStream());
    pTarget->writeHeader();
    AnimationSaver().save(pAnimation, pTarget, "out");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fixture& f = fixture();
    Zep::SmartPtr<Zep::Resource> pScript = new Zep::Resource(static_cast<int>(size), nullptr, true);
    if (size > 0) std::memcpy(pScript->getData(), data, size);
    f.pScripts->add("t.anim", pScript);
    Zep::SmartPtr<AnimationLoader> pLoader = new AnimationLoader();
    Zep::List<Zep::String> lParams;
    lParams.add("big");
    lParams.add("3");
    pLoader->setParams(lParams);
    try {
        playAndWrite(pLoader->runFile("t.anim"));
    } catch (const Zep::Exception&) {
    }
    return 0;
}

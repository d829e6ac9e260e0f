// Animation scripts from arbitrary bytes: the reader run to the end with two
// parameters, its scripts and includes served from memory and a few pictures
// in the image cache, which the image commands copy and change in memory;
// then a sprite plays the result and the writer writes it.
#include <cstddef>
#include <cstdint>
#include <memory>

#include <zep2/error.h>
#include <zep2/memstream.h>
#include <zep2/resourcefile.h>

#include "anim/animscript_reader.h"
#include "anim/animscript_writer.h"
#include "anim/animsprite.h"
#include "fuzz_app.h"
#include "image/imageonlyplatform.h"
#include "image/memimage.h"

namespace {

fuzz::App& fixture() {
    static fuzz::App s_app = [] {
        fuzz::App app = fuzz::makeApp(std::make_unique<ImageOnlyPlatform>());
        fuzz::addFile(app, "part.anim", "load (0)\nadd (0) repeat (1)\nprop p (0)\n");
        fuzz::addFile(app, "loop.anim", "include part.anim\ninclude loop.anim\n");
        for (const char* szName : {"a", "b", "big", "walk1", "walk2", "walk3", "f01", "f02"})
            app.pApp->addImage(szName, new MemImage(3, 2, true), true);
        return app;
    }();
    return s_app;
}

void playAndWrite(const Zep::SmartPtr<Animation>& pAnimation) {
    AnimSprite sprite(pAnimation, 0, 0, 0);
    for (int i = 0; i < 8; ++i) sprite.update(0.04f);
    Zep::SmartPtr<Zep::ResourceFileCompiler> pTarget = new Zep::ResourceFileCompiler(new Zep::MemStream());
    pTarget->writeHeader();
    AnimationSaver().save(pAnimation, pTarget, "out");
}

}  // namespace

// A script at the reader's limits frees tens of megabytes of frames and
// images; AddressSanitizer's default quarantine of freed blocks (256 MB),
// spread over many block sizes, then lifts the process past the 512 MB a
// fuzz run allows, although no input holds more than about 80 MB at once.
// A smaller quarantine still catches use after free.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=64"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::App& f = fixture();
    fuzz::addFile(f, "t.anim", data, size);
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

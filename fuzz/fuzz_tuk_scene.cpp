// The level's scene reader from arbitrary bytes: the text read as "t.scene"
// into a level, once with a new player's upgrade levels and once with every
// upgrade bought, its pictures and scripts served from memory; a level that
// reads runs a few frames. A scene error is an answer; nothing else may leave.
//
// With FUZZ_TUK_SCENE_SEEDS set to a folder, the target writes its seed
// inputs there and ends.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <zep2/error.h>

#include "fuzz_app.h"
#include "image/imageonlyplatform.h"
#include "effects/particle_emitter.h"
#include "level/playmode.h"
#include "records/tukplayer.h"

namespace {

const char* const kSeeds[][2] = {
    {"minimal",
     "walkarea 0 400 800 700 300\nactionspot trashbin 10 10 5 0 400 40 440 n sink\n"
     "actionspot charspot 100 300 90 80 420 120 460 n seat 0\n"},
    {"every_keyword",
     "background sky\nsoundtrack ms\nimage wall\nclone wall wall_r\nhflip wall_r\ninspos center bottom wall\n"
     "animation juicer.anim\nanimation walker.anim\nsprite wall 1 2 3 w\nsprite_repeat wall 0 0 4 3 10 row\n"
     "sprite_conditional wall 0 0 5 silla_0 c\nflipsafe c\nflip w\nscale_anim w 2 0.5\n"
     "animsprite juicer.anim 0 0 6 idle\nplaysequence idle funcionando\n"
     "actionspot_conditional platformjuicer 310 393 60 380 600 420 640 n posavaso_1 juicer_0\n"
     "animsprite_conditional juicer.anim 300 250 50 m juicer_0\nsprite wall 0 0 51 p\n"
     "drinkmachine m p p p p juicer_0 380 600 420 640 e\nbeverage 2 250 420 55\nliquid 5 280 420 55\n"
     "walkarea 0 400 800 532 200\nwalkarea 0 528 800 640 400\npreferredline h 500 0 400 800 532 ew\n"
     "charspots 372 100 566 320\n"
     "actionspot_conditional charspot 520 566 310 500 590 540 620 w wall_r 2 -1 silla_0\n"
     "actionspot charspot 560 372 90 540 430 580 460 n seat 0\n"
     "actionspot glassspot 50 330 60 20 410 80 440 n posavaso_1 barman\n"
     "actionspot trashbin 250 300 60 270 410 310 440 n sink\n"
     "actionspot_conditional propdispenser 200 300 58 190 410 230 440 n props prop_dispenser\n"
     "barman 120 330 40 1 base\nbongos 50 420 380 1 show_1\nbailarina 420 470 390 380 520 1 show_3\n"
     "parrot 770 190 380\nrandompoint 10 20 lamp\nrandomsprite wall 7\nrandomsprite seat 7\npath p\n"
     "waypoint 0 500\nwaypoint 100 500\npathsprite walker.anim p 20 9\nemitter glow.emitter 400 300 12\n"
     "lingo\nseagull 1\nsomething else\n"},
    {"errors", "walkarea 0 400 800 700 300\r\n\n# a comment\nsprite wall 1\nliquid 9 1 2 3\n"},
};

void writeSeeds(const std::string& sFolder) {
    for (const auto& seed : kSeeds) {
        if (FILE* f = std::fopen((sFolder + "/" + seed[0]).c_str(), "wb")) {
            std::fputs(seed[1], f);
            std::fclose(f);
        }
    }
}

std::string parrotScript() {
    std::string s = "load parrot_1\n";
    for (const char* szHeading : {"stand", "north", "south", "east", "west"})
        for (const char* szPart : {"_still", "_move", "_legs"})
            s += std::string("seq ") + szHeading + szPart + " loop\nadd parrot_1\n";
    return s;
}

fuzz::App& fixture() {
    static fuzz::App s_app = [] {
        fuzz::App app = fuzz::makeApp(std::make_unique<ImageOnlyPlatform>());
        for (const char* szName :
             {"wall", "seat", "sky", "sink", "sink_pile_1", "sink_pile_2", "sink_pile_3", "sink_pile_4",
              "posavaso_1", "props", "juicer", "button_fruta", "button_vaso", "parrot_1", "bongo_1", "bongo_2",
              "dancer_1", "dancer_2",
              "barman_1", "bar_sky", "bar_room", "bar_counter", "seat_hotspot", "silla", "mesa", "mantel_1",
              "mantel_2", "centro_1", "centro_2", "juicer_part", "bub_ico_fruta_straw", "bub_ico_fruta_apple",
              "bub_ico_fruta_banana", "dispenser_hotspot", "parrot_stand"})
            app.pApp->addImage(szName, new MemImage(4, 3, true), true);
        fuzz::addFile(app, "juicer.anim",
                      "load juicer\nseq normal loop\nadd juicer\nseq funcionando\nadd juicer\nseq desplaza\n"
                      "add juicer\n");
        fuzz::addFile(app, "button.template", "load button_(0)\nseq notpushed\nadd button_(0)\nseq pushed\n"
                                              "add button_(0)\n");
        fuzz::addFile(app, "parrot.anim", parrotScript().c_str());
        fuzz::addFile(app, "barman.template", "load barman_1\nseq idle loop\nadd barman_1\nseq work\nadd barman_1\n");
        fuzz::addFile(app, "mrbongo.template", "load bongo_(0)\nseq play loop\nadd bongo_(0)\n");
        fuzz::addFile(app, "bailarina.template", "load dancer_(0)\nseq dance loop\nadd dancer_(0)\n");
        fuzz::addFile(app, "prop_dispenser.anim", "load props\nseq default loop\nadd props\n");
        fuzz::addFile(app, "walker.anim", "load bongo_1\nseq walk loop\nadd bongo_1\n");
        fuzz::addFile(app, "glow.emitter", "maxparticles 3\nemissionrate 20\nimage parrot_1\n");
        return app;
    }();
    return s_app;
}

void readLevel(const char* szLevels) {
    TUKPlayer player;
    for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) player.setUpgradeLevel(i, szLevels[i] - '0');
    PlayMode level(&player, nullptr, "t", 0, 0, 1);
    try {
        level.loadScene();
        for (int i = 0; i < 3; ++i) level.onUpdate(0.05f);
    } catch (const Zep::Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_bSeeds = [] {
        const char* szFolder = std::getenv("FUZZ_TUK_SCENE_SEEDS");
        if (szFolder) writeSeeds(szFolder);
        return szFolder != nullptr;
    }();
    if (s_bSeeds) std::exit(0);
    fuzz::App& f = fixture();
    fuzz::addFile(f, "t.scene", data, size);
    readLevel("0000000000000");
    readLevel("2111111111124");
    // The figures' scripts are cached by their variant words: keep the cache small.
    f.pApp->purgeAnimations();
    return 0;
}

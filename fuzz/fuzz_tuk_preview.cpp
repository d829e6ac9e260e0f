// The store's bar preview reading an arbitrary scene text. The first byte is
// the purchase id (its value modulo 16), the next 13 the upgrade levels (each
// modulo 6), the rest the scene. Whatever the text: the reading ends or
// raises a Zep exception; the preview holds at most its limit of sprites,
// every highlight and every record's sprite is one of them; and the cached
// pictures keep their insertion points and pixels.
//
// With FUZZ_TUK_PREVIEW_SEEDS set to a folder, the target writes its seed
// inputs there (a scene using every keyword, for the parrot, the chairs, the
// centre pieces and the juice machines; a damaged scene for the shows) and
// ends.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "screens/barpreview.h"
#include "fuzz_app.h"
#include "image/memimage.h"

namespace {

constexpr size_t kHeader = 14;
const char* const kPictures[] = {"wall", "chair", "spot", "ui_fondo_azul", "posavaso_1", "pic"};
const char* const kScripts[] = {"machine.anim", "parrot.anim", "barman.template", "mrbongo.template",
                                "bailarina.template"};

const char* scene() {
    return "# every keyword\nIMAGE wall\r\nimage chair\nimage spot\nclone chair chair_r\nhflip chair\nclone wall\n"
           "inspos center bottom spot\nanimation machine.anim\nsprite wall 720 555 1 corner\n"
           "sprite_repeat wall 100 10 2 3 40 row\nsprite_conditional chair 10 20 3 silla_0 c0\n"
           "sprite_conditional chair_r 40 20 4 silla_1 c1\nsprite_conditional wall 0 0 5 mesa_0\n"
           "sprite_conditional wall 0 0 6 mantel_0\nsprite_conditional wall 0 0 7 mantel_2\n"
           "sprite_conditional wall 0 0 8 center_lvl_1_0\nsprite_conditional wall 0 0 9 center_lvl_2_0\n"
           "sprite_conditional wall 0 0 20 juicer_0 part\nsprite_conditional wall 0 0 21 parrot_stand\n"
           "flip corner\nflipsafe c1\nanimsprite machine.anim 50 60 22 idle\n"
           "animsprite_conditional machine.anim 1 2 23 juicer juicer_0\n"
           "animsprite_conditional machine.anim 1 2 24 disp prop_dispenser\n"
           "animsprite_conditional machine.anim 1 2 25 bar barman_0\nscale_anim idle 2.5 0.5\n"
           "playsequence idle work\nbarman 120 400 26 -1 barman_0\nbongos 50 420 37 1 show_1\n"
           "bailarina 420 470 29 380 520 1 show_3\nparrot 770 190 31\n"
           "actionspot_conditional glassspot 5 6 33 1 2 3 4 n spot juicer_0\n"
           "actionspot_conditional glassspot 5 6 34 1 2 3 4 n spot barman_0_a\nwalkarea 0 400 800 532 200\n";
}

// Lines that name what no line defined, lines too short, numbers too large.
const char* damagedScene() {
    return "image wall\nsprite_repeat wall 0 0 0 0 0 empty\nflip empty\nflipsafe ghost\ninspos 1 2 ghost\n"
           "playsequence empty work\nsprite wall 1 2\nbailarina 1 2 7 0 9 show_3\n"
           "sprite wall 99999999999 -99999999999 2147483647\nsprite_repeat wall 0 0 7 101 1\n"
           "scale_anim empty 1e999 -1e999\nflip nobody\n";
}

void writeSeed(const std::string& sPath, const std::string& sBytes) {
    if (FILE* f = std::fopen(sPath.c_str(), "wb")) {
        std::fwrite(sBytes.data(), 1, sBytes.size(), f);
        std::fclose(f);
    }
}

void writeSeeds(const std::string& sFolder) {
    const struct {
        const char* szName;
        std::string sHeader;
    } kSeeds[] = {{"parrot", std::string("\x08", 1) + std::string(13, '\0')},
                  {"chairs", std::string("\x0D\0\0\x01\0\0\0\0\0\0\0\0\0\0", 14)},
                  {"centres", std::string("\x0E\0\0\x01\0\0\0\0\0\0\0\x01\0\0", 14)},
                  {"juicers", std::string("\x0F\0\0\0\0\0\0\x02\0\0\0\0\0\0", 14)}};
    for (const auto& seed : kSeeds) writeSeed(sFolder + "/" + seed.szName, seed.sHeader + scene());
    writeSeed(sFolder + "/damaged", std::string("\x0C\0\0\0\0\0\0\0\0\x01\0\0\0\x03", 14) + damagedScene());
}

const fuzz::App& app() {
    static const fuzz::App s_app = [] {
        fuzz::App app = fuzz::makeApp();
        for (const char* szName : kPictures) {
            Zep::SmartPtr<MemImage> pImage = new MemImage(8, 6, true);
            pImage->setPixel(0, 0, Color(255, 0, 0, 255));
            pImage->setInsPoint(1, 2);
            app.pApp->addImage(szName, pImage.get(), true);
        }
        const char* szScript = "load pic\nseq stand_still\nadd pic\nseq stand_move\nadd pic\nseq play\nadd pic\n"
                               "seq dance\nadd pic\nseq idle\nadd pic\nseq work\nadd pic\n";
        for (const char* szName : kScripts) fuzz::addFile(app, szName, szScript);
        return app;
    }();
    return s_app;
}

void check(bool bHolds) {
    if (!bHolds) std::abort();
}

void checkPreview(const BarPreview& preview) {
    const Zep::List<Zep::SmartPtr<Sprite>>& lSprites = preview.getSprites();
    check(lSprites.getCount() <= 10 + BarPreview::kMaxSprites);
    for (const Zep::SmartPtr<Sprite>& pSprite : preview.getHighlights()) check(lSprites.indexOf(pSprite) >= 0);
    for (const UpgradeConditionalSprite& record : preview.getRecords()) check(lSprites.indexOf(record.m_pSprite) >= 0);
}

void checkPictures(GameApp& game) {
    for (const char* szName : kPictures) {
        Zep::SmartPtr<Image> pImage = game.getImage(szName);
        check(pImage->getInsPointX() == 1 && pImage->getInsPointY() == 2);
        check(pImage->getPixel(0, 0) == Color(255, 0, 0, 255));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* szFolder = std::getenv("FUZZ_TUK_PREVIEW_SEEDS")) {
        writeSeeds(szFolder);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeader) return 0;
    const fuzz::App& fuzzApp = app();
    SceneTags::Levels levels{};
    for (size_t i = 0; i < levels.size(); ++i) levels[i] = data[1 + i] % 6;
    fuzz::addFile(fuzzApp, "t.scene", data + kHeader, size - kHeader);
    BarPreview preview(*fuzzApp.pApp, data[0] % 16, levels);
    try {
        preview.read("t");
    } catch (const Zep::Exception&) {
    }
    checkPreview(preview);
    checkPictures(*fuzzApp.pApp);
    // Figures read with a variant stay cached under it: only this run's.
    fuzzApp.pApp->purgeAnimations();
    return 0;
}

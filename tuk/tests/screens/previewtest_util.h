// The store suites' set-up: the screens' test application with the store's
// texts, small pictures and scripts in memory, and a bar scene "bar.scene"
// that uses every keyword of the bar preview. Each of its lines has a depth
// of its own, so a preview sprite's z-order names its line:
//   11 corner (720, 555)    12 x 3 a row    13 silla_0    14 silla_1
//   15 mesa_0   16 mantel_0   17 mantel_2   18 center_lvl_1_0
//   19 center_lvl_2_0   30 juicer_0 sprite   31 parrot_stand   32 idle
//   33 juicer_0 animation   34 prop_dispenser   35 barman_0 animation
//   36 barman (look "2")   37, 38 bongos show_1, show_2   39, 40 dancers show_3, show_4
//   41, 42 parrot   43, 44, 45 glass spots juicer_0, barman_0, barman_0_a
// The blue strip's ten sprites stand at z-order 140 before them.
#pragma once

#include <string>

#include "screens/barpreview.h"
#include "screens/screens_util.h"
#include "screens/storeitems.h"
#include "records/tukplayer.h"

namespace previewtest {

inline const char* barScene() {
    return "# every keyword of the preview\n"
           "IMAGE wall\r\n"
           "image chair   # the chair\n"
           "image spot\n"
           "\n"
           "clone chair chair_r\n"
           "hflip chair\n"
           "clone wall\n"
           "inspos center bottom spot\n"
           "Animation machine.anim\n"
           "sprite wall 720 555 1 corner # depth 11\n"
           "sprite_repeat wall 100 10 2 3 40 row\n"
           "sprite_conditional chair 10 20 3 silla_0 c0\n"
           "sprite_conditional chair_r 40 20 4 silla_1 c1\n"
           "sprite_conditional wall 0 0 5 mesa_0\n"
           "sprite_conditional wall 0 0 6 mantel_0\n"
           "sprite_conditional wall 0 0 7 mantel_2\n"
           "sprite_conditional wall 0 0 8 center_lvl_1_0\n"
           "sprite_conditional wall 0 0 9 center_lvl_2_0\n"
           "sprite_conditional wall 0 0 10 Silla_0\n"
           "sprite_conditional wall 0 0 20 juicer_0 part\n"
           "sprite_conditional wall 0 0 21 parrot_stand\n"
           "FLIP corner\n"
           "flipsafe c1\n"
           "animsprite machine.anim 50 60 22 idle\n"
           "animsprite_conditional machine.anim 1 2 23 juicer juicer_0\n"
           "animsprite_conditional machine.anim 1 2 24 disp prop_dispenser\n"
           "animsprite_conditional machine.anim 1 2 25 bar barman_0\n"
           "scale_anim idle 2.5 0.5\n"
           "playsequence idle work\n"
           "barman 120 400 26 -1 barman_0 2\n"
           "bongos 50 420 37 1 show_1\n"
           "bongos 130 420 38 2 show_2\n"
           "bailarina 420 470 29 380 520 1 show_3\n"
           "bailarina 600 470 30 560 700 2 show_4\n"
           "parrot 770 190 31\n"
           "actionspot_conditional glassspot 5 6 33 1 2 3 4 n spot juicer_0\n"
           "actionspot_conditional glassspot 5 6 34 1 2 3 4 n spot barman_0\n"
           "actionspot_conditional glassspot 5 6 35 1 2 3 4 n spot barman_0_a\n"
           "actionspot_conditional charspot 5 6 36 1 2 3 4 n spot 1 1 silla_0\n"
           "background sky\n"
           "walkarea 0 400 800 532 200\r";
}

// The store's pictures (small, one colour), scripts and sounds; its button
// style "PaperButton" belongs to the caller's theme.
inline void addStoreContent(GameApp& app, Zep::MemoryResourceProvider& files, testkit::FakeAudioDriver& audio) {
    auto picture = [&](const std::string& sName, int w, int h) {
        app.addImage(sName.c_str(), imagetest::solid(w, h, false, Color(90, 60, 30, 255)).get(), true);
    };
    for (const char* szName : {"store_bandeja1", "store_bandeja2", "store_sillas", "store_jugomatic", "store_parrot",
                               "store_decos", "store_centros1", "store_centros2", "store_cartel1", "store_cartel2",
                               "store_cartel3", "store_cartel4", "store_barman1", "store_barman2",
                               "store_secondbarman1", "store_secondbarman2"})
        for (const char* szLook : {"_normal", "_highlight"}) picture(std::string(szName) + szLook, 100, 90);
    for (const char* szName : {"upgrade_store", "store_mask", "store_coin", "store_globito_normal", "store_soldout",
                               "store_notavail", "salesman_1", "store_parrot_1", "store_parrot_2"})
        picture(szName, 70, 90);
    files.add("salesman.anim", testkit::resource("load salesman_1\nseq blink\nadd salesman_1\nseq normal\n"
                                                   "add salesman_1\nseq talk\nadd salesman_1\nseq sad\n"
                                                   "add salesman_1\nseq smile\nadd salesman_1\n"));
    files.add("store_parrot.anim",
              testkit::resource("load store_parrot_1\nload store_parrot_2\nseq normal\nadd store_parrot_1\n"
                                  "add store_parrot_2\nseq highlight\nadd store_parrot_2\nadd store_parrot_1\n"
                                  "default normal\n"));
    for (const char* szSound : {"sfx_store_clink", "sfx_mouseover"}) audio.m_sampleLoader.m_setNames.insert(szSound);
}

// Levels from 13 digits, kind 0 first.
inline SceneTags::Levels levels(const char* szDigits) {
    SceneTags::Levels levels{};
    for (size_t i = 0; i < levels.size() && szDigits[i]; ++i) levels[i] = szDigits[i] - '0';
    return levels;
}

inline void setLevels(TUKPlayer& player, const char* szDigits) {
    const SceneTags::Levels l = levels(szDigits);
    for (int i = 0; i < TUKPlayer::kUpgradeKinds; ++i) player.setUpgradeLevel(i, l[static_cast<size_t>(i)]);
}

// The z-orders after the first nSkip sprites, a hidden one marked "h".
inline std::string depths(const Zep::List<Zep::SmartPtr<Sprite>>& lSprites, int nSkip, bool bMarkHidden = true) {
    std::string s;
    for (const Zep::SmartPtr<Sprite>& pSprite : lSprites) {
        if (nSkip-- > 0) continue;
        const bool bMark = bMarkHidden && !pSprite->isVisible();
        s.append(s.empty() ? "" : " ").append(std::to_string(pSprite->getZOrder())).append(bMark ? "h" : "");
    }
    return s;
}

// "<z>:<variant ids>/<levels>/<s or h>" per record.
inline std::string records(const Zep::List<UpgradeConditionalSprite>& lRecords) {
    std::string s;
    for (const UpgradeConditionalSprite& record : lRecords) {
        s.append(s.empty() ? "" : " ").append(std::to_string(record.m_pSprite->getZOrder())).append(":");
        for (int n : record.m_lVariantIds) s += std::to_string(n);
        s += "/";
        for (int n : record.m_lLevels) s += std::to_string(n);
        s += record.m_bShown ? "/s" : "/h";
    }
    return s;
}

class PreviewTest : public screentest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (const char* szName : {"wall", "spot", "posavaso_1", "ui_fondo_azul", "pic", "check_empty",
                                   "check_full_noblit", "mask_buyupgrade", "buyupgrade_bandeja1_normal"})
            picture(szName, 80, 45);
        // Red in its left column, to show a mirror.
        Zep::SmartPtr<MemImage> pChair = imagetest::solid(20, 30, true, Color(0, 0, 255, 255));
        for (int y = 0; y < 30; ++y) pChair->setPixel(0, y, Color(255, 0, 0, 255));
        m_app.addImage("chair", pChair.get(), true);
        const std::string sSequences = "seq stand_still\nadd pic\nseq stand_move\nadd pic\nseq play\nadd pic\n"
                                       "seq dance\nadd pic\nseq work\nadd pic\nseq idle\nadd pic\ndefault idle\n";
        for (const char* szScript : {"machine.anim", "parrot.anim", "barman.template", "mrbongo.template",
                                     "bailarina.template"})
            m_pFiles->add(szScript, testkit::resource("load pic\n" + sSequences));
        m_pFiles->add("bar.scene", testkit::resource(barScene()));
        m_pFiles->add("store.txt", testkit::resource(
            "UPG_Price Price: %d\nUPG_Buy Buy\nUPG_Cancel Cancel\nUPG_Cant Too dear\nUPG_Upgraded Bought\n"
            "UPG_Radio_Chair0 Chair 0\nUPG_Radio_Chair1 Chair 1\nUPG_Radio_Chair2 Chair 2\n"
            "UPG_Radio_Chair3 Chair 3\nUPC_Radio_Center_1_0 Daisies 1\nUPC_Radio_Juicer_0_2 Barman 0\n"
            "UPC_Radio_Juicer_1_0 Machine 1\nUPG_Text_0_0 Tray\nUPG_Text_2_0 Chairs\nUPG_Text_6_1 Barman\n"
            "UPG_Text_10_0 Flowers\nUPG_Text_12_0 Bongos\nUPG_Default Welcome\nUPG_Good Good\nUPG_Bad Bad\n"
            "UPG_Leave Bye\nUPG_TEXT_0 Trays\nUPG_TEXT_3 Parrot\n"));
        m_app.loadStringTable("store.txt");
    }

    // The preview of the purchase at the player's levels (raised for ids below 13).
    BarPreview& read(int nPurchaseId, const char* szLevels) {
        SceneTags::Levels l = levels(szLevels);
        if (nPurchaseId < 13) ++l[static_cast<size_t>(nPurchaseId)];
        m_pPreview = std::make_unique<BarPreview>(m_app, nPurchaseId, l);
        m_pPreview->read("bar");
        return *m_pPreview;
    }

    std::unique_ptr<BarPreview> m_pPreview;
};

}  // namespace previewtest

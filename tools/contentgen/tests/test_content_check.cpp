// The content check: every name the preload lists, the scene's picture lines
// and the game's fixed picture lists ask for is found in the packed archives,
// and the string tables hold the keys the screens read.
#include <string>
#include <vector>

#include <zep2/resource.h>

#include "content_util.h"

namespace {

using contenttest::ContentTest;

const char* const kSoundSuffixes[] = {".ogg", ".wav", ".voc", nullptr};

// Names the code asks for by picture, outside any script.
const char* const kPictures[] = {
    "bar_sky", "walk_marker", "popup_money", "sink_pile_4", "vaso_x_pajita_der", "vaso_x_pajita_izq",
    "vaso_x_pajitavip", "vaso_deco_largo_0", "vaso_deco_largo_12", "icon", "splash_1", "splash_3",
    "sand_frame_back", "sand_frame_prop_5", "menu_isologo", "menu_sombralogo", "menu_vetas", "menu_fondo_3",
    "menu_estatico_7", "menu_select", "menu_welcome", "menu_notme", "menu_isologo_chico", "loading_back",
    "progress_clam", "progress_star", "clock_base", "clock_markers", "upgrade_store", "store_mask",
    "store_globito_normal", "store_barman2_highlight", "store_soldout", "store_notavail", "mask_buyupgrade",
    "buyupgrade_bandeja1_normal", "buyupgrade_bandeja2_normal", "check_empty", "check_full_noblit",
    "ui_fondo_azul", "bub_ico_plus",
};

std::vector<std::string> lines(testkit::TestApp& app, const char* szList) {
    std::vector<std::string> v;
    for (const Zep::String& s : app.getResource(szList)->asString().split("\r\n"))
        if (!s.trim().isEmpty()) v.push_back(s.trim().c_str());
    return v;
}

}  // namespace

TEST_F(ContentTest, EveryListedNameIsInTheArchives) {
    struct List {
        const char* szList;
        size_t nCount;
        bool bSounds;
    } const kLists[] = {
        {"preload-char0-anims.txt", 5, false}, {"preload-common-anims.txt", 8, false},
        {"preload-sound.txt", 17, true},       {"preload-music.txt", 1, true},
        {"preload-emitter.txt", 1, false},
    };
    for (const List& list : kLists) {
        SCOPED_TRACE(list.szList);
        const std::vector<std::string> vNames = lines(m_app, list.szList);
        EXPECT_EQ(list.nCount, vNames.size());
        for (const std::string& sName : vNames) {
            Zep::ResourceProvider* pProvider = nullptr;
            const bool bFound = list.bSounds ? !m_app.findResourceProvider(sName.c_str(), &pProvider, kSoundSuffixes).isEmpty()
                                             : m_app.resourceExists(sName.c_str());
            EXPECT_TRUE(bFound) << sName;
            if (!list.bSounds && sName.find(".anim") != std::string::npos) load(sName.c_str());
        }
    }
    for (const char* szMusic : {"ms_story", "ms_story_win", "ms_level"}) {
        Zep::ResourceProvider* pProvider = nullptr;
        EXPECT_FALSE(m_app.findResourceProvider(szMusic, &pProvider, kSoundSuffixes).isEmpty()) << szMusic;
    }
    for (const char* szPicture : kPictures) EXPECT_TRUE(m_app.imageExists(szPicture)) << szPicture;
    for (const std::string& sLine : lines(m_app, "scene0.scene")) {
        const Zep::List<Zep::String> t = Zep::String(sLine.c_str()).split(" \t");
        if (t.get(0) == "image" || t.get(0) == "background") {
            EXPECT_TRUE(m_app.imageExists(t.get(1).c_str())) << sLine;
        }
        if (t.get(0) == "animation") {
            EXPECT_TRUE(m_app.resourceExists(t.get(1).c_str())) << sLine;
        }
    }
    EXPECT_TRUE(m_app.resourceExists("scene3.scene"));  // through the alias list
    EXPECT_TRUE(m_app.resourceExists("fonts/DejaVuSans-Bold.ttf"));
}

TEST_F(ContentTest, TheStoreFiguresHaveTheirSequences) {
    Zep::SmartPtr<Animation> pSalesman = load("salesman.anim");
    for (const char* szSeq : {"blink", "normal", "talk", "sad", "smile"}) {
        EXPECT_TRUE(pSalesman->hasSequence(szSeq) && pSalesman->isSequenceLooping(szSeq)) << szSeq;
    }
    Zep::SmartPtr<Animation> pParrot = load("store_parrot.anim");
    EXPECT_EQ(pParrot->getFrameCount("normal"), pParrot->getFrameCount("highlight"));
}

// The content check: every name the game's screens, the preload lists, the
// scene, the theme and every script ask for is found in the packed archives.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <zep2/resource.h>

#include "content_util.h"

namespace {

using contenttest::ContentTest;
using contenttest::expand;

enum class Kind { Picture, Sound, File };

// The names each screen and set of the game asks for, by kind; "{a,b}" and
// "{1..3}" stand for every choice.
const struct Listed {
    Kind kind;
    std::vector<const char*> vNames;
} kListed[] = {
    // start-up, menu, loading
    {Kind::Picture, {"icon", "splash_{1,3}", "sand_frame_back", "sand_frame_prop_{1..5}", "menu_isologo",
                     "menu_sombralogo", "menu_vetas", "menu_fondo_{0..3}", "menu_estatico_{1..7}", "menu_select",
                     "menu_welcome", "menu_notme", "menu_isologo_chico", "loading_back", "progress_{clam,star}",
                     "clock_{base,markers}", "clock_{1..20}"}},
    // the bar
    {Kind::Picture, {"bar_{sky,room,counter}", "hud_plate_{money,clock}", "posavaso_1", "seat_hotspot",
                     "vip_seat_hotspot{,_w}", "dispenser_hotspot", "sink", "sink_pile_{1..4}", "silla", "mesa",
                     "centro_{1,2}", "mantel_{1,2}", "juicer_{0..3}", "juicer_part", "button_{fruta,vaso}_{up,down}",
                     "barman_{idle,work}_{1,2}", "bongo_{,shirt_}{1,2}", "dancer_{,legs_,dress_}{1,2}", "parrot_stand",
                     "prop_dispenser_{1,2}", "walk_marker", "popup_money", "star_{1,2}"}},
    // mugs, balloons, meters, icons
    {Kind::Picture, {"glass_{a,b,c}_{body,front}", "liquid_{a,b,c}_{up,down}_{half,full}", "glow_{a,b,c}_{1,2}",
                     "vaso_x_pajita_{der,izq}", "vaso_x_pajitavip", "vaso_deco_largo_{0..12}",
                     "balloon_{l,u,vip}_{0..2}", "bub_ico_vaso_{1..3}",
                     "bub_ico_fruta_{straw,apple,banana,orange,grape,pear}", "bub_ico_plus",
                     "meter_{flat,tall}_{0..8}"}},
    // store and purchase dialog
    {Kind::Picture, {"upgrade_store", "store_mask", "store_coin", "store_globito_normal",
                     "store_{bandeja1,bandeja2,sillas,jugomatic,parrot,decos,centros1,centros2}_{normal,highlight}",
                     "store_{cartel1,cartel2,cartel3,cartel4,barman1,barman2}_{normal,highlight}",
                     "store_{secondbarman1,secondbarman2}_{normal,highlight}",
                     "store_{soldout,notavail}", "mask_buyupgrade", "buyupgrade_bandeja{1,2}_normal",
                     "check_{empty,full_noblit}", "ui_fondo_azul"}},
    // day end, records, how-to, cut-scenes, map
    {Kind::Picture, {"youwin", "youlose", "timesup", "bubble_separator", "congrats", "mapa_flor_{1..5}_s",
                     "high_back", "howto{0..2}", "historieta_{1,1a,2,3,4a,4b,5a,5b,6a,6b}",
                     "map_{back,marker,current}"}},
    // samples and music
    {Kind::Sound, {"sfx_game_{ask,accept,mistake}{1,2}", "sfx_game_{cantdo,juicer,number,star,parrot}",
                   "sfx_mouseover", "sfx_store_clink", "ms_{winlevel,loselevel}", "sfx_ui_{click,hover}",
                   "ms_{menu,story,story_win,level}"}},
    // scripts, theme, fonts, emitter, scene, tables and lists
    {Kind::File, {"char0_odile.template", "ch_{ana,bea,cleo,vip_1,vip_2}.anim", "{balloon,vaso,vaso_brillo}.template",
                  "{button,barman,mrbongo,bailarina}.template", "medidor{,_flat}.anim",
                  "{juicer,parrot,prop_dispenser,m_star,clock,salesman,store_parrot}.anim", "sand.theme",
                  "fonts/DejaVuSans{,-Bold}.ttf", "flower_cannon.emitter", "scene{0..4}.scene",
                  "resource-alias.txt", "customers.txt", "credits.txt",
                  "preload-{char0-anims,common-anims,sound,music,emitter}.txt",
                  "{nontranslated,messages,private}.txt"}},
};

std::vector<std::vector<std::string>> tokenLines(testkit::TestApp& app, const char* szFile) {
    std::vector<std::vector<std::string>> v;
    for (const Zep::String& sLine : app.getResource(szFile)->asString().split("\r\n")) {
        std::vector<std::string> t;
        for (const Zep::String& s : sLine.trim().split(" \t"))
            if (!s.isEmpty()) t.push_back(s.c_str());
        if (!t.empty() && t[0][0] != '#') v.push_back(t);
    }
    return v;
}

// The picture names a script loads, each "(V)" replaced by every value a
// "define V" line of the script gives it.
std::set<std::string> scriptPictures(const std::vector<std::vector<std::string>>& vLines) {
    std::map<std::string, std::set<std::string>> defines;
    for (const auto& t : vLines)
        if (t[0] == "define" && t.size() > 2) defines["(" + t[1] + ")"].insert(t[2]);
    std::set<std::string> names;
    auto add = [&](std::string sName) {
        std::vector<std::string> v{sName};
        for (const auto& [sVar, values] : defines) {
            std::vector<std::string> next;
            for (const std::string& s : v) {
                const size_t n = s.find(sVar);
                if (n == std::string::npos) next.push_back(s);
                for (const std::string& sValue : values)
                    if (n != std::string::npos) next.push_back(std::string(s).replace(n, sVar.size(), sValue));
            }
            v = next;
        }
        names.insert(v.begin(), v.end());
    };
    for (const auto& t : vLines) {
        if (t[0] == "load" && t.size() > 1) add(t[1]);
        if (t[0] == "mload" && t.size() > 3)
            for (int i = std::stoi(t[2]); i <= std::stoi(t[3]); ++i) add(t[1] + std::to_string(i));
    }
    return names;
}

}  // namespace

TEST_F(ContentTest, EveryNameTheGameAsksForIsInTheArchives) {
    std::map<Kind, int> counts;
    for (const Listed& list : kListed)
        for (const char* szPattern : list.vNames)
            for (const std::string& sName : expand(szPattern)) {
                const bool bFound = list.kind == Kind::Picture ? m_app.imageExists(sName.c_str())
                                    : list.kind == Kind::File  ? m_app.resourceExists(sName.c_str())
                                                               : soundExists(sName);
                EXPECT_TRUE(bFound) << sName;
                ++counts[list.kind];
            }
    EXPECT_EQ((std::map<Kind, int>{{Kind::Picture, 251}, {Kind::Sound, 21}, {Kind::File, 42}}), counts);
}

TEST_F(ContentTest, ThePreloadListsNameWhatTheArchivesHold) {
    const struct {
        const char* szList;
        size_t nCount;
        bool bSounds;
    } kLists[] = {
        {"preload-char0-anims.txt", 5, false}, {"preload-common-anims.txt", 8, false},
        {"preload-sound.txt", 17, true},       {"preload-music.txt", 1, true},
        {"preload-emitter.txt", 1, false},
    };
    for (const auto& list : kLists) {
        SCOPED_TRACE(list.szList);
        const auto vLines = tokenLines(m_app, list.szList);
        EXPECT_EQ(list.nCount, vLines.size());
        for (const auto& t : vLines) {
            EXPECT_TRUE(list.bSounds ? soundExists(t[0]) : m_app.resourceExists(t[0].c_str())) << t[0];
        }
    }
}

TEST_F(ContentTest, EveryNameInTheSceneTheThemeAndTheScriptsIsInTheArchives) {
    std::set<std::string> pictures, files, sounds;
    for (const auto& t : tokenLines(m_app, "scene0.scene")) {
        if ((t[0] == "image" || t[0] == "background") && t.size() > 1) pictures.insert(t[1]);
        if (t[0].rfind("actionspot", 0) == 0 && t.size() > 10) pictures.insert(t[10]);
        if ((t[0] == "animation" || t[0] == "animsprite_conditional") && t.size() > 1) files.insert(t[1]);
        if (t[0] == "soundtrack" && t.size() > 1) sounds.insert(t[1]);
    }
    // Theme commands naming pictures: the tokens [first, last) of their lines.
    const std::map<std::string, std::pair<size_t, size_t>> kThemePictures = {
        {"buttonimage", {2, 3}},    {"frame", {2, 3}},          {"defaultcursor", {1, 2}},
        {"longseparator", {1, 2}},  {"shortseparator", {1, 2}}, {"sliderimages", {1, 4}},
        {"radiobuttonimages", {1, 3}},
    };
    for (const auto& t : tokenLines(m_app, "sand.theme")) {
        const auto it = kThemePictures.find(t[0]);
        if (it != kThemePictures.end())
            for (size_t i = it->second.first; i < std::min(t.size(), it->second.second); ++i) pictures.insert(t[i]);
        if (t[0] == "class" && t.size() > 2) files.insert(t[2]);
        if (t[0] == "buttonsound" && t.size() > 2) sounds.insert(t[2]);
    }
    int nScripts = 0;
    for (const Zep::String& sEntry : m_app.getResourceNames()) {
        const std::string s = sEntry.c_str();
        if (!(s.ends_with(".anim") || s.ends_with(".template") || s.ends_with(".inc"))) continue;
        ++nScripts;
        const auto vLines = tokenLines(m_app, s.c_str());
        for (const std::string& sName : scriptPictures(vLines))
            if (sName != "empty") pictures.insert(sName);
        for (const auto& t : vLines)
            if (t[0] == "include" && t.size() > 1) files.insert(t[1]);
    }
    EXPECT_EQ(24, nScripts);
    EXPECT_EQ(std::make_tuple(292u, 6u, 3u), std::make_tuple(pictures.size(), files.size(), sounds.size()));
    for (const std::string& s : pictures) EXPECT_TRUE(m_app.imageExists(s.c_str())) << s;
    for (const std::string& s : files) EXPECT_TRUE(m_app.resourceExists(s.c_str())) << s;
    for (const std::string& s : sounds) EXPECT_TRUE(soundExists(s)) << s;
}

TEST_F(ContentTest, TheStoreFiguresHaveTheirSequences) {
    Zep::SmartPtr<Animation> pSalesman = load("salesman.anim");
    for (const char* szSeq : {"blink", "normal", "talk", "sad", "smile"}) {
        EXPECT_TRUE(pSalesman->hasSequence(szSeq) && pSalesman->isSequenceLooping(szSeq)) << szSeq;
    }
    Zep::SmartPtr<Animation> pParrot = load("store_parrot.anim");
    EXPECT_EQ(pParrot->getFrameCount("normal"), pParrot->getFrameCount("highlight"));
}

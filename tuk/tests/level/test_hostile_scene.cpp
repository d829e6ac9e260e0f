// Damaged scene texts for the level: each a valid level with one line added
// or one part left out, and the error it raises, with the file and the line,
// or the line it logs and skips. And a level's liquids.
#include <gtest/gtest.h>

#include "level/leveltuning.h"
#include "level/scenetest_util.h"

namespace {

using scenetest::baseScene;

class HostileScene : public scenetest::SceneTest {};

std::string with(const std::string& sLines) { return baseScene() + sLines; }

}  // namespace

TEST_F(HostileScene, EveryCauseIsAnErrorWithTheFileAndTheLine) {
    const std::string sMachine = "animation juicer.anim\nanimsprite juicer.anim 300 250 50 m\nsprite wall 0 0 1 p\n"
                                 "drinkmachine m p p p p juicer_0 380 600 420 640 e\n";
    const struct {
        std::string sText;
        const char* szError;
    } kRows[] = {
        {with("\n\n  # comment\nsprite wall 1 2\n"), "line 7 : need 5 tokens"},
        {with("actionspot charspot 1 2 3 0 0 9 9 n seat\n"), "line 4 : need 12 tokens"},
        {with("actionspot_conditional charspot 1 2 3 0 0 9 9 n seat silla_0\n"), "line 4 : need 13 tokens"},
        {with("parrot 1 2\n"), "line 4 : need 4 tokens"},
        {with("actionspot glassspot 1 2 3 0 0 9 9 x posavaso_1\n"), "line 4 : unknown heading x"},
        {with("actionspot chair 1 2 3 0 0 9 9 n seat\n"), "line 4 : unknown action spot type chair"},
        {with("actionspot charspot 1 2 3 0 0 9 9 n seat 3\n"), "line 4 : seat kind 3 out of range"},
        {with("actionspot charspot 1 2 3 0 0 9 9 n seat 1 2\n"), "line 4 : direction 2 out of range"},
        {with("actionspot platformjuicer 1 2 3 0 0 9 9 n posavaso_1 2\n"), "line 4 : machine id 2 out of range"},
        {with("drinkmachine a b c d e juicer_2 0 0 9 9 n\n"), "line 4 : unknown machine kind juicer_2"},
        {with("drinkmachine nobody b c d e juicer_0 0 0 9 9 n\n"), "line 4 : unknown sprite name nobody"},
        {with("sprite wall 0 0 1 s\ndrinkmachine s s s s s juicer_0 0 0 9 9 n\n"),
         "line 5 : sprite s is not animated"},
        {with(sMachine + "drinkmachine m p p p p juicer_0 0 0 9 9 n\n"), "line 8 : machine juicer_0 built twice"},
        {with("liquid 0 1 2 3\n"), "line 4 : no drinkmachine line before it"},
        {with(sMachine + "liquid 6 1 2 3\n"), "line 8 : liquid type 6 out of range"},
        {with(sMachine + "beverage 3 1 2 3\n"), "line 8 : beverage type 3 out of range"},
        {with(sMachine + "liquid -1 1 2 3\n"), "line 8 : liquid type -1 out of range"},
        {with(sMachine + "liquid 0 1 2 3\nliquid 1 1 2 3\nliquid 2 1 2 3\nliquid 3 1 2 3\n"),
         "line 11 : Assertion failed : m_hLiquidButtons.getCount() < 3"},
        {with("preferredline d 5 0 0 9 9 n\n"), "line 4 : unknown line direction d"},
        {with("preferredline h 5 0 0 9 9 up\n"), "line 4 : unknown heading up"},
        {with("randomsprite wall 3\n"), "line 4 : randomsprite before any randompoint"},
        {with("waypoint 1 2\n"), "line 4 : waypoint before any path"},
        {with("path a\npath a\n"), "line 5 : path a defined twice"},
        {with("animation walker.anim\npathsprite walker.anim b 10 3\n"), "line 5 : unknown path b"},
        {with("parrot 1 2 3\nparrot 1 2 3\n"), "line 5 : more than one parrot"},
        {with("image wall\nsprite_repeat wall 0 0 0 101 1\n"), "line 5 : more than 100 copies"},
        {with("actionspot trashbin 1 2 3 0 0 99999999999 9 n sink\n"), "line 4 : number 99999999999 out of range"},
        {with("sprite wall 0 -100001 0\n"), "line 4 : number -100001 out of range"},
        {with("path a\nanimation walker.anim\npathsprite walker.anim a 1e6 3\n"), "line 6 : number 1e6 out of range"},
        {with("flip nobody\n"), "line 4 : Hash key not found : \"nobody\""},
        {with("emitter none.emitter 1 2 3\n"),
         "line 4 : GameApp::getResource() : Resource 'none.emitter' not found"},
        {"actionspot trashbin 10 10 5 0 400 40 440 n sink\n", "line 2 : no walk area"},
        {"walkarea 0 700 800 600 5\n\n", "line 3 : the walk band's bottom is not below its top"},
        {"walkarea 0 0 800 620 5\nwalkarea 0 621 800 700 5",
         "line 2 : the waitress's start (400, 620) lies in no walk area"},
        {"walkarea 0 400 800 700 300\nactionspot trashbin 10 10 5 0 400 40 440 n sink\n",
         "line 3 : no ordinary seat"},
        {with("actionspot charspot 1 2 3 0 0 9 9 n seat 1\n" + std::string(4, '\n') +
              "actionspot charspot 1 2 3 0 0 9 9 n seat 0\n"
              "actionspot charspot 1 2 3 0 0 9 9 n seat 0\n"
              "actionspot charspot 1 2 3 0 0 9 9 n seat 0\n"
              "actionspot charspot 1 2 3 0 0 9 9 n seat 0\n"),
         "line 13 : more than 4 ordinary seats"},
        {"walkarea 0 400 800 700 300\nactionspot charspot 100 300 90 80 420 120 460 n seat 0", "line 2 : no sink"},
    };
    for (const auto& row : kRows) {
        const std::string sError = error(row.sText, "0000001010000");
        EXPECT_EQ(sError, "Scene t.scene, " + std::string(row.szError)) << row.sText;
    }
    EXPECT_EQ(error("walkarea 0 400 800 700 300\nactionspot charspot 100 300 90 80 420 120 460 n seat 0\n"
                    "actionspot_conditional trashbin 10 10 5 0 400 40 440 n sink silla_3\n"),
              "Scene t.scene, line 4 : no sink");
}

TEST_F(HostileScene, OpenCasesAndIgnoredOrUnknownKeywordsAreLoggedAndSkipped) {
    const struct {
        const char* szLines;  // lines 4 on
        const char* szLog;
    } kRows[] = {
        {"inspos 1 2 ghost", "B: Scene t.scene, line 4 : image ghost not defined; line skipped\n"},
        {"clone ghost copy", "B: Scene t.scene, line 4 : image ghost not defined; line skipped\n"},
        {"animsprite ghost.anim 1 2 3", "B: Scene t.scene, line 4 : animation ghost.anim not defined; line skipped\n"},
        {"image wall\nsprite_repeat wall 0 0 0 2 5 row\nflip row",
         "B: Scene t.scene, line 6 : row names no sprite; line skipped\n"},
        {"image wall\nsprite wall 0 0 0 w\nplaysequence w walk",
         "B: Scene t.scene, line 6 : sprite w is not animated; line skipped\n"},
        {"flipsafe nobody\nsprite ghost 1 2 3", ""},
        {"lingo\nLINGO 2\nseagull\nlingo",
         "B: Scene t.scene: keyword lingo ignored\nB: Scene t.scene: keyword seagull ignored\n"},
        {"buttonanim a b", "B: Scene t.scene: keyword buttonanim ignored\n"},
        {"\nlights 1 2", "B: Scene t.scene, line 5: unknown keyword lights\n"},
    };
    for (const auto& row : kRows) {
        const size_t nBefore = m_files.logText().size();
        EXPECT_EQ(error(with(row.szLines)), "") << row.szLines;
        EXPECT_EQ(m_files.logText().substr(nBefore), row.szLog) << row.szLines;
    }
}

TEST(LevelLiquids, ALevelWithoutAnOrderableLiquidIsRefused) {
    const struct {
        Zep::List<int> lLiquids;
        bool bRefused;
    } kRows[] = {{{}, true}, {{0, 6}, true}, {{-1}, true}, {{5}, false}, {{0, 1, 2, 3, 4, 5}, false}};
    for (const auto& row : kRows) {
        LevelData data;
        data.m_lLiquids = row.lLiquids;
        std::string sError;
        try {
            checkLiquids(data);
        } catch (const Zep::BadStateException& e) {
            sError = e.getMessage();
        }
        EXPECT_EQ(sError, row.bRefused ? "No available liquids" : "") << row.lLiquids.getCount();
    }
}

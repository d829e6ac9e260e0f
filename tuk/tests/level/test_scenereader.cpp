// The level's scene reader: one scene with every keyword, the demo content's
// scene at three sets of upgrade levels, and the demo scene's conditional
// lines as the level and the store's bar preview make them.
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include <zep2/resource.h>
#include <zep2/str.h>

#include "actors/barman.h"
#include "screens/barpreview.h"
#include "level/demoscene_util.h"
#include "actors/machinebuttons.h"
#include "level/scenetest_util.h"
#include "records/upgrademanager.h"

namespace {

// "<seat kind><direction>@<x of the seat's sprite>" per seat; the level's
// lists must agree.
std::string seats(const LevelData& data) {
    std::string s;
    for (int i = 0; i < data.m_lCharacterSpots.getCount(); ++i) {
        const bool bVip = i >= data.m_nOrdinarySpots;
        s.append(i ? " " : "").append(std::to_string(data.m_lSeatKinds.get(i)));
        s += bVip && data.m_lVipDirections.get(i - data.m_nOrdinarySpots) < 0 ? "-" : "+";
        int x = 0, y = 0;
        data.m_lCharacterSpots.get(i)->getAttachedSprite()->getPosition(&x, &y);
        s.append("@").append(std::to_string(x));
    }
    return s + " (" + std::to_string(data.m_nOrdinarySpots) + " ordinary, " +
           std::to_string(data.m_lVipDirections.getCount()) + " VIP)";
}

// "b" a barman's coaster, "p<n>" a platform of machine n, "c" another.
std::string coasters(PlayMode& level) {
    std::string s;
    for (const Zep::SmartPtr<GlassSpot>& pSpot : level.getGlassSpots()) {
        std::string sKind = pSpot->isBarmanSpot() ? "b" : "c";
        for (const Zep::SmartPtr<DrinkMachine>& pMachine : level.getLevelData().m_lDrinkMachines)
            if (pMachine->getPlatformSpots().indexOf(pSpot) >= 0)
                sKind = Zep::String::format("p%d", pMachine->getId()).c_str();
        s += sKind;
    }
    return s;
}

// "<id>:<beverage types><liquid types>" per machine.
std::string machines(const LevelData& data) {
    std::string s;
    for (const Zep::SmartPtr<DrinkMachine>& pMachine : data.m_lDrinkMachines) {
        s += std::to_string(pMachine->getId()) + ":";
        for (int i = 0; i < 6; ++i) s += pMachine->getBeverageButton(i).notNULL() ? std::to_string(i) : "";
        s += "/";
        for (int i = 0; i < 6; ++i) s += pMachine->getLiquidButton(i).notNULL() ? std::to_string(i) : "";
    }
    return s;
}

class SceneReaderTest : public scenetest::SceneTest {};

const char* const kEveryKeyword =
    "# every keyword of the level\n"
    "background sky\n"
    "soundtrack ms_bar\n"
    "IMAGE wall\n"
    "image seat\n"
    "image chair\n"
    "clone seat seat_r\n"
    "inspos center bottom seat\n"
    "hflip chair\n"
    "animation juicer.anim\n"
    "animation walker.anim\n"
    "sprite wall 1 2 3 w1\n"
    "sprite_repeat wall 100 0 4 3 10 row\n"
    "sprite_conditional chair 0 0 5 silla_0 c0\n"
    "sprite_conditional wall 0 0 5 silla_1 c1\n"
    "flip c0\n"
    "flipsafe c1\n"
    "scale_anim w1 2 0.5\n"
    "animsprite juicer.anim 0 0 6 idle\n"
    "playsequence idle funcionando\n"
    "actionspot_conditional platformjuicer 310 393 60 380 600 420 640 n posavaso_1 juicer_0\n"
    "animsprite_conditional juicer.anim 300 250 50 mach juicer_0\n"
    "sprite_conditional wall 0 0 51 juicer_0 p1\n"
    "sprite wall 0 0 51 p2\n"
    "drinkmachine mach p1 p2 p1 p2 juicer_0 380 600 420 640 e\n"
    "beverage 2 250 420 55\n"
    "liquid 5 280 420 55\n"
    "drinkmachine mach p1 p2 p1 p2 juicer_1 0 0 9 9 e\n"
    "liquid 0 280 420 55\n"
    "actionspot platformjuicer 350 393 60 380 600 420 640 n posavaso_1 0\n"
    "walkarea 0 400 800 532 200\n"
    "walkarea 0 528 800 640 400\n"
    "preferredline h 500 0 400 800 532 ew\n"
    "charspots 372 100 566 320\n"
    "actionspot_conditional charspot 520 566 310 500 590 540 620 w seat_r 2 -1 silla_0\n"
    "actionspot charspot 560 372 90 540 430 580 460 n seat 0\n"
    "actionspot_conditional charspot 600 566 310 580 590 620 620 e seat 1 silla_1\n"
    "actionspot charspot 620 372 90 600 430 640 460 n seat 0\n"
    "actionspot glassspot 50 330 60 20 410 80 440 n posavaso_1 barman\n"
    "actionspot_conditional glassspot 150 330 60 120 410 180 440 s posavaso_1 barman_1\n"
    "actionspot_conditional glassspot 150 330 60 120 410 180 440 s posavaso_1 barman_0\n"
    "actionspot trashbin 250 300 60 270 410 310 440 n sink\n"
    "actionspot_conditional propdispenser 200 300 58 190 410 230 440 n props prop_dispenser\n"
    "barman 120 330 40 1 base\n"
    "barman 140 330 40 -1 barman_1 3\n"
    "bongos 50 420 380 1 show_1\n"
    "bailarina 420 470 390 380 520 1 show_3\n"
    "parrot 770 190 380\n"
    "randompoint 10 20 lamp\n"
    "randomsprite wall 7\n"
    "randomsprite seat 7\n"
    "randompoint 30 40\n"
    "randomsprite wall 8\n"
    "path stroll\n"
    "waypoint 0 500\n"
    "waypoint 100 500\n"
    "pathsprite walker.anim stroll 20 9\n"
    "emitter glow.emitter 400 300 12\n"
    "buttonanim a b\n"
    "lingo\n"
    "seagull 1 2\n";

}  // namespace

TEST_F(SceneReaderTest, EveryKeywordGivesTheLevelsLists) {
    Zep::SmartPtr<MemImage> pChair = imagetest::solid(20, 30, true, Color(0, 0, 255, 255));
    for (int y = 0; y < 30; ++y) pChair->setPixel(0, y, Color(255, 0, 0, 255));
    m_app.addImage("chair", pChair.get(), false);
    std::srand(3);
    const int nShown = std::rand() % 2;
    std::srand(3);
    const size_t nLogBefore = m_files.logText().size();
    ASSERT_EQ(error(kEveryKeyword, "0011111211124"), "");
    PlayMode& level = *m_pLevel;
    const LevelData& data = level.getLevelData();
    const SceneObjects& scene = level.getScene();

    EXPECT_EQ(seats(data), "0+@560 0+@620 2-@520 1+@600 (2 ordinary, 2 VIP)");
    EXPECT_EQ(coasters(level), "p0p0bb");
    EXPECT_EQ(machines(data), "0:2/5");
    ASSERT_EQ(level.getBarmen().getCount(), 2);
    // The second in the look his line names, the first in the house's.
    EXPECT_TRUE(m_app.isAnimationCached("barman3"));
    EXPECT_NE(level.getBarmen()[0]->getSprite()->getAnimation(), level.getBarmen()[1]->getSprite()->getAnimation());
    EXPECT_EQ(level.getFigures().getCount(), 3);
    EXPECT_TRUE(level.getParrot().notNULL());
    EXPECT_TRUE(level.findTrashBin().notNULL());
    EXPECT_EQ(level.getActionTargets().getCount(), 4 + 4 + 1 + 1 + 2);
    EXPECT_EQ(data.m_nWalkBandTop, 400);
    EXPECT_EQ(data.m_nWalkBandBottom, 640);
    EXPECT_EQ(level.getWalkAreaDepth(400, 620), 400);
    int x = 10, y = 450;
    level.applyPreferredLines(&x, &y, 0, 1);
    EXPECT_EQ(y, 500);
    EXPECT_EQ(data.m_nCustomerY + data.m_nCustomerDepth + data.m_nVipY + data.m_nVipDepth, 372 + 100 + 566 + 320);

    EXPECT_EQ(scene.pBackground->getZOrder(), -1000);
    EXPECT_TRUE(scene.pBackground->getImage() == m_app.getImage("sky"));
    EXPECT_STREQ(scene.sSoundtrack.c_str(), "ms_bar");
    ASSERT_EQ(scene.lRandomPoints.getCount(), 2);
    const RandomPoint lamp = scene.lRandomPoints.getFirst();
    EXPECT_STREQ(lamp.sName.c_str(), "lamp");
    EXPECT_TRUE(lamp.lSprites.get(nShown)->isVisible());
    EXPECT_FALSE(lamp.lSprites.get(1 - nShown)->isVisible());
    EXPECT_EQ(lamp.lSprites.get(1)->getPosition().x, 10.0f);
    EXPECT_TRUE(scene.lRandomPoints.getLast().lSprites.getFirst()->isVisible());
    ASSERT_EQ(scene.lPaths.getCount(), 1);
    EXPECT_EQ(scene.lPaths.getFirst().lWaypoints.getLast().getX(), 100);
    ASSERT_EQ(scene.lEmitters.getCount(), 1);
    EXPECT_EQ(scene.lEmitters.getFirst()->getZOrder(), 12);
    ASSERT_EQ(scene.lAnimated.getCount(), 1);  // the machine advances its own
    EXPECT_STREQ(scene.lAnimated.getFirst()->getSequenceName().c_str(), "funcionando");
    EXPECT_STREQ(data.m_lDrinkMachines.getFirst()->getSprite()->getSequenceName().c_str(), "normal");

    // Pictures: a copy of the seat stands on its feet, the chair is mirrored
    // on a copy; the cached pictures are untouched.
    Zep::SmartPtr<Image> pSeat = data.m_lCharacterSpots.getFirst()->getAttachedSprite()->getImage();
    EXPECT_EQ(pSeat->getInsPointX() * 100 + pSeat->getInsPointY(), 20 * 100 + 40);
    EXPECT_EQ(m_app.getImage("seat")->getInsPointY(), 0);
    EXPECT_EQ(data.m_lCharacterSpots.get(2)->getAttachedSprite()->getImage()->getInsPointY(), 0);
    EXPECT_EQ(imagetest::dataPixel(*pChair, 0, 0), Color(255, 0, 0, 255));
    EXPECT_EQ(m_files.logText().substr(nLogBefore), "B: Scene t.scene: keyword buttonanim ignored\n"
                                                       "B: Scene t.scene: keyword lingo ignored\n"
                                                       "B: Scene t.scene: keyword seagull ignored\n");
    level.onUpdate(0.15f);
    EXPECT_EQ(scene.lEmitters.getFirst()->getLiveCount(), 1);
}

using demoscene::DemoScene;

TEST_F(DemoScene, SeatsCoastersSinkAndMachineByTheUpgrades) {
    const struct {
        const char* szLevels;
        const char* szSeats;
        const char* szCoasters;
        const char* szMachines;
    } kRows[] = {
        {"0000000000000", "0+@560 0+@620 0+@680 0+@740 (4 ordinary, 0 VIP)", "bbb", ""},
        {"0000001000000", "0+@560 0+@620 0+@680 0+@740 (4 ordinary, 0 VIP)", "bbbp0p0", "0:012/012"},
        {"0000001100000", "0+@560 0+@620 0+@680 0+@740 (4 ordinary, 0 VIP)", "bbbp0p0p1p1", "0:012/0121:012/012"},
        {"0000002100000", "0+@560 0+@620 0+@680 0+@740 (4 ordinary, 0 VIP)", "bbbbp1p1", "1:012/012"},
        {"0000003300000", "0+@560 0+@620 0+@680 0+@740 (4 ordinary, 0 VIP)", "bbbbbbb", ""},
        {"0011110000000",
         "0+@560 0+@620 0+@680 0+@740 1+@457 1-@751 2+@27 2-@321 (4 ordinary, 4 VIP)", "bbb", ""},
    };
    for (const auto& row : kRows) {
        std::unique_ptr<PlayMode> pLevel;
        try {
            pLevel = read(row.szLevels);
        } catch (const Zep::Exception& e) {
            FAIL() << e.getMessage();
        }
        EXPECT_EQ(seats(pLevel->getLevelData()), row.szSeats) << row.szLevels;
        EXPECT_EQ(coasters(*pLevel), row.szCoasters) << row.szLevels;
        EXPECT_EQ(machines(pLevel->getLevelData()), row.szMachines) << row.szLevels;
        EXPECT_TRUE(pLevel->findTrashBin().notNULL()) << row.szLevels;
        EXPECT_STREQ(pLevel->getScene().sSoundtrack.c_str(), "ms_level");
    }
}

// Over many upgrade levels (every upgrade alone at each of its levels, then
// random ones), each conditional line that the bar preview decides, with no
// variant purchase and the same levels, is made by the level exactly when the
// preview makes it; but the barman of the tag "base", which only the level
// has. Each of these lines is made at some levels and not at others.
TEST_F(DemoScene, TheLevelAndThePreviewMakeTheSameConditionalLines) {
    const std::vector<SceneTags::Levels> vLevels = demoscene::upgradeSets();
    int nBase = 0;
    for (const scenelines::Line& line : scenelines::splitLines(m_app.getResource("scene0.scene")->asString()))
        if (line.lTokens[0] == "barman" && line.lTokens.getLast() == "base") nBase = line.nNumber;
    ASSERT_GT(nBase, 0);
    const int kPurchases[] = {0, 8, 9, 12};
    std::map<int, int> madeAt;  // line: how many level sets made it
    for (size_t i = 0; i < vLevels.size(); ++i) {
        const std::string sLevels = demoscene::digits(vLevels[i]);
        std::unique_ptr<PlayMode> pLevel;
        try {
            pLevel = read(sLevels.c_str());
        } catch (const Zep::Exception& e) {
            FAIL() << sLevels << ": " << e.getMessage();
        }
        BarPreview preview(m_app, kPurchases[i % std::size(kPurchases)], vLevels[i]);
        preview.read("scene0");
        const SceneTags::ConditionalLines& lines = preview.getConditionalLines();
        std::string sLevel, sPreview;
        for (int nLine : lines.getAsked()) {
            if (nLine == nBase) continue;
            const bool bMade = lines.getMade().indexOf(nLine) >= 0;
            madeAt[nLine] += bMade ? 1 : 0;
            sPreview += bMade ? std::to_string(nLine) + " " : "";
            sLevel += pLevel->getScene().lMadeLines.indexOf(nLine) >= 0 ? std::to_string(nLine) + " " : "";
        }
        EXPECT_EQ(sLevel, sPreview) << sLevels;
        EXPECT_GE(pLevel->getScene().lMadeLines.indexOf(nBase), 0) << sLevels;
    }
    EXPECT_EQ(madeAt.size(), 43u);
    for (const auto& [nLine, nMade] : madeAt) {
        EXPECT_GT(nMade, 0) << "line " << nLine;
        EXPECT_LT(nMade, static_cast<int>(vLevels.size())) << "line " << nLine;
    }
}

// The demo content's animation scripts, loaded from the packed archives by the
// framework's own loader: every script loads without parameters and has the
// sequences and frame properties the game reads.
#include <set>

#include "content_util.h"

namespace {

using contenttest::ContentTest;

const char* const kHeadings[] = {"n", "e", "s", "w"};
const char* const kSides[] = {"left", "right"};

// The waitress's 137 sequence names.
std::set<std::string> waitressNames() {
    std::set<std::string> names{"thumb_empty"};
    for (std::string h : kHeadings) {
        names.insert("stand_" + h + "_main");
        for (std::string side : {"left", "right", "tray"}) {
            for (std::string action : {"serve", "fill", "take"}) names.insert(action + "_" + h + "_" + side);
        }
        for (std::string side : kSides) {
            names.insert("walk_" + h + "_main_" + side);
            names.insert("stand_" + h + "_arm_tray_" + side);
            names.insert("walk_" + h + "_arm_tray_" + side);
            names.insert("stand_" + h + "_thumb_full_" + side);
            for (std::string fill : {"empty", "full"}) {
                names.insert("stand_" + h + "_arm_" + fill + "_" + side);
                for (std::string swing : {"back", "front"}) names.insert("walk_" + h + "_arm_" + fill + "_" + side + "_" + swing);
            }
            for (std::string swing : {"back", "front"}) names.insert("walk_" + h + "_thumb_full_" + side + "_" + swing);
        }
    }
    return names;
}

bool isArm(const std::string& s) {
    return s.find("_arm_") != std::string::npos || s.rfind("serve_", 0) == 0 || s.rfind("fill_", 0) == 0 ||
           s.rfind("take_", 0) == 0;
}
bool isAction(const std::string& s) { return s.rfind("serve_", 0) == 0 || s.rfind("fill_", 0) == 0 || s.rfind("take_", 0) == 0; }

struct ScriptCase {
    const char* szScript;
    std::vector<const char*> vSequences;
};

}  // namespace

TEST_F(ContentTest, EveryScriptLoadsWithoutParametersWithItsSequences) {
    const ScriptCase kCases[] = {
        {"balloon.template", {"main"}},
        {"vaso.template", {"drink_layer_1", "drink_layer_3", "stand_limpio_layer_up_2", "stand_limpio_layer_down_2",
                           "stand_vacio_layer_up_2", "stand_vacio_layer_down_2", "stand_medio_layer_up_2",
                           "stand_medio_layer_down_2", "stand_lleno_layer_up_2", "stand_lleno_layer_down_2"}},
        {"vaso_brillo.template", {"shine"}},
        {"button.template", {"notpushed", "pushed"}},
        {"juicer.anim", {"normal", "funcionando", "desplaza"}},
        {"parrot.anim", {"stand_still", "stand_move", "stand_legs", "north_still", "north_move", "north_legs",
                         "south_still", "south_move", "south_legs", "east_still", "east_move", "east_legs",
                         "west_still", "west_move", "west_legs"}},
        {"barman.template", {"idle", "work"}},
        {"mrbongo.template", {"play"}},
        {"bailarina.template", {"dance"}},
        {"prop_dispenser.anim", {"main"}},
        {"m_star.anim", {"main"}},
        {"medidor.anim", {"0", "1", "2", "3", "4", "5", "6", "7", "8"}},
        {"medidor_flat.anim", {"0", "1", "2", "3", "4", "5", "6", "7", "8"}},
        {"char0_odile.template", {"stand_s_main", "thumb_empty"}},
        {"ch_ana.anim", {"arm_right_drink", "mouth_smile"}},
        {"ch_bea.anim", {"arm_right_drink", "mouth_smile"}},
        {"ch_cleo.anim", {"arm_right_drink", "mouth_smile"}},
        {"ch_vip_1.anim", {"arm_left_drink", "head_smile"}},
        {"ch_vip_2.anim", {"arm_left_drink", "head_smile"}},
    };
    for (const ScriptCase& c : kCases) {
        SCOPED_TRACE(c.szScript);
        Zep::SmartPtr<Animation> pAnim = load(c.szScript);
        for (const char* szSeq : c.vSequences) {
            EXPECT_TRUE(pAnim->hasSequence(szSeq)) << szSeq;
            if (pAnim->hasSequence(szSeq)) {
                EXPECT_GT(pAnim->getFrameCount(szSeq), 0) << szSeq;
            }
        }
    }
}

TEST_F(ContentTest, ParametersPickTheirBranches) {
    struct Case {
        const char* szScript;
        const char* szParam;
        const char* szSeq;
        int nWidth, nHeight, nInsX, nInsY;  // of the sequence's first frame
    } const kCases[] = {
        {"balloon.template", "standl_der", "main", 110, 56, 55, 187},
        {"balloon.template", "standu_izq", "main", 110, 56, 110, 258},
        {"balloon.template", "standu_der", "main", 110, 56, 0, 258},
        {"balloon.template", "vip_izq", "main", 110, 56, 22, 116},
        {"balloon.template", "vip_der", "main", 110, 56, 22, 116},
        {"vaso.template", "c", "drink_layer_1", 28, 40, 14, 40},
        {"vaso_brillo.template", "b", "shine", 40, 52, 20, 46},
        {"button.template", "vaso", "pushed", 28, 28, 14, 14},
        {"mrbongo.template", "2", "play", 90, 120, 45, 120},
        {"barman.template", "3", "work", 110, 200, 55, 200},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.szScript) + " " + c.szParam);
        Zep::SmartPtr<Image> pFrame = load(c.szScript, {c.szParam})->getFrameImage(c.szSeq, 0);
        EXPECT_EQ(c.nWidth, pFrame->getWidth());
        EXPECT_EQ(c.nHeight, pFrame->getHeight());
        EXPECT_EQ(c.nInsX, pFrame->getInsPointX());
        EXPECT_EQ(c.nInsY, pFrame->getInsPointY());
    }
}

TEST_F(ContentTest, TheWaitressHasHerSequencesPositionsAndActionPoints) {
    for (const char* szVariant : {"A", "B", ""}) {
        SCOPED_TRACE(szVariant);
        Zep::SmartPtr<Animation> pAnim =
            *szVariant ? load("char0_odile.template", {szVariant}) : load("char0_odile.template");
        std::set<std::string> names;
        for (const Zep::String& s : pAnim->getSequenceNames()) names.insert(s.c_str());
        EXPECT_EQ(waitressNames(), names);
        for (const std::string& sSeq : names) {
            if (isArm(sSeq))
                for (int i = 0; i < pAnim->getFrameCount(sSeq.c_str()); ++i) {
                    const Zep::SmartPtr<FrameData> pFrame = pAnim->getFrame(sSeq.c_str(), i);
                    ASSERT_TRUE(pFrame->hasProp("position", false)) << sSeq << " " << i;
                    const int nPos = pFrame->getProp("position", false).toInt();
                    EXPECT_TRUE(nPos >= 0 && nPos <= 87) << sSeq << " " << nPos;
                }
            if (isAction(sSeq)) {
                EXPECT_EQ(1, framesWith(*pAnim, sSeq, "doaction")) << sSeq;
                EXPECT_FALSE(pAnim->isSequenceLooping(sSeq.c_str())) << sSeq;
            }
            if (sSeq.rfind("walk_", 0) == 0) {
                EXPECT_FALSE(pAnim->isSequenceLooping(sSeq.c_str())) << sSeq;
            }
            Zep::SmartPtr<Image> pFrame = pAnim->getFrameImage(sSeq.c_str(), 0);
            if (sSeq != "thumb_empty") {
                EXPECT_EQ(186, pFrame->getWidth()) << sSeq;
                EXPECT_EQ(93, pFrame->getInsPointX()) << sSeq;
                EXPECT_EQ(236, pFrame->getInsPointY()) << sSeq;
            }
        }
    }
}

TEST_F(ContentTest, CustomersCarryTheirMugPointsAndSips) {
    struct Case {
        const char* szScript;
        const char* szDrinkingArm;
        int nSequences;
        const char* szWaitArms[2];  // arms whose moving frames must finish
    } const kCases[] = {
        {"ch_ana.anim", "arm_right", 37, {nullptr, nullptr}},
        {"ch_bea.anim", "arm_right", 37, {nullptr, nullptr}},
        {"ch_cleo.anim", "arm_right", 37, {nullptr, nullptr}},
        {"ch_vip_1.anim", "arm_left", 103, {"arm_left", "arm_right"}},
        {"ch_vip_2.anim", "arm_left", 103, {"arm_left", "arm_right"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.szScript);
        Zep::SmartPtr<Animation> pAnim = load(c.szScript);
        EXPECT_EQ(c.nSequences, pAnim->getSequenceNames().getCount());
        EXPECT_TRUE(pAnim->hasProp("mugx", false));
        EXPECT_TRUE(pAnim->hasProp("mugy", false));
        for (const char* szSuffix : {"entering", "stand", "call", "drink", "drunk", "exiting"}) {
            const std::string sSeq = std::string(c.szDrinkingArm) + "_" + szSuffix;
            const int nFrames = pAnim->getFrameCount(sSeq.c_str());
            EXPECT_EQ(nFrames, framesWith(*pAnim, sSeq, "mugx")) << sSeq;
            EXPECT_EQ(nFrames, framesWith(*pAnim, sSeq, "mugy")) << sSeq;
            EXPECT_EQ(std::string(szSuffix) == "drink" ? 1 : 0, framesWith(*pAnim, sSeq, "dodrink")) << sSeq;
            if (!c.szWaitArms[0]) {
                EXPECT_FALSE(pAnim->isSequenceLooping(sSeq.c_str())) << sSeq;
            }
            for (const char* szArm : c.szWaitArms) {
                if (!szArm || std::string(szSuffix) == "stand") continue;
                const std::string sArmSeq = std::string(szArm) + "_" + szSuffix;
                EXPECT_EQ(pAnim->getFrameCount(sArmSeq.c_str()), framesWith(*pAnim, sArmSeq, "waitfinish")) << sArmSeq;
            }
        }
    }
}

// Every script the archives hold, not only those named above: each loads
// without parameters (a template's default branch) and has a sequence.
TEST_F(ContentTest, EveryAnimationAndTemplateOfTheArchivesLoadsWithoutParameters) {
    int nScripts = 0;
    for (const Zep::String& sEntry : m_app.getResourceNames()) {
        const std::string s = sEntry.c_str();
        if (!s.ends_with(".anim") && !s.ends_with(".template")) continue;
        SCOPED_TRACE(s);
        EXPECT_GT(load(s.c_str())->getSequenceNames().getCount(), 0);
        ++nScripts;
    }
    EXPECT_EQ(22, nScripts);
}

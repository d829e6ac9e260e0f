// Damaged figure content: the waitress's template with the "position" of one
// arm frame changed, each row one value, from valid edges to values outside
// the held-item tables.
#include <string>

#include <gtest/gtest.h>

#include "anim/animtest_util.h"
#include "actors/barfixture.h"

namespace {

class HostileFigures : public bartest::BarTest {};

}  // namespace

TEST_F(HostileFigures, ArmFramePositionOutsideTheTablesIsAContentError) {
    const struct {
        const char* szValue;
        const char* szOutcome;  // the held mug's "x,y,z", or what is thrown
    } kRows[] = {
        {"0", "399,581,103"},
        {"87", "446,600,103"},
        {"12abc", "474,599,103"},
        {"x", "399,581,103"},
        {"", "399,581,103"},
        {"-1", "FatalErrorException: Waitress : position '-1' is not 0 to 87 (animation bad5.templateB, sequence "
               "stand_s_arm_empty_left, frame 0)"},
        {"88", "FatalErrorException: Waitress : position '88' is not 0 to 87 (animation bad6.templateB, sequence "
               "stand_s_arm_empty_left, frame 0)"},
        {"4294967296", "FatalErrorException: Waitress : position '4294967296' is not 0 to 87 (animation "
                       "bad7.templateB, sequence stand_s_arm_empty_left, frame 0)"},
        {"99999999999999999999999", "FatalErrorException: Waitress : position '99999999999999999999999' is not 0 "
                                    "to 87 (animation bad8.templateB, sequence stand_s_arm_empty_left, frame 0)"},
    };
    // The animation is named by its cache key, the file name and "B".
    const std::string sValid = "seq stand_s_arm_empty_left\nadd odile_arm\nprop position 30\n";
    int nRow = 0;
    for (const auto& row : kRows) {
        std::string sText = bartest::waitressTemplate();
        sText.replace(sText.find(sValid), sValid.size(),
                      "seq stand_s_arm_empty_left\nadd odile_arm\nprop position " + std::string(row.szValue) + "\n");
        const std::string sBase = "bad" + std::to_string(nRow++);
        m_app.addResourceProvider(testkit::memoryProvider({{(sBase + ".template").c_str(), sText}}), false);
        Zep::SmartPtr<Waitress> pWaitress = new Waitress(m_pMode, sBase.c_str(), 400, 620, 2);
        const Zep::SmartPtr<Mug> pMug = fullMug();
        std::string sOutcome = animtest::failure([&] { pWaitress->setHandContents(pMug); });
        if (sOutcome == "(nothing thrown)") {
            int x = 0, y = 0, z = 0;
            pMug->getPosition(&x, &y, &z);
            sOutcome = std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z);
        }
        EXPECT_EQ(sOutcome, row.szOutcome) << row.szValue;
    }
}

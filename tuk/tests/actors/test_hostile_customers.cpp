// Damaged customer content and level data: each row changes one thing of the
// valid customer animation, balloon template or level, and asserts what the
// customer then does, or the error that stops it before any sprite enters
// the mode.
#include <string>

#include <gtest/gtest.h>

#include "anim/animtest_util.h"
#include "actors/customerfixture.h"

namespace {

class HostileCustomers : public bartest::CustomerTest {
protected:
    int spriteCount() const {
        int n = 0;
        for (const auto& pLayer : m_pMode->getLayers()) n += pLayer->getCount();
        return n;
    }
};

std::string replaced(std::string sText, const std::string& sFrom, const std::string& sTo) {
    for (size_t n = sText.find(sFrom); !sFrom.empty() && n != std::string::npos; n = sText.find(sFrom, n + sTo.size()))
        sText.replace(n, sFrom.size(), sTo);
    return sText;
}

}  // namespace

TEST_F(HostileCustomers, DamagedContentGivesAClearErrorOrAWorkingCustomer) {
    const struct {
        const char* szWhat;  // the customer animation, an icon, the balloon, the liquids, the whole animation
        const char* szFrom;
        const char* szTo;
        const char* szOutcome;  // what is thrown, or the state after a called-for wait, pictures, mug x at the hand
    } kRows[] = {
        {"anim", "", "", "state 2, 3 pictures, mug at 207"},
        {"anim", "prop mugx 7", "prop mugx 12abc", "state 2, 3 pictures, mug at 212"},
        {"anim", "prop mugx 7", "prop mugx x", "state 2, 3 pictures, mug at 200"},
        // No arm sequences: the arm keeps the default sequence, the animation's "mugx".
        {"anim", "seq arm_right_", "seq gone_", "state 2, 3 pictures, mug at 188"},
        {"anim", "load c_part", "load c_nothing",
         "ResourceException: MemImage::loadData : picture 'c_nothing' not found"},
        {"icon", "", "", "state 2, 3 pictures, mug at 207"},  // a liquid without its icon
        // No "main": the pictures of the balloon's default sequence.
        {"balloon", "seq main", "seq other", "state 2, 3 pictures, mug at 207"},
        {"balloon", "add balloon_1\nadd balloon_2\n", "", "state 2, 1 pictures, mug at 207"},
        {"liquids", "", "", "AssertFailException: Assertion failed : !lLiquids.isEmpty()"},
        {"missing", "", "", "ResourceException: GameApp::getResource() : Resource 'ch_nobody.anim' not found"},
    };
    int nRow = 0;
    for (const auto& row : kRows) {
        const std::string sWhat = row.szWhat, sName = "bad" + std::to_string(nRow++);
        if (sWhat == "anim") {
            const std::string sScript = replaced(bartest::plainCustomerScript(), row.szFrom, row.szTo);
            m_app.addResourceProvider(testkit::memoryProvider({{("ch_" + sName + ".anim").c_str(), sScript}}),
                                      true);
        }
        if (sWhat == "balloon") {
            const std::string sTemplate = replaced(bartest::balloonTemplate(), row.szFrom, row.szTo);
            m_app.addResourceProvider(testkit::memoryProvider({{"balloon.template", sTemplate}}), true);
            m_app.releaseAnimation("balloonstandl_der");
        }
        LevelData& data = m_pMode->getLevelData();
        data.m_lLiquids = sWhat == "liquids" ? Zep::List<int>() : Zep::List<int>{sWhat == "icon" ? 5 : 0, 1};
        if (sWhat == "icon") m_app.releaseImage("bub_ico_fruta_pear");
        const int nSprites = spriteCount();
        Character* pCustomer = nullptr;
        const char* szName = sWhat == "anim" ? sName.c_str() : sWhat == "missing" ? "nobody" : "ana";
        std::string sOutcome = animtest::failure([&] { pCustomer = &customer(szName); });
        if (pCustomer) {
            until(*pCustomer, Character::kCalling);
            pCustomer->serveMug(orderedMug(*pCustomer));
            int x = 0, y = 0, z = 0;
            pCustomer->getMug()->getPosition(&x, &y, &z);
            sOutcome = "state " + std::to_string(pCustomer->getState()) + ", " +
                       std::to_string(pCustomer->getBalloon()->getPictures().getCount()) + " pictures, mug at " +
                       std::to_string(x);
        } else {
            EXPECT_EQ(spriteCount(), nSprites) << sName;
        }
        EXPECT_EQ(sOutcome, row.szOutcome) << sName;
    }
}

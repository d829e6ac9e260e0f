// The how-to pages: paging through the buttons, pressed through the
// platform's events.
#include <string>

#include <gtest/gtest.h>

#include "screens/howtomode.h"
#include "screens/screens_util.h"

namespace {

class HowtoPages : public screentest::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (const char* szName : {"howto0", "howto1", "howto2", "howto3"}) picture(szName, 80, 60);
        m_pMode = new HowtoMode();
        m_app.pushMode(m_pMode);
    }
    // "page <n>, layers <l0> <l1> <l2> <l3>, previous <on|off>, next <on|off>"
    std::string state() const {
        std::string s = "page " + std::to_string(m_pMode->getCurrentPage()) + ", layers";
        for (int i = 0; i < HowtoMode::kPageCount; ++i) s.append(" ").append(std::to_string(m_pMode->getPage(i)->getZOrder()));
        for (int i = 0; i < 2; ++i)
            s += std::string(i ? ", next " : ", previous ") + (m_pMode->getPagingButton(i)->isEnabled() ? "on" : "off");
        return s;
    }

    HowtoMode* m_pMode = nullptr;
};

}  // namespace

TEST_F(HowtoPages, NextAndPreviousMoveOnePageWithinTheFourAndDisableAtTheEnds) {
    EXPECT_EQ(state(), "page 0, layers 10 0 0 0, previous off, next on");
    const struct {
        int nButton;  // 0 previous, 1 next
        const char* szState;
    } kPresses[] = {
        {1, "page 1, layers 0 10 0 0, previous on, next on"},
        {1, "page 2, layers 0 0 10 0, previous on, next on"},
        {1, "page 3, layers 0 0 0 10, previous on, next off"},
        {1, "page 3, layers 0 0 0 10, previous on, next off"},  // disabled: the press does nothing
        {0, "page 2, layers 0 0 10 0, previous on, next on"},
        {0, "page 1, layers 0 10 0 0, previous on, next on"},
        {0, "page 0, layers 10 0 0 0, previous off, next on"},
    };
    for (const auto& press : kPresses) {
        pressOn(*m_pMode->getPagingButton(press.nButton));
        EXPECT_EQ(state(), press.szState) << press.nButton;
    }
    // A next callback on the last page keeps it.
    for (int i = 0; i < 4; ++i) m_pMode->onCallback(HowtoMode::kNextId, nullptr);
    EXPECT_EQ(state(), "page 3, layers 0 0 0 10, previous on, next off");
    m_pMode->onCallback(HowtoMode::kBackId, nullptr);
    EXPECT_NE(m_app.getTopMode(), m_pMode);
}

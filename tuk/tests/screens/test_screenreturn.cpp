// The return of a screen that games start from: its pace, and what a game
// cached let go in the first update after the screen came back, once or at
// every return.
#include <gtest/gtest.h>

#include <string>

#include "actors/barfixture.h"
#include "screens/screenreturn.h"

namespace {

class ScreenReturnTest : protected bartest::AudioHolder, public testkit::ModeAppTest {
protected:
    void SetUp() override {
        ModeAppTest::SetUp();
        for (const char* szName : {"menu", "level", "store", "scene"}) m_audio.m_musicLoader.m_setNames.insert(szName);
        m_app.useAudioDriver(&m_audio);
        m_app.initCaches();
    }
    // The music cache's names in its own order.
    std::string music() {
        std::string s = "[";
        for (const Zep::String& sName : m_app.getMusicNames()) s += std::string(s.size() > 1 ? " " : "") + sName.c_str();
        return s + "]";
    }
    // The frame rate and the music cache at each step of a game and two
    // later returns (a store, then a cut-scene, pushed after the level).
    std::string trace(ScreenReturn::Mark mark) {
        ScreenReturn screen(mark);
        m_app.getMusic("menu");
        screen.markCaches(m_app);
        std::string s;
        for (const char* szPushed : {"level", "store", "scene"}) {
            m_app.setFrameRate(100);
            m_app.getMusic(szPushed);
            screen.cameBack(m_app);
            s += std::to_string(m_app.getFrameRate()) + " " + music();
            screen.update(m_app);
            s.append(" ").append(music());
            screen.update(m_app);
            s.append(" ").append(music()).append("; ");
        }
        return s;
    }
};

}  // namespace

TEST_F(ScreenReturnTest, AMarkTakenOnceLetsTheGameGoAtTheFirstReturnOnly) {
    EXPECT_EQ(trace(ScreenReturn::Mark::Once),
              "60 [level menu] [menu] [menu]; 60 [menu store] [menu store] [menu store]; "
              "60 [menu store scene] [menu store scene] [menu store scene]; ");
}

TEST_F(ScreenReturnTest, AMarkKeptForEveryReturnLetsGoAtEachReturn) {
    EXPECT_EQ(trace(ScreenReturn::Mark::EveryReturn),
              "60 [level menu] [menu] [menu]; 60 [menu store] [menu] [menu]; 60 [menu scene] [menu] [menu]; ");
}

// A level of the demo content on the test kit: the generated content folder
// read from disk (pictures, scripts, scene, customer table, texts), every
// sound of it known to the fake audio driver, the theme "sand.theme" with its
// TrueType fonts, events routed from the platform's script, and rand and
// the game's generator seeded. A scripted player presses only the mouse.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "actors/barfixture.h"
#include "level/scriptedwaiter_util.h"
#include "screens/democontent_files.h"
#include "records/gamerandom.h"
#include "screens/gamestatsmode.h"
#include "base/keys.h"
#include "level/playmode.h"
#include "driver/startup.h"
#include "testkit/testkit_events.h"
#include "theme/theme.h"
#include "records/tukplayer.h"

namespace leveltest {

class DemoLevel : protected bartest::AudioHolder, public testkit::ModeAppTest {
protected:
    void SetUp() override {
        ModeAppTest::SetUp();
        m_app.useAudioDriver(&m_audio);
        m_app.initCaches();
        m_app.registerBuiltinResources();
        democontent::loadDemoContent(m_app, m_audio);
        m_pPlatform->setDispatcher(testkit::routeTo(m_app));
        std::srand(3);
        gameRandom().seed(9);
    }
    void TearDown() override { unregisterTrueTypeFonts(); }

    // The level pushed (it builds itself on entering) and the clock started.
    PlayMode& enter(int nKind = 0, DayResult* pResult = nullptr) {
        m_pLevel = new PlayMode(&m_player, pResult, "scene0", 0, nKind, 1);
        m_app.pushMode(m_pLevel);
        start(10000);
        return *m_pLevel;
    }
    template <class T>
    T* top() {
        return dynamic_cast<T*>(m_app.getTopMode());
    }
    // Frames until the top mode is a T, at most nFrames.
    template <class T>
    T* waitFor(int nFrames = 400) {
        for (int i = 0; i < nFrames && !top<T>(); ++i) frames();
        return top<T>();
    }
    bool isLevelOnStack() {
        for (int i = 0; i < m_app.getModeCount(); ++i)
            if (m_app.getModeAt(i) == m_pLevel) return true;
        return false;
    }
    // A press of the left button, delivered in the next frame, where the
    // level gives it to the listener (ScriptedWaiter::pressOn).
    bool pressOn(IClickListener* pListener, const Rect& r) { return waiter().pressOn(pListener, r); }
    // A press and release at the centre of a control, over two frames.
    void clickOn(const Sprite& sprite) {
        const Rect r = sprite.getBoundingRect();
        const int x = (r.getLeft() + r.getRight()) / 2, y = (r.getTop() + r.getBottom()) / 2;
        m_pPlatform->queueFrame({testkit::FakeEvent::mouseMove(x, y),
                                 testkit::FakeEvent::mouseDown(MouseButton::Left, x, y)});
        m_pPlatform->queueFrame({testkit::FakeEvent::mouseUp(MouseButton::Left, x, y)});
        frames(2);
    }

    // The scripted player's move for this frame (scriptedwaiter_util.h).
    void playerMove() { waiter().move(); }
    int ordersTaken() { return waiter().ordersTaken(); }
    // The player of m_pLevel (however the level came), made anew for a new level.
    ScriptedWaiter& waiter() {
        if (!m_pWaiter || &m_pWaiter->level() != m_pLevel)
            m_pWaiter = std::make_unique<ScriptedWaiter>(*m_pLevel, [this](int x, int y) {
                m_pPlatform->queueFrame({testkit::FakeEvent::mouseDown(MouseButton::Left, x, y)});
            });
        return *m_pWaiter;
    }

    TUKPlayer m_player;
    PlayMode* m_pLevel = nullptr;  // owned by the stack
    std::unique_ptr<ScriptedWaiter> m_pWaiter;
};

}  // namespace leveltest

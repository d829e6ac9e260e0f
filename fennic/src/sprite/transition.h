// ModeTransition: a mode that covers a change of screens. It fades out over
// the current screen, switches while the screen is black, and a copy of it
// (clone) fades back in over the new screen.
//
// Set up by GameApp::pushTransition (push the next mode over the current top
// at full black) or GameMode::startTransition (end the next mode at full
// black: "end below"). A transition is active and visible and lets the modes
// below show, but not update or take input, while it runs.
//
// Defer resume (the default) decides who hears onResume and when: with it,
// the switch runs under suppressed notifications and the incoming mode is
// resumed only when the fade-in ends; without it, the switch notifies at
// once and the fade-in ends silently.
//
// A transition that dies before its switch (ended from above, or at
// shutdown) deletes a next mode that never reached the stack, which it would
// otherwise have pushed; with end below the next mode is not its own.
#pragma once

#include <memory>

#include "sprite/gamemode.h"

class ModeTransition : public GameMode {
public:
    // One frame advances a fade by at most 1/30 s.
    static constexpr float kMaxStep = 0.033333335f;

    ModeTransition();
    ~ModeTransition() override;

    virtual void setup(bool bFadeOut, GameMode* pNext, bool bEndBelow);
    // A fresh transition of the same kind, with its default values.
    virtual std::unique_ptr<ModeTransition> clone() const = 0;
    // Advances the fade; true while it still runs.
    virtual bool step(float fDelta) = 0;

    void setDeferResume(bool bDefer) { m_bDeferResume = bDefer; }
    bool isDeferResume() const { return m_bDeferResume; }
    bool isFadeOut() const { return m_bFadeOut; }
    bool isEndBelow() const { return m_bEndBelow; }
    GameMode* getNextMode() const { return m_pNext; }

    // Steps the fade with the clamped delta and switches when it is over.
    void onUpdate(float fDelta) override;
    // Ends this transition and makes the change it stands for (see above).
    void switchModes();

private:
    void fadeInDone(GameApp& app);
    void switchAtBlack(GameApp& app);
    void changeScreens(GameApp& app);
    void pushFadeIn(GameApp& app);

    GameMode* m_pNext = nullptr;  // owned only while new and unswitched
    bool m_bDeferResume = true;
    bool m_bEndBelow = false;
    bool m_bFadeOut = false;
    bool m_bSwitched = false;
};

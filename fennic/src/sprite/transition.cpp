// ModeTransition: the per-frame step and the switch of screens.
#include "sprite/transition.h"

#include <algorithm>

#include <zep2/error.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\transition";

// Notifications are suppressed for the life of the object when asked to.
class SuppressNotifications {
public:
    SuppressNotifications(GameApp& app, bool bSuppress) : m_app(app), m_bSuppress(bSuppress) {
        if (m_bSuppress) m_app.setSuppressModeNotifications(true);
    }
    ~SuppressNotifications() {
        if (m_bSuppress) m_app.setSuppressModeNotifications(false);
    }
    SuppressNotifications(const SuppressNotifications&) = delete;
    SuppressNotifications& operator=(const SuppressNotifications&) = delete;

private:
    GameApp& m_app;
    bool m_bSuppress;
};

}  // namespace

ModeTransition::ModeTransition() { addFlags(kDrawBelow); }

ModeTransition::~ModeTransition() {
    if (!m_bSwitched && !m_bEndBelow && m_pNext && m_pNext->getState() == kStateNew) delete m_pNext;
    m_pNext = nullptr;
    m_bEndBelow = false;
}

void ModeTransition::setup(bool bFadeOut, GameMode* pNext, bool bEndBelow) {
    m_bFadeOut = bFadeOut;
    m_pNext = pNext;
    m_bEndBelow = bEndBelow;
}

void ModeTransition::onUpdate(float fDelta) {
    if (!step(std::min(fDelta, kMaxStep))) switchModes();
}

void ModeTransition::switchModes() {
    GameApp* pApp = getApp();
    ZEP_ASSERT(pApp);
    if (!m_pNext) fadeInDone(*pApp);
    else switchAtBlack(*pApp);
}

// The fade-in is over: the mode below becomes the top, resumed only when the
// resume was deferred to this moment.
void ModeTransition::fadeInDone(GameApp& app) {
    SuppressNotifications suppress(app, !m_bDeferResume);
    endMode();
}

// Full black: this transition ends, the screens change, a clone fades in.
void ModeTransition::switchAtBlack(GameApp& app) {
    if (m_bDeferResume) {
        {
            SuppressNotifications suppress(app, true);
            endMode();
            changeScreens(app);
        }
        pushFadeIn(app);
        return;
    }
    {
        SuppressNotifications suppress(app, true);
        endMode();
    }
    changeScreens(app);
    SuppressNotifications suppress(app, true);
    pushFadeIn(app);
}

// Ends the next mode (it is the top now), or pushes it.
void ModeTransition::changeScreens(GameApp& app) {
    m_bSwitched = true;
    if (m_bEndBelow) m_pNext->endMode();
    else app.pushMode(m_pNext);
}

void ModeTransition::pushFadeIn(GameApp& app) {
    std::unique_ptr<ModeTransition> pFadeIn = clone();
    pFadeIn->setup(false, nullptr, false);
    pFadeIn->setDeferResume(m_bDeferResume);
    app.pushMode(pFadeIn.release());  // the stack owns it now
}

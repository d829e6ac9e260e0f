// The pace and the cache release of a screen that games come back to
// (screenreturn.h).
#include "screens/screenreturn.h"

#include "application/gameapp.h"

void ScreenReturn::cameBack(GameApp& app) {
    app.setFrameRate(kFrameRate);
    m_bReleasePending = m_cacheMark.isTaken();
}

void ScreenReturn::update(GameApp& app) {
    if (!m_bReleasePending) return;
    m_bReleasePending = false;
    m_cacheMark.releaseNewer(app);
    if (m_mark == Mark::Once) m_cacheMark.clear();
}

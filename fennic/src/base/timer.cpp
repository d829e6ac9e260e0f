#include "base/timer.h"

bool Timer::advance(float fDelta) {
    m_nWrapCount = 0;
    m_fElapsed = m_fElapsed + fDelta;
    if (m_nFlags & kClamp) {
        if (m_fElapsed <= 0.0f) m_fElapsed = 0.0f;
        if (m_fElapsed >= m_fDuration) m_fElapsed = m_fDuration;
    }
    return isDone();
}

void Timer::wrap() {
    if (m_fDuration <= 0.0f) {
        m_fElapsed = 0.0f;
        return;
    }
    while (m_fElapsed >= m_fDuration) {
        ++m_nWrapCount;
        m_fElapsed = m_fElapsed - m_fDuration;
    }
    if (!(m_nFlags & kKeepRemainder)) m_fElapsed = 0.0f;
}

void Timer::setDuration(float fDuration, bool bWrapNow) {
    m_fDuration = fDuration;
    if (bWrapNow) wrap();
}

float Timer::getProgress() const {
    if (m_fDuration != 0.0f) return m_fElapsed / m_fDuration;
    return isDone() ? 1.0f : 0.0f;
}

float Timer::getRemainingFraction() const {
    if (m_fDuration != 0.0f) return (m_fDuration - m_fElapsed) / m_fDuration;
    return 0.0f;
}

bool Timer::setFlags(uint32_t nFlags) {
    m_nFlags = nFlags;
    return advance(0.0f);
}

// Timer: a stopwatch of game time, advanced by the caller's elapsed time.
//
// Controllers read its progress (0 to 1) to drive their effects; other code
// uses it as a plain periodic timer: advance each frame and wrap when
// advance answers true. Nothing here reads a clock.
#pragma once

#include <cstdint>

#include <zep2/refcount.h>

class Timer : public Zep::RefCountedObject {
public:
    // Flag bits.
    enum : uint32_t {
        kKeepRemainder = 1,  // wrap keeps the overshoot
        kClamp = 2,          // the elapsed time stays within 0 .. duration
    };

    Timer(float fDuration, uint32_t nFlags) : m_fDuration(fDuration), m_nFlags(nFlags) {}

    // Wrap count back to 0, elapsed += dt, clamped with kClamp; answers isDone.
    bool advance(float fDelta);
    bool isDone() const { return m_fElapsed >= m_fDuration; }
    // Removes whole durations; without kKeepRemainder the rest is dropped too.
    void wrap();

    void setDuration(float fDuration, bool bWrapNow);
    float getDuration() const { return m_fDuration; }
    float getElapsed() const { return m_fElapsed; }
    void setElapsed(float fElapsed) { m_fElapsed = fElapsed; }
    float getRemaining() const { return m_fDuration - m_fElapsed; }
    void setRemaining(float fRemaining) { m_fElapsed = m_fDuration - fRemaining; }
    // Not clamped; a zero duration gives 1 once done, else 0.
    float getProgress() const;
    float getRemainingFraction() const;
    int getWrapCount() const { return m_nWrapCount; }

    uint32_t getFlags() const { return m_nFlags; }
    // Stores the flags and applies them at once through advance(0).
    bool setFlags(uint32_t nFlags);

private:
    float m_fDuration;
    float m_fElapsed = 0.0f;
    uint32_t m_nFlags;
    int32_t m_nWrapCount = 0;
};

// The framework's lock. A Mutex takes its implementation from the
// application's platform, so that code above the drivers locks without
// knowing which threads library runs underneath.
//
// A Mutex made before the application object and its platform (a static
// one) gets its implementation at its first lock; by then both must exist.
// That late creation is not itself guarded: the first lock must not race.
#pragma once

#include <memory>

#include "driver/platform.h"

class Mutex {
public:
    Mutex();
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    // 0 on success, -1 on error (also when no platform can make the lock).
    int lock();
    // Only after a lock.
    int unlock();

private:
    std::unique_ptr<MutexImpl> m_pImpl;
};

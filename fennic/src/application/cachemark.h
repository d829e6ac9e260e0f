// CacheMark: the names that the application's caches (animations, samples,
// music, images) hold at one moment, so that what was cached after it can be
// let go again.
//
// releaseNewer drops every entry that the mark does not name and that nothing
// outside its cache holds: the animations first, since they hold images, then
// the samples, the music and the images. An entry still in use stays cached
// (a playing track, a picture on a sprite) and is dropped by a later release
// once its user has gone. Entries the mark names are never touched, so what
// was preloaded before the mark stays preloaded. After a release that dropped
// anything, the heap's free memory is handed back to the system.
#pragma once

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/str.h>

class GameApp;

class CacheMark {
public:
    CacheMark() = default;

    // Records the caches' names as they are now (replacing an earlier mark).
    void take(GameApp& app);
    void clear();
    bool isTaken() const { return m_bTaken; }
    // Nothing without a mark; else the number of entries dropped.
    int releaseNewer(GameApp& app) const;

private:
    using NameSet = Zep::Hash<Zep::String, bool>;
    static void record(const Zep::List<Zep::String>& lNames, NameSet& hNames);

    NameSet m_hAnimations;
    NameSet m_hSamples;
    NameSet m_hMusic;
    NameSet m_hImages;
    bool m_bTaken = false;
};

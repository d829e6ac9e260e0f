// ScreenReturn: what the main menu and the campaign map share as the screens
// that games start from and come back to.
//
// Whenever such a screen comes back (cameBack, from its onResume) it paces at
// kFrameRate again: a level paces faster. Before it pushes a game it marks
// the caches (markCaches); in its first update after it came back (update,
// from its onUpdate), once the modes that ended are gone, whatever was cached
// since the mark and nothing holds any more is let go: the level's pictures,
// animations and music, the store's, the cut-scenes'.
//
// A mark taken Once serves one return (the menu: what it caches itself
// afterwards stays). A mark kept for EveryReturn lets go again at each
// return until the next mark (the map: the store and the cut-scenes that it
// pushes one after the other after a level).
#pragma once

#include "application/cachemark.h"

class GameApp;

class ScreenReturn {
public:
    static constexpr int kFrameRate = 60;
    enum class Mark { Once, EveryReturn };

    explicit ScreenReturn(Mark mark) : m_mark(mark) {}

    void markCaches(GameApp& app) { m_cacheMark.take(app); }
    void cameBack(GameApp& app);
    void update(GameApp& app);

private:
    CacheMark m_cacheMark;
    Mark m_mark;
    bool m_bReleasePending = false;
};

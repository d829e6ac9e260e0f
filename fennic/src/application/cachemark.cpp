// The caches' names at a moment, and the release of what came after
// (cachemark.h).
#include "application/cachemark.h"

#include "application/gameapp.h"
#include "base/oshelpers.h"

namespace {

// Every name of the list that the set lacks, released by the call; the count
// of those released.
template <class Release>
int releaseMissing(const Zep::List<Zep::String>& lNames, const Zep::Hash<Zep::String, bool>& hKeep, Release release) {
    int nReleased = 0;
    for (const Zep::String& sName : lNames)
        if (!hKeep.contains(sName) && release(sName.c_str())) ++nReleased;
    return nReleased;
}

}  // namespace

void CacheMark::record(const Zep::List<Zep::String>& lNames, NameSet& hNames) {
    hNames.clear();
    for (const Zep::String& sName : lNames) hNames.set(sName, true);
}

void CacheMark::take(GameApp& app) {
    record(app.getAnimationNames(), m_hAnimations);
    record(app.getSampleNames(), m_hSamples);
    record(app.getMusicNames(), m_hMusic);
    record(app.getImageNames(), m_hImages);
    m_bTaken = true;
}

void CacheMark::clear() {
    for (NameSet* pSet : {&m_hAnimations, &m_hSamples, &m_hMusic, &m_hImages}) pSet->clear();
    m_bTaken = false;
}

int CacheMark::releaseNewer(GameApp& app) const {
    if (!m_bTaken) return 0;
    int n = releaseMissing(app.getAnimationNames(), m_hAnimations,
                           [&app](const char* sz) { return app.releaseUnusedAnimation(sz); });
    n += releaseMissing(app.getSampleNames(), m_hSamples, [&app](const char* sz) { return app.releaseSample(sz); });
    n += releaseMissing(app.getMusicNames(), m_hMusic, [&app](const char* sz) { return app.releaseMusic(sz); });
    n += releaseMissing(app.getImageNames(), m_hImages, [&app](const char* sz) { return app.releaseImage(sz); });
    // A level's pictures are many small blocks; without this the process
    // keeps their memory after they are gone.
    if (n > 0) returnFreeMemory();
    return n;
}

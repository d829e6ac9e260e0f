// Stand-ins for application operations whose own sources do not exist yet:
// the resource lookup and the music cache. Remove each one when its real
// definition joins the library (the linker reports the duplicate).
#include <set>
#include <string>

#include "audiodriver.h"
#include "gameapp.h"
#include "testkit_app.h"

namespace testkit {

namespace {

std::set<std::string>& knownResources() {
    static std::set<std::string> setNames;
    return setNames;
}

}  // namespace

void addKnownResource(const std::string& sName) { knownResources().insert(sName); }

void clearKnownResources() { knownResources().clear(); }

}  // namespace testkit

// One provider holding the known names; the first suffix that matches wins.
Zep::String GameApp::findResource(const char* szName, const char* const* pSuffixes) {
    static const char* const kDefault[] = {"", nullptr};
    if (!pSuffixes || !pSuffixes[0]) pSuffixes = kDefault;
    for (const char* const* p = pSuffixes; *p; ++p) {
        std::string sCandidate = std::string(szName ? szName : "") + *p;
        if (testkit::knownResources().count(sCandidate)) return Zep::String(sCandidate.c_str());
    }
    return Zep::String();
}

// Loads through the audio driver's music loader, without caching.
Zep::SmartPtr<Music> GameApp::getMusic(const char* szName) {
    if (!m_pAudioDriver || !m_pAudioDriver->getMusicLoader()) return Zep::SmartPtr<Music>();
    return Zep::SmartPtr<Music>(m_pAudioDriver->getMusicLoader()->load(szName));
}

// Stand-ins for application operations whose own sources do not exist yet:
// the image, sample and music caches and the input routing's mouse refresh. Remove each one when its real definition joins
// the library (the linker reports the duplicate).
#include "audiodriver.h"
#include "gameapp.h"
#include "image.h"
#include "imagefactory.h"
#include "platform.h"
#include "testkit_pending.h"

// Loads through the platform's image factory, without caching or aliases.
Zep::SmartPtr<Image> GameApp::getImage(const char* szName) {
    return Zep::SmartPtr<Image>(getPlatform()->getImageFactory()->load(szName));
}

// Loads through the audio driver's music loader, without caching.
Zep::SmartPtr<Music> GameApp::getMusic(const char* szName) {
    if (!m_pAudioDriver || !m_pAudioDriver->getMusicLoader()) return Zep::SmartPtr<Music>();
    return Zep::SmartPtr<Music>(m_pAudioDriver->getMusicLoader()->load(szName));
}

// Loads through the audio driver's sample loader, without caching.
Zep::SmartPtr<Sample> GameApp::getSample(const char* szName) {
    if (!m_pAudioDriver || !m_pAudioDriver->getSampleLoader()) return Zep::SmartPtr<Sample>();
    return Zep::SmartPtr<Sample>(m_pAudioDriver->getSampleLoader()->load(szName));
}

namespace testkit {
int g_nMouseRefreshes = 0;
}  // namespace testkit

// Counts the requests; the hover states are not routed.
void GameApp::refreshMousePosition() { ++testkit::g_nMouseRefreshes; }

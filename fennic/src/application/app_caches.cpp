// The image, sample and music caches of the application, and the
// application's cache operations, each forwarding to them.
#include "application/app_caches.h"

#include <zep2/error.h>

#include "driver/audiodriver.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "image/imagefactory.h"
#include "driver/platform.h"

template class ResCache<Image>;
template class ResCache<Sample>;
template class ResCache<Music>;

namespace {

constexpr const char* kZepSource = ".\\src\\app_caches";

}  // namespace

// ---- ResourceCaches ---------------------------------------------------------------

ResourceCaches::ResourceCaches(const Zep::Hash<Zep::String, Zep::String>& hImageAliases)
    : m_hImageAliases(hImageAliases) {}

ResourceCaches::~ResourceCaches() = default;

void ResourceCaches::setLoaders(ImageFactory* pImageFactory, IAudioDriver* pAudioDriver) {
    m_pImageFactory = pImageFactory;
    m_images.setLoader(pImageFactory);
    m_samples.setLoader(pAudioDriver ? pAudioDriver->getSampleLoader() : nullptr);
    m_music.setLoader(pAudioDriver ? pAudioDriver->getMusicLoader() : nullptr);
}

Zep::String ResourceCaches::imageKey(const char* szName) const {
    Zep::String sKey = Zep::String(szName).toLower();
    if (const auto* pAlias = m_hImageAliases.findNode(sKey)) sKey = pAlias->value;
    return sKey;
}

Zep::SmartPtr<Image> ResourceCaches::getImage(const char* szName) {
    return m_images.get(imageKey(szName));
}

Zep::SmartPtr<Image> ResourceCaches::loadImage(const char* szName, int nExtra) {
    ZEP_TRACE("ResourceCaches::loadImage");
    const Zep::String sLower = Zep::String(szName).toLower();
    // An aliased name answers from the alias's entry only.
    if (const auto* pAlias = m_hImageAliases.findNode(sLower))
        if (m_images.contains(pAlias->value)) return m_images.find(pAlias->value);
    // The entry is looked for under the name as given, not the folded one.
    const Zep::String sName(szName);
    if (m_images.contains(sName)) return m_images.find(sName);
    if (!m_pImageFactory)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("GameApp::loadImage : no image factory for '%s'", sLower.c_str()).c_str());
    Zep::SmartPtr<Image> pImage(m_pImageFactory->load(sName.c_str(), nExtra != 0));
    m_images.add(sLower, pImage, false);
    return pImage;
}

void ResourceCaches::addImage(const char* szName, const Zep::SmartPtr<Image>& pImage, bool bPin) {
    m_images.add(Zep::String(szName).toLower(), pImage, bPin);
}

bool ResourceCaches::releaseImage(const char* szName) {
    return m_images.release(Zep::String(szName).toLower());
}

void ResourceCaches::releaseImagesNotIn(const Zep::List<Zep::String>& lKeep) {
    ZEP_TRACE("ResourceCaches::releaseImagesNotIn");
    const Zep::List<Zep::String> lNames = m_images.getNames();
    // A merge walk: both lists in the cache's key order, kept names skipped.
    auto itName = lNames.begin();
    for (auto itKeep = lKeep.begin(); itKeep != lKeep.end() && itName != lNames.end(); ++itName) {
        if (*itName == *itKeep) ++itKeep;
        else releaseImage(itName->c_str());
    }
    for (; itName != lNames.end(); ++itName) releaseImage(itName->c_str());
}

bool ResourceCaches::isImageCached(const char* szName) const {
    return m_images.contains(Zep::String(szName).toLower());
}

bool ResourceCaches::imageExists(const char* szName) {
    const Zep::String sKey = imageKey(szName);
    if (m_images.contains(sKey)) return true;
    return m_images.getLoader() && m_images.getLoader()->exists(sKey.c_str());
}

bool ResourceCaches::sampleExists(const char* szName) {
    const Zep::String sName(szName);
    if (m_samples.contains(sName)) return true;
    return m_samples.getLoader() && m_samples.getLoader()->exists(sName.c_str());
}

bool ResourceCaches::musicExists(const char* szName) {
    const Zep::String sName(szName);
    if (m_music.contains(sName)) return true;
    return m_music.getLoader() && m_music.getLoader()->exists(sName.c_str());
}

bool ResourceCaches::setImageCacheEnabled(bool bEnabled) {
    const bool bWasEnabled = !m_images.isDisabled();
    m_images.setDisabled(!bEnabled);
    return bWasEnabled;
}

// ---- DisableImageCache ---------------------------------------------------------------

DisableImageCache::DisableImageCache() {
    if (GameApp* pApp = GameApp::getInstance()) m_bWasEnabled = pApp->setImageCacheEnabled(false);
}

DisableImageCache::~DisableImageCache() {
    if (GameApp* pApp = GameApp::getInstance()) pApp->setImageCacheEnabled(m_bWasEnabled);
}

// ---- GameApp: the cache operations ------------------------------------------------------

void GameApp::initCaches() {
    m_caches.setLoaders(m_pPlatform ? m_pPlatform->getImageFactory() : nullptr, m_pAudioDriver);
}

Zep::SmartPtr<Image> GameApp::getImage(const char* szName) { return m_caches.getImage(szName); }

Zep::SmartPtr<Image> GameApp::loadImage(const char* szName, int nExtra) {
    return m_caches.loadImage(szName, nExtra);
}

void GameApp::addImage(const char* szName, const Zep::SmartPtr<Image>& pImage, bool bPin) {
    m_caches.addImage(szName, pImage, bPin);
}

Zep::List<Zep::String> GameApp::getImageNames() { return m_caches.images().getNames(); }

bool GameApp::releaseImage(const char* szName) { return m_caches.releaseImage(szName); }

void GameApp::releaseImagesNotIn(const Zep::List<Zep::String>& lKeep) { m_caches.releaseImagesNotIn(lKeep); }

bool GameApp::setImageCacheEnabled(bool bEnabled) { return m_caches.setImageCacheEnabled(bEnabled); }

bool GameApp::isImageCached(const char* szName) { return m_caches.isImageCached(szName); }

bool GameApp::imageExists(const char* szName) { return m_caches.imageExists(szName); }

Zep::SmartPtr<Sample> GameApp::getSample(const char* szName) { return m_caches.samples().get(szName); }

Zep::SmartPtr<Music> GameApp::getMusic(const char* szName) { return m_caches.music().get(szName); }

bool GameApp::releaseSample(const char* szName) { return m_caches.samples().release(szName); }

bool GameApp::releaseMusic(const char* szName) { return m_caches.music().release(szName); }

Zep::List<Zep::String> GameApp::getSampleNames() { return m_caches.samples().getNames(); }

Zep::List<Zep::String> GameApp::getMusicNames() { return m_caches.music().getNames(); }

bool GameApp::sampleExists(const char* szName) { return m_caches.sampleExists(szName); }

bool GameApp::musicExists(const char* szName) { return m_caches.musicExists(szName); }

void GameApp::purgeImages() { m_caches.images().purge(); }

void GameApp::purgeSamples() { m_caches.samples().purge(); }

void GameApp::purgeMusic() { m_caches.music().purge(); }

void ResourceCaches::clear() {
    m_images.clear();
    m_samples.clear();
    m_music.clear();
}

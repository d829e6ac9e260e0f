// The animation cache, its preloader, and the application's animation
// operations, each forwarding to it.
#include "application/app_animcache.h"

#include "anim/animation.h"
#include "anim/animscript_reader.h"
#include "application/gameapp.h"

AnimationCache::AnimationCache() = default;

AnimationCache::~AnimationCache() = default;

Zep::String AnimationCache::cacheKey(const char* szScript, const char* szKey, const Zep::List<Zep::String>& lParams) {
    if (szKey && *szKey) return Zep::String(szKey);
    Zep::String sKey(szScript);
    for (const Zep::String& sParam : lParams) sKey += "-" + sParam;
    return sKey;
}

Zep::SmartPtr<Animation> AnimationCache::load(const char* szScript, const char* szKey,
                                              const Zep::List<Zep::String>& lParams) {
    const Zep::String sKey = cacheKey(szScript, szKey, lParams);
    if (const auto* pNode = m_hAnimations.findNode(sKey)) return pNode->value;
    if (m_pCurrent.notNULL() && m_sCurrentKey == sKey) {
        finishCurrent(true);
    } else {
        // A queued loader of the key is dropped: the script runs at once.
        m_hQueued.remove(sKey);
        Zep::SmartPtr<AnimationLoader> pLoader = new AnimationLoader();
        pLoader->setParams(lParams);
        store(sKey, pLoader->runFile(szScript));
    }
    return find(sKey.c_str());
}

void AnimationCache::queue(const char* szScript, const char* szKey, const Zep::List<Zep::String>& lParams) {
    const Zep::String sKey = cacheKey(szScript, szKey, lParams);
    if (m_hAnimations.contains(sKey) || m_hQueued.contains(sKey)) return;
    Zep::SmartPtr<AnimationLoader> pLoader = new AnimationLoader();
    pLoader->setParams(lParams);
    pLoader->begin(szScript);
    m_hQueued.set(sKey, pLoader);
    m_bPreloadPending = true;
}

void AnimationCache::continuePreload() {
    if (!m_bPreloadPending) return;
    if (m_pCurrent.isNULL()) {
        if (m_hQueued.isEmpty()) {
            m_bPreloadPending = false;
            return;
        }
        // The first key in the table's order, not the first queued.
        m_sCurrentKey = m_hQueued.getKeys().getFirst();
        m_pCurrent = m_hQueued.remove(m_sCurrentKey);
    }
    finishCurrent(false);
}

void AnimationCache::finishCurrent(bool bToTheEnd) {
    try {
        do {
            m_pCurrent->processLine();
        } while (bToTheEnd && !m_pCurrent->isDone());
    } catch (...) {
        m_pCurrent = nullptr;
        m_sCurrentKey = Zep::String();
        throw;
    }
    if (!m_pCurrent->isDone()) return;
    store(m_sCurrentKey, m_pCurrent->getAnimation());
    m_pCurrent = nullptr;
    m_sCurrentKey = Zep::String();
}

void AnimationCache::store(const Zep::String& sKey, const Zep::SmartPtr<Animation>& pAnimation) {
    pAnimation->setName(sKey.c_str());
    m_hAnimations.set(sKey, pAnimation);
}

Zep::SmartPtr<Animation> AnimationCache::find(const char* szKey) const {
    const auto* pNode = m_hAnimations.findNode(szKey);
    return pNode ? pNode->value : Zep::SmartPtr<Animation>();
}

bool AnimationCache::releaseUnused(const char* szKey) {
    const auto* pNode = m_hAnimations.findNode(szKey);
    if (!pNode) return false;
    // The table and this local reference: 2 when nothing else holds it.
    const Zep::SmartPtr<Animation> pLocal = pNode->value;
    if (pLocal.notNULL() && pLocal->getRefCount() > 2) return false;
    release(szKey);
    return true;
}

void AnimationCache::purge() {
    const Zep::List<Zep::String> lKeys = m_hAnimations.getKeys();
    Zep::List<Zep::SmartPtr<Animation>> lAnimations = m_hAnimations.getValues();
    int i = 0;
    for (const Zep::String& sKey : lKeys) {
        // The table, the list and this reference: 3 when nothing else holds it.
        const Zep::SmartPtr<Animation> pAnimation = lAnimations.get(i);
        if (pAnimation.isNULL() || pAnimation->getRefCount() < 4) {
            release(sKey.c_str());
            lAnimations.removeAt(i);
        } else {
            ++i;
        }
    }
}

// ---- GameApp: the animation operations ----------------------------------------------

Zep::SmartPtr<Animation> GameApp::loadAnimation(const char* szScriptName, const char* szKey,
                                                const Zep::List<Zep::String>& lParams) {
    return m_animations.load(szScriptName, szKey, lParams);
}

Zep::SmartPtr<Animation> GameApp::getAnimation(const char* szScriptName) {
    return m_animations.load(szScriptName, szScriptName, Zep::List<Zep::String>());
}

void GameApp::queueAnimation(const char* szScriptName, const char* szKey, const Zep::List<Zep::String>& lParams) {
    m_animations.queue(szScriptName, szKey, lParams);
}

void GameApp::preloadAnimation(const char* szScriptName) {
    m_animations.queue(szScriptName, szScriptName, Zep::List<Zep::String>());
}

void GameApp::continuePreload() { m_animations.continuePreload(); }

bool GameApp::isAnimationCached(const char* szKey) { return m_animations.contains(szKey); }

void GameApp::releaseAnimation(const char* szKey) { m_animations.release(szKey); }

bool GameApp::releaseUnusedAnimation(const char* szKey) { return m_animations.releaseUnused(szKey); }

Zep::List<Zep::String> GameApp::getAnimationNames() { return m_animations.getNames(); }

void GameApp::purgeAnimations() { m_animations.purge(); }

// Animations first: they hold images.
void GameApp::purgeCaches() {
    purgeAnimations();
    purgeSamples();
    purgeMusic();
    purgeImages();
}

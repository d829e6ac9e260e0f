// The application's animation cache and its step-wise preloader.
//
// Animations are cached under a key: the caller's, or the script name
// followed by "-" and each parameter ("walk.anim-red-2"); an animation built
// for the cache is named after its key. Loading at once runs a whole script;
// queueing opens a script and leaves it to continuePreload, which the loading
// screens call within their time budget: one reader step per call, the
// queued keys taken in the queue's hash key order, not the order of queueing.
//
// A reader step that throws drops its loader and key before the exception
// goes on, so that later steps start the next script instead of continuing a
// broken one and caching half an animation.
//
// purgeAnimations drops the animations nothing outside holds: during its
// walk an animation is held by the table, the walk's list and the walk's own
// reference, so a count below 4 means unused.
#pragma once

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "anim/animation.h"
#include "anim/animscript_reader.h"

class AnimationCache {
public:
    AnimationCache();
    ~AnimationCache();
    AnimationCache(const AnimationCache&) = delete;
    AnimationCache& operator=(const AnimationCache&) = delete;

    // The caller's key when given (not null, not empty), else the script name
    // and "-" before each parameter.
    static Zep::String cacheKey(const char* szScript, const char* szKey, const Zep::List<Zep::String>& lParams);

    Zep::SmartPtr<Animation> load(const char* szScript, const char* szKey, const Zep::List<Zep::String>& lParams);
    void queue(const char* szScript, const char* szKey, const Zep::List<Zep::String>& lParams);
    void continuePreload();
    bool contains(const char* szKey) const { return m_hAnimations.contains(szKey); }
    void release(const char* szKey) { m_hAnimations.remove(szKey); }
    // Drops the entry only when the table holds its only reference; false
    // when the key is missing or the animation is in use.
    bool releaseUnused(const char* szKey);
    // The cached animation, or null; never loads.
    Zep::SmartPtr<Animation> find(const char* szKey) const;
    Zep::List<Zep::String> getNames() const { return m_hAnimations.getKeys(); }
    void purge();
    int getQueuedCount() const { return m_hQueued.getCount(); }
    const Zep::String& getCurrentKey() const { return m_sCurrentKey; }
    // Set by queue, cleared when the last queued animation is cached.
    bool isPreloadPending() const { return m_bPreloadPending; }
    void clearPreloadPending() { m_bPreloadPending = false; }

private:
    // Steps the current loader until done and caches its animation; the
    // loader is dropped also when a step throws.
    void finishCurrent(bool bToTheEnd);
    void store(const Zep::String& sKey, const Zep::SmartPtr<Animation>& pAnimation);

    Zep::Hash<Zep::String, Zep::SmartPtr<Animation>> m_hAnimations{97};
    Zep::Hash<Zep::String, Zep::SmartPtr<AnimationLoader>> m_hQueued{97};
    bool m_bPreloadPending = false;
    Zep::SmartPtr<AnimationLoader> m_pCurrent;
    Zep::String m_sCurrentKey;
};

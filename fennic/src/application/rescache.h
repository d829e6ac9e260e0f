// ResCache<T>: a name-to-object cache of counted objects (images, samples,
// music) that loads each name once and shares the object.
//
// The cache holds exactly one reference to every entry, and one more to every
// pinned object. That count is the contract of release: an entry is dropped
// only when, with the release's own local reference, the count is exactly 2,
// i.e. nothing outside the cache holds it. A sprite that still shows an image
// therefore keeps it cached, and a pinned object is never released. So that
// the counts stay exact, nothing here copies a SmartPtr it does not keep:
// objects travel by const reference or as the returned value.
//
// Names are used exactly as passed in; the callers fold case when their kind
// of name asks for it. Key order is the table's own (Zep::Hash, 97 buckets):
// getNames and purge follow it.
//
// A disabled cache still answers from its entries, but what get loads is
// handed out without being stored.
#pragma once

#include <zep2/error.h>
#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "driver/audiodriver.h"  // IResourceLoader

template <class T>
class ResCache {
public:
    static constexpr const char* kZepSource = ".\\src\\rescache";

    ResCache() = default;
    virtual ~ResCache();
    ResCache(const ResCache&) = delete;
    ResCache& operator=(const ResCache&) = delete;

    // The loader is not owned; null until the application's start-up sets it.
    void setLoader(IResourceLoader<T>* pLoader) { m_pLoader = pLoader; }
    IResourceLoader<T>* getLoader() const { return m_pLoader; }
    void setDisabled(bool bDisabled) { m_bDisabled = bDisabled; }
    bool isDisabled() const { return m_bDisabled; }

    // The stored object, else the loader's new one (stored unless disabled).
    // A null object from the loader is stored and returned like any other.
    // Throws FatalErrorException when the name is missing and no loader is set.
    Zep::SmartPtr<T> get(const Zep::String& sName);
    Zep::SmartPtr<T> get(const char* szName) { return get(Zep::String(szName)); }
    // Stores (or replaces) the entry; a pinned object gets one more reference.
    void add(const Zep::String& sName, const Zep::SmartPtr<T>& pObject, bool bPin);
    // True when the entry was dropped; false when the name is missing or the
    // object is held elsewhere. A null entry fails "nRef >= 2".
    bool release(const Zep::String& sName);
    bool release(const char* szName) { return release(Zep::String(szName)); }
    // release for every name, in key order.
    void purge();
    Zep::List<Zep::String> getNames() const { return m_hEntries.getKeys(); }
    bool contains(const Zep::String& sName) const { return m_hEntries.contains(sName); }
    // The stored object; null when the name is missing. No loading.
    Zep::SmartPtr<T> find(const Zep::String& sName) const;
    int getCount() const { return m_hEntries.getCount(); }
    // Drops every entry and every pin, whoever else holds them (shutdown).
    void clear();

private:
    Zep::Hash<Zep::String, Zep::SmartPtr<T>> m_hEntries{97};
    Zep::List<Zep::SmartPtr<T>> m_lPinned;
    IResourceLoader<T>* m_pLoader = nullptr;
    bool m_bDisabled = false;
};

template <class T>
ResCache<T>::~ResCache() {
    clear();
}

template <class T>
void ResCache<T>::clear() {
    m_hEntries.clear();
    m_lPinned.clear();
}

template <class T>
Zep::SmartPtr<T> ResCache<T>::get(const Zep::String& sName) {
    if (auto* pNode = m_hEntries.findNode(sName)) return pNode->value;
    if (!m_pLoader)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("ResCache::get : no loader for '%s'", sName.c_str()).c_str());
    Zep::SmartPtr<T> pObject(m_pLoader->load(sName.c_str()));
    if (!m_bDisabled) add(sName, pObject, false);
    return pObject;
}

template <class T>
void ResCache<T>::add(const Zep::String& sName, const Zep::SmartPtr<T>& pObject, bool bPin) {
    m_hEntries.set(sName, pObject);
    if (bPin) m_lPinned.add(pObject);
}

template <class T>
bool ResCache<T>::release(const Zep::String& sName) {
    auto* pNode = m_hEntries.findNode(sName);
    if (!pNode) return false;
    // The table's reference and this local one make 2 when nobody else holds it.
    Zep::SmartPtr<T> pLocal = pNode->value;
    const int nRef = pLocal.notNULL() ? pLocal->getRefCount() : 0;
    ZEP_ASSERT(nRef >= 2);
    if (nRef != 2) return false;
    m_hEntries.remove(sName);
    return true;  // pLocal frees the object on the way out
}

template <class T>
void ResCache<T>::purge() {
    for (const Zep::String& sName : getNames()) release(sName);
}

template <class T>
Zep::SmartPtr<T> ResCache<T>::find(const Zep::String& sName) const {
    auto* pNode = m_hEntries.findNode(sName);
    return pNode ? pNode->value : Zep::SmartPtr<T>();
}

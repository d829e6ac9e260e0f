// The application's resource caches: images, samples and music, each a
// ResCache (rescache.h), with the naming rules of each kind.
//
// Image names are lower-cased and go one step through the image alias table;
// sample and music names are used exactly as passed in. The image factory and
// the audio driver's loaders are given by the application's start-up
// (GameApp::initCaches); until then a cache can only answer what was added.
//
// The animation cache is kept apart: it belongs with the animation reader.
#pragma once

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/str.h>

#include "driver/audiodriver.h"
#include "application/rescache.h"

class Image;
class ImageFactory;

// Defined once, in app_caches.cpp, where the object types are complete.
extern template class ResCache<Image>;
extern template class ResCache<Sample>;
extern template class ResCache<Music>;

class ResourceCaches {
public:
    // The alias table belongs to the resource registry and must outlive this.
    explicit ResourceCaches(const Zep::Hash<Zep::String, Zep::String>& hImageAliases);
    ~ResourceCaches();
    ResourceCaches(const ResourceCaches&) = delete;
    ResourceCaches& operator=(const ResourceCaches&) = delete;

    // Either may be null: that cache then has no loader.
    void setLoaders(ImageFactory* pImageFactory, IAudioDriver* pAudioDriver);

    ResCache<Image>& images() { return m_images; }
    ResCache<Sample>& samples() { return m_samples; }
    ResCache<Music>& music() { return m_music; }

    // The image cache's key of a name: lower-cased, then its alias if any.
    Zep::String imageKey(const char* szName) const;

    Zep::SmartPtr<Image> getImage(const char* szName);
    // An alias's cached image, else the entry under the name exactly as given,
    // else a new image from the factory (name as given, option extra != 0)
    // stored under the lower-cased name, also while caching is off.
    Zep::SmartPtr<Image> loadImage(const char* szName, int nExtra);
    void addImage(const char* szName, const Zep::SmartPtr<Image>& pImage, bool bPin);
    bool releaseImage(const char* szName);
    // Releases every name missing from the keep list, which is expected in
    // the order of images().getNames().
    void releaseImagesNotIn(const Zep::List<Zep::String>& lKeep);
    bool isImageCached(const char* szName) const;
    bool imageExists(const char* szName);
    bool sampleExists(const char* szName);
    bool musicExists(const char* szName);
    // Returns the previous enabled state.
    bool setImageCacheEnabled(bool bEnabled);
    // Empties all three caches, pins included.
    void clear();

private:
    const Zep::Hash<Zep::String, Zep::String>& m_hImageAliases;
    ImageFactory* m_pImageFactory = nullptr;
    ResCache<Image> m_images;
    ResCache<Sample> m_samples;
    ResCache<Music> m_music;
};

// Turns image caching off for its lifetime, then restores the state it found
// (also when caching was already off). Without an application it does nothing.
class DisableImageCache {
public:
    DisableImageCache();
    virtual ~DisableImageCache();
    DisableImageCache(const DisableImageCache&) = delete;
    DisableImageCache& operator=(const DisableImageCache&) = delete;

private:
    bool m_bWasEnabled = true;
};

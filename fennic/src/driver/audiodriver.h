// Sound effects and music: the audio driver interface, the handles of loaded
// sounds, the loaders the resource caches use, and the silent driver.
#pragma once

#include <memory>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

namespace Zep {
class Random;
}

// A loaded sound effect. Drivers bring their own subclass.
class Sample : public Zep::RefCountedObject {
public:
    virtual float getVolume() = 0;
    virtual void setVolume(float fVolume) = 0;

    const Zep::String& getName() const { return m_sName; }

protected:
    Zep::String m_sName;
};

// A loaded music track. Drivers bring their own subclass.
class Music : public Zep::RefCountedObject {
public:
    virtual float getVolume() = 0;
    virtual void setVolume(float fVolume) = 0;
};

// Makes objects of one kind from resource names for a cache.
template <class T>
class IResourceLoader {
public:
    IResourceLoader() = default;
    virtual ~IResourceLoader() = default;
    IResourceLoader(const IResourceLoader&) = delete;
    IResourceLoader& operator=(const IResourceLoader&) = delete;

    // A new object with reference count 0; throws when the name is missing.
    virtual T* load(const char* szName) = 0;
    virtual bool exists(const char* szName) = 0;
};

// True when the resource registry finds the name with one of the suffixes
// (a null-terminated list; null or empty means the name as it is).
bool resourceExistsWithSuffixes(const char* szName, const char* const* pSuffixes);

// The usual loader: `Impl` is constructed from the name; the suffix list is
// kept by pointer and must be static.
template <class T, class Impl>
class ResourceLoaderImpl : public IResourceLoader<T> {
public:
    explicit ResourceLoaderImpl(const char* const* pSuffixes) : m_pSuffixes(pSuffixes) {}

    T* load(const char* szName) override { return new Impl(szName); }
    bool exists(const char* szName) override {
        return resourceExistsWithSuffixes(szName, m_pSuffixes);
    }

private:
    const char* const* m_pSuffixes;
};

class IAudioDriver {
public:
    IAudioDriver();
    virtual ~IAudioDriver();
    IAudioDriver(const IAudioDriver&) = delete;
    IAudioDriver& operator=(const IAudioDriver&) = delete;

    // True when the driver started.
    virtual bool init() = 0;
    virtual void shutdown() = 0;
    // Blocks new samples and music; stops nothing that plays.
    virtual void setSoundMuted(bool bMuted) = 0;

    // Returns the channel, or -1. Channel -1 takes the first free one.
    virtual int playSample(const Zep::SmartPtr<Sample>& pSample, bool bLoop, int nChannel) = 0;
    virtual void playMusic(const Zep::SmartPtr<Music>& pMusic, bool bLoop) = 0;
    virtual void setMusicPosition(float fSeconds) = 0;

    // Volumes are 0.0 .. 1.0; drivers clamp what they are given.
    virtual float getSoundVolume() = 0;
    virtual void setSoundVolume(float fVolume) = 0;
    virtual float getMusicVolume() = 0;
    virtual void setMusicVolume(float fVolume) = 0;

    // Left and right 0 .. 255.
    virtual void setPanning(int nChannel, int nLeft, int nRight) = 0;
    virtual void setChannelPosition(int nChannel, float fAngle, float fDistance) = 0;
    virtual Zep::String getChannelSampleName(int nChannel) = 0;
    virtual bool isChannelPlaying(int nChannel) = 0;
    // Channel -1 stops all; a fade of 0 or less stops at once.
    virtual void stopChannel(int nChannel, float fFadeSeconds) = 0;
    virtual bool isMusicPlaying() = 0;
    virtual void stopMusic(float fFadeSeconds) = 0;
    virtual void setPaused(bool bPaused) = 0;

    virtual IResourceLoader<Sample>* getSampleLoader() = 0;
    virtual IResourceLoader<Music>* getMusicLoader() = 0;

    // Once per frame with the unclamped elapsed time. The base runs the
    // playlist: when no music plays, the next track of the list starts.
    virtual void update(float fElapsed);

    Zep::String getCurrentMusicName() const { return m_sCurrentMusicName; }
    // Nothing when that track already plays; else it replaces the playlist.
    void playMusicTrack(const char* szName, bool bLoop);
    // Stops without fade and forgets the track and the playlist.
    void stopMusicTrack();
    // Plays the names in random order, never one track twice in a row.
    void playMusicList(const Zep::List<Zep::String>& lNames);

protected:
    Zep::String m_sCurrentMusicName;
    Zep::List<Zep::String> m_lPlaylist;

private:
    std::unique_ptr<Zep::Random> m_pRandom;  // made when a playlist first needs it
};

// Silent stand-ins for sounds when no audio device runs.
class DummySample : public Sample {
public:
    explicit DummySample(const char*) {}
    float getVolume() override { return 1.0f; }
    void setVolume(float) override {}
};

class DummyMusic : public Music {
public:
    explicit DummyMusic(const char*) {}
    float getVolume() override { return 1.0f; }
    void setVolume(float) override {}
};

// The driver that plays nothing; the application uses it when sound is off or
// the real driver failed to start.
class DummyAudioDriver : public IAudioDriver {
public:
    DummyAudioDriver();
    ~DummyAudioDriver() override;

    bool init() override;
    void shutdown() override;
    void setSoundMuted(bool) override {}
    int playSample(const Zep::SmartPtr<Sample>&, bool, int) override { return -1; }
    void playMusic(const Zep::SmartPtr<Music>&, bool) override {}
    void setMusicPosition(float) override {}
    float getSoundVolume() override { return m_fSoundVolume; }
    void setSoundVolume(float fVolume) override;
    float getMusicVolume() override { return m_fMusicVolume; }
    void setMusicVolume(float fVolume) override;
    void setPanning(int, int, int) override {}
    void setChannelPosition(int, float, float) override {}
    Zep::String getChannelSampleName(int) override { return Zep::String(); }
    bool isChannelPlaying(int) override { return false; }
    void stopChannel(int, float) override {}
    bool isMusicPlaying() override { return false; }
    void stopMusic(float) override {}
    void setPaused(bool) override {}
    IResourceLoader<Sample>* getSampleLoader() override { return m_pSampleLoader.get(); }
    IResourceLoader<Music>* getMusicLoader() override { return m_pMusicLoader.get(); }

private:
    float m_fSoundVolume = 1.0f;
    float m_fMusicVolume = 1.0f;
    std::unique_ptr<IResourceLoader<Sample>> m_pSampleLoader;
    std::unique_ptr<IResourceLoader<Music>> m_pMusicLoader;
};

// Volumes given to a driver are clamped to 0.0 .. 1.0 (callers pass raw
// settings divided by 255, which may exceed 1.0).
float clampVolume(float fVolume);

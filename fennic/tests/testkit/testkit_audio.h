// An audio driver for tests: configurable start-up, loaders over a set of
// known names, and a record of every call.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "driver/audiodriver.h"

namespace testkit {

class FakeSample : public Sample {
public:
    explicit FakeSample(const char* szName) { m_sName = szName; }
    float getVolume() override { return m_fVolume; }
    void setVolume(float fVolume) override { m_fVolume = fVolume; }

private:
    float m_fVolume = 1.0f;
};

class FakeMusic : public Music {
public:
    explicit FakeMusic(const char* szName) : m_sName(szName) {}
    float getVolume() override { return m_fVolume; }
    void setVolume(float fVolume) override { m_fVolume = fVolume; }
    const Zep::String& getName() const { return m_sName; }

private:
    Zep::String m_sName;
    float m_fVolume = 1.0f;
};

// Knows the names it was given; others throw Zep::ResourceException.
template <class T, class Impl>
class FakeLoader : public IResourceLoader<T> {
public:
    T* load(const char* szName) override;
    bool exists(const char* szName) override { return szName && m_setNames.count(szName) > 0; }

    std::set<std::string> m_setNames;
    std::vector<std::string> m_vLoaded;
};

class FakeAudioDriver : public IAudioDriver {
public:
    struct PlayedSample {
        std::string sName;
        bool bLoop;
        int nChannel;
    };

    FakeAudioDriver();
    ~FakeAudioDriver() override;

    bool init() override;
    void shutdown() override { ++m_nShutdownCount; }
    void setSoundMuted(bool bMuted) override { m_bMuted = bMuted; }
    int playSample(const Zep::SmartPtr<Sample>& pSample, bool bLoop, int nChannel) override;
    void playMusic(const Zep::SmartPtr<Music>& pMusic, bool bLoop) override;
    void setMusicPosition(float) override {}
    float getSoundVolume() override { return m_fSoundVolume; }
    void setSoundVolume(float fVolume) override;
    float getMusicVolume() override { return m_fMusicVolume; }
    void setMusicVolume(float fVolume) override;
    void setPanning(int nChannel, int nLeft, int nRight) override;
    void setChannelPosition(int, float, float) override {}
    Zep::String getChannelSampleName(int) override { return Zep::String(); }
    bool isChannelPlaying(int nChannel) override { return m_setPlayingChannels.count(nChannel) > 0; }
    void stopChannel(int nChannel, float fFadeSeconds) override;
    bool isMusicPlaying() override { return m_bMusicPlaying; }
    void stopMusic(float fFadeSeconds) override;
    void setPaused(bool bPaused) override { m_bPaused = bPaused; }
    IResourceLoader<Sample>* getSampleLoader() override { return &m_sampleLoader; }
    IResourceLoader<Music>* getMusicLoader() override { return &m_musicLoader; }
    void update(float fElapsed) override;

    // ---- Configuration ----
    bool m_bInitResult = true;
    int m_nNextChannel = 0;  // what playSample answers (-1: no channel)

    // ---- What happened ----
    int m_nInitCount = 0;
    int m_nShutdownCount = 0;
    bool m_bMuted = false;
    bool m_bPaused = false;
    bool m_bMusicPlaying = false;
    float m_fSoundVolume = 1.0f;
    float m_fMusicVolume = 1.0f;
    std::vector<float> m_vSoundVolumeCalls;  // raw values as given
    std::vector<float> m_vMusicVolumeCalls;
    std::vector<float> m_vUpdates;
    std::vector<PlayedSample> m_vSamples;
    std::vector<std::string> m_vMusic;  // names of the tracks started
    std::vector<std::pair<int, float>> m_vStoppedChannels;
    std::vector<float> m_vMusicStops;
    std::vector<std::vector<int>> m_vPanning;  // channel, left, right
    std::set<int> m_setPlayingChannels;
    FakeLoader<Sample, FakeSample> m_sampleLoader;
    FakeLoader<Music, FakeMusic> m_musicLoader;
};

}  // namespace testkit

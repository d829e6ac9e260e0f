// Sound over SDL_mixer: the driver, its samples (decoded at load) and music
// tracks (streamed from their resource while they play).
//
// Volumes cross the interface as 0.0 .. 1.0 and fades as seconds; SDL_mixer's
// 0 .. 128 and milliseconds appear only at the library calls, truncated
// toward zero. When GameApp::isAudioEnabled() is false nothing reaches the
// mixer: samples and music load empty and every query answers false or -1.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <memory>

#include <zep2/hash.h>
#include <zep2/resource.h>

#include "driver/audiodriver.h"
#include "base/timer.h"

class SDLSample : public Sample {
public:
    // Throws AssertFailException "Assertion failed : sName" for null, and
    // ResourceException "SDLSample::Sample : ..." when the sound cannot be
    // found, wrapped or decoded; bytes that fail the sound check
    // (soundcheck.h) never reach the mixer: "Can't load <name> [<why>]".
    explicit SDLSample(const char* szName);
    ~SDLSample() override;

    // The chunk's own volume / 128; 0.0 without a chunk.
    float getVolume() override;
    void setVolume(float fVolume) override;
    Mix_Chunk* getChunk() const { return m_pChunk; }

private:
    Mix_Chunk* m_pChunk = nullptr;
};

class SDLMusic : public Music {
public:
    // As SDLSample, with "SDLMusic::Music : ..." messages. The resource and
    // its reader stay with the track for its life: SDL_mixer reads from them
    // while it plays.
    explicit SDLMusic(const char* szName);
    ~SDLMusic() override;

    // The track's own volume, applied when the driver starts it.
    float getVolume() override { return m_fVolume; }
    void setVolume(float fVolume) override { m_fVolume = fVolume; }
    Mix_Music* getTrack() const { return m_pTrack; }

private:
    Mix_Music* m_pTrack = nullptr;
    SDL_RWops* m_pReader = nullptr;
    Zep::SmartPtr<Zep::Resource> m_pResource;
    float m_fVolume = 1.0f;
};

class SDLAudioDriver : public IAudioDriver {
public:
    // Channels the mixer gets.
    static constexpr int kChannels = 16;
    // Seconds between sweeps of finished channels.
    static constexpr float kSweepSeconds = 15.0f;

    SDLAudioDriver();
    ~SDLAudioDriver() override;

    // Opens the mixer (16-bit stereo). On failure logs "A: Audio init failed :
    // <reason>" and answers false.
    bool init() override;
    void shutdown() override;
    void setSoundMuted(bool bMuted) override { m_bMuted = bMuted; }
    // Throws AssertFailException "Assertion failed : notNULL(pSample)".
    int playSample(const Zep::SmartPtr<Sample>& pSample, bool bLoop, int nChannel) override;
    // Plays once; update restarts a looping track. Throws
    // AssertFailException "Assertion failed : notNULL(pMusic)".
    void playMusic(const Zep::SmartPtr<Music>& pMusic, bool bLoop) override;
    void setMusicPosition(float fSeconds) override;
    float getSoundVolume() override { return m_fSoundVolume; }
    void setSoundVolume(float fVolume) override;
    float getMusicVolume() override { return m_fMusicVolume; }
    void setMusicVolume(float fVolume) override;
    void setPanning(int nChannel, int nLeft, int nRight) override;
    // Angle in degrees (0 ahead), distance 0.0 .. 1.0; exactly 0.0 switches
    // the effect off.
    void setChannelPosition(int nChannel, float fAngle, float fDistance) override;
    Zep::String getChannelSampleName(int nChannel) override;
    bool isChannelPlaying(int nChannel) override;
    void stopChannel(int nChannel, float fFadeSeconds) override;
    bool isMusicPlaying() override;
    void stopMusic(float fFadeSeconds) override;
    void setPaused(bool bPaused) override;
    IResourceLoader<Sample>* getSampleLoader() override { return m_pSampleLoader.get(); }
    IResourceLoader<Music>* getMusicLoader() override { return m_pMusicLoader.get(); }
    // The playlist, the restart of a looping track, then every 15 s the
    // channels that finished are forgotten (their samples released).
    void update(float fElapsed) override;

    // Take effect at the next init; a chunk size below 1 chooses by frequency.
    void setFrequency(int nFrequency) { m_nFrequency = nFrequency; }
    void setChunkSize(int nChunkSize) { m_nChunkSize = nChunkSize; }
    // The chunk size init passes to the mixer.
    int chooseChunkSize() const;
    bool isPaused() const { return m_bPaused; }

    // The application's word on whether sound runs.
    static bool isAudioOn();

private:
    void forgetChannel(int nChannel);
    void sweepChannels();

    int m_nFrequency = 22050;
    int m_nChunkSize = -1;
    float m_fSoundVolume = 1.0f;
    float m_fMusicVolume = 1.0f;
    float m_fTrackVolume = 1.0f;
    bool m_bPaused = false;
    bool m_bMuted = false;
    Zep::SmartPtr<Timer> m_pSweepTimer;
    Zep::Hash<int, Zep::SmartPtr<Sample>> m_channelSamples{97};
    Zep::SmartPtr<Music> m_pCurrentMusic;
    bool m_bLoopMusic = false;
    std::unique_ptr<IResourceLoader<Sample>> m_pSampleLoader;
    std::unique_ptr<IResourceLoader<Music>> m_pMusicLoader;
};

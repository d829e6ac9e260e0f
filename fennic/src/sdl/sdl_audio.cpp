#include "sdl/sdl_audio.h"

#include <zep2/error.h>

#include "application/gameapp.h"
#include "media/soundcheck.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_audio";

const char* const kSampleSuffixes[] = {".ogg", ".wav", ".voc", nullptr};
const char* const kMusicSuffixes[] = {".ogg", ".wav", ".xm", nullptr};

// SDL_mixer's full volume.
constexpr float kMixerScale = 128.0f;
constexpr float kMillisecondsPerSecond = 1000.0f;
// Chunk sizes chosen by frequency when none is set.
constexpr int kLowRateFrequency = 22050;
constexpr int kLowRateChunk = 2048;
constexpr int kOtherChunk = 4096;

int mixerVolume(float fVolume) { return static_cast<int>(fVolume * kMixerScale); }
int milliseconds(float fSeconds) { return static_cast<int>(fSeconds * kMillisecondsPerSecond); }

// The resource's stored name with one of the suffixes; empty when none has it.
Zep::String findStored(const char* szName, const char* const* pSuffixes) {
    GameApp* pApp = GameApp::getInstance();
    return pApp ? pApp->findResource(szName, pSuffixes) : Zep::String();
}

// The bytes of a found resource; throws when no provider gives them.
Zep::SmartPtr<Zep::Resource> loadBytes(const Zep::String& sStored) {
    Zep::SmartPtr<Zep::Resource> pFound = GameApp::getInstance()->getResource(sStored.c_str());
    const Zep::Resource* pResource = pFound.get();
    ZEP_ASSERT(pResource);
    return pFound;
}

Zep::String describe(const char* szFormat, const char* szName) {
    return Zep::String::format(szFormat, szName, SDL_GetError());
}

Zep::String checkBytes(const Zep::Resource& resource, SoundUse use) {
    return checkSound(resource.getData(), static_cast<size_t>(resource.getSize()), use);
}

// The load failure for bytes the sound check refused, in the mixer's place.
Zep::String refusal(const char* szWho, const char* szName, const Zep::String& sWhy) {
    return Zep::String::format("%s : Can't load %s [%s]", szWho, szName, sWhy.c_str());
}

}  // namespace

bool SDLAudioDriver::isAudioOn() {
    GameApp* pApp = GameApp::getInstance();
    return pApp && pApp->isAudioEnabled();
}

// ---- SDLSample ------------------------------------------------------------------

SDLSample::SDLSample(const char* szName) {
    ZEP_TRACE("SDLSample::SDLSample");
    const char* sName = szName;
    ZEP_ASSERT(sName);
    Zep::ScopeTrace::setDetail(("[" + Zep::String(szName) + "]").c_str());
    if (!SDLAudioDriver::isAudioOn()) return;
    m_sName = szName;
    const Zep::String sStored = findStored(szName, kSampleSuffixes);
    if (sStored.isEmpty())
        ZEP_THROW(Zep::ResourceException, describe("SDLSample::Sample : Resource %s not found [%s]", szName).c_str());
    Zep::SmartPtr<Zep::Resource> pResource = loadBytes(sStored);
    SDL_RWops* pReader = SDL_RWFromMem(pResource->getData(), pResource->getSize());
    if (!pReader)
        ZEP_THROW(Zep::ResourceException,
                  Zep::String::format("SDLSample::Sample : Can't create RWOps for %s, size %d [%s]", szName,
                                      pResource->getSize(), SDL_GetError())
                      .c_str());
    // The mixer trusts the headers it reads: only checked bytes reach it.
    if (const Zep::String sWhy = checkBytes(*pResource, SoundUse::Sample); !sWhy.isEmpty()) {
        SDL_FreeRW(pReader);
        ZEP_THROW(Zep::ResourceException, refusal("SDLSample::Sample", szName, sWhy).c_str());
    }
    // The chunk keeps its own decoded copy: reader and bytes go at once.
    m_pChunk = Mix_LoadWAV_RW(pReader, 0);
    SDL_FreeRW(pReader);
    if (!m_pChunk) ZEP_THROW(Zep::ResourceException, describe("SDLSample::Sample : Can't load %s [%s]", szName).c_str());
}

SDLSample::~SDLSample() {
    if (m_pChunk) Mix_FreeChunk(m_pChunk);
}

float SDLSample::getVolume() {
    return m_pChunk ? static_cast<float>(Mix_VolumeChunk(m_pChunk, -1)) * 0.0078125f : 0.0f;
}

void SDLSample::setVolume(float fVolume) {
    if (m_pChunk) Mix_VolumeChunk(m_pChunk, mixerVolume(fVolume));
}

// ---- SDLMusic -----------------------------------------------------------------------

SDLMusic::SDLMusic(const char* szName) {
    ZEP_TRACE("SDLMusic::SDLMusic");
    const char* sName = szName;
    ZEP_ASSERT(sName);
    Zep::ScopeTrace::setDetail(szName);
    if (!SDLAudioDriver::isAudioOn()) return;
    const Zep::String sStored = findStored(szName, kMusicSuffixes);
    if (sStored.isEmpty())
        ZEP_THROW(Zep::ResourceException, Zep::String::format("SDLMusic::Music : Resource %s not found", szName).c_str());
    m_pResource = loadBytes(sStored);
    m_pReader = SDL_RWFromMem(m_pResource->getData(), m_pResource->getSize());
    if (!m_pReader)
        ZEP_THROW(Zep::ResourceException,
                  Zep::String::format("SDLMusic::Music : Can't create RWOps for %s, size %d [%s]", szName,
                                      m_pResource->getSize(), SDL_GetError())
                      .c_str());
    if (const Zep::String sWhy = checkBytes(*m_pResource, SoundUse::Music); !sWhy.isEmpty()) {
        SDL_FreeRW(m_pReader);
        m_pReader = nullptr;
        ZEP_THROW(Zep::ResourceException, refusal("SDLMusic::Music", szName, sWhy).c_str());
    }
    m_pTrack = Mix_LoadMUS_RW(m_pReader);
    if (!m_pTrack) {
        const Zep::String sWhy = describe("SDLMusic::Music : Can't load %s [%s]", szName);
        SDL_FreeRW(m_pReader);
        m_pReader = nullptr;
        ZEP_THROW(Zep::ResourceException, sWhy.c_str());
    }
}

// The mixer does not free the reader it was given: it goes after the track.
SDLMusic::~SDLMusic() {
    if (m_pTrack) Mix_FreeMusic(m_pTrack);
    if (m_pReader) SDL_FreeRW(m_pReader);
}

// ---- SDLAudioDriver: life cycle ------------------------------------------------------

SDLAudioDriver::SDLAudioDriver()
    : m_pSweepTimer(new Timer(kSweepSeconds, 0)),
      m_pSampleLoader(std::make_unique<ResourceLoaderImpl<Sample, SDLSample>>(kSampleSuffixes)),
      m_pMusicLoader(std::make_unique<ResourceLoaderImpl<Music, SDLMusic>>(kMusicSuffixes)) {}

SDLAudioDriver::~SDLAudioDriver() = default;

int SDLAudioDriver::chooseChunkSize() const {
    if (m_nChunkSize >= 1) return m_nChunkSize;
    return m_nFrequency == kLowRateFrequency ? kLowRateChunk : kOtherChunk;
}

bool SDLAudioDriver::init() {
    ZEP_TRACE("SDLAudioDriver::init");
    if (Mix_OpenAudio(m_nFrequency, AUDIO_S16LSB, 2, chooseChunkSize()) < 0) {
        GameApp::log("A: Audio init failed : %s\n", SDL_GetError());
        return false;
    }
    Mix_AllocateChannels(kChannels);
    m_fSoundVolume = m_fMusicVolume = m_fTrackVolume = 1.0f;
    return true;
}

void SDLAudioDriver::shutdown() {
    if (isAudioOn()) Mix_CloseAudio();
}

// ---- Playing ---------------------------------------------------------------------------

int SDLAudioDriver::playSample(const Zep::SmartPtr<Sample>& pSample, bool bLoop, int nChannel) {
    ZEP_TRACE("SDLAudioDriver::playSample");
    if (m_bMuted || !isAudioOn()) return -1;
    ZEP_ASSERT(notNULL(pSample));
    auto* pSdlSample = dynamic_cast<SDLSample*>(pSample.get());
    Mix_Chunk* pChunk = pSdlSample ? pSdlSample->getChunk() : nullptr;
    const int nResult = pChunk ? Mix_PlayChannelTimed(nChannel, pChunk, bLoop ? -1 : 0, -1) : -1;
    setPaused(m_bPaused);
    // Only a channel that plays keeps its sample alive.
    if (nResult >= 0) m_channelSamples.set(nResult, pSample);
    return nResult;
}

void SDLAudioDriver::playMusic(const Zep::SmartPtr<Music>& pMusic, bool bLoop) {
    ZEP_TRACE("SDLAudioDriver::playMusic");
    if (m_bMuted || !isAudioOn()) return;
    m_pCurrentMusic = pMusic;
    m_bLoopMusic = bLoop;
    ZEP_ASSERT(notNULL(pMusic));
    if (auto* pSdlMusic = dynamic_cast<SDLMusic*>(pMusic.get()); pSdlMusic && pSdlMusic->getTrack())
        Mix_PlayMusic(pSdlMusic->getTrack(), 0);
    m_fTrackVolume = pMusic->getVolume();
    setMusicVolume(m_fMusicVolume);
    setPaused(m_bPaused);
}

void SDLAudioDriver::setMusicPosition(float fSeconds) {
    if (isMusicPlaying()) Mix_SetMusicPosition(fSeconds);
}

void SDLAudioDriver::setPaused(bool bPaused) {
    m_bPaused = bPaused;
    if (!isAudioOn()) return;
    if (bPaused) {
        Mix_Pause(-1);
        Mix_PauseMusic();
    } else {
        Mix_Resume(-1);
        Mix_ResumeMusic();
    }
}

// ---- Volumes and placement ------------------------------------------------------------

void SDLAudioDriver::setSoundVolume(float fVolume) {
    m_fSoundVolume = clampVolume(fVolume);
    if (isAudioOn()) Mix_Volume(-1, mixerVolume(m_fSoundVolume));
}

void SDLAudioDriver::setMusicVolume(float fVolume) {
    m_fMusicVolume = clampVolume(fVolume);
    if (isAudioOn()) Mix_VolumeMusic(mixerVolume(m_fMusicVolume * m_fTrackVolume));
}

void SDLAudioDriver::setPanning(int nChannel, int nLeft, int nRight) {
    if (isAudioOn()) Mix_SetPanning(nChannel, static_cast<Uint8>(nLeft), static_cast<Uint8>(nRight));
}

void SDLAudioDriver::setChannelPosition(int nChannel, float fAngle, float fDistance) {
    if (!isAudioOn()) return;
    if (fDistance == 0.0f) {
        Mix_SetPosition(nChannel, 0, 0);
        return;
    }
    Mix_SetPosition(nChannel, static_cast<Sint16>(90.0f - fAngle), static_cast<Uint8>(static_cast<int>(fDistance * 255.0f) & 0xFF));
}

// ---- Channels and music state ------------------------------------------------------------

Zep::String SDLAudioDriver::getChannelSampleName(int nChannel) {
    if (!m_channelSamples.contains(nChannel)) return Zep::String();
    const Zep::SmartPtr<Sample>& pSample = m_channelSamples.get(nChannel);
    return pSample.notNULL() ? pSample->getName() : Zep::String();
}

bool SDLAudioDriver::isChannelPlaying(int nChannel) {
    return isAudioOn() && nChannel >= 0 && Mix_Playing(nChannel) != 0;
}

void SDLAudioDriver::stopChannel(int nChannel, float fFadeSeconds) {
    if (isAudioOn()) {
        if (fFadeSeconds <= 0.0f)
            Mix_HaltChannel(nChannel);
        else
            Mix_FadeOutChannel(nChannel, milliseconds(fFadeSeconds));
    }
    forgetChannel(nChannel);
}

bool SDLAudioDriver::isMusicPlaying() { return isAudioOn() && Mix_PlayingMusic() != 0; }

void SDLAudioDriver::stopMusic(float fFadeSeconds) {
    if (!isAudioOn()) return;
    m_bLoopMusic = false;
    m_pCurrentMusic = nullptr;
    if (fFadeSeconds <= 0.0f)
        Mix_HaltMusic();
    else
        Mix_FadeOutMusic(milliseconds(fFadeSeconds));
}

void SDLAudioDriver::forgetChannel(int nChannel) {
    if (m_channelSamples.contains(nChannel)) m_channelSamples.remove(nChannel);
}

// ---- The frame step -----------------------------------------------------------------------

void SDLAudioDriver::update(float fElapsed) {
    ZEP_TRACE("SDLAudioDriver::update");
    IAudioDriver::update(fElapsed);
    if (!isMusicPlaying() && m_bLoopMusic && m_pCurrentMusic.notNULL()) playMusic(m_pCurrentMusic, true);
    if (m_pSweepTimer->advance(fElapsed)) {
        m_pSweepTimer->wrap();
        sweepChannels();
    }
}

void SDLAudioDriver::sweepChannels() {
    const Zep::List<int> lChannels = m_channelSamples.getKeys();
    for (int i = 0; i < lChannels.getCount(); ++i)
        if (!isChannelPlaying(lChannels.get(i))) forgetChannel(lChannels.get(i));
}

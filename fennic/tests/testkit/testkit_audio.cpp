#include "testkit/testkit_audio.h"

#include <zep2/error.h>

namespace testkit {

namespace {
constexpr const char* kZepSource = "testkit_audio";
}

template <class T, class Impl>
T* FakeLoader<T, Impl>::load(const char* szName) {
    if (!exists(szName))
        ZEP_THROW(Zep::ResourceException,
                  Zep::String::format("FakeLoader : Resource %s not found", szName ? szName : "(null)").c_str());
    m_vLoaded.push_back(szName);
    return new Impl(szName);
}

template class FakeLoader<Sample, FakeSample>;
template class FakeLoader<Music, FakeMusic>;

FakeAudioDriver::FakeAudioDriver() = default;

FakeAudioDriver::~FakeAudioDriver() = default;

bool FakeAudioDriver::init() {
    ++m_nInitCount;
    return m_bInitResult;
}

int FakeAudioDriver::playSample(const Zep::SmartPtr<Sample>& pSample, bool bLoop, int nChannel) {
    m_vSamples.push_back({pSample.notNULL() ? pSample->getName().c_str() : "", bLoop, nChannel});
    if (m_nNextChannel >= 0) m_setPlayingChannels.insert(m_nNextChannel);
    return m_nNextChannel;
}

void FakeAudioDriver::playMusic(const Zep::SmartPtr<Music>& pMusic, bool) {
    auto* pFake = dynamic_cast<FakeMusic*>(pMusic.get());
    m_vMusic.push_back(pFake ? pFake->getName().c_str() : "");
    m_bMusicPlaying = pMusic.notNULL();
}

void FakeAudioDriver::setSoundVolume(float fVolume) {
    m_vSoundVolumeCalls.push_back(fVolume);
    m_fSoundVolume = clampVolume(fVolume);
}

void FakeAudioDriver::setMusicVolume(float fVolume) {
    m_vMusicVolumeCalls.push_back(fVolume);
    m_fMusicVolume = clampVolume(fVolume);
}

void FakeAudioDriver::setPanning(int nChannel, int nLeft, int nRight) {
    m_vPanning.push_back({nChannel, nLeft, nRight});
}

void FakeAudioDriver::stopChannel(int nChannel, float fFadeSeconds) {
    m_vStoppedChannels.emplace_back(nChannel, fFadeSeconds);
    if (nChannel < 0) m_setPlayingChannels.clear();
    else m_setPlayingChannels.erase(nChannel);
}

void FakeAudioDriver::stopMusic(float fFadeSeconds) {
    m_vMusicStops.push_back(fFadeSeconds);
    m_bMusicPlaying = false;
}

void FakeAudioDriver::update(float fElapsed) {
    m_vUpdates.push_back(fElapsed);
    IAudioDriver::update(fElapsed);
}

}  // namespace testkit

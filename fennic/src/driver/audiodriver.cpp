#include "driver/audiodriver.h"

#include <cmath>

#include <zep2/error.h>
#include <zep2/random.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\audiodriver";

// The silent loaders look names up as they are.
const char* const kNoSuffixes[] = {nullptr};

}  // namespace

bool resourceExistsWithSuffixes(const char* szName, const char* const* pSuffixes) {
    GameApp* pApp = GameApp::getInstance();
    return pApp && szName && !pApp->findResource(szName, pSuffixes).isEmpty();
}

float clampVolume(float fVolume) {
    if (std::isnan(fVolume) || fVolume < 0.0f) return 0.0f;
    return fVolume > 1.0f ? 1.0f : fVolume;
}

// ---- IAudioDriver: the music helpers and the playlist -------------------------

IAudioDriver::IAudioDriver() = default;

IAudioDriver::~IAudioDriver() = default;

void IAudioDriver::update(float) {
    ZEP_TRACE("IAudioDriver::update");
    if (isMusicPlaying() || m_lPlaylist.isEmpty()) return;
    int nCount = m_lPlaylist.getCount();
    Zep::String sName = m_lPlaylist.get(0);
    if (nCount > 1) {
        // Never the same track twice in a row; a list that offers nothing
        // else repeats the current track rather than drawing forever.
        bool bOther = false;
        for (int i = 0; i < nCount && !bOther; ++i) bOther = m_lPlaylist.get(i) != m_sCurrentMusicName;
        if (bOther) {
            if (!m_pRandom) m_pRandom = std::make_unique<Zep::Random>();
            do {
                sName = m_lPlaylist.get(m_pRandom->randInt(0, nCount - 1));
            } while (sName == m_sCurrentMusicName);
        } else {
            sName = m_sCurrentMusicName;
        }
    }
    m_sCurrentMusicName = sName;
    if (GameApp* pApp = GameApp::getInstance()) playMusic(pApp->getMusic(sName.c_str()), false);
}

void IAudioDriver::playMusicTrack(const char* szName, bool bLoop) {
    ZEP_TRACE("IAudioDriver::playMusicTrack");
    if (m_sCurrentMusicName == szName && isMusicPlaying()) return;
    m_lPlaylist.clear();
    m_sCurrentMusicName = szName;
    if (GameApp* pApp = GameApp::getInstance()) playMusic(pApp->getMusic(szName), bLoop);
}

void IAudioDriver::stopMusicTrack() {
    stopMusic(0.0f);
    m_sCurrentMusicName = "";
    m_lPlaylist.clear();
}

void IAudioDriver::playMusicList(const Zep::List<Zep::String>& lNames) {
    stopMusicTrack();
    m_lPlaylist = lNames;
    update(0.0f);
}

// ---- DummyAudioDriver --------------------------------------------------------------

DummyAudioDriver::DummyAudioDriver() = default;

DummyAudioDriver::~DummyAudioDriver() { shutdown(); }

bool DummyAudioDriver::init() {
    m_pSampleLoader = std::make_unique<ResourceLoaderImpl<Sample, DummySample>>(kNoSuffixes);
    m_pMusicLoader = std::make_unique<ResourceLoaderImpl<Music, DummyMusic>>(kNoSuffixes);
    return true;
}

void DummyAudioDriver::shutdown() {
    m_pSampleLoader.reset();
    m_pMusicLoader.reset();
}

void DummyAudioDriver::setSoundVolume(float fVolume) { m_fSoundVolume = clampVolume(fVolume); }

void DummyAudioDriver::setMusicVolume(float fVolume) { m_fMusicVolume = clampVolume(fVolume); }

// The clips' sound on SDL_mixer's audio thread: the dispatcher that owns the
// post-mix hook, each decoder's mixing with its format conversion, and the
// forward seek that empties the queue.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <zep2/error.h>

#include "sdl/sdl_theora.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_theora_mix";

// The decoders with sound, in the order they opened; changed under the lock.
std::vector<SDLTheoraVideo*>& registeredClips() {
    static std::vector<SDLTheoraVideo*> lClips;
    return lClips;
}

void dispatchPostMix(void*, Uint8* pStream, int nLength) {
    for (SDLTheoraVideo* pVideo : registeredClips()) pVideo->mixAudio(pStream, nLength);
}

}  // namespace

namespace TheoraPostMix {

void add(SDLTheoraVideo* pVideo) {
    SDL_LockAudio();
    registeredClips().push_back(pVideo);
    const bool bFirst = registeredClips().size() == 1;
    SDL_UnlockAudio();
    if (bFirst) Mix_SetPostMix(dispatchPostMix, nullptr);
}

void remove(SDLTheoraVideo* pVideo) {
    SDL_LockAudio();
    auto& lClips = registeredClips();
    const auto it = std::find(lClips.begin(), lClips.end(), pVideo);
    const bool bFound = it != lClips.end();
    if (bFound) lClips.erase(it);
    const bool bLast = bFound && lClips.empty();
    SDL_UnlockAudio();
    if (bLast) Mix_SetPostMix(nullptr, nullptr);
}

}  // namespace TheoraPostMix

void SDLTheoraVideo::mixAudio(uint8_t* pStream, int nLength) {
    if (!m_bPlaying) return;
    // The audio clock runs whether or not sound is queued.
    const float fStep = static_cast<float>(nLength) / static_cast<float>(m_nMixerBytesPerSecond);
    m_fAudioTime.store(m_fAudioTime.load(std::memory_order_relaxed) + fStep, std::memory_order_relaxed);
    while (nLength > 0 && !m_bStopping && !m_lAudio.empty()) {
        SDLTHAudio& block = m_lAudio.front();
        const uint8_t* pSource = nullptr;
        int n = 0;
        if (!m_bConvertAudio) {
            n = static_cast<int>(std::min<size_t>(nLength, block.remaining()));
            pSource = block.data.data() + block.nCursor;
            block.nCursor += n;
        } else {
            n = convertPiece(block, std::min(nLength, kConvertBufferSize));
            pSource = m_aConvertBuffer.data();
        }
        if (m_bExclusiveAudio)
            std::memcpy(pStream, pSource, n);
        else
            SDL_MixAudio(pStream, pSource, n, SDL_MIX_MAXVOLUME);
        pStream += n;
        nLength -= n;
        if (block.remaining() == 0) {
            m_lAudio.pop_front();
        } else if (n == 0) {
            // Less room than one output frame: the rest waits for the next call.
            break;
        }
    }
}

// Whole sample frames of the block at the rate step into the conversion
// buffer, at most nMaxBytes; output channel c takes clip channel
// min(c, clip channels - 1), so a mono clip is doubled. The block's cursor
// moves over the frames stepped past. Returns the bytes produced.
int SDLTheoraVideo::convertPiece(SDLTHAudio& block, int nMaxBytes) {
    const int nInFrame = m_nClipChannels * 2;
    const int nOutFrame = m_nMixerChannels * 2;
    const size_t nFrames = block.remaining() / nInFrame;
    const uint8_t* pIn = block.data.data() + block.nCursor;
    float p = 0.0f;
    int nProduced = 0;
    while (nProduced + nOutFrame <= nMaxBytes) {
        const size_t i = static_cast<size_t>(p);
        if (i >= nFrames) break;
        for (int c = 0; c < m_nMixerChannels; ++c) {
            const int nChannel = std::min(c, m_nClipChannels - 1);
            std::memcpy(&m_aConvertBuffer[nProduced + c * 2], pIn + i * nInFrame + nChannel * 2, 2);
        }
        nProduced += nOutFrame;
        p += m_fRateStep;
    }
    // Frames stepped past are used up; a partial frame left at the end too.
    const size_t nUsed = std::min(static_cast<size_t>(p), nFrames);
    block.nCursor += nUsed == nFrames ? block.remaining() : nUsed * nInFrame;
    return nProduced;
}

void SDLTheoraVideo::seek(float fSeconds) {
    const float fDelta = fSeconds - getPosition();
    if (!(fDelta >= 0.0f)) ZEP_THROW(Zep::FatalErrorException, "Theora : Backwards seek not implemented\n");
    SDL_LockAudio();
    m_fAudioTime.store(m_fAudioTime.load(std::memory_order_relaxed) + fDelta, std::memory_order_relaxed);
    m_lAudio.clear();
    SDL_UnlockAudio();
    m_fTime += fDelta;
}

// SDLTheoraVideo: opening a clip (stream discovery, headers, decoders, the
// mixer's format) and its end. Decoding is in sdl_theora_update.cpp, the
// sound hook in sdl_theora_mix.cpp.
#include "sdl/sdl_theora.h"

#include <theora/theoradec.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <zep2/error.h>
#include <zep2/file.h>

#include "application/gameapp.h"
#include "media/yuvtables.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sdl_theora";

// The three header packets each stream starts with.
constexpr int kHeaderPackets = 3;

bool fail(const char* szMessage) {
    std::fputs(szMessage, stderr);
    return false;
}

}  // namespace

SDLTheoraVideo::SDLTheoraVideo() { yuvTables(); }

SDLTheoraVideo::~SDLTheoraVideo() {
    if (m_bOpened) release();
}

// The hook goes first (under the lock), then the queue, then the decoders.
void SDLTheoraVideo::release() {
    m_bStopping = true;
    TheoraPostMix::remove(this);
    SDL_LockAudio();
    m_lAudio.clear();
    SDL_UnlockAudio();
    if (m_bVorbisStarted) {
        vorbis_block_clear(&m_vorbisBlock);
        vorbis_dsp_clear(&m_vorbisDsp);
    }
    if (hasSound()) ogg_stream_clear(&m_vorbisStream);
    vorbis_comment_clear(&m_vorbisComment);
    vorbis_info_clear(&m_vorbisInfo);
    if (m_bTheoraStarted) theora_clear(&m_theoraState);
    if (hasPictures()) ogg_stream_clear(&m_theoraStream);
    theora_comment_clear(&m_theoraComment);
    theora_info_clear(&m_theoraInfo);
    ogg_sync_clear(&m_sync);
    m_pStream = nullptr;
}

void SDLTheoraVideo::rewind() { ZEP_THROW(Zep::FatalErrorException, "Not implemented"); }

float SDLTheoraVideo::getPosition() const {
    const GameApp* pApp = GameApp::getInstance();
    if (hasSound() && pApp && pApp->isAudioEnabled()) return m_fAudioTime.load(std::memory_order_relaxed);
    return m_fTime;
}

int SDLTheoraVideo::readData() {
    char* pBuffer = ogg_sync_buffer(&m_sync, kReadBlock);
    const int nRead = std::max(0, m_pStream->read(kReadBlock, pBuffer));
    ogg_sync_wrote(&m_sync, nRead);
    return nRead;
}

void SDLTheoraVideo::queuePage() {
    if (hasPictures()) ogg_stream_pagein(&m_theoraStream, &m_page);
    if (hasSound()) ogg_stream_pagein(&m_vorbisStream, &m_page);
}

// Every whole page the sync layer holds, past any bytes it skips (a damaged
// page or junk between pages). True when one was queued.
bool SDLTheoraVideo::queuePages() {
    bool bQueued = false;
    int r = 0;
    while ((r = ogg_sync_pageout(&m_sync, &m_page)) != 0) {
        if (r < 0) continue;
        queuePage();
        bQueued = true;
    }
    return bQueued;
}

bool SDLTheoraVideo::open(const char* szPath) {
    if (m_bOpened || !Zep::File::exists(szPath)) return false;
    m_pStream = new Zep::File(szPath, Zep::File::kModeRead);
    m_bOpened = true;
    ogg_sync_init(&m_sync);
    vorbis_info_init(&m_vorbisInfo);
    vorbis_comment_init(&m_vorbisComment);
    theora_comment_init(&m_theoraComment);
    theora_info_init(&m_theoraInfo);
    if (!findStreams() || !readRemainingHeaders()) return false;
    // A file without a picture stream is refused, as is an oversized picture.
    if (!hasPictures()) return false;
    // The encoded frame holds the picture, so its size bounds both.
    if (m_theoraInfo.width > kMaxPictureSide || m_theoraInfo.height > kMaxPictureSide) return false;
    // At a higher sound rate each block adds so little decoded time that the
    // whole file would be decoded, and held, before the sound target.
    if (hasSound() && m_vorbisInfo.rate > kMaxSoundRate) return false;
    m_nWidth = static_cast<int>(m_theoraInfo.frame_width);
    m_nHeight = static_cast<int>(m_theoraInfo.frame_height);
    if (!startDecoders()) return false;
    m_fTime = 0.0f;
    m_lPixels.assign(static_cast<size_t>(m_nHeight + 1) * m_nWidth, 0);
    m_fAudioDecodedTime = 0.0f;
    m_fAudioTime = 0.0f;
    if (hasSound()) setUpSound();
    return true;
}

// Beginning-of-stream pages until the first other page: the first Theora and
// the first Vorbis stream are kept, others ignored. False at the end of the
// file only when no stream was found.
bool SDLTheoraVideo::findStreams() {
    while (!m_bHeadersFound) {
        if (readData() == 0) break;
        int r = 0;
        while ((r = ogg_sync_pageout(&m_sync, &m_page)) != 0) {
            if (r < 0) continue;
            if (!ogg_page_bos(&m_page)) {
                queuePage();
                m_bHeadersFound = true;
                break;
            }
            ogg_stream_state scratch;
            ogg_stream_init(&scratch, ogg_page_serialno(&m_page));
            ogg_stream_pagein(&scratch, &m_page);
            const bool bPacket = ogg_stream_packetout(&scratch, &m_packet) == 1;
            if (bPacket && !hasPictures() && theora_decode_header(&m_theoraInfo, &m_theoraComment, &m_packet) >= 0) {
                std::memcpy(&m_theoraStream, &scratch, sizeof scratch);
                m_nTheoraHeaders = 1;
            } else if (bPacket && !hasSound() &&
                       vorbis_synthesis_headerin(&m_vorbisInfo, &m_vorbisComment, &m_packet) >= 0) {
                std::memcpy(&m_vorbisStream, &scratch, sizeof scratch);
                m_nVorbisHeaders = 1;
            } else {
                ogg_stream_clear(&scratch);
            }
        }
    }
    return true;
}

// The second and third header packets of each found stream.
bool SDLTheoraVideo::readRemainingHeaders() {
    auto pending = [](int nHeaders) { return nHeaders > 0 && nHeaders < kHeaderPackets; };
    while (pending(m_nTheoraHeaders) || pending(m_nVorbisHeaders)) {
        int r = 0;
        while (pending(m_nTheoraHeaders) && (r = ogg_stream_packetout(&m_theoraStream, &m_packet)) != 0) {
            if (r < 0 || theora_decode_header(&m_theoraInfo, &m_theoraComment, &m_packet) != 0)
                return fail("Error parsing Theora stream headers; corrupt stream?\n");
            ++m_nTheoraHeaders;
        }
        while (pending(m_nVorbisHeaders) && (r = ogg_stream_packetout(&m_vorbisStream, &m_packet)) != 0) {
            if (r < 0 || vorbis_synthesis_headerin(&m_vorbisInfo, &m_vorbisComment, &m_packet) != 0)
                return fail("Error parsing Vorbis stream headers; corrupt stream?\n");
            ++m_nVorbisHeaders;
        }
        const int nPage = ogg_sync_pageout(&m_sync, &m_page);
        if (nPage > 0)
            queuePage();
        else if (nPage == 0 && readData() == 0)
            return fail("End of file while searching for codec headers.\n");
    }
    return true;
}

// The picture decoder at its highest post-processing level; the sound decoder.
bool SDLTheoraVideo::startDecoders() {
    if (theora_decode_init(&m_theoraState, &m_theoraInfo) != 0) return false;
    m_bTheoraStarted = true;
    m_nChromaRowDivisor = m_theoraInfo.pixelformat == OC_PF_420 ? 2 : 1;
    m_bChromaFullWidth = m_theoraInfo.pixelformat == OC_PF_444;
    theora_control(&m_theoraState, TH_DECCTL_GET_PPLEVEL_MAX, &m_nPPLevelMax, sizeof m_nPPLevelMax);
    m_nPPLevel = m_nPPLevelMax;
    theora_control(&m_theoraState, TH_DECCTL_SET_PPLEVEL, &m_nPPLevel, sizeof m_nPPLevel);
    m_nPPInc = 0;
    if (!hasSound()) return true;
    if (vorbis_synthesis_init(&m_vorbisDsp, &m_vorbisInfo) != 0) return false;
    vorbis_block_init(&m_vorbisDsp, &m_vorbisBlock);
    m_bVorbisStarted = true;
    return true;
}

// The mixer's format decides the conversion; then the hook is joined.
void SDLTheoraVideo::setUpSound() {
    int nFrequency = 0;
    uint16_t nFormat = 0;
    int nChannels = 0;
    const long nRate = m_vorbisInfo.rate;
    m_nClipChannels = m_vorbisInfo.channels;
    if (!Mix_QuerySpec(&nFrequency, &nFormat, &nChannels)) {
        // No mixer: as if it had the clip's own format.
        nFrequency = static_cast<int>(nRate);
        nFormat = AUDIO_S16LSB;
        nChannels = m_nClipChannels;
    }
    m_nMixerChannels = nChannels;
    m_nMixerBytesPerSecond = std::max(1, nFrequency * nChannels * 2);
    m_nClipBytesPerSecond = std::max(1, static_cast<int>(nRate) * m_nClipChannels * 2);
    m_fRateStep = 1.0f;
    m_bConvertAudio = !(nFrequency == nRate && nFormat == AUDIO_S16LSB && nChannels == m_nClipChannels);
    if (m_bConvertAudio) m_fRateStep = static_cast<float>(nRate) / static_cast<float>(std::max(1, nFrequency));
    TheoraPostMix::add(this);
}

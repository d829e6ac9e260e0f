// SDLTheoraVideo::update: sound decoded ahead of the clock, pictures decoded
// up to it, the file read in blocks, the end detected, and the due picture
// converted into the decoder's frame buffer.
#include <theora/theoradec.h>

#include <algorithm>
#include <cmath>

#include "application/gameapp.h"
#include "sdl/sdl_theora.h"
#include "media/yuvtables.h"

namespace {

bool isAudioOn() {
    const GameApp* pApp = GameApp::getInstance();
    return pApp && pApp->isAudioEnabled();
}

// A float sample scaled and truncated toward zero, within 16 bits.
int16_t toSample(float fSample, double dScale) {
    const double d = static_cast<double>(fSample) * dScale;
    if (std::isnan(d)) return 0;
    return static_cast<int16_t>(std::clamp(d, -32768.0, 32767.0));
}

}  // namespace

Zep::SmartPtr<Image> SDLTheoraVideo::update(float fElapsed) {
    m_fTime += fElapsed;
    const float fAudioTarget = getPosition() + kAudioLead;
    const double dVideoTarget = getPosition();
    m_bFinished = false;
    for (int nPass = 0; nPass < kMaxPasses; ++nPass) {
        decodeSound(fAudioTarget);
        decodePictures(dVideoTarget);
        if (m_dFrameTime >= dVideoTarget && m_fAudioDecodedTime >= fAudioTarget) break;
        // The next block of the file; every page it completes is queued.
        const int nRead = readData();
        const bool bPageRead = queuePages();
        if (isAtEnd(dVideoTarget, fAudioTarget, bPageRead, nRead)) {
            m_bFinished = true;
            break;
        }
    }
    if (!m_bFrameReady) return nullptr;
    convertPicture();
    m_bFrameReady = false;
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) return nullptr;
    return pApp->createImageFromPixels(m_lPixels.data(), m_nWidth, m_nHeight, 32, m_nWidth * 4, 0xFFu, 0xFF00u,
                                       0xFF0000u, 0xFF000000u);
}

// The end comes when the data do: the file is used up with no page left to
// queue, and neither stream has anything left to decode short of its target
// (the loops above stopped for want of packets). The streams' end marks play
// no part, so a clip cut short ends where its data end.
bool SDLTheoraVideo::isAtEnd(double dVideoTarget, float fAudioTarget, bool bPageRead, int nRead) {
    const bool bVideoDone = m_dFrameTime < dVideoTarget;
    const bool bAudioDone = !hasSound() || !isAudioOn() || m_fAudioDecodedTime < fAudioTarget;
    return bVideoDone && bAudioDone && !bPageRead && nRead == 0;
}

// Sound until the decoded time reaches the target; sound that ends before the
// audio clock is dropped.
void SDLTheoraVideo::decodeSound(float fAudioTarget) {
    while (hasSound() && isAudioOn() && m_fAudioDecodedTime < fAudioTarget) {
        float** ppPcm = nullptr;
        const int nFrames = vorbis_synthesis_pcmout(&m_vorbisDsp, &ppPcm);
        if (nFrames > 0) {
            const int nBytes = m_nClipChannels * nFrames * 2;
            m_fAudioDecodedTime += static_cast<float>(nBytes) / static_cast<float>(m_nClipBytesPerSecond);
            if (m_fAudioTime.load(std::memory_order_relaxed) <= m_fAudioDecodedTime) queueSoundBlock(ppPcm, nFrames);
            vorbis_synthesis_read(&m_vorbisDsp, nFrames);
            continue;
        }
        const int r = ogg_stream_packetout(&m_vorbisStream, &m_packet);
        if (r == 0) break;
        if (r > 0 && vorbis_synthesis(&m_vorbisBlock, &m_packet) == 0)
            vorbis_synthesis_blockin(&m_vorbisDsp, &m_vorbisBlock);
    }
}

// Interleaved 16-bit little-endian frames, appended under the audio lock.
void SDLTheoraVideo::queueSoundBlock(float** ppPcm, int nFrames) {
    SDLTHAudio block;
    block.data.resize(static_cast<size_t>(nFrames) * m_nClipChannels * 2);
    const double dScale = m_fVolume * 32767.0;
    uint8_t* pOut = block.data.data();
    for (int i = 0; i < nFrames; ++i) {
        for (int c = 0; c < m_nClipChannels; ++c) {
            const uint16_t n = static_cast<uint16_t>(toSample(ppPcm[c][i], dScale));
            *pOut++ = static_cast<uint8_t>(n & 0xFF);
            *pOut++ = static_cast<uint8_t>(n >> 8);
        }
    }
    SDL_LockAudio();
    m_lAudio.push_back(std::move(block));
    SDL_UnlockAudio();
}

// Pictures up to the target; a late one lowers the post-processing level.
void SDLTheoraVideo::decodePictures(double dVideoTarget) {
    while (hasPictures() && m_dFrameTime < dVideoTarget) {
        m_bFrameReady = false;
        const int r = ogg_stream_packetout(&m_theoraStream, &m_packet);
        if (r == 0) break;
        if (r < 0) continue;
        if (m_nPPInc != 0) {
            m_nPPLevel += m_nPPInc;
            theora_control(&m_theoraState, TH_DECCTL_SET_PPLEVEL, &m_nPPLevel, sizeof m_nPPLevel);
            m_nPPInc = 0;
        }
        if (m_packet.granulepos >= 0 && isNearLastPicture(m_packet.granulepos))
            theora_control(&m_theoraState, TH_DECCTL_SET_GRANPOS, &m_packet.granulepos, sizeof m_packet.granulepos);
        if (theora_decode_packetin(&m_theoraState, &m_packet) != 0) continue;
        m_dFrameTime = theora_granule_time(&m_theoraState, m_theoraState.granulepos);
        if (dVideoTarget <= m_dFrameTime)
            m_bFrameReady = true;
        else
            m_nPPInc = m_nPPLevel >= 1 ? -1 : 0;
    }
}

// A packet's granule position is taken only when its time lies near the last
// picture's; else the decoder keeps counting pictures itself. A damaged one
// far ahead would hold the clip on one picture for as long (past the end of
// its data), and one far behind would make every later picture late.
bool SDLTheoraVideo::isNearLastPicture(ogg_int64_t nGranule) {
    const double dFrame = m_theoraInfo.fps_numerator > 0 ? static_cast<double>(m_theoraInfo.fps_denominator) /
                                                               static_cast<double>(m_theoraInfo.fps_numerator)
                                                         : 0.0;
    return std::abs(theora_granule_time(&m_theoraState, nGranule) - m_dFrameTime) <= kMaxPictureJump + dFrame;
}

// The displayed region of the decoded frame: the picture offset applies to
// every plane (halved for subsampled chroma).
void SDLTheoraVideo::convertPicture() {
    yuv_buffer yuv{};
    if (theora_decode_YUVout(&m_theoraState, &yuv) != 0) return;
    const int nOffsetX = static_cast<int>(m_theoraInfo.offset_x);
    const int nOffsetY = static_cast<int>(m_theoraInfo.offset_y);
    const int nChromaX = m_bChromaFullWidth ? nOffsetX : nOffsetX / 2;
    const int nChromaY = nOffsetY / m_nChromaRowDivisor;
    YuvPlanes planes;
    planes.pY = yuv.y + nOffsetY * yuv.y_stride + nOffsetX;
    planes.nYStride = yuv.y_stride;
    planes.pU = yuv.u + nChromaY * yuv.uv_stride + nChromaX;
    planes.pV = yuv.v + nChromaY * yuv.uv_stride + nChromaX;
    planes.nUVStride = yuv.uv_stride;
    if (m_nChromaRowDivisor == 2)
        convertYuv420(planes, m_nWidth, m_nHeight, m_lPixels.data());
    else
        convertYuvRows(planes, m_nWidth, m_nHeight, m_nChromaRowDivisor, m_bChromaFullWidth, m_lPixels.data());
}

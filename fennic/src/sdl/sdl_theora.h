// The clip decoder over libogg, libtheora (legacy interface) and libvorbis,
// its sound mixed into SDL_mixer's output from the post-mix hook.
//
// Two threads touch a decoder: the main thread (open, update, seek, the end)
// and SDL_mixer's audio thread (mixAudio, called with SDL's audio lock held).
// The sound queue changes on the main thread only under SDL_LockAudio. The
// audio clock is an atomic written by the hook and by seek.
//
// SDL_mixer holds a single post-mix hook, so one dispatcher owns it and calls
// every open decoder in turn: a decoder registers when it opens with sound and
// removes only itself, and clips that overlap (a new one made before the old
// one is released) each keep their sound and clock.
//
// Mixer format conversion steps through sample frames (all channels of a
// frame together, a mono clip doubled for a stereo mixer) and converts in
// pieces that fit the conversion buffer, whatever the mixer's callback length.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <ogg/ogg.h>
#include <theora/theora.h>
#include <vorbis/codec.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <list>
#include <vector>

#include <zep2/stream.h>

#include "driver/videospriteimpl.h"

// One queued block of decoded 16-bit sound.
struct SDLTHAudio {
    std::vector<uint8_t> data;
    size_t nCursor = 0;  // next unplayed byte
    size_t remaining() const { return data.size() - nCursor; }
};

class SDLTheoraVideo : public IVideoSpriteImpl {
public:
    // Bytes read from the file per step, and read steps per update.
    static constexpr int kReadBlock = 4096;
    static constexpr int kMaxPasses = 10;
    // Sound is decoded this far ahead of the clock, in seconds.
    static constexpr float kAudioLead = 0.25f;
    static constexpr int kConvertBufferSize = 32768;
    // Clips with larger encoded frames are refused before any picture buffer
    // is allocated.
    static constexpr int kMaxPictureSide = 4096;
    // Clips whose sound has a higher rate (samples per second) are refused.
    static constexpr long kMaxSoundRate = 192000;
    // Seconds, beyond one picture's length, that a packet's time may lie from
    // the last picture's for its granule position to be trusted.
    static constexpr double kMaxPictureJump = 2.0;

    SDLTheoraVideo();
    ~SDLTheoraVideo() override;

    bool open(const char* szPath) override;
    Zep::SmartPtr<Image> update(float fElapsed) override;
    void play() override { m_bPlaying = true; }
    void pause() override { m_bPlaying = false; }
    void rewind() override;
    bool isFinished() const override { return m_bFinished; }
    int getWidth() const override { return m_nWidth; }
    int getHeight() const override { return m_nHeight; }
    void setVolume(float fVolume) override { m_fVolume = fVolume; }
    void setExclusiveAudio(bool bExclusive) override { m_bExclusiveAudio = bExclusive; }
    bool isExclusiveAudio() const override { return m_bExclusiveAudio; }
    float getPosition() const override;
    void seek(float fSeconds) override;

    // The post-mix work of this decoder (audio thread, lock held).
    void mixAudio(uint8_t* pStream, int nLength);
    // The last converted picture (the image's pixels), rows of getWidth().
    const uint32_t* getPixels() const { return m_lPixels.data(); }

private:
    bool hasSound() const { return m_nVorbisHeaders > 0; }
    bool hasPictures() const { return m_nTheoraHeaders > 0; }
    int readData();
    void queuePage();
    bool queuePages();
    bool findStreams();
    bool readRemainingHeaders();
    bool startDecoders();
    void setUpSound();
    void decodeSound(float fAudioTarget);
    void queueSoundBlock(float** ppPcm, int nFrames);
    void decodePictures(double dVideoTarget);
    bool isNearLastPicture(ogg_int64_t nGranule);
    bool isAtEnd(double dVideoTarget, float fAudioTarget, bool bPageRead, int nRead);
    void convertPicture();
    int convertPiece(SDLTHAudio& block, int nMaxBytes);
    void release();

    std::atomic<bool> m_bPlaying{false};
    float m_fTime = 0.0f;
    bool m_bFinished = false;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::atomic<bool> m_bStopping{false};
    bool m_bOpened = false;
    Zep::SmartPtr<Zep::Stream> m_pStream;
    double m_dFrameTime = 0.0;
    bool m_bFrameReady = false;
    float m_fAudioDecodedTime = 0.0f;
    std::atomic<float> m_fAudioTime{0.0f};
    int m_nMixerBytesPerSecond = 0;
    int m_nClipBytesPerSecond = 0;
    std::atomic<bool> m_bExclusiveAudio{false};
    float m_fVolume = 1.0f;
    std::list<SDLTHAudio> m_lAudio;
    std::array<uint8_t, kConvertBufferSize> m_aConvertBuffer{};
    bool m_bConvertAudio = false;
    float m_fRateStep = 1.0f;
    int m_nClipChannels = 0;
    int m_nMixerChannels = 0;
    int m_nChromaRowDivisor = 2;
    bool m_bChromaFullWidth = false;
    std::vector<uint32_t> m_lPixels;

    // The Ogg reader.
    ogg_sync_state m_sync{};
    ogg_page m_page{};
    int m_nTheoraHeaders = 0;
    int m_nVorbisHeaders = 0;
    bool m_bHeadersFound = false;
    ogg_packet m_packet{};
    // The picture decoder.
    ogg_stream_state m_theoraStream{};
    theora_info m_theoraInfo{};
    theora_comment m_theoraComment{};
    theora_state m_theoraState{};
    bool m_bTheoraStarted = false;
    int m_nPPLevelMax = 0;
    int m_nPPLevel = 0;
    int m_nPPInc = 0;
    // The sound decoder.
    ogg_stream_state m_vorbisStream{};
    vorbis_info m_vorbisInfo{};
    vorbis_dsp_state m_vorbisDsp{};
    vorbis_block m_vorbisBlock{};
    vorbis_comment m_vorbisComment{};
    bool m_bVorbisStarted = false;
};

// The owner of SDL_mixer's post-mix hook: calls every registered decoder.
namespace TheoraPostMix {
void add(SDLTheoraVideo* pVideo);
void remove(SDLTheoraVideo* pVideo);
}  // namespace TheoraPostMix

// Synthesis and the WAV and Ogg Vorbis writers.
#include "audio.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace cg {

namespace {

constexpr float kTwoPi = 6.28318531f;

void put16(std::vector<uint8_t>& v, uint32_t n) {
    v.push_back(static_cast<uint8_t>(n));
    v.push_back(static_cast<uint8_t>(n >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t n) {
    put16(v, n & 0xFFFF);
    put16(v, n >> 16);
}
void putTag(std::vector<uint8_t>& v, const char* sz) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(sz[i]));
}

void appendPage(std::vector<uint8_t>& v, const ogg_page& page) {
    v.insert(v.end(), page.header, page.header + page.header_len);
    v.insert(v.end(), page.body, page.body + page.body_len);
}

}  // namespace

Sound::Sound(float fSeconds) : m_vSamples(static_cast<size_t>(fSeconds * kSampleRate)) {}

void Sound::tone(float t0, float d, float f0, float f1, Wave wave, float fGain, float fDecay) {
    const size_t nStart = static_cast<size_t>(t0 * kSampleRate);
    const size_t nCount = static_cast<size_t>(d * kSampleRate);
    float fPhase = 0.0f;
    for (size_t i = 0; i < nCount && nStart + i < m_vSamples.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const float f = f0 + (f1 - f0) * (t / d);
        fPhase += f / kSampleRate;
        fPhase -= std::floor(fPhase);
        float s = 0.0f;
        switch (wave) {
            case Wave::Sine: s = std::sin(kTwoPi * fPhase); break;
            case Wave::Square: s = fPhase < 0.5f ? 0.6f : -0.6f; break;
            case Wave::Triangle: s = 4.0f * std::fabs(fPhase - 0.5f) - 1.0f; break;
            case Wave::Noise:
                m_nNoise ^= m_nNoise << 13, m_nNoise ^= m_nNoise >> 17, m_nNoise ^= m_nNoise << 5;
                s = static_cast<float>(m_nNoise) / 2147483648.0f - 1.0f;
                break;
        }
        const float fAttack = std::min(1.0f, t / 0.005f);
        const float fRelease = std::min(1.0f, (d - t) / 0.01f);
        m_vSamples[nStart + i] += s * fGain * fAttack * fRelease * std::exp(-fDecay * t);
    }
}

void Sound::normalise(float fPeak) {
    float fMax = 0.0f;
    for (float s : m_vSamples) fMax = std::max(fMax, std::fabs(s));
    if (fMax > 0.0f)
        for (float& s : m_vSamples) s *= fPeak / fMax;
}

std::vector<uint8_t> encodeWav(const Sound& sound) {
    const uint32_t nData = static_cast<uint32_t>(sound.samples().size() * 2);
    std::vector<uint8_t> v;
    putTag(v, "RIFF");
    put32(v, 36 + nData);
    putTag(v, "WAVE");
    putTag(v, "fmt ");
    put32(v, 16);
    put16(v, 1);  // PCM
    put16(v, 1);  // mono
    put32(v, kSampleRate);
    put32(v, kSampleRate * 2);
    put16(v, 2);
    put16(v, 16);
    putTag(v, "data");
    put32(v, nData);
    for (float s : sound.samples())
        put16(v, static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f))));
    return v;
}

std::vector<uint8_t> encodeOgg(const Sound& sound) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, kSampleRate, 0.3f) != 0) throw std::runtime_error("contentgen: vorbis init");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x54554B31);
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    std::vector<uint8_t> out;
    ogg_page page;
    while (ogg_stream_flush(&stream, &page)) appendPage(out, page);

    const std::vector<float>& vSamples = sound.samples();
    size_t nDone = 0;
    bool bEnd = false;
    while (!bEnd) {
        const int nChunk = static_cast<int>(std::min<size_t>(4096, vSamples.size() - nDone));
        if (nChunk > 0) {
            float** ppBuffer = vorbis_analysis_buffer(&dsp, nChunk);
            std::copy(vSamples.begin() + static_cast<std::ptrdiff_t>(nDone),
                      vSamples.begin() + static_cast<std::ptrdiff_t>(nDone + nChunk), ppBuffer[0]);
            nDone += nChunk;
        }
        vorbis_analysis_wrote(&dsp, nChunk);
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) {
                    appendPage(out, page);
                    bEnd = bEnd || ogg_page_eos(&page);
                }
            }
        }
        if (nChunk == 0 && !bEnd) {
            while (ogg_stream_flush(&stream, &page)) appendPage(out, page), bEnd = bEnd || ogg_page_eos(&page);
            bEnd = true;
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace cg

// Sound: a mono float buffer at 22,050 Hz, the synthesis helpers the samples
// and tunes are built from, and the WAV and Ogg Vorbis writers.
#pragma once

#include <cstdint>
#include <vector>

namespace cg {

constexpr int kSampleRate = 22050;

enum class Wave { Sine, Square, Triangle, Noise };

class Sound {
public:
    explicit Sound(float fSeconds);
    std::vector<float>& samples() { return m_vSamples; }
    const std::vector<float>& samples() const { return m_vSamples; }
    // A tone from t0 lasting d seconds whose frequency glides from f0 to f1,
    // with a 5 ms attack and an exponential decay (fDecay per second).
    void tone(float t0, float d, float f0, float f1, Wave wave, float fGain, float fDecay = 3.0f);
    // Scales the whole buffer so that its peak is fPeak.
    void normalise(float fPeak = 0.8f);

private:
    std::vector<float> m_vSamples;
    uint32_t m_nNoise = 0x2545F491u;  // fixed seed of the noise
};

// 16-bit mono PCM WAV.
std::vector<uint8_t> encodeWav(const Sound& sound);
// Ogg Vorbis at VBR quality 0.3 with a fixed stream serial number.
std::vector<uint8_t> encodeOgg(const Sound& sound);

}  // namespace cg

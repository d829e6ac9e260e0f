// The sound check's front: which format the first bytes announce, whether the
// use takes it, and the limits every format shares.
#include "media/soundcheck.h"

#include "media/soundcheck_bytes.h"

Zep::String SoundBytes::fourcc(size_t nAt) const {
    char szText[5] = "????";
    for (size_t i = 0; i < 4 && has(nAt + i, 1); ++i)
        if (u8(nAt + i) >= 0x20 && u8(nAt + i) < 0x7F) szText[i] = static_cast<char>(u8(nAt + i));
    return Zep::String(szText);
}

Zep::String checkRate(const char* szFormat, uint32_t nRate) {
    if (nRate >= kSoundMinRate && nRate <= kSoundMaxRate) return Zep::String();
    return Zep::String::format("%s: rate %u Hz, %u to %u allowed", szFormat, nRate, kSoundMinRate, kSoundMaxRate);
}

Zep::String checkChannels(const char* szFormat, uint32_t nChannels) {
    if (nChannels >= 1 && nChannels <= kSoundMaxChannels) return Zep::String();
    return Zep::String::format("%s: %u channels, 1 to %u allowed", szFormat, nChannels, kSoundMaxChannels);
}

Zep::String checkSampleLength(const char* szFormat, uint64_t nFrames, uint32_t nRate) {
    if (nFrames <= uint64_t(kSoundMaxSampleSeconds) * nRate) return Zep::String();
    return Zep::String::format("%s: %llu s of sound, a sample holds at most %u s", szFormat,
                               static_cast<unsigned long long>(nFrames / nRate), kSoundMaxSampleSeconds);
}

Zep::String checkSound(const void* pBytes, size_t nSize, SoundUse use) {
    const SoundBytes bytes(static_cast<const uint8_t*>(pBytes), nSize);
    const bool bSample = use == SoundUse::Sample;
    if (bytes.matches(0, "RIFF") && bytes.matches(8, "WAVE")) return checkWav(bytes, use);
    if (bytes.matches(0, "OggS")) return checkOgg(bytes, use);
    if (bSample && bytes.matches(0, "Creative Voice File\x1a")) return checkVoc(bytes);
    if (!bSample && bytes.matches(0, "Extended Module: ")) return checkXm(bytes);
    return bSample ? Zep::String("not a WAV, VOC or Ogg Vorbis sound")
                   : Zep::String("not WAV, Ogg Vorbis or XM music");
}

// Damaged sound files through the real loaders (SDL's disk audio driver into
// /dev/null): one table per format, each row a valid file made here with one
// field changed, cut or set to an edge value, and the exact load error (or
// none: the file loads).
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <string>
#include <vector>

#include <zep2/resource.h>

#include "sdl/sdl_audio.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_sound.h"
#include "testkit/testkit_tempdir.h"

namespace {

using namespace testkit;

enum Use { kSample, kMusic };

struct Case {
    const char* szWhat;
    std::string sBytes;
    Use use;
    std::string sWhy;  // inside the message's brackets; empty: the file loads
};

std::string changed(std::string s, size_t nAt, uint32_t nValue, int nBytes) {
    setLE(s, nAt, nValue, nBytes);
    return s;
}

std::string renamed(std::string s, size_t nAt, const char* szText) {
    std::memcpy(&s[nAt], szText, std::strlen(szText));
    return s;
}

std::string withChecksums(std::string s) {
    fixOggChecksums(s);
    return s;
}

std::string oggChanged(const std::string& s, size_t nAt, uint32_t nValue, int nBytes) {
    return withChecksums(changed(s, nAt, nValue, nBytes));
}

class HostileSound : public ::testing::Test {
protected:
    void SetUp() override {
        auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
        m_pFiles = pProvider.get();
        m_app.addResourceProvider(std::move(pProvider), false);
        m_driver.setFrequency(44100);
        m_driver.setChunkSize(512);
        ASSERT_TRUE(m_driver.init()) << SDL_GetError();
        m_app.useAudioDriver(&m_driver, true);
    }
    void TearDown() override {
        m_driver.shutdown();
        SDL_Quit();
    }

    // The message the load of the bytes throws, "" when it loads.
    std::string load(const std::string& sBytes, Use use) {
        const std::string sName = "row" + std::to_string(m_nRow++);
        Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(static_cast<int>(sBytes.size()), nullptr, true);
        std::memcpy(p->getData(), sBytes.data(), sBytes.size());
        m_pFiles->add((sName + ".wav").c_str(), p);
        const std::string sMessage = testutil::messageOf([&] {
            if (use == kMusic)
                Zep::SmartPtr<Music>(m_driver.getMusicLoader()->load(sName.c_str()));
            else
                Zep::SmartPtr<Sample>(m_driver.getSampleLoader()->load(sName.c_str()));
        });
        return sMessage == "(nothing thrown)" ? "" : sMessage;
    }

    void expectTable(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            const std::string sName = "row" + std::to_string(m_nRow);
            const std::string sExpected = c.sWhy.empty()
                                              ? ""
                                              : (c.use == kMusic ? "SDLMusic::Music" : "SDLSample::Sample") +
                                                    std::string(" : Can't load ") + sName + " [" + c.sWhy + "]";
            EXPECT_EQ(load(c.sBytes, c.use), sExpected) << c.szWhat;
        }
    }

    TempDir m_dir;
    AppFiles m_files{m_dir};
    ScopedEnv m_audioEnv{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv m_fileEnv{"SDL_DISKAUDIOFILE", "/dev/null"};
    TestApp m_app;
    SDLAudioDriver m_driver;
    Zep::MemoryResourceProvider* m_pFiles = nullptr;
    int m_nRow = 0;
};

TEST_F(HostileSound, Wav) {
    const std::string sWav = makeWav({});  // 16-bit mono, 64 frames: 172 bytes
    expectTable({
        {"valid", sWav, kSample, ""},
        {"valid stereo 8-bit music", makeWav({2, 44100, 8, 64}), kMusic, ""},
        {"no channels (overflowed the stack)", changed(sWav, kWavChannelsAt, 0, 2), kSample,
         "WAV: 0 channels, 1 to 2 allowed"},
        {"no channels (crashed the music)", changed(sWav, kWavChannelsAt, 0, 2), kMusic,
         "WAV: 0 channels, 1 to 2 allowed"},
        {"three channels", changed(sWav, kWavChannelsAt, 3, 2), kSample, "WAV: 3 channels, 1 to 2 allowed"},
        {"no rate", changed(sWav, kWavRateAt, 0, 4), kSample, "WAV: rate 0 Hz, 4000 to 96000 allowed"},
        {"1 Hz", changed(sWav, kWavRateAt, 1, 4), kMusic, "WAV: rate 1 Hz, 4000 to 96000 allowed"},
        {"\"fmt \" renamed (freed twice)", renamed(sWav, kWavFmtAt, "fmu "), kMusic,
         "WAV: chunk \"fmu \" at 12 before the \"fmt \" chunk"},
        {"\"data\" renamed (looped for ever)", renamed(sWav, kWavDataAt, "datb"), kMusic, "WAV: no \"data\" chunk"},
        {"24 bits", changed(sWav, kWavBitsAt, 24, 2), kSample, "WAV: 24 bits per sample, 8 or 16 allowed"},
        {"ADPCM", changed(sWav, kWavFmtAt + 8, 2, 2), kSample, "WAV: encoding 2, only PCM (1) is read"},
        {"short \"fmt \"", changed(sWav, kWavFmtAt + 4, 8, 4), kSample, "WAV: \"fmt \" chunk of 8 bytes, 16 needed"},
        {"data one byte past the end", changed(sWav, kWavDataAt + 4, 129, 4), kMusic,
         "WAV: chunk \"data\" at 36 runs past the end"},
        {"cut", sWav.substr(0, 162), kSample, "WAV: RIFF length 164 runs past the 162-byte file"},
        {"121 s sample", makeWav({1, 4000, 8, 484000}), kSample, "WAV: 121 s of sound, a sample holds at most 120 s"},
        {"121 s music", makeWav({1, 4000, 8, 484000}), kMusic, ""},
    });
}

TEST_F(HostileSound, Voc) {
    const std::string sTyped = makeVoc({9, 22050, 16, 2, 64});      // block 9 at 26, its sound at 42
    const std::string sPlain = makeVoc({1, 11025, 8, 1, 64});       // block 1 at 26, 97 bytes
    const std::string sOpen = sPlain.substr(0, sPlain.size() - 1);  // without its end block
    const std::string sHeader = sPlain.substr(0, kVocFirstBlockAt);
    const std::string sRest = sPlain.substr(kVocFirstBlockAt);
    expectTable({
        {"valid 16-bit stereo", sTyped, kSample, ""},
        {"valid with text, repeat, more sound and silence",
         sOpen + vocBlock(5, "kit") + vocBlock(6, std::string("\x02\x00", 2)) + vocBlock(2, std::string(8, 'x')) +
             vocBlock(3, std::string("\x20\x00\xA6", 3)) + vocBlock(7, "") + '\0',
         kSample, ""},
        {"no channels", changed(sTyped, 35, 0, 1), kSample, "VOC: 0 channels, 1 to 2 allowed"},
        {"no rate", changed(sTyped, 30, 0, 4), kSample, "VOC: rate 0 Hz, 4000 to 96000 allowed"},
        {"ADPCM codec", changed(sTyped, 36, 2, 2), kSample,
         "VOC: 16 bits in codec 2 at 26, only 8-bit (0) or 16-bit (4) PCM is read"},
        {"time constant past 16 bits", changed(sPlain, 30, 241, 1), kSample,
         "VOC: rate 66666 Hz of the block at 26 needs more than 16 bits"},
        {"packed", changed(sPlain, 31, 1, 1), kSample, "VOC: block at 26 packs its sound (1), only PCM is read"},
        {"extended block (mono: divided by 0)", sHeader + vocBlock(8, std::string("\x00\xD0\x00\x00", 4)) + sRest,
         kSample, "VOC: block type 8 at 26 is not read"},
        {"silence first", sHeader + vocBlock(3, std::string("\x20\x00\xA6", 3)) + sRest, kSample,
         "VOC: block type 3 at 26 before any sound"},
        {"marker", sOpen + vocBlock(4, std::string("\x01\x00", 2)) + '\0', kSample,
         "VOC: block type 4 at 96 is not read"},
        {"sound after the end block (written past the buffer)", sPlain + vocBlock(2, std::string(16, 'x')), kSample,
         "VOC: 20 bytes after the end block"},
        {"empty sound block", sHeader + vocBlock(1, std::string("\xA6\x00", 2)) + sRest, kSample,
         "VOC: block at 26 holds no sound"},
        {"silence at another rate", sOpen + vocBlock(3, std::string("\x20\x00\xA7", 3)) + '\0', kSample,
         "VOC: silence block at 96 at another rate than the sound"},
        {"block past the end", changed(sPlain, 27, 1000, 3), kSample, "VOC: block at 26 runs past the end"},
        {"sound block of one byte", sHeader + vocBlock(1, "\xA6") + '\0', kSample,
         "VOC: sound block at 26 of 1 bytes"},
        {"first block past the end", changed(sPlain, 20, 5000, 2), kSample,
         "VOC: first block at 5000, outside 26 to 97"},
        {"second block at another rate", sOpen + vocBlock(1, std::string("\x64\x00\x80", 3)) + '\0', kSample,
         "VOC: block at 96 changes the sound format"},
        {"odd 16-bit sound", changed(sTyped, 27, 269, 3).insert(42, 1, 'x'), kSample,
         "VOC: block at 26 holds 257 bytes, not whole frames"},
        {"as music", sTyped, kMusic, "not WAV, Ogg Vorbis or XM music"},
    });
}

TEST_F(HostileSound, Ogg) {
    const std::string sOgg = makeOggVorbis({1, 22050, 0.25f});  // identification page: 58 bytes
    const size_t nId = kOggIdPacketAt;
    const size_t nLastPage = sOgg.rfind("OggS");
    // The setup header's first codebook: count, sync, dimensions, entries,
    // then a byte whose bits 2 to 6 hold its first codeword length less one.
    const size_t nFirstLength = sOgg.find("\x05vorbis") + 16;
    std::string sLonger = sOgg;
    sLonger[nFirstLength] = static_cast<char>(sLonger[nFirstLength] + 4);
    std::string sNine;  // nine copies of the identification page, each its own stream
    for (uint32_t i = 0; i < 9; ++i) sNine += oggChanged(sOgg.substr(0, 58), 14, i, 4);
    expectTable({
        {"valid sample", sOgg, kSample, ""},
        {"valid stereo music", makeOggVorbis({2, 44100, 0.1f}), kMusic, ""},
        {"no channels", oggChanged(sOgg, nId + 11, 0, 1), kSample, "Ogg: 0 channels, 1 to 2 allowed"},
        {"three channels", oggChanged(sOgg, nId + 11, 3, 1), kMusic, "Ogg: 3 channels, 1 to 2 allowed"},
        {"1 Hz (crashed the mixer)", oggChanged(sOgg, nId + 12, 1, 4), kMusic,
         "Ogg: rate 1 Hz, 4000 to 96000 allowed"},
        {"changed without its checksum", changed(sOgg, nId + 11, 2, 1), kSample, "Ogg: page at 0 fails its checksum"},
        {"not Vorbis", withChecksums(renamed(sOgg, nId + 1, "vorbiz")), kSample, "Ogg: stream at 0 is not Vorbis"},
        {"block sizes", oggChanged(sOgg, nId + 28, 0xFF, 1), kSample, "Ogg: block sizes 2^15 and 2^15"},
        {"second page of another stream", oggChanged(sOgg, 58 + 14, 7, 4), kSample,
         "Ogg: page at 58 belongs to no stream"},
        {"page version 1", oggChanged(sOgg, 58 + 4, 1, 1), kMusic, "Ogg: page at 58 of version 1"},
        {"cut", sOgg.substr(0, sOgg.size() - 10), kSample, "Ogg: page at " + std::to_string(nLastPage) + " cut short"},
        {"bytes after the last page", sOgg + std::string(30, 'x'), kMusic,
         "Ogg: no page at " + std::to_string(sOgg.size())},
        {"nine streams", sNine, kMusic, "Ogg: more than 8 streams"},
        {"a codeword one bit longer (decoded with unbuilt books)", withChecksums(sLonger), kMusic,
         "Ogg: Vorbis setup codebook lengths that do not fill its tree"},
    });
}

TEST_F(HostileSound, Xm) {
    const std::string sXm = makeXm({});  // pattern at 336, instrument at 379, sample header at 642
    const std::string sLong = makeXm({2, 16, 1000});
    std::string sEmptyInstrument;  // a 29-byte header: length, name, type, no samples
    putLE(sEmptyInstrument, 29, 4);
    sEmptyInstrument.append(25, '\0');
    expectTable({
        {"valid", sXm, kMusic, ""},
        {"valid, wide", makeXm({32, 256, 4000}), kMusic, ""},
        {"no channels", changed(sXm, kXmChannelsAt, 0, 2), kMusic, "XM: channels 0, 1 to 32 allowed"},
        {"33 channels", changed(sXm, kXmChannelsAt, 33, 2), kMusic, "XM: channels 33, 1 to 32 allowed"},
        {"no patterns", changed(sXm, kXmPatternsAt, 0, 2), kMusic, "XM: patterns 0, 1 to 256 allowed"},
        {"no instruments", changed(sXm, kXmInstrumentsAt, 0, 2), kMusic, "XM: instruments 0, 1 to 128 allowed"},
        {"no rows", changed(sXm, kXmFirstPatternAt + 5, 0, 2), kMusic, "XM: rows 0, 1 to 256 allowed"},
        {"tempo 0", changed(sXm, kXmBpmAt, 0, 2), kMusic, "XM: tempo 0, 32 to 255 allowed"},
        {"speed 0", changed(sXm, kXmTempoAt, 0, 2), kMusic, "XM: speed 0, 1 to 31 allowed"},
        {"song of 300 orders", changed(sXm, kXmSongLengthAt, 300, 2), kMusic, "XM: song length 300, 1 to 256 allowed"},
        {"header past the end", changed(sXm, kXmHeaderSizeAt, 100000, 4), kMusic,
         "XM: header of 100000 bytes, 21 to 686 allowed"},
        {"version 1.03", changed(sXm, 58, 0x0103, 2), kMusic, "XM: version 103, only 104 is read"},
        {"another reader's tag at 1080", renamed(sLong, 1080, "M.K."), kMusic,
         "XM: carries the mark of another module type"},
        {"another reader's tag at 44", renamed(sXm, 44, "SCRM"), kMusic,
         "XM: carries the mark of another module type"},
        {"pattern past the end", changed(sXm, kXmFirstPatternAt + 7, 60000, 2), kMusic,
         "XM: pattern at 336 runs past the end"},
        {"cells past their pattern", changed(sXm, kXmFirstPatternAt + 7, 2, 2), kMusic,
         "XM: cells of the pattern at 336 run past its packed bytes"},
        {"short instrument header", changed(sXm, 379, 29, 4), kMusic,
         "XM: instrument at 379 with a header of 29 bytes"},
        {"key map past the samples", changed(sXm, 379 + 33 + 48, 1, 1), kMusic,
         "XM: instrument at 379 maps a note to sample 1 of 1"},
        {"note of an instrument without samples (crashed the player)",
         changed(changed(sXm, kXmInstrumentsAt, 2, 2), kXmFirstPatternAt + 11, 2, 1) + sEmptyInstrument, kMusic,
         "XM: the cells play instrument 2, which has no samples"},
        {"instrument without samples, not played", changed(sXm, kXmInstrumentsAt, 2, 2) + sEmptyInstrument, kMusic,
         ""},
        {"17 samples", changed(sXm, 379 + 27, 17, 2), kMusic, "XM: samples of an instrument 17, 0 to 16 allowed"},
        {"loop past the sample", changed(sXm, 642 + 4, 32, 4), kMusic, "XM: sample at 642 loops to 96 of 64 bytes"},
        {"cut", sXm.substr(0, sXm.size() - 1), kMusic, "XM: sample data at 682 runs past the end"},
        {"as a sample", sXm, kSample, "not a WAV, VOC or Ogg Vorbis sound"},
    });
}

}  // namespace

// The clip decoder and the video sprite on clips written by the encoders:
// colours against the table formula, frame timing, the end, seeking, the
// picture offset, and the sound captured through SDL's disk audio driver.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "testkit/testkit_fixtures.h"
#include "testkit/testkit_tempdir.h"
#include "image/memimage.h"
#include "sdl/sdl_audio.h"
#include "sdl/sdl_theora.h"
#include "testkit/testkit_clip.h"
#include "testkit/testkit_diskpipe.h"
#include "testkit/testkit_platform.h"
#include "media/videosprite.h"
#include "media/yuvtables.h"

namespace {

using testkit::ClipSpec;
using testkit::ClipYuv;

ClipYuv frameColour(int k) {
    return {static_cast<uint8_t>(50 + 16 * k), static_cast<uint8_t>(100 + 4 * k), static_cast<uint8_t>(180 - 6 * k)};
}

ClipSpec tenFrames() {
    ClipSpec spec;
    for (int k = 0; k < 10; ++k) spec.lFrames.push_back(frameColour(k));
    return spec;
}

// The fake platform with the SDL decoder.
class ClipPlatform : public testkit::FakePlatform {
public:
    std::unique_ptr<IVideoSpriteImpl> createVideoSpriteImpl() override { return std::make_unique<SDLTheoraVideo>(); }
};

class ClipTest : public testkit::AppTest<> {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<ClipPlatform>();
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
    }
    std::string clip(const char* szName, const ClipSpec& spec) {
        const std::string sPath = m_dir.file(szName);
        testkit::writeClip(sPath, spec);
        return sPath;
    }
    // The frame index whose colour fills the image, -1 for another picture.
    static int frameOf(const Zep::SmartPtr<Image>& pImage, int nFrames) {
        pImage->lock();
        const Color c = pImage->readPixel(0, 0);
        pImage->unlock();
        for (int k = 0; k < nFrames; ++k) {
            const ClipYuv yuv = frameColour(k);
            const uint32_t n = yuvToPixel(yuvTables(), yuv.y, yuv.u, yuv.v);
            if (c.getRed() == (n & 0xFF) && c.getGreen() == ((n >> 8) & 0xFF) && c.getBlue() == ((n >> 16) & 0xFF)) return k;
        }
        return -1;
    }
};

TEST(YuvTables, EntriesAreTheTruncatedProducts) {
    const YuvTables& t = yuvTables();
    // i = 0, 127, 128, 255: v = -128, -1, 0, 127.
    const int kExpected[4][4] = {{-175, 43, 89, -221}, {-1, 0, 0, -1}, {0, 0, 0, 0}, {173, -42, -88, 219}};
    const int kIndex[4] = {0, 127, 128, 255};
    for (int k = 0; k < 4; ++k) {
        const int i = kIndex[k];
        EXPECT_EQ(std::vector<int>({t.aRedV[i], t.aGreenU[i], t.aGreenV[i], t.aBlueU[i]}),
                  std::vector<int>(kExpected[k], kExpected[k] + 4))
            << i;
    }
    // Clamped sums, bytes R, G, B, 255.
    EXPECT_EQ(yuvToPixel(t, 250, 255, 255), 0xFFFF78FFu);
    EXPECT_EQ(yuvToPixel(t, 10, 0, 0), 0xFF008E00u);
}

// A 3 x 3 picture in each chroma layout: which chroma sample each pixel
// takes; 4:2:0 leaves the odd last column and row unwritten (0).
TEST(YuvTables, ChromaLayoutsPickTheirSamples) {
    const uint8_t aY[9] = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    const uint8_t aU[9] = {100, 110, 120, 130, 140, 150, 160, 170, 180};
    const uint8_t aV[9] = {200, 190, 180, 170, 160, 150, 140, 130, 120};
    const YuvPlanes planes{aY, 3, aU, aV, 3};
    // Chroma index per pixel, -1 for unwritten.
    const struct {
        int nDivisor;
        bool bFullWidth;
        bool b420;
        int aChroma[9];
    } kCases[] = {
        {1, true, false, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {1, false, false, {0, 0, 1, 3, 3, 4, 6, 6, 7}},
        {2, false, true, {0, 0, -1, 0, 0, -1, -1, -1, -1}},
    };
    for (const auto& c : kCases) {
        uint32_t aOut[12] = {};
        if (c.b420)
            convertYuv420(planes, 3, 3, aOut);
        else
            convertYuvRows(planes, 3, 3, c.nDivisor, c.bFullWidth, aOut);
        for (int i = 0; i < 9; ++i) {
            const int k = c.aChroma[i];
            EXPECT_EQ(aOut[i], k < 0 ? 0u : yuvToPixel(yuvTables(), aY[i], aU[k], aV[k])) << c.nDivisor << " " << i;
        }
    }
}

TEST_F(ClipTest, PicturesComeDueByTheClockInTheTableColoursUntilTheEnd) {
    SDLTheoraVideo video;
    ASSERT_TRUE(video.open(clip("ten.ogv", tenFrames()).c_str()));
    EXPECT_EQ(video.getWidth(), 64);
    EXPECT_EQ(video.getHeight(), 48);
    video.play();
    // Frame k is due while its end time (k + 1) / 10 lies ahead: updates of 40 ms.
    std::vector<int> lShown;
    for (int i = 0; i < 12; ++i) {
        Zep::SmartPtr<Image> pImage = video.update(i == 0 ? 0.01f : 0.04f);
        lShown.push_back(pImage.notNULL() ? frameOf(pImage, 10) : -2);
    }
    EXPECT_EQ(lShown, std::vector<int>({0, -2, -2, 1, -2, 2, -2, -2, 3, -2, 4, -2}));
    // Every pixel of a shown picture is the table colour.
    video.seek(0.55f);
    Zep::SmartPtr<Image> pImage = video.update(0.01f);
    ASSERT_TRUE(pImage.notNULL());
    EXPECT_EQ(frameOf(pImage, 10), 5);
    const uint32_t nExpected = yuvToPixel(yuvTables(), 130, 120, 150);
    EXPECT_EQ(std::count(video.getPixels(), video.getPixels() + 64 * 48, nExpected), 64 * 48);
    // Backward seeks throw; seeking to the current position is accepted.
    EXPECT_EQ(testkit::messageOf<Zep::FatalErrorException>([&] { video.seek(0.2f); }),
              "Theora : Backwards seek not implemented\n");
    video.seek(video.getPosition());
    EXPECT_EQ(testkit::messageOf<Zep::FatalErrorException>([&] { video.rewind(); }), "Not implemented");
    // The end comes after the last picture's time (1.0 s).
    int nUpdates = 0;
    while (!video.isFinished() && nUpdates < 50) {
        video.update(0.05f);
        ++nUpdates;
    }
    EXPECT_TRUE(video.isFinished());
    EXPECT_GE(video.getPosition(), 1.0f);
    EXPECT_LE(video.getPosition(), 1.15f);
}

// The fault mended: the picture offset of the header was ignored, showing the
// wrong region of frames whose picture does not fill the encoded frame.
TEST_F(ClipTest, APictureAtAnOffsetInsideTheFrameIsShownWhole) {
    ClipSpec spec;
    // Colour edges on block edges of the encoded frame, so that every block
    // of the picture is flat and decodes exactly.
    spec.nWidth = 40;
    spec.nHeight = 24;
    spec.nOffsetX = 16;
    spec.nOffsetY = 16;
    spec.lFrames = {{120, 80, 200}};
    spec.outsideCorner = ClipYuv{60, 160, 90};
    SDLTheoraVideo video;
    ASSERT_TRUE(video.open(clip("offset.ogv", spec).c_str()));
    EXPECT_EQ(video.getWidth(), 40);
    EXPECT_EQ(video.getHeight(), 24);
    ASSERT_TRUE(video.update(0.01f).notNULL());
    const uint32_t nTopLeft = yuvToPixel(yuvTables(), 120, 80, 200);
    const uint32_t nOther = yuvToPixel(yuvTables(), 60, 160, 90);
    int nRight = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 40; ++x) nRight += video.getPixels()[y * 40 + x] == (x < 16 && y < 16 ? nTopLeft : nOther);
    EXPECT_EQ(nRight, 40 * 24);
}

// The fault mended: a file without a picture stream opened.
TEST_F(ClipTest, FilesThatDoNotOpen) {
    ClipSpec soundOnly;
    soundOnly.bNoPictures = true;
    soundOnly.nRate = 22050;
    soundOnly.fSeconds = 0.1f;
    const std::string sFull = testkit::readFileBytes(clip("full.ogv", tenFrames()));
    testkit::writeFileBytes(m_dir.file("cut.ogv"), sFull.substr(0, 200));
    testkit::writeFileBytes(m_dir.file("junk.ogv"), std::string(5000, 'x'));
    const struct {
        std::string sPath;
        const char* szError;
    } kCases[] = {
        {clip("sound.ogg", soundOnly), ""},
        {m_dir.file("cut.ogv"), "End of file while searching for codec headers.\n"},
        {m_dir.file("junk.ogv"), ""},
        {m_dir.file("missing.ogv"), ""},
    };
    for (const auto& c : kCases) {
        testing::internal::CaptureStderr();
        SDLTheoraVideo video;
        EXPECT_FALSE(video.open(c.sPath.c_str())) << c.sPath;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.szError) << c.sPath;
        testing::internal::CaptureStderr();
        EXPECT_EQ(testkit::messageOf<Zep::FatalErrorException>([&] { VideoSprite sprite(c.sPath.c_str()); }),
                  "Can't open '" + c.sPath + "'");
        testing::internal::GetCapturedStderr();
    }
}

TEST_F(ClipTest, TheVideoSpriteHasTheClipSizeAndKeepsItsLastFrameAtTheEnd) {
    Zep::SmartPtr<VideoSprite> pSprite = new VideoSprite(clip("ten.ogv", tenFrames()).c_str());
    EXPECT_EQ(pSprite->getWidth(), 64);
    EXPECT_TRUE(pSprite->isExclusiveAudio());
    EXPECT_TRUE(pSprite->isPlaying());
    EXPECT_TRUE(pSprite->getImage().isNULL());
    Zep::SmartPtr<Image> pLast;
    while (pSprite->isPlaying()) {
        pLast = pSprite->getImage();
        pSprite->update(0.1f);
    }
    EXPECT_TRUE(pSprite->isFinished());
    EXPECT_EQ(pSprite->getImage().get(), pLast.get());
    EXPECT_EQ(frameOf(pLast, 10), 9);
    pSprite->update(0.1f);
    EXPECT_EQ(pSprite->getImage().get(), pLast.get());
}

// The decoder's sound through SDL_mixer into SDL's disk audio driver, the
// mixer at 44,100 Hz stereo. The driver writes into a pipe that the test
// empties as its clips play: the mixer's clock (and so the clip's sound
// clock) advances as the test reads, never past the sound the clip decoded
// while the test thread waited for a core.
class ClipSoundTest : public ClipTest {
protected:
    // 20 ms of the mixer's output, the time of one update.
    static constexpr size_t kStepBytes = 44100 / 50 * 4;

    void SetUp() override {
        ClipTest::SetUp();
        m_driver.setFrequency(44100);
        openDevice(512);
        ASSERT_FALSE(HasFatalFailure());
        m_app.useAudioDriver(&m_driver, true);
        m_app.setSoundVolume(255);
    }
    void TearDown() override {
        closeDevice();
        SDL_Quit();
    }
    void openDevice(int nChunk) {
        m_driver.setChunkSize(nChunk);
        ASSERT_TRUE(m_pipe.open());
        ASSERT_TRUE(m_driver.init()) << SDL_GetError();
    }
    void closeDevice() {
        m_pipe.close([this] { m_driver.shutdown(); });
    }
    // One update's time of the mixer's output.
    void step() {
        ASSERT_TRUE(m_pipe.take(kStepBytes)) << "the sound device closed";
    }
    static ClipSpec toneClip(int nRate, int nChannels, float fAmplitude) {
        ClipSpec spec = tenFrames();
        spec.nRate = nRate;
        spec.nChannels = nChannels;
        spec.lToneChannels = {true, false};
        spec.fAmplitude = fAmplitude;
        return spec;
    }
    // Updates in 20 ms steps, each followed by 20 ms of the mixer's output,
    // until the sprite finishes (at most 6 s).
    void playOut(VideoSprite& sprite) {
        for (int i = 0; i < 300 && sprite.isPlaying() && !HasFatalFailure(); ++i) {
            sprite.update(0.02f);
            step();
        }
    }
    // Closes the mixer; the captured samples, left and right.
    std::vector<std::vector<int16_t>> capture() {
        closeDevice();
        const std::string& sBytes = m_pipe.bytes();
        std::vector<std::vector<int16_t>> lChannels(2);
        for (size_t i = 0; i + 1 < sBytes.size(); i += 2) {
            int16_t n = 0;
            std::memcpy(&n, sBytes.data() + i, 2);
            lChannels[(i / 2) % 2].push_back(n);
        }
        return lChannels;
    }
    static int crossings(const std::vector<int16_t>& lSamples, int nLevel) {
        int n = 0;
        for (size_t i = 1; i < lSamples.size(); ++i) n += (lSamples[i - 1] < nLevel) != (lSamples[i] < nLevel);
        return n;
    }
    static int peak(const std::vector<int16_t>& lSamples) {
        int n = 0;
        for (int16_t v : lSamples) n = std::max(n, std::abs(static_cast<int>(v)));
        return n;
    }

    testkit::ScopedEnv m_audioEnv{"SDL_AUDIODRIVER", "disk"};
    testkit::ScopedEnv m_fileEnv{"SDL_DISKAUDIOFILE", m_dir.file("out.raw").c_str()};
    // The pipe paces the driver; it needs no pause of its own.
    testkit::ScopedEnv m_delayEnv{"SDL_DISKAUDIODELAY", "0"};
    testkit::DiskAudioPipe m_pipe{m_dir.file("out.raw")};
    SDLAudioDriver m_driver;
};

// A mono clip at the mixer's rate, doubled for stereo: its 440 Hz tone
// replaces a constant 10,000 on another channel when exclusive (the default
// of the sprite), and is added to it otherwise.
TEST_F(ClipSoundTest, TheClipToneReplacesOrJoinsTheMixerOutput) {
    std::vector<int16_t> lConstant(44100 * 2, 10000);
    Mix_Chunk* pChunk = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(lConstant.data()), lConstant.size() * 2);
    ASSERT_NE(Mix_PlayChannel(-1, pChunk, -1), -1);
    Zep::SmartPtr<VideoSprite> pSprite = new VideoSprite(clip("tone.ogv", toneClip(44100, 1, 0.25f)).c_str());
    playOut(*pSprite);
    EXPECT_TRUE(pSprite->isFinished());
    pSprite->setExclusiveAudio(false);
    EXPECT_FALSE(pSprite->isExclusiveAudio());
    pSprite = new VideoSprite(clip("tone2.ogv", toneClip(44100, 1, 0.25f)).c_str());
    pSprite->setExclusiveAudio(false);
    playOut(*pSprite);
    pSprite = nullptr;
    const auto lChannels = capture();
    Mix_FreeChunk(pChunk);
    EXPECT_EQ(lChannels[0], lChannels[1]);
    // Exclusive: the tone alone, 1 s of 440 Hz, so about 880 zero crossings.
    const std::vector<int16_t>& left = lChannels[0];
    const int nExclusiveCrossings = crossings(left, 0);
    EXPECT_GE(nExclusiveCrossings, 780);
    EXPECT_LE(nExclusiveCrossings, 900);
    // Mixed (from the first crest above the exclusive tone's): the tone rides
    // on the constant.
    const auto itMixed = std::find_if(left.begin(), left.end(), [](int16_t v) { return v > 15000; });
    ASSERT_GT(left.end() - itMixed, 40000);
    EXPECT_GE(*std::min_element(itMixed, left.end()), 1000)
        << "at " << (left.end() - std::min_element(itMixed, left.end())) << " samples from the end of " << left.size();
    EXPECT_GE(crossings(std::vector<int16_t>(itMixed, left.end()), 10000), 780);
}

// The faults mended: conversion stepped through single samples, mixing the
// channels of a stereo clip at another rate, and wrote a whole callback into
// its 32,768-byte buffer. A 22,050 Hz clip with the tone on the left only,
// with callbacks of 2,048 and of 65,536 bytes. Those run 0.37 s ahead of the
// sound decoded 0.25 s ahead, so the sound between the two (a quarter of the
// clip, in two gaps) is dropped as late: about 720 crossings are left. With
// the mixer paced by the test that no longer varies with the machine's load,
// and the lower bound is back above what a lost callback would leave.
TEST_F(ClipSoundTest, AStereoClipAtAnotherRateKeepsItsChannelsThroughLongCallbacks) {
    const struct {
        int nChunk;
        int nMinCrossings;
    } kCases[] = {{512, 780}, {16384, 640}};
    for (const auto& c : kCases) {
        closeDevice();
        openDevice(c.nChunk);
        ASSERT_FALSE(HasFatalFailure());
        Zep::SmartPtr<VideoSprite> pSprite = new VideoSprite(clip("stereo.ogv", toneClip(22050, 2, 0.25f)).c_str());
        playOut(*pSprite);
        EXPECT_TRUE(pSprite->isFinished());
        pSprite = nullptr;
        const auto lChannels = capture();
        EXPECT_GT(peak(lChannels[0]), 6000) << c.nChunk;
        EXPECT_LT(peak(lChannels[1]), 600) << c.nChunk;
        // The pitch stays 440 Hz: at most 880 crossings in 1 s.
        EXPECT_GE(crossings(lChannels[0], 0), c.nMinCrossings) << c.nChunk;
        EXPECT_LE(crossings(lChannels[0], 0), 900) << c.nChunk;
    }
}

// The fault mended: a new clip made before the old one is released lost its
// post-mix hook when the old one went, and its clock stood still.
TEST_F(ClipSoundTest, ClipsPlayedInTurnKeepTheirSoundAndClock) {
    Zep::SmartPtr<VideoSprite> pSprite = new VideoSprite(clip("first.ogv", toneClip(44100, 1, 0.25f)).c_str());
    for (int i = 0; i < 5; ++i) pSprite->update(0.02f);
    // Skipped: the next clip replaces it.
    pSprite = new VideoSprite(clip("second.ogv", toneClip(44100, 1, 0.25f)).c_str());
    playOut(*pSprite);
    EXPECT_TRUE(pSprite->isFinished());
    EXPECT_GE(pSprite->getClipPosition(), 1.0f);
    pSprite = nullptr;
    EXPECT_GE(crossings(capture()[0], 0), 780);
}

// A paused decoder adds nothing and its audio clock stands; a sprite's sound
// follows the application's sound volume (128 / 255 halves the tone).
TEST_F(ClipSoundTest, APausedClipIsSilentAndTheSpriteFollowsTheSoundVolume) {
    SDLTheoraVideo paused;
    ASSERT_TRUE(paused.open(clip("paused.ogv", toneClip(44100, 1, 0.25f)).c_str()));
    paused.setExclusiveAudio(true);
    for (int i = 0; i < 10; ++i) {
        paused.update(0.02f);
        step();
    }
    EXPECT_EQ(paused.getPosition(), 0.0f);
    m_app.setSoundVolume(128);
    Zep::SmartPtr<VideoSprite> pSprite = new VideoSprite(clip("half.ogv", toneClip(44100, 1, 0.25f)).c_str());
    playOut(*pSprite);
    pSprite = nullptr;
    const int nPeak = peak(capture()[0]);
    EXPECT_GT(nPeak, 3600);
    EXPECT_LT(nPeak, 4700);
}

}  // namespace

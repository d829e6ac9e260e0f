// The clip decoder and the video sprite on clips written by the encoders:
// colours against the table formula, frame timing, the end, seeking, the
// picture offset, and the sound captured through SDL's disk audio driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imagetest_util.h"
#include "memimage.h"
#include "sdl_audio.h"
#include "sdl_theora.h"
#include "testkit_clip.h"
#include "testkit_platform.h"
#include "videosprite.h"
#include "yuvtables.h"

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

class ClipTest : public imagetest::AppTest<> {
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
    EXPECT_EQ(imagetest::messageOf<Zep::FatalErrorException>([&] { video.seek(0.2f); }),
              "Theora : Backwards seek not implemented\n");
    video.seek(video.getPosition());
    EXPECT_EQ(imagetest::messageOf<Zep::FatalErrorException>([&] { video.rewind(); }), "Not implemented");
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
        EXPECT_EQ(imagetest::messageOf<Zep::FatalErrorException>([&] { VideoSprite sprite(c.sPath.c_str()); }),
                  "Can't open '" + c.sPath + "'");
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

}  // namespace

// Damaged clips: cut short, without their end marks, followed by junk; each
// must end where its data end, having shown and sounded what it holds. The
// test stands for the mixer, calling the decoder's hook after every update.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <ogg/ogg.h>
#include <zep2/resource.h>

#include "image/memimage.h"
#include "sdl/sdl_theora.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_audio.h"
#include "testkit/testkit_clip.h"
#include "testkit/testkit_platform.h"
#include "testkit/testkit_tempdir.h"
#include "testkit/testkit_video.h"
#include "dialogs/ui_splash.h"
#include "media/yuvtables.h"

namespace {

using testkit::ClipPage;
using testkit::ClipSpec;
using testkit::ClipYuv;

constexpr int kRate = 22050;
constexpr int kFrames = 20;  // 2 s at 10 a second

ClipYuv frameColour(int k) { return {static_cast<uint8_t>(40 + 9 * k), static_cast<uint8_t>(90 + 3 * k), 150}; }

// The decoder the platform made last, so that the test can mix its sound.
struct ClipPlatform : testkit::FakePlatform {
    std::unique_ptr<IVideoSpriteImpl> createVideoSpriteImpl() override {
        auto p = std::make_unique<SDLTheoraVideo>();
        m_pLast = p.get();
        return p;
    }
    SDLTheoraVideo* m_pLast = nullptr;
};

class HostileClip : public testing::Test {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<ClipPlatform>();
        m_pPlatform = pPlatform.get();
        m_pPlatform->setVideoDriver(std::make_unique<testkit::FakeVideoDriver>());
        m_pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_pPlatform->setAudioDriver(std::make_unique<testkit::FakeAudioDriver>());
        m_app.setPlatform(std::move(pPlatform));
        m_app.useAudioDriver(m_pPlatform->getAudioDriver(), true);
    }
    static ClipSpec twoSeconds(bool bSound) {
        ClipSpec spec;
        spec.nWidth = 32, spec.nHeight = 32;
        for (int k = 0; k < kFrames; ++k) spec.lFrames.push_back(frameColour(k));
        spec.bShortPages = true;
        spec.nRate = bSound ? kRate : 0;
        spec.fSeconds = 2.0f;
        return spec;
    }
    // The mixer's share of one step, 16-bit mono at the clip's rate; what the
    // clip puts there is kept.
    void mix(SDLTheoraVideo& video, float fSeconds) {
        std::vector<int16_t> lOut(static_cast<size_t>(fSeconds * kRate), 0);
        video.mixAudio(reinterpret_cast<uint8_t*>(lOut.data()), static_cast<int>(lOut.size() * 2));
        m_lHeard.insert(m_lHeard.end(), lOut.begin(), lOut.end());
    }
    // Seconds until the last sound heard, and its zero crossings per second.
    double heardUntil() const {
        size_t n = m_lHeard.size();
        while (n > 0 && m_lHeard[n - 1] == 0) --n;
        return static_cast<double>(n) / kRate;
    }
    double crossingsPerSecond() const {
        int n = 0;
        for (size_t i = 1; i < m_lHeard.size(); ++i) n += (m_lHeard[i - 1] < 0) != (m_lHeard[i] < 0);
        return heardUntil() > 0 ? n / heardUntil() : 0.0;
    }

    testkit::TempDir m_dir;
    testkit::AppFiles m_files{m_dir};
    testkit::TestApp m_app;
    ClipPlatform* m_pPlatform = nullptr;
    std::vector<int16_t> m_lHeard;
};

// The bytes up to the end of the last page that ends by dSeconds.
size_t endOfPagesBy(const std::vector<ClipPage>& lPages, double dSeconds) {
    size_t nEnd = 0;
    for (const ClipPage& p : lPages)
        if (p.dTime <= dSeconds) nEnd = p.nOffset + p.nSize;
    return nEnd;
}

struct Damage {
    double dCut = 0.0;  // cut after the pages that end by then; 0: whole
    bool bHalfPage = false;  // and keep half of the next page
    bool bNoEndMarks = false;
    bool bJunk = false;  // 3000 bytes of junk after it
    bool bFarGranule = false;  // the picture page of 0.5 s stamped 100 s later
};

// Adds 1000 key frames (the kit's shift is 6) to the granule position of the
// picture page (serial 1) that ends at 0.5 s, with its checksum made right.
void stampLater(std::string& s, const std::vector<ClipPage>& lPages) {
    for (const ClipPage& p : lPages) {
        unsigned char* pPage = reinterpret_cast<unsigned char*>(&s[p.nOffset]);
        if (p.dTime != 0.5 || pPage[14] != 1) continue;
        int64_t nGranule = 0;
        std::memcpy(&nGranule, pPage + 6, 8);
        nGranule += int64_t{1000} << 6;
        std::memcpy(pPage + 6, &nGranule, 8);
        const long nHeader = 27 + pPage[26];
        ogg_page page{pPage, nHeader, pPage + nHeader, static_cast<long>(p.nSize) - nHeader};
        ogg_page_checksum_set(&page);
    }
}

std::string damaged(std::string s, const std::vector<ClipPage>& lPages, const Damage& d) {
    if (d.dCut > 0.0) {
        size_t nEnd = endOfPagesBy(lPages, d.dCut);
        for (const ClipPage& p : lPages)
            if (d.bHalfPage && p.nOffset == nEnd) nEnd += p.nSize / 2;
        s.resize(nEnd);
    }
    if (d.bFarGranule) stampLater(s, lPages);
    if (d.bNoEndMarks) s = testkit::withoutEndMarks(s);
    return d.bJunk ? s + std::string(3000, 'x') : s;
}

// The same clip, with and without sound, spoiled in each way: it must finish
// just after dEnd (clip seconds), show frame nLast last and sound the tone
// until shortly before dEnd.
TEST_F(HostileClip, ADamagedClipEndsWhereItsDataEnd) {
    const struct {
        const char* szName;
        Damage damage;
        bool bSound;
        bool bAudioOn;
        double dEnd;
        int nLast;
    } kCases[] = {
        {"whole", {}, true, true, 2.0, 19},
        {"no end marks", {0.0, false, true}, true, true, 2.0, 19},
        {"cut at 1 s", {1.0}, true, true, 1.0, 9},
        {"cut inside a page", {1.0, true}, true, true, 1.0, 9},
        {"cut, then junk", {1.0, false, false, true}, true, true, 1.0, 9},
        {"no end marks, cut at 1.5 s", {1.5, false, true}, true, true, 1.5, 14},
        {"one picture", {0.1}, true, true, 0.1, 0},
        {"a picture's time 100 s late", {0.0, false, false, false, true}, true, true, 2.0, 19},
        {"cut at 1 s, audio off", {1.0}, true, false, 1.0, 9},
        {"no sound, no end marks", {0.0, false, true}, false, true, 2.0, 19},
        {"no sound, cut at 1 s", {1.0}, false, true, 1.0, 9},
        {"no sound, cut inside a page", {1.0, true}, false, true, 1.0, 9},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.szName);
        m_app.useAudioDriver(m_pPlatform->getAudioDriver(), c.bAudioOn);
        m_lHeard.clear();
        const std::string sPath = m_dir.file("clip.ogv");
        const std::vector<ClipPage> lPages = testkit::writeClip(sPath, twoSeconds(c.bSound));
        testkit::writeFileBytes(sPath, damaged(testkit::readFileBytes(sPath), lPages, c.damage));
        SDLTheoraVideo video;
        ASSERT_TRUE(video.open(sPath.c_str()));
        video.setExclusiveAudio(true);
        video.play();
        int nLast = -1;
        for (int i = 0; i < 150 && !video.isFinished(); ++i) {
            if (video.update(0.02f).notNULL()) {
                nLast = -2;
                for (int k = 0; k < kFrames; ++k) {
                    const ClipYuv yuv = frameColour(k);
                    if (video.getPixels()[0] == yuvToPixel(yuvTables(), yuv.y, yuv.u, yuv.v)) nLast = k;
                }
            }
            mix(video, 0.02f);
        }
        ASSERT_TRUE(video.isFinished());
        EXPECT_GE(video.getPosition(), c.dEnd);
        EXPECT_LE(video.getPosition(), c.dEnd + 0.05);
        EXPECT_EQ(nLast, c.nLast);
        if (c.bSound && c.bAudioOn && c.dEnd > 0) {
            // The sound's last whole page ends shortly before the cut.
            EXPECT_GE(heardUntil(), c.dEnd - 0.1);
            EXPECT_LE(heardUntil(), c.dEnd + 0.01);
            EXPECT_NEAR(crossingsPerSecond(), 880.0, 40.0);
        } else {
            EXPECT_EQ(heardUntil(), 0.0);
        }
    }
}

// The splash screen's clip step ends with a clip cut short, sound and all.
TEST_F(HostileClip, TheSplashScreenMovesOnFromACutClip) {
    std::filesystem::create_directories(m_dir.file("res"));
    m_app.addResourceProvider(std::make_unique<Zep::FilesystemResourceProvider>(m_dir.file("res/").c_str()), false);
    m_app.setFrameRate(60);
    m_app.setSoundVolume(255);
    const std::string sPath = m_dir.file("res/intro.ogv");
    const std::vector<ClipPage> lPages = testkit::writeClip(sPath, twoSeconds(true));
    testkit::writeFileBytes(sPath, damaged(testkit::readFileBytes(sPath), lPages, {1.0}));
    auto* pBelow = new GameMode();
    m_app.pushMode(pBelow);
    auto* pSplash = new SplashScreen();
    pSplash->addMediaLogo("intro.ogv");
    m_app.pushMode(pSplash);
    int nLast = 0, nDue = 16, nFrames = 0;
    m_app.frame(nLast, nDue, false);
    ASSERT_NE(m_pPlatform->m_pLast, nullptr);
    while (pSplash->getCurrentSprite().notNULL() && nFrames < 300) {
        mix(*m_pPlatform->m_pLast, 0.016f);
        m_app.frame(nLast, nDue, false);
        ++nFrames;
    }
    // About 1 s of frames of 16 ms, and the tone until the cut.
    EXPECT_GE(nFrames, 60);
    EXPECT_LE(nFrames, 70);
    EXPECT_NEAR(heardUntil(), 0.95, 0.05);
    m_app.frame(nLast, nDue, false);
    EXPECT_EQ(m_app.getTopMode(), pBelow);
}

}  // namespace

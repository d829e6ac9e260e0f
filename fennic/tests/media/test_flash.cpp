// The Flash layer without a control: the movie frame-size reader on plain and
// compressed headers and on short files, the black/white alpha recovery, the
// sprite's answers without a host, and its loop count and pending scale over
// a scripted host.
#include <gtest/gtest.h>

#include <zlib.h>

#include <string>
#include <vector>

#include <zep2/memstream.h>

#include "media/flashsprite.h"
#include "testkit/testkit_fixtures.h"
#include "media/swfreader.h"

namespace {

// A RECT record: n, then the four n-bit values, most significant bit first.
std::string rect(int nBits, std::vector<int> lValues) {
    std::vector<int> lBits;
    auto put = [&](int nValue, int nCount) {
        for (int i = nCount - 1; i >= 0; --i) lBits.push_back((static_cast<unsigned>(nValue) >> i) & 1);
    };
    put(nBits, 5);
    for (int v : lValues) put(v, nBits);
    std::string s((lBits.size() + 7) / 8, '\0');
    for (size_t i = 0; i < lBits.size(); ++i) s[i / 8] = static_cast<char>(s[i / 8] | (lBits[i] << (7 - i % 8)));
    return s;
}

// A movie header: signature, version, length, then the body (compressed
// for "CWS").
std::string movie(const char* szSignature, const std::string& sBody) {
    std::string sRest = sBody;
    if (std::string(szSignature) == "CWS") {
        uLongf nSize = compressBound(sBody.size());
        std::string sOut(nSize, '\0');
        compress(reinterpret_cast<Bytef*>(sOut.data()), &nSize, reinterpret_cast<const Bytef*>(sBody.data()),
                 sBody.size());
        sRest = sOut.substr(0, nSize);
    }
    return std::string(szSignature) + std::string("\x09\x40\x00\x00\x00", 5) + sRest;
}

SwfFrameSize sizeOf(const std::string& sFile) {
    Zep::MemStream stream(sFile.data(), static_cast<int>(sFile.size()));
    return readSwfFrameSize(stream);
}

TEST(SwfReader, FrameSizeOfPlainCompressedAndShortFiles) {
    const std::string s800x600 = rect(15, {0, 16000, 0, 12000}) + std::string(20, '\x11');
    const struct {
        std::string sFile;
        int nWidth, nHeight;
    } kCases[] = {
        {movie("FWS", s800x600), 800, 600},
        {movie("CWS", s800x600), 800, 600},
        // Two's complement minimum: -20 / 20 = -1, 15980 / 20 = 799.
        {movie("FWS", rect(15, {-20, 15980, 0, 200})), 800, 10},
        // Truncation toward zero before subtracting.
        {movie("FWS", rect(12, {-39, 39, 19, 41})), 2, 2},
        {movie("XYZ", rect(15, {0, 400, 0, 200})), 20, 10},
        {movie("FWS", rect(0, {})), 0, 0},
        // Short files: nothing after the header, a cut record, a cut signature.
        {movie("FWS", ""), 0, 0},
        {movie("FWS", rect(15, {0, 16000, 0, 12000}).substr(0, 8)), 0, 0},
        {movie("CWS", rect(15, {0, 16000, 0, 12000}).substr(0, 8)), 0, 0},
        {"FW", 0, 0},
        {"", 0, 0},
    };
    int nCase = 0;
    for (const auto& c : kCases) {
        const SwfFrameSize size = sizeOf(c.sFile);
        EXPECT_EQ(size.nWidth, c.nWidth) << nCase;
        EXPECT_EQ(size.nHeight, c.nHeight) << nCase++;
    }
}

TEST(SwfReader, AlphaFromRendersOverBlackAndWhite) {
    // Black render, white render, expected alpha.
    const struct {
        uint8_t black[3], white[3];
        uint8_t nAlpha;
    } kCases[] = {
        {{10, 20, 30}, {10, 20, 30}, 255},    // opaque over both
        {{0, 0, 0}, {255, 255, 255}, 0},      // untouched
        {{64, 64, 64}, {192, 192, 192}, 127},  // half covered
        {{0, 0, 0}, {255, 0, 0}, 170},        // (255 + 0 + 0) / 3 = 85
        {{200, 0, 0}, {100, 0, 0}, 203},      // difference modulo 256: 156 / 3 = 52
    };
    std::vector<uint8_t> black, white;
    for (const auto& c : kCases) {
        black.insert(black.end(), {c.black[0], c.black[1], c.black[2], 7});
        white.insert(white.end(), {c.white[0], c.white[1], c.white[2], 9});
    }
    recoverAlphaFromBlackWhite(black.data(), white.data(), static_cast<int>(std::size(kCases)));
    for (size_t i = 0; i < std::size(kCases); ++i) {
        EXPECT_EQ(black[i * 4 + 3], kCases[i].nAlpha) << i;
        EXPECT_EQ(black[i * 4], kCases[i].black[0]) << i;
    }
}

// Frames and labels scripted by the test; calls recorded.
class ScriptedHost : public IFlashHost {
public:
    ScriptedHost(std::vector<std::string>& lCalls, bool bCreates) : m_lCalls(lCalls), m_bCreates(bCreates) {}
    bool create(const char* szMovie, bool bTransparent) override {
        m_lCalls.push_back(std::string("create ") + szMovie + (bTransparent ? " t" : " o"));
        return m_bCreates;
    }
    void draw(Sprite* pTarget) override { m_lCalls.push_back(pTarget ? "draw sprite" : "draw"); }
    void getMovieSize(int& nWidth, int& nHeight) override {
        nWidth = 300;
        nHeight = 101;
    }
    void resize(int nWidth, int nHeight) override {
        m_lCalls.push_back("resize " + std::to_string(nWidth) + "x" + std::to_string(nHeight));
    }
    void play() override { m_lCalls.push_back("play"); }
    void stop() override { m_lCalls.push_back("stop"); }
    void rewind() override { m_lCalls.push_back("rewind"); }
    void gotoFrame(int nFrame) override { m_nFrame = nFrame; }
    bool isPlaying() override { return true; }
    int getCurrentFrame() override { return m_nFrame; }
    int getTotalFrames() override { return 12; }
    void gotoLabel(const char* szLabel) override {
        if (std::string(szLabel) != "missing") m_sLabel = szLabel;
    }
    Zep::String getCurrentLabel() override { return Zep::String(m_sLabel.c_str()); }

private:
    std::vector<std::string>& m_lCalls;
    bool m_bCreates;
    int m_nFrame = 0;
    std::string m_sLabel;
};

using FlashSpriteTest = testkit::AppTest<>;

TEST_F(FlashSpriteTest, WithoutAControlTheSpriteShowsNothingAndAnswersNothing) {
    EXPECT_FALSE(FlashSprite::isFlashAvailable());
    Zep::SmartPtr<FlashSprite> pSprite = new FlashSprite("logo.swf", 0, 0, 1, false);
    EXPECT_FALSE(pSprite->hasHost());
    pSprite->play();
    pSprite->gotoFrame(3);
    pSprite->setMovieScale(2.0f);
    pSprite->update(0.1f);
    pSprite->onModeSet();
    EXPECT_FALSE(pSprite->isPlaying());
    EXPECT_EQ(pSprite->getCurrentFrame(), 0);
    EXPECT_EQ(pSprite->getTotalFrames(), 0);
    EXPECT_FALSE(pSprite->gotoLabel("start"));
    EXPECT_EQ(pSprite->getCurrentLabel(), "");
    EXPECT_EQ(pSprite->getMovieSize().x, 0.0f);
    EXPECT_EQ(pSprite->getLoopCount(), 0);
    EXPECT_EQ(pSprite->getImage().get(), nullptr);
}

TEST_F(FlashSpriteTest, LoopCountAndPendingScaleOverAHost) {
    std::vector<std::string> lCalls;
    auto pOwned = std::make_unique<ScriptedHost>(lCalls, true);
    ScriptedHost* pHost = pOwned.get();
    Zep::SmartPtr<FlashSprite> pSprite = new FlashSprite(std::move(pOwned), "logo.swf", 0, 0, 1, true);
    // Frames seen by successive updates: two go backwards.
    for (int nFrame : {1, 5, 9, 2, 2, 7, 0}) {
        pHost->gotoFrame(nFrame);
        pSprite->update(0.04f);
    }
    EXPECT_EQ(pSprite->getLoopCount(), 2);
    pSprite->setMovieScale(1.5f);
    pSprite->update(0.04f);
    pSprite->update(0.04f);
    EXPECT_EQ(lCalls[0], "create logo.swf t");
    EXPECT_EQ(std::vector<std::string>(lCalls.end() - 3, lCalls.end()),
              std::vector<std::string>({"resize 450x151", "draw sprite", "draw sprite"}));
    EXPECT_TRUE(pSprite->gotoLabel("intro"));
    EXPECT_FALSE(pSprite->gotoLabel("missing"));
    EXPECT_EQ(pSprite->getCurrentLabel(), "intro");
    EXPECT_EQ(pSprite->getMovieSize().y, 101.0f);

    // A host whose create fails is dropped.
    std::vector<std::string> lFailed;
    Zep::SmartPtr<FlashSprite> pNone =
        new FlashSprite(std::make_unique<ScriptedHost>(lFailed, false), "x.swf", 0, 0, 1, false);
    pNone->update(0.0f);
    EXPECT_FALSE(pNone->hasHost());
    EXPECT_EQ(lFailed, std::vector<std::string>({"create x.swf o"}));
}

}  // namespace

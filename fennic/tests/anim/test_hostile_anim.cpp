// Hostile animation scripts: statements that multiply work ("copyseq" onto
// itself, "repeat", batches, "all") stop at the reader's limits with a parse
// error, quickly and before the refused statement changes anything; frames
// are reached by number directly.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "anim/animation.h"
#include "anim/animscript_reader.h"
#include "image/memimage.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_platform.h"

namespace {

std::string lines(int n, const std::string& sLine) {
    std::string s;
    for (int i = 0; i < n; ++i) s += sLine;
    return s;
}

std::string numbered(int n, const std::string& sHead, const std::string& sTail) {
    std::string s;
    for (int i = 0; i < n; ++i) s += sHead + std::to_string(i) + sTail;
    return s;
}

class HostileAnim : public ::testing::Test {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
        auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
        m_pFiles = pProvider.get();
        m_app.addResourceProvider(std::move(pProvider), false);
        m_app.addImage("a", new MemImage(2, 1, true), true);
    }
    // Runs the text as "t.anim"; answers "Class: message" of the error.
    std::string failure(const std::string& sText) {
        Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(static_cast<int>(sText.size()), nullptr, true);
        std::memcpy(p->getData(), sText.data(), sText.size());
        m_pFiles->add("t.anim", p);
        m_pLoader = new AnimationLoader();
        try {
            m_pLoader->runFile("t.anim");
        } catch (const Zep::Exception& e) {
            return std::string(e.className()) + ": " + e.getMessage();
        }
        return "(nothing thrown)";
    }

    testkit::TempDir m_dir;
    testkit::AppFiles m_files{m_dir};
    testkit::TestApp m_app;
    Zep::MemoryResourceProvider* m_pFiles = nullptr;
    Zep::SmartPtr<AnimationLoader> m_pLoader;
};

struct HostileCase {
    const char* szWhat;
    std::string sScript;
    const char* szError;  // after "AnimationParserException: AnimationLoader : "
    int nFramesOfS;       // left in sequence "s"
};

}  // namespace

TEST_F(HostileAnim, WorkStopsAtTheLimits) {
    const std::string sValid = "load a\nseq s\nadd a\n";
    const HostileCase aCases[] = {
        {"copyseq doubling", sValid + lines(20, "copyseq s\n"),
         "Copyseq in t.anim, line 16 : sequence s would have more than 5000 frames", 4096},
        {"repeated copyseq", sValid + "repeat 10000 copyseq s reverse\n",
         "Copyseq in t.anim, line 4 : sequence s would have more than 5000 frames", 4096},
        {"two sequences copying each other", sValid + "seq t\n" + lines(20, "copyseq s\nseq s\ncopyseq t\nseq t\n"),
         "Copyseq in t.anim, line 41 : sequence t would have more than 5000 frames", 4181},
        {"frames in a sequence", sValid + "repeat 5000 add a\n",
         "Add in t.anim, line 4 : sequence s would have more than 5000 frames", 5000},
        {"frames of a batch", sValid + "mclone a b$ 1 2\nrepeat 2600 add all\n",
         "Add in t.anim, line 5 : sequence s would have more than 5000 frames", 4999},
        {"frames in the animation", sValid + numbered(3, "seq t", "\nrepeat 4000 add a\n"),
         "Add in t.anim, line 9 : the animation would have more than 10000 frames", 1},
        {"copied properties", sValid + numbered(50, "prop p", " x\n") + "seq t\nrepeat 4000 copyseq s\n",
         "Copyseq in t.anim, line 55 : more than 100000 properties copied in all", 1},
        {"images of all", "load a\nmclone a b$ 1 9999\nrepeat 9999 hflip all\n",
         "Hflip in t.anim, line 3 : more than 20000 images copied or changed in all", 0},
        {"image positions", "load a\n" + lines(3, "repeat 10000 inspos 1 1 a\n"),
         "Inspos in t.anim, line 4 : more than 20000 images copied or changed in all", 0},
        {"tokens run", "repeat 10000 default x" + lines(98, " y") + "\nrepeat 1 default x\n",
         "Default in t.anim, line 2 : more than 1000000 tokens run in all", 0},
        {"substitution", lines(100, "param x\n") + lines(1001, "default (" + std::string(475, 'y') + "\n"),
         "Line in t.anim, line 1101 : substitution scanned more than 50000000 characters in all", 0},
    };
    for (const HostileCase& c : aCases) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(std::string("AnimationParserException: AnimationLoader : ") + c.szError, failure(c.sScript))
            << c.szWhat;
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed.count(), 10.0) << c.szWhat;  // minutes before the limits
        EXPECT_EQ(c.nFramesOfS, m_pLoader->getAnimation()->getFrameCount("s")) << c.szWhat;
    }
}

TEST_F(HostileAnim, ReverseOptionsOnAllTurnTheOrderOnce) {
    // 20,001 options used to turn 2,000 frames round as often.
    EXPECT_EQ("(nothing thrown)", failure("load a\nmclone a b$ 1 1999\nseq r\nadd all\nseq s\nadd all repeat 2" +
                                          lines(20001, " reverse") + "\n"));
    Zep::SmartPtr<Animation> p = m_pLoader->getAnimation();
    ASSERT_EQ(2000, p->getFrameCount("s"));
    EXPECT_EQ(p->getFrameImage("r", 1999), p->getFrameImage("s", 0));
    EXPECT_EQ(p->getFrameImage("r", 0), p->getFrameImage("s", 1999));
    EXPECT_EQ(2, p->getFrameRepeat("s", 1000));
}

TEST(AnimationFrames, ReachedByNumberInAnyOrder) {
    Zep::SmartPtr<Animation> p = new Animation(12.0f);
    std::vector<Zep::SmartPtr<Image>> vImages;
    for (int i = 0; i < 3000; ++i) {
        vImages.emplace_back(new MemImage(1, 1, true));
        ASSERT_EQ(i, p->addFrame("walk", vImages.back(), i + 1));
    }
    p->addSequence("walk2", p->getSequence("walk"));
    for (int n : {2999, 0, 1500, 1, 2998, 7, 1500}) {
        EXPECT_EQ(vImages[n], p->getFrameImage("walk", n)) << n;
        EXPECT_EQ(n + 1, p->getFrameRepeat("walk2", n)) << n;
        EXPECT_EQ(p->getSequence("walk")->getFrames().get(n), p->getFrame("walk", n)) << n;
    }
    // Images are listed once, however many names a sequence has.
    Zep::List<Zep::SmartPtr<Image>> lImages = p->getImages();
    EXPECT_EQ(3000, lImages.getCount());
    EXPECT_EQ(vImages[2999], lImages.getLast());
    // Outside the frames, the list's own error.
    for (int n : {-1, 3000}) {
        try {
            p->getFrame("walk", n);
            ADD_FAILURE() << n;
        } catch (const Zep::FatalErrorException& e) {
            EXPECT_EQ("List index out of range : " + std::to_string(n) + " (have 3000)", e.getMessage());
        }
    }
}

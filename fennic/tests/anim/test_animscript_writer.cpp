// The animation script writer: its exact text, its steps, the refusal of
// values the reader would cut, and a round trip through an archive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <zep2/file.h>
#include <zep2/memstream.h>
#include <zep2/resourcefile.h>

#include "anim/animscript_writer.h"
#include "anim/animtest_util.h"

namespace {

using animtest::failure;

// The start-up's frame rate and real picture loading (PNG through the registry).
class AnimWriter : public testkit::AppTest<animtest::AnimApp> {
protected:
    void SetUp() override {
        auto pPlatform = std::make_unique<testkit::FakePlatform>();
        pPlatform->setImageFactory(std::make_unique<MemImageFactory>());
        m_app.setPlatform(std::move(pPlatform));
        m_app.initCaches();
    }
    Zep::SmartPtr<Zep::ResourceFileCompiler> compiler(const Zep::SmartPtr<Zep::Stream>& pOut) {
        Zep::SmartPtr<Zep::ResourceFileCompiler> p = new Zep::ResourceFileCompiler(pOut);
        p->writeHeader();
        return p;
    }
    // 60 fps; "walk" loops at 12 with two frames, the second shown three periods.
    Zep::SmartPtr<Animation> walker() {
        Zep::SmartPtr<Animation> p = new Animation(0.0f);
        p->createSequence("walk", true, 12.0f);
        p->addFrame("walk", imagetest::makeImage(3, 2, true), 1);
        p->addFrame("walk", imagetest::makeImage(2, 2, true), 3);
        p->setDefaultSequence("walk");
        return p;
    }
};

}  // namespace

TEST_F(AnimWriter, TextAndSteps) {
    Zep::SmartPtr<Zep::MemStream> pOut = new Zep::MemStream();
    Zep::SmartPtr<Zep::ResourceFileCompiler> pTarget = compiler(pOut);
    AnimationSaver saver;
    saver.begin(walker(), pTarget, "walk.anim");
    std::vector<int> lLines;
    while (!saver.isDone()) lLines.push_back(saver.writeStep());
    EXPECT_EQ((std::vector<int>{2, 1, 0}), lLines);
    EXPECT_EQ("fps 60.00\ndefault walk\nseq walk loop fps 12.00\nadd walk.anim_0_0.bbb\nadd walk.anim_0_1.bbb repeat 3\n",
              std::string(saver.getText().c_str()));
    EXPECT_EQ(3, pTarget->getEntryCount());  // two pictures, then the script
}

TEST_F(AnimWriter, PropertiesSharedImagesAndDefaults) {
    Zep::SmartPtr<Animation> p = new Animation(25.0f);
    Zep::SmartPtr<Image> pImage = imagetest::makeImage(1, 1, true);
    p->createSequence("idle", false, 25.0f);
    p->PropHolder::setProp("kind", "cat");
    p->setProp("idle", -1, "speed", "2");
    p->addFrame("idle", pImage, 1);
    p->addFrame("idle", pImage, 0);
    p->setProp("idle", 1, "pos", "1,2");
    Zep::SmartPtr<Zep::MemStream> pOut = new Zep::MemStream();
    AnimationSaver saver;
    saver.save(p, compiler(pOut), "i");
    EXPECT_EQ("fps 25.00\ndefault idle\nprop kind cat\nseq idle\nprop speed 2\nadd i_0_0.bbb\nadd i_0_0.bbb repeat 0\n"
              "prop pos 1,2\n",
              std::string(saver.getText().c_str()));
    // Without sequences nothing goes into the archive.
    Zep::SmartPtr<Animation> pEmpty = new Animation(25.0f);
    pEmpty->setDefaultSequence("none");
    Zep::SmartPtr<Zep::ResourceFileCompiler> pTarget = compiler(new Zep::MemStream());
    AnimationSaver().save(pEmpty, pTarget, "e");
    EXPECT_EQ(0, pTarget->getEntryCount());
}

// Values with blanks or "#" used to be written as they were and came back cut.
TEST_F(AnimWriter, RefusesWhatWouldNotReadBack) {
    struct Case {
        const char* szSeq;
        const char* szProp;
        const char* szValue;
        std::string sError;
    };
    const Case aCases[] = {
        {"walk", "pos", "1, 2", "BadParmException: AnimationSaver : property value '1, 2' would not read back"},
        {"walk", "pos", "red#1", "BadParmException: AnimationSaver : property value 'red#1' would not read back"},
        {"walk", "my pos", "1", "BadParmException: AnimationSaver : property name 'my pos' would not read back"},
        {"slow walk", "pos", "1", "BadParmException: AnimationSaver : sequence name 'slow walk' would not read back"},
    };
    for (const Case& c : aCases) {
        Zep::SmartPtr<Animation> p = new Animation(10.0f);
        p->addFrame(c.szSeq, imagetest::makeImage(1, 1, true), 1);
        p->setProp(c.szSeq, 0, c.szProp, c.szValue);
        Zep::SmartPtr<Zep::ResourceFileCompiler> pTarget = compiler(new Zep::MemStream());
        EXPECT_EQ(c.sError, failure([&] { AnimationSaver().save(p, pTarget, "x"); }));
        EXPECT_EQ(0, pTarget->getEntryCount());
    }
}

TEST_F(AnimWriter, OutputReadsBackToTheSameSequences) {
    Zep::SmartPtr<Animation> p = walker();
    p->createSequence("stand", false, 0.0f);
    p->addFrame("stand", p->getFrameImage("walk", 0), 2);
    p->setProp("stand", 0, "pos", "3,4");
    p->addSequence("trot", p->getSequence("walk"));
    const std::string sPath = m_dir.file("anims.dat");
    {
        Zep::SmartPtr<Zep::Stream> pFile = new Zep::File(sPath.c_str(), Zep::File::kModeWrite);
        Zep::SmartPtr<Zep::ResourceFileCompiler> pTarget = compiler(pFile);
        AnimationSaver().save(p, pTarget, "walk.anim");
        pTarget->finish();
    }
    // The script adds pictures by name; whoever reads it loads them first.
    m_app.addResourceFile(sPath.c_str());
    std::string sWrapper;
    for (const Zep::String& sName : m_app.getResourceNames())
        if (sName.find(".bbb") > 0) sWrapper += std::string("load ") + sName.c_str() + "\n";
    EXPECT_EQ("load walk.anim_0_0.bbb\nload walk.anim_0_1.bbb\n", sWrapper);
    m_app.addResourceProvider(testkit::memoryProvider({{"wrap.anim", sWrapper + "include walk.anim\n"}}), false);
    Zep::SmartPtr<Animation> q = m_app.getAnimation("wrap.anim");
    EXPECT_EQ(p->getSequenceNames().join(","), q->getSequenceNames().join(","));
    for (const Zep::String& sSeq : p->getSequenceNames()) {
        const char* szSeq = sSeq.c_str();
        EXPECT_EQ(p->isSequenceLooping(szSeq), q->isSequenceLooping(szSeq)) << szSeq;
        EXPECT_FLOAT_EQ(p->getSequenceFrameRate(szSeq), q->getSequenceFrameRate(szSeq)) << szSeq;
        ASSERT_EQ(p->getFrameCount(szSeq), q->getFrameCount(szSeq)) << szSeq;
        for (int i = 0; i < p->getFrameCount(szSeq); ++i) {
            EXPECT_EQ(p->getFrameRepeat(szSeq, i), q->getFrameRepeat(szSeq, i));
            EXPECT_EQ(p->getFrameProp(szSeq, i, "pos"), q->getFrameProp(szSeq, i, "pos"));
            Zep::SmartPtr<Image> a = p->getFrameImage(szSeq, i), b = q->getFrameImage(szSeq, i);
            EXPECT_EQ(a->getWidth(), b->getWidth());
            EXPECT_EQ(a->getPixel(1, 1), b->getPixel(1, 1));
        }
    }
    EXPECT_EQ("walk", q->getDefaultSequence());
    EXPECT_FLOAT_EQ(60.0f, q->getFrameRate());
}

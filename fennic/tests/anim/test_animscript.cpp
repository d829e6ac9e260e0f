// The animation script reader: reading and substitution, every command,
// conditions, batches, includes, the step budget and the error messages with
// their line numbers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <zep2/str.h>

#include "anim/animtest_util.h"

namespace {

using animtest::failure;
using Frames = std::vector<std::string>;

struct FrameCase {
    const char* szScript;
    std::vector<std::string> lParams;
    Frames lFrames;  // of sequence "s"
};

class AnimScript : public animtest::ScriptTest {};

}  // namespace

TEST_F(AnimScript, FramesOfSequenceS) {
    const FrameCase aCases[] = {
        // Reading: comments, blank lines, command case, trailing comments.
        {"# head\n\nSEQ s\nLoad a # a comment\n\n\nADD a\n", {}, {"a"}},
        // Parameters, then defines, at read time.
        {"seq s\nload body_(0)\nrepeat (1) add body_(0)\n", {"big", "3"}, {"body_big", "body_big", "body_big"}},
        {"seq s\nload a\nadd a\nrepeat 0 add a\nrepeat -2 add a\n", {}, {"a"}},
        {"define C 5\nseq s\nload a\nif > (C) 3\nadd a\nendif\n", {}, {"a"}},
        {"seq s\nload a\nload (N)\ndefine N a\nadd (N)\n", {}, {"a"}},
        {"param big one\nparm 2\nseq s\nload (0)\nrepeat (2) add (0)\nparams 3\nclearparams\nload (0)\nadd (0)\n",
         {"x"},
         {"x", "x", "(0)"}},
        // Conditions.
        {"seq s\nload a\nload b\nif == a b\nadd a\nelse\nadd b\nendif\n", {}, {"b"}},
        {"seq s\nload a\nload b\nif == a a\nadd a\nelif == b b\nadd b\nelse\nadd b\nendif\n", {}, {"a"}},
        {"seq s\nload a\nload b\nif == a b\nadd a\nelif == b b\nadd b\nendif\n", {}, {"b"}},
        {"seq s\nload a\nif != a a\nif == a a\nadd a\nelse\nadd a\nendif\nadd a\nelse\nadd a repeat 2\nendif\n",
         {},
         {"ax2"}},
        {"seq s\nload a\nif not == a a\nadd a\nendif\nif ( == a a )\nadd a repeat 3\nendif\n", {}, {"ax3"}},
        {"seq s\nload a\nif and > (1) 2 != (0) small\nadd a\nendif\nif or == 1 2 < 1 2\nadd a\nendif\n",
         {"big", "3"},
         {"a", "a"}},
        {"seq s\nload a\nif <= 3 2\nadd a\nelif >= 2 2\nadd a repeat 4\nendif\n", {}, {"ax4"}},
        // Batches: padding, counting down, the range after the options.
        {"seq s\nmload f 08 10\nmadd f 08 10\n", {}, {"f08", "f09", "f10"}},
        {"seq s\nmload f 8 10\nmadd f 8 10\n", {}, {"f8", "f9", "f10"}},
        {"seq s\nmload f 0 2\nmadd f 0 2\n", {}, {"f0", "f1", "f2"}},
        {"seq s\nmload x 3 1\nmadd x 3 1\n", {}, {"x3", "x2", "x1"}},
        {"seq s\nmload walk_$.png 01 02\nmadd walk_$.png repeat 2 01 02\n", {}, {"walk_01.pngx2", "walk_02.pngx2"}},
        {"seq s\nmload w 1 2\nmclone w run 1 2\nmadd run 1 2\n", {}, {"w1'", "w2'"}},
        // Selection order and copies.
        {"seq s\nload a\nclone a b\nadd b reverse\nremove b\nadd all\nremove all\nadd all\n", {}, {"a'", "a"}},
        {"seq s\nload a\nadd a\nhflip a\nadd a\nvflip all\nadd a\n", {}, {"a", "a'", "a'"}},
        // copyseq doubles the current sequence; reverse walks backwards.
        {"seq s\nmload f 1 2\nmadd f 1 2\ncopyseq s\ncopyseq s REVERSE\n", {},
         {"f1", "f2", "f1", "f2", "f2", "f1", "f2", "f1"}},
    };
    for (const FrameCase& c : aCases) {
        Zep::SmartPtr<Animation> p = run(c.szScript, c.lParams);
        EXPECT_EQ(c.lFrames, frames(p, "s")) << c.szScript;
    }
}

TEST_F(AnimScript, SequenceOptionsAndPropertyPlacement) {
    Zep::SmartPtr<Animation> p =
        run("fps 30\nprop who anim\nload a\nseq walk fps 12 loop\nprop speed 3\nadd a\nprop pos 1,2\n"
            "seq walk fps 30\nfps 15\nseq run\nalias run2 run3\nadd a\nframeprop 0 tag x\nframeprop -1 kind\n"
            "default run\n");
    EXPECT_FLOAT_EQ(30.0f, p->getFrameRate());
    EXPECT_FLOAT_EQ(15.0f, p->getSequenceFrameRate("walk"));  // "fps" after a "seq" sets that sequence
    EXPECT_TRUE(p->isSequenceLooping("walk"));                 // the second "seq walk" changed nothing
    EXPECT_FLOAT_EQ(30.0f, p->getSequenceFrameRate("run"));
    EXPECT_EQ("anim", p->getFrameProp("walk", 0, "who"));
    EXPECT_EQ("3", p->getSequence("walk")->getProp("speed", false));
    EXPECT_EQ("1,2", p->getFrame("walk", 0)->getProp("pos", false));
    EXPECT_EQ(p->getSequence("run"), p->getSequence("run3"));
    EXPECT_EQ("x", p->getFrameProp("run2", 0, "tag"));
    EXPECT_TRUE(p->getSequence("run")->hasProp("kind", false));
    EXPECT_EQ("run", p->getDefaultSequence());
    EXPECT_EQ("t.anim", p->getName());
}

TEST_F(AnimScript, ImageCommandsCopyWhileInsposChangesInPlace) {
    Zep::SmartPtr<Image> pShared = m_app.getImage("a");
    Zep::SmartPtr<Animation> p = run(
        "seq s\nload a\nadd a\ninspos right bottom-1 a\nmultiplyalpha 0.5 a\nadd a\nremap bgr a\nadd a\n"
        "load b\nmultiplyalpha 1.5 b\nadd b\nload c\nmultiplyalpha -0.5 c\nadd c\n");
    // inspos changed the cached image itself, and with it the first frame.
    EXPECT_EQ(pShared, p->getFrameImage("s", 0));
    EXPECT_EQ(Point(2, 0), pShared->getInsPoint());
    EXPECT_EQ(255, pShared->getPixel(0, 0).getAlpha());
    // 0.5 gives the factor 127; the copy keeps the insertion point.
    Zep::SmartPtr<Image> pHalf = p->getFrameImage("s", 1);
    EXPECT_EQ(Color(10, 20, 30, 126), pHalf->getPixel(0, 0));
    EXPECT_EQ(Point(2, 0), pHalf->getInsPoint());
    EXPECT_EQ(Color(30, 20, 10, 126), p->getFrameImage("s", 2)->getPixel(0, 0));
    // Factors outside 0 .. 1 are clamped, not wrapped (1.5 used to give 126, -0.5 128).
    EXPECT_EQ(255, p->getFrameImage("s", 3)->getPixel(0, 0).getAlpha());
    EXPECT_EQ(0, p->getFrameImage("s", 4)->getPixel(0, 0).getAlpha());
    // load replaces a cached image's insertion point by a copy at (0, 0).
    Zep::SmartPtr<Animation> q = run("seq s\nload a\nadd a\nhflip a\nadd a\n");
    EXPECT_NE(pShared, q->getFrameImage("s", 0));
    EXPECT_EQ(Point(0, 0), q->getFrameImage("s", 0)->getInsPoint());
    EXPECT_EQ(Color(40, 50, 60, 255), q->getFrameImage("s", 1)->getPixel(0, 0));
    EXPECT_EQ(Color(10, 20, 30, 255), q->getFrameImage("s", 0)->getPixel(0, 0));
}

TEST_F(AnimScript, BlitAndReverseBlit) {
    m_app.addImage("red", imagetest::solid(2, 2, true, Color(255, 0, 0, 255)), false);
    m_app.addImage("dot", imagetest::solid(1, 1, true, Color(0, 0, 255, 255)), false);
    Zep::SmartPtr<Animation> p =
        run("seq s\nload red\nload dot\nclone red r2\nblit red dot right-1 1\nadd red\nrblit dot r2 1\nadd dot\n");
    Zep::SmartPtr<Image> pBlit = p->getFrameImage("s", 0);
    EXPECT_EQ(Color(255, 0, 0, 255), pBlit->getPixel(0, 0));
    EXPECT_EQ(Color(0, 0, 255, 255), pBlit->getPixel(1, 1));
    EXPECT_EQ(Color(255, 0, 0, 255), m_app.getImage("red")->getPixel(1, 1));  // the cache keeps its picture
    // rblit: the red copy is the background, the dot goes on top at (1, 0).
    Zep::SmartPtr<Image> pReverse = p->getFrameImage("s", 1);
    EXPECT_EQ(2, pReverse->getWidth());
    EXPECT_EQ(Color(255, 0, 0, 255), pReverse->getPixel(0, 0));
    EXPECT_EQ(Color(0, 0, 255, 255), pReverse->getPixel(1, 0));
}

TEST_F(AnimScript, IncludeWithParametersAndDefines) {
    add("part.anim", "# part\nload (0)_(K)\nadd (0)_(K)\n");
    Zep::SmartPtr<Animation> p = run("define K 2\nseq s\ninclude Part.anim\nload a\nadd a\n", {"leg"});
    EXPECT_EQ((Frames{"leg_2", "a"}), frames(p, "s"));
}

TEST_F(AnimScript, Errors) {
    add("u.anim", "# u\ninclude T.ANIM\n");
    add("part.anim", "load a\n");
    struct ErrorCase {
        const char* szScript;
        std::string sError;
    };
    const ErrorCase aCases[] = {
        {"# c\n\nload\n", "AnimationParserException: AnimationLoader : Command load in t.anim, line 2 : need 2 tokens"},
        {"# 1\n# 2\nseq s\nclone zz b\n",
         "AnimationParserException: AnimationLoader : clone in t.anim, line 4 : image zz not found (seq s)"},
        {"seq s LOOP\n", "AnimationParserException: AnimationLoader : Seq in t.anim, line 1 : error at token LOOP"},
        {"seq s fps\n", "AnimationParserException: AnimationLoader : Seq in t.anim, line 1 : error at token fps"},
        {"load a\n\nadd a\n", "AnimationParserException: AnimationLoader : Add in t.anim, line 2 : no current sequence"},
        {"load a\nseq s\nadd a twice\n",
         "AnimationParserException: AnimationLoader : Add in t.anim, line 3 : error at token twice"},
        {"load a\nseq s\nadd a repeat\n",
         "AnimationParserException: AnimationLoader : Add in t.anim, line 3 : error at token repeat"},
        {"# x\nFrobnicate x\n", "AnimationParserException: AnimationLoader : Unknown command 'frobnicate' in t.anim, line 2"},
        {"mfoo a 1 2\n", "AnimationParserException: AnimationLoader : Unknown command 'mfoo' in t.anim, line 1"},
        {"param a\nparams 2\n", "AnimationParserException: AnimationLoader : t.anim : expected at least 2 parameters, 1 found"},
        {"include part.anim\nload\n", "AnimationParserException: AnimationLoader : Command load in t.anim, line 3 : need 2 tokens"},
        {"endif\n", "AssertFailException: Assertion failed : m_nIfBlockNesting > 0"},
        {"else\n", "AssertFailException: Assertion failed : m_nIfBlockNesting > 0"},
        {"if foo\n", "FatalErrorException: Condition doesn't evaluate to bool"},
        {"if not foo\n", "FatalErrorException: Condition doesn't evaluate to bool"},
        {"if\n", "AssertFailException: Assertion failed : lToks.getLength() >= (1)"},
        {"if == a\n", "AssertFailException: Assertion failed : lToks.getLength() >= (1)"},
        {"frameprop 0 a\n", "FatalErrorException: FramProp must be used inside sequence."},
        {"seq s\ncopyseq none\n", "FatalErrorException: Hash key not found : \"none\""},
        {"alias x\n", "FatalErrorException: Hash key not found : \"\""},
        {"seq s\nalias s\n", "FatalErrorException: t.anim already has seq s"},
        // Malformed blocks run out of statements: the list's own error.
        {"repeat 2\n", "FatalErrorException: List index out of range : 0 (have 0)"},
        {"if == a b\nload a\n", "FatalErrorException: List index out of range : 0 (have 0)"},
        {"if == a a\nelse\nload a\n", "FatalErrorException: List index out of range : 0 (have 0)"},
        {"load missing_one\n", "ResourceException: no picture missing_one"},
        {"include none.anim\n", "ResourceException: GameApp::getResource() : Resource 'none.anim' not found"},
        // Bounds on outside bytes.
        {"# a\ninclude t.anim\n",
         "AnimationParserException: AnimationLoader : Include in t.anim, line 2 : t.anim includes itself"},
        {"include u.anim\n",
         "AnimationParserException: AnimationLoader : Include in t.anim, line 3 : T.ANIM includes itself"},
        {"repeat 10001 load a\n",
         "AnimationParserException: AnimationLoader : Repeat in t.anim, line 1 : count 10001 above 10000"},
        {"mload a 1 20002\n",
         "AnimationParserException: AnimationLoader : Batch in t.anim, line 1 : range 1 to 20002 above 10000"},
        {"define X (X)(X)(X)(X)(X)(X)(X)(X)\ndefine Y (X)(X)(X)(X)(X)(X)(X)(X)(X)(X)\n"
         "define Z (Y)(Y)(Y)(Y)(Y)(Y)(Y)(Y)(Y)(Y)(Y)(Y)(Y)(Y)(Y)(Y)\n(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)(Z)\n",
         "AnimationParserException: AnimationLoader : Line in t.anim, line 4 : longer than 65536 characters"},
    };
    for (const ErrorCase& c : aCases) EXPECT_EQ(c.sError, failure([&] { run(c.szScript); })) << c.szScript;
    std::string sDeep = "if";
    for (int i = 0; i < 70; ++i) sDeep += " not";
    EXPECT_EQ("FatalErrorException: Condition nested too deeply", failure([&] { run(sDeep + " true\n"); }));
}

// Scripts that include each other past the depth limit, and a fan-out that
// would read too many lines, are refused.
TEST_F(AnimScript, IncludeChainsAreBounded) {
    for (int i = 0; i < 40; ++i)
        add(Zep::String::format("d%d.anim", i).c_str(), Zep::String::format("include d%d.anim\n", i + 1).c_str());
    EXPECT_EQ("AnimationParserException: AnimationLoader : Include in t.anim, line 32 : nested deeper than 32",
              failure([&] { run("include d0.anim\n"); }));
    // w includes x 100 times, x includes y 100 times: a million lines.
    std::string sFan;
    for (int i = 0; i < 100; ++i) sFan += "include x.anim\n";
    add("w.anim", sFan);
    std::string sMid;
    for (int i = 0; i < 100; ++i) sMid += "include y.anim\n";
    add("x.anim", sMid);
    std::string sLeaves;
    for (int i = 0; i < 100; ++i) sLeaves += "load a\n";
    add("y.anim", sLeaves);
    const std::string sError = failure([&] { run("include w.anim\n"); });
    EXPECT_EQ(0u, sError.find("AnimationParserException: AnimationLoader : Include in t.anim, line ")) << sError;
    EXPECT_NE(std::string::npos, sError.find(" : more than 100000 lines in all")) << sError;
}

TEST_F(AnimScript, StepBudget) {
    // Heavy statements end a step; light ones end it after more than 100; a
    // batch iteration is one statement; the end of the script ends it too.
    std::string sText = "seq s\nload a\n";
    for (int i = 0; i < 150; ++i) sText += "add a\n";
    sText += "# tail\nmload f 1 3\nmadd f 1 3\nclone a b\n";
    add("t.anim", sText);
    Zep::SmartPtr<AnimationLoader> pLoader = new AnimationLoader();
    pLoader->begin("t.anim");
    EXPECT_EQ(156, pLoader->getTotalLines());
    std::vector<int> lLines;
    std::vector<int> lFrames;
    while (!pLoader->isDone()) {
        lLines.push_back(pLoader->processLine());
        lFrames.push_back(pLoader->getAnimation()->getFrameCount("s"));
    }
    // seq+load | 101 adds | 49 adds, comment, mload (set-up) | f1 | f2 | f3 | madd: 3 adds, clone
    EXPECT_EQ((std::vector<int>{2, 101, 51, 0, 0, 0, 2}), lLines);
    EXPECT_EQ((std::vector<int>{0, 101, 150, 150, 150, 150, 153}), lFrames);
    EXPECT_EQ(0, pLoader->getRemainingLines());
    EXPECT_EQ(0, pLoader->processLine());
}

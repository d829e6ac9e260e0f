// AnimationLoader: the interpreter of animation scripts (".anim").
//
// A script is a line language: one statement per line, "#" starts a comment
// (no escape), the first token is the command (case-insensitive), the rest
// are names and options (exact). Blank lines vanish when a script is opened
// and are not counted; comment-only lines count. Parameters "(0)", "(1)" ...
// and then defines "(NAME)", in the define table's key order, are substituted
// when a line is read, so they affect the lines read after them.
//
// The loader runs in steps so that a loading screen can interleave scripts
// with drawing: one processLine ends after a heavy statement (one that loads,
// copies or changes an image, defines, includes or aliases), after more than
// 100 light ones, or at the end of the script. A batch iteration ("mload" and
// friends) counts as one statement; a "repeat" runs all its repetitions.
//
// Script errors throw AnimationParserException with the top-level script's
// name and the line number in the message; conditions and "if" nesting use
// the foundation's FatalErrorException and AssertFailException. Nothing is
// caught inside: after an exception the loader is to be dropped.
//
// Outside bytes are bounded before they cost: includes may not recurse and
// nest at most kMaxIncludeDepth deep, a loader opens at most kMaxScriptLines
// lines in all, a line may not grow past kMaxLineLength by substitution,
// repeat counts and batch ranges are capped, and conditions nest at most
// kMaxConditionDepth operators deep.
//
// What the statements build is bounded too, since "repeat", batches and
// "all" multiply a short script into much work (each "copyseq" of a sequence
// onto itself doubles it). One loader adds at most kMaxSequenceFrames frames
// to a sequence and kMaxAnimationFrames to its animation, copies at most
// kMaxCopiedProperties frame properties with "copyseq", copies or changes at
// most kMaxImageOperations images, and runs statements of at most
// kMaxTokensRun tokens in all (every repetition and batch iteration counts).
// Substitution, which looks for every parameter and define in every line
// holding a "(", scans at most kMaxSubstitutionScan characters in all (each
// pattern counts the line's length plus kScanPerPattern). Real animations
// stay far below: a few dozen sequences of a few dozen frames, a few hundred
// images, a handful of parameters and defines. A statement that would pass a
// limit fails before it changes anything, with the command, script name and
// line.
#pragma once

#include <cstdint>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "anim/animation.h"
#include "image/image.h"

class AnimationLoader : public Zep::RefCountedObject {
public:
    static constexpr int kLightStatementsPerStep = 100;
    static constexpr int kMaxIncludeDepth = 32;
    static constexpr int kMaxScriptLines = 100000;
    static constexpr int kMaxLineLength = 65536;
    static constexpr int kMaxRepeat = 10000;
    static constexpr int kMaxBatchRange = 10000;
    static constexpr int kMaxConditionDepth = 64;
    static constexpr int kMaxSequenceFrames = 5000;
    static constexpr int kMaxAnimationFrames = 10000;
    static constexpr int kMaxCopiedProperties = 100000;
    static constexpr int kMaxImageOperations = 20000;
    static constexpr int kMaxTokensRun = 1000000;
    static constexpr int kMaxSubstitutionScan = 50000000;
    static constexpr int kScanPerPattern = 16;

    AnimationLoader() = default;
    ~AnimationLoader() override = default;
    AnimationLoader(const AnimationLoader&) = delete;
    AnimationLoader& operator=(const AnimationLoader&) = delete;

    void setParams(const Zep::List<Zep::String>& lParams) { m_lParams = lParams; }
    // Opens the script and starts a new animation named after it.
    void begin(const char* szScript);
    // One step; answers the number of source lines it consumed.
    int processLine();
    bool isDone() const { return m_lPending.isEmpty() && !m_bBatchActive; }
    Zep::SmartPtr<Animation> getAnimation() const { return m_pAnimation; }
    // begin, then steps until done.
    Zep::SmartPtr<Animation> runFile(const char* szScript);
    int getTotalLines() const { return m_nTotalLines; }
    int getRemainingLines() const { return m_lPending.getCount(); }

private:
    // A script on the include chain and the pending count at which it ends.
    struct OpenScript {
        Zep::String sName;
        int nEndsAt;
    };
    using Images = Zep::List<Zep::SmartPtr<Image>>;

    // ---- Reading (animscript_reader.cpp) ----
    void openScript(const Zep::String& sName);
    // Next statement into the current line and tokens; false at the end.
    bool readStatement();
    Zep::String substitute(const Zep::String& sLine);
    void checkLength(const Zep::String& sLine) const;
    // Runs the statement with its repeat prefix; true when it was heavy.
    bool runStatement();
    [[noreturn]] void fail(const Zep::String& sMessage) const;
    Zep::String token(int n) const { return m_lTokens.get(n); }
    void needTokens(int n) const;
    // A limit error: "<Command> in <script>, line <n> : <what>".
    [[noreturn]] void failLimit(const Zep::String& sWhat) const;
    // Counts work against the limits; each fails before the statement acts.
    void countTokensRun();
    void countImageOperations(int nImages);
    void countNewFrames(int nFrames);
    void countCopiedProperties(int64_t nProperties);
    // One pattern looked for in a line of that length.
    void countSubstitution(int nLength);

    // ---- Commands (animscript_commands.cpp, animscript_images.cpp) ----
    void execute();
    bool executeImageCommand();
    bool executeSequenceCommand();
    bool executeTextCommand();
    Zep::SmartPtr<Image> imageNamed(const Zep::String& sName) const;
    // The names an image command acts on: one that must exist, or all.
    Zep::List<Zep::String> chosenNames(const Zep::String& sName) const;
    void cmdLoad();
    void cmdClone();
    void cmdRemove();
    void cmdChange();  // hflip, vflip, multiplyalpha, remap
    void cmdBlit(bool bReverse);
    void cmdInsPos();
    void cmdSeq();
    void cmdFps();
    void cmdAdd();
    void cmdCopySeq();
    void cmdAlias();
    void cmdProp();
    void cmdFrameProp();
    void cmdInclude();

    // ---- Conditions (animscript_conditions.cpp) ----
    void cmdIf();
    void cmdElse();
    void cmdEndIf();
    bool evaluateCondition() const;
    // Skips a false branch up to its else, a true elif or its endif.
    void skipFalseBranch();
    // Skips what is left of a block after a taken branch, endif included.
    void skipToEndIf();
    Zep::String readSkippedCommand();

    // ---- Batches (animscript_batch.cpp) ----
    void beginBatch();
    void nextBatchIteration();

    // Script state
    Zep::Hash<Zep::String, Zep::SmartPtr<Image>> m_hImages{97};
    Zep::List<Zep::String> m_lPending;
    Zep::List<Zep::String> m_lTokens;
    Zep::String m_sLine;
    Zep::List<Zep::String> m_lParams;
    Zep::Hash<Zep::String, Zep::String> m_hDefines{97};
    int m_nCurrentFrame = -1;
    Zep::String m_sSequence;
    int m_nLine = 0;
    int m_nTotalLines = 0;
    int m_nOpenedLines = 0;
    // Work done so far, against the limits
    int m_nFramesAdded = 0;
    int m_nPropertiesCopied = 0;
    int m_nImageOperations = 0;
    int m_nTokensRun = 0;
    int m_nSubstitutionScan = 0;
    Zep::List<OpenScript> m_lIncludeChain;
    Zep::SmartPtr<Animation> m_pAnimation;
    Zep::String m_sCommand;
    // Batch state
    int64_t m_nBatchCounter = 0;
    int64_t m_nBatchEnd = 0;
    int m_nBatchWidth = -1;
    Zep::List<int> m_lBatchTokens;
    Zep::List<Zep::String> m_lBatchTemplates;
    bool m_bBatchActive = false;
    int m_nIfBlockNesting = 0;
};

// The animation script reader's work limits: the frames, copies, image
// operations, statement tokens and substitution scans one loader may spend.
// Each count is checked before the work is done, so a refused statement
// changes nothing.
#include "anim/animscript_reader.h"

namespace {

// "copyseq" -> "Copyseq", as the messages name the command.
Zep::String title(const Zep::String& sCommand) { return sCommand.left(1).toUpper() + sCommand.mid(1); }

}  // namespace

void AnimationLoader::failLimit(const Zep::String& sWhat) const {
    fail(Zep::String::format("AnimationLoader : %s in %s, line %d : %s", title(m_sCommand).c_str(),
                             m_pAnimation->getName().c_str(), m_nLine, sWhat.c_str()));
}

void AnimationLoader::countTokensRun() {
    const int nTokens = m_lTokens.getCount();
    if (nTokens > kMaxTokensRun - m_nTokensRun)
        failLimit(Zep::String::format("more than %d tokens run in all", kMaxTokensRun));
    m_nTokensRun += nTokens;
}

void AnimationLoader::countImageOperations(int nImages) {
    if (nImages > kMaxImageOperations - m_nImageOperations)
        failLimit(Zep::String::format("more than %d images copied or changed in all", kMaxImageOperations));
    m_nImageOperations += nImages;
}

void AnimationLoader::countNewFrames(int nFrames) {
    // A sequence holds no more frames than the loader added: while the total
    // stays low, the sequence need not be looked up.
    const bool bSequenceMayFill = nFrames > kMaxSequenceFrames - m_nFramesAdded;
    if (bSequenceMayFill && nFrames > kMaxSequenceFrames - m_pAnimation->getFrameCount(m_sSequence.c_str()))
        failLimit(Zep::String::format("sequence %s would have more than %d frames", m_sSequence.c_str(),
                                      kMaxSequenceFrames));
    if (nFrames > kMaxAnimationFrames - m_nFramesAdded)
        failLimit(Zep::String::format("the animation would have more than %d frames", kMaxAnimationFrames));
    m_nFramesAdded += nFrames;
}

void AnimationLoader::countCopiedProperties(int64_t nProperties) {
    if (nProperties > kMaxCopiedProperties - m_nPropertiesCopied)
        failLimit(Zep::String::format("more than %d properties copied in all", kMaxCopiedProperties));
    m_nPropertiesCopied += static_cast<int>(nProperties);
}

void AnimationLoader::countSubstitution(int nLength) {
    const int nScan = nLength + kScanPerPattern;
    if (nScan > kMaxSubstitutionScan - m_nSubstitutionScan)
        fail(Zep::String::format("AnimationLoader : Line in %s, line %d : substitution scanned more than %d characters "
                                 "in all",
                                 m_pAnimation->getName().c_str(), m_nLine, kMaxSubstitutionScan));
    m_nSubstitutionScan += nScan;
}

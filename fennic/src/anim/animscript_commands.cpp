// The animation script reader's sequence, frame and property commands.
#include <cstdint>

#include <zep2/error.h>

#include "anim/animscript_reader.h"

namespace {

constexpr const char* kZepSource = ".\\src\\animscript_commands";

// The frames' own properties, as "copyseq" copies them.
int64_t propertiesOf(const Sequence& rSeq) {
    int64_t nCount = 0;
    for (const Zep::SmartPtr<FrameData>& pFrame : rSeq.getFrames()) nCount += pFrame->getPropCount();
    return nCount;
}

}  // namespace

bool AnimationLoader::executeSequenceCommand() {
    if (m_sCommand == "seq") cmdSeq();
    else if (m_sCommand == "default") {
        needTokens(2);
        m_pAnimation->setDefaultSequence(token(1).c_str());
    } else if (m_sCommand == "fps") cmdFps();
    else if (m_sCommand == "add") cmdAdd();
    else if (m_sCommand == "copyseq") cmdCopySeq();
    else if (m_sCommand == "alias") cmdAlias();
    else if (m_sCommand == "prop") cmdProp();
    else if (m_sCommand == "frameprop") cmdFrameProp();
    else return false;
    return true;
}

void AnimationLoader::cmdSeq() {
    needTokens(2);
    const Zep::String sName = token(1);
    // Options count only for a new sequence.
    if (!m_pAnimation->hasSequence(sName.c_str())) {
        float fRate = 0.0f;
        bool bLoop = false;
        for (int i = 2; i < m_lTokens.getCount(); ++i) {
            const Zep::String sOption = token(i);
            if (sOption == "loop") bLoop = true;
            else if (sOption == "fps" && i + 1 < m_lTokens.getCount()) fRate = token(++i).toFloat();
            else
                fail(Zep::String::format("AnimationLoader : Seq in %s, line %d : error at token %s",
                                         m_pAnimation->getName().c_str(), m_nLine, sOption.c_str()));
        }
        m_pAnimation->createSequence(sName.c_str(), bLoop, fRate);
    }
    m_sSequence = sName;
    m_nCurrentFrame = m_pAnimation->getFrameCount(sName.c_str()) - 1;
}

void AnimationLoader::cmdFps() {
    needTokens(2);
    const float fRate = token(1).toFloat();
    if (m_sSequence.isEmpty()) m_pAnimation->setFrameRate(fRate);
    else m_pAnimation->setSequenceFrameRate(m_sSequence.c_str(), fRate);
}

void AnimationLoader::cmdAdd() {
    needTokens(2);
    const char* szName = m_pAnimation->getName().c_str();  // lives with the animation
    if (m_sSequence.isEmpty())
        fail(Zep::String::format("AnimationLoader : Add in %s, line %d : no current sequence", szName, m_nLine));
    const bool bAll = token(1).toLower() == "all";
    Images lSelection;
    if (!bAll) lSelection.add(imageNamed(token(1)));
    int nRepeat = 1;
    bool bReverse = false;  // each "reverse" turns the order round once more
    for (int i = 2; i < m_lTokens.getCount(); ++i) {
        const Zep::String sOption = token(i);
        if (sOption == "reverse") bReverse = !bReverse;
        else if (sOption == "repeat" && i + 1 < m_lTokens.getCount()) nRepeat = token(++i).toInt();
        else
            fail(Zep::String::format("AnimationLoader : Add in %s, line %d : error at token %s", szName, m_nLine,
                                     sOption.c_str()));
    }
    countNewFrames(bAll ? m_hImages.getCount() : 1);
    if (bAll) lSelection = m_hImages.getValues();
    if (bReverse) lSelection.reverse();
    for (const Zep::SmartPtr<Image>& pImage : lSelection)
        m_nCurrentFrame = m_pAnimation->addFrame(m_sSequence.c_str(), pImage, nRepeat);
}

void AnimationLoader::cmdCopySeq() {
    needTokens(2);
    Zep::SmartPtr<Sequence> pTarget = m_pAnimation->getSequence(m_sSequence.c_str());
    Zep::SmartPtr<Sequence> pSource = m_pAnimation->getSequence(token(1).c_str());
    const bool bReverse = m_lTokens.getCount() > 2 && token(2).trim().toLower() == "reverse";
    // The count is taken first: copying a sequence onto itself doubles it.
    const int nCount = pSource->getFrameCount();
    countNewFrames(nCount);
    countCopiedProperties(propertiesOf(*pSource));
    for (int i = 0; i < nCount; ++i) {
        const FrameData& rFrame = pSource->frameAt(bReverse ? nCount - 1 - i : i);
        m_nCurrentFrame = m_pAnimation->addFrame(m_sSequence.c_str(), rFrame.getImage(), rFrame.getRepeat());
        for (const Zep::String& sProp : rFrame.getPropNames())
            m_pAnimation->setProp(m_sSequence.c_str(), m_nCurrentFrame, sProp.c_str(),
                                  rFrame.getProp(sProp.c_str(), false).c_str());
    }
}

void AnimationLoader::cmdAlias() {
    needTokens(2);
    Zep::SmartPtr<Sequence> pSeq = m_pAnimation->getSequence(m_sSequence.c_str());
    for (int i = 1; i < m_lTokens.getCount(); ++i) m_pAnimation->addSequence(token(i).trim().c_str(), pSeq);
}

void AnimationLoader::cmdProp() {
    needTokens(2);
    const Zep::String sValue = m_lTokens.getCount() > 2 ? token(2) : Zep::String();
    if (m_sSequence.isEmpty()) m_pAnimation->PropHolder::setProp(token(1).c_str(), sValue.c_str());
    else m_pAnimation->setProp(m_sSequence.c_str(), m_nCurrentFrame, token(1).c_str(), sValue.c_str());
}

void AnimationLoader::cmdFrameProp() {
    needTokens(3);
    if (m_sSequence.isEmpty()) ZEP_THROW(Zep::FatalErrorException, "FramProp must be used inside sequence.");
    const Zep::String sValue = m_lTokens.getCount() > 3 ? token(3) : Zep::String();
    m_pAnimation->setProp(m_sSequence.c_str(), token(1).toInt(), token(2).c_str(), sValue.c_str());
}

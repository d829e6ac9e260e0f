// The animation script reader's image commands. Every command that changes
// pixels replaces the table entry by a changed copy, so the image cache, other
// animations and frames already added keep the picture they had; "inspos"
// alone changes the image object itself.

#include <zep2/error.h>

#include "anim/animscript_reader.h"
#include "image/alignment.h"
#include "application/gameapp.h"

namespace {

// "r" is channel 0, "g" channel 1, anything else (a missing letter too) 2.
int channelOf(const Zep::String& sLetters, int n) {
    if (n >= sLetters.length()) return 2;
    return sLetters[n] == 'r' ? 0 : sLetters[n] == 'g' ? 1 : 2;
}

// F x 255 truncated, kept within the byte the alpha scaling uses.
int alphaFactor(const Zep::String& sFactor) {
    const float fFactor = sFactor.toFloat() * 255.0f;
    if (!(fFactor > 0.0f)) return 0;
    return fFactor >= 255.0f ? 255 : static_cast<int>(fFactor);
}

}  // namespace

bool AnimationLoader::executeImageCommand() {
    if (m_sCommand == "load") cmdLoad();
    else if (m_sCommand == "clone") cmdClone();
    else if (m_sCommand == "remove") cmdRemove();
    else if (m_sCommand == "hflip" || m_sCommand == "vflip" || m_sCommand == "multiplyalpha" || m_sCommand == "remap")
        cmdChange();
    else if (m_sCommand == "blit") cmdBlit(false);
    else if (m_sCommand == "rblit") cmdBlit(true);
    else if (m_sCommand == "inspos") cmdInsPos();
    else return false;
    return true;
}

Zep::SmartPtr<Image> AnimationLoader::imageNamed(const Zep::String& sName) const {
    const auto* pNode = m_hImages.findNode(sName);
    if (!pNode || pNode->value.isNULL())
        fail(Zep::String::format("AnimationLoader : %s in %s, line %d : image %s not found (seq %s)",
                                 m_sCommand.c_str(), m_pAnimation->getName().c_str(), m_nLine, sName.c_str(),
                                 m_sSequence.c_str()));
    return pNode->value;
}

Zep::List<Zep::String> AnimationLoader::chosenNames(const Zep::String& sName) const {
    if (sName.toLower() == "all") return m_hImages.getKeys();
    imageNamed(sName);
    return Zep::List<Zep::String>{sName};
}

void AnimationLoader::cmdLoad() {
    needTokens(2);
    const Zep::String sName = token(1);
    GameApp* pApp = GameApp::getInstance();
    Zep::SmartPtr<Image> pImage = pApp ? pApp->getImage(sName.c_str()) : Zep::SmartPtr<Image>();
    if (pImage.isNULL())
        fail(Zep::String::format("AnimationLoader : %s in %s, line %d : image %s not found (seq %s)",
                                 m_sCommand.c_str(), m_pAnimation->getName().c_str(), m_nLine, sName.c_str(),
                                 m_sSequence.c_str()));
    // The cached image keeps its insertion point; the script's starts at (0, 0).
    if (pImage->getInsPointX() != 0 || pImage->getInsPointY() != 0) {
        countImageOperations(1);
        pImage = pImage->clone(false);
        pImage->setInsPoint(0, 0);
    }
    m_hImages.set(sName, pImage);
}

void AnimationLoader::cmdClone() {
    needTokens(3);
    Zep::SmartPtr<Image> pSource = imageNamed(token(1));
    countImageOperations(1);
    m_hImages.set(token(2), pSource->clone(false));
}

void AnimationLoader::cmdRemove() {
    needTokens(2);
    if (token(1) == "all") m_hImages.clear();
    else m_hImages.remove(token(1));
}

void AnimationLoader::cmdChange() {
    const bool bFlip = m_sCommand == "hflip" || m_sCommand == "vflip";
    needTokens(bFlip ? 2 : 3);
    const Zep::String sArgument = bFlip ? Zep::String() : token(1);
    const Zep::List<Zep::String> lNames = chosenNames(token(bFlip ? 1 : 2));
    countImageOperations(lNames.getCount());
    for (const Zep::String& sName : lNames) {
        Zep::SmartPtr<Image> pCopy = imageNamed(sName)->clone(false);
        if (m_sCommand == "hflip") pCopy->hflip();
        else if (m_sCommand == "vflip") pCopy->vflip();
        else if (m_sCommand == "multiplyalpha") pCopy->multiplyAlpha(alphaFactor(sArgument));
        else pCopy->remapChannels(channelOf(sArgument, 0), channelOf(sArgument, 1), channelOf(sArgument, 2));
        m_hImages.set(sName, pCopy);
    }
}

void AnimationLoader::cmdBlit(bool bReverse) {
    needTokens(3);
    Zep::SmartPtr<Image> pDst = imageNamed(token(1));
    Zep::SmartPtr<Image> pSrc = imageNamed(token(2));
    countImageOperations(1);
    const int nCount = m_lTokens.getCount();
    const int x = parseAlignmentOffset(nCount > 3 ? token(3).c_str() : "0", pDst.get(), true);
    const int y = parseAlignmentOffset(nCount > 4 ? token(4).c_str() : "0", pDst.get(), false);
    // rblit: the source is the background and the old target goes on top.
    Zep::SmartPtr<Image> pResult = (bReverse ? pSrc : pDst)->clone(false);
    pResult->blitFrom(*(bReverse ? pDst : pSrc), x, y);
    m_hImages.set(token(1), pResult);
}

void AnimationLoader::cmdInsPos() {
    needTokens(4);
    const Zep::List<Zep::String> lNames = chosenNames(token(3));
    countImageOperations(lNames.getCount());
    for (const Zep::String& sName : lNames) {
        Zep::SmartPtr<Image> pImage = imageNamed(sName);
        pImage->setInsPoint(parseAlignmentOffset(token(1).c_str(), pImage.get(), true),
                            parseAlignmentOffset(token(2).c_str(), pImage.get(), false));
    }
}

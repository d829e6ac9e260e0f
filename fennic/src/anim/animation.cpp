// Property holders, animations, sequences and frames.
#include "anim/animation.h"

#include <zep2/error.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\animation";

}  // namespace

// ---- PropHolder -------------------------------------------------------------------

bool PropHolder::hasProp(const char* szName, bool bInherit) const {
    if (m_pProps && m_pProps->contains(szName)) return true;
    return bInherit && m_pParent && m_pParent->hasProp(szName, true);
}

Zep::String PropHolder::getProp(const char* szName, bool bInherit) const {
    if (const auto* pNode = m_pProps ? m_pProps->findNode(szName) : nullptr) return pNode->value;
    if (bInherit && m_pParent) return m_pParent->getProp(szName, true);
    return Zep::String();
}

void PropHolder::setProp(const char* szName, const char* szValue) {
    if (!m_pProps) m_pProps = std::make_unique<Zep::Hash<Zep::String, Zep::String>>(97);
    m_pProps->set(szName, szValue);
}

// ---- Sequence ---------------------------------------------------------------------

void Sequence::addFrame(const Zep::SmartPtr<FrameData>& pFrame) {
    // Most sequences are short: one allocation serves them.
    if (m_vIndex.capacity() == 0) m_vIndex.reserve(kInitialIndex);
    m_vIndex.push_back(pFrame.get());
    try {
        m_lFrames.add(pFrame);
    } catch (...) {
        m_vIndex.pop_back();  // the two stay in step
        throw;
    }
}

FrameData& Sequence::frameAt(int n) const {
    // The list raises its own out-of-range error, message and all.
    if (n < 0 || n >= static_cast<int>(m_vIndex.size())) return *m_lFrames.get(n);
    return *m_vIndex[static_cast<size_t>(n)];
}

// ---- Animation --------------------------------------------------------------------

Animation::Animation(float fFrameRate) : m_fFrameRate(fFrameRate) {
    if (fFrameRate == 0.0f) {
        const GameApp* pApp = GameApp::getInstance();
        m_fFrameRate = pApp ? static_cast<float>(pApp->getFrameRate()) : 0.0f;
    }
}

Zep::String Animation::getDefaultSequence() {
    if (m_sDefault.isEmpty()) m_sDefault = m_hSequences.getKeys().get(0);
    return m_sDefault;
}

void Animation::createSequence(const char* szSeq, bool bLoop, float fFrameRate) {
    Zep::SmartPtr<Sequence> pSeq = new Sequence(fFrameRate == 0.0f ? m_fFrameRate : fFrameRate, bLoop);
    pSeq->setParent(this);
    m_hSequences.set(szSeq, pSeq);
}

void Animation::addSequence(const char* szSeq, const Zep::SmartPtr<Sequence>& pSeq) {
    if (m_hSequences.contains(szSeq))
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("%s already has seq %s", m_sName.c_str(), szSeq).c_str());
    m_hSequences.set(szSeq, pSeq);
}

int Animation::getFrameCount(const char* szSeq) const {
    const auto* pNode = m_hSequences.findNode(szSeq);
    return pNode && pNode->value.notNULL() ? pNode->value->getFrameCount() : 0;
}

bool Animation::hasFrame(const char* szSeq, int n) const { return n >= 0 && n < getFrameCount(szSeq); }

int Animation::addFrame(const char* szSeq, const Zep::SmartPtr<Image>& pImage, int nRepeat) {
    if (!m_hSequences.contains(szSeq)) createSequence(szSeq, false, m_fFrameRate);
    Sequence& rSeq = seq(szSeq);
    Zep::SmartPtr<FrameData> pFrame = new FrameData(pImage);
    pFrame->setParent(&rSeq);
    pFrame->setRepeat(nRepeat);
    rSeq.addFrame(pFrame);
    return rSeq.getFrameCount() - 1;
}

void Animation::setProp(const char* szSeq, int n, const char* szName, const char* szValue) {
    if (n < 0) seq(szSeq).setProp(szName, szValue);
    else frame(szSeq, n).setProp(szName, szValue);
}

Zep::String Animation::getFrameProp(const char* szSeq, int n, const char* szName) const {
    return frame(szSeq, n).getProp(szName, true);
}

bool Animation::hasFrameProp(const char* szSeq, int n, const char* szName) const {
    return frame(szSeq, n).hasProp(szName, true);
}

Zep::List<Zep::SmartPtr<Image>> Animation::getImages() const {
    Zep::List<Zep::SmartPtr<Image>> lImages;
    Zep::Hash<Zep::SmartPtr<Image>, bool> hSeen(97);
    // A sequence met again under an alias has nothing new to give.
    Zep::Hash<const Sequence*, bool> hSeenSequences(97);
    for (const Zep::SmartPtr<Sequence>& pSeq : m_hSequences.getValues()) {
        if (hSeenSequences.contains(pSeq.get())) continue;
        hSeenSequences.set(pSeq.get(), true);
        for (const Zep::SmartPtr<FrameData>& pFrame : pSeq->getFrames()) {
            const Zep::SmartPtr<Image> pImage = pFrame->getImage();
            if (hSeen.contains(pImage)) continue;
            hSeen.set(pImage, true);
            lImages.add(pImage);
        }
    }
    return lImages;
}

// The animation script writer.
#include "anim/animscript_writer.h"

#include <cstring>
#include <vector>

#include <zep2/error.h>

#include "image/pngwriter.h"

namespace {

constexpr const char* kZepSource = ".\\src\\animscript_writer";

// What the reader would cut or take as a comment.
void refuseUnreadable(const char* szWhat, const Zep::String& sText, bool bMayBeEmpty) {
    if (sText.findFirstOf(" \t\r\n#") < 0 && (bMayBeEmpty || !sText.isEmpty())) return;
    ZEP_THROW(Zep::BadParmException,
              Zep::String::format("AnimationSaver : %s '%s' would not read back", szWhat, sText.c_str()).c_str());
}

void checkProps(const PropHolder& holder) {
    for (const Zep::String& sName : holder.getPropNames()) {
        refuseUnreadable("property name", sName, false);
        refuseUnreadable("property value", holder.getProp(sName.c_str(), false), true);
    }
}

}  // namespace

void AnimationSaver::save(const Zep::SmartPtr<Animation>& pAnimation,
                          const Zep::SmartPtr<Zep::ResourceFileCompiler>& pTarget, const char* szBaseName) {
    begin(pAnimation, pTarget, szBaseName);
    while (!isDone()) writeStep();
}

void AnimationSaver::begin(const Zep::SmartPtr<Animation>& pAnimation,
                           const Zep::SmartPtr<Zep::ResourceFileCompiler>& pTarget, const char* szBaseName) {
    ZEP_TRACE("AnimationSaver::begin");
    checkReadable(pAnimation, szBaseName);
    m_sBaseName = szBaseName;
    m_pBuffer = new Zep::MemStream();
    m_pAnimation = pAnimation;
    m_pTarget = pTarget;
    write(Zep::String::format("fps %5.2lf\n", static_cast<double>(pAnimation->getFrameRate())));
    write(Zep::String::format("default %s\n", pAnimation->getDefaultSequence().c_str()));
    writeProps(*pAnimation);
    m_hImageNames.clear();
    m_lSequencesLeft = pAnimation->getSequenceNames();
    m_nSequenceOrdinal = 0;
    m_nFrameCursor = -1;
}

void AnimationSaver::checkReadable(const Zep::SmartPtr<Animation>& pAnimation, const char* szBaseName) const {
    refuseUnreadable("base name", Zep::String(szBaseName), false);
    if (!pAnimation->isEmpty()) refuseUnreadable("sequence name", pAnimation->getDefaultSequence(), false);
    checkProps(*pAnimation);
    for (const Zep::String& sSeq : pAnimation->getSequenceNames()) {
        refuseUnreadable("sequence name", sSeq, false);
        const Zep::SmartPtr<Sequence> pSeq = pAnimation->getSequence(sSeq.c_str());
        checkProps(*pSeq);
        for (const Zep::SmartPtr<FrameData>& pFrame : pSeq->getFrames()) checkProps(*pFrame);
    }
}

int AnimationSaver::writeStep() {
    if (isDone()) return 0;
    const Zep::String sSeq = m_lSequencesLeft.getFirst();
    int nLines = m_nFrameCursor == -1 ? writeHeader(sSeq) : 0;
    if (m_nFrameCursor < m_pAnimation->getFrameCount(sSeq.c_str())) return nLines + writeFrame(sSeq);
    // The sequence is complete; after the last one the script goes in.
    m_nFrameCursor = -1;
    m_lSequencesLeft.removeFirst();
    ++m_nSequenceOrdinal;
    if (isDone()) {
        Zep::SmartPtr<Zep::MemStream> pScript = new Zep::MemStream(m_pBuffer->getBuffer(), m_pBuffer->length());
        m_pTarget->add(pScript.get(), m_sBaseName.c_str());
    }
    return nLines;
}

int AnimationSaver::writeHeader(const Zep::String& sSeq) {
    Zep::String sLine = "seq " + sSeq;
    if (m_pAnimation->isSequenceLooping(sSeq.c_str())) sLine += " loop";
    const float fRate = m_pAnimation->getSequenceFrameRate(sSeq.c_str());
    if (fRate != m_pAnimation->getFrameRate()) sLine += Zep::String::format(" fps %5.2lf", static_cast<double>(fRate));
    write(sLine + "\n");
    m_nFrameCursor = 0;
    return 1 + writeProps(*m_pAnimation->getSequence(sSeq.c_str()));
}

int AnimationSaver::writeFrame(const Zep::String& sSeq) {
    const Zep::SmartPtr<FrameData> pFrame = m_pAnimation->getFrame(sSeq.c_str(), m_nFrameCursor);
    Zep::String sLine = "add " + imageName(pFrame->getImage());
    if (pFrame->getRepeat() != 1) sLine += Zep::String::format(" repeat %d", pFrame->getRepeat());
    write(sLine + "\n");
    ++m_nFrameCursor;
    return 1 + writeProps(*pFrame);
}

Zep::String AnimationSaver::imageName(const Zep::SmartPtr<Image>& pImage) {
    if (const auto* pNode = m_hImageNames.findNode(pImage)) return pNode->value;
    const Zep::String sName =
        Zep::String::format("%s_%d_%X.bbb", m_sBaseName.c_str(), m_nSequenceOrdinal, m_nFrameCursor);
    m_hImageNames.set(pImage, sName);
    const std::vector<uint8_t> lPng = encodePngRgba(*pImage);
    Zep::SmartPtr<Zep::MemStream> pData = new Zep::MemStream(lPng.data(), static_cast<int>(lPng.size()));
    m_pTarget->add(pData.get(), sName.c_str());
    return sName;
}

int AnimationSaver::writeProps(const PropHolder& holder) {
    int nCount = 0;
    for (const Zep::String& sName : holder.getPropNames()) {
        write(Zep::String::format("prop %s %s\n", sName.c_str(), holder.getProp(sName.c_str(), false).c_str()));
        ++nCount;
    }
    return nCount;
}

void AnimationSaver::write(const Zep::String& sText) { m_pBuffer->writeText(sText); }

Zep::String AnimationSaver::getText() const {
    if (m_pBuffer.isNULL()) return Zep::String();
    return Zep::String(static_cast<const char*>(m_pBuffer->getBuffer()), m_pBuffer->length());
}

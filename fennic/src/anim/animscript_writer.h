// AnimationSaver: writes an Animation back as an animation script, as one
// entry of an archive being built, together with the pictures of its frames.
//
// It writes the reader's subset: "fps", "default", the animation's own
// properties, then per sequence (in key order, aliases as sequences of their
// own) "seq NAME[ loop][ fps F]", its properties, and per frame "add IMAGE[
// repeat N]" with the frame's properties. Each image is written once, as an
// RGBA PNG under "<base>_<sequence ordinal>_<frame cursor in hex>.bbb", and
// later frames showing it reuse the name. Like the reader it works in steps:
// at most one sequence header and one frame per writeStep.
//
// Since the language has no quoting, a name or value holding a blank, a tab,
// a line break or "#" (or an empty name) would come back cut short; begin
// refuses such an animation with a BadParmException before anything is
// written. The script entry is added only when the last sequence is done, so
// an animation without sequences adds none.
#pragma once

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/memstream.h>
#include <zep2/refcount.h>
#include <zep2/resourcefile.h>
#include <zep2/str.h>

#include "anim/animation.h"

class AnimationSaver : public Zep::RefCountedObject {
public:
    AnimationSaver() = default;
    ~AnimationSaver() override = default;
    AnimationSaver(const AnimationSaver&) = delete;
    AnimationSaver& operator=(const AnimationSaver&) = delete;

    void save(const Zep::SmartPtr<Animation>& pAnimation, const Zep::SmartPtr<Zep::ResourceFileCompiler>& pTarget,
              const char* szBaseName);
    void begin(const Zep::SmartPtr<Animation>& pAnimation, const Zep::SmartPtr<Zep::ResourceFileCompiler>& pTarget,
               const char* szBaseName);
    // Answers the number of lines written.
    int writeStep();
    bool isDone() const { return m_lSequencesLeft.isEmpty(); }
    // One "prop NAME VALUE" line per own property, in key order.
    int writeProps(const PropHolder& holder);
    // The script text written so far.
    Zep::String getText() const;

private:
    void write(const Zep::String& sText);
    int writeHeader(const Zep::String& sSeq);
    int writeFrame(const Zep::String& sSeq);
    Zep::String imageName(const Zep::SmartPtr<Image>& pImage);
    void checkReadable(const Zep::SmartPtr<Animation>& pAnimation, const char* szBaseName) const;

    Zep::SmartPtr<Animation> m_pAnimation;
    Zep::SmartPtr<Zep::ResourceFileCompiler> m_pTarget;
    Zep::SmartPtr<Zep::MemStream> m_pBuffer;
    Zep::String m_sBaseName;
    Zep::Hash<Zep::SmartPtr<Image>, Zep::String> m_hImageNames{97};
    Zep::List<Zep::String> m_lSequencesLeft;
    int m_nSequenceOrdinal = 0;
    int m_nFrameCursor = -1;
};

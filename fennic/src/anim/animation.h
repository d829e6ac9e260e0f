// Animation data: named sequences of frames with text properties.
//
// An Animation holds Sequences by name (one Sequence may stand under several
// names, an alias being the same object, not a copy); a Sequence holds its
// FrameData in playing order; a frame holds an image and a repeat count (the
// number of frame periods it stays on screen). All three are PropHolders:
// free-form text properties that fall back frame -> sequence -> animation.
// The parent link is a plain pointer, never a counted reference, so the chain
// holds no cycle.
//
// Key order is observable: which sequence becomes the default of an animation
// without one, the order of getSequenceNames and of getImages all follow the
// Zep::Hash key order (buckets last to first), not the order of creation.
//
// A rate of exactly 0.0 given to the constructor or to createSequence means
// "the application's frame rate" and is replaced at once; setters store what
// they get. Look-ups of a missing sequence throw the hash's "Hash key not
// found : " FatalErrorException; getFrameCount, hasFrame and hasSequence never
// throw.
//
// A sequence keeps its frames in a list, which callers may read, and beside
// it an index of the same frames, so that a frame is reached by its number in
// constant time; frames enter only through Sequence::addFrame, which keeps
// the two in step.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "image/image.h"

class PropHolder : public Zep::RefCountedObject {
public:
    PropHolder() = default;
    ~PropHolder() override = default;
    PropHolder(const PropHolder&) = delete;
    PropHolder& operator=(const PropHolder&) = delete;

    // Not counted: the parent outlives its children by construction.
    void setParent(PropHolder* pParent) { m_pParent = pParent; }
    PropHolder* getParent() const { return m_pParent; }
    bool hasProp(const char* szName, bool bInherit) const;
    // The own value, else (with inherit) the nearest ancestor's, else "".
    Zep::String getProp(const char* szName, bool bInherit) const;
    void setProp(const char* szName, const char* szValue);
    Zep::List<Zep::String> getPropNames() const { return m_pProps ? m_pProps->getKeys() : Zep::List<Zep::String>(); }
    int getPropCount() const { return m_pProps ? m_pProps->getCount() : 0; }
    Zep::SmartPtr<PropHolder> getSelf() { return Zep::SmartPtr<PropHolder>(this); }

private:
    PropHolder* m_pParent = nullptr;
    // Made with the first property: most frames have none, and even an empty
    // table holds its 97 buckets.
    std::unique_ptr<Zep::Hash<Zep::String, Zep::String>> m_pProps;
};

class FrameData : public PropHolder {
public:
    explicit FrameData(const Zep::SmartPtr<Image>& pImage) : m_pImage(pImage) {}

    Zep::SmartPtr<Image> getImage() const { return m_pImage; }
    int getRepeat() const { return m_nRepeat; }
    void setRepeat(int nRepeat) { m_nRepeat = nRepeat; }

private:
    Zep::SmartPtr<Image> m_pImage;
    int m_nRepeat = 1;
};

class Sequence : public PropHolder {
public:
    Sequence(float fFrameRate, bool bLoop) : m_fFrameRate(fFrameRate), m_bLoop(bLoop) {}

    float getFrameRate() const { return m_fFrameRate; }
    void setFrameRate(float fRate) { m_fFrameRate = fRate; }
    bool isLooping() const { return m_bLoop; }
    void setLooping(bool bLoop) { m_bLoop = bLoop; }
    const Zep::List<Zep::SmartPtr<FrameData>>& getFrames() const { return m_lFrames; }
    int getFrameCount() const { return m_lFrames.getCount(); }
    // Appends in playing order.
    void addFrame(const Zep::SmartPtr<FrameData>& pFrame);
    // Frame n in constant time; outside 0 .. count - 1 the list's
    // out-of-range error.
    FrameData& frameAt(int n) const;

private:
    static constexpr size_t kInitialIndex = 16;

    float m_fFrameRate;
    bool m_bLoop;
    Zep::List<Zep::SmartPtr<FrameData>> m_lFrames;
    // The same frames by number; the list holds the references.
    std::vector<FrameData*> m_vIndex;
};

class Animation : public PropHolder {
public:
    // 0.0 takes the application's frame rate (0 without an application).
    explicit Animation(float fFrameRate);

    const Zep::String& getName() const { return m_sName; }
    void setName(const char* szName) { m_sName = szName; }
    float getFrameRate() const { return m_fFrameRate; }
    void setFrameRate(float fRate) { m_fFrameRate = fRate; }
    void setDefaultSequence(const char* szSeq) { m_sDefault = szSeq; }
    // Chooses and stores the first key of the table when none is set; an
    // animation without sequences then throws the list's out-of-range error.
    Zep::String getDefaultSequence();
    bool hasSequence(const char* szSeq) const { return m_hSequences.contains(szSeq); }
    bool isEmpty() const { return m_hSequences.isEmpty(); }
    Zep::SmartPtr<Sequence> getSequence(const char* szSeq) const { return m_hSequences.get(szSeq); }
    Zep::List<Zep::String> getSequenceNames() const { return m_hSequences.getKeys(); }
    // Replaces any entry of the name.
    void createSequence(const char* szSeq, bool bLoop, float fFrameRate);
    // A further name for an existing sequence; the name must be new.
    void addSequence(const char* szSeq, const Zep::SmartPtr<Sequence>& pSeq);

    int getFrameCount(const char* szSeq) const;
    bool hasFrame(const char* szSeq, int n) const;
    float getSequenceFrameRate(const char* szSeq) const { return seq(szSeq).getFrameRate(); }
    void setSequenceFrameRate(const char* szSeq, float fRate) { seq(szSeq).setFrameRate(fRate); }
    bool isSequenceLooping(const char* szSeq) const { return seq(szSeq).isLooping(); }
    void setSequenceLooping(const char* szSeq, bool bLoop) { seq(szSeq).setLooping(bLoop); }

    // Creates the sequence (animation's rate, no loop) when missing; returns
    // the new frame's index.
    int addFrame(const char* szSeq, const Zep::SmartPtr<Image>& pImage, int nRepeat);
    Zep::SmartPtr<FrameData> getFrame(const char* szSeq, int n) const { return &frame(szSeq, n); }
    Zep::SmartPtr<Image> getFrameImage(const char* szSeq, int n) const { return frame(szSeq, n).getImage(); }
    int getFrameRepeat(const char* szSeq, int n) const { return frame(szSeq, n).getRepeat(); }
    // n < 0: on the sequence itself.
    void setProp(const char* szSeq, int n, const char* szName, const char* szValue);
    Zep::String getFrameProp(const char* szSeq, int n, const char* szName) const;
    bool hasFrameProp(const char* szSeq, int n, const char* szName) const;
    // Each distinct image once, in the order of first use over the sequence
    // names in key order (aliases included).
    Zep::List<Zep::SmartPtr<Image>> getImages() const;

    using PropHolder::setProp;

private:
    Sequence& seq(const char* szSeq) const { return *m_hSequences.get(szSeq); }
    FrameData& frame(const char* szSeq, int n) const { return seq(szSeq).frameAt(n); }

    Zep::String m_sDefault;
    Zep::String m_sName;
    float m_fFrameRate;
    Zep::Hash<Zep::String, Zep::SmartPtr<Sequence>> m_hSequences{97};
};

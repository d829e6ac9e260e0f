// Sequencing and callback controllers: wait, run other controllers one after
// another, together or in a loop, call back, hand on a further controller,
// remove the sprite from its mode.
//
// "When done" means the sprite's controller list holds this controller alone,
// so every other effect on it has ended. Composite timing: SCQueue starts the
// next member in the update in which the previous one ended and answers done
// one update after its last member ended; SCSet removes members as they end,
// during its walk; SCLoop sets the next member's elapsed time back to 0 and
// starts it again, and never ends. SCDelayController hands the inner
// controller the overshoot of the delay.
//
// Without a mode there is nothing to remove: the removing controllers then
// just answer done. An empty SCLoop does nothing and never ends.
#pragma once

#include <memory>
#include <vector>

#include <zep2/random.h>

#include "sprite/sc_base.h"

class ICallbackTarget;

using ControllerList = std::vector<std::unique_ptr<SpriteController>>;

class SCRemove : public SpriteController {
public:
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;
};

class SCRemoveWhenDone : public SpriteController {
public:
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;
};

// The target is not owned.
class SCCallback : public SpriteController {
public:
    SCCallback(ICallbackTarget* pTarget, int nCallbackId, void* pData)
        : m_pTarget(pTarget), m_nCallbackId(nCallbackId), m_pData(pData) {}
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

protected:
    void call() const;

private:
    ICallbackTarget* m_pTarget;
    int m_nCallbackId;
    void* m_pData;
};

class SCCallbackWhenDone : public SCCallback {
public:
    using SCCallback::SCCallback;
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;
};

// Hands its controller to the sprite once the sprite's other effects ended
// (or at finish).
class SCWhenDone : public SpriteController {
public:
    explicit SCWhenDone(std::unique_ptr<SpriteController> pNext) : m_pNext(std::move(pNext)) {}
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;
    bool finish(Zep::SmartPtr<Sprite> pSprite) override;

private:
    std::unique_ptr<SpriteController> m_pNext;
};

class SCDelay : public SpriteController {
public:
    explicit SCDelay(float fDuration);
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;
};

// The duration is drawn at start from a generator of its own, seeded from
// the clock in seconds.
class SCRandomDelay : public SpriteController {
public:
    SCRandomDelay(float fMin, float fMax) : m_fMin(fMin), m_fMax(fMax) {}
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool apply(Zep::SmartPtr<Sprite> pSprite) override;

private:
    float m_fMin, m_fMax;
    Zep::Random m_random;
};

// The inner controller starts once the delay has run out and is updated by
// the overshoot in that same update; a delay of 0 or less never starts it
// (it is updated from the first update on).
class SCDelayController : public SpriteController {
public:
    SCDelayController(float fDelay, std::unique_ptr<SpriteController> pInner)
        : m_fLeft(fDelay), m_pInner(std::move(pInner)) {}
    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override;
    bool finish(Zep::SmartPtr<Sprite> pSprite) override;

private:
    float m_fLeft;
    std::unique_ptr<SpriteController> m_pInner;
};

// The members of a composite, in order; finish finishes every member.
class SCComposite : public SpriteController {
public:
    SCComposite() = default;
    explicit SCComposite(ControllerList lMembers) : m_lMembers(std::move(lMembers)) {}
    bool finish(Zep::SmartPtr<Sprite> pSprite) override;
    virtual int getCount() const { return static_cast<int>(m_lMembers.size()); }
    virtual SpriteController* getController(int nIndex) const { return m_lMembers.at(nIndex).get(); }

protected:
    ControllerList m_lMembers;
};

class SCQueue : public SCComposite {
public:
    using SCComposite::SCComposite;
    void add(std::unique_ptr<SpriteController> pController) { m_lMembers.push_back(std::move(pController)); }
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override;
};

class SCSet : public SCComposite {
public:
    using SCComposite::SCComposite;
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override;
};

// Keeps and reuses its members; none is deleted while the loop lives.
class SCLoop : public SCComposite {
public:
    using SCComposite::SCComposite;
    void add(std::unique_ptr<SpriteController> pController) { m_lMembers.push_back(std::move(pController)); }
    void start(Zep::SmartPtr<Sprite> pSprite) override;
    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override;

private:
    size_t m_nCurrent = 0;
};

#include "effects/sc_sequence.h"

#include "base/callbacks.h"
#include "sprite/gamemode.h"
#include "sprite/sprite.h"

namespace {

// The sprite's controllers are this one alone.
bool isLastEffect(const Sprite& sprite, const SpriteController* pSelf) {
    return sprite.getControllerCount() == 1 && sprite.getController(0) == pSelf;
}

void removeFromMode(const Zep::SmartPtr<Sprite>& pSprite) {
    if (GameMode* pMode = pSprite->getMode()) pMode->removeSprite(pSprite);
}

}  // namespace

// ---- Removal and callbacks ------------------------------------------------------------

bool SCRemove::apply(Zep::SmartPtr<Sprite> pSprite) {
    removeFromMode(pSprite);
    return true;
}

bool SCRemoveWhenDone::apply(Zep::SmartPtr<Sprite> pSprite) {
    if (pSprite->getControllerCount() != 1) return false;
    removeFromMode(pSprite);
    return true;
}

void SCCallback::call() const {
    if (m_pTarget) m_pTarget->onCallback(m_nCallbackId, m_pData);
}

bool SCCallback::apply(Zep::SmartPtr<Sprite>) {
    call();
    return true;
}

bool SCCallbackWhenDone::apply(Zep::SmartPtr<Sprite> pSprite) {
    if (pSprite->getControllerCount() != 1) return false;
    call();
    return true;
}

bool SCWhenDone::apply(Zep::SmartPtr<Sprite> pSprite) {
    if (!isLastEffect(*pSprite, this)) return false;
    if (m_pNext) pSprite->addController(std::move(m_pNext));
    return true;
}

bool SCWhenDone::finish(Zep::SmartPtr<Sprite> pSprite) {
    if (m_pNext) pSprite->addController(std::move(m_pNext));
    return true;
}

// ---- Delays ---------------------------------------------------------------------------

SCDelay::SCDelay(float fDuration) { getTimer()->setDuration(fDuration, false); }

bool SCDelay::apply(Zep::SmartPtr<Sprite>) { return getTimer()->isDone(); }

void SCRandomDelay::start(Zep::SmartPtr<Sprite>) {
    getTimer()->setDuration(static_cast<float>(m_random.randFloat(m_fMin, m_fMax)), false);
}

bool SCRandomDelay::apply(Zep::SmartPtr<Sprite>) { return getTimer()->isDone(); }

bool SCDelayController::update(float fDelta, Zep::SmartPtr<Sprite> pSprite) {
    if (!m_pInner) return true;
    if (m_fLeft > 0.0f) {
        m_fLeft -= fDelta;
        if (m_fLeft > 0.0f) return false;
        m_pInner->start(pSprite);
        m_pInner->update(-m_fLeft, pSprite);
        return false;
    }
    if (!m_pInner->update(fDelta, pSprite)) return false;
    m_pInner.reset();
    return true;
}

bool SCDelayController::finish(Zep::SmartPtr<Sprite> pSprite) {
    if (!m_pInner) return true;
    if (m_fLeft > 0.0f) m_pInner->start(pSprite);
    return m_pInner->finish(pSprite);
}

// ---- Composites -----------------------------------------------------------------------

bool SCComposite::finish(Zep::SmartPtr<Sprite> pSprite) {
    for (const std::unique_ptr<SpriteController>& pMember : m_lMembers) pMember->finish(pSprite);
    return true;
}

void SCQueue::start(Zep::SmartPtr<Sprite> pSprite) {
    if (!m_lMembers.empty()) m_lMembers.front()->start(pSprite);
}

// The next member starts in the update in which the previous one ended; the
// queue itself ends one update later.
bool SCQueue::update(float fDelta, Zep::SmartPtr<Sprite> pSprite) {
    if (m_lMembers.empty()) return true;
    if (!m_lMembers.front()->update(fDelta, pSprite)) return false;
    m_lMembers.erase(m_lMembers.begin());
    if (!m_lMembers.empty()) m_lMembers.front()->start(pSprite);
    return false;
}

void SCSet::start(Zep::SmartPtr<Sprite> pSprite) {
    for (const std::unique_ptr<SpriteController>& pMember : m_lMembers) pMember->start(pSprite);
}

bool SCSet::update(float fDelta, Zep::SmartPtr<Sprite> pSprite) {
    size_t i = 0;
    while (i < m_lMembers.size()) {
        if (m_lMembers[i]->update(fDelta, pSprite))
            m_lMembers.erase(m_lMembers.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
    return m_lMembers.empty();
}

void SCLoop::start(Zep::SmartPtr<Sprite> pSprite) {
    if (!m_lMembers.empty()) m_lMembers.front()->start(pSprite);
}

bool SCLoop::update(float fDelta, Zep::SmartPtr<Sprite> pSprite) {
    if (m_lMembers.empty()) return false;
    if (!m_lMembers[m_nCurrent]->update(fDelta, pSprite)) return false;
    m_nCurrent = (m_nCurrent + 1) % m_lMembers.size();
    SpriteController& next = *m_lMembers[m_nCurrent];
    next.getTimer()->setElapsed(0.0f);
    next.start(pSprite);
    return false;
}

#include "sprite/sc_base.h"

#include "sprite/sprite.h"

SpriteController::SpriteController() : m_pTimer(new Timer(0.0f, 0)) {}

SpriteController::~SpriteController() = default;

void SpriteController::start(Zep::SmartPtr<Sprite>) {}

bool SpriteController::apply(Zep::SmartPtr<Sprite>) { return false; }

bool SpriteController::update(float fDelta, Zep::SmartPtr<Sprite> pSprite) {
    m_pTimer->advance(fDelta);
    return apply(pSprite);
}

bool SpriteController::finish(Zep::SmartPtr<Sprite> pSprite) {
    return update(m_pTimer->getRemaining(), pSprite);
}

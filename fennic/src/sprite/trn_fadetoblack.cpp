#include "sprite/trn_fadetoblack.h"

#include <algorithm>

#include "application/gameapp.h"
#include "image/image.h"
#include "sprite/sprite.h"

namespace {
constexpr int kShrink = 10;  // the picture's size divisor and the sprite's scale
}  // namespace

TrnFadeToBlack::TrnFadeToBlack() = default;

TrnFadeToBlack::~TrnFadeToBlack() { m_pBlack = nullptr; }

void TrnFadeToBlack::onEnter() {
    GameApp* pApp = getApp();
    const int nWidth = pApp ? pApp->getScreenWidth() / kShrink : 0;
    const int nHeight = pApp ? pApp->getScreenHeight() / kShrink : 0;
    m_pBlack = addSprite(Zep::SmartPtr<Sprite>(new Sprite(createImage(nWidth, nHeight, 0), 0, 0, 0)));
    m_pBlack->setScale(static_cast<float>(kShrink));
    m_fAlpha = isFadeOut() ? 0.0f : 1.0f;
    m_pBlack->setAlpha(m_fAlpha);
}

bool TrnFadeToBlack::step(float fDelta) {
    const float fTarget = isFadeOut() ? 1.0f : 0.0f;
    if (isFadeOut()) m_fAlpha = std::min(m_fAlpha + m_fFadeSpeed * fDelta, 1.0f);
    else m_fAlpha = std::max(m_fAlpha - m_fFadeSpeed * fDelta, 0.0f);
    if (m_pBlack.notNULL()) m_pBlack->setAlpha(m_fAlpha);
    return m_fAlpha != fTarget;
}

std::unique_ptr<ModeTransition> TrnFadeToBlack::clone() const { return std::make_unique<TrnFadeToBlack>(); }

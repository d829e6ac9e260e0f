// The customer's patience meter and the balloon's look (character.h).
#include <algorithm>
#include <cmath>

#include <zep2/str.h>

#include "actors/character.h"
#include "application/gameapp.h"
#include "level/playmode.h"

namespace {

constexpr int kMeterSprites = 9;
constexpr int kSegments = 8;
constexpr int kFrameZ = 9, kSegmentZ = 10;
constexpr float kAlphaPerSecond = 2.0f;
constexpr float kLastSecond = 1.0f;

// The balloon's look for the segments shown.
int lookFor(int nSegments) { return nSegments >= 6 ? 0 : nSegments >= 3 ? 1 : 2; }

}  // namespace

void Character::createMeter(int x, int y, int z, bool bTall) {
    m_fMeterAlphaTarget = 0.0f;
    const Zep::SmartPtr<Animation> pAnimation =
        GameApp::getInstance()->getAnimation(bTall ? "medidor.anim" : "medidor_flat.anim");
    for (int i = 0; i < kMeterSprites; ++i) {
        Zep::SmartPtr<AnimSprite> pSprite = new AnimSprite(pAnimation, x, y, z + (i == 0 ? kFrameZ : kSegmentZ));
        m_pMode->addSprite(pSprite);
        m_lMeterSprites.add(pSprite);
        pSprite->play(Zep::String::format("%d", i).c_str(), 0.0f, -1);
        pSprite->setAlpha(0.0f);
    }
}

void Character::updateMeter(float fDelta) {
    int n = static_cast<int>(std::trunc(kSegments * m_fPatience / m_fMaxPatience));
    if (n < kSegments) ++n;
    if (n < 0 || m_fPatience < kLastSecond) n = 0;
    for (int i = 0; i < m_lMeterSprites.getCount(); ++i) {
        AnimSprite& sprite = *m_lMeterSprites[i];
        if (i > n) {
            sprite.setVisible(false);
            continue;
        }
        sprite.update(fDelta);
        if (!sprite.isVisible()) sprite.setVisible(true);
    }
    m_nBalloonLook = lookFor(n);
    m_pActionBalloon->showPicture(m_nBalloonLook);
    if (!m_pActionBalloon->isVisible()) m_pActionBalloon->setVisible(false);
    float fAlpha = getMeterAlpha();
    const float fTarget = m_fMeterAlphaTarget;
    if (fTarget < fAlpha) fAlpha = std::max(fTarget, fAlpha - kAlphaPerSecond * fDelta);
    else if (fTarget > fAlpha) fAlpha = std::min(fTarget, fAlpha + kAlphaPerSecond * fDelta);
    setMeterAlpha(fAlpha);
}

float Character::getMeterAlpha() const {
    return m_lMeterSprites.getCount() > 1 ? m_lMeterSprites[1]->getAlpha() : -1.0f;
}

void Character::setMeterAlpha(float fAlpha) {
    for (const Zep::SmartPtr<AnimSprite>& pSprite : m_lMeterSprites) pSprite->setAlpha(fAlpha);
}

void Character::removeMeter() {
    for (const Zep::SmartPtr<AnimSprite>& pSprite : m_lMeterSprites)
        if (pSprite->getMode()) pSprite->getMode()->removeSprite(pSprite);
    m_lMeterSprites.clear();
}

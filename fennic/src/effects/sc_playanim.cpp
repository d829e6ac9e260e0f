#include "effects/sc_playanim.h"

#include <zep2/error.h>

#include "anim/animsprite.h"
#include "driver/audiodriver.h"
#include "application/gameapp.h"
#include "sprite/gamemode.h"

namespace {

constexpr const char* kZepSource = ".\\src\\sc_playanim";

// The sample named by the frame's "sound", when it has one. Without an
// application there is nothing to play it on.
void playSound(const Animation& animation, const char* szSequence, int nFrame) {
    if (!animation.hasFrameProp(szSequence, nFrame, "sound")) return;
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) return;
    const Zep::String sSample = animation.getFrameProp(szSequence, nFrame, "sound");
    pApp->playSound(pApp->getSample(sSample.c_str()), false, -1);
}

}  // namespace

void SCPlayAnimation::start(Zep::SmartPtr<Sprite> pSprite) {
    if (!m_bRestart) return;
    if (AnimSprite* pAS = dynamic_cast<AnimSprite*>(pSprite.get())) {
        pAS->setFrame(0, -1.0f);
        pAS->start();
    }
}

bool SCPlayAnimation::update(float fDelta, Zep::SmartPtr<Sprite> pSprite) {
    AnimSprite* pAS = dynamic_cast<AnimSprite*>(pSprite.get());
    ZEP_ASSERT(pAS);
    const int nBefore = pAS->getFrame();
    pAS->update(m_fSpeed * fDelta);
    playFrameSounds(*pAS, nBefore, pAS->getFrame());
    if (pAS->isPlaying()) return false;
    if (GameMode* pMode = m_bRemoveWhenDone ? pSprite->getMode() : nullptr) pMode->removeSprite(pSprite);
    return true;
}

void SCPlayAnimation::playFrameSounds(const AnimSprite& sprite, int nBefore, int nAfter) {
    const Zep::SmartPtr<Animation> pAnimation = sprite.getAnimation();
    const Zep::String sSequence = sprite.getSequenceName();
    if (pAnimation.isNULL() || !pAnimation->hasSequence(sSequence.c_str())) return;
    const int nCount = pAnimation->getFrameCount(sSequence.c_str());
    if (nAfter < nBefore) {
        for (int n = nBefore + 1; n < nCount; ++n) playSound(*pAnimation, sSequence.c_str(), n);
        nBefore = -1;
    }
    for (int n = nBefore + 1; n <= nAfter && n < nCount; ++n) playSound(*pAnimation, sSequence.c_str(), n);
}

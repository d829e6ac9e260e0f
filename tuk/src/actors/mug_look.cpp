// The mug's straw, decoration and highlight shines (mug.h).
#include <cmath>
#include <cstdlib>

#include <zep2/str.h>

#include "application/gameapp.h"
#include "actors/mug.h"
#include "level/playmode.h"

namespace {

constexpr int kDecorations = 13;
constexpr int kVipStrawDx = 15;
constexpr int kVipStrawDy = 14;
constexpr int kShineDrop = 15;
constexpr float kTwoPi = 6.283185307179586f;

}  // namespace

Zep::SmartPtr<Image> Mug::privateImage(const char* szName, int x, int y) const {
    Zep::SmartPtr<Image> pImage = GameApp::getInstance()->getImage(szName)->clone(false);
    pImage->setInsPoint(x, y);
    return pImage;
}

void Mug::createStraw() {
    const int w = m_pBaseLayer->getWidth(), h = m_pBaseLayer->getHeight();
    int x = 0, y = 0;
    m_pBaseLayer->getPosition(&x, &y);
    m_pStraw = new Sprite(privateImage("vaso_x_pajita_der", w / 2, h), x, y, m_pBaseLayer->getZOrder() + 1);
    addToMode(m_pStraw);
    m_bStrawPlaced = false;
}

void Mug::placeStraw(int nSpotIndex, int nSide) {
    if (m_bStrawPlaced || !m_pMode) return;
    const int w = m_pBaseLayer->getWidth(), h = m_pBaseLayer->getHeight();
    if (nSpotIndex < m_pMode->getLevelData().m_nOrdinarySpots) {
        if (nSide >= 0) return;
        m_pStraw->setImage(privateImage("vaso_x_pajita_izq", w / 2, h));
    } else {
        if (nSide == 0) return;
        m_pStraw->setImage(privateImage("vaso_x_pajitavip", w / 2 + kVipStrawDx, h / 2 + kVipStrawDy));
        if (nSide < 0) m_pStraw->setScale(-m_pStraw->getScaleX(), m_pStraw->getScaleY());
    }
    m_bStrawPlaced = true;
}

void Mug::addDecoration() {
    const int w = m_pBaseLayer->getWidth(), h = m_pBaseLayer->getHeight();
    const Zep::String sName = Zep::String::format("vaso_deco_largo_%d", std::rand() % kDecorations);
    int x = 0, y = 0;
    m_pBaseLayer->getPosition(&x, &y);
    if (m_pDecoration.notNULL() && m_pDecoration->getMode()) m_pDecoration->getMode()->removeSprite(m_pDecoration);
    m_pDecoration = new Sprite(privateImage(sName.c_str(), w / 2, h), x, y, m_pBaseLayer->getZOrder() + 1);
    addToMode(m_pDecoration);
}

void Mug::setHighlight(bool bOn) {
    if (!bOn) {
        for (const Zep::SmartPtr<AnimSprite>& pShine : m_lShines)
            if (pShine->getMode()) pShine->getMode()->removeSprite(pShine);
        m_lShines.clear();
        return;
    }
    if (!m_lShines.isEmpty()) return;
    float fScaleX = 1.0f, fScaleY = 1.0f;
    m_pBaseLayer->getScale(&fScaleX, &fScaleY);
    Zep::List<Zep::String> lParams;
    lParams.add(templateParam());
    const Zep::String sKey = Zep::String("vaso_brillo") + templateParam();
    Zep::SmartPtr<Animation> pAnimation =
        GameApp::getInstance()->loadAnimation("vaso_brillo.template", sKey.c_str(), lParams);
    for (int i = 0; i < 2; ++i) {
        Zep::SmartPtr<AnimSprite> pShine = new AnimSprite(pAnimation, 0, 0, m_pBaseLayer->getZOrder() - 1);
        if (!isEmpty()) pShine->setColor(liquidColor(m_lLiquids.get(i)));
        pShine->setScale(fScaleX, fScaleY);
        addToMode(pShine);
        m_lShines.add(pShine);
    }
    placeShine();
}

void Mug::placeShine() {
    int x = 0, y = 0;
    m_pBaseLayer->getPosition(&x, &y);
    const Zep::SmartPtr<Image> pBase = m_pBaseLayer->getImage();
    const int nBaseHeight = pBase.notNULL() ? pBase->getHeight() : 0;
    for (const Zep::SmartPtr<AnimSprite>& pShine : m_lShines) {
        const Zep::SmartPtr<Image> pImage = pShine->getImage();
        const int nShineHeight = pImage.notNULL() ? pImage->getHeight() : 0;
        pShine->setPosition(x, y + (nShineHeight - nBaseHeight + kShineDrop) / 2);
        pShine->setZOrder(m_pBaseLayer->getZOrder() - 1);
    }
}

void Mug::update(float fDelta) {
    m_fShineTime += fDelta;
    const float fWave = 0.5f * std::sin(kTwoPi * m_fShineTime);
    for (const Zep::SmartPtr<AnimSprite>& pShine : m_lShines) pShine->update(fDelta);
    if (m_lShines.getCount() != 2) return;
    const bool bAlternate = m_lLiquids.getCount() >= 2 && m_lLiquids.get(0) != m_lLiquids.get(1) && !isEmpty();
    m_lShines.get(0)->setAlpha(0.5f + fWave);
    m_lShines.get(1)->setAlpha(bAlternate ? 0.5f - fWave : 0.0f);
}

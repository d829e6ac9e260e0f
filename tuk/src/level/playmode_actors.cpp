// The play mode's frame for the bar's other actors (playmode.h).
#include "level/playmode.h"

void PlayMode::updateActors(float fDelta) {
    for (const Zep::SmartPtr<DrinkMachine>& pMachine : m_levelData.m_lDrinkMachines) pMachine->update(fDelta);
    for (const Zep::SmartPtr<Barman>& pBarman : m_lBarmen) pBarman->serve(*this, fDelta);
    for (const Zep::SmartPtr<AmbientFigure>& pFigure : m_lFigures) pFigure->update(fDelta);
    for (const Zep::SmartPtr<AnimSprite>& pSprite : m_scene.lAnimated) pSprite->update(fDelta);
    for (const Zep::SmartPtr<ParticleEmitter>& pEmitter : m_scene.lEmitters) pEmitter->update(fDelta);
    if (m_pParrot.notNULL()) m_pParrot->update(fDelta);
}

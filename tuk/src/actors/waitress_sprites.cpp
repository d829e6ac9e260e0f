// The waitress's five sprites and the postures of her arms (waitress.h).
#include <zep2/str.h>

#include "application/gameapp.h"
#include "actors/mug.h"
#include "level/playmode.h"
#include "actors/waitress.h"

namespace {

constexpr int kBodyZ = 100;
constexpr int kArmZ = 101;
constexpr int kThumbZ = 102;
// Per heading (n, e, s, w), from the body's z-order.
constexpr int kArmOffset[2][4] = {{-1, -7, 2, 7}, {-1, 7, 2, -7}};
constexpr int kThumbOffset[2][4] = {{0, -1, 6, 8}, {0, 8, 6, -1}};
constexpr const char* kSides[3] = {"left", "right", "tray"};
// By arm index plus twice the foot flag.
constexpr const char* kSwings[4] = {"back", "front", "front", "back"};

}  // namespace

const char* Waitress::animationLetter(int nCapacity) { return nCapacity == 6 ? "A" : "B"; }

Zep::String Waitress::animationKey(const char* szTemplateFile, int nCapacity) {
    return Zep::String(szTemplateFile) + animationLetter(nCapacity);
}

void Waitress::preloadSprites(const char* szTemplateFile, int nCapacity) {
    Zep::List<Zep::String> lNames;
    lNames.add(animationLetter(nCapacity));
    GameApp::getInstance()->queueAnimation(szTemplateFile, animationKey(szTemplateFile, nCapacity).c_str(), lNames);
}

void Waitress::loadSprites(const char* szTemplateFile) {
    Zep::List<Zep::String> lNames;
    lNames.add(animationLetter(m_nCapacity));
    Zep::SmartPtr<Animation> pAnimation = GameApp::getInstance()->loadAnimation(
        szTemplateFile, animationKey(szTemplateFile, m_nCapacity).c_str(), lNames);
    const Point position(m_fX, m_fY);
    m_pBody = new AnimSprite(pAnimation, position, kBodyZ);
    for (int i = 0; i < 2; ++i) m_apArms[i] = new AnimSprite(pAnimation, position, kArmZ);
    for (int i = 0; i < 2; ++i) m_apThumbs[i] = new AnimSprite(pAnimation, position, kThumbZ);
    m_pMode->addSprite(m_pBody);
    for (int i = 0; i < 2; ++i) m_pMode->addSprite(m_apArms[i]);
    for (int i = 0; i < 2; ++i) m_pMode->addSprite(m_apThumbs[i]);
}

void Waitress::removeSprites() {
    m_pMode->removeSprite(m_pBody);
    for (int i = 0; i < 2; ++i) {
        m_pMode->removeSprite(m_apArms[i]);
        m_pMode->removeSprite(m_apThumbs[i]);
    }
}

void Waitress::detach() {
    if (!m_pMode) return;
    removeSprites();
    for (int i = 0; i < m_lSlots.getCount(); ++i) m_lSlots[i] = nullptr;
    m_pTarget = nullptr;
    m_pMode = nullptr;
}

const char* Waitress::fillWord(int nSlot) const { return isHandEmpty(nSlot) ? "empty" : "full"; }

void Waitress::showStandingArms() {
    const char* szLetter = headingLetter(m_nHeading);
    for (int i = 0; i < 2; ++i) {
        const char* szFill = m_bTray ? "tray" : fillWord(i);
        m_apArms[i]->play(Zep::String::format("stand_%s_arm_%s_%s", szLetter, szFill, kSides[i]).c_str(), 0.0f, -1);
        m_apArms[i]->stop();
        if (m_bTray) continue;
        const bool bFull = !isHandEmpty(i);
        const Zep::String sThumb = Zep::String::format("stand_%s_thumb_%s_%s", szLetter, szFill, kSides[i]);
        m_apThumbs[i]->play(bFull ? sThumb.c_str() : "thumb_empty", 0.0f, -1);
    }
}

void Waitress::showWalkingArms() {
    const char* szLetter = headingLetter(m_nHeading);
    for (int i = 0; i < 2; ++i) {
        if (m_bTray) {
            m_apArms[i]->play(Zep::String::format("walk_%s_arm_tray_%s", szLetter, kSides[i]).c_str(), 0.0f, -1);
            continue;
        }
        const char* szFill = fillWord(i);
        const char* szSwing = kSwings[i + 2 * (m_bFoot ? 1 : 0)];
        m_apArms[i]->play(Zep::String::format("walk_%s_arm_%s_%s_%s", szLetter, szFill, kSides[i], szSwing).c_str(),
                          0.0f, -1);
        const Zep::String sThumb = Zep::String::format("walk_%s_thumb_%s_%s_%s", szLetter, szFill, kSides[i], szSwing);
        m_apThumbs[i]->play(isHandEmpty(i) ? "thumb_empty" : sThumb.c_str(), 0.0f, -1);
    }
}

void Waitress::placeArms() {
    const int nBody = m_pBody->getZOrder();
    for (int i = 0; i < 2; ++i) {
        m_apArms[i]->setZOrder(nBody + kArmOffset[i][m_nHeading]);
        m_apThumbs[i]->setZOrder(nBody + kThumbOffset[i][m_nHeading]);
    }
}

void Waitress::playArm(int nArm, const Zep::String& sArm, const char* szThumb) {
    if (m_bTray) {
        m_apArms[kLeftHand]->play(sArm.c_str(), 0.0f, -1);
    } else {
        m_apThumbs[nArm]->play(szThumb, 0.0f, -1);
        m_apArms[nArm]->play(sArm.c_str(), 0.0f, -1);
    }
    layoutItems();
}

const char* Waitress::sideWord(int nSide) { return kSides[nSide]; }

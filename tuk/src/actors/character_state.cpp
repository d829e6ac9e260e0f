// The customer's states, timers and per-frame update (character.h).
#include <algorithm>
#include <cmath>
#include <iterator>

#include <zep2/error.h>
#include <zep2/str.h>

#include "actors/character.h"
#include "records/gamerandom.h"
#include "records/gamesound.h"
#include "level/playmode.h"

namespace {

constexpr const char* kZepSource = ".\\src\\character_state";

constexpr const char* kSuffixes[] = {"entering", "stand", "call", "stand", "stand",
                                     "drink",    "drunk", "exiting", "exiting"};
constexpr float kPulseAmount = 0.05f;
constexpr double kTwoPi = 6.283185307179586;

void require(bool bHolds, const char* szMessage, int nLine) {
    if (!bHolds) throw Zep::AssertFailException(kZepSource, nLine, szMessage);
}

struct TimerRange {
    float fLo, fHi;
};

TimerRange timerRange(int nState, bool bHadDrink) {
    switch (nState) {
        case Character::kStanding: return bHadDrink ? TimerRange{6.0f, 8.0f} : TimerRange{3.0f, 6.0f};
        case Character::kWaiting: return {2.0f, 5.0f};
        case Character::kServed: return {1.0f, 3.0f};
        default: return {0.0f, 0.0f};
    }
}

}  // namespace

// ---- Entering a state ----------------------------------------------------------------

void Character::setState(int nState) {
    if (nState >= 0 && nState < static_cast<int>(std::size(kSuffixes))) playStateSequences(nState);
    if (nState == kServed && (m_nState == kCalling || m_nState == kWaiting)) {
        const int nPart = CharacterBody::smilePart(m_eKind);
        if (nPart < m_lMoveSprites.getCount())
            m_lMoveSprites[nPart]->play(CharacterBody::smileSequence(m_eKind), 0.0f, -1);
    }
    m_nState = nState;
    enterState(nState);
    startStateTimer();
}

void Character::playStateSequences(int nState) {
    for (int i = 0; i < m_lMoveSprites.getCount(); ++i) {
        const Zep::String sSequence =
            Zep::String::format("%s_%s", CharacterBody::part(m_eKind, i).szName, kSuffixes[nState]);
        m_lMoveSprites[i]->play(sSequence.c_str(), 0.0f, -1);
    }
}

void Character::enterState(int nState) {
    switch (nState) {
        case kStanding: chooseOrder(); break;
        case kCalling:
            m_bHasAsked = true;
            playGameSound(Zep::String::format("sfx_game_ask%d", m_nVoice).c_str());
            showBalloon();
            break;
        case kWaiting: showBalloon(); break;
        case kServed:
            require(hasMug(), "Assertion failed : m_pMug", __LINE__);
            ZEP_ASSERT(!m_pMug->isEmpty());
            break;
        case kDrinking:
            require(hasMug(), "Assertion failed : m_pMug", __LINE__);
            m_pMug->startDrinking();
            break;
        case kFadingOut:
            m_fMeterAlphaTarget = 0.0f;
            m_pMode->showStarBonus(m_nSpot, m_nStars);
            break;
        default: break;
    }
}

// Every picture shows until the next update's meter picks one.
void Character::showBalloon() {
    m_pActionBalloon->setVisible(true);
    m_fMeterAlphaTarget = 1.0f;
}

void Character::startStateTimer() {
    const TimerRange range = timerRange(m_nState, hasHadDrink());
    const double dPace = m_pMode->getLevelData().m_fCustomerPace;
    m_fCurrentTime = static_cast<float>(gameRandom().randFloat(range.fLo * dPace, range.fHi * dPace));
}

// ---- The frame ---------------------------------------------------------------------

void Character::update(float fDelta) {
    ZEP_TRACE("Character::update");
    // Gone: the play mode's list may still hold it for this frame.
    if (m_nState == kGone) return;
    writeDump();
    updateMeter(fDelta);
    const LevelData& data = m_pMode->getLevelData();
    const bool bPaused = data.m_bPaused;
    if (m_nState != kStanding && m_nState != kServed && m_nState != kDrinking && !bPaused) m_fPatience -= fDelta;
    if (m_fPatience < 0.0f && m_nState != kExiting && m_nState != kFadingOut) {
        setState(kExiting);
        m_fCurrentTime = 0.0f;
    }
    bool bEnded = false;
    fade(fDelta, bEnded);
    if (bEnded) return;
    pulseBalloon(fDelta);
    if (bPaused) return;
    const bool bNewFrame = advanceBody(fDelta);
    m_fCurrentTime -= fDelta;
    if (!(m_fCurrentTime < 0.0f)) return;
    if (m_nState == kDrinking && bNewFrame) drinkStep();
    if (isArmBusy()) return;
    m_fCurrentTime = 0.0f;
    // Leaving, it may lose its last other reference here.
    const Zep::SmartPtr<Character> pSelf(this);
    if (!m_lStateQueue.isEmpty()) takeNextState();
    else onStateTimeout();
}

void Character::writeDump() const {
    const Zep::String sDump = Zep::String::format(
        "Character dump m_nState:%d, m_lMoveSprites.getLength():%d, m_fCurrentTime:%lf, m_bIsVip:%d, m_bLeft:%d "
        "m_sName :%s\n",
        m_nState, m_lMoveSprites.getCount(), static_cast<double>(m_fCurrentTime), m_bIsVip ? 1 : 0,
        m_bLeft ? 1 : 0, m_sName.c_str());
    Zep::ScopeTrace::appendDetail(sDump.c_str());
}

void Character::fade(float fDelta, bool& bEnded) {
    float fAlpha = m_lMoveSprites[0]->getAlpha();
    const bool bIn = fAlpha < 1.0f && m_nState != kFadingOut;
    const bool bOut = fAlpha > 0.0f && m_nState == kFadingOut;
    if (!bIn && !bOut) return;
    fAlpha = bIn ? std::min(1.0f, fAlpha + fDelta) : std::max(0.0f, fAlpha - fDelta);
    m_pActionBalloon->setAlpha(fAlpha);
    for (const Zep::SmartPtr<AnimSprite>& pPart : m_lMoveSprites) pPart->setAlpha(fAlpha);
    bEnded = bOut;
}

void Character::pulseBalloon(float fDelta) {
    m_fPulseTime += fDelta;
    if (!m_pActionBalloon->isVisible()) return;
    m_pActionBalloon->setScale(
        static_cast<float>(1.0 + kPulseAmount * std::sin(kTwoPi * static_cast<double>(m_fPulseTime))));
}

// True when the drinking arm showed a new frame.
bool Character::advanceBody(float fDelta) {
    bool bNewFrame = false;
    for (int i = 0; i < m_lMoveSprites.getCount(); ++i) {
        const bool bChanged = m_lMoveSprites[i]->update(fDelta);
        const bool bArm = m_bIsVip ? (i == 0 || i == 5) : i == 1;
        if (bArm && bChanged) bNewFrame = true;
    }
    return bNewFrame;
}

void Character::drinkStep() {
    const AnimSprite& arm = *m_lMoveSprites[m_bIsVip ? 0 : 1];
    m_pMug->placeStraw(m_nSpot, m_nDirection);
    if (arm.hasFrameProp("dodrink") && !m_pMug->isEmpty()) m_pMug->drink();
    placeMug();
}

void Character::takeNextState() {
    const int nLength = m_lStateQueue.getCount();
    const int nNext = m_lStateQueue.removeFirst();
    Zep::ScopeTrace::setDetail(Zep::String::format("Q : %d, %d [%d]", m_nState, nNext, nLength).c_str());
    if ((nNext == kServed || nNext == kDrinking) && !hasMug()) return;
    setState(nNext);
}

// ---- The state's own step --------------------------------------------------------------

void Character::onStateTimeout() {
    switch (m_nState) {
        case kEntering: setState(kStanding); break;
        case kStanding:
            setState(hasMug() && m_pMug->isFull() && m_pMug->isOrderMatched() ? kServed : kCalling);
            break;
        case kCalling: setState(kWaiting); break;
        case kWaiting:
            if (m_fPatience <= 0.0f) m_bSatisfied = false;
            setState(m_fPatience > 0.0f ? kCalling : kExiting);
            break;
        case kServed: setState(kDrinking); break;
        case kDrinking: finishDrink(); break;
        case kExiting:
            complain();
            setState(kFadingOut);
            break;
        case kFadingOut:
            // Handed to the play mode, which takes it out of the level.
            m_pMode->onCustomerLeaving(this);
            m_bLeft = true;
            m_nState = kGone;
            break;
        default: break;
    }
    if (hasMug() && m_pMode) placeMug();
}

void Character::finishDrink() {
    m_pMug->stopDrinking();
    if (!m_pMug->isEmpty()) {
        setState(kServed);
        return;
    }
    ++m_nDrinksHad;
    setState(m_nDrinksHad >= m_nDrinksWanted ? kExiting : kStanding);
}

// Character: one customer of the bar during a level. The spawner makes it
// for a free seat; the play mode updates it once per frame, over a snapshot
// of its list, so a customer may leave the level during its own update.
//
// Body: the parts of its kind (characterbody.h), each an animated sprite of
// "ch_<name>.anim" at (x, y). Ordinary customers stand at z = depth + the
// part's offset + the seat, one in ten mirrored (rand() % 10 == 0: every
// part scaled (-1, 1)); VIPs at z = depth + offset, scaled (direction * 0.88,
// 0.88). Everything starts invisible and fades in over one second.
//
// Balloon: "balloon.template" read with the one sequence the seat needs
// (cached as "balloon" + sequence): ordinary seats 0 to 3 "standl_der" (+8,
// +46), "standu_izq" (+4, +40), "standu_der" (+4, +40), "standl_izq" (-8,
// +46) from (x, y - 100); VIPs "vip_der" at (x + 80, y - 120), balloon 4, or
// facing left "vip_izq" at (x - 83, y - 120), balloon 5; z = depth + 10.
// The balloon's walk rectangle is its seat's (the waitress takes the order
// where she serves the seat), and it is named "balloon of seat <n>".
//
// Meter: nine sprites of "medidor_flat.anim" at (x - 31, y + 25), or for VIPs
// of "medidor.anim" at (x + 112, y - 150) / (x - 165, y - 150); sequence
// "0" (the frame) at z + 9, "1" to "8" (the segments) at z + 10. n =
// trunc(8 patience / max), plus 1 below 8; 0 below one second of patience.
// Sprites 0 to n show and advance, the others hide; the balloon shows
// picture 0 for n 6 to 8, 1 for 3 to 5, 2 for 0 to 2. The meter's alpha
// moves 2 a second towards its target (1 while calling and waiting).
//
// States: 0 entering, 1 at the menu (the order is drawn on entering), 2
// calling, 3 waiting, 4 served, 5 drinking, 6 unused, 7 leaving the seat, 8
// fading out, 9 gone (handed to the play mode). Entering a state plays
// "<part>_<suffix>" on every part ("entering", "stand", "call", "stand",
// "stand", "drink", "drunk", "exiting", "exiting") and draws its timer from
// the game's generator: randFloat(lo p, hi p), p the level's pace, (lo, hi)
// = (3, 6) in state 1, (6, 8) there once a drink was had, (2, 5) in 3,
// (1, 3) in 4, else (0, 0). A state moves on once its timer is below 0 and
// the drinking arm is no longer busy: ordinary customers while part 1 plays,
// VIPs while part 0 or part 5 plays a frame whose "waitfinish" is "true".
// Then the front of the state queue is entered (a queued 4 or 5 is dropped
// without a mug), or the state's own step runs.
//
// Patience falls in every state but 1, 4 and 5, and not while the level is
// paused; below 0 the customer leaves (7). Every update writes its dump line
// into the detail of its scope-trace entry, so that a crash report shows it.
//
// Order: a glass (rand() % 3) and two liquids drawn from the level's list of
// liquids itself; the same one twice unless mixed orders are on, then two
// different ones where the list has them.
//
// Service (serveMug): a full mug is judged against the order; a wrong or
// partly drunk one is held unpaid and the customer calls on. A matched mug
// moves the customer to 4 (behind a running call: 4 at the front of the
// queue), earns a star for a decoration and one for patience above the
// order's patience times g v (g 0.8 in the campaign, 0.75 otherwise, 0.2
// less for VIPs; v for VIPs by the upgrade of their seat kind: kind 1
// upgrade 10, kind 0 upgrade 11, levels 0 and 1 giving 0.73 and 0.86, else
// 1), pays the price unless the last payment lies 5000 ms or less back,
// refills patience by a third (fully with a decoration), and shows the time
// bonus (other game kinds, bar open; by the clock) and the money popup. Taking the mug
// back in state 4 refunds what that service paid and the customer leaves
// unsatisfied.
//
// Leaving the level: detach takes every sprite out of the mode and the
// balloon out of its click listeners, releases the animation and forgets
// the mode; the destructor only drops references.
//
// A missing animation, or a level without liquids ("!lLiquids.isEmpty()"),
// fails the construction before any sprite enters the mode. Broken
// preconditions throw Zep::AssertFailException: serving to a customer with
// a mug ("!hasMug()"), taking from one without ("m_pMug"), entering 4 with
// an empty mug ("!m_pMug->isEmpty()") or 5 without one ("m_pMug").
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "actors/actionballoon.h"
#include "anim/animsprite.h"
#include "actors/characterbody.h"
#include "actors/mug.h"

class PlayMode;

class Character : public Zep::RefCountedObject {
public:
    enum State {
        kEntering = 0,
        kStanding = 1,
        kCalling = 2,
        kWaiting = 3,
        kServed = 4,
        kDrinking = 5,
        kDrunk = 6,
        kExiting = 7,
        kFadingOut = 8,
        kGone = 9
    };
    static constexpr float kVipScale = 0.88f;
    static constexpr int kPaymentGapMs = 5000;

    Character(PlayMode* pMode, const char* szName, int nSpot, int x, int y, int nDepth, bool bVip, int nDirection,
              int nVoice);
    ~Character() override;
    Character(const Character&) = delete;
    Character& operator=(const Character&) = delete;

    virtual void update(float fDelta);
    void setState(int nState);
    void setSeatKind(int nKind) { m_nSeatKind = nKind; }

    // ---- Queries ----
    bool isVip() const { return m_bIsVip; }
    const char* getName() const { return m_sName.c_str(); }
    PlayMode* getMode() const { return m_pMode; }
    int getSpot() const { return m_nSpot; }
    int getState() const { return m_nState; }
    int getSeatKind() const { return m_nSeatKind; }
    int getDirection() const { return m_nDirection; }
    int getVoice() const { return m_nVoice; }
    bool hasHadDrink() const { return m_nDrinksHad > 0; }
    int getDrinksHad() const { return m_nDrinksHad; }
    int getDrinksWanted() const { return m_nDrinksWanted; }
    bool isDrinking() const { return m_nState == kDrinking; }
    bool hasMug() const { return m_pMug.notNULL(); }
    Zep::SmartPtr<Mug> getMug() const { return m_pMug; }
    // Held and not being drunk: the waitress may take it.
    bool isMugFree() const { return hasMug() && !isDrinking(); }
    bool hasLeft() const { return m_bLeft; }
    bool isSatisfied() const { return m_bSatisfied; }
    bool hasAsked() const { return m_bHasAsked; }
    float getTimer() const { return m_fCurrentTime; }
    float getPatience() const { return m_fPatience; }
    float getMaxPatience() const { return m_fMaxPatience; }
    float getOrderPatience() const { return m_fOrderPatience; }
    int getStateQueueLength() const { return m_lStateQueue.getCount(); }
    // Body part 0.
    Zep::SmartPtr<Sprite> getSprite() const;
    const Zep::List<Zep::SmartPtr<AnimSprite>>& getBodySprites() const { return m_lMoveSprites; }
    const Zep::List<Zep::SmartPtr<AnimSprite>>& getMeterSprites() const { return m_lMeterSprites; }
    Zep::SmartPtr<ActionBalloon> getBalloon() const { return m_pActionBalloon; }
    Zep::SmartPtr<AnimSprite> getBalloonSprite() const { return m_pBalloonSprite; }
    int getBalloonLook() const { return m_nBalloonLook; }
    // Where a mug stands for this customer, from the animation's own "mugx"
    // and "mugy"; z = depth + 3.
    void getMugRestPosition(int& x, int& y, int& z) const;
    // The stars of a satisfied customer, else 0; bonus 0.
    void getStars(int& nStars, int& nBonus) const;

    // ---- Order and service ----
    int getOrderBeverage() const { return m_nOrderBeverage; }
    const Zep::List<int>& getOrderLiquids() const { return m_lOrderLiquids; }
    // The same glass and the same two liquids in order, and not leaving.
    bool matchesOrder(int nBeverage, const Zep::List<int>& lLiquids) const;
    void serveMug(const Zep::SmartPtr<Mug>& pMug);
    Zep::SmartPtr<Mug> takeMug();
    // A new order in states 1 to 3 (mixed orders switched on).
    void refreshOrder();
    // Closing time: no more drinks than the one in hand or waited for;
    // leaving at once from 1 (no mug, or an empty one), 4 or 5 without one.
    void onBarClosed();

    // ---- Meter ----
    float getMeterAlpha() const;
    void setMeterAlpha(float fAlpha);

    // Out of the level: sprites, listener, animation; the mode forgotten.
    void detach();

private:
    // ---- Body (character.cpp) ----
    void loadContent(int nSpot, bool bVip, int nDirection);
    static Zep::SmartPtr<Animation> loadBalloon(const char* szSequence);
    void buildOrdinary(int x, int y);
    void buildVip(int x, int y, int nDirection);
    void buildBalloon(const char* szSequence, int x, int y, int nIndex);
    void buildBody(int x, int y, int nZBase, float fScaleX, float fScaleY);
    void initVisit();
    void removeSprites();
    void placeMug();
    void popupPoint(int& x, int& y, bool bServed) const;
    bool isArmBusy() const;
    // ---- States (character_state.cpp) ----
    void writeDump() const;
    void playStateSequences(int nState);
    void enterState(int nState);
    void startStateTimer();
    void onStateTimeout();
    void finishDrink();
    void fade(float fDelta, bool& bEnded);
    void pulseBalloon(float fDelta);
    bool advanceBody(float fDelta);
    void drinkStep();
    void takeNextState();
    void showBalloon();
    // ---- Order and service (character_order.cpp) ----
    void chooseOrder();
    int pickLiquid() const;
    int pickOtherLiquid(int nFirst) const;
    int countStars() const;
    void pay();
    void showBonus();
    void complain();
    // ---- Meter (character_meter.cpp) ----
    void createMeter(int x, int y, int z, bool bTall);
    void updateMeter(float fDelta);
    void removeMeter();

    Zep::String m_sName;
    int32_t m_nSpot;
    Zep::SmartPtr<ActionBalloon> m_pActionBalloon;
    Zep::SmartPtr<AnimSprite> m_pBalloonSprite;
    int32_t m_nState = kEntering;
    Zep::List<int> m_lStateQueue;
    int32_t m_nBalloonLook = 0;
    PlayMode* m_pMode;  // not owned; null once detached
    Zep::SmartPtr<Mug> m_pMug;
    float m_fCurrentTime = 0.0f;
    int32_t m_nLastPayTime = 0;
    // What the service of the held mug paid, refunded when it is taken back.
    int32_t m_nServicePaid = 0;
    int32_t m_nDrinksWanted = 1;
    int32_t m_nDrinksHad = 0;
    int32_t m_nStars = 0;
    bool m_bSatisfied = true;
    Zep::List<int> m_lOrderLiquids;
    int32_t m_nOrderBeverage = 0;
    bool m_bIsVip;
    CharacterBody::Kind m_eKind;
    Zep::String m_sAnimation;
    Zep::List<Zep::SmartPtr<AnimSprite>> m_lMoveSprites;
    float m_fPatience = 0.0f;
    float m_fOrderPatience = 0.0f;
    Zep::List<Zep::SmartPtr<AnimSprite>> m_lMeterSprites;
    float m_fMeterAlphaTarget = 0.0f;
    float m_fPulseTime = 0.0f;
    float m_fMaxPatience = 0.0f;
    int32_t m_nDirection = 1;
    int32_t m_nDepth;
    int32_t m_nVoice;
    int32_t m_nSeatKind = 0;
    bool m_bHasAsked = false;
    bool m_bLeft = false;
};

// CharacterSpot: a customer's seat, where a customer sits and is served; an
// action target of the level. LevelData lists the seats in scene order, the
// ordinary ones first, then the VIP seats.
//
// A mug is at the seat when it stands there (put down with no customer, or
// left by one) or when the seated customer holds it. The waitress
//   takes (kind 2) a mug that is at the seat, standing or free in the
//     customer's hand (not being drunk), when she has room for it (hands:
//     hand h is her first free slot; tray: fewer items than her capacity);
//     a customer gives it up through Character::takeMug (refunding a
//     service in state 4);
//   serves (kind 0) when no mug is at the seat and she carries one that is
//     not empty (hands: in slot h; tray: any slot): with hands the mug of
//     slot h, with a tray the first carried full mug that matches the seated
//     customer's order, else the first one that is not empty. Wrong drinks
//     stay possible: the customer judges them.
// Putting a mug down for a customer plays its voice's "sfx_game_accept%d"
// and hands the mug over (Character::serveMug); without one the mug stands
// at the seat's mug position, which a seated customer sets from its rest
// position. Seating a customer hands it a mug standing there; releasing it
// stands the mug it still holds back at the seat and passes its stars to
// PlayMode::addMoney as the value, with no money.
//
// The seat passes its highlight to the mug at the seat.
#pragma once

#include <cstdint>

#include "actors/actionspot.h"
#include "actors/character.h"
#include "actors/mug.h"

class CharacterSpot : public ActionSpot {
public:
    CharacterSpot(PlayMode* pMode, const Rect& walkRect, int nHeading) : ActionSpot(pMode, walkRect, nHeading) {}

    void setCharacter(const Zep::SmartPtr<Character>& pCharacter);
    void releaseCharacter(const Zep::SmartPtr<Character>& pCharacter);
    Zep::SmartPtr<Character> getCharacter() const { return m_pCharacter; }

    // The mug standing at the seat.
    bool hasMug() const { return m_pMug.notNULL(); }
    Zep::SmartPtr<Mug> getMug() const { return m_pMug; }
    void putMug(const Zep::SmartPtr<Mug>& pMug);
    // The mug at the seat, standing or the customer's (null when none).
    Zep::SmartPtr<Mug> takeMug();
    void getMugPosition(int* pX, int* pY, int* pZ) const;

    bool canDoAction(int nHand) override;
    int beginAction(int nHand) override;
    void completeAction(int nHand) override;
    void setHighlight(bool bOn) override;

private:
    static constexpr int kServe = 0;
    static constexpr int kTake = 2;

    bool isMugAtSeat() const;
    void standMug(const Zep::SmartPtr<Mug>& pMug);
    // The slot of the mug to serve, -1 when none.
    int mugToServe(int nHand) const;

    Zep::SmartPtr<Character> m_pCharacter;
    Zep::SmartPtr<Mug> m_pMug;
    bool m_bHighlight = false;
    bool m_bMugPositionSet = false;
    int32_t m_nMugX = 0;
    int32_t m_nMugY = 0;
    int32_t m_nMugZ = 0;
};

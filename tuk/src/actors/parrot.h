// Parrot: the bought helper that clears empty mugs from the customers'
// seats. It sits on its perch; whenever a seat holds a standing mug that is
// empty and not being drunk, it flies there and takes it out of the level;
// with two mugs taken it flies to the sink, adds them to the sink's pile and
// flies home. The play mode holds the level's one parrot and updates it
// after the ambient figures.
//
// Figure: three sprites of "parrot.anim" sharing one position: body (the
// perch's z-order), wings (+1), legs (+2), playing "<heading>_still",
// "<heading>_move" and "<heading>_legs", the heading word "stand" while
// perched, else "north", "south", "east" or "west" (|dx| > |dy| picks east
// or west, else north or south). In flight the body has z-order 400 and the
// wings 401. Every frame the sprites advance and are scaled by
// 1 - (bottom - y) * 0.2 / (bottom - top) of the level's walk band (1 for a
// band without height).
//
// States: 0 perched or just landed, 1 flying to a mug, 2 flying home, 3
// flying to the sink. A perched parrot decides each frame: with two mugs,
// the sink; else the first seat in the level's order with a waiting mug;
// else home when away. Legs are straight, at 300 pixels a second; a leg has
// arrived when its truncated x has reached the target's x (a near-vertical
// leg jumps to its end), and a leg of no length arrives at once.
// Coordinates below 0 are held at 0. A flight to a seat ends where the
// parrot is, followed by a new decision in the same frame, when the seat no
// longer holds a mug; a flight home the same way when a mug starts waiting.
// The flight to the sink goes on whatever happens. On arrival at a seat the
// parrot takes whatever mug the seat then holds.
//
// The sink (its sprite's centre) is looked up at the first trip there; in a
// level without one there is no trip: the mugs stay with the parrot, which
// goes on clearing seats, and the log says so once.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/refcount.h>

#include "anim/animsprite.h"
#include "actors/characterspot.h"
#include "actors/trashbin.h"

class PlayMode;

class Parrot : public Zep::RefCountedObject {
public:
    enum { kPerched = 0, kToMug = 1, kToPerch = 2, kToSink = 3 };
    enum { kBody = 0, kWings = 1, kLegs = 2 };
    static constexpr float kSpeed = 300.0f;  // pixels a second
    static constexpr float kDepthFactor = 0.2f;
    static constexpr int kFlightZ = 400;
    static constexpr int kMugsPerTrip = 2;

    // The level (not owned) and the perch.
    Parrot(PlayMode* pMode, int x, int y, int nZOrder);

    virtual void update(float fDelta);

    int getState() const { return m_nState; }
    int getCarried() const { return m_nCarried; }
    Zep::SmartPtr<AnimSprite> getSprite(int n) const { return m_lSprites[n]; }
    bool isAtHome() const;
    bool isMugWaiting() const;

private:
    void decide();
    void startLeg();
    void endLeg();
    bool resolveSink();
    bool isInterrupted();
    void fly(float fDelta);
    void playAll(const char* szHeading);
    void moveTo(float x, float y);
    void applyDepthScale();

    PlayMode* m_pMode;  // not owned
    Zep::List<Zep::SmartPtr<AnimSprite>> m_lSprites;
    Zep::List<int> m_lPathX;
    Zep::List<int> m_lPathY;
    float m_fStartX = 0.0f;
    float m_fStartY = 0.0f;
    Zep::List<Zep::SmartPtr<CharacterSpot>> m_lTargetSpots;
    int32_t m_nHomeX;
    int32_t m_nHomeY;
    Zep::SmartPtr<TrashBin> m_pSink;
    int32_t m_nSinkX = 0;
    int32_t m_nSinkY = 0;
    bool m_bNoSinkLogged = false;
    int32_t m_nState = kPerched;
    int32_t m_nCarried = 0;
    float m_fLegDuration = 0.0f;
    float m_fLegTime = 0.0f;
};

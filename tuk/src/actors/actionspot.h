// What the player clicks in a level, and what the waitress acts on.
//
// IClickListener: registered with the play mode. A click goes to the
// listener that answers the highest priority for the point (-1: the point
// misses it); onClick then queues the waitress's commands.
//
// IActionTarget: a fixture the waitress acts on with a hand (0 left, 1 right,
// 2 the tray). canDoAction asks; beginAction starts the action and answers
// its kind (0 serve, 1 fill, 2 take), which names her arm sequence;
// completeAction is its effect, at the action point of that sequence.
// getDistance measures from one of her hand points (the play mode picks the
// nearer hand with it). setBusy marks the target while she acts on it; every
// target takes the flag, and it has no other effect.
//
// ActionSpot: the fixtures of the scene ("actionspot" lines). It shows one
// attached sprite and knows the walk rectangle in front of it: its stored
// point is the rectangle's centre (integer halves), where the waitress stands
// to use it, facing its heading. A click on it (its sprite's box, at the
// sprite's z-order) queues a walk to that point, a turn to the heading and a
// use of the spot, with the hand hint 2 when she carries a tray, else 0.
// A stored point that no walk area holds sends her to the areas' nearest
// point (PlayMode::walkWaitressTo); the first such click of a spot logs
// "B: ** <name> : walk point (x, y) lies in no walk area; she walks to
// (x', y') **".
// Its distance is the Euclidean distance from the point to its sprite's
// position (to the stored point without a sprite), truncated.
//
// ActionTarget::create makes the spot of a scene line's type ("glassspot",
// "platformjuicer", "trashbin", "propdispenser", "characterspot", "liquid",
// "beverage"): its sprite of the named image (or the link's picture) at
// (x, y) with the depth as z-order, added to the mode, and the spot
// registered with the mode as an action target and a click listener (a
// coaster also in the mode's coasters, a seat in the level's seats, in scene
// order), named by the type and the sprite's place ("glassspot at (50,
// 330)"). Any other type makes nothing (null). The line's further words
// come as a SpotLink:
//   "glassspot" with bBarman is one of the barman's coasters;
//   "platformjuicer" is a coaster linked to the level's machine of the id
//     (DrinkMachine::addPlatformSpot) when that machine is built;
//   "liquid" and "beverage" are the buttons of type nType of the level's
//     machine of the id: the machine makes the button sprite at (x, y) with
//     the depth (the image is not used), the target is linked to it
//     (DrinkMachine::addButtonTarget); nothing without that machine.
//
// Destructors never reach the mode: a spot leaves the level through the
// mode's remove operations before it goes.
#pragma once

#include <cstdint>

#include <zep2/refcount.h>
#include <zep2/str.h>

#include "base/rect.h"
#include "sprite/sprite.h"

class PlayMode;

class IClickListener {
public:
    virtual ~IClickListener() = default;
    virtual int getClickPriority(int x, int y) = 0;
    virtual void onClick(int x, int y, int nFlags) = 0;
};

class IActionTarget : public Zep::RefCountedObject {
public:
    virtual void completeAction(int nHand) = 0;
    virtual bool canDoAction(int nHand) = 0;
    virtual int getDistance(int x, int y) = 0;
    virtual int beginAction(int nHand) = 0;
    virtual void setHighlight(bool bOn) = 0;
    virtual void setBusy(bool bBusy) = 0;
};

class ActionSpot : public IActionTarget, public IClickListener {
public:
    // The level (not owned), the walk rectangle and the heading she faces there.
    ActionSpot(PlayMode* pMode, const Rect& walkRect, int nHeading);

    // Asserts "!m_pAttachedSprite" and "pSprite".
    void attachSprite(const Zep::SmartPtr<Sprite>& pSprite);
    Zep::SmartPtr<Sprite> getAttachedSprite() const { return m_pAttachedSprite; }
    // The main sprite: the attached one.
    Zep::SmartPtr<Sprite> getSprite() const { return m_pAttachedSprite; }
    // Takes the sprite out of its mode; the spot keeps it.
    void removeSprite();
    void getPosition(int* pX, int* pY) const;
    int getHeading() const { return m_nHeading; }
    const Rect& getWalkRect() const { return m_walkRect; }
    // A new walk rectangle; the stored point becomes its centre.
    void setWalkRect(const Rect& walkRect);
    // What the log calls the spot, such as "charspot at (560, 372)".
    const Zep::String& getName() const { return m_sName; }
    void setName(const Zep::String& sName) { m_sName = sName; }
    PlayMode* getMode() const { return m_pMode; }
    bool isBusy() const { return m_bBusy; }

    int getClickPriority(int x, int y) override;
    void onClick(int x, int y, int nFlags) override;

    int getDistance(int x, int y) override;
    void setHighlight(bool) override {}
    void setBusy(bool bBusy) override { m_bBusy = bBusy; }

private:
    void reportUnwalkablePoint();

    PlayMode* m_pMode;  // not owned
    Zep::String m_sName;
    bool m_bWalkPointReported = false;
    Rect m_walkRect;
    int32_t m_nX;
    int32_t m_nY;
    int32_t m_nHeading;
    bool m_bBusy = false;
    Zep::SmartPtr<Sprite> m_pAttachedSprite;
};

namespace ActionTarget {

struct SpotLink {
    int nMachine = 0;
    int nType = 0;
    bool bBarman = false;
    // The sprite's picture; null: the mode's picture of the image name.
    Zep::SmartPtr<Image> pImage;
};

Zep::SmartPtr<ActionSpot> create(PlayMode* pMode, const char* szType, int x, int y, int nDepth, const Rect& walkRect,
                                 int nHeading, const char* szImage, const SpotLink& link = SpotLink());

}  // namespace ActionTarget

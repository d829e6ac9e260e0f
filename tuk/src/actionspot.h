// What the player clicks in a level.
//
// IClickListener: registered with the play mode. A click goes to the
// listener that answers the highest priority for the point (-1: the point
// misses it); onClick then queues the waitress's commands.
//
// IActionTarget: a fixture the waitress acts on with a hand (0 left, 1 right,
// 2 the tray). canDoAction asks, beginAction starts the action and answers
// its kind (0 serve, 1 fill, 2 take), completeAction is its effect at the
// action point of her arm animation. getDistance measures from a hand point.
#pragma once

#include <zep2/refcount.h>

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
    virtual float getDistance(int x, int y) = 0;
    virtual int beginAction(int nHand) = 0;
    virtual void setHighlight(bool bOn) = 0;
    virtual void setBusy(bool bBusy) = 0;
};

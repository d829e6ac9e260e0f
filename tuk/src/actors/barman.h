// The bar's orders and the barmen who make them.
//
// BarOrders: the first-in, first-out queue of the drinks customers ordered
// through their balloons, each a glass and two liquids. An order is
// outstanding for its customer from the moment it is placed until its mug
// stands on a barman's coaster; a customer who leaves does not cancel it.
//
// Barman: one sprite of "barman.template" at (x, y) with the depth as
// z-order, scaled horizontally by the facing (1 or -1), playing "idle" or
// "work"; added to the owning mode when there is one. A look, when given,
// is the template's parameter (his clothes), cached as "barman" plus the
// look; without one he wears the house's. In a level every
// barman serves the bar's orders (serve, once a frame): an idle barman takes
// the oldest order nobody took and plays "work" for 3 seconds, counted from
// his next update; then he makes the mug (Mug::create of the order's glass,
// its liquids, full), adds it to the level's mug list, puts it on the first
// free barman's coaster in scene order and plays "idle". With no coaster
// free he stands idle and makes the mug once one frees.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "actors/figures.h"
#include "actors/glassspot.h"

class Character;
class PlayMode;

struct BarOrder : public Zep::RefCountedObject {
    Zep::SmartPtr<Character> pCustomer;
    int32_t nBeverage = 0;
    Zep::List<int> lLiquids;
    bool bTaken = false;  // a barman works on it
};

class BarOrders {
public:
    void place(const Zep::SmartPtr<Character>& pCustomer, int nBeverage, const Zep::List<int>& lLiquids);
    // The oldest order no barman took, now taken; null when none.
    Zep::SmartPtr<BarOrder> takeOldest();
    // Its mug was placed: the order is no longer outstanding.
    void finish(const Zep::SmartPtr<BarOrder>& pOrder);
    bool isOutstanding(const Character* pCustomer) const;
    const Zep::List<Zep::SmartPtr<BarOrder>>& getOrders() const { return m_lOrders; }

private:
    Zep::List<Zep::SmartPtr<BarOrder>> m_lOrders;
};

class Barman : public AmbientFigure {
public:
    static constexpr float kWorkSeconds = 3.0f;

    Barman(int x, int y, int nDepth, int nFacing, GameMode* pMode, const Zep::String& sLook = Zep::String());
    static Zep::SmartPtr<Animation> loadAnimation(const Zep::String& sLook);

    // Advances the sprite and serves the level's orders.
    void serve(PlayMode& level, float fDelta);
    Zep::SmartPtr<BarOrder> getOrder() const { return m_pOrder; }
    // The level's first barman's coaster without a mug, in scene order.
    static Zep::SmartPtr<GlassSpot> findFreeSpot(const PlayMode& level);

private:
    void placeDrink(PlayMode& level, GlassSpot& spot);

    Zep::SmartPtr<BarOrder> m_pOrder;
    float m_fWorkTime = 0.0f;
};

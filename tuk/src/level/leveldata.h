// LevelData: the data block of one level, which the play mode hands to every
// actor and to the end-of-day statistics. DayResult: the campaign's progress
// record of one level, owned by the map and filled by the play mode when it
// resumes after the statistics.
#pragma once

#include <cstdint>

#include <zep2/list.h>

#include "actors/characterspot.h"
#include "actors/drinkmachine.h"
#include "actors/mug.h"
#include "actors/waitress.h"

struct LevelData {
    // Set by the level's tuning; the drink machines then take two liquids.
    bool m_bHarderMode = false;
    Zep::SmartPtr<Waitress> m_pWaitress;
    // Every mug in play: the makers of mugs append, the sink and the parrot remove.
    Zep::List<Zep::SmartPtr<Mug>> m_lMugs;
    Zep::List<Zep::SmartPtr<DrinkMachine>> m_lDrinkMachines;
    // The walk band, over which the depth scale of a figure is computed.
    int32_t m_nWalkBandTop = 0;
    int32_t m_nWalkBandBottom = 0;
    // Scene order, the ordinary seats first; a seat with an index of at least
    // m_nOrdinarySpots is a VIP seat.
    Zep::List<Zep::SmartPtr<CharacterSpot>> m_lCharacterSpots;
    int32_t m_nOrdinarySpots = 0;
    // Per seat: 0 ordinary, 1 or 2 the VIP seats of the upgrades.
    Zep::List<int> m_lSeatKinds;
    // Per VIP seat (seat index - m_nOrdinarySpots): +1 facing right, -1 left.
    Zep::List<int> m_lVipDirections;
    // The customers' y and base depth by class ("charspots").
    int32_t m_nCustomerY = 0;
    int32_t m_nCustomerDepth = 0;
    int32_t m_nVipY = 0;
    int32_t m_nVipDepth = 0;
    // Two different liquids per order; switched on during the day.
    bool m_bMixedOrders = false;
    // The liquids the customers may order (0 to 5).
    Zep::List<int> m_lLiquids;
    float m_fBasePatience = 0.0f;  // seconds
    int32_t m_nUpgradeLevel10 = 0;
    int32_t m_nUpgradeLevel11 = 0;
    int32_t m_nUpgradeLevel12 = 0;
    // A customer wants this many drinks or one more (exactly 1 when it is 1).
    int32_t m_nDrinksPerCustomer = 1;
    int32_t m_nDrinkPrice = 100;
    // Scales every state timer of a customer.
    float m_fCustomerPace = 1.0f;
    float m_fTimeBonus = 0.0f;    // seconds
    float m_fTimePenalty = 0.0f;  // seconds
    float m_fDayLength = 0.0f;    // seconds; services and departures change it
    // The day clock stands still while set.
    bool m_bPaused = false;
    bool m_bBarClosed = false;
    // 0 the campaign, 1 relax mode, 2 free play.
    int32_t m_nGameKind = 0;
    int32_t m_nDayMoney = 0;
    int32_t m_nDayStars = 0;
    // Leaving customers that had at least one drink.
    int32_t m_nCustomersServed = 0;
    int32_t m_nDayCustomerCount = 0;
    float m_fTimePlayed = 0.0f;  // seconds of the day clock
    int32_t m_nMoneyGoal = 0;
    // The day clock's schedule, set by the tuning: the time played at which
    // mixed orders switch on (negative: never), the first customer's delay
    // and the time between customers while a seat is free (seconds).
    float m_fMixedOrdersAt = -1.0f;
    float m_fFirstSpawnDelay = 1.0f;
    float m_fSpawnInterval = 6.0f;
    // From the campaign record when the level starts.
    int32_t m_nTotalMoneyBefore = 0;
    int32_t m_nTotalStarsBefore = 0;
    // Written by the statistics, handed to the campaign record on resuming.
    int32_t m_nResultMoney = 0;
    int32_t m_nResultStars = 0;
};

struct DayResult {
    bool bDone = false;
    int32_t nResultMoney = 0;
    int32_t nResultStars = 0;
    int32_t nDayMoney = 0;
    int32_t nDayStars = 0;
    bool bGoalReached = false;
};

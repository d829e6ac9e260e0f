// SpawnManager: seats the level's customers and takes them out again.
//
// Made once the scene's seats are in the level (LevelData's seats, the
// ordinary ones first), with the customer table (customertable.h); a level
// with a VIP seat needs "vip" customers ("Customer table <file> : no "vip"
// customer for the VIP seats").
//
// spawn, when the day clock allows one: a seat is free while no customer
// sits there (a mug standing there does not block it; the seat hands it to
// the newcomer). One free seat is drawn with rand(), then a customer of the
// seat's class ("vip" for a VIP seat, else "normal") with rand() among the
// names not seated now, or among all of the class when every name sits. The
// customer stands at the seat's x (its sprite's, else the seat's point) and
// at the y and base depth of its class (LevelData's "charspots" values),
// facing 1, or the VIP seat's direction (LevelData; 1 when not given); it
// gets the seat's kind (0 when not given), joins the level's customers and
// takes the seat.
//
// Leaving: releaseCustomer frees the seat at once (CharacterSpot::
// releaseCharacter, which stands a held mug back and passes the stars on);
// the customer stays in the level's list, held here, until
// removeLeftCustomers, which the play mode calls after its loop over the
// customers: out of the list and detached from the level.
#pragma once

#include <zep2/list.h>
#include <zep2/refcount.h>

#include "actors/character.h"
#include "actors/characterspot.h"
#include "level/customertable.h"

class PlayMode;

class SpawnManager {
public:
    SpawnManager(PlayMode* pMode, CustomerTable table);
    // The table read from "customers.txt".
    explicit SpawnManager(PlayMode* pMode);
    SpawnManager(const SpawnManager&) = delete;
    SpawnManager& operator=(const SpawnManager&) = delete;

    bool hasFreeSeat() const;
    // The new customer, or null when every seat is taken.
    Zep::SmartPtr<Character> spawn();
    int getSpawnedCount() const { return m_nSpawned; }

    void releaseCustomer(const Zep::SmartPtr<Character>& pCustomer);
    void removeLeftCustomers();
    int getLeftCount() const { return m_lLeft.getCount(); }

    const CustomerTable& getTable() const { return m_table; }

private:
    const Zep::List<Zep::SmartPtr<CharacterSpot>>& seats() const;
    bool isVipSeat(int nSeat) const;
    bool isSeated(const Zep::String& sName) const;
    const CustomerEntry& pickCustomer(bool bVip) const;
    static int seatX(const CharacterSpot& seat);

    PlayMode* m_pMode;  // not owned
    CustomerTable m_table;
    Zep::List<Zep::SmartPtr<Character>> m_lLeft;
    int m_nSpawned = 0;
};

// A player of the first day who sees the bar only through the root
// window's pixels and acts only with pointer clicks, at the points the bar's
// map gives (wholegame_bar.h).
//
// What it sees, each look debounced over two grabs: a seat's balloon (its
// own points differ from the empty bar's), a mug on a barman's coaster (the
// coaster's points that every mug hides no longer show, while the counter
// below it shows as in the empty bar, so the waitress is not standing in
// front), the day's money label (each change is one drink paid) and the
// clock's label (each change is a second of the day).
//
// What it does: one order out at a time, taken by a click on the balloon of
// a calling customer at a point that no other shown balloon covers; the
// next mug the barman stands on a free coaster is that order's. With a mug
// ready and the waitress free, one batch of clicks: the next order, the
// seat's empty glass to the sink when a customer served there before left
// it, the coaster, the seat. The seat's balloon going away is the service.
// A service that has not happened after a while of the day's clock is
// asked for again (the glass left in the customer's hand took her hand).
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "testkit/testkit_xvfb.h"
#include "app/wholegame_bar.h"

namespace wholegame {

class BarPlayer {
public:
    using Shot = testkit::XScreen::Shot;

    // The empty bar as the day opens: the reference of every look.
    BarPlayer(testkit::XScreen& screen, const BarMap& map, Shot empty);

    // One look at the screen and the clicks it calls for.
    void play(const Shot& shot);

    // The day's money as the label counted it: each change is one drink.
    int getTakings() const { return m_nMoneyChanges * kDrinkPrice; }
    int getServed() const { return m_nServed; }
    int getDaySeconds() const { return m_nClockChanges; }
    // What the player saw and did, one line each, with the day's second.
    const std::string& getJournal() const { return m_sJournal; }

    static constexpr int kDrinkPrice = 100;

private:
    struct Seen {
        bool bNow = false;
        int nAgainst = 0;  // looks in a row that said otherwise
        // True when the look changed it.
        bool update(bool bLook);
    };
    struct Order {
        int nSeat = -1;  // -1 once its customer has gone
        int nSince = 0;  // day second of the click
        std::chrono::steady_clock::time_point tSince;
    };
    struct Carry {
        int nSeat = -1, nCoaster = -1;
        int nSince = 0;  // day second of the batch
        int nTries = 0;
        int nMoneyChanges = 0;  // the money label's changes before the batch
        bool bTaken = false;    // the coaster was seen empty since
        std::chrono::steady_clock::time_point tSince;  // for a clock that stands still
    };

    void look(const Shot& shot);
    void lookAtLabels(const Shot& shot);
    void onBalloon(int nSeat);
    void onCoaster(int nCoaster);
    bool balloonShows(const Shot& shot, int nSeat) const;
    bool counterFrontShows(const Shot& shot, int nCoaster) const;
    bool mugShows(const Shot& shot, int nCoaster) const;
    uint64_t labelSum(const Shot& shot, int x0, int x1) const;

    void decide();
    void checkCarry();
    void checkOrder();
    bool startCarry();
    bool orderNext(std::vector<std::pair<int, int>>& vClicks);
    bool clickPointOf(int nSeat, int* pX, int* pY) const;
    void send(const std::vector<std::pair<int, int>>& vClicks);
    void note(const std::string& sLine);

    testkit::XScreen& m_screen;
    BarMap m_map;
    Shot m_empty;

    std::vector<Seen> m_vBalloons;
    std::vector<Seen> m_vMugs;
    std::vector<bool> m_vOrdered;   // the seat's customer has an order out
    std::vector<bool> m_vGlass;     // a served customer left the glass at the seat
    std::vector<bool> m_vGivenUp;   // the seat's customer is not served any more
    std::vector<int> m_vMugFor;     // the seat whose order stands on the coaster, -1
    std::deque<Order> m_qOrders;    // orders out whose mugs have not come, oldest first
    Carry m_carry;

    uint64_t m_nMoneySum = 0, m_nClockSum = 0;
    int m_nMoneyChanges = 0, m_nClockChanges = 0;
    int m_nServed = 0;
    std::string m_sJournal;
};

}  // namespace wholegame

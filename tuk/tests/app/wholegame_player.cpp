// The first day's player (wholegame_player.h).
#include "app/wholegame_player.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace wholegame {

namespace {

// A point shows a balloon where it differs this much from the empty bar.
constexpr int kBalloonDistance = 60;
constexpr float kBalloonShare = 0.5f;
// The counter's front shows as in the empty bar within this.
constexpr int kFrontDistance = 30;
constexpr float kFrontShare = 0.9f;
// A coaster shows when this share of its hidden points shows.
constexpr float kCoasterShare = 0.5f;
// The day's labels: money at (10, 8), the clock at (700, 8), one line high.
constexpr int kLabelTop = 8, kLabelBottom = 36;
constexpr int kMoneyLeft = 10, kMoneyRight = 228;
constexpr int kClockLeft = 700, kClockRight = 790;
// Orders out at once, and the seconds of the day a batch may take before
// the service is asked for again (walks of the whole bar take under 8), or
// failing the clock (it stands still once the bar closes) this long.
constexpr size_t kOrdersOut = 1;
constexpr int kCarrySeconds = 14;
constexpr auto kCarryWait = std::chrono::seconds(90);
constexpr int kCarryTries = 3;
// An order's mug comes within three seconds of the barman's work once the
// waitress has taken the mug before it (under eight seconds of walking).
constexpr int kOrderSeconds = 16;
constexpr auto kOrderWait = std::chrono::seconds(120);
// The pointer rests on a target this long before its press, and between
// clicks where it draws nothing of the bar's.
constexpr int kTapHoverMilliseconds = 120;
constexpr int kRestX = 796, kRestY = 596;
constexpr int kOrphan = -1;

}  // namespace

bool BarPlayer::Seen::update(bool bLook) {
    if (bLook == bNow) {
        nAgainst = 0;
        return false;
    }
    if (++nAgainst < 2) return false;
    bNow = bLook;
    nAgainst = 0;
    return true;
}

BarPlayer::BarPlayer(testkit::XScreen& screen, const BarMap& map, Shot empty)
    : m_screen(screen),
      m_map(map),
      m_empty(std::move(empty)),
      m_vBalloons(map.vSeats.size()),
      m_vMugs(map.vCoasters.size()),
      m_vOrdered(map.vSeats.size(), false),
      m_vGlass(map.vSeats.size(), false),
      m_vGivenUp(map.vSeats.size(), false),
      m_vMugFor(map.vCoasters.size(), kOrphan) {
    m_nMoneySum = labelSum(m_empty, kMoneyLeft, kMoneyRight);
    m_nClockSum = labelSum(m_empty, kClockLeft, kClockRight);
}

void BarPlayer::play(const Shot& shot) {
    look(shot);
    decide();
}

// ---- Looking ---------------------------------------------------------------------------------

bool BarPlayer::balloonShows(const Shot& shot, int nSeat) const {
    const Points& vPoints = m_map.vSeats[static_cast<size_t>(nSeat)].vBalloonPoints;
    size_t n = 0;
    for (const auto& [x, y] : vPoints) n += distance(shot.at(x, y), m_empty.at(x, y)) >= kBalloonDistance ? 1 : 0;
    return !vPoints.empty() && static_cast<float>(n) >= kBalloonShare * static_cast<float>(vPoints.size());
}

bool BarPlayer::counterFrontShows(const Shot& shot, int nCoaster) const {
    const Points& vPoints = m_map.vCoasters[static_cast<size_t>(nCoaster)].vFront;
    size_t n = 0;
    for (const auto& [x, y] : vPoints) n += distance(shot.at(x, y), m_empty.at(x, y)) <= kFrontDistance ? 1 : 0;
    return static_cast<float>(n) >= kFrontShare * static_cast<float>(vPoints.size());
}

bool BarPlayer::mugShows(const Shot& shot, int nCoaster) const {
    return patchShare(shot, m_map.vCoasters[static_cast<size_t>(nCoaster)].covered) < kCoasterShare;
}

uint64_t BarPlayer::labelSum(const Shot& shot, int x0, int x1) const {
    uint64_t n = 0;
    for (int y = kLabelTop; y < kLabelBottom; ++y)
        for (int x = x0; x < x1; ++x) n = n * 1099511628211ull + shot.at(x, y);
    return n;
}

void BarPlayer::look(const Shot& shot) {
    lookAtLabels(shot);
    for (size_t i = 0; i < m_vBalloons.size(); ++i)
        if (m_vBalloons[i].update(balloonShows(shot, static_cast<int>(i)))) onBalloon(static_cast<int>(i));
    for (size_t j = 0; j < m_vMugs.size(); ++j)
        if (counterFrontShows(shot, static_cast<int>(j)) && m_vMugs[j].update(mugShows(shot, static_cast<int>(j))))
            onCoaster(static_cast<int>(j));
}

void BarPlayer::lookAtLabels(const Shot& shot) {
    const uint64_t nMoney = labelSum(shot, kMoneyLeft, kMoneyRight), nClock = labelSum(shot, kClockLeft, kClockRight);
    if (nMoney != m_nMoneySum) {
        m_nMoneySum = nMoney;
        ++m_nMoneyChanges;
        note("money label changed: takings " + std::to_string(getTakings()));
    }
    if (nClock != m_nClockSum) {
        m_nClockSum = nClock;
        ++m_nClockChanges;
    }
}

void BarPlayer::onBalloon(int nSeat) {
    const size_t s = static_cast<size_t>(nSeat);
    if (m_vBalloons[s].bNow) {
        note("seat " + std::to_string(nSeat) + " calls");
        return;
    }
    note("seat " + std::to_string(nSeat) + "'s balloon gone");
    m_vOrdered[s] = false;
    m_vGivenUp[s] = false;
    // An order out for a customer who is gone: its mug is nobody's.
    for (Order& order : m_qOrders)
        if (order.nSeat == nSeat) order.nSeat = kOrphan;
    for (int& nFor : m_vMugFor)
        if (nFor == nSeat && m_carry.nSeat != nSeat) nFor = kOrphan;
}

// A mug that comes is the oldest order's.
void BarPlayer::onCoaster(int nCoaster) {
    const size_t j = static_cast<size_t>(nCoaster);
    if (!m_vMugs[j].bNow) {
        note("coaster " + std::to_string(nCoaster) + " empty");
        if (m_carry.nCoaster == nCoaster) m_carry.bTaken = true;
        return;
    }
    m_vMugFor[j] = kOrphan;
    if (!m_qOrders.empty()) {
        m_vMugFor[j] = m_qOrders.front().nSeat;
        m_qOrders.pop_front();
    }
    note("mug on coaster " + std::to_string(nCoaster) + " for seat " + std::to_string(m_vMugFor[j]));
}

// ---- Deciding --------------------------------------------------------------------------------

void BarPlayer::decide() {
    checkCarry();
    checkOrder();
    if (m_carry.nSeat < 0 && startCarry()) return;
    std::vector<std::pair<int, int>> vClicks;
    if (m_carry.nSeat < 0 && m_qOrders.size() < kOrdersOut && orderNext(vClicks)) send(vClicks);
}

void BarPlayer::checkCarry() {
    if (m_carry.nSeat < 0) return;
    const size_t nSeat = static_cast<size_t>(m_carry.nSeat);
    if (!m_vBalloons[nSeat].bNow) {
        // Paid: the money label changed since the batch; else the customer left.
        const bool bPaid = m_nMoneyChanges > m_carry.nMoneyChanges;
        m_nServed += bPaid ? 1 : 0;
        m_vGlass[nSeat] = bPaid;
        note((bPaid ? "served seat " : "seat left unserved: ") + std::to_string(m_carry.nSeat) + " (" +
             std::to_string(m_nServed) + " served)");
        m_carry = Carry();
        return;
    }
    const bool bLate = m_nClockChanges - m_carry.nSince >= kCarrySeconds ||
                       std::chrono::steady_clock::now() - m_carry.tSince >= kCarryWait;
    if (!bLate) return;
    m_carry.tSince = std::chrono::steady_clock::now();
    m_carry.nSince = m_nClockChanges;
    if (++m_carry.nTries > kCarryTries) {
        note("seat " + std::to_string(m_carry.nSeat) + " given up");
        m_vGivenUp[nSeat] = true;
        m_carry = Carry();
        return;
    }
    const BarSeat& seat = m_map.vSeats[nSeat];
    const BarCoaster& coaster = m_map.vCoasters[static_cast<size_t>(m_carry.nCoaster)];
    note("seat " + std::to_string(m_carry.nSeat) + " not served yet: asked again");
    // Still on its coaster: fetched again; else she holds it, and maybe the
    // glass the customer held, which goes to the sink after the service.
    if (!m_carry.bTaken && m_vMugs[static_cast<size_t>(m_carry.nCoaster)].bNow)
        send({{coaster.nClickX, coaster.nClickY}, {seat.nClickX, seat.nClickY}});
    else
        send({{seat.nClickX, seat.nClickY}, {m_map.nSinkX, m_map.nSinkY}});
}

// An order whose mug has not come long after the barman's three seconds was
// not taken (a click that met another balloon's edge): it may be asked for
// again.
void BarPlayer::checkOrder() {
    if (m_qOrders.empty()) return;
    const Order& order = m_qOrders.front();
    if (m_nClockChanges - order.nSince < kOrderSeconds && std::chrono::steady_clock::now() - order.tSince < kOrderWait)
        return;
    note("no mug came for the order of seat " + std::to_string(order.nSeat));
    if (order.nSeat >= 0) m_vOrdered[static_cast<size_t>(order.nSeat)] = false;
    m_qOrders.pop_front();
}

// A mug ready for a customer who still calls: the batch that serves it.
bool BarPlayer::startCarry() {
    for (size_t j = 0; j < m_vMugFor.size(); ++j) {
        const int nSeat = m_vMugFor[j];
        if (nSeat < 0 || !m_vMugs[j].bNow) continue;
        const size_t s = static_cast<size_t>(nSeat);
        if (!m_vBalloons[s].bNow || m_vGivenUp[s]) continue;
        std::vector<std::pair<int, int>> vClicks;
        const BarSeat& seat = m_map.vSeats[s];
        if (m_vGlass[s]) {
            vClicks.push_back({seat.nClickX, seat.nClickY});
            vClicks.push_back({m_map.nSinkX, m_map.nSinkY});
        }
        vClicks.push_back({m_map.vCoasters[j].nClickX, m_map.vCoasters[j].nClickY});
        // The next order goes out once she holds this mug, so that the
        // barman's next one comes to a coaster she has left.
        if (m_qOrders.size() < kOrdersOut) orderNext(vClicks);
        vClicks.push_back({seat.nClickX, seat.nClickY});
        note("carry coaster " + std::to_string(j) + " to seat " + std::to_string(nSeat) +
             (m_vGlass[s] ? ", its glass to the sink first" : ""));
        m_vGlass[s] = false;
        m_vMugFor[j] = kOrphan;
        m_carry = Carry{nSeat, static_cast<int>(j), m_nClockChanges, 0, m_nMoneyChanges, false,
                        std::chrono::steady_clock::now()};
        send(vClicks);
        return true;
    }
    return false;
}

// The customer calling longest whose balloon can be clicked alone.
bool BarPlayer::orderNext(std::vector<std::pair<int, int>>& vClicks) {
    for (size_t s = 0; s < m_vBalloons.size(); ++s) {
        if (!m_vBalloons[s].bNow || m_vOrdered[s] || m_vGivenUp[s]) continue;
        int x = 0, y = 0;
        if (!clickPointOf(static_cast<int>(s), &x, &y)) continue;
        m_vOrdered[s] = true;
        m_qOrders.push_back(Order{static_cast<int>(s), m_nClockChanges, std::chrono::steady_clock::now()});
        vClicks.push_back({x, y});
        note("order of seat " + std::to_string(s) + " taken at " + std::to_string(x) + "," + std::to_string(y));
        return true;
    }
    return false;
}

// A point of the seat's balloon, whatever its pulse, outside every other
// balloon that shows or is coming: there the click can only be its own.
bool BarPlayer::clickPointOf(int nSeat, int* pX, int* pY) const {
    const BarSeat& seat = m_map.vSeats[static_cast<size_t>(nSeat)];
    const Box inner{seat.balloon.nLeft + seat.nPulseX, seat.balloon.nTop + seat.nPulseTop,
                    seat.balloon.nRight - seat.nPulseX, seat.balloon.nBottom - seat.nPulseBottom};
    std::vector<Box> vOthers;
    for (size_t i = 0; i < m_map.vSeats.size(); ++i) {
        const BarSeat& other = m_map.vSeats[i];
        if (static_cast<int>(i) == nSeat || (!m_vBalloons[i].bNow && m_vBalloons[i].nAgainst == 0)) continue;
        vOthers.push_back({other.balloon.nLeft - other.nPulseX, other.balloon.nTop - other.nPulseTop,
                           other.balloon.nRight + other.nPulseX, other.balloon.nBottom + other.nPulseBottom});
    }
    int nBest = 0;
    for (int y = inner.nTop; y < inner.nBottom; y += 2)
        for (int x = inner.nLeft; x < inner.nRight; x += 2) {
            int nClear = std::min({x - inner.nLeft, inner.nRight - 1 - x, y - inner.nTop, inner.nBottom - 1 - y});
            for (const Box& other : vOthers) {
                if (other.contains(x, y)) nClear = -1;
                const int dx = std::max(other.nLeft - x, x - (other.nRight - 1));
                const int dy = std::max(other.nTop - y, y - (other.nBottom - 1));
                nClear = std::min(nClear, std::max(dx, dy));
            }
            if (nClear > nBest) {
                nBest = nClear;
                *pX = x;
                *pY = y;
            }
        }
    return nBest >= 2;
}

// ---- Acting ----------------------------------------------------------------------------------

void BarPlayer::send(const std::vector<std::pair<int, int>>& vClicks) {
    for (const auto& [x, y] : vClicks) {
        m_screen.moveTo(x, y);
        std::this_thread::sleep_for(std::chrono::milliseconds(kTapHoverMilliseconds));
        m_screen.click(x, y);
    }
    m_screen.moveTo(kRestX, kRestY);
}

void BarPlayer::note(const std::string& sLine) {
    m_sJournal.append("[").append(std::to_string(m_nClockChanges)).append(" s] ").append(sLine).append("\n");
}

}  // namespace wholegame

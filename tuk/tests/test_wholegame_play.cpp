// A day played to a win in the real window: the built program under its own
// X server, the waitress sent by clicks at the points where the bar scene
// places the customers' balloons, the barman's coasters and the seats, and
// every one of them watched against the empty bar grabbed as the day opens.
// After the win the map opens the store; the player leaves it, quits, and
// the settings file keeps the day's money and the progress.
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "records_util.h"
#include "wholegame_util.h"

namespace {

using namespace wholegame;
using Clock = std::chrono::steady_clock;

// The bar's wall and windows, above every figure.
const Look kBar{"bar_room", 0, 0, grid(240, 40, 500, 150, 30)};

// An ordinary seat: a band across the top of its customer's balloon that no
// other seat's balloon covers and no order icon reaches (the balloon stands
// over the seat, raised by its picture's insertion point), and where the
// seat is clicked.
struct Seat {
    int nBandLeft, nBandRight, nBandY;
    int nSeatX, nSeatY;
};
constexpr Seat kSeats[] = {{528, 566, 98, 560, 300}, {590, 628, 90, 620, 300}, {682, 720, 90, 680, 300},
                           {740, 772, 98, 740, 300}};
constexpr int kBandPoints = 5;
// The barman's coasters: a mug stands on each, its bottom on the coaster's
// centre, and shows the blue-grey rim of its glass.
constexpr int kCoasterX[] = {50, 100, 150};
constexpr int kCoasterY = 322;
constexpr uint32_t kGlassRim = 0x7FA9BC;
constexpr int kMugRimPixels = 40;
// The sink, where the waitress leaves the empty mugs she collected.
constexpr int kSinkX = 290, kSinkY = 330;
// A customer waits this long at most before leaving.
constexpr int kServeMilliseconds = 50000;
// A step the waitress has not taken after this long is asked for again.
constexpr int kRetryMilliseconds = 8000;

// How many points of the seat's band show a balloon's pale fill where the
// empty bar showed something else.
int balloonPoints(const Shot& shot, const Shot& empty, const Seat& seat) {
    int n = 0;
    for (int i = 0; i < kBandPoints; ++i) {
        const int x = seat.nBandLeft + (seat.nBandRight - seat.nBandLeft) * i / (kBandPoints - 1);
        const uint32_t c = shot.at(x, seat.nBandY);
        n += brightness(c) >= 600 && distance(c, empty.at(x, seat.nBandY)) >= 60 ? 1 : 0;
    }
    return n;
}

// The mug's rim pixels over the coaster.
int rimPixels(const Shot& shot, int x0) {
    int n = 0;
    for (int y = kCoasterY - 42; y < kCoasterY + 10; ++y)
        for (int x = x0 - 16; x <= x0 + 16; ++x) n += distance(shot.at(x, y), kGlassRim) < 45 ? 1 : 0;
    return n;
}

// The statistics' title of a won day stands centred in the panel; its OK,
// once enabled, is a light orange.
constexpr int kOkX = 400, kOkY = 403;
constexpr uint32_t kOkEnabled = 0xDDA15E;
bool okEnabled(const Shot& shot) {
    const uint32_t n = shot.at(300, 395);
    return distance(n, kOkEnabled) < 30;
}
// The store and its Back button.
const Look kStore{"upgrade_store", 0, 0, grid(20, 30, 460, 180, 40)};
constexpr int kBackX = 660, kBackY = 548;
// The longest day, with the customers' last walk out.
constexpr int kDaySeconds = 200;

class XvfbWonDay : public GameRun {
protected:
    XvfbWonDay() : GameRun("wonday") {}

    // A click without waiting for its effect.
    void tap(int x, int y) {
        m_screen.moveTo(x, y);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        m_screen.click(x, y);
        m_screen.moveTo(kRestX, kRestY);
    }

    // The won day's title somewhere near the top of the statistics' panel.
    bool findWon(const Shot& shot) {
        Look title{"youwin", 0, 0, {}};
        const Zep::SmartPtr<Image> pPicture = m_pictures.getImage(title.szPicture);
        const int w = pPicture->getWidth(), h = pPicture->getHeight();
        for (int top = 150; top < 230; ++top)
            for (int left = 400 - w / 2 - 3; left <= 400 - w / 2 + 3; ++left) {
                title.nLeft = left;
                title.nTop = top;
                title.vPoints = grid(left + 4, top + 4, left + w - 4, top + h - 4, 12);
                if (shows(shot, title)) return true;
            }
        return false;
    }


    // A seat whose customer calls, other than nBusy; -1 when none does.
    int callingSeat(const Shot& shot, int nBusy) {
        for (int i = 0; i < 4; ++i)
            if (i != nBusy && balloonPoints(shot, m_empty, kSeats[i]) == kBandPoints) return i;
        return -1;
    }
    // The balloon has stayed away for three grabs in a row.
    bool gone(const Shot& shot, int nSeat) {
        m_anGone[nSeat] = balloonPoints(shot, m_empty, kSeats[nSeat]) == 0 ? m_anGone[nSeat] + 1 : 0;
        return m_anGone[nSeat] >= 3;
    }
    bool mugOn(const Shot& shot, int nCoaster) { return rimPixels(shot, kCoasterX[nCoaster]) >= kMugRimPixels; }
    bool late(Clock::time_point t) { return Clock::now() - t > std::chrono::milliseconds(kRetryMilliseconds); }

    // One order out at a time, and one mug on its way: the next customer's
    // order is taken while the waitress carries the last one's mug, so the
    // mug that comes to a coaster is always the order's. A click sent while
    // she walks waits for her; a coaster clicked again once she holds its mug
    // would take it back, so a coaster is clicked again only while its mug
    // still stands there.
    void playStep(const Shot& shot) {
        if (m_nCarrySeat >= 0) carryStep(shot);
        if (m_nOrderSeat >= 0) return orderStep(shot);
        m_nOrderSeat = callingSeat(shot, m_nCarrySeat);
        if (m_nOrderSeat < 0) return;
        for (int i = 0; i < 3; ++i) m_abFull[i] = mugOn(shot, i);
        m_anGone[m_nOrderSeat] = 0;
        tap(balloonX(m_nOrderSeat), balloonY(m_nOrderSeat));
        m_tOrder = Clock::now();
    }
    void orderStep(const Shot& shot) {
        if (gone(shot, m_nOrderSeat)) {
            m_nOrderSeat = -1;
            return;
        }
        int nCoaster = -1;
        for (int i = 0; i < 3 && nCoaster < 0; ++i)
            if (!m_abFull[i] && mugOn(shot, i)) nCoaster = i;
        if (nCoaster >= 0 && m_nCarrySeat < 0) {
            m_nCarrySeat = std::exchange(m_nOrderSeat, -1);
            m_nCarryCoaster = nCoaster;
            tap(kCoasterX[nCoaster], kCoasterY);
            tap(kSeats[m_nCarrySeat].nSeatX, kSeats[m_nCarrySeat].nSeatY);
            m_tCarry = Clock::now();
        } else if (nCoaster < 0 && late(m_tOrder)) {
            tap(balloonX(m_nOrderSeat), balloonY(m_nOrderSeat));
            m_tOrder = Clock::now();
        }
    }
    void carryStep(const Shot& shot) {
        if (gone(shot, m_nCarrySeat)) {
            ++m_nServed;
            m_nCarrySeat = -1;
            tap(kSinkX, kSinkY);
        } else if (late(m_tCarry)) {
            if (mugOn(shot, m_nCarryCoaster)) tap(kCoasterX[m_nCarryCoaster], kCoasterY);
            tap(kSeats[m_nCarrySeat].nSeatX, kSeats[m_nCarrySeat].nSeatY);
            m_tCarry = Clock::now();
        }
    }
    static int balloonX(int nSeat) { return (kSeats[nSeat].nBandLeft + kSeats[nSeat].nBandRight) / 2; }
    static int balloonY(int nSeat) { return kSeats[nSeat].nBandY + 10; }

    int m_nOrderSeat = -1, m_nCarrySeat = -1, m_nCarryCoaster = -1;
    bool m_abFull[3] = {};
    int m_anGone[4] = {};
    Clock::time_point m_tOrder, m_tCarry;
    int m_nServed = 0;
    Shot m_empty;
    int m_nShots = 0;
};

}  // namespace

TEST_F(XvfbWonDay, AWonDayOpensTheStoreAndTheSettingsFileKeepsItsMoneyAndProgress) {
    ASSERT_TRUE(m_server.isRunning());
    for (const Look* pLook :
         {&kSplashFirst, &kSplashSecond, &kMenuTiles, &kMenu, &kStory1, &kStory1a, &kMap, &kBar, &kStore})
        ASSERT_GE(opaquePoints(*pLook), 3) << pLook->szPicture;
    ASSERT_TRUE(m_screen.isOpen());
    start();

    // Splash, forced profile, a new adventure and its cut-scene, the map.
    ASSERT_TRUE(reachMenuAs("ann"));
    click(100, 448, showing(kMenu));
    ASSERT_TRUE(waitFor("cut-scene historieta_1", showing(kStory1)));
    click(400, 540, showing(kStory1));
    ASSERT_TRUE(waitFor("cut-scene historieta_1a", showing(kStory1a)));
    click(400, 540, showing(kStory1a));
    ASSERT_TRUE(waitFor("map", showing(kMap)));

    // Play: the day opens on the empty bar.
    click(602, 562, showing(kMap));
    ASSERT_TRUE(waitFor("bar", showing(kBar)));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    m_empty = m_screen.grab();
    const auto tDayEnd = Clock::now() + std::chrono::seconds(kDaySeconds);
    while (Clock::now() < tDayEnd) {
        const Shot shot = m_screen.grab();
        if (!shows(shot, kBar)) break;
        playStep(shot);
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
    }
    EXPECT_GE(m_nServed, 4);

    // The statistics of a won day, counted up before their OK takes a click.
    ASSERT_TRUE(waitFor("statistics of a won day", [this](const Shot& shot) { return findWon(shot); }));
    ASSERT_TRUE(waitFor("statistics counted up", [](const Shot& shot) { return okEnabled(shot); }));
    click(kOkX, kOkY, [this](const Shot& shot) { return findWon(shot); });

    // The map opens the store after a won day; Back leads to the map, Menu to
    // the menu, and the quit is confirmed with Return.
    ASSERT_TRUE(waitFor("store", showing(kStore)));
    click(kBackX, kBackY, showing(kStore));
    ASSERT_TRUE(waitFor("map after the store", showing(kMap)));
    click(712, 562, showing(kMap));
    ASSERT_TRUE(waitFor("menu after the map", showing(kMenu)));
    click(730, 510, showing(kMenu));
    ASSERT_TRUE(waitFor("exit confirmation", settledDimmed(kMenu)));
    EXPECT_EQ(confirmQuit(), 0) << testkit::readFileBytes(dataFile("tuk.log"));

    // The record: no upgrade, the day's money kept, the adventure under way
    // at medium difficulty with its first day won.
    m_pictures.readSettingsFile(dataFile("tukconfig.dat").c_str());
    EXPECT_STREQ(m_pictures.getSetting("CurrentPlayerName").c_str(), "ann");
    using namespace recordtest;
    const std::string sBytes = settingBytes(m_pictures);
    const std::string sHead = le32(2) + std::string(13 * 4, '\0') + le32(400) + std::string(1, '\1');
    const size_t nAt = sBytes.find(sHead);
    ASSERT_NE(nAt, std::string::npos);
    ASSERT_GE(sBytes.size(), nAt + sHead.size() + 16);
    EXPECT_EQ(sBytes.substr(nAt + sHead.size() + 8, 8), le32s({1, 1}));  // difficulty, progress
}

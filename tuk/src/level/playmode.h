// PlayMode: the level. It owns the level's data block (LevelData), its
// actors' lists and the waitress's command queue, and every actor reaches the
// level through it.
//
// Entering (onEnter): a loading box (loadingdialog.h) with the text of
// "TipToExit" as its hint is pushed over the level, which hides itself; the
// level is built unpaced (frame rate 0, loadLevel), then paced at 100 frames
// a second, the box told to finish and the level shown again.
//
// loadLevel: the player's upgrade levels 10 to 12 and, in the campaign, the
// totals before the day (working score slots 0 and 1) into the level data,
// the results 0; the waitress "char0_odile" at (400, 620) with the tray the
// player bought (UpgradeManager::effectValue of kind 0: 2, 4 or 6 items);
// the scene; the tuning (setLevelDifficulty); the spawn manager with
// "customers.txt" (spawnmanager.h); the HUD (levelhud.h); startDay.
// startDay queues "char0_odile.template" for preloading, builds her figure
// from it with her capacity, plays the scene's soundtrack (looping) and
// starts the day clock.
//
// Frame order (onUpdate): 1 the cursor shown when it is hidden (the loading
// box hides it in its last update); 2 the day clock and spawning; 3 the
// customers, over a snapshot of their list, and then those that left taken
// out of the level; 4 the mugs; 5 the command queue; 6 the path-walk step; 7
// the waitress; 8 the drink machines; 9 the barmen, who serve the bar's
// orders; 10 the ambient figures, the scene's animated sprites and its
// emitters; 11 the parrot; 12 one pending click; 13 the hover highlight; 14
// the HUD; 15 the day-over check.
//
// Day clock (from startDay on): unless the level is paused or the bar is
// closed, the time played grows by dt, and mixed orders switch on once it
// reaches the tuning's time for them (every customer then orders again). The
// first customer comes after the tuning's first delay, then one each spawn
// interval of time during which a seat was free, up to the day's customer
// count. The bar closes when the time played reaches the day length, or when
// the day's count has come and no customer is left: closeBar tells every
// customer once, and no one comes any more. Once the bar is closed and no
// customer is left, exactly once, the resume state becomes day over and the
// statistics (gamestatsmode.h) are pushed with the level data and the
// campaign's progress record.
//
// Customers: a customer that is gone hands itself to onCustomerLeaving: it
// counts as served when it had a drink and the spawn manager frees its seat
// (the seat of its index without one); it leaves the character list and the
// level (Character::detach) after the frame's loop over the customers.
// closeBar tells every customer the day is over; setMixedOrders switching
// on gives the customers at the menu, calling or waiting a new order.
//
// Clicks (left button only): every click listener is asked for its priority
// at the point, in registration order; the highest wins (-1 misses), the
// earlier one on a tie, and the press is consumed. When canTakeClick holds,
// the click is dispatched at once: the command queue is cleared, then the
// listener's onClick(x, y, 0). Otherwise queueClick keeps it, up to six; a
// seventh is dropped. Each frame, after the waitress's update, the oldest
// pending click is dispatched once she can take it. A pending click whose
// listener was removed is dropped (removeClickListener drops it at once).
// Hover: each frame the action target that would get a click at the mouse
// position is highlighted, and the one before is not (coasters and seats
// pass it to their mug).
//
// Escape and the options button (id 30) open the game's options
// (TUKGameOptions: continue id 2, exit id 1). Callbacks: 2 nothing; 1 in the
// campaign leaves the level at once behind a fade to black (the progress
// record not done), in the other game kinds ends the day as above (day over,
// statistics); 20 opens the store (StoreMode with the player and the scene)
// behind a fade to black.
//
// Resuming (onResume): the waitress's size follows her place again. When the
// resume state is day over, once: the progress record gets the day's result
// (done; the result money and stars the statistics wrote, the day's money and
// stars, whether the day's money reached the goal) and the level leaves
// behind a fade to black. A game that ends over the statistics (onAppQuit,
// the statistics having written their results first) hands the day over
// the same way, once, without leaving.
//
// Command queue: one command is current at a time. Each frame the current
// command is asked whether it is done; while it is not, nothing more runs.
// A done command is dropped and, in the same frame, the next queued one
// becomes current and is executed at once.
//
// Path walk: walkWaitressTo gives her the waypoints of the walk areas' path
// (walkareas.h); each frame stepWaitressWalk heads her for the next one (east
// or west while x remains, then north or south; the other axis blended in
// while both remain), never past it on either axis, and takes the next
// waypoint once she is within 2 pixels of it on both axes. She leaves a door
// standing on it, so that the next leg starts inside both its areas. After
// the last waypoint the walk stops. A target that no walk area holds is
// first moved to the areas' nearest point. A target within 5 pixels of her on
// both axes, or with no path to it, starts no walk. While a walk lasts, the walk
// marker ("walk_marker") stands at its target, one below the depth of the
// target's walk area.
//
// Using a target (useTarget, the last command of a click): with a tray the
// waitress acts with hand 2 only; with hands she tries the hand nearer to the
// target first (by the target's distance from each hand point; hand 0 on a
// tie). The first hand the target accepts and she can start with acts. When
// none does, the hinted arm shows its resting pose and "sfx_game_cantdo"
// plays, whatever the target: a refused click is always heard.
//
// Leaving the level: removeMug takes a mug out of the mug list and off the
// screen (Mug::detach); customers detach as they leave. When the level ends,
// the command queue and the pending clicks are cleared, then the customers,
// the mugs, the waitress, the spots, the machines, the barmen, the parrot
// and the figures leave the level, each taking its sprites out of the mode,
// and only then the mode's own sprites go. Nothing reaches the mode from a
// destructor.
//
// Popups, kept in a list in the order shown besides: money, the picture
// "popup_money" rising 40 pixels and fading out in one second, with
// "sfx_game_number"; stars, "m_star.anim" at the seat's point rising 80
// pixels in one second, with "sfx_game_star" (nothing for no stars or in
// game kind 1); time, a label of the text in the colour, rising 30 pixels
// and fading out over the given seconds. Each leaves the mode at its end.
#pragma once

#include <cstdint>
#include <memory>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "actors/actionspot.h"
#include "actors/barman.h"
#include "actors/character.h"
#include "base/color.h"
#include "level/command.h"
#include "actors/figures.h"
#include "actors/glassspot.h"
#include "level/levelhud.h"
#include "level/leveldata.h"
#include "actors/parrot.h"
#include "base/rect.h"
#include "level/scenereader.h"
#include "level/spawnmanager.h"
#include "actors/trashbin.h"
#include "records/tukmode.h"
#include "level/walkareas.h"

class TUKPlayer;

class PlayMode : public TUKMode {
public:
    enum { kQuitId = 1, kContinueId = 2, kStoreId = 20, kOptionsId = LevelHud::kOptionsId };
    enum ResumeState { kPlaying = 0, kDayOver = 1 };
    static constexpr int kFrameRate = 100;
    static constexpr int kMaxPendingClicks = 6;
    static constexpr int kWaitressX = 400, kWaitressY = 620;
    static constexpr const char* kWaitressName = "char0_odile";
    static constexpr const char* kWaitressTemplate = "char0_odile.template";
    static constexpr int kPopupZOrder = 4000;

    // One popup as shown: a money popup at (x, y); a star bonus of nValue
    // stars for seat nSpot; a time popup of sText at (x, y) in the colour for
    // fSeconds.
    struct Popup {
        enum Kind { kMoney, kStars, kTime };
        Kind eKind = kMoney;
        int32_t x = 0;
        int32_t y = 0;
        int32_t nSpot = -1;
        int32_t nValue = 0;
        Zep::String sText;
        Color color;
        float fSeconds = 0.0f;
    };

    // The player record (not owned), the campaign's progress record (not
    // owned), the scene, the level's number, the game kind and the difficulty.
    PlayMode(TUKPlayer* pPlayer, DayResult* pResult, const char* szSceneName, int nLevel, int nGameKind,
             int nDifficulty);
    ~PlayMode() override;

    // ---- The level's life (playmode_level.cpp) ----
    void onEnter() override;
    void onUpdate(float fDelta) override;
    void onResume() override;
    void onAppQuit() override;
    void onCallback(int nId, void* pData) override;
    bool onKeyDown(int nKey, int nModifiers) override;
    bool onMouseDown(int nButtonMask, int x, int y) override;
    void loadLevel();
    void startDay();
    int getResumeState() const { return m_eResumeState; }
    // Null before loadLevel.
    LevelHud* getHud() const { return m_pHud.get(); }

    LevelData& getLevelData() { return m_levelData; }
    int getGameKind() const { return m_levelData.m_nGameKind; }
    TUKPlayer* getPlayer() const { return m_pPlayer; }
    DayResult* getDayResult() const { return m_pDayResult; }
    const Zep::String& getSceneName() const { return m_sSceneName; }
    int getLevel() const { return m_nLevel; }
    int getDifficulty() const { return m_nDifficulty; }

    // ---- The scene ----
    // Reads the scene with the player's upgrade levels (none without a
    // player) into the level (scenereader.h); SceneParserException when the
    // scene is not a level.
    void loadScene();
    SceneObjects& getScene() { return m_scene; }

    // ---- The level's lists (removing what is not listed does nothing) ----
    void addCharacter(Zep::SmartPtr<Character> pCharacter) { m_lCharacters.add(pCharacter); }
    void removeCharacter(Zep::SmartPtr<Character> pCharacter);
    const Zep::List<Zep::SmartPtr<Character>>& getCharacters() const { return m_lCharacters; }
    void addGlassSpot(Zep::SmartPtr<GlassSpot> pSpot) { m_lGlassSpots.add(pSpot); }
    void removeGlassSpot(Zep::SmartPtr<GlassSpot> pSpot);
    const Zep::List<Zep::SmartPtr<GlassSpot>>& getGlassSpots() const { return m_lGlassSpots; }
    void addActionTarget(Zep::SmartPtr<IActionTarget> pTarget) { m_lActionTargets.add(pTarget); }
    void removeActionTarget(Zep::SmartPtr<IActionTarget> pTarget);
    const Zep::List<Zep::SmartPtr<IActionTarget>>& getActionTargets() const { return m_lActionTargets; }
    // Listeners are not owned; they remove themselves before they go.
    void addClickListener(IClickListener* pListener) { m_lClickListeners.add(pListener); }
    void removeClickListener(IClickListener* pListener);
    const Zep::List<IClickListener*>& getClickListeners() const { return m_lClickListeners; }
    // The first click listener that is a sink, or null.
    Zep::SmartPtr<TrashBin> findTrashBin() const;

    // ---- Drink makers, figures and the parrot ----
    void addBarman(Zep::SmartPtr<Barman> pBarman) { m_lBarmen.add(pBarman); }
    const Zep::List<Zep::SmartPtr<Barman>>& getBarmen() const { return m_lBarmen; }
    BarOrders& getOrders() { return m_orders; }
    void addFigure(Zep::SmartPtr<AmbientFigure> pFigure) { m_lFigures.add(pFigure); }
    const Zep::List<Zep::SmartPtr<AmbientFigure>>& getFigures() const { return m_lFigures; }
    void setParrot(Zep::SmartPtr<Parrot> pParrot) { m_pParrot = pParrot; }
    Zep::SmartPtr<Parrot> getParrot() const { return m_pParrot; }

    // ---- Customers and the day clock (playmode_day.cpp) ----
    // Null before loadLevel, unless set.
    void setSpawnManager(std::unique_ptr<SpawnManager> pSpawner) { m_pSpawner = std::move(pSpawner); }
    SpawnManager* getSpawnManager() const { return m_pSpawner.get(); }
    bool isDayRunning() const { return m_bDayRunning; }
    bool isStatisticsPushed() const { return m_bStatisticsPushed; }
    void onCustomerLeaving(Zep::SmartPtr<Character> pCharacter);
    // Sets the bar-closed flag and tells every customer.
    void closeBar();
    void setMixedOrders(bool bMixed);

    // Out of the level's mug list, its sprites out of the mode.
    void removeMug(const Zep::SmartPtr<Mug>& pMug);

    // ---- Walk areas, preferred lines and the path walk ----
    // Also widens the level's walk band.
    void addWalkArea(const Rect& rect, int nDepth);
    void addPreferredLine(bool bVertical, int nValue, const Rect& rect, int nHeadingMask) {
        m_walkAreas.addPreferredLine(bVertical, nValue, rect, nHeadingMask);
    }
    // The lines active for the heading; the from-heading is not consulted.
    void applyPreferredLines(int* pX, int* pY, int, int nHeading) const {
        m_walkAreas.applyPreferredLines(pX, pY, nHeading);
    }
    const WalkAreas& getWalkAreas() const { return m_walkAreas; }
    // -1 when no walk area holds the point.
    int getWalkAreaDepth(int x, int y) const { return m_walkAreas.getDepth(x, y); }
    void walkWaitressTo(int x, int y);
    void stepWaitressWalk(float fDelta);
    void stopWaitressWalk();
    bool isWaitressWalking() const { return m_bPathWalk; }
    // Null before the first walk.
    Zep::SmartPtr<Sprite> getWalkMarker() const { return m_pWalkMarker; }

    // ---- Tuning ----
    // The tuning of the level's game kind, level and difficulty into the
    // level data (leveltuning.h); a harder level also sets every drink
    // machine's difficulty flag. A level whose customers could not order is
    // refused (checkLiquids).
    void setLevelDifficulty();

    // ---- Command queue ----
    void queueCommand(Zep::SmartPtr<IWaitressCommand> pCommand) { m_lCommands.add(pCommand); }
    void processCommands();
    void clearCommands();
    // The hand hint is the click's (2 with a tray, else 0).
    void useTarget(int nHand, Zep::SmartPtr<IActionTarget> pTarget);

    // ---- Clicks (playmode_input.cpp) ----
    // The listener that gets a click at the point, or null.
    IClickListener* findClickListener(int x, int y) const;
    // False when six clicks are pending already.
    bool queueClick(IClickListener* pListener, int x, int y);
    int getPendingClickCount() const { return m_lPendingClicks.getCount(); }
    Zep::SmartPtr<IActionTarget> getHighlightedTarget() const { return m_pHighlighted; }
    Zep::SmartPtr<IWaitressCommand> getCurrentCommand() const { return m_pCurrentCommand; }
    int getQueuedCommandCount() const { return m_lCommands.getCount(); }
    // The waitress is idle, no path walk is under way and no command is
    // current or queued.
    bool canTakeClick() const;

    // ---- Money and popups ----
    // Adds nAmount to the day's money and nValue to the day's stars, and
    // appends nValue (times 10 in game kind 2) to the customer results.
    void addMoney(int nSpot, int nValue, int nAmount);
    const Zep::List<int>& getCustomerResults() const { return m_lCustomerResults; }
    void showMoneyPopup(int x, int y);
    // Nothing for no stars or in game kind 1.
    void showStarBonus(int nSpot, int nStars);
    // The text in the colour, with a dark shadow, rising 30 pixels from
    // (x, y) and fading out over the seconds.
    void showTimePopup(int x, int y, const char* szText, int nRed, int nGreen, int nBlue, float fSeconds);
    // Where the text of time added to the day shows, clear of the money and
    // its popups: just left of the clock, on its line. Without the HUD the
    // point stays.
    void clockPopupPoint(const char* szText, int& x, int& y) const;
    const Zep::List<Popup>& getPopups() const { return m_lPopups; }

private:
    struct PendingClick {
        IClickListener* pListener;  // not owned; dropped with its listener
        int32_t x;
        int32_t y;
    };

    void showWalkMarker(int x, int y);
    // ---- The level's life (playmode_level.cpp) ----
    void takePlayerValues();
    void showCursorAgain();
    void openOptions();
    void quitLevel();
    void handOverDay();
    void recordDay();
    void leave();
    void releaseActors();
    void releaseFixtures();
    // ---- Day clock (playmode_day.cpp) ----
    void updateDayClock(float fDelta);
    void spawnWhenDue(float fDelta);
    bool hasDayCountCome() const;
    void updateCustomers(float fDelta);
    void checkDayOver();
    void endDay();
    // ---- Clicks (playmode_input.cpp) ----
    void dispatchClick(IClickListener* pListener, int x, int y);
    void dispatchPendingClick();
    bool isListening(const IClickListener* pListener) const;
    void updateHover();
    // ---- Popups (playmode_popups.cpp) ----
    void risePopup(const Zep::SmartPtr<Sprite>& pSprite, int nRise, float fSeconds, bool bFade);

    TUKPlayer* m_pPlayer;    // not owned
    DayResult* m_pDayResult;  // not owned
    Zep::String m_sSceneName;
    int32_t m_nLevel;
    int32_t m_nDifficulty;
    LevelData m_levelData;
    SceneObjects m_scene;
    Zep::List<Zep::SmartPtr<Character>> m_lCharacters;
    Zep::List<Zep::SmartPtr<GlassSpot>> m_lGlassSpots;
    Zep::List<Zep::SmartPtr<IActionTarget>> m_lActionTargets;
    Zep::List<IClickListener*> m_lClickListeners;
    Zep::List<Zep::SmartPtr<Barman>> m_lBarmen;
    BarOrders m_orders;
    Zep::List<Zep::SmartPtr<AmbientFigure>> m_lFigures;
    Zep::SmartPtr<Parrot> m_pParrot;
    WalkAreas m_walkAreas;
    bool m_bPathWalk = false;
    Zep::List<Point> m_lWaypoints;
    Zep::SmartPtr<Sprite> m_pWalkMarker;
    Zep::List<Zep::SmartPtr<IWaitressCommand>> m_lCommands;
    Zep::SmartPtr<IWaitressCommand> m_pCurrentCommand;
    Zep::List<int> m_lCustomerResults;
    Zep::List<Popup> m_lPopups;
    Zep::List<PendingClick> m_lPendingClicks;
    Zep::SmartPtr<IActionTarget> m_pHighlighted;
    std::unique_ptr<SpawnManager> m_pSpawner;
    std::unique_ptr<LevelHud> m_pHud;
    ResumeState m_eResumeState = kPlaying;
    bool m_bDayRunning = false;
    bool m_bStatisticsPushed = false;
    bool m_bDayHandedOver = false;
    bool m_bLeaving = false;
    float m_fSpawnTimer = 0.0f;

    // The machines, barmen, figures, the scene's animated sprites and
    // emitters, and the parrot, in that order (playmode_actors.cpp).
    void updateActors(float fDelta);
};

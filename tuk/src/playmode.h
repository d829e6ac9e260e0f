// PlayMode: the level. It owns the level's data block (LevelData), its
// actors' lists and the waitress's command queue, and every actor reaches the
// level through it.
//
// Frame order (onUpdate): the customers, over a snapshot of their list; the
// mugs; the command queue; the path-walk step; the waitress; the drink
// machines; the barmen, who serve the bar's orders; the ambient figures;
// the parrot; the scene's animated sprites and emitters.
//
// Customers: a customer that is gone hands itself to onCustomerLeaving: it
// counts as served when it had a drink, its seat (the level's seat of its
// index) releases it, and it leaves the character list and the level
// (Character::detach). closeBar tells every customer the day is over;
// setMixedOrders switching on gives the customers at the menu, calling or
// waiting a new order.
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
// the last waypoint the walk stops. A target within 5 pixels of her on both
// axes, or with no path to it, starts no walk. While a walk lasts, the walk
// marker ("walk_marker") stands at its target, one below the depth of the
// target's walk area.
//
// Using a target (useTarget, the last command of a click): with a tray the
// waitress acts with hand 2 only; with hands she tries the hand nearer to the
// target first (by the target's distance from each hand point; hand 0 on a
// tie). The first hand the target accepts and she can start with acts. When
// none does, the hinted arm shows its resting pose and, for coasters and
// seats, "sfx_game_cantdo" plays.
//
// Leaving the level: removeMug takes a mug out of the mug list and off the
// screen (Mug::detach); customers detach as they leave, and those still in
// the level when it ends detach first of all. Nothing reaches the mode from
// a destructor.
//
// Popups (money, stars, time) are kept in a list in the order shown.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "actionspot.h"
#include "barman.h"
#include "character.h"
#include "color.h"
#include "command.h"
#include "figures.h"
#include "glassspot.h"
#include "leveldata.h"
#include "parrot.h"
#include "rect.h"
#include "scenereader.h"
#include "trashbin.h"
#include "tukmode.h"
#include "walkareas.h"

class TUKPlayer;

class PlayMode : public TUKMode {
public:
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

    void onUpdate(float fDelta) override;

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

    // ---- Customers ----
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
    void showTimePopup(int x, int y, const char* szText, int nRed, int nGreen, int nBlue, float fSeconds);
    const Zep::List<Popup>& getPopups() const { return m_lPopups; }

private:
    void showWalkMarker(int x, int y);

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

    // The machines, barmen, figures and the parrot, in that order
    // (playmode_actors.cpp).
    void updateActors(float fDelta);
};

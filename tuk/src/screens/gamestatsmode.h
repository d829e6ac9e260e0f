// GameStatsMode: the dialog that ends a day of play. The level pushes it
// with its LevelData (not owned) and the campaign's progress record (kept,
// not used); the level below is drawn, not updated.
//
// Entering builds a two-column table (captions and values, rows overlapping
// by 7 pixels) under a title picture and plays a jingle once on channel 1:
//   game kind 0: "youwin" and "ms_winlevel" when the day's money reached the
//     goal (money >= goal), else "youlose" and "ms_loselevel"; rows: the
//     day's money "$n", the goal "$goal" (never counts), the day's stars,
//     customers "n/<day's count>", separator, total money "$n" from the
//     total before the day, total stars from the total before the day;
//   kinds 1 and 2: "timesup" and "ms_loselevel"; rows: money, the time
//     ("StatTimePlayed" with minutes and seconds, through the checked
//     formatter), stars (kind 2 only), customers "n", separator.
// Every value, the time's too, is 125 pixels wide at the left of its cell.
// The button, callback id 0, has the caption "exit" in kind 1 and "ok"
// otherwise (the theme shows the string table's texts of those keys); it
// stands 12 pixels below its row's top, clear of the row above. In kind 0
// it is disabled until the count ends. It stops all audio and ends the
// dialog.
//
// Count-up, one step at a time (step 0 the money, from 0 to the day's
// money): each frame the value grows by target x dt, so a step from 0 lasts
// one second; a step that reached its target shows it exactly and moves on
// to the next in the same frame, whatever the frame's time and the size of
// the target: a step that counts nothing takes one frame, and one that
// passes its target in its first frame (a large total) ends showing it. The
// first frame of each later step cuts the tick on channel 2. The steps:
//   1 the time to the seconds played (kinds 1, 2);
//   2 the stars from 0 to the day's stars (kinds 0, 2);
//   3 the customers from 0 to the customers served;
//   4 the total money from the total shown to that plus the money shown
//     (kind 0, goal reached);
//   5 the total stars from the total before the day to that plus the stars
//     shown (kind 0): the player's real total, which only rises (every star
//     counts in the adventure's score, so it is never capped for show);
//   6 the end: the button enabled; the result money = the day's money (kind
//     0, goal reached) and the result stars = the stars shown (kinds 0, 2)
//     are written into the level data.
// A game that ends before the count does (onAppQuit) writes the results the
// count would have written, so the day is not lost with the dialog.
// While channel 2 is silent, a frame in which the shown integer grew plays
// "sfx_game_number" at volume 0.2 on channel 2, so ticks never overlap.
#pragma once

#include <cstdint>

#include "screens/changinglabel.h"
#include "level/leveldata.h"
#include "records/tukmode.h"
#include "ui/ui_button.h"
#include "ui/ui_label.h"

class GameStatsMode : public TUKDialog {
public:
    static constexpr int kButtonId = 0;
    static constexpr int kJingleChannel = 1;
    static constexpr int kTickChannel = 2;
    static constexpr float kTickVolume = 0.2f;
    static constexpr int kLastStep = 6;

    GameStatsMode(LevelData* pLevelData, DayResult* pProgress);
    ~GameStatsMode() override;

    void onEnter() override;
    void onEnd() override;
    void onAppQuit() override;
    void onUpdate(float fDelta) override;
    void onCallback(int nId, void* pData) override;

    int getStep() const { return m_nStep; }
    DayResult* getProgress() const { return m_pProgress; }
    Zep::SmartPtr<Sprite> getTitle() const { return m_pTitle; }
    Zep::SmartPtr<Button> getExitButton() const { return m_pExitButton; }
    Zep::SmartPtr<Label> getTimeLabel() const { return m_pTimeLabel; }
    // Null where the game kind has no such row.
    Zep::SmartPtr<ChangingLabel> getScoreLabel() const { return m_pScoreLabel; }
    Zep::SmartPtr<ChangingLabel> getGoalLabel() const { return m_pGoalLabel; }
    Zep::SmartPtr<ChangingLabel> getStarsLabel() const { return m_pStarsLabel; }
    Zep::SmartPtr<ChangingLabel> getCustomersLabel() const { return m_pCustomersLabel; }
    Zep::SmartPtr<ChangingLabel> getTotalLabel() const { return m_pTotalLabel; }
    Zep::SmartPtr<ChangingLabel> getTotalStarsLabel() const { return m_pTotalStarsLabel; }

private:
    bool isGoalReached() const { return m_pLevelData->m_nDayMoney >= m_pLevelData->m_nMoneyGoal; }
    int gameKind() const { return m_pLevelData->m_nGameKind; }
    // ---- Building ----
    void addTitle(const Zep::SmartPtr<Table>& pInner);
    void addCaption(const char* szKey);
    // A counting row's value: a new label shown in a new cell of its own.
    void addValueLabel(int nValue, const Zep::SmartPtr<ChangingLabel>& pLabel);
    // A value label made by the dialog's own text cell.
    void addTextValue(const Zep::SmartPtr<ChangingLabel>& pLabel, const Zep::String& sValue);
    void addCampaignRows();
    void addTimeRow();
    void addSeparatorRow();
    void addClosingRows();
    void addButtonRow();
    void playJingle(const char* szName);
    // ---- Counting ----
    void count(const Zep::SmartPtr<ChangingLabel>& pLabel, int nFrom, int nTo);
    void prepareStep();
    void showValue(int nValue);
    // A tick when the shown integer grew from nBefore to nShown.
    void playTick(int nBefore, int nShown);
    void finishCount();
    void writeResults(int nStars);

    bool m_bStepDone = false;
    LevelData* m_pLevelData;  // not owned
    DayResult* m_pProgress;   // not owned
    Zep::SmartPtr<ChangingLabel> m_pScoreLabel;
    Zep::SmartPtr<ChangingLabel> m_pGoalLabel;
    Zep::SmartPtr<ChangingLabel> m_pStarsLabel;
    Zep::SmartPtr<ChangingLabel> m_pTotalStarsLabel;
    Zep::SmartPtr<ChangingLabel> m_pCustomersLabel;
    Zep::SmartPtr<ChangingLabel> m_pTotalLabel;
    Zep::SmartPtr<Label> m_pTimeLabel;
    int32_t m_nStep = 0;
    Zep::SmartPtr<ChangingLabel> m_pCurrent;
    int32_t m_nTarget = 0;
    float m_fValue = 0.0f;
    int32_t m_nShown = 0;  // the integer the current step shows
    Zep::SmartPtr<Sprite> m_pTitle;
    Zep::SmartPtr<Button> m_pExitButton;
};

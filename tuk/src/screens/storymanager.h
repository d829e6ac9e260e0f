// StoryManagerMode: the campaign map, between the main menu and the levels.
// The menu pushes one for every game (the difficulty, the story value, the
// player record, the game kind: 0 the campaign, 1 relax mode, 2 free play).
//
// A new adventure: made for the campaign with a story value other than 0
// for a player without an adventure in progress, the map sets the record's
// in-progress flag, stage 0, the difficulty and the story value, and clears
// the progress and the 13 working score slots (money, upgrade levels and
// the extra working value stay) and commits them, so that the old
// adventure's totals never come back, then queues the opening cut-scene.
//
// The screen: "sand_frame_back" tiles, "map_back", five "map_marker" places
// and "map_current" on the current stage; the labels "MAP_Stage" (stage + 1),
// "MAP_Day" (level within the stage + 1; the level is the progress within
// 0 to 49, so free play and relax mode after the campaign's end show the
// last level's stage and day, which they play) and "MAP_Money" (the player's
// money), each through the checked formatter, side by side from the rail's
// left as wide as their texts (a row that would come within 12 pixels of
// the first shown button is set in the smaller title font, so no text runs
// under a button); the buttons "MAP_Play" (id 1) and "MAP_Menu" (id 2);
// music "ms_menu". In the campaign with progress 50 or
// more the adventure is over: "MAP_Finished" stands in place of the day and
// only the Menu button is shown.
//
// Play pushes the level behind a fade to black: PlayMode for the scene
// "scene<n>", n = level / 10, at that level, with the map's
// game kind and difficulty, and the address of the map's DayResult. Menu or
// Escape ends the map; the menu then commits the scores again and saves.
//
// Coming back with the result done (once per level; the result is then
// cleared):
//   campaign, goal reached: money += result money; working slot 0 += result
//     money, slot 1 += result stars, extra working value += 1 (each sum stops
//     at the largest int, never wrapping to a negative one); progress + 1,
//     stage = progress / 10. Queued: first the store for the new stage
//     ("scene<n>", n = min(4, stage)); then the stage's cut-scene when the
//     stage changed below progress 50; at progress 50 the adventure's score
//     (adventurescore.h: of the money and the stars of slots 0 and 1) is
//     offered to highscore list 0, the congratulation queued when it got in,
//     then the closing cut-scene.
//   campaign, goal missed: nothing (the level can be played again).
//   relax mode and free play: working slot 0 = the day's money, offered to
//     the highscore list of the game kind; the congratulation queued when it
//     got in.
// Then the scores are committed (TUKPlayer::commitScores with the game
// kind), so that a won day counts in the adventure's score however the game
// ends afterwards. After every level, done or not, the profiles and the
// settings file are saved. All this is done as soon as the map is on top
// again: when the fade back to the map begins (so its first frame shows the
// record as it is now), else when the map resumes; and when the game ends
// before that (over the statistics, or while the level fades out), at the
// shutdown, which saves the profiles after the modes have quit.
//
// Coming back from anything, the map paces at 60 frames a second again (a
// level paces faster). The caches are marked as Play finds them; in the
// first update after each coming back (the modes that ended are gone by
// then), whatever was cached since and nothing holds is let go: the level's
// pictures, animations and music, the store's and the cut-scenes'.
//
// Queued steps are pushed one per coming back, so each ends before the next
// starts; while none is left the map plays "ms_menu". The store (StoreMode
// with the player record and the scene name) is pushed behind a fade to
// black, and ends with one; when the map comes back from it, the profiles and
// the settings file are saved again, so that a purchase is kept as a level
// is. A cut-scene is a
// SlideshowMode (its pictures at (0, 0), layer 2, each a new page, no
// captions) with "ms_story" ("ms_story_win" for the last); the congratulation
// stops all audio, pushes LongDialogMode ("HF_Newhigh" shown, "HF_Congrats"
// kept) and plays "ms_winlevel" once on any free channel.
#pragma once

#include <cstdint>

#include <zep2/list.h>
#include <zep2/str.h>

#include "level/leveldata.h"
#include "records/tukmode.h"
#include "screens/screenreturn.h"
#include "ui/ui_button.h"
#include "ui/ui_label.h"

class TUKPlayer;

class StoryManagerMode : public TUKMode {
public:
    enum { kPlayId = 1, kMenuId = 2 };
    // The queued steps; the cut-scenes in the order of the story.
    enum Step {
        kOpeningScene = 0,
        kStage2Scene = 1,
        kStage3Scene = 2,
        kStage4Scene = 3,
        kStage5Scene = 4,
        kClosingScene = 5,
        kCongratulation = 6,
        kStore = 7
    };
    static constexpr int kFinishedProgress = 50;
    static constexpr int kLevelsPerStage = 10;
    static constexpr int kLastScene = 4;
    static constexpr int kStageCount = 5;

    StoryManagerMode(int nDifficulty, int nStoryValue, TUKPlayer* pPlayer, int nGameKind);
    ~StoryManagerMode() override;

    void onEnter() override;
    void onCovered(GameMode* pMode) override;
    void onResume() override;
    void onAppQuit() override;
    void onUpdate(float fDelta) override;
    void onCallback(int nId, void* pData) override;
    bool onKeyDown(int nKey, int nModifiers) override;

    // Pushes the level (Play).
    void startLevel();

    DayResult& getDayResult() { return m_result; }
    const Zep::List<int>& getQueuedSteps() const { return m_lSteps; }
    int getGameKind() const { return m_nGameKind; }
    int getDifficulty() const { return m_nDifficulty; }
    bool isFinished() const;
    Zep::SmartPtr<Label> getStageLabel() const { return m_pStageLabel; }
    Zep::SmartPtr<Label> getDayLabel() const { return m_pDayLabel; }
    Zep::SmartPtr<Label> getMoneyLabel() const { return m_pMoneyLabel; }
    Zep::SmartPtr<Label> getFinishedLabel() const { return m_pFinishedLabel; }
    Zep::SmartPtr<Button> getPlayButton() const { return m_pPlayButton; }
    Zep::SmartPtr<Button> getMenuButton() const { return m_pMenuButton; }
    Zep::SmartPtr<Sprite> getCurrentMarker() const { return m_pCurrent; }

private:
    // ---- The screen (storymanager.cpp) ----
    Zep::SmartPtr<Label> addLabel();
    void layOutLabels();
    Zep::SmartPtr<Button> addButton(const char* szKey, int nId, int x, int y);
    void showState();
    int playedLevel() const;
    int currentStage() const;
    void takeReturn();
    void takeLevel();

    // ---- Results and steps (storymanager_steps.cpp) ----
    void beginAdventure(int nStoryValue);
    void takeResult();
    void takeCampaignWin();
    // Adds to a working score slot, stopping at the largest value it holds.
    void addToSlot(int nSlot, int nAmount);
    void takeOtherGameDay();
    // Offers the score to the highscore list; true when it got in.
    bool offerScore(int nScore, int nList);
    void saveProgress();
    bool pushNextStep();
    void openStore();
    void playCutScene(int nScene);
    void congratulate();

    TUKPlayer* m_pPlayer;  // owned by the profile manager
    int32_t m_nDifficulty;
    int32_t m_nGameKind;
    DayResult m_result;
    bool m_bLevelPlayed = false;  // the level pushed by Play has not come back yet
    bool m_bInStore = false;      // the store pushed as a step has not come back yet
    Zep::List<int> m_lSteps;
    // The pace when the map comes back, and the caches as the last Play
    // found them: let go again after each return.
    ScreenReturn m_return{ScreenReturn::Mark::EveryReturn};
    Zep::SmartPtr<Sprite> m_pCurrent;
    Zep::SmartPtr<Label> m_pStageLabel;
    Zep::SmartPtr<Label> m_pDayLabel;
    Zep::SmartPtr<Label> m_pMoneyLabel;
    Zep::SmartPtr<Label> m_pFinishedLabel;
    Zep::SmartPtr<Button> m_pPlayButton;
    Zep::SmartPtr<Button> m_pMenuButton;
};

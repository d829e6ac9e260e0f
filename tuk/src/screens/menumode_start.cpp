// The main menu's commands and the start of a game (menumode.h).
#include "screens/menumode.h"

#include <zep2/error.h>

#include "application/gameapp.h"
#include "screens/gameoptions.h"
#include "screens/highscoremode.h"
#include "screens/howtomode.h"
#include "records/profileaccess.h"
#include "screens/storymanager.h"
#include "sprite/trn_fadetoblack.h"
#include "records/tukplayer.h"
#include "dialogs/ui_dialog.h"
#include "dialogs/ui_profiledialogs.h"
#include "dialogs/ui_stddialogs.h"

namespace {

constexpr int kFinishedProgress = 50;
// The story value of a new adventure.
constexpr int kNewStoryValue = 3;
// The numbers of the start paths in the log.
enum { kPathContinue = 1, kPathFirstAdventure = 2, kPathRelax = 3, kPathFreePlay = 4, kPathNewAdventure = 5 };
constexpr int kNoAnswer = -1;

}  // namespace

void MenuMode::onCommand(int nId) {
    GameApp* pApp = getApp();
    switch (nId) {
        case kQuit: pApp->onCloseRequest(); break;
        case kOptions: pApp->pushMode(new TUKGameOptions(nullptr, 0, 0)); break;
        case kHighscores: pApp->pushMode(new HighScoreMode()); break;
        case kHowto: pApp->pushMode(new HowtoMode()); break;
        case kSelectProfile:
            pApp->pushMode(new SelectProfileDialog(getProfileManager(), 0));
            m_nGameKind = -1;
            break;
        case kAdventure: startAdventure(); break;
        case kRelaxMode: startOtherGame(1, kPathRelax); break;
        case kFreePlay: startOtherGame(2, kPathFreePlay); break;
        case kContinueAdventure: continueAdventure(); break;
        case kNewAdventure: startNewAdventure(kPathNewAdventure); break;
        default: break;
    }
}

void MenuMode::prepareGame(int nGameKind) {
    m_nGameKind = nGameKind;
    if (nGameKind != 0) return;
    for (int i = 0; i < TUKPlayer::kScoreSlots; ++i) m_pPlayer->setWorkingScore(i, m_pPlayer->getCommittedScore(i));
    m_pPlayer->setExtraWorking(m_pPlayer->getExtraCommitted());
}

// Without an adventure in progress a new one begins; with one, the player is
// asked whether to continue it, or, once it is finished, whether to start
// again.
void MenuMode::startAdventure() {
    if (!m_pPlayer) return;
    if (!m_pPlayer->isAdventureInProgress()) {
        startNewAdventure(kPathFirstAdventure);
    } else if (m_pPlayer->getAdventureProgress() < kFinishedProgress) {
        getApp()->pushMode(new StartAgainDlg(this, kNoAnswer, kNewAdventure, kContinueAdventure, nullptr));
    } else {
        getApp()->pushMode(new DlgYesNo(this, getText("MNM_Won"), kNewAdventure, kNoAnswer));
    }
}

// The map, seeing no adventure in progress, begins one with the menu's
// difficulty and the new story value.
void MenuMode::startNewAdventure(int nPath) {
    if (!m_pPlayer) return;
    const int nStage = m_pPlayer->getStageNumber();
    GameApp::log("nS%d\n", nStage);
    m_pPlayer->setAdventureInProgress(false);
    prepareGame(0);
    GameApp::log("MM push path %d SM nS%d\n", nPath, nStage);
    m_return.markCaches(*getApp());
    getApp()->pushMode(new StoryManagerMode(difficultySetting(), kNewStoryValue, m_pPlayer, 0));
}

void MenuMode::continueAdventure() { startOtherGame(0, kPathContinue); }

// Continuing the adventure, relax mode and free play: the menu's difficulty
// becomes the player's, and the map comes behind a fade.
void MenuMode::startOtherGame(int nGameKind, int nPath) {
    if (!m_pPlayer) return;
    const int nStage = m_pPlayer->getStageNumber();
    GameApp::log("nS%d\n", nStage);
    m_pPlayer->setDifficulty(difficultySetting());
    prepareGame(nGameKind);
    GameApp::log("MM push path %d SM nS%d\n", nPath, nStage);
    m_return.markCaches(*getApp());
    getApp()->pushTransition(
        new StoryManagerMode(m_pPlayer->getDifficulty(), m_pPlayer->getStoryValue(), m_pPlayer, nGameKind),
        new TrnFadeToBlack());
}

int MenuMode::difficultySetting() const { return TUKGameOptions::getDifficultySetting(); }

// The campaign map's record keeping: a new adventure, the result of a level,
// and the steps queued after it (storymanager.h).
#include "screens/storymanager.h"

#include <algorithm>
#include <memory>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "records/adventurescore.h"
#include "records/cappedsum.h"
#include "screens/highscoremode.h"
#include "image/image.h"
#include "screens/longdialogmode.h"
#include "records/profileaccess.h"
#include "screens/slideshow.h"
#include "screens/storemode.h"
#include "sprite/trn_fadetoblack.h"
#include "records/tukplayer.h"

namespace {

constexpr const char* kZepSource = ".\\src\\storymanager_steps";

// The cut-scenes by step (kOpeningScene to kClosingScene).
constexpr struct {
    const char* aszSlides[2];
    const char* szMusic;
} kCutScenes[] = {
    {{"historieta_1", "historieta_1a"}, "ms_story"},  {{"historieta_2", nullptr}, "ms_story"},
    {{"historieta_3", nullptr}, "ms_story"},          {{"historieta_4a", "historieta_4b"}, "ms_story"},
    {{"historieta_5a", "historieta_5b"}, "ms_story"}, {{"historieta_6a", "historieta_6c"}, "ms_story_win"},
};
constexpr int kSlideLayer = 2;
// The last picture: the other one on a black screen, made once.
constexpr const char* kComposedSlide = "historieta_6c";
constexpr const char* kComposedSource = "historieta_6b";
constexpr const char* kWinSound = "ms_winlevel";

}  // namespace

void StoryManagerMode::beginAdventure(int nStoryValue) {
    m_pPlayer->setAdventureInProgress(true);
    m_pPlayer->setStageNumber(0);
    m_pPlayer->setDifficulty(m_nDifficulty);
    m_pPlayer->setStoryValue(nStoryValue);
    m_pPlayer->setAdventureProgress(0);
    for (int i = 0; i < TUKPlayer::kScoreSlots; ++i) m_pPlayer->setWorkingScore(i, 0);
    m_pPlayer->commitScores(m_nGameKind);
    m_lSteps.add(kOpeningScene);
}

// ---- The result of a level -------------------------------------------------------------

// The scores are committed with the day: however the game ends from here
// on, the next adventure continues from them.
void StoryManagerMode::takeResult() {
    if (m_nGameKind == 0) {
        if (m_result.bGoalReached) takeCampaignWin();
    } else {
        takeOtherGameDay();
    }
    m_pPlayer->commitScores(m_nGameKind);
}

void StoryManagerMode::takeCampaignWin() {
    TUKPlayer& player = *m_pPlayer;
    player.setMoney(cappedSum(player.getMoney(), m_result.nResultMoney));
    addToSlot(TUKPlayer::kMoneySlot, m_result.nResultMoney);
    addToSlot(TUKPlayer::kStarsSlot, m_result.nResultStars);
    player.setExtraWorking(cappedSum(player.getExtraWorking(), 1));
    const int nOldStage = player.getAdventureProgress() / kLevelsPerStage;
    const int nProgress = player.getAdventureProgress() + 1;
    const int nStage = nProgress / kLevelsPerStage;
    player.setAdventureProgress(nProgress);
    player.setStageNumber(nStage);
    m_lSteps.add(kStore);
    if (nProgress < kFinishedProgress) {
        if (nStage != nOldStage && nStage >= 1 && nStage <= kLastScene) m_lSteps.add(kOpeningScene + nStage);
    } else if (nProgress == kFinishedProgress) {
        if (offerScore(adventurescore::score(player), 0)) m_lSteps.add(kCongratulation);
        m_lSteps.add(kClosingScene);
    }
}

void StoryManagerMode::addToSlot(int nSlot, int nAmount) {
    m_pPlayer->setWorkingScore(nSlot, cappedSum(m_pPlayer->getWorkingScore(nSlot), nAmount));
}

void StoryManagerMode::takeOtherGameDay() {
    m_pPlayer->setWorkingScore(TUKPlayer::kMoneySlot, m_result.nDayMoney);
    if (offerScore(m_result.nDayMoney, m_nGameKind)) m_lSteps.add(kCongratulation);
}

// A highscore screen made for the call only, never shown.
bool StoryManagerMode::offerScore(int nScore, int nList) {
    auto pScores = std::make_unique<HighScoreMode>();
    return pScores->addScore(nScore, m_pPlayer->getName().c_str(), nList);
}

// So that a crash loses at most the level being played.
void StoryManagerMode::saveProgress() {
    getProfileManager()->save();
    getApp()->trySaveSettingsFile();
}

// ---- Queued steps ------------------------------------------------------------------------

bool StoryManagerMode::pushNextStep() {
    if (m_lSteps.isEmpty()) return false;
    const int nStep = m_lSteps.removeFirst();
    if (nStep == kCongratulation)
        congratulate();
    else if (nStep == kStore)
        openStore();
    else
        playCutScene(nStep);
    return true;
}

// The store of the player's stage; the last scene serves the stages after it.
void StoryManagerMode::openStore() {
    const int nScene = std::clamp(m_pPlayer->getStageNumber(), 0, kLastScene);
    m_bInStore = true;
    getApp()->pushTransition(new StoreMode(m_pPlayer, Zep::String::format("scene%d", nScene)), new TrnFadeToBlack());
}

void StoryManagerMode::playCutScene(int nScene) {
    ZEP_TRACE("StoryManagerMode::playCutScene");
    GameApp* pApp = getApp();
    if (nScene == kClosingScene && !pApp->imageExists(kComposedSlide)) {
        Zep::SmartPtr<Image> pSlide = createImage(pApp->getScreenWidth(), pApp->getScreenHeight(), 0);
        pSlide->fill(Color(0, 0, 0, 255));
        pSlide->blit(*getImage(kComposedSource), 0, 0);
        pApp->addImage(kComposedSlide, pSlide, true);
    }
    SlideList lSlides;
    for (const char* szSlide : kCutScenes[nScene].aszSlides)
        if (szSlide) lSlides.add(new SlideSpec(szSlide, 0, 0, kSlideLayer, StoryTextList(), true));
    pApp->pushMode(new SlideshowMode(lSlides, false, kCutScenes[nScene].szMusic));
}

void StoryManagerMode::congratulate() {
    GameApp* pApp = getApp();
    pApp->stopAllAudio();
    pApp->pushMode(new LongDialogMode(getText("HF_Newhigh"), getText("HF_Congrats"), 0));
    pApp->playSound(pApp->getSample(kWinSound), false, -1);
}

// The campaign map's screen and its buttons (storymanager.h).
#include "screens/storymanager.h"

#include <algorithm>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "base/keys.h"
#include "level/playmode.h"
#include "screens/sandtiles.h"
#include "records/textformat.h"
#include "sprite/trn_fadetoblack.h"
#include "records/tukplayer.h"

namespace {

constexpr const char* kZepSource = ".\\src\\storymanager";

constexpr const char* kMapMusic = "ms_menu";
// The labels stand side by side on the rail, from its left, each as wide as
// its text, centred on the buttons' middle; a row that would reach under
// the first button is set in the smaller font.
constexpr const char* kLabelFonts[] = {"Sand::TitleBold", "Sand::TitleSmall"};
constexpr int kRowLeft = 32;
constexpr int kLabelGap = 16;
constexpr int kButtonGap = 12;
constexpr int kButtonY = 545;
constexpr int kLabelLayer = 2;
// The stage places on the chart: a marker (32 x 32) and the current ring
// (48 x 48) are centred on them.
constexpr struct {
    int x;
    int y;
} kPlaces[StoryManagerMode::kStageCount] = {{170, 440}, {290, 310}, {430, 390}, {560, 250}, {670, 380}};
constexpr int kMarkerHalf = 16;
constexpr int kCurrentHalf = 24;

}  // namespace

StoryManagerMode::StoryManagerMode(int nDifficulty, int nStoryValue, TUKPlayer* pPlayer, int nGameKind)
    : TUKMode(1), m_pPlayer(pPlayer), m_nDifficulty(nDifficulty), m_nGameKind(nGameKind) {
    ZEP_ASSERT(pPlayer);
    if (!pPlayer->isAdventureInProgress() && nStoryValue != 0 && nGameKind == 0) beginAdventure(nStoryValue);
}

StoryManagerMode::~StoryManagerMode() = default;

// ---- The screen ------------------------------------------------------------------------

void StoryManagerMode::onEnter() {
    ZEP_TRACE("StoryManagerMode::onEnter");
    sandtiles::addTo(*this, -2);
    addSprite(new Sprite(getImage("map_back"), 0, 0, -1));
    const Zep::SmartPtr<Image> pMarker = getImage("map_marker");
    for (const auto& place : kPlaces) addSprite(new Sprite(pMarker, place.x - kMarkerHalf, place.y - kMarkerHalf, 0));
    m_pCurrent = addSprite(new Sprite(getImage("map_current"), 0, 0, 1));
    m_pStageLabel = addLabel();
    m_pDayLabel = addLabel();
    m_pMoneyLabel = addLabel();
    m_pFinishedLabel = addLabel();
    m_pFinishedLabel->setText(getText("MAP_Finished"));
    m_pPlayButton = addButton("MAP_Play", kPlayId, 560, kButtonY);
    m_pMenuButton = addButton("MAP_Menu", kMenuId, 670, kButtonY);
}

Zep::SmartPtr<Label> StoryManagerMode::addLabel() {
    Zep::SmartPtr<Label> pLabel = new Label("", 0, 0, kLabelLayer);
    pLabel->setThemeFont(kLabelFonts[0]);
    addSprite(pLabel.get());
    return pLabel;
}

// The shown labels left to right, in the first font whose row ends a gap
// before the first shown button.
void StoryManagerMode::layOutLabels() {
    const Zep::SmartPtr<Label> aRow[] = {m_pStageLabel, isFinished() ? m_pFinishedLabel : m_pDayLabel,
                                         m_pMoneyLabel};
    const Button& first = m_pPlayButton->isVisible() ? *m_pPlayButton : *m_pMenuButton;
    const int nMiddle = first.getY() + first.getHeight() / 2;
    for (const char* szFont : kLabelFonts) {
        int x = kRowLeft - kLabelGap;
        for (const Zep::SmartPtr<Label>& pLabel : aRow) {
            pLabel->setThemeFont(szFont);
            pLabel->setPosition(x + kLabelGap, nMiddle - pLabel->getHeight() / 2);
            x += kLabelGap + pLabel->getWidth();
        }
        if (x + kButtonGap <= first.getX()) return;
    }
}

Zep::SmartPtr<Button> StoryManagerMode::addButton(const char* szKey, int nId, int x, int y) {
    Zep::SmartPtr<Button> pButton = new Button(getText(szKey), nId);
    pButton->setPosition(x, y);
    pButton->setZOrder(kLabelLayer);
    addControl(pButton.get());
    return pButton;
}

bool StoryManagerMode::isFinished() const {
    return m_nGameKind == 0 && m_pPlayer->getAdventureProgress() >= kFinishedProgress;
}

// The level Play starts: the progress, within the campaign's levels. Free
// play and relax mode after the campaign's end play its last level.
int StoryManagerMode::playedLevel() const {
    return std::clamp(m_pPlayer->getAdventureProgress(), 0, kFinishedProgress - 1);
}

// The stage whose scene the next level plays.
int StoryManagerMode::currentStage() const { return playedLevel() / kLevelsPerStage; }

void StoryManagerMode::showState() {
    const int nStage = currentStage();
    m_pStageLabel->setText(formatText(getText("MAP_Stage"), nStage + 1).c_str());
    m_pDayLabel->setText(formatText(getText("MAP_Day"), playedLevel() % kLevelsPerStage + 1).c_str());
    m_pMoneyLabel->setText(formatText(getText("MAP_Money"), m_pPlayer->getMoney()).c_str());
    m_pCurrent->setPosition(kPlaces[nStage].x - kCurrentHalf, kPlaces[nStage].y - kCurrentHalf);
    const bool bFinished = isFinished();
    m_pDayLabel->setVisible(!bFinished);
    m_pFinishedLabel->setVisible(bFinished);
    m_pPlayButton->setEnabled(!bFinished);
    m_pPlayButton->setVisible(!bFinished);
    layOutLabels();
}

// ---- Input -----------------------------------------------------------------------------

void StoryManagerMode::onCallback(int nId, void*) {
    if (nId == kPlayId && !isFinished())
        startLevel();
    else if (nId == kMenuId)
        endMode();
}

bool StoryManagerMode::onKeyDown(int nKey, int nModifiers) {
    if (nKey != Key::Escape) return TUKMode::onKeyDown(nKey, nModifiers);
    endMode();
    return true;
}

void StoryManagerMode::startLevel() {
    const int nLevel = playedLevel();
    const Zep::String sScene = Zep::String::format("scene%d", currentStage());
    m_result = DayResult();
    m_bLevelPlayed = true;
    m_return.markCaches(*getApp());
    getApp()->pushTransition(new PlayMode(m_pPlayer, &m_result, sScene.c_str(), nLevel, m_nGameKind, m_nDifficulty),
                             new TrnFadeToBlack());
}

// ---- Coming back -----------------------------------------------------------------------

// The fade-in after a level, the store or a cut-scene begins with the map
// on top again: what came back is taken now, so the map's first frame
// shows the record as it is.
void StoryManagerMode::onCovered(GameMode* pMode) {
    const auto* pFade = dynamic_cast<const ModeTransition*>(pMode);
    if (pFade && !pFade->isFadeOut()) takeReturn();
}

void StoryManagerMode::onResume() {
    ZEP_TRACE("StoryManagerMode::onResume");
    m_return.cameBack(*getApp());
    getApp()->showCursor(true);
    takeReturn();
    if (!pushNextStep()) getApp()->playMusic(kMapMusic, true);
}

// Once per level or store: the result taken and the progress saved; the
// labels every time.
void StoryManagerMode::takeReturn() {
    if (m_bLevelPlayed) {
        takeLevel();
        saveProgress();
    } else if (m_bInStore) {
        m_bInStore = false;
        saveProgress();
    }
    showState();
}

// The result of the level Play pushed, when it is done; once.
void StoryManagerMode::takeLevel() {
    if (m_result.bDone) takeResult();
    m_result = DayResult();
    m_bLevelPlayed = false;
}

// A game that ends before the map is on top again still takes the day
// that came back, or that the level recorded on its way out; the shutdown
// then saves the profiles.
void StoryManagerMode::onAppQuit() {
    if (m_bLevelPlayed) takeLevel();
}

void StoryManagerMode::onUpdate(float fDelta) {
    TUKMode::onUpdate(fDelta);
    m_return.update(*getApp());
}

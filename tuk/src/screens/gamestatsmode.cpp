// The end-of-day statistics and their count-up (gamestatsmode.h).
#include "screens/gamestatsmode.h"

#include <algorithm>
#include <climits>

#include <zep2/error.h>

#include "driver/audiodriver.h"
#include "application/gameapp.h"
#include "records/cappedsum.h"
#include "records/textformat.h"

namespace {

constexpr const char* kZepSource = ".\\src\\gamestatsmode";

constexpr int kRowSpacing = -7;
constexpr int kRightAlign = 1;
constexpr int kCentred = 0x24;
constexpr int kInnerAlign = 9;
constexpr int kValueWrapWidth = 125;
// The rows overlap by 7 pixels; the button stands this far below its row's
// top, clear of the last row's text.
constexpr int kButtonGap = -kRowSpacing + 5;
constexpr int kSecondsPerMinute = 60;

// The integer part, within the range of an int.
int truncated(double dValue) {
    if (!(dValue > INT_MIN)) return INT_MIN;
    return dValue < INT_MAX ? static_cast<int>(dValue) : INT_MAX;
}

Zep::String decimal(int nValue) { return Zep::String::format("%d", nValue); }

}  // namespace

GameStatsMode::GameStatsMode(LevelData* pLevelData, DayResult* pProgress)
    : m_pLevelData(pLevelData), m_pProgress(pProgress) {}

GameStatsMode::~GameStatsMode() = default;

// ---- Building ------------------------------------------------------------------------

void GameStatsMode::onEnter() {
    ZEP_TRACE("GameStatsMode::onEnter");
    start();
    Zep::SmartPtr<Table> pTable = getTable();
    pTable->setRowSpacing(kRowSpacing);
    pTable->newCell(2);
    Zep::SmartPtr<Table> pInner = new Table(this);
    addTitle(pInner);
    pTable->add(pInner.get(), kInnerAlign);

    pTable->newRow();
    pTable->newCell();
    addCaption(gameKind() == 0 ? "GSM_LevelScore" : "GSM_Total");
    m_pScoreLabel = new ChangingLabel({"$", ""}, 1);
    addValueLabel(0, m_pScoreLabel);
    if (gameKind() == 0) addCampaignRows();
    else addTimeRow();
    if (gameKind() == 0) addSeparatorRow();
    if (gameKind() == 2) {
        pTable->newRow();
        addCaption("GSM_TotalStars");
        m_pStarsLabel = new ChangingLabel({""}, 0);
        addValueLabel(0, m_pStarsLabel);
    }
    addClosingRows();
    if (gameKind() != 0) addSeparatorRow();
    addButtonRow();
    pTable->setFramed(true);
    if (GameApp* pApp = getApp()) pApp->showCursor(true);

    m_nStep = 0;
    m_pCurrent = m_pScoreLabel;
    m_fValue = 0.0f;
    m_nShown = 0;
    m_nTarget = m_pLevelData->m_nDayMoney;
    m_bStepDone = false;
    layout(1);
}

void GameStatsMode::addTitle(const Zep::SmartPtr<Table>& pInner) {
    const char* szTitle = gameKind() != 0 ? "timesup" : isGoalReached() ? "youwin" : "youlose";
    m_pTitle = addSprite(new Sprite(getImage(szTitle), 0, 0, 0));
    pInner->newCell();
    pInner->add(m_pTitle.get(), kCentred);
}

void GameStatsMode::addCaption(const char* szKey) { addTextToTable(getText(szKey), kRightAlign); }

void GameStatsMode::addValueLabel(int nValue, const Zep::SmartPtr<ChangingLabel>& pLabel) {
    Zep::SmartPtr<Label> pText = new Label("");
    pLabel->setLabel(pText);
    pText->setTextAlign(kRightAlign);
    pText->setWrapWidth(kValueWrapWidth, false);
    pLabel->setValue(decimal(nValue));
    getTable()->newCell();
    getTable()->add(pText.get(), kRightAlign);
}

void GameStatsMode::addTextValue(const Zep::SmartPtr<ChangingLabel>& pLabel, const Zep::String& sValue) {
    getTable()->newCell();
    pLabel->setLabel(addTextToTable("", kRightAlign));
    pLabel->setValue(sValue);
}

void GameStatsMode::addCampaignRows() {
    const LevelData& data = *m_pLevelData;
    Zep::SmartPtr<Table> pTable = getTable();
    pTable->newRow();
    pTable->newCell();
    addCaption("GSM_LevelGoal");
    m_pGoalLabel = new ChangingLabel({""}, 0);
    addTextValue(m_pGoalLabel, Zep::String::format("$%d", data.m_nMoneyGoal));

    pTable->newRow();
    pTable->newCell();
    addCaption("GSM_LevelStars");
    m_pStarsLabel = new ChangingLabel({""}, 0);
    addValueLabel(0, m_pStarsLabel);

    pTable->newRow();
    pTable->newCell();
    addCaption("GSM_Customers");
    m_pCustomersLabel = new ChangingLabel({"", "/", decimal(data.m_nDayCustomerCount).c_str()}, 0);
    addTextValue(m_pCustomersLabel, decimal(0));
}

void GameStatsMode::addTimeRow() {
    Zep::SmartPtr<Table> pTable = getTable();
    pTable->newRow();
    pTable->newCell();
    addCaption("GSM_Time");
    pTable->newCell();
    // Placed as the other values are, so that it starts where they start.
    m_pTimeLabel = addTextToTable(formatText(getText("StatTimePlayed"), 0, 0).c_str(), kRightAlign);
    m_pTimeLabel->setTextAlign(kRightAlign);
    m_pTimeLabel->setWrapWidth(kValueWrapWidth, false);
}

void GameStatsMode::addSeparatorRow() {
    getTable()->newRow();
    getTable()->newCell(2);
    addImageToTable("bubble_separator", kCentred);
}

// The customers row in kinds 1 and 2; the totals in the campaign. Then the jingle.
void GameStatsMode::addClosingRows() {
    const LevelData& data = *m_pLevelData;
    Zep::SmartPtr<Table> pTable = getTable();
    if (gameKind() != 0) {
        playJingle("ms_loselevel");
        pTable->newRow();
        addCaption("GSM_Customers");
        m_pCustomersLabel = new ChangingLabel({""}, 0);
        addValueLabel(0, m_pCustomersLabel);
        return;
    }
    pTable->newRow();
    addCaption("GSM_Total");
    m_pTotalLabel = new ChangingLabel({"$", ""}, 1);
    addValueLabel(data.m_nTotalMoneyBefore, m_pTotalLabel);
    pTable->newRow();
    addCaption("GSM_TotalStars");
    m_pTotalStarsLabel = new ChangingLabel({""}, 0);
    addValueLabel(data.m_nTotalStarsBefore, m_pTotalStarsLabel);
    playJingle(isGoalReached() ? "ms_winlevel" : "ms_loselevel");
}

void GameStatsMode::addButtonRow() {
    Zep::SmartPtr<Table> pTable = getTable();
    pTable->newRow();
    pTable->newCell(2);
    Zep::SmartPtr<Table> pInner = new Table(this);
    // The theme shows a caption through the string table's text of its lower-case form.
    m_pExitButton = new Button(gameKind() == 1 ? "exit" : "ok", kButtonId);
    addControl(m_pExitButton.get());
    pInner->newCell();
    pInner->add(addSprite(new Sprite(createImage(1, kButtonGap, 1), 0, 0, 0)).get(), kInnerAlign);
    pInner->newRow();
    pInner->add(m_pExitButton.get(), kCentred);
    if (gameKind() == 0) m_pExitButton->setEnabled(false);
    pTable->add(pInner.get(), kInnerAlign);
}

void GameStatsMode::playJingle(const char* szName) {
    if (GameApp* pApp = getApp()) pApp->playSound(pApp->getSample(szName), false, kJingleChannel);
}

void GameStatsMode::onEnd() {
    end();
    getTable()->setVisible(false);
}

void GameStatsMode::onCallback(int nId, void*) {
    if (nId != kButtonId) return;
    if (GameApp* pApp = getApp()) pApp->stopAllAudio();
    endMode();
}

// ---- Counting --------------------------------------------------------------------------

// A step that reaches its target ends showing it exactly, in whatever frame
// that happens: its first one too, when the frame's share of the target
// passes it at once (a large total, a long frame). A step that counts
// nothing (its value already at the target) shows the same value again and
// ends without a tick.
void GameStatsMode::onUpdate(float fDelta) {
    if (m_nStep >= kLastStep) return;
    m_fValue += static_cast<float>(m_nTarget) * fDelta;
    const bool bReached = !(m_fValue < static_cast<float>(m_nTarget));
    if (bReached) m_fValue = static_cast<float>(m_nTarget);
    if (m_bStepDone)
        if (GameApp* pApp = getApp()) pApp->stopSound(kTickChannel);
    m_bStepDone = bReached;
    const int nShown = bReached ? m_nTarget : truncated(m_fValue);
    playTick(m_nShown, nShown);
    showValue(nShown);
    if (!m_bStepDone) return;
    ++m_nStep;
    prepareStep();
}

void GameStatsMode::playTick(int nBefore, int nShown) {
    GameApp* pApp = getApp();
    IAudioDriver* pAudio = pApp ? pApp->getAudioDriver() : nullptr;
    if (!pAudio || pAudio->isChannelPlaying(kTickChannel)) return;
    if (nShown <= nBefore) return;
    Zep::SmartPtr<Sample> pTick = pApp->getSample("sfx_game_number");
    pTick->setVolume(kTickVolume);
    pApp->playSound(pTick, false, kTickChannel);
}

void GameStatsMode::showValue(int nValue) {
    m_nShown = nValue;
    if (m_nStep == 1 && m_pTimeLabel.notNULL()) {
        const char* szFormat = getText("StatTimePlayed");
        m_pTimeLabel->setText(
            formatText(szFormat, nValue / kSecondsPerMinute, nValue % kSecondsPerMinute).c_str());
    } else if (m_pCurrent.notNULL()) {
        m_pCurrent->setValue(decimal(nValue));
    }
}

void GameStatsMode::count(const Zep::SmartPtr<ChangingLabel>& pLabel, int nFrom, int nTo) {
    m_pCurrent = pLabel;
    m_fValue = static_cast<float>(nFrom);
    m_nShown = nFrom;
    m_nTarget = nTo;
}

// A step that does not apply to the game kind leaves label, value and target
// as they were, so the next frame passes it.
void GameStatsMode::prepareStep() {
    const LevelData& data = *m_pLevelData;
    switch (m_nStep) {
        case 1:
            if (gameKind() != 0) count(nullptr, 0, truncated(data.m_fTimePlayed));
            break;
        case 2:
            if (m_pStarsLabel.notNULL()) count(m_pStarsLabel, 0, data.m_nDayStars);
            break;
        case 3: count(m_pCustomersLabel, 0, data.m_nCustomersServed); break;
        case 4:
            if (m_pTotalLabel.notNULL() && isGoalReached()) {
                const int nTotal = m_pTotalLabel->getIntValue();
                count(m_pTotalLabel, nTotal, cappedSum(nTotal, m_pScoreLabel->getIntValue()));
            }
            break;
        case 5:
            if (m_pTotalStarsLabel.notNULL()) {
                const int nBefore = data.m_nTotalStarsBefore;
                const int nStars = m_pStarsLabel->getIntValue();
                count(m_pTotalStarsLabel, nBefore, cappedSum(nBefore, nStars));
            }
            break;
        case kLastStep: finishCount(); break;
        default: break;
    }
}

void GameStatsMode::finishCount() {
    m_pExitButton->setEnabled(true);
    writeResults(m_pStarsLabel.notNULL() ? m_pStarsLabel->getIntValue() : 0);
}

// The count ends on the day's stars: they are its result when it is cut short.
void GameStatsMode::onAppQuit() {
    if (m_nStep < kLastStep) writeResults(m_pLevelData->m_nDayStars);
}

void GameStatsMode::writeResults(int nStars) {
    if (m_pTotalLabel.notNULL() && isGoalReached()) m_pLevelData->m_nResultMoney = m_pLevelData->m_nDayMoney;
    if (m_pStarsLabel.notNULL()) m_pLevelData->m_nResultStars = nStars;
}

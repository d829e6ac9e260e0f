// The highscore screen (highscoremode.h).
#include "screens/highscoremode.h"

#include <zep2/error.h>

#include "screens/sandtiles.h"
#include "ui/ui_label.h"

namespace {

constexpr const char* kZepSource = ".\\src\\highscoremode";

constexpr const char* kBackImage = "high_back";
constexpr const char* kPageFrame = "EmptyFrame";
constexpr const char* kHeaderFont = "Sand::HighScoreTitle";
constexpr const char* kEntryFont = "Theme::DefaultHighScore";
constexpr int kCentred = 0x24;
constexpr int kLeft = 1;
constexpr int kPageX = 280;
constexpr int kPageY = 150;

}  // namespace

HighScoreMode::HighScoreMode() : TUKMode(1) {}

HighScoreMode::~HighScoreMode() = default;

void HighScoreMode::onEnter() {
    ZEP_TRACE("HighScoreMode::onEnter");
    sandtiles::addTo(*this, -2);
    addSprite(new Sprite(getImage(kBackImage), 0, 0, -1));
    for (int i = 0; i < HighscoreLists::kListCount; ++i) m_lPages.add(Zep::SmartPtr<Table>());
    loadHighscores();
    for (HighscoreList& list : getLists()) HighscoreLists::sortList(list);
    buildPage(0);
    addTabs();
    Zep::SmartPtr<Button> pBack = new Button(getText("HF_Back"), kBackId);
    addControl(pBack.get());
    pBack->setPosition(606, 460);
    m_pTabTable->setPosition(70, 160);
    m_pTabTable->setZOrder(2);
    for (const Zep::SmartPtr<Table>& pPage : m_lPages)
        if (pPage.notNULL()) pPage->setZOrder(kHiddenLayer);
    m_lTabs[0]->setChecked(true);
    m_lBuilt[0] = true;
    m_lPages[0]->setFramed(true);
    m_lPages[0]->setZOrder(kShownLayer);
    m_lPages[0]->setPosition(kPageX, kPageY);
}

void HighScoreMode::addTabs() {
    m_pTabTable = new Table(this);
    for (int i = 0; i < HighscoreLists::kListCount; ++i) {
        Zep::SmartPtr<ToggleButton> pTab = new ToggleButton("", i);
        pTab->setStyle(kTabStyles[i]);
        addControl(pTab.get());
        m_pTabTable->add(pTab.get(), kCentred);
        m_pTabTable->newRow();
        m_lTabs.add(pTab);
        m_lBuilt.add(false);
    }
}

void HighScoreMode::onCallback(int nId, void*) {
    if (nId == kBackId) {
        endMode();
        return;
    }
    if (nId < 0 || nId >= m_lBuilt.getCount()) return;
    if (!m_lBuilt[nId]) {
        buildPage(nId);
        m_lBuilt[nId] = true;
        m_lPages[nId]->setPosition(kPageX, kPageY);
    }
    showPage(nId);
}

void HighScoreMode::showPage(int nList) {
    for (const Zep::SmartPtr<ToggleButton>& pTab : m_lTabs) pTab->setChecked(false);
    m_lTabs[nList]->setChecked(true);
    for (const Zep::SmartPtr<Table>& pPage : m_lPages)
        if (pPage.notNULL()) pPage->setZOrder(kHiddenLayer);
    m_lPages[nList]->setZOrder(kShownLayer);
}

// ---- Pages ----------------------------------------------------------------------

Zep::SmartPtr<Table> HighScoreMode::column(const char* szHeader, int nWrapWidth) {
    Zep::SmartPtr<Table> pColumn = new Table(this);
    Zep::SmartPtr<Label> pHeader = new Label(szHeader, 0, 0, 0, nWrapWidth, false);
    pHeader->setFont(getFont(kHeaderFont));
    pHeader->setTextAlign(kLeft);
    pColumn->add(pHeader.get(), kLeft);
    pColumn->newRow();
    return pColumn;
}

void HighScoreMode::addEntryLabel(Table& column, const char* szText) {
    Zep::SmartPtr<Label> pLabel = new Label(szText);
    pLabel->setFont(getFont(kEntryFont));
    column.add(pLabel.get(), kLeft);
    column.newRow();
}

void HighScoreMode::buildPage(int nList) {
    ZEP_TRACE("HighScoreMode::buildPage");
    Zep::SmartPtr<Table> pPage = new Table(this);
    pPage->setFrameStyle(kPageFrame);
    Zep::SmartPtr<Table> pRanks = column(getText(""), 30);
    Zep::SmartPtr<Table> pNames = column(getText("HF_Name"), 130);
    Zep::SmartPtr<Table> pScores = column(getText("HF_Score"), 130);
    int nRank = 0;
    for (const HighscoreEntry& entry : getLists()[nList]) {
        addEntryLabel(*pRanks, Zep::String::format("%d", ++nRank).c_str());
        addEntryLabel(*pNames, entry.getName().c_str());
        addEntryLabel(*pScores, Zep::String::format("%d", entry.getScore()).c_str());
    }
    pPage->add(pRanks.get(), kLeft);
    pPage->newCell(1);
    pPage->add(pNames.get(), kLeft);
    pPage->newCell(1);
    pPage->add(pScores.get(), kLeft);
    m_lPages[nList] = pPage;
}

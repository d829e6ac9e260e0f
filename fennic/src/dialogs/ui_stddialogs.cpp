#include "dialogs/ui_stddialogs.h"

#include <cstdlib>

#include "application/gameapp.h"
#include "base/keys.h"
#include "theme/theme.h"

namespace {

constexpr int kCentred = 0x24;

}  // namespace

// ---- StartAgainDlg ---------------------------------------------------------------------

StartAgainDlg::StartAgainDlg(ICallbackTarget* pTarget, int nCancelId, int nStartNewId, int nContinueId,
                             const char* szExtraText)
    : DialogMode(true),
      m_nCancelId(nCancelId),
      m_nStartNewId(nStartNewId),
      m_nContinueId(nContinueId),
      m_pTarget(pTarget),
      m_bHasExtraText(szExtraText != nullptr),
      m_sExtraText(szExtraText ? szExtraText : "") {}

StartAgainDlg::~StartAgainDlg() = default;

void StartAgainDlg::onEnter() {
    start();
    setTextWrapWidth(300);
    Zep::SmartPtr<Table> pTable = getTable();
    // Title, separator, main text, the hook.
    pTable->newRow();
    if (Zep::SmartPtr<Label> pTitle = addTextOrImageToTable(getText("SAD_Title"), kCentred); pTitle.notNULL()) {
        if (Zep::SmartPtr<Theme> pTheme = getApp() ? getApp()->getTheme() : nullptr; pTheme.notNULL())
            pTitle->setFont(pTheme->getFont("Theme::DialogTitle"));
    }
    pTable->newRow();
    Zep::SmartPtr<Theme> pTheme = getApp() ? getApp()->getTheme() : nullptr;
    addSpriteToTable(pTheme.notNULL() ? pTheme->getLongSeparator() : Zep::SmartPtr<Image>(), kCentred);
    pTable->newRow();
    centreLines(*addTextToTable(getText("SAD_MainText"), kCentred));
    addExtraContent(pTable);
    // The answers, then the extra text below them.
    addAnswerButton("SAD_Continue", kContinue);
    addAnswerButton("SAD_StartNew", kStartNew);
    addAnswerButton("SAD_Cancel", kCancel);
    if (m_bHasExtraText) {
        pTable->newRow();
        addTextToTable(m_sExtraText.c_str(), kCentred);
    }
}

void StartAgainDlg::addExtraContent(Zep::SmartPtr<Table>) {}

// A question that wraps is set centred under the centred title; addText
// has already wrapped it in balanced lines.
void StartAgainDlg::centreLines(Label& question) { question.setTextAlign(kCentred); }

void StartAgainDlg::addAnswerButton(const char* szKey, int nAnswer) {
    getTable()->newRow();
    Zep::SmartPtr<Button> pButton = new Button(getText(szKey), nAnswer);
    addControl(pButton.get());
    GameApp* pApp = getApp();
    if (pApp && pApp->hasText("SAD_ButtonStyle")) pButton->setStyle(pApp->getText("SAD_ButtonStyle"));
    getTable()->add(pButton.get(), kCentred);
}

void StartAgainDlg::onCallback(int nAnswer, void*) {
    const int aIds[3] = {m_nCancelId, m_nStartNewId, m_nContinueId};
    if (nAnswer < 0 || nAnswer > 2) return;
    endMode();
    if (m_pTarget) m_pTarget->onCallback(aIds[nAnswer], nullptr);
}

// Escape answers Cancel, and the key is still reported as the base answers.
bool StartAgainDlg::onKeyDown(int nKey, int nModifiers) {
    if (nKey == Key::Escape) onCallback(kCancel, nullptr);
    return GameMode::onKeyDown(nKey, nModifiers);
}

// ---- GamePausedDlg ---------------------------------------------------------------------

GamePausedDlg::GamePausedDlg(const char* szText, bool bCloseOnKey, bool bCloseOnClick)
    : DialogMode(true), m_bCloseOnKey(bCloseOnKey), m_bCloseOnClick(bCloseOnClick), m_sText(szText ? szText : "") {}

GamePausedDlg::~GamePausedDlg() = default;

void GamePausedDlg::onEnter() {
    start();
    setTextWrapWidth(300);
    Zep::SmartPtr<Table> pTable = getTable();
    pTable->newRow();
    if (Zep::SmartPtr<Label> pTitle = addTextOrImageToTable("GPD_Title", kCentred); pTitle.notNULL())
        pTitle->setThemeFont("Theme::DialogTitle");
    if (!m_sText.trim().isEmpty()) {
        pTable->newRow();
        addTextToTable(m_sText.c_str(), kCentred)->setTextAlign(kCentred);
    }
    pTable->newRow();
    addImageToTable("separator", kCentred);
    pTable->newRow();
    addTextToTable(getText("GPD_Text"), kCentred);
}

bool GamePausedDlg::onKeyDown(int nKey, int nModifiers) {
    if (!m_bCloseOnKey) return GameMode::onKeyDown(nKey, nModifiers);
    endMode();
    return true;
}

bool GamePausedDlg::onMouseDown(int nButtonMask, int x, int y) {
    if (!m_bCloseOnClick) return GameMode::onMouseDown(nButtonMask, x, y);
    endMode();
    return true;
}

// ---- ExitConfirmMode -------------------------------------------------------------------

ExitConfirmMode::ExitConfirmMode(int nQueryCount) : DialogMode(true), m_nQueryCount(nQueryCount) {}

ExitConfirmMode::~ExitConfirmMode() = default;

void ExitConfirmMode::onEnter() {
    start();
    Zep::SmartPtr<Table> pTable = getTable();
    // The question over two columns; a count below 1 counts as 1.
    pTable->newRow();
    pTable->newCell(2);
    const int nCount = m_nQueryCount < 1 ? 1 : m_nQueryCount;
    const Zep::String sKey = Zep::String::format("ECD_QueryExit%d", std::rand() % nCount);
    addTextToTable(getText(sKey.c_str()), kCentred);
    pTable->newRow();
    addAnswerButton("yes", 0);
    addAnswerButton("no", 1);
    if (GameApp* pApp = getApp()) pApp->showCursor(true);
    layout(1);
}

void ExitConfirmMode::addAnswerButton(const char* szCaption, int nAnswer) {
    Zep::SmartPtr<Button> pButton = new Button(szCaption, nAnswer);
    addControl(pButton.get());
    getTable()->newCell(1);
    getTable()->add(pButton.get(), kCentred);
}

void ExitConfirmMode::onCallback(int nAnswer, void*) {
    if (nAnswer == 0) onConfirm();
    if (nAnswer == 1) onCancel();
}

bool ExitConfirmMode::onKeyDown(int nKey, int nModifiers) {
    if (nKey != Key::Return && nKey != Key::Space && nKey != Key::KPEnter) return GameMode::onKeyDown(nKey, nModifiers);
    onCallback(0, nullptr);
    return true;
}

void ExitConfirmMode::onConfirm() {
    GameApp* pApp = getApp();
    if (!pApp) return;
    if (m_pFollowUpMode)
        pApp->pushMode(m_pFollowUpMode.release());
    else
        pApp->quit(0);
}

void ExitConfirmMode::onCancel() {
    m_pFollowUpMode.reset();
    if (GameApp* pApp = getApp()) pApp->setQuitDialogClosed();
    endMode();
}

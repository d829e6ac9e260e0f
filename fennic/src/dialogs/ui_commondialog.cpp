// The answer dialog and the two ready-made ones built on it.
#include "base/keys.h"
#include "dialogs/ui_dialog.h"

namespace {

constexpr int kAlignLeftTop = 1;
constexpr int kAlignCentred = 0x24;
// A text narrower than the body (the body is as wide as the dialog) stands in its middle.
constexpr int kAlignCentredTop = 4;
constexpr int kMessageWrapWidth = 600;

}  // namespace

// ---- CommonDialog ----------------------------------------------------------------------

CommonDialog::CommonDialog(ICallbackTarget* pNotify)
    : DialogMode(true), m_pNotifyTarget(pNotify), m_pBodyTable(new Table(this)), m_pButtonTable(new Table(this)) {
    Zep::SmartPtr<Table> pContent = getTable();
    pContent->newRow();
    pContent->newCell(1);
    pContent->add(m_pBodyTable.get(), kAlignLeftTop);
    pContent->newRow();
    pContent->newCell(1);
    pContent->add(m_pButtonTable.get(), kAlignCentred);
}

CommonDialog::~CommonDialog() = default;

void CommonDialog::onCallback(int nId, void*) {
    switch (nId) {
        case kYes: onYes(); break;
        case kNo: onNo(); break;
        case kOk: onOk(); break;
        case kCancel: onCancel(); break;
        default: break;
    }
}

// Ended first, then told: the target may push a mode of its own.
void CommonDialog::answer(int nStoredId) {
    endMode();
    if (nStoredId != -1 && m_pNotifyTarget) m_pNotifyTarget->onCallback(nStoredId, nullptr);
}

bool CommonDialog::onKeyDown(int nKey, int nModifiers) {
    if (nKey == Key::Return) {
        if (m_nYesId == -1 && m_nOkId == -1) return false;
        onCallback(m_nYesId != -1 ? kYes : kOk, nullptr);
        return true;
    }
    if (nKey == Key::Escape) {
        if (m_nCancelId == -1 && m_nNoId == -1) return false;
        onCallback(m_nCancelId != -1 ? kCancel : kNo, nullptr);
        return true;
    }
    return GameMode::onKeyDown(nKey, nModifiers);
}

void CommonDialog::addImageToTable(const char* szImageName, int nAlign) {
    m_pBodyTable->newRow();
    addImage(m_pBodyTable, szImageName, nAlign);
}

Zep::SmartPtr<Label> CommonDialog::addTextToTable(const char* szText, int nAlign) {
    m_pBodyTable->newRow();
    return addText(m_pBodyTable, szText, nAlign);
}

void CommonDialog::addButton(Zep::SmartPtr<Button> pButton) {
    if (!containsSprite(pButton.get())) addControl(pButton.get());
    m_pButtonTable->newCell(1);
    m_pButtonTable->add(pButton.get(), kAlignCentred);
}

void CommonDialog::addAnswerButton(const char* szCaption, int nAnswer) {
    Zep::SmartPtr<Button> pButton = new Button(szCaption, nAnswer);
    addControl(pButton.get());
    addButton(pButton);
}

// ---- DlgYesNo and DlgMessage -----------------------------------------------------------

DlgYesNo::DlgYesNo(ICallbackTarget* pNotify, const char* szText, int nYesId, int nNoId) : CommonDialog(pNotify) {
    setYesId(nYesId);
    setNoId(nNoId);
    if (szText && *szText) addText(getBodyTable(), szText, kAlignCentredTop);
    addAnswerButton("yes", kYes);
    addAnswerButton("no", kNo);
    layout(1);
}

DlgYesNo::~DlgYesNo() = default;

DlgMessage::DlgMessage(ICallbackTarget* pNotify, const char* szText, int nOkId) : CommonDialog(pNotify) {
    setOkId(nOkId);
    if (szText && *szText) m_sText = szText;
}

DlgMessage::~DlgMessage() = default;

// The button first: the room left for the text is measured without it.
void DlgMessage::start() {
    addAnswerButton("ok", kOk);
    if (!m_sText.isEmpty()) {
        const int nRoom = getRoomOnScreen();
        Zep::SmartPtr<Label> pText = addText(getBodyTable(), m_sText.c_str(), kAlignCentredTop);
        pText->setBalancedWrapWidth(kMessageWrapWidth);
        fitTextHeight(*pText, kMessageWrapWidth, nRoom);
    }
    layout(1);
    DialogMode::start();
}

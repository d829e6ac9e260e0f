// The name entry for a new profile: an edit box with the name rules, OK and
// (unless refused) Cancel.
#include <algorithm>

#include <zep2/random_pick.h>

#include "driver/audiodriver.h"
#include "text/font.h"
#include "application/gameapp.h"
#include "base/keys.h"
#include "application/profiles.h"
#include "theme/theme.h"
#include "dialogs/ui_profiledialogs.h"

namespace {

constexpr int kCentred = 0x24;
constexpr int kHCentred = 4;
constexpr int kEditBoxZ = 10;
// The default field: black at half strength under the name.
constexpr int kFieldAlpha = 128;

}  // namespace

CreateProfileDialog::CreateProfileDialog(ProfileManager* pManager, SelectProfileDialog* pSelectDialog)
    : DialogMode(true), m_pSelectDialog(pSelectDialog), m_pManager(pManager) {}

CreateProfileDialog::~CreateProfileDialog() = default;

void CreateProfileDialog::onEnter() {
    __CleanupTempImages guard;
    start();
    loadKeySounds();
    // Title and prompt.
    getTable()->newRow();
    getTable()->newCell(2);
    if (Zep::SmartPtr<Label> pTitle = addTextOrImageToTable(getText("CPD_CreateProfile"), kCentred); pTitle.notNULL())
        pTitle->setThemeFont("Theme::DialogTitle");
    getTable()->newRow();
    getTable()->newCell(2);
    addTextToTable(getText("CPD_EnterYourName"), kHCentred)->setTextAlign(kHCentred);
    // The edit box, a separator, the buttons; OK starts disabled for the empty name.
    buildEditBox();
    getTable()->newRow();
    getTable()->newCell(2);
    getTable()->add(m_pEditBox.get(), kCentred);
    getTable()->newRow();
    getTable()->newCell(2);
    Zep::SmartPtr<Theme> pTheme = getApp() ? getApp()->getTheme() : Zep::SmartPtr<Theme>();
    addSpriteToTable(pTheme.notNULL() ? pTheme->getLongSeparator() : Zep::SmartPtr<Image>(), kCentred);
    buildButtons();
    onCallback(kEdited, nullptr);
}

void CreateProfileDialog::loadKeySounds() {
    GameApp* pApp = getApp();
    if (!pApp || !pApp->hasText("CPD_KeySounds")) return;
    for (const Zep::String& sWord : Zep::String(pApp->getText("CPD_KeySounds")).split(" "))
        if (Zep::SmartPtr<Sample> pSample = getSample(sWord.c_str()); pSample.notNULL()) m_lKeySounds.add(pSample);
}

void CreateProfileDialog::buildEditBox() {
    m_pEditBox = new EditBox(0, 0, kEditBoxZ, kMaxNameWidth, true);
    addControl(m_pEditBox.get());
    m_pEditBox->setMaxLength(kMaxNameLength);
    m_pEditBox->setTextColor(Color(255, 255, 255, 255));
    m_pEditBox->setCallbackId(kEdited);
    m_pEditBox->takeFocus();
    applyNameRules();
    setEditBoxBackground();
    fitTextToField();
}

// The optional keys of the string tables tighten the rules.
void CreateProfileDialog::applyNameRules() {
    GameApp* pApp = getApp();
    if (!pApp) return;
    if (pApp->hasText("CPD_MaxNameLength"))
        m_pEditBox->setMaxLength(Zep::String::toInt(pApp->getText("CPD_MaxNameLength")));
    if (pApp->hasText("SPD_AllowedChars")) m_pEditBox->setAllowedChars(pApp->getText("SPD_AllowedChars"));
    if (pApp->hasText("SPD_ForbiddenChars")) m_pEditBox->setForbiddenChars(pApp->getText("SPD_ForbiddenChars"));
    if (pApp->hasText("CPD_FullSound")) m_pEditBox->setFullSound(getSample(pApp->getText("CPD_FullSound")));
}

// "SPD_EditBoxStyle": width, height, frame style and, with six words or more, the insertion point.
void CreateProfileDialog::setEditBoxBackground() {
    GameApp* pApp = getApp();
    if (pApp && pApp->hasText("SPD_EditBoxStyle")) {
        Zep::List<Zep::String> w = Zep::String(pApp->getText("SPD_EditBoxStyle")).split(" ");
        while (w.getCount() < 3) w.add(Zep::String());
        const bool bInsPoint = w.getCount() > 5;
        m_pEditBox->setFrameBackground(w[0].toInt(), w[1].toInt(), w[2].c_str(), bInsPoint ? w[3].toInt() : 0,
                                       bInsPoint ? w[4].toInt() : 0);
        return;
    }
    Zep::SmartPtr<Font> pFont = m_pEditBox->getFont();
    Zep::SmartPtr<Image> pBack = createImage(kMaxNameWidth, (pFont.notNULL() ? pFont->getHeight() : 0) + 10, 1);
    if (pBack.isNULL()) return;
    pBack->setInsPoint(0, 5);
    pBack->fill(Color(0, 0, 0, kFieldAlpha));
    m_pEditBox->setBackground(pBack);
}

// The name and the caret behind it stay inside the field, between its margins.
void CreateProfileDialog::fitTextToField() {
    Zep::SmartPtr<Image> pField = m_pEditBox->getBackground();
    Zep::SmartPtr<Font> pFont = m_pEditBox->getFont();
    if (pField.isNULL() || pFont.isNULL()) return;
    const int nRoom = pField->getWidth() - 2 * m_pEditBox->getTextMargin() - pFont->getTextWidth("_");
    m_pEditBox->setWrapWidth(std::max(nRoom, 1), false);
}

void CreateProfileDialog::buildButtons() {
    getTable()->newRow();
    getTable()->newCell(m_bCancelAllowed ? 1 : 2);
    m_pOkButton = new Button(getText("CPD_OK"), kOk);
    addControl(m_pOkButton.get());
    getTable()->add(m_pOkButton.get(), kCentred);
    if (!m_bCancelAllowed) return;
    getTable()->newCell(1);
    Zep::SmartPtr<Button> pCancel = new Button(getText("CPD_Cancel"), kCancel);
    addControl(pCancel.get());
    getTable()->add(pCancel.get(), kCentred);
}

void CreateProfileDialog::onCallback(int nId, void*) {
    const Zep::String sName = m_pEditBox.notNULL() ? m_pEditBox->getText().trim() : Zep::String();
    switch (nId) {
        case kOk:
            m_pManager->createProfile(sName.c_str());
            if (m_pSelectDialog) m_pSelectDialog->onProfileCreated(sName);
            endMode();
            break;
        case kCancel:
            if (m_bCancelAllowed) endMode();
            break;
        case kEdited:
            m_pOkButton->setEnabled(m_pSelectDialog ? m_pSelectDialog->isNameAvailable(sName) : !sName.isEmpty());
            if (!m_lKeySounds.isEmpty() && getApp()) getApp()->playSound(Zep::pickRandom(m_lKeySounds), false, -1);
            break;
        default: break;
    }
}

bool CreateProfileDialog::onKeyDown(int nKey, int nModifiers) {
    if (nKey == Key::Return || nKey == Key::KPEnter) {
        if (m_pOkButton.notNULL() && m_pOkButton->isEnabled()) onCallback(kOk, nullptr);
        return true;
    }
    if (nKey == Key::Escape) {
        onCallback(kCancel, nullptr);
        return true;
    }
    return GameMode::onKeyDown(nKey, nModifiers);
}

bool CreateProfileDialog::onMouseDown(int nButtonMask, int x, int y) {
    if (m_pEditBox.notNULL() && !m_pEditBox->hasFocus()) {
        const int nCaret = m_pEditBox->getCaretPos();
        m_pEditBox->takeFocus();
        m_pEditBox->setCaretPos(nCaret);
    }
    return DialogMode::onMouseDown(nButtonMask, x, y);
}

void CreateProfileDialog::onResume() {
    onBecameTop();
    if (getApp()) getApp()->showCursor(true);
}

// The deletion confirmation, the main menu's check of the current profile and
// the cache guard of the profile dialogs.
#include "application/gameapp.h"
#include "base/keys.h"
#include "application/profiles.h"
#include "theme/theme.h"
#include "dialogs/ui_profiledialogs.h"

namespace {

constexpr int kCentred = 0x24;
constexpr int kButtonAlign = 9;
constexpr const char* kCurrentKey = "CurrentPlayerName";
// The name to be deleted stands out in amber, which reads on dark dialog
// panels (pure red on them does not).
const Color kNameColor(255, 190, 90, 255);

}  // namespace

// ---- __CleanupTempImages -----------------------------------------------------------------

__CleanupTempImages::__CleanupTempImages() {
    if (GameApp* pApp = GameApp::getInstance()) m_lNames = pApp->getImageNames();
}

__CleanupTempImages::~__CleanupTempImages() {
    if (GameApp* pApp = GameApp::getInstance()) pApp->releaseImagesNotIn(m_lNames);
}

// ---- DeleteProfileDialog -----------------------------------------------------------------

DeleteProfileDialog::DeleteProfileDialog(ICallbackTarget* pNotify, const char* szDisplayName)
    : DialogMode(true), m_sName(szDisplayName), m_pNotify(pNotify) {}

DeleteProfileDialog::~DeleteProfileDialog() = default;

void DeleteProfileDialog::onEnter() {
    __CleanupTempImages guard;
    start();
    Zep::SmartPtr<Theme> pTheme = getApp() ? getApp()->getTheme() : Zep::SmartPtr<Theme>();
    const Zep::SmartPtr<Image> pSeparator = pTheme.notNULL() ? pTheme->getLongSeparator() : Zep::SmartPtr<Image>();
    // Title, separator, question, the name in amber, separator.
    getTable()->newRow();
    if (Zep::SmartPtr<Label> pTitle = addTextOrImageToTable(getText("SPD_DeleteProfile"), kCentred); pTitle.notNULL())
        pTitle->setThemeFont("Theme::DialogTitle");
    getTable()->newRow();
    addSpriteToTable(pSeparator, kCentred);
    getTable()->newRow();
    addTextOrImageToTable(getText("SPD_ConfirmDelete"), kCentred);
    getTable()->newRow();
    Zep::SmartPtr<Label> pName = addTextToTable(m_sName.c_str(), kCentred);
    pName->setTextColor(kNameColor);
    pName->setTextAlign(kCentred);
    getTable()->newRow();
    addSpriteToTable(pSeparator, kCentred);
    // Confirm and cancel.
    Zep::SmartPtr<Table> pButtons = new Table(this);
    const struct { const char* szKey; int nId; } kButtons[] = {{"SPD_BtnConfirmDelete", kConfirm},
                                                                {"SPD_BtnCancelDelete", kCancel}};
    for (const auto& b : kButtons) {
        pButtons->newCell(1);
        Zep::SmartPtr<Button> pButton = new Button(getText(b.szKey), b.nId);
        addControl(pButton.get());
        pButtons->add(pButton.get(), kButtonAlign);
    }
    getTable()->newRow();
    getTable()->add(pButtons.get(), kCentred);
}

void DeleteProfileDialog::onCallback(int nId, void*) {
    if (nId == kConfirm) {
        if (m_pNotify) m_pNotify->onCallback(SelectProfileDialog::kDeleteConfirmed, nullptr);
        endMode();
    } else if (nId == kCancel) {
        endMode();
    }
}

bool DeleteProfileDialog::onKeyDown(int nKey, int nModifiers) {
    if (nKey != Key::Escape) return GameMode::onKeyDown(nKey, nModifiers);
    onCallback(kCancel, nullptr);
    return true;
}

// ---- MainMenuProfileManager --------------------------------------------------------------

MainMenuProfileManager::MainMenuProfileManager(ProfileManager* pManager) : m_pManager(pManager) {}

MainMenuProfileManager::~MainMenuProfileManager() = default;

CreateProfileDialog* MainMenuProfileManager::openCreateDialog() { return new CreateProfileDialog(m_pManager, nullptr); }

SelectProfileDialog* MainMenuProfileManager::openSelectDialog() { return new SelectProfileDialog(m_pManager, 0); }

int MainMenuProfileManager::checkCurrentProfile() {
    GameApp* pApp = GameApp::getInstance();
    // No current profile: the first one, or a new one when there is none.
    if (pApp->getSetting(kCurrentKey).isEmpty()) {
        const Zep::List<Zep::String> lNames = m_pManager->getProfileNames();
        if (lNames.isEmpty()) {
            CreateProfileDialog* pDialog = openCreateDialog();
            pDialog->setCancelAllowed();
            pApp->pushMode(pDialog);
            return 0;
        }
        pApp->setSetting(kCurrentKey, lNames.getFirst().c_str());
    }
    // A changed setting is taken; one that names no profile is dropped and the check runs again.
    int nResult = 2;
    if (pApp->getSetting(kCurrentKey) != m_sCurrentName) {
        m_sCurrentName = pApp->getSetting(kCurrentKey);
        if (!m_pManager->hasProfile(m_sCurrentName.c_str())) {
            pApp->setSetting(kCurrentKey, "");
            return checkCurrentProfile();
        }
        nResult = 1;
    }
    m_pManager->save();
    pApp->trySaveSettingsFile();
    return nResult;
}

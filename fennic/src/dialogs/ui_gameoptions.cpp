#include "dialogs/ui_gameoptions.h"

#include <zep2/error.h>

#include "application/gameapp.h"
#include "theme/theme.h"
#include "driver/videodriver.h"

namespace {

constexpr const char* kZepSource = ".\\src\\gameoptions";
constexpr int kCentred = 0x24;
constexpr int kLeftCentredV = 0x21;
// The depth of each colour-depth option, by id.
constexpr int kDepthOfId[3] = {16, 24, 32};

}  // namespace

GameOptionsDialog::GameOptionsDialog(ICallbackTarget* pNotify, int nContinueId, int nExitId)
    : DialogMode(true), m_pNotifyMode(pNotify), m_nExitId(nExitId), m_nContinueId(nContinueId) {
    getTable()->setName("GameOptionsDialog");
    m_pControlsTable = new Table(this);
    m_pControlsTable->setName("GOD::Controls");
}

GameOptionsDialog::~GameOptionsDialog() = default;

void GameOptionsDialog::onEnter() {
    start();
    if (getApp()) getApp()->showCursor(true);
    if (m_nSections & kTitleSection) addTitle();
    if (m_nSections & kVolumeSection) addVolumes();
    if (m_nSections & kFullscreenSection) addFullscreenChoice();
    if (m_nSections & kDepthSection) addDepthChoice();
    Zep::SmartPtr<Theme> pTheme = getApp() ? getApp()->getTheme() : Zep::SmartPtr<Theme>();
    if (m_nSections & (kFullscreenSection | kDepthSection)) {
        m_pControlsTable->newRow();
        addSprite(m_pControlsTable, pTheme.notNULL() ? pTheme->getShortSeparator() : Zep::SmartPtr<Image>(), kCentred);
    }
    // The sections, then the button row.
    getTable()->newRow();
    getTable()->newCell(1);
    getTable()->add(m_pControlsTable.get(), kCentred);
    getTable()->newRow();
    addButtons();
    getTable()->newCell(1);
    getTable()->add(m_pButtonsTable.get(), kCentred);
    layout(1);
}

void GameOptionsDialog::addTitle() {
    Zep::SmartPtr<Theme> pTheme = getApp() ? getApp()->getTheme() : Zep::SmartPtr<Theme>();
    getTable()->newRow();
    if (Zep::SmartPtr<Label> pTitle = addTextOrImageToTable("GOD_GameOptions", kCentred);
        pTitle.notNULL() && pTheme.notNULL())
        pTitle->setFont(pTheme->getFont("Theme::DialogTitle"));
    getTable()->newRow();
    addSpriteToTable(pTheme.notNULL() ? pTheme->getLongSeparator() : Zep::SmartPtr<Image>(), kCentred);
}

void GameOptionsDialog::addVolumes() {
    GameApp* pApp = getApp();
    Zep::SmartPtr<Table> pVolume = new Table(this);
    pVolume->setName("GOD::Volume");
    m_pSoundSlider = addVolumeRow(pVolume, "GOD_SoundVolume", kSoundVolume, pApp ? pApp->getSoundVolume() : 0);
    pVolume->newRow();
    m_pMusicSlider = addVolumeRow(pVolume, "GOD_MusicVolume", kMusicVolume, pApp ? pApp->getMusicVolume() : 0);
    m_pControlsTable->newRow();
    m_pControlsTable->add(pVolume.get(), kCentred);
    m_pControlsTable->newRow();
    Zep::SmartPtr<Theme> pTheme = pApp ? pApp->getTheme() : Zep::SmartPtr<Theme>();
    addSprite(m_pControlsTable, pTheme.notNULL() ? pTheme->getShortSeparator() : Zep::SmartPtr<Image>(), kCentred);
}

// The key's text or picture, then a 0-255 slider in a cell of its own.
Zep::SmartPtr<HSlider> GameOptionsDialog::addVolumeRow(Zep::SmartPtr<Table> pTable, const char* szKey, int nId,
                                                       int nVolume) {
    addTextOrImage(pTable, szKey, kCentred);
    Zep::SmartPtr<HSlider> pSlider = new HSlider(nId, 0, 255, nVolume);
    addControl(pSlider.get());
    pTable->newCell(1);
    pTable->add(pSlider.get(), kLeftCentredV);
    return pSlider;
}

void GameOptionsDialog::addFullscreenChoice() {
    const bool bFullscreen = getApp() && getApp()->isFullscreen();
    m_pControlsTable->newRow();
    Zep::SmartPtr<Table> pTable = new Table(this);
    pTable->setName("GOD::Fullscreen");
    pTable->setColumnSpacing(5);
    addRadio(pTable, m_rgFullscreen, "GOD_FullScreen", kFullscreen, bFullscreen);
    addRadio(pTable, m_rgFullscreen, "GOD_Windowed", kWindowed, !bFullscreen);
    m_pControlsTable->add(pTable.get(), kCentred);
}

void GameOptionsDialog::addDepthChoice() {
    const int nDepth = currentDepth();
    m_pControlsTable->newRow();
    Zep::SmartPtr<Table> pTable = new Table(this);
    pTable->setName("GOD::BPP");
    pTable->setColumnSpacing(5);
    addRadio(pTable, m_rgDepth, "GOD_16BPP", kDepth16, nDepth == 16);
    addRadio(pTable, m_rgDepth, "GOD_24BPP", kDepth24, nDepth == 24);
    addRadio(pTable, m_rgDepth, "GOD_32BPP", kDepth32, nDepth == 32);
    m_pControlsTable->add(pTable.get(), kCentred);
}

void GameOptionsDialog::addRadio(Zep::SmartPtr<Table> pTable, RadioGroup& group, const char* szKey, int nId,
                                 bool bChecked) {
    Zep::SmartPtr<RadioButton> pOption = new RadioButton(this, szKey, nId);
    pTable->newCell(1);
    pTable->add(pOption.get(), kCentred);
    group.add(pOption);
    if (bChecked) pOption->setChecked(true);
}

void GameOptionsDialog::addButtons() {
    m_pButtonsTable = new Table(this);
    m_pButtonsTable->setName("GOD::Buttons");
    if (m_pNotifyMode) {
        m_pButtonsTable->newCell(1);
        addButton("GOD_BtnContinue", kContinue);
        m_pButtonsTable->newCell(1);
        addButton("GOD_BtnExit", kExit);
    } else {
        addButton("GOD_BtnOK", kContinue);
        m_pButtonsTable->setCellFlags(1);
    }
}

void GameOptionsDialog::addButton(const char* szKey, int nId) {
    Zep::SmartPtr<Button> pButton = new Button(szKey, nId);
    addControl(pButton.get());
    m_pButtonsTable->add(pButton.get(), kCentred);
}

void GameOptionsDialog::onCallback(int nId, void*) {
    GameApp* pApp = getApp();
    if ((nId == kContinue || nId == kExit) && pApp) {
        pApp->storeScreenAndVolumeSettings();
        pApp->trySaveSettingsFile();
    }
    switch (nId) {
        case kContinue:
            endMode();
            if (m_pNotifyMode) m_pNotifyMode->onCallback(m_nContinueId, nullptr);
            break;
        case kExit:
            ZEP_ASSERT(m_pNotifyMode);
            endMode();
            m_pNotifyMode->onCallback(m_nExitId, nullptr);
            break;
        case kSoundVolume:
            if (!pApp) break;
            pApp->setSoundVolume(m_pSoundSlider->getValue());
            if (m_pTestSample.notNULL()) pApp->playSound(m_pTestSample, false, -1);
            break;
        case kMusicVolume:
            if (pApp) pApp->setMusicVolume(m_pMusicSlider->getValue());
            break;
        case kFullscreen:
        case kWindowed: switchFullscreen(nId == kFullscreen); break;
        case kDepth16:
        case kDepth24:
        case kDepth32: switchDepth(kDepthOfId[nId - kDepth16]); break;
        default: break;
    }
}

// The options show the real state at once; a switch that did not happen is reported.
void GameOptionsDialog::switchFullscreen(bool bOn) {
    if (!getApp()) return;
    getApp()->setFullscreen(bOn);
    updateRadioButtons();
    if (getApp()->isFullscreen() != bOn) reportFailedSwitch();
}

void GameOptionsDialog::switchDepth(int nBitsPerPixel) {
    IVideoDriver* pVideo = getApp() ? getApp()->getVideoDriver() : nullptr;
    if (!pVideo) return;
    pVideo->setBitDepth(nBitsPerPixel);
    updateRadioButtons();
    if (pVideo->getDesktopDepth() == nBitsPerPixel)
        getApp()->setSetting("BPP", Zep::String::format("%d", nBitsPerPixel).c_str());
    else
        reportFailedSwitch();
}

void GameOptionsDialog::reportFailedSwitch() {
    GameApp* pApp = getApp();
    if (!pApp || !pApp->hasText("GOD_CantToggle")) return;
    pApp->pushMode(new DlgMessage(this, pApp->getText("GOD_CantToggle"), -1));
}

int GameOptionsDialog::currentDepth() const {
    IVideoDriver* pVideo = getApp() ? getApp()->getVideoDriver() : nullptr;
    return pVideo ? pVideo->getDesktopDepth() : 0;
}

bool GameOptionsDialog::updateRadioButtons() {
    if (!m_rgDepth.isEmpty()) {
        const int nDepth = currentDepth();
        for (int i = 0; i < m_rgDepth.getCount() && i < 3; ++i) m_rgDepth.get(i)->setChecked(nDepth == kDepthOfId[i]);
    }
    return m_rgFullscreen.select(getApp() && getApp()->isFullscreen() ? kFullscreen : kWindowed);
}

void GameOptionsDialog::onUpdate(float) {
    if (getApp()) getApp()->continuePreload();
    updateRadioButtons();
}

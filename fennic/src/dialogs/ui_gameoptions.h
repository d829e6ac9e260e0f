// GameOptionsDialog: the standard options screen. Sliders for the sound and
// music volumes, a choice between full screen and window, optionally the
// colour depth, and a button row. Every change takes effect at once and
// nothing is undone; "BPP" is stored as it changes. The buttons that close
// the dialog store the volumes and the screen mode as the shutdown does and
// save the settings file at once (a failure is logged, the game goes on), so
// what the player confirmed outlives a crash or a kill.
//
// Sections by bit: 8 title, 4 volumes, 1 full screen or window, 2 colour depth
// (13 unless set). With a notify target the buttons are Continue and Exit and
// the target hears the stored id after the dialog has ended; without one there
// is a single OK. A switch the driver did not carry out leaves the options
// showing the real state and shows the text of "GOD_CantToggle" when that key
// exists, as a message whose OK id (-1) this dialog ignores. Each frame the
// background loading advances and the options follow the live state.
#pragma once

#include "driver/audiodriver.h"
#include "dialogs/ui_dialog.h"
#include "ui/ui_radio.h"
#include "ui/ui_slider.h"

class GameOptionsDialog : public DialogMode {
public:
    enum Section { kFullscreenSection = 1, kDepthSection = 2, kVolumeSection = 4, kTitleSection = 8 };
    enum Id {
        kContinue = 0, kExit = 1, kSoundVolume = 2, kMusicVolume = 3,
        kFullscreen = 7, kWindowed = 8, kDepth16 = 9, kDepth24 = 10, kDepth32 = 11
    };

    GameOptionsDialog(ICallbackTarget* pNotify, int nContinueId, int nExitId);
    ~GameOptionsDialog() override;

    void setSections(int nSections) { m_nSections = nSections; }
    int getSections() const { return m_nSections; }
    Zep::SmartPtr<Table> getControlsTable() const { return m_pControlsTable; }
    Zep::SmartPtr<Table> getButtonsTable() const { return m_pButtonsTable; }
    void setTestSample(Zep::SmartPtr<Sample> pSample) { m_pTestSample = pSample; }
    Zep::SmartPtr<HSlider> getSoundSlider() const { return m_pSoundSlider; }
    Zep::SmartPtr<HSlider> getMusicSlider() const { return m_pMusicSlider; }
    const RadioGroup& getFullscreenGroup() const { return m_rgFullscreen; }
    const RadioGroup& getDepthGroup() const { return m_rgDepth; }

    void onCallback(int nId, void* pData) override;
    void onEnter() override;
    void onEnd() override {}
    void onUpdate(float fSeconds) override;
    bool updateRadioButtons();

private:
    void addTitle();
    void addVolumes();
    Zep::SmartPtr<HSlider> addVolumeRow(Zep::SmartPtr<Table> pTable, const char* szKey, int nId, int nVolume);
    void addFullscreenChoice();
    void addDepthChoice();
    void addRadio(Zep::SmartPtr<Table> pTable, RadioGroup& group, const char* szKey, int nId, bool bChecked);
    void addButtons();
    void addButton(const char* szKey, int nId);
    void switchFullscreen(bool bOn);
    void switchDepth(int nBitsPerPixel);
    void reportFailedSwitch();
    int currentDepth() const;

    ICallbackTarget* m_pNotifyMode;  // not owned
    int32_t m_nExitId;
    int32_t m_nContinueId;
    Zep::SmartPtr<Table> m_pControlsTable;
    Zep::SmartPtr<Table> m_pButtonsTable;
    Zep::SmartPtr<HSlider> m_pMusicSlider;
    Zep::SmartPtr<HSlider> m_pSoundSlider;
    Zep::SmartPtr<Sample> m_pTestSample;
    RadioGroup m_rgFullscreen;
    RadioGroup m_rgDepth;
    int32_t m_nSections = 13;
};

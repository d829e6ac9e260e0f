// LongDialogMode: the congratulation dialog over the campaign map.
//
// Shows the picture "congrats", the text given first (a label in layer 7,
// wrapped at 330 pixels, centred) and an OK button ("CPD_OK") that sends the
// given id and ends the dialog; any callback ends it. The second text is
// kept and never shown. Nothing is built before the dialog is entered.
//
// While on top, every frame shoots one burst of flowers: one of the five
// pictures "mapa_flor_1_s" to "mapa_flor_5_s" (rand() % 5 + 1), as a private
// copy centred on its insertion point (the cached picture stays as it is),
// from a "flower_cannon.emitter" at x = 200 + rand() % 400, y = 300, at base
// z-order 0, emitting the definition's count; the particles go to the
// dialog, the emitter itself at once. rand() is drawn for the picture first,
// then for x. Mouse releases never reach the modes below.
#pragma once

#include <zep2/str.h>

#include "records/tukmode.h"

class LongDialogMode : public TUKDialog {
public:
    static constexpr const char* kEmitter = "flower_cannon.emitter";
    static constexpr int kFlowerY = 300;

    LongDialogMode(const Zep::String& sText, const Zep::String& sSecondText, int nButtonId);
    ~LongDialogMode() override;

    void onEnter() override;
    void onUpdate(float fDelta) override;
    void onCallback(int nId, void* pData) override;
    bool onMouseUp(int, int, int) override { return true; }

    void launchFlower();

    const Zep::String& getSecondText() const { return m_sSecondText; }

private:
    Zep::String m_sText;
    Zep::String m_sSecondText;
    int32_t m_nButtonId;
};

// LoadingDialog: the small box over the screen while a level is being built.
// The level makes it, gives it a hint (setText, before the push: the box is
// built on entering), pushes it, builds itself with frame pacing off, then
// calls finish; the dialog ends at its next update.
//
// A mode with the flags 13 (active, visible, drawing and updating the modes
// below), so the level keeps its own update while the box is on top.
//
// Entering: a 0.5 dimmer, the cursor hidden, and a framed table centred on
// the screen (integer halves) at z-order 10000. Its first row holds the clock
// ("clock_base" on (1, -3), the hand "clock_1" and "clock_markers" on (0, 0),
// each a private copy, layered in one cell, centred) and the loading text
// (the given text, or "LDN_Loading" for none); a non-empty hint gets a second
// row of its own, wrapped at 300 pixels on three lines.
//
// Each update: a finished dialog ends (the rest of the update still runs);
// the cursor is hidden; the clock timer loses dt, and once it is below 0 the
// hand takes the next of 21 steps ("empty" for step 0, "clock_<n>" for 1 to
// 20, a private copy) and the timer restarts at 0.1 s. A long frame moves
// the hand one step only; the first update moves it at once.
//
// A missing clock picture fails through the image lookup.
#pragma once

#include <cstdint>

#include <zep2/str.h>

#include "sprite/sprite.h"
#include "records/tukmode.h"
#include "ui/ui_table.h"

class LoadingDialog : public TUKMode {
public:
    static constexpr uint32_t kFlags = 13;
    static constexpr int kClockSteps = 21;
    static constexpr float kStepSeconds = 0.1f;
    static constexpr int kZOrder = 10000;

    // Null: the text of "LDN_Loading".
    explicit LoadingDialog(const char* szText = nullptr);
    ~LoadingDialog() override;

    void setText(const char* szHint) { m_sHint = szHint ? szHint : ""; }
    // The dialog ends at its next update; the cursor is shown.
    void finish();

    void onEnter() override;
    void onUpdate(float fDelta) override;

    int getClockFrame() const { return m_nClockFrame; }
    Zep::SmartPtr<Sprite> getClockHand() const { return m_pClockHand; }
    Zep::SmartPtr<Table> getTable() const { return m_pTable; }
    const Zep::String& getLoadingText() const { return m_sText; }

private:
    // A private copy of the picture with that insertion point, as a sprite of
    // the mode in the table's current cell.
    Zep::SmartPtr<Sprite> addClockLayer(const char* szImage, int nInsX, int nInsY);
    void addLabels();
    void stepClock();

    bool m_bDone = false;
    int32_t m_nClockFrame = 0;
    float m_fClockTimer = 0.0f;
    Zep::SmartPtr<Table> m_pTable;
    Zep::SmartPtr<Sprite> m_pClockHand;
    Zep::String m_sText;
    Zep::String m_sHint;
};
